// A tiny 5x7 bitmap font for lettering generated images: capitals (small letters draw as
// capitals), digits and a little punctuation; '#' draws a heart. Anything else is a blank.
#pragma once
#include "assetgen/procedural.h"

enum { FONT_GLYPH_W = 5, FONT_GLYPH_H = 7, FONT_ADVANCE = 6 };

// True when `c` draws something or is a space: text made only of such characters
// loses no letter.
bool FontHasGlyph(char c);
// Width in pixels of `text` drawn `sx` pixels per font pixel across.
float TextWidth(const char* text, float sx);
// Draws `text` with its top-left corner at (x, y), each font pixel an sx by sy box
// (fractional sizes are anti-aliased by coverage), adding colour with a soft halo so
// the letters stay smooth when the image is magnified.
void DrawTextSized(Image& img, float x, float y, float sx, float sy, const char* text, Rgb color);
// Centred across the image, on a whole pixel.
void DrawTextCentered(Image& img, float y, float sx, float sy, const char* text, Rgb color);
