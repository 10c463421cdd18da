#include "bmp_file.h"

#include <stdexcept>
#include <string>

namespace artgen::test {
namespace {

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint32_t u32(std::size_t at) const { return u16(at) | std::uint32_t{u16(at + 2)} << 16; }
    std::uint16_t u16(std::size_t at) const {
        need(at, 2);
        return static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
    }
    std::uint8_t u8(std::size_t at) const {
        need(at, 1);
        return bytes_[at];
    }

private:
    void need(std::size_t at, std::size_t count) const {
        if (at > bytes_.size() || count > bytes_.size() - at)
            throw std::runtime_error("bitmap truncated at byte " + std::to_string(at));
    }
    std::span<const std::uint8_t> bytes_;
};

void expect(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(std::string("bad bitmap: ") + what);
}

}  // namespace

BmpFile read_bmp(std::span<const std::uint8_t> bytes) {
    const Reader in(bytes);
    expect(in.u8(0) == 'B' && in.u8(1) == 'M', "signature");
    expect(in.u32(2) == bytes.size(), "file size field");
    expect(in.u32(14) == 40, "info header size");

    BmpFile bmp;
    const auto width = static_cast<std::int32_t>(in.u32(18));
    const auto height = static_cast<std::int32_t>(in.u32(22));
    expect(width > 0 && width <= 4096, "width");
    expect(height > 0 && height <= 4096, "height (rows must run bottom-up)");
    bmp.width = width;
    bmp.height = height;
    expect(in.u16(26) == 1, "planes");
    bmp.bits_per_pixel = in.u16(28);
    expect(bmp.bits_per_pixel == 8 || bmp.bits_per_pixel == 4, "bits per pixel");
    expect(in.u32(30) == 0, "compression");

    const std::uint32_t colours = 1u << bmp.bits_per_pixel;
    expect(in.u32(46) == colours, "colours used: the table must be full");
    const std::uint32_t row_bytes = ((static_cast<std::uint32_t>(width) * bmp.bits_per_pixel + 31) / 32) * 4;
    expect(in.u32(10) == 14 + 40 + 4 * colours, "pixel offset");
    expect(in.u32(34) == row_bytes * static_cast<std::uint32_t>(height), "image size field");
    expect(bytes.size() == 14 + 40 + 4 * colours + row_bytes * static_cast<std::uint32_t>(height), "length");

    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::size_t at = 54 + 4 * i;
        bmp.palette.push_back({in.u8(at + 2), in.u8(at + 1), in.u8(at)});
    }
    bmp.indices.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const std::size_t row = 54 + 4 * colours + static_cast<std::size_t>(height - 1 - y) * row_bytes;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t index = bmp.bits_per_pixel == 8
                                           ? in.u8(row + x)
                                           : static_cast<std::uint8_t>(in.u8(row + x / 2) >> (x % 2 ? 0 : 4) & 0x0f);
            bmp.indices[static_cast<std::size_t>(y) * width + x] = index;
        }
    }
    return bmp;
}

}  // namespace artgen::test
