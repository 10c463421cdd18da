// The manifold pressure gauges, and the ring gauge they set out, checked on
// every engine gauge of the three ring modules (boostgauge, burnrate,
// tachometer) through the host loading the real module files.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "panel_host.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr char kLighting[] = "ovk_luminous_gauge";

// One engine gauge of a ring module, as its module declares it.
struct RingEngine {
  const char* module;
  const char* gauge;
  uint32_t token;
  uint32_t help_id;
  uint32_t face_bitmap, bezel_bitmap, needle_bitmap;
  PIXPOINT pivot;
  double token_value, reading;  // a mid-scale value and what the needle shows for it
};

constexpr RingEngine kRingEngines[] = {
    {"boostgauge", "engine1", 391, 0x30a1, 0x0100, 0x0300, 0x0200, {52, 10}, 1414.524, 20},
    {"boostgauge", "engine2", 430, 0x30a2, 0x0100, 0x0300, 0x0200, {52, 10}, 1414.524, 20},
    {"boostgauge", "engine3", 469, 0x30a3, 0x0100, 0x0300, 0x0200, {52, 10}, 1414.524, 20},
    {"boostgauge", "engine4", 508, 0x30a4, 0x0100, 0x0300, 0x0200, {52, 10}, 1414.524, 20},
    {"burnrate", "engine1", 137, 0x30c1, 0x0100, 0x0300, 0x0200, {52, 11}, 120, 120},
    {"burnrate", "engine2", 172, 0x30c2, 0x0100, 0x0300, 0x0200, {52, 11}, 120, 120},
    {"burnrate", "engine3", 207, 0x30c3, 0x0100, 0x0300, 0x0200, {52, 11}, 120, 120},
    {"burnrate", "engine4", 242, 0x30c4, 0x0100, 0x0300, 0x0200, {52, 11}, 120, 120},
    {"tachometer", "engine1", 390, 0x3211, 0x0100, 0x0200, 0x0300, {52, 10}, 2100, 2100},
    {"tachometer", "engine2", 429, 0x3212, 0x0100, 0x0200, 0x0300, {52, 10}, 2100, 2100},
    {"tachometer", "engine3", 468, 0x3213, 0x0100, 0x0200, 0x0300, {52, 10}, 2100, 2100},
    {"tachometer", "engine4", 507, 0x3214, 0x0100, 0x0200, 0x0300, {52, 10}, 2100, 2100},
};

class RingEngineGauge : public ::testing::TestWithParam<RingEngine> {
 protected:
  const RingEngine& engine = GetParam();
  host::PanelHost host{GAUGES_DIR};
  host::GaugeInstance& gauge = host.place(engine.module, engine.gauge);

  uint32_t flags(int depth) const { return gauge.elements[depth].view.header->image_flags; }
  double lighting() { return host.named().value(kLighting).value_or(-1); }
};

TEST_P(RingEngineGauge, IsFaceBezelNeedleFromTheModulesBitmaps) {
  ASSERT_EQ(gauge.elements.size(), 3u);
  const ELEMENT_HEADER* face = gauge.elements[0].view.header;
  const ELEMENT_HEADER* bezel = gauge.elements[1].view.header;
  const ELEMENT_NEEDLE* needle = gauge.elements[2].view.needle();
  ASSERT_NE(needle, nullptr);
  EXPECT_EQ(face->kind, ELEMENT_KIND_STATIC_IMAGE);
  EXPECT_EQ(bezel->kind, ELEMENT_KIND_STATIC_IMAGE);
  EXPECT_EQ(face->bitmap, engine.face_bitmap);
  EXPECT_EQ(bezel->bitmap, engine.bezel_bitmap);
  EXPECT_EQ(needle->header.bitmap, engine.needle_bitmap);
  EXPECT_EQ(needle->header.position.x, 151);
  EXPECT_EQ(needle->header.position.y, 151);
  EXPECT_EQ(needle->header.pivot.x, engine.pivot.x);
  EXPECT_EQ(needle->header.pivot.y, engine.pivot.y);
  EXPECT_EQ(needle->source.id, engine.token);
  EXPECT_EQ(needle->max_degrees_per_tick, 5);
  for (int depth = 0; depth < 3; ++depth) {
    EXPECT_EQ(flags(depth), 0x83u) << depth;
    EXPECT_EQ(gauge.elements[depth].view.header->gauge, gauge.gauge->header) << depth;
  }
  EXPECT_EQ(gauge.gauge->header->default_width_mm, 80u);
  EXPECT_EQ(gauge.gauge->header->gauge_callback, nullptr);
}

