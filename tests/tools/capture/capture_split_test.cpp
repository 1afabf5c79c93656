// Where a run is cut for two processes: only where each part draws exactly its share of the
// one-process run's frames, at that run's positions, which are also a run from 0's.
#include <gtest/gtest.h>
#include <unistd.h>
#include <cstdlib>
#include "capture/capture.h"

static CaptureOptions RunOf(uint32_t from, uint32_t to, int fps, const char* out) {
    CaptureOptions options;
    options.from = from;
    options.to = to;
    options.fps = fps;
    options.out = out;
    return options;
}

// The parts' frames, one after the other, are the run's frames, and each lies on the grid of
// a run from 0.
static void ExpectPartsAreTheRun(const CaptureOptions& run, uint64_t cut) {
    uint64_t total = CaptureFrameCount(run);
    ASSERT_GT(cut, 0u);
    ASSERT_LT(cut, total);
    CaptureOptions second = run;
    second.from = CaptureFramePosition(run.from, cut, run.fps);
    ASSERT_EQ(CaptureFrameCount(second), total - cut);
    for (uint64_t k = 0; k < total - cut; k++)
        ASSERT_EQ(CaptureFramePosition(second.from, k, run.fps),
                  CaptureFramePosition(run.from, cut + k, run.fps));
    CaptureOptions first = run;
    first.to = CaptureFramePosition(run.from, cut - 1, run.fps);
    EXPECT_EQ(CaptureFrameCount(first), cut);
}

TEST(CaptureSplit, LongRunsAreCutWhereBothPartsKeepTheirFrames) {
    if (sysconf(_SC_NPROCESSORS_ONLN) < 2) GTEST_SKIP() << "one core: runs are never split";
    unsetenv("VERNALIS_CAPTURE_PROCESSES");
    for (int fps : {60, 4, 8, 7}) {
        CaptureOptions whole = RunOf(0, TIMELINE_END - 1, fps, "demo.mp4");
        ExpectPartsAreTheRun(whole, SplitFrame(whole, CaptureFrameCount(whole)));
    }
    // From a position of the grid of 60 frames a second, into checksums.
    CaptureOptions late = RunOf(1470 * 3000, TIMELINE_END - 1, 60, "late.sums");
    ExpectPartsAreTheRun(late, SplitFrame(late, CaptureFrameCount(late)));
}

TEST(CaptureSplit, OtherRunsStayInOneProcess) {
    unsetenv("VERNALIS_CAPTURE_PROCESSES");
    const CaptureOptions single[] = {
        RunOf(0, 19 * STREAM_BYTES_PER_SECOND, 60, "short.mp4"),  // too short to pay
        RunOf(0, TIMELINE_END - 1, 60, "frames/"),                // stills are written one by one
        RunOf(1000, TIMELINE_END - 1, 60, "off.mp4"),             // off the grid of a run from 0
    };
    for (const CaptureOptions& run : single)
        EXPECT_EQ(SplitFrame(run, CaptureFrameCount(run)), 0u) << run.out;
    setenv("VERNALIS_CAPTURE_PROCESSES", "1", 1);
    CaptureOptions whole = RunOf(0, TIMELINE_END - 1, 60, "demo.mp4");
    EXPECT_EQ(SplitFrame(whole, CaptureFrameCount(whole)), 0u);
    unsetenv("VERNALIS_CAPTURE_PROCESSES");
}
