// Scene 4: the opening flash, the last particle burst without rebirths and the fade to white.
#include <cstring>
#include "capture/capture.h"
#include "demo/demo.h"
#include "demo/scenes.h"
#include "demo_fixture.h"
#include "fx/particles.h"

class Scene4 : public DemoTest {};

static const int VIEW = 640 * 400;  // pixels between the letterbox bands
static const uint32_t BURST = CUE_FINAL_BURST;

TEST_F(Scene4, OpensWithAWhiteFlashThatClears) {
    Scene4StartMs = 0;
    std::vector<Pixel> first = Frame(SCENE4_START);
    EXPECT_EQ(CountAtLeast(first, 40, 440, 255), VIEW);
    ExpectBandsBlack(first);

    // Half way the overlay lifts everything to at least half white.
    EXPECT_EQ(CountAtLeast(Frame(SCENE4_START + 75000), 40, 440, 126), VIEW);

    std::vector<Pixel> after = Frame(SCENE4_START + 150000);
    EXPECT_LT(CountAtLeast(after, 40, 440, 250), VIEW / 2);
    EXPECT_GT(CountLit(after, 40, 440), VIEW / 2);  // the galaxies fill the view
    ExpectBandsBlack(after);
}

// Between the flash and the burst the picture follows scene time alone: the captions slide,
// the galaxies turn and the camera rolls with it, whatever the stream position.
TEST_F(Scene4, BetweenTheCuesThePictureFollowsSceneTimeOnly) {
    std::vector<Pixel> frames[2];
    const uint32_t positions[2] = {7400000, 9000000};
    for (int k = 0; k < 2; k++) {
        Scene4StartMs = CaptureElapsedMs(positions[k]) - 15000;  // both captions mid-view
        frames[k] = Frame(positions[k]);
    }
    EXPECT_EQ(memcmp(frames[0].data(), frames[1].data(), frames[0].size() * sizeof(Pixel)), 0);
    EXPECT_GT(CountLit(frames[0], 40, 440), VIEW / 2);
    ExpectBandsBlack(frames[0]);
}

// Until the burst cue the fountain, restarted on the scene's first frame, stays at the
// emitter and keeps its respawn flag; from the cue it flies out one step a frame and dead
// particles are not reborn.
TEST_F(Scene4, FinalBurstFliesOnceWithoutRebirth) {
    Scene4StartMs = 0;
    ParticleRespawn = true;
    Frame(SCENE4_START + 100000);
    Frame(BURST - 2);
    EXPECT_TRUE(ParticleRespawn);
    Particle before[PARTICLE_COUNT];
    for (int i = 0; i < PARTICLE_COUNT; i++) {
        ASSERT_EQ(Particles[i].x, 0.0f) << i;
        ASSERT_EQ(Particles[i].z, 0.0f) << i;
        Particles[i].life = 0.001f;  // dies on its first step
        before[i] = Particles[i];
    }

    Frame(BURST);
    EXPECT_FALSE(ParticleRespawn);
    for (int i = 0; i < PARTICLE_COUNT; i++) {
        ASSERT_EQ(Particles[i].x, before[i].xi / 1500) << i;
        ASSERT_LT(Particles[i].life, 0.0f) << i;
    }
    // A rebirth would bring life back to 1 and the particle back to the emitter.
    Frame(BURST + 1470);
    for (int i = 0; i < PARTICLE_COUNT; i++) {
        ASSERT_FLOAT_EQ(Particles[i].life, before[i].life - 2 * before[i].fade) << i;
        ASSERT_NEAR(Particles[i].y, (2 * before[i].yi + before[i].yg) / 1500, 1e-5) << i;
    }
}

// The white overlay fades in from the cue and lifts the whole view to about 0.856 at the end.
TEST_F(Scene4, FadesToWhiteTowardsSceneFive) {
    std::vector<Pixel> atCue = Frame(BURST);
    EXPECT_LT(CountAtLeast(atCue, 40, 440, 200), VIEW / 2);

    EXPECT_EQ(CountAtLeast(Frame(BURST + 275000), 40, 440, 126), VIEW);  // level 500

    std::vector<Pixel> last = Frame(SCENE5_START - 1);
    EXPECT_EQ(CountAtLeast(last, 40, 440, 216), VIEW);
    EXPECT_LT(CountAtLeast(last, 40, 440, 255), VIEW);  // not yet opaque
    ExpectBandsBlack(last);
}
