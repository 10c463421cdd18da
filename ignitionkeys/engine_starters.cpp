// "engine1" to "engine4": per engine a starter lever over the L and R magneto
// levers on one plate. The four gauges differ only in their row of the table.
#include "start_switches.h"

namespace ignitionkeys {
namespace {

struct EngineRow {
  const char* gauge_name;
  uint32_t starter_token, left_token, right_token;
  uint32_t starter_help, magneto_help;
  start_switches::EngineEvents events;
};

struct Starters {
  static constexpr EngineRow engines[] = {
      {"engine1", 401, 133, 134, 0x32b1, 0x32a0, {65927, 65928, 65929, 65930, 66400, 66127}},
      {"engine2", 440, 168, 169, 0x32b2, 0x32a1, {65933, 65934, 65935, 65936, 66401, 66129}},
      {"engine3", 479, 203, 204, 0x32b3, 0x32a2, {65939, 65940, 65941, 65942, 66402, 66131}},
      {"engine4", 518, 238, 239, 0x32b4, 0x32a3, {65945, 65946, 65947, 65948, 66403, 66133}},
  };
  static inline constinit start_switches::Stores stores[4] = {};
};

template <size_t Row>
struct EngineGauge {
  static constexpr const EngineRow& engine = Starters::engines[Row];
  using Switches = start_switches::EngineSwitches<Starters, Row>;

  static ELEMENT_STATIC_IMAGE plate;
  static ELEMENT_ICON starter_lever;
  static ELEMENT_ICON left_lever;
  static ELEMENT_ICON right_lever;
  static const MOUSERECT mouse[12];
  static GAUGEHDR header;
};

// Drawn plate, starter, L, R; every element always lit, whatever the panel lighting.
template <size_t Row>
constinit ELEMENT_STATIC_IMAGE EngineGauge<Row>::plate = frame::static_image({
    .gauge = &header, .bitmap = 0x0100, .child = frame::child_list<&starter_lever>,
    .image_flags = IMAGE_FLAGS_ALWAYS_LIT});

template <size_t Row>
constinit ELEMENT_ICON EngineGauge<Row>::starter_lever = frame::icon({
    .gauge = &header, .bitmap = 0x0200, .position = {25, 19}, .token = engine.starter_token,
    .update = Switches::starter_icon, .child = frame::child_list<&left_lever>,
    .image_flags = IMAGE_FLAGS_ALWAYS_LIT});

template <size_t Row>
constinit ELEMENT_ICON EngineGauge<Row>::left_lever = frame::icon({
    .gauge = &header, .bitmap = 0x0200, .position = {5, 109}, .token = engine.left_token,
    .update = Switches::left_magneto_icon, .child = frame::child_list<&right_lever>,
    .image_flags = IMAGE_FLAGS_ALWAYS_LIT});

template <size_t Row>
constinit ELEMENT_ICON EngineGauge<Row>::right_lever = frame::icon({
    .gauge = &header, .bitmap = 0x0200, .position = {46, 109}, .token = engine.right_token,
    .update = Switches::right_magneto_icon, .image_flags = IMAGE_FLAGS_ALWAYS_LIT});

// Click boxes are one pixel narrower than the 34-pixel levers. The magneto
// pane's box runs past the plate's foot (y 188 against 171 rows).
template <size_t Row>
constinit const MOUSERECT EngineGauge<Row>::mouse[12] = {
    frame::parent(),
    frame::parent({2, 2, 81, 67}),
    frame::help_tooltip(engine.starter_help),
    frame::end_parent(),
    frame::parent({2, 70, 81, 118}),
    frame::help_tooltip(engine.magneto_help),
    frame::end_parent(),
    frame::click({5, 109, 33, 44}, Switches::left_magneto_click),
    frame::click({46, 109, 33, 44}, Switches::right_magneto_click),
    frame::click({25, 19, 33, 44}, Switches::starter_click, MOUSE_LEFTSINGLE_REPEAT),
    frame::end_parent(),
    frame::end_of_list(),
};

template <size_t Row>
constinit GAUGEHDR EngineGauge<Row>::header = frame::gauge({
    .name = engine.gauge_name, .width_mm = 85, .root = frame::root_list<&plate>, .mouse = mouse});

constinit GAUGEHDR* const gauges[] = {&EngineGauge<0>::header, &EngineGauge<1>::header,
                                      &EngineGauge<2>::header, &EngineGauge<3>::header, nullptr};

}  // namespace
}  // namespace ignitionkeys

extern "C" {
GAUGE_EXPORT constinit GAUGESLINKAGE Linkage = frame::linkage(ignitionkeys::gauges);
}
