// White flashes over scene 1 on five beats of the soundtrack.
#include "demo/demo.h"
#include "demo/kit.h"
#include "fx/flash.h"

// A flash runs while start <= p < end at level (p - start) / divisor + offset: cues 1 to 4
// open at alpha 0.8 (level 200), the last one fully white.
struct FlashCue {
    uint32_t start, end, divisor, offset;
};
static const FlashCue FLASH_CUES[] = {
    {CUE_FLASH1, CUE_FLASH2, 300, 200}, {CUE_FLASH2, CUE_FLASH3, 280, 200},
    {CUE_FLASH3, CUE_FLASH4, 200, 200}, {CUE_FLASH4, CUE_FLASH4_END, 200, 200},
    {CUE_FLASH5, 0xFFFFFFFFu, 300, 0},  // the last: until CUE_FLASHES_END
};

void Scene1Overlay() {
    if (StreamPos() >= CUE_FLASHES_END) return;
    for (const FlashCue& cue : FLASH_CUES)
        if (StreamPos() >= cue.start && StreamPos() < cue.end)
            FlashWhite(RisingLevel(cue.start, cue.divisor) + cue.offset);
}
