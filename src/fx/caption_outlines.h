// The caption font's glyphs as filled triangles, made at build time by the Linux build's
// outline code (tools/captions) and carried in the web build's pack as CAPTION_ENTRY, so the
// browser draws the very triangles the Linux build draws and needs no font code of its own.
// Layout, little-endian: the signature, the glyph count, then for each code from 0 on its
// advance, black box (min x, min y, max x, max y), corner count (a multiple of 3) and the
// corners' x, y; every number a 32-bit float but the counts. Units: the em square is 1.0.
#pragma once

#define CAPTION_ENTRY "Captions.tri"
#define CAPTION_SIGNATURE "VGLY"
enum {
    CAPTION_HEADER_BYTES = 8,  // signature (4), glyph count @4
    CAPTION_GLYPH_BYTES = 24,  // advance, min x, min y, max x, max y, corner count @20
    CAPTION_GLYPHS = 255,      // codes 0 to 254, as the caption font asks for
    CAPTION_MAX_CORNERS = 3 * 4096,
};
