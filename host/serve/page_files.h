// The page's own files, built into the binary from host/serve/page/: the
// server answers from this fixed list and never opens a file named by a request.
#pragma once

#include <string_view>

namespace host::serve {

struct PageFile {
  std::string_view path;  // as requested, e.g. "/panel.js"
  std::string_view content_type;
  std::string_view body;
};

// Null for any path not in the list.
const PageFile* find_page_file(std::string_view path);

}  // namespace host::serve
