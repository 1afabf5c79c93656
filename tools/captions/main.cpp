// captions OUT: writes the caption font's glyph triangles (fx/caption_outlines.h), outlined
// and tessellated exactly as the Linux build's wglUseFontOutlinesA does it.
#include <cstdio>
#include <vector>
#include "base/le.h"
#include "fx/caption_outlines.h"
#include "fx/font.h"
#include "platform/sdl/font_outline.h"

static void PutFloat(std::vector<uint8_t>* out, float value) {
    uint32_t bits;
    memcpy(&bits, &value, 4);
    out->resize(out->size() + 4);
    PutLe32(out->data() + out->size() - 4, bits);
}

static bool AddGlyph(std::vector<uint8_t>* out, const GlyphShape& shape) {
    size_t corners = shape.triangles.size() / 2;
    if (corners > CAPTION_MAX_CORNERS) return false;
    for (float v : {shape.advance, shape.minX, shape.minY, shape.maxX, shape.maxY})
        PutFloat(out, v);
    out->resize(out->size() + 4);
    PutLe32(out->data() + out->size() - 4, (uint32_t)corners);
    for (float v : shape.triangles) PutFloat(out, v);
    return true;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: captions OUT\n");
        return 2;
    }
    char error[700];
    if (!OutlineOpen(FontFace, true, error, sizeof error)) {
        fprintf(stderr, "captions: %s\n", error);
        return 1;
    }
    std::vector<uint8_t> out(CAPTION_HEADER_BYTES);
    memcpy(out.data(), CAPTION_SIGNATURE, 4);
    PutLe32(out.data() + 4, CAPTION_GLYPHS);
    GlyphShape shape;
    bool fits = true;
    for (int code = 0; code < CAPTION_GLYPHS && fits; code++) {
        OutlineGlyph(Cp1252ToUnicode((uint8_t)code), &shape);
        fits = AddGlyph(&out, shape);
    }
    OutlineClose();
    FILE* file = fits ? fopen(argv[1], "wb") : nullptr;
    bool written = file && fwrite(out.data(), 1, out.size(), file) == out.size();
    if (file && fclose(file) != 0) written = false;
    if (!written) {
        remove(argv[1]);
        fprintf(stderr, "captions: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
