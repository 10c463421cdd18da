#include "version_info.h"

#include <algorithm>

namespace modfile {

namespace {
constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;
constexpr uint64_t kFixedInfoSize = 52;
constexpr size_t kMaxKeyLength = 64;
constexpr size_t kMaxValueLength = 4096;
constexpr uint16_t kTextValue = 1;

uint64_t align4(uint64_t offset) { return (offset + 3) & ~uint64_t(3); }

// Every block: length, value length, type, key, padding, value, padding, children.
struct Block {
  std::string key;
  uint16_t type = 0;
  uint64_t value = 0, value_end = 0, children = 0, end = 0;
};

Block read_block(const ByteReader& r, uint64_t at, uint64_t parent_end) {
  const uint16_t length = r.u16(at, "version block length");
  if (length < 6 || length > parent_end - at) {
    r.fail("version block at offset " + hex(at) + " of " + std::to_string(length) + " bytes does not fit in its parent");
  }
  Block block;
  block.end = at + length;
  const uint16_t value_length = r.u16(at + 2);
  block.type = r.u16(at + 4);
  const std::u16string key = r.utf16_string(at + 6, block.end, kMaxKeyLength, "version block key");
  block.key = utf8_from_utf16(key);
  block.value = std::min(align4(at + 6 + 2 * (key.size() + 1)), block.end);
  // A text value's length counts characters; writers differ, so it only bounds the value.
  const uint64_t value_bytes = block.type == kTextValue ? 2ull * value_length : value_length;
  block.value_end = std::min(block.value + value_bytes, block.end);
  block.children = std::min(align4(block.value_end), block.end);
  return block;
}

template <class Visit>
void for_each_child(const ByteReader& r, const Block& parent, Visit&& visit) {
  for (uint64_t at = parent.children; at + 6 <= parent.end;) {
    const Block child = read_block(r, at, parent.end);
    visit(child);
    at = align4(child.end);
  }
}

std::string version(uint32_t most, uint32_t least) {
  return std::to_string(most >> 16) + "." + std::to_string(most & 0xFFFF) + "." + std::to_string(least >> 16) + "." +
         std::to_string(least & 0xFFFF);
}
}  // namespace

std::string VersionInfo::value(const std::string& key) const {
  for (const auto& [k, v] : strings) {
    if (k == key) return v;
  }
  return {};
}

VersionInfo parse_version_info(std::span<const uint8_t> bytes) {
  const ByteReader r(bytes, "version resource");
  const Block root = read_block(r, 0, bytes.size());
  if (root.key != "VS_VERSION_INFO") r.fail("starts with \"" + root.key + "\", not VS_VERSION_INFO");
  if (root.value_end - root.value < kFixedInfoSize || r.u32(root.value) != kFixedInfoSignature) {
    r.fail("no fixed file information");
  }
  VersionInfo info;
  info.file_version = version(r.u32(root.value + 8), r.u32(root.value + 12));
  info.product_version = version(r.u32(root.value + 16), r.u32(root.value + 20));

  for_each_child(r, root, [&](const Block& group) {
    if (group.key == "StringFileInfo") {
      for_each_child(r, group, [&](const Block& table) {
        if (info.string_table.empty()) info.string_table = table.key;
        for_each_child(r, table, [&](const Block& string) {
          const std::u16string text = r.utf16_string(string.value, string.value_end, kMaxValueLength, "version string");
          info.strings.emplace_back(string.key, utf8_from_utf16(text));
        });
      });
    } else if (group.key == "VarFileInfo") {
      for_each_child(r, group, [&](const Block& var) {
        if (var.key != "Translation") return;
        for (uint64_t at = var.value; at + 4 <= var.value_end; at += 4) info.translations.push_back({r.u16(at), r.u16(at + 2)});
      });
    }
  });
  return info;
}

}  // namespace modfile
