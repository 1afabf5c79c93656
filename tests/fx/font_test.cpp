// The caption font: glyph metrics and code page, display-list lifetime, a missing font, and
// captions rendered through the demo's letterboxed projection.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include "fx/font.h"
#include "platform/sdl/font_outline.h"
#include "gl_fixture.h"

// Builds the font once per suite and prints how long that took.
class FontGlTest : public GlTest {
protected:
    static void SetUpTestSuite() {
        GlTest::SetUpTestSuite();
        auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(FontBuild());
        double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        std::printf("[ bench    ] FontBuild: %.1f ms for 255 codes from %s\n", ms, FontFile);
    }
    static void TearDownTestSuite() {
        FontDelete();
        GlTest::TearDownTestSuite();
    }
    void TearDown() override {
        FontFileOverride = nullptr;
        BoxesStop();
    }
    // Pixels lit by one opaque caption on a cleared frame.
    static int LitByCaption(const char* text);
};

struct Box {
    int minX = 640, maxX = -1, minY = 480, maxY = -1, count = 0;
    float CentreX() const { return (minX + maxX + 1) / 2.0f; }
};

// Lit pixels of the rows [top, bottom).
static Box LitBox(const std::vector<Pixel>& frame, int top = 0, int bottom = 480) {
    Box box;
    for (int y = top; y < bottom; y++)
        for (int x = 0; x < 640; x++) {
            Pixel p = frame[y * 640 + x];
            if (!p.r && !p.g && !p.b) continue;
            box.count++;
            box.minX = std::min(box.minX, x), box.maxX = std::max(box.maxX, x);
            box.minY = std::min(box.minY, y), box.maxY = std::max(box.maxY, y);
        }
    return box;
}

// Window column and row (from the top) of a point in front of the camera: 45-degree field,
// aspect 1.6, picture area rows 40 to 439.
static float ProjectX(float x, float z) { return 320 + 320 * x / (-z * std::tan(M_PI / 8) * 1.6f); }
static float ProjectY(float y, float z) { return 240 - 200 * y / (-z * std::tan(M_PI / 8)); }

int FontGlTest::LitByCaption(const char* text) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    FadeCaption(0, 0, -6, text, 100);
    return LitBox(ReadFrame()).count;
}

class FontTest : public FontGlTest {};
class CaptionTest : public FontGlTest {};

// --- Metrics, code page, lists -------------------------------------------------------------

TEST_F(FontTest, AdvanceWidthsAreInEmUnits) {
    EXPECT_GT(GlyphMetrics[' '].gmfCellIncX, 0.1f);
    EXPECT_GT(GlyphMetrics['W'].gmfCellIncX, GlyphMetrics['i'].gmfCellIncX);
    for (int code = 0; code < 256; code++) {
        EXPECT_GE(GlyphMetrics[code].gmfCellIncX, 0.0f) << code;
        EXPECT_LT(GlyphMetrics[code].gmfCellIncX, 1.5f) << code;
    }
    EXPECT_EQ(GlyphMetrics[255].gmfCellIncX, 0.0f);  // code 255 has no list and no width
    // Capitals stand about 0.7 em tall on the baseline.
    EXPECT_GT(GlyphMetrics['H'].gmfBlackBoxY, 0.5f);
    EXPECT_LT(GlyphMetrics['H'].gmfBlackBoxY, 1.0f);
    EXPECT_NEAR(GlyphMetrics['H'].gmfptGlyphOrigin.y, GlyphMetrics['H'].gmfBlackBoxY, 0.01f);
}

