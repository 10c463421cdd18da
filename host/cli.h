// The command line of panelhost: one function per verb.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace host::cli {

int main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The gauges folder of the build this panelhost belongs to (bin/../gauges).
std::string default_gauges_dir();

}  // namespace host::cli
