// Compiled resource files as the native modules carry them, with their bitmaps
// and version blocks decoded.
#include <cstdint>
#include <span>

#include "modfile/dib.h"
#include "modfile/module_file.h"
#include "modfile/version_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    for (const modfile::Resource& resource : modfile::parse_res_file(modfile::ByteReader(std::span(data, size), "fuzz.res"))) {
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
