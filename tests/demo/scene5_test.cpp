// Scene 5: the face morph (its first step, its 6000 ms limit, the mapping it keeps), the
// respawn flag it holds off, its opening flash and closing fade.
#include <cstring>
#include "capture/capture.h"
#include "demo/demo.h"
#include "demo/scenes.h"
#include "demo_fixture.h"
#include "fx/particles.h"

class Scene5 : public DemoTest {
protected:
    static Model Before;  // ModelMorph as it stood before the frame under test
    static int Faces() { return ModelCaraTio1.faceCount; }
    static bool MorphUnchanged() {
        return memcmp(ModelMorph.faces, Before.faces, sizeof(ModelFace) * Faces()) == 0;
    }
    // Every position coordinate moved exactly one step towards ModelCara2's, down when equal.
    static void ExpectOneStep() {
        for (int i = 0; i < Faces(); i++)
            for (int k = 0; k < 3; k++) {
                const ModelVertex& c = Before.faces[i].corners[k];
                const ModelVertex& g = ModelCara2.faces[i].corners[k];
                const ModelVertex& m = ModelMorph.faces[i].corners[k];
                ASSERT_EQ(m.x, c.x < g.x ? c.x + 0.002f : c.x - 0.002f) << i << " " << k;
                ASSERT_EQ(m.y, c.y < g.y ? c.y + 0.002f : c.y - 0.002f) << i << " " << k;
                ASSERT_EQ(m.z, c.z < g.z ? c.z + 0.002f : c.z - 0.002f) << i << " " << k;
            }
    }
};
Model Scene5::Before;

static const int VIEW = 640 * 400;
static const uint32_t MID = SCENE5_START + 600000;  // frame clock about 114.7 s

TEST_F(Scene5, MorphStartsFromTheFirstFaceAndStepsOnTheFirstFrame) {
    ASSERT_GT(ModelCara1.faceCount, 0);
    ASSERT_EQ(ModelCara1.faceCount, ModelCara2.faceCount);
    ASSERT_EQ(ModelCaraTio1.faceCount, ModelCara1.faceCount);
    Scene5BuildMorph();
    ASSERT_EQ(ModelMorph.faceCount, ModelCaraTio1.faceCount);
    ASSERT_EQ(memcmp(ModelMorph.faces, ModelCara1.faces, sizeof(ModelFace) * Faces()), 0);
    ModelMorph.faces[0].corners[0].x = ModelCara2.faces[0].corners[0].x;  // equal: steps down

    Scene5StartMs = 0;
    Before = ModelMorph;
    Frame(SCENE5_START);
    EXPECT_EQ(Scene5StartMs, CaptureElapsedMs(SCENE5_START));
    ExpectOneStep();
    for (int i = 0; i < Faces(); i++)
        for (int k = 0; k < 3; k++) {
            ASSERT_EQ(ModelMorph.faces[i].corners[k].u, ModelCara1.faces[i].corners[k].u);
            ASSERT_EQ(ModelMorph.faces[i].corners[k].v, ModelCara1.faces[i].corners[k].v);
        }
}

// The morph runs while scene time is at most 6000 ms and freezes from 6001.
TEST_F(Scene5, MorphStopsAfterSixSeconds) {
    uint32_t elapsed = CaptureElapsedMs(MID);
    Scene5StartMs = elapsed - 6000;
    Before = ModelMorph;
    Frame(MID);
    ExpectOneStep();

    Scene5StartMs = elapsed - 6001;
    Before = ModelMorph;
    Frame(MID);
    EXPECT_TRUE(MorphUnchanged());
}

// Once the morph has frozen, the picture between the opening flash and the closing fade
// follows scene time alone, whatever the stream position.
TEST_F(Scene5, AfterTheMorphThePictureFollowsSceneTimeOnly) {
    std::vector<Pixel> frames[2];
    const uint32_t positions[2] = {9700000, 10800000};
    for (int k = 0; k < 2; k++) {
        Scene5StartMs = CaptureElapsedMs(positions[k]) - 9000;
        frames[k] = Frame(positions[k]);
    }
    EXPECT_EQ(memcmp(frames[0].data(), frames[1].data(), frames[0].size() * sizeof(Pixel)), 0);
    EXPECT_GT(CountLit(frames[0], 40, 440), VIEW / 2);
}

// The fountain is restarted on the first frame, then neither drawn nor advanced, and rebirth
// stays off throughout.
TEST_F(Scene5, HoldsTheParticlesStill) {
    Scene5StartMs = 0;
    ParticleRespawn = true;
    Frame(MID);
    EXPECT_FALSE(ParticleRespawn);
    ParticleRespawn = true;
    Frame(MID + 2000);
    EXPECT_FALSE(ParticleRespawn);
    for (int i = 0; i < PARTICLE_COUNT; i++) {
        ASSERT_EQ(Particles[i].x, 0.0f) << i;
        ASSERT_EQ(Particles[i].y, 0.0f) << i;
    }
}

TEST_F(Scene5, OpensWhiteAndFadesToBlack) {
    std::vector<Pixel> first = Frame(SCENE5_START);
    EXPECT_EQ(CountAtLeast(first, 40, 440, 255), VIEW);
    ExpectBandsBlack(first);
    EXPECT_LT(CountAtLeast(Frame(SCENE5_START + 150000), 40, 440, 250), VIEW / 2);

    std::vector<Pixel> fadeStart = Frame(CUE_SCENE5_FADE_OUT);
    EXPECT_GT(CountLit(fadeStart, 40, 440), VIEW / 10);
    std::vector<Pixel> black = Frame(10951632);
    EXPECT_EQ(CountLit(black, 40, 440), 0);
    ExpectBandsBlack(black);
    EXPECT_EQ(CountLit(Frame(SCENE6_START - 1), 40, 440), 0);
}
