#include "toggle.h"

#include <numbers>

#include "paint.h"

namespace artgen {
namespace {

constexpr double kPi = std::numbers::pi;

void fill_shaded_circle(cairo_t* cr, double cx, double cy, double radius, double light, double dark) {
    cairo_pattern_t* shade = cairo_pattern_create_radial(cx - radius / 3, cy - radius / 3, radius / 6, cx, cy, radius);
    cairo_pattern_add_color_stop_rgb(shade, 0, light, light, light + 0.02);
    cairo_pattern_add_color_stop_rgb(shade, 1, dark, dark, dark + 0.02);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, radius, 0, 2 * kPi);
    cairo_set_source(cr, shade);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
}

}  // namespace

void draw_toggle(cairo_t* cr, const ToggleLever& lever) {
    const double x = lever.pivot_x, y = lever.pivot_y;
    fill_shaded_circle(cr, x, y, lever.ring_radius, 0.88, 0.38);
    fill_circle(cr, x, y, lever.ring_radius * 0.55, {34, 34, 36});

    // The bat widens towards its ball, as a lever seen slightly from its end does.
    const double end_y = lever.up ? y - lever.length : y + lever.length;
    const double end_half_width = lever.ball_radius * 0.8;
    cairo_move_to(cr, x - lever.root_half_width, y);
    cairo_line_to(cr, x - end_half_width, end_y);
    cairo_line_to(cr, x + end_half_width, end_y);
    cairo_line_to(cr, x + lever.root_half_width, y);
    cairo_close_path(cr);
    cairo_pattern_t* metal = cairo_pattern_create_linear(x - end_half_width, 0, x + end_half_width, 0);
    cairo_pattern_add_color_stop_rgb(metal, 0, 0.55, 0.55, 0.57);
    cairo_pattern_add_color_stop_rgb(metal, 0.35, 0.95, 0.95, 0.96);
    cairo_pattern_add_color_stop_rgb(metal, 1, 0.40, 0.40, 0.42);
    cairo_set_source(cr, metal);
    cairo_fill(cr);
    cairo_pattern_destroy(metal);

    fill_shaded_circle(cr, x, end_y, lever.ball_radius, 0.98, 0.50);
}

}  // namespace artgen
