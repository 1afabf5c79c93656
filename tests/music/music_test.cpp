// Starting the audio library, loading the soundtrack from the pack file, and what the user
// is told when either fails.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "music/music.h"
#include "platform/bass_testtone.h"
#include "platform/platform_testing.h"

namespace {

struct Box {
    std::string text, caption;
    UINT type;
};
std::vector<Box> Boxes;

int RecordBox(HWND, const char* text, const char* caption, UINT type) {
    Boxes.push_back({text, caption, type});
    return IDOK;
}

void ExpectBox(size_t index, const char* text, const char* caption, UINT type) {
    ASSERT_LT(index, Boxes.size());
    EXPECT_EQ(Boxes[index].text, text);
    EXPECT_EQ(Boxes[index].caption, caption);
    EXPECT_EQ(Boxes[index].type, type);
}

struct MusicTest : ::testing::Test {
    void SetUp() override {
        Boxes.clear();
        SetMessageBoxHook(RecordBox);
        BassManualOutput(TRUE);
    }
    void TearDown() override {
        SetMessageBoxHook(nullptr);
        BassReportedVersion = 0x80000;
        BassClose();
        MusicStream = 0;
        free(MusicBuffer);
        MusicBuffer = nullptr;
    }
};

// A pack-like file: some bytes, the entry, more bytes.
FILE* FileWithEntry(const std::vector<uint8_t>& entry, long before) {
    FILE* file = tmpfile();
    std::vector<uint8_t> pad(before, 0x5A);
    if (before) fwrite(pad.data(), 1, pad.size(), file);
    fwrite(entry.data(), 1, entry.size(), file);
    if (before) fwrite(pad.data(), 1, pad.size(), file);
    return file;
}

}  // namespace

using MusicStart = MusicTest;
using MusicFromPackTest = MusicTest;

TEST_F(MusicStart, StartsTheLibrary) {
    EXPECT_TRUE(AudioStart());
    EXPECT_TRUE(Boxes.empty());
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr));  // already running
}

// Newer versions are refused as firmly as older ones, with one box and no error text.
TEST_F(MusicStart, RefusesAnyOtherVersion) {
    for (DWORD version : {0x70000u, 0x80001u, 0x90000u, 0x1000000u, 0u}) {
        Boxes.clear();
        BassReportedVersion = version;
        EXPECT_FALSE(AudioStart());
        ASSERT_EQ(Boxes.size(), 1u);
        ExpectBox(0, "BASS version 0.8 was not loaded", "Incorrect BASS.DLL", 0x30);
        EXPECT_FALSE(BASS_Start());  // the library was never started
    }
}

TEST_F(MusicStart, InitFailureShowsTheErrorText) {
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    EXPECT_FALSE(AudioStart());
    ASSERT_EQ(Boxes.size(), 2u);
    ExpectBox(0, "Can't initialize digital sound system", "Error", 0x30);
    ExpectBox(1, "Already initialized", "BASS Init Error", 0x30);

    const struct {
        int code;
        const char* text;
    } cases[] = {
        {1, "Memory error"},
        {3, "Can't find a free or a valid driver"},
        {7, "Invalif playback position"},
        {8, "BASS_Init() has not been successfully called!"},
        {9, "BASS_Start has not been successfully called!"},
        {27, "The stream is not a file stream (WAV/MP3)"},
        {29, "No hardware voices available"},
        {30, "Synchronizers have been disabled"},
        {-1, "Unknown error or sound device error..."},
    };
    BassClose();
    BassManualOutput(TRUE);
    for (const auto& c : cases) {
        Boxes.clear();
        BassFailNext(c.code);
        EXPECT_FALSE(AudioStart());
        ASSERT_EQ(Boxes.size(), 2u) << c.code;
        ExpectBox(1, c.text, "BASS Init Error", 0x30);
    }
}

