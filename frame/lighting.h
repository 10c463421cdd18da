// The panel lighting switch: one host named variable that every lit gauge of
// every module follows, and a click on any lit gauge flips.
#pragma once

#include <initializer_list>

#include "frame.h"

namespace frame {

inline constexpr char kLightingVariable[] = "ovk_luminous_gauge";

// The depths of a gauge's chain that glow, as a bit mask (bit d = depth d).
constexpr uint32_t depths(std::initializer_list<int> list) {
  uint32_t mask = 0;
  for (int d : list) mask |= 1u << d;
  return mask;
}

// The module's copy of the variable's identifier, refreshed by every lookup.
extern uint32_t lighting_identifier;

// Modules that register from their first needle callback keep this flag.
void register_lighting_once(int32_t& registered);

// Shared click callback of every lit gauge: flips the variable between 0 and 1.
int32_t GAUGE_CALL lighting_click(const PIXPOINT* where, uint32_t mouse_flags);

// Brings the gauge owning `element` up to date when the variable differs from `slot`.
void lighting_check(const ELEMENT_HEADER* element, int32_t& slot, uint32_t lit_depths);

// Sets or clears the luminous bit on the lit depths and records the value in `slot`.
void lighting_sync(GAUGEHDR* gauge, int32_t& slot, uint32_t lit_depths);

}  // namespace frame
