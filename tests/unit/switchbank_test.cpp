// The toggle switch bank through the host loading the real module: 25 switches
// whose click sends one fixed event whatever the lever shows, levers that take
// their index from a token, a pass-through callback or an expression, four
// tooltip forms, and the electrical panel button.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "aircraft_variables.h"
#include "panel_host.h"

namespace host {
[[maybe_unused]] static void PrintTo(const KeyEvent& e, std::ostream* os) { *os << e.id << ":" << e.value; }
}  // namespace host

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

enum class Source { Token, PassThrough, Expression };
enum class Tip { Help, Text, Format, ParentHelp };

struct Switch {
  const char* name;
  uint32_t plate;
  Source source;
  uint32_t token;  // 0 for the expression lever
  uint32_t event;
  Tip tip;
  uint32_t help;
  const char* text;
};

constexpr const char* kTailwheelLock = "TAILWHEEL LOCK ON";

// Linkage order after the button, which is gauge 0.
constexpr Switch kSwitches[] = {
    {"tail wheel lock", 0x0280, Source::Expression, 0, 66541, Tip::Help, 0x3255, nullptr},
    {"carb heat", 0x0260, Source::Token, 365, 65571, Tip::Help, 0x3343, nullptr},
    {"alternator1", 0x0200, Source::PassThrough, 566, 66363, Tip::Text, 0, "Left Alternator"},
    {"alternator2", 0x0220, Source::PassThrough, 576, 66364, Tip::Text, 0, "Right Alternator"},
    {"generator1", 0x0500, Source::PassThrough, 566, 66363, Tip::Help, 0x32f1, nullptr},
    {"generator2", 0x0520, Source::PassThrough, 576, 66364, Tip::Help, 0x32f1, nullptr},
    {"avionics", 0x0240, Source::Token, 740, 66293, Tip::Help, 0x3311, nullptr},
    {"battery", 0x02a0, Source::Token, 364, 66241, Tip::Help, 0x32e0, nullptr},
    {"landing lights", 0x02c0, Source::Token, 14, 65751, Tip::Help, 0x3302, nullptr},
    {"nav lights", 0x02e0, Source::Token, 619, 66379, Tip::Help, 0x3301, nullptr},
    {"panel lights", 0x0300, Source::Token, 10, 65750, Tip::Help, 0x3304, nullptr},
    {"pitot heat", 0x0320, Source::Token, 13, 65858, Tip::Help, 0x31bd, nullptr},
    {"prop de-ice", 0x0360, Source::Token, 904, 66338, Tip::Help, 0x3310, nullptr},
    {"structural de-ice", 0x0340, Source::Token, 905, 66337, Tip::Help, 0x303e, nullptr},
    {"fuel valve left", 0x03a0, Source::Token, 895, 66494, Tip::Help, 0x31f9, nullptr},
    {"fuel valve right", 0x0380, Source::Token, 896, 66495, Tip::Help, 0x31fa, nullptr},
    {"fuel pump left", 0x03c0, Source::Token, 891, 66340, Tip::Help, 0x32e9, nullptr},
    {"fuel pump right", 0x03e0, Source::Token, 892, 66341, Tip::Help, 0x32ea, nullptr},
    {"landing lights extend", 0x04e0, Source::Token, 903, 66482, Tip::Format, 0, nullptr},
    {"beacon lights", 0x0420, Source::Token, 368, 66239, Tip::Help, 0x3307, nullptr},
    {"recognition lights", 0x0440, Source::Token, 622, 66377, Tip::Help, 0x33e2, nullptr},
    {"strobe lights", 0x0460, Source::Token, 11, 65560, Tip::Help, 0x3305, nullptr},
    {"standby vacuum", 0x0480, Source::Token, 778, 66290, Tip::ParentHelp, 0xac80, nullptr},
    {"taxi lights", 0x04a0, Source::Token, 369, 66240, Tip::Help, 0x3306, nullptr},
    {"wing lights", 0x04c0, Source::Token, 621, 66378, Tip::Help, 0x3300, nullptr},
};

