// The oil temperature gauge through the host loading the real module file,
// and what it shares with the cylinder head temperature gauge: dial face,
// needle L, needle R and bezel in one chain, needle R keeping the lighting.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "panel_host.h"
#include "tooltip_expectations.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr char kLighting[] = "ovk_luminous_gauge";

struct DualNeedleModule {
  const char* module;
  const char* gauge;
  uint32_t token_l, token_r;
};

constexpr DualNeedleModule kDualNeedleModules[] = {
    {"lubetemp", "oil_temperature", 416, 455},
    {"headtemp", "dual_cht", 146, 181},
};

class DualNeedleGauge : public ::testing::TestWithParam<DualNeedleModule> {
 protected:
  const DualNeedleModule& row = GetParam();
  host::PanelHost host{GAUGES_DIR};
  host::GaugeInstance& gauge = host.place(row.module, row.gauge);

  uint32_t flags(int depth) const { return gauge.elements[depth].view.header->image_flags; }
  double lighting() { return host.named().value(kLighting).value_or(-1); }
};

TEST_P(DualNeedleGauge, IsFaceNeedleLNeedleRBezel) {
  ASSERT_EQ(gauge.elements.size(), 4u);
  struct Row {
    uint32_t kind, bitmap, token;
  } rows[] = {{ELEMENT_KIND_STATIC_IMAGE, 0x0100, 0},
              {ELEMENT_KIND_NEEDLE, 0x0200, row.token_l},
              {ELEMENT_KIND_NEEDLE, 0x0300, row.token_r},
              {ELEMENT_KIND_STATIC_IMAGE, 0x0400, 0}};
  for (int depth = 0; depth < 4; ++depth) {
    const host::ElementView& view = gauge.elements[depth].view;
    EXPECT_EQ(view.header->kind, rows[depth].kind) << depth;
    EXPECT_EQ(view.header->bitmap, rows[depth].bitmap) << depth;
    EXPECT_EQ(view.header->image_flags, 0x83u) << depth;
    EXPECT_EQ(view.header->gauge, gauge.gauge->header) << depth;
    if (const ELEMENT_NEEDLE* needle = view.needle()) {
      EXPECT_EQ(needle->source.id, rows[depth].token) << depth;
      EXPECT_EQ(needle->header.position.x, 151);
      EXPECT_EQ(needle->header.position.y, 151);
      EXPECT_EQ(needle->header.pivot.x, 59);
      EXPECT_EQ(needle->header.pivot.y, 14);
      EXPECT_EQ(needle->max_degrees_per_tick, 5);
      EXPECT_EQ(needle->calibration, gauge.elements[1].view.needle()->calibration) << "one scale for both";
    }
  }
  EXPECT_EQ(gauge.gauge->header->default_width_mm, 80u);
}

TEST_P(DualNeedleGauge, NeedlesFollowTheirOwnEngines) {
  // Both modules show these as different readings on their scales.
  host.tokens().set(row.token_l, 495);
  host.tokens().set(row.token_r, 499);
  host.tick();
  const double l = gauge.elements[1].reading, r = gauge.elements[2].reading;
  host.tokens().set(row.token_l, 499);
  host.tokens().set(row.token_r, 495);
  host.tick();
  EXPECT_NE(l, r);
  EXPECT_EQ(gauge.elements[1].reading, r);
  EXPECT_EQ(gauge.elements[2].reading, l);
}

TEST_P(DualNeedleGauge, NaNPassesThrough) {
  host.tokens().set(row.token_l, kNaN);
  host.tokens().set(row.token_r, kNaN);
  host.tick();
  EXPECT_TRUE(std::isnan(gauge.elements[1].reading));
  EXPECT_TRUE(std::isnan(gauge.elements[2].reading));
}

TEST_P(DualNeedleGauge, TheWholeFaceIsOneClickArea) {
  struct Case {
    int x, y;
    bool flips;
  } cases[] = {
      {1, 1, true},    {150, 150, true}, {300, 300, true},  {150, 1, true},   {1, 300, true},
      {0, 150, false}, {150, 0, false},  {301, 150, false}, {150, 301, false},
  };
  host.tick();
  for (const Case& c : cases) {
    const double before = lighting();
    host.click(gauge, c.x, c.y);
    EXPECT_EQ(lighting() != before, c.flips) << c.x << "," << c.y;
  }
  const double before = lighting();
  host.click(gauge, 150, 150, MOUSE_RIGHTSINGLE);
  EXPECT_EQ(lighting(), before) << "a right click is not the face's click";
}

