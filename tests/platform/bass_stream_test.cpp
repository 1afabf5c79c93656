// The audio library without a sound device: decoding, error codes and the manual output.
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include "platform/platform_testing.h"
#include "platform/bass_internal.h"
#include "platform/bass_testtone.h"
#include <thread>

namespace {

struct BassManual : ::testing::Test {
    void SetUp() override {
        BassManualOutput(TRUE);
        ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
        ASSERT_STREQ(BassOutputName(), "manual");
    }
    void TearDown() override { BassClose(); }
};

// Frame index where the signal first reaches half its amplitude.
int Onset(const std::vector<int16_t>& pcm, int channels, int threshold) {
    for (size_t i = 0; i < pcm.size(); i += channels)
        if (abs(pcm[i]) >= threshold) return (int)(i / channels);
    return -1;
}

// Plays a stream to its end without looping; the position stops at the stream's length.
DWORD StreamLength(HSTREAM stream) {
    BassWaitDecoded();
    BASS_StreamPlay(stream, TRUE, 0);
    BassManualAdvance(0xFFFFFFF0u);
    return BASS_ChannelGetPosition(stream);
}

}  // namespace

// The LAME tag's encoder delay and padding are trimmed: the decoded stream has exactly the
// encoded samples, and the music starts where it started before encoding.
TEST(BassDecode, GaplessLengthAndAlignment) {
    const int count = 2 * 44100 + 123, silence = 22050;
    std::vector<int16_t> tone = AudioTestTone(count, 44100, silence, 1000.0);
    std::vector<uint8_t> mp3 = AudioTestEncode(tone, 44100);
    BassPcm pcm;
    ASSERT_EQ(BassDecodeMp3(mp3.data(), mp3.size(), &pcm), BASS_OK);
    EXPECT_EQ(pcm.channels, 1);
    EXPECT_EQ(pcm.rate, 44100);
    EXPECT_EQ(pcm.frames, (uint32_t)count);
    int expected = Onset(tone, 1, 6000);
    EXPECT_NEAR(Onset(pcm.samples, 1, 6000), expected, 30);
}

// Damaged input never reads outside the block: whatever decodes before the damage stays.
TEST(BassDecode, TruncatedAndGarbageInput) {
    std::vector<uint8_t> mp3 = TestMp3(1.0);
    BassPcm pcm;
    ASSERT_EQ(BassDecodeMp3(mp3.data(), mp3.size() / 2, &pcm), BASS_OK);
    EXPECT_GT(pcm.frames, 10000u);
    EXPECT_LT(pcm.frames, 44100u);

    std::vector<uint8_t> zeros(8192, 0);
    EXPECT_EQ(BassDecodeMp3(zeros.data(), zeros.size(), &pcm), BASS_ERROR_FORMAT);
    EXPECT_EQ(pcm.frames, 0u);
    const char text[] = "This is not an MP3 file, only some words.";
    EXPECT_EQ(BassDecodeMp3((const uint8_t*)text, sizeof text, &pcm), BASS_ERROR_FORMAT);
    EXPECT_EQ(BassDecodeMp3(mp3.data(), 0, &pcm), BASS_ERROR_FORMAT);
    srand(7);
    std::vector<uint8_t> noise(20000);
    for (uint8_t& b : noise) b = (uint8_t)rand();
    int code = BassDecodeMp3(noise.data(), noise.size(), &pcm);
    EXPECT_TRUE(code == BASS_OK || code == BASS_ERROR_FORMAT);
}

TEST(BassErrors, CallsBeforeInit) {
    std::vector<uint8_t> mp3 = TestMp3(0.5);
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, mp3.data(), 0, (DWORD)mp3.size(), 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_FALSE(BASS_StreamPlay(1, FALSE, BASS_SAMPLE_LOOP));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_FALSE(BASS_Start());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_FALSE(BASS_Stop());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_EQ(BASS_ChannelGetPosition(1), 0xFFFFFFFFu);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_STREQ(BassOutputName(), "none");
}

