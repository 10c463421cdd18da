// Panel script lines split into words, and every word read as both kinds of number.
#include <cstdint>
#include <string_view>

#include "script/script_lexer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    try {
      for (const host::script::Word& word : host::script::split_words(line)) {
        (void)host::script::parse_integer(word.text);
        (void)host::script::parse_real(word.text);
      }
    } catch (const host::script::SyntaxError&) {
    }
  }
  return 0;
}
