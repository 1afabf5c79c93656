// Glyph outlines for the caption font: the face comes from fontconfig, its outlines from
// FreeType; curves are flattened and the GLU tessellator cuts the shapes into triangles.
// Units: the em square is 1.0.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

typedef std::array<double, 3> OutlinePoint;  // x, y, z = 0, as the tessellator takes them
extern const double CURVE_TOLERANCE;         // em; the most a chord strays from its curve

struct GlyphShape {
    std::vector<float> triangles;  // x, y per corner, three corners per triangle, counter-clockwise
    float advance;                 // horizontal cell increment
    float minX, minY, maxX, maxY;  // black box; all 0 for an empty glyph
};

// Finds and opens the face (FontFileOverride, else the best match for `face` at the weight)
// and fills FontFile on success. False with a reason in `error` when no usable outline font
// is there.
bool OutlineOpen(const char* face, bool bold, char* error, size_t errorSize);
// The glyph of a Unicode character; an empty shape with no advance where the face has none.
void OutlineGlyph(uint32_t unicode, GlyphShape* shape);
void OutlineClose();

// Appends the points after p[0] of the quadratic (degree 2) or cubic (3) Bezier curve with
// control points p[0..degree], joined by chords within CURVE_TOLERANCE of the curve.
void FlattenBezier(const OutlinePoint* p, int degree, std::vector<OutlinePoint>* out);

// The Unicode character of a Windows-1252 code; 0 for the five codes it leaves undefined.
uint32_t Cp1252ToUnicode(uint8_t code);
