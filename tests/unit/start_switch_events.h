// What the tests of the per-engine start panels and the twin starter panel
// share: the key events an engine's magneto and starter switches send, and
// the check of a plate's always-lit two-position levers.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <span>
#include <vector>

#include "panel_host.h"

namespace host {
[[maybe_unused]] static void PrintTo(const KeyEvent& e, std::ostream* os) { *os << e.id << ":" << e.value; }
}  // namespace host

namespace start_switches {

struct EngineEvents {
  uint32_t off, right_only, left_only, both, selector_set, starter;
};

// Engines 1 to 4.
constexpr EngineEvents kEngineEvents[] = {
    {65927, 65928, 65929, 65930, 66400, 66127},
    {65933, 65934, 65935, 65936, 66401, 66129},
    {65939, 65940, 65941, 65942, 66402, 66131},
    {65945, 65946, 65947, 65948, 66403, 66133},
};

// The events a click should send, by what the engine's table calls them.
enum class Sends { Nothing, Off, RightOnly, LeftOnly, Both, SetRightOnly, SetLeftOnly, Starter };

inline std::vector<host::KeyEvent> events_for(const EngineEvents& e, Sends s) {
  switch (s) {
    case Sends::Nothing: return {};
    case Sends::Off: return {{e.off, 0}};
    case Sends::RightOnly: return {{e.right_only, 0}};
    case Sends::LeftOnly: return {{e.left_only, 0}};
    case Sends::Both: return {{e.both, 0}};
    case Sends::SetRightOnly: return {{e.selector_set, 1}};
    case Sends::SetLeftOnly: return {{e.selector_set, 2}};
    case Sends::Starter: return {{e.starter, 0}};
  }
  return {};
}

// One element of a start plate, root first: the plate, then its levers.
struct ElementRow {
  uint32_t kind, bitmap;
  int x, y;
  uint32_t token;
};

// Every element always lit and belonging to the gauge; every lever an icon of
// two images showing its token.
inline void expect_plate_elements(const host::GaugeInstance& gauge, std::span<const ElementRow> rows) {
  ASSERT_EQ(gauge.elements.size(), rows.size());
  for (size_t depth = 0; depth < rows.size(); ++depth) {
    SCOPED_TRACE(depth);
    const ELEMENT_HEADER* header = gauge.elements[depth].view.header;
    EXPECT_EQ(header->kind, rows[depth].kind);
    EXPECT_EQ(header->bitmap, rows[depth].bitmap);
    EXPECT_EQ(header->position.x, rows[depth].x);
    EXPECT_EQ(header->position.y, rows[depth].y);
    EXPECT_EQ(header->image_flags, 0x4083u);
    EXPECT_EQ(header->gauge, gauge.gauge->header);
    if (const ELEMENT_ICON* icon = gauge.elements[depth].view.icon()) {
      EXPECT_EQ(icon->source.id, rows[depth].token);
      EXPECT_EQ(icon->switch_type, 3u);
      EXPECT_EQ(icon->icon_count, 2u);
    }
  }
}

}  // namespace start_switches
