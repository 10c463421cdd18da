// "oil_pressure": engine 1 and 2 oil pressure on one 0-160 psi dial. Needle L
// carries the module's lighting: it registers the variable on its first call
// and, after computing its reading, keeps the face and both needles lit.
#include <algorithm>

#include "dual_gauge.h"

namespace lubepress {
namespace {

constexpr double kPsfPerPsi = 144.0;  // the token is in pounds per square foot

constinit int32_t lighting_registered;
constinit int32_t lighting_slot;

double psi_reading(const ELEMENT_HEADER* needle) {
  return std::clamp(frame::token_value(needle) / kPsfPerPsi, 0.0, 160.0);
}

struct OilPressure {
  static constexpr NONLINEARITY scale[] = {
      {{101, 285}, 0, 0},
      {{151, 7}, 80, 0},
      {{198, 285}, 160, 0},
  };
  static constexpr frame::DualDial dial = {
      .gauge_name = "oil_pressure", .left_token = 418, .right_token = 457,
      .left_help = 0x3101, .right_help = 0x3102,  // engine 1, engine 2 oil pressure
      .right_half_x = 151, .scale = scale};

  static double GAUGE_CALL needle_l(ELEMENT_HEADER* needle) {
    frame::register_lighting_once(lighting_registered);
    const double reading = psi_reading(needle);
    frame::lighting_check(needle, lighting_slot, frame::kDualGaugeLitDepths);
    return reading;
  }
  static double GAUGE_CALL needle_r(ELEMENT_HEADER* needle) { return psi_reading(needle); }
};

constinit GAUGEHDR* const gauges[] = {&frame::DualGauge<OilPressure>::header, nullptr};

}  // namespace
}  // namespace lubepress

extern "C" {
GAUGE_EXPORT constinit GAUGESLINKAGE Linkage = frame::linkage(lubepress::gauges);
}
