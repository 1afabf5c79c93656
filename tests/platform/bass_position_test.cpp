// The reported position is the sample being heard: it trails the blocks handed to the device
// by what the device holds ahead of them, glides smoothly, never passes what was delivered,
// and wraps on loop when the wrap is heard.
#include <gtest/gtest.h>
#include "platform/bass_internal.h"

namespace {

const int64_t BLOCK_NS = 1024LL * 1000000000 / 44100;

// A mono stream of `frames`, with block [from, to) handed at `startNs`.
BassChannel Channel(uint32_t frames, bool loop, uint64_t from, uint64_t to, int64_t startNs,
                    uint64_t lag) {
    BassChannel c{};
    c.handle = 1;
    c.pcm.frames = frames;
    c.pcm.channels = 1;
    c.pcm.rate = 44100;
    c.playing = true;
    c.loop = loop;
    c.rampFrom = from;
    c.rampTo = to;
    c.rampStartNs = startNs;
    c.rampLenNs = BLOCK_NS;
    c.lagFrames = lag;
    return c;
}

}  // namespace

TEST(BassPosition, TrailsTheHandedBlockByWhatTheDeviceHolds) {
    BassChannel c = Channel(441000, false, 10240, 11264, 0, 1024);
    EXPECT_EQ(BassPositionNow(BassRampOf(c), 0), 2u * (10240 - 1024));
    EXPECT_EQ(BassPositionNow(BassRampOf(c), BLOCK_NS / 2), 2u * (10752 - 1024));
    EXPECT_EQ(BassPositionNow(BassRampOf(c), BLOCK_NS), 2u * (11264 - 1024));
    EXPECT_EQ(BassPositionNow(BassRampOf(c), 10 * BLOCK_NS),
              2u * (11264 - 1024));  // no block came: holds
    EXPECT_EQ(BassPositionDelivered(BassRampOf(c)), 2u * 11264);

    // The first block is not heard before the device's own buffer has played out.
    BassChannel start = Channel(441000, false, 0, 1024, 0, 1024);
    EXPECT_EQ(BassPositionNow(BassRampOf(start), BLOCK_NS / 2), 0u);
    EXPECT_EQ(BassPositionNow(BassRampOf(start), BLOCK_NS), 0u);
}

// Blocks handed on time, early and late: the position never goes back and never passes what
// was delivered.
TEST(BassPosition, MonotonicAcrossBlocks) {
    const int64_t handed[] = {0,
                              BLOCK_NS,
                              2 * BLOCK_NS - BLOCK_NS / 3,
                              3 * BLOCK_NS + BLOCK_NS / 2,
                              4 * BLOCK_NS,
                              4 * BLOCK_NS + BLOCK_NS / 4};
    DWORD last = 0;
    for (int k = 0; k < 6; k++) {
        BassChannel c = Channel(441000, false, 1024u * k, 1024u * (k + 1), handed[k], 2048);
        int64_t until = k < 5 ? handed[k + 1] : handed[k] + 2 * BLOCK_NS;
        for (int64_t t = handed[k]; t < until; t += BLOCK_NS / 16) {
            DWORD pos = BassPositionNow(BassRampOf(c), t);
            EXPECT_GE(pos, last) << k;
            EXPECT_LE(pos, BassPositionDelivered(BassRampOf(c)));
            last = pos;
        }
    }
}

// Delivery wraps to the start first; the position wraps once the end has been heard.
TEST(BassPosition, WrapsOnLoopWhenHeard) {
    BassChannel c = Channel(44100, true, 43600, 44624, 0, 1024);
    EXPECT_EQ(BassPositionDelivered(BassRampOf(c)), 2u * 524);
    EXPECT_EQ(BassPositionNow(BassRampOf(c), 0), 2u * (43600 - 1024));
    EXPECT_EQ(BassPositionNow(BassRampOf(c), BLOCK_NS), 2u * 43600);
    BassChannel later = Channel(44100, true, 45136, 46160, 0, 1024);
    EXPECT_EQ(BassPositionNow(BassRampOf(later), 0), 2u * (45136 - 1024 - 44100));
}
