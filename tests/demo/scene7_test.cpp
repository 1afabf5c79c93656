// Scene 7: the credits strip scrolling up, the hidden page shown only once P has latched the
// flag to 1, the fountain no longer reborn, the opening white and the closing black.
#include <memory>
#include "capture/capture.h"
#include "demo/demo.h"
#include "demo/scenes.h"
#include "demo_fixture.h"
#include "fx/particles.h"

static const int VIEW = 640 * 400;
static const uint32_t MID = 12100000;  // two seconds in: strip and hidden page both in view

class Scene7 : public DemoTest {
protected:
    void SetUp() override {
        HiddenPageFlag = 0;
        Scene7StartMs = CaptureElapsedMs(SCENE7_START);
    }
    void TearDown() override { HiddenPageFlag = 0; }
    // Pixels where red clearly leads green: the hidden page is a pink heart on black, the
    // credits are grey.
    static int Reddish(const std::vector<Pixel>& frame) {
        int count = 0;
        for (int y = 40; y < 440; y++)
            for (int x = 0; x < 640; x++) count += At(frame, x, y).r >= At(frame, x, y).g + 60;
        return count;
    }
    // Sum of brightness per view row.
    static std::vector<long> RowProfile(const std::vector<Pixel>& frame) {
        std::vector<long> rows(400, 0);
        for (int y = 0; y < 400; y++)
            for (int x = 0; x < 640; x++) {
                Pixel p = At(frame, x, y + 40);
                rows[y] += p.r + p.g + p.b;
            }
        return rows;
    }
};

// Without the particles: only the strip (and the layer, when shown) can light a pixel.
struct NoParticles {
    std::unique_ptr<Particle[]> saved{new Particle[PARTICLE_COUNT]};
    NoParticles() {
        std::copy(Particles, Particles + PARTICLE_COUNT, saved.get());
        for (Particle& p : Particles) p.active = false;
    }
    ~NoParticles() { std::copy(saved.get(), saved.get() + PARTICLE_COUNT, Particles); }
};

TEST_F(Scene7, LoadsItsThreeImages) {
    EXPECT_EQ(TexCredits.width, 256);
    EXPECT_EQ(TexCredits.height, 1024);
    EXPECT_NE(TexCredits.id, 0u);
    EXPECT_NE(TexEnv1.id, 0u);
    EXPECT_EQ(TexHidden.width, 256);
    EXPECT_NE(TexHidden.id, 0u);
}

// Holding P shows the layer; released, the latch keeps it; a flag byte other than 1 does not.
TEST_F(Scene7, HiddenPageNeedsTheLatchedFlag) {
    NoParticles none;
    std::vector<Pixel> plain = Frame(MID);
    EXPECT_LT(Reddish(plain), 100);
    EXPECT_GT(Reddish(Frame(MID, true)), 20000);
    EXPECT_EQ(HiddenPageFlag, 1);
    std::vector<Pixel> released = Frame(MID);
    EXPECT_GT(Reddish(released), 20000);
    ExpectBandsBlack(released);
    HiddenPageFlag = 2;
    EXPECT_LT(Reddish(Frame(MID)), 100);
}

TEST_F(Scene7, PInAnEarlierSceneStillShowsThePage) {
    NoParticles none;
    Frame(SCENE2_START - 88200, true);  // a second before the end of scene 1
    EXPECT_GT(Reddish(Frame(MID)), 20000);
}

// A second of music later the strip stands 0.25 higher at distance 1: about 121 pixels. It
// is 1 unit wide, so the view's outer columns stay dark.
TEST_F(Scene7, CreditsScrollUp) {
    NoParticles none;
    std::vector<Pixel> a = Frame(MID), b = Frame(MID + 88200);
    std::vector<long> pa = RowProfile(a), pb = RowProfile(b);
    int best = -1;
    double bestError = 1e300;
    for (int shift = 0; shift < 200; shift++) {
        double error = 0;
        for (int y = 0; y + shift < 400; y++) error += std::abs(pb[y] - pa[y + shift]);
        error /= 400 - shift;
        if (error < bestError) bestError = error, best = shift;
    }
    EXPECT_NEAR(best, 121, 3);
    int outside = 0;
    for (int y = 40; y < 440; y++)
        for (int x : {0, 60, 580, 639}) outside += (At(a, x, y).g | At(b, x, y).g) != 0;
    EXPECT_EQ(outside, 0);
    EXPECT_GT(CountLit(a, 40, 440), VIEW / 50);
}

// Scene 7 stops the rebirth scene 6 left on: a dead particle stays dead.
TEST_F(Scene7, FountainRunsOut) {
    ParticleRespawn = true;
    Particles[5].life = -0.5f;
    Frame(MID);
    EXPECT_FALSE(ParticleRespawn);
    EXPECT_LT(Particles[5].life, 0.0f);
}

TEST_F(Scene7, OpensWhiteAndFadesToBlack) {
    std::vector<Pixel> first = Frame(SCENE7_START);
    EXPECT_EQ(CountAtLeast(first, 40, 440, 255), VIEW);
    ExpectBandsBlack(first);
    EXPECT_LT(CountAtLeast(Frame(11962416), 40, 440, 250), VIEW / 20);

    EXPECT_GT(CountLit(Frame(CUE_SCENE7_FADE_OUT), 40, 440), VIEW / 50);  // "THE END" still in view
    for (uint32_t position : {12785312u, 12853246u}) {
        std::vector<Pixel> black = Frame(position);
        EXPECT_EQ(CountLit(black, 40, 440), 0) << position;
        ExpectBandsBlack(black);
    }
}
