// Small cairo helpers shared by every drawer.
#pragma once

#include <cairo.h>

#include <string_view>

#include "colour.h"

namespace artgen {

void set_colour(cairo_t* cr, Rgb colour, double alpha = 1.0);
void fill_circle(cairo_t* cr, double cx, double cy, double radius, Rgb colour);
void fill_rectangle(cairo_t* cr, double x, double y, double width, double height, Rgb colour);
void rounded_rectangle_path(cairo_t* cr, double x, double y, double width, double height, double radius);

// A linear blend between two colours, t from 0 to 1.
Rgb mix(Rgb a, Rgb b, double t);

struct TextStyle {
    double size = 12;
    Rgb colour = kWhite;
    bool bold = true;
    double max_width = 0;  // shrinks the text to fit when non-zero
};

// Centres the text's ink (not its advance box) on (cx, cy).
void text_centred(cairo_t* cr, std::string_view text, double cx, double cy, const TextStyle& style);

}  // namespace artgen
