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
#include "recent_names.h"

namespace host {

struct AircraftValue {
  double canonical;
  UnitKind kind;
  bool known = true;
};

class AircraftVariables : public ExpressionEvaluator, public VariableSource {
 public:
  explicit AircraftVariables(const NamedVariables* named = nullptr);
  void set_named_variables(const NamedVariables* named) { named_ = named; }

  // nullopt, or what was wrong (an unknown unit, a unit of another kind).
  std::optional<std::string> set(std::string_view name, std::string_view unit, double value);
  void set_canonical(std::string_view name, double value, UnitKind kind);
  void forget(std::string_view name);
  std::optional<double> get(std::string_view name, std::string_view unit) const;

  // A variable the aircraft itself keeps, found once and then read and
  // written every tick without a lookup. It stays valid for the life of
  // these variables; set() and forget() act on the same value.
  class Kept {
   public:
    // Canonical units; `otherwise` while a script has made it unknown.
    double get(double otherwise = 0) const { return value_->known ? value_->canonical : otherwise; }
    void set(double canonical) { value_->canonical = canonical, value_->known = true; }

   private:
    friend class AircraftVariables;
    explicit Kept(AircraftValue& value) : value_(&value) {}
    AircraftValue* value_;
  };
  // Made with `initial` when it does not exist yet (`name` as normalized).
  Kept keep(std::string_view name, UnitKind kind, double initial = 0);

  std::optional<double> evaluate(std::string_view expression, TextAt text = TextAt::MayChange) override;
  std::optional<std::pair<double, UnitKind>> aircraft_variable(std::string_view upper_name, TextAt name) const override;
  std::optional<double> named_variable(std::string_view name) const override;

 private:
  // The value under a name, normalized first only when it is not already.
  AircraftValue* find(std::string_view name);
  const AircraftValue* find(std::string_view name) const;

  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, AircraftValue, Hash, std::equal_to<>> values_;  // never erased
  mutable RecentNames<const AircraftValue*> recent_;
  const NamedVariables* named_;
};

}  // namespace host
