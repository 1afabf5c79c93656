// Scene 3: the opening flash added onto the tube, the life cue and its latched scene time, the
// particle burst window and rebirths, the closing fade, loading and freeing.
#include <cmath>
#include <cstdlib>
#include "capture/capture.h"
#include "demo/demo.h"
#include "demo/scenes.h"
#include "demo_fixture.h"
#include "fx/particles.h"

static const uint32_t LIFE_CUE = CUE_LIFE, BURST_END = CUE_LIFE_BURST_END,
                      FADE_OUT = CUE_SCENE3_FADE_OUT;
static const int VIEW = 640 * 400;  // pixels between the letterbox bands

// The fountain's whole state, so that two frames of equal scene time draw the same particles.
struct Fountain {
    Particle particles[PARTICLE_COUNT];
    int32_t colorIndex;
    uint32_t randState;
    bool respawn;
};

class Scene3 : public DemoTest {
protected:
    static Fountain Save() {
        Fountain f;
        for (int i = 0; i < PARTICLE_COUNT; i++) f.particles[i] = Particles[i];
        f.colorIndex = ParticleColorIndex, f.randState = ParticleRandState;
        f.respawn = ParticleRespawn;
        return f;
    }
    // The frame of `position` at scene time sceneMs * 0.05, drawn from the fountain `f`.
    static std::vector<Pixel> FrameAt(uint32_t position, uint32_t sceneMs, const Fountain& f) {
        for (int i = 0; i < PARTICLE_COUNT; i++) Particles[i] = f.particles[i];
        ParticleColorIndex = f.colorIndex, ParticleRandState = f.randState;
        ParticleRespawn = f.respawn;
        Scene3StartMs = CaptureElapsedMs(position) - sceneMs;
        return Frame(position);
    }
    // Pixels of the region that differ clearly between two frames.
    static int Changed(const std::vector<Pixel>& a, const std::vector<Pixel>& b, int top,
                       int bottom, int left, int right) {
        int count = 0;
        for (int y = top; y < bottom; y++)
            for (int x = left; x < right; x++) {
                Pixel p = At(a, x, y), q = At(b, x, y);
                count += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 30;
            }
        return count;
    }
};

// White on the first frame; half way the overlay adds half white onto the picture (the
// fountain leaves additive blending in force); from 5309338 it adds nothing.
TEST_F(Scene3, OpeningFlashIsAddedOntoThePictureAndClears) {
    std::vector<Pixel> first = Frame(SCENE3_START);
    EXPECT_EQ(CountAtLeast(first, 40, 440, 255), VIEW);
    ExpectBandsBlack(first);

    Fountain f = Save();
    const uint32_t ms = 2000;
    std::vector<Pixel> base = FrameAt(5309338, ms, f);
    EXPECT_LT(CountAtLeast(base, 40, 440, 128), VIEW * 3 / 4);  // room to show the lift
    EXPECT_LE(MaxError(FrameAt(5254338, ms, f), base, [](int v) { return std::min(255, v + 128); }),
              1);
    EXPECT_EQ(MaxError(FrameAt(5400000, ms, f), base, [](int v) { return v; }), 0);
    ExpectBandsBlack(base);
}

// Scene time starts on the scene's first frame; the cue's scene time is latched on the first
// frame at or past the cue and kept however the position moves afterwards.
TEST_F(Scene3, LifeCueLatchesSceneTimeOnce) {
    Scene3StartMs = 0;
    Scene3CueT = 0;
    Frame(6000000);
    EXPECT_EQ(Scene3StartMs, CaptureElapsedMs(6000000));
    Frame(LIFE_CUE - 2);
    EXPECT_EQ(Scene3CueT, 0.0f);
    Frame(LIFE_CUE);
    const float latched = (float)((CaptureElapsedMs(LIFE_CUE) - CaptureElapsedMs(6000000)) * 0.05);
    EXPECT_FLOAT_EQ(Scene3CueT, latched);
    Frame(6500000);
    Frame(LIFE_CUE);
    EXPECT_FLOAT_EQ(Scene3CueT, latched);
    EXPECT_EQ(Scene3StartMs, CaptureElapsedMs(6000000));
}

// The same scene time drawn before and after the cue: only the life captions differ. With
// the cue 150 units of scene time ago, "She produce life" is a third of the view below the
// centre (shown only while its sine is positive) and one "Life" enters at the upper right.
TEST_F(Scene3, LifeCaptionsShowOnlyFromTheCue) {
    Fountain f = Save();
    for (uint32_t ms : {3019u, 3083u}) {  // t 150.95: sine near +1; t 154.15: near -1
        SCOPED_TRACE(ms);
        Scene3CueT = ms * 0.05f - 150;
        std::vector<Pixel> before = FrameAt(LIFE_CUE - 2, ms, f);
        std::vector<Pixel> after = FrameAt(BURST_END, ms, f);
        ExpectBandsBlack(after);
        int line = Changed(before, after, 240, 330, 0, 640);
        int life = Changed(before, after, 40, 210, 400, 640);
        EXPECT_GT(life, 2000);
        if (ms == 3019u) EXPECT_GT(line, 3000);
        else EXPECT_EQ(line, 0);
        // Nothing else moves: the rest of the picture is the same.
        EXPECT_EQ(Changed(before, after, 40, 240, 0, 400), 0);
        EXPECT_EQ(Changed(before, after, 330, 440, 0, 640), 0);
    }
}

