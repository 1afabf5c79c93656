// Glyph outlines: fontconfig finds the face, FreeType reads its outlines in font units, curves
// become short chords and the GLU tessellator fills the contours with the non-zero rule (the
// rule TrueType and CFF outlines are drawn with, so overlapping contours stay filled).
#include "platform/sdl/font_outline.h"
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <GL/glu.h>
#include <array>
#include <cmath>
#include <cstdio>
#include <deque>
#include "platform/platform_testing.h"

// A third of a pixel for a caption 1.5 units from the camera, far less at the usual 6 units.
const double CURVE_TOLERANCE = 0.0005;
static const int CURVE_MAX_STEPS = 64;

typedef OutlinePoint Point;

struct Contours {
    std::vector<Point> points;
    std::vector<size_t> starts;  // index of each contour's first point
    double scale;                // em per font unit
};

struct TessOutput {
    std::deque<Point> extra;  // vertices made where edges cross; a deque keeps them in place
    std::vector<float>* triangles;
    bool failed;
};

static FT_Library Library;
static FT_Face Face;
static GLUtesselator* Tess;
static FT_Pos EmboldenUnits;  // synthetic bold strength, 0 when the face is bold already

static const uint16_t Cp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020,
                                        0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,
                                        0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D,
                                        0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A,
                                        0x0153, 0,      0x017E, 0x0178};

uint32_t Cp1252ToUnicode(uint8_t code) {
    return code >= 0x80 && code < 0xA0 ? Cp1252High[code - 0x80] : code;
}

// The file of the best match for the face at the weight; "serif" follows it so that a serif face
// stands in where it is missing. Fontconfig asks for synthetic bold when the match is regular.
static bool FindFontFile(const char* face, bool bold, char* path, size_t size, int* index,
                         bool* embolden) {
    if (!FcInit()) return false;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, (const FcChar8*)face);
    FcPatternAddString(pattern, FC_FAMILY, (const FcChar8*)"serif");
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    FcChar8* file = nullptr;
    bool found = match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
    if (found) {
        snprintf(path, size, "%s", (const char*)file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
        FcBool synthetic = FcFalse;
        FcPatternGetBool(match, FC_EMBOLDEN, 0, &synthetic);
        *embolden = synthetic;
    }
    if (match) FcPatternDestroy(match);
    return found;
}

static void TessVertex(void* vertex, void* data) {
    const double* p = (const double*)vertex;
    std::vector<float>* out = ((TessOutput*)data)->triangles;
    out->push_back((float)p[0]);
    out->push_back((float)p[1]);
}

static void TessCombine(GLdouble coords[3], void**, GLfloat*, void** vertex, void* data) {
    TessOutput* output = (TessOutput*)data;
    output->extra.push_back({coords[0], coords[1], coords[2]});
    *vertex = output->extra.back().data();
}

static void TessError(GLenum, void* data) { ((TessOutput*)data)->failed = true; }
// Its presence alone makes the tessellator emit separate triangles, never fans or strips.
static void TessEdgeFlag(GLboolean, void*) {}