constexpr int kWidth = 60, kHeight = 90;

class ToggleSwitch : public ::testing::TestWithParam<Switch> {
 protected:
  const Switch& sw = GetParam();
  host::PanelHost host{GAUGES_DIR};
  host::AircraftVariables aircraft;
  host::GaugeInstance& gauge = host.place("switchbank", sw.name);

  void SetUp() override { host.set_evaluator(&aircraft); }

  // Sets whatever the lever reads, then lets the gauge update.
  void show(double value) {
    if (sw.source == Source::Expression) {
      aircraft.set(kTailwheelLock, "bool", value);
    } else {
      host.tokens().set(sw.token, value);
    }
    host.tick();
    host.clear_events();
  }
  std::vector<host::KeyEvent> click_events(int x, int y) {
    host.clear_events();
    host.click(gauge, x, y);
    return host.events();
  }
  const host::ElementState& lever() const { return gauge.elements.at(1); }
};

TEST_P(ToggleSwitch, PlateAndLeverDeclared) {
  ASSERT_EQ(gauge.elements.size(), 2u);
  EXPECT_EQ(gauge.gauge->header->default_width_mm, 20u);
  EXPECT_EQ(gauge.gauge->header->gauge_callback, nullptr);
  EXPECT_EQ(gauge.width, kWidth);
  EXPECT_EQ(gauge.height, kHeight);

  const ELEMENT_HEADER* plate = gauge.elements[0].view.header;
  EXPECT_EQ(plate->kind, ELEMENT_KIND_STATIC_IMAGE);
  EXPECT_EQ(plate->bitmap, sw.plate);
  EXPECT_EQ(plate->position.x, 0);
  EXPECT_EQ(plate->position.y, 0);
  EXPECT_EQ(plate->image_flags, 0x83u);
  EXPECT_EQ(plate->gauge, gauge.gauge->header);

  const ELEMENT_ICON* icon = lever().view.icon();
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->header.bitmap, 0x0100u);
  EXPECT_EQ(icon->header.position.x, 20);
  EXPECT_EQ(icon->header.position.y, 33);
  EXPECT_EQ(icon->header.image_flags, 0x83u);
  EXPECT_EQ(icon->header.gauge, gauge.gauge->header);
  EXPECT_EQ(icon->header.children, nullptr);
  EXPECT_EQ(icon->switch_type, 3u);
  EXPECT_EQ(icon->icon_count, 2u);
  EXPECT_EQ(icon->scroll.x, 0);
  EXPECT_EQ(icon->scroll.y, 0);
  EXPECT_EQ(icon->source.id, sw.token);
  EXPECT_EQ(icon->update != nullptr, sw.source != Source::Token) << "only plain token levers leave it to the host";
}

TEST_P(ToggleSwitch, MouseListCarriesItsTooltipForm) {
  const bool parent_help = sw.tip == Tip::ParentHelp;
  const std::vector<const MOUSERECT*>& mouse = gauge.gauge->mouse;
  ASSERT_EQ(mouse.size(), parent_help ? 4u : 5u);

  const MOUSERECT& parent = *mouse[0];
  EXPECT_EQ(parent.kind, MOUSE_PARENT);
  EXPECT_EQ(parent.x | parent.y | parent.width | parent.height, 0);
  EXPECT_EQ(parent.cursor, -1);
  EXPECT_EQ(parent.help_id, parent_help ? sw.help : 0u);

  const MOUSERECT& child = *mouse[parent_help ? 1 : 2];
  EXPECT_EQ(child.kind, MOUSE_CHILD);
  EXPECT_EQ(child.x, 1);
  EXPECT_EQ(child.y, 1);
  EXPECT_EQ(child.width, 58);
  EXPECT_EQ(child.height, 88);
  EXPECT_EQ(child.cursor, 5);
  EXPECT_EQ(child.help_id, 0u);
  EXPECT_EQ(child.mouse_flags, 0x20000000u);
  EXPECT_EQ(child.event_or_argument_count, 0u);
  EXPECT_NE(child.function.click, nullptr);

  EXPECT_EQ(mouse[mouse.size() - 2]->kind, MOUSE_END_OF_PARENT);
  EXPECT_EQ(mouse[mouse.size() - 1]->kind, MOUSE_END_OF_LIST);
  if (parent_help) return;

  const MOUSERECT& tip = *mouse[1];
  EXPECT_EQ(tip.kind, MOUSE_TOOLTIP);
  EXPECT_EQ(tip.cursor, -1);
  EXPECT_EQ(tip.help_id, sw.tip == Tip::Help ? sw.help : 0u);
  EXPECT_EQ(tip.function.text != nullptr, sw.tip != Tip::Help);
  EXPECT_EQ(tip.event_or_argument_count, sw.tip == Tip::Format ? 1u : 0u);
  EXPECT_EQ(tip.arguments != nullptr, sw.tip == Tip::Format);
  if (sw.tip == Tip::Format) {
    EXPECT_STREQ(tip.function.text, "%1!s!");
    EXPECT_EQ(tip.arguments->source.id, sw.token);
    EXPECT_EQ(tip.arguments->number_callback, nullptr);
    EXPECT_NE(tip.arguments->string_callback, nullptr);
  }
}

