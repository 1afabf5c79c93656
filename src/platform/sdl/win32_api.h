// The Linux build's Win32: the few types, constants and calls the demo is written against,
// provided on top of SDL2. Values are the Win32 ones, so code and messages read as they
// would there. Included through platform/win32.h only.
#pragma once
#include <cstdint>
#include <cstdio>

typedef int BOOL;
typedef uint32_t UINT;
typedef uint32_t DWORD;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef struct PlatformWindow* HWND;
typedef struct PlatformWindow* HDC;  // a window's device context is the window itself
typedef struct PlatformContext* HGLRC;
typedef struct PlatformModule* HINSTANCE;
typedef struct PlatformFont* HFONT;
typedef void* HGDIOBJ;
typedef const void* HICON;
typedef const void* HCURSOR;

union LARGE_INTEGER {
    struct {
        uint32_t LowPart;
        int32_t HighPart;
    } u;
    int64_t QuadPart;
};

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

// Calling conventions: the same on 64-bit Windows and here, not on 32-bit Windows.
#define WINAPI
#define CALLBACK

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
};

struct RECT {
    int32_t left, top, right, bottom;
};

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    const void* hbrBackground;
    const char* lpszMenuName;
    const char* lpszClassName;
};

struct PIXELFORMATDESCRIPTOR {
    uint16_t nSize, nVersion;
    DWORD dwFlags;
    uint8_t iPixelType, cColorBits;
    uint8_t cRedBits, cRedShift, cGreenBits, cGreenShift, cBlueBits, cBlueShift;
    uint8_t cAlphaBits, cAlphaShift;
    uint8_t cAccumBits, cAccumRedBits, cAccumGreenBits, cAccumBlueBits, cAccumAlphaBits;
    uint8_t cDepthBits, cStencilBits, cAuxBuffers;
    uint8_t iLayerType, bReserved;
    DWORD dwLayerMask, dwVisibleMask, dwDamageMask;
};

// DEVMODEA reduced to the fields a display-mode change reads; dmSize keeps the Win32 value.
struct DEVMODEA {
    uint16_t dmSize;
    DWORD dmFields;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
};

// Messages
enum : UINT {
    WM_NULL = 0x0000,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCOMMAND = 0x0112,
};

// WM_ACTIVATE low word; WM_SYSCOMMAND commands
enum : UINT { WA_INACTIVE = 0, WA_ACTIVE = 1 };
enum : UINT { SC_CLOSE = 0xF060, SC_SCREENSAVE = 0xF140, SC_MONITORPOWER = 0xF170 };

// Virtual-key codes (letters and digits are their upper-case ASCII codes)
enum : UINT {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_NUMPAD0 = 0x60,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
    VK_F4 = 0x73,
    VK_F10 = 0x79,
    VK_F12 = 0x7B,
    VK_F24 = 0x87,
};