TEST_P(RingEngineGauge, ReadsItsOwnEngineOnly) {
  for (const RingEngine& other : kRingEngines) {
    if (std::string(other.module) == engine.module) host.tokens().set(other.token, 1);
  }
  host.tokens().set(engine.token, engine.token_value);
  host.tick();
  EXPECT_DOUBLE_EQ(gauge.elements[2].reading, engine.reading);
}

TEST_P(RingEngineGauge, TooltipAndClickAreaCoverTheFace) {
  struct Case {
    int x, y;
    bool clickable;
  } cases[] = {
      {1, 1, true},    {300, 300, true}, {150, 150, true}, {1, 300, true},   {300, 1, true},
      {0, 150, false}, {150, 0, false},  {301, 150, false}, {150, 301, false}, {0, 0, false},
  };
  host.tick();
  for (const Case& c : cases) {
    const host::Tooltip& tip = host.hover(gauge, c.x, c.y);
    EXPECT_EQ(tip.kind, host::Tooltip::Kind::Help) << c.x << "," << c.y;
    EXPECT_EQ(tip.help_id, engine.help_id) << c.x << "," << c.y;
    const double before = lighting();
    host.click(gauge, c.x, c.y);
    EXPECT_EQ(lighting() != before, c.clickable) << c.x << "," << c.y;
  }
  const double before = lighting();
  host.click(gauge, 150, 150, MOUSE_RIGHTSINGLE);
  EXPECT_EQ(lighting(), before) << "a right click is not the face's click";
}

TEST_P(RingEngineGauge, RegistersTheVariableAtItsFirstUpdate) {
  EXPECT_FALSE(host.named().value(kLighting));
  host.tick();
  EXPECT_EQ(host.named().value(kLighting), 0.0);
  for (int depth = 0; depth < 3; ++depth) EXPECT_EQ(flags(depth), 0x83u) << depth;
}

TEST_P(RingEngineGauge, FaceAndNeedleFollowTheVariableTheBezelNever) {
  host.named().set_by_name(kLighting, 1.0);
  host.tick();
  EXPECT_EQ(flags(0), 0x4083u);
  EXPECT_EQ(flags(1), 0x83u);
  EXPECT_EQ(flags(2), 0x4083u);
  host.click(gauge, 150, 150);
  EXPECT_EQ(lighting(), 0.0);
  EXPECT_EQ(flags(0), 0x4083u) << "nothing changes before the next update";
  host.tick();
  for (int depth = 0; depth < 3; ++depth) EXPECT_EQ(flags(depth), 0x83u) << depth;
  host.click(gauge, 150, 150);
  host.tick();
  EXPECT_EQ(flags(0), 0x4083u);
  EXPECT_EQ(flags(1), 0x83u);
  EXPECT_EQ(flags(2), 0x4083u);
}

INSTANTIATE_TEST_SUITE_P(AllRingModules, RingEngineGauge, ::testing::ValuesIn(kRingEngines),
                         [](const ::testing::TestParamInfo<RingEngine>& info) {
                           return std::string(info.param.module) + "_" + info.param.gauge;
                         });

// The whole-gauge region ends where the face does.
TEST(RingEngineGauges, NoTooltipOffTheGauge) {
  host::PanelHost host{GAUGES_DIR};
  for (const RingEngine& engine : kRingEngines) {
    host::GaugeInstance& gauge = host.place(engine.module, engine.gauge);
    if (gauge.width == 0) GTEST_SKIP() << "the host does not know a gauge's size, so its whole-gauge region holds every point";
    for (auto [x, y] : {std::pair{-1, 150}, {150, -1}, {302, 150}, {150, 302}}) {
      EXPECT_EQ(host.hover(gauge, x, y).kind, host::Tooltip::Kind::None) << engine.module << "!" << engine.gauge << " " << x << "," << y;
    }
  }
}

