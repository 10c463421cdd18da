#include "dib.h"

namespace modfile {

namespace {
constexpr uint32_t kUncompressed = 0;

struct Layout {
  BitmapSize size;
  bool bottom_up = true;
  uint64_t palette = 0;
  uint32_t colours = 0;
  uint64_t pixels = 0, stride = 0;
};

// Where everything lies, once every field has been checked against the bytes.
Layout read_layout(const ByteReader& dib, uint64_t pixels_from_file_header) {
  Layout layout;
  const uint32_t header_size = dib.u32(0, "header size");
  if (header_size < 40) dib.fail("header of " + std::to_string(header_size) + " bytes is not read");
  dib.need(0, header_size, "header");
  const int64_t width = dib.i32(4), height = dib.i32(8);
  const uint16_t bits = dib.u16(14);
  const uint32_t compression = dib.u32(16), colours_used = dib.u32(32);
  if (width <= 0 || width > kMaxBitmapSide || height == 0 || height > kMaxBitmapSide || height < -kMaxBitmapSide) {
    dib.fail("size " + std::to_string(width) + " x " + std::to_string(height) + " is absurd (at most " +
             std::to_string(kMaxBitmapSide) + " pixels a side)");
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) dib.fail(std::to_string(bits) + " bits per pixel are not read");
  if (compression != kUncompressed) dib.fail("compression " + std::to_string(compression) + " is not read");
  layout.size = {int(width), int(height < 0 ? -height : height), bits};
  layout.bottom_up = height > 0;

  layout.colours = colours_used;
  if (bits <= 8) {
    if (colours_used > (1u << bits)) dib.fail("palette of " + std::to_string(colours_used) + " colours for " + std::to_string(bits) + " bits per pixel");
    if (colours_used == 0) layout.colours = 1u << bits;
  }
  layout.palette = header_size;
  dib.need(layout.palette, 4ull * layout.colours, "palette");
  layout.pixels = layout.palette + 4ull * layout.colours;
  if (pixels_from_file_header) {
    if (pixels_from_file_header < layout.pixels) dib.fail("pixel data offset " + hex(pixels_from_file_header) + " lies inside the header");
    layout.pixels = pixels_from_file_header;
  }
  layout.stride = (uint64_t(width) * bits + 31) / 32 * 4;
  dib.need(layout.pixels, layout.stride * uint64_t(layout.size.height), "pixel data");
  return layout;
}

// A BMP file's own header: the bitmap follows it, its pixels at the offset it gives.
std::span<const uint8_t> skip_file_header(std::span<const uint8_t> bytes, uint64_t& pixels, const std::string& what) {
  pixels = 0;
  if (bytes.size() < 14 || bytes[0] != 'B' || bytes[1] != 'M') return bytes;
  const uint32_t offset = ByteReader(bytes).u32(10);
  if (offset < 14) ByteReader(bytes, what).fail("pixel data offset " + hex(offset) + " lies inside the file header");
  pixels = offset - 14;
  return bytes.subspan(14);
}
}  // namespace

BitmapSize read_bitmap_size(std::span<const uint8_t> bytes, const std::string& what) {
  uint64_t pixels;
  bytes = skip_file_header(bytes, pixels, what);
  return read_layout(ByteReader(bytes, what), pixels).size;
}

Image decode_dib(std::span<const uint8_t> bytes, const std::string& what) {
  uint64_t pixels_offset;
  bytes = skip_file_header(bytes, pixels_offset, what);
  const ByteReader dib(bytes, what);
  const Layout layout = read_layout(dib, pixels_offset);
  const auto [width, height, bits] = layout.size;

  std::vector<uint32_t> palette(layout.colours);
  for (uint32_t i = 0; i < layout.colours; ++i) palette[i] = dib.u32(layout.palette + 4ull * i) & 0xFFFFFF;
  auto colour = [&](uint32_t index) { return index < palette.size() ? palette[index] : 0u; };

  Image image{width, height, bits, std::vector<uint32_t>(size_t(width) * size_t(height))};
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = bytes.data() + layout.pixels + layout.stride * uint64_t(layout.bottom_up ? height - 1 - y : y);
    uint32_t* out = image.rgb.data() + size_t(y) * size_t(width);
    for (int x = 0; x < width; ++x) {
      switch (bits) {
        case 1: out[x] = colour((row[x / 8] >> (7 - x % 8)) & 1); break;
        case 4: out[x] = colour((row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF); break;
        case 8: out[x] = colour(row[x]); break;
        case 24: out[x] = uint32_t(row[3 * x]) | uint32_t(row[3 * x + 1]) << 8 | uint32_t(row[3 * x + 2]) << 16; break;
        default: out[x] = uint32_t(row[4 * x]) | uint32_t(row[4 * x + 1]) << 8 | uint32_t(row[4 * x + 2]) << 16; break;
      }
    }
  }
  return image;
}

}  // namespace modfile
