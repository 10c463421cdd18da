// panel.cfg text as anyone may write it: every line either loads or is a warning.
#include <cstdint>
#include <string_view>

#include "panel_config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const host::PanelConfig config = host::parse_panel_config(text, "fuzz.cfg");
  for (const host::PanelWarning& warning : config.warnings) (void)host::to_string(warning);
  return 0;
}
