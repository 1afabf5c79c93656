// The caption font: one display list per character code, drawn as filled glyph polygons in
// the z = 0 plane with the em square as 1.0 unit, and the white fading caption of the scenes.
#pragma once
#include <cstdint>
#include "platform/win32.h"

extern uint32_t FontListBase;  // first of 256 lists, one per code 0..255; 0 when not built
extern GLYPHMETRICSFLOAT GlyphMetrics[256];  // codes 0..254 filled by FontBuild; 255 stays zero
extern const char* FontFace;                 // "Georgia"; where it is missing a serif stands in

// Needs the current OpenGL context and DeviceContext. Reports a font that cannot be outlined
// in a message box and returns false; nothing is left allocated then.
bool FontBuild();
void FontDelete();

// Prints the formatted text (cut at 255 characters) centred on the current origin, baseline
// 0.15 below it. The centring translation stays on the model-view matrix.
void FontPrint(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A white caption at (x, y, z) with opacity alpha percent (0 invisible, 100 opaque). Leaves the
// colour at (1, 1, 1, alpha / 100), blending and polygon smoothing off, the depth test on.
void FadeCaption(float x, float y, float z, const char* text, float alpha);
