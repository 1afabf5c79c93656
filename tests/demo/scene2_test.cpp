// Scene 2: the fade in from black, the white-out, and the verse shown one line per 3.14 units
// of scene time.
#include <cmath>
#include <cstdlib>
#include <string>
#include <GL/gl.h>
#include "capture/capture.h"
#include "demo/demo.h"
#include "demo/scenes.h"
#include "demo_fixture.h"
#include "fx/font.h"

static const uint32_t WHITE_OUT = CUE_SCENE2_WHITE_OUT;
static const uint32_t QUIET = 4000000;  // no fade nor white-out is drawn here
static const int VIEW = 640 * 400;      // pixels between the letterbox bands

class Scene2 : public DemoTest {
protected:
    // The frame of `position` at scene time sceneMs * 0.0008: the picture depends on scene time
    // alone, the fades on the position alone.
    static std::vector<Pixel> FrameAt(uint32_t position, uint32_t sceneMs) {
        Scene2StartMs = CaptureElapsedMs(position) - sceneMs;
        return Frame(position);
    }
    // The frame just drawn.
    static std::vector<Pixel> Read() { return ReadBack(); }
    // Where an opaque caption of `text` at (0, 0, z) puts its ink: drawn alone on black.
    static std::vector<bool> Ink(const char* text, float z) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_LIGHTING);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        FadeCaption(0, 0, z, text, 100);
        std::vector<Pixel> frame = Read();
        std::vector<bool> ink(frame.size());
        for (size_t i = 0; i < frame.size(); i++) ink[i] = frame[i].r == 255;
        return ink;
    }
    // Share of the ink pixels that are white in `frame`: near 1 where that caption is shown.
    static double Coverage(const std::vector<Pixel>& frame, const std::vector<bool>& ink) {
        int total = 0, white = 0;
        for (size_t i = 0; i < ink.size(); i++) {
            if (!ink[i]) continue;
            total++;
            white += frame[i].r >= 245 && frame[i].g >= 245 && frame[i].b >= 245;
        }
        return total ? (double)white / total : 0;
    }
};

// Each line at the height of its slot is shown opaque and no other line is; at the start of
// each slot the new line's alpha is 0; from scene time 18.84 on no line is shown.
TEST_F(Scene2, VerseShowsOneLinePerSlot) {
    const char* lines[] = {"I touch the sky with you",
                           "you are the source",
                           "of my imagination",
                           "you are so",
                           "Perfect",
                           "Come with me"};
    std::vector<std::vector<bool>> inks;
    for (int k = 0; k < 6; k++) inks.push_back(Ink(lines[k], k == 5 ? -6 : -10));
    for (int slot = 0; slot < 7; slot++) {
        SCOPED_TRACE(slot);
        std::vector<Pixel> peak =
            FrameAt(QUIET, (uint32_t)lround((3.14 * slot + M_PI / 2) / 0.0008));
        std::vector<Pixel> start = FrameAt(QUIET, (uint32_t)lround(3.14 * slot / 0.0008) + 2);
        for (int k = 0; k < 6; k++) {
            if (k == slot) EXPECT_GT(Coverage(peak, inks[k]), 0.98) << lines[k];
            else EXPECT_LT(Coverage(peak, inks[k]), 0.7) << lines[k];
            EXPECT_LT(Coverage(start, inks[k]), 0.2) << lines[k];
        }
    }
}

// Black at the scene's first position, half way at 3338984 (the picture halved), clear from
// 3403984; the same picture is drawn at both positions for the same scene time.
TEST_F(Scene2, FadesInFromBlack) {
    Scene2StartMs = 0;  // the first frame: the ghost is half opaque and crosses the bands
    std::vector<Pixel> first = Frame(SCENE2_START);
    EXPECT_EQ(CountLit(first, 0, 480), 0);

    const uint32_t ms = 4000;
    std::vector<Pixel> base = FrameAt(3403984, ms);
    EXPECT_GT(CountLit(base, 40, 440), VIEW / 2);
    EXPECT_LE(MaxError(FrameAt(3338984, ms), base, [](int v) { return v / 2; }), 1);
    EXPECT_EQ(MaxError(FrameAt(QUIET, ms), base, [](int v) { return v; }), 0);
    ExpectBandsBlack(base);
}

// White rises from CUE_SCENE2_WHITE_OUT: half way at 5094338, opaque from 5169338 to the scene's
// end.
TEST_F(Scene2, EndsInAWhiteOut) {
    const uint32_t ms = 20000;
    std::vector<Pixel> base = FrameAt(WHITE_OUT - 2, ms);
    EXPECT_LT(CountAtLeast(base, 40, 440, 128), VIEW / 2);
    EXPECT_LE(MaxError(FrameAt(5094338, ms), base, [](int v) { return v / 2 + 128; }), 1);
    for (uint32_t position : {5169338u, SCENE3_START - 2}) {
        std::vector<Pixel> white = Frame(position);
        EXPECT_EQ(CountAtLeast(white, 40, 440, 255), VIEW) << position;
        ExpectBandsBlack(white);
    }
}
