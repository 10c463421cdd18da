// A module whose exported records point where they must not. HOSTILE_CASE
// picks the fault; everything else about the module is well formed, so the
// host's message has to be about that one fault.
#include "gauge_records.h"

namespace {
void GAUGE_CALL nothing() {}
int32_t GAUGE_CALL frame_routine() { return 0; }
int32_t GAUGE_CALL frame_routine_with_argument(uint32_t) { return 0; }

char gauge_name[] = "hostile";
ELEMENT_HEADER root{};
ELEMENT_HEADER* const root_list[] = {&root, nullptr};
ELEMENT_HEADER* const* const looping_children = root_list;  // the root is its own child
const MOUSERECT mouse[] = {{MOUSE_TOOLTIP, 0, 0, 10, 10, CURSOR_NONE, 0, 0, 0, {nullptr}, nullptr},
                           {MOUSE_END_OF_LIST, 0, 0, 0, 0, 0, 0, 0, 0, {nullptr}, nullptr}};
[[maybe_unused]] MOUSERECT mouse_with_stray_text[2] = {mouse[0], mouse[1]};

GAUGEHDR gauge{GAUGE_HEADER_VERSION, gauge_name, root_list, frame_routine, frame_routine_with_argument,
               frame_routine, frame_routine, frame_routine_with_argument, frame_routine, frame_routine,
               50, mouse, nullptr};
GAUGEHDR* const gauges[] = {&gauge, nullptr};

}  // namespace

GAUGE_EXPORT IMPORT_TABLE ImportTable = {IMPORT_PANELS_ID, nullptr, 0, nullptr};
GAUGE_EXPORT GAUGESLINKAGE Linkage = {LINKAGE_MODULE_ID, nothing, nothing, 0, 0, LINKAGE_VERSION, gauges};

namespace {
[[maybe_unused]] const void* outside() { return reinterpret_cast<const void*>(uintptr_t(0x10)); }

struct Setup {
  Setup() {
#if HOSTILE_CASE == 1  // the gauge list lies outside the module
    Linkage.gauges = static_cast<GAUGEHDR* const*>(outside());
#elif HOSTILE_CASE == 2  // a gauge's name lies outside the module
    gauge.name = static_cast<const char*>(outside());
#elif HOSTILE_CASE == 3  // the init routine is data, not code
    Linkage.init = reinterpret_cast<ModuleRoutine>(&gauge_name);
#elif HOSTILE_CASE == 4  // the element chain never ends
    root.children = looping_children;
#elif HOSTILE_CASE == 5  // a tooltip's text lies outside the module
    mouse_with_stray_text[0].function.text = static_cast<const char*>(outside());
    gauge.mouse_rects = mouse_with_stray_text;
#elif HOSTILE_CASE == 6  // a frame routine lies outside the module
    gauge.draw = reinterpret_cast<FrameRoutine>(uintptr_t(0x10));
#endif
  }
} setup;
}  // namespace