// Message boxes
enum : UINT {
    MB_OK = 0x0,
    MB_YESNO = 0x4,
    MB_ICONSTOP = 0x10,
    MB_ICONERROR = 0x10,
    MB_ICONHAND = 0x10,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_SYSTEMMODAL = 0x1000,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// Window styles and show commands
enum : DWORD {
    CS_VREDRAW = 0x1,
    CS_HREDRAW = 0x2,
    CS_OWNDC = 0x20,
    WS_EX_WINDOWEDGE = 0x100,
    WS_EX_APPWINDOW = 0x40000,
    WS_OVERLAPPEDWINDOW = 0xCF0000,
    WS_POPUP = 0x80000000u,
    WS_CLIPSIBLINGS = 0x4000000,
    WS_CLIPCHILDREN = 0x2000000,
};
enum : int { SW_SHOW = 5 };

// Display settings
enum : DWORD { DM_BITSPERPEL = 0x40000, DM_PELSWIDTH = 0x80000, DM_PELSHEIGHT = 0x100000 };
enum : DWORD { CDS_FULLSCREEN = 4 };
enum : int { DISP_CHANGE_SUCCESSFUL = 0, DISP_CHANGE_FAILED = -1, DISP_CHANGE_BADMODE = -2 };

// Pixel formats
enum : DWORD { PFD_DRAW_TO_WINDOW = 0x4, PFD_SUPPORT_OPENGL = 0x20, PFD_DOUBLEBUFFER = 0x1 };
enum : uint8_t { PFD_TYPE_RGBA = 0, PFD_MAIN_PLANE = 0 };

enum : UINT { PM_NOREMOVE = 0, PM_REMOVE = 1 };

#define LOWORD(l) ((uint16_t)((uintptr_t)(l)&0xFFFF))
#define HIWORD(l) ((uint16_t)(((uintptr_t)(l) >> 16) & 0xFFFF))
#define MAKELONG(lo, hi) \
    ((int32_t)(((uint32_t)(uint16_t)(lo)) | (((uint32_t)(uint16_t)(hi)) << 16)))
#define MAKEINTRESOURCEA(i) ((const char*)(uintptr_t)(i))
#define IDI_WINLOGO MAKEINTRESOURCEA(32517)
#define IDC_ARROW MAKEINTRESOURCEA(32512)

// Fonts
enum : int {
    FW_BOLD = 700,
    ANSI_CHARSET = 0,
    OUT_TT_PRECIS = 4,
    CLIP_DEFAULT_PRECIS = 0,
    ANTIALIASED_QUALITY = 4,
    DEFAULT_PITCH = 0,
    FF_DONTCARE = 0
};
enum : int { WGL_FONT_LINES = 0, WGL_FONT_POLYGONS = 1 };
struct POINTFLOAT {
    float x, y;
};
struct GLYPHMETRICSFLOAT {
    float gmfBlackBoxX, gmfBlackBoxY;
    POINTFLOAT gmfptGlyphOrigin;  // upper-left corner of the black box
    float gmfCellIncX, gmfCellIncY;
};

// --- Message boxes: each backend's msgbox.cpp ---
// Every box is written to stderr as "caption: text". Where a display exists it is also shown;
// without a person (no display, or VERNALIS_MSGBOX_ANSWER=yes|no set) OK boxes answer IDOK
// and Yes/No questions the given answer (No unless told otherwise).
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);

// --- Messages: message_queue.cpp, with the backend's events ---------------------------------
BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT remove);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// --- Windows, display mode, context: each backend's window.cpp ---
HINSTANCE GetModuleHandleA(const char* name);
HICON LoadIconA(HINSTANCE instance, const char* name);  // the resource name itself
HCURSOR LoadCursorA(HINSTANCE instance, const char* name);
BOOL RegisterClassA(const WNDCLASSA* windowClass);
BOOL UnregisterClassA(const char* className, HINSTANCE instance);
int ChangeDisplaySettingsA(const DEVMODEA* mode, DWORD flags);
int ShowCursor(BOOL show);
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);
HWND CreateWindowExA(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                     int y, int width, int height, HWND parent, void* menu, HINSTANCE instance,
                     void* param);
BOOL DestroyWindow(HWND window);
BOOL ShowWindow(HWND window, int command);
BOOL SetForegroundWindow(HWND window);
HWND SetFocus(HWND window);
HWND GetForegroundWindow();
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* pfd);
BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* pfd);
HGLRC wglCreateContext(HDC dc);
BOOL wglMakeCurrent(HDC dc, HGLRC context);
BOOL wglDeleteContext(HGLRC context);
BOOL SwapBuffers(HDC dc);

// --- Caption font: each backend's font.cpp ---
// The font is looked up with fontconfig and outlined with FreeType (font_outline.cpp). There
// is one selection for the process, whatever device context it is selected into.
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outputPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, const char* face);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
// Polygons only; deviation and extrusion must be 0 (flat glyphs, the tolerance of the
// outline code).
BOOL wglUseFontOutlinesA(HDC dc, DWORD first, DWORD count, DWORD listBase, float deviation,
                         float extrusion, int format, GLYPHMETRICSFLOAT* metrics);

// --- Process and time: each backend's system.cpp ---
DWORD GetModuleFileNameA(HINSTANCE module, char* buffer, DWORD size);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
BOOL QueryPerformanceCounter(LARGE_INTEGER* counter);
DWORD timeGetTime();
