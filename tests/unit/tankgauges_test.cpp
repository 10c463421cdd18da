// The fuel quantity gauges through the host loading the real module file:
// the eleven tank gauges, the four totals and their timing, the shared dial,
// the stores and the lighting.
#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <vector>

#include "aircraft_variables.h"
#include "panel_host.h"

namespace {

constexpr char kModule[] = "tankgauges";
constexpr char kLighting[] = "ovk_luminous_gauge";

struct Setting {
  const char* name;
  const char* unit;
  double value;
};

// Every gauge in declaration order, with one aircraft state and what it shows for it.
struct Gauge {
  const char* name;
  uint32_t label;
  int slot;
  bool has_gauge_callback;
  std::vector<Setting> state;
  double reading;        // once the gauge has updated twice
  const char* tooltip;   // for that state
};

const std::vector<Gauge>& gauges() {
  static const std::vector<Gauge> all = {
      {"Right Main", 0x16a0, 0, false,
       {{"FUEL TANK RIGHT MAIN LEVEL", "percent", 40}, {"FUEL TANK RIGHT MAIN QUANTITY", "gallons", 30}},
       40, "Right Main Fuel Tank:  30.0 Gallons"},
      {"Left Main", 0x1670, 1, false,
       {{"FUEL TANK LEFT MAIN LEVEL", "percent", 41}, {"FUEL TANK LEFT MAIN QUANTITY", "gallons", 31}},
       41, "Left Main Fuel Tank:  31.0 Gallons"},
      {"Right Aux", 0x16b0, 2, false,
       {{"FUEL TANK RIGHT AUX LEVEL", "percent", 42}, {"FUEL TANK RIGHT AUX QUANTITY", "gallons", 32}},
       42, "Right Aux Fuel Tank:  32.0 Gallons"},
      {"Left Aux", 0x1680, 3, false,
       {{"FUEL TANK LEFT AUX LEVEL", "percent", 43}, {"FUEL TANK LEFT AUX QUANTITY", "gallons", 33}},
       43, "Left Aux Fuel Tank:  33.0 Gallons"},
      {"Right Tip", 0x16c0, 4, false,
       {{"FUEL TANK RIGHT TIP LEVEL", "percent", 44}, {"FUEL TANK RIGHT TIP QUANTITY", "gallons", 34}},
       44, "Right Tip Fuel Tank:  34.0 Gallons"},
      {"Left Tip", 0x1690, 5, false,
       {{"FUEL TANK LEFT TIP LEVEL", "percent", 45}, {"FUEL TANK LEFT TIP QUANTITY", "gallons", 35}},
       45, "Left Tip Fuel Tank:  35.0 Gallons"},
      {"Center1", 0x1640, 6, false,
       {{"FUEL TANK CENTER LEVEL", "percent", 46}, {"FUEL TANK CENTER QUANTITY", "gallons", 36}},
       46, "Center Fuel Tank 1:  36.0 Gallons"},
      {"Center2", 0x1650, 7, false,
       {{"FUEL TANK CENTER2 LEVEL", "percent", 47}, {"FUEL TANK CENTER2 QUANTITY", "gallons", 37}},
       47, "Center Fuel Tank 2:  37.0 Gallons"},
      {"Center3", 0x1660, 8, false,
       {{"FUEL TANK CENTER3 LEVEL", "percent", 48}, {"FUEL TANK CENTER3 QUANTITY", "gallons", 38}},
       48, "Center Fuel Tank 3:  38.0 Gallons"},
      {"External1", 0x16d0, 9, false,
       {{"FUEL TANK EXTERNAL1 LEVEL", "percent", 49}, {"FUEL TANK EXTERNAL1 QUANTITY", "gallons", 39}},
       49, "External Fuel Tank 1:  39.0 Gallons"},
      {"External2", 0x16e0, 10, false,
       {{"FUEL TANK EXTERNAL2 LEVEL", "percent", 51}, {"FUEL TANK EXTERNAL2 QUANTITY", "gallons", 1234.56}},
       51, "External Fuel Tank 2: 1234.6 Gallons"},
      {"Aircraft Total", 0x1600, 14, false,
       {{"FUEL TOTAL CAPACITY", "gallons", 200}, {"FUEL TOTAL QUANTITY", "gallons", 150}},
       75, "Total Fuel: 150.0 Gallons"},
      {"Center Total", 0x1630, 13, true,
       {{"FUEL TANK CENTER CAPACITY", "gallons", 60}, {"FUEL TANK CENTER2 CAPACITY", "gallons", 40},
        {"FUEL TANK CENTER3 CAPACITY", "gallons", 0}, {"FUEL TANK CENTER QUANTITY", "gallons", 30},
        {"FUEL TANK CENTER2 QUANTITY", "gallons", 20}, {"FUEL TANK CENTER3 QUANTITY", "gallons", 0}},
       50, "Center Fuel Tanks:  50.0 Gallons"},
      {"Left Total", 0x1610, 11, true,
       {{"FUEL LEFT CAPACITY", "gallons", 60}, {"FUEL LEFT QUANTITY", "gallons", 45}},
       75, "Left Fuel Tanks:  45.0 Gallons"},
      {"Right Total", 0x1620, 12, true,
       {{"FUEL RIGHT CAPACITY", "gallons", 80}, {"FUEL RIGHT QUANTITY", "gallons", 20}},
       25, "Right Fuel Tanks:  20.0 Gallons"},
  };
  return all;
}

// A fresh host with the static aircraft behind it; the module loads anew with each.
struct FuelHost {
  host::PanelHost host{GAUGES_DIR};
  host::AircraftVariables aircraft{&host.named()};

