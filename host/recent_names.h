// Modules hand the host the same constant name strings over and over: a
// lookup remembers where each name it found lives, so that the next lookup of
// the text at that address compares it with the kept name instead of hashing
// it, and a text in memory that cannot change is not even compared. The kept
// names must outlive the entries (map nodes that are never erased, or
// forget() when they are).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace host {

// Whether a text can change at its address: a module's read-only data cannot.
enum class TextAt : uint8_t { MayChange, Constant };

// The slot of a small direct-mapped table that remembers things by address.
inline size_t address_slot(const void* address, size_t slots) {
  return size_t((uint64_t(reinterpret_cast<uintptr_t>(address)) * 0x9E3779B97F4A7C15ull) >> 32) % slots;
}

template <class Found, size_t Slots = 256>
class RecentNames {
 public:
  const Found* find(std::string_view name, TextAt text = TextAt::MayChange) const {
    const Slot& slot = slots_[index(name)];
    if (slot.data != name.data() || !slot.name || slot.name->size() != name.size()) return nullptr;
    return text == TextAt::Constant || *slot.name == name ? &slot.found : nullptr;
  }
  void remember(std::string_view name, const std::string& kept_name, Found found) {
    slots_[index(name)] = {name.data(), &kept_name, found};
  }
  void forget() { slots_ = {}; }

 private:
  struct Slot {
    const char* data = nullptr;
    const std::string* name = nullptr;
    Found found{};
  };
  static size_t index(std::string_view name) { return address_slot(name.data(), Slots); }
  std::array<Slot, Slots> slots_{};
};

}  // namespace host
