// Reads a module file of either build without running it: its format,
// exports, imports, resources and the gauges its Linkage record lists.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "byte_reader.h"
#include "elf_image.h"
#include "module_image.h"
#include "pe_image.h"
#include "res_file.h"
#include "resource.h"

namespace modfile {

struct GaugeSummary {
  std::string name;
  uint32_t width_mm = 0;
  uint32_t root_bitmap = 0;
  int width_px = 0, height_px = 0;  // the root bitmap's size; 0 when the module lacks that bitmap
};

struct ModuleFile {
  std::string path;
  std::string format;                // "PE32 i386 DLL" or "ELF x86-64 shared object"
  std::vector<std::string> exports;  // PE: export name table order; ELF: by name
  std::vector<Import> imports;       // PE only, in import directory order
  std::vector<Resource> resources;
  std::vector<GaugeSummary> gauges;  // in Linkage order
};

// Every error is a FormatError whose message starts with the path.
ModuleFile read_module_file(const std::string& path);
ModuleFile parse_module_file(std::span<const uint8_t> bytes, const std::string& path);

// Where the fields that read_gauges follows lie in the records of one build.
struct RecordLayout {
  uint64_t pointer_size;
  uint64_t linkage_size, linkage_gauges;
  uint64_t gauge_size, gauge_name, gauge_elements, gauge_width_mm;
  uint64_t element_size, element_bitmap;
};
// The shipped 32-bit build: every field four bytes.
inline constexpr RecordLayout kLayout32 = {4, 28, 24, 52, 4, 8, 40, 36, 4};
// The native x86-64 build: the same records with eight-byte, aligned pointers.
inline constexpr RecordLayout kLayout64 = {8, 48, 40, 104, 8, 16, 80, 48, 4};

inline constexpr int kMaxGauges = 256;
inline constexpr size_t kMaxGaugeName = 256;

// Follows Linkage to every gauge header, its name and its root element.
// Throws FormatError naming the record that points outside the module.
std::vector<GaugeSummary> read_gauges(const ModuleImage& image, uint64_t linkage_address, const RecordLayout& layout);

// "0x0100": resource identifiers as the module descriptions write them.
std::string resource_id(uint32_t id);

}  // namespace modfile
