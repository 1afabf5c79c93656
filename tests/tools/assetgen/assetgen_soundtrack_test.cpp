// The generated soundtrack, decoded as the demo decodes it: format, gapless length,
// level and peaks, an accent starting on each cue, and sections that differ from their
// neighbours. Also the loudness meter and the limiter of the master on known signals.
#include <gtest/gtest.h>
#include <mpg123.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>

#include "assetgen/loudness.h"
#include "assetgen/mastering.h"
#include "assetgen/soundtrack.h"
#include "demo/cues.h"

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

Decoded DecodeMp3(const std::vector<uint8_t>& mp3) {
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
            if (ret != MPG123_OK && ret != MPG123_NEW_FORMAT)
                break;  // NEED_MORE: all fed data decoded
        }
    }
    mpg123_delete(mh);
    return d;
}

const Decoded& Track() {
    static Decoded d = DecodeMp3(Mp3());
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
    for (long i = cue; i < cue + 441 - 44; i++)
        loudest = std::fmax(loudest, MeanSquare(x, i, i + 44));
    for (long i = cue - 441; i < cue + 441; i++)
        if (MeanSquare(x, i, i + 44) >= loudest * 0.5) return i - cue;
    return 1 << 30;
}

TEST(AssetgenSoundtrack, DecodesGaplesslyAtFullLoudnessWithoutClipping) {
    const std::vector<uint8_t>& mp3 = Mp3();
    ASSERT_GT(mp3.size(), 2000000u);
    // The Info tag (CBR) with LAME's extension sits in the first frame.
    std::string head(mp3.begin(), mp3.begin() + 418);
    EXPECT_NE(head.find("Info"), std::string::npos);
    EXPECT_NE(head.find("LAME"), std::string::npos);

    const Decoded& d = Track();
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
    EXPECT_GE(d.pcm.size() * 2, (size_t)TIMELINE_END);

    int peak = 0;
    std::vector<float> x(d.pcm.size());
    for (size_t i = 0; i < d.pcm.size(); i++) {
        peak = std::max(peak, std::abs((int)d.pcm[i]));
        x[i] = d.pcm[i] / 32768.0f;
    }
    double lufs = IntegratedLoudness(x.data(), x.size(), 44100);
    std::printf("[ figures  ] decoded peak %.2f dBFS, loudness %.2f LUFS\n",
                20 * std::log10(peak / 32768.0), lufs);
    EXPECT_LE(peak, 29204);  // -1 dBFS
    EXPECT_NEAR(lufs, -14.0, 1.0);
}

TEST(AssetgenSoundtrack, AccentsStartOnTheirCues) {
    const Decoded& d = Track();
    // Scene 1's flashes, the scene starts, the life cue and the final burst.
    const uint32_t cues[] = {CUE_FLASH1,   CUE_FLASH2,   CUE_FLASH3,     CUE_FLASH4,   CUE_FLASH5,
                             SCENE2_START, SCENE3_START, SCENE4_START,   SCENE5_START, SCENE6_START,
                             SCENE7_START, CUE_LIFE,     CUE_FINAL_BURST};
    ASSERT_GE(d.pcm.size(), (size_t)CueSample(SCENE7_START) + 44100);
    for (uint32_t cueByte : cues) {
        int32_t cue = CueSample(cueByte);
        SCOPED_TRACE(cue);
        double before = MeanSquare(d.pcm, cue - 2205, cue - 441);  // 50 to 10 ms before
        double after = MeanSquare(d.pcm, cue, cue + 441);          // first 10 ms after
        long offset = OnsetOffset(d.pcm, cue);
        std::printf("[ figures  ] cue byte %d: onset %+.2f ms, rise %.1f dB\n", cue * 2,
                    offset * 1000.0 / 44100, 10 * std::log10(after / std::fmax(before, 1.0)));
        EXPECT_GT(after, before * 100);  // at least 20 dB up
        EXPECT_GE(offset, -44);          // not before the cue (1 ms of slack)...
        EXPECT_LT(offset, 441);          // ...and within 10 ms after it
    }
}

