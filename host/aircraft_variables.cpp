#include "aircraft_variables.h"

namespace host {

namespace {
constexpr const char* kTanks[] = {"LEFT MAIN", "RIGHT MAIN", "LEFT AUX", "RIGHT AUX", "LEFT TIP",  "RIGHT TIP",
                                  "CENTER",    "CENTER2",    "CENTER3",  "EXTERNAL1", "EXTERNAL2"};
}

AircraftVariables::AircraftVariables(const NamedVariables* named) : named_(named) {
  // The variables the modules read, each in its kind.
  for (const char* tank : kTanks) {
    const std::string prefix = std::string("FUEL TANK ") + tank;
    values_[prefix + " LEVEL"] = {0, UnitKind::Percent};
    values_[prefix + " QUANTITY"] = {0, UnitKind::Volume};
    values_[prefix + " CAPACITY"] = {0, UnitKind::Volume};
  }
  for (const char* group : {"FUEL TOTAL", "FUEL LEFT", "FUEL RIGHT"}) {
    values_[std::string(group) + " QUANTITY"] = {0, UnitKind::Volume};
    values_[std::string(group) + " CAPACITY"] = {0, UnitKind::Volume};
  }
  values_["TAILWHEEL LOCK ON"] = {0, UnitKind::Boolean};
}

AircraftValue* AircraftVariables::find(std::string_view name) {
  auto found = is_normal_variable_name(name) ? values_.find(name) : values_.find(normalize_variable_name(name));
  return found == values_.end() ? nullptr : &found->second;
}

const AircraftValue* AircraftVariables::find(std::string_view name) const {
  return const_cast<AircraftVariables*>(this)->find(name);
}

AircraftVariables::Kept AircraftVariables::keep(std::string_view name, UnitKind kind, double initial) {
  if (AircraftValue* value = find(name)) return Kept(*value);
  return Kept(values_.emplace(normalize_variable_name(name), AircraftValue{initial, kind}).first->second);
}

std::optional<std::string> AircraftVariables::set(std::string_view name, std::string_view unit, double value) {
  const std::optional<CanonicalValue> canonical = to_canonical(value, unit);
  if (!canonical) return "unknown unit '" + std::string(unit) + "'";
  const std::string key = normalize_variable_name(name);
  if (key.empty()) return std::string("an aircraft variable needs a name");
  auto found = values_.find(key);
  if (found != values_.end() && found->second.kind != canonical->kind) {
    return "\"" + key + "\" is a " + std::string(unit_kind_name(found->second.kind)) + ", not measured in " +
           std::string(unit);
  }
  values_[key] = {canonical->value, canonical->kind};
  return std::nullopt;
}

void AircraftVariables::set_canonical(std::string_view name, double value, UnitKind kind) {
  if (AircraftValue* found = find(name)) {
    *found = {value, kind};
  } else {
    values_.emplace(normalize_variable_name(name), AircraftValue{value, kind});
  }
}

void AircraftVariables::forget(std::string_view name) {
  if (AircraftValue* found = find(name)) found->known = false;
}

std::optional<double> AircraftVariables::get(std::string_view name, std::string_view unit) const {
  const AircraftValue* found = find(name);
  if (!found || !found->known) return std::nullopt;
  return from_canonical(found->canonical, found->kind, unit);
}

std::optional<double> AircraftVariables::evaluate(std::string_view expression, TextAt text) {
  return evaluate_calculator(expression, *this, text);
}

std::optional<std::pair<double, UnitKind>> AircraftVariables::aircraft_variable(std::string_view upper_name, TextAt name) const {
  const AircraftValue* value = nullptr;
  if (const AircraftValue* const* recent = recent_.find(upper_name, name)) {
    value = *recent;
  } else if (auto found = values_.find(upper_name); found != values_.end()) {
    value = &found->second;
    recent_.remember(upper_name, found->first, value);
  }
  if (!value || !value->known) return std::nullopt;
  return std::pair{value->canonical, value->kind};
}

std::optional<double> AircraftVariables::named_variable(std::string_view name) const {
  return named_ ? named_->value(name) : std::nullopt;
}

}  // namespace host
