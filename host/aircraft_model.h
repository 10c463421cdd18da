// The built-in aircraft: a four-engine piston aircraft with eleven fuel tanks.
// It acts on every key event the modules send and, when live, runs its engines
// and burns fuel with every tick. Its state lives in the token and aircraft
// variables themselves, so a script can set any of them between ticks.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "aircraft_variables.h"
#include "panel_host.h"
#include "variables.h"

namespace host {

class AircraftModel : public Simulation {
 public:
  static constexpr int kEngines = 4;
  static constexpr double kTickSeconds = 1.0 / 18.0;  // the panel updates 18 times a second

  AircraftModel(TokenVariables& tokens, AircraftVariables& variables);

  // A panel window's visibility toggles when its ident comes with key event 66506.
  void set_window_toggle(std::function<void(uint32_t ident)> toggle) { window_toggle_ = std::move(toggle); }

  // Live: cold and dark with the default fuel load, then running with every tick.
  void go_live();
  void go_static() { live_ = false; }  // everything stays as it stands
  bool live() const { return live_; }
  void on_tick() override;  // once per panel update
  void on_key_event(const KeyEvent& event) override;

  // The engine's token identifiers (engine 0 to 3).
  struct EngineTokens {
    uint32_t rpm, manifold_pressure, fuel_flow, oil_pressure, oil_temperature, cylinder_head_temperature;
    uint32_t starter, left_magneto, right_magneto, fuel_selector;
  };
  static const EngineTokens& engine_tokens(int engine);
  // What an event the aircraft acts on does, for people reading a log of
  // them ("engine 2 starter"); empty for an event it does not know.
  static std::string describe(const KeyEvent& event);
  bool running(int engine) const { return engines_[engine].running; }

 private:
  struct Engine {
    bool running = false;
    int starter_ticks = 0;  // the starter stays engaged this many more ticks
  };
  void set_magnetos(int engine, int position);
  void run_engine(int engine);
  double burn(int engine, double gallons);  // what the selected tanks could give
  void update_fuel_totals();

  TokenVariables& tokens_;
  AircraftVariables& variables_;
  // Its own variables, found once: the tick reads and writes them in place.
  struct TankVariables {
    AircraftVariables::Kept quantity, capacity, level;
  };
  struct GroupVariables {
    AircraftVariables::Kept quantity, capacity;
  };
  std::vector<TankVariables> tanks_;    // as kTanks
  std::vector<GroupVariables> groups_;  // left, right, all
  std::vector<AircraftVariables::Kept> throttles_;
  AircraftVariables::Kept tailwheel_lock_;
  std::array<Engine, kEngines> engines_{};
  std::function<void(uint32_t)> window_toggle_;
  bool live_ = false;
};

}  // namespace host
