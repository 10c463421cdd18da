// Splits panel script lines into words and reads their numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace host::script {

class SyntaxError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Word {
  std::string text;
  bool quoted = false;
};

// Words separated by blanks; "..." is one word with \" and \\ as its escapes;
// # starts a comment outside quotes. Throws SyntaxError on an unclosed quote.
std::vector<Word> split_words(std::string_view line);

// Decimal or 0x hex, within the 64-bit signed range.
std::optional<int64_t> parse_integer(std::string_view text);
// Decimal with optional fraction and exponent, or nan, inf, -inf.
std::optional<double> parse_real(std::string_view text);

}  // namespace host::script
