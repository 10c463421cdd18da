// The native module file: an x86-64 ELF shared object, read without loading it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "byte_reader.h"
#include "module_image.h"

namespace modfile {

struct ElfSection {
  std::string name;
  uint32_t type = 0, link = 0;
  uint64_t address = 0, offset = 0, size = 0;
};

struct ElfSymbol {
  std::string name;
  uint64_t value = 0, size = 0;
  uint16_t section = 0;  // 0: defined elsewhere
  uint8_t binding = 0, visibility = 0;
};

class ElfImage final : public ModuleImage {
 public:
  // Checks the headers and that every loadable segment and every section
  // lies in the file; reads the dynamic symbols and relocations. Throws FormatError.
  explicit ElfImage(ByteReader file);

  const std::vector<ElfSection>& sections() const { return sections_; }
  const ElfSection* section(std::string_view name) const;
  std::span<const uint8_t> contents(const ElfSection& section) const;

  // The symbols that the module defines and exports, in symbol table order.
  std::vector<ElfSymbol> exported_symbols() const;
  const ElfSymbol* exported(std::string_view name) const;

  // Addresses are the module's own, from 0; a loaded module holds them plus its base.
  bool holds(uint64_t address, uint64_t length) const override;
  uint8_t byte_at(uint64_t address) const override;
  // A relocated slot holds what its relocation writes there; any other slot what the image holds.
  uint64_t pointer_at(uint64_t address) const override;

 private:
  struct Segment {
    uint64_t offset, address, file_size, memory_size;
  };
  const Segment* segment_holding(uint64_t address, uint64_t length) const;
  void read_program_headers();
  void read_section_headers();
  void read_dynamic_symbols();
  void read_relocations();

  ByteReader file_;
  std::vector<Segment> segments_;
  std::vector<ElfSection> sections_;
  std::vector<ElfSymbol> dynamic_symbols_;
  uint32_t dynamic_symbol_section_ = 0;
  std::map<uint64_t, uint64_t> relocated_;  // slot address -> value written there
};

}  // namespace modfile
