// Seamless surface textures: every noise lookup spans a whole number of lattice
// periods across the image, so the tube, galaxy and ground can repeat them.
#include <cmath>

#include "assetgen/face_paint.h"
#include "assetgen/textures.h"

static const float TwoPi = 6.28318531f;

// Calls fn(u, v) for every pixel centre, u and v in [0, 1), and stores the colour.
template <typename Fn>
static void PaintEach(Image& img, Fn fn) {
    for (int y = 0; y < img.height; y++)
        for (int x = 0; x < img.width; x++)
            PutPixel(img, x, y, fn((x + 0.5f) / img.width, (y + 0.5f) / img.height));
}

// Bright single-pixel stars on a hashed lattice (wraps with the image).
static void AddStars(Image& img, uint32_t seed, float density, Rgb tint) {
    for (int y = 0; y < img.height; y++) {
        for (int x = 0; x < img.width; x++) {
            uint32_t h = Hash3((uint32_t)x, (uint32_t)y, seed);
            if ((h & 0xFFFF) >= density * 65536.0f) continue;
            float b = 0.4f + 0.6f * ((h >> 16) & 0xFF) / 255.0f;
            AddPixel(img, x, y, tint, b);
            AddPixel(img, (x + 1) % img.width, y, tint, b * 0.3f);
            AddPixel(img, x, (y + 1) % img.height, tint, b * 0.3f);
        }
    }
}

void PaintBlue(Image& img) {
    PaintEach(img, [](float u, float v) {
        float n = TileFbm(u * 4, v * 4, 4, 5, 11);
        float w = TileFbm(u * 4 + 1.5f * n, v * 4 + 1.5f * n, 4, 4, 12);
        float vein = std::pow(1.0f - std::fabs(2.0f * w - 1.0f), 10.0f);
        Rgb c = MixRgb({0.01f, 0.03f, 0.16f}, {0.10f, 0.35f, 0.95f}, std::pow(n, 1.6f) * 1.4f);
        return MixRgb(c, {0.6f, 0.9f, 1.0f}, vein);
    });
}

void PaintBlue2(Image& img) {
    PaintEach(img, [](float u, float v) {
        float n = TileFbm(u * 4, v * 4, 4, 4, 21);
        float streak = 0.5f + 0.5f * std::sin(TwoPi * (6.0f * u + 1.2f * n));
        float glow = std::pow(streak, 6.0f);
        Rgb c = MixRgb({0.04f, 0.05f, 0.25f}, {0.35f, 0.55f, 1.0f}, n);
        return MixRgb(c, {0.85f, 0.75f, 1.0f}, glow * (0.4f + 0.6f * n));
    });
    AddStars(img, 22, 0.004f, {0.8f, 0.9f, 1.0f});
}

// Warm rose-and-gold nebula: reads as skin on the faces and as gas on the galaxy.
void PaintCaraTio1(Image& img) {
    PaintEach(img, [](float u, float v) {
        float q = TileFbm(u * 4, v * 4, 4, 5, 31);
        float n = TileFbm(u * 4 + 2.0f * q, v * 4 + 2.0f * q, 4, 5, 32);
        float fine = TileFbm(u * 16, v * 16, 16, 2, 33);
        Rgb deep = {0.22f, 0.06f, 0.24f}, rose = {0.92f, 0.48f, 0.55f}, gold = {1.0f, 0.86f, 0.6f};
        Rgb c = n < 0.5f ? MixRgb(deep, rose, Smooth(0.2f, 0.5f, n))
                         : MixRgb(rose, gold, Smooth(0.5f, 0.75f, n));
        return ScaleRgb(c, 0.8f + 0.35f * fine);
    });
    AddStars(img, 34, 0.003f, {1.0f, 0.95f, 0.9f});
    PaintFaceFeatures(img);
}

// Spring meadow: two greens over earth, dotted with small flowers.
void PaintGround1(Image& img) {
    PaintEach(img, [&img](float u, float v) {
        float n = TileFbm(u * 4, v * 4, 4, 5, 41);
        uint32_t grain = Hash3((uint32_t)(u * img.width), (uint32_t)(v * img.height), 44);
        float blades = TileFbm(u * 64, v * 64, 64, 1, 42);
        Rgb c = MixRgb({0.32f, 0.22f, 0.10f}, {0.18f, 0.45f, 0.12f}, Smooth(0.3f, 0.5f, n));
        c = MixRgb(c, {0.45f, 0.70f, 0.20f}, Smooth(0.55f, 0.8f, n));
        return ScaleRgb(c, 0.7f + 0.4f * blades + 0.2f * (grain & 0xFF) / 255.0f);
    });
    Rgb petals[3] = {{1.0f, 0.95f, 0.4f}, {1.0f, 1.0f, 1.0f}, {1.0f, 0.6f, 0.8f}};
    Rng rng = {43};
    for (int i = 0; i < 60; i++) {
        int x = (int)(RngFloat(rng) * img.width), y = (int)(RngFloat(rng) * img.height);
        Rgb c = petals[RngNext(rng) % 3];
        PutPixel(img, x, y, c);
        PutPixel(img, (x + 1) % img.width, y, ScaleRgb(c, 0.8f));
        PutPixel(img, x, (y + 1) % img.height, ScaleRgb(c, 0.8f));
    }
}

