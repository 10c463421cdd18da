#include "version_info.h"

namespace modfile {

namespace {
constexpr int kMaxDepth = 8;

std::string utf16_at(const ByteReader& r, uint64_t& at, uint64_t end) {
  std::string text;
  while (at + 2 <= end) {
    const uint16_t c = r.u16(at, "version text");
    at += 2;
    if (c == 0) break;
    if (c < 0x80) {
      text += char(c);
    } else if (c < 0x800) {
      text += char(0xC0 | c >> 6);
      text += char(0x80 | (c & 0x3F));
    } else {
      text += char(0xE0 | c >> 12);
      text += char(0x80 | ((c >> 6) & 0x3F));
      text += char(0x80 | (c & 0x3F));
    }
  }
  return text;
}

std::string version(uint32_t most, uint32_t least) {
  return std::to_string(most >> 16) + "." + std::to_string(most & 0xFFFF) + "." + std::to_string(least >> 16) + "." +
         std::to_string(least & 0xFFFF);
}

// Each block: length, value length, type, key, padding, value, children.
void walk(const ByteReader& r, uint64_t at, uint64_t end, int depth, const std::string& parent, VersionInfo& info) {
  while (at + 6 <= end) {
    const uint16_t length = r.u16(at, "version block");
    if (length < 6 || at + length > end) throw FormatError("version resource: bad block length");
    const uint64_t block_end = at + length;
    const uint16_t value_length = r.u16(at + 2), type = r.u16(at + 4);
    uint64_t p = at + 6;
    const std::string key = utf16_at(r, p, block_end);
    p = (p + 3) & ~uint64_t(3);
    if (key == "VS_VERSION_INFO" && value_length >= 52 && r.u32(p) == 0xFEEF04BD) {
      info.file_version = version(r.u32(p + 8), r.u32(p + 12));
      info.product_version = version(r.u32(p + 16), r.u32(p + 20));
    }
    if (parent.size() == 8 && type == 1) {  // a string inside a language table such as 040904b0
      uint64_t v = p;
      info.strings.emplace_back(key, value_length ? utf16_at(r, v, block_end) : "");
    }
    uint64_t children = p + (type == 1 ? uint64_t(value_length) * 2 : value_length);
    children = (children + 3) & ~uint64_t(3);
    if (depth < kMaxDepth && children < block_end) walk(r, children, block_end, depth + 1, key, info);
    at = (block_end + 3) & ~uint64_t(3);
  }
}
}  // namespace

std::string VersionInfo::value(const std::string& key) const {
  for (const auto& [k, v] : strings) {
    if (k == key) return v;
  }
  return {};
}

VersionInfo parse_version_info(std::span<const uint8_t> bytes) {
  VersionInfo info;
  const ByteReader r(bytes, "version resource");
  walk(r, 0, bytes.size(), 0, "", info);
  return info;
}

}  // namespace modfile
