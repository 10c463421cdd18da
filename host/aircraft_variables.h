// Aircraft variables as calculator expressions read them. In the static
// aircraft every variable is an independent value: the aircraft's own
// variables start at zero, a script may add others, and any can be made
// unknown so that an expression reading it gives no result.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "calculator.h"
#include "named_variables.h"
#include "panel_host.h"

namespace host {

class AircraftVariables : public ExpressionEvaluator, public VariableSource {
 public:
  explicit AircraftVariables(const NamedVariables* named = nullptr);
  void set_named_variables(const NamedVariables* named) { named_ = named; }

  // nullopt, or what was wrong (an unknown unit, a unit of another kind).
  std::optional<std::string> set(std::string_view name, std::string_view unit, double value);
  void set_canonical(std::string_view name, double value, UnitKind kind);
  void forget(std::string_view name);
  std::optional<double> get(std::string_view name, std::string_view unit) const;

  std::optional<double> evaluate(std::string_view expression) override;
  std::optional<std::pair<double, UnitKind>> aircraft_variable(std::string_view upper_name) const override;
  std::optional<double> named_variable(std::string_view name) const override;

 private:
  struct Value {
    double canonical;
    UnitKind kind;
    bool known = true;
  };
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, Value, Hash, std::equal_to<>> values_;
  const NamedVariables* named_;
};

}  // namespace host
