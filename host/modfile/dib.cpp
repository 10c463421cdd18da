#include "dib.h"

#include <cstdlib>

namespace modfile {

namespace {
constexpr int32_t kMaxSide = 4096;
}

Image decode_dib(std::span<const uint8_t> bytes) {
  if (bytes.size() >= 14 && bytes[0] == 'B' && bytes[1] == 'M') bytes = bytes.subspan(14);
  const ByteReader dib(bytes, "bitmap");
  const uint32_t header_size = dib.u32(0, "bitmap header");
  if (header_size < 40 || header_size > bytes.size()) throw FormatError("bitmap: unknown header size " + std::to_string(header_size));
  const auto width = int32_t(dib.u32(4, "bitmap width"));
  const auto raw_height = int32_t(dib.u32(8, "bitmap height"));
  const uint16_t bits = dib.u16(14, "bits per pixel");
  const uint32_t compression = dib.u32(16, "compression");
  if (compression != 0) throw FormatError("bitmap: compressed bitmaps are not read");
  if (width <= 0 || width > kMaxSide || raw_height == 0 || raw_height == INT32_MIN || std::abs(raw_height) > kMaxSide) {
    throw FormatError("bitmap: absurd size " + std::to_string(width) + " x " + std::to_string(raw_height));
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
    throw FormatError("bitmap: " + std::to_string(bits) + " bits per pixel are not read");
  }
  const bool bottom_up = raw_height > 0;
  const int height = std::abs(raw_height);
  uint32_t colours = bits <= 8 ? dib.u32(32, "palette size") : 0;
  if (bits <= 8 && (colours == 0 || colours > (1u << bits))) colours = 1u << bits;
  std::vector<uint32_t> palette(colours);
  for (uint32_t i = 0; i < colours; ++i) palette[i] = dib.u32(header_size + 4 * i, "palette") & 0xFFFFFFu;

  const uint64_t stride = ((uint64_t(width) * bits + 31) / 32) * 4;
  const uint64_t pixels = header_size + 4ull * colours;
  dib.need(pixels, stride * uint64_t(height), "pixel data");

  Image image{width, height, bits, std::vector<uint32_t>(size_t(width) * size_t(height))};
  for (int y = 0; y < height; ++y) {
    const uint64_t row = pixels + stride * uint64_t(bottom_up ? height - 1 - y : y);
    for (int x = 0; x < width; ++x) {
      uint32_t value;
      switch (bits) {
        case 1: value = palette[std::min<uint32_t>((bytes[row + x / 8] >> (7 - x % 8)) & 1, colours - 1)]; break;
        case 4: value = palette[std::min<uint32_t>((bytes[row + x / 2] >> (x % 2 ? 0 : 4)) & 0xF, colours - 1)]; break;
        case 8: value = palette[std::min<uint32_t>(bytes[row + x], colours - 1)]; break;
        case 24: value = uint32_t(bytes[row + 3 * x]) | uint32_t(bytes[row + 3 * x + 1]) << 8 | uint32_t(bytes[row + 3 * x + 2]) << 16; break;
        default: value = dib.u32(row + 4 * uint64_t(x)) & 0xFFFFFFu; break;
      }
      image.rgb[size_t(y) * size_t(width) + size_t(x)] = value;
    }
  }
  return image;
}

}  // namespace modfile
