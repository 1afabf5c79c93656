// The scene kit's arithmetic that every scene's overlays and latches share, with the stream
// position set by hand.
#include <gtest/gtest.h>
#include "demo/kit.h"
#include "music/music.h"
#include "platform/bass_testtone.h"
#include "platform/platform_testing.h"

namespace {

class Kit : public ::testing::Test {
protected:
    void SetUp() override {
        static const std::vector<uint8_t> mp3 = TestMp3(0.2);
        BassClose();
        BassManualOutput(TRUE);
        ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
        MusicStream = BASS_StreamCreateFile(TRUE, mp3.data(), 0, (DWORD)mp3.size(), 0x20000);
        ASSERT_NE(MusicStream, 0u);
    }
    void TearDown() override {
        BassClose();
        MusicStream = 0;
    }
};

// A fade past its cue: 1000 at the cue, one step down per divisor bytes, held at 0 after
// 1000 steps; a rise counts the same steps up without a ceiling.
TEST_F(Kit, LevelsStepFromTheirCue) {
    const uint32_t cue = SCENE6_START, divisor = 150;
    static const struct {
        uint32_t offset, falling, rising;
    } cases[] = {{0, 1000, 0},         {149, 1000, 0},           {150, 999, 1},
                 {150 * 999, 1, 999},  {150 * 1000 - 1, 1, 999}, {150 * 1000, 0, 1000},
                 {150 * 5000, 0, 5000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.offset);
        BassManualSetPosition(cue + c.offset);
        EXPECT_EQ(StreamPos(), cue + c.offset);
        EXPECT_EQ(FallingLevel(cue, divisor), c.falling);
        EXPECT_EQ(RisingLevel(cue, divisor), c.rising);
    }
}

TEST(KitLatch, LatchesOnceButAClockOfZeroLatchesAgain) {
    uint32_t start = 0;
    EXPECT_TRUE(LatchStart(&start, 0));
    EXPECT_TRUE(LatchStart(&start, 40));  // 0 reads as "not yet"
    EXPECT_EQ(start, 40u);
    EXPECT_FALSE(LatchStart(&start, 80));
    EXPECT_EQ(start, 40u);
}

TEST(KitFaces, FaceCountsStayInsideTheArrays) {
    EXPECT_EQ(FaceLimit(-1), 0);
    EXPECT_EQ(FaceLimit(0), 0);
    EXPECT_EQ(FaceLimit(572), 572);
    EXPECT_EQ(FaceLimit(MODEL_MAX_FACES), MODEL_MAX_FACES);
    EXPECT_EQ(FaceLimit(MODEL_MAX_FACES + 1), MODEL_MAX_FACES);
    EXPECT_EQ(FaceLimit(INT32_MAX), MODEL_MAX_FACES);
}

}  // namespace
