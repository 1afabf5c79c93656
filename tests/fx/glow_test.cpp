// Additive sprites: what they add, that depth neither hides them nor records them, and the
// state they put back.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include "fx/glow.h"
#include "gl_fixture.h"

class GlowSpriteTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
    }
    static Texture Solid(uint8_t level) {
        uint8_t pixels[4 * 4 * 3];
        for (uint8_t& p : pixels) p = level;
        Texture t = {nullptr, 24, 4, 4, 0};
        glGenTextures(1, &t.id);
        glBindTexture(GL_TEXTURE_2D, t.id);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_2D, 0);
        return t;
    }
    static void Release(Texture* t) { glDeleteTextures(1, &t->id); }
    static void FillGrey(float grey) {
        glClearColor(grey, grey, grey, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
    }
    static float DepthAt(int x, int windowY) {
        float d;
        glReadPixels(x, windowY, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &d);
        return d;
    }
};

TEST_F(GlowSpriteTest, WhiteAddsAlphaOfWhiteAndBlackAddsNothing) {
    Texture white = Solid(255), black = Solid(0);
    FillGrey(0.2f);
    GlowSprite(&black, 0.7f, 0, 0, -1);
    Pixel p = At(ReadFrame(), 320, 240);
    EXPECT_NEAR(p.r, 51, 6);
    EXPECT_NEAR(p.g, 51, 6);
    GlowSprite(&white, 0.7f, 0, 0, -1);
    std::vector<Pixel> frame = ReadFrame();
    p = At(frame, 320, 240);
    EXPECT_NEAR(p.r, 51 + 178, 8);
    EXPECT_NEAR(p.b, 51 + 178, 8);
    // A unit square at distance 1 spans about 240 of the 640 columns, centred.
    EXPECT_NEAR(At(frame, 30, 240).r, 51, 6);
    EXPECT_NEAR(At(frame, 610, 240).r, 51, 6);
    Release(&white), Release(&black);
}

TEST_F(GlowSpriteTest, ShowsThroughNearerGeometryAndLeavesDepthAlone) {
    Texture white = Solid(255);
    // An opaque dark-red square nearer than the sprite, written into the depth buffer.
    glColor3f(0.3f, 0, 0);
    glBegin(GL_QUADS);
    glVertex3f(-1, -1, -0.5f), glVertex3f(1, -1, -0.5f);
    glVertex3f(1, 1, -0.5f), glVertex3f(-1, 1, -0.5f);
    glEnd();
    float depthBefore = DepthAt(320, 240);
    float bareBefore = DepthAt(5, 45);
    GlowSprite(&white, 0.5f, 0, 0, -2);
    Pixel p = At(ReadFrame(), 320, 240);
    EXPECT_NEAR(p.r, 77 + 128, 8);
    EXPECT_NEAR(p.g, 128, 8);
    EXPECT_EQ(DepthAt(320, 240), depthBefore);
    EXPECT_EQ(DepthAt(5, 45), bareBefore);
    Release(&white);
}

TEST_F(GlowSpriteTest, PutsBackTheFrameState) {
    Texture white = Solid(255);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glBlendFunc(GL_ONE, GL_ZERO);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_FASTEST);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    glTranslatef(1, 2, 3);
    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);

    GlowSprite(&white, 0.3f, 0.5f, 0.5f, -4);

    GLfloat color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    for (float c : color) EXPECT_EQ(c, 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint func, src, dst, persp, point;
    glGetIntegerv(GL_DEPTH_FUNC, &func);
    glGetIntegerv(GL_BLEND_SRC, &src), glGetIntegerv(GL_BLEND_DST, &dst);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &persp);
    glGetIntegerv(GL_POINT_SMOOTH_HINT, &point);
    EXPECT_EQ(func, GL_LEQUAL);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(persp, GL_NICEST);
    EXPECT_EQ(point, GL_NICEST);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; i++) EXPECT_EQ(before[i], after[i]);
    Release(&white);
}