// Coarse portrait of a stretch of audio: the share of each band in the energy (dB),
// and how much each band's level swings from frame to frame (dB, standard deviation),
// which tells held chords from pulses and beats.
const int Bands = 6;
struct Portrait {
    double share[Bands], swing[Bands];
};

void Fft(std::vector<std::complex<double>>& a) {
    size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; i++) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j |= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        std::complex<double> step = std::polar(1.0, -2 * M_PI / len);
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w(1, 0);
            for (size_t k = 0; k < len / 2; k++, w *= step) {
                std::complex<double> u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
}

Portrait Portray(const std::vector<int16_t>& x, long from, long to) {
    const double edge[Bands + 1] = {20, 150, 400, 1000, 2500, 6000, 16000};
    const int n = 2048;
    std::vector<std::vector<double>> frames;
    for (long at = from; at + n <= to; at += n / 2) {
        std::vector<std::complex<double>> a(n);
        for (int i = 0; i < n; i++) a[i] = x[at + i] * (0.5 - 0.5 * std::cos(2 * M_PI * i / n));
        Fft(a);
        std::vector<double> e(Bands, 1e-3);
        for (int k = 1; k < n / 2; k++)
            for (int b = 0; b < Bands; b++)
                if (k * 44100.0 / n >= edge[b] && k * 44100.0 / n < edge[b + 1])
                    e[b] += std::norm(a[k]);
        frames.push_back(e);
    }
    Portrait p = {};
    double total = 0, sum[Bands] = {};
    for (const auto& e : frames)
        for (int b = 0; b < Bands; b++) sum[b] += e[b], total += e[b];
    for (int b = 0; b < Bands; b++) {
        double mean = 0, var = 0;
        for (const auto& e : frames) mean += 10 * std::log10(e[b]) / frames.size();
        for (const auto& e : frames)
            var += std::pow(10 * std::log10(e[b]) - mean, 2) / frames.size();
        p.share[b] = 10 * std::log10(sum[b] / total);
        p.swing[b] = std::sqrt(var);
    }
    return p;
}

// RMS over the bands of the differences in share and in swing, combined.
double Distance(const Portrait& a, const Portrait& b) {
    double share = 0, swing = 0;
    for (int k = 0; k < Bands; k++) {
        share += std::pow(a.share[k] - b.share[k], 2) / Bands;
        swing += std::pow(a.swing[k] - b.swing[k], 2) / Bands;
    }
    return std::sqrt(share + swing);
}

TEST(AssetgenSoundtrack, EverySectionSoundsUnlikeTheOneBefore) {
    const Decoded& d = Track();
    // Section starts, then the end of the music's beat grid.
    const long starts[] = {0,
                           CueSample(CUE_FLASH1),
                           CueSample(CUE_FLASH2),
                           CueSample(CUE_FLASH3),
                           CueSample(CUE_FLASH4),
                           CueSample(CUE_FLASH5),
                           CueSample(SCENE2_START),
                           CueSample(SCENE3_START),
                           CueSample(CUE_LIFE),
                           CueSample(SCENE4_START),
                           CueSample(CUE_FINAL_BURST),
                           CueSample(SCENE5_START),
                           CueSample(SCENE6_START),
                           CueSample(SCENE7_START),
                           SOUNDTRACK_GRID_END};
    const int sections = (int)(sizeof(starts) / sizeof(starts[0])) - 1;
    ASSERT_GE(d.pcm.size(), (size_t)starts[sections]);
    Portrait prev = {};
    for (int k = 0; k < sections; k++) {
        // The middle half: clear of the accent that opens it and of any closing fill.
        long quarter = (starts[k + 1] - starts[k]) / 4;
        Portrait p = Portray(d.pcm, starts[k] + quarter, starts[k + 1] - quarter);
        if (k > 0) {
            double dist = Distance(prev, p);
            std::printf("[ figures  ] section at byte %ld: %.2f from the one before\n",
                        starts[k] * 2, dist);
            EXPECT_GT(dist, 3.0) << "section at sample " << starts[k];
        }
        prev = p;
    }
}

