#include <gtest/gtest.h>
#include <unistd.h>
#include "shell/shell.h"

TEST(FrameClock, StartsNearZeroAndAdvancesInMilliseconds) {
    ClockStart();
    EXPECT_TRUE(FrameClock.usesCounter);
    EXPECT_EQ(FrameClock.msStart, 0u);  // unused in counter mode
    EXPECT_NEAR(FrameClock.secondsPerTick * (double)FrameClock.frequency, 1.0, 1e-6);
    double start = ClockElapsed();
    EXPECT_GE(start, 0.0);
    EXPECT_LT(start, 50.0);
    usleep(20000);
    double later = ClockElapsed();
    EXPECT_GE(later, 20.0);
    EXPECT_GT(later, start);
}

TEST(FrameClock, OneSecondOfTicksIsAThousandMilliseconds) {
    ClockStart();
    FrameClock.counterStart -= FrameClock.frequency;  // as if started a second ago
    double elapsed = ClockElapsed();
    EXPECT_GE(elapsed, 1000.0 - 1e-3);
    EXPECT_LT(elapsed, 1050.0);
}
