// The shipped module file: a PE32 i386 DLL, read without loading it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "byte_reader.h"
#include "module_image.h"
#include "resource.h"

namespace modfile {

struct PeSection {
  std::string name;
  uint32_t virtual_address = 0, virtual_size = 0, raw_offset = 0, raw_size = 0;
};

struct PeExport {
  std::string name;
  uint32_t rva = 0;
};

struct Import {
  std::string dll;
  std::vector<std::string> functions;  // by name, or "#ordinal"
};

class PeImage final : public ModuleImage {
 public:
  // Checks the headers and that the section table and every section's data
  // lie in the file. Throws FormatError.
  explicit PeImage(ByteReader file);

  uint32_t image_base() const { return image_base_; }
  const std::vector<PeSection>& sections() const { return sections_; }
  // Relative address and size of a data directory; {0, 0} when it is absent.
  std::pair<uint32_t, uint32_t> directory(unsigned index) const;

  // The file offset of `length` bytes at a relative virtual address.
  std::optional<uint64_t> rva_offset(uint64_t rva, uint64_t length) const;
  uint64_t rva_offset(uint64_t rva, uint64_t length, const std::string& what) const;

  // In the order of the export name table.
  std::vector<PeExport> exports() const;
  // In the order of the import directory.
  std::vector<Import> imports() const;
  // Type, name and language, in directory order.
  std::vector<Resource> resources() const;

  // Addresses here are virtual addresses: image base plus RVA.
  bool holds(uint64_t address, uint64_t length) const override;
  uint8_t byte_at(uint64_t address) const override;
  uint64_t pointer_at(uint64_t address) const override { return u32_at(address); }

 private:
  std::string string_at(uint64_t rva, const std::string& what) const;
  const PeSection* section_holding(uint64_t address, uint64_t length) const;

  ByteReader file_;
  uint32_t image_base_ = 0;
  std::vector<std::pair<uint32_t, uint32_t>> directories_;
  std::vector<PeSection> sections_;
};

}  // namespace modfile
