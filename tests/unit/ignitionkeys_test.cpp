// The four engine start panels of ignitionkeys through the host loading the
// real module: two on/off magneto levers mapped onto the simulator's
// four-position selector, a starter that repeats while held, and clicks that
// leave every lever to the simulator's next answer.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "panel_host.h"
#include "start_switch_events.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Engine {
  const char* gauge;
  uint32_t starter_token, left_token, right_token;
  uint32_t starter_help, magneto_help;
  const start_switches::EngineEvents& events;
};

constexpr Engine kEngines[] = {
    {"engine1", 401, 133, 134, 0x32b1, 0x32a0, start_switches::kEngineEvents[0]},
    {"engine2", 440, 168, 169, 0x32b2, 0x32a1, start_switches::kEngineEvents[1]},
    {"engine3", 479, 203, 204, 0x32b3, 0x32a2, start_switches::kEngineEvents[2]},
    {"engine4", 518, 238, 239, 0x32b4, 0x32a3, start_switches::kEngineEvents[3]},
};

// Points well inside each click box.
constexpr int kLeftX = 20, kRightX = 60, kMagnetoY = 130;
constexpr int kStarterX = 40, kStarterY = 40;

using start_switches::events_for;
using start_switches::Sends;

class EngineStarter : public ::testing::TestWithParam<Engine> {
 protected:
  const Engine& engine = GetParam();
  host::PanelHost host{GAUGES_DIR};
  host::GaugeInstance& gauge = host.place("ignitionkeys", engine.gauge);

  void show_levers(double left, double right) {
    host.tokens().set(engine.left_token, left);
    host.tokens().set(engine.right_token, right);
    host.tick();
    host.clear_events();
  }
  std::vector<host::KeyEvent> click_events(int x, int y) {
    host.clear_events();
    host.click(gauge, x, y);
    return host.events();
  }
};

TEST_P(EngineStarter, DeclaresPlateStarterLeftRightAlwaysLit) {
  const start_switches::ElementRow rows[] = {
      {ELEMENT_KIND_STATIC_IMAGE, 0x0100, 0, 0, 0},
      {ELEMENT_KIND_ICON, 0x0200, 25, 19, engine.starter_token},
      {ELEMENT_KIND_ICON, 0x0200, 5, 109, engine.left_token},
      {ELEMENT_KIND_ICON, 0x0200, 46, 109, engine.right_token},
  };
  start_switches::expect_plate_elements(gauge, rows);
  EXPECT_EQ(gauge.gauge->header->default_width_mm, 85u);
  EXPECT_EQ(gauge.width, 85);
  EXPECT_EQ(gauge.height, 171);
}

TEST_P(EngineStarter, MouseListReadsInItsOrder) {
  struct Record {
    uint32_t kind;
    int x, y, w, h;
    int32_t cursor;
    uint32_t help, flags;
  };
  const Record records[] = {
      {MOUSE_PARENT, 0, 0, 0, 0, -1, 0, 0},
      {MOUSE_PARENT, 2, 2, 81, 67, -1, 0, 0},
      {MOUSE_TOOLTIP, 0, 0, 0, 0, -1, engine.starter_help, 0},
      {MOUSE_END_OF_PARENT, 0, 0, 0, 0, -1, 0, 0},
      {MOUSE_PARENT, 2, 70, 81, 118, -1, 0, 0},
      {MOUSE_TOOLTIP, 0, 0, 0, 0, -1, engine.magneto_help, 0},
      {MOUSE_END_OF_PARENT, 0, 0, 0, 0, -1, 0, 0},
      {MOUSE_CHILD, 5, 109, 33, 44, 5, 0, 0x20000000},
      {MOUSE_CHILD, 46, 109, 33, 44, 5, 0, 0x20000000},
      {MOUSE_CHILD, 25, 19, 33, 44, 5, 0, 0x20200000},
      {MOUSE_END_OF_PARENT, 0, 0, 0, 0, -1, 0, 0},
      {MOUSE_END_OF_LIST, 0, 0, 0, 0, -1, 0, 0},
  };
  ASSERT_EQ(gauge.gauge->mouse.size(), std::size(records));
  for (size_t i = 0; i < std::size(records); ++i) {
    SCOPED_TRACE(i);
    const MOUSERECT& m = *gauge.gauge->mouse[i];
    EXPECT_EQ(m.kind, records[i].kind);
    EXPECT_EQ(m.x, records[i].x);
    EXPECT_EQ(m.y, records[i].y);
    EXPECT_EQ(m.width, records[i].w);
    EXPECT_EQ(m.height, records[i].h);
    EXPECT_EQ(m.cursor, records[i].cursor);
    EXPECT_EQ(m.help_id, records[i].help);
    EXPECT_EQ(m.mouse_flags, records[i].flags);
    EXPECT_EQ(m.event_or_argument_count, 0u);
    EXPECT_EQ(m.function.none != nullptr, m.kind == MOUSE_CHILD);
  }
}

