// PNG output: 8-bit RGB, rows top first.
#include <png.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include "capture/capture.h"

bool WritePng(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height,
              std::string* error) {
    if (rgb.size() != (size_t)width * height * 3) {
        *error = "internal: frame size mismatch";
        return false;
    }
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) {
        *error = "cannot write " + path + ": " + strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(file);
        *error = "cannot encode " + path;
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, (png_uint_32)width, (png_uint_32)height, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    for (int y = 0; y < height; y++) png_write_row(png, rgb.data() + (size_t)y * width * 3);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    bool flushed = fflush(file) == 0 && !ferror(file);
    if (fclose(file) != 0 || !flushed) {
        *error = "cannot write " + path + ": " + strerror(errno);
        return false;
    }
    return true;
}

uint64_t FrameChecksum(const std::vector<uint8_t>& rgb) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (uint8_t byte : rgb) hash = (hash ^ byte) * 0x100000001b3ull;
    return hash;
}
