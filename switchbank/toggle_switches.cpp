// The electrical panel button and 25 toggle switches, one row each, in the
// order panel authors see them. A switch is a lettered plate with a lever that
// shows the simulator's state; a click anywhere on the plate sends the row's
// key event and leaves the lever to the simulator's next answer.
#include <array>
#include <cstddef>
#include <utility>

#include "frame.h"

namespace switchbank {
namespace {

// ---- how a row's lever finds its index -------------------------------------------
enum class LeverKind { None, Token, PassThrough, Expression };

struct Lever {
  LeverKind kind;
  uint32_t token;
  const char* expression;
};

constexpr Lever no_lever{LeverKind::None, 0, nullptr};
// The host shows the token's value as it stands.
constexpr Lever token(uint32_t id) { return {LeverKind::Token, id, nullptr}; }
// Same picture, but through a callback that hands the token back unchanged.
constexpr Lever passed_through(uint32_t id) { return {LeverKind::PassThrough, id, nullptr}; }
constexpr Lever expression(const char* code) { return {LeverKind::Expression, 0, code}; }

// ---- how a row's tooltip reads --------------------------------------------------------
enum class TipKind { Help, Text, OnOff, ParentHelp };

struct Tip {
  TipKind kind;
  uint32_t help_id;
  const char* text;      // the text, or the on-state text of an on/off tooltip
  const char* off_text;
};

constexpr Tip help(uint32_t id) { return {TipKind::Help, id, nullptr, nullptr}; }
constexpr Tip text(const char* words) { return {TipKind::Text, 0, words, nullptr}; }
// Picks one of two texts by the row's token: above 0.5 the first.
constexpr Tip on_off(const char* on, const char* off) { return {TipKind::OnOff, 0, on, off}; }
// The help text hangs on the whole-gauge parent; the list has no tooltip record.
constexpr Tip parent_help(uint32_t id) { return {TipKind::ParentHelp, id, nullptr, nullptr}; }

struct Click {
  uint32_t event;
  uint32_t value = 0;
};

struct Row {
  const char* name;
  uint32_t plate;
  Lever lever;
  Click click;
  Tip tip;
};

// The alternators and generators are one system each under two names: same
// token, same event. The fuel valve plates run against the gauge order.
constexpr Row kRows[] = {
    {"electrical panel", 0x0120, no_lever, {66506, 40}, text("Toggle Electrical Panel")},  // 40: the window
    {"tail wheel lock", 0x0280, expression("(A:Tailwheel lock on,bool)"), {66541}, help(0x3255)},
    {"carb heat", 0x0260, token(365), {65571}, help(0x3343)},
    {"alternator1", 0x0200, passed_through(566), {66363}, text("Left Alternator")},
    {"alternator2", 0x0220, passed_through(576), {66364}, text("Right Alternator")},
    {"generator1", 0x0500, passed_through(566), {66363}, help(0x32f1)},
    {"generator2", 0x0520, passed_through(576), {66364}, help(0x32f1)},
    {"avionics", 0x0240, token(740), {66293}, help(0x3311)},
    {"battery", 0x02a0, token(364), {66241}, help(0x32e0)},
    {"landing lights", 0x02c0, token(14), {65751}, help(0x3302)},
    {"nav lights", 0x02e0, token(619), {66379}, help(0x3301)},
    {"panel lights", 0x0300, token(10), {65750}, help(0x3304)},
    {"pitot heat", 0x0320, token(13), {65858}, help(0x31bd)},
    {"prop de-ice", 0x0360, token(904), {66338}, help(0x3310)},
    {"structural de-ice", 0x0340, token(905), {66337}, help(0x303e)},
    {"fuel valve left", 0x03a0, token(895), {66494}, help(0x31f9)},
    {"fuel valve right", 0x0380, token(896), {66495}, help(0x31fa)},
    {"fuel pump left", 0x03c0, token(891), {66340}, help(0x32e9)},
    {"fuel pump right", 0x03e0, token(892), {66341}, help(0x32ea)},
    {"landing lights extend", 0x04e0, token(903), {66482},
     on_off("Landing Lights Extended", "Landing Lights Retracted")},
    {"beacon lights", 0x0420, token(368), {66239}, help(0x3307)},
    {"recognition lights", 0x0440, token(622), {66377}, help(0x33e2)},
    {"strobe lights", 0x0460, token(11), {65560}, help(0x3305)},
    {"standby vacuum", 0x0480, token(778), {66290}, parent_help(0xac80)},
    {"taxi lights", 0x04a0, token(369), {66240}, help(0x3306)},
    {"wing lights", 0x04c0, token(621), {66378}, help(0x3300)},
};

constexpr uint32_t kLeverDown = 0x0100;  // and 0x0101 up
constexpr PIXPOINT kLeverPosition = {20, 33};
// All but a one-pixel border of the 60 x 90 plate. The button's box overhangs
// its 19 x 19 picture by a pixel at the right and bottom.
constexpr frame::Box kPlateBox = {1, 1, 58, 88};
constexpr frame::Box kButtonBox = {1, 1, 19, 19};
constexpr const char* kOnOffFormat = "%1!s!";

template <size_t Index>
struct SwitchGauge {
  static constexpr const Row& row = kRows[Index];
  static constexpr bool has_lever = row.lever.kind != LeverKind::None;

