#include "aircraft_model.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace host {

namespace {

// Tokens step by 39 (or 35) from engine to engine, as the simulator numbers them.
constexpr AircraftModel::EngineTokens kEngineTokens[AircraftModel::kEngines] = {
    {390, 391, 137, 418, 416, 146, 401, 133, 134, 422},
    {429, 430, 172, 457, 455, 181, 440, 168, 169, 461},
    {468, 469, 207, 496, 494, 216, 479, 203, 204, 500},
    {507, 508, 242, 535, 533, 251, 518, 238, 239, 539},
};

// Magneto selector events per engine: off, right only, left only, both; then selector set and starter.
constexpr uint32_t kMagnetoOff[] = {65927, 65933, 65939, 65945};
constexpr uint32_t kMagnetoSet[] = {66400, 66401, 66402, 66403};
constexpr uint32_t kStarter[] = {66127, 66129, 66131, 66133};
// Fuel selector events per engine, in the order off, both, left, right (the selector's own values 0 to 3).
constexpr uint32_t kFuelSelectorOff[] = {65955, 66516, 66561, 66569};

// Each switch event flips one system, whose state the switch's token shows.
struct SwitchEvent {
  uint32_t event, token;
  const char* system;
};
constexpr SwitchEvent kSwitches[] = {
    {65571, 365, "carburettor heat"},
    {66363, 566, "alternator / generator 1"},
    {66364, 576, "alternator / generator 2"},
    {66293, 740, "avionics"},
    {66241, 364, "master battery"},
    {65751, 14, "landing lights"},
    {66379, 619, "navigation lights"},
    {65750, 10, "panel lights"},
    {65858, 13, "pitot heat"},
    {66338, 904, "propeller de-ice"},
    {66337, 905, "structural de-ice"},
    {66494, 895, "left fuel valve"},
    {66495, 896, "right fuel valve"},
    {66340, 891, "left fuel pump"},
    {66341, 892, "right fuel pump"},
    {66482, 903, "landing lights extension"},
    {66239, 368, "beacon lights"},
    {66377, 622, "recognition lights"},
    {65560, 11, "strobe lights"},
    {66290, 778, "standby vacuum"},
    {66240, 369, "taxi lights"},
    {66378, 621, "wing lights"},
};
constexpr uint32_t kTailwheelLockToggle = 66541;
constexpr uint32_t kTogglePanelWindow = 66506;

constexpr int kStarterEngagedTicks = 4;  // a held button re-engages it every tick
constexpr double kDefaultThrottlePercent = 45;

struct Tank {
  const char* name;
  double capacity, initial;  // gallons
  int side;                  // 0 left, 1 right, -1 centre line
};
// Tips and aux tanks feed before the mains; the centre and external positions
// of this airframe are fitted partly.
constexpr Tank kTanks[] = {
    {"LEFT MAIN", 300, 270, 0},  {"RIGHT MAIN", 300, 270, 1}, {"LEFT AUX", 150, 100, 0}, {"RIGHT AUX", 150, 100, 1},
    {"LEFT TIP", 60, 60, 0},     {"RIGHT TIP", 60, 60, 1},    {"CENTER", 200, 120, -1},  {"CENTER2", 100, 40, -1},
    {"CENTER3", 0, 0, -1},       {"EXTERNAL1", 0, 0, -1},     {"EXTERNAL2", 0, 0, -1},
};
constexpr int kFeedOrder[] = {4, 2, 0, 5, 3, 1};  // tip, aux, main: left then right

std::string tank_variable(const Tank& tank, const char* what) { return std::string("FUEL TANK ") + tank.name + " " + what; }

double approach(double value, double target, double seconds_to_settle) {
  return value + (target - value) * std::min(1.0, AircraftModel::kTickSeconds / seconds_to_settle);
}

constexpr double kPsfPerPsi = 144.0;
constexpr double kPsfPerInHg = 70.7262;
double rankine_from_celsius(double c) { return c * 1.8 + 32.0 + 459.67; }
double celsius_from_rankine(double r) { return (r - 459.67 - 32.0) / 1.8; }

}  // namespace

AircraftModel::AircraftModel(TokenVariables& tokens, AircraftVariables& variables)
    : tokens_(tokens),
      variables_(variables),
      tailwheel_lock_(variables.keep("TAILWHEEL LOCK ON", UnitKind::Boolean)) {
  for (const Tank& tank : kTanks) {
    tanks_.push_back({variables.keep(tank_variable(tank, "QUANTITY"), UnitKind::Volume),
                      variables.keep(tank_variable(tank, "CAPACITY"), UnitKind::Volume),
                      variables.keep(tank_variable(tank, "LEVEL"), UnitKind::Percent)});
  }
  for (const char* group : {"FUEL LEFT", "FUEL RIGHT", "FUEL TOTAL"}) {
    groups_.push_back({variables.keep(std::string(group) + " QUANTITY", UnitKind::Volume),
                       variables.keep(std::string(group) + " CAPACITY", UnitKind::Volume)});
  }
  for (int e = 1; e <= kEngines; ++e) {
    throttles_.push_back(variables.keep("GENERAL ENG THROTTLE LEVER POSITION:" + std::to_string(e), UnitKind::Percent,
                                        kDefaultThrottlePercent));
  }
}

