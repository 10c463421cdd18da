#include "page_files.h"

#include <array>

namespace host::serve {

// Generated at configure time from host/serve/page/.
extern const std::string_view kIndexHtml, kPanelJs, kPanelCss;

const PageFile* find_page_file(std::string_view path) {
  static const std::array<PageFile, 4> files = {{
      {"/", "text/html; charset=utf-8", kIndexHtml},
      {"/index.html", "text/html; charset=utf-8", kIndexHtml},
      {"/panel.js", "text/javascript; charset=utf-8", kPanelJs},
      {"/panel.css", "text/css; charset=utf-8", kPanelCss},
  }};
  for (const PageFile& file : files) {
    if (file.path == path) return &file;
  }
  return nullptr;
}

}  // namespace host::serve
