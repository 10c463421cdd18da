// The fuel selector knobs of tankvalve through the host loading the real
// module: the selector token read as an integer and turned into a knob
// direction, and one fixed event per face word.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "panel_host.h"

namespace host {
[[maybe_unused]] static void PrintTo(const KeyEvent& e, std::ostream* os) { *os << e.id << ":" << e.value; }
}  // namespace host

namespace {

struct Engine {
  const char* gauge;
  uint32_t token, help;
  uint32_t off, both, left, right;
};

constexpr Engine kEngines[] = {
    {"engine1", 422, 0x3268, 65955, 65956, 65957, 65958},
    {"engine2", 461, 0x3269, 66516, 66517, 66518, 66519},
    {"engine3", 500, 0x326a, 66561, 66562, 66563, 66564},
    {"engine4", 539, 0x326b, 66569, 66570, 66571, 66572},
};

class FuelSelector : public ::testing::TestWithParam<Engine> {
 protected:
  const Engine& engine = GetParam();
  host::PanelHost host{GAUGES_DIR};
  host::GaugeInstance& gauge = host.place("tankvalve", engine.gauge);
  const host::ElementState& knob = gauge.elements.at(1);

  std::vector<host::KeyEvent> click_events(int x, int y) {
    host.clear_events();
    host.click(gauge, x, y);
    return host.events();
  }
};

TEST_P(FuelSelector, DeclaresFaceAndKnob) {
  ASSERT_EQ(gauge.elements.size(), 2u);
  const ELEMENT_HEADER* face = gauge.elements[0].view.header;
  const ELEMENT_NEEDLE* needle = gauge.elements[1].view.needle();
  ASSERT_NE(needle, nullptr);
  EXPECT_EQ(face->kind, ELEMENT_KIND_STATIC_IMAGE);
  EXPECT_EQ(face->bitmap, 0x0100u);
  EXPECT_EQ(face->image_flags, 0x83u);
  EXPECT_EQ(needle->header.bitmap, 0x0200u);
  EXPECT_EQ(needle->header.image_flags, 0x83u);
  EXPECT_EQ(needle->header.position.x, 42);
  EXPECT_EQ(needle->header.position.y, 42);
  EXPECT_EQ(needle->header.pivot.x, 28);
  EXPECT_EQ(needle->header.pivot.y, 9);
  EXPECT_EQ(needle->source.id, engine.token);
  EXPECT_EQ(needle->max_degrees_per_tick, 0);
  EXPECT_EQ(needle->calibration_points, 4u);
  EXPECT_EQ(gauge.gauge->header->default_width_mm, 80u);
  EXPECT_EQ(gauge.width, 85);
  EXPECT_EQ(gauge.height, 85);
}

// The simulator counts off, both, left, right; the face reads clockwise from
// the top BOTH, RIGHT, OFF, LEFT. The knob jumps there in one update.
TEST_P(FuelSelector, KnobPointsAtTheSelectorsWord) {
  struct Case {
    double token;
    double reading, angle;
  };
  constexpr Case cases[] = {
      {0, 2, 180}, {1, 0, 0}, {2, 3, 270}, {3, 1, 90}, {4, 0, 0},
      {5e9, 0, 0},  // held at the top of the integer range: still unknown
      {-1, 2, 180},  // a negative value reaches the integer form as 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.token);
    host.tokens().set(engine.token, c.token);
    host.tick();
    EXPECT_EQ(knob.reading, c.reading);
    const double angle = std::fmod(knob.angle + 360.0, 360.0);
    EXPECT_NEAR(angle, c.angle, 0.5);
  }
}

TEST_P(FuelSelector, EachWordSendsItsEventAndTheHubNothing) {
  host.tokens().set(engine.token, 1);
  host.tick();
  struct Box {
    int x, y;
    uint32_t event;
  };
  const Box boxes[] = {{27, 55, engine.off}, {27, 1, engine.both}, {1, 27, engine.left}, {55, 27, engine.right}};
  for (const Box& b : boxes) {
    const std::vector<host::KeyEvent> sends = {{b.event, 0}};
    for (auto [x, y] : {std::pair{b.x, b.y}, {b.x + 26, b.y}, {b.x, b.y + 26}, {b.x + 26, b.y + 26}}) {
      if (x == 27 && y == 27) continue;  // shared by BOTH and LEFT, below
      EXPECT_EQ(click_events(x, y), sends) << x << "," << y;
    }
    EXPECT_EQ(click_events(b.x + 13, b.y + 13), sends);  // again, though the knob may point there
  }
  // BOTH comes first in the list, so it takes the one pixel it shares with LEFT.
  EXPECT_EQ(click_events(27, 27), (std::vector<host::KeyEvent>{{engine.both, 0}}));
  // The hub, its corners, and the face outside the boxes.
  for (auto [x, y] : {std::pair{40, 40}, {28, 28}, {54, 54}, {28, 54}, {54, 28}, {0, 0}, {84, 84}, {0, 13}, {82, 40}, {40, 82}}) {
    EXPECT_TRUE(click_events(x, y).empty()) << x << "," << y;
  }
  EXPECT_EQ(knob.reading, 0.0);  // clicks never turn the knob
}

TEST_P(FuelSelector, TooltipCoversTheWholeFace) {
  for (auto [x, y] : {std::pair{0, 0}, {40, 40}, {84, 84}, {5, 40}}) {
    const host::Tooltip& tip = host.hover(gauge, x, y);
    EXPECT_EQ(tip.kind, host::Tooltip::Kind::Help);
    EXPECT_EQ(tip.help_id, engine.help);
  }
}

INSTANTIATE_TEST_SUITE_P(FourEngines, FuelSelector, ::testing::ValuesIn(kEngines),
                         [](const auto& info) { return std::string(info.param.gauge); });

// Engine 1's events lie apart from the others', each engine's four consecutive.
TEST(FuelSelectors, SameWordDiffersByEngine) {
  host::PanelHost host{GAUGES_DIR};
  for (const Engine& e : kEngines) host.click(host.place("tankvalve", e.gauge), 5, 40);
  EXPECT_EQ(host.events(), (std::vector<host::KeyEvent>{{65957, 0}, {66518, 0}, {66563, 0}, {66571, 0}}));
}

}  // namespace
