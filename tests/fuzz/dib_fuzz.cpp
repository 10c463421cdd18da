// Bitmaps as modules carry them, and BMP files.
#include <cstdint>
#include <span>

#include "modfile/dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    (void)modfile::decode_dib(std::span(data, size));
  } catch (const modfile::FormatError&) {
  }
  return 0;
}
