#include "panel_host.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>

#include "help_texts.h"
#include "module_code.h"
#include "mouse.h"
#include "tooltip_format.h"

namespace host {

namespace {
constexpr size_t kExpressionLength = 4096;

int icon_index_for(double value, uint32_t icon_count) {
  if (std::isnan(value) || value < 1.0 || icon_count < 2) return 0;
  if (value >= double(icon_count - 1)) return static_cast<int>(icon_count - 1);
  return static_cast<int>(value);
}
}  // namespace

PanelHost::PanelHost(std::string gauges_dir) : gauges_dir_(std::move(gauges_dir)) { active_host_ = this; }

PanelHost::~PanelHost() {
  for (auto& instance : instances_) instance->gauge->header->kill();
  instances_.clear();
  all_images_ = {};  // nothing a module hands over while it unloads is followed
  known_strings_ = {};
  modules_.clear();
  if (active_host_ == this) active_host_ = nullptr;
}

LoadedModule& PanelHost::module(std::string_view name) {
  if (auto found = modules_.find(name); found != modules_.end()) return *found->second;
  if (name.empty() || name.find("..") != std::string_view::npos) {
    throw HostError("bad module name '" + std::string(name) + "'");
  }
  active_host_ = this;
  auto loaded = LoadedModule::load(gauges_dir_ + "/" + std::string(name) + ".gau", panels());
  LoadedModule& result = *loaded;
  modules_.emplace(std::string(name), std::move(loaded));
  all_images_.add(result.image());
  result.start();
  return result;
}

GaugeInstance& PanelHost::place(std::string_view module_name, std::string_view gauge_name, std::string alias) {
  LoadedModule& loaded = module(module_name);
  const GaugeView* view = loaded.find_gauge(gauge_name);
  if (!view) {
    throw HostError(loaded.path() + ": no gauge named \"" + std::string(gauge_name) + "\"");
  }
  auto instance = std::make_unique<GaugeInstance>();
  instance->module = &loaded;
  instance->gauge = view;
  instance->serial = next_serial_++;
  instance->module_name = std::string(module_name);
  std::tie(instance->width, instance->height) = loaded.bitmap_size(view->chain[0].header->bitmap);
  instance->alias = std::move(alias);
  for (const auto& other : instances_) instance->ordinal += other->gauge == view;
  for (const ElementView& element : view->chain) {
    ElementState state{element, {}, 0.0, false, 0.0, 0.0, 0};
    if (const ELEMENT_NEEDLE* needle = element.needle()) {
      state.scale = NeedleScale(needle->header.position, needle->calibration, needle->calibration_points);
      state.angle = state.target_angle = state.scale.rest_angle();
    }
    instance->elements.push_back(state);
  }
  GaugeInstance& placed = *instance;
  instances_.push_back(std::move(instance));

  active_host_ = this;
  GAUGEHDR* header = view->header;
  into_module([&] {
    header->query();
    header->install(static_cast<uint32_t>(placed.serial));
    header->initialize();
  });
  send_message(placed, PANEL_SERVICE_PRE_INITIALIZE);
  return placed;
}

GaugeInstance* PanelHost::find(std::string_view handle) {
  for (auto& instance : instances_) {
    if (!instance->alias.empty() && instance->alias == handle) return instance.get();
  }
  int ordinal = 1;
  if (auto hash = handle.rfind('#'); hash != std::string_view::npos) {
    ordinal = 0;
    for (char c : handle.substr(hash + 1)) {
      if (c < '0' || c > '9' || ordinal > 100000) return nullptr;
      ordinal = ordinal * 10 + (c - '0');
    }
    handle = handle.substr(0, hash);
  }
  const auto bang = handle.find('!');
  if (bang == std::string_view::npos) return nullptr;
  for (auto& instance : instances_) {
    if (instance->ordinal == ordinal && instance->module_name == handle.substr(0, bang) &&
        instance->gauge->name == handle.substr(bang + 1)) {
      return instance.get();
    }
  }
  return nullptr;
}

void PanelHost::send_message(GaugeInstance& gauge, int32_t message) {
  if (GaugeCallback callback = gauge.gauge->header->gauge_callback) {
    active_host_ = this;
    into_module([&] { callback(gauge.gauge->header, message, 0); });
  }
}

void PanelHost::run_element_callbacks(GaugeInstance& gauge) {
  for (ElementState& state : gauge.elements) {
    if (MODULE_VAR* source = state.view.source(); source && source->id != 0) tokens_.refresh(*source);
  }
  for (ElementState& state : gauge.elements) {
    const ElementView& view = state.view;
    if (ELEMENT_NEEDLE* needle = view.needle()) {
      if (!needle->update) continue;
      state.reading = into_module([&] { return needle->update(&needle->header); });
      state.has_reading = true;
      if (!std::isnan(state.reading)) state.target_angle = state.scale.angle_for(state.reading);
    } else if (ELEMENT_ICON* icon = view.icon()) {
      double value;
      if (icon->update) {
        value = into_module([&] { return icon->update(&icon->header); });
        state.reading = value;
        state.has_reading = true;
      } else {
        value = tokens_.get(icon->source.id);
      }
      state.icon_index = icon_index_for(value, icon->icon_count);
    }
  }
}

void PanelHost::update(GaugeInstance& gauge) {
  active_host_ = this;
  into_module([&] { gauge.gauge->header->update(); });
  run_element_callbacks(gauge);
  for (ElementState& state : gauge.elements) {
    if (const ELEMENT_NEEDLE* needle = state.view.needle()) {
      state.angle = step_toward(state.angle, state.target_angle, needle->max_degrees_per_tick);
    }
  }
  send_message(gauge, PANEL_SERVICE_PRE_DRAW);
}

void PanelHost::tick(int count) {
  for (int i = 0; i < count; ++i) {
    // A button held down on a repeating box clicks again before every update.
    if (pressed_ && (pressed_->box->mouse_flags & MOUSE_REPEAT)) {
      active_host_ = this;
      into_module([&] { pressed_->box->function.click(&pressed_->where, MOUSE_LEFTSINGLE | MOUSE_REPEAT); });
    }
    if (simulation_) simulation_->on_tick();
    for (size_t g = 0; g < instances_.size(); ++g) update(*instances_[g]);
  }
}

bool PanelHost::click(GaugeInstance& gauge, int x, int y, uint32_t button) {
  const MOUSERECT* box = find_click_box(gauge.gauge->mouse, x, y, button, gauge.width, gauge.height);
  if (!box) return false;
  active_host_ = this;
  const PIXPOINT where{x, y};
  into_module([&] { box->function.click(&where, button); });
  return true;
}

bool PanelHost::press(GaugeInstance& gauge, int x, int y) {
  pressed_.reset();
  const MOUSERECT* box = find_click_box(gauge.gauge->mouse, x, y, MOUSE_LEFTSINGLE, gauge.width, gauge.height);
  if (!box) return false;
  pressed_ = Press{box, {x, y}};
  active_host_ = this;
  into_module([&] { box->function.click(&pressed_->where, MOUSE_LEFTSINGLE); });
  return true;
}

void PanelHost::hold(GaugeInstance& gauge, int x, int y, int ticks) {
  press(gauge, x, y);
  tick(ticks);
  release();
}

const Tooltip& PanelHost::hover(GaugeInstance& gauge, int x, int y) {
  tooltip_ = {};
  const MOUSERECT* record = find_tooltip(gauge.gauge->mouse, x, y, gauge.width, gauge.height);
  if (!record) return tooltip_;
  if (record->help_id) {
    tooltip_ = {Tooltip::Kind::Help, record->help_id, help_text(record->help_id)};
    return tooltip_;
  }
  const TOOLTIP_ARGUMENT* argument = record->event_or_argument_count ? record->arguments : nullptr;
  if (!argument) {
    tooltip_ = {Tooltip::Kind::Text, 0, record->function.text};
    return tooltip_;
  }
  active_host_ = this;
  auto* source = const_cast<MODULE_VAR*>(&argument->source);
  if (source->id != 0) tokens_.refresh(*source);
  TooltipArgument value;
  if (argument->number_callback) {
    value.number = into_module([&] { return argument->number_callback(0.0, 0, nullptr, source, gauge.gauge->header); });
  }
  if (argument->string_callback) {
    const char* text = into_module([&] { return argument->string_callback(0.0, 0, nullptr, source, gauge.gauge->header); });
    // The string comes from the module: use it only if it lies inside the module.
    value.text = text && gauge.module->image().holds_string(text) ? std::string(text) : std::string();
  }
  tooltip_ = {Tooltip::Kind::Text, 0, format_tooltip(record->function.text, std::span(&value, 1))};
  return tooltip_;
}

int32_t PanelHost::record_frame_call(const char* operation, ELEMENT_HEADER* root) {
  const int32_t result = ++frame_call_count_;
  FrameCall& call = frame_calls_[frame_calls_recorded_++ % frame_calls_.size()];
  call.operation = operation;
  call.root = root;
  call.argument.reset();
  call.result = result;
  return result;
}

int32_t PanelHost::record_frame_call(const char* operation, ELEMENT_HEADER* root, uint32_t argument) {
  const int32_t result = record_frame_call(operation, root);
  frame_calls_[(frame_calls_recorded_ - 1) % frame_calls_.size()].argument = argument;
  return result;
}

std::vector<FrameCall> PanelHost::frame_calls() const {
  const size_t kept = std::min<uint64_t>(frame_calls_recorded_, frame_calls_.size());
  std::vector<FrameCall> calls;
  for (uint64_t i = frame_calls_recorded_ - kept; i < frame_calls_recorded_; ++i) calls.push_back(frame_calls_[i % frame_calls_.size()]);
  return calls;
}

bool PanelHost::holds_string(const char* text, size_t max_length) const {
  return all_images_.holds_string(text, max_length);
}

std::optional<std::string_view> PanelHost::string_inside(const char* text, size_t max_length, TextAt* lifetime) const {
  // A string in a module's read-only memory stays as it is while the module is
  // loaded: one seen before is known by its address.
  KnownString& known = known_strings_[address_slot(text, known_strings_.size())];
  if (known.text == text && known.length < max_length) {
    if (lifetime) *lifetime = TextAt::Constant;
    return std::string_view(text, known.length);
  }
  TextAt found = TextAt::MayChange;
  const std::optional<std::string_view> view = all_images_.string_inside(text, max_length, &found);
  if (view && found == TextAt::Constant) known = {text, view->size()};
  if (lifetime) *lifetime = found;
  return view;
}

bool PanelHost::holds(const void* p, size_t size) const {
  return all_images_.holds(p, size);
}

bool PanelHost::evaluate(const char* expression, double* result) {
  // Expression and result come from a module: both must lie inside one.
  if (!evaluator_) return false;
  TextAt lifetime;
  const std::optional<std::string_view> text = string_inside(expression, kExpressionLength, &lifetime);
  if (!text || !holds(result, sizeof *result)) return false;
  const std::optional<double> value = evaluator_->evaluate(*text, lifetime);
  if (!value) return false;
  *result = *value;
  return true;
}

void PanelHost::trigger_key_event(uint32_t id, uint32_t value) {
  events_.push_back({id, value});
  if (simulation_) simulation_->on_key_event({id, value});
}

}  // namespace host
