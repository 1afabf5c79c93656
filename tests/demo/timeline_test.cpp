// The timeline's end test and the P latch, with the stream position set by hand.
#include "gl_fixture.h"
#include "demo/demo.h"
#include "music/music.h"
#include "platform/bass_testtone.h"

class Timeline : public GlTest {
protected:
    static inline std::vector<uint8_t> Mp3;
    void SetUp() override {
        GlTest::SetUp();
        if (Mp3.empty()) Mp3 = TestMp3(0.2);
        BassClose();
        BassManualOutput(TRUE);
        ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
        MusicStream = BASS_StreamCreateFile(TRUE, Mp3.data(), 0, (DWORD)Mp3.size(), 0x20000);
        ASSERT_NE(MusicStream, 0u);
        ASSERT_TRUE(BASS_StreamPlay(MusicStream, FALSE, BASS_SAMPLE_LOOP));
        ClockStart();
        HiddenPageFlag = 0;
    }
    void TearDown() override {
        BassClose();
        MusicStream = 0;
        KeyState['P'] = 0;
        HiddenPageFlag = 0;
    }
    static void FillRed() {
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
    }
};

TEST_F(Timeline, EndsAtItsCueWithoutClearing) {
    FillRed();
    BassManualSetPosition(TIMELINE_END);
    EXPECT_FALSE(DemoFrame());
    EXPECT_EQ(CountAtLeast(ReadFrame(), 0, 480, 0), 640 * 480);
    EXPECT_EQ(At(ReadFrame(), 320, 240).r, 255);

    BassManualSetPosition(0xFFFFFFFFu);
    EXPECT_FALSE(DemoFrame());

    BassManualSetPosition(TIMELINE_END - 1);
    EXPECT_TRUE(DemoFrame());
    EXPECT_EQ(CountLit(ReadFrame(), 0, 480), 0);  // cleared; the closing scene draws on black
}

TEST_F(Timeline, PressingPOnceRevealsTheHiddenPageForGood) {
    BassManualSetPosition(1000);
    EXPECT_TRUE(DemoFrame());
    EXPECT_FALSE(HiddenPageFlag);
    KeyState['P'] = 1;
    DemoFrame();
    KeyState['P'] = 0;
    BassManualSetPosition(SCENE7_START);
    DemoFrame();
    EXPECT_TRUE(HiddenPageFlag);
}
