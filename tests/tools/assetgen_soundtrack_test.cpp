// The generated soundtrack, decoded as the demo decodes it: format, gapless length,
// level, and an accent starting on each of scene 1's flash cues.
#include <gtest/gtest.h>
#include <mpg123.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "assetgen/soundtrack.h"

namespace {

struct Decoded {
    long rate = 0;
    int channels = 0, encoding = 0;
    mpg123_frameinfo info = {};
    std::vector<int16_t> pcm;
};

// Generating and encoding takes seconds: do it once for every check below.
const std::vector<uint8_t>& Mp3() {
    static std::vector<uint8_t> mp3;
    static bool done = false;
    if (!done) {
        done = true;
        EXPECT_TRUE(GenerateSoundtrack(mp3));
    }
    return mp3;
}

Decoded Decode(const std::vector<uint8_t>& mp3) {
    Decoded d;
    int err = 0;
    mpg123_handle* mh = mpg123_new(nullptr, &err);
    if (!mh) return d;
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0);
    if (mpg123_open_feed(mh) == MPG123_OK && mpg123_feed(mh, mp3.data(), mp3.size()) == MPG123_OK) {
        std::vector<unsigned char> buf(1 << 16);
        for (;;) {
            size_t got = 0;
            int ret = mpg123_read(mh, buf.data(), buf.size(), &got);
            if (ret == MPG123_NEW_FORMAT) {
                mpg123_getformat(mh, &d.rate, &d.channels, &d.encoding);
                mpg123_info(mh, &d.info);
            }
            size_t at = d.pcm.size();
            d.pcm.resize(at + got / 2);
            if (got >= 2) std::memcpy(d.pcm.data() + at, buf.data(), got / 2 * 2);
            if (ret != MPG123_OK && ret != MPG123_NEW_FORMAT) break;  // NEED_MORE: all fed data decoded
        }
    }
    mpg123_delete(mh);
    return d;
}

double MeanSquare(const std::vector<int16_t>& x, long from, long to) {
    double e = 0;
    for (long i = from; i < to; i++) e += (double)x[i] * x[i];
    return e / (to - from);
}

// Where the accent starts: the first 1 ms window, from 10 ms before the cue on,
// holding half the energy of the loudest 1 ms window in the 10 ms after it.
long OnsetOffset(const std::vector<int16_t>& x, long cue) {
    double loudest = 0;
    for (long i = cue; i < cue + 441 - 44; i++) loudest = std::fmax(loudest, MeanSquare(x, i, i + 44));
    for (long i = cue - 441; i < cue + 441; i++)
        if (MeanSquare(x, i, i + 44) >= loudest * 0.5) return i - cue;
    return 1 << 30;
}

TEST(AssetgenSoundtrack, DecodesGaplesslyWithAccentsOnTheFlashCues) {
    const std::vector<uint8_t>& mp3 = Mp3();
    ASSERT_GT(mp3.size(), 2000000u);
    // The Info tag (CBR) with LAME's extension sits in the first frame.
    std::string head(mp3.begin(), mp3.begin() + 418);
    EXPECT_NE(head.find("Info"), std::string::npos);
    EXPECT_NE(head.find("LAME"), std::string::npos);

    Decoded d = Decode(mp3);
    EXPECT_EQ(d.rate, 44100);
    EXPECT_EQ(d.channels, 1);
    EXPECT_EQ(d.encoding, MPG123_ENC_SIGNED_16);
    EXPECT_EQ(d.info.version, MPG123_1_0);
    EXPECT_EQ(d.info.layer, 3);
    EXPECT_EQ(d.info.mode, MPG123_M_MONO);
    EXPECT_EQ(d.info.bitrate, 128);
    EXPECT_EQ(d.info.vbr, MPG123_CBR);
    // Gapless: exactly the synthesized samples, and past the end of the timeline.
    EXPECT_EQ(d.pcm.size(), (size_t)SOUNDTRACK_SAMPLES);
    EXPECT_GE(d.pcm.size() * 2, 12853248u);

    int peak = 0;
    for (int16_t s : d.pcm) peak = std::max(peak, std::abs((int)s));
    std::printf("[ figures  ] decoded peak %.2f dBFS\n", 20 * std::log10(peak / 32768.0));
    EXPECT_LE(peak, 29204);  // -1 dBFS

    ASSERT_GE(d.pcm.size(), (size_t)FlashCueSamples[4] + 44100);
    for (int32_t cue : FlashCueSamples) {
        SCOPED_TRACE(cue);
        double before = MeanSquare(d.pcm, cue - 2205, cue - 441);  // 50 to 10 ms before
        double after = MeanSquare(d.pcm, cue, cue + 441);          // first 10 ms after
        long offset = OnsetOffset(d.pcm, cue);
        std::printf("[ figures  ] cue byte %d: onset %+.2f ms, rise %.1f dB\n", cue * 2,
                    offset * 1000.0 / 44100, 10 * std::log10(after / std::fmax(before, 1.0)));
        EXPECT_GT(after, before * 100);  // at least 20 dB up
        EXPECT_GE(offset, -44);         // not before the cue (1 ms of slack)...
        EXPECT_LT(offset, 441);         // ...and within 10 ms after it
    }
}

}  // namespace
