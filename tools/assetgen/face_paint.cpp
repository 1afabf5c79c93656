// The dreaming face painted into the rose nebula: closed eyes, brows, lips and a blush,
// placed through the heads' own grid so they sit on the features of the mesh. The heads
// carry one normal for all faces and are never shaded: the skin has to show the face.
#include <cmath>

#include "assetgen/face_paint.h"
#include "assetgen/models.h"

// Distance from (x, y) to the arc y = cy + bend * (1 - ((x - cx) / half)^2), |x - cx| <= half,
// measured vertically (the arcs are shallow) and growing past the ends.
static float ArcDistance(float x, float y, float cx, float cy, float half, float bend) {
    float k = (x - cx) / half;
    float along = std::fabs(k) > 1.0f ? (std::fabs(k) - 1.0f) * half : 0.0f;
    float arc = cy + bend * (1.0f - std::fmin(k * k, 1.0f));
    return std::sqrt(along * along + (y - arc) * (y - arc));
}

// Opacity of a line of half-width `w` at distance d, with a soft edge.
static float Line(float d, float w) { return 1.0f - Smooth(w * 0.5f, w * 1.5f, d); }

static float Closed(float x, float y) {
    float a = 0;
    for (float side : {-1.0f, 1.0f})
        a = std::fmax(a, Line(ArcDistance(x, y, 0.3f * side, 0.09f, 0.11f, -0.035f), 0.015f));
    return a;
}

static float Brows(float x, float y) {
    float a = 0;
    for (float side : {-1.0f, 1.0f}) {
        float taper = 1.0f - 0.6f * Clamp01((x * side - 0.2f) / 0.24f);
        a = std::fmax(a,
                      taper * Line(ArcDistance(x, y, 0.31f * side, 0.23f, 0.14f, 0.035f), 0.012f));
    }
    return a;
}

// Full lips with a bow in the upper one; `seam` is the line where they meet.
static float Lips(float x, float y, float* seam) {
    float k = std::fabs(x) / 0.14f;
    *seam = 0;
    if (k >= 1.0f) return 0.0f;
    float edge = std::sqrt(1.0f - k * k);
    float bow = 0.012f * std::exp(-std::pow((std::fabs(x) - 0.035f) / 0.025f, 2.0f));
    float top = -0.46f + (0.055f + bow) * edge, bottom = -0.46f - 0.06f * edge;
    *seam = Line(std::fabs(y + 0.46f + 0.006f * (1.0f - k * k)), 0.006f) * edge;
    return Clamp01(Smooth(bottom - 0.006f, bottom + 0.006f, y) *
                   (1.0f - Smooth(top - 0.006f, top + 0.006f, y)));
}

static float Blush(float x, float y) {
    float a = 0;
    for (float side : {-1.0f, 1.0f}) {
        float dx = (x - 0.36f * side) / 0.12f, dy = (y + 0.2f) / 0.09f;
        a += std::exp(-0.5f * (dx * dx + dy * dy));
    }
    return a;
}

void PaintFaceFeatures(Image& img) {
    const Rgb lash = {0.16f, 0.02f, 0.12f}, lid = {0.55f, 0.32f, 0.62f},
              lip = {0.72f, 0.08f, 0.22f};
    for (int py = 0; py < img.height; py++) {
        for (int px = 0; px < img.width; px++) {
            float p[3];
            HeadSpherePoint((py + 0.5f) / img.height, (px + 0.5f) / img.width, p);
            if (p[2] < 0.3f) continue;  // the features all lie on the front
            float x = p[0], y = p[1], seam = 0;
            BlendPixel(img, px, py, {1.0f, 0.45f, 0.55f}, 0.35f * Blush(x, y));
            float shadow = std::exp(-0.5f * std::pow((y - 0.13f) / 0.035f, 2.0f)) *
                           (1.0f - Smooth(0.0f, 0.1f, std::fabs(std::fabs(x) - 0.3f)));
            BlendPixel(img, px, py, lid, 0.45f * shadow);
            BlendPixel(img, px, py, lip, 0.75f * Lips(x, y, &seam));
            BlendPixel(img, px, py, lash,
                       0.85f * std::fmax(seam, std::fmax(Closed(x, y), 0.7f * Brows(x, y))));
        }
    }
}
