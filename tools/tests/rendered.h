// Each module's bitmaps drawn once per test run, as file bytes and read back.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "bmp_file.h"

namespace artgen::test {

struct RenderedBitmap {
    std::uint16_t id;
    std::vector<std::uint8_t> bytes;
    BmpFile bmp;
};

const std::vector<RenderedBitmap>& rendered_module(std::string_view module);

// Fails the calling test (by throwing) when the module has no such bitmap.
const BmpFile& rendered_bitmap(std::string_view module, std::uint16_t id);

int count_see_through(const BmpFile& bmp);

}  // namespace artgen::test
