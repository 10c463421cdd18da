// "oil_pressure": engine 1 and 2 oil pressure on one 0-160 psi dial. Needle L
// also carries the module's lighting: it registers the variable on its first
// call and keeps the face and both needles lit or unlit.
#include <algorithm>

#include "lighting.h"

namespace lubepress {
namespace {

constexpr double kPsfPerPsi = 144.0;  // the token is in pounds per square foot
constexpr uint32_t kLitDepths = frame::depths({0, 1, 2});  // face, needle L, needle R

constinit int32_t lighting_registered;
constinit int32_t lighting_slot;

double psi_reading(const ELEMENT_HEADER* needle) {
  return std::clamp(frame::token_value(needle) / kPsfPerPsi, 0.0, 160.0);
}

double GAUGE_CALL needle_l_callback(ELEMENT_HEADER* needle) {
  frame::register_lighting_once(lighting_registered);
  const double reading = psi_reading(needle);
  frame::lighting_check(needle, lighting_slot, kLitDepths);
  return reading;
}

double GAUGE_CALL needle_r_callback(ELEMENT_HEADER* needle) { return psi_reading(needle); }

}  // namespace

extern GAUGEHDR oil_pressure;
extern ELEMENT_NEEDLE needle_l, needle_r;
extern ELEMENT_STATIC_IMAGE bezel;

constinit const NONLINEARITY scale[] = {
    {{101, 285}, 0, 0},
    {{151, 7}, 80, 0},
    {{198, 285}, 160, 0},
};

constinit ELEMENT_STATIC_IMAGE face = frame::static_image({
    .gauge = &oil_pressure, .bitmap = 0x0100, .child = frame::child_list<&needle_l>});
constinit ELEMENT_NEEDLE needle_l = frame::needle({
    .gauge = &oil_pressure, .bitmap = 0x0200, .position = {151, 151}, .pivot = {59, 14},
    .token = 418, .scale = scale, .max_degrees_per_tick = 5, .update = needle_l_callback,
    .child = frame::child_list<&needle_r>});
constinit ELEMENT_NEEDLE needle_r = frame::needle({
    .gauge = &oil_pressure, .bitmap = 0x0300, .position = {151, 151}, .pivot = {59, 14},
    .token = 457, .scale = scale, .max_degrees_per_tick = 5, .update = needle_r_callback,
    .child = frame::child_list<&bezel>});
constinit ELEMENT_STATIC_IMAGE bezel = frame::static_image({.gauge = &oil_pressure, .bitmap = 0x0400});

constinit const MOUSERECT mouse[] = {
    frame::parent(),
    frame::parent({1, 1, 149, 300}),
    frame::help_tooltip(0x3101),  // engine 1 oil pressure
    frame::end_parent(),
    frame::parent({151, 1, 149, 300}),
    frame::help_tooltip(0x3102),  // engine 2 oil pressure
    frame::end_parent(),
    frame::click({1, 1, 300, 300}, frame::lighting_click),
    frame::end_parent(),
    frame::end_of_list(),
};

constinit GAUGEHDR oil_pressure = frame::gauge({
    .name = "oil_pressure", .width_mm = 80, .root = frame::root_list<&face>, .mouse = mouse});

constinit GAUGEHDR* const gauges[] = {&oil_pressure, nullptr};

}  // namespace lubepress

extern "C" {
GAUGE_EXPORT constinit GAUGESLINKAGE Linkage = frame::linkage(lubepress::gauges);
}