TEST_P(ToggleSwitch, EveryClickSendsTheEventOnceWhateverTheLeverShows) {
  const std::vector<host::KeyEvent> once = {{sw.event, 0}};
  for (double shown : {0.0, 1.0}) {
    SCOPED_TRACE(shown);
    show(shown);
    const int before = lever().icon_index;
    EXPECT_EQ(click_events(30, 45), once);
    EXPECT_EQ(click_events(30, 45), once) << "a second click is not swallowed";
    EXPECT_EQ(lever().icon_index, before) << "the lever waits for the simulator";
    EXPECT_EQ(gauge.elements[0].view.header->image_flags, 0x83u);
  }
}

// Every pixel of the plate's edge is dead; the row and column inside it are live.
TEST_P(ToggleSwitch, ClickBoxLeavesAOnePixelBorder) {
  const std::vector<host::KeyEvent> once = {{sw.event, 0}};
  for (int x = 0; x < kWidth; ++x) {
    EXPECT_TRUE(click_events(x, 0).empty()) << x;
    EXPECT_TRUE(click_events(x, kHeight - 1).empty()) << x;
    if (x == 0 || x == kWidth - 1) continue;
    EXPECT_EQ(click_events(x, 1), once) << x;
    EXPECT_EQ(click_events(x, kHeight - 2), once) << x;
  }
  for (int y = 0; y < kHeight; ++y) {
    EXPECT_TRUE(click_events(0, y).empty()) << y;
    EXPECT_TRUE(click_events(kWidth - 1, y).empty()) << y;
    if (y == 0 || y == kHeight - 1) continue;
    EXPECT_EQ(click_events(1, y), once) << y;
    EXPECT_EQ(click_events(kWidth - 2, y), once) << y;
  }
  host.clear_events();
  host.click(gauge, 30, 45, MOUSE_RIGHTSINGLE);
  EXPECT_TRUE(host.events().empty()) << "right clicks do nothing";
}

