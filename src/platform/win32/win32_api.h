// The Windows build's Win32: the system's own headers and functions. A few names are routed
// through thin wrappers of ours (system.cpp, msgbox.cpp) that add what both builds promise:
// message boxes echoed to stderr and answerable by VERNALIS_MSGBOX_ANSWER, and the test
// seams of platform_testing.h. Each wrapper ends in the real call. Included through
// platform/win32.h only.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <mmsystem.h>

int PlatformMessageBox(HWND owner, const char* text, const char* caption, UINT type);
DWORD PlatformGetModuleFileName(HINSTANCE module, char* buffer, DWORD size);
BOOL PlatformQueryPerformanceFrequency(LARGE_INTEGER* frequency);
BOOL PlatformQueryPerformanceCounter(LARGE_INTEGER* counter);

#ifndef PLATFORM_REAL_WIN32
#undef MessageBox
#define MessageBoxA PlatformMessageBox
#define GetModuleFileNameA PlatformGetModuleFileName
#define QueryPerformanceFrequency PlatformQueryPerformanceFrequency
#define QueryPerformanceCounter PlatformQueryPerformanceCounter
#endif
