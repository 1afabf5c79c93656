// The pack's images: names, sizes and the painter of each, and the step that writes
// them all as TGA files.
#pragma once
#include <string>

#include "assetgen/procedural.h"

struct TextureEntry {
    const char* name;
    int width;
    int height;
    void (*paint)(Image& img);
};

// In pack order; "spring.tga" is the image that nothing looks up.
extern const TextureEntry TextureTable[];
extern const int TextureCount;

Image PaintTexture(const TextureEntry& entry);
// Writes every image of the table into `dir`; false on the first file that fails.
bool WriteTextures(const std::string& dir);

// The painter of every image the list names: the seamless tiles are in textures_tiles.cpp,
// the pictures on black for the additive sprites and the lettered images in
// textures_sprites.cpp.
#define PACK_TEXTURE(name, width, height, painter) void painter(Image& img);
#include "assetgen/assets.def"

// A five-petal blossom, pink deepening to the centre around a gold heart, painted over
// what is there.
void AddBlossom(Image& img, float cx, float cy, float radius, float turn);

// The lines of the credits strip, top to bottom: top edge (pixel row), letter width in
// pixels per font pixel, text. The strip is shown three times squeezed across, so the
// letters are drawn CREDITS_STRETCH times taller than wide to look square on screen.
struct CreditLine {
    float y, scale;
    const char* text;
};
extern const CreditLine CreditLines[];
extern const int CreditLineCount;
static const float CREDITS_STRETCH = 4.0f / 3.0f;
