// A palette image as the bitmap resources hold it: index 0 is see-through black.
#pragma once

#include <cstdint>
#include <vector>

#include "colour.h"

namespace artgen {

struct IndexedImage {
    int width = 0;
    int height = 0;
    int bits_per_pixel = 8;            // 8 or 4
    std::vector<Rgb> palette;          // exactly 1 << bits_per_pixel entries
    std::vector<std::uint8_t> pixels;  // row by row from the top, one index per pixel

    std::uint8_t index_at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    Rgb colour_at(int x, int y) const { return palette[index_at(x, y)]; }
};

}  // namespace artgen
