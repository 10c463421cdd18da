// Windows PE32 module files: headers, sections, exports, imports, the
// resource directory, and a static reading of the exported Linkage record.
#include "pe_file.h"

#include <functional>

namespace modfile {

namespace {
constexpr int kMaxResourceEntries = 4096;
constexpr int kMaxNames = 4096;
constexpr int kMaxGauges = 256;

struct Section {
  uint32_t virtual_address, virtual_size, raw_offset, raw_size;
};

class PeImage {
 public:
  explicit PeImage(const ByteReader& file) : file_(file) {
    if (file.u16(0, "DOS header") != 0x5A4D) throw FormatError("not a PE file (no MZ header)");
    const uint32_t pe = file.u32(0x3C, "PE header offset");
    if (file.u32(pe, "PE signature") != 0x00004550) throw FormatError("no PE signature");
    const uint16_t machine = file.u16(pe + 4, "machine");
    if (machine != 0x14C) throw FormatError("not built for i386 (machine 0x" + hex(machine) + ")");
    const uint16_t sections = file.u16(pe + 6, "section count");
    const uint16_t optional_size = file.u16(pe + 20, "optional header size");
    characteristics_ = file.u16(pe + 22, "characteristics");
    const uint32_t optional = pe + 24;
    if (file.u16(optional, "optional header magic") != 0x10B) throw FormatError("not a PE32 file");
    image_base_ = file.u32(optional + 28, "image base");
    const uint32_t directories = file.u32(optional + 92, "data directory count");
    for (uint32_t d = 0; d < std::min<uint32_t>(directories, 16); ++d) {
      directory_[d] = {file.u32(optional + 96 + d * 8, "data directory"), file.u32(optional + 100 + d * 8, "data directory")};
    }
    const uint32_t table = optional + optional_size;
    if (sections > 96) throw FormatError("too many sections");
    for (uint32_t s = 0; s < sections; ++s) {
      const uint32_t at = table + s * 40;
      sections_.push_back({file.u32(at + 12, "section table"), file.u32(at + 8, "section table"), file.u32(at + 20, "section table"),
                           file.u32(at + 16, "section table")});
    }
  }

  bool is_dll() const { return characteristics_ & 0x2000; }
  uint32_t image_base() const { return image_base_; }
  std::pair<uint32_t, uint32_t> directory(int index) const { return directory_[index]; }

  // The file offset of `length` bytes at a relative virtual address.
  uint64_t offset(uint64_t rva, uint64_t length, const char* what) const {
    for (const Section& s : sections_) {
      const uint64_t size = std::max(s.virtual_size, s.raw_size);
      if (rva >= s.virtual_address && rva - s.virtual_address <= size && length <= size - (rva - s.virtual_address)) {
        const uint64_t at = s.raw_offset + (rva - s.virtual_address);
        file_.need(at, length, what);
        return at;
      }
    }
    throw FormatError(std::string(what) + " points outside the module (address 0x" + hex(uint32_t(rva)) + ")");
  }
  uint64_t offset_of_address(uint32_t address, uint64_t length, const char* what) const {
    if (address < image_base_) throw FormatError(std::string(what) + " points outside the module");
    return offset(address - image_base_, length, what);
  }
  uint32_t u32_at(uint32_t rva, const char* what) const { return file_.u32(offset(rva, 4, what), what); }
  std::string string_at(uint32_t rva, const char* what) const { return file_.c_string(offset(rva, 1, what), 256, what); }

  static std::string hex(uint32_t v) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%x", v);
    return buffer;
  }

 private:
  const ByteReader& file_;
  uint16_t characteristics_ = 0;
  uint32_t image_base_ = 0;
  std::pair<uint32_t, uint32_t> directory_[16] = {};
  std::vector<Section> sections_;
};

std::u16string read_utf16(const ByteReader& file, uint64_t at, uint16_t length) {
  std::u16string text;
  for (uint16_t i = 0; i < length; ++i) text += char16_t(file.u16(at + 2 * i, "resource name"));
  return text;
}

std::string narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? char(c) : '?';
  return out;
}
}  // namespace

