// The posted-message queue of the stand-in backends (SDL, web), in arrival order: each backend
// translates its own events into messages and posts them here.
#pragma once
#include "platform/win32.h"

void PlatformPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool PlatformQueueEmpty();
// The backend's own events, translated and posted; PeekMessageA calls it when the queue is empty.
void PlatformPumpEvents();
// Whether `window` is one of the backend's live windows, and its window procedure.
bool PlatformWindowAlive(HWND window);
WNDPROC PlatformWindowProc(HWND window);
