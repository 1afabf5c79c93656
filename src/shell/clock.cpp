// The frame clock: milliseconds since the soundtrack started.
#include <cstring>
#include "shell/shell.h"

FrameClockRecord FrameClock;

void ClockStart() {
    memset(&FrameClock, 0, sizeof FrameClock);
    LARGE_INTEGER reading;
    if (!QueryPerformanceFrequency(&reading)) {
        FrameClock.usesCounter = 0;
        FrameClock.msStart = timeGetTime();
        FrameClock.secondsPerTick = 0.001f;
        FrameClock.frequency = 1000;
        FrameClock.msLast = FrameClock.msStart;
        return;
    }
    FrameClock.frequency = reading.QuadPart;
    QueryPerformanceCounter(&reading);
    FrameClock.counterStart = reading.QuadPart;
    FrameClock.usesCounter = 1;
    FrameClock.secondsPerTick = (float)(1.0 / (double)FrameClock.frequency);
    FrameClock.counterLast = FrameClock.counterStart;
}

double ClockElapsed() {
    double elapsed;
    if (FrameClock.usesCounter) {
        LARGE_INTEGER now = {};
        QueryPerformanceCounter(&now);
        elapsed = (double)(now.QuadPart - FrameClock.counterStart);
    } else {
        elapsed = (double)(uint32_t)(timeGetTime() - FrameClock.msStart);
    }
    return elapsed * FrameClock.secondsPerTick * 1000.0;
}

// Past 2^31 ms (24.8 days, a window left minimised while the music loops) a signed 32-bit
// step would be undefined; through 64 bits the count wraps as an unsigned 32-bit one should.
uint32_t FrameMilliseconds(double elapsed) { return (uint32_t)(int64_t)elapsed; }
