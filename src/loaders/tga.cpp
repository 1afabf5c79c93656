// TGA loader: exactly one header layout (uncompressed true colour, 24 or 32 bits, no
// image-ID field, no colour map, origin 0), pixels swapped to R,G,B(,A) in place and
// uploaded as an OpenGL texture with linear filters.
#include "loaders/tga.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>
#include "base/le.h"

#include "platform/win32.h"

// Whether `size` bytes follow the stream's position, so that a header claiming a huge
// image in a small file allocates nothing.
static bool StreamHolds(FILE* stream, uint64_t size) {
    long here = ftell(stream);
    if (here < 0 || fseek(stream, 0, SEEK_END) != 0) return false;
    long last = ftell(stream);
    if (fseek(stream, here, SEEK_SET) != 0 || last < here) return false;
    return (uint64_t)(last - here) >= size;
}

// Reads the pixels into a fresh buffer and turns B,G,R(,A) into R,G,B(,A). A reload
// drops the record's earlier buffer without freeing it: its owner may free it elsewhere.
static bool ReadPixels(Texture* texture, FILE* stream) {
    uint32_t step = texture->bpp / 8;
    uint64_t size = (uint64_t)texture->width * (uint64_t)texture->height * step;
    texture->pixels = nullptr;
    if (size > SIZE_MAX || !StreamHolds(stream, size)) return false;
    uint8_t* pixels = (uint8_t*)malloc((size_t)size);
    if (!pixels || fread(pixels, 1, (size_t)size, stream) != size) {
        free(pixels);
        return false;
    }
    for (size_t i = 0; i < size; i += step) {
        uint8_t blue = pixels[i];
        pixels[i] = pixels[i + 2];
        pixels[i + 2] = blue;
    }
    texture->pixels = pixels;
    return true;
}

static bool DecodeTga(Texture* texture, FILE* stream) {
    uint8_t header[TGA_HEADER_SIZE];
    const size_t prefix = sizeof TGA_PREFIX;
    if (fread(header, 1, prefix, stream) != prefix || memcmp(header, TGA_PREFIX, prefix) != 0)
        return false;
    if (fread(header + prefix, 1, TGA_HEADER_SIZE - prefix, stream) != TGA_HEADER_SIZE - prefix)
        return false;
    texture->width = (int32_t)GetLe16(header + TGA_WIDTH_AT);
    texture->height = (int32_t)GetLe16(header + TGA_HEIGHT_AT);
    if (texture->width == 0 || texture->height == 0) return false;
    if (header[TGA_BPP_AT] != 24 && header[TGA_BPP_AT] != 32) return false;
    texture->bpp = header[TGA_BPP_AT];
    return ReadPixels(texture, stream);
}

// Creates the texture object and leaves it bound. An image the context refuses (too
// large for it) fails like a bad file: no object, no pixels, `id` as it was. A reload
// leaves the earlier object alive: a name from an earlier context may now be another's.
static bool UploadTexture(Texture* texture) {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; i++) {
    }
    GLuint id = 0;
    glGenTextures(1, &id);
    if (id == 0) return false;  // no current context
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Rows are tightly packed: with the default 4-byte alignment the GL would read past
    // the buffer for 24-bit widths that are not a multiple of 4.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLenum format = texture->bpp == 24 ? GL_RGB : GL_RGBA;
    glTexImage2D(GL_TEXTURE_2D, 0, format, texture->width, texture->height, 0, format,
                 GL_UNSIGNED_BYTE, texture->pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &id);
        free(texture->pixels);
        texture->pixels = nullptr;
        return false;
    }
    texture->id = id;
    return true;
}

bool LoadTgaFromPack(Texture* texture, FILE* stream, int32_t offset) {
    if (!stream || offset < 0 || fseek(stream, offset, SEEK_SET) != 0) return false;
    return DecodeTga(texture, stream) && UploadTexture(texture);
}

bool LoadTgaFromFile(Texture* texture, const char* path) {
    FILE* file = PlatformOpenFile(path, "rb");
    if (!file) return false;
    bool decoded = DecodeTga(texture, file);
    fclose(file);
    return decoded && UploadTexture(texture);
}
