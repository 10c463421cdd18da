// The served pictures' encoder: what it writes reads back as the same pixels.
#include <gtest/gtest.h>

#include <cstring>

#include "serve/png_encoder.h"

namespace {

struct Reader {
  const std::string& png;
  size_t offset = 0;
};

cairo_status_t read_png(void* closure, unsigned char* data, unsigned int length) {
  auto* reader = static_cast<Reader*>(closure);
  if (reader->png.size() - reader->offset < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, reader->png.data() + reader->offset, length);
  reader->offset += length;
  return CAIRO_STATUS_SUCCESS;
}

uint32_t pixel(cairo_surface_t* image, int x, int y) {
  const auto* row = cairo_image_surface_get_data(image) + size_t(y) * size_t(cairo_image_surface_get_stride(image));
  return reinterpret_cast<const uint32_t*>(row)[x] | 0xFF000000u;
}

TEST(PngEncoder, WhatItWritesReadsBackAsTheSamePixels) {
  // Odd sizes and colours in every channel, so a swapped channel or a row
  // read with the wrong stride shows.
  constexpr int kWidth = 37, kHeight = 23;
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
  cairo_surface_flush(image);
  for (int y = 0; y < kHeight; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(image) +
                                            size_t(y) * size_t(cairo_image_surface_get_stride(image)));
    for (int x = 0; x < kWidth; ++x) row[x] = 0xFF000000u | uint32_t(x * 7) << 16 | uint32_t(y * 11) << 8 | uint32_t(x * y % 256);
  }
  cairo_surface_mark_dirty(image);

  std::string png;
  ASSERT_TRUE(host::serve::encode_png_quickly(image, png));
  Reader reader{png};
  cairo_surface_t* decoded = cairo_image_surface_create_from_png_stream(read_png, &reader);
  ASSERT_EQ(cairo_surface_status(decoded), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_width(decoded), kWidth);
  ASSERT_EQ(cairo_image_surface_get_height(decoded), kHeight);
  cairo_surface_flush(decoded);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) ASSERT_EQ(pixel(decoded, x, y), pixel(image, x, y)) << x << "," << y;
  }
  cairo_surface_destroy(decoded);
  cairo_surface_destroy(image);
}

TEST(PngEncoder, RefusesWhatIsNotAnImageItCanRead) {
  cairo_surface_t* a8 = cairo_image_surface_create(CAIRO_FORMAT_A8, 4, 4);
  std::string png = "left over";
  EXPECT_FALSE(host::serve::encode_png_quickly(a8, png));
  EXPECT_TRUE(png.empty());
  cairo_surface_destroy(a8);
}

}  // namespace
