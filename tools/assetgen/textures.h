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
// Pictures on black for the additive sprites, and the lettered images (textures_sprites.cpp).
void PaintParticle(Image& img);
void PaintBigFlare(Image& img);
void PaintPictra1(Image& img);
void PaintPictra2(Image& img);
void PaintPictra3(Image& img);
void PaintPictra4(Image& img);
void PaintCredits(Image& img);
void PaintHidden(Image& img);
