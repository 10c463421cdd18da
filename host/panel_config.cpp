#include "panel_config.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace host {
namespace {

constexpr int kLastWindow = 63;
constexpr long long kCoordinateLimit = 100000;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Sections a panel file may carry for views we do not draw.
constexpr std::string_view kSectionsNotRead[] = {"views", "default view", "color"};
// Window keys that matter only inside the simulator (bitmaps, menus, stacking).
constexpr std::string_view kWindowKeysNotRead[] = {"file", "window_size_ratio", "window_size", "pixel_size",
                                                   "zorder", "sizeable", "nomenu", "type", "child_3d",
                                                   "render_3d_window", "always_visible", "no_luminous"};

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string in_quotes(std::string_view text) { return "'" + std::string(text) + "'"; }

std::string numbered_name(const char* pattern, int number) {
  char name[32];
  std::snprintf(name, sizeof name, pattern, number);
  return name;
}

std::string_view strip_comment(std::string_view line) {
  return line.substr(0, std::min(line.find(';'), line.find("//")));
}

// The number after PREFIX in a lower-case name: ("gauge07", "gauge") gives 7.
std::optional<int> number_after(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix)) return std::nullopt;
  const std::string_view digits = name.substr(prefix.size());
  if (digits.empty() || digits.size() > 4) return std::nullopt;
  int number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return number;
}

std::vector<std::string_view> split_commas(std::string_view text) {
  std::vector<std::string_view> fields;
  while (true) {
    const size_t comma = text.find(',');
    fields.push_back(trim(text.substr(0, comma)));
    if (comma == std::string_view::npos) return fields;
    text.remove_prefix(comma + 1);
  }
}

// An integer in [low, high], or nullopt with `problem` saying why not.
std::optional<int> parse_integer(std::string_view text, long long low, long long high, std::string& problem,
                                 bool hex_allowed = false) {
  std::string_view digits = text;
  const bool negative = digits.starts_with('-');
  if (negative || digits.starts_with('+')) digits.remove_prefix(1);
  int base = 10;
  if (hex_allowed && (digits.starts_with("0x") || digits.starts_with("0X"))) {
    base = 16;
    digits.remove_prefix(2);
  }
  unsigned long long magnitude = 0;
  const auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
  if (digits.empty() || end != digits.data() + digits.size() ||
      (status != std::errc() && status != std::errc::result_out_of_range)) {
    problem = "is not a number: " + in_quotes(text);
    return std::nullopt;
  }
  const bool in_range = status == std::errc() && magnitude <= static_cast<unsigned long long>(std::max(-low, high));
  const long long value = in_range ? (negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude)) : 0;
  if (!in_range || value < low || value > high) {
    problem = "is out of range " + std::to_string(low) + ".." + std::to_string(high) + ": " + in_quotes(text);
    return std::nullopt;
  }
  return static_cast<int>(value);
}

bool is_symbol(std::string_view text) {
  if (text.empty() || (text[0] >= '0' && text[0] <= '9')) return false;
  return std::all_of(text.begin(), text.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  });
}

class Reader {
 public:
  explicit Reader(const std::string& path) { config_.path = path; }

  PanelConfig read(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    int number = 0;
    while (!text.empty()) {
      const size_t end = text.find('\n');
      read_line(++number, text.substr(0, end));
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    finish();
    return std::move(config_);
  }

 private:
  enum class Section { None, Titles, Window, NotRead };

  struct WindowBeingRead {
    PanelWindow window;
    std::map<int, GaugePlacement> gauges;  // by NN
    std::map<std::string, int> key_lines;  // first line of each key
    bool position_from_window_pos = false;
  };

  void warn(int line, std::string message) { config_.warnings.push_back({config_.path, line, std::move(message)}); }

  void read_line(int line, std::string_view text) {
    text = trim(strip_comment(text));
    if (text.empty()) return;
    if (text.front() == '[') return read_section_header(line, text);
    if (section_ == Section::NotRead) return;
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) return warn(line, "expected KEY=VALUE: " + in_quotes(text));
    const std::string key = lower(trim(text.substr(0, equals)));
    const std::string_view value = trim(text.substr(equals + 1));
    if (key.empty()) return warn(line, "no key before '=': " + in_quotes(text));
    switch (section_) {
      case Section::None: return warn(line, key + ": outside any section");
      case Section::Titles: return read_title(line, key, value);
      case Section::Window: return read_window_key(line, key, value);
      case Section::NotRead: return;
    }
  }

