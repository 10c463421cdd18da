// The engine RPM gauges through the host loading the real module file: four
// ring gauges (their shared checks are in boostgauge_test.cpp) and the dual
// gauge with needles L and R for engines 1 and 2.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "panel_host.h"
#include "tooltip_expectations.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr char kLighting[] = "ovk_luminous_gauge";
constexpr uint32_t kRpmTokens[] = {390, 429, 468, 507};

uint32_t flags(const host::GaugeInstance& gauge, int depth) { return gauge.elements[depth].view.header->image_flags; }

class Tachometer : public ::testing::Test {
 protected:
  host::PanelHost host{GAUGES_DIR};
  std::vector<host::GaugeInstance*> engines = {
      &host.place("tachometer", "engine1"), &host.place("tachometer", "engine2"),
      &host.place("tachometer", "engine3"), &host.place("tachometer", "engine4")};
  host::GaugeInstance& dual = host.place("tachometer", "dual_1&2");

  struct Needle {
    const host::GaugeInstance* gauge;
    int depth;
    const char* name;
  };
  // Every needle of the module: one per engine gauge, L and R on the dual gauge.
  std::vector<Needle> needles() const {
    return {{engines[0], 2, "engine1"}, {engines[1], 2, "engine2"}, {engines[2], 2, "engine3"},
            {engines[3], 2, "engine4"}, {&dual, 2, "dual L"},       {&dual, 3, "dual R"}};
  }
  void set_all(double rpm) {
    for (uint32_t token : kRpmTokens) host.tokens().set(token, rpm);
  }
};

TEST_F(Tachometer, ReadingsAreHeldWithinTheDial) {
  struct Case {
    double token, rpm;
  } cases[] = {
      {0, 0},       {1500, 1500}, {3000, 3000}, {3000.5, 3000}, {3200, 3000}, {1e300, 3000},
      {kInf, 3000}, {-0.5, 0},    {-50, 0},     {-kInf, 0},     {2999.9, 2999.9},
  };
  for (const Case& c : cases) {
    set_all(c.token);
    host.tick();
    for (const Needle& n : needles()) EXPECT_EQ(n.gauge->elements[n.depth].reading, c.rpm) << n.name << ", " << c.token;
  }
}

TEST_F(Tachometer, NaNPassesBothLimits) {
  set_all(kNaN);
  host.tick();
  for (const Needle& n : needles()) EXPECT_TRUE(std::isnan(n.gauge->elements[n.depth].reading)) << n.name;
}

TEST_F(Tachometer, EveryNeedleLiesOnTheSameScale) {
  struct Case {
    double rpm, degrees;
  } cases[] = {{0, -119.9}, {500, -80.2}, {1500, 0}, {2500, 80.1}, {3000, 119.9}, {-50, -119.9}, {3200, 119.9}};
  for (const Case& c : cases) {
    set_all(c.rpm);
    host.tick(60);
    for (const Needle& n : needles()) EXPECT_NEAR(n.gauge->elements[n.depth].angle, c.degrees, 0.1) << n.name << ", " << c.rpm;
  }
}

TEST_F(Tachometer, DualNeedlesFollowTheirOwnEngines) {
  host.tokens().set(390, 800);
  host.tokens().set(429, 2600);
  host.tick();
  EXPECT_EQ(dual.elements[2].reading, 800);
  EXPECT_EQ(dual.elements[3].reading, 2600);
}

