// One engine's magneto and starter switches: the icon callbacks that follow
// the simulator, and the click callbacks that turn two on/off levers into the
// simulator's four-position magneto selector. Both start modules (the four
// engine panels and the twin starter panel) instantiate this per engine row.
//
// Module is a type with:
//   static constexpr Row engines[];  // each row with a member EngineEvents events
//   static inline constinit start_switches::Stores stores[N];  // one pair per row
#pragma once

#include <cstddef>

#include "frame.h"

namespace start_switches {

struct EngineEvents {
  uint32_t selector_off;
  uint32_t right_only;
  uint32_t left_only;
  uint32_t both;
  uint32_t selector_set;  // value = the target position
  uint32_t starter;
};

// The levers as they were last drawn: the left magneto counts two, the right
// one, so together they name the selector position 0 to 3.
struct Stores {
  double left;
  double right;
};

enum Position : int32_t { kOff = 0, kRightOnly = 1, kLeftOnly = 2, kBoth = 3 };

template <class Module, size_t Row>
struct EngineSwitches {
  static constexpr const EngineEvents& events = Module::engines[Row].events;
  static Stores& stores() { return Module::stores[Row]; }

  // The 0.01 lets a lever token slightly below 1 still count as on.
  static int32_t magneto_position() {
    return frame::truncate_toward_zero(stores().right + stores().left + 0.01);
  }
  static void send(uint32_t event, uint32_t value = 0) {
    frame::host().trigger_key_event(event, value);
  }

  static double GAUGE_CALL starter_icon(ELEMENT_HEADER* lever) { return frame::token_value(lever); }
  static double GAUGE_CALL left_magneto_icon(ELEMENT_HEADER* lever) {
    const double value = frame::token_value(lever);
    stores().left = 2.0 * value;
    return value;
  }
  static double GAUGE_CALL right_magneto_icon(ELEMENT_HEADER* lever) {
    const double value = frame::token_value(lever);
    stores().right = value;
    return value;
  }

  // A click only asks the simulator; the lever moves at the next update.
  static int32_t GAUGE_CALL left_magneto_click(const PIXPOINT*, uint32_t) {
    switch (magneto_position()) {
      case kOff: send(events.left_only); break;
      case kRightOnly: send(events.both); break;
      case kLeftOnly: send(events.selector_off); break;
      case kBoth: send(events.selector_set, kRightOnly); break;
      default: break;
    }
    return 0;
  }
  static int32_t GAUGE_CALL right_magneto_click(const PIXPOINT*, uint32_t) {
    switch (magneto_position()) {
      case kOff: send(events.right_only); break;
      case kRightOnly: send(events.selector_off); break;
      case kLeftOnly: send(events.both); break;
      case kBoth: send(events.selector_set, kLeftOnly); break;
      default: break;
    }
    return 0;
  }
  // Held down, the host calls this at every tick. No 0.01 here: both
  // magnetos must be fully on.
  static int32_t GAUGE_CALL starter_click(const PIXPOINT*, uint32_t) {
    if (frame::truncate_toward_zero(stores().right + stores().left) > kLeftOnly) send(events.starter);
    return 0;
  }
};

}  // namespace start_switches
