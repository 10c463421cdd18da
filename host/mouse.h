// Walks a gauge's mouse rectangle list: parents open regions, children are
// click boxes inside them, tooltips belong to the innermost open parent.
#pragma once

#include <cstdint>
#include <span>

#include "gauge_records.h"

namespace host {

// The click box under (x, y) that answers `button` (a mouse flag such as
// MOUSE_LEFTSINGLE): the first in list order, or null.
const MOUSERECT* find_click_box(std::span<const MOUSERECT* const> list, int x, int y, uint32_t button, int gauge_width,
                                int gauge_height);

// The record whose tooltip shows at (x, y): a tooltip record, or a parent that
// carries a help identifier itself. The innermost region wins; null for none.
const MOUSERECT* find_tooltip(std::span<const MOUSERECT* const> list, int x, int y, int gauge_width, int gauge_height);

}  // namespace host