// Position = right + 2 * left (+ 0.01 for the magnetos), truncated toward zero.
struct LeverCase {
  double left, right;
  Sends left_click, right_click, starter;
};

constexpr LeverCase kLeverCases[] = {
    {0, 0, Sends::LeftOnly, Sends::RightOnly, Sends::Nothing},
    {0, 1, Sends::Both, Sends::Off, Sends::Nothing},
    {1, 0, Sends::Off, Sends::Both, Sends::Nothing},
    {1, 1, Sends::SetRightOnly, Sends::SetLeftOnly, Sends::Starter},
    // 3.007 for the magnetos, but 2.997 for the starter.
    {0.999, 0.999, Sends::SetRightOnly, Sends::SetLeftOnly, Sends::Nothing},
    {0.99, 0, Sends::Both, Sends::Off, Sends::Nothing},  // 1.99: a left lever not quite on reads as R on
    {0.996, 0, Sends::Off, Sends::Both, Sends::Nothing},
    {2, 0, Sends::Nothing, Sends::Nothing, Sends::Starter},  // position 4: no magneto, but it starts
    {-1, 0, Sends::Nothing, Sends::Nothing, Sends::Nothing},
    {0, -0.5, Sends::LeftOnly, Sends::RightOnly, Sends::Nothing},  // -0.49 truncates to 0
    {kNaN, 1, Sends::Nothing, Sends::Nothing, Sends::Nothing},
    {1e300, 0, Sends::Nothing, Sends::Nothing, Sends::Nothing},
    {-1e300, 0, Sends::Nothing, Sends::Nothing, Sends::Nothing},
    {3e9, 0, Sends::Nothing, Sends::Nothing, Sends::Nothing},
};

TEST_P(EngineStarter, EachLeverSendsTheEventForItsPosition) {
  for (const LeverCase& c : kLeverCases) {
    SCOPED_TRACE(testing::Message() << "left " << c.left << ", right " << c.right);
    show_levers(c.left, c.right);
    EXPECT_EQ(click_events(kLeftX, kMagnetoY), events_for(engine.events, c.left_click));
    EXPECT_EQ(click_events(kRightX, kMagnetoY), events_for(engine.events, c.right_click));
    EXPECT_EQ(click_events(kStarterX, kStarterY), events_for(engine.events, c.starter));
  }
}

TEST_P(EngineStarter, LeversShowTheirTokens) {
  host.tokens().set(engine.starter_token, 1);
  host.tokens().set(engine.left_token, 1);
  host.tick();
  EXPECT_EQ(gauge.elements[1].icon_index, 1);
  EXPECT_EQ(gauge.elements[2].icon_index, 1);
  EXPECT_EQ(gauge.elements[3].icon_index, 0);
  EXPECT_DOUBLE_EQ(gauge.elements[2].reading, 1.0);  // the token, not the doubled store
  host.tokens().set(engine.left_token, 0.25);
  host.tick();
  EXPECT_DOUBLE_EQ(gauge.elements[2].reading, 0.25);
}

TEST_P(EngineStarter, HeldStarterRepeatsEveryTickAndStopsOnRelease) {
  show_levers(1, 1);
  host.hold(gauge, kStarterX, kStarterY, 5);
  EXPECT_EQ(host.events(), std::vector<host::KeyEvent>(6, {engine.events.starter, 0}));  // press + 5 ticks
  host.clear_events();
  host.tick(5);
  EXPECT_TRUE(host.events().empty());

  // Held magneto levers do not repeat.
  host.hold(gauge, kLeftX, kMagnetoY, 5);
  EXPECT_EQ(host.events(), events_for(engine.events, Sends::SetRightOnly));
}

