// "oil_temperature": engine 1 and 2 oil temperature on one 0-250 degC dial.
// Here needle R carries the module's lighting: it registers the variable on
// its first call and keeps the face and both needles lit or unlit.
#include <algorithm>

#include "lighting.h"

namespace lubetemp {
namespace {

constexpr double kRankineAtZeroFahrenheit = 459.67;  // the token is in degrees Rankine
constexpr double kCelsiusPerFahrenheit = 0.5555555555555556;
constexpr uint32_t kLitDepths = frame::depths({0, 1, 2});  // face, needle L, needle R

constinit int32_t lighting_registered;
constinit int32_t lighting_slot;

double celsius_reading(const ELEMENT_HEADER* needle) {
  const double celsius = (frame::token_value(needle) - kRankineAtZeroFahrenheit - 32.0) * kCelsiusPerFahrenheit;
  return std::clamp(celsius, 0.0, 250.0);
}

double GAUGE_CALL needle_l_callback(ELEMENT_HEADER* needle) { return celsius_reading(needle); }

double GAUGE_CALL needle_r_callback(ELEMENT_HEADER* needle) {
  frame::register_lighting_once(lighting_registered);
  const double reading = celsius_reading(needle);
  frame::lighting_check(needle, lighting_slot, kLitDepths);
  return reading;
}

}  // namespace

extern GAUGEHDR oil_temperature;
extern ELEMENT_NEEDLE needle_l, needle_r;
extern ELEMENT_STATIC_IMAGE bezel;

constinit const NONLINEARITY scale[] = {
    {{79, 273}, 0, 0},   {{9, 151}, 50, 0},   {{79, 27}, 100, 0},
    {{222, 27}, 150, 0}, {{293, 151}, 200, 0}, {{222, 273}, 250, 0},
};

constinit ELEMENT_STATIC_IMAGE face = frame::static_image({
    .gauge = &oil_temperature, .bitmap = 0x0100, .child = frame::child_list<&needle_l>});
constinit ELEMENT_NEEDLE needle_l = frame::needle({
    .gauge = &oil_temperature, .bitmap = 0x0200, .position = {151, 151}, .pivot = {59, 14},
    .token = 416, .scale = scale, .max_degrees_per_tick = 5, .update = needle_l_callback,
    .child = frame::child_list<&needle_r>});
constinit ELEMENT_NEEDLE needle_r = frame::needle({
    .gauge = &oil_temperature, .bitmap = 0x0300, .position = {151, 151}, .pivot = {59, 14},
    .token = 455, .scale = scale, .max_degrees_per_tick = 5, .update = needle_r_callback,
    .child = frame::child_list<&bezel>});
constinit ELEMENT_STATIC_IMAGE bezel = frame::static_image({.gauge = &oil_temperature, .bitmap = 0x0400});

constinit const MOUSERECT mouse[] = {
    frame::parent(),
    frame::parent({1, 1, 149, 300}),
    frame::help_tooltip(0x30f1),  // engine 1 oil temperature
    frame::end_parent(),
    frame::parent({151, 1, 149, 300}),
    frame::help_tooltip(0x30f2),  // engine 2 oil temperature
    frame::end_parent(),
    frame::click({1, 1, 300, 300}, frame::lighting_click),
    frame::end_parent(),
    frame::end_of_list(),
};

constinit GAUGEHDR oil_temperature = frame::gauge({
    .name = "oil_temperature", .width_mm = 80, .root = frame::root_list<&face>, .mouse = mouse});

constinit GAUGEHDR* const gauges[] = {&oil_temperature, nullptr};

}  // namespace lubetemp

extern "C" {
GAUGE_EXPORT constinit GAUGESLINKAGE Linkage = frame::linkage(lubetemp::gauges);
}