TEST_P(DualNeedleGauge, RegistersAtTheFirstUpdateAndStaysUnlitAtZero) {
  EXPECT_FALSE(host.named().value(kLighting));
  host.tick();
  EXPECT_EQ(lighting(), 0.0);
  for (int depth = 0; depth < 4; ++depth) EXPECT_EQ(flags(depth), 0x83u) << depth;
}

TEST_P(DualNeedleGauge, FaceAndBothNeedlesFollowTheVariableTheBezelNever) {
  host.named().set_by_name(kLighting, 1.0);
  host.tick();
  EXPECT_EQ(flags(0), 0x4083u);
  EXPECT_EQ(flags(1), 0x4083u);
  EXPECT_EQ(flags(2), 0x4083u);
  EXPECT_EQ(flags(3), 0x83u);
  host.click(gauge, 150, 150);
  EXPECT_EQ(flags(1), 0x4083u) << "nothing changes before the next update";
  host.tick();
  for (int depth = 0; depth < 4; ++depth) EXPECT_EQ(flags(depth), 0x83u) << depth;
  host.named().set_by_name(kLighting, 0.5);  // taken as the 0 already applied
  host.tick();
  host.named().set_by_name(kLighting, 1.0);
  host.tick();
  EXPECT_EQ(flags(2), 0x4083u);
}

INSTANTIATE_TEST_SUITE_P(BothTemperatureModules, DualNeedleGauge, ::testing::ValuesIn(kDualNeedleModules),
                         [](const ::testing::TestParamInfo<DualNeedleModule>& info) {
                           return std::string(info.param.module);
                         });

// ---- oil temperature ----------------------------------------------------------------

constexpr uint32_t kEngine1OilTemperature = 416;
constexpr uint32_t kEngine2OilTemperature = 455;

class OilTemperature : public ::testing::Test {
 protected:
  host::PanelHost host{GAUGES_DIR};
  host::GaugeInstance& gauge = host.place("lubetemp", "oil_temperature");

  void set_both(double rankine) {
    host.tokens().set(kEngine1OilTemperature, rankine);
    host.tokens().set(kEngine2OilTemperature, rankine);
  }
};

TEST_F(OilTemperature, ReadingsAreCelsiusHeldWithinTheDial) {
  struct Case {
    double rankine, celsius;
  } cases[] = {
      {491.67, 0},  {581.67, 50}, {671.67, 100}, {851.67, 200}, {941.67, 250},
      {941.7, 250}, {1000, 250},  {1e300, 250},  {kInf, 250},
      {491.6, 0},   {400, 0},     {0, 0},        {-kInf, 0},
  };
  for (const Case& c : cases) {
    set_both(c.rankine);
    host.tick();
    EXPECT_NEAR(gauge.elements[1].reading, c.celsius, 1e-9) << "needle L, " << c.rankine << " R";
    EXPECT_NEAR(gauge.elements[2].reading, c.celsius, 1e-9) << "needle R, " << c.rankine << " R";
  }
}

TEST_F(OilTemperature, LimitsApplyToTheConvertedReadingExactly) {
  for (auto [rankine, celsius] : {std::pair{1000.0, 250.0}, {400.0, 0.0}, {491.0, 0.0}, {942.0, 250.0}}) {
    set_both(rankine);
    host.tick();
    EXPECT_EQ(gauge.elements[1].reading, celsius) << rankine;
    EXPECT_EQ(gauge.elements[2].reading, celsius) << rankine;
  }
}

TEST_F(OilTemperature, TooltipHalvesLeaveColumn150Uncovered) {
  struct Case {
    int x, y;
    uint32_t help;  // 0: no tooltip
  } cases[] = {
      {1, 1, 0x30f1},   {149, 150, 0x30f1}, {149, 300, 0x30f1}, {150, 1, 0},       {150, 150, 0},
      {151, 150, 0x30f2}, {299, 1, 0x30f2}, {299, 300, 0x30f2}, {300, 150, 0},     {0, 150, 0},
      {75, 0, 0},       {75, 301, 0},       {225, 301, 0},
  };
  for (const Case& c : cases) expect_help_tooltip(host, gauge, c.x, c.y, c.help);
}

TEST_F(OilTemperature, NeedlesLieOnTheScalePoints) {
  struct Case {
    double rankine, degrees;
  } cases[] = {{491.67, -149.45}, {581.67, -90}, {671.67, -30.14}, {761.67, 29.79}, {941.67, 149.8}, {300, -149.45}};
  for (const Case& c : cases) {
    set_both(c.rankine);
    host.tick(70);
    EXPECT_NEAR(gauge.elements[1].angle, c.degrees, 0.05) << c.rankine;
    EXPECT_NEAR(gauge.elements[2].angle, c.degrees, 0.05) << c.rankine;
  }
}

}  // namespace