TEST_F(FontTest, CodesAreReadAsWindows1252) {
    EXPECT_EQ(Cp1252ToUnicode('A'), (uint32_t)'A');
    EXPECT_EQ(Cp1252ToUnicode(0x80), 0x20ACu);  // euro
    EXPECT_EQ(Cp1252ToUnicode(0x92), 0x2019u);  // right single quote
    EXPECT_EQ(Cp1252ToUnicode(0x9F), 0x0178u);  // Y diaeresis
    EXPECT_EQ(Cp1252ToUnicode(0xE9), 0x00E9u);
    for (uint8_t undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(Cp1252ToUnicode(undefined), 0u);

    // e acute is e with an accent on top: same width, more ink.
    EXPECT_FLOAT_EQ(GlyphMetrics[0xE9].gmfCellIncX, GlyphMetrics['e'].gmfCellIncX);
    EXPECT_GT(LitByCaption("\xE9"), LitByCaption("e"));
    EXPECT_GT(LitByCaption("\x80"), 0);
    EXPECT_GT(GlyphMetrics[0x80].gmfCellIncX, 0.0f);
    EXPECT_EQ(LitByCaption("\x81"), 0);
    EXPECT_EQ(GlyphMetrics[0x81].gmfCellIncX, 0.0f);
}

TEST_F(FontTest, DeleteFreesEveryList) {
    uint32_t base = FontListBase;
    for (int code = 0; code < 255; code++) ASSERT_TRUE(glIsList(base + code)) << code;
    FontDelete();
    EXPECT_EQ(FontListBase, 0u);
    for (int code = 0; code < 256; code++) EXPECT_FALSE(glIsList(base + code)) << code;
    EXPECT_EQ(LitByCaption("Gone"), 0);  // printing without a font draws nothing
    ASSERT_TRUE(FontBuild());
    EXPECT_GT(LitByCaption("Back"), 0);
}

TEST_F(FontTest, MissingFontIsReportedClearly) {
    uint32_t base = FontListBase;
    BoxesStart();
    FontFileOverride = "/nonexistent/Georgia-Bold.ttf";
    EXPECT_FALSE(FontBuild());
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].caption, "Font error");
    EXPECT_EQ(
        Boxes[0].text,
        "Unable to build the caption font: \"/nonexistent/Georgia-Bold.ttf\" cannot be opened "
        "as a font.\nThe captions need the \"Georgia\" Bold TrueType font or a similar serif "
        "face.");
    EXPECT_EQ(Boxes[0].type, (UINT)(MB_OK | MB_ICONEXCLAMATION));

    // A file that is there but holds no font.
    std::string path = testing::TempDir() + "not_a_font.ttf";
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("this is no font at all", file);
    std::fclose(file);
    FontFileOverride = path.c_str();
    EXPECT_FALSE(FontBuild());
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_NE(Boxes[1].text.find("cannot be opened as a font"), std::string::npos) << Boxes[1].text;
    std::remove(path.c_str());
    EXPECT_EQ(FontListBase, base);  // a failed build allocates nothing and leaves the font alone
}

TEST_F(FontTest, LookupFindsAnOutlineFont) {
    // Whatever stands in for the face, it is a file FreeType could read outlines from.
    ASSERT_NE(FontFile[0], 0);
    FILE* file = std::fopen(FontFile, "rb");
    EXPECT_NE(file, nullptr) << FontFile;
    if (file) std::fclose(file);
}

// --- Printing and captions ---------------------------------------------------------------

TEST_F(CaptionTest, OpaqueCaptionsSitOnTheirPositions) {
    FadeCaption(-2, 0.8f, -6, "Mother", 100);
    FadeCaption(2, -0.8f, -6, "Mother", 100);  // the second is not moved by the first
    std::vector<Pixel> frame = ReadFrame();
    EXPECT_EQ(CountLit(frame, 0, 40), 0);
    EXPECT_EQ(CountLit(frame, 440, 480), 0);
    EXPECT_GT(CountAtLeast(frame, 40, 440, 250), 200);  // opaque white
    Box upper = LitBox(frame, 0, 240), lower = LitBox(frame, 240, 480);
    ASSERT_GT(upper.count, 0);
    ASSERT_GT(lower.count, 0);
    EXPECT_NEAR(upper.CentreX(), ProjectX(-2, -6), 6);
    EXPECT_NEAR(lower.CentreX(), ProjectX(2, -6), 6);
    // No descenders in "Mother": the ink rests on the baseline 0.15 below the position.
    EXPECT_NEAR(upper.maxY, ProjectY(0.8f - 0.15f, -6), 2);
    EXPECT_NEAR(lower.maxY, ProjectY(-0.8f - 0.15f, -6), 2);
    EXPECT_LT(upper.minY, ProjectY(0.8f, -6));
    EXPECT_NEAR(upper.count, lower.count, upper.count / 20);
}

TEST_F(CaptionTest, TransparentCaptionDrawsNothingAndLeavesItsState) {
    glDisable(GL_DEPTH_TEST);
    FadeCaption(0, 0, -6, "Invisible", 0);
    EXPECT_EQ(CountLit(ReadFrame(), 0, 480), 0);
    GLfloat colour[4], matrix[16];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[3], 0.0f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_SMOOTH));
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    for (int i = 0; i < 16; i++) EXPECT_EQ(matrix[i], i % 5 == 0 ? 1.0f : 0.0f) << i;

    FadeCaption(0, 0, -6, "Half", 45);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 0.45f);
    EXPECT_FLOAT_EQ(colour[0], 1.0f);
}

