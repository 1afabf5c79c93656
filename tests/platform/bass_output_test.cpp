// The silent output in real time: the position's rate, smoothness, and its bounds. Each test
// runs about a second at most, and the bounds are loose for busy machines.
#include <gtest/gtest.h>
#include <time.h>
#include <cstdlib>
#include <string>
#include "platform/platform_testing.h"
#include "platform/bass_testtone.h"

namespace {

double NowSeconds() { return PlatformMonotonicNs() * 1e-9; }

void SleepMs(double ms) {
    long ns = (long)(ms * 1e6);
    timespec t = {ns / 1000000000, ns % 1000000000};
    nanosleep(&t, nullptr);
}

struct BassSilentOutput : ::testing::Test {
    HSTREAM stream = 0;
    std::vector<uint8_t> mp3;

    void Play(const std::vector<uint8_t>& data, DWORD flags) {
        mp3 = data;
        ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr));
        ASSERT_STREQ(BassOutputName(), "silent");
        stream = BASS_StreamCreateFile(TRUE, mp3.data(), 0, (DWORD)mp3.size(), 0x20000);
        ASSERT_NE(stream, 0u);
        ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, flags));
    }
    void TearDown() override { BassClose(); }
};

}  // namespace

TEST(BassDefaultOutput, FallsBackToSilentWithoutDevice) {
    const char* old = getenv("SDL_AUDIODRIVER");
    std::string saved = old ? old : "";
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    EXPECT_STREQ(BassOutputName(), "silent");
    BassClose();
    if (old) setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else unsetenv("SDL_AUDIODRIVER");
}

TEST_F(BassSilentOutput, AdvancesInRealTime) {
    Play(TestMp3(3.0), BASS_SAMPLE_LOOP);
    SleepMs(50);
    double t0 = NowSeconds();
    DWORD p0 = BASS_ChannelGetPosition(stream);
    SleepMs(1000);
    double t1 = NowSeconds();
    DWORD p1 = BASS_ChannelGetPosition(stream);
    double rate = (p1 - p0) / (t1 - t0);
    printf("silent output position rate: %.1f bytes/s (88200 nominal)\n", rate);
    EXPECT_NEAR(rate, 88200.0, 88200.0 * 0.05);
}

// Reads 1 ms apart see the position move by about 88 bytes, never backwards, never odd, and
// never beyond what the output has been handed.
TEST_F(BassSilentOutput, SmoothMonotonicAndNotAhead) {
    Play(TestMp3(3.0), BASS_SAMPLE_LOOP);
    const int reads = 200;
    DWORD last = 0;
    int distinct = 0;
    for (int i = 0; i < reads; i++) {
        DWORD pos = BASS_ChannelGetPosition(stream);
        DWORD delivered = BassDeliveredPosition(stream);
        EXPECT_GE(pos, last);
        EXPECT_EQ(pos % 2, 0u);
        EXPECT_LE(pos, delivered);
        EXPECT_LE(delivered - pos, 4u * 2048u);  // at most a block or two behind
        if (pos != last) distinct++;
        last = pos;
        SleepMs(1);
    }
    // Whole 1024-sample blocks would give about one change in 23 reads.
    EXPECT_GT(distinct, reads / 2);
}

TEST_F(BassSilentOutput, LoopWrapsToZero) {
    std::vector<uint8_t> data = TestMp3(0.25);  // 22,050 bytes of stream
    Play(data, BASS_SAMPLE_LOOP);
    DWORD last = 0, highest = 0;
    int wraps = 0;
    for (double end = NowSeconds() + 0.7; NowSeconds() < end; SleepMs(2)) {
        DWORD pos = BASS_ChannelGetPosition(stream);
        if (pos < last) {
            wraps++;
            EXPECT_LT(pos, 8820u);  // restarted from 0 within the last 50 ms
        }
        if (pos > highest) highest = pos;
        last = pos;
    }
    EXPECT_GE(wraps, 2);
    EXPECT_LT(highest, 22050u);
}

TEST_F(BassSilentOutput, StopHoldsAndStartResumes) {
    Play(TestMp3(3.0), BASS_SAMPLE_LOOP);
    SleepMs(60);
    ASSERT_TRUE(BASS_Stop());
    DWORD held = BASS_ChannelGetPosition(stream);
    EXPECT_GT(held, 0u);
    EXPECT_EQ(held, BassDeliveredPosition(stream));
    SleepMs(60);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), held);
    ASSERT_TRUE(BASS_Start());
    SleepMs(60);
    EXPECT_GT(BASS_ChannelGetPosition(stream), held + 2000);
}

TEST_F(BassSilentOutput, UnloopedStreamHoldsAtItsEnd) {
    Play(TestMp3(0.1), 0);
    SleepMs(250);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 8820u);
}

// A 48 kHz stereo stream moves at its own pace: 192,000 bytes per second.
TEST_F(BassSilentOutput, OtherFormatsAtTheirOwnRate) {
    Play(AudioTestEncode(AudioTestTone(96000, 48000), 48000, 2), BASS_SAMPLE_LOOP);
    SleepMs(30);
    double t0 = NowSeconds();
    DWORD p0 = BASS_ChannelGetPosition(stream);
    SleepMs(400);
    double rate = (BASS_ChannelGetPosition(stream) - p0) / (NowSeconds() - t0);
    EXPECT_NEAR(rate, 192000.0, 192000.0 * 0.1);
}