TEST(BassErrors, InitArguments) {
    BassManualOutput(TRUE);
    EXPECT_FALSE(BASS_Init(1, 44100, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
    EXPECT_FALSE(BASS_Init(-2, 44100, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);
    EXPECT_FALSE(BASS_Init(-1, 0, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FREQ);
    BassFailNext(BASS_ERROR_DRIVER);
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DRIVER);
    EXPECT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_OK);
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
    BassClose();
}

TEST_F(BassManual, StreamCreationErrors) {
    std::vector<uint8_t> zeros(4096, 0);
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, zeros.data(), 0, (DWORD)zeros.size(), 0x20000), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FORMAT);
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, nullptr, 0, 100, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, "/nonexistent/track.mp3", 0, 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);

    std::vector<uint8_t> mp3 = TestMp3(0.5);
    HSTREAM stream = BASS_StreamCreateFile(TRUE, mp3.data(), 0, (DWORD)mp3.size(), 0x20000);
    EXPECT_NE(stream, 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_OK);
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, mp3.data(), 0, (DWORD)mp3.size(), 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOCHAN);
}

TEST_F(BassManual, HandlesAreChecked) {
    std::vector<uint8_t> mp3 = TestMp3(0.5);
    HSTREAM stream = BASS_StreamCreateFile(TRUE, mp3.data(), 0, (DWORD)mp3.size(), 0);
    ASSERT_NE(stream, 0u);
    EXPECT_FALSE(BASS_StreamPlay(stream + 1, FALSE, 0));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_EQ(BASS_ChannelGetPosition(0), 0xFFFFFFFFu);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_OK);
    EXPECT_FALSE(BASS_StreamFree(stream + 1));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_TRUE(BASS_StreamFree(stream));
    // A freed handle stays invalid, also once a new stream exists.
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 0xFFFFFFFFu);
    EXPECT_FALSE(BASS_StreamFree(stream));
    HSTREAM next = BASS_StreamCreateFile(TRUE, mp3.data(), 0, (DWORD)mp3.size(), 0);
    ASSERT_NE(next, 0u);
    EXPECT_NE(next, stream);
    EXPECT_FALSE(BASS_StreamPlay(stream, FALSE, 0));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
}

// The file is read once, at creation: the caller may change the block afterwards.
TEST_F(BassManual, DecodesFromMemoryWithOffset) {
    std::vector<int16_t> tone = AudioTestTone(44100, 44100);
    std::vector<uint8_t> mp3 = AudioTestEncode(tone, 44100);
    std::vector<uint8_t> block(100 + mp3.size(), 0xEE);
    memcpy(block.data() + 100, mp3.data(), mp3.size());
    HSTREAM stream = BASS_StreamCreateFile(TRUE, block.data(), 100, (DWORD)mp3.size(), 0x20000);
    ASSERT_NE(stream, 0u);
    std::fill(block.begin(), block.end(), 0);
    EXPECT_EQ(StreamLength(stream), 88200u);
}

TEST_F(BassManual, DrivenPositionLoops) {
    std::vector<uint8_t> mp3 = TestMp3(1.0);
    HSTREAM stream = BASS_StreamCreateFile(TRUE, mp3.data(), 0, (DWORD)mp3.size(), 0);
    ASSERT_NE(stream, 0u);
    BassWaitDecoded();
    BassManualAdvance(1000);  // not playing yet: nothing moves
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 0u);
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, BASS_SAMPLE_LOOP));
    BassManualAdvance(1470);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 1470u);
    BassManualAdvance(1);  // half a sample is no sample
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 1470u);
    EXPECT_EQ(BassDeliveredPosition(stream), 1470u);
    BassManualSetPosition(3273983);  // any value, odd ones too
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 3273983u);
    BassManualSetPosition(88000);
    BassManualAdvance(400);  // past the end of 88,200: wraps
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 200u);
    BASS_StreamPlay(stream, FALSE, BASS_SAMPLE_LOOP);  // playing, not flushed: goes on
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 200u);
    BASS_StreamPlay(stream, TRUE, BASS_SAMPLE_LOOP);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 0u);
}

TEST_F(BassManual, UnloopedStreamStopsAtItsEnd) {
    std::vector<uint8_t> mp3 = TestMp3(1.0);
    HSTREAM stream = BASS_StreamCreateFile(TRUE, mp3.data(), 0, (DWORD)mp3.size(), 0);
    BassWaitDecoded();
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, 0));
    BassManualAdvance(80000);
    BassManualAdvance(80000);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 88200u);
    BassManualAdvance(2);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 88200u);
    BASS_StreamPlay(stream, FALSE, 0);  // ended, so it starts over
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 0u);
}

