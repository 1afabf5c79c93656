// The particle fountain: its own random sequence, the initial burst, respawn colours and the
// blending state it leaves for the rest of the frame.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include "fx/particles.h"
#include "gl_fixture.h"

static void FreshFountain() {
    memset(Particles, 0, sizeof Particles);
    ParticleRandState = 1;
    ParticleColorIndex = 0;
    ParticleRespawn = true;
    ParticlesUseSprite(nullptr, 0, 0, 0);
}

static void ExpectColor(const Particle& p, int index) {
    EXPECT_EQ(p.r, ParticleColors[index][0]);
    EXPECT_EQ(p.g, ParticleColors[index][1]);
    EXPECT_EQ(p.b, ParticleColors[index][2]);
}

TEST(ParticleRand, RepeatsTheSameSequenceFromStateOne) {
    ParticleRandState = 1;
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int value : expected) EXPECT_EQ(ParticleRand(), value);
}

TEST(ParticleRand, StateWrapsAt32BitsAndResultsStayIn15Bits) {
    ParticleRandState = 0xFFFFFFFFu;
    EXPECT_EQ(ParticleRand(), (int)(((0xFFFFFFFFu * 214013u + 2531011u) >> 16) & 0x7FFF));
    int lo = 32767, hi = 0;
    for (int i = 0; i < 100000; i++) {
        int v = ParticleRand();
        lo = std::min(lo, v), hi = std::max(hi, v);
    }
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 32767);
}

TEST(ParticleInit, FirstParticleTakesDrawsInFadeXYZOrder) {
    FreshFountain();
    ParticlesInit();
    const Particle& p = Particles[0];
    EXPECT_TRUE(p.active);
    EXPECT_EQ(p.life, 3.0f);
    EXPECT_FLOAT_EQ(p.fade, 0.041f + 0.003f);  // 41 % 100
    EXPECT_EQ(p.xi, -90.0f);                   // (18467 % 50 - 26) * 10
    EXPECT_EQ(p.yi, 90.0f);                    // (6334 % 50 - 25) * 10
    EXPECT_EQ(p.zi, -250.0f);                  // (26500 % 50 - 25) * 10
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.yg, -0.2f);
    EXPECT_EQ(p.xg, 0.0f);
    // Four draws per particle, nothing else.
    uint32_t after = ParticleRandState;
    ParticleRandState = 1;
    for (int i = 0; i < 4 * PARTICLE_COUNT; i++) ParticleRand();
    EXPECT_EQ(ParticleRandState, after);
}

TEST(ParticleInit, VelocitiesAndFadesCoverTheirRanges) {
    FreshFountain();
    ParticlesInit();
    float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f}, fadeLo = 1, fadeHi = 0;
    for (const Particle& p : Particles) {
        const float v[3] = {p.xi, p.yi, p.zi};
        for (int k = 0; k < 3; k++) lo[k] = std::min(lo[k], v[k]), hi[k] = std::max(hi[k], v[k]);
        fadeLo = std::min(fadeLo, p.fade), fadeHi = std::max(fadeHi, p.fade);
    }
    EXPECT_EQ(lo[0], -260.0f);
    EXPECT_EQ(hi[0], 230.0f);
    for (int k = 1; k < 3; k++) {
        EXPECT_EQ(lo[k], -250.0f);
        EXPECT_EQ(hi[k], 240.0f);
    }
    EXPECT_FLOAT_EQ(fadeLo, 0.003f);
    EXPECT_FLOAT_EQ(fadeHi, 0.102f);
}

TEST(ParticleInit, ColourBandsAndTheNineBeyondTheTable) {
    FreshFountain();
    ParticlesInit();
    ExpectColor(Particles[0], 0);
    ExpectColor(Particles[164], 0);  // the first band is 165 wide
    ExpectColor(Particles[165], 1);
    ExpectColor(Particles[330], 1);
    ExpectColor(Particles[331], 2);
    ExpectColor(Particles[1990], 11);
    // Band 12 does not exist: its nine particles wrap round to the first colour.
    for (int i = 1991; i < PARTICLE_COUNT; i++) ExpectColor(Particles[i], 0);
}

