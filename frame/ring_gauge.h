// The ring gauge: a dial face at the root, the bezel as its only child and one
// needle as the bezel's only child, with one tooltip and one lighting click
// area over the whole face. A module describes its dial and one row per
// engine; RingGauge<Module, Row> declares the gauge of that row.
//
// Module is a type with:
//   static constexpr frame::RingDial dial;
//   static constexpr frame::RingEngine engines[];
//   static inline constinit int32_t registered;          // one flag for the module
//   static inline constinit int32_t lighting_slots[N];
//   static double reading(double token_value);           // conversion and limits
#pragma once

#include <cstddef>

#include "lighting.h"

namespace frame {

struct RingDial {
  uint32_t face_bitmap;
  uint32_t bezel_bitmap;
  uint32_t needle_bitmap;
  PIXPOINT needle_pivot;
  Scale scale;
};

struct RingEngine {
  const char* gauge_name;
  uint32_t token;
  int lighting_slot;  // index into Module::lighting_slots
  uint32_t help_id;
};

template <class Module, size_t Row>
struct RingGauge {
  static constexpr const RingEngine& engine = Module::engines[Row];
  static constexpr PIXPOINT kCentre = {151, 151};
  static constexpr uint32_t kLitDepths = depths({0, 2});  // face and needle; the bezel never glows

  // Registers the lighting variable if no gauge of the module has yet, follows
  // it, and only then reads the token.
  static double GAUGE_CALL needle_callback(ELEMENT_HEADER* needle) {
    register_lighting_once(Module::registered);
    lighting_check(needle, Module::lighting_slots[engine.lighting_slot], kLitDepths);
    return Module::reading(token_value(needle));
  }

  static ELEMENT_STATIC_IMAGE face;
  static ELEMENT_STATIC_IMAGE bezel;
  static ELEMENT_NEEDLE needle;
  static const MOUSERECT mouse[5];
  static GAUGEHDR header;
};

template <class Module, size_t Row>
constinit ELEMENT_STATIC_IMAGE RingGauge<Module, Row>::face = static_image({
    .gauge = &header, .bitmap = Module::dial.face_bitmap, .child = child_list<&bezel>});

template <class Module, size_t Row>
constinit ELEMENT_STATIC_IMAGE RingGauge<Module, Row>::bezel = static_image({
    .gauge = &header, .bitmap = Module::dial.bezel_bitmap, .child = child_list<&needle>});

template <class Module, size_t Row>
constinit ELEMENT_NEEDLE RingGauge<Module, Row>::needle = frame::needle({
    .gauge = &header, .bitmap = Module::dial.needle_bitmap, .position = kCentre,
    .pivot = Module::dial.needle_pivot, .token = engine.token, .scale = Module::dial.scale,
    .max_degrees_per_tick = 5, .update = needle_callback});

template <class Module, size_t Row>
constinit const MOUSERECT RingGauge<Module, Row>::mouse[5] = {
    parent(),
    help_tooltip(engine.help_id),
    click({1, 1, 300, 300}, lighting_click),
    end_parent(),
    end_of_list(),
};

template <class Module, size_t Row>
constinit GAUGEHDR RingGauge<Module, Row>::header = gauge({
    .name = engine.gauge_name, .width_mm = 80, .root = root_list<&face>, .mouse = mouse});

}  // namespace frame
