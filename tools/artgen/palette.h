// Turns a drawn picture (premultiplied ARGB, as cairo keeps it) into a palette image.
//
// A pixel less than half covered becomes index 0, the see-through black. A pixel at
// least half covered is laid over the matte, the colour the picture will mostly be
// drawn over, so antialiased edges fade into it, then takes the nearest palette colour.
// Palette entries other than index 0 are never pure black.
#pragma once

#include <cstdint>
#include <span>

#include "indexed_image.h"

namespace artgen {

struct QuantiseRequest {
    int width = 0;
    int height = 0;
    int bits_per_pixel = 8;
    std::span<const std::uint32_t> argb;  // width * height pixels, rows from the top
    Rgb matte{};
    std::span<const Rgb> keep;  // colours the palette must hold exactly
};

IndexedImage quantise(const QuantiseRequest& request);

}  // namespace artgen
