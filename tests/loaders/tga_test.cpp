// The TGA loader on crafted files: the one accepted header, the channel swap, and the
// texture object it leaves behind in a real (offscreen) context.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "assetgen/tga_writer.h"
#include "gl_fixture.h"
#include "loaders/bytes3ds.h"
#include "loaders/tga.h"
#include "test_support.h"

namespace {

Bytes TgaHeader(uint32_t width, uint32_t height, uint8_t depth) {
    Bytes b = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16(b, width);
    Put16(b, height);
    b.push_back(depth);
    b.push_back(0);
    return b;
}

// Pixel i stored as bytes seed+i*step+0, +1, ... in file order.
Bytes Tga(uint32_t width, uint32_t height, uint8_t depth) {
    Bytes b = TgaHeader(width, height, depth);
    uint32_t size = width * height * depth / 8;
    for (uint32_t i = 0; i < size; i++) b.push_back((uint8_t)(i * 7 + 1));
    return b;
}

class TgaLoadTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        memset(&texture, 0, sizeof texture);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    void TearDown() override {
        free(texture.pixels);
        if (texture.id) glDeleteTextures(1, &texture.id);
    }
    std::string Path(const char* name) { return TestFolder() + name; }
    bool Load(const char* name, const Bytes& bytes) {
        std::string path = Path(name);
        EXPECT_TRUE(WriteBytes(path, bytes));
        return LoadTgaFromFile(&texture, path.c_str());
    }
    static GLint Bound() {
        GLint id = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &id);
        return id;
    }
    // Level 0 of the bound texture as RGBA.
    static std::vector<uint8_t> ReadTexture(int width, int height) {
        std::vector<uint8_t> rgba(width * height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        return rgba;
    }
    // A refused load: false, no texture made or bound, `id` as it was.
    void ExpectRefused(const char* name, const Bytes& bytes) {
        EXPECT_FALSE(Load(name, bytes)) << name;
        EXPECT_EQ(texture.id, 0u) << name;
        EXPECT_EQ(Bound(), 0) << name;
        EXPECT_EQ(texture.pixels, nullptr) << name;
    }
    Texture texture;
};

TEST_F(TgaLoadTest, HeadersOtherThanTheOneLayoutAreRefused) {
    Bytes good = Tga(2, 2, 24);
    struct Change {
        const char* name;
        int at;
        uint8_t value;
    } changes[] = {{"rle", 2, 10},    {"colormapped", 2, 1}, {"grey", 2, 3},
                   {"imageid", 0, 1}, {"cmaptype", 1, 1},    {"cmapspec", 5, 8},
                   {"xorigin", 8, 1}, {"yorigin", 11, 1},    {"depth16", 16, 16},
                   {"depth8", 16, 8}, {"width0", 12, 0},     {"height0", 14, 0}};
    for (const Change& c : changes) {
        Bytes bad = good;
        bad[c.at] = c.value;
        ExpectRefused(c.name, bad);
    }
    for (size_t size : {0, 5, 12, 17})
        ExpectRefused("short", Bytes(good.begin(), good.begin() + size));
    EXPECT_FALSE(LoadTgaFromFile(&texture, Path("missing").c_str()));
}

TEST_F(TgaLoadTest, BadDepthIsRefusedAfterTheSizeWasStored) {
    texture.bpp = 24;
    ExpectRefused("depth16", Tga(3, 5, 16));
    EXPECT_EQ(texture.width, 3);
    EXPECT_EQ(texture.height, 5);
    EXPECT_EQ(texture.bpp, 24u);
}

TEST_F(TgaLoadTest, TwentyFourBitsLoadAsRgbWithChannelsSwapped) {
    Bytes file = TgaHeader(2, 1, 24);
    file.insert(file.end(), {10, 20, 30, 40, 50, 60});
    ASSERT_TRUE(Load("rgb.tga", file));
    ASSERT_NE(texture.pixels, nullptr);
    std::vector<uint8_t> held(texture.pixels, texture.pixels + 6);
    EXPECT_EQ(held, (std::vector<uint8_t>{30, 20, 10, 60, 50, 40}));
    EXPECT_EQ(texture.bpp, 24u);
    EXPECT_NE(texture.id, 0u);
    EXPECT_EQ(Bound(), (GLint)texture.id);
    GLint minFilter = 0, magFilter = 0, alphaBits = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
    EXPECT_EQ(minFilter, GL_LINEAR);
    EXPECT_EQ(magFilter, GL_LINEAR);
    EXPECT_EQ(alphaBits, 0);
    EXPECT_EQ(ReadTexture(2, 1), (std::vector<uint8_t>{30, 20, 10, 255, 60, 50, 40, 255}));
}

