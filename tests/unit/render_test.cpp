// What the renderer draws, checked on its pixels: needles along the rays to
// their calibration points, see-through black, lit gauges at night, icons,
// and placement at another size.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "render/renderer.h"
#include "session.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Picture {
  cairo_surface_t* surface;
  explicit Picture(cairo_surface_t* s) : surface(s) { cairo_surface_flush(s); }
  ~Picture() { cairo_surface_destroy(surface); }
  int width() const { return cairo_image_surface_get_width(surface); }
  int height() const { return cairo_image_surface_get_height(surface); }
  uint32_t at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return 0;
    const auto* row = cairo_image_surface_get_data(surface) + size_t(y) * size_t(cairo_image_surface_get_stride(surface));
    return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
  }
  // Mean channel value over the middle of the picture, inside any dial.
  double brightness() const {
    double sum = 0;
    for (int y = height() / 4; y < height() * 3 / 4; ++y)
      for (int x = width() / 4; x < width() * 3 / 4; ++x) {
        const uint32_t p = at(x, y);
        sum += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
      }
    return sum / (width() / 2 * (height() / 2));
  }
};

Picture draw(host::Renderer& renderer, const host::GaugeInstance& gauge, double scale = 1.0, bool night = false) {
  const auto [w, h] = renderer.native_size(gauge);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(w * scale), int(h * scale));
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 0, 0.5, 0);  // green: what lies behind the gauge
  cairo_paint(cr);
  host::RenderOptions options;
  options.night = night;
  renderer.draw_gauge(cr, gauge, 0, 0, w * scale, h * scale, options);
  cairo_destroy(cr);
  return Picture(surface);
}

std::vector<std::string> built_modules() {
  std::vector<std::string> modules;
  for (const auto& entry : std::filesystem::directory_iterator(GAUGES_DIR)) {
    if (entry.path().extension() == ".gau") modules.push_back(entry.path().stem().string());
  }
  std::sort(modules.begin(), modules.end());
  return modules;
}

// Every needle of every module, at every calibration point: its blade lies on
// the ray from the needle position toward the point, and not on the opposite ray.
TEST(Render, EveryNeedleLiesAlongTheRayToEachCalibrationPoint) {
  host::Session session(GAUGES_DIR);
  host::Renderer renderer;
  int checked = 0;
  for (const std::string& module : built_modules()) {
    for (const host::GaugeView& view : session.host().module(module).gauges()) {
      host::GaugeInstance& gauge = session.host().place(module, view.name);
      for (host::ElementState& needle : gauge.elements) {
        const ELEMENT_NEEDLE* record = needle.view.needle();
        if (!record) continue;
        const auto needle_bitmap = gauge.module->bitmap_size(record->header.bitmap);
        const double blade = needle_bitmap.first - record->header.pivot.x;
        for (const NONLINEARITY* point = record->calibration; point != record->calibration + record->calibration_points; ++point) {
          needle.angle = needle.scale.angle_for(point->value);
          // The other needles stand out of the way, across the ray.
          for (host::ElementState& other : gauge.elements) {
            if (other.view.needle() && &other != &needle) other.angle = needle.angle + 90;
          }
          const Picture here = draw(renderer, gauge);
          needle.angle += 180;
          const Picture turned = draw(renderer, gauge);
          const double dx = point->point.x - record->header.position.x, dy = point->point.y - record->header.position.y;
          const double length = std::hypot(dx, dy);
          int on_ray = 0, samples = 0;
          // Between the hub and the numerals, which are as white as a blade.
          for (double r = blade * 0.3; r <= blade * 0.6; r += 2, ++samples) {
            const int x = int(std::lround(record->header.position.x + dx / length * r));
            const int y = int(std::lround(record->header.position.y + dy / length * r));
            on_ray += here.at(x, y) != turned.at(x, y);
          }
          EXPECT_GE(on_ray * 10, samples * 8) << module << "!" << view.name << " depth " << needle.view.depth
                                              << " reading " << point->value;
          ++checked;
        }
      }
    }
  }
  EXPECT_GT(checked, 0);
}

TEST(Render, PureBlackShowsWhatLiesBehind) {
  host::Session session(GAUGES_DIR);
  host::Renderer renderer;
  const host::GaugeInstance& gauge = session.host().place("lubepress", "oil_pressure");
  const Picture picture = draw(renderer, gauge);
  EXPECT_EQ(picture.at(0, 0), 0x008000u) << "the dial's corner is see-through";
  EXPECT_NE(picture.at(151, 100), 0x008000u) << "the face covers the middle";
}

TEST(Render, ALitGaugeIsMarkedlyBrighterAtNight) {
  host::Session session(GAUGES_DIR);
  host::Renderer renderer;
  host::GaugeInstance& gauge = session.host().place("lubepress", "oil_pressure");
  session.host().tick();
  const double unlit = draw(renderer, gauge, 1.0, true).brightness();
  session.host().click(gauge, 150, 150);
  session.host().tick();
  const double lit = draw(renderer, gauge, 1.0, true).brightness();
  EXPECT_GT(lit, unlit * 2.5);
  const double day = draw(renderer, gauge).brightness();
  EXPECT_GT(day, unlit * 2.5);
}

