// The Windows audio layer under test without a sound card: the ACM decode of the soundtrack
// against the Linux decode, refused streams, and the silent output's position.
#include <gtest/gtest.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>
#include "platform/bass_internal.h"

namespace {

std::vector<uint8_t> ReadAll(const char* path) {
    std::vector<uint8_t> data;
    FILE* file = path ? fopen(path, "rb") : nullptr;
    if (!file) return data;
    uint8_t chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
        data.insert(data.end(), chunk, chunk + got);
    fclose(file);
    return data;
}

// The soundtrack and its Linux decode, named by the script that runs the tests.
struct Soundtrack {
    std::vector<uint8_t> mp3;
    std::vector<int16_t> reference;
};

bool LoadSoundtrack(Soundtrack* s) {
    s->mp3 = ReadAll(getenv("VERNALIS_SOUNDTRACK"));
    std::vector<uint8_t> raw = ReadAll(getenv("VERNALIS_REFERENCE_PCM"));
    s->reference.resize(raw.size() / 2);
    if (!raw.empty()) memcpy(s->reference.data(), raw.data(), s->reference.size() * 2);
    return !s->mp3.empty() && !s->reference.empty();
}

}  // namespace

TEST(WindowsDecode, SoundtrackMatchesTheLinuxDecode) {
    Soundtrack s;
    if (!LoadSoundtrack(&s))
        GTEST_SKIP() << "VERNALIS_SOUNDTRACK and VERNALIS_REFERENCE_PCM not set";
    BassPcm pcm;
    auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(BassDecodeMp3(s.mp3.data(), s.mp3.size(), &pcm), BASS_OK);
    double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(pcm.channels, 1);
    EXPECT_EQ(pcm.rate, 44100);
    ASSERT_EQ(pcm.samples.size(), s.reference.size());
    int largest = 0;
    size_t where = 0, over2 = 0;
    for (size_t i = 0; i < pcm.samples.size(); i++) {
        int d = abs(pcm.samples[i] - s.reference[i]);
        if (d > 2) over2++;
        if (d > largest) largest = d, where = i;
    }
    printf(
        "[ figures  ] ACM decode: %u samples in %.0f ms (Linux: %zu); largest difference %d "
        "at sample %zu; %zu samples differ by more than 2\n",
        pcm.frames, ms, s.reference.size(), largest, where, over2);
    EXPECT_LE(largest, 4);  // codec rounding; a shift by even one sample would be far larger
}

TEST(WindowsDecode, RefusedStreamsGiveTheLinuxErrorCodes) {
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr));
    std::vector<uint8_t> noise(20000);
    for (size_t i = 0; i < noise.size(); i++) noise[i] = (uint8_t)(i * 131 + 7);
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, noise.data(), 0, (DWORD)noise.size(), 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FORMAT);
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, noise.data(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FORMAT);
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, nullptr, 0, 10, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    BassClose();
}

// Without a sound card waveOutOpen finds no device: the silent output keeps real time, and
// the position, read as often as a frame loop reads it, rises smoothly and never passes what
// was handed over.
TEST(WindowsOutput, SilentOutputPositionIsSmooth) {
    Soundtrack s;
    if (!LoadSoundtrack(&s)) GTEST_SKIP() << "VERNALIS_SOUNDTRACK not set";
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    if (std::string(BassOutputName()) != "silent") {
        BassClose();
        GTEST_SKIP() << "a sound device is present: " << BassOutputName();
    }
    HSTREAM stream = BASS_StreamCreateFile(TRUE, s.mp3.data(), 0, (DWORD)s.mp3.size(), 0);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, BASS_SAMPLE_LOOP));
    auto start = std::chrono::steady_clock::now();
    DWORD last = 0;
    std::vector<DWORD> steps;
    int backwards = 0, ahead = 0;
    double seconds = 0;
    while ((seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()) <
           2.0) {
        DWORD pos = BASS_ChannelGetPosition(stream);
        DWORD handed = BassDeliveredPosition(stream);
        if (pos < last) backwards++;
        if (pos > handed) ahead++;
        steps.push_back(pos - std::min(pos, last));
        last = pos;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::sort(steps.begin(), steps.end());
    DWORD median = steps[steps.size() / 2], p99 = steps[steps.size() * 99 / 100];
    // Figures only: how smooth it looks depends on how busy the machine is.
    printf(
        "[ figures  ] silent output: %zu reads in %.2f s, %.0f bytes/s (88200 expected); "
        "step median %.2f ms, 99th percentile %.2f ms, largest %.2f ms; %d backwards, "
        "%d ahead of the handed data\n",
        steps.size(), seconds, last / seconds, median / 88.2, p99 / 88.2, steps.back() / 88.2,
        backwards, ahead);
    EXPECT_EQ(backwards, 0);
    EXPECT_EQ(ahead, 0);
    EXPECT_GT(last, 0u);
    BASS_Stop();
    BASS_StreamFree(stream);
    BassClose();
}

// waveOut, simulated: four blocks of 2048 samples queued, played without a break, each
// refilled a few milliseconds after the device is done with it. Each refill publishes the
// block's ramp the way the feeder does, the samples written included. With TIME_SAMPLES the
// position is what was played, also when a block is handed over between two reads; without
// it, the position glides along the blocks and never leads what was played by more than a
// block, nor goes back.
TEST(WindowsOutput, WaveOutPositionFollowsWhatWasPlayed) {
    const uint64_t BLOCK = 2048, STEP = (uint64_t)1 << 32;
    const int64_t SAMPLE_NS = 1000000000 / 44100, WAKE_NS = 4000000;
    BassRamp ramp = {};
    ramp.frames = 1u << 30;
    ramp.channels = 1;
    uint64_t handed = 0, done[4] = {};
    int64_t dueNs[4] = {};
    auto hand = [&](int h, int64_t now) {
        uint64_t ahead = 0;
        for (int o = 0; o < 4; o++)
            if (o != h && (int64_t)done[o] * SAMPLE_NS > now) ahead += BLOCK;
        ramp.from = handed;
        handed += BLOCK;
        ramp = BassRamp{ramp.from, handed, now,   (int64_t)BLOCK * SAMPLE_NS, ahead, 0, ramp.frames,
                        1,         0,      handed};
        done[h] = std::max<uint64_t>(handed, now / SAMPLE_NS + BLOCK);  // played back to back
        dueNs[h] = (int64_t)done[h] * SAMPLE_NS + WAKE_NS;
    };
    for (int h = 0; h < 4; h++) hand(h, 0);
    DWORD lastHeard = 0, lastGlide = 0;
    int64_t worstLeadSamples = -1000000;
    for (int64_t now = 0; now < 2000000000; now += 250000) {
        for (int h = 0; h < 4; h++)
            if (dueNs[h] <= now) hand(h, now);
        uint64_t played = std::min<uint64_t>(now / SAMPLE_NS, handed);
        DWORD heard = (DWORD)(BassHeardFrames(ramp.to, ramp.written, played, STEP) * 2);
        EXPECT_EQ(heard, played * 2) << now;
        EXPECT_GE(heard, lastHeard) << now;
        DWORD glide = BassPositionNow(ramp, now);
        EXPECT_GE(glide, lastGlide) << now;
        worstLeadSamples = std::max(worstLeadSamples, (int64_t)glide / 2 - (int64_t)played);
        lastHeard = heard;
        lastGlide = glide;
    }
    printf(
        "[ figures  ] without TIME_SAMPLES the position leads what was played by %.1f ms at most\n",
        worstLeadSamples * 1000.0 / 44100);
    EXPECT_LE(worstLeadSamples, (int64_t)BLOCK);
}
