// The demo window's procedure: keyboard state, activity, size, close, system commands.
#include "shell/shell.h"

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE: WindowActive = HIWORD(wParam) == 0; return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
        break;
    case WM_CLOSE: PostQuitMessage(0); return 0;
    case WM_KEYDOWN: KeyState[wParam & 0xFF] = 1; return 0;
    case WM_KEYUP: KeyState[wParam & 0xFF] = 0; return 0;
    case WM_SIZE: ResizeViewport(LOWORD(lParam), HIWORD(lParam)); return 0;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
