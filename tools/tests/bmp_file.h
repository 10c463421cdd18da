// Reads back the bitmap files that artgen writes, checking every header field it relies on.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "colour.h"

namespace artgen::test {

struct BmpFile {
    int width = 0;
    int height = 0;
    int bits_per_pixel = 0;
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> indices;  // rows from the top

    std::uint8_t index_at(int x, int y) const { return indices[static_cast<std::size_t>(y) * width + x]; }
    Rgb colour_at(int x, int y) const { return palette[index_at(x, y)]; }
    bool see_through(int x, int y) const { return index_at(x, y) == 0; }
};

// Throws std::runtime_error naming the first field that is wrong or out of bounds.
BmpFile read_bmp(std::span<const std::uint8_t> bytes);

}  // namespace artgen::test
