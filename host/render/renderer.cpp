#include "renderer.h"

#include <algorithm>
#include <cmath>

#include "mouse.h"

namespace host {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr int kWindowGap = 12;
constexpr double kDefaultBackground[3] = {0.16, 0.17, 0.18};

void draw_missing(cairo_t* cr, double x, double y, double w, double h, const std::string& what) {
  cairo_save(cr);
  cairo_set_source_rgb(cr, 1, 0, 1);
  cairo_set_line_width(cr, 2);
  cairo_rectangle(cr, x + 1, y + 1, std::max(2.0, w - 2), std::max(2.0, h - 2));
  cairo_stroke(cr);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, 10);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  cairo_move_to(cr, x + 5, y + 14);
  cairo_show_text(cr, ("missing: " + what).c_str());
  cairo_restore(cr);
}

void outline_mouse(cairo_t* cr, const GaugeInstance& gauge) {
  cairo_save(cr);
  cairo_set_line_width(cr, 1.5);
  for (const MOUSERECT* r : gauge.gauge->mouse) {
    if (r->width <= 0 || r->height <= 0) continue;
    if (r->kind == MOUSE_CHILD) {
      cairo_set_source_rgba(cr, 0.1, 0.9, 1.0, 0.9);
    } else if (r->kind == MOUSE_PARENT) {
      cairo_set_source_rgba(cr, 1.0, 0.85, 0.1, 0.8);
    } else {
      continue;
    }
    cairo_rectangle(cr, r->x + 0.5, r->y + 0.5, r->width - 1, r->height - 1);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}
}  // namespace

const ModuleArt& Renderer::art(const LoadedModule& module) {
  auto& slot = art_[&module];
  if (!slot) slot = ModuleArt::load(module.path());
  return *slot;
}

std::pair<int, int> Renderer::native_size(const GaugeInstance& gauge) {
  const ModuleArt::Picture* root = art(*gauge.module).find(gauge.gauge->chain[0].header->bitmap);
  return root ? std::pair{root->width, root->height} : std::pair{100, 100};
}

void Renderer::draw_gauge(cairo_t* cr, const GaugeInstance& gauge, double x, double y, double width, double height,
                          const RenderOptions& options) {
  const ModuleArt& pictures = art(*gauge.module);
  const auto [native_w, native_h] = native_size(gauge);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, width / native_w, height / native_h);
  cairo_rectangle(cr, 0, 0, native_w, native_h);
  cairo_clip(cr);
  for (const ElementState& state : gauge.elements) {
    const ELEMENT_HEADER& element = *state.view.header;
    const Look look = !options.night ? Look::Day : (element.image_flags & IMAGE_LUMINOUS) ? Look::NightLit : Look::NightDark;
    uint32_t bitmap = element.bitmap;
    if (state.view.icon()) bitmap += uint32_t(state.icon_index);
    cairo_surface_t* surface = pictures.surface(bitmap, look);
    if (!surface) continue;  // a bitmap the module does not carry draws nothing
    cairo_save(cr);
    if (state.view.needle()) {
      cairo_translate(cr, element.position.x, element.position.y);
      // The needle bitmap points along +x, i.e. at 90 degrees clockwise from up.
      cairo_rotate(cr, (state.angle - 90.0) * kPi / 180.0);
      cairo_set_source_surface(cr, surface, -element.pivot.x, -element.pivot.y);
    } else {
      cairo_set_source_surface(cr, surface, element.position.x, element.position.y);
    }
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_paint(cr);
    cairo_restore(cr);
  }
  if (options.outline_mouse) outline_mouse(cr, gauge);
  cairo_restore(cr);
}