// The lever stands up from 1; a pass-through hands the value back untouched.
TEST_P(ToggleSwitch, LeverFollowsItsSource) {
  struct Case {
    double value;
    int icon;
  };
  const Case cases[] = {{0, 0}, {1, 1}, {0.75, 0}, {0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    show(c.value);
    EXPECT_EQ(lever().icon_index, c.icon);
    if (sw.source != Source::Token) {
      EXPECT_EQ(lever().reading, c.value);
    }
  }
}

TEST_P(ToggleSwitch, TooltipShowsOverTheWholePlate) {
  for (auto [x, y] : {std::pair{30, 45}, {0, 0}, {kWidth - 1, kHeight - 1}}) {
    SCOPED_TRACE(testing::Message() << x << "," << y);
    const host::Tooltip& tip = host.hover(gauge, x, y);
    switch (sw.tip) {
      case Tip::Help:
      case Tip::ParentHelp:
        EXPECT_EQ(tip.kind, host::Tooltip::Kind::Help);
        EXPECT_EQ(tip.help_id, sw.help);
        break;
      case Tip::Text:
        EXPECT_EQ(tip.kind, host::Tooltip::Kind::Text);
        EXPECT_EQ(tip.text, sw.text);
        break;
      case Tip::Format:
        EXPECT_EQ(tip.kind, host::Tooltip::Kind::Text);
        EXPECT_EQ(tip.text, "Landing Lights Retracted");
        break;
    }
  }
  EXPECT_EQ(host.hover(gauge, kWidth, 45).kind, host::Tooltip::Kind::None);
  EXPECT_EQ(host.hover(gauge, 30, kHeight).kind, host::Tooltip::Kind::None);
}

INSTANTIATE_TEST_SUITE_P(EverySwitch, ToggleSwitch, ::testing::ValuesIn(kSwitches),
                         [](const ::testing::TestParamInfo<Switch>& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

// ---- the module as a whole ---------------------------------------------------------

TEST(SwitchBank, DeclaresTheButtonThenTheSwitchesInOrder) {
  host::PanelHost host{GAUGES_DIR};
  const host::LoadedModule& module = host.module("switchbank");
  const std::vector<host::GaugeView>& gauges = module.gauges();
  ASSERT_EQ(gauges.size(), 1 + std::size(kSwitches));
  EXPECT_EQ(gauges[0].name, "electrical panel");
  for (size_t i = 0; i < std::size(kSwitches); ++i) EXPECT_EQ(gauges[i + 1].name, kSwitches[i].name) << i;
  EXPECT_EQ(module.linkage()->gauges[gauges.size()], nullptr);
  for (const host::GaugeView& g : gauges) {
    EXPECT_EQ(g.header->header_version, 800u) << g.name;
    EXPECT_EQ(g.header->default_width_mm, 20u) << g.name;
  }
}

// The frame routines cannot tell the gauges apart: they always name the button.
TEST(SwitchBank, FrameRoutinesNameTheButtonsRoot) {
  host::PanelHost host{GAUGES_DIR};
  host::GaugeInstance& battery = host.place("switchbank", "battery");
  host.tick(2);
  const ELEMENT_HEADER* button_root = host.module("switchbank").gauges().at(0).chain.at(0).header;
  ASSERT_FALSE(host.frame_calls().empty());
  for (const host::FrameCall& call : host.frame_calls()) EXPECT_EQ(call.root, button_root) << call.operation;
  EXPECT_NE(battery.elements[0].view.header, button_root);
}

TEST(SwitchBank, AlternatorAndGeneratorAreOneSwitch) {
  host::PanelHost host{GAUGES_DIR};
  struct Pair {
    const char *alternator, *generator;
    uint32_t token, event;
  };
  for (const Pair& p : {Pair{"alternator1", "generator1", 566, 66363}, Pair{"alternator2", "generator2", 576, 66364}}) {
    SCOPED_TRACE(p.alternator);
    host::GaugeInstance& alternator = host.place("switchbank", p.alternator);
    host::GaugeInstance& generator = host.place("switchbank", p.generator);
    for (double state : {1.0, 0.0}) {
      host.tokens().set(p.token, state);
      host.tick();
      EXPECT_EQ(alternator.elements[1].icon_index, int(state));
      EXPECT_EQ(generator.elements[1].icon_index, int(state));
    }
    host.clear_events();
    host.click(alternator, 30, 45);
    host.click(generator, 30, 45);
    EXPECT_EQ(host.events(), (std::vector<host::KeyEvent>{{p.event, 0}, {p.event, 0}}));
  }
}

// An unknown variable writes no result: the lever keeps its last answer.
TEST(SwitchBank, TailWheelLeverKeepsItsLastAnswerWhenTheLockIsUnknown) {
  host::PanelHost host{GAUGES_DIR};
  host::AircraftVariables aircraft;
  host.set_evaluator(&aircraft);
  host::GaugeInstance& tail = host.place("switchbank", "tail wheel lock");
  aircraft.set(kTailwheelLock, "bool", 1);
  host.tick();
  EXPECT_EQ(tail.elements[1].icon_index, 1);
  aircraft.forget(kTailwheelLock);
  host.tick();
  EXPECT_EQ(tail.elements[1].reading, 1.0);
  aircraft.set(kTailwheelLock, "bool", 0);
  host.tick();
  EXPECT_EQ(tail.elements[1].icon_index, 0);
}

TEST(SwitchBank, LandingLightsExtendTooltipSplitsAboveOneHalf) {
  struct Case {
    double token;
    const char* text;
  };
  const Case cases[] = {
      {1, "Landing Lights Extended"},   {0, "Landing Lights Retracted"},   {0.5, "Landing Lights Retracted"},
      {0.5000001, "Landing Lights Extended"}, {kNaN, "Landing Lights Retracted"}, {-kInf, "Landing Lights Retracted"},
      {kInf, "Landing Lights Extended"},  {-1, "Landing Lights Retracted"},
  };
  host::PanelHost host{GAUGES_DIR};
  host::GaugeInstance& extend = host.place("switchbank", "landing lights extend");
  for (const Case& c : cases) {
    host.tokens().set(903, c.token);  // the tooltip reads its own copy, fresh at the hover
    EXPECT_EQ(host.hover(extend, 30, 45).text, c.text) << c.token;
  }
}

// ---- the electrical panel button ---------------------------------------------------

TEST(ElectricalPanelButton, OneImageWhoseClickSendsThePanelWindow) {
  host::PanelHost host{GAUGES_DIR};
  host::GaugeInstance& button = host.place("switchbank", "electrical panel");
  ASSERT_EQ(button.elements.size(), 1u);
  const ELEMENT_HEADER* image = button.elements[0].view.header;
  EXPECT_EQ(image->kind, ELEMENT_KIND_STATIC_IMAGE);
  EXPECT_EQ(image->bitmap, 0x0120u);
  EXPECT_EQ(image->children, nullptr);
  EXPECT_EQ(button.width, 19);
  EXPECT_EQ(button.height, 19);

  const std::vector<const MOUSERECT*>& mouse = button.gauge->mouse;
  ASSERT_EQ(mouse.size(), 5u);
  EXPECT_EQ(mouse[0]->kind, MOUSE_PARENT);
  EXPECT_EQ(mouse[0]->help_id, 0u);
  EXPECT_EQ(mouse[1]->kind, MOUSE_TOOLTIP);
  EXPECT_EQ(mouse[2]->kind, MOUSE_CHILD);
  EXPECT_EQ(mouse[2]->x, 1);
  EXPECT_EQ(mouse[2]->y, 1);
  EXPECT_EQ(mouse[2]->width, 19);
  EXPECT_EQ(mouse[2]->height, 19);
  EXPECT_EQ(mouse[2]->mouse_flags, 0x20000000u);
  EXPECT_EQ(mouse[3]->kind, MOUSE_END_OF_PARENT);
  EXPECT_EQ(mouse[4]->kind, MOUSE_END_OF_LIST);

  const std::vector<host::KeyEvent> once = {{66506, 40}};
  struct Click {
    int x, y;
    bool sends;
  };
  const Click clicks[] = {{1, 1, true}, {18, 18, true}, {9, 1, true}, {1, 9, true},
                          {0, 9, false}, {9, 0, false}, {0, 0, false}};
  for (const Click& c : clicks) {
    host.clear_events();
    host.click(button, c.x, c.y);
    EXPECT_EQ(host.events(), c.sends ? once : std::vector<host::KeyEvent>{}) << c.x << "," << c.y;
  }
  host.tick();
  EXPECT_EQ(image->image_flags, 0x83u);
  EXPECT_EQ(host.hover(button, 9, 9).text, "Toggle Electrical Panel");
  EXPECT_EQ(host.hover(button, 0, 0).text, "Toggle Electrical Panel");
}

}  // namespace
