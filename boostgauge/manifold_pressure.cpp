// "engine1" to "engine4": manifold pressure of each engine on a 0-60 inHg ring
// gauge, held at the top of the scale only.
#include "ring_gauge.h"

namespace boostgauge {
namespace {

constexpr double kPsfPerInchOfMercury = 70.7262;  // the token is in pounds per square foot

struct ManifoldPressure {
  static constexpr NONLINEARITY scale[] = {
      {{79, 273}, 0, 0},  {{11, 175}, 10, 0}, {{41, 59}, 20, 0},   {{151, 7}, 30, 0},
      {{259, 59}, 40, 0}, {{288, 175}, 50, 0}, {{221, 273}, 60, 0},
  };
  static constexpr frame::RingDial dial = {
      .face_bitmap = 0x0100, .bezel_bitmap = 0x0300, .needle_bitmap = 0x0200, .needle_pivot = {52, 10},
      .scale = scale};

  // A gauge's slot is its engine number modulo 4, so engine 4 keeps slot 0.
  static constexpr frame::RingEngine engines[] = {
      {.gauge_name = "engine1", .token = 391, .lighting_slot = 1, .help_id = 0x30A1},
      {.gauge_name = "engine2", .token = 430, .lighting_slot = 2, .help_id = 0x30A2},
      {.gauge_name = "engine3", .token = 469, .lighting_slot = 3, .help_id = 0x30A3},
      {.gauge_name = "engine4", .token = 508, .lighting_slot = 0, .help_id = 0x30A4},
  };

  static inline constinit int32_t registered = 0;
  static inline constinit int32_t lighting_slots[4] = {};

  // No lower bound: a negative or NaN pressure reaches the needle as it comes.
  static double reading(double psf) {
    const double inches = psf / kPsfPerInchOfMercury;
    return inches > 60.0 ? 60.0 : inches;
  }
};

template <size_t Row>
using Engine = frame::RingGauge<ManifoldPressure, Row>;

constinit GAUGEHDR* const gauges[] = {
    &Engine<0>::header, &Engine<1>::header, &Engine<2>::header, &Engine<3>::header, nullptr};

}  // namespace
}  // namespace boostgauge

extern "C" {
GAUGE_EXPORT constinit GAUGESLINKAGE Linkage = frame::linkage(boostgauge::gauges);
}
