// Needles lie along +x in their bitmaps, the pivot where the host holds them. From left
// to right: a counterweight on a tail, the hub over the pivot, a shaft, then the blade.
#pragma once

#include <string>

#include "art.h"

namespace artgen {

struct NeedleLetter {
    std::string text{};      // empty: no letter
    double x = 0;            // centre of its disc along the needle's axis
    double disc_radius = 0;  // 0: the letter sits on the hub without a disc of its own
    Rgb disc{};
    Rgb colour{};
    double size = 14;
};

struct NeedleStyle {
    double pivot_x = 0, pivot_y = 0;
    double tip_x = 0;
    double blade_from_x = 0;     // the blade's root; between hub and root runs the shaft
    double blade_half_width = 2;  // at the root, tapering towards the tip
    Rgb blade = kWhite;
    Rgb shaft{};
    double hub_radius = 0;
    Rgb hub{};
    Rgb hub_rim{};
    double counterweight_x = 0;
    double counterweight_radius = 0;
    double tail_half_width = 0;
    Rgb tail{};
    NeedleLetter letter{};
    Rgb matte = kDialDisc;  // the dial face the needle turns over
};

Art needle(NeedleStyle style);

// The dark ring that covers the edge of a 302 x 302 dial, with a screw in each corner.
Art bezel();

}  // namespace artgen
