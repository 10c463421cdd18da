// A picture to draw: the drawing itself and how it becomes a palette image.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "colour.h"
#include "indexed_image.h"

namespace artgen {

struct Art {
    std::function<void(cairo_t*)> draw;  // on a transparent surface of the bitmap's size
    Rgb matte{};                          // what the picture is drawn over (see palette.h)
    std::vector<Rgb> keep;                // colours that must come out exactly
};

struct BitmapSpec {
    std::uint16_t id = 0;
    int width = 0;
    int height = 0;
    int bits_per_pixel = 8;
    Art art;
};

// "0100.bmp" for 0x0100: the name the resource scripts use.
std::string bitmap_file_name(std::uint16_t id);

IndexedImage render(const BitmapSpec& spec);

// Frees the font and surface caches that cairo keeps for the life of the process, so
// leak checkers see a clean exit. Call once, after the last render.
void release_drawing_caches();

// The palette image as a PNG, for looking at: see-through pixels become transparent.
void write_png_preview(const IndexedImage& image, const std::string& path);

}  // namespace artgen
