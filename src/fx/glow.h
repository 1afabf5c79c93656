// Additive textured sprites: flares and picture layers in front of the camera.
#pragma once
#include "loaders/tga.h"

// A unit square at (x, y, z) of the current matrix, added onto the picture weighted by alpha,
// without depth test. Afterwards: colour opaque white, texturing and blending off, depth test
// on with GL_LEQUAL, blend function back to the normal alpha blend.
void GlowSprite(const Texture* texture, float alpha, float x, float y, float z);
// The same with the square stretched downwards to `height`, its top edge staying at y + 0.5.
void GlowStrip(const Texture* texture, float alpha, float x, float y, float z, float height);
