#include "script_lexer.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace host::script {

std::vector<Word> split_words(std::string_view line) {
  std::vector<Word> words;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      Word word{{}, true};
      for (++i;; ++i) {
        if (i >= line.size()) throw SyntaxError("unbalanced quote");
        if (line[i] == '"') break;
        if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) ++i;
        word.text += line[i];
      }
      ++i;
      if (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#') {
        throw SyntaxError("text straight after a closing quote");
      }
      words.push_back(std::move(word));
    } else {
      Word word;
      while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#') {
        if (line[i] == '"') throw SyntaxError("a quote inside a word");
        word.text += line[i++];
      }
      words.push_back(std::move(word));
    }
  }
  return words;
}

std::optional<int64_t> parse_integer(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  uint64_t magnitude = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (magnitude > uint64_t(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0)) return std::nullopt;
  if (negative) return magnitude == uint64_t(std::numeric_limits<int64_t>::max()) + 1 ? std::numeric_limits<int64_t>::min() : -int64_t(magnitude);
  return int64_t(magnitude);
}

std::optional<double> parse_real(std::string_view text) {
  if (text == "nan") return std::numeric_limits<double>::quiet_NaN();
  if (text == "inf" || text == "+inf") return std::numeric_limits<double>::infinity();
  if (text == "-inf") return -std::numeric_limits<double>::infinity();
  if (text.size() > 2 && (text.substr(0, 2) == "0x" || text.substr(0, 3) == "-0x")) {
    if (auto integer = parse_integer(text)) return double(*integer);
    return std::nullopt;
  }
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    // Beyond the double range: as a C library would, round to infinity or zero.
    return std::strtod(std::string(text).c_str(), nullptr);
  }
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (std::isnan(value) || std::isinf(value)) return std::nullopt;  // only the words spell these
  return value;
}

}  // namespace host::script
