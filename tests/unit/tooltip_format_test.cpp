#include "tooltip_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace host {
namespace {

TooltipArgument number(double value) { return {value, std::nullopt}; }
TooltipArgument text(std::string value) { return {std::nullopt, std::move(value)}; }

// What the C library makes of one value, to compare rounding and NaN spelling with.
std::string c_printf(const char* format, double value) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string format_one(std::string_view format, const TooltipArgument& argument) {
  return format_tooltip(format, std::span(&argument, 1));
}

TEST(TooltipFormat, FuelTankTooltipRoundsAsTheCLibrary) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double gallons : {7.25, 1234.5, 0.0, -3.04, 99999.95, 0.05, inf, -inf, std::nan("")}) {
    SCOPED_TRACE(gallons);
    EXPECT_EQ(format_one("Right Main Fuel Tank: %1!5.1f! Gallons", number(gallons)),
              "Right Main Fuel Tank: " + c_printf("%5.1f", gallons) + " Gallons");
  }
  EXPECT_EQ(format_one("%1!5.1f!", number(1234.5)), "1234.5");
  EXPECT_EQ(format_one("%1!5.1f!", number(0)), "  0.0");
}

struct Case {
  std::string format;
  std::vector<TooltipArgument> args;
  std::string expected;
};

TEST(TooltipFormat, Inserts) {
  const Case cases[] = {
      {"%1!s!", {text("Landing Lights Extended")}, "Landing Lights Extended"},
      {"[%1]", {text("bare insert is a string")}, "[bare insert is a string]"},
      {"%1!-8s!|", {text("left")}, "left    |"},
      {"%1!.3s!", {text("truncated")}, "tru"},
      {"%2!s! %1!s!", {text("world"), text("hello")}, "hello world"},
      {"%1!s!", {number(2.5)}, "2.5"},
      {"%1!+08.2f!", {number(3.14159)}, "+0003.14"},
      {"%1!e!", {number(12345.678)}, c_printf("%e", 12345.678)},
      {"%1!G!", {number(0.000012)}, c_printf("%G", 0.000012)},
      {"%1!d! rpm", {number(2399.9)}, "2399 rpm"},
      {"%1!i!", {number(-7.8)}, "-7"},
      {"%1!05d!", {number(42)}, "00042"},
      {"%1!ld!", {number(42)}, "42"},
      {"%1!x!", {number(255)}, "ff"},
      {"%1!#X!", {number(255)}, "0XFF"},
      {"%1!u!", {number(-1)}, "18446744073709551615"},
      {"%1!c!", {text("Yes")}, "Y"},
      {"%1!c!", {number(65)}, "A"},
      {"100%% %1!s!", {text("sure")}, "100% sure"},
      {"two%nlines", {}, "two\nlines"},
      {"bang%!", {}, "bang!"},
      {"%1!s!", {{3.0, "both"}}, "both"},
      {"%1!.1f!", {{3.0, "both"}}, "3.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(format_tooltip(c.format, c.args), c.expected);
  }
}

TEST(TooltipFormat, IntegerConversionsSaturateAndTakeNanAsZero) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(format_one("%1!d!", number(std::nan(""))), "0");
  EXPECT_EQ(format_one("%1!d!", number(inf)), "9223372036854775807");
  EXPECT_EQ(format_one("%1!d!", number(-inf)), "-9223372036854775808");
  EXPECT_EQ(format_one("%1!d!", number(1e300)), "9223372036854775807");
  EXPECT_EQ(format_one("%1!x!", number(-1e300)), "8000000000000000");
}

// Whatever a module hands us, the result is defined: what cannot be filled stays as written.
TEST(TooltipFormat, MalformedOrUnfillableInsertsStayLiteral) {
  const Case cases[] = {
      {"%1!n!", {number(1)}, "%1!n!"},
      {"%1!999999f!", {number(1)}, "%1!999999f!"},
      {"%1!5.100f!", {number(1)}, "%1!5.100f!"},
      {"%1!*d!", {number(1)}, "%1!*d!"},
      {"%1!.*f!", {number(1)}, "%1!.*f!"},
      {"%1!5.1fx!", {number(1)}, "%1!5.1fx!"},
      {"%1!!", {number(1)}, "%1!!"},
      {"%1!5.1f", {number(1)}, "%1!5.1f"},
      {"%1!%s!", {text("x")}, "%1!%s!"},
      {"%9!s!", {text("only one")}, "%9!s!"},
      {"%1!s!", {}, "%1!s!"},
      {"%1!f!", {text("not a number")}, "%1!f!"},
      {"%1!c!", {number(0)}, "%1!c!"},
      {"%1!s!", {TooltipArgument{}}, "%1!s!"},
      {"%", {}, "%"},
      {"50%", {number(1)}, "50%"},
      {"%0 %a %.", {number(1)}, "%0 %a %."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(format_tooltip(c.format, c.args), c.expected);
  }
}

TEST(TooltipFormat, FlagsCDoesNotDefineAreDropped) {
  EXPECT_EQ(format_one("%1!05s!", text("ab")), "   ab");
  EXPECT_EQ(format_one("%1!#d!", number(7)), "7");
  EXPECT_EQ(format_one("%1!+u!", number(7)), "7");
  EXPECT_EQ(format_one("%1!3.2c!", text("z")), "  z");
}

TEST(TooltipFormat, WidestFieldsAndHugeValuesFitWithoutTruncation) {
  const std::string out = format_one("%1!-99.99f!|", number(1e308));
  EXPECT_EQ(out, c_printf("%-99.99f", 1e308) + "|");
  const std::string many(2000, '%');
  EXPECT_EQ(format_tooltip(many, {}), std::string(1000, '%'));
  const TooltipArgument embedded = text(std::string("a\0b", 3));
  EXPECT_EQ(format_one("%1!s!", embedded), "a");
}

}  // namespace
}  // namespace host
