// Where everything of a session lands in the drawn picture: each visible
// window's rectangle and each placed gauge's. Drawing and pointer hit-testing
// share it, so a click lands on the gauge the picture shows there.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "session.h"

namespace host {

class Renderer;

struct LayoutRect {
  double x = 0, y = 0, width = 0, height = 0;
  bool contains(double px, double py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

struct LaidOutGauge {
  GaugeInstance* gauge;
  LayoutRect rect;
  int native_width, native_height;  // the gauge's own pixels, which rect scales
};

struct LaidOutMissing {
  const MissingGauge* missing;
  LayoutRect rect;
};

struct LaidOutWindow {
  int index = -1;  // -1: gauges placed without a panel, side by side
  std::string_view title;
  LayoutRect rect;
  std::array<double, 3> background{};  // 0..1
  std::vector<LaidOutGauge> gauges;
  std::vector<LaidOutMissing> missing;
};

struct PanelLayout {
  std::vector<LaidOutWindow> windows;  // in drawing order, visible ones only
  int width = 1, height = 1;           // the whole picture's pixels, before any scale

  // The topmost gauge under a picture point and the point in that gauge's own
  // pixels; null when no gauge is there.
  const LaidOutGauge* gauge_at(double x, double y, int* gauge_x, int* gauge_y) const;
};

// Refills `layout` in place, so a live panel lays itself out without
// allocating once the vectors have grown.
void lay_out(Session& session, Renderer& renderer, PanelLayout& layout);

}  // namespace host
