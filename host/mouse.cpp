#include "mouse.h"

#include <algorithm>

namespace host {

namespace {
bool inside(const MOUSERECT& r, int x, int y) {
  // Compared in 64 bits: a module's box may hold any 32-bit numbers.
  const int64_t px = x, py = y;
  return px >= r.x && py >= r.y && px < int64_t(r.x) + r.width && py < int64_t(r.y) + r.height;
}

bool zero_box(const MOUSERECT& r) { return r.x == 0 && r.y == 0 && r.width == 0 && r.height == 0; }

// Calls `visit(record, region_contains_point, depth)` for every record in order,
// tracking which open parents contain the point. A parent contains it only if
// its own enclosing region does, so those are always the outermost ones and a
// count of them is enough.
template <class Visit>
void walk(std::span<const MOUSERECT* const> list, int x, int y, int width, int height, Visit visit) {
  // While the gauge's size is unknown, its outermost region holds every point.
  const bool on_gauge = width <= 0 || height <= 0 || (x >= 0 && y >= 0 && x < width && y < height);
  size_t open = 0;          // parents opened and not yet ended
  size_t containing = 0;    // of which the outermost this many contain the point
  for (const MOUSERECT* r : list) {
    const bool enclosing = open == 0 ? on_gauge : containing == open;
    switch (r->kind) {
      case MOUSE_END_OF_LIST: return;
      case MOUSE_PARENT: {
        // A parent without a box stands for the region that encloses it.
        const bool contains = enclosing && (zero_box(*r) || inside(*r, x, y));
        ++open;
        if (contains) containing = open;
        if (visit(*r, contains, open)) return;
        break;
      }
      case MOUSE_END_OF_PARENT:
        if (open > 0) containing = std::min(containing, --open);
        break;
      default:
        if (visit(*r, enclosing, open)) return;
    }
  }
}
}  // namespace

const MOUSERECT* find_click_box(std::span<const MOUSERECT* const> list, int x, int y, uint32_t button, int width,
                                int height) {
  const MOUSERECT* hit = nullptr;
  walk(list, x, y, width, height, [&](const MOUSERECT& r, bool region, size_t) {
    if (r.kind == MOUSE_CHILD && region && (r.mouse_flags & button) && inside(r, x, y)) hit = &r;
    return hit != nullptr;
  });
  return hit;
}

const MOUSERECT* find_tooltip(std::span<const MOUSERECT* const> list, int x, int y, int width, int height) {
  const MOUSERECT* best = nullptr;
  size_t best_depth = 0;
  walk(list, x, y, width, height, [&](const MOUSERECT& r, bool region, size_t depth) {
    const bool shows = (r.kind == MOUSE_TOOLTIP && (r.help_id || r.function.text)) || (r.kind == MOUSE_PARENT && r.help_id);
    if (shows && region && depth > best_depth) {
      best = &r;
      best_depth = depth;
    }
    return false;
  });
  return best;
}

}  // namespace host
