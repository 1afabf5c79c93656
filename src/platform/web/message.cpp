// The message queue: messages posted by the program and the page's keys, in arrival order.
#include <emscripten/emscripten.h>
#include <deque>
#include "platform/web/web.h"

static std::deque<MSG> Posted;

static void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Posted.push_back(MSG{window, message, wParam, lParam, (DWORD)emscripten_get_now()});
}

void PlatformClearMessages() { Posted.clear(); }

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !PlatformWindowAlive(window)) return FALSE;
    Post(window, message, wParam, lParam);
    return TRUE;
}

void PostQuitMessage(int exitCode) { Post(nullptr, WM_QUIT, (WPARAM)exitCode, 0); }

// Alt combinations and F10 are system keys, as on Windows.
extern "C" EMSCRIPTEN_KEEPALIVE void WebKey(int vk, int down, int repeat, int alt) {
    HWND window = GetForegroundWindow();
    if (!window || vk <= 0 || vk > 0xFE) return;
    bool system = alt || vk == VK_MENU || vk == VK_F10;
    UINT message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    uint32_t flags = 1;
    if (repeat || !down) flags |= 1u << 30;
    if (!down) flags |= 1u << 31;
    Post(window, message, (WPARAM)vk, (LPARAM)flags);
}

BOOL PeekMessageA(MSG* msg, HWND, UINT, UINT, UINT remove) {
    if (Posted.empty()) return FALSE;
    *msg = Posted.front();
    if (remove & PM_REMOVE) Posted.pop_front();
    return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
    return msg && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN);
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (!msg || !PlatformWindowAlive(msg->hwnd)) return 0;
    return msg->hwnd->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!PlatformWindowAlive(window)) return 0;
    return window->proc(window, message, wParam, lParam);
}

// Alt+F4 asks to close and a close command closes; the page has no screen saver to let run.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_SYSKEYDOWN && wParam == VK_F4) Post(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    else if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) Post(window, WM_CLOSE, 0, 0);
    return 0;
}
