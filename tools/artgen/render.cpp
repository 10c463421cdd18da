#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include <fontconfig/fontconfig.h>

#include "art.h"
#include "palette.h"

namespace artgen {
namespace {

using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using ContextPtr = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

// Fixed font rendering, so the same glyphs come out whatever the machine's font settings.
void set_reproducible_font_options(cairo_t* cr) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

SurfacePtr new_surface(int width, int height) {
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), cairo_surface_destroy);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot make a drawing surface");
    return surface;
}

}  // namespace

std::string bitmap_file_name(std::uint16_t id) {
    char name[16];
    std::snprintf(name, sizeof name, "%04x.bmp", static_cast<unsigned>(id));
    return name;
}

IndexedImage render(const BitmapSpec& spec) {
    SurfacePtr surface = new_surface(spec.width, spec.height);
    {
        ContextPtr cr(cairo_create(surface.get()), cairo_destroy);
        set_reproducible_font_options(cr.get());
        cairo_select_font_face(cr.get(), "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
        spec.art.draw(cr.get());
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
            throw std::runtime_error(std::string("drawing failed: ") + cairo_status_to_string(cairo_status(cr.get())));
    }
    cairo_surface_flush(surface.get());

    const unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(spec.width) * spec.height);
    for (int y = 0; y < spec.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        std::copy(row, row + spec.width, argb.begin() + static_cast<std::ptrdiff_t>(y) * spec.width);
    }
    return quantise({.width = spec.width,
                     .height = spec.height,
                     .bits_per_pixel = spec.bits_per_pixel,
                     .argb = argb,
                     .matte = spec.art.matte,
                     .keep = spec.art.keep});
}

void release_drawing_caches() {
    cairo_debug_reset_static_data();
    FcFini();
}

void write_png_preview(const IndexedImage& image, const std::string& path) {
    SurfacePtr surface = new_surface(image.width, image.height);
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = image.colour_at(x, y);
            row[x] = image.index_at(x, y) == 0 ? 0u : 0xff000000u | std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b;
        }
    }
    cairo_surface_mark_dirty(surface.get());
    if (cairo_surface_write_to_png(surface.get(), path.c_str()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + path);
}

}  // namespace artgen
