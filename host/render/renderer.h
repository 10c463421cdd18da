// Draws gauges the way the simulator does: each element of the chain over its
// parent, needles turned about their pivot, icons by index, pure black left
// out, and at night only lit elements at full brightness.
#pragma once

#include <cairo.h>

#include <map>
#include <memory>
#include <string>

#include "module_art.h"
#include "panel_layout.h"
#include "session.h"

namespace host {

struct RenderOptions {
  bool night = false;
  bool outline_mouse = false;  // authoring aid: every click box and tooltip region
  double scale = 1.0;
};

class Renderer {
 public:
  const ModuleArt& art(const LoadedModule& module);

  // The gauge's own size in pixels: its root bitmap's.
  std::pair<int, int> native_size(const GaugeInstance& gauge);
  void draw_gauge(cairo_t* cr, const GaugeInstance& gauge, double x, double y, double width, double height,
                  const RenderOptions& options);

  // Where the session's windows and gauges are drawn; valid until the next call.
  const PanelLayout& layout(Session& session);
  // The loaded panel's visible windows, or without a panel the placed gauges
  // side by side at their own size. The caller destroys the surface.
  cairo_surface_t* draw_session(Session& session, const RenderOptions& options);
  // The same into an image the caller keeps, sized from layout() and the scale.
  void draw_session_into(cairo_surface_t* image, Session& session, const RenderOptions& options);
  // Every placed gauge once, in a grid, each labelled MODULE!GAUGE.
  cairo_surface_t* draw_gallery(Session& session, const RenderOptions& options);
  // Throws HostError naming the file when it cannot be written.
  void write_png(Session& session, const std::string& path, const RenderOptions& options);
  static void save(cairo_surface_t* image, const std::string& path);

 private:
  void draw_layout(cairo_t* cr, const PanelLayout& layout, const RenderOptions& options);
  std::map<const LoadedModule*, std::shared_ptr<ModuleArt>> art_;
  PanelLayout layout_;
};

}  // namespace host
