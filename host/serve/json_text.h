// Just enough JSON for the page's answers: strings quoted so any byte a module
// hands over stays valid (bytes above 127 are read as Latin-1).
#pragma once

#include <string>
#include <string_view>

namespace host::serve {

std::string json_string(std::string_view text);

}  // namespace host::serve
