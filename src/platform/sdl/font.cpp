// The caption font's Win32 calls on Linux: CreateFontA only names the face, and
// wglUseFontOutlinesA outlines it with FreeType into display lists shaped like those of
// Windows: filled triangles in the z = 0 plane, em square 1.0, then a step by the advance.
#include <GL/gl.h>
#include <cstdio>
#include <cstring>
#include "platform/platform_testing.h"
#include "platform/sdl/font_outline.h"

struct PlatformFont {
    char face[32];  // LF_FACESIZE, as Windows keeps it
    bool bold;
    PlatformFont* next;
};

// Like GDI objects, a font lives until it is deleted or the process ends: every one made is
// kept on this list (a caller that never deletes its font leaks nothing the leak checker sees).
static PlatformFont* Fonts = nullptr;

// One selection for the process: the stand-in device context is the window, and tests
// outline fonts with or without one.
static HFONT Selected = nullptr;
static char Failure[700];

HFONT CreateFontA(int, int, int, int, int weight, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                  DWORD, const char* face) {
    HFONT font = new PlatformFont{};
    snprintf(font->face, sizeof font->face, "%s", face ? face : "");
    font->bold = weight >= FW_BOLD;
    font->next = Fonts;
    Fonts = font;
    return font;
}

HGDIOBJ SelectObject(HDC, HGDIOBJ object) {
    HFONT previous = Selected;
    if (object) Selected = (HFONT)object;
    return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
    if (!object || object == Selected) return FALSE;  // a selected object stays, as on Windows
    for (PlatformFont** link = &Fonts; *link; link = &(*link)->next) {
        if (*link != (HFONT)object) continue;
        *link = (*link)->next;
        delete (HFONT)object;
        return TRUE;
    }
    return FALSE;
}

const char* PlatformFontFailure() { return Failure; }

static void CompileGlyph(DWORD list, const GlyphShape& shape) {
    glNewList(list, GL_COMPILE);
    if (!shape.triangles.empty()) {
        glNormal3f(0, 0, 1);
        glBegin(GL_TRIANGLES);
        for (size_t i = 0; i < shape.triangles.size(); i += 2)
            glVertex2f(shape.triangles[i], shape.triangles[i + 1]);
        glEnd();
    }
    if (shape.advance != 0) glTranslatef(shape.advance, 0, 0);
    glEndList();
}

// Character codes are Windows-1252, the ANSI code page of the font's character set.
BOOL wglUseFontOutlinesA(HDC, DWORD first, DWORD count, DWORD listBase, float deviation,
                         float extrusion, int format, GLYPHMETRICSFLOAT* metrics) {
    Failure[0] = '\0';
    if (!Selected || format != WGL_FONT_POLYGONS || deviation != 0 || extrusion != 0 ||
        first + count > 256) {
        snprintf(Failure, sizeof Failure, "the outline request is not supported");
        return FALSE;
    }
    if (!OutlineOpen(Selected->face, Selected->bold, Failure, sizeof Failure)) return FALSE;
    GlyphShape shape;
    for (DWORD code = first; code < first + count; code++) {
        OutlineGlyph(Cp1252ToUnicode((uint8_t)code), &shape);
        CompileGlyph(listBase + code - first, shape);
        if (!metrics) continue;
        GLYPHMETRICSFLOAT& m = metrics[code - first];
        m.gmfBlackBoxX = shape.maxX - shape.minX;
        m.gmfBlackBoxY = shape.maxY - shape.minY;
        m.gmfptGlyphOrigin = {shape.minX, shape.maxY};
        m.gmfCellIncX = shape.advance;
        m.gmfCellIncY = 0;
    }
    OutlineClose();
    return TRUE;
}
