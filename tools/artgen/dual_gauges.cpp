// The dual-needle engine gauges: oil pressure, oil temperature, cylinder head temperature.
// All three share the L and R needles and the bezel; only the dial faces differ.
#include "dial.h"
#include "modules.h"
#include "needle.h"

namespace artgen {
namespace {

// Needle L or R: pivot (59,14), the engine's letter on a light hub.
Art dual_needle(const char* letter) {
    return needle({.pivot_x = 59,
                   .pivot_y = 14,
                   .tip_x = 183,
                   .blade_from_x = 70,
                   .blade_half_width = 3.5,
                   .blade = kWhite,
                   .shaft = kWhite,
                   .hub_radius = 12.5,
                   .hub = {214, 214, 218},
                   .hub_rim = {120, 120, 126},
                   .counterweight_x = 14,
                   .counterweight_radius = 9,
                   .tail_half_width = 3,
                   .tail = {72, 72, 78},
                   .letter = {.text = letter, .x = 59, .colour = {20, 40, 150}, .size = 15}});
}

// Majors carry numerals; minors reach less far in.
std::vector<MarkRun> dual_scale_marks(double last, double minor_step, double major_step) {
    return {{0, last, minor_step, 127, 143, 2},
            {0, last, major_step, 112, 143, 4}};
}

DialFace oil_pressure_dial() {
    DialFace face{.disc = kDialDisc,
                  .calibration = {{0, 101, 285}, {80, 151, 7}, {160, 198, 285}},
                  .marks = {{0, 160, 5, 130, 143, 2}, {0, 160, 10, 123, 143, 2.5}, {0, 160, 20, 112, 143, 4}},
                  .captions = {{"OIL PRESSURE", 112, 15}, {"PSI", 196, 16}}};
    for (int psi = 0; psi <= 160; psi += 20) face.numerals.push_back({double(psi), std::to_string(psi)});
    return face;
}

DialFace oil_temperature_dial() {
    DialFace face{.disc = kDialDisc,
                  .calibration = {{0, 79, 273}, {50, 9, 151}, {100, 79, 27}, {150, 222, 27}, {200, 293, 151},
                                  {250, 222, 273}},
                  .marks = dual_scale_marks(250, 10, 50),
                  .captions = {{"OIL TEMP", 112, 16}, {"°C", 196, 17}}};
    for (int celsius = 0; celsius <= 250; celsius += 50)
        face.numerals.push_back({double(celsius), std::to_string(celsius)});
    return face;
}

// Reads 0 to 500 degrees; the numerals count tens of degrees.
DialFace cylinder_head_dial() {
    DialFace face{.disc = kDialDisc,
                  .calibration = {{0, 79, 274}, {100, 8, 151}, {200, 79, 26}, {300, 221, 26}, {400, 292, 151},
                                  {500, 221, 274}},
                  .marks = dual_scale_marks(500, 20, 100),
                  .captions = {{"CYL HEAD", 112, 16}, {"°C x10", 196, 16}}};
    for (int celsius = 0; celsius <= 500; celsius += 100)
        face.numerals.push_back({double(celsius), std::to_string(celsius / 10)});
    return face;
}

std::vector<BitmapSpec> dual_gauge_bitmaps(DialFace face) {
    return {{0x0100, kDialSize, kDialSize, 8, dial_face(std::move(face))},
            {0x0200, 185, 28, 8, dual_needle("L")},
            {0x0300, 185, 28, 8, dual_needle("R")},
            {0x0400, kDialSize, kDialSize, 8, bezel()}};
}

}  // namespace

std::vector<BitmapSpec> lubepress_bitmaps() { return dual_gauge_bitmaps(oil_pressure_dial()); }
std::vector<BitmapSpec> lubetemp_bitmaps() { return dual_gauge_bitmaps(oil_temperature_dial()); }
std::vector<BitmapSpec> headtemp_bitmaps() { return dual_gauge_bitmaps(cylinder_head_dial()); }

}  // namespace artgen
