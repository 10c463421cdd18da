// One panel session: the host, the built-in aircraft behind it and, when one
// is loaded, the panel file's windows. Scripts, render and serve each run one.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "aircraft_model.h"
#include "aircraft_variables.h"
#include "panel_config.h"
#include "panel_host.h"

namespace host {

// A panel gauge that could not be placed: drawn as a labelled outline.
struct MissingGauge {
  int window;
  Placement placement;
  std::string what;
};

class Session {
 public:
  explicit Session(std::string gauges_dir);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  PanelHost& host() { return host_; }
  AircraftVariables& variables() { return variables_; }
  AircraftModel& aircraft() { return aircraft_; }

  // Places every gauge of the panel file. Unusable lines and gauges that cannot
  // be found are warnings written to `warnings`; with `strict` the first one
  // throws PanelError instead.
  void load_panel(const std::string& path, bool strict, std::ostream& warnings);
  const std::optional<PanelConfig>& panel() const { return panel_; }
  const std::vector<MissingGauge>& missing_gauges() const { return missing_; }
  bool window_visible(size_t window) const { return window < visible_.size() && visible_[window]; }
  void set_window_visible(size_t window, bool visible);
  // Key event 66506 with a window's ident shows or hides that window.
  void toggle_window(uint32_t ident);

 private:
  PanelHost host_;
  AircraftVariables variables_;
  AircraftModel aircraft_{host_.tokens(), variables_};
  std::optional<PanelConfig> panel_;
  std::vector<bool> visible_;
  std::vector<MissingGauge> missing_;
};

}  // namespace host
