// The fuel dial every gauge of the module is drawn on: face, label plate,
// needle and bezel in one chain, a tooltip with one number in gallons and a
// lighting click over the whole face. A gauge describes only what differs:
//
// Gauge is a type with:
//   static constexpr const char* name;
//   static constexpr uint32_t label;           // label plate bitmap
//   static constexpr int lighting_slot;        // index into lighting_slots
//   static constexpr const char* tooltip;      // format with one "%1!5.1f!"
//   static double reading();                   // percent, after the lighting check
//   static double gallons();                   // the tooltip's value
//   static constexpr GaugeCallback on_message; // or nullptr
#pragma once

#include <cstdint>

#include "lighting.h"

namespace tankgauges {

// One slot per gauge; the totals hold 11 to 14, not their declaration order.
inline constexpr int kGauges = 15;
inline constinit int32_t lighting_slots[kGauges] = {};

// Evaluations write into module data; without a result the store keeps its value.
inline void evaluate(const char* expression, double& store) {
  frame::host().execute_calculator_code(expression, &store, nullptr, nullptr);
}

// E at the lower left, 1/2 straight up, F at the lower right; every needle of the module.
inline constexpr NONLINEARITY kPercentScale[] = {
    {{45, 212}, 0, 0}, {{45, 90}, 25, 0}, {{151, 28}, 50, 0}, {{256, 90}, 75, 0}, {{256, 212}, 100, 0},
};

inline constexpr uint32_t kFace = 0x0100;
inline constexpr uint32_t kNeedle = 0x1500;
inline constexpr uint32_t kBezel = 0x16f0;

template <class Gauge>
struct FuelDial {
  static constexpr PIXPOINT kCentre = {151, 151};
  static constexpr PIXPOINT kLabelPosition = {93, 200};
  static constexpr PIXPOINT kNeedlePivot = {53, 9};
  static constexpr uint32_t kLitDepths = frame::depths({0, 1, 2});  // the bezel never glows

  static double GAUGE_CALL needle_callback(ELEMENT_HEADER* element) {
    frame::lighting_check(element, lighting_slots[Gauge::lighting_slot], kLitDepths);
    return Gauge::reading();
  }
  static double GAUGE_CALL tooltip_callback(double, uint32_t, const char*, MODULE_VAR*, GAUGEHDR*) {
    return Gauge::gallons();
  }

  static ELEMENT_STATIC_IMAGE face;
  static ELEMENT_STATIC_IMAGE label;
  static ELEMENT_NEEDLE needle;
  static ELEMENT_STATIC_IMAGE bezel;
  static const TOOLTIP_ARGUMENT gallons_argument;
  static const MOUSERECT mouse[5];
  static GAUGEHDR header;
};

template <class Gauge>
constinit ELEMENT_STATIC_IMAGE FuelDial<Gauge>::face =
    frame::static_image({.gauge = &header, .bitmap = kFace, .child = frame::child_list<&label>});

template <class Gauge>
constinit ELEMENT_STATIC_IMAGE FuelDial<Gauge>::label = frame::static_image(
    {.gauge = &header, .bitmap = Gauge::label, .position = kLabelPosition, .child = frame::child_list<&needle>});

template <class Gauge>
constinit ELEMENT_NEEDLE FuelDial<Gauge>::needle = frame::needle({
    .gauge = &header, .bitmap = kNeedle, .position = kCentre, .pivot = kNeedlePivot, .scale = kPercentScale,
    .update = needle_callback, .child = frame::child_list<&bezel>});

template <class Gauge>
constinit ELEMENT_STATIC_IMAGE FuelDial<Gauge>::bezel = frame::static_image({.gauge = &header, .bitmap = kBezel});

template <class Gauge>
constinit const TOOLTIP_ARGUMENT FuelDial<Gauge>::gallons_argument = frame::number_argument(tooltip_callback);

template <class Gauge>
constinit const MOUSERECT FuelDial<Gauge>::mouse[5] = {
    frame::parent(),
    frame::format_tooltip(Gauge::tooltip, &gallons_argument),
    frame::click({1, 1, 300, 300}, frame::lighting_click),
    frame::end_parent(),
    frame::end_of_list(),
};

template <class Gauge>
constinit GAUGEHDR FuelDial<Gauge>::header = frame::gauge({
    .name = Gauge::name, .width_mm = 80, .root = frame::root_list<&face>, .mouse = mouse,
    .gauge_callback = Gauge::on_message});

}  // namespace tankgauges
