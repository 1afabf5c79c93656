// Frame-time benchmark: consecutive frames from the middle of each scene's window, each
// finished before it is timed, against empty frames (clear and finish only).
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include "capture/capture.h"
#include "demo/demo.h"
#include "platform/win32.h"

static double NowMs() { return PlatformMonotonicNs() / 1e6; }

// NaN where the system keeps no such clock (a browser keeps no CPU clocks).
static double ClockMs(clockid_t clock) {
    timespec ts = {};
    if (clock_gettime(clock, &ts) != 0) return NAN;
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// CPU time of the whole process, the rasteriser's threads included: on a busy machine
// the work a frame costs shows here even when the wall clock waits for other jobs.
static double CpuMs() { return ClockMs(CLOCK_PROCESS_CPUTIME_ID); }

// CPU time of the thread that makes the GL calls: vertices, triangle setup and binning.
// llvmpipe's rasteriser threads start on a frame only when it is flushed, so this part of
// the frame adds to the wall clock in full, while theirs shares the cores.
static double GlThreadMs() { return ClockMs(CLOCK_THREAD_CPUTIME_ID); }

// Waits until the frame is rasterised: glFinish, then a one-pixel read, which a browser must
// answer from the finished picture (its WebGL glFinish returns without waiting).
static void FinishFrame() {
    glFinish();
    uint8_t pixel[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

struct SceneTimes {
    double median, cpu, glThread;  // ms per frame
};

static double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

static SceneTimes TimeScene(uint32_t start, uint32_t end, int frames) {
    uint32_t middle = (uint32_t)(((uint64_t)start + end) / 2) & ~1u;
    std::vector<double> times;
    CaptureFrame(middle, false);  // the scene's first frame latches its start; not timed
    FinishFrame();
    double cpuStart = CpuMs(), glStart = GlThreadMs();
    for (int k = 1; k <= frames; k++) {
        double begin = NowMs();
        CaptureFrame(CaptureFramePosition(middle, (uint64_t)k, 60), false);
        FinishFrame();
        times.push_back(NowMs() - begin);
    }
    return {Median(times), (CpuMs() - cpuStart) / frames, (GlThreadMs() - glStart) / frames};
}

static double TimeEmpty(int frames) {
    std::vector<double> times;
    for (int k = 0; k < frames; k++) {
        double begin = NowMs();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        FinishFrame();
        times.push_back(NowMs() - begin);
    }
    return Median(times);
}

void RunBench(int frames) {
    double medians[7];
    for (int scene = 0; scene < 7; scene++) {
        SceneTimes t = TimeScene(SCENE_STARTS[scene], SCENE_STARTS[scene + 1], frames);
        medians[scene] = t.median;
        printf("scene %d: median %.2f ms/frame, cpu %.2f, gl thread %.2f (%d frames)\n", scene + 1,
               t.median, t.cpu, t.glThread, frames);
        fflush(stdout);
    }
    double empty = TimeEmpty(frames);
    printf("empty: median %.2f ms/frame (%d frames)\n", empty, frames);
    int worst = (int)(std::max_element(medians, medians + 7) - medians);
    printf("worst scene %d: %.2f ms/frame, %.1fx empty\n", worst + 1, medians[worst],
           medians[worst] / (empty > 0 ? empty : 1e-9));
}
