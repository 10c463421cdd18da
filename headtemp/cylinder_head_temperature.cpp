// "dual_cht": engine 1 and 2 cylinder head temperature on one 0-500 degC dial.
// Needle R carries the module's lighting and follows it before it reads its
// token. The limits apply to the Fahrenheit token, so on a dial marked to
// 500 the readings run only from -17.8 to 260 degC.
#include <algorithm>

#include "dual_gauge.h"

namespace headtemp {
namespace {

constexpr double kCelsiusPerFahrenheit = 0.5555555555555556;

constinit int32_t lighting_registered;
constinit int32_t lighting_slot;

double celsius_reading(const ELEMENT_HEADER* needle) {
  const double fahrenheit = std::clamp(frame::token_value(needle), 0.0, 500.0);
  return (fahrenheit - 32.0) * kCelsiusPerFahrenheit;
}

struct CylinderHeadTemperature {
  static constexpr NONLINEARITY scale[] = {
      {{79, 274}, 0, 0},   {{8, 151}, 100, 0},   {{79, 26}, 200, 0},
      {{221, 26}, 300, 0}, {{292, 151}, 400, 0}, {{221, 274}, 500, 0},
  };
  // The right half starts at x = 150: the halves meet without a gap.
  static constexpr frame::DualDial dial = {
      .gauge_name = "dual_cht", .left_token = 146, .right_token = 181,
      .left_help = 0x30d1, .right_help = 0x30d2,  // engine 1, engine 2 cylinder head temperature
      .right_half_x = 150, .scale = scale};

  static double GAUGE_CALL needle_l(ELEMENT_HEADER* needle) { return celsius_reading(needle); }
  static double GAUGE_CALL needle_r(ELEMENT_HEADER* needle) {
    frame::register_lighting_once(lighting_registered);
    frame::lighting_check(needle, lighting_slot, frame::kDualGaugeLitDepths);
    return celsius_reading(needle);
  }
};

constinit GAUGEHDR* const gauges[] = {&frame::DualGauge<CylinderHeadTemperature>::header, nullptr};

}  // namespace
}  // namespace headtemp

extern "C" {
GAUGE_EXPORT constinit GAUGESLINKAGE Linkage = frame::linkage(headtemp::gauges);
}