  FuelHost() { host.set_evaluator(&aircraft); }
  virtual ~FuelHost() = default;

  host::GaugeInstance& place(const std::string& name) { return host.place(kModule, name); }
  void set(const std::vector<Setting>& settings) {
    for (const Setting& s : settings) EXPECT_FALSE(aircraft.set(s.name, s.unit, s.value)) << s.name;
  }
  static double reading(const host::GaugeInstance& g) { return g.elements[2].reading; }
  static uint32_t flags(const host::GaugeInstance& g, int depth) { return g.elements[depth].view.header->image_flags; }
  std::string tooltip(host::GaugeInstance& g) { return host.hover(g, 150, 150).text; }
  double lighting() { return host.named().value(kLighting).value_or(-1); }
  // Sets the lighting switch as another module or an earlier click would have left it.
  void register_lighting(double value) { host.named().set_by_name(kLighting, value); }
};

// ---- the module --------------------------------------------------------------------

class FuelModule : public FuelHost, public ::testing::Test {};

TEST_F(FuelModule, DeclaresFifteenGaugesInPanelOrder) {
  const host::LoadedModule& module = host.module(kModule);
  const GAUGESLINKAGE& linkage = *module.linkage();
  EXPECT_EQ(linkage.module_id, 0x13u);
  EXPECT_EQ(linkage.version, 0x900u);
  EXPECT_EQ(linkage.flags, 0u);
  EXPECT_EQ(linkage.priority, 0u);
  ASSERT_EQ(module.gauges().size(), gauges().size());
  for (size_t i = 0; i < gauges().size(); ++i) {
    EXPECT_EQ(module.gauges()[i].name, gauges()[i].name) << i;
    EXPECT_EQ(linkage.gauges[i], module.gauges()[i].header) << i;
  }
  EXPECT_EQ(linkage.gauges[gauges().size()], nullptr);
}

TEST_F(FuelModule, InitRegistersTheLightingVariable) {
  EXPECT_FALSE(host.named().value(kLighting));
  host.module(kModule);
  ASSERT_TRUE(host.named().value(kLighting)) << "the init routine registers it at load";
  EXPECT_EQ(lighting(), 0.0);
}

TEST_F(FuelModule, EveryFrameRoutineNamesTheRightMainRoot) {
  ELEMENT_HEADER* right_main_root = host.module(kModule).gauges()[0].chain[0].header;
  for (const Gauge& gauge : gauges()) place(gauge.name);
  host.tick();
  std::vector<std::string> seen;
  for (const host::FrameCall& call : host.frame_calls()) {
    EXPECT_EQ(call.root, right_main_root) << call.operation;
    seen.emplace_back(call.operation);
  }
  // query, install, initialize at each placing, update at the tick.
  EXPECT_EQ(seen.size(), 4 * gauges().size());
  int instance = 0;
  for (const host::FrameCall& call : host.frame_calls()) {
    if (call.operation == "install") {
      EXPECT_EQ(call.argument, static_cast<uint32_t>(instance++)) << "passed through";
    }
  }
}

TEST_F(FuelModule, AllNeedlesShareOneCalibrationTable) {
  const NONLINEARITY* first = nullptr;
  for (const Gauge& gauge : gauges()) {
    const ELEMENT_NEEDLE* needle = place(gauge.name).elements[2].view.needle();
    ASSERT_NE(needle, nullptr) << gauge.name;
    if (!first) first = needle->calibration;
    EXPECT_EQ(needle->calibration, first) << gauge.name;
  }
  struct Point {
    int x, y;
    double value;
  } expected[] = {{45, 212, 0}, {45, 90, 25}, {151, 28, 50}, {256, 90, 75}, {256, 212, 100}};
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(first[i].point.x, expected[i].x) << i;
    EXPECT_EQ(first[i].point.y, expected[i].y) << i;
    EXPECT_EQ(first[i].value, expected[i].value) << i;
  }
}

