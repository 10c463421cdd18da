#include "allocation_counter.h"

#include <malloc.h>

#include <atomic>

#include "module_code.h"

namespace allocation_counter {
namespace {

std::atomic<uint64_t> host_allocations{0};
std::atomic<uint64_t> module_allocations{0};

void count_one() {
  (host::running_module_code() ? module_allocations : host_allocations).fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

Counts counts() { return {host_allocations.load(), module_allocations.load()}; }

}  // namespace allocation_counter

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's allocator interface (GCC ships no header for it).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*on_malloc)(const volatile void*, size_t),
                                              void (*on_free)(const volatile void*));
size_t __sanitizer_get_current_allocated_bytes();
}

namespace {
void on_malloc(const volatile void*, size_t) { allocation_counter::count_one(); }
void on_free(const volatile void*) {}
[[maybe_unused]] const int hooks_installed = __sanitizer_install_malloc_and_free_hooks(on_malloc, on_free);
}  // namespace

size_t allocation_counter::heap_in_use() { return __sanitizer_get_current_allocated_bytes(); }

#else
// glibc's own allocator stays underneath; operator new reaches it through malloc.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);

void* malloc(size_t size) {
  allocation_counter::count_one();
  return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
  allocation_counter::count_one();
  return __libc_calloc(count, size);
}
void* realloc(void* p, size_t size) {
  allocation_counter::count_one();
  return __libc_realloc(p, size);
}
void* memalign(size_t alignment, size_t size) {
  allocation_counter::count_one();
  return __libc_memalign(alignment, size);
}
void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }
int posix_memalign(void** out, size_t alignment, size_t size) {
  void* p = memalign(alignment, size);
  if (!p) return 12;  // ENOMEM
  *out = p;
  return 0;
}
}

size_t allocation_counter::heap_in_use() { return mallinfo2().uordblks; }
#endif
