// Uncompressed true-colour TGA images into OpenGL textures.
#pragma once
#include <cstdint>
#include <cstdio>

// The one header layout the loader accepts and assetgen writes: a fixed 12-byte prefix
// (uncompressed true colour, no image-ID field, no colour map, origin 0), then the 16-bit
// width and height, the bits per pixel and the descriptor.
inline constexpr uint8_t TGA_PREFIX[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
enum {
    TGA_WIDTH_AT = 12,
    TGA_HEIGHT_AT = 14,
    TGA_BPP_AT = 16,
    TGA_DESCRIPTOR_AT = 17,
    TGA_HEADER_SIZE = 18
};

typedef uint32_t TextureId;  // an OpenGL texture name

struct Texture {
    uint8_t* pixels;  // decoded R,G,B(,A), rows in file order; freed by the scene that loaded it
    uint32_t bpp;     // 24 or 32
    int32_t width;
    int32_t height;
    TextureId id;
};

// Both need a current OpenGL context and leave the new texture bound; neither shows a message.
// `pixels` comes from malloc (release it with free). Loading a record again replaces
// `pixels` and `id` without releasing the earlier buffer or texture object.
bool LoadTgaFromPack(Texture* texture, FILE* stream, int32_t offset);
bool LoadTgaFromFile(Texture* texture, const char* path);
