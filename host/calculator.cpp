#include "calculator.h"

#include <array>
#include <charconv>
#include <cmath>
#include <mutex>
#include <unordered_map>

namespace host {
namespace {

constexpr double kLitersPerGallon = 3.785411784;
constexpr double kPoundsPerKilogram = 1 / 0.45359237;
constexpr double kPascalsPerPsf = 4.4482216152605 / (0.3048 * 0.3048);

struct NamedUnit {
  std::string_view name;  // lower case, single blanks
  UnitInfo info;
};

constexpr NamedUnit kUnits[] = {
    {"gallons", {UnitKind::Volume}},
    {"gallon", {UnitKind::Volume}},
    {"liters", {UnitKind::Volume, 1 / kLitersPerGallon}},
    {"liter", {UnitKind::Volume, 1 / kLitersPerGallon}},
    {"litres", {UnitKind::Volume, 1 / kLitersPerGallon}},
    {"litre", {UnitKind::Volume, 1 / kLitersPerGallon}},
    {"quarts", {UnitKind::Volume, 0.25}},
    {"quart", {UnitKind::Volume, 0.25}},
    {"percent", {UnitKind::Percent}},
    {"percent over 100", {UnitKind::Percent, 100}},
    {"bool", {UnitKind::Boolean}},
    {"boolean", {UnitKind::Boolean}},
    {"number", {UnitKind::Number}},
    {"numbers", {UnitKind::Number}},
    {"enum", {UnitKind::Number}},
    {"psf", {UnitKind::Pressure}},
    {"pounds per square foot", {UnitKind::Pressure}},
    {"psi", {UnitKind::Pressure, 144}},
    {"pounds per square inch", {UnitKind::Pressure, 144}},
    {"inhg", {UnitKind::Pressure, 3386.389 / kPascalsPerPsf}},
    {"inches of mercury", {UnitKind::Pressure, 3386.389 / kPascalsPerPsf}},
    {"millibars", {UnitKind::Pressure, 100 / kPascalsPerPsf}},
    {"millibar", {UnitKind::Pressure, 100 / kPascalsPerPsf}},
    {"mbar", {UnitKind::Pressure, 100 / kPascalsPerPsf}},
    {"hectopascals", {UnitKind::Pressure, 100 / kPascalsPerPsf}},
    {"hectopascal", {UnitKind::Pressure, 100 / kPascalsPerPsf}},
    {"hpa", {UnitKind::Pressure, 100 / kPascalsPerPsf}},
    {"pascals", {UnitKind::Pressure, 1 / kPascalsPerPsf}},
    {"pascal", {UnitKind::Pressure, 1 / kPascalsPerPsf}},
    {"rankine", {UnitKind::Temperature}},
    {"fahrenheit", {UnitKind::Temperature, 1, 459.67}},
    {"celsius", {UnitKind::Temperature, 1.8, 491.67}},
    {"kelvin", {UnitKind::Temperature, 1.8}},
    {"rpm", {UnitKind::RotationSpeed}},
    {"revolutions per minute", {UnitKind::RotationSpeed}},
    {"gallons per hour", {UnitKind::VolumeFlow}},
    {"gallon per hour", {UnitKind::VolumeFlow}},
    {"liters per hour", {UnitKind::VolumeFlow, 1 / kLitersPerGallon}},
    {"litres per hour", {UnitKind::VolumeFlow, 1 / kLitersPerGallon}},
    {"pounds", {UnitKind::Mass}},
    {"pound", {UnitKind::Mass}},
    {"kilograms", {UnitKind::Mass, kPoundsPerKilogram}},
    {"kilogram", {UnitKind::Mass, kPoundsPerKilogram}},
    {"pounds per hour", {UnitKind::MassFlow}},
    {"pound per hour", {UnitKind::MassFlow}},
    {"kilograms per hour", {UnitKind::MassFlow, kPoundsPerKilogram}},
    {"kilogram per hour", {UnitKind::MassFlow, kPoundsPerKilogram}},
};

struct KindNames {
  std::string_view kind;
  std::string_view canonical_unit;
};

// Indexed by UnitKind.
constexpr KindNames kKindNames[] = {
    {"volume", "gallons"},         {"percent", "percent"},         {"boolean", "bool"},
    {"number", "number"},          {"pressure", "psf"},            {"temperature", "rankine"},
    {"rotation speed", "rpm"},     {"volume flow", "gallons per hour"}, {"mass", "pounds"},
    {"mass flow", "pounds per hour"},
};
static_assert(std::size(kKindNames) == static_cast<size_t>(UnitKind::MassFlow) + 1);

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char to_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char to_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

// Blanks at the ends dropped, inner runs made one space, letters mapped.
template <typename Map>
std::string collapse_blanks(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  bool blank_pending = false;
  for (char c : text) {
    if (is_blank(c)) {
      blank_pending = !out.empty();
      continue;
    }
    if (blank_pending) out += ' ';
    blank_pending = false;
    out += map(c);
  }
  return out;
}

bool fail(std::string* error, std::string message) {
  if (error) *error = std::move(message);
  return false;
}

bool has_control_character(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 && !is_blank(c)) return true;
    if (c == '\x7f') return true;
  }
  return false;
}

