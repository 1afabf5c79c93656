// Shared helpers of the tests: recording message boxes, resetting the shell's globals.
#pragma once
#include <string>
#include <vector>
#include "platform/platform_testing.h"

struct RecordedBox {
    std::string caption;
    std::string text;
    UINT type;
    bool windowAlive;    // the demo window still existed when the box came up
    bool musicBuffered;  // the soundtrack's memory copy was still held
};

// Records every box; Yes/No questions get BoxAnswer. Call BoxesStart() in SetUp, BoxesStop() in
// TearDown.
extern std::vector<RecordedBox> Boxes;
extern int BoxAnswer;
void BoxesStart(int answer = IDNO);
void BoxesStop();
std::string BoxTexts();  // "caption: text" lines, for failure messages

// A folder of this test process's own, ending in '/', made on first use and removed with
// everything in it when the process ends.
std::string TestFolder();

// Puts the shell, window, timeline and platform globals back as a fresh process has them.
void ResetShell();
