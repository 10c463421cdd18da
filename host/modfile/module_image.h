// A module file seen as the module would lie in memory once loaded, so that
// its exported records can be followed without loading it.
#pragma once

#include <cstdint>

#include "byte_reader.h"

namespace modfile {

class ModuleImage {
 public:
  virtual ~ModuleImage() = default;
  // Whether `length` bytes at `address` lie in the loaded image: bytes from
  // the file, or the zero fill that the loader adds after them.
  virtual bool holds(uint64_t address, uint64_t length) const = 0;
  // One byte of the image at an address it holds.
  virtual uint8_t byte_at(uint64_t address) const = 0;
  // The pointer that a loaded module holds in the slot at an address it holds.
  virtual uint64_t pointer_at(uint64_t address) const = 0;

  uint32_t u32_at(uint64_t address) const {
    return uint32_t(byte_at(address)) | uint32_t(byte_at(address + 1)) << 8 | uint32_t(byte_at(address + 2)) << 16 |
           uint32_t(byte_at(address + 3)) << 24;
  }
};

}  // namespace modfile
