#include "needle.h"

#include <cmath>
#include <numbers>

#include "dial.h"
#include "paint.h"

namespace artgen {
namespace {

constexpr double kPi = std::numbers::pi;

void draw_tail(cairo_t* cr, const NeedleStyle& s) {
    if (s.counterweight_radius <= 0) return;
    fill_rectangle(cr, s.counterweight_x, s.pivot_y - s.tail_half_width, s.pivot_x - s.counterweight_x,
                   2 * s.tail_half_width, s.tail);
    fill_circle(cr, s.counterweight_x, s.pivot_y, s.counterweight_radius, s.tail);
}

void draw_blade(cairo_t* cr, const NeedleStyle& s) {
    if (s.blade_from_x > s.pivot_x)
        fill_rectangle(cr, s.pivot_x, s.pivot_y - s.blade_half_width, s.blade_from_x - s.pivot_x,
                       2 * s.blade_half_width, s.shaft);
    // Tapers to two thirds of its width, then a short point.
    const double point_length = 3 * s.blade_half_width;
    const double narrow = s.blade_half_width * 2 / 3;
    cairo_move_to(cr, s.blade_from_x, s.pivot_y - s.blade_half_width);
    cairo_line_to(cr, s.tip_x - point_length, s.pivot_y - narrow);
    cairo_line_to(cr, s.tip_x, s.pivot_y);
    cairo_line_to(cr, s.tip_x - point_length, s.pivot_y + narrow);
    cairo_line_to(cr, s.blade_from_x, s.pivot_y + s.blade_half_width);
    cairo_close_path(cr);
    set_colour(cr, s.blade);
    cairo_fill(cr);
}

void draw_hub(cairo_t* cr, const NeedleStyle& s) {
    fill_circle(cr, s.pivot_x, s.pivot_y, s.hub_radius, s.hub_rim);
    fill_circle(cr, s.pivot_x, s.pivot_y, s.hub_radius - 1.5, s.hub);
}

// Upright when the needle points straight up: the host turns the bitmap's +x to the
// top of the screen, so the letter's top faces +x here.
void draw_letter(cairo_t* cr, const NeedleStyle& s) {
    const NeedleLetter& letter = s.letter;
    if (letter.text.empty()) return;
    if (letter.disc_radius > 0) fill_circle(cr, letter.x, s.pivot_y, letter.disc_radius, letter.disc);
    cairo_save(cr);
    cairo_translate(cr, letter.x, s.pivot_y);
    cairo_rotate(cr, kPi / 2);
    text_centred(cr, letter.text, 0, 0, {.size = letter.size, .colour = letter.colour});
    cairo_restore(cr);
}

void draw_screw(cairo_t* cr, double cx, double cy, double slot_degrees) {
    constexpr double radius = 9;
    cairo_pattern_t* shine = cairo_pattern_create_radial(cx - 3, cy - 3, 1, cx, cy, radius);
    cairo_pattern_add_color_stop_rgb(shine, 0, 0.70, 0.70, 0.72);
    cairo_pattern_add_color_stop_rgb(shine, 1, 0.22, 0.22, 0.24);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, radius, 0, 2 * kPi);
    cairo_set_source(cr, shine);
    cairo_fill(cr);
    cairo_pattern_destroy(shine);

    const double radians = slot_degrees * kPi / 180;
    const double dx = std::cos(radians) * (radius - 2), dy = std::sin(radians) * (radius - 2);
    cairo_move_to(cr, cx - dx, cy - dy);
    cairo_line_to(cr, cx + dx, cy + dy);
    cairo_set_line_width(cr, 2.2);
    set_colour(cr, {24, 24, 26});
    cairo_stroke(cr);
}

}  // namespace

Art needle(NeedleStyle style) {
    std::vector<Rgb> keep{style.blade};
    if (!style.letter.text.empty()) keep.push_back(style.letter.colour);
    const Rgb matte = style.matte;
    return {.draw =
                [s = std::move(style)](cairo_t* cr) {
                    draw_tail(cr, s);
                    draw_blade(cr, s);
                    draw_hub(cr, s);
                    draw_letter(cr, s);
                },
            .matte = matte,
            .keep = std::move(keep)};
}

Art bezel() {
    return {.draw =
                [](cairo_t* cr) {
                    constexpr double outer = kDialCentre, inner = 145;
                    // Lit from the upper left: bright there, dark at the lower right.
                    cairo_pattern_t* metal = cairo_pattern_create_linear(0, 0, kDialSize, kDialSize);
                    cairo_pattern_add_color_stop_rgb(metal, 0, 0.50, 0.50, 0.53);
                    cairo_pattern_add_color_stop_rgb(metal, 0.5, 0.27, 0.27, 0.29);
                    cairo_pattern_add_color_stop_rgb(metal, 1, 0.12, 0.12, 0.13);
                    cairo_new_sub_path(cr);
                    cairo_arc(cr, kDialCentre, kDialCentre, outer, 0, 2 * kPi);
                    cairo_new_sub_path(cr);
                    cairo_arc_negative(cr, kDialCentre, kDialCentre, inner, 2 * kPi, 0);
                    cairo_set_source(cr, metal);
                    cairo_fill(cr);
                    cairo_pattern_destroy(metal);

                    // A shadowed lip where the ring meets the glass.
                    cairo_new_sub_path(cr);
                    cairo_arc(cr, kDialCentre, kDialCentre, inner + 0.75, 0, 2 * kPi);
                    cairo_set_line_width(cr, 1.5);
                    set_colour(cr, {14, 14, 15});
                    cairo_stroke(cr);

                    constexpr double inset = 17, far = kDialSize - inset;
                    draw_screw(cr, inset, inset, 35);
                    draw_screw(cr, far, inset, 100);
                    draw_screw(cr, inset, far, -20);
                    draw_screw(cr, far, far, 65);
                },
            .matte = kDialDisc,
            .keep = {}};
}

}  // namespace artgen
