// The generated TGA files: exact layout the texture loader accepts, and images fit
// for their use in the pack.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "assetgen/font.h"
#include "assetgen/textures.h"
#include "assetgen/tga_writer.h"
#include "base/le.h"
#include "demo/cues.h"

namespace {

uint32_t U16(const std::vector<uint8_t>& b, size_t at) { return GetLe16(&b[at]); }
uint32_t U32(const std::vector<uint8_t>& b, size_t at) { return GetLe32(&b[at]); }

TEST(AssetgenTga, HeaderSizeAndTrailerOf256Square) {
    std::vector<uint8_t> rgb(256 * 256 * 3, 7);
    std::vector<uint8_t> tga = EncodeTga(256, 256, rgb);
    ASSERT_EQ(tga.size(), 197147u);  // 18 + 196,608 + 521
    const uint8_t prefix[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(tga.data(), prefix, 12), 0);
    EXPECT_EQ(U16(tga, 12), 256u);
    EXPECT_EQ(U16(tga, 14), 256u);
    EXPECT_EQ(tga[16], 24);
    EXPECT_EQ(tga[17], 0);
    size_t ext = 18 + 196608;
    EXPECT_EQ(U16(tga, ext), 495u);             // extension area size field
    EXPECT_EQ(U32(tga, tga.size() - 26), ext);  // footer points at it
    EXPECT_EQ(U32(tga, tga.size() - 22), 0u);
    EXPECT_EQ(std::memcmp(&tga[tga.size() - 18], "TRUEVISION-XFILE.\0", 18), 0);
}

TEST(AssetgenTga, PixelsStoredBgrBottomRowFirst) {
    const int w = 3, h = 2;
    std::vector<uint8_t> rgb(w * h * 3, 0);
    const uint8_t topLeft[3] = {10, 20, 30}, bottomRight[3] = {40, 50, 60};
    std::memcpy(&rgb[0], topLeft, 3);
    std::memcpy(&rgb[(1 * w + 2) * 3], bottomRight, 3);
    std::vector<uint8_t> tga = EncodeTga(w, h, rgb);
    ASSERT_EQ(tga.size(), 18u + w * h * 3 + 521u);
    // Bottom row first: bottom-right is the third pixel of the file, top-left the fourth.
    const uint8_t* px = &tga[18];
    EXPECT_EQ(px[2 * 3 + 0], 60);
    EXPECT_EQ(px[2 * 3 + 1], 50);
    EXPECT_EQ(px[2 * 3 + 2], 40);
    EXPECT_EQ(px[3 * 3 + 0], 30);
    EXPECT_EQ(px[3 * 3 + 1], 20);
    EXPECT_EQ(px[3 * 3 + 2], 10);
}

TEST(AssetgenTga, RefusesBadSizesAndWritesWhatItEncodes) {
    EXPECT_TRUE(EncodeTga(0, 4, {}).empty());
    EXPECT_TRUE(EncodeTga(70000, 1, std::vector<uint8_t>(70000 * 3)).empty());
    EXPECT_TRUE(EncodeTga(2, 2, std::vector<uint8_t>(11)).empty());

    std::vector<uint8_t> rgb(4 * 4 * 3);
    for (size_t i = 0; i < rgb.size(); i++) rgb[i] = (uint8_t)(i * 7);
    std::string path = testing::TempDir() + "assetgen_tga_test.tga";
    ASSERT_TRUE(WriteTga(path, 4, 4, rgb));
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::vector<uint8_t> file(1000);
    file.resize(std::fread(file.data(), 1, file.size(), f));
    std::fclose(f);
    std::remove(path.c_str());
    EXPECT_EQ(file, EncodeTga(4, 4, rgb));
    EXPECT_FALSE(WriteTga(testing::TempDir() + "no/such/dir/x.tga", 4, 4, rgb));
}

// Sprites are added onto the picture: their border must be black or the square shows.
bool BorderIsBlack(const Image& img) {
    for (int x = 0; x < img.width; x++) {
        for (int y : {0, img.height - 1}) {
            const uint8_t* p = &img.rgb[((size_t)y * img.width + x) * 3];
            if (p[0] > 2 || p[1] > 2 || p[2] > 2) return false;
        }
    }
    for (int y = 0; y < img.height; y++) {
        for (int x : {0, img.width - 1}) {
            const uint8_t* p = &img.rgb[((size_t)y * img.width + x) * 3];
            if (p[0] > 2 || p[1] > 2 || p[2] > 2) return false;
        }
    }
    return true;
}

TEST(AssetgenTga, TableMatchesThePackAndImagesFitTheirUse) {
    ASSERT_EQ(TextureCount, 16);
    std::set<std::vector<uint8_t>> distinct;
    for (int i = 0; i < TextureCount; i++) {
        const TextureEntry& e = TextureTable[i];
        SCOPED_TRACE(e.name);
        std::string n = e.name;
        int w = 256, h = 256;
        if (n == "Ground1.tga") w = h = 128;
        if (n == "Particle.tga") w = h = 64;
        if (n == "credits.tga") h = 1024;
        EXPECT_EQ(e.width, w);
        EXPECT_EQ(e.height, h);
        Image img = PaintTexture(e);
        EXPECT_EQ(EncodeTga(img.width, img.height, img.rgb).size(), 18u + w * h * 3 + 521u);
        distinct.insert(img.rgb);
        bool sprite = n == "Particle.tga" || n == "BigFlare.tga" || n == "credits.tga" ||
                      n.compare(0, 6, "pictra") == 0;
        if (sprite) {
            EXPECT_TRUE(BorderIsBlack(img));
        }
        size_t lit = 0;
        for (uint8_t c : img.rgb) lit += c > 16;
        EXPECT_GT(lit, img.rgb.size() / 50) << "image is (nearly) empty";
    }
    EXPECT_EQ(distinct.size(), 16u);
    EXPECT_EQ(PaintTexture(TextureTable[0]).rgb, PaintTexture(TextureTable[0]).rgb);
}

// Where scene 7 shows its images. The view is 45 degrees high and 1.6 times as wide;
// the credits strip (3 units high at distance 1) starts with its top edge 0.2 above the
// axis and rises 0.25 units a second; the hidden page (a unit square at distance 0.65)
// starts 0.3 below the axis and rises 0.04 a second. The fade to black starts here:
const double FadeSeconds = (double)(CUE_SCENE7_FADE_OUT - SCENE7_START) / STREAM_BYTES_PER_SECOND;
const double HalfView = std::tan(22.5 * 3.14159265358979 / 180.0);

const Image& Credits() {
    static const Image img = [] {
        for (int i = 0; i < TextureCount; i++)
            if (std::string(TextureTable[i].name) == "credits.tga")
                return PaintTexture(TextureTable[i]);
        return Image{};
    }();
    return img;
}

bool Lit(const Image& img, int x, int y) {
    const uint8_t* p = &img.rgb[((size_t)y * img.width + x) * 3];
    return p[0] > 16 || p[1] > 16 || p[2] > 16;
}

TEST(AssetgenCredits, EveryLineDrawsWhollyAndInOrder) {
    ASSERT_GT(CreditLineCount, 3);
    EXPECT_STREQ(CreditLines[0].text, "VERNALIS");
    for (int i = 0; i < CreditLineCount; i++) {
        const CreditLine& line = CreditLines[i];
        SCOPED_TRACE(line.text);
        for (const char* c = line.text; *c; c++)
            EXPECT_TRUE(FontHasGlyph(*c)) << "no glyph for " << *c;
        EXPECT_LE(TextWidth(line.text, line.scale), 256.0f - 2 * 12) << "runs into the margin";
        if (i > 0) {
            const CreditLine& above = CreditLines[i - 1];
            EXPECT_GE(line.y, above.y + FONT_GLYPH_H * above.scale * CREDITS_STRETCH + 4)
                << "overlaps";
        }
    }
}

TEST(AssetgenCredits, TextStaysInItsLinesWithBlackMargins) {
    const Image& img = Credits();
    ASSERT_EQ(img.height, 1024);
    std::vector<int> rowLine(img.height, -1);  // the line whose box (plus halo) holds the row
    for (int i = 0; i < CreditLineCount; i++) {
        const CreditLine& l = CreditLines[i];
        float bottom = l.y + FONT_GLYPH_H * l.scale * CREDITS_STRETCH;
        for (int y = (int)l.y - 6; y < bottom + 6 && y < img.height; y++) rowLine[y] = i;
    }
    std::vector<bool> lineLit(CreditLineCount, false);
    int strays = 0, inMargin = 0;
    for (int y = 0; y < img.height; y++) {
        for (int x = 0; x < img.width; x++) {
            if (!Lit(img, x, y)) continue;
            if (rowLine[y] < 0) strays++;
            else lineLit[rowLine[y]] = true;
            if (x < 12 || x >= img.width - 12) inMargin++;
        }
    }
    EXPECT_EQ(strays, 0) << "lit pixels outside every line";
    EXPECT_EQ(inMargin, 0) << "lit pixels in the side margins";
    for (int i = 0; i < CreditLineCount; i++) EXPECT_TRUE(lineLit[i]) << CreditLines[i].text;
}

// Each line must pass through the view before the picture fades: the last one is wholly
// on screen when the fade begins, the first is below the top once the flash has cleared.
TEST(AssetgenCredits, LinesAreOnScreenBeforeTheFade) {
    const double rowsPerUnit = 1024.0 / 3.0;
    auto rowAt = [&](double seconds, double eyeY) {
        return (0.2 + 0.25 * seconds - eyeY) * rowsPerUnit;
    };
    const CreditLine& last = CreditLines[CreditLineCount - 1];
    double lastBottom = last.y + FONT_GLYPH_H * last.scale * CREDITS_STRETCH;
    EXPECT_LT(lastBottom, rowAt(FadeSeconds, -HalfView)) << "last line still below the view";
    EXPECT_GT(last.y, rowAt(FadeSeconds, HalfView)) << "last line already gone";
    const double flashSeconds = 40000.0 / 88200.0;
    EXPECT_GT(CreditLines[0].y, rowAt(flashSeconds + 1.0, HalfView)) << "title gone too soon";
}

TEST(AssetgenCredits, HiddenPageLiesInTheBandThatShows) {
    Image img = MakeImage(256, 256);
    PaintHidden(img);
    double rise = 0.04 * FadeSeconds - 0.3, half = HalfView * 0.65;
    int lastRow = (int)((0.5 + half + rise) * 256);  // lowest row on screen at the fade
    int firstCol = (int)((0.5 - half * 1.6) * 256) + 1, lastCol = 255 - firstCol;
    int outside = 0, inside = 0;
    for (int y = 0; y < 256; y++) {
        for (int x = 0; x < 256; x++) {
            if (!Lit(img, x, y)) continue;
            if (y > lastRow || x < firstCol || x > lastCol) outside++;
            else inside++;
        }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(inside, 256 * 256 / 8);
}

}  // namespace
