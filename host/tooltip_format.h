// Fills a module's tooltip format string with the values its callbacks give.
//
// Inserts:
//   %N!SPEC!  argument N (1..99) through one printf-style conversion:
//             flags "-+ #0", width <= 99, .precision <= 99, an ignored length
//             modifier (h hh l ll L), conversion f F e E g G d i u x X s c
//   %N        argument N as %N!s!
//   %%        a percent sign        %n  a line break        %!  an exclamation mark
// Numeric conversions need a number; d i u x X take it truncated toward zero,
// NaN as 0 and out-of-range values held at the limits of a 64-bit integer (u x X
// show a negative value as its 64-bit two's complement, as C does). s takes the
// text, or a number written as by %g. c takes the first character of the text,
// or a number 1..255 as a character code.
// Anything else stays in the output exactly as written: an insert that is
// malformed, names an argument not given, or needs a kind of value the argument
// lacks; so does a lone % and any other %-sequence. NaN and infinities print as
// the C library prints them.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace host {

struct TooltipArgument {
  std::optional<double> number;
  std::optional<std::string> text;
};

std::string format_tooltip(std::string_view format, std::span<const TooltipArgument> args);

}  // namespace host
