// The host function table a module receives in ImportTable. Modules call it
// without a context, so each entry forwards to the active host.
#include <string_view>

#include "module_code.h"
#include "panel_host.h"

namespace host {
namespace {

// The element list routines: each is recorded with the root it was handed.
template <const char* Operation>
int32_t GAUGE_CALL list_routine(ELEMENT_HEADER* root) {
  const BackInHost in_host;
  return PanelHost::active()->record_frame_call(Operation, root);
}
template <const char* Operation>
int32_t GAUGE_CALL list_routine_with_argument(ELEMENT_HEADER* root, uint32_t argument) {
  const BackInHost in_host;
  return PanelHost::active()->record_frame_call(Operation, root, argument);
}
constexpr char kQuery[] = "query", kInstall[] = "install", kInitialize[] = "initialize", kUpdate[] = "update",
               kGenerate[] = "generate", kDraw[] = "draw", kKill[] = "kill";

// A module may hand over any pointer: a name is read only when it lies inside a module.
std::string_view checked_name(const char* name, TextAt* lifetime = nullptr) {
  return PanelHost::active()->string_inside(name, 256, lifetime).value_or(std::string_view());
}

uint32_t GAUGE_CALL register_named_variable(const char* name) {
  const BackInHost in_host;
  return PanelHost::active()->named().register_name(checked_name(name));
}
uint32_t GAUGE_CALL check_named_variable(const char* name) {
  const BackInHost in_host;
  TextAt lifetime = TextAt::MayChange;
  const std::string_view checked = checked_name(name, &lifetime);
  return PanelHost::active()->named().check(checked, lifetime);
}
double GAUGE_CALL get_named_variable_value(uint32_t id) {
  const BackInHost in_host;
  return PanelHost::active()->named().get(id);
}
void GAUGE_CALL set_named_variable_value(uint32_t id, double value) {
  const BackInHost in_host;
  PanelHost::active()->named().set(id, value);
}

int32_t GAUGE_CALL execute_calculator_code(const char* code, double* number, int32_t*, const char**) {
  const BackInHost in_host;
  return PanelHost::active()->evaluate(code, number) ? 1 : 0;
}

int32_t GAUGE_CALL trigger_key_event(uint32_t event, uint32_t value) {
  const BackInHost in_host;
  PanelHost::active()->trigger_key_event(event, value);
  return 1;
}

PANELS table = {list_routine<kQuery>,
                list_routine_with_argument<kInstall>,
                list_routine<kInitialize>,
                list_routine<kUpdate>,
                list_routine_with_argument<kGenerate>,
                list_routine<kDraw>,
                list_routine<kKill>,
                register_named_variable,
                check_named_variable,
                get_named_variable_value,
                set_named_variable_value,
                execute_calculator_code,
                trigger_key_event};

}  // namespace

PANELS* PanelHost::panels() { return &table; }

}  // namespace host
