// `panelhost serve`: the demo or a given panel live in the browser until
// interrupted.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace host::serve {

int serve_command(const std::vector<std::string>& args, const std::string& default_gauges, std::ostream& out,
                  std::ostream& err);

}  // namespace host::serve
