// Token variables (the simulator values a module's elements carry) and the
// key events modules send.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "gauge_records.h"

namespace host {

class TokenVariables {
 public:
  double get(uint32_t id) const;
  void set(uint32_t id, double value);
  void clear() {
    table_.fill(0.0);
    others_.clear();
  }

  // The fuel selector tokens are read by their gauges as a 32-bit unsigned integer.
  static bool integer_form(uint32_t id);

  // Brings a module's copy of token `var.id` up to date, in the form its readers expect.
  void refresh(MODULE_VAR& var) const;

 private:
  // The simulator numbers its tokens below this: those live in a flat table.
  static constexpr uint32_t kTableSize = 1024;
  std::array<double, kTableSize> table_{};
  std::unordered_map<uint32_t, double> others_;
};

// The integer a token value becomes in its integer form: truncated, NaN as 0,
// held within the 32-bit unsigned range.
uint32_t to_token_integer(double value);

struct KeyEvent {
  uint32_t id;
  uint32_t value;
  bool operator==(const KeyEvent&) const = default;
};

}  // namespace host
