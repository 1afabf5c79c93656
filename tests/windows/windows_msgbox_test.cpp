// Unattended message boxes on Windows: VERNALIS_MSGBOX_ANSWER answers without showing them.
#include <gtest/gtest.h>
#include <cstdlib>
#include "platform/platform_testing.h"

TEST(WindowsMessageBox, PresetAnswerAnswersWithoutShowing) {
    _putenv("VERNALIS_MSGBOX_ANSWER=yes");
    EXPECT_EQ(MessageBoxA(nullptr, "Use Windowed Mode Instead?", "Kabo GL",
                          MB_YESNO | MB_ICONEXCLAMATION),
              IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "Program Will Now Close.", "ERROR", MB_OK | MB_ICONSTOP), IDOK);
    _putenv("VERNALIS_MSGBOX_ANSWER=no");
    EXPECT_EQ(MessageBoxA(nullptr, "Use Windowed Mode Instead?", "Kabo GL", MB_YESNO), IDNO);
    _putenv("VERNALIS_MSGBOX_ANSWER=");
}

TEST(WindowsMessageBox, HookTakesBoxesOver) {
    static int seen = 0;
    SetMessageBoxHook([](HWND, const char*, const char* caption, UINT) {
        seen++;
        return caption[0] == 'Q' ? IDYES : IDOK;
    });
    EXPECT_EQ(MessageBoxA(nullptr, "text", "Question", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "text", "Error", MB_OK), IDOK);
    SetMessageBoxHook(nullptr);
    EXPECT_EQ(seen, 2);
}
