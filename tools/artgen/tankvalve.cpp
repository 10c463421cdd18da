// Fuel selector: a lettered face and the red pointer knob that turns over it.
#include <cmath>
#include <numbers>

#include "modules.h"
#include "paint.h"

namespace artgen {
namespace {

constexpr double kPi = std::numbers::pi;

// Face and knob are both centred on pixel (42,42) of the face, so the middle of that pixel.
constexpr double kFaceCentre = 42.5;
constexpr Rgb kFaceGrey{62, 64, 66};
constexpr Rgb kLightGrey{196, 196, 198};

void draw_selector_face(cairo_t* cr) {
    const double c = kFaceCentre;
    fill_circle(cr, c, c, 42.5, {132, 134, 138});
    fill_circle(cr, c, c, 39, kFaceGrey);

    // The X between the four words, from the hub out to the rim.
    cairo_set_line_width(cr, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (int quarter = 0; quarter < 4; ++quarter) {
        const double angle = kPi / 4 + quarter * kPi / 2;
        cairo_move_to(cr, c, c);
        cairo_line_to(cr, c + 39 * std::cos(angle), c + 39 * std::sin(angle));
    }
    set_colour(cr, kLightGrey);
    cairo_stroke(cr);
    fill_rectangle(cr, c - 6, c - 6, 12, 12, kLightGrey);

    const TextStyle word{.size = 8.5, .colour = kLightGrey, .max_width = 24};
    text_centred(cr, "BOTH", c, 13, word);
    text_centred(cr, "RIGHT", 68, c, word);
    text_centred(cr, "OFF", c, 72, word);
    text_centred(cr, "LEFT", 17, c, word);
}

// Pointed at +x, a rounded end at the left, the hub at (28,9) of 55 x 18.
void draw_pointer_knob(cairo_t* cr) {
    constexpr double hub_x = 28.5, hub_y = 9.5, half = 4.5;
    cairo_move_to(cr, 53.5, hub_y);
    cairo_line_to(cr, 42, hub_y - half);
    cairo_line_to(cr, 6, hub_y - half);
    cairo_arc_negative(cr, 6, hub_y, half, -kPi / 2, kPi / 2);
    cairo_line_to(cr, 42, hub_y + half);
    cairo_close_path(cr);
    cairo_pattern_t* red = cairo_pattern_create_linear(0, hub_y - half, 0, hub_y + half);
    cairo_pattern_add_color_stop_rgb(red, 0, 0.95, 0.35, 0.30);
    cairo_pattern_add_color_stop_rgb(red, 0.4, 0.82, 0.08, 0.06);
    cairo_pattern_add_color_stop_rgb(red, 1, 0.50, 0.03, 0.03);
    cairo_set_source(cr, red);
    cairo_fill(cr);
    cairo_pattern_destroy(red);

    fill_circle(cr, hub_x, hub_y, 7.5, {150, 14, 12});
    fill_circle(cr, hub_x, hub_y, 5.5, {206, 30, 24});
    fill_circle(cr, hub_x, hub_y, 1.5, {120, 10, 10});
}

}  // namespace

std::vector<BitmapSpec> tankvalve_bitmaps() {
    return {{0x0100, 85, 85, 8, {.draw = draw_selector_face, .matte = kFaceGrey, .keep = {kFaceGrey, kLightGrey}}},
            {0x0200, 55, 18, 8, {.draw = draw_pointer_knob, .matte = kFaceGrey, .keep = {}}}};
}

}  // namespace artgen