  static int32_t GAUGE_CALL click(const PIXPOINT*, uint32_t) {
    frame::host().trigger_key_event(row.click.event, row.click.value);
    return 0;
  }
  static double GAUGE_CALL pass_through(ELEMENT_HEADER* lever) { return frame::token_value(lever); }
  // The result lives in module data, where the host accepts it; a failed
  // evaluation writes nothing and the lever keeps its last answer.
  static inline constinit double evaluated = 0.0;
  static double GAUGE_CALL evaluate(ELEMENT_HEADER*) {
    frame::host().execute_calculator_code(row.lever.expression, &evaluated, nullptr, nullptr);
    return evaluated;
  }
  // NaN compares false and so reads as off.
  static const char* GAUGE_CALL on_off_text(double, uint32_t, const char*, MODULE_VAR* source, GAUGEHDR*) {
    return source && frame::token_value(*source) > 0.5 ? row.tip.text : row.tip.off_text;
  }

  static constexpr ElementUpdateCallback lever_update() {
    if constexpr (row.lever.kind == LeverKind::PassThrough) return pass_through;
    if constexpr (row.lever.kind == LeverKind::Expression) return evaluate;
    return nullptr;
  }
  static constexpr ELEMENT_HEADER* const* plate_children() {
    if constexpr (has_lever) return frame::child_list<&lever>;
    return nullptr;
  }

  static constexpr size_t kMouseRecords = row.tip.kind == TipKind::ParentHelp ? 4 : 5;
  static constexpr auto mouse_list() {
    constexpr frame::Box box = has_lever ? kPlateBox : kButtonBox;
    if constexpr (row.tip.kind == TipKind::ParentHelp) {
      return std::array<MOUSERECT, kMouseRecords>{
          frame::parent({0, 0, 0, 0}, row.tip.help_id), frame::click(box, click), frame::end_parent(),
          frame::end_of_list()};
    } else {
      return std::array<MOUSERECT, kMouseRecords>{frame::parent(), tooltip(), frame::click(box, click),
                                                  frame::end_parent(), frame::end_of_list()};
    }
  }
  static constexpr MOUSERECT tooltip() {
    if constexpr (row.tip.kind == TipKind::Help) return frame::help_tooltip(row.tip.help_id);
    if constexpr (row.tip.kind == TipKind::Text) return frame::text_tooltip(row.tip.text);
    if constexpr (row.tip.kind == TipKind::OnOff) return frame::format_tooltip(kOnOffFormat, &on_off_argument);
    return frame::end_of_list();  // not reached: a parent help list has no tooltip record
  }

  static ELEMENT_STATIC_IMAGE plate;
  static ELEMENT_ICON lever;
  static TOOLTIP_ARGUMENT on_off_argument;  // the host refreshes its token in place
  static const std::array<MOUSERECT, kMouseRecords> mouse;
  static GAUGEHDR header;
};

template <size_t Index>
constinit ELEMENT_STATIC_IMAGE SwitchGauge<Index>::plate =
    frame::static_image({.gauge = &header, .bitmap = row.plate, .child = plate_children()});

template <size_t Index>
constinit ELEMENT_ICON SwitchGauge<Index>::lever = frame::icon({
    .gauge = &header, .bitmap = kLeverDown, .position = kLeverPosition, .token = row.lever.token,
    .update = lever_update()});

template <size_t Index>
constinit TOOLTIP_ARGUMENT SwitchGauge<Index>::on_off_argument =
    frame::string_argument(row.lever.token, on_off_text);

template <size_t Index>
constinit const std::array<MOUSERECT, SwitchGauge<Index>::kMouseRecords> SwitchGauge<Index>::mouse =
    mouse_list();

template <size_t Index>
constinit GAUGEHDR SwitchGauge<Index>::header = frame::gauge(
    {.name = row.name, .width_mm = 20, .root = frame::root_list<&plate>, .mouse = mouse.data()});

template <size_t... Index>
constexpr std::array<GAUGEHDR*, sizeof...(Index) + 1> gauge_list(std::index_sequence<Index...>) {
  return {&SwitchGauge<Index>::header..., nullptr};
}

constinit const auto gauges = gauge_list(std::make_index_sequence<std::size(kRows)>{});

}  // namespace
}  // namespace switchbank

extern "C" {
GAUGE_EXPORT constinit GAUGESLINKAGE Linkage = frame::linkage(switchbank::gauges.data());
}
