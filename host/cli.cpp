#include "cli.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <cstdlib>
#include <optional>
#include <ostream>

#include "modfile/inspect.h"
#ifndef PANELHOST_NO_DRAWING
#include "render/renderer.h"
#include "serve/serve_command.h"
#endif
#include "script/script_runner.h"
#include "session.h"

namespace host::cli {

namespace {

constexpr const char* kUsage =
    "usage: panelhost VERB [OPTIONS] ...\n"
    "\n"
    "Previews, drives and tests gauge modules without the simulator.\n"
    "\n"
    "verbs:\n"
    "  run SCRIPT...         run panel scripts and check what the gauges do\n"
    "  inspect MODULE.gau    list a module's gauges, resources and version data\n"
    "  render                draw a panel to PNG\n"
    "  serve                 a live panel in the browser\n"
    "\n"
    "'panelhost VERB --help' tells more about each verb.\n";

constexpr const char* kRunUsage =
    "usage: panelhost run [--gauges DIR] [--strict] SCRIPT...\n"
    "\n"
    "Runs each panel script from a fresh start (modules loaded anew, every\n"
    "variable at zero), prints every failed expect as FILE:LINE, and closes\n"
    "with 'N passed, M failed'.\n"
    "\n"
    "  --gauges DIR   where modules are looked up as MODULE.gau\n"
    "                 (default: the gauges folder of this build)\n"
    "  --strict       panel file warnings stop the script\n"
    "\n"
    "exit status: 0 all passed, 1 an expect failed, 2 a script could not run\n";

constexpr const char* kInspectUsage =
    "usage: panelhost inspect [--guide] MODULE.gau...\n"
    "\n"
    "Lists each module's gauges, bitmaps, manifest and version data, for the\n"
    "native and the Windows build alike. A Windows module's code is never run;\n"
    "a native one is loaded to list its gauges.\n"
    "\n"
    "  --guide   instead, the panel author's guide: every gauge with a ready\n"
    "            gaugeNN= line and its default size\n";

constexpr const char* kRenderUsage =
    "usage: panelhost render [--panel FILE] [--out FILE.png] [--night] [--ticks N]\n"
    "                        [--live SECONDS] [--outline-mouse] [--scale F]\n"
    "                        [--gauges DIR] [--strict] [--gallery]\n"
    "\n"
    "Draws a panel file's visible windows to a PNG picture.\n"
    "\n"
    "  --panel FILE      the panel configuration (default: the demo panel)\n"
    "  --out FILE.png    where to write the picture (default: panel.png)\n"
    "  --night           panel lighting conditions: only lit gauges glow\n"
    "  --ticks N         panel updates before drawing, to let needles settle (default 60)\n"
    "  --live SECONDS    run the built-in aircraft live this long first\n"
    "  --outline-mouse   outline every click box (cyan) and tooltip region (yellow)\n"
    "  --scale F         draw at F times the panel's size (default 1)\n"
    "  --gauges DIR      where modules are looked up (default: this build's gauges)\n"
    "  --strict          panel file warnings are errors\n"
    "  --gallery         instead of a panel, every gauge of every module in the\n"
    "                    gauges folder once, labelled MODULE!GAUGE\n";

bool wants_help(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (wants_help(args)) {
    out << kRunUsage;
    return 0;
  }
  script::RunOptions options{default_gauges_dir(), false};
  std::vector<std::string> scripts;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--gauges") {
      if (i + 1 == args.size()) {
        err << "panelhost run: --gauges needs a folder\n";
        return 2;
      }
      options.gauges_dir = args[++i];
    } else if (args[i] == "--strict") {
      options.strict = true;
    } else if (args[i].starts_with("--")) {
      err << "panelhost run: unknown option " << args[i] << "\n" << kRunUsage;
      return 2;
    } else {
      scripts.push_back(args[i]);
    }
  }
  if (scripts.empty()) {
    err << "panelhost run: no script given\n" << kRunUsage;
    return 2;
  }
  const script::RunSummary summary = script::run_scripts(scripts, options, out, err);
  out << summary.passed << " passed, " << summary.failed << " failed\n";
  return script::exit_code(summary);
}

#ifndef PANELHOST_NO_DRAWING
// Every gauge of every module in the folder, modules in name order.
void place_every_gauge(Session& session, const std::string& folder) {
  std::vector<std::string> modules;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".gau") modules.push_back(entry.path().stem().string());
  }
  std::sort(modules.begin(), modules.end());
  for (const std::string& module : modules) {
    for (const GaugeView& gauge : session.host().module(module).gauges()) session.host().place(module, gauge.name);
  }
}