const AircraftModel::EngineTokens& AircraftModel::engine_tokens(int engine) { return kEngineTokens[engine]; }

std::string AircraftModel::describe(const KeyEvent& event) {
  static constexpr const char* kMagnetos[] = {"off", "right only", "left only", "both"};
  static constexpr const char* kFuel[] = {"off", "both sides", "left", "right"};
  for (int e = 0; e < kEngines; ++e) {
    const std::string engine = "engine " + std::to_string(e + 1);
    if (event.id >= kMagnetoOff[e] && event.id < kMagnetoOff[e] + 4) return engine + " magnetos " + kMagnetos[event.id - kMagnetoOff[e]];
    if (event.id == kMagnetoSet[e]) {
      return engine + " magnetos set to " + (event.value <= 3 ? kMagnetos[event.value] : "an unknown position");
    }
    if (event.id == kStarter[e]) return engine + " starter";
    if (event.id >= kFuelSelectorOff[e] && event.id < kFuelSelectorOff[e] + 4) {
      return engine + " fuel selector " + kFuel[event.id - kFuelSelectorOff[e]];
    }
  }
  for (const SwitchEvent& s : kSwitches) {
    if (event.id == s.event) return std::string(s.system) + " switch";
  }
  if (event.id == kTailwheelLockToggle) return "tail wheel lock";
  if (event.id == kTogglePanelWindow) return "show or hide panel window " + std::to_string(event.value);
  return {};
}

void AircraftModel::go_live() {
  live_ = true;
  for (int e = 0; e < kEngines; ++e) {
    const EngineTokens& t = kEngineTokens[e];
    engines_[e] = {};
    tokens_.set(t.rpm, 0);
    tokens_.set(t.manifold_pressure, 29.92 * kPsfPerInHg);  // standing still: ambient pressure
    tokens_.set(t.fuel_flow, 0);
    tokens_.set(t.oil_pressure, 0);
    tokens_.set(t.oil_temperature, rankine_from_celsius(15));
    tokens_.set(t.cylinder_head_temperature, 59);
    tokens_.set(t.starter, 0);
    tokens_.set(t.left_magneto, 0);
    tokens_.set(t.right_magneto, 0);
    tokens_.set(t.fuel_selector, 1);  // both
  }
  for (size_t i = 0; i < tanks_.size(); ++i) {
    tanks_[i].capacity.set(kTanks[i].capacity);
    tanks_[i].quantity.set(kTanks[i].initial);
  }
  update_fuel_totals();
}

void AircraftModel::set_magnetos(int engine, int position) {
  tokens_.set(kEngineTokens[engine].left_magneto, (position & 2) ? 1 : 0);
  tokens_.set(kEngineTokens[engine].right_magneto, (position & 1) ? 1 : 0);
}

void AircraftModel::on_key_event(const KeyEvent& event) {
  for (int e = 0; e < kEngines; ++e) {
    if (event.id >= kMagnetoOff[e] && event.id < kMagnetoOff[e] + 4) {
      set_magnetos(e, int(event.id - kMagnetoOff[e]));  // off, right, left, both
      return;
    }
    if (event.id == kMagnetoSet[e]) {
      if (event.value <= 3) set_magnetos(e, int(event.value));
      return;
    }
    if (event.id == kStarter[e]) {
      engines_[e].starter_ticks = kStarterEngagedTicks;
      tokens_.set(kEngineTokens[e].starter, 1);
      return;
    }
    if (event.id >= kFuelSelectorOff[e] && event.id < kFuelSelectorOff[e] + 4) {
      tokens_.set(kEngineTokens[e].fuel_selector, event.id - kFuelSelectorOff[e]);
      return;
    }
  }
  for (const SwitchEvent& s : kSwitches) {
    if (event.id == s.event) {
      tokens_.set(s.token, tokens_.get(s.token) > 0.5 ? 0 : 1);
      return;
    }
  }
  if (event.id == kTailwheelLockToggle) {
    tailwheel_lock_.set(tailwheel_lock_.get() > 0.5 ? 0 : 1);
  } else if (event.id == kTogglePanelWindow && window_toggle_) {
    window_toggle_(event.value);
  }
}

