#include "png_encoder.h"

#include <png.h>

#include <bit>
#include <new>

namespace host::serve {

namespace {

void append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  try {
    out->append(reinterpret_cast<const char*>(data), length);
  } catch (const std::bad_alloc&) {
    png_error(png, "out of memory");  // leaves through the encoder's setjmp
  }
}

void flush(png_structp) {}

}  // namespace

bool encode_png_quickly(cairo_surface_t* image, std::string& png) {
  png.clear();
  cairo_surface_flush(image);
  const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
  const int stride = cairo_image_surface_get_stride(image);
  unsigned char* pixels = cairo_image_surface_get_data(image);
  if (!pixels || width <= 0 || height <= 0 || cairo_image_surface_get_format(image) != CAIRO_FORMAT_ARGB32) return false;

  png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!writer) return false;
  png_infop info = png_create_info_struct(writer);
  // Nothing in this frame that needs destroying lives between here and the
  // encoder's error exit, which comes back through longjmp.
  if (!info || setjmp(png_jmpbuf(writer))) {
    png_destroy_write_struct(&writer, &info);
    png.clear();
    return false;
  }
  png_set_write_fn(writer, &png, append, flush);
  // Fastest deflate and one cheap filter: several times quicker than the
  // defaults on a panel picture, a little larger.
  png_set_compression_level(writer, 1);
  png_set_filter(writer, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  png_set_IHDR(writer, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_write_info(writer, info);
  // Cairo keeps a pixel as one native 32-bit word 0xAARRGGBB: in memory on a
  // little-endian machine that is B, G, R, A.
  static_assert(std::endian::native == std::endian::little);
  png_set_bgr(writer);
  png_set_filler(writer, 0, PNG_FILLER_AFTER);
  for (int y = 0; y < height; ++y) png_write_row(writer, pixels + size_t(y) * size_t(stride));
  png_write_end(writer, nullptr);
  png_destroy_write_struct(&writer, &info);
  return true;
}

}  // namespace host::serve
