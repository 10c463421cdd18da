#include "live_panel.h"

#include <cairo.h>

#include <chrono>
#include <cstring>

#include "png_encoder.h"

namespace host::serve {

namespace {

cairo_status_t append_png_bytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::string gauge_name(const GaugeInstance& gauge) {
  std::string name = gauge.module_name + "!" + (gauge.gauge ? gauge.gauge->name : std::string("?"));
  if (gauge.ordinal > 1) name += "#" + std::to_string(gauge.ordinal);
  return name;
}

LivePanel::LivePanel(const std::string& gauges_dir, const std::string& panel_path, bool night, std::ostream& warnings)
    : session_(gauges_dir), night_(night) {
  session_.load_panel(panel_path, false, warnings);
  session_.aircraft().go_live();
  tick_locked();
}

LivePanel::~LivePanel() { stop(); }

void LivePanel::start() {
  std::lock_guard lock(mutex_);
  if (clock_.joinable()) return;
  stopping_ = false;
  clock_ = std::thread([this] { run_clock(); });
  painter_ = std::thread([this] { run_painter(); });
}

void LivePanel::stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  clock_wakeup_.notify_all();
  painter_wakeup_.notify_all();
  if (clock_.joinable()) clock_.join();
  if (painter_.joinable()) painter_.join();
}

void LivePanel::run_clock() {
  using clock = std::chrono::steady_clock;
  const auto period = std::chrono::duration_cast<clock::duration>(std::chrono::duration<double>(AircraftModel::kTickSeconds));
  auto next = clock::now() + period;
  std::unique_lock lock(mutex_);
  while (!clock_wakeup_.wait_until(lock, next, [this] { return stopping_; })) {
    tick_locked();
    next += period;
    // After a stall (a slow drawing, a suspended process) catch up by skipping, not by racing.
    if (clock::now() > next + 10 * period) next = clock::now() + period;
  }
}

void LivePanel::tick_locked() {
  session_.host().tick();
  ++ticks_;
  harvest_events_locked();
  painter_wakeup_.notify_all();
}

// While a page is watching, each update's picture is encoded as soon as it is
// drawn, so a request finds it ready instead of waiting for the encoder.
void LivePanel::run_painter() {
  std::unique_lock lock(mutex_);
  uint64_t painted = ticks_;
  auto watched = [this] { return std::chrono::steady_clock::now() - last_asked_ < std::chrono::seconds(1); };
  for (;;) {
    painter_wakeup_.wait(lock, [&] { return stopping_ || (ticks_ != painted && watched()); });
    if (stopping_) return;
    painted = ticks_;
    lock.unlock();
    draw_frame();
    lock.lock();
  }
}

void LivePanel::harvest_events_locked() {
  for (const KeyEvent& event : session_.host().events()) {
    events_.push_front({++event_serial_, event});
    if (events_.size() > kLoggedEvents) events_.pop_back();
  }
  session_.host().clear_events();
}

std::vector<bool> LivePanel::visibility_locked() {
  std::vector<bool> visible;
  if (session_.panel()) {
    for (const PanelWindow& window : session_.panel()->windows) visible.push_back(session_.window_visible(size_t(window.index)));
  }
  return visible;
}

Frame LivePanel::frame() {
  {
    std::lock_guard lock(mutex_);
    last_asked_ = std::chrono::steady_clock::now();
  }
  return draw_frame();
}

Frame LivePanel::draw_frame() {
  // One picture at a time; the session is locked only while drawing, so the
  // clock keeps ticking while the PNG is encoded.
  std::lock_guard picture_lock(picture_mutex_);
  cairo_surface_t* image = nullptr;
  {
    std::lock_guard lock(mutex_);
    CacheKey key{ticks_, night_, visibility_locked()};
    if (cached_key_ == key) return cached_frame_;
    cached_key_ = std::move(key);
    RenderOptions options;
    options.night = night_;
    image = renderer_.draw_session(session_, options);
  }
  cairo_surface_flush(image);
  const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
  const size_t bytes = size_t(cairo_image_surface_get_stride(image)) * size_t(height);
  const unsigned char* pixels = cairo_image_surface_get_data(image);
  const bool same = cached_frame_.png && width == cached_frame_.width && height == cached_frame_.height &&
                    cached_pixels_.size() == bytes && std::memcmp(cached_pixels_.data(), pixels, bytes) == 0;
  if (!same) {
    auto png = std::make_shared<std::string>();
    if (!encode_png_quickly(image, *png)) cairo_surface_write_to_png_stream(image, append_png_bytes, png.get());
    cached_pixels_.assign(pixels, pixels + bytes);
    cached_frame_ = {cached_frame_.frame + 1, width, height, std::move(png)};
  }
  cairo_surface_destroy(image);
  return cached_frame_;
}

std::vector<WindowInfo> LivePanel::windows() {
  std::lock_guard lock(mutex_);
  std::vector<WindowInfo> windows;
  if (session_.panel()) {
    for (const PanelWindow& window : session_.panel()->windows) {
      windows.push_back({window.index, window.title, session_.window_visible(size_t(window.index))});
    }
  }
  return windows;
}

bool LivePanel::set_window_visible(int index, bool visible) {
  std::lock_guard lock(mutex_);
  if (!session_.panel()) return false;
  for (const PanelWindow& window : session_.panel()->windows) {
    if (window.index == index) {
      session_.set_window_visible(size_t(index), visible);
      return true;
    }
  }
  return false;
}

bool LivePanel::night() {
  std::lock_guard lock(mutex_);
  return night_;
}

void LivePanel::set_night(bool night) {
  std::lock_guard lock(mutex_);
  night_ = night;
}

std::vector<LoggedEvent> LivePanel::recent_events() {
  std::lock_guard lock(mutex_);
  return {events_.begin(), events_.end()};
}

std::vector<GaugeInfo> LivePanel::gauges() {
  std::lock_guard lock(mutex_);
  std::vector<GaugeInfo> gauges;
  for (const LaidOutWindow& window : renderer_.layout(session_).windows) {
    for (const LaidOutGauge& g : window.gauges) {
      gauges.push_back({gauge_name(*g.gauge), window.index, g.rect, g.native_width, g.native_height});
    }
  }
  return gauges;
}

uint64_t LivePanel::ticks() {
  std::lock_guard lock(mutex_);
  return ticks_;
}

const LaidOutGauge* LivePanel::gauge_at_locked(double x, double y, PointerResult& result) {
  const LaidOutGauge* hit = renderer_.layout(session_).gauge_at(x, y, &result.gauge_x, &result.gauge_y);
  if (hit) result.gauge = gauge_name(*hit->gauge);
  return hit;
}

PointerResult LivePanel::click(double x, double y, bool right_button) {
  std::lock_guard lock(mutex_);
  PointerResult result;
  if (const LaidOutGauge* hit = gauge_at_locked(x, y, result)) {
    result.answered = session_.host().click(*hit->gauge, result.gauge_x, result.gauge_y,
                                            right_button ? MOUSE_RIGHTSINGLE : MOUSE_LEFTSINGLE);
    harvest_events_locked();
  }
  return result;
}

PointerResult LivePanel::press(double x, double y) {
  std::lock_guard lock(mutex_);
  PointerResult result;
  session_.host().release();
  if (const LaidOutGauge* hit = gauge_at_locked(x, y, result)) {
    result.answered = session_.host().press(*hit->gauge, result.gauge_x, result.gauge_y);
    harvest_events_locked();
  }
  return result;
}

void LivePanel::release() {
  std::lock_guard lock(mutex_);
  session_.host().release();
}

PointerResult LivePanel::hover(double x, double y) {
  std::lock_guard lock(mutex_);
  PointerResult result;
  if (const LaidOutGauge* hit = gauge_at_locked(x, y, result)) {
    result.tooltip = session_.host().hover(*hit->gauge, result.gauge_x, result.gauge_y).text;
  }
  return result;
}

}  // namespace host::serve
