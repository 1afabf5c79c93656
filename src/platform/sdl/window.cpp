// Window classes, windows, the full-screen display mode and the OpenGL context, over SDL2.
#include <cstring>
#include "platform/sdl/keep_loaded.h"
#include "platform/sdl/video.h"
#include "platform/sdl/window.h"

struct PlatformModule {
    int unused;
};
static PlatformModule ThisModule;

struct WindowClassEntry {
    char name[64];
    WNDPROC proc;
};
enum { MAX_CLASSES = 8, MAX_WINDOWS = 8 };
static WindowClassEntry Classes[MAX_CLASSES];
static HWND Windows[MAX_WINDOWS];
static HWND Foreground = nullptr;
static SDL_DisplayMode PendingMode;  // the full-screen mode set by ChangeDisplaySettingsA
static bool ModeChanged = false;
static int CursorCount = 0;

bool PlatformWindowAlive(HWND window) {
    if (!window) return false;
    for (HWND w : Windows)
        if (w == window) return true;
    return false;
}

WNDPROC PlatformWindowProc(HWND window) { return window->proc; }

HWND PlatformWindowFromId(Uint32 id) {
    for (HWND w : Windows)
        if (w && SDL_GetWindowID(w->sdl) == id) return w;
    return nullptr;
}

HINSTANCE GetModuleHandleA(const char*) { return &ThisModule; }

// System icons and cursors are named by their resource ids, which stand for themselves.
HICON LoadIconA(HINSTANCE, const char* name) { return name; }
HCURSOR LoadCursorA(HINSTANCE, const char* name) { return name; }

static WindowClassEntry* FindClass(const char* name) {
    for (WindowClassEntry& c : Classes)
        if (c.proc && strcmp(c.name, name) == 0) return &c;
    return nullptr;
}

BOOL RegisterClassA(const WNDCLASSA* windowClass) {
    if (PlatformShouldFail("RegisterClassA") || !windowClass || !windowClass->lpfnWndProc ||
        !windowClass->lpszClassName || strlen(windowClass->lpszClassName) >= 64 ||
        FindClass(windowClass->lpszClassName))
        return FALSE;
    for (WindowClassEntry& c : Classes) {
        if (c.proc) continue;
        strcpy(c.name, windowClass->lpszClassName);
        c.proc = windowClass->lpfnWndProc;
        return TRUE;
    }
    return FALSE;
}

BOOL UnregisterClassA(const char* className, HINSTANCE) {
    WindowClassEntry* c = className ? FindClass(className) : nullptr;
    if (PlatformShouldFail("UnregisterClassA") || !c) return FALSE;
    c->proc = nullptr;
    c->name[0] = '\0';
    return TRUE;
}

// A mode of exactly the requested size, with at least the requested depth, must exist.
static bool FindDisplayMode(const DEVMODEA* mode, SDL_DisplayMode* found) {
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; i++) {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(0, i, &m) != 0) continue;
        if ((DWORD)m.w == mode->dmPelsWidth && (DWORD)m.h == mode->dmPelsHeight &&
            (DWORD)SDL_BITSPERPIXEL(m.format) >= mode->dmBitsPerPel) {
            *found = m;
            return true;
        }
    }
    return false;
}

