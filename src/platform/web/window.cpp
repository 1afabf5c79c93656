// The window, display mode and context on the page: the one window is the canvas, full screen
// is the Fullscreen API (asked for by the start click), the context is WebGL 1, and swapping
// the buffers hands the frame to the browser until it wants the next one.
#include <GL/gl.h>
#include <cstring>
#include "platform/web/gl_layer.h"
#include "platform/web/web.h"

struct PlatformModule {
    int unused;
};
static PlatformModule ThisModule;

static WNDPROC ClassProc = nullptr;  // one class: the demo registers one
static char ClassName[64];
static HWND Window = nullptr;  // one window: the canvas
static bool ModeChanged = false;
static int CursorCount = 0;

bool PlatformWindowAlive(HWND window) { return window && window == Window; }
WNDPROC PlatformWindowProc(HWND window) { return window->proc; }

HINSTANCE GetModuleHandleA(const char*) { return &ThisModule; }
HICON LoadIconA(HINSTANCE, const char* name) { return name; }
HCURSOR LoadCursorA(HINSTANCE, const char* name) { return name; }

BOOL RegisterClassA(const WNDCLASSA* windowClass) {
    if (ClassProc || !windowClass || !windowClass->lpfnWndProc || !windowClass->lpszClassName ||
        strlen(windowClass->lpszClassName) >= sizeof ClassName)
        return FALSE;
    strcpy(ClassName, windowClass->lpszClassName);
    ClassProc = windowClass->lpfnWndProc;
    return TRUE;
}

BOOL UnregisterClassA(const char* className, HINSTANCE) {
    if (!ClassProc || !className || strcmp(className, ClassName) != 0) return FALSE;
    ClassProc = nullptr;
    return TRUE;
}

// The page cannot change the screen's mode: the picture is scaled to the screen instead, so
// any mode is "supported" once the browser has granted full screen.
int ChangeDisplaySettingsA(const DEVMODEA* mode, DWORD) {
    if (!mode) {
        if (ModeChanged) web_leave_fullscreen();
        ModeChanged = false;
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (!web_wait_fullscreen()) return DISP_CHANGE_FAILED;
    ModeChanged = true;
    return DISP_CHANGE_SUCCESSFUL;
}

int ShowCursor(BOOL show) {
    CursorCount += show ? 1 : -1;
    web_cursor(CursorCount >= 0);
    return CursorCount;
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD, BOOL, DWORD) { return rect != nullptr; }

HWND CreateWindowExA(DWORD, const char* className, const char*, DWORD, int, int, int width,
                     int height, HWND, void*, HINSTANCE, void*) {
    if (Window || !ClassProc || !className || strcmp(className, ClassName) != 0 || width <= 0 ||
        height <= 0)
        return nullptr;
    web_canvas_size(width, height);
    Window = new PlatformWindow{ClassProc, width, height, false, false};
    return Window;
}

BOOL DestroyWindow(HWND window) {
    if (!PlatformWindowAlive(window)) return FALSE;
    delete Window;
    Window = nullptr;
    return TRUE;
}

// Like Win32, showing a new window activates it and tells it its size.
BOOL ShowWindow(HWND window, int) {
    if (!PlatformWindowAlive(window)) return FALSE;
    SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, 0);
    SendMessageA(window, WM_SIZE, 0, MAKELONG(window->width, window->height));
    return TRUE;
}

BOOL SetForegroundWindow(HWND window) { return PlatformWindowAlive(window); }
HWND SetFocus(HWND window) { return PlatformWindowAlive(window) ? window : nullptr; }
HWND GetForegroundWindow() { return Window; }

HDC GetDC(HWND window) {
    if (!PlatformWindowAlive(window)) return nullptr;
    window->dcTaken = true;
    return window;
}

int ReleaseDC(HWND window, HDC dc) {
    if (!PlatformWindowAlive(window) || dc != window || !window->dcTaken) return 0;
    window->dcTaken = false;
    return 1;
}

// WebGL offers RGBA with a depth buffer: the one format.
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* pfd) {
    if (!PlatformWindowAlive(dc) || !pfd || pfd->nSize != sizeof(PIXELFORMATDESCRIPTOR) ||
        pfd->iPixelType != PFD_TYPE_RGBA || !(pfd->dwFlags & PFD_SUPPORT_OPENGL))
        return 0;
    return 1;
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* pfd) {
    if (!PlatformWindowAlive(dc) || format != 1 || !pfd || dc->hasPixelFormat) return FALSE;
    dc->hasPixelFormat = true;
    return TRUE;
}

bool WebKeepDrawingBuffer = false;

HGLRC wglCreateContext(HDC dc) {
    if (!PlatformWindowAlive(dc) || !dc->hasPixelFormat) return nullptr;
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = false;
    attributes.depth = true;
    attributes.stencil = false;
    attributes.antialias = false;
    attributes.premultipliedAlpha = false;
    attributes.preserveDrawingBuffer = WebKeepDrawingBuffer;
    attributes.majorVersion = 1;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE gl = emscripten_webgl_create_context("#canvas", &attributes);
    if (gl <= 0) return nullptr;
    return new PlatformContext{gl};
}

BOOL wglMakeCurrent(HDC dc, HGLRC context) {
    if (!context) return emscripten_webgl_make_context_current(0) == EMSCRIPTEN_RESULT_SUCCESS;
    if (!PlatformWindowAlive(dc)) return FALSE;
    if (emscripten_webgl_make_context_current(context->gl) != EMSCRIPTEN_RESULT_SUCCESS)
        return FALSE;
    // The GL 1.1 layer takes its WebGL entry points from the first context made current.
    static bool layerReady = false;
    if (!layerReady && !GlLayerInit(eglGetProcAddress)) return FALSE;
    layerReady = true;
    return TRUE;
}

BOOL wglDeleteContext(HGLRC context) {
    if (!context) return FALSE;
    emscripten_webgl_destroy_context(context->gl);
    delete context;
    return TRUE;
}

BOOL SwapBuffers(HDC dc) {
    if (!PlatformWindowAlive(dc)) return FALSE;
    glFlush();  // the GL layer may still hold the frame's last draw
    web_wait_frame();
    return TRUE;
}