static bool TessOpen() {
    Tess = gluNewTess();
    if (!Tess) return false;
    gluTessCallback(Tess, GLU_TESS_VERTEX_DATA, (_GLUfuncptr)TessVertex);
    gluTessCallback(Tess, GLU_TESS_COMBINE_DATA, (_GLUfuncptr)TessCombine);
    gluTessCallback(Tess, GLU_TESS_ERROR_DATA, (_GLUfuncptr)TessError);
    gluTessCallback(Tess, GLU_TESS_EDGE_FLAG_DATA, (_GLUfuncptr)TessEdgeFlag);
    gluTessProperty(Tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(Tess, 0, 0, 1);  // triangles come out counter-clockwise seen from +z
    return true;
}

static bool LoadFace(const char* path, int index, char* error, size_t errorSize) {
    if (FT_Init_FreeType(&Library)) {
        Library = nullptr;
        snprintf(error, errorSize, "the font library could not start");
    } else if (FT_New_Face(Library, path, index, &Face)) {
        Face = nullptr;
        snprintf(error, errorSize, "\"%s\" cannot be opened as a font", path);
    } else if (!FT_IS_SCALABLE(Face) || Face->units_per_EM == 0) {
        snprintf(error, errorSize, "\"%s\" has no glyph outlines", path);
    } else if (!TessOpen()) {
        snprintf(error, errorSize, "no polygon tessellator is available");
    } else {
        return true;
    }
    return false;
}

bool OutlineOpen(const char* face, bool bold, char* error, size_t errorSize) {
    int index = 0;
    bool embolden = false;
    char path[sizeof FontFile];
    if (FontFileOverride) {
        snprintf(path, sizeof path, "%s", FontFileOverride);
    } else if (!FindFontFile(face, bold, path, sizeof path, &index, &embolden)) {
        snprintf(error, errorSize, "no font is installed");
        return false;
    }
    if (!LoadFace(path, index, error, errorSize)) {
        OutlineClose();
        return false;
    }
    FT_Select_Charmap(Face, FT_ENCODING_UNICODE);  // kept as opened where the face has none
    EmboldenUnits = embolden ? Face->units_per_EM / 24 : 0;
    snprintf(FontFile, sizeof FontFile, "%s", path);
    return true;
}

void OutlineClose() {
    if (Tess) gluDeleteTess(Tess);
    if (Face) FT_Done_Face(Face);
    if (Library) FT_Done_FreeType(Library);
    Tess = nullptr;
    Face = nullptr;
    Library = nullptr;
}

// --- Flattening: FreeType hands over lines, conic and cubic Bezier segments ---------------

static Point ToEm(const FT_Vector* v, const Contours* c) {
    return {v->x * c->scale, v->y * c->scale, 0.0};
}

static double Length(const Point& p) { return std::sqrt(p[0] * p[0] + p[1] * p[1]); }

static Point Mix(const Point& a, const Point& b, double t) {
    return {a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, 0.0};
}

// Chords of parameter length h stay within h^2 * B / 8 of a curve whose second derivative is
// at most B = degree * (degree - 1) * (largest second difference of the control points).
void FlattenBezier(const Point* p, int degree, std::vector<Point>* out) {
    double diff = 0;
    for (int i = 0; i + 2 <= degree; i++)
        diff = std::fmax(diff, Length({p[i][0] - 2 * p[i + 1][0] + p[i + 2][0],
                                       p[i][1] - 2 * p[i + 1][1] + p[i + 2][1], 0.0}));
    int steps = (int)std::ceil(std::sqrt(degree * (degree - 1) * diff / (8 * CURVE_TOLERANCE)));
    steps = steps < 1 ? 1 : steps > CURVE_MAX_STEPS ? CURVE_MAX_STEPS : steps;
    for (int s = 1; s <= steps; s++) {
        Point q[4];
        for (int i = 0; i <= degree; i++) q[i] = p[i];
        for (int r = degree; r > 0; r--)  // de Casteljau
            for (int i = 0; i < r; i++) q[i] = Mix(q[i], q[i + 1], (double)s / steps);
        out->push_back(q[0]);
    }
}

// Each contour ends back on its first point; the tessellator closes contours itself.
static void CloseContour(Contours* c) {
    if (c->starts.empty()) return;
    size_t first = c->starts.back();
    if (c->points.size() - first > 1 && c->points.back() == c->points[first]) c->points.pop_back();
}

static int MoveTo(const FT_Vector* to, void* user) {
    Contours* c = (Contours*)user;
    CloseContour(c);
    c->starts.push_back(c->points.size());
    c->points.push_back(ToEm(to, c));
    return 0;
}

static int LineTo(const FT_Vector* to, void* user) {
    Contours* c = (Contours*)user;
    c->points.push_back(ToEm(to, c));
    return 0;
}

static int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    Contours* c = (Contours*)user;
    Point p[3] = {c->points.back(), ToEm(control, c), ToEm(to, c)};
    FlattenBezier(p, 2, &c->points);
    return 0;
}

static int CubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to,
                   void* user) {
    Contours* c = (Contours*)user;
    Point p[4] = {c->points.back(), ToEm(control1, c), ToEm(control2, c), ToEm(to, c)};
    FlattenBezier(p, 3, &c->points);
    return 0;
}

// --- Glyphs ----------------------------------------------------------------------------

static void Tessellate(Contours* c, std::vector<float>* triangles) {
    TessOutput output;
    output.triangles = triangles;
    output.failed = false;
    c->starts.push_back(c->points.size());
    gluTessBeginPolygon(Tess, &output);
    for (size_t k = 0; k + 1 < c->starts.size(); k++) {
        size_t first = c->starts[k], end = c->starts[k + 1];
        if (end - first < 3) continue;
        gluTessBeginContour(Tess);
        for (size_t i = first; i < end; i++)
            gluTessVertex(Tess, c->points[i].data(), c->points[i].data());
        gluTessEndContour(Tess);
    }
    gluTessEndPolygon(Tess);
    if (output.failed || triangles->size() % 6) triangles->clear();
}

static void BlackBox(const Contours& c, GlyphShape* shape) {
    if (shape->triangles.empty()) return;
    shape->minX = shape->maxX = (float)c.points[0][0];
    shape->minY = shape->maxY = (float)c.points[0][1];
    for (const Point& p : c.points) {
        shape->minX = std::fmin(shape->minX, (float)p[0]);
        shape->maxX = std::fmax(shape->maxX, (float)p[0]);
        shape->minY = std::fmin(shape->minY, (float)p[1]);
        shape->maxY = std::fmax(shape->maxY, (float)p[1]);
    }
}

void OutlineGlyph(uint32_t unicode, GlyphShape* shape) {
    shape->triangles.clear();
    shape->advance = shape->minX = shape->minY = shape->maxX = shape->maxY = 0;
    FT_UInt glyph = unicode && Face ? FT_Get_Char_Index(Face, unicode) : 0;
    if (!glyph || FT_Load_Glyph(Face, glyph, FT_LOAD_NO_SCALE)) return;
    FT_GlyphSlot slot = Face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return;
    if (EmboldenUnits) FT_Outline_Embolden(&slot->outline, EmboldenUnits);
    Contours contours;
    contours.scale = 1.0 / Face->units_per_EM;
    shape->advance = (float)((slot->metrics.horiAdvance + EmboldenUnits) * contours.scale);
    static const FT_Outline_Funcs funcs = {MoveTo, LineTo, ConicTo, CubicTo, 0, 0};
    if (FT_Outline_Decompose(&slot->outline, &funcs, &contours)) return;
    CloseContour(&contours);
    Tessellate(&contours, &shape->triangles);
    BlackBox(contours, shape);
}
