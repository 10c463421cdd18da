// Tooltip format strings with any arguments. The input is the format, a NUL,
// then arguments: a tag byte (bit 0 a number follows as 8 raw bytes, bit 1 a
// text follows up to the next NUL).
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "tooltip_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string_view format = input.substr(0, split);
  std::string_view rest = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

  std::vector<host::TooltipArgument> args;
  while (!rest.empty() && args.size() < 100) {
    const uint8_t tag = uint8_t(rest[0]);
    rest.remove_prefix(1);
    host::TooltipArgument arg;
    if ((tag & 1) && rest.size() >= sizeof(double)) {
      double number;
      std::memcpy(&number, rest.data(), sizeof number);
      arg.number = number;
      rest.remove_prefix(sizeof number);
    }
    if (tag & 2) {
      const size_t end = rest.find('\0');
      arg.text = std::string(rest.substr(0, end));
      rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    args.push_back(std::move(arg));
  }
  (void)host::format_tooltip(format, args);
  return 0;
}
