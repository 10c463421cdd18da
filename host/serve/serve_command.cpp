#include "serve_command.h"

#include <pthread.h>
#include <signal.h>

#include <cstdlib>
#include <ostream>

#include "live_panel.h"
#include "panel_server.h"

namespace host::serve {

namespace {

constexpr const char* kServeUsage =
    "usage: panelhost serve [--panel FILE] [--port N] [--night] [--gauges DIR]\n"
    "\n"
    "Runs a panel live with the built-in aircraft and shows it in the browser:\n"
    "needles move, clicks and held buttons reach the gauges, tooltips show\n"
    "under the pointer, and the recent key events are listed. Serves on\n"
    "127.0.0.1 only and prints the address to open; Ctrl-C stops it.\n"
    "\n"
    "  --panel FILE   the panel configuration (default: the demo panel)\n"
    "  --port N       the port to listen on (default 8080; 0: any free port)\n"
    "  --night        start with the panel lighting conditions of night\n"
    "  --gauges DIR   where modules are looked up (default: this build's gauges)\n";

}  // namespace

int serve_command(const std::vector<std::string>& args, const std::string& default_gauges, std::ostream& out,
                  std::ostream& err) {
  std::string panel_path = PANELHOST_DEMO_PANEL, gauges = default_gauges;
  int port = 8080;
  bool night = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      out << kServeUsage;
      return 0;
    }
    const bool has_value = i + 1 < args.size();
    if (a == "--panel" && has_value) {
      panel_path = args[++i];
    } else if (a == "--gauges" && has_value) {
      gauges = args[++i];
    } else if (a == "--night") {
      night = true;
    } else if (a == "--port" && has_value) {
      const std::string& text = args[++i];
      char* end = nullptr;
      const long n = std::strtol(text.c_str(), &end, 10);
      if (text.empty() || *end != '\0' || n < 0 || n > 65535) {
        err << "panelhost serve: --port needs a number from 0 to 65535, not '" << text << "'\n";
        return 2;
      }
      port = int(n);
    } else {
      err << "panelhost serve: bad or incomplete option '" << a << "'\n" << kServeUsage;
      return 2;
    }
  }

  // Interrupts are taken by sigwait below; every thread started from here on inherits the block.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  sigset_t previous;
  pthread_sigmask(SIG_BLOCK, &stop_signals, &previous);
  int status = 0;
  try {
    LivePanel panel(gauges, panel_path, night, err);
    PanelServer server(panel);
    server.start(port);
    panel.start();
    out << "panelhost serve: open " << server.address() << " (Ctrl-C stops)" << std::endl;
    int signal_number = 0;
    sigwait(&stop_signals, &signal_number);
    server.stop();
    panel.stop();
  } catch (const std::exception& e) {
    err << "panelhost serve: " << e.what() << "\n";
    status = 2;
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return status;
}

}  // namespace host::serve
