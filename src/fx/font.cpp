// The caption font: glyphs compiled into display lists, printed centred, faded in and out.
#include "fx/font.h"
#include <GL/gl.h>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include "shell/shell.h"

uint32_t FontListBase = 0;
GLYPHMETRICSFLOAT GlyphMetrics[256];
const char* FontFace = "Georgia";

static void FontError(const char* reason) {
    char text[1024];
    snprintf(text, sizeof text,
             "Unable to build the caption font: %s.\n"
             "The captions need the \"%s\" Bold TrueType font or a similar serif face.",
             reason, FontFace);
    MessageBoxA(nullptr, text, "Font error", MB_OK | MB_ICONEXCLAMATION);
}

// The font object stays selected into the device context and is never deleted: the lists
// are all that is used of it. Codes 0 to 254 get lists; 255 stays empty with zero metrics.
// CHANGED ON PURPOSE: a font that cannot be built stops start-up with a message saying what
// is missing, where the demo always ran on without captions: they carry the words of the
// piece, and a demo that silently lacks them looks broken rather than different.
bool FontBuild() {
    uint32_t base = glGenLists(256);
    if (!base) {
        FontError("no display lists are available");
        return false;
    }
    HFONT font = CreateFontA(-1, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             FontFace);
    SelectObject(DeviceContext, font);
    static GLYPHMETRICSFLOAT metrics[256];
    memset(metrics, 0, sizeof metrics);
    if (!font ||
        !wglUseFontOutlinesA(DeviceContext, 0, 255, base, 0.0f, 0.0f, WGL_FONT_POLYGONS, metrics)) {
        glDeleteLists(base, 256);
        FontError(PlatformFontFailure());
        return false;
    }
    FontListBase = base;
    memcpy(GlyphMetrics, metrics, sizeof GlyphMetrics);
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
