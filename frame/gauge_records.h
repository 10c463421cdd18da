// The records a gauge module shares with its panel host: the two exported
// records, the gauge header, the element records, calibration points, mouse
// rectangles and the host function table.
//
// Every field is four bytes wide (pointers are four bytes in the shipped
// 32-bit build) except the doubles of a calibration point, so the layout is
// the same under the Windows cross compiler and a 32-bit Linux compiler.
// A token's current value is kept as eight raw bytes and read with a byte
// copy, because one module reads it as an unsigned integer instead of a double.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define GAUGE_CALL __stdcall
#elif defined(__i386__)
#define GAUGE_CALL __attribute__((stdcall))
#else
#define GAUGE_CALL
#endif

// The two records a module exports; nothing else leaves a module.
#if defined(_WIN32)
#define GAUGE_EXPORT __declspec(dllexport)
#else
#define GAUGE_EXPORT __attribute__((visibility("default")))
#endif

struct GAUGEHDR;
struct ELEMENT_HEADER;
struct MODULE_VAR;

struct PIXPOINT {
  int32_t x;
  int32_t y;
};

// ---- element kinds, image flags, mouse flags ----------------------------------

enum : uint32_t {
  ELEMENT_KIND_STATIC_IMAGE = 0,
  ELEMENT_KIND_NEEDLE = 1,
  ELEMENT_KIND_ICON = 4,
};

enum : uint32_t {
  IMAGE_FLAGS_DECLARED = 0x83,
  IMAGE_FLAGS_ALWAYS_LIT = 0x4083,
  IMAGE_LUMINOUS = 0x4000,
  IMAGE_ROOT_DIRTY = 0x80000000u,  // the modules only ever clear it
};

enum : uint32_t {
  MOUSE_LEFTSINGLE = 0x20000000,
  MOUSE_RIGHTSINGLE = 0x80000000u,
  MOUSE_REPEAT = 0x00200000,
  MOUSE_LEFTSINGLE_REPEAT = MOUSE_LEFTSINGLE | MOUSE_REPEAT,
};

enum : uint32_t {
  MOUSE_END_OF_LIST = 0,
  MOUSE_PARENT = 1,
  MOUSE_CHILD = 2,
  MOUSE_END_OF_PARENT = 3,
  MOUSE_TOOLTIP = 4,
};

enum : int32_t {
  PANEL_SERVICE_PRE_INITIALIZE = 4,
  PANEL_SERVICE_PRE_DRAW = 10,
};

enum : int32_t {
  CURSOR_NONE = -1,
  CURSOR_HAND = 5,
};

// ---- callbacks ----------------------------------------------------------------

using ElementUpdateCallback = double(GAUGE_CALL*)(ELEMENT_HEADER* element);
using MouseClickCallback = int32_t(GAUGE_CALL*)(const PIXPOINT* where, uint32_t mouse_flags);
using TooltipNumberCallback = double(GAUGE_CALL*)(double number, uint32_t id, const char* text,
                                                  MODULE_VAR* source, GAUGEHDR* gauge);
using TooltipStringCallback = const char*(GAUGE_CALL*)(double number, uint32_t id, const char* text,
                                                       MODULE_VAR* source, GAUGEHDR* gauge);
using GaugeCallback = void(GAUGE_CALL*)(GAUGEHDR* gauge, int32_t service_id, uint32_t extra);
using ModuleRoutine = void(GAUGE_CALL*)();
using FrameRoutine = int32_t(GAUGE_CALL*)();
using FrameRoutineWithArgument = int32_t(GAUGE_CALL*)(uint32_t argument);

// ---- token variable -------------------------------------------------------------

// Token identifier, two words for the host, then the current value (offset 12)
// and a spare eight bytes, all declared zero but the identifier.
struct MODULE_VAR {
  uint32_t id;
  uint32_t host_reserved[2];
  unsigned char value[8];
  unsigned char host_spare[8];
};

// ---- elements -------------------------------------------------------------------

struct ELEMENT_HEADER {
  uint32_t kind;
  uint32_t bitmap;
  PIXPOINT position;
  PIXPOINT pivot;
  GAUGEHDR* gauge;
  ELEMENT_HEADER* const* children;  // null, or {child, null}
  uint32_t image_flags;
};

struct ELEMENT_STATIC_IMAGE {
  ELEMENT_HEADER header;
};

struct NONLINEARITY {
  PIXPOINT point;
  double value;
  double host_reserved;
};

struct ELEMENT_NEEDLE {
  ELEMENT_HEADER header;
  MODULE_VAR source;
  const NONLINEARITY* calibration;
  uint32_t calibration_points;
  int32_t max_degrees_per_tick;
  ElementUpdateCallback update;
};

struct ELEMENT_ICON {
  ELEMENT_HEADER header;
  MODULE_VAR source;
  uint32_t switch_type;
  uint32_t icon_count;
  PIXPOINT scroll;
  ElementUpdateCallback update;
};

// ---- mouse rectangles and tooltips --------------------------------------------------