TEST(ParticleReset, RestartsAtTheOriginAndKeepsLifeFadeAndColour) {
    FreshFountain();
    ParticlesInit();
    Particle& p = Particles[0];
    p.x = 3, p.y = -4, p.z = 5, p.life = -0.5f, p.fade = 0.01f, p.r = 0.25f;
    ParticleRandState = 1;
    ParticlesReset();
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
    EXPECT_EQ(p.z, 0.0f);
    EXPECT_EQ(p.xi, 150.0f);  // (41 % 50 - 26) * 10
    EXPECT_EQ(p.yi, -80.0f);  // (18467 % 50 - 25) * 10
    EXPECT_EQ(p.zi, 90.0f);   // (6334 % 50 - 25) * 10
    EXPECT_EQ(p.life, -0.5f);
    EXPECT_EQ(p.fade, 0.01f);
    EXPECT_EQ(p.r, 0.25f);
    EXPECT_EQ(p.yg, -0.2f);
}

class ParticleDraw : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        glDisable(GL_TEXTURE_2D);
        FreshFountain();
    }
    // One active particle, all others left inactive.
    static Particle& Only(int i, float life, float fade) {
        Particle& p = Particles[i];
        p.active = true, p.life = life, p.fade = fade;
        p.r = p.g = p.b = 1;
        p.yg = -0.2f;
        return p;
    }
};

TEST_F(ParticleDraw, BeforeInitDrawsNothingButEnablesDepthTest) {
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glDisable(GL_DEPTH_TEST);
    glTranslatef(0, 0, -2);
    ParticlesDraw();
    EXPECT_EQ(CountLit(ReadFrame(), 0, 480), 0);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint src, dst;
    glGetIntegerv(GL_BLEND_SRC, &src), glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_ONE);
    EXPECT_EQ(dst, GL_ZERO);
}

TEST_F(ParticleDraw, LeavesAdditiveBlendingAndNicestHintsBehind) {
    Only(7, 1, 0.01f);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glHint(GL_POINT_SMOOTH_HINT, GL_FASTEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    ParticlesDraw();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint src, dst, point, persp;
    glGetIntegerv(GL_BLEND_SRC, &src), glGetIntegerv(GL_BLEND_DST, &dst);
    glGetIntegerv(GL_POINT_SMOOTH_HINT, &point);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &persp);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE);
    EXPECT_EQ(point, GL_NICEST);
    EXPECT_EQ(persp, GL_NICEST);
}

TEST_F(ParticleDraw, LifeIsAlphaAndOverlappingParticlesAdd) {
    glTranslatef(0, 0, -2);  // a 1 x 1 quad about 240 pixels across
    Only(0, 0.3f, 0.01f);
    Only(1, 0.3f, 0.01f);
    Particle& far = Only(2, 3.0f, 0.01f);  // life above 1 clamps to full strength
    far.x = 6, far.z = -10, far.g = 0.5f, far.b = 0;
    ParticlesDraw();
    std::vector<Pixel> frame = ReadFrame();
    Pixel centre = At(frame, 320, 240);
    EXPECT_NEAR(centre.r, 153, 8);  // 0.3 + 0.3 of white onto black
    EXPECT_NEAR(centre.b, 153, 8);
    Pixel side = At(frame, 320 + (int)(320 * 6 / (12 * 0.6627)), 240);
    EXPECT_GE(side.r, 247);
    EXPECT_NEAR(side.g, 128, 8);
    EXPECT_LE(side.b, 8);
    // Moved by velocity / 1500, then accelerated by gravity.
    EXPECT_FLOAT_EQ(Particles[0].life, 0.29f);
    EXPECT_FLOAT_EQ(Particles[0].yi, -0.2f);
}

TEST_F(ParticleDraw, SlowestInitialParticleLivesAThousandSteps) {
    Particle& p = Only(0, 3.0f, 0.003f);
    int steps = 0;
    while (p.life != 1.0f && steps < 2000) {
        ParticlesDraw();
        steps++;
    }
    EXPECT_GE(steps, 1000);
    EXPECT_LE(steps, 1001);
    EXPECT_EQ(p.x, 0.0f);  // reborn at the emitter
}

TEST_F(ParticleDraw, RespawnsCycleThroughTwelveColours) {
    Particle& p = Only(0, 0, 0.5f);
    for (int n = 0; n < 13; n++) {
        p.life = 0;  // dies on this step
        ParticlesDraw();
        EXPECT_EQ(p.life, 1.0f);
        ExpectColor(p, n % 12);
        EXPECT_TRUE(p.xi >= -32 && p.xi <= 27) << p.xi;
        EXPECT_TRUE(p.yi >= -30 && p.yi <= 29) << p.yi;
    }
    EXPECT_EQ(ParticleColorIndex, 1);
}

