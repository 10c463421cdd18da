// Native module files: an x86-64 ELF shared object carrying its compiled
// resources in the section ".gauge_resources".
#include "pe_file.h"

namespace modfile {

namespace {
constexpr uint32_t kMaxSections = 4096;
constexpr uint64_t kMaxSymbols = 1 << 20;
}

void read_elf_file(const ByteReader& file, ModuleFile& module) {
  if (file.u32(0, "ELF header") != 0x464C457F) throw FormatError("not an ELF file");
  if (file.u8(4) != 2 || file.u8(5) != 1) throw FormatError("not a 64-bit little-endian ELF file");
  if (file.u16(16, "ELF type") != 3) throw FormatError("not a shared object");
  if (file.u16(18, "ELF machine") != 62) throw FormatError("not built for x86-64");
  module.format = "ELF x86-64 shared object";

  // Every loadable segment must lie in the file: the loader maps them as they are.
  const uint64_t segments = file.u64(32, "program header offset");
  const uint16_t segment_entry_size = file.u16(54, "program header size");
  const uint16_t segment_count = file.u16(56, "program header count");
  if (segment_entry_size < 56) throw FormatError("bad program header table");
  for (uint32_t i = 0; i < segment_count; ++i) {
    const uint64_t at = segments + uint64_t(i) * segment_entry_size;
    if (file.u32(at, "program header") != 1) continue;  // PT_LOAD
    file.need(file.u64(at + 8, "segment offset"), file.u64(at + 32, "segment size"), "loadable segment");
  }

  const uint64_t sections = file.u64(40, "section header offset");
  const uint16_t entry_size = file.u16(58, "section header size");
  const uint16_t count = file.u16(60, "section count");
  const uint16_t names_index = file.u16(62, "section name index");
  if (entry_size < 64 || count > kMaxSections || names_index >= count) throw FormatError("bad section header table");
  auto section = [&](uint32_t i) { return sections + uint64_t(i) * entry_size; };
  const uint64_t names = file.u64(section(names_index) + 24, "section names");

  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t at = section(i);
    const std::string name = file.c_string(names + file.u32(at, "section name"), 64, "section name");
    const uint32_t type = file.u32(at + 4, "section type");
    const uint64_t offset = file.u64(at + 24, "section offset"), size = file.u64(at + 32, "section size");
    if (name == ".gauge_resources") {
      module.resources = parse_res_file(ByteReader(file.slice(offset, size, "resource section"), "resource section"));
    } else if (type == 11) {  // the dynamic symbol table: what the module exports
      const uint32_t strings = file.u32(at + 40, "symbol string table");
      if (strings >= count) throw FormatError("bad symbol string table");
      const uint64_t string_offset = file.u64(section(strings) + 24, "symbol strings");
      const uint64_t symbols = size / 24;
      if (symbols > kMaxSymbols) throw FormatError("too many dynamic symbols");
      for (uint64_t s = 1; s < symbols; ++s) {
        const uint64_t symbol = offset + s * 24;
        const uint16_t defined_in = file.u16(symbol + 6, "symbol");
        const uint8_t binding = file.u8(symbol + 4, "symbol") >> 4;
        if (defined_in == 0 || binding == 0) continue;  // imported, or local
        module.exports.push_back(file.c_string(string_offset + file.u32(symbol, "symbol name"), 256, "symbol name"));
      }
    }
  }
}

std::vector<Resource> parse_res_file(const ByteReader& res) {
  std::vector<Resource> resources;
  uint64_t at = 0;
  auto read_name = [&](uint64_t& p) {
    ResourceName name;
    if (res.u16(p, "resource name") == 0xFFFF) {
      name.id = res.u16(p + 2, "resource id");
      p += 4;
    } else {
      for (int i = 0;; ++i, p += 2) {
        if (i > 256) throw FormatError("resource name has no end");
        const uint16_t c = res.u16(p, "resource name");
        if (c == 0) break;
        name.text += c < 0x80 ? char(c) : '?';
      }
      p += 2;
    }
    return name;
  };
  while (at + 32 <= res.size()) {
    const uint32_t data_size = res.u32(at, "resource header"), header_size = res.u32(at + 4, "resource header");
    if (header_size < 24 || header_size > res.size()) throw FormatError("bad resource header at " + std::to_string(at));
    uint64_t p = at + 8;
    Resource resource;
    resource.type = read_name(p);
    resource.name = read_name(p);
    p = (p + 3) & ~uint64_t(3);
    resource.language = res.u16(p + 6, "resource language");
    const auto data = res.slice(at + header_size, data_size, "resource data");
    resource.data.assign(data.begin(), data.end());
    // The file starts with an empty entry.
    if (!(data_size == 0 && resource.type.is_number() && resource.type.number() == 0)) resources.push_back(std::move(resource));
    at = (at + header_size + data_size + 3) & ~uint64_t(3);
  }
  return resources;
}

}  // namespace modfile
