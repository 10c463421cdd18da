// The cylinder head temperature gauge through the host loading the real module
// file. What it shares with the oil temperature gauge is checked in
// lubetemp_test.cpp; here are its limits on the Fahrenheit token and its
// tooltip halves that meet at x = 150.
#include <gtest/gtest.h>

#include <limits>

#include "panel_host.h"
#include "tooltip_expectations.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr uint32_t kEngine1Cht = 146;
constexpr uint32_t kEngine2Cht = 181;
constexpr double kColdest = (0 - 32) * 5 / 9.0;     // 0 degF, the lower limit
constexpr double kHottest = (500 - 32) * 5 / 9.0;   // 500 degF, the upper limit

class CylinderHeadTemperature : public ::testing::Test {
 protected:
  host::PanelHost host{GAUGES_DIR};
  host::GaugeInstance& gauge = host.place("headtemp", "dual_cht");

  void set_both(double fahrenheit) {
    host.tokens().set(kEngine1Cht, fahrenheit);
    host.tokens().set(kEngine2Cht, fahrenheit);
  }
};

TEST_F(CylinderHeadTemperature, LimitsTheFahrenheitTokenThenConverts) {
  struct Case {
    double fahrenheit, celsius;
  } cases[] = {
      {32, 0},         {212, 100},        {392, 200},        {50, 10},
      {500, kHottest}, {500.1, kHottest}, {600, kHottest},   {1e300, kHottest}, {kInf, kHottest},
      {0, kColdest},   {-0.1, kColdest},  {-40, kColdest},   {-kInf, kColdest},
  };
  for (const Case& c : cases) {
    set_both(c.fahrenheit);
    host.tick();
    EXPECT_NEAR(gauge.elements[1].reading, c.celsius, 1e-9) << "needle L, " << c.fahrenheit << " F";
    EXPECT_NEAR(gauge.elements[2].reading, c.celsius, 1e-9) << "needle R, " << c.fahrenheit << " F";
  }
}

TEST_F(CylinderHeadTemperature, NeedlesNeverPass260CelsiusNorFallBelowTheScale) {
  struct Case {
    double fahrenheit, degrees;
  } cases[] = {{32, -149.66}, {-40, -149.66}, {212, -90}, {392, -29.94}, {900, 5.57}};
  for (const Case& c : cases) {
    set_both(c.fahrenheit);
    host.tick(70);
    EXPECT_NEAR(gauge.elements[1].angle, c.degrees, 0.05) << c.fahrenheit;
    EXPECT_NEAR(gauge.elements[2].angle, c.degrees, 0.05) << c.fahrenheit;
  }
}

TEST_F(CylinderHeadTemperature, TooltipHalvesMeetAtColumn150) {
  struct Case {
    int x, y;
    uint32_t help;  // 0: no tooltip
  } cases[] = {
      {1, 1, 0x30d1},     {149, 1, 0x30d1},   {149, 300, 0x30d1}, {150, 1, 0x30d2},  {150, 150, 0x30d2},
      {150, 300, 0x30d2}, {298, 1, 0x30d2},   {298, 300, 0x30d2}, {299, 150, 0},     {300, 150, 0},
      {0, 150, 0},        {75, 0, 0},         {225, 0, 0},        {75, 301, 0},      {225, 301, 0},
  };
  for (const Case& c : cases) expect_help_tooltip(host, gauge, c.x, c.y, c.help);
}

}  // namespace