// The 72-byte argument record of a format tooltip.
struct TOOLTIP_ARGUMENT {
  MODULE_VAR source;
  uint32_t zero[8];
  TooltipNumberCallback number_callback;
  uint32_t zero2;
  TooltipStringCallback string_callback;
};

// Child records point to a click callback, tooltip records to their text.
union MOUSE_FUNCTION {
  const void* none;
  MouseClickCallback click;
  const char* text;
};

struct MOUSERECT {
  uint32_t kind;
  int32_t x, y, width, height;
  int32_t cursor;
  uint32_t help_id;
  uint32_t mouse_flags;
  uint32_t event_or_argument_count;
  MOUSE_FUNCTION function;
  const TOOLTIP_ARGUMENT* arguments;
};

// ---- gauges and the module ------------------------------------------------------------

struct GAUGEHDR {
  uint32_t header_version;
  const char* name;
  ELEMENT_HEADER* const* elements;  // exactly one entry: the root
  FrameRoutine query;
  FrameRoutineWithArgument install;
  FrameRoutine initialize;
  FrameRoutine update;
  FrameRoutineWithArgument generate;
  FrameRoutine draw;
  FrameRoutine kill;
  uint32_t default_width_mm;
  const MOUSERECT* mouse_rects;
  GaugeCallback gauge_callback;
};

struct GAUGESLINKAGE {
  uint32_t module_id;
  ModuleRoutine init;
  ModuleRoutine deinit;
  uint32_t flags;
  uint32_t priority;
  uint32_t version;
  GAUGEHDR* const* gauges;  // in declaration order, closed by a null pointer
};

// The host function table. Its layout is this host's own; a module reaches it
// only through word 1 of ImportTable.
struct PANELS {
  int32_t(GAUGE_CALL* element_list_query)(ELEMENT_HEADER* root);
  int32_t(GAUGE_CALL* element_list_install)(ELEMENT_HEADER* root, uint32_t argument);
  int32_t(GAUGE_CALL* element_list_initialize)(ELEMENT_HEADER* root);
  int32_t(GAUGE_CALL* element_list_update)(ELEMENT_HEADER* root);
  int32_t(GAUGE_CALL* element_list_generate)(ELEMENT_HEADER* root, uint32_t argument);
  int32_t(GAUGE_CALL* element_list_plot)(ELEMENT_HEADER* root);
  int32_t(GAUGE_CALL* element_list_kill)(ELEMENT_HEADER* root);
  uint32_t(GAUGE_CALL* register_named_variable)(const char* name);
  uint32_t(GAUGE_CALL* check_named_variable)(const char* name);
  double(GAUGE_CALL* get_named_variable_value)(uint32_t id);
  void(GAUGE_CALL* set_named_variable_value)(uint32_t id, double value);
  int32_t(GAUGE_CALL* execute_calculator_code)(const char* code, double* number, int32_t* integer,
                                               const char** text);
  int32_t(GAUGE_CALL* trigger_key_event)(uint32_t event, uint32_t value);
};

struct IMPORT_TABLE {
  uint32_t panels_id;  // 0x0000000F
  PANELS* panels;      // written by the host before the init routine
  uint32_t end_id;
  void* end_pointer;
};

inline constexpr uint32_t IMPORT_PANELS_ID = 0x0000000F;
inline constexpr uint32_t LINKAGE_MODULE_ID = 0x13;
inline constexpr uint32_t LINKAGE_VERSION = 0x900;
inline constexpr uint32_t GAUGE_HEADER_VERSION = 800;

#if defined(__i386__) || defined(_M_IX86)
// The byte layout the simulator reads from a shipped module.
static_assert(sizeof(IMPORT_TABLE) == 16);
static_assert(offsetof(IMPORT_TABLE, panels) == 4);
static_assert(offsetof(IMPORT_TABLE, end_id) == 8);
static_assert(offsetof(IMPORT_TABLE, end_pointer) == 12);
static_assert(sizeof(MODULE_VAR) == 28);
static_assert(offsetof(MODULE_VAR, value) == 12);
static_assert(sizeof(TOOLTIP_ARGUMENT) == 72);
static_assert(offsetof(TOOLTIP_ARGUMENT, source) == 0);
static_assert(offsetof(TOOLTIP_ARGUMENT, zero) == 28);
static_assert(offsetof(TOOLTIP_ARGUMENT, number_callback) == 60);
static_assert(offsetof(TOOLTIP_ARGUMENT, zero2) == 64);
static_assert(offsetof(TOOLTIP_ARGUMENT, string_callback) == 68);
static_assert(sizeof(NONLINEARITY) == 24);
static_assert(offsetof(NONLINEARITY, value) == 8);
static_assert(sizeof(ELEMENT_HEADER) == 36);
static_assert(sizeof(ELEMENT_NEEDLE) == 36 + 28 + 16);
static_assert(sizeof(ELEMENT_ICON) == 36 + 28 + 20);
static_assert(sizeof(MOUSERECT) == 44);
static_assert(sizeof(GAUGEHDR) == 52);
static_assert(offsetof(GAUGESLINKAGE, gauges) == 24);
#endif