TEST(Render, AGaugePlacedAtHalfSizeDrawsAtHalfSize) {
  host::Session session(GAUGES_DIR);
  host::Renderer renderer;
  const host::GaugeInstance& gauge = session.host().place("lubepress", "oil_pressure");
  const Picture full = draw(renderer, gauge);
  const Picture half = draw(renderer, gauge, 0.5);
  ASSERT_EQ(half.width(), 151);
  int close = 0, total = 0;
  for (int y = 4; y < 147; y += 7) {
    for (int x = 4; x < 147; x += 7, ++total) {
      const uint32_t a = half.at(x, y), b = full.at(2 * x, 2 * y);
      close += std::abs(int(a >> 16 & 0xFF) - int(b >> 16 & 0xFF)) < 90;
    }
  }
  EXPECT_GT(close * 10, total * 8);
}

TEST(Render, AnIconShowsItsOtherImageWhenItsValueFlips) {
  host::Session session(GAUGES_DIR);
  host::Renderer renderer;
  host::GaugeInstance& gauge = session.host().place("ignitionkeys", "engine1");
  session.host().tick();
  const Picture down = draw(renderer, gauge);
  session.host().tokens().set(133, 1);  // engine 1 left magneto: its lever, at depth 2
  session.host().tick();
  ASSERT_EQ(gauge.elements[2].icon_index, 1);
  const Picture up = draw(renderer, gauge);
  int differing = 0, elsewhere = 0;
  for (int y = 0; y < 171; ++y) {
    for (int x = 0; x < 85; ++x) {
      const bool on_lever = x >= 5 && x < 39 && y >= 109 && y < 153;
      (on_lever ? differing : elsewhere) += up.at(x, y) != down.at(x, y);
    }
  }
  EXPECT_EQ(elsewhere, 0);
  EXPECT_GT(differing, 100);
}

}  // namespace

namespace {

// The electrical panel button shows and hides window 40 of the demo panel.
TEST(Render, TheElectricalPanelButtonShowsAndHidesItsWindow) {
  host::Session session(GAUGES_DIR);
  std::ostringstream warnings;
  session.load_panel(std::string(SOURCE_DIR) + "/panels/demo/panel.cfg", false, warnings);
  host::Renderer renderer;
  session.host().tick();
  auto window_pixel = [&] {
    Picture picture(renderer.draw_session(session, {}));
    return picture.at(1070, 540);  // inside window 40, over the main panel
  };
  const uint32_t hidden = window_pixel();
  ASSERT_FALSE(session.window_visible(1));
  host::GaugeInstance* button = session.host().find("switchbank!electrical panel");
  ASSERT_NE(button, nullptr);
  session.host().click(*button, 10, 10);
  EXPECT_TRUE(session.window_visible(1));
  EXPECT_NE(window_pixel(), hidden);
  session.host().click(*button, 10, 10);
  EXPECT_FALSE(session.window_visible(1));
  EXPECT_EQ(window_pixel(), hidden);
}

}  // namespace

namespace {

// A point of the picture maps to the gauge drawn there, in the gauge's own
// pixels whatever size it was placed at; a shown window covers what lies below.
TEST(Render, PicturePointsMapToTheGaugeDrawnThere) {
  host::Session session(GAUGES_DIR);
  std::ostringstream warnings;
  session.load_panel(std::string(SOURCE_DIR) + "/panels/demo/panel.cfg", false, warnings);
  host::Renderer renderer;
  int gx = -1, gy = -1;

  const host::LaidOutGauge* rpm = renderer.layout(session).gauge_at(20 + 75, 20 + 150 - 0.1, &gx, &gy);
  ASSERT_NE(rpm, nullptr);
  EXPECT_EQ(rpm->gauge, session.host().find("tachometer!engine1"));
  EXPECT_EQ(gx, rpm->native_width / 2);
  EXPECT_EQ(gy, rpm->native_height - 1);
  EXPECT_EQ(renderer.layout(session).gauge_at(19.9, 100, &gx, &gy), nullptr);

  session.set_window_visible(1, true);
  const host::PanelLayout& shown = renderer.layout(session);
  ASSERT_EQ(shown.windows.size(), 2u);
  const host::LayoutRect window = shown.windows[1].rect;
  const host::LaidOutGauge* battery = shown.gauge_at(window.x + 15, window.y + 25, &gx, &gy);
  ASSERT_NE(battery, nullptr);
  EXPECT_EQ(battery->gauge, session.host().find("switchbank!battery"));
  EXPECT_EQ(std::pair(gx, gy), std::pair(0, 0));
  EXPECT_EQ(shown.gauge_at(window.x + 1, window.y + 1, &gx, &gy), nullptr) << "the window's own background";
}

}  // namespace