// Inside [CUE_LIFE, CUE_LIFE_BURST_END) every frame sends the fountain back to the emitter after
// drawing it; from CUE_LIFE_BURST_END it flies freely, one step a frame.
TEST_F(Scene3, BurstWindowRestartsTheFountainEveryFrame) {
    ParticleRespawn = true;
    Frame(LIFE_CUE - 1000);
    Frame(LIFE_CUE - 2);
    int atEmitter = 0;
    for (const Particle& p : Particles) atEmitter += p.x == 0 && p.y == 0 && p.z == 0;
    EXPECT_LT(atEmitter, PARTICLE_COUNT / 2);

    for (uint32_t position : {LIFE_CUE, BURST_END - 2}) {
        Frame(position);
        for (int i = 0; i < PARTICLE_COUNT; i++) {
            const Particle& p = Particles[i];
            ASSERT_TRUE(p.x == 0 && p.y == 0 && p.z == 0) << position << " " << i;
            ASSERT_EQ(std::fmod(p.xi, 10.0f), 0.0f) << i;  // burst speeds are tens
            ASSERT_TRUE(p.xi >= -260 && p.xi <= 230 && p.yi >= -250 && p.yi <= 240) << i;
        }
    }

    Fountain burst = Save();
    Frame(BURST_END);
    for (int i = 0; i < PARTICLE_COUNT; i++) {
        const Particle &p = Particles[i], &q = burst.particles[i];
        bool reborn = p.life == 1.0f && p.x == 0 && p.y == 0 && p.z == 0;
        ASSERT_TRUE(reborn || (p.x == q.xi / 1500 && p.y == q.yi / 1500 && p.z == q.zi / 1500))
            << i;
    }
}

// The scene never touches the respawn flag: set, as the program starts, a dying particle is
// reborn at the emitter with the next colour of the cycle; cleared, it stays dead.
TEST_F(Scene3, RespawnFollowsTheFlagItLeavesAlone) {
    for (bool respawn : {true, false}) {
        SCOPED_TRACE(respawn);
        ParticleRespawn = respawn;
        ParticleColorIndex = 5;
        Particles[0].life = 0.001f;
        Particles[0].fade = 0.01f;
        Particles[0].x = 3;
        Frame(5600000);
        EXPECT_EQ(ParticleRespawn, respawn);
        if (respawn) {
            EXPECT_EQ(Particles[0].life, 1.0f);
            EXPECT_EQ(Particles[0].x, 0.0f);
            EXPECT_EQ(Particles[0].g, ParticleColors[5][1]);
            EXPECT_EQ(Particles[0].b, ParticleColors[5][2]);
        } else {
            EXPECT_LT(Particles[0].life, 0.0f);
            EXPECT_GT(Particles[0].x, 2.0f);
        }
    }
    ParticleRespawn = true;
}

// Black rises from CUE_SCENE3_FADE_OUT: half way it halves the picture, from 7095792 to the scene's
// end the view is black.
TEST_F(Scene3, FadesToBlackBeforeSceneFour) {
    Fountain f = Save();
    const uint32_t ms = 20000;
    std::vector<Pixel> base = FrameAt(FADE_OUT, ms, f);
    EXPECT_GT(CountLit(base, 40, 440), VIEW / 2);
    std::vector<Pixel> half = FrameAt(FADE_OUT + 75000, ms, f);
    EXPECT_LE(MaxError(half, base, [](int v) { return v / 2; }), 1);
    for (uint32_t position : {7095792u, SCENE4_START - 2}) {
        std::vector<Pixel> black = Frame(position);
        EXPECT_EQ(CountLit(black, 0, 480), 0) << position;
    }
}

// Init loaded the tube and the five textures (two of them for later scenes) and filled the
// fountain; Free releases only the pixel copies, so later scenes still bind the textures.
TEST_F(Scene3, FreeKeepsTheTexturesLaterScenesBind) {
    EXPECT_GT(ModelTubo.faceCount, 0);
    for (const Particle& p : Particles) ASSERT_TRUE(p.active);
    Texture* textures[] = {&TexBlue, &TexBlue2, &TexParticle, &TexPictra3, &TexBigFlare};
    for (Texture* t : textures) {
        EXPECT_NE(t->id, 0u);
        EXPECT_NE(t->pixels, nullptr);
    }
    Scene3Free();
    Scene3Free();  // nothing left to release twice
    for (Texture* t : textures) {
        EXPECT_NE(t->id, 0u);
        EXPECT_EQ(t->pixels, nullptr);
    }
}
