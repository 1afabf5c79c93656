// Message boxes in the page: written to the console (stderr) as "caption: text", shown over the
// picture and listed in window.vernalis.messages. A question nobody answered unseen (the page's
// answer=yes|no sets VERNALIS_MSGBOX_ANSWER) waits for the page's Yes or No; an OK box stays in
// the page and the program goes on, as the box's only answer is OK.
#include "platform/msgbox_unseen.h"
#include "platform/web/web.h"

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    int answer = IDOK;
    bool answered = MessageBoxAnsweredUnseen(owner, &text, &caption, type, &answer);
    bool yesNo = (type & 0xF) == MB_YESNO;
    web_show_box(caption, text, yesNo, answered);
    if (answered || !yesNo) return answer;
    return web_wait_answer();
}
