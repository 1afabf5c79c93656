// Scene tests: the whole demo brought up once per suite exactly as vernalis-capture does it
// (offscreen 640x480, the real pack of build/vernalis, the models of build/Data), frames
// rendered at chosen stream positions with the frame clock derived from them.
#pragma once
#include <gtest/gtest.h>
#include <filesystem>
#include <vector>
#include "capture/capture.h"
#include "gl_fixture.h"
#include "pack/tpack.h"
#include "platform/platform_testing.h"

class DemoTest : public ::testing::Test, public FrameChecks {
protected:
    static void SetUpTestSuite() {
        ResetShell();
        TpackSize = (int32_t)std::filesystem::file_size(VERNALIS_BUILD_DIR "/vernalis.pack");
        ASSERT_TRUE(CaptureStart(VERNALIS_BUILD_DIR "/vernalis"));
    }
    static void TearDownTestSuite() {
        CaptureStop();
        BassClose();  // the next suite starts the audio library again
        PlatformExePathOverride = nullptr;
        PlatformCounterOverride = -1;
        TpackSize = 0;
        ResetShell();
    }

    // Draws the frame of `position` (frame clock floor(position * 1000 / 88200) ms) and reads
    // it back, top row first. Scene start times latch on a scene's first frame and are never
    // cleared: a test that depends on them sets them itself.
    static std::vector<Pixel> Frame(uint32_t position, bool holdP = false) {
        EXPECT_TRUE(CaptureFrame(position, holdP)) << position;
        return ReadBack();
    }
    // The frame just drawn, top row first.
    static std::vector<Pixel> ReadBack() {
        std::vector<uint8_t> bytes;
        CaptureRead(&bytes);
        std::vector<Pixel> frame(640 * 480);
        for (size_t i = 0; i < frame.size(); i++)
            frame[i] = {bytes[i * 3], bytes[i * 3 + 1], bytes[i * 3 + 2]};
        return frame;
    }
    // The letterbox bands stay black whatever a scene draws.
    static void ExpectBandsBlack(const std::vector<Pixel>& frame) {
        EXPECT_EQ(CountLit(frame, 0, 40), 0);
        EXPECT_EQ(CountLit(frame, 440, 480), 0);
    }
};
