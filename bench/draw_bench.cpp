// One frame of the demo panel at its own size, against compositing the same
// element bitmaps at the same places and scales with no rotation and no
// lighting: what turning needles and choosing looks add to plain blitting.
#include "demo_panel.h"
#include "render/renderer.h"

namespace {

struct Canvas {
  host::Renderer renderer;
  cairo_surface_t* image;
  Canvas() {
    const host::PanelLayout& layout = renderer.layout(bench::demo_panel());
    image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, layout.width, layout.height);
    renderer.draw_session_into(image, bench::demo_panel(), {});  // bitmaps converted here, once
  }
  ~Canvas() { cairo_surface_destroy(image); }
};

void BM_Draw_DemoPanel(benchmark::State& state) {
  Canvas canvas;
  host::Session& session = bench::demo_panel();
  const bench::AllocationsPerIteration allocations;
  for (auto _ : state) {
    canvas.renderer.draw_session_into(canvas.image, session, {});
    cairo_surface_flush(canvas.image);
  }
  allocations.report(state, "frame");
  state.counters["frames_per_second"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Draw_DemoPanel)->Unit(benchmark::kMillisecond);

void BM_Draw_PlainCompositing(benchmark::State& state) {
  Canvas canvas;
  host::Session& session = bench::demo_panel();
  const host::PanelLayout& layout = canvas.renderer.layout(session);
  for (auto _ : state) {
    cairo_t* cr = cairo_create(canvas.image);
    for (const host::LaidOutWindow& window : layout.windows) {
      cairo_save(cr);
      cairo_rectangle(cr, window.rect.x, window.rect.y, window.rect.width, window.rect.height);
      cairo_clip(cr);
      cairo_set_source_rgb(cr, window.background[0], window.background[1], window.background[2]);
      cairo_paint(cr);
      for (const host::LaidOutGauge& g : window.gauges) {
        const host::ModuleArt& art = canvas.renderer.art(*g.gauge->module);
        cairo_save(cr);
        cairo_translate(cr, g.rect.x, g.rect.y);
        cairo_scale(cr, g.rect.width / g.native_width, g.rect.height / g.native_height);
        for (const host::ElementState& element : g.gauge->elements) {
          const ELEMENT_HEADER& header = *element.view.header;
          cairo_surface_t* surface = art.surface(header.bitmap + uint32_t(element.icon_index), host::Look::Day);
          if (!surface) continue;
          const PIXPOINT at = element.view.needle() ? PIXPOINT{header.position.x - header.pivot.x,
                                                               header.position.y - header.pivot.y}
                                                    : header.position;
          cairo_set_source_surface(cr, surface, at.x, at.y);
          cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
          cairo_paint(cr);
        }
        cairo_restore(cr);
      }
      cairo_restore(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(canvas.image);
  }
}
BENCHMARK(BM_Draw_PlainCompositing)->Unit(benchmark::kMillisecond);

}  // namespace
