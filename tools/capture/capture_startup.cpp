// The start-up split: the steps of the program's start-up (DemoInit taken apart in its own
// order), each timed, up to the first frame drawn and finished.
#include <GL/gl.h>
#include <cstdio>
#include "capture/capture.h"
#include "demo/demo.h"
#include "fx/font.h"
#include "music/music.h"
#include "pack/tpack.h"
#include "platform/platform_testing.h"

static double MonotonicMs() { return PlatformMonotonicNs() / 1e6; }

static double Last;

static bool Step(const char* name, bool ok) {
    double now = MonotonicMs();
    printf("start-up: %-12s %7.1f ms\n", name, now - Last);
    Last = now;
    return ok;
}

static bool OpenPack() { return TPACK_Open(nullptr, 0) && TPACK_Find("Zozivuv.mp3"); }

bool CaptureStartTimed(const std::string& exePath, double mainMs) {
    Last = mainMs;
    CapturePrepare(exePath, 1);
    bool ok =
        Step("tool", true) && Step("audio", AudioStart()) && Step("window", CaptureOpenWindow()) &&
        Step("pack", OpenPack()) &&
        Step("soundtrack", MusicFromPack(PackFile.file, PackFile.entryOffset, PackFile.entrySize));
    double streamMade = Last;
    ok = ok && Step("font", FontBuild());
    for (int i = 0; ok && i < 7; i++) {
        char name[16];
        snprintf(name, sizeof name, "scene %d", i + 1);
        ok = Step(name, DemoScenes[i].init());
    }
    if (ok) TPACK_Close();
    ok = ok && Step("play", CapturePlay());
    if (ok) {
        CaptureFrame(0, false);
        glFinish();
        ok = Step("first frame", true);
    }
    printf("start-up: %-12s %7.1f ms from main\n", "total", MonotonicMs() - mainMs);
    BassWaitDecoded();
    printf(
        "start-up: the soundtrack's decoding thread finished %.1f ms after its stream was made\n",
        MonotonicMs() - streamMade);
    fflush(stdout);
    return ok;
}
