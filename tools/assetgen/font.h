// A tiny 5x7 bitmap font for lettering generated images (upper case, digits and a
// little punctuation; anything else draws as a blank).
#pragma once
#include "assetgen/procedural.h"

enum { FONT_GLYPH_W = 5, FONT_GLYPH_H = 7, FONT_ADVANCE = 6 };

// Width in pixels of `text` drawn at `scale` (each font pixel becomes scale x scale).
int TextWidth(const char* text, int scale);
// Draws `text` with its top-left corner at (x, y), adding colour with a soft halo so
// enlarged letters stay smooth when the image is magnified.
void DrawText(Image& img, int x, int y, int scale, const char* text, Rgb color);
void DrawTextCentered(Image& img, int y, int scale, const char* text, Rgb color);
