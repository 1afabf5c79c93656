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

// The count handed to the scenes wraps at 2^32 ms like any unsigned 32-bit count, with no
// undefined step at 2^31 ms.
TEST(FrameClock, MillisecondsWrapPastTwoToThe32) {
    const double two31 = 2147483648.0, two32 = 4294967296.0;
    EXPECT_EQ(FrameMilliseconds(0.9), 0u);
    EXPECT_EQ(FrameMilliseconds(two31 - 0.5), 0x7FFFFFFFu);
    EXPECT_EQ(FrameMilliseconds(two31), 0x80000000u);
    EXPECT_EQ(FrameMilliseconds(two31 + 1000.7), 0x800003E8u);
    EXPECT_EQ(FrameMilliseconds(two32 - 1.0), 0xFFFFFFFFu);
    EXPECT_EQ(FrameMilliseconds(two32), 0u);
    EXPECT_EQ(FrameMilliseconds(two32 + 1234.9), 1234u);
    EXPECT_EQ(FrameMilliseconds(3 * two32 + 7.0), 7u);

    // A clock started 2^31 ms ago (about 24.8 days) reads as such, within the single-precision
    // seconds-per-tick factor (a few parts in 10^8, so some tens of milliseconds here).
    ClockStart();
    FrameClock.counterStart -= (int64_t)(two31 / 1000.0 * (double)FrameClock.frequency);
    uint32_t ms = FrameMilliseconds(ClockElapsed());
    EXPECT_NEAR((double)ms, two31, two31 * 1e-7);
}
