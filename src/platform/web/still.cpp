// A still instead of playing (the page's ?still=POS), and the frame-time benchmark (?bench=1):
// the demo brought up as the capture tool brings it up, with the stream position and the frame
// clock set per frame. The still is the frame that playing from 0 at 60 fps shows at POS, drawn
// after the frames below it, unseen.
#include <GL/gl.h>
#include <emscripten/emscripten.h>
#include "capture/capture.h"
#include "demo/demo.h"
#include "music/music.h"
#include "platform/platform_testing.h"
#include "platform/web/web.h"
#include "shell/shell.h"

bool CaptureFrame(uint32_t position, bool holdP) {
    BassManualSetPosition(position);
    // Half a millisecond in, so the truncated clock reads exactly the frame's milliseconds.
    PlatformCounterOverride = (int64_t)CaptureElapsedMs(position) * 1000000 + 500000;
    KeyState['P'] = holdP ? 1 : 0;
    return DemoFrame();
}

// False where start-up failed; its message boxes say why.
static bool StartOffscreen() {
    PlatformCounterOverride = 0;
    BassManualOutput(TRUE);
    if (!AudioStart()) return false;
    if (!CreateDemoWindow("Aurora - Vernalis", CAPTURE_WIDTH, CAPTURE_HEIGHT, 16, false))
        return false;
    if (!DemoInit() || !BASS_StreamPlay(MusicStream, FALSE, BASS_SAMPLE_LOOP)) return false;
    ClockStart();
    return true;
}

// 1 once the still is drawn; 0 where start-up failed or the position lies past the timeline.
extern "C" EMSCRIPTEN_KEEPALIVE int WebStill(uint32_t position, int holdP) {
    WebKeepDrawingBuffer = true;
    if (!StartOffscreen()) return 0;
    CaptureCatchUp(position, 60, holdP != 0);
    bool drawn = CaptureFrame(position, holdP != 0);
    glFlush();  // the page shows, and reads back, what the GL layer has sent
    return drawn ? 1 : 0;
}

// The capture tool's benchmark, printed to the console: 1 once done, 0 where start-up failed.
extern "C" EMSCRIPTEN_KEEPALIVE int WebBench(int frames) {
    if (!StartOffscreen()) return 0;
    RunBench(frames);
    return 1;
}