TEST_F(CaptionTest, PrintCentresOnWidthAndCutsAt255) {
    GLfloat matrix[16];
    FontPrint(nullptr);
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    EXPECT_EQ(matrix[13], 0.0f);  // a null format does not move the origin

    FontPrint("%s", "");
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    EXPECT_FLOAT_EQ(matrix[12], 0.0f);
    EXPECT_FLOAT_EQ(matrix[13], -0.15f);

    glLoadIdentity();
    std::string longText(1000, 'i');
    glTranslatef(0, 0, -6);
    FontPrint("%s", longText.c_str());
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    // Centred on 255 characters, then moved on by the 255 glyphs drawn.
    EXPECT_NEAR(matrix[12], 255 * GlyphMetrics['i'].gmfCellIncX / 2, 1e-3f);
    GLint listBase = -1;
    glGetIntegerv(GL_LIST_BASE, &listBase);
    EXPECT_EQ(listBase, 0);  // restored with the list attributes
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(CaptionTest, PercentSignsArePrintedLiterally) {
    int one = LitByCaption("%"), two = LitByCaption("%%");
    ASSERT_GT(one, 0);
    EXPECT_NEAR(two, 2 * one, one / 10);
    EXPECT_GT(LitByCaption("%s%s%n"), 2 * one);
}

TEST_F(CaptionTest, GlyphsAreFilledFrontFacingWithHoles) {
    FadeCaption(0, 0, -2, "O", 100);
    std::vector<Pixel> frame = ReadFrame();
    Box o = LitBox(frame);
    ASSERT_GT(o.count, 1000);
    int midX = (o.minX + o.maxX) / 2, midY = (o.minY + o.maxY) / 2;
    Pixel centre = At(frame, midX, midY), stroke = At(frame, o.minX + 3, midY);
    EXPECT_EQ(centre.r + centre.g + centre.b, 0);  // the counter stays open
    EXPECT_EQ(stroke.r, 255);

    // Culling back faces takes nothing away.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    FadeCaption(0, 0, -2, "O", 100);
    glDisable(GL_CULL_FACE);
    EXPECT_EQ(LitBox(ReadFrame()).count, o.count);
}

// --- Curves ------------------------------------------------------------------------------

static OutlinePoint BezierAt(const OutlinePoint* p, int degree, double t) {
    double u = 1 - t;
    if (degree == 2)
        return {u * u * p[0][0] + 2 * u * t * p[1][0] + t * t * p[2][0],
                u * u * p[0][1] + 2 * u * t * p[1][1] + t * t * p[2][1], 0};
    return {u * u * u * p[0][0] + 3 * u * u * t * p[1][0] + 3 * u * t * t * p[2][0] +
                t * t * t * p[3][0],
            u * u * u * p[0][1] + 3 * u * u * t * p[1][1] + 3 * u * t * t * p[2][1] +
                t * t * t * p[3][1],
            0};
}

static double DistanceToChord(const OutlinePoint& q, const OutlinePoint& a, const OutlinePoint& b) {
    double dx = b[0] - a[0], dy = b[1] - a[1], len2 = dx * dx + dy * dy;
    double t =
        len2 > 0 ? std::fmax(0, std::fmin(1, ((q[0] - a[0]) * dx + (q[1] - a[1]) * dy) / len2)) : 0;
    return std::hypot(q[0] - a[0] - t * dx, q[1] - a[1] - t * dy);
}

// Every chord hugs its piece of the curve, so that a caption brushing the camera shows no
// facets, and the chords end where the curve does.
TEST(FontOutline, CurvesBecomeChordsWithinTolerance) {
    const OutlinePoint curves[][4] = {
        {{0, 0, 0}, {0.5, 1, 0}, {1, 0, 0}},                   // a bowl-sized quadratic arc
        {{0, 0, 0}, {0, 0.8, 0}, {0.7, 0.8, 0}, {0.7, 0, 0}},  // a cubic arch
        {{0.2, 0.1, 0},
         {0.9, 0.7, 0},
         {-0.3, 0.6, 0},
         {0.5, 0, 0}},  // a cubic with a loop-ish bend
    };
    const int degrees[] = {2, 3, 3};
    for (int k = 0; k < 3; k++) {
        std::vector<OutlinePoint> points;
        FlattenBezier(curves[k], degrees[k], &points);
        int steps = (int)points.size();
        ASSERT_GT(steps, 4) << k;
        EXPECT_LE(steps, 64) << k;
        EXPECT_EQ(points.back(), curves[k][degrees[k]]) << k;
        double worst = 0;
        for (int s = 0; s < steps; s++) {
            const OutlinePoint& a = s ? points[s - 1] : curves[k][0];
            for (int sub = 1; sub < 8; sub++) {
                OutlinePoint q = BezierAt(curves[k], degrees[k], (s + sub / 8.0) / steps);
                worst = std::fmax(worst, DistanceToChord(q, a, points[s]));
            }
        }
        EXPECT_LE(worst, CURVE_TOLERANCE) << k;
    }
    // A straight "curve" needs no more than its one chord.
    const OutlinePoint straight[3] = {{0, 0, 0}, {0.5, 0.5, 0}, {1, 1, 0}};
    std::vector<OutlinePoint> points;
    FlattenBezier(straight, 2, &points);
    EXPECT_EQ(points.size(), 1u);
}
