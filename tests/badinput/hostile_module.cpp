// A module whose exported records point where they must not. HOSTILE_CASE
// picks the fault; everything else about the module is well formed, so the
// host's message has to be about that one fault. Every record is static data,
// so a reader of the file sees the fault as the loader does.
#include "gauge_records.h"

// Far from any module, whether read as an address or as an offset into the file.
#define OUTSIDE(type) reinterpret_cast<type>(uintptr_t(0x400000000010))

namespace {
void GAUGE_CALL nothing() {}
int32_t GAUGE_CALL frame_routine() { return 0; }
int32_t GAUGE_CALL frame_routine_with_argument(uint32_t) { return 0; }
[[maybe_unused]] char gauge_name[] = "hostile";
}  // namespace

extern ELEMENT_HEADER* const root_list[2];
#if HOSTILE_CASE == 4  // the element chain never ends: the root is its own child
ELEMENT_HEADER root{ELEMENT_KIND_STATIC_IMAGE, 0, {0, 0}, {0, 0}, nullptr, root_list, 0};
#else
ELEMENT_HEADER root{};
#endif
ELEMENT_HEADER* const root_list[2] = {&root, nullptr};

const MOUSERECT mouse[] = {
#if HOSTILE_CASE == 5  // a tooltip's text lies outside the module
    {MOUSE_TOOLTIP, 0, 0, 10, 10, CURSOR_NONE, 0, 0, 0, {OUTSIDE(const void*)}, nullptr},
#else
    {MOUSE_TOOLTIP, 0, 0, 10, 10, CURSOR_NONE, 0, 0, 0, {nullptr}, nullptr},
#endif
    {MOUSE_END_OF_LIST, 0, 0, 0, 0, 0, 0, 0, 0, {nullptr}, nullptr}};

GAUGEHDR gauge{GAUGE_HEADER_VERSION,
#if HOSTILE_CASE == 2  // a gauge's name lies outside the module
               OUTSIDE(const char*),
#else
               gauge_name,
#endif
               root_list, frame_routine, frame_routine_with_argument, frame_routine, frame_routine,
               frame_routine_with_argument,
#if HOSTILE_CASE == 6  // a frame routine lies outside the module
               OUTSIDE(FrameRoutine),
#else
               frame_routine,
#endif
               frame_routine, 50, mouse, nullptr};
GAUGEHDR* const gauges[] = {&gauge, nullptr};

GAUGE_EXPORT IMPORT_TABLE ImportTable = {IMPORT_PANELS_ID, nullptr, 0, nullptr};
GAUGE_EXPORT GAUGESLINKAGE Linkage = {LINKAGE_MODULE_ID,
#if HOSTILE_CASE == 3  // the init routine is data, not code
                                      reinterpret_cast<ModuleRoutine>(gauge_name),
#else
                                      nothing,
#endif
                                      nothing, 0, 0, LINKAGE_VERSION,
#if HOSTILE_CASE == 1  // the gauge list lies outside the module
                                      OUTSIDE(GAUGEHDR* const*)};
#else
                                      gauges};
#endif