TEST_F(FuelModule, OneClickSwitchesTheLightingOfAllFifteen) {
  register_lighting(0);
  std::vector<host::GaugeInstance*> placed;
  for (const Gauge& gauge : gauges()) placed.push_back(&place(gauge.name));
  host.tick();
  for (host::GaugeInstance* g : placed) EXPECT_EQ(flags(*g, 0), 0x83u) << g->gauge->name;

  host.click(*placed[12], 150, 150);
  EXPECT_EQ(lighting(), 1.0);
  EXPECT_EQ(flags(*placed[0], 0), 0x83u) << "nothing changes before the next update";
  host.tick();
  for (host::GaugeInstance* g : placed) {
    for (int depth = 0; depth < 3; ++depth) EXPECT_EQ(flags(*g, depth), 0x4083u) << g->gauge->name << " " << depth;
    EXPECT_EQ(flags(*g, 3), 0x83u) << g->gauge->name << ": the bezel never glows";
  }

  host.click(*placed[3], 300, 300);
  EXPECT_EQ(lighting(), 0.0);
  host.tick();
  for (host::GaugeInstance* g : placed) {
    for (int depth = 0; depth < 4; ++depth) EXPECT_EQ(flags(*g, depth), 0x83u) << g->gauge->name << " " << depth;
  }
}

// Only exactly 0 or 1 changes a flag, but the slot records any value truncated,
// and a later 0 or 1 that matches the slot runs no sync at all.
TEST_F(FuelModule, ValuesOtherThanZeroAndOneOnlyMoveTheSlot) {
  auto& gauge = place("Left Tip");
  struct Step {
    double value;
    uint32_t face;
  } steps[] = {
      {0.5, 0x83},   {1.5, 0x83},   {1.0, 0x83},  // the slot already held 1
      {0.7, 0x83},   {1.0, 0x4083}, {0.7, 0x4083},  // a sync that changes nothing
      {0.0, 0x4083},                              // the slot already held 0
      {1.0, 0x4083}, {0.0, 0x83},
  };
  for (const Step& step : steps) {
    register_lighting(step.value);
    host.tick();
    EXPECT_EQ(flags(gauge, 0), step.face) << step.value;
    EXPECT_EQ(flags(gauge, 2), step.face) << step.value;
  }
}

// ---- every gauge: the shared dial ---------------------------------------------------

class FuelGauge : public FuelHost, public ::testing::TestWithParam<Gauge> {
 protected:
  const Gauge& gauge = GetParam();
};