// Positions count bytes of the stream's own 16-bit data: 4 per frame in stereo.
TEST_F(BassManual, StereoPositionsInItsOwnBytes) {
    std::vector<uint8_t> mp3 = AudioTestEncode(AudioTestTone(48000, 48000), 48000, 2);
    HSTREAM stream = BASS_StreamCreateFile(TRUE, mp3.data(), 0, (DWORD)mp3.size(), 0);
    ASSERT_NE(stream, 0u);
    BassWaitDecoded();
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, BASS_SAMPLE_LOOP));
    BassManualAdvance(6);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 4u);
    EXPECT_EQ(StreamLength(stream), 192000u);
}

// The rest of the stream is decoded while it plays: the position waits at the end of what is
// decoded (a looping stream does not wrap there) and goes on once more arrives, to the same
// length as a decode all at once; freeing the stream mid-decode stops the decoder.
TEST_F(BassManual, PositionNeverPassesTheDecodedSamples) {
    std::vector<uint8_t> mp3 = TestMp3(3.0);
    BassPcm whole;
    ASSERT_EQ(BassDecodeMp3(mp3.data(), mp3.size(), &whole), BASS_OK);
    BassDecodeHeld = true;
    HSTREAM stream = BASS_StreamCreateFile(TRUE, mp3.data(), 0, (DWORD)mp3.size(), 0);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, BASS_SAMPLE_LOOP));
    DWORD decoded;
    {
        std::lock_guard<std::mutex> hold(BassLock);
        EXPECT_TRUE(BassStream.decoding);
        decoded = BassStream.pcm.frames * 2;
    }
    EXPECT_GT(decoded, 0u);
    EXPECT_LT(decoded, whole.frames * 2);
    BassManualAdvance(decoded - 2);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), decoded - 2);
    BassManualAdvance(100000);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), decoded);  // waits, no wrap
    EXPECT_EQ(BassDeliveredPosition(stream), decoded);
    BassDecodeHeld = false;
    BassWaitDecoded();
    BassManualAdvance(100000);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), decoded + 100000);
    EXPECT_EQ(StreamLength(stream), whole.frames * 2);

    BASS_StreamFree(stream);
    BassDecodeHeld = true;
    stream = BASS_StreamCreateFile(TRUE, mp3.data(), 0, (DWORD)mp3.size(), 0);
    ASSERT_NE(stream, 0u);
    EXPECT_TRUE(BASS_StreamFree(stream));  // joins the held decoder
    BassDecodeHeld = false;
}

// The audio callback mixes under BassLock. While the rest of the stream is decoded, with both
// cores kept busy, it must never wait on the decoding thread: that thread never takes the lock
// (the decode goes on while the lock is held here), and the longest a callback-like mix waits
// for the lock stays small.
TEST_F(BassManual, DecodingNeverHoldsTheCallbackUp) {
    std::vector<uint8_t> mp3 = TestMp3(40.0);
    std::atomic<bool> stop{false};
    std::vector<std::thread> busy;
    for (int i = 0; i < 2; i++)
        busy.emplace_back([&stop] {
            while (!stop) {
            }
        });
    HSTREAM stream = BASS_StreamCreateFile(TRUE, mp3.data(), 0, (DWORD)mp3.size(), 0);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_StreamPlay(stream, FALSE, BASS_SAMPLE_LOOP));
    bool progressed = false;
    int64_t longestNs = 0;
    {
        std::lock_guard<std::mutex> hold(BassLock);
        uint32_t before = BassStream.pcm.frames;
        for (int i = 0; i < 2000 && !progressed; i++) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            BassTakeDecoded();
            progressed = BassStream.pcm.frames > before || !BassStream.decoding;
        }
    }
    int16_t block[1024];
    for (bool decoding = true; decoding;) {  // about one block every 2 ms until decoded
        int64_t start = BassNowNs();
        {
            std::lock_guard<std::mutex> hold(BassLock);
            longestNs = std::max(longestNs, BassNowNs() - start);
            BassMixBlock(block, 1024, start, 1000000);
            decoding = BassStream.decoding;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    stop = true;
    for (std::thread& t : busy) t.join();
    printf("longest wait for the lock while decoding: %.2f ms\n", longestNs / 1e6);
    EXPECT_TRUE(progressed) << "the decoding thread waited for BassLock";
    EXPECT_LT(longestNs, 50000000) << "a mix waited " << longestNs / 1e6 << " ms";
}
