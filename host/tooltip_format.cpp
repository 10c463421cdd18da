#include "tooltip_format.h"

#include <climits>
#include <cmath>
#include <cstdio>

namespace host {
namespace {

constexpr int kMaxArgument = 99;
constexpr int kMaxWidthDigits = 2;  // width and precision stay <= 99

struct Conversion {
  std::string flags;
  int width = -1;
  int precision = -1;
  char type = 's';
};

struct Insert {
  size_t argument;  // 1-based
  Conversion conversion;
  size_t length;  // characters of the format the insert spans
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads up to kMaxWidthDigits digits at spec[i]; false when there are more.
bool read_small_number(std::string_view spec, size_t& i, int& value) {
  value = 0;
  int digits = 0;
  while (i < spec.size() && is_digit(spec[i])) {
    if (++digits > kMaxWidthDigits) return false;
    value = value * 10 + (spec[i++] - '0');
  }
  return true;
}

// SPEC is what stands between the exclamation marks of %N!SPEC!.
std::optional<Conversion> parse_conversion(std::string_view spec) {
  Conversion conversion;
  size_t i = 0;
  for (; i < spec.size() && std::string_view("-+ #0").find(spec[i]) != std::string_view::npos; ++i) {
    if (conversion.flags.find(spec[i]) == std::string::npos) conversion.flags += spec[i];
  }
  if (i < spec.size() && is_digit(spec[i]) && !read_small_number(spec, i, conversion.width)) return std::nullopt;
  if (i < spec.size() && spec[i] == '.') {
    ++i;
    if (!read_small_number(spec, i, conversion.precision)) return std::nullopt;
  }
  // Length modifiers: the host picks the C type itself, so they mean nothing here.
  for (std::string_view modifier : {"hh", "ll", "h", "l", "L"}) {
    if (spec.substr(i).starts_with(modifier)) {
      i += modifier.size();
      break;
    }
  }
  if (i + 1 != spec.size() || std::string_view("fFeEgGdiuxXsc").find(spec[i]) == std::string_view::npos) {
    return std::nullopt;
  }
  conversion.type = spec[i];
  return conversion;
}

// The insert that starts with the '%' at format[at], if it is a well-formed one.
std::optional<Insert> parse_insert(std::string_view format, size_t at) {
  size_t i = at + 1;
  if (i >= format.size() || format[i] < '1' || format[i] > '9') return std::nullopt;
  size_t argument = static_cast<size_t>(format[i++] - '0');
  if (i < format.size() && is_digit(format[i])) argument = argument * 10 + static_cast<size_t>(format[i++] - '0');
  static_assert(kMaxArgument == 99, "argument numbers are read as at most two digits");
  if (i >= format.size() || format[i] != '!') return Insert{argument, Conversion{}, i - at};
  const size_t close = format.find('!', i + 1);
  if (close == std::string_view::npos) return std::nullopt;
  auto conversion = parse_conversion(format.substr(i + 1, close - i - 1));
  if (!conversion) return std::nullopt;
  return Insert{argument, *conversion, close + 1 - at};
}

template <typename Value>
std::string print(const std::string& c_format, Value value) {
  const int length = std::snprintf(nullptr, 0, c_format.c_str(), value);
  if (length <= 0) return {};
  std::string out(static_cast<size_t>(length), '\0');
  std::snprintf(out.data(), out.size() + 1, c_format.c_str(), value);
  return out;
}

// A C format for one value: only the flags that C defines for the conversion
// are kept, so no combination of them is undefined.
std::string c_format(const Conversion& conversion, std::string_view allowed_flags, bool with_precision,
                     std::string_view type) {
  std::string out = "%";
  for (char flag : conversion.flags) {
    if (allowed_flags.find(flag) != std::string_view::npos) out += flag;
  }
  if (conversion.width >= 0) out += std::to_string(conversion.width);
  if (with_precision && conversion.precision >= 0) out += "." + std::to_string(conversion.precision);
  out += type;
  return out;
}

long long to_integer(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9223372036854775808.0) return LLONG_MAX;
  if (value < -9223372036854775808.0) return LLONG_MIN;
  return static_cast<long long>(value);
}

std::optional<std::string> format_argument(const Conversion& conversion, const TooltipArgument& argument) {
  switch (conversion.type) {
    case 'f': case 'F': case 'e': case 'E': case 'g': case 'G':
      if (!argument.number) return std::nullopt;
      return print(c_format(conversion, "-+ #0", true, std::string(1, conversion.type)), *argument.number);
    case 'd': case 'i':
      if (!argument.number) return std::nullopt;
      return print(c_format(conversion, "-+ 0", true, "lld"), to_integer(*argument.number));
    case 'u': case 'x': case 'X': {
      if (!argument.number) return std::nullopt;
      const auto flags = conversion.type == 'u' ? "-0" : "-#0";
      const auto bits = static_cast<unsigned long long>(to_integer(*argument.number));
      return print(c_format(conversion, flags, true, std::string("ll") + conversion.type), bits);
    }
    case 's': {
      std::string text;
      if (argument.text) text = *argument.text;
      else if (argument.number) text = print(std::string("%g"), *argument.number);
      else return std::nullopt;
      return print(c_format(conversion, "-", true, "s"), text.c_str());
    }
    case 'c': {
      int code;
      if (argument.text && !argument.text->empty()) code = static_cast<unsigned char>(argument.text->front());
      else if (argument.number && *argument.number >= 1 && *argument.number < 256) code = static_cast<int>(*argument.number);
      else return std::nullopt;
      return print(c_format(conversion, "-", false, "c"), code);
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

std::string format_tooltip(std::string_view format, std::span<const TooltipArgument> args) {
  std::string out;
  out.reserve(format.size());
  size_t i = 0;
  while (i < format.size()) {
    const size_t percent = format.find('%', i);
    out.append(format.substr(i, percent - i));
    if (percent == std::string_view::npos) break;
    i = percent;
    const char next = i + 1 < format.size() ? format[i + 1] : '\0';
    if (next == '%' || next == '!') {
      out += next;
      i += 2;
      continue;
    }
    if (next == 'n') {
      out += '\n';
      i += 2;
      continue;
    }
    const auto insert = parse_insert(format, i);
    if (!insert) {
      out += '%';
      ++i;
      continue;
    }
    std::optional<std::string> filled;
    if (insert->argument <= args.size()) filled = format_argument(insert->conversion, args[insert->argument - 1]);
    out += filled ? *filled : std::string(format.substr(i, insert->length));
    i += insert->length;
  }
  return out;
}

}  // namespace host
