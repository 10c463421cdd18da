// Bounds-checked little-endian reads from bytes taken from a file.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace modfile {

class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes, std::string what = "file") : bytes_(bytes), what_(std::move(what)) {}

  size_t size() const { return bytes_.size(); }
  bool has(uint64_t offset, uint64_t length) const { return offset <= bytes_.size() && length <= bytes_.size() - offset; }
  void need(uint64_t offset, uint64_t length, const char* field) const {
    if (!has(offset, length)) {
      throw FormatError(what_ + ": " + field + " at offset " + std::to_string(offset) + " lies beyond the end (" +
                        std::to_string(bytes_.size()) + " bytes)");
    }
  }
  uint8_t u8(uint64_t offset, const char* field = "byte") const {
    need(offset, 1, field);
    return bytes_[offset];
  }
  uint16_t u16(uint64_t offset, const char* field = "16-bit value") const {
    need(offset, 2, field);
    return uint16_t(bytes_[offset] | bytes_[offset + 1] << 8);
  }
  uint32_t u32(uint64_t offset, const char* field = "32-bit value") const {
    need(offset, 4, field);
    return uint32_t(bytes_[offset]) | uint32_t(bytes_[offset + 1]) << 8 | uint32_t(bytes_[offset + 2]) << 16 |
           uint32_t(bytes_[offset + 3]) << 24;
  }
  uint64_t u64(uint64_t offset, const char* field = "64-bit value") const {
    return uint64_t(u32(offset, field)) | uint64_t(u32(offset + 4, field)) << 32;
  }
  std::span<const uint8_t> slice(uint64_t offset, uint64_t length, const char* field) const {
    need(offset, length, field);
    return bytes_.subspan(offset, length);
  }
  // A NUL-terminated string of at most max_length bytes.
  std::string c_string(uint64_t offset, size_t max_length, const char* field) const {
    std::string text;
    for (size_t i = 0; i < max_length; ++i) {
      const uint8_t c = u8(offset + i, field);
      if (c == 0) return text;
      text += char(c);
    }
    throw FormatError(what_ + ": " + field + " at offset " + std::to_string(offset) + " has no end");
  }
  std::span<const uint8_t> bytes() const { return bytes_; }

 private:
  std::span<const uint8_t> bytes_;
  std::string what_;
};

}  // namespace modfile
