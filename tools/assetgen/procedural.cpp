#include "assetgen/procedural.h"

#include <cmath>

uint32_t RngNext(Rng& rng) {
    uint32_t x = rng.state ? rng.state : 0x9E3779B9u;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    rng.state = x;
    return x;
}

float RngFloat(Rng& rng) { return (RngNext(rng) >> 8) * (1.0f / 16777216.0f); }

float RngRange(Rng& rng, float lo, float hi) { return lo + (hi - lo) * RngFloat(rng); }

uint32_t Hash3(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

static float Lattice(int x, int y, int period, uint32_t seed) {
    int px = ((x % period) + period) % period;
    int py = ((y % period) + period) % period;
    return (Hash3((uint32_t)px, (uint32_t)py, seed) >> 8) * (1.0f / 16777215.0f);
}

float TileNoise(float x, float y, int period, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = (int)fx, iy = (int)fy;
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3.0f - 2.0f * tx);
    ty = ty * ty * (3.0f - 2.0f * ty);
    float a = Lattice(ix, iy, period, seed), b = Lattice(ix + 1, iy, period, seed);
    float c = Lattice(ix, iy + 1, period, seed), d = Lattice(ix + 1, iy + 1, period, seed);
    return Mix(Mix(a, b, tx), Mix(c, d, tx), ty);
}

float TileFbm(float x, float y, int period, int octaves, uint32_t seed) {
    float sum = 0.0f, weight = 0.5f, total = 0.0f;
    for (int i = 0; i < octaves; i++) {
        sum += weight * TileNoise(x, y, period, seed + (uint32_t)i * 101u);
        total += weight;
        x *= 2.0f;
        y *= 2.0f;
        period *= 2;
        weight *= 0.5f;
    }
    return sum / total;
}

float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

float Smooth(float e0, float e1, float x) {
    float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

float Mix(float a, float b, float t) { return a + (b - a) * t; }

Rgb MixRgb(Rgb a, Rgb b, float t) { return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t)}; }

Rgb ScaleRgb(Rgb c, float k) { return {c.r * k, c.g * k, c.b * k}; }

Image MakeImage(int width, int height) {
    Image img;
    img.width = width;
    img.height = height;
    img.rgb.assign((size_t)width * height * 3, 0);
    return img;
}

static uint8_t ToByte(float v) { return (uint8_t)std::lround(Clamp01(v) * 255.0f); }

void PutPixel(Image& img, int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= img.width || y >= img.height) return;
    uint8_t* p = &img.rgb[((size_t)y * img.width + x) * 3];
    p[0] = ToByte(c.r);
    p[1] = ToByte(c.g);
    p[2] = ToByte(c.b);
}

void AddPixel(Image& img, int x, int y, Rgb c, float a) {
    if (x < 0 || y < 0 || x >= img.width || y >= img.height) return;
    uint8_t* p = &img.rgb[((size_t)y * img.width + x) * 3];
    p[0] = ToByte(p[0] / 255.0f + c.r * a);
    p[1] = ToByte(p[1] / 255.0f + c.g * a);
    p[2] = ToByte(p[2] / 255.0f + c.b * a);
}

void BlendPixel(Image& img, int x, int y, Rgb c, float a) {
    if (x < 0 || y < 0 || x >= img.width || y >= img.height) return;
    uint8_t* p = &img.rgb[((size_t)y * img.width + x) * 3];
    p[0] = ToByte(Mix(p[0] / 255.0f, c.r, a));
    p[1] = ToByte(Mix(p[1] / 255.0f, c.g, a));
    p[2] = ToByte(Mix(p[2] / 255.0f, c.b, a));
}

void AddGlow(Image& img, float cx, float cy, float radius, Rgb c, float strength) {
    int reach = (int)std::ceil(radius * 3.0f);
    for (int y = (int)cy - reach; y <= (int)cy + reach; y++) {
        for (int x = (int)cx - reach; x <= (int)cx + reach; x++) {
            float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            float a = strength * std::exp(-(dx * dx + dy * dy) / (2.0f * radius * radius));
            if (a > 0.002f) AddPixel(img, x, y, c, a);
        }
    }
}
