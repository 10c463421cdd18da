// panelhost inspect: what a module file holds, read without running it.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace modfile {

// Prints the report to `out` and returns 0, or prints "PATH: what is wrong"
// to `err` and returns 1.
int inspect(const std::string& path, std::ostream& out, std::ostream& err);

// The panel author's guide: per module, every gauge with a ready panel.cfg
// line and its default size. Returns 1 when a file could not be read.
int write_guide(const std::vector<std::string>& paths, std::ostream& out, std::ostream& err);

}  // namespace modfile
