// The built-in aircraft: what every key event the modules send does to its
// state, and a live engine start from cold.
#include <gtest/gtest.h>

#include "aircraft_model.h"

namespace {

struct AircraftFixture : ::testing::Test {
  host::TokenVariables tokens;
  host::AircraftVariables variables;
  host::AircraftModel model{tokens, variables};
  std::vector<uint32_t> toggled_windows;
  AircraftFixture() {
    model.set_window_toggle([this](uint32_t ident) { toggled_windows.push_back(ident); });
  }
  void send(uint32_t id, uint32_t value = 0) { model.on_key_event({id, value}); }
};

TEST_F(AircraftFixture, MagnetoEventsSetBothMagnetoTokensOfTheirEngine) {
  struct Case {
    uint32_t event, value;
    uint32_t left_token, right_token;
    double left, right;
  } cases[] = {
      {65929, 0, 133, 134, 1, 0},  // engine 1 left only
      {65928, 0, 133, 134, 0, 1},  // right only
      {65930, 0, 133, 134, 1, 1},  // both
      {65927, 0, 133, 134, 0, 0},  // off
      {66400, 2, 133, 134, 1, 0},  // selector set to left only
      {66400, 3, 133, 134, 1, 1},
      {66400, 9, 133, 134, 1, 1},  // no such position: unchanged
      {65936, 0, 168, 169, 1, 1},  // engine 2 both
      {66402, 1, 203, 204, 0, 1},  // engine 3 set right only
      {65947, 0, 238, 239, 1, 0},  // engine 4 left only
  };
  for (const Case& c : cases) {
    send(c.event, c.value);
    EXPECT_EQ(tokens.get(c.left_token), c.left) << c.event << ":" << c.value;
    EXPECT_EQ(tokens.get(c.right_token), c.right) << c.event << ":" << c.value;
  }
}

TEST_F(AircraftFixture, FuelSelectorEventsSetTheSelectorToken) {
  struct Case {
    uint32_t event, token;
    double value;
  } cases[] = {
      {65955, 422, 0}, {65956, 422, 1}, {65957, 422, 2}, {65958, 422, 3},
      {66516, 461, 0}, {66519, 461, 3}, {66563, 500, 2}, {66570, 539, 1},
  };
  for (const Case& c : cases) {
    send(c.event);
    EXPECT_EQ(tokens.get(c.token), c.value) << c.event;
  }
}

TEST_F(AircraftFixture, SwitchEventsFlipTheirSystems) {
  struct Case {
    uint32_t event, token;
  } cases[] = {
      {66241, 364}, {66363, 566}, {66364, 576}, {66293, 740}, {65751, 14},  {66379, 619}, {65750, 10},
      {65858, 13},  {66338, 904}, {66337, 905}, {66494, 895}, {66495, 896}, {66340, 891}, {66341, 892},
      {66482, 903}, {66239, 368}, {66377, 622}, {65560, 11},  {66290, 778}, {66240, 369}, {66378, 621},
      {65571, 365},
  };
  for (const Case& c : cases) {
    send(c.event);
    EXPECT_EQ(tokens.get(c.token), 1) << c.event;
    send(c.event);
    EXPECT_EQ(tokens.get(c.token), 0) << c.event;
  }
}

TEST_F(AircraftFixture, TailwheelLockAndPanelWindow) {
  send(66541);
  EXPECT_EQ(variables.get("Tailwheel lock on", "bool"), 1.0);
  send(66541);
  EXPECT_EQ(variables.get("Tailwheel lock on", "bool"), 0.0);
  send(66506, 40);
  EXPECT_EQ(toggled_windows, std::vector<uint32_t>{40});
}

TEST_F(AircraftFixture, AStarterEventEngagesTheStarterForAShortTime) {
  send(66129);  // engine 2
  EXPECT_EQ(tokens.get(440), 1);
  for (int i = 0; i < 3; ++i) model.on_tick();
  EXPECT_EQ(tokens.get(440), 1);
  model.on_tick();
  EXPECT_EQ(tokens.get(440), 0);
}

TEST_F(AircraftFixture, LiveEngineStartsOnlyWithBothMagnetosAndFuel) {
  model.go_live();
  auto crank = [&](int seconds) {
    for (int i = 0; i < seconds * 18; ++i) {
      send(66127);  // engine 1 starter, held
      model.on_tick();
    }
  };
  crank(3);
  EXPECT_FALSE(model.running(0)) << "magnetos off";
  send(65929);  // left magneto only
  crank(3);
  EXPECT_FALSE(model.running(0)) << "one magneto";
  send(65930);  // both
  send(65955);  // fuel selector off
  crank(3);
  EXPECT_FALSE(model.running(0)) << "no fuel selected";
  send(65956);  // both tanks
  crank(3);
  ASSERT_TRUE(model.running(0));
  for (int i = 0; i < 60 * 18; ++i) model.on_tick();
  EXPECT_GT(tokens.get(390), 1000);           // RPM
  EXPECT_GT(tokens.get(418) / 144, 40);       // oil pressure psi
  EXPECT_GT(tokens.get(137), 20);             // fuel flow gph
  EXPECT_LT(tokens.get(391) / 70.7262, 29);   // manifold pressure below ambient
  EXPECT_FALSE(model.running(1));
  EXPECT_EQ(tokens.get(429), 0);
  const double total = variables.get("FUEL TOTAL QUANTITY", "gallons").value();
  EXPECT_LT(total, 270 * 2 + 100 * 2 + 60 * 2 + 120 + 40);  // it burned fuel
  EXPECT_NEAR(variables.get("FUEL LEFT QUANTITY", "gallons").value() + variables.get("FUEL RIGHT QUANTITY", "gallons").value() + 160,
              total, 1e-6);

  send(65927);  // magnetos off: the engine stops
  for (int i = 0; i < 30 * 18; ++i) model.on_tick();
  EXPECT_FALSE(model.running(0));
  EXPECT_LT(tokens.get(390), 50);
}

}  // namespace

namespace {

// A log of key events says what each one does.
TEST(AircraftEvents, EachEventTheAircraftKnowsIsDescribed) {
  struct Case {
    host::KeyEvent event;
    const char* what;
  } cases[] = {
      {{65927, 0}, "engine 1 magnetos off"},          {{65948, 0}, "engine 4 magnetos both"},
      {{66401, 2}, "engine 2 magnetos set to left only"}, {{66401, 9}, "engine 2 magnetos set to an unknown position"},
      {{66133, 0}, "engine 4 starter"},               {{66516, 0}, "engine 2 fuel selector off"},
      {{66572, 0}, "engine 4 fuel selector right"},   {{66241, 0}, "master battery switch"},
      {{66541, 0}, "tail wheel lock"},                {{66506, 40}, "show or hide panel window 40"},
      {{1, 0}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(host::AircraftModel::describe(c.event), c.what) << c.event.id;
}

}  // namespace
