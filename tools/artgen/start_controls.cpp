// Engine start controls: the per-engine magneto and starter panel, and the twin-engine
// starter panel. Everything here covers what lies beneath, but for the levers' surround
// and the starter panel's rounded corners.
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

#include "modules.h"
#include "paint.h"
#include "toggle.h"

namespace artgen {
namespace {

constexpr double kPi = std::numbers::pi;

constexpr Rgb kBlueGrey{44, 54, 68};
constexpr Rgb kMetalGrey{74, 76, 78};
constexpr Rgb kSubPanel{20, 20, 22};
constexpr Rgb kLettering{236, 236, 236};
constexpr Rgb kButtonWell{24, 24, 26};

TextStyle lettering(double size) { return {.size = size, .colour = kLettering}; }

// --- ignitionkeys -------------------------------------------------------------------

// Frame lines on rows 2, 69 and 168 and columns 2 and 83 split the plate into the
// starter pane and the magneto pane.
void draw_magneto_starter_plate(cairo_t* cr) {
    fill_rectangle(cr, 0, 0, 85, 171, kBlueGrey);
    for (const int row : {2, 69, 168}) fill_rectangle(cr, 2, row, 82, 1, kWhite);
    for (const int column : {2, 83}) fill_rectangle(cr, column, 2, 1, 167, kWhite);

    text_centred(cr, "STARTER", 42.5, 11, lettering(10));
    text_centred(cr, "MAGNETOS", 42.5, 78, lettering(10));
    constexpr double left_lever = 22, right_lever = 63;  // lever centres at x 5 and 46, 34 wide
    text_centred(cr, "L", left_lever, 93, lettering(11));
    text_centred(cr, "R", right_lever, 93, lettering(11));
    for (const double x : {left_lever, right_lever}) {
        text_centred(cr, "ON", x, 104, lettering(8));
        text_centred(cr, "OFF", x, 160, lettering(8));
    }
}

Art magneto_starter_plate() { return {.draw = draw_magneto_starter_plate, .matte = kBlueGrey, .keep = {kWhite}}; }

Art panel_lever(bool up) {
    return {.draw = [up](cairo_t* cr) { draw_toggle(cr, {.pivot_x = 17, .pivot_y = 22, .ring_radius = 9, .length = 17, .up = up}); },
            .matte = kBlueGrey,
            .keep = {}};
}

// --- crankpanel ---------------------------------------------------------------------

constexpr int kStarterWidth = 233, kStarterHeight = 136;

// A small fixed-seed generator: the same scuffs on every run and every machine.
class Scuffs {
public:
    double next() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state_ >> 11) / 9007199254740992.0;
    }

private:
    std::uint64_t state_ = 0x5eed;
};

void draw_weathering(cairo_t* cr) {
    Scuffs random;
    cairo_set_line_width(cr, 0.8);
    for (int i = 0; i < 160; ++i) {
        const double x = random.next() * kStarterWidth, y = random.next() * kStarterHeight;
        const double angle = random.next() * kPi, length = 3 + random.next() * 14;
        const bool light = random.next() < 0.5;
        cairo_move_to(cr, x, y);
        cairo_rel_line_to(cr, length * std::cos(angle), length * std::sin(angle));
        set_colour(cr, light ? Rgb{150, 152, 154} : Rgb{30, 30, 32}, 0.18);
        cairo_stroke(cr);
    }
    for (int i = 0; i < 40; ++i) {
        const double x = random.next() * kStarterWidth, y = random.next() * kStarterHeight;
        cairo_new_sub_path(cr);
        cairo_arc(cr, x, y, 2 + random.next() * 7, 0, 2 * kPi);
        set_colour(cr, {40, 38, 34}, 0.12);
        cairo_fill(cr);
    }
}

void draw_sub_panel(cairo_t* cr, double left, const char* engine) {
    constexpr double width = 87;
    rounded_rectangle_path(cr, left, 8, width, 120, 5);
    set_colour(cr, kSubPanel);
    cairo_fill(cr);
    const double middle = left + width / 2;
    text_centred(cr, "MAGNETO", middle, 17, lettering(9));
    // Switches at left + 12 and left + 46, 30 wide.
    for (const auto& [offset, name] : {std::pair{27.0, "M1"}, std::pair{61.0, "M2"}}) {
        text_centred(cr, name, left + offset, 29, lettering(8));
        text_centred(cr, "ON", left + offset, 39, lettering(7));
        text_centred(cr, "OFF", left + offset, 98, lettering(7));
    }
    text_centred(cr, engine, middle, 116, lettering(9));
}

// A recessed square a little larger than the button bitmap, which covers its middle.
void draw_button_well(cairo_t* cr, double left, double top) {
    rounded_rectangle_path(cr, left - 3, top - 3, 33, 34, 5);
    set_colour(cr, {48, 49, 50});
    cairo_fill(cr);
    rounded_rectangle_path(cr, left - 1.5, top - 1.5, 30, 31, 4);
    set_colour(cr, kButtonWell);
    cairo_fill(cr);
}