TEST_P(FuelGauge, IsFaceLabelNeedleBezel) {
  auto& g = place(gauge.name);
  ASSERT_EQ(g.elements.size(), 4u);
  const uint32_t bitmaps[] = {0x0100, gauge.label, 0x1500, 0x16f0};
  const uint32_t kinds[] = {ELEMENT_KIND_STATIC_IMAGE, ELEMENT_KIND_STATIC_IMAGE, ELEMENT_KIND_NEEDLE,
                            ELEMENT_KIND_STATIC_IMAGE};
  const PIXPOINT positions[] = {{0, 0}, {93, 200}, {151, 151}, {0, 0}};
  for (int depth = 0; depth < 4; ++depth) {
    const ELEMENT_HEADER* e = g.elements[depth].view.header;
    EXPECT_EQ(e->kind, kinds[depth]) << depth;
    EXPECT_EQ(e->bitmap, bitmaps[depth]) << depth;
    EXPECT_EQ(e->position.x, positions[depth].x) << depth;
    EXPECT_EQ(e->position.y, positions[depth].y) << depth;
    EXPECT_EQ(e->image_flags, 0x83u) << depth;
    EXPECT_EQ(e->gauge, g.gauge->header) << depth;
  }
  EXPECT_EQ(g.elements[3].view.header->children, nullptr);
  const ELEMENT_NEEDLE* needle = g.elements[2].view.needle();
  EXPECT_EQ(needle->header.pivot.x, 53);
  EXPECT_EQ(needle->header.pivot.y, 9);
  EXPECT_EQ(needle->source.id, 0u);
  EXPECT_EQ(needle->max_degrees_per_tick, 0);
  EXPECT_EQ(needle->calibration_points, 5u);
  EXPECT_EQ(g.gauge->header->header_version, 800u);
  EXPECT_EQ(g.gauge->header->default_width_mm, 80u);
  EXPECT_EQ(g.gauge->header->gauge_callback != nullptr, gauge.has_gauge_callback);
  EXPECT_EQ(g.width, 302);
  EXPECT_EQ(g.height, 302);
}

TEST_P(FuelGauge, MouseListIsTooltipAndOneLightingBox) {
  const std::vector<const MOUSERECT*>& mouse = place(gauge.name).gauge->mouse;
  ASSERT_EQ(mouse.size(), 5u);
  const uint32_t kinds[] = {MOUSE_PARENT, MOUSE_TOOLTIP, MOUSE_CHILD, MOUSE_END_OF_PARENT, MOUSE_END_OF_LIST};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(mouse[i]->kind, kinds[i]) << i;
  const MOUSERECT& tip = *mouse[1];
  EXPECT_EQ(tip.help_id, 0u);
  EXPECT_EQ(tip.event_or_argument_count, 1u);
  ASSERT_NE(tip.arguments, nullptr);
  EXPECT_EQ(tip.arguments->source.id, 0u);
  EXPECT_NE(tip.arguments->number_callback, nullptr);
  EXPECT_EQ(tip.arguments->string_callback, nullptr);
  const std::string format = tip.function.text;
  EXPECT_EQ(format.find("%1!5.1f!"), format.find('%')) << format;
  const MOUSERECT& box = *mouse[2];
  EXPECT_EQ(box.x, 1);
  EXPECT_EQ(box.y, 1);
  EXPECT_EQ(box.width, 300);
  EXPECT_EQ(box.height, 300);
  EXPECT_EQ(box.cursor, 5);
  EXPECT_EQ(box.mouse_flags, 0x20000000u);
}

TEST_P(FuelGauge, LeftClickOnTheFaceFlipsTheLighting) {
  register_lighting(0);
  auto& g = place(gauge.name);
  struct Case {
    int x, y;
    bool clickable;
  } cases[] = {
      {1, 1, true},     {300, 300, true}, {1, 300, true},    {300, 1, true},    {150, 150, true},
      {0, 150, false},  {150, 0, false},  {301, 150, false}, {150, 301, false}, {0, 0, false},
  };
  for (const Case& c : cases) {
    const double before = lighting();
    host.click(g, c.x, c.y);
    EXPECT_EQ(lighting() != before, c.clickable) << c.x << "," << c.y;
  }
  const double before = lighting();
  host.click(g, 150, 150, MOUSE_RIGHTSINGLE);
  EXPECT_EQ(lighting(), before) << "a right click";
}

TEST_P(FuelGauge, LitAtItsFirstUpdateWhenTheVariableIsOne) {
  register_lighting(1);
  auto& g = place(gauge.name);
  host.tick();
  EXPECT_EQ(flags(g, 0), 0x4083u);
  EXPECT_EQ(flags(g, 1), 0x4083u);
  EXPECT_EQ(flags(g, 2), 0x4083u);
  EXPECT_EQ(flags(g, 3), 0x83u);
}

