// Scene 4: the opening flash, the last particle burst without rebirths and the fade to white.
#include <cmath>
#include "capture/capture.h"
#include "demo/demo.h"
#include "demo_fixture.h"
#include "fx/particles.h"

extern uint32_t Scene4StartMs;

class Scene4 : public DemoTest {};

static const int VIEW = 640 * 400;  // pixels between the letterbox bands
static const uint32_t BURST = 9046784;

TEST_F(Scene4, OpensWithAWhiteFlashThatClears) {
    std::vector<Rgb> first = Frame(SCENE4_START);
    EXPECT_EQ(CountAtLeast(first, 40, 440, 255), VIEW);
    ExpectBandsBlack(first);

    // Half way the overlay lifts everything to at least half white.
    EXPECT_EQ(CountAtLeast(Frame(SCENE4_START + 75000), 40, 440, 126), VIEW);

    std::vector<Rgb> after = Frame(SCENE4_START + 150000);
    EXPECT_LT(CountAtLeast(after, 40, 440, 126), VIEW / 2);
    EXPECT_GT(CountLit(after, 40, 440), VIEW / 2);  // the galaxies fill the view
    ExpectBandsBlack(after);
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
        before[i] = Particles[i];
        ASSERT_EQ(Particles[i].x, 0.0f) << i;
        ASSERT_EQ(Particles[i].z, 0.0f) << i;
    }

    Frame(BURST);
    EXPECT_FALSE(ParticleRespawn);
    for (int i = 0; i < PARTICLE_COUNT; i++) ASSERT_EQ(Particles[i].x, before[i].xi / 1500) << i;

    const int frames = 40;  // long enough for the fastest-fading particles to die
    for (int k = 1; k < frames; k++) Frame(BURST + 1470 * k);
    int dead = 0;
    for (int i = 0; i < PARTICLE_COUNT; i++) {
        // A rebirth would have set life to 1 and moved the particle back to the emitter.
        ASSERT_NEAR(Particles[i].life, before[i].life - frames * before[i].fade, 1e-3) << i;
        dead += Particles[i].life < 0;
    }
    EXPECT_GT(dead, 0);
}

// The white overlay fades in from the cue and lifts the whole view to about 0.856 at the end.
TEST_F(Scene4, FadesToWhiteTowardsSceneFive) {
    std::vector<Rgb> atCue = Frame(BURST);
    EXPECT_LT(CountAtLeast(atCue, 40, 440, 200), VIEW / 2);

    EXPECT_EQ(CountAtLeast(Frame(BURST + 275000), 40, 440, 126), VIEW);  // level 500

    std::vector<Rgb> last = Frame(SCENE5_START - 1);
    EXPECT_EQ(CountAtLeast(last, 40, 440, 216), VIEW);
    EXPECT_LT(CountAtLeast(last, 40, 440, 255), VIEW);  // not yet opaque
    ExpectBandsBlack(last);
}
