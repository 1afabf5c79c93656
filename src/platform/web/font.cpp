// The caption font in the browser: CreateFontA only names the face; wglUseFontOutlinesA
// compiles the glyph triangles that the Linux build outlined at build time and the pack
// carries (fx/caption_outlines.h) into display lists shaped like those of the other builds.
#include <GL/gl.h>
#include <cstdio>
#include <cstring>
#include <vector>
#include "base/le.h"
#include "fx/caption_outlines.h"
#include "pack/tpack.h"
#include "platform/web/web.h"

struct PlatformFont {
    int unused;
};
static PlatformFont TheFont;  // every face is the one the pack carries
static HFONT Selected = nullptr;
static char Failure[160];

HFONT CreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                  const char*) {
    return &TheFont;
}

HGDIOBJ SelectObject(HDC, HGDIOBJ object) {
    HFONT previous = Selected;
    if (object) Selected = (HFONT)object;
    return previous;
}

BOOL DeleteObject(HGDIOBJ object) { return object && object != Selected; }

const char* PlatformFontFailure() { return Failure; }

static bool ReadEntry(std::vector<uint8_t>* bytes) {
    if (!PackFile.isOpen || !TPACK_Find(CAPTION_ENTRY)) return false;
    if (!PackFileHolds(PackFile.file, PackFile.entryOffset, PackFile.entrySize)) return false;
    bytes->resize((size_t)PackFile.entrySize);
    return fseek(PackFile.file, PackFile.entryOffset, SEEK_SET) == 0 &&
           fread(bytes->data(), 1, bytes->size(), PackFile.file) == bytes->size();
}

// One glyph at `at`: its list (none for 0) and metrics. False where the entry ends early or lies.
static bool CompileGlyph(const std::vector<uint8_t>& bytes, size_t* at, DWORD list,
                         GLYPHMETRICSFLOAT* metrics) {
    if (bytes.size() - *at < CAPTION_GLYPH_BYTES) return false;
    const uint8_t* p = bytes.data() + *at;
    float advance = GetLeFloat(p), minX = GetLeFloat(p + 4), minY = GetLeFloat(p + 8);
    float maxX = GetLeFloat(p + 12), maxY = GetLeFloat(p + 16);
    uint32_t corners = GetLe32(p + 20);
    *at += CAPTION_GLYPH_BYTES;
    if (corners % 3 || corners > CAPTION_MAX_CORNERS || (bytes.size() - *at) / 8 < corners)
        return false;
    if (!list) {
        *at += (size_t)corners * 8;
        return true;
    }
    glNewList(list, GL_COMPILE);
    if (corners) {
        glNormal3f(0, 0, 1);
        glBegin(GL_TRIANGLES);
        for (uint32_t i = 0; i < corners; i++, *at += 8)
            glVertex2f(GetLeFloat(bytes.data() + *at), GetLeFloat(bytes.data() + *at + 4));
        glEnd();
    }
    if (advance != 0) glTranslatef(advance, 0, 0);
    glEndList();
    if (metrics) *metrics = GLYPHMETRICSFLOAT{maxX - minX, maxY - minY, {minX, maxY}, advance, 0};
    return true;
}

BOOL wglUseFontOutlinesA(HDC, DWORD first, DWORD count, DWORD listBase, float deviation,
                         float extrusion, int format, GLYPHMETRICSFLOAT* metrics) {
    Failure[0] = '\0';
    if (!Selected || format != WGL_FONT_POLYGONS || deviation != 0 || extrusion != 0 ||
        first + count > CAPTION_GLYPHS) {
        snprintf(Failure, sizeof Failure, "the outline request is not supported");
        return FALSE;
    }
    std::vector<uint8_t> bytes;
    if (!ReadEntry(&bytes)) {
        snprintf(Failure, sizeof Failure, "the pack holds no caption outlines (%s)", CAPTION_ENTRY);
        return FALSE;
    }
    bool valid = bytes.size() >= CAPTION_HEADER_BYTES &&
                 memcmp(bytes.data(), CAPTION_SIGNATURE, 4) == 0 &&
                 GetLe32(bytes.data() + 4) == CAPTION_GLYPHS;
    size_t at = CAPTION_HEADER_BYTES;
    for (DWORD code = 0; valid && code < first + count; code++) {
        bool wanted = code >= first;
        valid = CompileGlyph(bytes, &at, wanted ? listBase + code - first : 0,
                             wanted && metrics ? &metrics[code - first] : nullptr);
    }
    if (!valid) snprintf(Failure, sizeof Failure, "the caption outlines in the pack are damaged");
    return valid ? TRUE : FALSE;
}
