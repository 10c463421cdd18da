// Runs panel scripts: place gauges, set state, click, hover, tick, check.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace host::script {

struct RunOptions {
  std::string gauges_dir;  // default folder for "gauges"
  bool strict = false;     // panel warnings become errors
};

struct RunSummary {
  int passed = 0;
  int failed = 0;
  bool error = false;  // a script could not run to its end
};

// Runs each script from a fresh start and prints failures and errors to `err`,
// "print" output to `out`. The caller prints the closing summary line.
RunSummary run_scripts(const std::vector<std::string>& paths, const RunOptions& options, std::ostream& out,
                       std::ostream& err);

int exit_code(const RunSummary& summary);

}  // namespace host::script
