// Scene 6: the morph back (snapped to the second face on the first frame, stepping towards the
// first for 6000 ms), the fountain restarted once and reborn, the captions drifting in from
// the right and out at the left, the fade in from black and out to white.
#include <cmath>
#include <cstring>
#include <memory>
#include "capture/capture.h"
#include "demo/demo.h"
#include "demo/scenes.h"
#include "demo_fixture.h"
#include "fx/particles.h"

static const int VIEW = 640 * 400;
static const uint32_t MID = SCENE6_START + 400000;  // frame clock about 128.8 s

class Scene6 : public DemoTest {
protected:
    static Model Before;  // ModelMorph as it stood before the frame under test
    static int Faces() { return ModelCaraTio1.faceCount; }
    static float Toward(float c, float g) { return c < g ? c + 0.01f : c - 0.01f; }
    // Every position coordinate of `before` moved exactly one step towards ModelCara1's.
    static void ExpectOneStepFrom(const Model& before) {
        for (int i = 0; i < Faces(); i++)
            for (int k = 0; k < 3; k++) {
                const ModelVertex& c = before.faces[i].corners[k];
                const ModelVertex& g = ModelCara1.faces[i].corners[k];
                const ModelVertex& m = ModelMorph.faces[i].corners[k];
                ASSERT_EQ(m.x, Toward(c.x, g.x)) << i << " " << k;
                ASSERT_EQ(m.y, Toward(c.y, g.y)) << i << " " << k;
                ASSERT_EQ(m.z, Toward(c.z, g.z)) << i << " " << k;
            }
    }
    static void ExpectModelsLoaded() {
        ASSERT_GT(ModelCara1.faceCount, 0);
        ASSERT_EQ(ModelCara2.faceCount, ModelCara1.faceCount);
        ASSERT_EQ(ModelCaraTio1.faceCount, ModelCara1.faceCount);
    }
};
Model Scene6::Before;

// The first frame snaps the face to ModelCara2 with ModelCara1's mapping, whatever scene 5
// left, then already takes one step back; the fountain restarts at the emitter.
TEST_F(Scene6, FirstFramePreparesTheMorphAndRestartsTheFountain) {
    ExpectModelsLoaded();
    ModelMorph.faceCount = 1;
    for (int i = 0; i < Faces(); i++) {
        ModelMorph.faces[i].vertexCount = 0;
        for (ModelVertex& c : ModelMorph.faces[i].corners) c = {7, 7, 7, 7, 7};
    }
    for (Particle& p : Particles) p.x = p.y = p.z = 100;
    float shapeU = ModelCara2.faces[0].corners[0].u;
    ModelCara2.faces[0].corners[0].u = shapeU + 0.5f;  // the mapping must come from ModelCara1

    Scene6StartMs = 0;
    ParticleRespawn = false;
    Frame(MID);
    ModelCara2.faces[0].corners[0].u = shapeU;
    EXPECT_EQ(Scene6StartMs, CaptureElapsedMs(MID));
    EXPECT_TRUE(ParticleRespawn);
    ASSERT_EQ(ModelMorph.faceCount, ModelCaraTio1.faceCount);
    ExpectOneStepFrom(ModelCara2);
    for (int i = 0; i < Faces(); i++) {
        ASSERT_EQ(ModelMorph.faces[i].vertexCount, 3) << i;
        for (int k = 0; k < 3; k++) {
            ASSERT_EQ(ModelMorph.faces[i].corners[k].u, ModelCara1.faces[i].corners[k].u);
            ASSERT_EQ(ModelMorph.faces[i].corners[k].v, ModelCara1.faces[i].corners[k].v);
        }
    }
    // Reset to the origin, then moved one step of at most 250 / 1500 (or reborn there).
    for (const Particle& p : Particles) {
        ASSERT_LT(std::fabs(p.x), 0.2f);
        ASSERT_LT(std::fabs(p.y), 0.2f);
    }

    // Later frames neither snap the face back nor restart the fountain.
    ModelMorph.faces[0].corners[0].x = 50;
    Particles[0].x = 100;
    Before = ModelMorph;
    Frame(MID + 2000);
    ExpectOneStepFrom(Before);
    EXPECT_GT(Particles[0].x, 99.0f);
}

