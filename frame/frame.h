// What every gauge module shares: the two exported records, the seven frame
// routines, the element walkers, token access and the constexpr builders that
// let a module declare its gauges as tables.
#pragma once

#include <cstring>

#include "gauge_records.h"

extern "C" {
extern GAUGE_EXPORT IMPORT_TABLE ImportTable;
extern GAUGE_EXPORT GAUGESLINKAGE Linkage;
}

namespace frame {

inline PANELS& host() { return *ImportTable.panels; }

// ---- the seven frame routines: every gauge of a module points to these -----------
int32_t GAUGE_CALL query();
int32_t GAUGE_CALL install(uint32_t argument);
int32_t GAUGE_CALL initialize();
int32_t GAUGE_CALL update();
int32_t GAUGE_CALL generate(uint32_t argument);
int32_t GAUGE_CALL draw();
int32_t GAUGE_CALL kill();

void GAUGE_CALL module_does_nothing();

// ---- element walkers ---------------------------------------------------------------
ELEMENT_HEADER* element_at_depth(ELEMENT_HEADER* element, int depth);
void set_image_flags_at_depth(ELEMENT_HEADER* element, int depth, uint32_t bits);
void clear_image_flags_at_depth(ELEMENT_HEADER* element, int depth, uint32_t bits);

// ---- values --------------------------------------------------------------------------
inline double token_value(const MODULE_VAR& var) {
  double value;
  std::memcpy(&value, var.value, sizeof value);
  return value;
}
inline uint32_t token_uint32(const MODULE_VAR& var) {
  uint32_t value;
  std::memcpy(&value, var.value, sizeof value);
  return value;
}
// The token value of a needle or icon, as the host refreshed it.
inline double token_value(const ELEMENT_HEADER* element) {
  return token_value(reinterpret_cast<const ELEMENT_NEEDLE*>(element)->source);
}

// Truncation toward zero as the x86 conversion does it: NaN and values outside
// the 32-bit range give INT32_MIN instead of undefined behaviour.
constexpr int32_t truncate_toward_zero(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(value);
}

// ---- declaration builders ---------------------------------------------------------------

// {child, null}: the child list of an element whose only child is *Child.
template <auto* Child>
inline ELEMENT_HEADER* const child_list[2] = {&Child->header, nullptr};

// The one-entry element list of a gauge header.
template <auto* Root>
inline ELEMENT_HEADER* const root_list[1] = {&Root->header};

struct Scale {
  const NONLINEARITY* points;
  uint32_t count;
  template <size_t N>
  constexpr Scale(const NONLINEARITY (&table)[N]) : points(table), count(static_cast<uint32_t>(N)) {}
};

struct StaticImage {
  GAUGEHDR* gauge;
  uint32_t bitmap;
  PIXPOINT position = {0, 0};
  ELEMENT_HEADER* const* child = nullptr;
  uint32_t image_flags = IMAGE_FLAGS_DECLARED;
};
constexpr ELEMENT_STATIC_IMAGE static_image(const StaticImage& s) {
  return {{ELEMENT_KIND_STATIC_IMAGE, s.bitmap, s.position, {0, 0}, s.gauge, s.child, s.image_flags}};
}

struct Needle {
  GAUGEHDR* gauge;
  uint32_t bitmap;
  PIXPOINT position;
  PIXPOINT pivot;
  uint32_t token = 0;
  Scale scale;
  int32_t max_degrees_per_tick = 0;
  ElementUpdateCallback update = nullptr;
  ELEMENT_HEADER* const* child = nullptr;
  uint32_t image_flags = IMAGE_FLAGS_DECLARED;
};
constexpr ELEMENT_NEEDLE needle(const Needle& s) {
  return {{ELEMENT_KIND_NEEDLE, s.bitmap, s.position, s.pivot, s.gauge, s.child, s.image_flags},
          {s.token, {}, {}, {}},
          s.scale.points,
          s.scale.count,
          s.max_degrees_per_tick,
          s.update};
}

struct Icon {
  GAUGEHDR* gauge;
  uint32_t bitmap;  // index 0 draws this bitmap, 1 the next
  PIXPOINT position;
  uint32_t token = 0;
  ElementUpdateCallback update = nullptr;
  ELEMENT_HEADER* const* child = nullptr;
  uint32_t image_flags = IMAGE_FLAGS_DECLARED;
};
constexpr ELEMENT_ICON icon(const Icon& s) {
  return {{ELEMENT_KIND_ICON, s.bitmap, s.position, {0, 0}, s.gauge, s.child, s.image_flags},
          {s.token, {}, {}, {}},
          3,  // switch type: two images chosen by index
          2,
          {0, 0},
          s.update};
}

struct Gauge {
  const char* name;
  uint32_t width_mm;
  ELEMENT_HEADER* const* root;
  const MOUSERECT* mouse;
  GaugeCallback gauge_callback = nullptr;
};
constexpr GAUGEHDR gauge(const Gauge& s) {
  return {GAUGE_HEADER_VERSION, s.name, s.root, query, install, initialize, update,
          generate, draw, kill, s.width_mm, s.mouse, s.gauge_callback};
}

constexpr GAUGESLINKAGE linkage(GAUGEHDR* const* gauges, ModuleRoutine init = module_does_nothing) {
  return {LINKAGE_MODULE_ID, init, module_does_nothing, 0, 0, LINKAGE_VERSION, gauges};
}

// ---- mouse rectangle records, in the order a list is read ------------------------------
struct Box {
  int32_t x, y, width, height;
};

constexpr MOUSERECT parent(Box b = {0, 0, 0, 0}, uint32_t help_id = 0) {
  return {MOUSE_PARENT, b.x, b.y, b.width, b.height, CURSOR_NONE, help_id, 0, 0, {nullptr}, nullptr};
}
constexpr MOUSERECT help_tooltip(uint32_t help_id) {
  return {MOUSE_TOOLTIP, 0, 0, 0, 0, CURSOR_NONE, help_id, 0, 0, {nullptr}, nullptr};
}
constexpr MOUSERECT text_tooltip(const char* text) {
  return {MOUSE_TOOLTIP, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, {.text = text}, nullptr};
}
constexpr MOUSERECT format_tooltip(const char* format, const TOOLTIP_ARGUMENT* argument) {
  return {MOUSE_TOOLTIP, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 1, {.text = format}, argument};
}
constexpr MOUSERECT click(Box b, MouseClickCallback callback, uint32_t flags = MOUSE_LEFTSINGLE) {
  return {MOUSE_CHILD, b.x, b.y, b.width, b.height, CURSOR_HAND, 0, flags, 0,
          {.click = callback}, nullptr};
}
constexpr MOUSERECT end_parent() {
  return {MOUSE_END_OF_PARENT, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, {nullptr}, nullptr};
}
constexpr MOUSERECT end_of_list() {
  return {MOUSE_END_OF_LIST, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, {nullptr}, nullptr};
}

constexpr TOOLTIP_ARGUMENT number_argument(TooltipNumberCallback callback) {
  return {{0, {}, {}, {}}, {}, callback, 0, nullptr};
}
constexpr TOOLTIP_ARGUMENT string_argument(uint32_t source_token, TooltipStringCallback callback) {
  return {{source_token, {}, {}, {}}, {}, nullptr, 0, callback};
}

}  // namespace frame
