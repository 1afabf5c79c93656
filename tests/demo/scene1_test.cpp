// Scene 1: the fades from and to black, the five flashes of its overlay, the captions' windows,
// the colour its first step inherits.
#include "capture/capture.h"
#include "demo/demo.h"
#include "demo/scenes.h"
#include "demo_fixture.h"
#include "platform/platform_testing.h"
#include "shell/shell.h"

static const int VIEW = 640 * 400;  // pixels inside the letterbox

class Scene1 : public DemoTest {
protected:
    // The frame of `position` drawn at clock `ms`, after a frame that left `inherited` current.
    static std::vector<Pixel> FrameAt(uint32_t position, uint32_t ms, float inherited = 0) {
        glColor4f(inherited, inherited, inherited, 1);
        BassManualSetPosition(position);
        PlatformCounterOverride = (int64_t)ms * 1000000 + 500000;
        KeyState['P'] = 0;
        EXPECT_TRUE(DemoFrame());
        return ReadBack();
    }
    // The flash overlay alone over black, as the stream stands at `position`, in the state a
    // scene 1 frame leaves behind (texturing and lighting off).
    static std::vector<Pixel> OverlayAlone(uint32_t position) {
        Frame(1000);
        BassManualSetPosition(position);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        Scene1Overlay();
        return ReadBack();
    }
    // Pixels near white in `with` that are not in `without`.
    static int Whitened(const std::vector<Pixel>& with, const std::vector<Pixel>& without) {
        int count = 0;
        for (size_t i = 0; i < with.size(); i++) {
            bool a = with[i].r >= 240 && with[i].g >= 240 && with[i].b >= 240;
            bool b = without[i].r >= 240 && without[i].g >= 240 && without[i].b >= 240;
            count += a && !b;
        }
        return count;
    }
};

TEST_F(Scene1, FadesInFromBlackAndOutToBlack) {
    EXPECT_EQ(CountLit(Frame(0), 0, 480), 0);
    auto half = Frame(135000);  // alpha 0.5: the scene shows, dimmed
    EXPECT_GT(CountLit(half, 40, 440), VIEW / 2);
    EXPECT_EQ(CountAtLeast(half, 40, 440, 160), 0);
    auto clear = Frame(270000);
    EXPECT_GT(CountAtLeast(clear, 40, 440, 160), 1000);
    ExpectBandsBlack(clear);

    auto before = Frame(3073983);
    EXPECT_GT(CountLit(before, 40, 440), VIEW / 2);
    ExpectBandsBlack(before);
    EXPECT_EQ(CountLit(Frame(3203984), 0, 480), 0);
    EXPECT_EQ(CountLit(Frame(SCENE2_START - 1), 0, 480), 0);
}

// Cues 1 to 4 open at alpha 0.8, cue 5 fully white; shortly after, the white has gone.
TEST_F(Scene1, FlashAccentsWhitenTheWholePicture) {
    static const uint32_t starts[] = {CUE_FLASH1, CUE_FLASH2, CUE_FLASH3, CUE_FLASH4};
    for (uint32_t start : starts) {
        SCOPED_TRACE(start);
        auto flash = Frame(start);
        EXPECT_EQ(CountAtLeast(flash, 40, 440, 195), VIEW);
        ExpectBandsBlack(flash);
        EXPECT_LT(CountAtLeast(Frame(start + 150000), 40, 440, 195), VIEW / 2);
    }
    auto white = Frame(CUE_FLASH5);
    EXPECT_EQ(CountAtLeast(white, 40, 440, 255), VIEW);
    ExpectBandsBlack(white);
    EXPECT_LT(CountAtLeast(Frame(CUE_FLASH5 + 30000), 40, 440, 255), VIEW / 2);
}

// Each cue's level, read from the white laid over black; unsigned, one window at a time.
TEST_F(Scene1, OverlayLevelsFollowTheCueTable) {
    static const struct {
        uint32_t position;
        int grey;  // 255 x alpha, 0 for no flash
    } cases[] = {
        {CUE_FLASH1 - 1, 0},           {CUE_FLASH1, 204},
        {CUE_FLASH1 + 300 * 300, 128}, {CUE_FLASH1 + 240000, 0},
        {CUE_FLASH2 - 1, 0},           {CUE_FLASH2, 204},
        {CUE_FLASH2 + 280 * 300, 128}, {CUE_FLASH3, 204},
        {CUE_FLASH3 + 200 * 300, 128}, {CUE_FLASH4, 204},
        {CUE_FLASH4_END - 1, 0},       {CUE_FLASH4_END, 0},
        {CUE_FLASH5 - 1, 0},           {CUE_FLASH5, 255},
        {CUE_FLASH5 + 150000, 128},    {CUE_FLASH5 + 300000, 0},
        {CUE_FLASHES_END, 0},          {0xFFFFFFFFu, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        auto frame = OverlayAlone(c.position);
        Pixel centre = At(frame, 320, 240);
        EXPECT_NEAR(centre.r, c.grey, 4);
        EXPECT_NEAR(centre.b, c.grey, 4);
        EXPECT_EQ(CountAtLeast(frame, 40, 440, centre.r), VIEW);  // the whole picture alike
        ExpectBandsBlack(frame);
    }
}

// A caption shows in its window and not outside it; the same clock keeps all else equal.
TEST_F(Scene1, CaptionsShowOnlyInTheirWindows) {
    static const struct {
        const char* word;
        uint32_t shown, hidden, ms;
    } cases[] = {
        {"Vernalis", 352800, 1200000, 4000},         // hidden: after its window, before "Love"
        {"Devotion", 1801474, CUE_DEVOTION, 20424},  // its window is open at both ends
        {"Feeling", 2469600, 2300000, 28000},        // hidden: the gap before "Feeling"
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        auto shown = FrameAt(c.shown, c.ms);
        auto hidden = FrameAt(c.hidden, c.ms);
        EXPECT_GT(Whitened(shown, hidden), 2000);
        EXPECT_EQ(Whitened(hidden, shown), 0);
        ExpectBandsBlack(shown);
    }
}

// The far galaxy sets no colour of its own: the previous frame's last colour tints it.
TEST_F(Scene1, FarGalaxyTakesTheColourLeftByThePreviousFrame) {
    auto Brightness = [](const std::vector<Pixel>& frame) {
        long sum = 0;
        for (const Pixel& p : frame) sum += p.r + p.g + p.b;
        return sum;
    };
    EXPECT_GT(Brightness(FrameAt(352800, 4000, 1)), Brightness(FrameAt(352800, 4000, 0)));
}
