// Compiled resource files (.res): the form in which a native module carries,
// in its section ".gauge_resources", the resources that the win32 build links
// as real Win32 resources.
#pragma once

#include <vector>

#include "byte_reader.h"
#include "resource.h"

namespace modfile {

// Every entry but the empty one that opens the file. Throws FormatError.
std::vector<Resource> parse_res_file(const ByteReader& res);

}  // namespace modfile
