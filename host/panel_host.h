// The substitute panel host: loads modules, places gauges, runs the update
// cycle, and answers the modules' calls through its function table.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calibration.h"
#include "module_loader.h"
#include "named_variables.h"
#include "variables.h"

namespace host {

class HostError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the host keeps per element of a placed gauge.
struct ElementState {
  ElementView view;
  NeedleScale scale;          // needles only
  double reading = 0.0;       // last value its update callback returned
  bool has_reading = false;
  double angle = 0.0;         // needles: where it is drawn, unwrapped degrees
  double target_angle = 0.0;
  int icon_index = 0;         // icons: the image shown
};

// Where a panel file put a gauge; a gauge placed by itself has no window.
struct Placement {
  int window = -1;
  int x = 0, y = 0;
  int width = 0, height = 0;  // 0: the gauge's own size
};

struct GaugeInstance {
  std::string module_name;  // as the gauge was asked for, e.g. "lubepress"
  std::string alias;        // the name given with "place ... as NAME"
  int ordinal = 1;          // 2 for the second instance of the same gauge, ...
  Placement placement;
  LoadedModule* module = nullptr;
  const GaugeView* gauge = nullptr;
  std::vector<ElementState> elements;
  int width = 0, height = 0;  // the root bitmap's pixels; 0 while unknown
  int serial = 0;
};

struct Tooltip {
  enum class Kind { None, Help, Text };
  Kind kind = Kind::None;
  uint32_t help_id = 0;
  std::string text;
};

// Every call a frame routine made into the host, for checking what it passed.
struct FrameCall {
  std::string_view operation;
  ELEMENT_HEADER* root;
  std::optional<uint32_t> argument;
  int32_t result;
};

// Answers calculator reads; the aircraft model stands behind it.
class ExpressionEvaluator {
 public:
  virtual ~ExpressionEvaluator() = default;
  virtual std::optional<double> evaluate(std::string_view expression, TextAt text) = 0;
};

// The simulated aircraft behind the panel: it acts on key events and advances
// once at the start of every panel update.
class Simulation {
 public:
  virtual ~Simulation() = default;
  virtual void on_key_event(const KeyEvent& event) = 0;
  virtual void on_tick() = 0;
};

class PanelHost {
 public:
  explicit PanelHost(std::string gauges_dir);
  ~PanelHost();
  PanelHost(const PanelHost&) = delete;
  PanelHost& operator=(const PanelHost&) = delete;

  void set_gauges_dir(std::string dir) { gauges_dir_ = std::move(dir); }
  const std::string& gauges_dir() const { return gauges_dir_; }
  void set_evaluator(ExpressionEvaluator* evaluator) { evaluator_ = evaluator; }
  void set_simulation(Simulation* simulation) { simulation_ = simulation; }

  // The module MODULE.gau from the gauges folder, loaded on first use.
  LoadedModule& module(std::string_view name);
  // Builds one instance of MODULE!GAUGE and sends it service message 4.
  GaugeInstance& place(std::string_view module_name, std::string_view gauge_name, std::string alias = {});
  // MODULE!GAUGE, MODULE!GAUGE#N or an alias; null when nothing answers to it.
  GaugeInstance* find(std::string_view handle);
  const std::vector<std::unique_ptr<GaugeInstance>>& instances() const { return instances_; }

  void tick(int count = 1);
  void update(GaugeInstance& gauge);
  // A single click; true when a click box answered it.
  bool click(GaugeInstance& gauge, int x, int y, uint32_t button = MOUSE_LEFTSINGLE);
  // The left button pressed on a gauge and kept down: one click now and, on a
  // box that repeats, one more before every update until release().
  bool press(GaugeInstance& gauge, int x, int y);
  void release() { pressed_.reset(); }
  bool pressed() const { return pressed_.has_value(); }
  // press(), `ticks` updates, release().
  void hold(GaugeInstance& gauge, int x, int y, int ticks);
  const Tooltip& hover(GaugeInstance& gauge, int x, int y);
  const Tooltip& tooltip() const { return tooltip_; }
  void send_message(GaugeInstance& gauge, int32_t message);

  NamedVariables& named() { return named_; }
  TokenVariables& tokens() { return tokens_; }
  const std::vector<KeyEvent>& events() const { return events_; }
  void clear_events() { events_.clear(); }
  // The most recent calls, oldest first.
  std::vector<FrameCall> frame_calls() const;

  // ---- the host function table's side ----
  static PanelHost* active() { return active_host_; }
  PANELS* panels();
  // Two overloads rather than an optional: this runs for every gauge update.
  int32_t record_frame_call(const char* operation, ELEMENT_HEADER* root);
  int32_t record_frame_call(const char* operation, ELEMENT_HEADER* root, uint32_t argument);
  bool evaluate(const char* expression, double* result);
  void trigger_key_event(uint32_t id, uint32_t value);
  // Whether a pointer a module handed over lies inside one of the loaded modules.
  bool holds(const void* p, size_t size) const;
  bool holds_string(const char* text, size_t max_length = 256) const;
  std::optional<std::string_view> string_inside(const char* text, size_t max_length = 256,
                                                TextAt* lifetime = nullptr) const;

 private:
  void run_element_callbacks(GaugeInstance& gauge);

  // The host the modules' calls go to: the one that last called into a module.
  static inline PanelHost* active_host_ = nullptr;

  std::string gauges_dir_;
  std::map<std::string, std::unique_ptr<LoadedModule>, std::less<>> modules_;
  ModuleImage all_images_;  // every loaded module's ranges, for the pointer checks
  struct KnownString {
    const char* text = nullptr;
    size_t length = 0;
  };
  mutable std::array<KnownString, 256> known_strings_{};  // modules are never unloaded while the host runs
  std::vector<std::unique_ptr<GaugeInstance>> instances_;
  NamedVariables named_;
  TokenVariables tokens_;
  std::vector<KeyEvent> events_;
  std::array<FrameCall, 256> frame_calls_{};
  uint64_t frame_calls_recorded_ = 0;
  Tooltip tooltip_;
  struct Press {
    const MOUSERECT* box;
    PIXPOINT where;
  };
  std::optional<Press> pressed_;
  ExpressionEvaluator* evaluator_ = nullptr;
  Simulation* simulation_ = nullptr;
  int next_serial_ = 0;
  int32_t frame_call_count_ = 0;
};

}  // namespace host
