#include "paint.h"

#include <cmath>
#include <numbers>
#include <string>

namespace artgen {

void set_colour(cairo_t* cr, Rgb colour, double alpha) {
    cairo_set_source_rgba(cr, colour.r / 255.0, colour.g / 255.0, colour.b / 255.0, alpha);
}

void fill_circle(cairo_t* cr, double cx, double cy, double radius, Rgb colour) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, radius, 0, 2 * std::numbers::pi);
    set_colour(cr, colour);
    cairo_fill(cr);
}

void fill_rectangle(cairo_t* cr, double x, double y, double width, double height, Rgb colour) {
    cairo_rectangle(cr, x, y, width, height);
    set_colour(cr, colour);
    cairo_fill(cr);
}

void rounded_rectangle_path(cairo_t* cr, double x, double y, double width, double height, double radius) {
    const double pi = std::numbers::pi;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + width - radius, y + radius, radius, -pi / 2, 0);
    cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, pi / 2);
    cairo_arc(cr, x + radius, y + height - radius, radius, pi / 2, pi);
    cairo_arc(cr, x + radius, y + radius, radius, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

Rgb mix(Rgb a, Rgb b, double t) {
    const auto channel = [t](int from, int to) {
        return static_cast<std::uint8_t>(std::lround(from + (to - from) * t));
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

void text_centred(cairo_t* cr, std::string_view text, double cx, double cy, const TextStyle& style) {
    const std::string owned(text);
    cairo_save(cr);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, style.size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, owned.c_str(), &extents);
    if (style.max_width > 0 && extents.width > style.max_width) {
        cairo_set_font_size(cr, style.size * style.max_width / extents.width);
        cairo_text_extents(cr, owned.c_str(), &extents);
    }
    cairo_move_to(cr, cx - (extents.x_bearing + extents.width / 2), cy - (extents.y_bearing + extents.height / 2));
    set_colour(cr, style.colour);
    cairo_show_text(cr, owned.c_str());
    cairo_restore(cr);
}

}  // namespace artgen
