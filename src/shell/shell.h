// The application shell: entry point, window procedure, message loop, window and context,
// frame clock.
#pragma once
#include <cstdint>
#include "platform/win32.h"

// Entry point and main loop
extern uint8_t KeyState[256];  // indexed by virtual-key code
extern uint8_t WindowActive;   // false while the window is minimised
extern bool QuitFlag;
extern MSG LastMessage;  // the last message taken; its wParam is the exit code
extern uint8_t FullscreenFlag;
extern int32_t ColorBits;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, char* commandLine, int showCommand);
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void MessageLoop();

// OpenGL window and context
extern HWND WindowHandle;
extern HDC DeviceContext;
extern HGLRC RenderingContext;
extern HINSTANCE InstanceHandle;

bool CreateDemoWindow(const char* title, int width, int height, int bits, bool fullscreen);
void DestroyDemoWindow();
void ResizeViewport(int width, int height);
bool InitGlState();

// Frame clock
struct FrameClockRecord {
    int64_t frequency;
    float secondsPerTick;
    uint32_t msStart;
    uint32_t msLast;
    uint8_t usesCounter;
    int64_t counterStart;
    int64_t counterLast;
};
extern FrameClockRecord FrameClock;

void ClockStart();
double ClockElapsed();
// A reading truncated toward zero to the unsigned 32-bit count the scenes are given.
uint32_t FrameMilliseconds(double elapsed);
