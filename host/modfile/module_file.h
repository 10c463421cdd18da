// Reads a module file without running it: its format, exports, imports,
// resources and the gauges its Linkage record lists.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "byte_reader.h"

namespace modfile {

// A resource type or name: a number, or a string.
struct ResourceName {
  std::optional<uint32_t> id;
  std::string text;
  bool is_number() const { return id.has_value(); }
  uint32_t number() const { return id.value_or(0); }
};

struct Resource {
  ResourceName type, name;
  uint16_t language = 0;
  std::vector<uint8_t> data;
};

struct GaugeSummary {
  std::string name;
  uint32_t width_mm = 0;
  uint32_t root_bitmap = 0;
};

struct Import {
  std::string dll;
  std::vector<std::string> functions;
};

struct ModuleFile {
  std::string path;
  std::string format;  // "PE32 i386 DLL" or "ELF x86-64 shared object"
  std::vector<std::string> exports;
  std::vector<Import> imports;  // PE only
  std::vector<Resource> resources;
  std::optional<std::vector<GaugeSummary>> gauges;  // read statically from PE files
};

// Throws FormatError with a message that starts with the path.
ModuleFile read_module_file(const std::string& path);
ModuleFile parse_module_file(std::span<const uint8_t> bytes, const std::string& path);

// The resources of a compiled resource file (.res), as the native modules carry them.
std::vector<Resource> parse_res_file(const ByteReader& res);

}  // namespace modfile
