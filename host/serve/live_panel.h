// A panel running live for the browser: the session ticks on its own thread
// 18 times a second, and every request reads or drives it under one lock,
// because the host and the modules are single-threaded.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "render/renderer.h"
#include "session.h"

namespace host::serve {

struct WindowInfo {
  int index;
  std::string title;
  bool visible;
};

struct LoggedEvent {
  uint64_t serial;  // counts every event since start, so the page can tell new ones
  KeyEvent event;
};

struct GaugeInfo {
  std::string name;  // MODULE!GAUGE, #N for a later instance
  int window;
  LayoutRect rect;
  int native_width, native_height;
};

// The picture as it stands: `frame` grows only when its pixels change.
struct Frame {
  uint64_t frame = 0;
  int width = 0, height = 0;
  std::shared_ptr<const std::string> png;
};

// What a pointer action hit: the gauge and the point in its own pixels.
struct PointerResult {
  std::optional<std::string> gauge;
  int gauge_x = 0, gauge_y = 0;
  bool answered = false;  // a click box took it
  std::string tooltip;    // hover only
};

class LivePanel {
 public:
  static constexpr size_t kLoggedEvents = 40;

  // Loads the panel (warnings go to `warnings`) and starts the aircraft live;
  // the clock starts with start().
  LivePanel(const std::string& gauges_dir, const std::string& panel_path, bool night, std::ostream& warnings);
  ~LivePanel();
  LivePanel(const LivePanel&) = delete;
  LivePanel& operator=(const LivePanel&) = delete;

  void start();
  void stop();

  Frame frame();
  std::vector<WindowInfo> windows();
  bool set_window_visible(int index, bool visible);  // false: no such window
  bool night();
  void set_night(bool night);
  std::vector<LoggedEvent> recent_events();  // newest first
  std::vector<GaugeInfo> gauges();           // the visible ones, where they are drawn
  uint64_t ticks();
  // Runs `look` on the session under the panel's lock: for checks from outside.
  template <typename Look>
  auto with_session(Look look) {
    std::lock_guard lock(mutex_);
    return look(session_);
  }

  // Points are in picture pixels at scale 1.
  PointerResult click(double x, double y, bool right_button);
  PointerResult press(double x, double y);
  void release();
  PointerResult hover(double x, double y);

 private:
  void run_clock();
  void run_painter();
  Frame draw_frame();
  void tick_locked();
  void harvest_events_locked();
  std::vector<bool> visibility_locked();
  const LaidOutGauge* gauge_at_locked(double x, double y, PointerResult& result);

  std::mutex mutex_;
  Session session_;
  Renderer renderer_;
  bool night_;
  uint64_t ticks_ = 0;
  uint64_t event_serial_ = 0;
  std::deque<LoggedEvent> events_;

  // The last picture, kept until the tick, lighting or windows change;
  // picture_mutex_ guards it, and is never taken while holding mutex_.
  std::mutex picture_mutex_;
  struct CacheKey {
    uint64_t ticks;
    bool night;
    std::vector<bool> visible;
    bool operator==(const CacheKey&) const = default;
  };
  std::optional<CacheKey> cached_key_;
  std::vector<unsigned char> cached_pixels_;
  Frame cached_frame_;

  std::condition_variable clock_wakeup_, painter_wakeup_;
  std::chrono::steady_clock::time_point last_asked_;  // the last request for a picture
  bool stopping_ = false;
  std::thread clock_, painter_;
};

std::string gauge_name(const GaugeInstance& gauge);

}  // namespace host::serve
