#include "pe_image.h"

#include <algorithm>

namespace modfile {

namespace {
constexpr uint16_t kMachineI386 = 0x14C;
constexpr uint16_t kCharacteristicDll = 0x2000;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint32_t kMaxSections = 96;
constexpr uint32_t kMaxNames = 4096;
constexpr uint32_t kMaxImportedDlls = 256;
constexpr int kMaxResourceEntries = 4096;
constexpr size_t kMaxNameLength = 256;
constexpr uint32_t kHighBit = 0x80000000u;
}  // namespace

PeImage::PeImage(ByteReader file) : file_(std::move(file)) {
  if (file_.u16(0, "DOS header") != 0x5A4D) file_.fail("not a PE file (no MZ header)");
  const uint32_t pe = file_.u32(0x3C, "PE header offset");
  if (file_.u32(pe, "PE signature") != 0x00004550) file_.fail("no PE signature at offset " + hex(pe));
  const uint16_t machine = file_.u16(pe + 4, "machine");
  if (machine != kMachineI386) file_.fail("not built for i386 (machine " + hex(machine) + ")");
  const uint16_t section_count = file_.u16(pe + 6, "section count");
  const uint16_t optional_size = file_.u16(pe + 20, "optional header size");
  const uint16_t characteristics = file_.u16(pe + 22, "characteristics");
  const uint64_t optional = uint64_t(pe) + 24;
  const uint16_t magic = file_.u16(optional, "optional header magic");
  if (magic != kMagicPe32) file_.fail("not a PE32 file (optional header magic " + hex(magic) + ")");
  if (!(characteristics & kCharacteristicDll)) file_.fail("a PE executable, not a DLL");
  if (optional_size < 96) file_.fail("optional header of " + std::to_string(optional_size) + " bytes is too short");
  file_.need(optional, optional_size, "optional header");
  image_base_ = file_.u32(optional + 28, "image base");
  const uint32_t directory_count = std::min<uint32_t>({file_.u32(optional + 92, "data directory count"), 16u, (optional_size - 96u) / 8});
  for (uint32_t d = 0; d < directory_count; ++d) {
    directories_.emplace_back(file_.u32(optional + 96 + 8 * d, "data directory"), file_.u32(optional + 100 + 8 * d, "data directory"));
  }

  if (section_count > kMaxSections) file_.fail("too many sections (" + std::to_string(section_count) + ")");
  const uint64_t table = optional + optional_size;
  file_.need(table, 40ull * section_count, "section table");
  for (uint32_t s = 0; s < section_count; ++s) {
    const uint64_t at = table + 40ull * s;
    PeSection section;
    const auto name = file_.slice(at, 8, "section name");
    section.name.assign(name.begin(), std::find(name.begin(), name.end(), uint8_t(0)));
    section.virtual_size = file_.u32(at + 8);
    section.virtual_address = file_.u32(at + 12);
    section.raw_size = file_.u32(at + 16);
    section.raw_offset = file_.u32(at + 20);
    if (section.raw_size) file_.need(section.raw_offset, section.raw_size, "section " + std::to_string(s + 1) + " (" + section.name + ") data");
    sections_.push_back(std::move(section));
  }
}

std::pair<uint32_t, uint32_t> PeImage::directory(unsigned index) const {
  return index < directories_.size() ? directories_[index] : std::pair<uint32_t, uint32_t>{0, 0};
}

std::optional<uint64_t> PeImage::rva_offset(uint64_t rva, uint64_t length) const {
  for (const PeSection& s : sections_) {
    // Only the bytes that come from the file; the rest of the section is zero fill.
    const uint64_t mapped = s.virtual_size ? std::min(s.virtual_size, s.raw_size) : s.raw_size;
    if (rva >= s.virtual_address && rva - s.virtual_address <= mapped && length <= mapped - (rva - s.virtual_address)) {
      return s.raw_offset + (rva - s.virtual_address);
    }
  }
  return std::nullopt;
}

uint64_t PeImage::rva_offset(uint64_t rva, uint64_t length, const std::string& what) const {
  const std::optional<uint64_t> offset = rva_offset(rva, length);
  if (!offset) throw FormatError(what + " points outside the module (RVA " + hex(rva) + ")");
  return *offset;
}

// In memory a section spans its virtual size (or its raw size, when that is
// given as zero); what the file does not hold of it is zero fill.
const PeSection* PeImage::section_holding(uint64_t address, uint64_t length) const {
  if (address < image_base_) return nullptr;
  const uint64_t rva = address - image_base_;
  for (const PeSection& s : sections_) {
    const uint64_t size = s.virtual_size ? s.virtual_size : s.raw_size;
    if (rva >= s.virtual_address && rva - s.virtual_address <= size && length <= size - (rva - s.virtual_address)) return &s;
  }
  return nullptr;
}

bool PeImage::holds(uint64_t address, uint64_t length) const { return section_holding(address, length) != nullptr; }

uint8_t PeImage::byte_at(uint64_t address) const {
  const PeSection* s = section_holding(address, 1);
  if (!s) throw FormatError("address " + hex(address) + " lies outside the module");
  const uint64_t at = address - image_base_ - s->virtual_address;
  return at < s->raw_size ? file_.u8(s->raw_offset + at) : 0;
}

std::string PeImage::string_at(uint64_t rva, const std::string& what) const {
  return file_.c_string(rva_offset(rva, 1, what), kMaxNameLength, what);
}

std::vector<PeExport> PeImage::exports() const {
  std::vector<PeExport> exports;
  const auto [rva, size] = directory(0);
  if (rva == 0) return exports;
  const uint64_t at = rva_offset(rva, 40, "export directory");
  const uint32_t function_count = file_.u32(at + 20), name_count = file_.u32(at + 24);
  const uint32_t functions = file_.u32(at + 28), names = file_.u32(at + 32), ordinals = file_.u32(at + 36);
  if (name_count > kMaxNames) file_.fail("export directory lists " + std::to_string(name_count) + " names");
  for (uint32_t i = 0; i < name_count; ++i) {
    PeExport entry;
    entry.name = string_at(file_.u32(rva_offset(names + 4ull * i, 4, "export name table")), "export name");
    const uint16_t ordinal = file_.u16(rva_offset(ordinals + 2ull * i, 2, "export ordinal table"));
    if (ordinal >= function_count) file_.fail("export " + entry.name + ": ordinal " + std::to_string(ordinal) + " lies beyond the address table");
    entry.rva = file_.u32(rva_offset(functions + 4ull * ordinal, 4, "export address table"));
    exports.push_back(std::move(entry));
  }
  return exports;
}

std::vector<Import> PeImage::imports() const {
  std::vector<Import> imports;
  const uint32_t rva = directory(1).first;
  if (rva == 0) return imports;
  for (uint32_t d = 0;; ++d) {
    if (d == kMaxImportedDlls) file_.fail("import directory has no closing entry");
    const uint64_t at = rva_offset(rva + 20ull * d, 20, "import directory");
    const uint32_t lookup = file_.u32(at), name = file_.u32(at + 12), thunks = file_.u32(at + 16);
    if (lookup == 0 && name == 0 && thunks == 0) break;
    Import import{string_at(name, "imported DLL name"), {}};
    const uint32_t table = lookup ? lookup : thunks;
    for (uint32_t i = 0;; ++i) {
      if (i == kMaxNames) file_.fail("imports from " + import.dll + " have no closing entry");
      const uint32_t entry = file_.u32(rva_offset(table + 4ull * i, 4, "import lookup table of " + import.dll));
      if (entry == 0) break;
      import.functions.push_back(entry & kHighBit ? "#" + std::to_string(entry & 0xFFFF)
                                                  : string_at(uint64_t(entry) + 2, "imported function name"));
    }
    imports.push_back(std::move(import));
  }
  return imports;
}

std::vector<Resource> PeImage::resources() const {
  std::vector<Resource> resources;
  const uint64_t root = directory(2).first;
  if (root == 0) return resources;
  int entries = 0;

  // An entry's name field: a number, or (high bit set) the offset of a counted UTF-16 string.
  auto name_of = [this, root](uint32_t field) {
    if (!(field & kHighBit)) return ResourceName::of(field);
    const uint64_t at = rva_offset(root + (field & ~kHighBit), 2, "resource name");
    const uint16_t length = file_.u16(at);
    if (length > kMaxNameLength) file_.fail("resource name at offset " + hex(at) + " is " + std::to_string(length) + " characters long");
    const uint64_t text = rva_offset(root + (field & ~kHighBit) + 2, 2ull * length, "resource name");
    return ResourceName::of(utf8_from_utf16(file_.utf16_string(text, text + 2ull * length, length, "resource name")));
  };

  // Three levels: type, name, language; the third level's entries are data entries.
  auto walk = [&](auto& self, uint32_t directory, int level, const Resource& partial) -> void {
    const uint64_t at = rva_offset(root + directory, 16, "resource directory");
    const uint32_t count = uint32_t(file_.u16(at + 12)) + file_.u16(at + 14);
    for (uint32_t i = 0; i < count; ++i) {
      if (++entries > kMaxResourceEntries) file_.fail("resource directory holds more than " + std::to_string(kMaxResourceEntries) + " entries");
      const uint64_t entry = rva_offset(root + directory + 16 + 8ull * i, 8, "resource directory entry");
      const uint32_t id = file_.u32(entry), target = file_.u32(entry + 4);
      Resource next = partial;
      if (level == 0) next.type = name_of(id);
      if (level == 1) next.name = name_of(id);
      if (level == 2) next.language = uint16_t(id);
      if (target & kHighBit) {
        if (level == 2) file_.fail("resource directory is deeper than type, name and language");
        self(self, target & ~kHighBit, level + 1, next);
      } else {
        if (level != 2) file_.fail("resource data entry above the language level");
        const uint64_t data_entry = rva_offset(root + target, 16, "resource data entry");
        const uint32_t data_rva = file_.u32(data_entry), data_size = file_.u32(data_entry + 4);
        const auto bytes = file_.slice(rva_offset(data_rva, data_size, "resource data"), data_size, "resource data");
        next.data.assign(bytes.begin(), bytes.end());
        resources.push_back(std::move(next));
      }
    }
  };
  walk(walk, 0, 0, Resource{});
  return resources;
}

}  // namespace modfile
