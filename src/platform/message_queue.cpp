// The message queue's Win32 calls, shared by the stand-in backends: posted messages first, then
// whatever the backend's events bring.
#include "platform/message_queue.h"
#include <deque>
#include "platform/platform_testing.h"

static std::deque<MSG> Posted;

void PlatformPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Posted.push_back(MSG{window, message, wParam, lParam, timeGetTime()});
}

bool PlatformQueueEmpty() { return Posted.empty(); }

void PlatformClearMessages() { Posted.clear(); }

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !PlatformWindowAlive(window)) return FALSE;
    PlatformPost(window, message, wParam, lParam);
    return TRUE;
}

void PostQuitMessage(int exitCode) { PlatformPost(nullptr, WM_QUIT, (WPARAM)exitCode, 0); }

BOOL PeekMessageA(MSG* msg, HWND, UINT, UINT, UINT remove) {
    if (Posted.empty()) PlatformPumpEvents();
    if (Posted.empty()) return FALSE;
    *msg = Posted.front();
    if (remove & PM_REMOVE) Posted.pop_front();
    return TRUE;
}

// Nothing in the demo reads characters, so no WM_CHAR is made.
BOOL TranslateMessage(const MSG* msg) {
    return msg && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN);
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg || !PlatformWindowAlive(msg->hwnd)) return 0;
    return PlatformWindowProc(msg->hwnd)(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!PlatformWindowAlive(window)) return 0;
    return PlatformWindowProc(window)(window, message, wParam, lParam);
}