std::vector<float> Sine(double hz, double amplitude, int samples) {
    std::vector<float> x((size_t)samples);
    for (int i = 0; i < samples; i++)
        x[i] = (float)(amplitude * std::sin(2 * M_PI * hz * i / 44100));
    return x;
}

TEST(AssetgenSoundtrackMaster, MeterReadsSinesAndGatesQuietParts) {
    // BS.1770: a 997 Hz sine of peak amplitude A in mono reads 20*log10(A) - 3.01.
    std::vector<float> x = Sine(997, 0.1, 441000);
    EXPECT_NEAR(IntegratedLoudness(x.data(), x.size(), 44100), -23.01, 0.05);
    // Silence after it falls under the absolute gate and changes nothing...
    std::vector<float> padded = x;
    padded.resize(x.size() * 2, 0.0f);
    EXPECT_NEAR(IntegratedLoudness(padded.data(), padded.size(), 44100), -23.01, 0.1);
    // ...and so does a passage 30 dB quieter, under the relative gate (the ungated
    // mean would read about 3 LU lower).
    std::vector<float> quiet = Sine(997, 0.1 * std::pow(10.0, -1.5), 441000);
    padded.resize(x.size());
    padded.insert(padded.end(), quiet.begin(), quiet.end());
    EXPECT_NEAR(IntegratedLoudness(padded.data(), padded.size(), 44100), -23.01, 0.1);
    // K-weighting: low bass counts for less, high treble for more.
    x = Sine(40, 0.1, 441000);
    EXPECT_LT(IntegratedLoudness(x.data(), x.size(), 44100), -24.0);
    x = Sine(8000, 0.1, 441000);
    EXPECT_GT(IntegratedLoudness(x.data(), x.size(), 44100), -20.0);
    EXPECT_EQ(IntegratedLoudness(x.data(), 1000, 44100), -HUGE_VAL);  // shorter than a block
}

TEST(AssetgenSoundtrackMaster, LimiterHoldsTheCeilingAndLeavesQuietPassagesAlone) {
    // A quiet tone with one loud burst in the middle; and a burst right at the start.
    std::vector<float> x = Sine(220, 0.2, 44100);
    for (int i = 0; i < 100; i++) x[i] *= 5.0f;
    for (int i = 22050; i < 22050 + 441; i++) x[i] *= 5.0f;
    std::vector<float> y = x;
    Limit(y, 0.5f, 176, 0.08f);
    float peak = 0;
    for (float s : y) peak = std::max(peak, std::fabs(s));
    EXPECT_LE(peak, 0.5f + 1e-4f);
    int first = 22050;
    while (std::fabs(x[first]) <= 0.5f) first++;
    // The gain ramps down over the look-ahead just before the burst (about halfway
    // down halfway through the ramp), not earlier...
    EXPECT_NEAR(y[first - 200] / x[first - 200], 1.0f, 2e-3f);
    float half = y[first - 88] / x[first - 88];
    EXPECT_GT(half, 0.6f);
    EXPECT_LT(half, 0.9f);
    // ...and comes back up with the release (80 ms): all but untouched 0.3 s later.
    EXPECT_NEAR(y[44000] / x[44000], 1.0f, 0.02f);
    EXPECT_NEAR(y[15000] / x[15000], 1.0f, 0.02f);
}

TEST(AssetgenSoundtrackMaster, MasteringReachesTheTargetLoudnessUnderTheCeiling) {
    // Drum-like clicks over a tone: peaks far above the body, as in the real mix.
    std::vector<float> x = Sine(330, 0.05, 441000);
    for (int i = 0; i < 441000; i += 22050)
        for (int k = 0; k < 300; k++) x[i + k] += 0.6f * std::exp(-k / 80.0f) * (k % 2 ? 1 : -1);
    double reached = MasterToLoudness(x, -14.0, 0.7f);
    EXPECT_NEAR(reached, -14.0, 0.1);
    EXPECT_NEAR(IntegratedLoudness(x.data(), x.size(), 44100), reached, 1e-6);
    float peak = 0;
    for (float s : x) peak = std::max(peak, std::fabs(s));
    EXPECT_LE(peak, 0.7f + 1e-4f);
}

}  // namespace
