// Reads panel configurations as authors write them: [Window Titles], then
// [Window00]..[Window63] with their gauges. What the reader cannot use becomes
// a warning naming the file and line, and the rest of the file still loads.
//
// Reading rules:
// - Section and key names in any case; blanks around keys and values dropped;
//   a UTF-8 byte order mark, CRLF line ends and a missing last newline are fine.
// - "//" and ";" start a comment, at the start of a line or after a value.
// - Windows are loaded from [Window00] upwards and stop at the first missing
//   number; a window after the gap gives a warning and is not loaded.
//   [VCockpitNN], [Views], [Default View] and [Color] are accepted and not read.
// - size_mm=W,H; a single size_mm=W makes the window square (W by W). Without
//   size_mm the size stays 0 by 0 and the renderer fits the window to its gauges.
// - position=X,Y and window_pos=X,Y in pixels, window_pos winning whatever
//   the order; a single position=N (a screen corner code) is accepted and not used.
// - ident is a number (decimal or 0x hex) or a symbolic name.
// - gaugeNN=MODULE!GAUGE NAME, x, y, width, height, extra text: every field
//   after the name may be left out or empty; x and y may be negative; the
//   extra text is everything after the fifth comma, commas included.
//   Gauges are kept in the order of NN. A gap in the numbering gives a warning
//   (hosts that stop reading at the gap would drop the gauges after it) but the
//   gauges after it load. A repeated key, gauges included, keeps its first line
//   and warns about the others.
// - Numbers beyond +-100000, and sizes that are not positive, are warnings and
//   the field is left empty.
#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace host {

class PanelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct GaugePlacement {
  std::string module;  // as written, may include a subfolder: "sub/lubepress"
  std::string gauge;
  std::optional<int> x, y, width, height;  // empty when left out, empty or unusable
  std::string extra;
  int line = 0;
  int number = 0;  // NN of gaugeNN
};

struct PanelWindow {
  int index = 0;  // NN of [WindowNN]
  std::string title;
  std::optional<int> ident;
  std::string ident_name;  // when ident is symbolic
  int size_w = 0, size_h = 0;  // millimetres
  std::optional<std::array<int, 2>> position;
  bool visible = true;
  std::optional<std::array<int, 3>> background_color;
  std::vector<GaugePlacement> gauges;
  int line = 0;  // of the section header
};

struct PanelWarning {
  std::string file;
  int line = 0;
  std::string message;
};

struct PanelConfig {
  std::string path;
  std::vector<PanelWindow> windows;     // Window00, Window01, ... in order
  std::vector<PanelWarning> warnings;  // in line order
};

// Throws PanelError("PATH: cannot open ...") only when the file cannot be read.
PanelConfig read_panel_config(const std::string& path);
PanelConfig parse_panel_config(std::string_view text, const std::string& path_for_messages);

// "FILE:LINE: MESSAGE"
std::string to_string(const PanelWarning& warning);

}  // namespace host
