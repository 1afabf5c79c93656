// SDL events translated into Win32 messages for the queue (message_queue.cpp).
#include "platform/message_queue.h"
#include "platform/sdl/keys.h"
#include "platform/sdl/window.h"

static void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PlatformPost(window, message, wParam, lParam);
}

// Alt combinations and F10 are system keys, as on Windows.
static void TranslateKey(const SDL_KeyboardEvent& key) {
    // Without a window manager SDL may not know which window has the keyboard: keys then
    // go to the foreground window.
    HWND window = PlatformWindowFromId(key.windowID);
    if (!window) window = GetForegroundWindow();
    UINT vk = VirtualKeyFromSdl(key.keysym.sym);
    if (!window || vk == 0) return;
    bool down = key.type == SDL_KEYDOWN;
    bool system = (key.keysym.mod & KMOD_ALT) || vk == VK_MENU || vk == VK_F10;
    UINT message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
    uint32_t flags = 1 | ((uint32_t)(key.keysym.scancode & 0xFF) << 16);
    if (key.repeat || !down) flags |= 1u << 30;
    if (!down) flags |= 1u << 31;
    Post(window, message, vk, (LPARAM)flags);
}

// Minimising reports the state in WM_ACTIVATE's high word and a 0 x 0 client size.
static void TranslateWindowEvent(const SDL_WindowEvent& event) {
    HWND window = PlatformWindowFromId(event.windowID);
    if (!window) return;
    bool minimised = (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_MINIMIZED) != 0;
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE: Post(window, WM_CLOSE, 0, 0); break;
    case SDL_WINDOWEVENT_MINIMIZED:
        Post(window, WM_ACTIVATE, MAKELONG(WA_INACTIVE, 1), 0);
        Post(window, WM_SIZE, 1, 0);
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        Post(window, WM_ACTIVATE, MAKELONG(WA_ACTIVE, minimised ? 1 : 0), 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        Post(window, WM_ACTIVATE, MAKELONG(WA_INACTIVE, minimised ? 1 : 0), 0);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        window->width = event.data1;
        window->height = event.data2;
        Post(window, WM_SIZE, 0, MAKELONG(event.data1, event.data2));
        break;
    default: break;
    }
}

// A quit request from outside (a signal, the session) closes the foreground window.
static void TranslateEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: TranslateKey(event.key); break;
    case SDL_WINDOWEVENT: TranslateWindowEvent(event.window); break;
    case SDL_QUIT:
        if (HWND window = GetForegroundWindow()) Post(window, WM_CLOSE, 0, 0);
        break;
    default: break;
    }
}

void PlatformPumpEvents() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Event event;
    while (PlatformQueueEmpty() && SDL_PollEvent(&event)) TranslateEvent(event);
}

// Default handling: Alt+F4 asks to close, a close command closes, and a screen-saver or
// monitor power-off command lets the screen saver run again.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_SYSKEYDOWN && wParam == VK_F4) {
        Post(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (message == WM_SYSCOMMAND) {
        UINT command = (UINT)(wParam & 0xFFF0);
        if (command == SC_CLOSE) Post(window, WM_CLOSE, 0, 0);
        if ((command == SC_SCREENSAVE || command == SC_MONITORPOWER) && SDL_WasInit(SDL_INIT_VIDEO))
            SDL_EnableScreenSaver();
    }
    return 0;
}
