#include "bmp_writer.h"

#include <stdexcept>

namespace artgen {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace

std::vector<std::uint8_t> encode_bmp(const IndexedImage& image) {
    const int bpp = image.bits_per_pixel;
    if ((bpp != 8 && bpp != 4) || image.width <= 0 || image.height <= 0 ||
        image.palette.size() != (std::size_t{1} << bpp) ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
        throw std::invalid_argument("encode_bmp: inconsistent image");

    const std::uint32_t colours = 1u << bpp;
    const std::uint32_t row_bytes = ((static_cast<std::uint32_t>(image.width) * bpp + 31) / 32) * 4;
    const std::uint32_t pixel_bytes = row_bytes * static_cast<std::uint32_t>(image.height);
    const std::uint32_t pixel_offset = kFileHeaderSize + kInfoHeaderSize + 4 * colours;

    std::vector<std::uint8_t> out;
    out.reserve(pixel_offset + pixel_bytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, pixel_offset + pixel_bytes);
    put32(out, 0);
    put32(out, pixel_offset);

    put32(out, kInfoHeaderSize);
    put32(out, static_cast<std::uint32_t>(image.width));
    put32(out, static_cast<std::uint32_t>(image.height));  // positive: bottom-up rows
    put16(out, 1);
    put16(out, static_cast<std::uint16_t>(bpp));
    put32(out, 0);  // BI_RGB
    put32(out, pixel_bytes);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, colours);
    put32(out, 0);

    for (const Rgb colour : image.palette) {
        out.push_back(colour.b);
        out.push_back(colour.g);
        out.push_back(colour.r);
        out.push_back(0);
    }

    for (int y = image.height - 1; y >= 0; --y) {
        const std::size_t row_start = out.size();
        if (bpp == 8) {
            for (int x = 0; x < image.width; ++x) out.push_back(image.index_at(x, y));
        } else {
            for (int x = 0; x < image.width; x += 2) {
                const int high = image.index_at(x, y) & 0x0f;
                const int low = x + 1 < image.width ? image.index_at(x + 1, y) & 0x0f : 0;
                out.push_back(static_cast<std::uint8_t>(high << 4 | low));
            }
        }
        out.resize(row_start + row_bytes, 0);
    }
    return out;
}

}  // namespace artgen
