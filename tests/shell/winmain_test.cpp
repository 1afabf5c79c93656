// Start-up and shutdown of the whole program, in process: each failure row and the order in
// which it unwinds, and a full run that ends on a quit message.
#include <gtest/gtest.h>
#include "music/music.h"
#include "pack/pack_fixture.h"
#include "platform/bass_testtone.h"
#include "platform/sdl/window.h"
#include "shell/shell.h"
#include "test_support.h"

class StartUp : public PackTestBase {
protected:
    void SetUp() override {
        PackTestBase::SetUp();
        ResetShell();
        BassClose();
        BassManualOutput(TRUE);
        BoxesStart(IDYES);
    }
    void TearDown() override {
        BassClose();
        BassReportedVersion = 0x80000;
        BoxesStop();
        ResetShell();
        PackTestBase::TearDown();
    }
    void InstallDemo(const char* musicName) {
        static const Bytes mp3 = TestMp3(0.5);
        TpackSource source = {musicName, mp3.data(), (int32_t)mp3.size(), 0};
        InstallExe(1000, MakePack({source}));
    }
    // The built demo itself: its pack, and its models under the build folder.
    void InstallBuiltDemo() {
        ASSERT_EQ(chdir(VERNALIS_BUILD_DIR), 0);
        PlatformExePathOverride = VERNALIS_BUILD_DIR "/vernalis";
        TpackSize = (int32_t)std::filesystem::file_size(VERNALIS_BUILD_DIR "/vernalis.pack");
    }
    const RecordedBox& LastBox() { return Boxes.back(); }
};

TEST_F(StartUp, WrongAudioVersionStopsBeforeAnyWindow) {
    InstallDemo("Zozivuv.mp3");
    BassReportedVersion = 0x90000;
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOW), 0);
    ASSERT_EQ(Boxes.size(), 1u) << BoxTexts();
    EXPECT_EQ(Boxes[0].text, "BASS version 0.8 was not loaded");
    EXPECT_EQ(WindowHandle, nullptr);
}

TEST_F(StartUp, WindowFailureIsReportedTwice) {
    InstallDemo("Zozivuv.mp3");
    PlatformFailCall = "CreateWindowExA";
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOW), 0);
    ASSERT_GE(Boxes.size(), 2u) << BoxTexts();
    EXPECT_EQ(Boxes[Boxes.size() - 2].text, "Window Creation Error.");
    EXPECT_EQ(LastBox().text, "Unable to create OpenGL window!");
    EXPECT_EQ(LastBox().caption, "Error");
    EXPECT_EQ(LastBox().type, (UINT)MB_ICONEXCLAMATION);
}

// The box comes after the clean-up: the window is gone when the user reads it.
TEST_F(StartUp, MissingPackEndsAfterTheWindowIsGone) {
    InstallExe(PatternBytes(4000, 1), 600);
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOW), 0);
    ASSERT_GE(Boxes.size(), 3u) << BoxTexts();
    const RecordedBox& unpacker = Boxes[Boxes.size() - 2];
    EXPECT_EQ(unpacker.text, "Initialization error...");
    EXPECT_EQ(unpacker.caption, "Unpacker Error");
    EXPECT_EQ(unpacker.type, (UINT)MB_ICONSTOP);
    EXPECT_TRUE(unpacker.windowAlive);
    EXPECT_EQ(LastBox().text, "Demo Init error...");
    EXPECT_EQ(LastBox().caption, "No dreams avaliable");
    EXPECT_FALSE(LastBox().windowAlive);
}

TEST_F(StartUp, MissingSoundtrackEntry) {
    InstallDemo("zozivuv.mp3");
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOW), 0);
    ASSERT_GE(Boxes.size(), 2u) << BoxTexts();
    EXPECT_EQ(Boxes[Boxes.size() - 2].text, " Error: Zozivuv.mp3 not found in package!");
    EXPECT_EQ(LastBox().text, "Demo Init error...");
}

// The stream and its memory are released before the window, and both before the box.
TEST_F(StartUp, PlaybackFailureReleasesTheStreamFirst) {
    InstallBuiltDemo();
    PlatformFailCall = "BASS_StreamPlay";
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOW), 0);
    EXPECT_EQ(LastBox().text, "Unable to Play sound module!") << BoxTexts();
    EXPECT_EQ(LastBox().caption, "Bass error");
    EXPECT_FALSE(LastBox().musicBuffered);
    EXPECT_FALSE(LastBox().windowAlive);
    EXPECT_EQ(MusicStream, 0u);
}

TEST_F(StartUp, FullRunEndsOnTheQuitMessageAndReleasesEverything) {
    InstallBuiltDemo();
    PostQuitMessage(5);
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOW), 5);
    ASSERT_EQ(Boxes.size(), 1u) << BoxTexts();  // only the offscreen display's fall-back question
    EXPECT_EQ(Boxes[0].caption, "Kabo GL");
    EXPECT_EQ(MusicBuffer, nullptr);
    EXPECT_FALSE(PlatformWindowAlive(WindowHandle));
    EXPECT_EQ(RenderingContext, nullptr);
    EXPECT_FALSE(UnregisterClassA("OpenGL", GetModuleHandleA(nullptr)));
    EXPECT_STREQ(BassOutputName(), "manual");
}