TEST_P(EngineStarter, HeldStarterSendsNothingWithAMagnetoOff) {
  show_levers(1, 0);
  host.hold(gauge, kStarterX, kStarterY, 5);
  EXPECT_TRUE(host.events().empty());
}

// The simulator here never answers: a click may only send, never move.
TEST_P(EngineStarter, ClickChangesNeitherStoreNorLever) {
  show_levers(1, 1);
  const uint32_t flags_before = gauge.elements[2].view.header->image_flags;
  host.tokens().set(engine.left_token, 0);
  host.tokens().set(engine.right_token, 0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(click_events(kLeftX, kMagnetoY), events_for(engine.events, Sends::SetRightOnly));
    EXPECT_EQ(click_events(kRightX, kMagnetoY), events_for(engine.events, Sends::SetLeftOnly));
  }
  EXPECT_EQ(gauge.elements[2].icon_index, 1);
  EXPECT_EQ(gauge.elements[3].icon_index, 1);
  EXPECT_EQ(gauge.elements[2].view.header->image_flags, flags_before);
  host.tick();
  EXPECT_EQ(click_events(kLeftX, kMagnetoY), events_for(engine.events, Sends::LeftOnly));
}

TEST_P(EngineStarter, BeforeTheFirstUpdateBothLeversCountAsOff) {
  host.tokens().set(engine.left_token, 1);
  host.tokens().set(engine.right_token, 1);
  EXPECT_EQ(click_events(kLeftX, kMagnetoY), events_for(engine.events, Sends::LeftOnly));
  EXPECT_EQ(click_events(kStarterX, kStarterY), events_for(engine.events, Sends::Nothing));
}

// With both levers up each box sends something of its own, so a pixel's
// events tell which box took it.
TEST_P(EngineStarter, ClickBoxesEndAtTheirEdges) {
  show_levers(1, 1);
  struct Box {
    int x, y, w, h;
    Sends sends;
  };
  const Box boxes[] = {
      {5, 109, 33, 44, Sends::SetRightOnly},
      {46, 109, 33, 44, Sends::SetLeftOnly},
      {25, 19, 33, 44, Sends::Starter},
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
  // The gap between the magneto levers, the panes around the starter, the frame.
  for (auto [x, y] : {std::pair{38, 130}, {45, 130}, {10, 40}, {70, 40}, {40, 66}, {1, 1}, {42, 160}}) {
    EXPECT_TRUE(click_events(x, y).empty()) << x << "," << y;
  }
}

TEST_P(EngineStarter, TooltipsNameThePane) {
  struct Hover {
    int x, y;
    uint32_t help;
  };
  const Hover hovers[] = {
      {2, 2, engine.starter_help},  {82, 68, engine.starter_help}, {40, 40, engine.starter_help},
      {2, 70, engine.magneto_help}, {82, 170, engine.magneto_help}, {20, 130, engine.magneto_help},
      {1, 1, 0},                    {40, 69, 0},                    {83, 100, 0},
  };
  for (const Hover& h : hovers) {
    const host::Tooltip& tip = host.hover(gauge, h.x, h.y);
    EXPECT_EQ(tip.help_id, h.help) << h.x << "," << h.y;
    EXPECT_EQ(tip.kind, h.help ? host::Tooltip::Kind::Help : host::Tooltip::Kind::None);
  }
}

INSTANTIATE_TEST_SUITE_P(FourEngines, EngineStarter, ::testing::ValuesIn(kEngines),
                         [](const auto& info) { return std::string(info.param.gauge); });

// Stores belong to the gauge name: engines keep their own, instances share.
TEST(EngineStarters, EnginesKeepTheirOwnStoresInstancesShareThem) {
  host::PanelHost host{GAUGES_DIR};
  auto& engine1 = host.place("ignitionkeys", "engine1");
  auto& engine1_again = host.place("ignitionkeys", "engine1");
  auto& engine2 = host.place("ignitionkeys", "engine2");
  host.tokens().set(133, 1);
  host.tokens().set(134, 1);
  host.update(engine1);
  host.click(engine1_again, 20, 130);
  host.click(engine2, 20, 130);
  host.hold(engine2, 40, 40, 0);
  EXPECT_EQ(host.events(), (std::vector<host::KeyEvent>{{66400, 1}, {65935, 0}}));
}

}  // namespace
