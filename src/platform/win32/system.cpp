// Windows: the wrapped process and clock calls, files, and the seams that only the Linux
// backend acts on.
#define PLATFORM_REAL_WIN32
#include <chrono>
#include <cstring>
#include "platform/platform_testing.h"

// The system owns the message queue; there is nothing of ours to empty.
void PlatformClearMessages() {}

DWORD PlatformGetModuleFileName(HINSTANCE module, char* buffer, DWORD size) {
    if (!PlatformExePathOverride) return GetModuleFileNameA(module, buffer, size);
    if (!buffer || size == 0) return 0;
    size_t length = strlen(PlatformExePathOverride);
    if (length >= size) length = size - 1;
    memcpy(buffer, PlatformExePathOverride, length);
    buffer[length] = '\0';
    return (DWORD)length;
}

// The C++ runtime's steady clock reads the performance counter here, so the silent output's
// sleeps, the audio position and the frame clock all run on that one counter.
int64_t PlatformMonotonicNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

BOOL PlatformQueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (PlatformCounterOverride < 0) return QueryPerformanceFrequency(frequency);
    frequency->QuadPart = 1000000000;
    return TRUE;
}

BOOL PlatformQueryPerformanceCounter(LARGE_INTEGER* counter) {
    if (PlatformCounterOverride < 0) return QueryPerformanceCounter(counter);
    counter->QuadPart = PlatformCounterOverride;
    return TRUE;
}

// Windows takes backslashes (and slashes) as they come.
FILE* PlatformOpenFile(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    return fopen(path, mode);
}

const char* PlatformFontFailure() { return "the system could not outline it"; }
