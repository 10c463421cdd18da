// The host's own texts for the help identifiers that gauges put in their
// tooltips, written from the role each identifier plays on the panel.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace host {

struct HelpText {
  uint32_t id;
  std::string_view text;
};

// The text for a help identifier; an identifier without a text of ours gives
// "Help text 0x1234", so the tooltip still says which identifier it shows.
std::string help_text(uint32_t id);

// Every identifier we have a text for, sorted by identifier.
std::span<const HelpText> help_text_table();

}  // namespace host
