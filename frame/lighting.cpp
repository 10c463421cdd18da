#include "lighting.h"

namespace frame {

uint32_t lighting_identifier;

namespace {
double read_lighting() {
  lighting_identifier = host().check_named_variable(kLightingVariable);
  return host().get_named_variable_value(lighting_identifier);
}
}  // namespace

void register_lighting_once(int32_t& registered) {
  if (registered == 0) {
    host().register_named_variable(kLightingVariable);
    registered = 1;
  }
}

int32_t GAUGE_CALL lighting_click(const PIXPOINT*, uint32_t) {
  const int32_t lit = truncate_toward_zero(read_lighting());
  // In double precision: 1 - INT32_MIN does not fit an int.
  host().set_named_variable_value(lighting_identifier, 1.0 - static_cast<double>(lit));
  return 0;
}

void lighting_check(const ELEMENT_HEADER* element, int32_t& slot, uint32_t lit_depths) {
  if (truncate_toward_zero(read_lighting()) != slot) lighting_sync(element->gauge, slot, lit_depths);
}

void lighting_sync(GAUGEHDR* gauge, int32_t& slot, uint32_t lit_depths) {
  auto apply = [&](void (*change)(ELEMENT_HEADER*, int, uint32_t)) {
    if (gauge == nullptr) return;
    ELEMENT_HEADER* root = gauge->elements[0];
    for (int depth = 0; depth < 32; ++depth) {
      if (lit_depths & (1u << depth)) change(root, depth, IMAGE_LUMINOUS);
    }
    root->image_flags &= ~IMAGE_ROOT_DIRTY;
  };
  // Only exactly 1 or exactly 0 changes the picture; anything else is still recorded.
  if (read_lighting() == 1.0) {
    apply(set_image_flags_at_depth);
  } else if (read_lighting() == 0.0) {
    apply(clear_image_flags_at_depth);
  }
  slot = truncate_toward_zero(read_lighting());
}

}  // namespace frame