TEST_F(Tachometer, DualGaugeIsFaceBezelNeedleLNeedleR) {
  ASSERT_EQ(dual.elements.size(), 4u);
  struct Row {
    uint32_t kind, bitmap, token;
  } rows[] = {{ELEMENT_KIND_STATIC_IMAGE, 0x0100, 0},
              {ELEMENT_KIND_STATIC_IMAGE, 0x0200, 0},
              {ELEMENT_KIND_NEEDLE, 0x0400, 390},
              {ELEMENT_KIND_NEEDLE, 0x0500, 429}};
  for (int depth = 0; depth < 4; ++depth) {
    const host::ElementView& view = dual.elements[depth].view;
    EXPECT_EQ(view.header->kind, rows[depth].kind) << depth;
    EXPECT_EQ(view.header->bitmap, rows[depth].bitmap) << depth;
    EXPECT_EQ(view.header->image_flags, 0x83u) << depth;
    if (const ELEMENT_NEEDLE* needle = view.needle()) {
      EXPECT_EQ(needle->source.id, rows[depth].token) << depth;
      EXPECT_EQ(needle->header.position.x, 151);
      EXPECT_EQ(needle->header.position.y, 151);
      EXPECT_EQ(needle->header.pivot.x, 59);
      EXPECT_EQ(needle->header.pivot.y, 14);
      EXPECT_EQ(needle->max_degrees_per_tick, 5);
      EXPECT_EQ(needle->calibration, engines[0]->elements[2].view.needle()->calibration) << "one scale for all";
    }
  }
  EXPECT_EQ(dual.gauge->header->default_width_mm, 80u);
}

TEST_F(Tachometer, DualTooltipsCoverTheUpperQuartersOnly) {
  struct Case {
    int x, y;
    uint32_t help;  // 0: no tooltip
  } cases[] = {
      {1, 1, 0x3211},     {149, 1, 0x3211},   {1, 149, 0x3211}, {149, 149, 0x3211}, {150, 1, 0},
      {150, 75, 0},       {151, 1, 0x3212},   {299, 1, 0x3212}, {151, 149, 0x3212}, {299, 149, 0x3212},
      {300, 75, 0},       {75, 150, 0},       {225, 150, 0},    {75, 300, 0},       {225, 300, 0},
      {0, 75, 0},         {75, 0, 0},
  };
  for (const Case& c : cases) expect_help_tooltip(host, dual, c.x, c.y, c.help);
}

TEST_F(Tachometer, DualClickAreaIsTheWholeFace) {
  struct Case {
    int x, y;
    bool flips;
  } cases[] = {
      {1, 1, true},     {300, 300, true}, {150, 150, true}, {75, 250, true},
      {0, 150, false},  {150, 0, false},  {301, 150, false}, {150, 301, false},
  };
  host.tick();  // the engine gauges register the variable
  for (const Case& c : cases) {
    const double before = host.named().value(kLighting).value_or(-1);
    host.click(dual, c.x, c.y);
    EXPECT_EQ(host.named().value(kLighting).value_or(-1) != before, c.flips) << c.x << "," << c.y;
  }
}

TEST_F(Tachometer, DualGaugeLightsAndUnlightsAsAWholeButTheBezel) {
  host.named().set_by_name(kLighting, 1.0);
  host.tick();
  EXPECT_EQ(flags(dual, 0), 0x4083u);
  EXPECT_EQ(flags(dual, 1), 0x83u);
  EXPECT_EQ(flags(dual, 2), 0x4083u);
  EXPECT_EQ(flags(dual, 3), 0x4083u);
  host.click(dual, 150, 250);
  host.tick();
  for (int depth = 0; depth < 4; ++depth) EXPECT_EQ(flags(dual, depth), 0x83u) << depth;
}

TEST_F(Tachometer, EveryGaugeKeepsItsOwnSlot) {
  host.tick();
  for (host::GaugeInstance* clicked : {engines[3], &dual, engines[0]}) {
    host.click(*clicked, 150, 150);
    const uint32_t expected = host.named().value(kLighting) == 1.0 ? 0x4083u : 0x83u;
    host.tick();
    for (size_t e = 0; e < engines.size(); ++e) {
      EXPECT_EQ(flags(*engines[e], 0), expected) << "engine" << e + 1;
      EXPECT_EQ(flags(*engines[e], 2), expected) << "engine" << e + 1;
    }
    for (int depth : {0, 2, 3}) EXPECT_EQ(flags(dual, depth), expected) << "dual, depth " << depth;
  }
}

