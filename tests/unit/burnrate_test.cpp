// The fuel flow gauges through the host loading the real module file. What
// they share with every ring gauge is checked in boostgauge_test.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "panel_host.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr uint32_t kFuelFlowTokens[] = {137, 172, 207, 242};

class FuelFlow : public ::testing::Test {
 protected:
  host::PanelHost host{GAUGES_DIR};
  std::vector<host::GaugeInstance*> engines = {
      &host.place("burnrate", "engine1"), &host.place("burnrate", "engine2"),
      &host.place("burnrate", "engine3"), &host.place("burnrate", "engine4")};

  void set_all(double value) {
    for (uint32_t token : kFuelFlowTokens) host.tokens().set(token, value);
  }
};

TEST_F(FuelFlow, ReadingsAreTheTokenHeldAt160Only) {
  struct Case {
    double token, gph;
  } cases[] = {
      {0, 0},   {80, 80},     {160, 160},   {160.5, 160}, {200, 160},   {kInf, 160},
      {-5, -5} /* no lower bound */,        {-1e300, -1e300},           {-kInf, -kInf},
      {159.99, 159.99},
  };
  for (const Case& c : cases) {
    set_all(c.token);
    host.tick();
    for (size_t e = 0; e < engines.size(); ++e) {
      EXPECT_EQ(engines[e]->elements[2].reading, c.gph) << "engine" << e + 1 << ", " << c.token;
    }
  }
}

TEST_F(FuelFlow, NaNPassesAndLeavesTheNeedleWhereItIs) {
  set_all(80);
  host.tick(40);
  set_all(kNaN);
  host.tick(5);
  for (size_t e = 0; e < engines.size(); ++e) {
    EXPECT_TRUE(std::isnan(engines[e]->elements[2].reading)) << "engine" << e + 1;
    EXPECT_NEAR(engines[e]->elements[2].angle, 0, 1e-9) << "engine" << e + 1;
  }
}

TEST_F(FuelFlow, NeedleLiesOnTheScalePoints) {
  struct Case {
    double gph, degrees;
  } cases[] = {{0, -159.5}, {80, 0}, {160, 160.7}, {-5, -159.5}, {40, -79.75}};
  for (const Case& c : cases) {
    set_all(c.gph);
    host.tick(80);
    for (size_t e = 0; e < engines.size(); ++e) {
      EXPECT_NEAR(engines[e]->elements[2].angle, c.degrees, 0.1) << "engine" << e + 1 << ", " << c.gph;
    }
  }
}

TEST_F(FuelFlow, EachGaugeKeepsItsOwnSlot) {
  host.tick();
  host.click(*engines[3], 1, 1);  // "engine4", owner of slot 0
  host.tick();
  for (size_t e = 0; e < engines.size(); ++e) {
    EXPECT_EQ(engines[e]->elements[0].view.header->image_flags, 0x4083u) << "engine" << e + 1;
    EXPECT_EQ(engines[e]->elements[1].view.header->image_flags, 0x83u) << "engine" << e + 1;
    EXPECT_EQ(engines[e]->elements[2].view.header->image_flags, 0x4083u) << "engine" << e + 1;
  }
}

}  // namespace
