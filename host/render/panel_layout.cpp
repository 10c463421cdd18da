#include "panel_layout.h"

#include <algorithm>
#include <cmath>

#include "renderer.h"

namespace host {

namespace {
constexpr int kWindowGap = 12;
constexpr std::array<double, 3> kDefaultBackground = {0.16, 0.17, 0.18};
constexpr double kMissingSize = 80;

// Gauges placed without a size take their default width in panel units and
// keep their own proportions.
LayoutRect placed_rect(const Placement& p, int native_w, int native_h, uint32_t default_width) {
  const double w = p.width > 0 ? p.width : default_width;
  const double h = p.height > 0 ? p.height : w * native_h / std::max(1, native_w);
  return {double(p.x), double(p.y), w, h};
}

LaidOutWindow& next_window(PanelLayout& layout, size_t& used) {
  if (layout.windows.size() <= used) layout.windows.emplace_back();
  LaidOutWindow& window = layout.windows[used++];
  window.gauges.clear();
  window.missing.clear();
  return window;
}
}  // namespace

void lay_out(Session& session, Renderer& renderer, PanelLayout& layout) {
  size_t used = 0;
  if (!session.panel()) {
    LaidOutWindow& strip = next_window(layout, used);
    strip.index = -1;
    strip.title = {};
    strip.background = kDefaultBackground;
    double x = 0, height = 1;
    for (const auto& g : session.host().instances()) {
      const auto [w, h] = renderer.native_size(*g);
      strip.gauges.push_back({g.get(), {x, 0, double(w), double(h)}, w, h});
      x += w;
      height = std::max(height, double(h));
    }
    strip.rect = {0, 0, std::max(1.0, x), height};
  } else {
    int next_x = 0;
    for (const PanelWindow& config : session.panel()->windows) {
      if (!session.window_visible(size_t(config.index))) continue;
      LaidOutWindow& window = next_window(layout, used);
      window.index = config.index;
      window.title = config.title;
      for (const auto& g : session.host().instances()) {
        if (g->placement.window != config.index) continue;
        const auto [nw, nh] = renderer.native_size(*g);
        window.gauges.push_back({g.get(), placed_rect(g->placement, nw, nh, g->gauge->header->default_width_mm), nw, nh});
      }
      for (const MissingGauge& m : session.missing_gauges()) {
        if (m.window != config.index) continue;
        window.missing.push_back({&m, {double(m.placement.x), double(m.placement.y),
                                       m.placement.width > 0 ? m.placement.width : kMissingSize,
                                       m.placement.height > 0 ? m.placement.height : kMissingSize}});
      }
      int w = config.size_w, h = config.size_h;
      if (w <= 0 || h <= 0) {  // no size: the window fits its gauges
        for (const LaidOutGauge& g : window.gauges) {
          w = std::max(w, int(std::ceil(g.rect.x + g.rect.width)));
          h = std::max(h, int(std::ceil(g.rect.y + g.rect.height)));
        }
      }
      const int wx = config.position ? (*config.position)[0] : next_x;
      const int wy = config.position ? (*config.position)[1] : 0;
      next_x = std::max(next_x, wx + w + kWindowGap);
      window.rect = {double(wx), double(wy), double(w), double(h)};
      window.background = kDefaultBackground;
      if (config.background_color) {
        for (int c = 0; c < 3; ++c) window.background[size_t(c)] = std::clamp((*config.background_color)[size_t(c)], 0, 255) / 255.0;
      }
      // Gauges are placed relative to their window.
      for (LaidOutGauge& g : window.gauges) g.rect.x += wx, g.rect.y += wy;
      for (LaidOutMissing& m : window.missing) m.rect.x += wx, m.rect.y += wy;
    }
  }
  layout.windows.resize(used);
  double right = 1, bottom = 1;
  for (const LaidOutWindow& window : layout.windows) {
    right = std::max(right, window.rect.x + window.rect.width);
    bottom = std::max(bottom, window.rect.y + window.rect.height);
  }
  layout.width = int(std::ceil(right));
  layout.height = int(std::ceil(bottom));
}

const LaidOutGauge* PanelLayout::gauge_at(double x, double y, int* gauge_x, int* gauge_y) const {
  for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
    if (!window->rect.contains(x, y)) continue;
    for (auto g = window->gauges.rbegin(); g != window->gauges.rend(); ++g) {
      if (!g->rect.contains(x, y)) continue;
      *gauge_x = int(std::floor((x - g->rect.x) * g->native_width / g->rect.width));
      *gauge_y = int(std::floor((y - g->rect.y) * g->native_height / g->rect.height));
      return &*g;
    }
    return nullptr;  // a window hides what lies beneath it
  }
  return nullptr;
}

}  // namespace host
