// Calculator expressions that modules hand the host, such as
// "(A:FUEL TANK CENTER2 LEVEL, percent)": reverse Polish notation over
// aircraft variable reads (A:NAME, unit), named variable reads (L:name, unit),
// numbers and the binary operators + - * /.
//
// An expression gives a value only when it is well formed, every variable it
// reads is known, each A: read names a unit of the variable's kind, no division
// by zero happens, and exactly one value is left at the end. NaN read from a
// variable is a value like any other and flows through the arithmetic.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "recent_names.h"

namespace host {

// Every kind has one canonical unit, in which variable sources hold values.
enum class UnitKind : uint8_t {
  Volume,         // gallons
  Percent,        // percent
  Boolean,        // bool, 0 or 1
  Number,         // number
  Pressure,       // pounds per square foot
  Temperature,    // degrees Rankine
  RotationSpeed,  // revolutions per minute
  VolumeFlow,     // gallons per hour
  Mass,           // pounds
  MassFlow,       // pounds per hour
};

// A unit is linear in its kind's canonical unit: canonical = value * scale + offset.
struct UnitInfo {
  UnitKind kind = UnitKind::Number;
  double scale = 1;
  double offset = 0;

  double to_canonical(double value) const { return value * scale + offset; }
  double from_canonical(double canonical) const { return (canonical - offset) / scale; }
};

// Case and runs of blanks do not matter: "Gallons", "percent  over 100".
// Known: gallons, liters/litres, quarts; percent, "percent over 100"; bool,
// boolean; number, enum; psf, psi, inhg, millibars, hectopascals, pascals;
// rankine, fahrenheit, celsius, kelvin; rpm; "gallons per hour",
// "liters per hour"; pounds, kilograms; "pounds per hour", "kilograms per hour"
// (and the singular and long forms of these).
std::optional<UnitInfo> find_unit(std::string_view unit_name);
std::string_view canonical_unit_name(UnitKind kind);
std::string_view unit_kind_name(UnitKind kind);

// For setting and checking variables from scripts: a value in a named unit
// into the canonical unit of its kind, and a canonical value out into a named
// unit (nullopt when the unit is unknown or of another kind).
struct CanonicalValue {
  double value;
  UnitKind kind;
};
std::optional<CanonicalValue> to_canonical(double value, std::string_view unit_name);
std::optional<double> from_canonical(double canonical, UnitKind kind, std::string_view unit_name);

// What expressions read. Aircraft variables are asked for by their normalized
// name; named variables by the name as written, blanks around it dropped.
class VariableSource {
 public:
  virtual ~VariableSource() = default;
  // The canonical value and its unit kind, or nullopt when unknown.
  // `name` says whether the text can change at its address.
  virtual std::optional<std::pair<double, UnitKind>> aircraft_variable(std::string_view upper_name, TextAt name) const = 0;
  virtual std::optional<double> named_variable(std::string_view name) const = 0;
};

// Upper case, blanks at either end dropped, inner runs of blanks made one space.
std::string normalize_variable_name(std::string_view name);
// Whether normalize_variable_name would give the name back unchanged: such a
// name can be looked up as it is, without making a copy.
bool is_normal_variable_name(std::string_view name);

// An expression parsed once. Its stack depth is known from the parse, so
// evaluating it needs no allocation.
struct CompiledExpression {
  enum class Op : uint8_t { Number, AircraftVariable, NamedVariable, Add, Subtract, Multiply, Divide };
  struct Step {
    Op op;
    double number = 0;  // Op::Number
    std::string name;   // the variable reads
    UnitInfo unit;      // the variable reads
  };
  static constexpr int kMaxStackDepth = 32;
  static constexpr size_t kMaxLength = 4096;  // longer expressions are refused unread

  std::vector<Step> steps;
};

// nullopt when the expression is malformed, names an unknown unit, a unit that
// named variables cannot have (they hold plain numbers: number or bool units),
// would underflow or overflow the stack, or leaves other than one value;
// `error`, when given, then says what was wrong.
std::optional<CompiledExpression> compile_calculator(std::string_view expression, std::string* error = nullptr);
// `names` is Constant only for a parse that is kept as long as the process runs.
std::optional<double> evaluate_compiled(const CompiledExpression& expression, const VariableSource& vars,
                                        TextAt names = TextAt::MayChange);

// Parses each distinct expression text once and keeps the parse (modules pass
// constant strings), then evaluates it. Safe to call from several threads.
std::optional<double> evaluate_calculator(std::string_view expression, const VariableSource& vars,
                                          TextAt text = TextAt::MayChange);

}  // namespace host