void draw_starter_plate(cairo_t* cr) {
    fill_rectangle(cr, 0, 0, kStarterWidth, kStarterHeight, kMetalGrey);
    draw_weathering(cr);
    rounded_rectangle_path(cr, 1.5, 1.5, kStarterWidth - 3, kStarterHeight - 3, 4);
    set_colour(cr, {112, 114, 116});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    draw_sub_panel(cr, 14, "LEFT ENGINE");
    draw_sub_panel(cr, 138, "RIGHT ENGINE");

    draw_button_well(cr, 107, 28);  // buttons at (107,28) and (107,79), 27 x 28
    draw_button_well(cr, 107, 79);
    constexpr double buttons_x = 107 + 13.5;
    text_centred(cr, "LEFT", buttons_x, 20, lettering(7.5));
    text_centred(cr, "ENG", buttons_x, 63, lettering(7.5));
    text_centred(cr, "START", buttons_x, 72, lettering(7.5));
    text_centred(cr, "RIGHT", buttons_x, 116, lettering(7.5));

    // Rounded corners: three see-through pixels in each.
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    constexpr int right = kStarterWidth - 1, bottom = kStarterHeight - 1;
    for (const auto& [x, y, dx, dy] : {std::array{0, 0, 1, 1}, std::array{right, 0, -1, 1},
                                       std::array{0, bottom, 1, -1}, std::array{right, bottom, -1, -1}}) {
        cairo_rectangle(cr, x, y, 1, 1);
        cairo_rectangle(cr, x + dx, y, 1, 1);
        cairo_rectangle(cr, x, y + dy, 1, 1);
    }
    cairo_fill(cr);
}

Art starter_plate() { return {.draw = draw_starter_plate, .matte = kMetalGrey, .keep = {kMetalGrey, kSubPanel}}; }

// Magneto switch on its own piece of sub-panel, ON and OFF printed above and below in
// grey, quieter than the plate's white lettering around it.
Art magneto_switch(bool up) {
    return {.draw =
                [up](cairo_t* cr) {
                    constexpr TextStyle printed{.size = 6, .colour = {150, 150, 152}};
                    fill_rectangle(cr, 0, 0, 30, 49, kSubPanel);
                    text_centred(cr, "ON", 15, 5, printed);
                    text_centred(cr, "OFF", 15, 44, printed);
                    draw_toggle(cr, {.pivot_x = 15, .pivot_y = 24.5, .ring_radius = 8, .length = 10.5,
                                     .root_half_width = 2, .ball_radius = 3.5, .up = up});
                },
            .matte = kSubPanel,
            .keep = {kSubPanel}};
}

// Red starter push button in its chrome bezel, dark or lit.
Art starter_button(bool lit) {
    return {.draw =
                [lit](cairo_t* cr) {
                    constexpr double cx = 13.5, cy = 14;
                    fill_rectangle(cr, 0, 0, 27, 28, kButtonWell);
                    fill_circle(cr, cx, cy, 13, {150, 150, 154});
                    fill_circle(cr, cx, cy, 11.5, {60, 60, 62});
                    cairo_pattern_t* cap = cairo_pattern_create_radial(cx - 3, cy - 3, 1, cx, cy, 10);
                    if (lit) {
                        cairo_pattern_add_color_stop_rgb(cap, 0, 1.0, 0.85, 0.75);
                        cairo_pattern_add_color_stop_rgb(cap, 0.35, 1.0, 0.25, 0.15);
                        cairo_pattern_add_color_stop_rgb(cap, 1, 0.80, 0.02, 0.02);
                    } else {
                        cairo_pattern_add_color_stop_rgb(cap, 0, 0.62, 0.22, 0.20);
                        cairo_pattern_add_color_stop_rgb(cap, 0.4, 0.45, 0.05, 0.05);
                        cairo_pattern_add_color_stop_rgb(cap, 1, 0.25, 0.02, 0.02);
                    }
                    cairo_new_sub_path(cr);
                    cairo_arc(cr, cx, cy, 10, 0, 2 * kPi);
                    cairo_set_source(cr, cap);
                    cairo_fill(cr);
                    cairo_pattern_destroy(cap);
                },
            .matte = kButtonWell,
            .keep = {}};
}

}  // namespace

std::vector<BitmapSpec> ignitionkeys_bitmaps() {
    return {{0x0100, 85, 171, 8, magneto_starter_plate()},
            {0x0200, 34, 44, 8, panel_lever(false)},
            {0x0201, 34, 44, 8, panel_lever(true)}};
}

std::vector<BitmapSpec> crankpanel_bitmaps() {
    return {{0x0100, kStarterWidth, kStarterHeight, 8, starter_plate()},
            {0x0200, 30, 49, 8, magneto_switch(false)},
            {0x0201, 30, 49, 8, magneto_switch(true)},
            {0x0300, 27, 28, 8, starter_button(false)},
            {0x0301, 27, 28, 8, starter_button(true)}};
}

}  // namespace artgen
