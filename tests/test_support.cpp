#include "test_support.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include "demo/demo.h"
#include "music/music.h"
#include "pack/tpack.h"
#include "platform/sdl/window.h"
#include "shell/shell.h"

// The programs get the pack length from the build; each test that opens a pack sets its own.
int32_t TpackSize = 0;

static std::string Folder;

static void RemoveFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
}

std::string TestFolder() {
    if (!Folder.empty()) return Folder;
    std::string pattern = testing::TempDir() + "vernalis-tests-XXXXXX";
    if (!mkdtemp(pattern.data())) return testing::TempDir();
    Folder = pattern + "/";
    atexit(RemoveFolder);
    return Folder;
}

std::vector<RecordedBox> Boxes;
int BoxAnswer = IDNO;

static int RecordBox(HWND, const char* text, const char* caption, UINT type) {
    Boxes.push_back(
        {caption, text, type, PlatformWindowAlive(WindowHandle), MusicBuffer != nullptr});
    return (type & 0xF) == MB_YESNO ? BoxAnswer : IDOK;
}

void BoxesStart(int answer) {
    Boxes.clear();
    BoxAnswer = answer;
    SetMessageBoxHook(RecordBox);
}

void BoxesStop() { SetMessageBoxHook(nullptr); }

std::string BoxTexts() {
    std::string all;
    for (const RecordedBox& box : Boxes) all += box.caption + ": " + box.text + "\n";
    return all;
}

void ResetShell() {
    memset(KeyState, 0, sizeof KeyState);
    WindowActive = 1;
    QuitFlag = false;
    memset(&LastMessage, 0, sizeof LastMessage);
    FullscreenFlag = 0;
    ColorBits = 16;
    WindowHandle = nullptr;
    DeviceContext = nullptr;
    RenderingContext = nullptr;
    InstanceHandle = nullptr;
    HiddenPageFlag = 0;
    PlatformFailCall = nullptr;
    PlatformClearMessages();
}
