// The page's keys, translated into Win32 messages for the queue (message_queue.cpp).
#include <emscripten/emscripten.h>
#include "platform/message_queue.h"
#include "platform/web/web.h"

static void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PlatformPost(window, message, wParam, lParam);
}

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

// A hidden page is a minimised window: WM_ACTIVATE says so in its high word, and the demo
// draws nothing (the music plays on) until it shows again.
extern "C" EMSCRIPTEN_KEEPALIVE void WebVisible(int visible) {
    if (HWND window = GetForegroundWindow())
        Post(window, WM_ACTIVATE, visible ? WA_ACTIVE : MAKELONG(WA_INACTIVE, 1), 0);
}

// The page's keys and visibility arrive through WebKey and WebVisible, between frames.
void PlatformPumpEvents() {}

// Alt+F4 asks to close and a close command closes; the page has no screen saver to let run.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_SYSKEYDOWN && wParam == VK_F4) Post(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    else if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)
        Post(window, WM_CLOSE, 0, 0);
    return 0;
}