TEST_F(TgaLoadTest, ThirtyTwoBitsKeepTheirAlpha) {
    Bytes file = TgaHeader(1, 2, 32);
    file.insert(file.end(), {10, 20, 30, 40, 1, 2, 3, 200});
    ASSERT_TRUE(Load("rgba.tga", file));
    std::vector<uint8_t> held(texture.pixels, texture.pixels + 8);
    EXPECT_EQ(held, (std::vector<uint8_t>{30, 20, 10, 40, 3, 2, 1, 200}));
    GLint alphaBits = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
    EXPECT_GT(alphaBits, 0);
    EXPECT_EQ(ReadTexture(1, 2), (std::vector<uint8_t>{30, 20, 10, 40, 3, 2, 1, 200}));
}

TEST_F(TgaLoadTest, OddRowLengthsUploadTightlyPacked) {
    // 3 pixels of 3 bytes make 9-byte rows; the context's default alignment stays.
    Bytes file = TgaHeader(3, 2, 24);
    for (uint8_t i = 0; i < 18; i++) file.push_back(i);
    ASSERT_TRUE(Load("odd.tga", file));
    std::vector<uint8_t> rgba = ReadTexture(3, 2);
    EXPECT_EQ(rgba[3 * 4 + 0], 11);  // first pixel of the second row: bytes 9, 10, 11
    EXPECT_EQ(rgba[3 * 4 + 2], 9);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
}

TEST_F(TgaLoadTest, ShippedSizeWithExtensionAreaAndFooter) {
    std::vector<uint8_t> rgb(256 * 256 * 3);
    for (size_t i = 0; i < rgb.size(); i++) rgb[i] = (uint8_t)(i / 3 % 251 + i % 3);
    Bytes file = EncodeTga(256, 256, rgb);
    ASSERT_EQ(file.size(), 197147u);
    ASSERT_TRUE(Load("shipped.tga", file));
    EXPECT_EQ(texture.width, 256);
    EXPECT_EQ(texture.height, 256);
    EXPECT_EQ(texture.bpp, 24u);
    // Rows in file order: the writer stores the bottom row first.
    EXPECT_EQ(memcmp(texture.pixels, &rgb[255 * 256 * 3], 256 * 3), 0);
    EXPECT_EQ(memcmp(texture.pixels + 255 * 256 * 3, &rgb[0], 256 * 3), 0);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 256);
}

TEST_F(TgaLoadTest, TruncatedOrHugeImagesLeaveNoPixelsAndNoTexture) {
    Bytes file = Tga(4, 4, 24);
    file.pop_back();
    texture.pixels = nullptr;
    ExpectRefused("cut.tga", file);
    // A header claiming 65535 x 65535 x 4 bytes in a tiny file allocates nothing.
    ExpectRefused("huge.tga", Cat({TgaHeader(65535, 65535, 32), Bytes(64, 1)}));
    EXPECT_EQ(texture.width, 65535);
}

TEST_F(TgaLoadTest, ImageTheContextRefusesFailsCleanly) {
    GLint max = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
    ASSERT_GT(max, 0);
    if (max >= 65535) GTEST_SKIP() << "the context takes every TGA width";
    ExpectRefused("wide.tga", Tga(max + 1, 1, 24));
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

TEST_F(TgaLoadTest, PackVariantReadsAtTheOffsetAndLeavesTheStreamAfterThePixels) {
    Bytes image = Tga(2, 3, 32);
    Bytes pack = Cat({Bytes(100, 0xAB), image, Bytes(50, 0xCD)});
    FILE* stream = Stream(pack);
    ASSERT_NE(stream, nullptr);
    EXPECT_FALSE(LoadTgaFromPack(&texture, nullptr, 100));
    EXPECT_FALSE(LoadTgaFromPack(&texture, stream, -5));
    EXPECT_FALSE(LoadTgaFromPack(&texture, stream, 99));
    ASSERT_TRUE(LoadTgaFromPack(&texture, stream, 100));
    EXPECT_EQ(ftell(stream), (long)(100 + image.size()));
    EXPECT_EQ(texture.pixels[0], image[18 + 2]);
    EXPECT_EQ(texture.pixels[3], image[18 + 3]);
    fclose(stream);
}

TEST_F(TgaLoadTest, ReloadMakesANewTextureAndBuffer) {
    ASSERT_TRUE(Load("a.tga", Tga(2, 2, 24)));
    Texture first = texture;
    ASSERT_TRUE(Load("b.tga", Tga(1, 1, 32)));
    EXPECT_NE(texture.id, first.id);
    EXPECT_NE(texture.pixels, first.pixels);
    EXPECT_TRUE(glIsTexture(first.id));  // the earlier object is left alive
    free(first.pixels);
    glDeleteTextures(1, &first.id);
}

}  // namespace
