// Full-view translucent overlays for music-cued white flashes and black fades.
#pragma once
#include <cstdint>

// Level 0 is opaque, 1000 transparent; above 1000 (a "negative" level wraps to a huge one) the
// alpha goes below 0 and the colour pipeline clamps it away.
float FlashAlpha(uint32_t level);

// Expect the frame's identity modelview. Leave the depth test on, blending off and the quad's
// colour current; set no blend function, texture, lighting or culling state.
void FlashWhite(uint32_t level);
void FadeBlack(uint32_t level);
