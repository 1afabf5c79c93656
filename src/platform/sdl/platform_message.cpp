// The message queue: posted messages first, then SDL events translated into Win32 messages.
#include <deque>
#include "platform/sdl/platform_keys.h"
#include "platform/sdl/platform_window.h"

static std::deque<MSG> Posted;

static void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Posted.push_back(MSG{window, message, wParam, lParam, SDL_GetTicks()});
}

void PlatformClearMessages() { Posted.clear(); }

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !PlatformWindowAlive(window)) return FALSE;
    Post(window, message, wParam, lParam);
    return TRUE;
}

void PostQuitMessage(int exitCode) { Post(nullptr, WM_QUIT, (WPARAM)exitCode, 0); }

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
    case SDL_WINDOWEVENT_CLOSE:
        Post(window, WM_CLOSE, 0, 0);
        break;
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
    default:
        break;
    }
}

// A quit request from outside (a signal, the session) closes the foreground window.
static void TranslateEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TranslateKey(event.key);
        break;
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(event.window);
        break;
    case SDL_QUIT:
        if (HWND window = GetForegroundWindow()) Post(window, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

static void PumpEvents() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Event event;
    while (Posted.empty() && SDL_PollEvent(&event)) TranslateEvent(event);
}

BOOL PeekMessageA(MSG* msg, HWND, UINT, UINT, UINT remove) {
    if (Posted.empty()) PumpEvents();
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
    return msg->hwnd->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!PlatformWindowAlive(window)) return 0;
    return window->proc(window, message, wParam, lParam);
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
