// The version resource: fixed file and product versions and the string table.
#pragma once

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "byte_reader.h"

namespace modfile {

struct VersionInfo {
  std::string file_version, product_version;  // "a.b.c.d"
  std::vector<std::pair<std::string, std::string>> strings;
  std::string value(const std::string& key) const;
};

VersionInfo parse_version_info(std::span<const uint8_t> bytes);

}  // namespace modfile
