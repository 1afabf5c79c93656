// Little-endian fields of the file formats (pack, TGA, 3DS), read and written byte by byte so
// that neither the host's byte order nor its alignment matters.
#pragma once
#include <cstdint>
#include <cstring>

inline uint32_t GetLe16(const uint8_t* p) { return p[0] | (uint32_t)p[1] << 8; }
inline uint32_t GetLe32(const uint8_t* p) { return GetLe16(p) | GetLe16(p + 2) << 16; }
inline float GetLeFloat(const uint8_t* p) {
    uint32_t bits = GetLe32(p);
    float f;
    memcpy(&f, &bits, 4);
    return f;
}

inline void PutLe16(uint8_t* p, uint32_t v) {
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
}
inline void PutLe32(uint8_t* p, uint32_t v) {
    PutLe16(p, v & 0xFFFF);
    PutLe16(p + 2, v >> 16);
}