// ---- manifold pressure -------------------------------------------------------------

constexpr uint32_t kManifoldPressureTokens[] = {391, 430, 469, 508};

class ManifoldPressure : public ::testing::Test {
 protected:
  host::PanelHost host{GAUGES_DIR};
  std::vector<host::GaugeInstance*> engines = {
      &host.place("boostgauge", "engine1"), &host.place("boostgauge", "engine2"),
      &host.place("boostgauge", "engine3"), &host.place("boostgauge", "engine4")};
};

TEST_F(ManifoldPressure, ReadingsAreInchesOfMercuryHeldAtSixtyOnly) {
  struct Case {
    double psf, inches;
  } cases[] = {
      {0, 0},
      {2121.786, 30},
      {4243.572, 60},
      {4243.5, 4243.5 / 70.7262},
      {4243.6, 60},
      {5000, 60},
      {1e300, 60},
      {kInf, 60},
      {-707.262, -10},  // no lower bound
      {-1e6, -1e6 / 70.7262},
      {-kInf, -kInf},
  };
  for (const Case& c : cases) {
    for (uint32_t token : kManifoldPressureTokens) host.tokens().set(token, c.psf);
    host.tick();
    for (size_t e = 0; e < engines.size(); ++e) {
      EXPECT_DOUBLE_EQ(engines[e]->elements[2].reading, c.inches) << "engine" << e + 1 << ", " << c.psf << " psf";
    }
  }
}

TEST_F(ManifoldPressure, NaNPassesAndLeavesTheNeedleWhereItIs) {
  for (uint32_t token : kManifoldPressureTokens) host.tokens().set(token, 2121.786);
  host.tick(40);
  for (uint32_t token : kManifoldPressureTokens) host.tokens().set(token, kNaN);
  host.tick(5);
  for (size_t e = 0; e < engines.size(); ++e) {
    EXPECT_TRUE(std::isnan(engines[e]->elements[2].reading)) << "engine" << e + 1;
    EXPECT_NEAR(engines[e]->elements[2].angle, 0, 1e-9) << "engine" << e + 1;
  }
}

TEST_F(ManifoldPressure, NeedleLiesOnTheScalePoints) {
  struct Case {
    double psf, degrees;
  } cases[] = {{0, -149.5}, {707.262, -99.7}, {2121.786, 0}, {3536.31, 99.9}, {4243.572, 150.2}, {9999, 150.2}};
  for (const Case& c : cases) {
    for (uint32_t token : kManifoldPressureTokens) host.tokens().set(token, c.psf);
    host.tick(80);
    for (size_t e = 0; e < engines.size(); ++e) {
      EXPECT_NEAR(engines[e]->elements[2].angle, c.degrees, 0.1) << "engine" << e + 1 << ", " << c.psf << " psf";
    }
  }
}

TEST_F(ManifoldPressure, EachGaugeKeepsItsOwnSlot) {
  host.tick();
  host.click(*engines[1], 150, 150);  // "engine2"
  host.tick();
  for (size_t e = 0; e < engines.size(); ++e) {
    EXPECT_EQ(engines[e]->elements[0].view.header->image_flags, 0x4083u) << "engine" << e + 1;
    EXPECT_EQ(engines[e]->elements[2].view.header->image_flags, 0x4083u) << "engine" << e + 1;
    EXPECT_EQ(engines[e]->elements[1].view.header->image_flags, 0x83u) << "engine" << e + 1;
  }
}

TEST_F(ManifoldPressure, AVariableOfTwoChangesNoFlag) {
  host.tick();
  host.named().set_by_name(kLighting, 2.0);
  host.tick();
  for (auto* engine : engines) EXPECT_EQ(engine->elements[0].view.header->image_flags, 0x83u);
  host.named().set_by_name(kLighting, 1.0);
  host.tick();
  for (auto* engine : engines) EXPECT_EQ(engine->elements[0].view.header->image_flags, 0x4083u);
}

}  // namespace
