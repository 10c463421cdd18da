// The key events an engine's magneto and starter switches send, shared by the
// tests of the per-engine start panels and the twin starter panel.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "variables.h"

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

}  // namespace start_switches
