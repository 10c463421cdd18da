#include "script_runner.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>

#ifndef PANELHOST_NO_DRAWING
#include "render/renderer.h"
#endif
#include "session.h"
#include "script_lexer.h"

namespace host::script {

namespace {

// A script that cannot go on: reported as FILE:LINE: message.
struct ScriptError {
  std::string message;
};

std::string show(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  char buffer[32];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return error == std::errc() ? std::string(buffer, end) : "?";
}

std::string quote(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string folder_of(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string resolve(const std::string& folder, const std::string& path) {
  return !path.empty() && path[0] == '/' ? path : folder + "/" + path;
}

class Runner {
 public:
  Runner(const std::string& path, const RunOptions& options, std::ostream& out, std::ostream& err, RunSummary& summary)
      : path_(path), folder_(folder_of(path)), options_(options), out_(out), err_(err), summary_(summary),
        session_(options.gauges_dir), host_(&session_.host()) {}

  void run() {
    std::ifstream file(path_);
    if (!file) {
      err_ << path_ << ": cannot open the script\n";
      summary_.error = true;
      return;
    }
    std::string line;
    for (line_ = 1; std::getline(file, line); ++line_) {
      try {
        std::vector<Word> words = split_words(line);
        if (!words.empty()) execute(words);
      } catch (const ScriptError& e) {
        return stop(e.message);
      } catch (const SyntaxError& e) {
        return stop(e.what());
      } catch (const HostError& e) {
        return stop(e.what());
      } catch (const LoadError& e) {
        return stop(e.what());
      } catch (const PanelError& e) {
        return stop(e.what());
      } catch (const std::exception& e) {  // a module file or picture that could not be read
        return stop(e.what());
      }
    }
  }

 private:
  void stop(const std::string& message) {
    err_ << path_ << ":" << line_ << ": " << message << "\n";
    summary_.error = true;
  }

  [[noreturn]] void fail(const std::string& message) { throw ScriptError{message}; }

  void arity(const std::vector<Word>& w, size_t least, size_t most, const char* usage) {
    if (w.size() < least || w.size() > most) fail(std::string("usage: ") + usage);
  }

  double real(const Word& w, const char* what) {
    if (auto value = parse_real(w.text)) return *value;
    fail(std::string(what) + " is not a number: '" + w.text + "'");
  }

  int64_t integer(const Word& w, const char* what, int64_t lowest, int64_t highest) {
    auto value = parse_integer(w.text);
    if (!value) fail(std::string(what) + " is not an integer: '" + w.text + "'");
    if (*value < lowest || *value > highest) fail(std::string(what) + " out of range: " + w.text);
    return *value;
  }

  uint32_t identifier(const Word& w, const char* what) {
    return static_cast<uint32_t>(integer(w, what, 0, 0xFFFFFFFFll));
  }

  GaugeInstance& gauge(const Word& w) {
    if (GaugeInstance* found = host_->find(w.text)) return *found;
    fail("no gauge " + quote(w.text) + " placed");
  }

  ElementState& element(GaugeInstance& g, const Word& w) {
    const int64_t depth = integer(w, "depth", 0, 1 << 20);
    if (depth >= int64_t(g.elements.size())) {
      fail("gauge " + quote(g.gauge->name) + " has no element at depth " + w.text);
    }
    return g.elements[size_t(depth)];
  }

  void check(bool passed, const std::string& expected, const std::string& got) {
    if (passed) {
      ++summary_.passed;
    } else {
      ++summary_.failed;
      err_ << path_ << ":" << line_ << ": expected " << expected << ", got " << got << "\n";
    }
  }

  void expect_number(double value, double expected, double tolerance, const std::string& what) {
    const bool passed = std::isnan(expected) ? std::isnan(value) : std::fabs(value - expected) <= tolerance || value == expected;
    check(passed, what + " " + show(expected), show(value));
  }

  void execute(const std::vector<Word>& w) {
    const std::string& command = w[0].text;
    if (command == "gauges") {
      arity(w, 2, 2, "gauges DIR");
      host_->set_gauges_dir(resolve(folder_, w[1].text));
    } else if (command == "panel") {
      arity(w, 2, 2, "panel FILE");
      load_panel(resolve(folder_, w[1].text));
    } else if (command == "place") {
      if (!(w.size() == 2 || (w.size() == 4 && w[2].text == "as"))) fail("usage: place MODULE!GAUGE [as NAME]");
      const auto bang = w[1].text.find('!');
      if (bang == std::string::npos) fail("not MODULE!GAUGE: " + quote(w[1].text));
      host_->place(w[1].text.substr(0, bang), w[1].text.substr(bang + 1), w.size() == 4 ? w[3].text : std::string());
    } else if (command == "aircraft") {
      arity(w, 2, 2, "aircraft static|live");
      if (w[1].text == "live") {
        session_.aircraft().go_live();
      } else if (w[1].text == "static") {
        session_.aircraft().go_static();
      } else {
        fail("aircraft takes static or live, not '" + w[1].text + "'");
      }
    } else if (command == "token") {
      arity(w, 3, 3, "token ID VALUE");
      host_->tokens().set(identifier(w[1], "token"), real(w[2], "value"));
    } else if (command == "avar") {
      avar(w);
    } else if (command == "named") {
      arity(w, 3, 3, "named NAME VALUE");
      host_->named().set_by_name(w[1].text, real(w[2], "value"));
    } else if (command == "message") {
      arity(w, 3, 3, "message HANDLE ID");
      host_->send_message(gauge(w[1]), static_cast<int32_t>(integer(w[2], "message", INT32_MIN, INT32_MAX)));
    } else if (command == "tick") {
      arity(w, 1, 2, "tick [N]");
      host_->tick(w.size() == 2 ? int(integer(w[1], "tick count", 0, 100000000)) : 1);
    } else if (command == "click" || command == "rclick") {
      arity(w, 4, 4, "click HANDLE X Y");
      host_->click(gauge(w[1]), coordinate(w[2]), coordinate(w[3]), command == "click" ? MOUSE_LEFTSINGLE : MOUSE_RIGHTSINGLE);
    } else if (command == "hold") {
      arity(w, 5, 5, "hold HANDLE X Y N");
      host_->hold(gauge(w[1]), coordinate(w[2]), coordinate(w[3]), int(integer(w[4], "tick count", 0, 100000000)));
    } else if (command == "hover") {
      arity(w, 4, 4, "hover HANDLE X Y");
      host_->hover(gauge(w[1]), coordinate(w[2]), coordinate(w[3]));
    } else if (command == "expect") {
      expect(w);
    } else if (command == "render") {
      arity(w, 2, 3, "render FILE.png [night]");
      if (w.size() == 3 && w[2].text != "night") fail("render takes 'night' or nothing after the file, not '" + w[2].text + "'");
#ifdef PANELHOST_NO_DRAWING
      err_ << path_ << ":" << line_ << ": note: this 32-bit host does not draw; " << w[1].text << " not written\n";
#else
      RenderOptions options;
      options.night = w.size() == 3;
      renderer_.write_png(session_, resolve(folder_, w[1].text), options);
#endif
    } else if (command == "print") {
      print(w);
    } else {
      fail("unknown command '" + command + "'");
    }
  }

  int coordinate(const Word& w) { return int(integer(w, "coordinate", -1000000, 1000000)); }

  void load_panel(const std::string& file) { session_.load_panel(file, options_.strict, err_); }

  void avar(const std::vector<Word>& w) {
    if (w.size() == 3 && w[2].text == "none") {
      session_.variables().forget(w[1].text);
      return;
    }
    arity(w, 4, 4, "avar \"NAME\" UNIT VALUE | avar \"NAME\" none");
    if (auto problem = session_.variables().set(w[1].text, w[2].text, real(w[3], "value"))) fail(*problem);
  }

  void expect(const std::vector<Word>& w) {
    if (w.size() < 2) fail("usage: expect WHAT ...");
    const std::string& what = w[1].text;
    if (what == "reading") {
      arity(w, 5, 6, "expect reading HANDLE DEPTH VALUE [TOL]");
      ElementState& e = element(gauge(w[2]), w[3]);
      if (!e.view.needle()) fail("the element at depth " + w[3].text + " is not a needle");
      expect_number(e.has_reading ? e.reading : std::nan(""), real(w[4], "value"), w.size() == 6 ? real(w[5], "tolerance") : 1e-9,
                    "reading");
    } else if (what == "angle") {
      arity(w, 5, 6, "expect angle HANDLE DEGREES [TOL]");
      ElementState& e = element(gauge(w[2]), w[3]);
      if (!e.view.needle()) fail("the element at depth " + w[3].text + " is not a needle");
      const double expected = real(w[4], "angle");
      const double tolerance = w.size() == 6 ? real(w[5], "tolerance") : 0.5;
      const double difference = normalize_degrees(e.angle - expected);
      const bool passed = std::min(difference, 360.0 - difference) <= tolerance;
      check(passed, "angle " + show(normalize_degrees(expected)), show(normalize_degrees(e.angle)));
    } else if (what == "icon") {
      arity(w, 5, 5, "expect icon HANDLE DEPTH INDEX");
      ElementState& e = element(gauge(w[2]), w[3]);
      if (!e.view.icon()) fail("the element at depth " + w[3].text + " is not an icon");
      const int64_t expected = integer(w[4], "index", 0, 1000);
      check(e.icon_index == expected, "icon " + w[4].text, std::to_string(e.icon_index));
    } else if (what == "flags") {
      arity(w, 5, 5, "expect flags HANDLE DEPTH HEX");
      ElementState& e = element(gauge(w[2]), w[3]);
      const uint32_t expected = identifier(w[4], "flags");
      char got[16], want[16];
      std::snprintf(got, sizeof got, "0x%x", e.view.header->image_flags);
      std::snprintf(want, sizeof want, "0x%x", expected);
      check(e.view.header->image_flags == expected, std::string("flags ") + want, got);
    } else if (what == "lit") {
      arity(w, 5, 5, "expect lit HANDLE DEPTH yes|no");
      ElementState& e = element(gauge(w[2]), w[3]);
      if (w[4].text != "yes" && w[4].text != "no") fail("expect lit takes yes or no");
      const bool lit = (e.view.header->image_flags & IMAGE_LUMINOUS) != 0;
      check(lit == (w[4].text == "yes"), "lit " + w[4].text, lit ? "yes" : "no");
    } else if (what == "tooltip") {
      const Tooltip& current = host_->tooltip();
      if (w.size() == 4 && w[2].text == "help" && !w[2].quoted) {
        const uint32_t id = identifier(w[3], "help identifier");
        char want[32];
        std::snprintf(want, sizeof want, "help 0x%x", id);
        std::string got = quote(current.text);
        if (current.kind == Tooltip::Kind::Help) {
          char help[32];
          std::snprintf(help, sizeof help, "help 0x%x", current.help_id);
          got = help;
        }
        check(current.kind == Tooltip::Kind::Help && current.help_id == id, want, got);
      } else {
        arity(w, 3, 3, "expect tooltip \"TEXT\" | expect tooltip help ID");
        check(current.text == w[2].text, "tooltip " + quote(w[2].text), quote(current.text));
      }
    } else if (what == "events") {
      std::vector<KeyEvent> expected;
      for (size_t i = 2; i < w.size(); ++i) {
        const auto colon = w[i].text.find(':');
        if (colon == std::string::npos) fail("events are written ID:VALUE, not '" + w[i].text + "'");
        const uint32_t id = identifier(Word{w[i].text.substr(0, colon)}, "event");
        const uint32_t value = static_cast<uint32_t>(integer(Word{w[i].text.substr(colon + 1)}, "event value", INT32_MIN, 0xFFFFFFFFll));
        expected.push_back({id, value});
      }
      const std::vector<KeyEvent> sent(host_->events().begin() + long(events_seen_), host_->events().end());
      events_seen_ = host_->events().size();
      check(sent == expected, "events [" + list(expected) + "]", "[" + list(sent) + "]");
    } else if (what == "named") {
      arity(w, 4, 4, "expect named NAME VALUE");
      const std::optional<double> value = host_->named().value(w[2].text);
      if (!value) {
        check(false, "named " + w[2].text + " " + w[3].text, "no such variable");
      } else {
        expect_number(*value, real(w[3], "value"), 1e-9, "named " + w[2].text);
      }
    } else if (what == "token") {
      arity(w, 4, 5, "expect token ID VALUE [TOL]");
      expect_number(host_->tokens().get(identifier(w[2], "token")), real(w[3], "value"),
                    w.size() == 5 ? real(w[4], "tolerance") : 1e-9, "token " + w[2].text);
    } else if (what == "avar") {
      arity(w, 5, 6, "expect avar \"NAME\" UNIT VALUE [TOL]");
      const std::optional<double> value = session_.variables().get(w[2].text, w[3].text);
      if (!value) {
        check(false, "avar " + quote(w[2].text) + " " + w[4].text, "no value in " + w[3].text);
      } else {
        expect_number(*value, real(w[4], "value"), w.size() == 6 ? real(w[5], "tolerance") : 1e-9, "avar " + quote(w[2].text));
      }
    } else {
      fail("unknown check 'expect " + what + "'");
    }
  }

  static std::string list(const std::vector<KeyEvent>& events) {
    std::string text;
    for (const KeyEvent& e : events) text += (text.empty() ? "" : " ") + std::to_string(e.id) + ":" + std::to_string(e.value);
    return text;
  }

  // print reading|angle HANDLE DEPTH, icon HANDLE DEPTH, token ID, named NAME,
  // avar "NAME" UNIT, tooltip, events; anything else is printed as written.
  void print(const std::vector<Word>& w) {
    const std::string what = w.size() > 1 && !w[1].quoted ? w[1].text : "";
    std::string line;
    if ((what == "reading" || what == "angle" || what == "icon") && w.size() == 4) {
      GaugeInstance& g = gauge(w[2]);
      const ElementState& e = element(g, w[3]);
      const double value = what == "reading" ? (e.has_reading ? e.reading : std::nan(""))
                           : what == "angle" ? normalize_degrees(e.angle)
                                             : double(e.icon_index);
      line = w[2].text + " " + what + " " + w[3].text + ": " + show(value);
    } else if (what == "token" && w.size() == 3) {
      line = "token " + w[2].text + ": " + show(host_->tokens().get(identifier(w[2], "token")));
    } else if (what == "named" && w.size() == 3) {
      const auto value = host_->named().value(w[2].text);
      line = "named " + w[2].text + ": " + (value ? show(*value) : "not registered");
    } else if (what == "avar" && w.size() == 4) {
      const auto value = session_.variables().get(w[2].text, w[3].text);
      line = "avar " + quote(w[2].text) + " " + w[3].text + ": " + (value ? show(*value) : "unknown");
    } else if (what == "tooltip" && w.size() == 2) {
      line = "tooltip: " + quote(host_->tooltip().text);
    } else if (what == "events" && w.size() == 2) {
      const std::vector<KeyEvent> all = host_->events();
      line = "events: [" + list(std::vector<KeyEvent>(all.begin() + long(std::min(printed_events_, all.size())), all.end())) + "]";
      printed_events_ = all.size();
    } else {
      for (size_t i = 1; i < w.size(); ++i) line += (i > 1 ? " " : "") + w[i].text;
    }
    out_ << line << "\n";
  }

  std::string path_, folder_;
  const RunOptions& options_;
  std::ostream& out_;
  std::ostream& err_;
  RunSummary& summary_;
  Session session_;
  PanelHost* host_;
#ifndef PANELHOST_NO_DRAWING
  Renderer renderer_;
#endif
  size_t events_seen_ = 0;
  size_t printed_events_ = 0;
  int line_ = 0;
};

}  // namespace

RunSummary run_scripts(const std::vector<std::string>& paths, const RunOptions& options, std::ostream& out,
                       std::ostream& err) {
  RunSummary summary;
  for (const std::string& path : paths) {
    Runner(path, options, out, err, summary).run();
  }
  return summary;
}

int exit_code(const RunSummary& summary) {
  if (summary.error) return 2;
  return summary.failed ? 1 : 0;
}

}  // namespace host::script
