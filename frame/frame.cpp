#include "frame.h"

extern "C" {
GAUGE_EXPORT constinit IMPORT_TABLE ImportTable = {IMPORT_PANELS_ID, nullptr, 0, nullptr};
}

#if defined(_WIN32)
// The library entry routine: nothing to set up or tear down.
extern "C" int __stdcall DllMain(void*, uint32_t, void*) { return 1; }
#endif

namespace frame {
namespace {
// The frame routines cannot tell which gauge they are called for, so they all
// name the root element of the module's first gauge.
ELEMENT_HEADER* first_root() { return Linkage.gauges[0]->elements[0]; }
}  // namespace

int32_t GAUGE_CALL query() { return host().element_list_query(first_root()); }
int32_t GAUGE_CALL install(uint32_t argument) { return host().element_list_install(first_root(), argument); }
int32_t GAUGE_CALL initialize() { return host().element_list_initialize(first_root()); }
int32_t GAUGE_CALL update() { return host().element_list_update(first_root()); }
int32_t GAUGE_CALL generate(uint32_t argument) { return host().element_list_generate(first_root(), argument); }
int32_t GAUGE_CALL draw() { return host().element_list_plot(first_root()); }
int32_t GAUGE_CALL kill() { return host().element_list_kill(first_root()); }

void GAUGE_CALL module_does_nothing() {}

ELEMENT_HEADER* element_at_depth(ELEMENT_HEADER* element, int depth) {
  for (; element && depth > 0; --depth) {
    element = element->children ? element->children[0] : nullptr;
  }
  return element;
}

void set_image_flags_at_depth(ELEMENT_HEADER* element, int depth, uint32_t bits) {
  if (ELEMENT_HEADER* target = element_at_depth(element, depth)) target->image_flags |= bits;
}

void clear_image_flags_at_depth(ELEMENT_HEADER* element, int depth, uint32_t bits) {
  if (ELEMENT_HEADER* target = element_at_depth(element, depth)) target->image_flags &= ~bits;
}

}  // namespace frame
