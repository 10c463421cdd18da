#include "named_variables.h"

namespace host {

uint32_t NamedVariables::register_name(std::string_view name) {
  if (name.empty()) return kUnregistered;
  if (auto found = ids_.find(name); found != ids_.end()) return found->second;
  const auto id = static_cast<uint32_t>(values_.size());
  ids_.emplace(std::string(name), id);
  values_.push_back(0.0);
  return id;
}

uint32_t NamedVariables::check(std::string_view name, TextAt text) const {
  if (const uint32_t* id = recent_.find(name, text)) return *id;
  auto found = ids_.find(name);
  if (found == ids_.end()) return kUnregistered;
  recent_.remember(name, found->first, found->second);
  return found->second;
}

double NamedVariables::get(uint32_t id) const { return id < values_.size() ? values_[id] : 0.0; }

void NamedVariables::set(uint32_t id, double value) {
  if (id < values_.size()) values_[id] = value;
}

std::optional<double> NamedVariables::value(std::string_view name) const {
  const uint32_t id = check(name);
  if (id == kUnregistered) return std::nullopt;
  return values_[id];
}

void NamedVariables::set_by_name(std::string_view name, double value) { set(register_name(name), value); }

void NamedVariables::clear() {
  recent_.forget();
  ids_.clear();
  values_.clear();
}

}  // namespace host