// The gauge's slot and stores belong to its name: a second instance that has
// never read anything shows what the first read, and finds the slot up to date.
TEST_P(FuelGauge, TwoInstancesShareStoresAndSlot) {
  set(gauge.state);
  auto& first = place(gauge.name);
  auto& second = place(gauge.name);
  EXPECT_EQ(second.ordinal, 2);
  register_lighting(1);
  host.update(first);
  host.update(first);
  ASSERT_DOUBLE_EQ(reading(first), gauge.reading);
  ASSERT_EQ(tooltip(first), gauge.tooltip);
  for (const Setting& s : gauge.state) aircraft.forget(s.name);
  // Dim the shared records behind the module's back: only a sync would light them again.
  for (int depth = 0; depth < 3; ++depth) first.elements[depth].view.header->image_flags = 0x83;
  host.update(second);
  EXPECT_DOUBLE_EQ(reading(second), gauge.reading);
  EXPECT_EQ(flags(second, 0), 0x83u) << "slot " << gauge.slot << " already held 1";
  EXPECT_EQ(tooltip(second), gauge.tooltip);
}

TEST_P(FuelGauge, ReadingAndTooltipForItsState) {
  set(gauge.state);
  auto& g = place(gauge.name);
  host.tick(2);
  EXPECT_DOUBLE_EQ(reading(g), gauge.reading);
  EXPECT_EQ(tooltip(g), gauge.tooltip);
}

TEST_P(FuelGauge, ReadsNothingAndShowsZeroWhenTheAircraftGivesNothing) {
  for (const Setting& s : gauge.state) aircraft.forget(s.name);
  auto& g = place(gauge.name);
  host.tick(2);
  EXPECT_EQ(reading(g), 0.0);
  EXPECT_NEAR(g.elements[2].angle, -119.9, 0.1) << "E";
  const std::string tip = tooltip(g);
  EXPECT_NE(tip.find("  0.0 Gallons"), std::string::npos) << tip;
}

INSTANTIATE_TEST_SUITE_P(AllFifteen, FuelGauge, ::testing::ValuesIn(gauges()),
                         [](const ::testing::TestParamInfo<Gauge>& info) {
                           std::string name = info.param.name;
                           std::erase(name, ' ');
                           return name;
                         });

// ---- the eleven tank gauges ---------------------------------------------------------

struct Tank {
  const char* gauge;
  const char* tank;  // as the simulator names it
  const char* label;
};

constexpr Tank kTanks[] = {
    {"Right Main", "RIGHT MAIN", "Right Main Fuel Tank"}, {"Left Main", "LEFT MAIN", "Left Main Fuel Tank"},
    {"Right Aux", "RIGHT AUX", "Right Aux Fuel Tank"},    {"Left Aux", "LEFT AUX", "Left Aux Fuel Tank"},
    {"Right Tip", "RIGHT TIP", "Right Tip Fuel Tank"},    {"Left Tip", "LEFT TIP", "Left Tip Fuel Tank"},
    {"Center1", "CENTER", "Center Fuel Tank 1"},          {"Center2", "CENTER2", "Center Fuel Tank 2"},
    {"Center3", "CENTER3", "Center Fuel Tank 3"},         {"External1", "EXTERNAL1", "External Fuel Tank 1"},
    {"External2", "EXTERNAL2", "External Fuel Tank 2"},
};

std::string level_of(const Tank& t) { return std::string("FUEL TANK ") + t.tank + " LEVEL"; }
std::string quantity_of(const Tank& t) { return std::string("FUEL TANK ") + t.tank + " QUANTITY"; }

class TankGauge : public FuelHost, public ::testing::TestWithParam<Tank> {
 protected:
  const Tank& tank = GetParam();
  host::GaugeInstance& g = place(tank.gauge);
};

// Every other tank full: the gauge reads its own tank and no other.
TEST_P(TankGauge, NeedleFollowsItsOwnTankLevel) {
  for (const Tank& other : kTanks) {
    aircraft.set(level_of(other), "percent", 99);
    aircraft.set(quantity_of(other), "gallons", 999);
  }
  struct Case {
    double percent, angle;
  } cases[] = {{0, -119.9}, {25, -60.1}, {50, 0}, {75, 59.8}, {100, 120.2}, {37.5, -30.05}, {120, 120.2}};
  for (const Case& c : cases) {
    aircraft.set(level_of(tank), "percent", c.percent);
    host.hover(g, 150, 150);  // the tooltip never moves the needle
    host.tick();
    EXPECT_DOUBLE_EQ(reading(g), c.percent);
    if (c.percent <= 100) {
      EXPECT_NEAR(g.elements[2].angle, c.angle, 0.2) << c.percent << "% in one tick";
    }
  }
}

