// White flashes and black fades: level to alpha, full coverage of the letterboxed picture,
// and the state they leave for the rest of the frame.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <cstring>
#include "fx/flash.h"
#include "gl_fixture.h"
#include "shell/shell.h"

TEST(FlashAlpha, LevelRunsFromOpaqueToTransparent) {
    EXPECT_EQ(FlashAlpha(0), 1.0f);
    EXPECT_NEAR(FlashAlpha(500), 0.5f, 1e-6);
    EXPECT_NEAR(FlashAlpha(1000), 0.0f, 1e-6);
    EXPECT_LT(FlashAlpha(1001), 0.0f);
    // A level that went "negative" in unsigned arithmetic is huge: far below zero, invisible.
    EXPECT_LT(FlashAlpha(0xFFFFFFFFu), -1e6f);
    EXPECT_LT(FlashAlpha(0x80000000u), -1e6f);
}

class FlashFade : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        glDisable(GL_TEXTURE_2D);  // as the scenes call them
    }
    static void ClearTo(float grey) {
        glClearColor(grey, grey, grey, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
    }
    static constexpr int PICTURE = 640 * 400;
};

TEST_F(FlashFade, OpaqueFlashWhitensThePictureButNotTheBands) {
    FlashWhite(0);
    std::vector<Pixel> frame = ReadFrame();
    EXPECT_EQ(CountAtLeast(frame, 40, 440, 250), PICTURE);
    EXPECT_EQ(CountLit(frame, 0, 40), 0);
    EXPECT_EQ(CountLit(frame, 440, 480), 0);
}

TEST_F(FlashFade, OpaqueFadeBlackensALitPicture) {
    ClearTo(0.6f);
    FadeBlack(0);
    std::vector<Pixel> frame = ReadFrame();
    EXPECT_EQ(CountLit(frame, 40, 440), 0);
    EXPECT_EQ(CountAtLeast(frame, 0, 40, 140), 640 * 40);  // the bands keep what was there
}

TEST_F(FlashFade, HalfLevelBlendsHalfway) {
    FlashWhite(500);
    Pixel p = At(ReadFrame(), 320, 240);
    EXPECT_NEAR(p.r, 128, 8);
    EXPECT_NEAR(p.g, 128, 8);
}

TEST_F(FlashFade, TransparentLevelsChangeNothingVisible) {
    ClearTo(0.4f);
    std::vector<Pixel> before = ReadFrame();
    FlashWhite(1000);
    FlashWhite(2500);
    FadeBlack(1000);
    FadeBlack(0u - 40u);  // a rising level taken before its cue
    std::vector<Pixel> after = ReadFrame();
    int changed = 0;
    for (size_t i = 0; i < before.size(); i++)
        changed += memcmp(&before[i], &after[i], sizeof(Pixel)) != 0;
    EXPECT_EQ(changed, 0);
}

TEST_F(FlashFade, LeavesDepthOnBlendOffAndTheQuadColour) {
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glTranslatef(0, 0, -3);
    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    FlashWhite(1000);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLfloat color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    for (int i = 0; i < 3; i++) EXPECT_EQ(color[i], 1.0f);
    EXPECT_LE(color[3], 0.0f);
    GLint dst;
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(dst, GL_ONE);  // the blend function is the caller's
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; i++) EXPECT_EQ(before[i], after[i]);

    glEnable(GL_BLEND);
    FadeBlack(250);
    glGetFloatv(GL_CURRENT_COLOR, color);
    EXPECT_EQ(color[0], 0.0f);
    EXPECT_NEAR(color[3], 0.75f, 1e-6);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(FlashFade, CoversAWideResizedWindowToo) {
    ResizeViewport(640, 200);  // a 640 x 120 picture, aspect 5.3
    glClear(GL_COLOR_BUFFER_BIT);
    FlashWhite(0);
    std::vector<Pixel> frame = ReadFrame();
    // Window rows 40..159 from the bottom are the picture: 320..439 from the top.
    EXPECT_EQ(CountAtLeast(frame, 320, 440, 250), 640 * 120);
    EXPECT_EQ(CountLit(frame, 0, 320), 0);
}
