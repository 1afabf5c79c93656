// The demo window: display mode, window, pixel format and OpenGL context (viewport.cpp sets
// the projection and the initial state).
#include <cstring>
#include "shell/shell.h"

HWND WindowHandle = nullptr;
HDC DeviceContext = nullptr;
HGLRC RenderingContext = nullptr;
HINSTANCE InstanceHandle = nullptr;

static PIXELFORMATDESCRIPTOR PixelFormat;

static const char* const WindowClassName = "OpenGL";

static void ErrorBox(const char* text) {
    MessageBoxA(nullptr, text, "ERROR", MB_OK | MB_ICONEXCLAMATION);
}
static void ShutdownBox(const char* text) {
    MessageBoxA(nullptr, text, "SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION);
}

static void FillPixelFormat(int bits) {
    memset(&PixelFormat, 0, sizeof PixelFormat);
    PixelFormat.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    PixelFormat.nVersion = 1;
    PixelFormat.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    PixelFormat.iPixelType = PFD_TYPE_RGBA;
    PixelFormat.cColorBits = (uint8_t)bits;
    PixelFormat.cDepthBits = 16;
    PixelFormat.iLayerType = PFD_MAIN_PLANE;
}

static bool RegisterDemoClass() {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = InstanceHandle;
    windowClass.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = WindowClassName;
    return RegisterClassA(&windowClass) != FALSE;
}

// Asks for the full-screen mode; on refusal offers a window instead. False: give up.
static bool EnterFullscreen(int width, int height, int bits) {
    DEVMODEA mode = {};
    mode.dmSize = 148;
    mode.dmPelsWidth = (DWORD)width;
    mode.dmPelsHeight = (DWORD)height;
    mode.dmBitsPerPel = (DWORD)bits;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL) return true;
    int answer = MessageBoxA(nullptr,
                             "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. "
                             "Use Windowed Mode Instead?",
                             "Kabo GL", MB_YESNO | MB_ICONEXCLAMATION);
    if (answer == IDYES) {
        FullscreenFlag = false;
        return true;
    }
    MessageBoxA(nullptr, "Program Will Now Close.", "ERROR", MB_OK | MB_ICONSTOP);
    return false;
}

static bool Fail(const char* text) {
    DestroyDemoWindow();
    ErrorBox(text);
    return false;
}

// From the window to a current, initialised context; each step undoes everything on failure.
static bool CreateWindowAndContext(const char* title, RECT rect) {
    DWORD exStyle = FullscreenFlag ? WS_EX_APPWINDOW : (WS_EX_APPWINDOW | WS_EX_WINDOWEDGE);
    DWORD style = FullscreenFlag ? WS_POPUP : WS_OVERLAPPEDWINDOW;
    if (FullscreenFlag) ShowCursor(FALSE);
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    WindowHandle =
        CreateWindowExA(exStyle, WindowClassName, title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                        0, 0, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                        InstanceHandle, nullptr);
    if (!WindowHandle) return Fail("Window Creation Error.");
    if (!(DeviceContext = GetDC(WindowHandle))) return Fail("Can't Create A GL Device Context.");
    int format = ChoosePixelFormat(DeviceContext, &PixelFormat);
    if (!format) return Fail("Can't Find A Suitable PixelFormat.");
    if (!SetPixelFormat(DeviceContext, format, &PixelFormat))
        return Fail("Can't Set The PixelFormat.");
    if (!(RenderingContext = wglCreateContext(DeviceContext)))
        return Fail("Can't Create A GL Rendering Context.");
    if (!wglMakeCurrent(DeviceContext, RenderingContext))
        return Fail("Can't Activate The GL Rendering Context.");
    ShowWindow(WindowHandle, SW_SHOW);
    SetForegroundWindow(WindowHandle);
    SetFocus(WindowHandle);
    return true;
}

bool CreateDemoWindow(const char* title, int width, int height, int bits, bool fullscreen) {
    RECT rect = {0, 0, width, height};
    FullscreenFlag = fullscreen;
    InstanceHandle = GetModuleHandleA(nullptr);
    FillPixelFormat(bits);
    if (!RegisterDemoClass()) {
        ErrorBox("Failed To Register The Window Class.");
        return false;
    }
    if (FullscreenFlag && !EnterFullscreen(width, height, bits)) return false;
    if (!CreateWindowAndContext(title, rect)) return false;
    ResizeViewport(width, height);
    if (!InitGlState()) return Fail("Initialization Failed.");
    return true;
}

void DestroyDemoWindow() {
    if (FullscreenFlag) {
        ChangeDisplaySettingsA(nullptr, 0);
        ShowCursor(TRUE);
    }
    if (RenderingContext) {
        if (!wglMakeCurrent(nullptr, nullptr)) ShutdownBox("Release Of DC And RC Failed.");
        if (!wglDeleteContext(RenderingContext)) ShutdownBox("Release Rendering Context Failed.");
        RenderingContext = nullptr;
    }
    if (DeviceContext && !ReleaseDC(WindowHandle, DeviceContext)) {
        ShutdownBox("Release Device Context Failed.");
        DeviceContext = nullptr;
    }
    if (WindowHandle && !DestroyWindow(WindowHandle)) {
        ShutdownBox("Could Not Release hWnd.");
        WindowHandle = nullptr;
    }
    if (!UnregisterClassA(WindowClassName, InstanceHandle)) {
        ShutdownBox("Could Not Unregister Class.");
        InstanceHandle = nullptr;
    }
}
