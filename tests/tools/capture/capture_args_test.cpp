#include <gtest/gtest.h>
#include <vector>
#include "capture/capture.h"
#include "demo/demo.h"

static bool Parse(std::vector<const char*> args, CaptureOptions* options, std::string* error) {
    args.insert(args.begin(), "vernalis-capture");
    return ParseCaptureArgs((int)args.size(), const_cast<char**>(args.data()), options, error);
}

TEST(CaptureArgs, DefaultsAndValues) {
    CaptureOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--out", "frames/"}, &options, &error)) << error;
    EXPECT_EQ(options.from, 0u);
    EXPECT_EQ(options.to, 12853247u);
    EXPECT_EQ(options.fps, 60);
    EXPECT_FALSE(options.holdP);
    ASSERT_TRUE(Parse({"--exe", "x/vernalis", "--from", "5", "--to", "5", "--fps", "5", "--hold-p",
                       "--out", "a.PNG"},
                      &options, &error))
        << error;
    EXPECT_EQ(options.exe, "x/vernalis");
    EXPECT_EQ(options.from, 5u);
    EXPECT_EQ(options.fps, 5);
    EXPECT_TRUE(options.holdP);
    ASSERT_TRUE(Parse({"--fps", "4", "--out", "run.sums"}, &options, &error)) << error;
    EXPECT_EQ(CaptureOutputKind(options.out), OUT_SUMS);
}

TEST(CaptureArgs, RefusesBadArguments) {
    const std::vector<std::vector<const char*>> bad = {
        {},                  // no --out
        {"--out", "f.png"},  // one file for many frames
        {"--out", "f.jpg", "--from", "0", "--to", "0"},
        {"--out", "d/", "--fps", "0"},
        {"--out", "d/", "--fps", "x"},
        {"--out", "d/", "--from", "-1"},
        {"--out", "d/", "--from", "+5"},
        {"--out", "d/", "--to", " 5"},
        {"--out", "d/", "--from", "4294967296"},
        {"--out", "d/", "--from", "10", "--to", "9"},
        {"--out", "d/", "--bogus"},
        {"--out"},
    };
    for (const auto& args : bad) {
        CaptureOptions options;
        std::string error;
        EXPECT_FALSE(Parse(args, &options, &error)) << (args.empty() ? "" : args.back());
        EXPECT_FALSE(error.empty());
    }
}

// A still at an odd position is one frame (the even one below); --from alone past the end
// of the timeline is no frame, not "--from is past --to".
TEST(CaptureFrames, OddStillsAndFromAlone) {
    CaptureOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--from", "88201", "--to", "88201", "--out", "x.png"}, &options, &error))
        << error;
    EXPECT_EQ(CaptureFrameCount(options), 1u);
    ASSERT_TRUE(Parse({"--from", "12853248", "--out", "x.mp4"}, &options, &error)) << error;
    EXPECT_EQ(CaptureFrameCount(options), 0u);
}

TEST(CaptureFrames, PositionsAreEvenAndFollowTheFrameRate) {
    EXPECT_EQ(CaptureFramePosition(0, 0, 60), 0u);
    EXPECT_EQ(CaptureFramePosition(0, 1, 60), 1470u);
    EXPECT_EQ(CaptureFramePosition(0, 1, 7), 12600u);
    EXPECT_EQ(CaptureFramePosition(0, 1, 11), 8018u);  // 8018.18 -> 8018
    EXPECT_EQ(CaptureFramePosition(0, 1, 13), 6784u);  // 6784.6 -> 6784
    EXPECT_EQ(CaptureFramePosition(3, 0, 60), 2u);     // rounded down to even
    EXPECT_EQ(CaptureFramePosition(0, 8743, 60), 12852210u);
    EXPECT_EQ(CaptureFramePosition(0xFFFFFF00u, 1000, 1), 0xFFFFFFFEu);  // saturates
    EXPECT_EQ(CaptureElapsedMs(88200), 1000u);
    EXPECT_EQ(CaptureElapsedMs(88199), 999u);
    EXPECT_EQ(CaptureElapsedMs(12853247), 145728u);
}

// The unseen frames before a still are exactly the run's frames below it, from one frame
// before the still in scene 1 and from scene 1's last frame beyond it.
TEST(CaptureCatchUp, DrawsTheRunsFramesBelowTheTarget) {
    for (int fps : {1, 4, 7, 60, 1000}) {
        for (uint32_t target : {0u, 1u, 1470u, 1471u, 88200u, 3273983u, (uint32_t)SCENE2_START,
                                3300001u, 12200000u, (uint32_t)TIMELINE_END}) {
            uint64_t end = CatchUpEndFrame(target, fps);
            uint64_t below = 0;
            while (CaptureFramePosition(0, below, fps) < target) below++;
            EXPECT_EQ(end, below) << fps << " fps, target " << target;
            uint64_t first = CatchUpFirstFrame(target, fps);
            EXPECT_LE(first, end);
            if (target <= SCENE2_START) {
                EXPECT_EQ(first, end > 0 ? end - 1 : 0) << fps << " fps, target " << target;
            } else {
                EXPECT_LT(CaptureFramePosition(0, first, fps), (uint32_t)SCENE2_START);
                EXPECT_GE(CaptureFramePosition(0, first + 1, fps), (uint32_t)SCENE2_START);
            }
        }
    }
}

TEST(CaptureArgs, Scale) {
    CaptureOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--out", "d/"}, &options, &error));
    EXPECT_EQ(options.scale, 1);
    ASSERT_TRUE(Parse({"--scale", "3", "--out", "d/"}, &options, &error)) << error;
    EXPECT_EQ(options.scale, 3);
    for (const char* bad : {"0", "5", "-1", "x"}) {
        CaptureOptions refused;
        EXPECT_FALSE(Parse({"--scale", bad, "--out", "d/"}, &refused, &error)) << bad;
    }
}
