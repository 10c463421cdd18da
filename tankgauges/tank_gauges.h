// The eleven single-tank gauges: the simulator's level in percent on the
// needle, its quantity in gallons in the tooltip, two independent readings.
#pragma once

#include <cstddef>

#include "fuel_dial.h"

namespace tankgauges {

struct Tank {
  const char* name;
  uint32_t label;
  int lighting_slot;
  const char* level;     // percent
  const char* quantity;  // gallons
  const char* tooltip;
};

// "Center1" reads the simulator's tank CENTER, which has no digit.
inline constexpr Tank kTanks[] = {
    {"Right Main", 0x16a0, 0, "(A:FUEL TANK RIGHT MAIN LEVEL, percent)", "(A:FUEL TANK RIGHT MAIN QUANTITY, gallons)",
     "Right Main Fuel Tank: %1!5.1f! Gallons"},
    {"Left Main", 0x1670, 1, "(A:FUEL TANK LEFT MAIN LEVEL, percent)", "(A:FUEL TANK LEFT MAIN QUANTITY, gallons)",
     "Left Main Fuel Tank: %1!5.1f! Gallons"},
    {"Right Aux", 0x16b0, 2, "(A:FUEL TANK RIGHT AUX LEVEL, percent)", "(A:FUEL TANK RIGHT AUX QUANTITY, gallons)",
     "Right Aux Fuel Tank: %1!5.1f! Gallons"},
    {"Left Aux", 0x1680, 3, "(A:FUEL TANK LEFT AUX LEVEL, percent)", "(A:FUEL TANK LEFT AUX QUANTITY, gallons)",
     "Left Aux Fuel Tank: %1!5.1f! Gallons"},
    {"Right Tip", 0x16c0, 4, "(A:FUEL TANK RIGHT TIP LEVEL, percent)", "(A:FUEL TANK RIGHT TIP QUANTITY, gallons)",
     "Right Tip Fuel Tank: %1!5.1f! Gallons"},
    {"Left Tip", 0x1690, 5, "(A:FUEL TANK LEFT TIP LEVEL, percent)", "(A:FUEL TANK LEFT TIP QUANTITY, gallons)",
     "Left Tip Fuel Tank: %1!5.1f! Gallons"},
    {"Center1", 0x1640, 6, "(A:FUEL TANK CENTER LEVEL, percent)", "(A:FUEL TANK CENTER QUANTITY, gallons)",
     "Center Fuel Tank 1: %1!5.1f! Gallons"},
    {"Center2", 0x1650, 7, "(A:FUEL TANK CENTER2 LEVEL, percent)", "(A:FUEL TANK CENTER2 QUANTITY, gallons)",
     "Center Fuel Tank 2: %1!5.1f! Gallons"},
    {"Center3", 0x1660, 8, "(A:FUEL TANK CENTER3 LEVEL, percent)", "(A:FUEL TANK CENTER3 QUANTITY, gallons)",
     "Center Fuel Tank 3: %1!5.1f! Gallons"},
    {"External1", 0x16d0, 9, "(A:FUEL TANK EXTERNAL1 LEVEL, percent)", "(A:FUEL TANK EXTERNAL1 QUANTITY, gallons)",
     "External Fuel Tank 1: %1!5.1f! Gallons"},
    {"External2", 0x16e0, 10, "(A:FUEL TANK EXTERNAL2 LEVEL, percent)", "(A:FUEL TANK EXTERNAL2 QUANTITY, gallons)",
     "External Fuel Tank 2: %1!5.1f! Gallons"},
};

template <size_t Row>
struct TankGauge {
  static constexpr const Tank& tank = kTanks[Row];
  static constexpr const char* name = tank.name;
  static constexpr uint32_t label = tank.label;
  static constexpr int lighting_slot = tank.lighting_slot;
  static constexpr const char* tooltip = tank.tooltip;
  static constexpr GaugeCallback on_message = nullptr;

  // Shared by every instance of the gauge.
  static inline constinit double level = 0.0;
  static inline constinit double quantity = 0.0;

  static double reading() {
    evaluate(tank.level, level);
    return level;
  }
  static double gallons() {
    evaluate(tank.quantity, quantity);
    return quantity;
  }
};

template <size_t Row>
using TankDial = FuelDial<TankGauge<Row>>;

}  // namespace tankgauges
