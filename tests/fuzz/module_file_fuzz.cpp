// Module files of either build, read statically as inspect reads them: the
// file, then every bitmap and version resource found in it.
#include <cstdint>
#include <span>

#include "modfile/dib.h"
#include "modfile/module_file.h"
#include "modfile/version_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const modfile::ModuleFile module = modfile::parse_module_file(std::span(data, size), "fuzz.gau");
    for (const modfile::Resource& resource : module.resources) {
      if (!resource.type.is_number()) continue;
      try {
        if (resource.type.number() == 2) (void)modfile::decode_dib(resource.data);
        if (resource.type.number() == 16) (void)modfile::parse_version_info(resource.data);
      } catch (const modfile::FormatError&) {
      }
    }
  } catch (const modfile::FormatError&) {
  }
  return 0;
}
