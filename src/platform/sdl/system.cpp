// The running executable's path and the monotonic clocks behind the frame clock.
#include <unistd.h>
#include <cstring>
#include <ctime>
#include "platform/platform_testing.h"

// Copies at most size - 1 characters and always terminates, like the Win32 call.
DWORD GetModuleFileNameA(HINSTANCE, char* buffer, DWORD size) {
    if (!buffer || size == 0) return 0;
    if (PlatformExePathOverride) {
        size_t length = strlen(PlatformExePathOverride);
        if (length >= size) length = size - 1;
        memcpy(buffer, PlatformExePathOverride, length);
        buffer[length] = '\0';
        return (DWORD)length;
    }
    ssize_t length = readlink("/proc/self/exe", buffer, size - 1);
    if (length < 0) {
        buffer[0] = '\0';
        return 0;
    }
    buffer[length] = '\0';
    return (DWORD)length;
}

FILE* PlatformOpenFile(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    char native[4096];
    size_t length = strlen(path);
    if (length >= sizeof native) return nullptr;
    for (size_t i = 0; i <= length; i++) native[i] = path[i] == '\\' ? '/' : path[i];
    return fopen(native, mode);
}

int64_t PlatformMonotonicNs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (int64_t)now.tv_sec * 1000000000 + now.tv_nsec;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = 1000000000;
    return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* counter) {
    counter->QuadPart =
        PlatformCounterOverride >= 0 ? PlatformCounterOverride : PlatformMonotonicNs();
    return TRUE;
}

DWORD timeGetTime() { return (DWORD)(PlatformMonotonicNs() / 1000000); }