TEST_P(TankGauge, TooltipGivesGallonsFiveWideWithOneDecimal) {
  for (const Tank& other : kTanks) aircraft.set(quantity_of(other), "gallons", 999);
  struct Case {
    double gallons;
    const char* shown;
  } cases[] = {{30, " 30.0"}, {5, "  5.0"}, {0.04, "  0.0"}, {12.25, " 12.2"}, {-2, " -2.0"}, {1234.56, "1234.6"}};
  for (const Case& c : cases) {
    aircraft.set(quantity_of(tank), "gallons", c.gallons);
    EXPECT_EQ(tooltip(g), std::string(tank.label) + ": " + c.shown + " Gallons");
  }
  EXPECT_FALSE(g.elements[2].has_reading) << "no update ran";
}

TEST_P(TankGauge, StoresKeepTheirValueWhenTheAircraftGivesNothing) {
  aircraft.set(level_of(tank), "percent", 62.5);
  aircraft.set(quantity_of(tank), "gallons", 17);
  host.tick();
  EXPECT_EQ(tooltip(g), std::string(tank.label) + ":  17.0 Gallons");
  aircraft.forget(level_of(tank));
  aircraft.forget(quantity_of(tank));
  host.tick();
  EXPECT_EQ(reading(g), 62.5);
  EXPECT_EQ(tooltip(g), std::string(tank.label) + ":  17.0 Gallons");
  aircraft.set(level_of(tank), "percent", 10);
  host.tick();
  EXPECT_EQ(reading(g), 10);
}

INSTANTIATE_TEST_SUITE_P(Eleven, TankGauge, ::testing::ValuesIn(kTanks),
                         [](const ::testing::TestParamInfo<Tank>& info) {
                           std::string name = info.param.gauge;
                           std::erase(name, ' ');
                           return name;
                         });

// ---- the totals: arithmetic ---------------------------------------------------------

struct TotalCase {
  const char* gauge;
  std::vector<double> capacities;  // one per expression, in its order
  std::vector<double> quantities;
  double reading;
};

std::vector<std::string> capacity_names(const std::string& gauge) {
  if (gauge == "Aircraft Total") return {"FUEL TOTAL CAPACITY"};
  if (gauge == "Left Total") return {"FUEL LEFT CAPACITY"};
  if (gauge == "Right Total") return {"FUEL RIGHT CAPACITY"};
  return {"FUEL TANK CENTER CAPACITY", "FUEL TANK CENTER2 CAPACITY", "FUEL TANK CENTER3 CAPACITY"};
}
std::vector<std::string> quantity_names(const std::string& gauge) {
  std::vector<std::string> names = capacity_names(gauge);
  for (std::string& n : names) n.replace(n.find("CAPACITY"), 8, "QUANTITY");
  return names;
}

// The reading once settled: message 4 at placing, then two updates so that the
// centre's message 10 has reached its needle.
double settled_reading(const TotalCase& c) {
  FuelHost fuel;
  const auto caps = capacity_names(c.gauge), qtys = quantity_names(c.gauge);
  for (size_t i = 0; i < caps.size(); ++i) fuel.aircraft.set(caps[i], "gallons", c.capacities[i]);
  for (size_t i = 0; i < qtys.size(); ++i) fuel.aircraft.set(qtys[i], "gallons", c.quantities[i]);
  auto& g = fuel.place(c.gauge);
  fuel.host.tick(2);
  return FuelHost::reading(g);
}

TEST(TotalGauges, PercentOfCapacity) {
  const TotalCase cases[] = {
      {"Left Total", {60}, {45}, 75},
      {"Right Total", {80}, {20}, 25},
      {"Aircraft Total", {200}, {150}, 75},
      {"Center Total", {60, 40, 0}, {30, 20, 0}, 50},
      {"Center Total", {0, 0, 80}, {0, 0, 20}, 25},
      // Not held to the dial: more than the capacity reads above 100.
      {"Left Total", {40}, {50}, 125},
      {"Aircraft Total", {40}, {50}, 125},
      // No capacity: 0 whatever the quantity.
      {"Left Total", {0}, {10}, 0},
      {"Right Total", {0}, {10}, 0},
      {"Aircraft Total", {0}, {10}, 0},
      {"Center Total", {0, 0, 0}, {5, 5, 5}, 0},
      {"Center Total", {10, -10, 0}, {5, 5, 5}, 0},
      // A negative capacity divides, except in the aircraft's total.
      {"Left Total", {-50}, {10}, -20},
      {"Right Total", {-20}, {5}, -25},
      {"Center Total", {-40, 0, 0}, {10, 0, 0}, -25},
      {"Aircraft Total", {-50}, {10}, 0},
      {"Aircraft Total", {1e-300}, {0}, 0},
  };
  for (const TotalCase& c : cases) {
    EXPECT_DOUBLE_EQ(settled_reading(c), c.reading) << c.gauge << " capacity " << c.capacities[0];
  }
}