  void read_section_header(int line, std::string_view text) {
    section_ = Section::NotRead;
    window_ = nullptr;
    const size_t close = text.find(']');
    if (close == std::string_view::npos) return warn(line, "section header without ']': " + in_quotes(text));
    if (close + 1 != text.size()) warn(line, "text after the section header ignored: " + in_quotes(text.substr(close + 1)));
    const std::string name = lower(trim(text.substr(1, close - 1)));
    if (name == "window titles") {
      section_ = Section::Titles;
    } else if (const auto index = number_after(name, "window")) {
      open_window(line, *index);
    } else if (name.starts_with("vcockpit") ||
               std::find(std::begin(kSectionsNotRead), std::end(kSectionsNotRead), name) != std::end(kSectionsNotRead)) {
      // Present in panel files for views this host does not draw.
    } else {
      warn(line, "section " + std::string(text.substr(0, close + 1)) + " is not one this host reads");
    }
  }

  void open_window(int line, int index) {
    const std::string name = numbered_name("[Window%02d]", index);
    if (index > kLastWindow) return warn(line, name + ": windows run from [Window00] to [Window63]; not loaded");
    if (const auto found = windows_.find(index); found != windows_.end()) {
      return warn(line, name + " repeats line " + std::to_string(found->second.window.line) + "; this one is ignored");
    }
    WindowBeingRead& entry = windows_[index];
    entry.window.index = index;
    entry.window.line = line;
    window_ = &entry;
    section_ = Section::Window;
  }

  void read_title(int line, const std::string& key, std::string_view value) {
    const auto index = number_after(key, "window");
    if (!index) return warn(line, "[Window Titles]: expected WindowNN=title, got " + in_quotes(key));
    if (const auto found = titles_.find(*index); found != titles_.end()) {
      return warn(line, key + " repeats line " + std::to_string(found->second.second) + "; ignored");
    }
    titles_[*index] = {std::string(value), line};
  }

  // Records the first line of a key; false, with a warning, for a repeat.
  bool first_time(int line, const std::string& key, const std::string& canonical_key) {
    const auto [found, inserted] = window_->key_lines.emplace(canonical_key, line);
    if (!inserted) warn(line, key + " repeats line " + std::to_string(found->second) + "; ignored");
    return inserted;
  }

  // VALUE as COUNT comma-separated integers in [low, high], or nullopt after a warning.
  std::optional<std::vector<int>> integers(int line, const std::string& key, std::string_view value, size_t min_count,
                                           size_t max_count, long long low, long long high, std::string_view form) {
    const auto fields = split_commas(value);
    if (fields.size() < min_count || fields.size() > max_count) {
      warn(line, key + ": expected " + std::string(form) + ": " + in_quotes(value));
      return std::nullopt;
    }
    std::vector<int> numbers;
    for (std::string_view field : fields) {
      std::string problem;
      const auto number = parse_integer(field, low, high, problem);
      if (!number) {
        warn(line, key + ": " + (field.empty() ? "expected " + std::string(form) + ": " + in_quotes(value) : "value " + problem));
        return std::nullopt;
      }
      numbers.push_back(*number);
    }
    return numbers;
  }

  void read_window_key(int line, const std::string& key, std::string_view value) {
    PanelWindow& window = window_->window;
    if (const auto gauge_number = number_after(key, "gauge")) {
      if (first_time(line, key, numbered_name("gauge%d", *gauge_number))) read_gauge(line, key, *gauge_number, value);
      return;
    }
    if (!first_time(line, key, key)) return;
    if (key == "size_mm") {
      if (const auto size = integers(line, key, value, 1, 2, 1, kCoordinateLimit, "W,H or W")) {
        window.size_w = (*size)[0];
        window.size_h = size->size() == 2 ? (*size)[1] : (*size)[0];
      }
    } else if (key == "window_pos") {
      if (const auto at = integers(line, key, value, 2, 2, -kCoordinateLimit, kCoordinateLimit, "X,Y")) {
        window.position = {(*at)[0], (*at)[1]};
        window_->position_from_window_pos = true;
      }
    } else if (key == "position") {
      const auto at = integers(line, key, value, 1, 2, -kCoordinateLimit, kCoordinateLimit, "X,Y or a corner code");
      if (at && at->size() == 2 && !window_->position_from_window_pos) window.position = {(*at)[0], (*at)[1]};
    } else if (key == "ident") {
      std::string problem;
      if (const auto ident = parse_integer(value, 0, INT32_MAX, problem, true)) {
        window.ident = *ident;
      } else if (is_symbol(value)) {
        window.ident_name = std::string(value);
      } else {
        warn(line, "ident: expected a number or a name: " + in_quotes(value));
      }
    } else if (key == "visible") {
      if (value == "0" || value == "1") window.visible = value == "1";
      else warn(line, "visible: expected 0 or 1: " + in_quotes(value));
    } else if (key == "background_color") {
      if (const auto rgb = integers(line, key, value, 3, 3, 0, 255, "R,G,B")) window.background_color = {(*rgb)[0], (*rgb)[1], (*rgb)[2]};
    } else if (key.starts_with("file") ||
               std::find(std::begin(kWindowKeysNotRead), std::end(kWindowKeysNotRead), key) != std::end(kWindowKeysNotRead)) {
      // Only the simulator uses these.
    } else {
      warn(line, "unknown key " + in_quotes(key) + " ignored");
    }
  }