TEST_F(ParticleDraw, DeadParticlesFallOnUntilRespawnIsBackOn) {
    Particle& p = Only(0, 0.01f, 0.05f);
    p.yi = 30;
    ParticleRespawn = false;
    for (int n = 0; n < 5; n++) ParticlesDraw();
    EXPECT_LT(p.life, 0.0f);
    EXPECT_GT(p.y, 0.0f);
    EXPECT_EQ(ParticleColorIndex, 0);
    ParticleRespawn = true;
    ParticlesDraw();
    EXPECT_EQ(p.life, 1.0f);
    EXPECT_EQ(p.y, 0.0f);
    EXPECT_EQ(ParticleColorIndex, 1);
}

// The lit box: texels lo..hi of n reach samples in ((lo - 0.5) / n, (hi + 1.5) / n); columns
// and rows apart, the texel stride honoured; a lit edge (the sprite repeats), an all-black or a
// missing picture keeps the whole quad.
TEST(ParticleSprite, LitBoxIsTheLitTexelsWidenedByTheFilter) {
    const int w = 64, h = 32;
    std::vector<uint8_t> rgba(w * h * 4, 0);
    auto light = [&](int x, int y) { rgba[(y * w + x) * 4 + 1] = 1; };
    light(15, 20), light(48, 9), light(30, 22);
    ParticlesUseSprite(rgba.data(), w, h, 4);
    EXPECT_FLOAT_EQ(ParticleLitBox[0], 14.5f / w);
    EXPECT_FLOAT_EQ(ParticleLitBox[1], 8.5f / h);
    EXPECT_FLOAT_EQ(ParticleLitBox[2], 49.5f / w);
    EXPECT_FLOAT_EQ(ParticleLitBox[3], 23.5f / h);

    light(0, 9);  // touches the left edge: columns whole, rows still trimmed
    ParticlesUseSprite(rgba.data(), w, h, 4);
    EXPECT_EQ(ParticleLitBox[0], 0.0f);
    EXPECT_EQ(ParticleLitBox[2], 1.0f);
    EXPECT_FLOAT_EQ(ParticleLitBox[1], 8.5f / h);

    std::vector<uint8_t> black(w * h * 3, 0);
    ParticlesUseSprite(black.data(), w, h, 3);
    EXPECT_EQ(ParticleLitBox[0], 0.0f);
    EXPECT_EQ(ParticleLitBox[3], 1.0f);
    ParticlesUseSprite(nullptr, w, h, 3);
    EXPECT_EQ(ParticleLitBox[1], 0.0f);
    EXPECT_EQ(ParticleLitBox[2], 1.0f);
}

// Drawn through the lit box, a soft round sprite (black beyond a radius, as the demo's) gives
// the light of the whole quad: the same pixels lit, each channel within one step.
TEST_F(ParticleDraw, LitBoxDrawsTheLightOfTheWholeQuad) {
    const int n = 32;
    std::vector<uint8_t> sprite(n * n * 3, 0);
    for (int y = 0; y < n; y++)
        for (int x = 0; x < n; x++) {
            float dx = x + 0.5f - n / 2, dy = y + 0.5f - n / 2, d2 = dx * dx + dy * dy;
            uint8_t v = d2 < 64 ? (uint8_t)(255 * (1 - d2 / 64)) : 0;
            sprite[(y * n + x) * 3] = v, sprite[(y * n + x) * 3 + 1] = v / 2;
        }
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, n, n, 0, GL_RGB, GL_UNSIGNED_BYTE, sprite.data());
    glEnable(GL_TEXTURE_2D);
    glTranslatef(0, 0, -2);  // the quad about 240 pixels across
    std::vector<Pixel> frames[2];
    for (int pass = 0; pass < 2; pass++) {
        ParticlesUseSprite(pass ? sprite.data() : nullptr, n, n, 3);
        Particle& p = Only(0, 1, 0.01f);
        p.x = 0.3f, p.y = -0.2f, p.xi = p.yi = 0, p.yg = 0;
        glClear(GL_COLOR_BUFFER_BIT);
        ParticlesDraw();
        frames[pass] = ReadFrame();
    }
    EXPECT_LT(ParticleLitBox[2] - ParticleLitBox[0], 0.6f);  // trimmed, or this proves nothing
    EXPECT_GT(CountLit(frames[0], 0, 480), 10000);
    int worst = 0, litDiffer = 0;
    for (size_t i = 0; i < frames[0].size(); i++) {
        const Pixel &a = frames[0][i], &b = frames[1][i];
        worst = std::max({worst, abs(a.r - b.r), abs(a.g - b.g), abs(a.b - b.b)});
        litDiffer += (a.r || a.g || a.b) != (b.r || b.g || b.b);
    }
    EXPECT_LE(worst, 1);
    EXPECT_EQ(litDiffer, 0);
    ParticlesUseSprite(nullptr, 0, 0, 0);
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &id);
}
