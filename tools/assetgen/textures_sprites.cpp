// Pictures for the additive sprites: bright shapes on pure black (black adds nothing),
// fading out before the border so the square of the sprite never shows.
#include <cmath>

#include "assetgen/font.h"
#include "assetgen/textures.h"

static const float TwoPi = 6.28318531f;

struct Polar {
    float d, angle;
};

static Polar ToPolar(const Image& img, int x, int y) {
    float dx = x + 0.5f - img.width * 0.5f, dy = img.height * 0.5f - (y + 0.5f);
    return {std::sqrt(dx * dx + dy * dy), std::atan2(dy, dx)};
}

// Hundreds of particles pile up where the fountain is reborn; every texel that is not
// exactly black adds up to white there, so the sprite is black beyond a small radius and
// the pile stays a small round spark instead of a square.
void PaintParticle(Image& img) {
    for (int y = 0; y < img.height; y++) {
        for (int x = 0; x < img.width; x++) {
            float d = ToPolar(img, x, y).d;
            float a = (std::exp(-d * d / 50.0f) * 0.9f + std::exp(-d * d / 162.0f) * 0.3f) *
                      Smooth(18.0f, 9.0f, d);
            PutPixel(img, x, y, ScaleRgb({1.0f, 0.93f, 0.82f}, a));
        }
    }
}

void PaintBigFlare(Image& img) {
    float rayAngle[14], rayLength[14];
    Rng rng = {101};
    for (int k = 0; k < 14; k++) {
        rayAngle[k] = RngRange(rng, 0, TwoPi);
        rayLength[k] = RngRange(rng, 25, 75);
    }
    for (int y = 0; y < img.height; y++) {
        for (int x = 0; x < img.width; x++) {
            Polar p = ToPolar(img, x, y);
            float rays = 0;
            for (int k = 0; k < 14; k++) {
                float c = std::cos(p.angle - rayAngle[k]);
                if (c > 0.99f) rays += std::pow(c, 1500.0f) * std::exp(-p.d / rayLength[k]);
            }
            // Drawn a third of a unit from the eye, the middle fifth of the image fills the
            // view: a small hot core and a quick falloff keep the picture behind it visible.
            float core = std::exp(-p.d * p.d / 32.0f), glow = 0.7f * std::exp(-p.d / 13.0f);
            float halo = std::exp(-p.d / 60.0f) * 0.14f;
            float ring = 0.16f * std::exp(-(p.d - 82) * (p.d - 82) / 12.0f);
            float ringShift = Clamp01((p.d - 78) / 8.0f);
            Rgb c = {core + 0.9f * glow + 0.8f * rays + 0.7f * halo + ring * ringShift,
                     core + 0.75f * glow + 0.75f * rays + 0.75f * halo + ring * 0.7f,
                     core + 0.5f * glow + 0.65f * rays + 1.0f * halo + ring * (1 - ringShift)};
            PutPixel(img, x, y, ScaleRgb(c, Smooth(127.0f, 100.0f, p.d)));
        }
    }
}

// An eight-petal blossom, gold at the heart, pink petals with pale tips.
void PaintPictra1(Image& img) {
    for (int y = 0; y < img.height; y++) {
        for (int x = 0; x < img.width; x++) {
            Polar p = ToPolar(img, x, y);
            float edge =
                100.0f * (0.3f + 0.7f * std::pow(std::fabs(std::cos(4.0f * p.angle)), 0.7f));
            float t = p.d / edge;
            Rgb c = MixRgb({1.0f, 0.8f, 0.3f}, {1.0f, 0.45f, 0.7f}, Smooth(0.1f, 0.4f, t));
            c = MixRgb(c, {1.0f, 0.9f, 0.95f}, Smooth(0.6f, 1.0f, t));
            float vein = 0.85f + 0.15f * std::cos(p.angle * 48.0f);
            PutPixel(img, x, y, ScaleRgb(c, Smooth(1.0f, 0.9f, t) * vein));
        }
    }
    AddGlow(img, 128, 128, 40, {1.0f, 0.7f, 0.5f}, 0.25f);
}