// Three totals divide first, the aircraft's multiplies first: a third shows it in the last bit.
TEST(TotalGauges, OrderOfOperations) {
#if FLT_EVAL_METHOD != 0
  GTEST_SKIP() << "the 32-bit modules under test compute in x87 extended precision, where both orders round a third alike";
#endif
  const double divided_first = 1.0 / 3.0 * 100.0;
  const double multiplied_first = 1.0 * 100.0 / 3.0;
  ASSERT_NE(divided_first, multiplied_first);
  EXPECT_EQ(settled_reading({"Left Total", {3}, {1}, 0}), divided_first);
  EXPECT_EQ(settled_reading({"Right Total", {3}, {1}, 0}), divided_first);
  EXPECT_EQ(settled_reading({"Center Total", {1, 1, 1}, {0.5, 0.25, 0.25}, 0}), divided_first);
  EXPECT_EQ(settled_reading({"Aircraft Total", {3}, {1}, 0}), multiplied_first);
}

// ---- the totals: when they read -----------------------------------------------------

class TotalTiming : public FuelHost, public ::testing::Test {
 protected:
  void gallons(const std::string& name, double value) { aircraft.set(name, "gallons", value); }
};

TEST_F(TotalTiming, CenterShowsTheLastMessageTen) {
  gallons("FUEL TANK CENTER CAPACITY", 60);
  gallons("FUEL TANK CENTER2 CAPACITY", 40);
  gallons("FUEL TANK CENTER QUANTITY", 30);
  gallons("FUEL TANK CENTER2 QUANTITY", 20);
  auto& g = place("Center Total");
  EXPECT_EQ(tooltip(g), "Center Fuel Tanks:   0.0 Gallons") << "before the first message 10";
  host.tick();
  EXPECT_EQ(reading(g), 0.0) << "the needle runs before the update's message 10";
  EXPECT_EQ(tooltip(g), "Center Fuel Tanks:  50.0 Gallons");
  host.tick();
  EXPECT_EQ(reading(g), 50.0);

  gallons("FUEL TANK CENTER QUANTITY", 70);  // 90 of 100
  host.update(g);
  EXPECT_EQ(reading(g), 50.0) << "the new quantity waits for the update's message 10";
  EXPECT_EQ(tooltip(g), "Center Fuel Tanks:  90.0 Gallons");
  host.update(g);
  EXPECT_EQ(reading(g), 90.0);
  gallons("FUEL TANK CENTER QUANTITY", 0);
  host.hover(g, 150, 150);
  host.send_message(g, 5);
  EXPECT_EQ(tooltip(g), "Center Fuel Tanks:  90.0 Gallons") << "neither tooltip nor other messages read";
}

TEST_F(TotalTiming, CenterCapacityOnlyAtMessageFourAndSetAfresh) {
  gallons("FUEL TANK CENTER CAPACITY", 60);
  gallons("FUEL TANK CENTER2 CAPACITY", 40);
  gallons("FUEL TANK CENTER QUANTITY", 45);
  auto& g = place("Center Total");
  gallons("FUEL TANK CENTER3 CAPACITY", 50);
  host.tick(2);
  EXPECT_EQ(reading(g), 45.0) << "capacity 100 from message 4";
  host.send_message(g, PANEL_SERVICE_PRE_INITIALIZE);
  host.send_message(g, PANEL_SERVICE_PRE_INITIALIZE);
  host.tick(2);
  EXPECT_EQ(reading(g), 30.0) << "capacity 150, not added to the old";
}

struct Side {
  const char* gauge;
  const char* capacity;
  const char* quantity;
  const char* label;
};

constexpr Side kSides[] = {
    {"Left Total", "FUEL LEFT CAPACITY", "FUEL LEFT QUANTITY", "Left Fuel Tanks"},
    {"Right Total", "FUEL RIGHT CAPACITY", "FUEL RIGHT QUANTITY", "Right Fuel Tanks"},
};

