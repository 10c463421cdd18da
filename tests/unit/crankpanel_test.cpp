// The twin starter panel of crankpanel through the host loading the real
// module: both engines' switches on one plate, each engine by its own stores,
// none of them shared with the per-engine start panels.
#include <gtest/gtest.h>

#include <vector>

#include "panel_host.h"
#include "start_switch_events.h"

namespace {

struct Engine {
  const char* name;
  uint32_t starter_token, m1_token, m2_token;
  int starter_depth, m1_depth, m2_depth;
  int m1_x, m2_x, starter_y;  // boxes: M1 and M2 at y 44, 30 x 49; starter at x 107, 27 x 28
  uint32_t starter_help, magneto_help;
  const start_switches::EngineEvents& events;
};

constexpr Engine kEngines[] = {
    {"left", 401, 133, 134, 1, 2, 3, 26, 60, 28, 0x32b1, 0x32a0, start_switches::kEngineEvents[0]},
    {"right", 440, 168, 169, 4, 5, 6, 150, 184, 79, 0x32b2, 0x32a1, start_switches::kEngineEvents[1]},
};

using start_switches::events_for;
using start_switches::Sends;

class TwinStarter : public ::testing::TestWithParam<Engine> {
 protected:
  const Engine& engine = GetParam();
  const Engine& other = engine.starter_token == kEngines[0].starter_token ? kEngines[1] : kEngines[0];
  host::PanelHost host{GAUGES_DIR};
  host::GaugeInstance& gauge = host.place("crankpanel", "starters");

  int m1_x() const { return engine.m1_x + 15; }
  int m2_x() const { return engine.m2_x + 15; }
  static constexpr int kSwitchY = 68;
  int starter_y() const { return engine.starter_y + 14; }

