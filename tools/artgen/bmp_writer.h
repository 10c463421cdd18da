// Device-independent bitmap files: BITMAPFILEHEADER, BITMAPINFOHEADER, full colour
// table, uncompressed rows from the bottom up, each padded to four bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "indexed_image.h"

namespace artgen {

std::vector<std::uint8_t> encode_bmp(const IndexedImage& image);

}  // namespace artgen