void read_pe_file(const ByteReader& file, ModuleFile& module) {
  const PeImage image(file);
  module.format = image.is_dll() ? "PE32 i386 DLL" : "PE32 i386 executable";

  // Exports: names and the addresses of the data they name.
  std::vector<std::pair<std::string, uint32_t>> exports;
  if (auto [rva, size] = image.directory(0); rva) {
    const uint64_t dir = image.offset(rva, 40, "export directory");
    const uint32_t names = file.u32(dir + 24), functions_rva = file.u32(dir + 28), names_rva = file.u32(dir + 32),
                   ordinals_rva = file.u32(dir + 36);
    if (names > kMaxNames) throw FormatError("export directory lists too many names");
    for (uint32_t i = 0; i < names; ++i) {
      const std::string name = image.string_at(image.u32_at(names_rva + 4 * i, "export name table"), "export name");
      const uint16_t ordinal = file.u16(image.offset(ordinals_rva + 2 * i, 2, "export ordinal table"));
      exports.emplace_back(name, image.u32_at(functions_rva + 4 * ordinal, "export address table"));
      module.exports.push_back(name);
    }
  }

  // Imports: the DLLs and the functions taken from each.
  if (auto [rva, size] = image.directory(1); rva) {
    for (uint32_t d = 0;; ++d) {
      if (d > 64) throw FormatError("import directory has no end");
      const uint64_t at = image.offset(rva + 20 * d, 20, "import directory");
      const uint32_t lookup = file.u32(at), name = file.u32(at + 12), thunks = file.u32(at + 16);
      if (lookup == 0 && name == 0 && thunks == 0) break;
      Import import{image.string_at(name, "import DLL name"), {}};
      const uint32_t table = lookup ? lookup : thunks;
      for (uint32_t i = 0;; ++i) {
        if (i > kMaxNames) throw FormatError("import table has no end");
        const uint32_t entry = image.u32_at(table + 4 * i, "import lookup table");
        if (entry == 0) break;
        import.functions.push_back(entry & 0x80000000u ? "#" + std::to_string(entry & 0xFFFF)
                                                       : image.string_at(entry + 2, "import name"));
      }
      module.imports.push_back(std::move(import));
    }
  }

  // Resources: type, name, language, three directory levels deep.
  if (const uint32_t root = image.directory(2).first; root) {  // a plain name: lambdas below capture it
    int entries = 0;
    auto name_of = [&](uint32_t id_field) {
      ResourceName name;
      if (id_field & 0x80000000u) {
        const uint64_t at = image.offset(root + (id_field & 0x7FFFFFFF), 2, "resource name");
        name.text = narrow(read_utf16(file, at + 2, file.u16(at)));
      } else {
        name.id = id_field;
      }
      return name;
    };
    std::function<void(uint32_t, int, Resource)> walk = [&](uint32_t directory, int level, Resource partial) {
      const uint64_t at = image.offset(root + directory, 16, "resource directory");
      const uint32_t count = uint32_t(file.u16(at + 12)) + file.u16(at + 14);
      for (uint32_t i = 0; i < count; ++i) {
        if (++entries > kMaxResourceEntries) throw FormatError("resource directory too large, or a loop");
        const uint64_t entry = image.offset(root + directory + 16 + 8 * i, 8, "resource directory entry");
        const uint32_t id = file.u32(entry), target = file.u32(entry + 4);
        Resource next = partial;
        if (level == 0) next.type = name_of(id);
        if (level == 1) next.name = name_of(id);
        if (level == 2) next.language = uint16_t(id);
        if (target & 0x80000000u) {
          if (level >= 2) throw FormatError("resource directory deeper than three levels");
          walk(target & 0x7FFFFFFF, level + 1, next);
        } else {
          const uint64_t data = image.offset(root + target, 16, "resource data entry");
          const uint32_t data_rva = file.u32(data), data_size = file.u32(data + 4);
          const auto bytes = file.slice(image.offset(data_rva, data_size, "resource data"), data_size, "resource data");
          next.data.assign(bytes.begin(), bytes.end());
          module.resources.push_back(std::move(next));
        }
      }
    };
    walk(0, 0, {});
  }

  // Linkage, read as the 32-bit records lay it out.
  for (const auto& [name, rva] : exports) {
    if (name != "Linkage") continue;
    const uint64_t linkage = image.offset(rva, 28, "Linkage");
    const uint32_t list = file.u32(linkage + 24);
    std::vector<GaugeSummary> gauges;
    for (int g = 0;; ++g) {
      if (g == kMaxGauges) throw FormatError("Linkage: more than 256 gauges, or no closing null");
      const uint32_t header_address = file.u32(image.offset_of_address(list + 4 * g, 4, "Linkage: gauge list"));
      if (header_address == 0) break;
      const std::string where = "gauge " + std::to_string(g + 1);
      const uint64_t header = image.offset_of_address(header_address, 52, (where + ": header").c_str());
      GaugeSummary summary;
      const uint32_t name_address = file.u32(header + 4);
      summary.name = file.c_string(image.offset_of_address(name_address, 1, (where + ": name").c_str()), 256,
                                   (where + ": name").c_str());
      summary.width_mm = file.u32(header + 40);
      const uint32_t elements = file.u32(header + 8);
      const uint32_t root_element = file.u32(image.offset_of_address(elements, 4, (where + ": element list").c_str()));
      summary.root_bitmap = file.u32(image.offset_of_address(root_element, 36, (where + ": root element").c_str()) + 4);
      gauges.push_back(std::move(summary));
    }
    module.gauges = std::move(gauges);
  }
}

}  // namespace modfile