  void set_switches(const Engine& e, double m1, double m2) {
    host.tokens().set(e.m1_token, m1);
    host.tokens().set(e.m2_token, m2);
  }
  std::vector<host::KeyEvent> click_events(int x, int y) {
    host.clear_events();
    host.click(gauge, x, y);
    return host.events();
  }
};

struct SwitchCase {
  double m1, m2;
  Sends m1_click, m2_click, starter;
};

constexpr SwitchCase kSwitchCases[] = {
    {0, 0, Sends::LeftOnly, Sends::RightOnly, Sends::Nothing},
    {0, 1, Sends::Both, Sends::Off, Sends::Nothing},
    {1, 0, Sends::Off, Sends::Both, Sends::Nothing},
    {1, 1, Sends::SetRightOnly, Sends::SetLeftOnly, Sends::Starter},
    {0.999, 0.999, Sends::SetRightOnly, Sends::SetLeftOnly, Sends::Nothing},
    {2, 0, Sends::Nothing, Sends::Nothing, Sends::Starter},
    {-1, 0, Sends::Nothing, Sends::Nothing, Sends::Nothing},
};

// The other engine's switches stand at the opposite of this engine's, so a
// click that read the wrong stores would send something else.
TEST_P(TwinStarter, EachSwitchSendsByItsOwnEnginesPosition) {
  for (const SwitchCase& c : kSwitchCases) {
    SCOPED_TRACE(testing::Message() << "M1 " << c.m1 << ", M2 " << c.m2);
    set_switches(engine, c.m1, c.m2);
    set_switches(other, c.m2 > 0.5 ? 0 : 1, c.m1 > 0.5 ? 0 : 1);
    host.tick();
    EXPECT_EQ(click_events(m1_x(), kSwitchY), events_for(engine.events, c.m1_click));
    EXPECT_EQ(click_events(m2_x(), kSwitchY), events_for(engine.events, c.m2_click));
    EXPECT_EQ(click_events(120, starter_y()), events_for(engine.events, c.starter));
  }
}

TEST_P(TwinStarter, HeldButtonRepeatsUntilReleased) {
  set_switches(engine, 1, 1);
  host.tick();
  host.hold(gauge, 120, starter_y(), 4);
  EXPECT_EQ(host.events(), std::vector<host::KeyEvent>(5, {engine.events.starter, 0}));
  host.clear_events();
  host.tick(3);
  EXPECT_TRUE(host.events().empty());
}

// Buttons and switches are drawn from the tokens only.
TEST_P(TwinStarter, ElementsFollowTokensNotClicks) {
  set_switches(engine, 1, 1);
  host.tick();
  host.hold(gauge, 120, starter_y(), 3);
  EXPECT_EQ(gauge.elements[engine.starter_depth].icon_index, 0);
  host.tokens().set(engine.starter_token, 1);
  host.tick();
  EXPECT_EQ(gauge.elements[engine.starter_depth].icon_index, 1);
  EXPECT_EQ(gauge.elements[other.starter_depth].icon_index, 0);
  EXPECT_EQ(gauge.elements[engine.m1_depth].icon_index, 1);
  EXPECT_EQ(gauge.elements[engine.m2_depth].icon_index, 1);
  EXPECT_DOUBLE_EQ(gauge.elements[engine.m1_depth].reading, 1.0);
}

TEST_P(TwinStarter, ClickBoxesEndAtTheirEdges) {
  set_switches(engine, 1, 1);
  host.tick();
  struct Box {
    int x, y, w, h;
    Sends sends;
  };
  const Box boxes[] = {
      {engine.m1_x, 44, 30, 49, Sends::SetRightOnly},
      {engine.m2_x, 44, 30, 49, Sends::SetLeftOnly},
      {107, engine.starter_y, 27, 28, Sends::Starter},
  };
  for (const Box& b : boxes) {
    const int right = b.x + b.w - 1, bottom = b.y + b.h - 1, mid_x = b.x + b.w / 2, mid_y = b.y + b.h / 2;
    for (auto [x, y] : {std::pair{b.x, b.y}, {right, b.y}, {b.x, bottom}, {right, bottom}}) {
      EXPECT_EQ(click_events(x, y), events_for(engine.events, b.sends)) << x << "," << y;
    }
    for (auto [x, y] : {std::pair{b.x - 1, mid_y}, {right + 1, mid_y}, {mid_x, b.y - 1}, {mid_x, bottom + 1}}) {
      EXPECT_NE(click_events(x, y), events_for(engine.events, b.sends)) << x << "," << y;
    }
  }
  // The 4-pixel gap between M1 and M2 is in no click box.
  for (int x = engine.m1_x + 30; x < engine.m2_x; ++x) {
    EXPECT_TRUE(click_events(x, kSwitchY).empty()) << x;
    EXPECT_EQ(host.hover(gauge, x, kSwitchY).help_id, engine.magneto_help) << x;
  }
}

TEST_P(TwinStarter, TooltipsCoverTheControlsTheyName) {
  EXPECT_EQ(host.hover(gauge, 107, engine.starter_y).help_id, engine.starter_help);
  EXPECT_EQ(host.hover(gauge, 133, engine.starter_y + 27).help_id, engine.starter_help);
  EXPECT_EQ(host.hover(gauge, engine.m1_x, 44).help_id, engine.magneto_help);
  EXPECT_EQ(host.hover(gauge, engine.m1_x + 63, 92).help_id, engine.magneto_help);
  EXPECT_EQ(host.hover(gauge, engine.m1_x - 1, 60).kind, host::Tooltip::Kind::None);
  EXPECT_EQ(host.hover(gauge, engine.m1_x + 64, 60).kind, host::Tooltip::Kind::None);
  EXPECT_EQ(host.hover(gauge, 120, engine.starter_y + 28).kind, host::Tooltip::Kind::None);
}

INSTANTIATE_TEST_SUITE_P(BothEngines, TwinStarter, ::testing::ValuesIn(kEngines),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StarterPanel, DeclaresPlateAndSixAlwaysLitIcons) {
  host::PanelHost host{GAUGES_DIR};
  auto& gauge = host.place("crankpanel", "starters");
  constexpr start_switches::ElementRow rows[] = {
      {ELEMENT_KIND_STATIC_IMAGE, 0x0100, 0, 0, 0}, {ELEMENT_KIND_ICON, 0x0300, 107, 28, 401},
      {ELEMENT_KIND_ICON, 0x0200, 26, 44, 133},     {ELEMENT_KIND_ICON, 0x0200, 60, 44, 134},
      {ELEMENT_KIND_ICON, 0x0300, 107, 79, 440},    {ELEMENT_KIND_ICON, 0x0200, 150, 44, 168},
      {ELEMENT_KIND_ICON, 0x0200, 184, 44, 169},
  };
  start_switches::expect_plate_elements(gauge, rows);
  EXPECT_EQ(gauge.gauge->header->default_width_mm, 85u);
  EXPECT_EQ(gauge.width, 233);
  EXPECT_EQ(gauge.height, 136);
  // 13 tooltip-parent records, six children, the two closing records.
  ASSERT_EQ(gauge.gauge->mouse.size(), 21u);
  for (size_t i = 13; i < 19; ++i) {
    const MOUSERECT& m = *gauge.gauge->mouse[i];
    EXPECT_EQ(m.kind, MOUSE_CHILD);
    EXPECT_EQ(m.cursor, 5);
    EXPECT_EQ(m.mouse_flags, i == 15 || i == 18 ? 0x20200000u : 0x20000000u) << i;
  }
}

// The starter panel and the engine panels follow the same tokens but keep
// their stores apart; two starter panels share theirs.
TEST(StarterPanel, SharesNoStoresWithTheEnginePanels) {
  host::PanelHost host{GAUGES_DIR};
  auto& panel = host.place("crankpanel", "starters");
  auto& panel_again = host.place("crankpanel", "starters");
  auto& engine1 = host.place("ignitionkeys", "engine1");
  host.tokens().set(133, 1);
  host.tokens().set(134, 1);
  host.update(panel);
  host.click(engine1, 20, 130);      // never updated: both off
  host.click(panel_again, 30, 60);   // the first panel's update counts
  EXPECT_EQ(host.events(), (std::vector<host::KeyEvent>{{65929, 0}, {66400, 1}}));

  host.clear_events();
  host.tokens().set(133, 0);
  host.update(engine1);
  host.click(panel, 30, 60);  // the panel still shows both on
  EXPECT_EQ(host.events(), (std::vector<host::KeyEvent>{{66400, 1}}));
}

}  // namespace
