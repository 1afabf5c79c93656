// Small procedural toolkit shared by the texture, model and music generators:
// a deterministic random source, tiling value noise and an RGB image to paint into.
#pragma once
#include <cstdint>
#include <vector>

// xorshift32: the same numbers on every run and every platform (no libc rand).
struct Rng {
    uint32_t state;
};
uint32_t RngNext(Rng& rng);
float RngFloat(Rng& rng);  // [0, 1)
float RngRange(Rng& rng, float lo, float hi);

uint32_t Hash3(uint32_t x, uint32_t y, uint32_t seed);

// Value noise in [0, 1] on a lattice that repeats every `period` cells, so a texture
// sampled over exactly `period` cells tiles seamlessly.
float TileNoise(float x, float y, int period, uint32_t seed);
// Sum of octaves, each doubling the frequency (and the period) and halving the weight.
float TileFbm(float x, float y, int period, int octaves, uint32_t seed);

float Clamp01(float v);
float Smooth(float e0, float e1, float x);
float Mix(float a, float b, float t);

struct Rgb {
    float r, g, b;
};
Rgb MixRgb(Rgb a, Rgb b, float t);
Rgb ScaleRgb(Rgb c, float k);

// RGB image, rows top to bottom, 3 bytes per pixel.
struct Image {
    int width;
    int height;
    std::vector<uint8_t> rgb;
};
Image MakeImage(int width, int height);
void PutPixel(Image& img, int x, int y, Rgb c);             // overwrite, clamped to 0..1
void AddPixel(Image& img, int x, int y, Rgb c, float a);    // additive, saturating
void BlendPixel(Image& img, int x, int y, Rgb c, float a);  // c over the pixel at opacity a
// Adds a soft round spot: alpha falls off as a Gaussian of the distance to (cx, cy).
void AddGlow(Image& img, float cx, float cy, float radius, Rgb c, float strength);
