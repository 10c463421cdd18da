#include "variables.h"

#include <cmath>
#include <cstring>

namespace host {

double TokenVariables::get(uint32_t id) const {
  if (id < kTableSize) return table_[id];
  auto found = others_.find(id);
  return found == others_.end() ? 0.0 : found->second;
}

void TokenVariables::set(uint32_t id, double value) {
  if (id < kTableSize) {
    table_[id] = value;
  } else {
    others_[id] = value;
  }
}

bool TokenVariables::integer_form(uint32_t id) {
  switch (id) {
    case 422: case 461: case 500: case 539: return true;  // engine 1 to 4 fuel selectors
    default: return false;
  }
}

uint32_t to_token_integer(double value) {
  if (std::isnan(value) || value <= 0.0) return 0;
  if (value >= 4294967295.0) return 0xFFFFFFFFu;
  return static_cast<uint32_t>(value);
}

void TokenVariables::refresh(MODULE_VAR& var) const {
  const double value = get(var.id);
  if (integer_form(var.id)) {
    const uint32_t integer = to_token_integer(value);
    std::memset(var.value, 0, sizeof var.value);
    std::memcpy(var.value, &integer, sizeof integer);
  } else {
    std::memcpy(var.value, &value, sizeof value);
  }
}

}  // namespace host
