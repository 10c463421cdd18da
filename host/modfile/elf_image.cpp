#include "elf_image.h"

#include <algorithm>

namespace modfile {

namespace {
constexpr uint16_t kSharedObject = 3;
constexpr uint16_t kMachineX86_64 = 62;
constexpr uint32_t kLoadSegment = 1;
constexpr uint32_t kRelaSection = 4, kNoBitsSection = 8, kDynamicSymbolSection = 11;
constexpr uint32_t kRelative = 8, kAbsolute64 = 1, kGlobalData = 6, kJumpSlot = 7;
constexpr uint64_t kEntrySize = 24;  // both symbols and relocations with addend
constexpr uint64_t kMaxEntries = 1 << 20;
constexpr size_t kMaxNameLength = 256;
// What a slot holds when it points at a symbol that another library defines.
constexpr uint64_t kElsewhere = ~uint64_t(0);

bool is_exported(const ElfSymbol& symbol) {
  const bool global_or_weak = symbol.binding == 1 || symbol.binding == 2;
  const bool visible = symbol.visibility == 0 || symbol.visibility == 3;  // default or protected
  return symbol.section != 0 && global_or_weak && visible;
}
}  // namespace

ElfImage::ElfImage(ByteReader file) : file_(std::move(file)) {
  if (file_.u32(0, "ELF header") != 0x464C457F) file_.fail("not an ELF file");
  if (file_.u8(4, "ELF class") != 2 || file_.u8(5, "ELF byte order") != 1) file_.fail("not a 64-bit little-endian ELF file");
  const uint16_t type = file_.u16(16, "ELF type");
  if (type != kSharedObject) file_.fail("not a shared object (ELF type " + std::to_string(type) + ")");
  const uint16_t machine = file_.u16(18, "ELF machine");
  if (machine != kMachineX86_64) file_.fail("not built for x86-64 (machine " + std::to_string(machine) + ")");
  file_.need(0, 64, "ELF header");
  read_program_headers();
  read_section_headers();
  read_dynamic_symbols();
  read_relocations();
}

void ElfImage::read_program_headers() {
  const uint64_t table = file_.u64(32), count = file_.u16(56);
  const uint64_t entry_size = file_.u16(54);
  if (count == 0) return;
  if (entry_size < 56) file_.fail("program header entries of " + std::to_string(entry_size) + " bytes are too short");
  file_.need(table, count * entry_size, "program header table");
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t at = table + i * entry_size;
    if (file_.u32(at) != kLoadSegment) continue;
    const Segment segment{file_.u64(at + 8), file_.u64(at + 16), file_.u64(at + 32), file_.u64(at + 40)};
    // The loader maps these bytes as they are: all of them must be in the file.
    file_.need(segment.offset, segment.file_size, "loadable segment " + std::to_string(i));
    segments_.push_back(segment);
  }
}

void ElfImage::read_section_headers() {
  const uint64_t table = file_.u64(40), entry_size = file_.u16(58), count = file_.u16(60), names_index = file_.u16(62);
  if (count == 0) return;
  if (entry_size < 64) file_.fail("section header entries of " + std::to_string(entry_size) + " bytes are too short");
  file_.need(table, count * entry_size, "section header table");
  if (names_index >= count) file_.fail("section name table index " + std::to_string(names_index) + " is not a section");
  const uint64_t names = file_.u64(table + names_index * entry_size + 24);
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t at = table + i * entry_size;
    ElfSection section;
    section.name = file_.c_string(names + file_.u32(at), kMaxNameLength, "section name");
    section.type = file_.u32(at + 4);
    section.address = file_.u64(at + 16);
    section.offset = file_.u64(at + 24);
    section.size = file_.u64(at + 32);
    section.link = file_.u32(at + 40);
    if (section.type != kNoBitsSection) file_.need(section.offset, section.size, "section " + section.name);
    sections_.push_back(std::move(section));
  }
}