void PaintSky1(Image& img) {
    PaintEach(img, [](float u, float v) {
        float n = TileFbm(u * 4, v * 4, 4, 6, 51);
        float tint = TileFbm(u * 2, v * 2, 2, 2, 52);
        Rgb sky = MixRgb({0.20f, 0.42f, 0.88f}, {0.45f, 0.65f, 1.0f}, tint);
        float cloud = Smooth(0.45f, 0.72f, n);
        return MixRgb(sky, {1.0f, 0.98f, 0.96f}, cloud * 0.95f);
    });
}

// Brushed steel: one random value per row gives the horizontal grain.
void PaintMetal(Image& img) {
    for (int y = 0; y < img.height; y++) {
        float row = (Hash3((uint32_t)y, 0, 61) & 0xFFFF) / 65535.0f;
        for (int x = 0; x < img.width; x++) {
            float u = (x + 0.5f) / img.width, v = (y + 0.5f) / img.height;
            float n = TileFbm(u * 4, v * 4, 4, 3, 62);
            float band = 0.5f + 0.5f * std::sin(TwoPi * (u + v));
            float g = 0.45f + 0.12f * row + 0.15f * n + 0.2f * band * band;
            PutPixel(img, x, y, {g * 0.95f, g * 0.97f, g * 1.05f});
        }
    }
}

// Sphere map of a spring landscape: sky above the horizon, meadow below, sun.
void PaintEnv1(Image& img) {
    for (int y = 0; y < img.height; y++) {
        for (int x = 0; x < img.width; x++) {
            float nx = (x + 0.5f) / img.width * 2 - 1, ny = 1 - (y + 0.5f) / img.height * 2;
            float r2 = std::fmin(nx * nx + ny * ny, 1.0f), nz = std::sqrt(1.0f - r2);
            float rx = 2 * nz * nx, ry = 2 * nz * ny, rz = 2 * nz * nz - 1;
            Rgb c = ry >= 0 ? MixRgb({0.85f, 0.9f, 1.0f}, {0.25f, 0.45f, 0.9f}, std::sqrt(ry))
                            : MixRgb({0.5f, 0.6f, 0.35f}, {0.15f, 0.3f, 0.1f}, std::sqrt(-ry));
            float sun = rx * 0.3f + ry * 0.6f + rz * 0.74f;
            c = MixRgb(c, {1.0f, 0.95f, 0.8f}, std::pow(Clamp01(sun), 40.0f));
            PutPixel(img, x, y, c);
        }
    }
}

void AddBlossom(Image& img, float cx, float cy, float radius, float turn) {
    int reach = (int)radius + 2;
    for (int y = (int)cy - reach; y <= (int)cy + reach; y++) {
        for (int x = (int)cx - reach; x <= (int)cx + reach; x++) {
            float dx = x + 0.5f - cx, dy = y + 0.5f - cy, d = std::sqrt(dx * dx + dy * dy);
            float edge =
                radius * (0.55f + 0.45f * std::fabs(std::cos(2.5f * (std::atan2(dy, dx) + turn))));
            float a = Smooth(edge + 1.0f, edge - 1.0f, d);
            if (a <= 0) continue;
            Rgb c = MixRgb({0.85f, 0.25f, 0.5f}, {1.0f, 0.82f, 0.9f}, Smooth(0, radius * 0.6f, d));
            if (d < radius * 0.18f) c = {1.0f, 0.85f, 0.3f};
            BlendPixel(img, x, y, c, a);
        }
    }
}

// Five-petal blossoms on a pale spring gradient.
void PaintSpring(Image& img) {
    PaintEach(img, [](float, float v) {
        return MixRgb({0.6f, 0.8f, 1.0f}, {0.7f, 0.9f, 0.55f}, v);
    });
    Rng rng = {71};
    for (int i = 0; i < 14; i++) {
        float x = RngRange(rng, 20, 236), y = RngRange(rng, 20, 200), r = RngRange(rng, 12, 26);
        AddBlossom(img, x, y, r, RngRange(rng, 0, TwoPi));
    }
}
