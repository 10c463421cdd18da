// The dual-needle engine gauge: dial face, needle L (engine 1), needle R
// (engine 2) and bezel in one chain, both needles on one axis and one scale,
// a tooltip over each half and one lighting click area over the face.
// DualGauge<Module> declares it from the module's dial and its two needle
// callbacks, which decide which needle keeps the gauge's lighting.
//
// Module is a type with:
//   static constexpr frame::DualDial dial;
//   static double GAUGE_CALL needle_l(ELEMENT_HEADER*);
//   static double GAUGE_CALL needle_r(ELEMENT_HEADER*);
#pragma once

#include "lighting.h"

namespace frame {

struct DualDial {
  const char* gauge_name;
  uint32_t left_token, right_token;  // engine 1, engine 2
  uint32_t left_help, right_help;
  int32_t right_half_x;              // where the right tooltip half starts
  Scale scale;
};

// Face, needle L and needle R glow; the bezel never does.
inline constexpr uint32_t kDualGaugeLitDepths = depths({0, 1, 2});

template <class Module>
struct DualGauge {
  static constexpr const DualDial& dial = Module::dial;
  static constexpr PIXPOINT kCentre = {151, 151};
  static constexpr PIXPOINT kPivot = {59, 14};

  static ELEMENT_STATIC_IMAGE face;
  static ELEMENT_NEEDLE needle_l;
  static ELEMENT_NEEDLE needle_r;
  static ELEMENT_STATIC_IMAGE bezel;
  static const MOUSERECT mouse[10];
  static GAUGEHDR header;
};

template <class Module>
constinit ELEMENT_STATIC_IMAGE DualGauge<Module>::face = static_image({
    .gauge = &header, .bitmap = 0x0100, .child = child_list<&needle_l>});

template <class Module>
constinit ELEMENT_NEEDLE DualGauge<Module>::needle_l = needle({
    .gauge = &header, .bitmap = 0x0200, .position = kCentre, .pivot = kPivot, .token = dial.left_token,
    .scale = dial.scale, .max_degrees_per_tick = 5, .update = Module::needle_l, .child = child_list<&needle_r>});

template <class Module>
constinit ELEMENT_NEEDLE DualGauge<Module>::needle_r = needle({
    .gauge = &header, .bitmap = 0x0300, .position = kCentre, .pivot = kPivot, .token = dial.right_token,
    .scale = dial.scale, .max_degrees_per_tick = 5, .update = Module::needle_r, .child = child_list<&bezel>});

template <class Module>
constinit ELEMENT_STATIC_IMAGE DualGauge<Module>::bezel = static_image({.gauge = &header, .bitmap = 0x0400});

template <class Module>
constinit const MOUSERECT DualGauge<Module>::mouse[10] = {
    parent(),
    parent({1, 1, 149, 300}),
    help_tooltip(dial.left_help),
    end_parent(),
    parent({dial.right_half_x, 1, 149, 300}),
    help_tooltip(dial.right_help),
    end_parent(),
    click({1, 1, 300, 300}, lighting_click),
    end_parent(),
    end_of_list(),
};

template <class Module>
constinit GAUGEHDR DualGauge<Module>::header = gauge({
    .name = dial.gauge_name, .width_mm = 80, .root = root_list<&face>, .mouse = mouse});

}  // namespace frame