int ChangeDisplaySettingsA(const DEVMODEA* mode, DWORD) {
    if (!mode) {  // back to the desktop mode
        for (HWND w : Windows)
            if (w && w->fullscreen) SDL_SetWindowFullscreen(w->sdl, 0);
        ModeChanged = false;
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (PlatformShouldFail("ChangeDisplaySettingsA") || !VideoReady()) return DISP_CHANGE_FAILED;
    SDL_DisplayMode found;
    if (!FindDisplayMode(mode, &found)) return DISP_CHANGE_BADMODE;
    PendingMode = found;
    ModeChanged = true;
    return DISP_CHANGE_SUCCESSFUL;
}

int ShowCursor(BOOL show) {
    CursorCount += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(CursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return CursorCount;
}

// SDL sizes windows by their client area, so the rectangle needs no frame added.
BOOL AdjustWindowRectEx(RECT* rect, DWORD, BOOL, DWORD) { return rect != nullptr; }

static Uint32 SdlFlagsFor(DWORD style) {
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (style & WS_POPUP) flags |= ModeChanged ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_BORDERLESS;
    else if ((style & WS_OVERLAPPEDWINDOW) == WS_OVERLAPPEDWINDOW) flags |= SDL_WINDOW_RESIZABLE;
    return flags;
}

static bool AddWindow(HWND window) {
    for (HWND& w : Windows) {
        if (w) continue;
        w = window;
        return true;
    }
    return false;
}

HWND CreateWindowExA(DWORD, const char* className, const char* title, DWORD style, int x, int y,
                     int width, int height, HWND, void*, HINSTANCE, void*) {
    WindowClassEntry* c = className ? FindClass(className) : nullptr;
    if (PlatformShouldFail("CreateWindowExA") || !c || width <= 0 || height <= 0 || !VideoReady())
        return nullptr;
    // The window's visual is fixed when it is created, so it must already suit the context.
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    Uint32 flags = SdlFlagsFor(style);
    SDL_Window* sdl = SDL_CreateWindow(title ? title : "", x, y, width, height, flags);
    if (!sdl) return nullptr;
    KeepLibrariesLoaded();  // the GL drivers come with the first window
    HWND window = new PlatformWindow{sdl, c->proc, width, height, false, false, false};
    window->fullscreen = (flags & SDL_WINDOW_FULLSCREEN) != 0;
    if (window->fullscreen) SDL_SetWindowDisplayMode(sdl, &PendingMode);
    if (!AddWindow(window)) {
        SDL_DestroyWindow(sdl);
        delete window;
        return nullptr;
    }
    return window;
}

BOOL DestroyWindow(HWND window) {
    if (PlatformShouldFail("DestroyWindow") || !PlatformWindowAlive(window)) return FALSE;
    for (HWND& w : Windows)
        if (w == window) w = nullptr;
    if (Foreground == window) Foreground = nullptr;
    SDL_DestroyWindow(window->sdl);
    delete window;
    return TRUE;
}

// Like Win32, showing a new window activates it and tells it its size.
BOOL ShowWindow(HWND window, int) {
    if (!PlatformWindowAlive(window)) return FALSE;
    SDL_ShowWindow(window->sdl);
    SDL_GetWindowSize(window->sdl, &window->width, &window->height);
    Foreground = window;
    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
    SendMessageA(window, WM_SIZE, 0, MAKELONG(window->width, window->height));
    return TRUE;
}

BOOL SetForegroundWindow(HWND window) {
    if (!PlatformWindowAlive(window)) return FALSE;
    SDL_RaiseWindow(window->sdl);
    Foreground = window;
    return TRUE;
}

HWND SetFocus(HWND window) {
    HWND previous = Foreground;
    if (PlatformWindowAlive(window)) SDL_SetWindowInputFocus(window->sdl);
    return previous;
}

HWND GetForegroundWindow() { return Foreground; }

HDC GetDC(HWND window) {
    if (PlatformShouldFail("GetDC") || !PlatformWindowAlive(window)) return nullptr;
    window->dcTaken = true;
    return window;
}

int ReleaseDC(HWND window, HDC dc) {
    if (PlatformShouldFail("ReleaseDC") || !PlatformWindowAlive(window) || dc != window ||
        !window->dcTaken)
        return 0;
    window->dcTaken = false;
    return 1;
}

// The one format offered is double-buffered RGBA with depth, drawn to a window.
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* pfd) {
    if (PlatformShouldFail("ChoosePixelFormat") || !PlatformWindowAlive(dc) || !pfd ||
        pfd->nSize != sizeof(PIXELFORMATDESCRIPTOR) || pfd->iPixelType != PFD_TYPE_RGBA ||
        !(pfd->dwFlags & PFD_SUPPORT_OPENGL) || !(pfd->dwFlags & PFD_DRAW_TO_WINDOW) ||
        pfd->cColorBits > 32)
        return 0;
    return 1;
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* pfd) {
    if (PlatformShouldFail("SetPixelFormat") || !PlatformWindowAlive(dc) || format != 1 || !pfd ||
        dc->hasPixelFormat)
        return FALSE;
    int channel = pfd->cColorBits >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, pfd->cColorBits >= 24 ? 8 : 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, pfd->cDepthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, pfd->cStencilBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (pfd->dwFlags & PFD_DOUBLEBUFFER) ? 1 : 0);
    dc->hasPixelFormat = true;
    return TRUE;
}

// Created, not made current: that is wglMakeCurrent's job.
HGLRC wglCreateContext(HDC dc) {
    if (PlatformShouldFail("wglCreateContext") || !PlatformWindowAlive(dc) || !dc->hasPixelFormat)
        return nullptr;
    SDL_GLContext gl = SDL_GL_CreateContext(dc->sdl);
    if (!gl) return nullptr;
    KeepLibrariesLoaded();  // and some with the first context
    SDL_GL_MakeCurrent(dc->sdl, nullptr);
    return new PlatformContext{gl};
}

BOOL wglMakeCurrent(HDC dc, HGLRC context) {
    if (PlatformShouldFail("wglMakeCurrent")) return FALSE;
    if (!context) return SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr) == 0;
    if (!PlatformWindowAlive(dc)) return FALSE;
    return SDL_GL_MakeCurrent(dc->sdl, context->gl) == 0;
}

BOOL wglDeleteContext(HGLRC context) {
    if (PlatformShouldFail("wglDeleteContext") || !context) return FALSE;
    SDL_GL_DeleteContext(context->gl);
    delete context;
    return TRUE;
}

BOOL SwapBuffers(HDC dc) {
    if (!PlatformWindowAlive(dc)) return FALSE;
    SDL_GL_SwapWindow(dc->sdl);
    return TRUE;
}
