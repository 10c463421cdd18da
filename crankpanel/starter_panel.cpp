// "starters": the twin-engine start panel. Left engine magnetos, the two
// starter buttons (left engine above, right engine below), right engine
// magnetos, with the same switch logic as the per-engine panels but stores of
// its own: this module shares nothing with them, even for engine 1.
#include "start_switches.h"

namespace crankpanel {
namespace {

struct EngineRow {
  uint32_t starter_token, m1_token, m2_token;  // M1 plays the left magneto, M2 the right
  start_switches::EngineEvents events;
};

struct StarterPanel {
  static constexpr EngineRow engines[] = {
      {401, 133, 134, {65927, 65928, 65929, 65930, 66400, 66127}},  // left engine
      {440, 168, 169, {65933, 65934, 65935, 65936, 66401, 66129}},  // right engine
  };
  static inline constinit start_switches::Stores stores[2] = {};
};

using LeftEngine = start_switches::EngineSwitches<StarterPanel, 0>;
using RightEngine = start_switches::EngineSwitches<StarterPanel, 1>;
constexpr const EngineRow& left_engine = StarterPanel::engines[0];
constexpr const EngineRow& right_engine = StarterPanel::engines[1];

extern GAUGEHDR starters;
extern ELEMENT_ICON left_starter, left_m1, left_m2, right_starter, right_m1, right_m2;

// Always lit: every element carries the luminous bit and nothing clears it.
constexpr uint32_t kLit = IMAGE_FLAGS_ALWAYS_LIT;

constinit ELEMENT_STATIC_IMAGE plate = frame::static_image({
    .gauge = &starters, .bitmap = 0x0100, .child = frame::child_list<&left_starter>,
    .image_flags = kLit});
constinit ELEMENT_ICON left_starter = frame::icon({
    .gauge = &starters, .bitmap = 0x0300, .position = {107, 28}, .token = left_engine.starter_token,
    .update = LeftEngine::starter_icon, .child = frame::child_list<&left_m1>, .image_flags = kLit});
constinit ELEMENT_ICON left_m1 = frame::icon({
    .gauge = &starters, .bitmap = 0x0200, .position = {26, 44}, .token = left_engine.m1_token,
    .update = LeftEngine::left_magneto_icon, .child = frame::child_list<&left_m2>, .image_flags = kLit});
constinit ELEMENT_ICON left_m2 = frame::icon({
    .gauge = &starters, .bitmap = 0x0200, .position = {60, 44}, .token = left_engine.m2_token,
    .update = LeftEngine::right_magneto_icon, .child = frame::child_list<&right_starter>, .image_flags = kLit});
constinit ELEMENT_ICON right_starter = frame::icon({
    .gauge = &starters, .bitmap = 0x0300, .position = {107, 79}, .token = right_engine.starter_token,
    .update = RightEngine::starter_icon, .child = frame::child_list<&right_m1>, .image_flags = kLit});
constinit ELEMENT_ICON right_m1 = frame::icon({
    .gauge = &starters, .bitmap = 0x0200, .position = {150, 44}, .token = right_engine.m1_token,
    .update = RightEngine::left_magneto_icon, .child = frame::child_list<&right_m2>, .image_flags = kLit});
constinit ELEMENT_ICON right_m2 = frame::icon({
    .gauge = &starters, .bitmap = 0x0200, .position = {184, 44}, .token = right_engine.m2_token,
    .update = RightEngine::right_magneto_icon, .image_flags = kLit});

// Tooltip boxes cover the controls they name; a magneto pair's box spans both
// switches and the 4-pixel gap between them, which no click box covers.
constinit const MOUSERECT mouse[] = {
    frame::parent(),
    frame::parent({107, 28, 27, 28}),
    frame::help_tooltip(0x32b1),
    frame::end_parent(),
    frame::parent({107, 79, 27, 28}),
    frame::help_tooltip(0x32b2),
    frame::end_parent(),
    frame::parent({26, 44, 64, 49}),
    frame::help_tooltip(0x32a0),
    frame::end_parent(),
    frame::parent({150, 44, 64, 49}),
    frame::help_tooltip(0x32a1),
    frame::end_parent(),
    frame::click({26, 44, 30, 49}, LeftEngine::left_magneto_click),
    frame::click({60, 44, 30, 49}, LeftEngine::right_magneto_click),
    frame::click({107, 28, 27, 28}, LeftEngine::starter_click, MOUSE_LEFTSINGLE_REPEAT),
    frame::click({150, 44, 30, 49}, RightEngine::left_magneto_click),
    frame::click({184, 44, 30, 49}, RightEngine::right_magneto_click),
    frame::click({107, 79, 27, 28}, RightEngine::starter_click, MOUSE_LEFTSINGLE_REPEAT),
    frame::end_parent(),
    frame::end_of_list(),
};

constinit GAUGEHDR starters = frame::gauge({
    .name = "starters", .width_mm = 85, .root = frame::root_list<&plate>, .mouse = mouse});

constinit GAUGEHDR* const gauges[] = {&starters, nullptr};

}  // namespace
}  // namespace crankpanel

extern "C" {
GAUGE_EXPORT constinit GAUGESLINKAGE Linkage = frame::linkage(crankpanel::gauges);
}
