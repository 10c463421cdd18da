// Named variables shared by every loaded module, such as the lighting switch.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "recent_names.h"

namespace host {

class NamedVariables {
 public:
  // What check() answers for a name nobody registered: reads give 0, writes do nothing.
  static constexpr uint32_t kUnregistered = 0xFFFFFFFFu;

  uint32_t register_name(std::string_view name);  // a new variable holds 0
  uint32_t check(std::string_view name, TextAt text = TextAt::MayChange) const;
  double get(uint32_t id) const;
  void set(uint32_t id, double value);

  std::optional<double> value(std::string_view name) const;
  void set_by_name(std::string_view name, double value);  // registers when needed
  void clear();

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, uint32_t, Hash, std::equal_to<>> ids_;
  std::vector<double> values_;
  mutable RecentNames<uint32_t> recent_;
};

}  // namespace host
