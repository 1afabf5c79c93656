#include "assetgen/tga_writer.h"

#include <cstdio>
#include <cstring>

#include "base/le.h"

static void PutText(std::vector<uint8_t>& out, size_t at, const char* text) {
    std::memcpy(&out[at], text, std::strlen(text));
}

// Extension area: everything zero (no date, no gamma, no alpha) except its size,
// the software id and the attributes type, so every run writes the same bytes.
static void PutExtension(std::vector<uint8_t>& out, size_t at) {
    PutLe16(&out[at], TGA_EXTENSION_SIZE);
    PutText(out, at + 426, "Vernalis assetgen");
    PutLe16(&out[at + 467], 100);  // software version 1.00
    out[at + 494] = 0;             // attributes type: no alpha data
}

std::vector<uint8_t> EncodeTga(int width, int height, const std::vector<uint8_t>& rgb) {
    if (width < 1 || height < 1 || width > 65535 || height > 65535) return {};
    size_t pixelBytes = (size_t)width * height * 3;
    if (rgb.size() != pixelBytes) return {};
    size_t extAt = TGA_HEADER_SIZE + pixelBytes;
    std::vector<uint8_t> out(extAt + TGA_EXTENSION_SIZE + TGA_FOOTER_SIZE, 0);
    std::memcpy(&out[0], TGA_PREFIX, sizeof TGA_PREFIX);
    PutLe16(&out[TGA_WIDTH_AT], (uint32_t)width);
    PutLe16(&out[TGA_HEIGHT_AT], (uint32_t)height);
    out[TGA_BPP_AT] = 24;
    out[TGA_DESCRIPTOR_AT] = 0;  // bottom-left origin, no alpha bits
    uint8_t* dst = &out[TGA_HEADER_SIZE];
    for (int y = height - 1; y >= 0; y--) {
        const uint8_t* src = &rgb[(size_t)y * width * 3];
        for (int x = 0; x < width; x++, src += 3, dst += 3) {
            dst[0] = src[2];
            dst[1] = src[1];
            dst[2] = src[0];
        }
    }
    PutExtension(out, extAt);
    size_t footAt = extAt + TGA_EXTENSION_SIZE;
    PutLe32(&out[footAt], (uint32_t)extAt);
    PutLe32(&out[footAt + 4], 0);                   // no developer directory
    PutText(out, footAt + 8, "TRUEVISION-XFILE.");  // the terminating NUL is already there
    return out;
}

bool WriteTga(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb) {
    std::vector<uint8_t> bytes = EncodeTga(width, height, rgb);
    return !bytes.empty() && WriteFileBytes(path, bytes);
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}
