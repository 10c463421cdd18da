// Fuel quantity gauges: one dial, needle and bezel for all fifteen, and a label plate
// naming each tank or group of tanks.
#include "dial.h"
#include "modules.h"
#include "needle.h"
#include "paint.h"

namespace artgen {
namespace {

DialFace fuel_quantity_dial() {
    return {.disc = kTankDialDisc,
            .calibration = {{0, 45, 212}, {25, 45, 90}, {50, 151, 28}, {75, 256, 90}, {100, 256, 212}},
            // The F mark stops short of the label plate's corner.
            .marks = {{12.5, 87.5, 25, 115, 142, 3},
                      {0, 75, 25, 95, 143, 5},
                      {100, 100, 25, 102, 143, 5}},
            .numerals = {{0, "E"}, {25, "1/4"}, {50, "1/2"}, {75, "3/4"}, {100, "F"}},
            .numeral_radius = 76,
            .numeral_size = 20,
            .captions = {{"FUEL", 122, 20}}};
}

Art fuel_needle() {
    return needle({.pivot_x = 53,
                   .pivot_y = 9,
                   .tip_x = 161,
                   .blade_from_x = 70,
                   .blade_half_width = 3,
                   .shaft = {150, 150, 154},
                   .hub_radius = 8.5,
                   .hub = {160, 160, 164},
                   .hub_rim = {100, 100, 104},
                   .counterweight_x = 10,
                   .counterweight_radius = 7,
                   .tail_half_width = 2.5,
                   .tail = {150, 150, 154},
                   .matte = kTankDialDisc});
}

// White capitals on see-through black; an empty text gives an all see-through plate.
Art label_plate(const char* text) {
    return {.draw =
                [text](cairo_t* cr) {
                    if (*text) text_centred(cr, text, 57.5, 20, {.size = 20, .max_width = 105});
                },
            .matte = kTankDialDisc,
            .keep = {kWhite}};
}

BitmapSpec label(std::uint16_t id, const char* text) { return {id, 115, 40, 4, label_plate(text)}; }

}  // namespace

std::vector<BitmapSpec> tankgauges_bitmaps() {
    return {{0x0100, kDialSize, kDialSize, 8, dial_face(fuel_quantity_dial())},
            {0x1500, 165, 19, 8, fuel_needle()},
            label(0x1600, ""),
            label(0x1610, "LEFT"),
            label(0x1620, "RIGHT"),
            label(0x1630, "CENTER"),
            label(0x1640, "CTR 1"),
            label(0x1650, "CTR 2"),
            label(0x1660, "CTR 3"),
            label(0x1670, "L MAIN"),
            label(0x1680, "L AUX"),
            label(0x1690, "L TIP"),
            label(0x16a0, "R MAIN"),
            label(0x16b0, "R AUX"),
            label(0x16c0, "R TIP"),
            label(0x16d0, "EXT 1"),
            label(0x16e0, "EXT 2"),
            {0x16f0, kDialSize, kDialSize, 8, bezel()}};
}

}  // namespace artgen