// The dual gauge never registers the variable: on its own it cannot be lit.
TEST(TachometerDualAlone, FollowsTheVariableOnlyOnceAnotherGaugeRegistersIt) {
  host::PanelHost host{GAUGES_DIR};
  auto& dual = host.place("tachometer", "dual_1&2");
  host.tick();
  EXPECT_FALSE(host.named().value(kLighting));
  host.click(dual, 150, 150);
  host.tick();
  EXPECT_FALSE(host.named().value(kLighting)) << "a click on an unregistered variable changes nothing";
  for (int depth = 0; depth < 4; ++depth) EXPECT_EQ(flags(dual, depth), 0x83u) << depth;

  host.place("lubepress", "oil_pressure");
  host.tick();  // lubepress registers it
  ASSERT_EQ(host.named().value(kLighting), 0.0);
  host.click(dual, 150, 150);
  EXPECT_EQ(host.named().value(kLighting), 1.0);
  host.tick();
  EXPECT_EQ(flags(dual, 0), 0x4083u);
  EXPECT_EQ(flags(dual, 3), 0x4083u);
}

TEST(TachometerEngineGauge, RegistersTheVariableForTheDualGauge) {
  host::PanelHost host{GAUGES_DIR};
  auto& dual = host.place("tachometer", "dual_1&2");
  host.place("tachometer", "engine3");
  host.tick();
  ASSERT_EQ(host.named().value(kLighting), 0.0);
  host.click(dual, 150, 150);
  host.tick();
  EXPECT_EQ(flags(dual, 2), 0x4083u);
}

// One lighting variable, many modules: every lit gauge follows it at its own
// next update, each through its own module's slot, whichever gauge was clicked.
TEST(LightingAcrossModules, EveryGaugeFollowsAClickOnAnyOther) {
  struct Placed {
    const char* module;
    const char* gauge;
    std::vector<int> lit, unlit;  // depths
  } placed[] = {
      {"lubepress", "oil_pressure", {0, 1, 2}, {3}},
      {"lubetemp", "oil_temperature", {0, 1, 2}, {3}},
      {"headtemp", "dual_cht", {0, 1, 2}, {3}},
      {"boostgauge", "engine4", {0, 2}, {1}},
      {"burnrate", "engine1", {0, 2}, {1}},
      {"burnrate", "engine4", {0, 2}, {1}},
      {"tachometer", "dual_1&2", {0, 2, 3}, {1}},
      {"tachometer", "engine4", {0, 2}, {1}},
      {"boostgauge", "engine1", {0, 2}, {1}},
      {"tachometer", "engine1", {0, 2}, {1}},
  };
  host::PanelHost host{GAUGES_DIR};
  std::vector<host::GaugeInstance*> gauges;
  for (const Placed& p : placed) gauges.push_back(&host.place(p.module, p.gauge));
  auto expect_all = [&](bool lit, const char* when) {
    for (size_t i = 0; i < gauges.size(); ++i) {
      for (int depth : placed[i].lit) {
        EXPECT_EQ(flags(*gauges[i], depth), lit ? 0x4083u : 0x83u)
            << when << ": " << placed[i].module << "!" << placed[i].gauge << " depth " << depth;
      }
      for (int depth : placed[i].unlit) {
        EXPECT_EQ(flags(*gauges[i], depth), 0x83u) << when << ": " << placed[i].module << "!" << placed[i].gauge;
      }
    }
  };
  host.tick();
  expect_all(false, "at start");

  host.click(*gauges[4], 150, 150);  // burnrate!engine1
  host.update(*gauges[1]);
  EXPECT_EQ(flags(*gauges[1], 0), 0x4083u) << "the gauge that updated follows at once";
  EXPECT_EQ(flags(*gauges[0], 0), 0x83u) << "the others wait for their own update";
  EXPECT_EQ(flags(*gauges[4], 0), 0x83u) << "even the one clicked";
  host.tick();
  expect_all(true, "after a click on burnrate");

  host.click(*gauges[0], 150, 150);  // lubepress
  host.tick();
  expect_all(false, "after a click on lubepress");

  host.click(*gauges[6], 150, 250);  // the dual RPM gauge
  host.tick();
  expect_all(true, "after a click on the dual RPM gauge");
}

}  // namespace
