// The whole timeline at 5 frames per second, as `vernalis-capture --fps 5` renders it: every
// scene draws something, the bands stay black throughout, and the timeline ends on its cue.
#include "capture/capture.h"
#include "demo/demo.h"
#include "demo_fixture.h"

static int SceneOf(uint32_t position) {
    static const uint32_t starts[] = {SCENE2_START, SCENE3_START, SCENE4_START,
                                      SCENE5_START, SCENE6_START, SCENE7_START};
    int scene = 1;
    for (uint32_t start : starts) scene += position >= start;
    return scene;
}

TEST_F(DemoTest, WholeDemoAtFiveFramesPerSecond) {
    CaptureOptions options;
    options.fps = 5;
    uint64_t frames = CaptureFrameCount(options);
    EXPECT_EQ(frames, 729u);
    int litFrames[8] = {};
    int bandPixels = 0;
    for (uint64_t k = 0; k < frames; k++) {
        uint32_t position = CaptureFramePosition(0, k, 5);
        std::vector<Pixel> frame = Frame(position);
        bandPixels += CountLit(frame, 0, 40) + CountLit(frame, 440, 480);
        litFrames[SceneOf(position)] += CountLit(frame, 40, 440) > 1000;
    }
    EXPECT_EQ(bandPixels, 0);
    for (int scene = 1; scene <= 7; scene++) EXPECT_GT(litFrames[scene], 10) << "scene " << scene;
    EXPECT_FALSE(CaptureFrame(CaptureFramePosition(0, frames, 5), false));
}
