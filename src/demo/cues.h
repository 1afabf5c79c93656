// The cue sheet: every named moment of the demo as a stream position, in bytes of the decoded
// soundtrack (16-bit mono at 44.1 kHz). The timeline, the scenes, the capture tool and the
// score all read their cues from here, so moving a cue is one edit.
#pragma once
#include <cstdint>

constexpr uint32_t STREAM_BYTES_PER_SECOND = 88200;
constexpr uint32_t STREAM_BYTES_PER_SAMPLE = 2;

// Scene 1: the five captions, the five white flashes, the fades.
constexpr uint32_t CUE_TITLE_END = 870352;  // "Vernalis" shows until here
constexpr uint32_t CUE_LOVE = 1348864;      // "Love" follows; the fade in ends
constexpr uint32_t CUE_DEVOTION = 1801472;  // "Love" ends, "Devotion" follows
constexpr uint32_t CUE_DEVOTION_END = 2297856;
constexpr uint32_t CUE_FEELING = 2301184;
constexpr uint32_t CUE_EMOTION = 2763520;  // "Feeling" ends, "Emotion" follows
constexpr uint32_t CUE_FLASH1 = 869632;
constexpr uint32_t CUE_FLASH2 = 1349760;
constexpr uint32_t CUE_FLASH3 = 1831296;
constexpr uint32_t CUE_FLASH4 = 2311296;
constexpr uint32_t CUE_FLASH4_END = 2611296;
constexpr uint32_t CUE_FLASH5 = 2777088;  // fully white, until CUE_FLASHES_END
constexpr uint32_t CUE_SCENE1_FADE_OUT = 3073984;
constexpr uint32_t CUE_FLASHES_END = 3264512;  // nothing flashes from here to scene 2

constexpr uint32_t SCENE2_START = 3273984;
constexpr uint32_t CUE_SCENE2_WHITE_OUT = 5019338;
constexpr uint32_t SCENE3_START = 5199338;
constexpr uint32_t CUE_LIFE = 6159488;  // burst window opens, life captions
constexpr uint32_t CUE_LIFE_BURST_END = 6161488;
constexpr uint32_t CUE_SCENE3_FADE_OUT = 6945792;
constexpr uint32_t SCENE4_START = 7123328;
constexpr uint32_t CUE_FINAL_BURST = 9046784;  // last particle burst, respawn off, fade to white
constexpr uint32_t SCENE5_START = 9517852;
constexpr uint32_t CUE_SCENE5_FADE_OUT = 10821632;
constexpr uint32_t SCENE6_START = 10960128;
constexpr uint32_t CUE_SCENE6_WHITE_OUT = 11854848;
constexpr uint32_t SCENE7_START = 11922416;
constexpr uint32_t CUE_SCENE7_FADE_OUT = 12685312;
constexpr uint32_t TIMELINE_END = 12853248;

// Where each of the seven scenes starts, and where the last one ends.
constexpr uint32_t SCENE_STARTS[8] = {
    0,           SCENE2_START, SCENE3_START, SCENE4_START, SCENE5_START, SCENE6_START, SCENE7_START,
    TIMELINE_END};

// A cue as a sample index of the soundtrack (the score is written in samples).
constexpr int32_t CueSample(uint32_t cue) { return (int32_t)(cue / STREAM_BYTES_PER_SAMPLE); }
