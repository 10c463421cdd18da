// "oil_temperature": engine 1 and 2 oil temperature on one 0-250 degC dial.
// Here needle R carries the module's lighting: it registers the variable on
// its first call and, after computing its reading, keeps the gauge lit.
#include <algorithm>

#include "dual_gauge.h"

namespace lubetemp {
namespace {

constexpr double kRankineAtZeroFahrenheit = 459.67;  // the token is in degrees Rankine
constexpr double kCelsiusPerFahrenheit = 0.5555555555555556;

constinit int32_t lighting_registered;
constinit int32_t lighting_slot;

double celsius_reading(const ELEMENT_HEADER* needle) {
  const double celsius = (frame::token_value(needle) - kRankineAtZeroFahrenheit - 32.0) * kCelsiusPerFahrenheit;
  return std::clamp(celsius, 0.0, 250.0);
}

struct OilTemperature {
  static constexpr NONLINEARITY scale[] = {
      {{79, 273}, 0, 0},   {{9, 151}, 50, 0},   {{79, 27}, 100, 0},
      {{222, 27}, 150, 0}, {{293, 151}, 200, 0}, {{222, 273}, 250, 0},
  };
  static constexpr frame::DualDial dial = {
      .gauge_name = "oil_temperature", .left_token = 416, .right_token = 455,
      .left_help = 0x30f1, .right_help = 0x30f2,  // engine 1, engine 2 oil temperature
      .right_half_x = 151, .scale = scale};

  static double GAUGE_CALL needle_l(ELEMENT_HEADER* needle) { return celsius_reading(needle); }
  static double GAUGE_CALL needle_r(ELEMENT_HEADER* needle) {
    frame::register_lighting_once(lighting_registered);
    const double reading = celsius_reading(needle);
    frame::lighting_check(needle, lighting_slot, frame::kDualGaugeLitDepths);
    return reading;
  }
};

constinit GAUGEHDR* const gauges[] = {&frame::DualGauge<OilTemperature>::header, nullptr};

}  // namespace
}  // namespace lubetemp

extern "C" {
GAUGE_EXPORT constinit GAUGESLINKAGE Linkage = frame::linkage(lubetemp::gauges);
}
