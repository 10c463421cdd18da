// The oil pressure gauge as the simulator meets it: the host loads the real
// module file and talks to it through ImportTable and Linkage only.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "panel_host.h"
#include "tooltip_expectations.h"

namespace {

constexpr uint32_t kEngine1OilPressure = 418;
constexpr uint32_t kEngine2OilPressure = 457;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class OilPressure : public ::testing::Test {
 protected:
  host::PanelHost host{GAUGES_DIR};
  host::GaugeInstance& gauge = host.place("lubepress", "oil_pressure");

  uint32_t flags(int depth) const { return gauge.elements[depth].view.header->image_flags; }
  double lighting() { return host.named().value("ovk_luminous_gauge").value_or(-1); }
};

TEST_F(OilPressure, ReadingsArePsiHeldWithinTheDial) {
  struct Case {
    double psf, psi;
  } cases[] = {
      {0, 0}, {144 * 80, 80}, {144 * 160, 160}, {144 * 160 + 1, 160}, {1e300, 160},
      {-1, 0}, {-1e300, 0}, {72, 0.5}, {std::numeric_limits<double>::infinity(), 160},
  };
  for (const Case& c : cases) {
    host.tokens().set(kEngine1OilPressure, c.psf);
    host.tokens().set(kEngine2OilPressure, c.psf);
    host.tick();
    EXPECT_DOUBLE_EQ(gauge.elements[1].reading, c.psi) << "needle L, " << c.psf << " psf";
    EXPECT_DOUBLE_EQ(gauge.elements[2].reading, c.psi) << "needle R, " << c.psf << " psf";
  }
}

TEST_F(OilPressure, NeedlesFollowTheirOwnEngines) {
  host.tokens().set(kEngine1OilPressure, 144 * 40);
  host.tokens().set(kEngine2OilPressure, 144 * 120);
  host.tick();
  EXPECT_DOUBLE_EQ(gauge.elements[1].reading, 40);
  EXPECT_DOUBLE_EQ(gauge.elements[2].reading, 120);
}

TEST_F(OilPressure, NaNPassesTheLimitsAndLeavesTheNeedleWhereItIs) {
  host.tokens().set(kEngine1OilPressure, 144 * 80);
  host.tick(40);
  const double settled = gauge.elements[1].angle;
  host.tokens().set(kEngine1OilPressure, kNaN);
  host.tick(5);
  EXPECT_TRUE(std::isnan(gauge.elements[1].reading));
  EXPECT_EQ(gauge.elements[1].angle, settled);
}

TEST_F(OilPressure, TooltipHalvesLeaveColumn150Uncovered) {
  struct Case {
    int x, y;
    uint32_t help;  // 0: no tooltip
  } cases[] = {
      {1, 1, 0x3101},   {149, 150, 0x3101}, {149, 300, 0x3101}, {150, 150, 0},      {151, 150, 0x3102},
      {299, 1, 0x3102}, {299, 300, 0x3102}, {300, 150, 0},      {0, 150, 0},        {75, 0, 0},
      {75, 301, 0},     {-5, 150, 0},
  };
  for (const Case& c : cases) expect_help_tooltip(host, gauge, c.x, c.y, c.help);
}

TEST_F(OilPressure, TheWholeFaceIsOneClickArea) {
  struct Case {
    int x, y;
    bool flips;
  } cases[] = {
      {1, 1, true}, {150, 150, true}, {300, 300, true}, {150, 1, true},
      {0, 150, false}, {150, 0, false}, {301, 150, false}, {150, 301, false},
  };
  host.tick();  // the first update registers the lighting variable
  for (const Case& c : cases) {
    const double before = lighting();
    host.click(gauge, c.x, c.y);
    EXPECT_EQ(lighting() != before, c.flips) << c.x << "," << c.y;
  }
  // A right click is not the face's click.
  const double before = lighting();
  host.click(gauge, 150, 150, MOUSE_RIGHTSINGLE);
  EXPECT_EQ(lighting(), before);
}

TEST_F(OilPressure, TwoClicksLightAndUnlightFaceAndNeedlesButNeverTheBezel) {
  host.tick();
  EXPECT_EQ(lighting(), 0.0);
  host.click(gauge, 150, 150);
  EXPECT_EQ(lighting(), 1.0);
  EXPECT_EQ(flags(0), 0x83u) << "nothing changes before the next update";
  host.tick();
  EXPECT_EQ(flags(0), 0x4083u);
  EXPECT_EQ(flags(1), 0x4083u);
  EXPECT_EQ(flags(2), 0x4083u);
  EXPECT_EQ(flags(3), 0x83u);
  host.click(gauge, 150, 150);
  host.tick();
  EXPECT_EQ(lighting(), 0.0);
  for (int depth = 0; depth < 4; ++depth) EXPECT_EQ(flags(depth), 0x83u) << depth;
}

TEST_F(OilPressure, FollowsTheVariableWhoeverFlipsIt) {
  host.tick();
  host.named().set_by_name("ovk_luminous_gauge", 1.0);  // another module's click
  host.tick();
  EXPECT_EQ(flags(0), 0x4083u);
  EXPECT_EQ(flags(2), 0x4083u);
}

TEST_F(OilPressure, FirstUpdateFollowsTheVariableAsItStands) {
  // Before any update the module has not registered the variable.
  EXPECT_FALSE(host.named().value("ovk_luminous_gauge"));
  host.tick();
  EXPECT_EQ(lighting(), 0.0);
  EXPECT_EQ(flags(0), 0x83u);
}

TEST_F(OilPressure, FirstUpdateWithTheVariableAtOneLightsTheGauge) {
  host.named().set_by_name("ovk_luminous_gauge", 1.0);
  host.tick();
  EXPECT_EQ(flags(0), 0x4083u);
  EXPECT_EQ(flags(3), 0x83u);
}

TEST_F(OilPressure, ValuesOtherThanZeroAndOneChangeNoFlagButAreRecorded) {
  host.tick();
  host.named().set_by_name("ovk_luminous_gauge", 0.7);  // truncates to the recorded 0: no sync
  host.tick();
  EXPECT_EQ(flags(0), 0x83u);
  host.named().set_by_name("ovk_luminous_gauge", 1.5);  // truncates to 1: a sync that changes nothing
  host.tick();
  EXPECT_EQ(flags(0), 0x83u);
  host.named().set_by_name("ovk_luminous_gauge", 1.0);  // 1 is recorded already: no sync
  host.tick();
  EXPECT_EQ(flags(0), 0x83u);
  host.named().set_by_name("ovk_luminous_gauge", 0.0);
  host.tick();
  host.named().set_by_name("ovk_luminous_gauge", 1.0);
  host.tick();
  EXPECT_EQ(flags(0), 0x4083u);
}

TEST_F(OilPressure, NaNLightingChangesNothingAndAClickRecoversNoOverflow) {
  host.tick();
  host.named().set_by_name("ovk_luminous_gauge", kNaN);
  host.tick();
  EXPECT_EQ(flags(0), 0x83u);
  host.click(gauge, 150, 150);
  EXPECT_EQ(lighting(), 2147483649.0);  // 1 - INT32_MIN, as the x86 conversion gives
}

TEST_F(OilPressure, FrameRoutinesNameTheRootAndPassArgumentsThrough) {
  const ELEMENT_HEADER* root = gauge.elements[0].view.header;
  bool saw_install = false;
  for (const host::FrameCall& call : host.frame_calls()) {
    EXPECT_EQ(call.root, root) << call.operation;
    if (call.operation == "install") {
      saw_install = true;
      EXPECT_EQ(call.argument, static_cast<uint32_t>(gauge.serial));
    }
  }
  EXPECT_TRUE(saw_install);
}

TEST(OilPressureModule, ReloadingStartsFromZero) {
  {
    host::PanelHost first{GAUGES_DIR};
    auto& gauge = first.place("lubepress", "oil_pressure");
    first.named().set_by_name("ovk_luminous_gauge", 1.0);
    first.tick();
    ASSERT_EQ(gauge.elements[0].view.header->image_flags, 0x4083u);
  }
  host::PanelHost second{GAUGES_DIR};
  auto& gauge = second.place("lubepress", "oil_pressure");
  EXPECT_EQ(gauge.elements[0].view.header->image_flags, 0x83u) << "module data must be fresh after a reload";
}

}  // namespace
