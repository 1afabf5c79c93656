// The cue sheet: every named moment of the demo as a stream position, in bytes of the decoded
// soundtrack (16-bit mono at 44.1 kHz). The timeline, the scenes, the capture tool and the
// score all read their cues from here, so moving a cue is one edit.
#pragma once
#include <cstdint>

enum : uint32_t {
    STREAM_BYTES_PER_SECOND = 88200,
    STREAM_BYTES_PER_SAMPLE = 2,

    // Scene 1: the five captions, the five white flashes, the fades.
    CUE_TITLE_END = 870352,      // "Vernalis" shows until here
    CUE_LOVE = 1348864,          // "Love" shows after this; the fade in from black ends here
    CUE_DEVOTION = 1801472,      // "Love" ends, "Devotion" follows
    CUE_DEVOTION_END = 2297856,
    CUE_FEELING = 2301184,
    CUE_EMOTION = 2763520,       // "Feeling" ends, "Emotion" follows
    CUE_FLASH1 = 869632,
    CUE_FLASH2 = 1349760,
    CUE_FLASH3 = 1831296,
    CUE_FLASH4 = 2311296,
    CUE_FLASH4_END = 2611296,
    CUE_FLASH5 = 2777088,        // the last flash, fully white, runs until CUE_FLASHES_END
    CUE_SCENE1_FADE_OUT = 3073984,
    CUE_FLASHES_END = 3264512,   // nothing flashes from here to scene 2

    SCENE2_START = 3273984,
    CUE_SCENE2_WHITE_OUT = 5019338,
    SCENE3_START = 5199338,
    CUE_LIFE = 6159488,          // the particle burst window opens, the life captions start
    CUE_LIFE_BURST_END = 6161488,
    CUE_SCENE3_FADE_OUT = 6945792,
    SCENE4_START = 7123328,
    CUE_FINAL_BURST = 9046784,   // last particle burst, respawn off, fade to white
    SCENE5_START = 9517852,
    CUE_SCENE5_FADE_OUT = 10821632,
    SCENE6_START = 10960128,
    CUE_SCENE6_WHITE_OUT = 11854848,
    SCENE7_START = 11922416,
    CUE_SCENE7_FADE_OUT = 12685312,
    TIMELINE_END = 12853248,
};

// A cue as a sample index of the soundtrack (the score is written in samples).
constexpr int32_t CueSample(uint32_t cue) { return (int32_t)(cue / STREAM_BYTES_PER_SAMPLE); }