void Renderer::draw_panel(cairo_t* cr, Session& session, const RenderOptions& options) {
  const PanelConfig& panel = *session.panel();
  int next_x = 0;
  for (const PanelWindow& window : panel.windows) {
    if (!session.window_visible(size_t(window.index))) continue;
    // Gauges placed without a size take their default width in panel units.
    auto extent = [&](const Placement& p, std::pair<int, int> native, uint32_t width_mm) {
      const double w = p.width > 0 ? p.width : width_mm;
      const double h = p.height > 0 ? p.height : w * native.second / std::max(1, native.first);
      return std::pair{w, h};
    };
    int w = window.size_w, h = window.size_h;
    if (w <= 0 || h <= 0) {  // no size: fit the window to its gauges
      for (const auto& g : session.host().instances()) {
        if (g->placement.window != window.index) continue;
        const auto [gw, gh] = extent(g->placement, native_size(*g), g->gauge->header->default_width_mm);
        w = std::max(w, int(std::ceil(g->placement.x + gw)));
        h = std::max(h, int(std::ceil(g->placement.y + gh)));
      }
    }
    const int wx = window.position ? (*window.position)[0] : next_x;
    const int wy = window.position ? (*window.position)[1] : 0;
    next_x = std::max(next_x, wx + w + kWindowGap);

    cairo_save(cr);
    cairo_rectangle(cr, wx, wy, w, h);
    cairo_clip(cr);
    double background[3] = {kDefaultBackground[0], kDefaultBackground[1], kDefaultBackground[2]};
    if (window.background_color) {
      for (int c = 0; c < 3; ++c) background[c] = std::clamp((*window.background_color)[c], 0, 255) / 255.0;
    }
    const double dim = options.night ? 0.25 : 1.0;
    cairo_set_source_rgb(cr, background[0] * dim, background[1] * dim, background[2] * dim);
    cairo_paint(cr);
    for (const auto& g : session.host().instances()) {
      if (g->placement.window != window.index) continue;
      const auto [gw, gh] = extent(g->placement, native_size(*g), g->gauge->header->default_width_mm);
      draw_gauge(cr, *g, wx + g->placement.x, wy + g->placement.y, gw, gh, options);
    }
    for (const MissingGauge& m : session.missing_gauges()) {
      if (m.window != window.index) continue;
      draw_missing(cr, wx + m.placement.x, wy + m.placement.y, m.placement.width > 0 ? m.placement.width : 80,
                   m.placement.height > 0 ? m.placement.height : 80, m.what);
    }
    cairo_restore(cr);
  }
}

cairo_surface_t* Renderer::draw_session(Session& session, const RenderOptions& options) {
  // Measure first: a recording surface knows what was drawn.
  cairo_surface_t* recording = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr);
  cairo_t* cr = cairo_create(recording);
  if (session.panel()) {
    draw_panel(cr, session, options);
  } else {
    double x = 0;
    for (const auto& g : session.host().instances()) {
      const auto [w, h] = native_size(*g);
      draw_gauge(cr, *g, x, 0, w, h, options);
      x += w;
    }
  }
  cairo_destroy(cr);
  double ex, ey, ew, eh;
  cairo_recording_surface_ink_extents(recording, &ex, &ey, &ew, &eh);
  const int width = std::max(1, int(std::ceil((ex + ew) * options.scale)));
  const int height = std::max(1, int(std::ceil((ey + eh) * options.scale)));
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cr = cairo_create(image);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  cairo_scale(cr, options.scale, options.scale);
  cairo_set_source_surface(cr, recording, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(recording);
  return image;
}

cairo_surface_t* Renderer::draw_gallery(Session& session, const RenderOptions& options) {
  constexpr int kCell = 190, kBox = 160, kLabel = 34, kColumns = 8;
  const auto& gauges = session.host().instances();
  const int rows = std::max<int>(1, int((gauges.size() + kColumns - 1) / kColumns));
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kColumns * kCell, rows * (kCell + kLabel));
  cairo_t* cr = cairo_create(image);
  cairo_set_source_rgb(cr, kDefaultBackground[0], kDefaultBackground[1], kDefaultBackground[2]);
  cairo_paint(cr);
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, 11);
  for (size_t i = 0; i < gauges.size(); ++i) {
    const GaugeInstance& g = *gauges[i];
    const double cell_x = double(i % kColumns) * kCell, cell_y = double(i / kColumns) * (kCell + kLabel);
    const auto [w, h] = native_size(g);
    const double fit = std::min(double(kBox) / w, double(kBox) / h);
    draw_gauge(cr, g, cell_x + (kCell - w * fit) / 2, cell_y + 12 + (kBox - h * fit) / 2, w * fit, h * fit, options);
    const std::string label = g.module_name + "!" + g.gauge->name;
    cairo_text_extents_t extents;
    cairo_text_extents(cr, label.c_str(), &extents);
    cairo_set_source_rgb(cr, 0.92, 0.92, 0.92);
    cairo_move_to(cr, cell_x + (kCell - extents.width) / 2, cell_y + kCell + 8);
    cairo_show_text(cr, label.c_str());
  }
  cairo_destroy(cr);
  return image;
}

void Renderer::save(cairo_surface_t* image, const std::string& path) {
  const cairo_status_t status = cairo_surface_write_to_png(image, path.c_str());
  if (status != CAIRO_STATUS_SUCCESS) {
    throw HostError(path + ": cannot write the picture: " + cairo_status_to_string(status));
  }
}

void Renderer::write_png(Session& session, const std::string& path, const RenderOptions& options) {
  cairo_surface_t* image = draw_session(session, options);
  const cairo_status_t status = cairo_surface_write_to_png(image, path.c_str());
  cairo_surface_destroy(image);
  if (status != CAIRO_STATUS_SUCCESS) {
    throw HostError(path + ": cannot write the picture: " + cairo_status_to_string(status));
  }
}

}  // namespace host

// Fontconfig, which cairo uses for text, keeps its font cache for the life of
// the process by design; the sanitizer build's leak checker is told so.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
