// Version resources: fixed versions and the nested string blocks.
#include <cstdint>
#include <span>

#include "modfile/version_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const modfile::VersionInfo info = modfile::parse_version_info(std::span(data, size));
    (void)info.value("FileDescription");
  } catch (const modfile::FormatError&) {
  }
  return 0;
}