int render(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (wants_help(args)) {
    out << kRenderUsage;
    return 0;
  }
  std::string panel = PANELHOST_DEMO_PANEL, output = "panel.png", gauges = default_gauges_dir();
  RenderOptions options;
  bool strict = false, gallery = false;
  double live_seconds = 0;
  long ticks = 60;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 == args.size()) return std::nullopt;
      return args[++i];
    };
    auto number = [&](double low, double high) -> std::optional<double> {
      auto text = value();
      if (!text) return std::nullopt;
      char* end = nullptr;
      const double v = std::strtod(text->c_str(), &end);
      if (end == text->c_str() || *end != '\0' || !(v >= low && v <= high)) return std::nullopt;
      return v;
    };
    std::optional<std::string> text;
    std::optional<double> n;
    if (a == "--panel" && (text = value())) {
      panel = *text;
    } else if (a == "--out" && (text = value())) {
      output = *text;
    } else if (a == "--gauges" && (text = value())) {
      gauges = *text;
    } else if (a == "--night") {
      options.night = true;
    } else if (a == "--outline-mouse") {
      options.outline_mouse = true;
    } else if (a == "--strict") {
      strict = true;
    } else if (a == "--gallery") {
      gallery = true;
    } else if (a == "--ticks" && (n = number(0, 1e6))) {
      ticks = long(*n);
    } else if (a == "--live" && (n = number(0, 36000))) {
      live_seconds = *n;
    } else if (a == "--scale" && (n = number(0.05, 8))) {
      options.scale = *n;
    } else {
      err << "panelhost render: bad or incomplete option '" << a << "'\n" << kRenderUsage;
      return 2;
    }
  }
  try {
    Session session(gauges);
    if (gallery) {
      place_every_gauge(session, gauges);
    } else {
      session.load_panel(panel, strict, err);
    }
    if (live_seconds > 0) {
      session.aircraft().go_live();
      session.host().tick(int(live_seconds / AircraftModel::kTickSeconds));
    }
    session.host().tick(int(ticks));
    Renderer renderer;
    if (gallery) {
      cairo_surface_t* image = renderer.draw_gallery(session, options);
      try {
        Renderer::save(image, output);
      } catch (...) {
        cairo_surface_destroy(image);
        throw;
      }
      cairo_surface_destroy(image);
    } else {
      renderer.write_png(session, output, options);
    }
    out << "wrote " << output << "\n";
    return 0;
  } catch (const std::exception& e) {
    err << "panelhost render: " << e.what() << "\n";
    return 2;
  }
}

#else
int render(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
  err << "panelhost render: this 32-bit host runs modules but does not draw; use the native panelhost\n";
  return 2;
}
#endif

int inspect(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (wants_help(args) || args.empty()) {
    (args.empty() ? err : out) << kInspectUsage;
    return args.empty() ? 2 : 0;
  }
  if (args[0] == "--guide") return modfile::write_guide({args.begin() + 1, args.end()}, out, err);
  int status = 0;
  for (const std::string& path : args) {
    if (modfile::inspect(path, out, err) != 0) status = 1;
  }
  return status;
}

}  // namespace

std::string default_gauges_dir() {
  char self[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length > 0) {
    std::string bin(self, size_t(length));
    bin.resize(bin.find_last_of('/'));
    return bin.substr(0, bin.find_last_of('/')) + "/gauges";
  }
  return PANELHOST_DEFAULT_GAUGES;
}

int main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << kUsage;
    return 2;
  }
  const std::string& verb = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (verb == "--help" || verb == "-h" || verb == "help") {
    out << kUsage;
    return 0;
  }
  if (verb == "run") return run(rest, out, err);
  if (verb == "inspect") return inspect(rest, out, err);
  if (verb == "render") return render(rest, out, err);
  if (verb == "serve") {
#ifndef PANELHOST_NO_DRAWING
    return serve::serve_command(rest, default_gauges_dir(), out, err);
#else
    err << "panelhost serve: this 32-bit host runs modules but does not draw; use the native panelhost\n";
    return 2;
#endif
  }
  err << "panelhost: unknown verb '" << verb << "'\n" << kUsage;
  return 2;
}

}  // namespace host::cli
