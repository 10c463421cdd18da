// The per-engine ring gauges: manifold pressure, fuel flow and RPM. The first two share
// needle and bezel; the tachometer has needles of its own and the bezel under another ID.
#include "dial.h"
#include "modules.h"
#include "needle.h"

namespace artgen {
namespace {

constexpr double kMinorInner = 109, kMajorInner = 103, kMarkOuter = 143;
constexpr double kMinorWidth = 2.5, kMajorWidth = 4.5;
constexpr double kNumeralRadius = 82;

std::vector<Numeral> numerals_every(double step, double last, double divisor) {
    std::vector<Numeral> numerals;
    for (double reading = 0; reading <= last; reading += step)
        numerals.push_back({reading, std::to_string(static_cast<int>(reading / divisor))});
    return numerals;
}

DialFace manifold_pressure_dial() {
    return {.disc = kDialDisc,
            .calibration = {{0, 79, 273}, {10, 11, 175}, {20, 41, 59}, {30, 151, 7}, {40, 259, 59},
                            {50, 288, 175}, {60, 221, 273}},
            .marks = {{0, 60, 2, kMinorInner, kMarkOuter, kMinorWidth},
                      {0, 60, 10, kMajorInner, kMarkOuter, kMajorWidth}},
            .numerals = numerals_every(10, 60, 1),
            .numeral_radius = kNumeralRadius,
            .captions = {{"MANIFOLD PRESSURE", 190, 11.5}, {"IN. HG", 210, 15}}};
}

DialFace fuel_flow_dial() {
    return {.disc = kDialDisc,
            .calibration = {{0, 101, 285}, {80, 151, 7}, {160, 198, 285}},
            .marks = {{0, 160, 4, kMinorInner, kMarkOuter, kMinorWidth},
                      {0, 160, 20, kMajorInner, kMarkOuter, kMajorWidth}},
            .numerals = numerals_every(20, 160, 1),
            .numeral_radius = kNumeralRadius,
            .numeral_size = 19,
            .captions = {{"FUEL FLOW", 112, 16}, {"GAL/HR", 194, 15}}};
}

// The top of the range, 2700 to 3000 RPM, is marked red.
DialFace rpm_dial() {
    return {.disc = kRpmDialDisc,
            .calibration = {{0, 45, 212}, {500, 29, 130}, {1000, 70, 56}, {1500, 151, 26}, {2000, 230, 56},
                            {2500, 271, 130}, {3000, 257, 212}},
            .marks = {{0, 2600, 100, kMinorInner, kMarkOuter, kMinorWidth},
                      {2700, 3000, 100, kMinorInner, kMarkOuter, kMinorWidth, kRed},
                      {0, 2500, 500, kMajorInner, kMarkOuter, kMajorWidth},
                      {3000, 3000, 500, kMajorInner, kMarkOuter, kMajorWidth, kRed}},
            .numerals = numerals_every(500, 3000, 100),
            .numeral_radius = kNumeralRadius,
            .captions = {{"ENGINE RPM", 196, 14}, {"x 100", 216, 14}}};
}

// Manifold pressure and fuel flow needle: white pointer, dark counterweight.
Art ring_needle() {
    return needle({.pivot_x = 52,
                   .pivot_y = 10,
                   .tip_x = 160,
                   .blade_from_x = 52,
                   .blade_half_width = 3,
                   .hub_radius = 8,
                   .hub = {58, 58, 62},
                   .hub_rim = {120, 120, 126},
                   .counterweight_x = 13,
                   .counterweight_radius = 7,
                   .tail_half_width = 2.5,
                   .tail = {66, 66, 72}});
}

// Engine needle of the tachometer: slimmer, reaching the end of its bitmap.
Art rpm_needle() {
    return needle({.pivot_x = 52,
                   .pivot_y = 10,
                   .tip_x = 164,
                   .blade_from_x = 52,
                   .blade_half_width = 2.5,
                   .hub_radius = 7,
                   .hub = {48, 46, 46},
                   .hub_rim = {96, 92, 92},
                   .counterweight_x = 9,
                   .counterweight_radius = 6.5,
                   .tail_half_width = 3,
                   .tail = {60, 56, 56},
                   .matte = kRpmDialDisc});
}

// Engine 1 and 2 needles of the dual RPM gauge: the letter on a white disc on the shaft.
Art rpm_lettered_needle(const char* letter) {
    return needle({.pivot_x = 59,
                   .pivot_y = 14,
                   .tip_x = 184,
                   .blade_from_x = 59,
                   .blade_half_width = 3,
                   .blade = {224, 224, 228},
                   .hub_radius = 9,
                   .hub = {52, 50, 50},
                   .hub_rim = {104, 100, 100},
                   .counterweight_x = 12,
                   .counterweight_radius = 8,
                   .tail_half_width = 3.5,
                   .tail = {60, 56, 56},
                   .letter = {.text = letter, .x = 120, .disc_radius = 11, .disc = kWhite, .colour = kLetterBlue,
                              .size = 15},
                   .matte = kRpmDialDisc});
}

}  // namespace

std::vector<BitmapSpec> boostgauge_bitmaps() {
    return {{0x0100, kDialSize, kDialSize, 8, dial_face(manifold_pressure_dial())},
            {0x0200, 165, 19, 8, ring_needle()},
            {0x0300, kDialSize, kDialSize, 8, bezel()}};
}

std::vector<BitmapSpec> burnrate_bitmaps() {
    return {{0x0100, kDialSize, kDialSize, 8, dial_face(fuel_flow_dial())},
            {0x0200, 165, 19, 8, ring_needle()},
            {0x0300, kDialSize, kDialSize, 8, bezel()}};
}

// Bezel and engine needle swap IDs here compared with the other two ring gauges.
std::vector<BitmapSpec> tachometer_bitmaps() {
    return {{0x0100, kDialSize, kDialSize, 8, dial_face(rpm_dial())},
            {0x0200, kDialSize, kDialSize, 8, bezel()},
            {0x0300, 165, 19, 8, rpm_needle()},
            {0x0400, 185, 28, 8, rpm_lettered_needle("L")},
            {0x0500, 185, 28, 8, rpm_lettered_needle("R")}};
}

}  // namespace artgen
