// The four group totals: quantity as a percentage of capacity, worked out by
// the module, on the same dial as the tanks. They differ in when they read:
//   "Aircraft Total" reads capacity and quantity on every update;
//   "Left Total" and "Right Total" read capacity at message 4 and whenever
//     their tooltip shows, quantity on every update;
//   "Center Total" sums the three centre tanks, capacity at message 4 and
//     quantity at message 10, and its needle shows the last message 10.
#pragma once

#include "fuel_dial.h"

namespace tankgauges {

struct AircraftTotal {
  static constexpr const char* name = "Aircraft Total";
  static constexpr uint32_t label = 0x1600;  // an empty plate
  static constexpr int lighting_slot = 14;
  static constexpr const char* tooltip = "Total Fuel: %1!5.1f! Gallons";
  static constexpr GaugeCallback on_message = nullptr;

  static inline constinit double capacity = 0.0;
  static inline constinit double quantity = 0.0;

  // Unlike the other totals, a negative capacity also reads 0.
  static double reading() {
    evaluate("(A:FUEL TOTAL CAPACITY, gallons)", capacity);
    evaluate("(A:FUEL TOTAL QUANTITY, gallons)", quantity);
    return capacity > 0.0 ? quantity * 100.0 / capacity : 0.0;
  }
  static double gallons() { return quantity; }
};

struct Side {
  const char* name;
  uint32_t label;
  int lighting_slot;
  const char* capacity;
  const char* quantity;
  const char* tooltip;
};

inline constexpr Side kLeftSide = {"Left Total", 0x1610, 11, "(A:FUEL LEFT CAPACITY, gallons)",
                                   "(A:FUEL LEFT QUANTITY, gallons)", "Left Fuel Tanks: %1!5.1f! Gallons"};
inline constexpr Side kRightSide = {"Right Total", 0x1620, 12, "(A:FUEL RIGHT CAPACITY, gallons)",
                                    "(A:FUEL RIGHT QUANTITY, gallons)", "Right Fuel Tanks: %1!5.1f! Gallons"};

template <const Side& side>
struct SideTotal {
  static constexpr const char* name = side.name;
  static constexpr uint32_t label = side.label;
  static constexpr int lighting_slot = side.lighting_slot;
  static constexpr const char* tooltip = side.tooltip;

  static inline constinit double capacity = 0.0;
  static inline constinit double quantity = 0.0;

  static void GAUGE_CALL message(GAUGEHDR*, int32_t id, uint32_t) {
    if (id == PANEL_SERVICE_PRE_INITIALIZE) evaluate(side.capacity, capacity);
  }
  static constexpr GaugeCallback on_message = message;

  static double reading() {
    evaluate(side.quantity, quantity);
    return capacity == 0.0 ? 0.0 : quantity / capacity * 100.0;
  }
  // Showing the tooltip is the one other moment the capacity is read again.
  static double gallons() {
    evaluate(side.capacity, capacity);
    return quantity;
  }
};

struct CenterTotal {
  static constexpr const char* name = "Center Total";
  static constexpr uint32_t label = 0x1630;
  static constexpr int lighting_slot = 13;
  static constexpr const char* tooltip = "Center Fuel Tanks: %1!5.1f! Gallons";

  static inline constinit double capacity = 0.0;
  static inline constinit double quantity = 0.0;
  static inline constinit double percent = 0.0;
  // One per centre tank; the host writes results only into module data.
  static inline constinit double terms[3] = {};

  // CENTER, CENTER2, CENTER3 in this order, the sum set afresh each time.
  static double sum(const char* const (&expressions)[3]) {
    for (int i = 0; i < 3; ++i) evaluate(expressions[i], terms[i]);
    return terms[0] + terms[1] + terms[2];
  }

  static void GAUGE_CALL message(GAUGEHDR*, int32_t id, uint32_t) {
    static constexpr const char* kCapacities[3] = {"(A:FUEL TANK CENTER CAPACITY, gallons)",
                                                   "(A:FUEL TANK CENTER2 CAPACITY, gallons)",
                                                   "(A:FUEL TANK CENTER3 CAPACITY, gallons)"};
    static constexpr const char* kQuantities[3] = {"(A:FUEL TANK CENTER QUANTITY, gallons)",
                                                   "(A:FUEL TANK CENTER2 QUANTITY, gallons)",
                                                   "(A:FUEL TANK CENTER3 QUANTITY, gallons)"};
    if (id == PANEL_SERVICE_PRE_INITIALIZE) {
      capacity = sum(kCapacities);
    } else if (id == PANEL_SERVICE_PRE_DRAW) {
      quantity = sum(kQuantities);
      percent = capacity == 0.0 ? 0.0 : quantity / capacity * 100.0;
    }
  }
  static constexpr GaugeCallback on_message = message;

  static double reading() { return percent; }
  static double gallons() { return quantity; }
};

}  // namespace tankgauges
