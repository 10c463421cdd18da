#include "session.h"

#include <ostream>

namespace host {

Session::Session(std::string gauges_dir) : host_(std::move(gauges_dir)), variables_(&host_.named()) {
  host_.set_evaluator(&variables_);
  host_.set_simulation(&aircraft_);
  aircraft_.set_window_toggle([this](uint32_t ident) { toggle_window(ident); });
}

void Session::load_panel(const std::string& path, bool strict, std::ostream& warnings) {
  PanelConfig config = read_panel_config(path);
  auto warn = [&](const std::string& where, const std::string& message) {
    if (strict) throw PanelError(where + ": " + message);
    warnings << where << ": warning: " << message << "\n";
  };
  for (const PanelWarning& warning : config.warnings) warn(warning.file + ":" + std::to_string(warning.line), warning.message);

  for (const PanelWindow& window : config.windows) {
    for (const GaugePlacement& placement : window.gauges) {
      const Placement where{window.index, placement.x.value_or(0), placement.y.value_or(0), placement.width.value_or(0),
                            placement.height.value_or(0)};
      try {
        GaugeInstance& placed = host_.place(placement.module, placement.gauge);
        placed.placement = where;
      } catch (const std::runtime_error& e) {  // a module or gauge that is not there
        warn(config.path + ":" + std::to_string(placement.line), e.what());
        missing_.push_back({window.index, where, placement.module + "!" + placement.gauge});
      }
    }
  }
  visible_.clear();
  for (const PanelWindow& window : config.windows) {
    if (visible_.size() <= size_t(window.index)) visible_.resize(size_t(window.index) + 1, false);
    visible_[size_t(window.index)] = window.visible;
  }
  panel_ = std::move(config);
}

void Session::set_window_visible(size_t window, bool visible) {
  if (window < visible_.size()) visible_[window] = visible;
}

void Session::toggle_window(uint32_t ident) {
  if (!panel_) return;
  for (const PanelWindow& window : panel_->windows) {
    if (window.ident && uint32_t(*window.ident) == ident) {
      set_window_visible(size_t(window.index), !window_visible(size_t(window.index)));
    }
  }
}

}  // namespace host
