#include "renderer.h"

#include <algorithm>
#include <cmath>

#include "mouse.h"

namespace host {

namespace {
constexpr double kPi = 3.14159265358979323846;
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

void Renderer::draw_layout(cairo_t* cr, const PanelLayout& layout, const RenderOptions& options) {
  const double dim = options.night ? 0.25 : 1.0;
  for (const LaidOutWindow& window : layout.windows) {
    cairo_save(cr);
    cairo_rectangle(cr, window.rect.x, window.rect.y, window.rect.width, window.rect.height);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, window.background[0] * dim, window.background[1] * dim, window.background[2] * dim);
    cairo_paint(cr);
    for (const LaidOutGauge& g : window.gauges) {
      draw_gauge(cr, *g.gauge, g.rect.x, g.rect.y, g.rect.width, g.rect.height, options);
    }
    for (const LaidOutMissing& m : window.missing) {
      draw_missing(cr, m.rect.x, m.rect.y, m.rect.width, m.rect.height, m.missing->what);
    }
    cairo_restore(cr);
  }
}

const PanelLayout& Renderer::layout(Session& session) {
  lay_out(session, *this, layout_);
  return layout_;
}

cairo_surface_t* Renderer::draw_session(Session& session, const RenderOptions& options) {
  const PanelLayout& laid_out = layout(session);
  const int width = std::max(1, int(std::ceil(laid_out.width * options.scale)));
  const int height = std::max(1, int(std::ceil(laid_out.height * options.scale)));
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  draw_session_into(image, session, options);
  return image;
}

void Renderer::draw_session_into(cairo_surface_t* image, Session& session, const RenderOptions& options) {
  const PanelLayout& laid_out = layout(session);
  cairo_t* cr = cairo_create(image);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  cairo_scale(cr, options.scale, options.scale);
  draw_layout(cr, laid_out, options);
  cairo_destroy(cr);
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
