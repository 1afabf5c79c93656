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

// Seamless tiles (textures_tiles.cpp).
void PaintBlue(Image& img);
void PaintBlue2(Image& img);
void PaintCaraTio1(Image& img);
void PaintGround1(Image& img);
void PaintSky1(Image& img);
void PaintMetal(Image& img);
void PaintEnv1(Image& img);
void PaintSpring(Image& img);
// A five-petal blossom, pink deepening to the centre around a gold heart, painted over
// what is there.
void AddBlossom(Image& img, float cx, float cy, float radius, float turn);
// Pictures on black for the additive sprites, and the lettered images (textures_sprites.cpp).
void PaintParticle(Image& img);
void PaintBigFlare(Image& img);
void PaintPictra1(Image& img);
void PaintPictra2(Image& img);
void PaintPictra3(Image& img);
void PaintPictra4(Image& img);
void PaintCredits(Image& img);
void PaintHidden(Image& img);

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
