// A long run of the demo panel with the aircraft live and everything a pilot
// or a broken simulator could throw at it: token values of every odd kind,
// aircraft values out of range, the lighting variable set to nonsense, and
// clicks, holds and hovers anywhere on every gauge, edges and beyond included.
// Nothing may crash, no module may allocate, and the host's memory stays flat.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <set>
#include <sstream>

#include "allocation_counter.h"
#include "lighting.h"
#include "module_code.h"
#include "session.h"

namespace {

long updates_to_run() {
  const char* text = std::getenv("PANEL_SOAK_UPDATES");
  return text ? std::max(1L, std::atol(text)) : 1'000'000L;
}

class OddValues {
 public:
  explicit OddValues(uint32_t seed) : random_(seed) {}
  double next() {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    static constexpr double kOdd[] = {std::numeric_limits<double>::quiet_NaN(), kInf, -kInf, 1e300, -1e300,
                                      4294967296.0, -2147483649.0, 2147483648.0, -0.0, 5e-324,
                                      std::numeric_limits<double>::max(), -1};
    switch (random_() % 3) {
      case 0: return kOdd[random_() % std::size(kOdd)];
      case 1: return std::uniform_real_distribution<double>(-10, 10)(random_);
      default: return std::uniform_real_distribution<double>(-5000, 5000)(random_);
    }
  }
  uint32_t below(uint32_t n) { return uint32_t(random_() % n); }
  int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

 private:
  std::mt19937_64 random_;
};

// Every token a placed element or tooltip reads, and every token the aircraft keeps.
std::vector<uint32_t> tokens_in_use(host::Session& session) {
  std::set<uint32_t> ids;
  for (const auto& gauge : session.host().instances()) {
    for (const host::ElementState& element : gauge->elements) {
      if (const MODULE_VAR* source = element.view.source(); source && source->id) ids.insert(source->id);
    }
  }
  for (int engine = 0; engine < host::AircraftModel::kEngines; ++engine) {
    const auto& t = host::AircraftModel::engine_tokens(engine);
    ids.insert({t.rpm, t.manifold_pressure, t.fuel_flow, t.oil_pressure, t.oil_temperature,
                t.cylinder_head_temperature, t.starter, t.left_magneto, t.right_magneto, t.fuel_selector});
  }
  return {ids.begin(), ids.end()};
}

constexpr const char* kAircraftValues[][2] = {
    {"FUEL TANK LEFT MAIN QUANTITY", "gallons"}, {"FUEL TANK RIGHT AUX CAPACITY", "gallons"},
    {"FUEL TANK CENTER QUANTITY", "gallons"},    {"FUEL TANK CENTER3 CAPACITY", "gallons"},
    {"FUEL TANK EXTERNAL1 QUANTITY", "gallons"}, {"Tailwheel lock on", "bool"},
};

TEST(Soak, TheDemoPanelRunsAMillionUpdatesOfNonsenseWithoutAllocatingInModulesOrGrowing) {
  host::Session session(GAUGES_DIR);
  std::ostringstream warnings;
  session.load_panel(DEMO_PANEL, true, warnings);
  session.aircraft().go_live();
  host::PanelHost& host = session.host();
  const auto& gauges = host.instances();
  ASSERT_GT(gauges.size(), 50u);
  const std::vector<uint32_t> tokens = tokens_in_use(session);
  host.tick();
  const uint32_t lighting = host.named().check(frame::kLightingVariable);
  ASSERT_NE(lighting, host::NamedVariables::kUnregistered) << "the lit modules register the lighting variable by their first update";

  OddValues odd(20261211);
  const long updates = updates_to_run();
  const allocation_counter::Counts at_load = allocation_counter::counts();
  size_t heap_after_warm_up = 0;
  for (long update = 0; update < updates; ++update) {
    if (update == updates / 10) heap_after_warm_up = allocation_counter::heap_in_use();
    for (int n = odd.between(0, 3); n > 0; --n) host.tokens().set(tokens[odd.below(uint32_t(tokens.size()))], odd.next());
    if (odd.below(50) == 0) host.named().set(lighting, odd.next());
    if (odd.below(200) == 0) {
      const auto& [name, unit] = kAircraftValues[odd.below(std::size(kAircraftValues))];
      session.variables().set(name, unit, odd.next());
    }
    host::GaugeInstance& gauge = *gauges[odd.below(uint32_t(gauges.size()))];
    // Anywhere on the gauge and a little beyond its edges.
    const int x = odd.between(-4, gauge.width + 4), y = odd.between(-4, gauge.height + 4);
    switch (odd.below(8)) {
      case 0: host.click(gauge, x, y, odd.below(2) ? MOUSE_LEFTSINGLE : MOUSE_RIGHTSINGLE); break;
      case 1: host.press(gauge, x, y); break;
      case 2: host.release(); break;
      case 3: host.hover(gauge, x, y); break;
      default: break;
    }
    host.tick();
    host.clear_events();  // a long-running driver takes the events as they come
  }
  host.release();

  EXPECT_EQ(allocation_counter::counts().module - at_load.module, 0u) << "allocations by module code after load";
  const size_t heap_at_end = allocation_counter::heap_in_use();
  EXPECT_LE(heap_at_end, heap_after_warm_up + 64 * 1024)
      << "heap in use grew from " << heap_after_warm_up << " bytes at 10% to " << heap_at_end << " at the end";
  std::cout << "[ soak     ] " << updates << " updates of " << gauges.size() << " gauges; host allocations "
            << allocation_counter::counts().host - at_load.host << ", module allocations "
            << allocation_counter::counts().module - at_load.module << ", heap " << heap_after_warm_up << " -> "
            << heap_at_end << " bytes\n";
}

// The counter itself: an allocation made while module code runs is the module's.
TEST(Soak, AllocationsInsideModuleCodeAreCountedAsTheModules) {
  void* (*volatile allocate)(size_t) = std::malloc;  // not to be optimised away
  const allocation_counter::Counts before = allocation_counter::counts();
  host::into_module([&] { std::free(allocate(16)); });
  host::into_module([&] {
    const host::BackInHost in_host;
    std::free(allocate(16));
  });
  const allocation_counter::Counts after = allocation_counter::counts();
  EXPECT_EQ(after.module - before.module, 1u);
  EXPECT_GE(after.host - before.host, 1u);
}

}  // namespace
