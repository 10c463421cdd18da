// panelhost inspect: what a module file holds, for both builds.
#pragma once

#include <iosfwd>
#include <string>

namespace modfile {

// Prints the report to `out`, or "PATH: what is wrong" to `err` and returns 1.
int inspect(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace modfile
