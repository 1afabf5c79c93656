// Windows message boxes: echoed to stderr as "caption: text" like on Linux; answered without
// showing them where VERNALIS_MSGBOX_ANSWER=yes|no is set, so scripts can drive the program.
#define PLATFORM_REAL_WIN32
#include "platform/msgbox_unseen.h"

int PlatformMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    int answer = IDOK;
    if (MessageBoxAnsweredUnseen(owner, &text, &caption, type, &answer)) return answer;
    return MessageBoxA(owner, text, caption, type);
}
