// Scene tests: the whole demo brought up once per suite exactly as vernalis-capture does it
// (offscreen 640x480, the real pack of build/vernalis, the models of build/Data), frames
// rendered at chosen stream positions with the frame clock derived from them.
#pragma once
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
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
    // Largest channel difference between `frame` and `model(base)` over the view: how far a
    // frame is from a known frame under a fade or flash `model` applies channel by channel.
    template <typename F>
    static int MaxError(const std::vector<Pixel>& frame, const std::vector<Pixel>& base, F model) {
        int worst = 0;
        for (int i = 640 * 40; i < 640 * 440; i++) {
            const uint8_t a[3] = {frame[i].r, frame[i].g, frame[i].b};
            const uint8_t b[3] = {base[i].r, base[i].g, base[i].b};
            for (int c = 0; c < 3; c++) worst = std::max(worst, std::abs(a[c] - model(b[c])));
        }
        return worst;
    }
    // The letterbox bands stay black whatever a scene draws.
    static void ExpectBandsBlack(const std::vector<Pixel>& frame) {
        EXPECT_EQ(CountLit(frame, 0, 40), 0);
        EXPECT_EQ(CountLit(frame, 440, 480), 0);
    }
};