// INNER is what stands between the parentheses of a variable read.
bool parse_variable_read(std::string_view inner, CompiledExpression::Step& step, std::string* error) {
  inner = trim(inner);
  if (inner.size() < 2 || inner[1] != ':') return fail(error, "expected (A:NAME, unit) or (L:NAME, unit)");
  const char prefix = to_upper(inner[0]);
  if (prefix != 'A' && prefix != 'L') return fail(error, "unsupported variable type '" + std::string(1, inner[0]) + ":'");
  inner.remove_prefix(2);
  const size_t comma = inner.find(',');
  if (comma == std::string_view::npos) return fail(error, "variable read without a unit");
  const std::string_view name = trim(inner.substr(0, comma));
  const std::string_view unit_name = trim(inner.substr(comma + 1));
  if (name.empty()) return fail(error, "variable read without a name");
  if (has_control_character(name) || has_control_character(unit_name)) return fail(error, "control character in a variable read");
  const auto unit = find_unit(unit_name);
  if (!unit) return fail(error, "unknown unit '" + std::string(unit_name) + "'");
  if (prefix == 'L') {
    if (unit->kind != UnitKind::Number && unit->kind != UnitKind::Boolean) {
      return fail(error, "named variable " + std::string(name) + " holds a plain number, not " +
                             std::string(unit_kind_name(unit->kind)));
    }
    step = {CompiledExpression::Op::NamedVariable, 0, std::string(name), *unit};
  } else {
    step = {CompiledExpression::Op::AircraftVariable, 0, normalize_variable_name(name), *unit};
  }
  return true;
}

bool parse_word(std::string_view word, CompiledExpression::Step& step, std::string* error) {
  using Op = CompiledExpression::Op;
  if (word.size() == 1) {
    const size_t index = std::string_view("+-*/").find(word[0]);
    if (index != std::string_view::npos) {
      constexpr Op kOperators[] = {Op::Add, Op::Subtract, Op::Multiply, Op::Divide};
      step.op = kOperators[index];
      return true;
    }
  }
  // Only decimal literals: from_chars would also take "inf" and "nan".
  std::string_view digits = word.starts_with('+') ? word.substr(1) : word;
  const std::string_view unsigned_part = digits.starts_with('-') ? digits.substr(1) : digits;
  const bool looks_numeric = !unsigned_part.empty() && ((unsigned_part[0] >= '0' && unsigned_part[0] <= '9') || unsigned_part[0] == '.');
  double value = 0;
  if (looks_numeric) {
    const auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (status == std::errc() && end == digits.data() + digits.size() && std::isfinite(value)) {
      step.op = Op::Number;
      step.number = value;
      return true;
    }
  }
  return fail(error, "unknown word '" + std::string(word) + "'");
}

class ExpressionCache {
 public:
  static constexpr size_t kMaxEntries = 1024;

  // The cached parse (nullopt inside for an expression that does not parse),
  // or null when the cache is full and the text is not in it.
  const std::optional<CompiledExpression>* find_or_compile(std::string_view expression, TextAt text) {
    // Modules hand over the same constant strings every update: a text seen at
    // the same address is found by comparing it, without hashing or locking.
    // Entries are never removed and map nodes do not move, so what a slot
    // points to stays valid.
    thread_local RecentNames<const std::optional<CompiledExpression>*> recent;
    if (const auto* parse = recent.find(expression, text)) return *parse;

    std::lock_guard lock(mutex_);
    auto found = entries_.find(expression);
    if (found == entries_.end()) {
      if (entries_.size() >= kMaxEntries) return nullptr;
      found = entries_.emplace(std::string(expression), compile_calculator(expression)).first;
    }
    recent.remember(expression, found->first, &found->second);
    return &found->second;
  }

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::mutex mutex_;
  std::unordered_map<std::string, std::optional<CompiledExpression>, Hash, std::equal_to<>> entries_;
};

}  // namespace

std::optional<UnitInfo> find_unit(std::string_view unit_name) {
  const std::string key = collapse_blanks(unit_name, to_lower);
  for (const NamedUnit& unit : kUnits) {
    if (unit.name == key) return unit.info;
  }
  return std::nullopt;
}

std::string_view canonical_unit_name(UnitKind kind) { return kKindNames[static_cast<size_t>(kind)].canonical_unit; }
std::string_view unit_kind_name(UnitKind kind) { return kKindNames[static_cast<size_t>(kind)].kind; }

