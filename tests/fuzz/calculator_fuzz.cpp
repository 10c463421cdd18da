// Calculator expressions compiled and evaluated against variables that hold
// the awkward values (NaN, infinities, huge, negative) under every unit kind.
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string_view>

#include "calculator.h"

namespace {
double awkward_value(size_t seed) {
  constexpr double values[] = {0, -0.0, 1, -1, 1e308, -1e308, 5e-324,
                               std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(), 273.15, 4e9};
  return values[seed % std::size(values)];
}

class AwkwardVariables : public host::VariableSource {
 public:
  std::optional<std::pair<double, host::UnitKind>> aircraft_variable(std::string_view name, host::TextAt) const override {
    const size_t seed = std::hash<std::string_view>{}(name);
    if (seed % 13 == 0) return std::nullopt;
    return std::pair{awkward_value(seed), static_cast<host::UnitKind>(seed / 13 % 10)};
  }
  std::optional<double> named_variable(std::string_view name) const override {
    const size_t seed = std::hash<std::string_view>{}(name);
    if (seed % 7 == 0) return std::nullopt;
    return awkward_value(seed / 7);
  }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  if (const auto compiled = host::compile_calculator(text, &error)) {
    (void)host::evaluate_compiled(*compiled, AwkwardVariables{});
  }
  if (const auto unit = host::find_unit(text)) {
    for (double value : {awkward_value(0), awkward_value(4), awkward_value(7), awkward_value(9)}) {
      if (const auto canonical = host::to_canonical(value, text)) {
        (void)host::from_canonical(canonical->value, canonical->kind, text);
      }
    }
  }
  (void)host::normalize_variable_name(text);
  return 0;
}
