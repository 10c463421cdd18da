// Bounds-checked little-endian reads from the bytes of a file. Every read
// names the field it wanted and the offset, so a damaged file says where.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace modfile {

class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline std::string hex(uint64_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(value));
  return buffer;
}

// Runs `read`, putting `context` in front of any FormatError it throws.
template <class Read>
auto in_context(const std::string& context, Read&& read) -> decltype(read()) {
  try {
    return read();
  } catch (const FormatError& e) {
    throw FormatError(context + ": " + e.what());
  }
}

class ByteReader {
 public:
  // `what` starts every message (the path, or a part of the file); may be empty.
  explicit ByteReader(std::span<const uint8_t> bytes, std::string what = {}) : bytes_(bytes), what_(std::move(what)) {}

  size_t size() const { return bytes_.size(); }
  std::span<const uint8_t> bytes() const { return bytes_; }
  bool has(uint64_t offset, uint64_t length) const { return offset <= bytes_.size() && length <= bytes_.size() - offset; }

  void need(uint64_t offset, uint64_t length, std::string_view field) const {
    if (!has(offset, length)) {
      fail(std::string(field) + " at offset " + hex(offset) + (length > 1 ? " (" + std::to_string(length) + " bytes)" : "") +
           " lies beyond the end (" + std::to_string(bytes_.size()) + " bytes)");
    }
  }
  [[noreturn]] void fail(const std::string& message) const { throw FormatError(what_.empty() ? message : what_ + ": " + message); }

  uint8_t u8(uint64_t offset, std::string_view field = "byte") const {
    need(offset, 1, field);
    return bytes_[size_t(offset)];
  }
  uint16_t u16(uint64_t offset, std::string_view field = "16-bit value") const {
    need(offset, 2, field);
    const uint8_t* p = bytes_.data() + offset;
    return uint16_t(p[0] | p[1] << 8);
  }
  uint32_t u32(uint64_t offset, std::string_view field = "32-bit value") const {
    need(offset, 4, field);
    const uint8_t* p = bytes_.data() + offset;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  }
  int32_t i32(uint64_t offset, std::string_view field = "32-bit value") const { return int32_t(u32(offset, field)); }
  uint64_t u64(uint64_t offset, std::string_view field = "64-bit value") const {
    need(offset, 8, field);
    return uint64_t(u32(offset, field)) | uint64_t(u32(offset + 4, field)) << 32;
  }
  std::span<const uint8_t> slice(uint64_t offset, uint64_t length, std::string_view field) const {
    need(offset, length, field);
    return bytes_.subspan(size_t(offset), size_t(length));
  }
  // A NUL-terminated string of at most max_length bytes before the NUL.
  std::string c_string(uint64_t offset, size_t max_length, std::string_view field) const {
    std::string text;
    for (size_t i = 0; i <= max_length; ++i) {
      const uint8_t c = u8(offset + i, field);
      if (c == 0) return text;
      text += char(c);
    }
    fail(std::string(field) + " at offset " + hex(offset) + " is not closed within " + std::to_string(max_length) + " bytes");
  }
  // A UTF-16 string of at most max_units code units, up to its NUL or `end`.
  std::u16string utf16_string(uint64_t offset, uint64_t end, size_t max_units, std::string_view field) const {
    std::u16string text;
    for (uint64_t at = offset; at + 2 <= end; at += 2) {
      const char16_t c = char16_t(u16(at, field));
      if (c == 0) break;
      if (text.size() == max_units) fail(std::string(field) + " at offset " + hex(offset) + " is longer than " + std::to_string(max_units) + " characters");
      text += c;
    }
    return text;
  }

 private:
  std::span<const uint8_t> bytes_;
  std::string what_;
};

// UTF-8 for UTF-16 text read from a file; an unpaired surrogate becomes U+FFFD.
inline std::string utf8_from_utf16(std::u16string_view units) {
  std::string text;
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      text += char(c);
    } else if (c < 0x800) {
      text += char(0xC0 | c >> 6);
      text += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      text += char(0xE0 | c >> 12);
      text += char(0x80 | ((c >> 6) & 0x3F));
      text += char(0x80 | (c & 0x3F));
    } else {
      text += char(0xF0 | c >> 18);
      text += char(0x80 | ((c >> 12) & 0x3F));
      text += char(0x80 | ((c >> 6) & 0x3F));
      text += char(0x80 | (c & 0x3F));
    }
  }
  return text;
}


}  // namespace modfile
