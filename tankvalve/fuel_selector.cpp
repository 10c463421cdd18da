// "engine1" to "engine4": a fuel selector knob per engine. The face reads
// clockwise from the top BOTH, RIGHT, OFF, LEFT; a click on a word sends the
// engine's event for it, and the knob follows only the simulator's value.
#include "frame.h"

namespace tankvalve {
namespace {

struct SelectorEvents {
  uint32_t off, both, left, right;
};

struct EngineRow {
  const char* gauge_name;
  uint32_t selector_token;
  uint32_t help_id;
  SelectorEvents events;
};

// Engine 1's events lie apart from the other three engines'.
constexpr EngineRow engines[] = {
    {"engine1", 422, 0x3268, {65955, 65956, 65957, 65958}},
    {"engine2", 461, 0x3269, {66516, 66517, 66518, 66519}},
    {"engine3", 500, 0x326a, {66561, 66562, 66563, 66564}},
    {"engine4", 539, 0x326b, {66569, 66570, 66571, 66572}},
};

// Readings: 0 up (BOTH), 1 right, 2 down (OFF), 3 left.
constexpr NONLINEARITY face_scale[] = {
    {{42, 0}, 0, 0},
    {{84, 42}, 1, 0},
    {{42, 84}, 2, 0},
    {{0, 42}, 3, 0},
};

// The simulator's selector counts off, both, left, right; the host writes it
// as an integer, so it is read as one. Anything unknown shows BOTH.
double GAUGE_CALL selector_reading(ELEMENT_HEADER* knob) {
  constexpr double kReadingOf[] = {2.0, 0.0, 3.0, 1.0};
  const uint32_t selector = frame::token_uint32(reinterpret_cast<const ELEMENT_NEEDLE*>(knob)->source);
  return selector < 4 ? kReadingOf[selector] : 0.0;
}

template <uint32_t Event>
int32_t GAUGE_CALL send_event(const PIXPOINT*, uint32_t) {
  frame::host().trigger_key_event(Event, 0);
  return 0;
}

template <size_t Row>
struct SelectorGauge {
  static constexpr const EngineRow& engine = engines[Row];

  static ELEMENT_STATIC_IMAGE face;
  static ELEMENT_NEEDLE knob;
  static const MOUSERECT mouse[8];
  static GAUGEHDR header;
};

template <size_t Row>
constinit ELEMENT_STATIC_IMAGE SelectorGauge<Row>::face = frame::static_image({
    .gauge = &header, .bitmap = 0x0100, .child = frame::child_list<&knob>});

// The knob's hub (28,9) sits on the face's centre; it jumps, no turn limit.
template <size_t Row>
constinit ELEMENT_NEEDLE SelectorGauge<Row>::knob = frame::needle({
    .gauge = &header, .bitmap = 0x0200, .position = {42, 42}, .pivot = {28, 9},
    .token = engine.selector_token, .scale = face_scale, .max_degrees_per_tick = 0,
    .update = selector_reading});

// One box over each word; the hub (28 to 54 both ways) lies in none.
template <size_t Row>
constinit const MOUSERECT SelectorGauge<Row>::mouse[8] = {
    frame::parent(),
    frame::help_tooltip(engine.help_id),
    frame::click({27, 55, 27, 27}, send_event<engine.events.off>),
    frame::click({27, 1, 27, 27}, send_event<engine.events.both>),
    frame::click({1, 27, 27, 27}, send_event<engine.events.left>),
    frame::click({55, 27, 27, 27}, send_event<engine.events.right>),
    frame::end_parent(),
    frame::end_of_list(),
};

template <size_t Row>
constinit GAUGEHDR SelectorGauge<Row>::header = frame::gauge({
    .name = engine.gauge_name, .width_mm = 80, .root = frame::root_list<&face>, .mouse = mouse});

constinit GAUGEHDR* const gauges[] = {&SelectorGauge<0>::header, &SelectorGauge<1>::header,
                                      &SelectorGauge<2>::header, &SelectorGauge<3>::header, nullptr};

}  // namespace
}  // namespace tankvalve

extern "C" {
GAUGE_EXPORT constinit GAUGESLINKAGE Linkage = frame::linkage(tankvalve::gauges);
}
