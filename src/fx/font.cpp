// The caption font: glyphs compiled into display lists, printed centred, faded in and out.
#include "fx/font.h"
#include <GL/gl.h>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include "fx/font_outline.h"
#include "platform/win32.h"

uint32_t FontListBase = 0;
GLYPHMETRICSFLOAT GlyphMetrics[256];
const char* FontFace = "Georgia";
const char* FontFileOverride = nullptr;
char FontFile[512];

static void FontError(const char* reason) {
    char text[1024];
    snprintf(text, sizeof text,
             "Unable to build the caption font: %s.\n"
             "The captions need the \"%s\" Bold TrueType font or a similar serif face.",
             reason, FontFace);
    MessageBoxA(nullptr, text, "Font error", MB_OK | MB_ICONEXCLAMATION);
}

// One glyph: its triangles, then a step to where the next glyph starts.
static void CompileGlyph(uint32_t list, const GlyphShape& shape) {
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

bool FontBuild() {
    char reason[700];
    if (!OutlineOpen(reason, sizeof reason)) {
        FontError(reason);
        return false;
    }
    FontListBase = glGenLists(256);
    if (!FontListBase) {
        OutlineClose();
        FontError("no display lists are available");
        return false;
    }
    memset(GlyphMetrics, 0, sizeof GlyphMetrics);
    GlyphShape shape;
    for (int code = 0; code < 255; code++) {
        OutlineGlyph(Cp1252ToUnicode((uint8_t)code), &shape);
        CompileGlyph(FontListBase + code, shape);
        GLYPHMETRICSFLOAT& m = GlyphMetrics[code];
        m.gmfBlackBoxX = shape.maxX - shape.minX;
        m.gmfBlackBoxY = shape.maxY - shape.minY;
        m.gmfptGlyphOrigin = {shape.minX, shape.maxY};
        m.gmfCellIncX = shape.advance;
    }
    OutlineClose();
    return true;
}

void FontDelete() {
    if (FontListBase) glDeleteLists(FontListBase, 256);
    FontListBase = 0;
    memset(GlyphMetrics, 0, sizeof GlyphMetrics);
}

void FontPrint(const char* format, ...) {
    if (!format) return;
    char text[256];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    size_t length = strlen(text);
    float width = 0;
    for (size_t i = 0; i < length; i++) width += GlyphMetrics[(uint8_t)text[i]].gmfCellIncX;
    glTranslatef(-width / 2, -0.15f, 0);
    glPushAttrib(GL_LIST_BIT);
    glDisable(GL_DEPTH_TEST);
    glListBase(FontListBase);
    if (FontListBase) glCallLists((GLsizei)length, GL_UNSIGNED_BYTE, text);
    glEnable(GL_DEPTH_TEST);
    glPopAttrib();
}

void FadeCaption(float x, float y, float z, const char* text, float alpha) {
    glPushMatrix();
    glEnable(GL_BLEND);
    glEnable(GL_POLYGON_SMOOTH);
    glDisable(GL_DEPTH_TEST);
    glTranslatef(x, y, z);
    glColor4f(1, 1, 1, alpha / 100);
    FontPrint("%s", text ? text : "");
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_POLYGON_SMOOTH);
    glDisable(GL_BLEND);
    glPopMatrix();
}
