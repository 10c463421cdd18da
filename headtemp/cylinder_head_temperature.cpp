// "dual_cht": engine 1 and 2 cylinder head temperature on one 0-500 degC dial.
// Needle R carries the module's lighting and follows it before it reads its
// token. The limits apply to the Fahrenheit token, so on a dial marked to
// 500 the readings run only from -17.8 to 260 degC.
#include <algorithm>

#include "lighting.h"

namespace headtemp {
namespace {

constexpr double kCelsiusPerFahrenheit = 0.5555555555555556;
constexpr uint32_t kLitDepths = frame::depths({0, 1, 2});  // face, needle L, needle R

constinit int32_t lighting_registered;
constinit int32_t lighting_slot;

double celsius_reading(const ELEMENT_HEADER* needle) {
  const double fahrenheit = std::clamp(frame::token_value(needle), 0.0, 500.0);
  return (fahrenheit - 32.0) * kCelsiusPerFahrenheit;
}

double GAUGE_CALL needle_l_callback(ELEMENT_HEADER* needle) { return celsius_reading(needle); }

double GAUGE_CALL needle_r_callback(ELEMENT_HEADER* needle) {
  frame::register_lighting_once(lighting_registered);
  frame::lighting_check(needle, lighting_slot, kLitDepths);
  return celsius_reading(needle);
}

}  // namespace

extern GAUGEHDR dual_cht;
extern ELEMENT_NEEDLE needle_l, needle_r;
extern ELEMENT_STATIC_IMAGE bezel;

constinit const NONLINEARITY scale[] = {
    {{79, 274}, 0, 0},   {{8, 151}, 100, 0},   {{79, 26}, 200, 0},
    {{221, 26}, 300, 0}, {{292, 151}, 400, 0}, {{221, 274}, 500, 0},
};

constinit ELEMENT_STATIC_IMAGE face = frame::static_image({
    .gauge = &dual_cht, .bitmap = 0x0100, .child = frame::child_list<&needle_l>});
constinit ELEMENT_NEEDLE needle_l = frame::needle({
    .gauge = &dual_cht, .bitmap = 0x0200, .position = {151, 151}, .pivot = {59, 14},
    .token = 146, .scale = scale, .max_degrees_per_tick = 5, .update = needle_l_callback,
    .child = frame::child_list<&needle_r>});
constinit ELEMENT_NEEDLE needle_r = frame::needle({
    .gauge = &dual_cht, .bitmap = 0x0300, .position = {151, 151}, .pivot = {59, 14},
    .token = 181, .scale = scale, .max_degrees_per_tick = 5, .update = needle_r_callback,
    .child = frame::child_list<&bezel>});
constinit ELEMENT_STATIC_IMAGE bezel = frame::static_image({.gauge = &dual_cht, .bitmap = 0x0400});

// The right half starts at x = 150: the halves meet without a gap.
constinit const MOUSERECT mouse[] = {
    frame::parent(),
    frame::parent({1, 1, 149, 300}),
    frame::help_tooltip(0x30d1),  // engine 1 cylinder head temperature
    frame::end_parent(),
    frame::parent({150, 1, 149, 300}),
    frame::help_tooltip(0x30d2),  // engine 2 cylinder head temperature
    frame::end_parent(),
    frame::click({1, 1, 300, 300}, frame::lighting_click),
    frame::end_parent(),
    frame::end_of_list(),
};

constinit GAUGEHDR dual_cht = frame::gauge({
    .name = "dual_cht", .width_mm = 80, .root = frame::root_list<&face>, .mouse = mouse});

constinit GAUGEHDR* const gauges[] = {&dual_cht, nullptr};

}  // namespace headtemp

extern "C" {
GAUGE_EXPORT constinit GAUGESLINKAGE Linkage = frame::linkage(headtemp::gauges);
}
