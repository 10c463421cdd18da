// Device-independent bitmaps as modules carry them (and BMP files).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "byte_reader.h"

namespace modfile {

struct Image {
  int width = 0, height = 0, bits_per_pixel = 0;
  std::vector<uint32_t> rgb;  // 0x00RRGGBB, row-major, top row first
};

// Uncompressed 1, 4, 8, 24 and 32 bits per pixel, bottom-up or top-down; a
// leading BMP file header is skipped. Throws FormatError.
Image decode_dib(std::span<const uint8_t> bytes);

}  // namespace modfile
