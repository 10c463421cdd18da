// "engine1" to "engine4": fuel flow of each engine on a 0-160 gph ring gauge.
// The token is already in gallons per hour; it is held at the top of the scale only.
#include "ring_gauge.h"

namespace burnrate {
namespace {

struct FuelFlow {
  static constexpr NONLINEARITY scale[] = {
      {{101, 285}, 0, 0},
      {{151, 7}, 80, 0},
      {{198, 285}, 160, 0},
  };
  // The manifold pressure needle picture, but pivoted one pixel lower.
  static constexpr frame::RingDial dial = {
      .face_bitmap = 0x0100, .bezel_bitmap = 0x0300, .needle_bitmap = 0x0200, .needle_pivot = {52, 11},
      .scale = scale};

  // A gauge's slot is its engine number modulo 4, so engine 4 keeps slot 0.
  static constexpr frame::RingEngine engines[] = {
      {.gauge_name = "engine1", .token = 137, .lighting_slot = 1, .help_id = 0x30C1},
      {.gauge_name = "engine2", .token = 172, .lighting_slot = 2, .help_id = 0x30C2},
      {.gauge_name = "engine3", .token = 207, .lighting_slot = 3, .help_id = 0x30C3},
      {.gauge_name = "engine4", .token = 242, .lighting_slot = 0, .help_id = 0x30C4},
  };

  static inline constinit int32_t registered = 0;
  static inline constinit int32_t lighting_slots[4] = {};

  // No lower bound: a negative or NaN flow reaches the needle as it comes.
  static double reading(double gallons_per_hour) { return gallons_per_hour > 160.0 ? 160.0 : gallons_per_hour; }
};

template <size_t Row>
using Engine = frame::RingGauge<FuelFlow, Row>;

constinit GAUGEHDR* const gauges[] = {
    &Engine<0>::header, &Engine<1>::header, &Engine<2>::header, &Engine<3>::header, nullptr};

}  // namespace
}  // namespace burnrate

extern "C" {
GAUGE_EXPORT constinit GAUGESLINKAGE Linkage = frame::linkage(burnrate::gauges);
}