std::optional<CanonicalValue> to_canonical(double value, std::string_view unit_name) {
  const auto unit = find_unit(unit_name);
  if (!unit) return std::nullopt;
  return CanonicalValue{unit->to_canonical(value), unit->kind};
}

std::optional<double> from_canonical(double canonical, UnitKind kind, std::string_view unit_name) {
  const auto unit = find_unit(unit_name);
  if (!unit || unit->kind != kind) return std::nullopt;
  return unit->from_canonical(canonical);
}

std::string normalize_variable_name(std::string_view name) { return collapse_blanks(name, to_upper); }

bool is_normal_variable_name(std::string_view name) {
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (to_upper(c) != c) return false;
    if (is_blank(c) && (c != ' ' || i == 0 || i + 1 == name.size() || name[i + 1] == ' ')) return false;
  }
  return true;
}

std::optional<CompiledExpression> compile_calculator(std::string_view text, std::string* error) {
  if (text.size() > CompiledExpression::kMaxLength) {
    fail(error, "longer than " + std::to_string(CompiledExpression::kMaxLength) + " characters");
    return std::nullopt;
  }
  CompiledExpression expression;
  int depth = 0;
  size_t i = 0;
  while (true) {
    while (i < text.size() && is_blank(text[i])) ++i;
    if (i == text.size()) break;
    CompiledExpression::Step step{};
    if (text[i] == '(') {
      const size_t close = text.find_first_of("()", i + 1);
      if (close == std::string_view::npos || text[close] == '(') {
        fail(error, "'(' at " + std::to_string(i) + " is not closed before the next '('");
        return std::nullopt;
      }
      if (!parse_variable_read(text.substr(i + 1, close - i - 1), step, error)) return std::nullopt;
      i = close + 1;
    } else if (text[i] == ')') {
      fail(error, "')' at " + std::to_string(i) + " without '('");
      return std::nullopt;
    } else {
      const size_t start = i;
      while (i < text.size() && !is_blank(text[i]) && text[i] != '(' && text[i] != ')') ++i;
      if (!parse_word(text.substr(start, i - start), step, error)) return std::nullopt;
    }
    const bool is_operator = step.op >= CompiledExpression::Op::Add;
    if (is_operator && depth < 2) {
      fail(error, "an operator needs two values");
      return std::nullopt;
    }
    depth += is_operator ? -1 : 1;
    if (depth > CompiledExpression::kMaxStackDepth) {
      fail(error, "more than " + std::to_string(CompiledExpression::kMaxStackDepth) + " values waiting");
      return std::nullopt;
    }
    expression.steps.push_back(std::move(step));
  }
  if (depth != 1) {
    fail(error, depth == 0 ? "no value" : std::to_string(depth) + " values left, not one");
    return std::nullopt;
  }
  return expression;
}

std::optional<double> evaluate_compiled(const CompiledExpression& expression, const VariableSource& vars, TextAt names) {
  using Op = CompiledExpression::Op;
  std::array<double, CompiledExpression::kMaxStackDepth> stack;
  size_t depth = 0;
  for (const auto& step : expression.steps) {
    if (step.op >= Op::Add) {
      // A parse checks the depth; this guards a hand-built expression.
      if (depth < 2) return std::nullopt;
      const double right = stack[--depth];
      double& left = stack[depth - 1];
      switch (step.op) {
        case Op::Add: left += right; break;
        case Op::Subtract: left -= right; break;
        case Op::Multiply: left *= right; break;
        default:
          if (right == 0) return std::nullopt;
          left /= right;
          break;
      }
      continue;
    }
    if (depth == stack.size()) return std::nullopt;
    if (step.op == Op::Number) {
      stack[depth++] = step.number;
    } else if (step.op == Op::NamedVariable) {
      const auto value = vars.named_variable(step.name);
      if (!value) return std::nullopt;
      stack[depth++] = *value;
    } else {
      const auto value = vars.aircraft_variable(step.name, names);
      if (!value || value->second != step.unit.kind) return std::nullopt;
      stack[depth++] = step.unit.from_canonical(value->first);
    }
  }
  if (depth != 1) return std::nullopt;
  return stack[0];
}

std::optional<double> evaluate_calculator(std::string_view expression, const VariableSource& vars, TextAt text) {
  if (expression.size() > CompiledExpression::kMaxLength) return std::nullopt;
  static ExpressionCache cache;
  if (const auto* cached = cache.find_or_compile(expression, text)) {
    return *cached ? evaluate_compiled(**cached, vars, TextAt::Constant) : std::nullopt;  // cached parses stay
  }
  const auto compiled = compile_calculator(expression);
  return compiled ? evaluate_compiled(*compiled, vars) : std::nullopt;
}

}  // namespace host