// Faces past ModelCara1's count keep what scene 5 left and walk towards ModelCara1's record at
// the same index; a coordinate already at its target steps down.
TEST_F(Scene6, SurplusFacesKeepTheirShapeAndEqualCoordinatesStepDown) {
    ExpectModelsLoaded();
    int n = ModelCara1.faceCount;
    ASSERT_LT(n, MODEL_MAX_FACES);
    int32_t savedCount = ModelCaraTio1.faceCount;
    ModelCaraTio1.faceCount = n + 1;
    ModelFace surplus = ModelMorph.faces[n];
    ModelMorph.faces[n].corners[0].x = 42;
    Scene6PrepareMorph();
    EXPECT_EQ(ModelMorph.faceCount, n + 1);
    EXPECT_EQ(ModelMorph.faces[n].corners[0].x, 42.0f);

    ModelMorph.faces[0].corners[1].y = ModelCara1.faces[0].corners[1].y;
    Before = ModelMorph;
    Scene6StartMs = CaptureElapsedMs(MID) - 10;
    Frame(MID);
    ModelCaraTio1.faceCount = savedCount;
    ModelMorph.faceCount = savedCount;
    EXPECT_EQ(ModelMorph.faces[0].corners[1].y, Before.faces[0].corners[1].y - 0.01f);
    EXPECT_EQ(ModelMorph.faces[n].corners[0].x, Toward(42, ModelCara1.faces[n].corners[0].x));
    ModelMorph.faces[n] = surplus;
}

// The morph runs while scene time is at most 6000 ms and freezes from 6001.
TEST_F(Scene6, MorphStopsAfterSixSeconds) {
    uint32_t elapsed = CaptureElapsedMs(MID);
    Scene6StartMs = elapsed - 6000;
    Before = ModelMorph;
    Frame(MID);
    ExpectOneStepFrom(Before);

    Scene6StartMs = elapsed - 6001;
    Before = ModelMorph;
    Frame(MID);
    EXPECT_EQ(memcmp(ModelMorph.faces, Before.faces, sizeof(ModelFace) * Faces()), 0);
}

// "We need you" (near, at the top) stands off the right edge at the scene's start, crosses the
// upper right four seconds in and has moved on to the left half by ten seconds. Same position,
// only the scene time differs; the fountain is switched off so only the captions can change.
TEST_F(Scene6, NearCaptionCrossesTheTopOfTheView) {
    auto saved = std::make_unique<Particle[]>(PARTICLE_COUNT);
    std::copy(Particles, Particles + PARTICLE_COUNT, saved.get());
    for (Particle& p : Particles) p.active = false;
    uint32_t elapsed = CaptureElapsedMs(MID);
    auto frameAt = [&](uint32_t sceneMs) {
        Scene6StartMs = elapsed - sceneMs;
        return Frame(MID);
    };
    // Pixels of the upper right quarter made brighter than in `base`.
    auto brightened = [](const std::vector<Pixel>& frame, const std::vector<Pixel>& base) {
        int count = 0;
        for (int y = 40; y < 140; y++)
            for (int x = 320; x < 640; x++) count += At(frame, x, y).g >= At(base, x, y).g + 60;
        return count;
    };
    std::vector<Pixel> start = frameAt(0), crossing = frameAt(4000), later = frameAt(10000);
    std::copy(saved.get(), saved.get() + PARTICLE_COUNT, Particles);
    EXPECT_GT(brightened(crossing, start), 3000);
    EXPECT_LT(brightened(later, start), 50);
}

TEST_F(Scene6, FadesInFromBlackAndOutToWhite) {
    std::vector<Pixel> first = Frame(SCENE6_START);
    EXPECT_EQ(CountLit(first, 40, 440), 0);
    ExpectBandsBlack(first);
    EXPECT_GT(CountLit(Frame(11110128), 40, 440), VIEW / 2);  // flare and face, no black
    EXPECT_LT(CountAtLeast(Frame(CUE_SCENE6_WHITE_OUT), 40, 440, 250), VIEW / 2);

    std::vector<Pixel> white = Frame(11904848);
    EXPECT_EQ(CountAtLeast(white, 40, 440, 255), VIEW);
    ExpectBandsBlack(white);
    EXPECT_EQ(CountAtLeast(Frame(SCENE7_START - 1), 40, 440, 255), VIEW);
}

// The fountain is reborn throughout the scene: a dead particle comes back at full life.
TEST_F(Scene6, RebornParticles) {
    Scene6StartMs = CaptureElapsedMs(MID) - 1000;
    ParticleRespawn = false;
    Particles[5].life = -0.5f;
    Frame(MID);
    EXPECT_TRUE(ParticleRespawn);
    EXPECT_EQ(Particles[5].life, 1.0f);
    EXPECT_EQ(Particles[5].x, 0.0f);
}