// A crescent moon among stars.
void PaintPictra2(Image& img) {
    for (int y = 0; y < img.height; y++) {
        for (int x = 0; x < img.width; x++) {
            float ax = x - 120.0f, ay = y - 132.0f, bx = x - 148.0f, by = y - 112.0f;
            float inA = Smooth(64, 62, std::sqrt(ax * ax + ay * ay));
            float outB = Smooth(54, 56, std::sqrt(bx * bx + by * by));
            float shade = 0.75f + 0.25f * Clamp01(-(ax + ay) / 90.0f);
            PutPixel(img, x, y, ScaleRgb({1.0f, 0.95f, 0.78f}, inA * outB * shade));
        }
    }
    AddGlow(img, 105, 148, 38, {0.9f, 0.85f, 0.6f}, 0.18f);
    Rng rng = {111};
    for (int i = 0; i < 45; i++) {
        float x = RngRange(rng, 16, 240), y = RngRange(rng, 16, 240);
        float r = RngRange(rng, 0.6f, 1.6f);
        if ((x - 120) * (x - 120) + (y - 132) * (y - 132) < 70 * 70) continue;  // not on the moon
        AddGlow(img, x, y, r, {0.85f, 0.9f, 1.0f}, RngRange(rng, 0.5f, 1.0f));
    }
}

// A sunflower head: seeds on the golden angle, gold inside, green at the rim.
void PaintPictra3(Image& img) {
    AddGlow(img, 128, 128, 45, {1.0f, 0.6f, 0.2f}, 0.3f);
    const int seeds = 520;
    for (int i = 1; i <= seeds; i++) {
        float t = (float)i / seeds, r = 5.0f * std::sqrt((float)i), a = i * 2.3999632f;
        Rgb c = MixRgb({1.0f, 0.85f, 0.3f}, {1.0f, 0.45f, 0.1f}, Smooth(0.0f, 0.75f, t));
        if (t > 0.8f) c = MixRgb(c, {0.45f, 0.9f, 0.3f}, Smooth(0.8f, 0.95f, t));
        AddGlow(img, 128 + r * std::cos(a), 128 + r * std::sin(a), 1.0f + 1.6f * t, c, 0.9f);
    }
}

// A butterfly traced along the butterfly curve, its colour cycling violet to cyan.
static void ButterflyPoint(float th, float& x, float& y) {
    float rho = std::exp(std::sin(th)) - 2.0f * std::cos(4.0f * th) +
                std::pow(std::sin((2.0f * th - 3.14159265f) / 24.0f), 5.0f);
    x = std::sin(th) * rho;
    y = std::cos(th) * rho;
}

void PaintPictra4(Image& img) {
    const int steps = 6000;
    const float turns = 12.0f * 3.14159265f;
    float lo[2] = {1e9f, 1e9f}, hi[2] = {-1e9f, -1e9f};
    for (int i = 0; i < steps; i++) {
        float p[2];
        ButterflyPoint(turns * i / steps, p[0], p[1]);
        for (int k = 0; k < 2; k++) lo[k] = std::fmin(lo[k], p[k]), hi[k] = std::fmax(hi[k], p[k]);
    }
    float scale = 200.0f / std::fmax(hi[0] - lo[0], hi[1] - lo[1]);
    for (int i = 0; i < steps; i++) {
        float th = turns * i / steps, px, py;
        ButterflyPoint(th, px, py);
        float x = 128 + (px - 0.5f * (lo[0] + hi[0])) * scale;
        float y = 128 - (py - 0.5f * (lo[1] + hi[1])) * scale;
        Rgb c = MixRgb({0.7f, 0.3f, 1.0f}, {0.3f, 0.85f, 1.0f}, 0.5f + 0.5f * std::sin(th * 0.5f));
        AddGlow(img, x, y, 1.4f, c, 0.22f);
    }
}

