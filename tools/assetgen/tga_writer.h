// Uncompressed 24-bit TGA files as the texture loader accepts them, plus a helper
// for writing any byte buffer to disk.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "loaders/tga.h"  // the header layout

// Size of the TGA 2.0 extension area and of the footer written behind the pixels.
enum { TGA_EXTENSION_SIZE = 495, TGA_FOOTER_SIZE = 26 };

// `rgb` holds width * height pixels, rows top to bottom, R, G, B per pixel. The file
// stores them B, G, R with the bottom row first (descriptor 0), then the extension
// area and the footer. Returns an empty buffer for sizes outside 1..65535 or a
// pixel buffer of the wrong length.
std::vector<uint8_t> EncodeTga(int width, int height, const std::vector<uint8_t>& rgb);
bool WriteTga(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
