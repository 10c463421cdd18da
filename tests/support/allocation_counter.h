// Counts heap allocations in the whole process, split by who asked: the host,
// or a module's own code (see host/module_code.h). Linked into the soak test
// and the benchmarks; it replaces the allocator's entry points, or under the
// address sanitizer installs its allocation hooks.
#pragma once

#include <cstddef>
#include <cstdint>

namespace allocation_counter {

struct Counts {
  uint64_t host = 0;
  uint64_t module = 0;
};

Counts counts();
// Bytes the process holds on the heap right now.
size_t heap_in_use();

}  // namespace allocation_counter
