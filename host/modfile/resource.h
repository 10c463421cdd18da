// A module's resources as both builds carry them: bitmaps (type 2), the
// version resource (type 16) and the manifest (type 24).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace modfile {

inline constexpr uint32_t kBitmapResource = 2;
inline constexpr uint32_t kVersionResource = 16;
inline constexpr uint32_t kManifestResource = 24;

// A resource type or name: a number, or a string (kept as UTF-8).
struct ResourceName {
  std::optional<uint32_t> id;
  std::string text;

  static ResourceName of(uint32_t number) { return {number, {}}; }
  static ResourceName of(std::string name) { return {std::nullopt, std::move(name)}; }
  bool is_number() const { return id.has_value(); }
  uint32_t number() const { return id.value_or(0); }
  bool is(uint32_t number) const { return id == number; }
  bool operator==(const ResourceName&) const = default;
};

struct Resource {
  ResourceName type, name;
  uint16_t language = 0;
  std::vector<uint8_t> data;
};

// The first resource of that type and numeric name, or null.
inline const Resource* find_resource(const std::vector<Resource>& resources, uint32_t type, uint32_t name) {
  for (const Resource& resource : resources) {
    if (resource.type.is(type) && resource.name.is(name)) return &resource;
  }
  return nullptr;
}

}  // namespace modfile
