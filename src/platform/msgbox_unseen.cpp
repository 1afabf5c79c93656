#include "platform/msgbox_unseen.h"
#include <cstdio>
#include <cstdlib>
#include "platform/platform_testing.h"

static MessageBoxHook ActiveHook = nullptr;

void SetMessageBoxHook(MessageBoxHook hook) { ActiveHook = hook; }

bool MessageBoxAnsweredUnseen(HWND owner, const char** text, const char** caption, UINT type,
                              int* answer) {
    if (!*text) *text = "";
    if (!*caption) *caption = "Error";
    fprintf(stderr, "%s: %s\n", *caption, *text);
    fflush(stderr);
    if (ActiveHook) {
        *answer = ActiveHook(owner, *text, *caption, type);
        return true;
    }
    const char* preset = getenv("VERNALIS_MSGBOX_ANSWER");
    if (!preset || !*preset) return false;
    bool yesNo = (type & 0xF) == MB_YESNO;
    *answer = !yesNo ? IDOK : (preset[0] == 'y' || preset[0] == 'Y') ? IDYES : IDNO;
    return true;
}
