// The demo window: display mode, window, pixel format, OpenGL context and initial state.
#include <GL/gl.h>
#include <GL/glu.h>
#include <cstring>
#include "shell/shell.h"

HWND WindowHandle = nullptr;
HDC DeviceContext = nullptr;
HGLRC RenderingContext = nullptr;
HINSTANCE InstanceHandle = nullptr;

static PIXELFORMATDESCRIPTOR PixelFormat;

static const char* const WindowClassName = "OpenGL";

static void ErrorBox(const char* text) { MessageBoxA(nullptr, text, "ERROR", MB_OK | MB_ICONEXCLAMATION); }
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
    WindowHandle = CreateWindowExA(exStyle, WindowClassName, title,
                                   style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                   rect.right - rect.left, rect.bottom - rect.top, nullptr,
                                   nullptr, InstanceHandle, nullptr);
    if (!WindowHandle) return Fail("Window Creation Error.");
    if (!(DeviceContext = GetDC(WindowHandle))) return Fail("Can't Create A GL Device Context.");
    int format = ChoosePixelFormat(DeviceContext, &PixelFormat);
    if (!format) return Fail("Can't Find A Suitable PixelFormat.");
    if (!SetPixelFormat(DeviceContext, format, &PixelFormat)) return Fail("Can't Set The PixelFormat.");
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

// The picture is letterboxed: 40-pixel bands at top and bottom keep the clear colour.
// A window too small to hold any picture between the bands keeps its last projection.
void ResizeViewport(int width, int height) {
    if (height == 0) height = 1;
    int pictureHeight = height - 80;
    if (pictureHeight < 1) return;
    glViewport(0, 40, width, pictureHeight);
    glScissor(0, 40, width, pictureHeight);  // what the frame draws is held to the same box
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, (double)width / (double)pictureHeight, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

bool InitGlState() {
    static const GLfloat ambient[] = {0.5f, 0.5f, 0.5f, 1.0f};
    static const GLfloat diffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
    static const GLfloat position[] = {0.0f, 0.0f, 2.0f, 1.0f};
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, position);
    glEnable(GL_LIGHT1);
    glEnable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glLoadIdentity();
    return true;
}
