// The generated TGA files: exact layout the texture loader accepts, and images fit
// for their use in the pack.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "assetgen/textures.h"
#include "assetgen/tga_writer.h"

namespace {

uint32_t U16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t U32(const std::vector<uint8_t>& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

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
    const char* names[] = {"blue2.tga",   "blue.tga",     "caratio1.tga", "Ground1.tga",
                           "hidden.tga",  "spring.tga",   "Particle.tga", "env1.tga",
                           "pictra2.tga", "credits.tga",  "pictra4.tga",  "sky1.tga",
                           "metal.tga",   "pictra1.tga",  "pictra3.tga",  "BigFlare.tga"};
    ASSERT_EQ(TextureCount, 16);
    std::set<std::vector<uint8_t>> distinct;
    for (int i = 0; i < TextureCount; i++) {
        const TextureEntry& e = TextureTable[i];
        SCOPED_TRACE(e.name);
        EXPECT_STREQ(e.name, names[i]);
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

}  // namespace
