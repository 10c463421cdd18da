#include "calculator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>

namespace host {
namespace {

class FakeVariables : public VariableSource {
 public:
  std::map<std::string, std::pair<double, UnitKind>, std::less<>> aircraft;
  std::map<std::string, double, std::less<>> named;

  std::optional<std::pair<double, UnitKind>> aircraft_variable(std::string_view upper_name, TextAt) const override {
    const auto found = aircraft.find(upper_name);
    return found == aircraft.end() ? std::nullopt : std::optional(found->second);
  }
  std::optional<double> named_variable(std::string_view name) const override {
    const auto found = named.find(name);
    return found == named.end() ? std::nullopt : std::optional(found->second);
  }
};

FakeVariables aircraft() {
  FakeVariables vars;
  vars.aircraft = {
      {"FUEL TANK CENTER2 LEVEL", {62.5, UnitKind::Percent}},
      {"FUEL TANK CENTER QUANTITY", {40, UnitKind::Volume}},
      {"FUEL TANK CENTER2 QUANTITY", {25, UnitKind::Volume}},
      {"FUEL TOTAL QUANTITY", {300, UnitKind::Volume}},
      {"TAILWHEEL LOCK ON", {1, UnitKind::Boolean}},
      {"GENERAL ENG OIL TEMPERATURE:1", {671.67, UnitKind::Temperature}},
      {"EMPTY TANK", {0, UnitKind::Volume}},
  };
  vars.named = {{"ovk_luminous_gauge", 1}, {"zero", 0}};
  return vars;
}

struct Case {
  const char* expression;
  std::optional<double> expected;
};

TEST(Calculator, EvaluatesExpressions) {
  const FakeVariables vars = aircraft();
  const Case cases[] = {
      {"(A:FUEL TANK CENTER2 LEVEL, percent)", 62.5},
      {"(A:FUEL TANK CENTER2 LEVEL, percent over 100)", 0.625},
      {"(A:Tailwheel lock on,bool)", 1},
      {"( A:FUEL TOTAL QUANTITY , gallons )", 300},
      {"(a:fuel   total\tquantity,GALLONS)", 300},
      {"(A:FUEL TOTAL QUANTITY, liters)", 300 * 3.785411784},
      {"(A:GENERAL ENG OIL TEMPERATURE:1, celsius)", 100},
      {"(A:GENERAL ENG OIL TEMPERATURE:1, fahrenheit)", 212},
      {"(A:FUEL TANK CENTER QUANTITY, gallons) (A:FUEL TANK CENTER2 QUANTITY, gallons) +", 65},
      {"(A:FUEL TOTAL QUANTITY, gallons) 6 *", 1800},
      {"(A:FUEL TOTAL QUANTITY, gallons)(A:FUEL TANK CENTER QUANTITY, gallons)/", 7.5},
      {"10 4 -", 6},
      {"2 3 4 * +", 14},
      {"-2.5 +4 *", -10},
      {"1e2", 100},
      {".5", 0.5},
      {"(L:ovk_luminous_gauge, number)", 1},
      {"( L: ovk_luminous_gauge ,bool) 1 +", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expression);
    const auto value = evaluate_calculator(c.expression, vars);
    ASSERT_TRUE(value.has_value());
    EXPECT_NEAR(*value, *c.expected, 1e-9);
  }
}

TEST(Calculator, GivesNoResultForWhatCannotBeEvaluated) {
  const FakeVariables vars = aircraft();
  const char* cases[] = {
      "(A:FUEL TANK RIGHT TIP QUANTITY, gallons)",  // unknown variable
      "(A:FUEL TOTAL QUANTITY, furlongs)",          // unknown unit
      "(A:FUEL TOTAL QUANTITY, percent)",           // unit of another kind
      "(A:Tailwheel lock on, number)",
      "(A:FUEL TOTAL QUANTITY)",                    // no unit
      "(A:, gallons)",
      "(FUEL TOTAL QUANTITY, gallons)",             // no type
      "(K:FUEL TOTAL QUANTITY, gallons)",
      "(L:unregistered, number)",
      "(L:ovk_luminous_gauge, gallons)",
      "",
      "   ",
      "+",
      "1 +",                                        // stack underflow
      "1 2",                                        // two values left
      "1 0 /",                                      // division by zero
      "(A:EMPTY TANK, gallons) 1 (A:EMPTY TANK, gallons) / +",
      "3 x",
      "inf",
      "nan",
      "1e999",
      "1..2",
      "0x10",
      "(A:FUEL TOTAL QUANTITY, gallons",
      "A:FUEL TOTAL QUANTITY, gallons)",
      "((A:FUEL TOTAL QUANTITY, gallons))",
  };
  for (const char* expression : cases) {
    SCOPED_TRACE(expression);
    EXPECT_FALSE(evaluate_calculator(expression, vars).has_value());
    std::string error;
    if (!compile_calculator(expression, &error)) {
      EXPECT_FALSE(error.empty());
    }
  }
}

TEST(Calculator, NanFromAVariableIsAResult) {
  FakeVariables vars = aircraft();
  vars.aircraft["FUEL TOTAL QUANTITY"].first = std::nan("");
  const auto value = evaluate_calculator("(A:FUEL TOTAL QUANTITY, gallons) 2 *", vars);
  ASSERT_TRUE(value.has_value());
  EXPECT_TRUE(std::isnan(*value));
}

TEST(Calculator, CachedParseSeesCurrentValues) {
  FakeVariables vars = aircraft();
  const char* expression = "(A:FUEL TOTAL QUANTITY, gallons)";
  EXPECT_EQ(evaluate_calculator(expression, vars), 300);
  vars.aircraft["FUEL TOTAL QUANTITY"].first = 120;
  EXPECT_EQ(evaluate_calculator(expression, vars), 120);
  vars.aircraft.erase("FUEL TOTAL QUANTITY");
  EXPECT_EQ(evaluate_calculator(expression, vars), std::nullopt);
}

TEST(Calculator, MoreDistinctTextsThanTheCacheHoldsStillEvaluate) {
  const FakeVariables vars = aircraft();
  for (int i = 0; i < 1500; ++i) {
    ASSERT_EQ(evaluate_calculator(std::to_string(i) + " 0.5 +", vars), i + 0.5) << i;
  }
}

TEST(Calculator, HostileInputNeverCrashes) {
  const FakeVariables vars = aircraft();
  const std::string very_long = std::string(100000, '(') + "A:X, gallons" + std::string(100000, ')');
  const std::string long_sum = [] {
    std::string sum = "1";
    for (int i = 0; i < 2000; ++i) sum += " 1 +";
    return sum;
  }();
  const std::string deep = [] {
    std::string values;
    for (int i = 0; i < 40; ++i) values += "1 ";
    for (int i = 0; i < 39; ++i) values += "+ ";
    return values;
  }();
  const std::string cases[] = {
      very_long,
      std::string(5000, '1'),
      long_sum,
      deep,
      "(((((",
      ")))))",
      "(A:(L:x, number), gallons)",
      "(A:FUEL TOTAL QUANTITY, gallons) ) (",
      std::string("(A:FUEL\0TOTAL, gallons)", 23),
      "(A:\x01\x7f, bool)",
      "\xff\xfe (A:\xe2\x82\xac, gallons)",
      "(L:, number)",
      "(:, )",
      "(A:",
      "(",
      "-",
      "--1",
      "1 2 3 + + + + +",
  };
  for (const std::string& expression : cases) {
    EXPECT_FALSE(evaluate_calculator(expression, vars).has_value()) << expression.substr(0, 60);
  }
}

TEST(Calculator, StackDepthLimit) {
  const FakeVariables vars = aircraft();
  std::string fits, too_deep;
  for (int i = 0; i < CompiledExpression::kMaxStackDepth; ++i) fits += "1 ";
  too_deep = fits + "1 +";
  for (int i = 1; i < CompiledExpression::kMaxStackDepth; ++i) fits += "+ ";
  EXPECT_EQ(evaluate_calculator(fits, vars), CompiledExpression::kMaxStackDepth);
  EXPECT_EQ(evaluate_calculator(too_deep, vars), std::nullopt);
}

TEST(Calculator, NormalizesVariableNames) {
  EXPECT_EQ(normalize_variable_name("  Tailwheel lock \t on "), "TAILWHEEL LOCK ON");
  EXPECT_EQ(normalize_variable_name("fuel tank center2 level"), "FUEL TANK CENTER2 LEVEL");
  EXPECT_EQ(normalize_variable_name(""), "");
  // A name already in normal form is recognised as one, and no other.
  for (const char* name : {"TAILWHEEL LOCK ON", "FUEL TANK CENTER2 LEVEL", "", "A", " A", "A ", "A  B", "A\tB",
                           "A \tB", "a", "FUEL tank", "GENERAL ENG THROTTLE LEVER POSITION:1", "A\nB", "\v"}) {
    EXPECT_EQ(is_normal_variable_name(name), normalize_variable_name(name) == name) << '"' << name << '"';
  }
}

TEST(Units, FindsUnitsWhateverTheirCase) {
  for (const char* name : {"gallons", "Gallon", "LITERS", "litres", "percent", "Percent  Over 100", "bool",
                           "boolean", "number", "psi", "inHg", "celsius", "rpm", "pounds per hour"}) {
    EXPECT_TRUE(find_unit(name).has_value()) << name;
  }
  for (const char* name : {"", "gallonss", "percent over", "per cent", "feet"}) {
    EXPECT_FALSE(find_unit(name).has_value()) << name;
  }
}

struct Conversion {
  double value;
  const char* unit;
  double canonical;
  UnitKind kind;
};

TEST(Units, ConvertsToTheCanonicalUnitAndBack) {
  const Conversion cases[] = {
      {10, "gallons", 10, UnitKind::Volume},
      {3.785411784, "liters", 1, UnitKind::Volume},
      {4, "quarts", 1, UnitKind::Volume},
      {0.5, "percent over 100", 50, UnitKind::Percent},
      {75, "percent", 75, UnitKind::Percent},
      {1, "psi", 144, UnitKind::Pressure},
      {0, "celsius", 491.67, UnitKind::Temperature},
      {-40, "fahrenheit", 419.67, UnitKind::Temperature},
      {100, "kelvin", 180, UnitKind::Temperature},
      {1, "kilograms", 2.2046226218487757, UnitKind::Mass},
      {1, "bool", 1, UnitKind::Boolean},
  };
  for (const Conversion& c : cases) {
    SCOPED_TRACE(c.unit);
    const auto canonical = to_canonical(c.value, c.unit);
    ASSERT_TRUE(canonical.has_value());
    EXPECT_NEAR(canonical->value, c.canonical, 1e-9);
    EXPECT_EQ(canonical->kind, c.kind);
    const auto back = from_canonical(c.canonical, c.kind, c.unit);
    ASSERT_TRUE(back.has_value());
    EXPECT_NEAR(*back, c.value, 1e-9);
  }
  EXPECT_NEAR(*from_canonical(10, UnitKind::Volume, "litres"), 37.85411784, 1e-9);
  EXPECT_FALSE(from_canonical(10, UnitKind::Volume, "percent").has_value());
  EXPECT_FALSE(to_canonical(10, "furlongs").has_value());
  EXPECT_EQ(canonical_unit_name(UnitKind::Volume), "gallons");
}

// Texts are remembered by address: one rewritten in place is parsed afresh,
// and so is another text of the same length in the same place.
TEST(Calculator, TextRewrittenAtTheSameAddressIsParsedAfresh) {
  const FakeVariables vars = aircraft();
  char text[] = "2 3 +";
  EXPECT_EQ(evaluate_calculator(text, vars), 5);
  text[0] = '7';
  EXPECT_EQ(evaluate_calculator(text, vars), 10);
  std::string heap = "1 1 +";
  EXPECT_EQ(evaluate_calculator(heap, vars), 2);
  heap.replace(0, 5, "4 4 *");
  EXPECT_EQ(evaluate_calculator(heap, vars), 16);
}

}  // namespace
}  // namespace host