void ElfImage::read_dynamic_symbols() {
  for (uint32_t s = 0; s < sections_.size(); ++s) {
    if (sections_[s].type != kDynamicSymbolSection) continue;
    const ElfSection& symbols = sections_[s];
    if (symbols.link >= sections_.size()) file_.fail("dynamic symbol names: section " + std::to_string(symbols.link) + " does not exist");
    const uint64_t strings = sections_[symbols.link].offset;
    const uint64_t count = symbols.size / kEntrySize;
    if (count > kMaxEntries) file_.fail("too many dynamic symbols (" + std::to_string(count) + ")");
    dynamic_symbol_section_ = s;
    for (uint64_t i = 0; i < count; ++i) {
      const uint64_t at = symbols.offset + i * kEntrySize;
      ElfSymbol symbol;
      symbol.name = file_.c_string(strings + file_.u32(at), kMaxNameLength, "symbol name");
      symbol.binding = file_.u8(at + 4) >> 4;
      symbol.visibility = file_.u8(at + 5) & 3;
      symbol.section = file_.u16(at + 6);
      symbol.value = file_.u64(at + 8);
      symbol.size = file_.u64(at + 16);
      dynamic_symbols_.push_back(std::move(symbol));
    }
    return;
  }
}

void ElfImage::read_relocations() {
  for (const ElfSection& section : sections_) {
    // The loader's relocations: those against the dynamic symbols, or against none.
    const bool dynamic = section.link == 0 || (section.link == dynamic_symbol_section_ && !dynamic_symbols_.empty());
    if (section.type != kRelaSection || !dynamic) continue;
    const uint64_t count = section.size / kEntrySize;
    if (count > kMaxEntries) file_.fail("too many relocations in " + section.name + " (" + std::to_string(count) + ")");
    for (uint64_t i = 0; i < count; ++i) {
      const uint64_t at = section.offset + i * kEntrySize;
      const uint64_t slot = file_.u64(at), info = file_.u64(at + 8), addend = file_.u64(at + 16);
      const uint32_t type = uint32_t(info), symbol_index = uint32_t(info >> 32);
      if (type == kRelative) {
        relocated_[slot] = addend;
      } else if (type == kAbsolute64 || type == kGlobalData || type == kJumpSlot) {
        if (symbol_index >= dynamic_symbols_.size()) file_.fail("relocation " + std::to_string(i) + " in " + section.name + " names no symbol");
        const ElfSymbol& symbol = dynamic_symbols_[symbol_index];
        relocated_[slot] = symbol.section == 0 ? kElsewhere : symbol.value + (type == kAbsolute64 ? addend : 0);
      }
    }
  }
}

const ElfSection* ElfImage::section(std::string_view name) const {
  for (const ElfSection& s : sections_) {
    if (s.name == name) return &s;
  }
  return nullptr;
}

std::span<const uint8_t> ElfImage::contents(const ElfSection& section) const {
  if (section.type == kNoBitsSection) return {};
  return file_.slice(section.offset, section.size, "section " + section.name);
}

std::vector<ElfSymbol> ElfImage::exported_symbols() const {
  std::vector<ElfSymbol> exported;
  for (const ElfSymbol& symbol : dynamic_symbols_) {
    if (is_exported(symbol)) exported.push_back(symbol);
  }
  return exported;
}

const ElfSymbol* ElfImage::exported(std::string_view name) const {
  for (const ElfSymbol& symbol : dynamic_symbols_) {
    if (symbol.name == name && is_exported(symbol)) return &symbol;
  }
  return nullptr;
}

const ElfImage::Segment* ElfImage::segment_holding(uint64_t address, uint64_t length) const {
  for (const Segment& s : segments_) {
    const uint64_t size = std::max(s.memory_size, s.file_size);
    if (address >= s.address && address - s.address <= size && length <= size - (address - s.address)) return &s;
  }
  return nullptr;
}

bool ElfImage::holds(uint64_t address, uint64_t length) const { return segment_holding(address, length) != nullptr; }

uint8_t ElfImage::byte_at(uint64_t address) const {
  const Segment* s = segment_holding(address, 1);
  if (!s) throw FormatError("address " + hex(address) + " lies outside the module");
  const uint64_t at = address - s->address;
  return at < s->file_size ? file_.u8(s->offset + at) : 0;
}

uint64_t ElfImage::pointer_at(uint64_t address) const {
  if (const auto found = relocated_.find(address); found != relocated_.end()) return found->second;
  uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = value << 8 | byte_at(address + uint64_t(i));
  return value;
}

}  // namespace modfile
