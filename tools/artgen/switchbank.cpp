// The switch bank: one lever pair for every switch, a lettered plate per switch, and the
// button that opens the electrical panel.
#include <string_view>

#include "modules.h"
#include "paint.h"
#include "toggle.h"

namespace artgen {
namespace {

constexpr int kPlateWidth = 60, kPlateHeight = 90;
// The lever bitmap sits at (20,33); its pivot, at (9,28) in it, is the socket's centre.
constexpr double kLeverPivotX = 9, kLeverPivotY = 28;
constexpr double kSocketX = 20 + kLeverPivotX, kSocketY = 33 + kLeverPivotY;

// "TOP / BOTTOM" letters two lines, anything else one.
void draw_plate(cairo_t* cr, std::string_view lettering) {
    fill_rectangle(cr, 0, 0, kPlateWidth, kPlateHeight, kSwitchPlate);
    const TextStyle white{.size = 10, .colour = kWhite, .max_width = 54};
    const std::size_t slash = lettering.find(" / ");
    if (slash == std::string_view::npos) {
        text_centred(cr, lettering, kPlateWidth / 2.0, 16, white);
    } else {
        text_centred(cr, lettering.substr(0, slash), kPlateWidth / 2.0, 11, white);
        text_centred(cr, lettering.substr(slash + 3), kPlateWidth / 2.0, 24, white);
    }
    fill_circle(cr, kSocketX, kSocketY, 14, {96, 96, 98});
    fill_circle(cr, kSocketX, kSocketY, 12.5, {28, 28, 29});
}

BitmapSpec plate(std::uint16_t id, std::string_view lettering) {
    return {id, kPlateWidth, kPlateHeight, 8,
            {.draw = [lettering](cairo_t* cr) { draw_plate(cr, lettering); },
             .matte = kSwitchPlate,
             .keep = {kSwitchPlate, kWhite}}};
}

Art bank_lever(bool up) {
    return {.draw =
                [up](cairo_t* cr) {
                    draw_toggle(cr, {.pivot_x = kLeverPivotX, .pivot_y = kLeverPivotY, .ring_radius = 8,
                                     .length = 21, .root_half_width = 2.5, .ball_radius = 4.5, .up = up});
                },
            .matte = {28, 28, 29},
            .keep = {}};
}

// A light grey square showing a little switch panel with three levers.
void draw_electrical_panel_button(cairo_t* cr) {
    fill_rectangle(cr, 0, 0, 19, 19, {92, 92, 94});
    fill_rectangle(cr, 1, 1, 17, 17, {204, 204, 206});
    fill_rectangle(cr, 4, 5, 11, 9, {44, 44, 46});
    for (const double x : {6.0, 9.0, 12.0}) fill_rectangle(cr, x, 7, 1, 4, kWhite);
}

}  // namespace

std::vector<BitmapSpec> switchbank_bitmaps() {
    return {{0x0100, 18, 56, 8, bank_lever(false)},
            {0x0101, 17, 56, 8, bank_lever(true)},
            {0x0120, 19, 19, 8, {.draw = draw_electrical_panel_button, .matte = {204, 204, 206}, .keep = {}}},
            plate(0x0200, "ALT. 1"),
            plate(0x0220, "ALT. 2"),
            plate(0x0240, "AVIONICS"),
            plate(0x0260, "CARB / HEAT"),
            plate(0x0280, "TAIL / WHEEL"),
            plate(0x02a0, "MASTER / BATTERY"),
            plate(0x02c0, "LANDING / LIGHTS"),
            plate(0x02e0, "NAV / LIGHTS"),
            plate(0x0300, "PANEL / LIGHTS"),
            plate(0x0320, "PITOT / HEAT"),
            plate(0x0340, "STRUC / DE-ICE"),
            plate(0x0360, "PROP / DE-ICE"),
            plate(0x0380, "R FUEL / CUTOFF"),
            plate(0x03a0, "L FUEL / CUTOFF"),
            plate(0x03c0, "L FUEL / PUMP"),
            plate(0x03e0, "R FUEL / PUMP"),
            plate(0x0420, "BCN / LIGHTS"),
            plate(0x0440, "RECOG / LIGHTS"),
            plate(0x0460, "STROBE / LIGHTS"),
            plate(0x0480, "STANDBY / VACUUM"),
            plate(0x04a0, "TAXI / LIGHTS"),
            plate(0x04c0, "WING / LIGHTS"),
            plate(0x04e0, "L LIGHT / EXTEND"),
            plate(0x0500, "GEN 1"),
            plate(0x0520, "GEN 2")};
}

}  // namespace artgen