class SideTotal : public FuelHost, public ::testing::TestWithParam<Side> {
 protected:
  const Side& side = GetParam();
  std::string shows(const char* gallons) { return std::string(side.label) + ": " + gallons + " Gallons"; }
};

TEST_P(SideTotal, TooltipBeforeTheFirstUpdateShowsNothing) {
  aircraft.set(side.capacity, "gallons", 60);
  aircraft.set(side.quantity, "gallons", 45);
  auto& g = place(side.gauge);
  EXPECT_EQ(tooltip(g), shows("  0.0"));
  host.tick();
  EXPECT_EQ(reading(g), 75.0);
  EXPECT_EQ(tooltip(g), shows(" 45.0"));
  aircraft.set(side.quantity, "gallons", 30);
  EXPECT_EQ(tooltip(g), shows(" 45.0")) << "the tooltip does not read the quantity";
  host.tick();
  EXPECT_EQ(reading(g), 50.0) << "the quantity follows every update";
}

TEST_P(SideTotal, CapacityOnlyAtMessageFourAndWhenTheTooltipShows) {
  aircraft.set(side.capacity, "gallons", 0);
  aircraft.set(side.quantity, "gallons", 45);
  auto& g = place(side.gauge);
  aircraft.set(side.capacity, "gallons", 60);
  host.tick(3);
  EXPECT_EQ(reading(g), 0.0) << "capacity 0 from message 4";
  tooltip(g);
  host.tick();
  EXPECT_EQ(reading(g), 75.0);

  aircraft.set(side.capacity, "gallons", 90);
  host.tick(3);
  EXPECT_EQ(reading(g), 75.0) << "no tooltip: still capacity 60";
  host.send_message(g, PANEL_SERVICE_PRE_DRAW);
  host.tick();
  EXPECT_EQ(reading(g), 75.0) << "message 10 reads nothing";
  host.send_message(g, PANEL_SERVICE_PRE_INITIALIZE);
  host.tick();
  EXPECT_DOUBLE_EQ(reading(g), 50.0);
}

TEST_P(SideTotal, StoresKeepTheirValueWhenTheAircraftGivesNothing) {
  aircraft.set(side.capacity, "gallons", 80);
  aircraft.set(side.quantity, "gallons", 60);
  auto& g = place(side.gauge);
  host.tick();
  aircraft.forget(side.capacity);
  aircraft.forget(side.quantity);
  EXPECT_EQ(tooltip(g), shows(" 60.0"));
  host.send_message(g, PANEL_SERVICE_PRE_INITIALIZE);
  host.tick();
  EXPECT_EQ(reading(g), 75.0);
}

INSTANTIATE_TEST_SUITE_P(LeftAndRight, SideTotal, ::testing::ValuesIn(kSides),
                         [](const ::testing::TestParamInfo<Side>& info) {
                           return std::string(info.param.gauge).substr(0, info.param.gauge[0] == 'L' ? 4 : 5);
                         });

TEST_F(TotalTiming, AircraftFollowsBothOnEveryUpdate) {
  auto& g = place("Aircraft Total");
  gallons("FUEL TOTAL CAPACITY", 100);
  gallons("FUEL TOTAL QUANTITY", 40);
  EXPECT_EQ(tooltip(g), "Total Fuel:   0.0 Gallons") << "before the first update";
  host.tick();
  EXPECT_EQ(reading(g), 40.0);
  gallons("FUEL TOTAL CAPACITY", 50);
  host.tick();
  EXPECT_EQ(reading(g), 80.0);
  gallons("FUEL TOTAL QUANTITY", 10);
  EXPECT_EQ(tooltip(g), "Total Fuel:  40.0 Gallons") << "the tooltip reads nothing";
  host.tick();
  EXPECT_EQ(reading(g), 20.0);
  EXPECT_EQ(tooltip(g), "Total Fuel:  10.0 Gallons");

  aircraft.forget("FUEL TOTAL CAPACITY");
  gallons("FUEL TOTAL QUANTITY", 25);
  host.tick();
  EXPECT_EQ(reading(g), 50.0) << "the last capacity, 50";
  aircraft.forget("FUEL TOTAL QUANTITY");
  gallons("FUEL TOTAL CAPACITY", 100);
  host.tick();
  EXPECT_EQ(reading(g), 25.0) << "the last quantity, 25";
}

}  // namespace
