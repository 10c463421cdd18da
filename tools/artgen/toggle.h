// The toggle lever shared by the start controls and the switch bank: a chrome mounting
// ring around the pivot and a bat pointing up (on) or down (off) from it.
#pragma once

#include <cairo.h>

namespace artgen {

struct ToggleLever {
    double pivot_x = 0, pivot_y = 0;
    double ring_radius = 8;
    double length = 18;  // from the pivot to the centre of the ball at the bat's end
    double root_half_width = 2.5;
    double ball_radius = 4;
    bool up = false;
};

void draw_toggle(cairo_t* cr, const ToggleLever& lever);

}  // namespace artgen