void AircraftModel::on_tick() {
  for (int e = 0; e < kEngines; ++e) {
    Engine& engine = engines_[e];
    if (engine.starter_ticks > 0 && --engine.starter_ticks == 0) tokens_.set(kEngineTokens[e].starter, 0);
    if (live_) run_engine(e);
  }
  if (live_) update_fuel_totals();
}

void AircraftModel::run_engine(int e) {
  const EngineTokens& t = kEngineTokens[e];
  Engine& engine = engines_[e];
  const bool both_magnetos = tokens_.get(t.left_magneto) > 0.5 && tokens_.get(t.right_magneto) > 0.5;
  const bool any_magneto = tokens_.get(t.left_magneto) > 0.5 || tokens_.get(t.right_magneto) > 0.5;
  const bool cranking = engine.starter_ticks > 0;
  double rpm = tokens_.get(t.rpm);
  if (!std::isfinite(rpm)) rpm = 0;

  // A running engine needs a magneto and fuel; it catches on the starter with both magnetos on.
  const double throttle = std::clamp(throttles_[size_t(e)].get(kDefaultThrottlePercent), 0.0, 100.0);
  const double fuel_flow = engine.running ? 8.0 + 0.8 * throttle : 0.0;
  if (engine.running) {
    const double wanted = fuel_flow * kTickSeconds / 3600.0;
    if (!any_magneto || burn(e, wanted) < wanted * 0.5) engine.running = false;
  } else if (cranking && both_magnetos && rpm > 120 && burn(e, 0.0001) > 0) {
    engine.running = true;
  }

  const double target_rpm = engine.running ? 600 + 20 * throttle : cranking ? 180 : 0;
  rpm = approach(rpm, target_rpm, engine.running ? 2.5 : cranking ? 1.0 : 3.0);
  tokens_.set(t.rpm, rpm);
  tokens_.set(t.fuel_flow, engine.running ? fuel_flow : 0);

  const double ambient_map = 29.92;
  const double map_inhg = engine.running ? 12 + 0.18 * throttle : cranking ? 28.5 : ambient_map;
  tokens_.set(t.manifold_pressure, approach(tokens_.get(t.manifold_pressure) / kPsfPerInHg, map_inhg, 1.0) * kPsfPerInHg);

  const double oil_psi = engine.running ? std::min(85.0, 35 + rpm / 50) : cranking ? 8 : 0;
  tokens_.set(t.oil_pressure, approach(tokens_.get(t.oil_pressure) / kPsfPerPsi, oil_psi, 2.0) * kPsfPerPsi);

  const double oil_celsius = engine.running ? 70 + 0.15 * throttle : 15;
  tokens_.set(t.oil_temperature,
              rankine_from_celsius(approach(celsius_from_rankine(tokens_.get(t.oil_temperature)), oil_celsius, 90)));
  const double cht_fahrenheit = engine.running ? 300 + 1.2 * throttle : 59;
  tokens_.set(t.cylinder_head_temperature, approach(tokens_.get(t.cylinder_head_temperature), cht_fahrenheit, 45));
}

double AircraftModel::burn(int engine, double gallons) {
  // Selector 0 off, 1 both sides, 2 left, 3 right.
  const uint32_t selector = to_token_integer(tokens_.get(kEngineTokens[engine].fuel_selector));
  if (selector == 0 || selector > 3) return 0;
  double supplied = 0;
  for (int index : kFeedOrder) {
    const Tank& tank = kTanks[index];
    if ((selector == 2 && tank.side != 0) || (selector == 3 && tank.side != 1)) continue;
    AircraftVariables::Kept& quantity_left = tanks_[size_t(index)].quantity;
    const double quantity = quantity_left.get();
    if (!(quantity > 0)) continue;
    const double taken = std::min(quantity, gallons - supplied);
    quantity_left.set(quantity - taken);
    supplied += taken;
    if (supplied >= gallons) break;
  }
  return supplied;
}

void AircraftModel::update_fuel_totals() {
  double quantity[3] = {}, capacity[3] = {};  // left, right, all
  for (size_t i = 0; i < tanks_.size(); ++i) {
    const double q = tanks_[i].quantity.get(), c = tanks_[i].capacity.get();
    tanks_[i].level.set(c > 0 ? 100.0 * q / c : 0.0);
    if (kTanks[i].side >= 0) {
      quantity[kTanks[i].side] += q;
      capacity[kTanks[i].side] += c;
    }
    quantity[2] += q;
    capacity[2] += c;
  }
  for (size_t g = 0; g < groups_.size(); ++g) {
    groups_[g].quantity.set(quantity[g]);
    groups_[g].capacity.set(capacity[g]);
  }
}

}  // namespace host
