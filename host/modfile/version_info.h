// The version resource: fixed file and product versions, the string table
// and the translations it declares.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "byte_reader.h"

namespace modfile {

struct Translation {
  uint16_t language = 0, code_page = 0;
};

struct VersionInfo {
  std::string file_version, product_version;  // "a.b.c.d"
  std::string string_table;                   // language and code page of the strings, e.g. "040904b0"
  std::vector<std::pair<std::string, std::string>> strings;  // in file order, UTF-8
  std::vector<Translation> translations;
  // The string of that key, or "" when there is none.
  std::string value(const std::string& key) const;
};

// Throws FormatError.
VersionInfo parse_version_info(std::span<const uint8_t> bytes);

}  // namespace modfile