  void read_gauge(int line, const std::string& key, int number, std::string_view value) {
    const size_t comma = value.find(',');
    const std::string_view name = trim(value.substr(0, comma));
    const size_t bang = name.find('!');
    if (bang == std::string_view::npos) return warn(line, key + ": expected MODULE!GAUGE: " + in_quotes(name));
    GaugePlacement gauge;
    gauge.module = std::string(trim(name.substr(0, bang)));
    gauge.gauge = std::string(trim(name.substr(bang + 1)));
    gauge.line = line;
    gauge.number = number;
    if (gauge.module.empty()) return warn(line, key + ": no module before '!': " + in_quotes(name));
    if (gauge.gauge.empty()) return warn(line, key + ": no gauge name after '!': " + in_quotes(name));

    struct Field {
      const char* name;
      std::optional<int> GaugePlacement::*member;
      long long low;
    };
    static constexpr Field kFields[] = {{"x", &GaugePlacement::x, -kCoordinateLimit},
                                        {"y", &GaugePlacement::y, -kCoordinateLimit},
                                        {"width", &GaugePlacement::width, 1},
                                        {"height", &GaugePlacement::height, 1}};
    std::string_view rest = comma == std::string_view::npos ? std::string_view() : value.substr(comma + 1);
    bool more = comma != std::string_view::npos;
    for (const Field& field : kFields) {
      if (!more) break;
      const size_t next = rest.find(',');
      const std::string_view text = trim(rest.substr(0, next));
      more = next != std::string_view::npos;
      rest = more ? rest.substr(next + 1) : std::string_view();
      if (text.empty()) continue;
      std::string problem;
      if (auto number = parse_integer(text, field.low, kCoordinateLimit, problem)) {
        gauge.*field.member = *number;
      } else if (field.low > 0 && parse_integer(text, -kCoordinateLimit, kCoordinateLimit, problem)) {
        warn(line, key + ": " + field.name + " must be positive: " + in_quotes(text));
      } else {
        warn(line, key + ": " + field.name + " " + problem);
      }
    }
    gauge.extra = std::string(trim(rest));
    window_->gauges.emplace(number, std::move(gauge));
  }

  void finish() {
    int next = 0;
    for (auto& [index, entry] : windows_) {
      if (index != next) {
        warn(entry.window.line, numbered_name("[Window%02d]", index) + " is not loaded: " +
                                    numbered_name("[Window%02d]", next) + " is missing");
        continue;
      }
      ++next;
      PanelWindow& window = entry.window;
      if (const auto title = titles_.find(index); title != titles_.end()) window.title = title->second.first;
      int expected_gauge = 0;
      for (auto& [number, gauge] : entry.gauges) {
        if (number != expected_gauge) {
          warn(gauge.line, numbered_name("gauge%02d", number) + " follows a gap in the numbering: no " +
                               numbered_name("gauge%02d", expected_gauge));
        }
        expected_gauge = number + 1;
        window.gauges.push_back(std::move(gauge));
      }
      config_.windows.push_back(std::move(window));
    }
    std::stable_sort(config_.warnings.begin(), config_.warnings.end(),
                     [](const PanelWarning& a, const PanelWarning& b) { return a.line < b.line; });
  }

  PanelConfig config_;
  Section section_ = Section::None;
  WindowBeingRead* window_ = nullptr;
  std::map<int, WindowBeingRead> windows_;
  std::map<int, std::pair<std::string, int>> titles_;  // title and its line
};

}  // namespace

PanelConfig parse_panel_config(std::string_view text, const std::string& path_for_messages) {
  return Reader(path_for_messages).read(text);
}

PanelConfig read_panel_config(const std::string& path) {
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) throw PanelError(path + ": cannot open: it is a directory");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw PanelError(path + ": cannot open: " + std::strerror(errno));
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw PanelError(path + ": cannot read: " + std::strerror(errno));
  return parse_panel_config(std::move(text).str(), path);
}

std::string to_string(const PanelWarning& warning) {
  return warning.file + ":" + std::to_string(warning.line) + ": " + warning.message;
}

}  // namespace host
