#include "res_file.h"

namespace modfile {

namespace {
constexpr size_t kMaxNameLength = 256;

uint64_t align4(uint64_t offset) { return (offset + 3) & ~uint64_t(3); }

// A type or name field: 0xFFFF and a 16-bit number, or a NUL-terminated UTF-16 string.
ResourceName read_name(const ByteReader& res, uint64_t& at, uint64_t end) {
  if (res.u16(at, "resource name") == 0xFFFF) {
    const uint16_t id = res.u16(at + 2, "resource id");
    at += 4;
    return ResourceName::of(id);
  }
  const std::u16string text = res.utf16_string(at, end, kMaxNameLength, "resource name");
  at += 2 * text.size();
  res.need(at, 2, "end of resource name");
  at += 2;
  return ResourceName::of(utf8_from_utf16(text));
}
}  // namespace

std::vector<Resource> parse_res_file(const ByteReader& res) {
  std::vector<Resource> resources;
  for (uint64_t at = 0; at < res.size();) {
    const uint32_t data_size = res.u32(at, "resource data size");
    const uint32_t header_size = res.u32(at + 4, "resource header size");
    res.need(at, header_size, "resource header");
    const uint64_t header_end = at + header_size;
    uint64_t p = at + 8;
    Resource resource;
    resource.type = read_name(res, p, header_end);
    resource.name = read_name(res, p, header_end);
    p = align4(p);
    if (p + 16 > header_end) res.fail("resource header at offset " + hex(at) + " is shorter than its fields");
    resource.language = res.u16(p + 6, "resource language");
    const auto data = res.slice(header_end, data_size, "resource data");
    resource.data.assign(data.begin(), data.end());
    if (!resource.type.is(0)) resources.push_back(std::move(resource));  // the empty entry that opens the file
    at = align4(header_end + data_size);
  }
  return resources;
}

}  // namespace modfile
