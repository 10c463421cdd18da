// The picture panelhost serve sends with every changed update: the demo panel
// encoded by its quick encoder, against cairo's own PNG writer.
#include "demo_panel.h"
#include "render/renderer.h"
#include "serve/png_encoder.h"

namespace {

cairo_status_t append(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

struct DemoPicture {
  host::Renderer renderer;
  cairo_surface_t* image = renderer.draw_session(bench::demo_panel(), {});
  ~DemoPicture() { cairo_surface_destroy(image); }
};

void BM_Picture_QuickPng(benchmark::State& state) {
  DemoPicture picture;
  std::string png;
  for (auto _ : state) benchmark::DoNotOptimize(host::serve::encode_png_quickly(picture.image, png));
  state.counters["bytes"] = double(png.size());
}
BENCHMARK(BM_Picture_QuickPng)->Unit(benchmark::kMillisecond);

void BM_Picture_CairoPng(benchmark::State& state) {
  DemoPicture picture;
  std::string png;
  for (auto _ : state) {
    png.clear();
    cairo_surface_write_to_png_stream(picture.image, append, &png);
  }
  state.counters["bytes"] = double(png.size());
}
BENCHMARK(BM_Picture_CairoPng)->Unit(benchmark::kMillisecond);

}  // namespace
