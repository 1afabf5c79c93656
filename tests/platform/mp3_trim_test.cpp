// The Windows decoder's trim, checked against libmpg123's gapless decode on Linux: for LAME
// files of several lengths, the kept count of every frame's samples equals mpg123's length.
#include <gtest/gtest.h>
#include "platform/bass_internal.h"
#include "platform/bass_mp3.h"
#include "platform/bass_testtone.h"

TEST(Mp3Trim, AgreesWithLibmpg123) {
    for (int count : {1152, 5000, 44100, 2 * 44100 + 123}) {
        for (int channels : {1, 2}) {
            std::vector<int16_t> tone = AudioTestTone(count, 44100, 100, 700.0);
            std::vector<uint8_t> mp3 = AudioTestEncode(tone, 44100, channels);
            Mp3Layout layout;
            ASSERT_EQ(Mp3Scan(mp3.data(), mp3.size(), &layout), BASS_OK);
            ASSERT_TRUE(layout.hasLame);
            BassPcm decoded;
            ASSERT_EQ(BassDecodeMp3(mp3.data(), mp3.size(), &decoded), BASS_OK);
            uint64_t skip, keep;
            Mp3Trim(layout, (uint64_t)layout.frames * layout.first.samples, &skip, &keep);
            EXPECT_EQ(keep, decoded.frames) << count << " samples, " << channels << " channels";
            EXPECT_EQ(keep, (uint64_t)count);
        }
    }
}
