// Engine RPM on one 0-3000 dial: a ring gauge per engine, "engine1" to
// "engine4", and "dual_1&2" with needles L and R for engines 1 and 2.
#include "ring_gauge.h"

namespace tachometer {
namespace {

struct Rpm {
  static constexpr NONLINEARITY scale[] = {
      {{45, 212}, 0, 0},    {{29, 130}, 500, 0},  {{70, 56}, 1000, 0},   {{151, 26}, 1500, 0},
      {{230, 56}, 2000, 0}, {{271, 130}, 2500, 0}, {{257, 212}, 3000, 0},
  };
  // This module's artwork numbers the bezel before the needle.
  static constexpr frame::RingDial dial = {
      .face_bitmap = 0x0100, .bezel_bitmap = 0x0200, .needle_bitmap = 0x0300, .needle_pivot = {52, 10},
      .scale = scale};

  // The engine gauges keep their engine number as slot; slot 0 is the dual gauge's.
  static constexpr frame::RingEngine engines[] = {
      {.gauge_name = "engine1", .token = 390, .lighting_slot = 1, .help_id = 0x3211},
      {.gauge_name = "engine2", .token = 429, .lighting_slot = 2, .help_id = 0x3212},
      {.gauge_name = "engine3", .token = 468, .lighting_slot = 3, .help_id = 0x3213},
      {.gauge_name = "engine4", .token = 507, .lighting_slot = 4, .help_id = 0x3214},
  };

  static inline constinit int32_t registered = 0;
  static inline constinit int32_t lighting_slots[5] = {};

  // Held within the dial; NaN fails both tests and passes as it comes.
  static double reading(double rpm) {
    if (rpm > 3000.0) rpm = 3000.0;
    if (rpm < 0.0) rpm = 0.0;
    return rpm;
  }
};

template <size_t Row>
using Engine = frame::RingGauge<Rpm, Row>;

constexpr int kDualSlot = 0;
// Only the dual gauge has an element at depth 3, its needle R.
constexpr uint32_t kDualLitDepths = frame::depths({0, 2, 3});  // face, needle L, needle R; never the bezel

double GAUGE_CALL dual_needle_l_callback(ELEMENT_HEADER* needle) { return Rpm::reading(frame::token_value(needle)); }

// Needle R, the upper one, keeps the whole dual gauge lit or unlit. It never
// registers the variable: that is left to the engine gauges or another module.
double GAUGE_CALL dual_needle_r_callback(ELEMENT_HEADER* needle) {
  frame::lighting_check(needle, Rpm::lighting_slots[kDualSlot], kDualLitDepths);
  return Rpm::reading(frame::token_value(needle));
}

}  // namespace

extern GAUGEHDR dual;
extern ELEMENT_STATIC_IMAGE dual_bezel;
extern ELEMENT_NEEDLE dual_needle_l, dual_needle_r;

constinit ELEMENT_STATIC_IMAGE dual_face = frame::static_image({
    .gauge = &dual, .bitmap = Rpm::dial.face_bitmap, .child = frame::child_list<&dual_bezel>});
constinit ELEMENT_STATIC_IMAGE dual_bezel = frame::static_image({
    .gauge = &dual, .bitmap = Rpm::dial.bezel_bitmap, .child = frame::child_list<&dual_needle_l>});
constinit ELEMENT_NEEDLE dual_needle_l = frame::needle({
    .gauge = &dual, .bitmap = 0x0400, .position = {151, 151}, .pivot = {59, 14},
    .token = 390, .scale = Rpm::scale, .max_degrees_per_tick = 5, .update = dual_needle_l_callback,
    .child = frame::child_list<&dual_needle_r>});
constinit ELEMENT_NEEDLE dual_needle_r = frame::needle({
    .gauge = &dual, .bitmap = 0x0500, .position = {151, 151}, .pivot = {59, 14},
    .token = 429, .scale = Rpm::scale, .max_degrees_per_tick = 5, .update = dual_needle_r_callback});

// Tooltips over the upper quarters only; the click area covers the whole face.
constinit const MOUSERECT dual_mouse[] = {
    frame::parent(),
    frame::parent({1, 1, 149, 149}),
    frame::help_tooltip(0x3211),  // engine 1 RPM
    frame::end_parent(),
    frame::parent({151, 1, 149, 149}),
    frame::help_tooltip(0x3212),  // engine 2 RPM
    frame::end_parent(),
    frame::click({1, 1, 300, 300}, frame::lighting_click),
    frame::end_parent(),
    frame::end_of_list(),
};

constinit GAUGEHDR dual = frame::gauge({
    .name = "dual_1&2", .width_mm = 80, .root = frame::root_list<&dual_face>, .mouse = dual_mouse});

constinit GAUGEHDR* const gauges[] = {
    &Engine<0>::header, &Engine<1>::header, &Engine<2>::header, &Engine<3>::header, &dual, nullptr};

}  // namespace tachometer

extern "C" {
GAUGE_EXPORT constinit GAUGESLINKAGE Linkage = frame::linkage(tachometer::gauges);
}
