// White flashes over scene 1 on five beats of the soundtrack.
#include "demo/demo.h"
#include "fx/flash.h"
#include "music/music.h"

// A flash runs while start <= p < end at level (p - start) / divisor + offset: cues 1 to 4
// open at alpha 0.8 (level 200), the last one fully white.
struct FlashCue {
    uint32_t start, end, divisor, offset;
};
static const FlashCue FLASH_CUES[] = {
    {869632, 1349760, 300, 200},  {1349760, 1831296, 280, 200}, {1831296, 2311296, 200, 200},
    {2311296, 2611296, 200, 200}, {2777088, 0xFFFFFFFFu, 300, 0},  // last: until FLASHES_END
};
static const uint32_t FLASHES_END = 3264512;  // nothing flashes from here to scene 2

// Every test asks the stream afresh, as the music runs on while the frame is drawn.
static uint32_t Position() { return BASS_ChannelGetPosition(MusicStream); }

void Scene1Overlay() {
    if (Position() >= FLASHES_END) return;
    for (const FlashCue& cue : FLASH_CUES)
        if (Position() >= cue.start && Position() < cue.end)
            FlashWhite((Position() - cue.start) / cue.divisor + cue.offset);
}
