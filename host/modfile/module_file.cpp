#include "module_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "dib.h"
#include "elf_image.h"

namespace modfile {

namespace {
constexpr std::streamsize kMaxFileSize = 64 << 20;

class LinkageReader {
 public:
  LinkageReader(const ModuleImage& image, const RecordLayout& layout) : image_(image), layout_(layout) {}

  // A whole record in the image, or an error naming it.
  void need(uint64_t address, uint64_t size, const std::string& what) const {
    if (!image_.holds(address, size)) throw FormatError(what + " points outside the module (address " + hex(address) + ")");
  }

  std::string name_at(uint64_t address, const std::string& what) const {
    std::string name;
    for (uint64_t i = 0; i <= kMaxGaugeName; ++i) {
      if (!image_.holds(address + i, 1)) {
        throw FormatError(what + (i == 0 ? " points outside the module" : " runs past the end of the module") + " (address " +
                          hex(address) + ")");
      }
      const uint8_t c = image_.byte_at(address + i);
      if (c == 0) return name;
      name += char(c);
    }
    throw FormatError(what + " is not closed within " + std::to_string(kMaxGaugeName) + " bytes");
  }

  GaugeSummary gauge(uint64_t header, const std::string& where) const {
    need(header, layout_.gauge_size, where + ": header");
    GaugeSummary summary;
    summary.name = name_at(image_.pointer_at(header + layout_.gauge_name), where + ": name");
    const std::string named = where + " \"" + summary.name + "\"";
    summary.width_mm = image_.u32_at(header + layout_.gauge_width_mm);
    const uint64_t list = image_.pointer_at(header + layout_.gauge_elements);
    need(list, layout_.pointer_size, named + ": element list");
    const uint64_t root = image_.pointer_at(list);
    need(root, layout_.element_size, named + ": root element");
    summary.root_bitmap = image_.u32_at(root + layout_.element_bitmap);
    return summary;
  }

 private:
  const ModuleImage& image_;
  const RecordLayout& layout_;
};

void read_pe(const ByteReader& file, ModuleFile& module) {
  const PeImage image(file);
  module.format = "PE32 i386 DLL";
  const std::vector<PeExport> exports = image.exports();
  for (const PeExport& e : exports) module.exports.push_back(e.name);
  module.imports = image.imports();
  module.resources = image.resources();
  for (const PeExport& e : exports) {
    if (e.name == "Linkage") module.gauges = read_gauges(image, uint64_t(image.image_base()) + e.rva, kLayout32);
  }
}

void read_elf(const ByteReader& file, ModuleFile& module) {
  const ElfImage image(file);
  module.format = "ELF x86-64 shared object";
  for (const ElfSymbol& symbol : image.exported_symbols()) module.exports.push_back(symbol.name);
  std::sort(module.exports.begin(), module.exports.end());
  if (const ElfSection* section = image.section(".gauge_resources")) {
    module.resources = in_context("section .gauge_resources", [&] { return parse_res_file(ByteReader(image.contents(*section))); });
  }
  if (const ElfSymbol* linkage = image.exported("Linkage")) module.gauges = read_gauges(image, linkage->value, kLayout64);
}

void require_export(const ModuleFile& module, const std::string& name) {
  if (std::find(module.exports.begin(), module.exports.end(), name) == module.exports.end()) {
    throw FormatError("does not export " + name + ", so it is not a gauge module");
  }
}

// A gauge's size in pixels is its root bitmap's.
void size_gauges(ModuleFile& module) {
  for (GaugeSummary& gauge : module.gauges) {
    if (const Resource* bitmap = find_resource(module.resources, kBitmapResource, gauge.root_bitmap)) {
      const BitmapSize size = read_bitmap_size(bitmap->data, "bitmap " + resource_id(gauge.root_bitmap));
      gauge.width_px = size.width;
      gauge.height_px = size.height;
    }
  }
}
}  // namespace

std::vector<GaugeSummary> read_gauges(const ModuleImage& image, uint64_t linkage_address, const RecordLayout& layout) {
  const LinkageReader reader(image, layout);
  reader.need(linkage_address, layout.linkage_size, "Linkage");
  const uint64_t list = image.pointer_at(linkage_address + layout.linkage_gauges);
  std::vector<GaugeSummary> gauges;
  for (int g = 0;; ++g) {
    if (g == kMaxGauges) throw FormatError("Linkage: gauge list has no closing null within " + std::to_string(kMaxGauges) + " gauges");
    const uint64_t slot = list + uint64_t(g) * layout.pointer_size;
    reader.need(slot, layout.pointer_size, "Linkage: gauge list");
    const uint64_t header = image.pointer_at(slot);
    if (header == 0) break;
    gauges.push_back(reader.gauge(header, "gauge " + std::to_string(g + 1)));
  }
  return gauges;
}

std::string resource_id(uint32_t id) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04x", id);
  return text;
}

ModuleFile parse_module_file(std::span<const uint8_t> bytes, const std::string& path) {
  return in_context(path, [&] {
    ModuleFile module;
    module.path = path;
    const ByteReader file(bytes);
    if (file.has(0, 4) && file.u32(0) == 0x464C457F) {
      read_elf(file, module);
    } else if (file.has(0, 2) && file.u16(0) == 0x5A4D) {
      read_pe(file, module);
    } else {
      throw FormatError("not a module file (neither ELF nor PE)");
    }
    require_export(module, "ImportTable");
    require_export(module, "Linkage");
    size_gauges(module);
    return module;
  });
}

ModuleFile read_module_file(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) throw FormatError(path + ": a folder, not a module file");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FormatError(path + ": cannot open the file");
  in.seekg(0, std::ios::end);
  const std::streamsize size = in.tellg();
  if (size < 0) throw FormatError(path + ": cannot read the file");
  if (size > kMaxFileSize) throw FormatError(path + ": larger than any module (" + std::to_string(size) + " bytes)");
  in.seekg(0);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), size);
  if (in.gcount() != size) throw FormatError(path + ": cannot read the file");
  return parse_module_file(bytes, path);
}

}  // namespace modfile
