// Pictures for the page, encoded for speed rather than size: they travel over
// the loopback, and a new one is wanted with every update while needles move.
#pragma once

#include <cairo.h>

#include <string>

namespace host::serve {

// An opaque ARGB32 image as an RGB PNG; false (and `png` empty) when the
// encoder fails.
bool encode_png_quickly(cairo_surface_t* image, std::string& png);

}  // namespace host::serve
