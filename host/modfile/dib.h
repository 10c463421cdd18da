// Device-independent bitmaps as modules carry them (and BMP files).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "byte_reader.h"

namespace modfile {

inline constexpr int kMaxBitmapSide = 4096;

struct Image {
  int width = 0, height = 0, bits_per_pixel = 0;
  std::vector<uint32_t> rgb;  // 0x00RRGGBB, row-major, top row first
};

struct BitmapSize {
  int width = 0, height = 0, bits_per_pixel = 0;
};

// Uncompressed 1, 4, 8, 24 and 32 bits per pixel, bottom-up or top-down, at
// most 4096 pixels a side; a leading BMP file header is allowed. Both check
// that every pixel row is present. Throws FormatError, its message starting
// with `what`.
BitmapSize read_bitmap_size(std::span<const uint8_t> bytes, const std::string& what = "bitmap");
Image decode_dib(std::span<const uint8_t> bytes, const std::string& what = "bitmap");

}  // namespace modfile
