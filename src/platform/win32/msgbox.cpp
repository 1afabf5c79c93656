// Windows message boxes: echoed to stderr as "caption: text" like on Linux; answered without
// showing them where VERNALIS_MSGBOX_ANSWER=yes|no is set, so scripts can drive the program.
#define PLATFORM_REAL_WIN32
#include <cstdio>
#include <cstdlib>
#include "platform/platform_testing.h"

static MessageBoxHook ActiveHook = nullptr;

void SetMessageBoxHook(MessageBoxHook hook) { ActiveHook = hook; }

int PlatformMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    if (!text) text = "";
    if (!caption) caption = "Error";
    fprintf(stderr, "%s: %s\n", caption, text);
    fflush(stderr);
    if (ActiveHook) return ActiveHook(owner, text, caption, type);
    bool yesNo = (type & 0xF) == MB_YESNO;
    const char* answer = getenv("VERNALIS_MSGBOX_ANSWER");
    if (answer && *answer) {
        if (!yesNo) return IDOK;
        return (answer[0] == 'y' || answer[0] == 'Y') ? IDYES : IDNO;
    }
    return MessageBoxA(owner, text, caption, type);
}