// Codes without a text leave the first box alone.
TEST_F(MusicStart, CodesWithoutTextShowOneBox) {
    for (int code : {28, 31, -2, 1000}) {
        Boxes.clear();
        BassFailNext(code);
        EXPECT_FALSE(AudioStart());
        ASSERT_EQ(Boxes.size(), 1u) << code;
        ExpectBox(0, "Can't initialize digital sound system", "Error", 0x30);
    }
    Boxes.clear();
    ASSERT_TRUE(AudioStart());
    AudioErrorBox();  // code 0 after success
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(MusicFromPackTest, LoadsTheEntryIntoMemory) {
    ASSERT_TRUE(AudioStart());
    std::vector<uint8_t> mp3 = TestMp3(1.0);
    FILE* file = FileWithEntry(mp3, 3000);
    ASSERT_TRUE(MusicFromPack(file, 3000, (int32_t)mp3.size()));
    fclose(file);
    EXPECT_TRUE(Boxes.empty());
    ASSERT_NE(MusicBuffer, nullptr);
    EXPECT_EQ(memcmp(MusicBuffer, mp3.data(), mp3.size()), 0);
    EXPECT_EQ(BASS_ChannelGetPosition(MusicStream), 0u);  // created, not playing
    ASSERT_TRUE(BASS_StreamPlay(MusicStream, FALSE, BASS_SAMPLE_LOOP));
    BassWaitDecoded();
    BassManualAdvance(88200 + 1000);
    EXPECT_EQ(BASS_ChannelGetPosition(MusicStream), 1000u);

    HSTREAM stream = MusicStream;
    AudioShutdown();
    EXPECT_EQ(MusicBuffer, nullptr);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 0xFFFFFFFFu);  // freed
}

TEST_F(MusicFromPackTest, StreamErrorReleasesTheBuffer) {
    ASSERT_TRUE(AudioStart());
    std::vector<uint8_t> junk(5000, 0x00);
    FILE* file = FileWithEntry(junk, 100);
    EXPECT_FALSE(MusicFromPack(file, 100, (int32_t)junk.size()));
    EXPECT_EQ(MusicBuffer, nullptr);
    ASSERT_EQ(Boxes.size(), 2u);
    ExpectBox(0, "Unable to create stream file!", "Error", 0x30);
    ExpectBox(1, "Unsupported format", "BASS Init Error", 0x30);

    // Without a started library the stream cannot be made either.
    BassClose();
    Boxes.clear();
    std::vector<uint8_t> mp3 = TestMp3(0.2);
    FILE* good = FileWithEntry(mp3, 0);
    EXPECT_FALSE(MusicFromPack(good, 0, (int32_t)mp3.size()));
    ASSERT_EQ(Boxes.size(), 2u);
    ExpectBox(1, "BASS_Init() has not been successfully called!", "BASS Init Error", 0x30);

    BassManualOutput(TRUE);
    ASSERT_TRUE(AudioStart());
    Boxes.clear();
    BassFailNext(28);
    EXPECT_FALSE(MusicFromPack(good, 0, (int32_t)mp3.size()));
    ASSERT_EQ(Boxes.size(), 1u);
    ExpectBox(0, "Unable to create stream file!", "Error", 0x30);
    EXPECT_EQ(MusicBuffer, nullptr);
    fclose(good);
    fclose(file);
}

// An entry that runs past the end of the file is not played in part.
TEST_F(MusicFromPackTest, ShortReadFailsLikeAStreamError) {
    ASSERT_TRUE(AudioStart());
    std::vector<uint8_t> mp3 = TestMp3(0.5);
    FILE* file = FileWithEntry(mp3, 10);
    EXPECT_FALSE(MusicFromPack(file, 20, (int32_t)mp3.size() + 100));
    EXPECT_EQ(MusicBuffer, nullptr);
    ASSERT_EQ(Boxes.size(), 2u);
    ExpectBox(0, "Unable to create stream file!", "Error", 0x30);
    ExpectBox(1, "Unable to open file", "BASS Init Error", 0x30);
    Boxes.clear();
    EXPECT_FALSE(MusicFromPack(file, -5, 100));
    EXPECT_EQ(Boxes.size(), 2u);
    // A claim of 2 GiB in a small file is refused with the same two boxes, before any copy.
    for (int32_t offset : {0, 20, 1 << 30}) {
        Boxes.clear();
        EXPECT_FALSE(MusicFromPack(file, offset, INT32_MAX));
        EXPECT_EQ(MusicBuffer, nullptr);
        ASSERT_EQ(Boxes.size(), 2u);
        ExpectBox(0, "Unable to create stream file!", "Error", 0x30);
        ExpectBox(1, "Unable to open file", "BASS Init Error", 0x30);
    }
    fclose(file);
    // Nothing was created on the way: a good entry still loads.
    FILE* good = FileWithEntry(mp3, 0);
    EXPECT_TRUE(MusicFromPack(good, 0, (int32_t)mp3.size()));
    fclose(good);
}

TEST_F(MusicFromPackTest, NegativeLengthIsNoMemory) {
    ASSERT_TRUE(AudioStart());
    FILE* file = FileWithEntry(TestMp3(0.2), 0);
    EXPECT_FALSE(MusicFromPack(file, 0, -1));
    EXPECT_EQ(MusicBuffer, nullptr);
    ASSERT_EQ(Boxes.size(), 1u);
    ExpectBox(0, "No memory avaliable to play music!", "BASS Error", 0x1010);
    fclose(file);
}