// Rows are timed to the scroll: the title clears the opening flash low in the view, and
// the closing words sit in the view when the picture starts fading to black.
const CreditLine CreditLines[] = {
    {140, 4.0f, "VERNALIS"},
    {190, 2.0f, "A SPRING DEMO"},
    {270, 2.5f, "MADE WITH"},
    {305, 1.75f, "C++17  SDL2"},
    {331, 1.75f, "OPENGL/MESA  GLU"},
    {357, 1.75f, "LIBMPG123  FREETYPE"},
    {383, 1.75f, "LAME  FFMPEG"},
    {455, 2.5f, "GROWN FROM CODE"},
    {490, 1.75f, "PROCEDURAL PICTURES"},
    {516, 1.75f, "PARAMETRIC MODELS"},
    {542, 1.75f, "A SYNTHESIZED SCORE"},
    {610, 2.5f, "GREETINGS"},
    {645, 1.75f, "TO DEMO MAKERS"},
    {671, 1.75f, "EVERYWHERE"},
    {697, 1.75f, "TO EVERYONE WHO"},
    {723, 1.75f, "DREAMS OF SPRING"},
    {749, 1.75f, "AND TO YOU"},
    {825, 3.5f, "THE END"},
    {895, 3.0f, "#"},
};
const int CreditLineCount = (int)(sizeof(CreditLines) / sizeof(CreditLines[0]));

void PaintCredits(Image& img) {
    for (int i = 0; i < CreditLineCount; i++) {
        const CreditLine& line = CreditLines[i];
        Rgb color = line.text[0] == '#' ? Rgb{1.0f, 0.7f, 0.82f} : Rgb{1, 1, 1};
        DrawTextCentered(img, line.y, line.scale, line.scale * CREDITS_STRETCH, line.text, color);
    }
}

// The hidden page rises slowly and only a band about 140 rows high shows at a time, from
// the top rows when the flash clears to rows 70 to 208 when the fade begins, and only
// columns 18 to 238: the heart and its words sit in that band, the blossoms frame it.
static const float HeartX = 128, HeartY = 128, HeartR = 56;

static bool InHeart(float px, float py) {
    float hx = (px - HeartX) / HeartR, hy = (HeartY - py) / HeartR, s = hx * hx + hy * hy - 1;
    return s * s * s - hx * hx * hy * hy * hy <= 0;
}

static void PaintHeart(Image& img) {
    for (int y = (int)(HeartY - 1.3f * HeartR); y <= (int)(HeartY + 1.1f * HeartR); y++) {
        for (int x = (int)(HeartX - 1.2f * HeartR); x <= (int)(HeartX + 1.2f * HeartR); x++) {
            int hits = 0;  // 4 x 4 samples per pixel smooth the outline
            for (int k = 0; k < 16; k++)
                hits += InHeart(x + (k % 4 + 0.5f) / 4, y + (k / 4 + 0.5f) / 4);
            float hy = (HeartY - (y + 0.5f)) / HeartR;
            Rgb c = MixRgb({1.0f, 0.35f, 0.5f}, {0.7f, 0.04f, 0.18f}, Clamp01(0.5f - hy * 0.5f));
            PutPixel(img, x, y, ScaleRgb(c, hits / 16.0f));
        }
    }
    AddGlow(img, HeartX, HeartY - 8, 36, {1.0f, 0.3f, 0.45f}, 0.25f);
}

// Darkens the image wherever `mask` is lit: the words come out as holes in the heart, so
// they stay apart from the white credits that scroll behind.
static void CutOut(Image& img, const Image& mask) {
    for (size_t i = 0; i < img.rgb.size(); i += 3) {
        float keep = 1.0f - mask.rgb[i] / 255.0f;
        for (int k = 0; k < 3; k++) img.rgb[i + k] = (uint8_t)(img.rgb[i + k] * keep + 0.5f);
    }
}

void PaintHidden(Image& img) {
    PaintHeart(img);
    Image words = MakeImage(img.width, img.height);
    DrawTextCentered(words, 92, 3, 3, "SPRING", {1, 1, 1});
    DrawTextCentered(words, 122, 2, 2, "IS LOVE", {1, 1, 1});
    CutOut(img, words);
    static const float blossoms[][3] = {
        {34, 78, 13},  {222, 84, 12},  {46, 122, 10}, {212, 130, 11},
        {34, 164, 12}, {220, 176, 13}, {70, 190, 9},  {188, 196, 9},
    };
    for (int i = 0; i < 8; i++)
        AddBlossom(img, blossoms[i][0], blossoms[i][1], blossoms[i][2], i * 0.7f);
    Rgb gold = {1.0f, 0.78f, 0.35f};
    DrawTextCentered(img, 12, 3, 3, "YOU FOUND", gold);
    DrawTextCentered(img, 40, 2, 2, "THE HIDDEN PAGE", gold);
}
