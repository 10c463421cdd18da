#include "pe_loader.h"

#if defined(__i386__) && defined(__linux__)

#include <asm/ldt.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "module_loader.h"
#include "modfile/byte_reader.h"
#include "modfile/module_file.h"

#define WINAPI __attribute__((stdcall))

namespace host {

namespace {

uint64_t allocations = 0;

// ---- kernel32 stand-ins: one thread, nothing to lock, nothing to load ----------
void WINAPI critical_section_noop(void*) {}
int WINAPI free_library(void*) { return 1; }
uint32_t WINAPI get_last_error() { return 0; }
void* WINAPI get_module_handle(const char*) { return nullptr; }
void* WINAPI get_proc_address(void*, const char*) { return nullptr; }
void* WINAPI load_library(const char*) { return nullptr; }
void WINAPI sleep_ms(uint32_t) {}
void* WINAPI tls_get_value(uint32_t) { return nullptr; }
int WINAPI virtual_protect(void*, size_t, uint32_t, uint32_t* old) {
  if (old) *old = 0x40;  // the image is mapped readable, writable and executable
  return 1;
}
struct MemoryInformation {
  void* base;
  void* allocation_base;
  uint32_t allocation_protect;
  size_t region_size;
  uint32_t state, protect, type;
};
size_t WINAPI virtual_query(const void* address, MemoryInformation* info, size_t length) {
  if (!info || length < sizeof *info) return 0;
  const uintptr_t page = reinterpret_cast<uintptr_t>(address) & ~uintptr_t(0xFFF);
  *info = {reinterpret_cast<void*>(page), reinterpret_cast<void*>(page), 0x40, 0x1000, 0x1000, 0x40, 0x1000000};
  return sizeof *info;
}

// ---- msvcrt stand-ins (cdecl) ---------------------------------------------------
char iob[3 * 32];  // the C runtime's stdin, stdout and stderr; modules only name them
void amsg_exit(int) { std::abort(); }
void initterm(void (**begin)(), void (**end)()) {
  for (; begin < end; ++begin) {
    if (*begin) (*begin)();
  }
}
void lock_noop(int) {}
void abort_module() { std::abort(); }
void* calloc_counted(size_t n, size_t size) {
  ++allocations;
  return std::calloc(n, size);
}
void* realloc_counted(void* p, size_t size) {
  ++allocations;
  return std::realloc(p, size);
}
void free_module(void* p) { std::free(p); }
size_t fwrite_to_stderr(const void* data, size_t size, size_t count, void*) {
  return std::fwrite(data, size, count, stderr);
}
int vfprintf_to_stderr(void*, const char* format, va_list arguments) { return std::vfprintf(stderr, format, arguments); }
size_t strlen_module(const char* s) { return std::strlen(s); }
int strncmp_module(const char* a, const char* b, size_t n) { return std::strncmp(a, b, n); }

struct StandIn {
  const char* dll;
  const char* name;
  void* address;
};
const StandIn kStandIns[] = {
    {"kernel32.dll", "DeleteCriticalSection", reinterpret_cast<void*>(critical_section_noop)},
    {"kernel32.dll", "EnterCriticalSection", reinterpret_cast<void*>(critical_section_noop)},
    {"kernel32.dll", "InitializeCriticalSection", reinterpret_cast<void*>(critical_section_noop)},
    {"kernel32.dll", "LeaveCriticalSection", reinterpret_cast<void*>(critical_section_noop)},
    {"kernel32.dll", "FreeLibrary", reinterpret_cast<void*>(free_library)},
    {"kernel32.dll", "GetLastError", reinterpret_cast<void*>(get_last_error)},
    {"kernel32.dll", "GetModuleHandleA", reinterpret_cast<void*>(get_module_handle)},
    {"kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(get_proc_address)},
    {"kernel32.dll", "LoadLibraryA", reinterpret_cast<void*>(load_library)},
    {"kernel32.dll", "Sleep", reinterpret_cast<void*>(sleep_ms)},
    {"kernel32.dll", "TlsGetValue", reinterpret_cast<void*>(tls_get_value)},
    {"kernel32.dll", "VirtualProtect", reinterpret_cast<void*>(virtual_protect)},
    {"kernel32.dll", "VirtualQuery", reinterpret_cast<void*>(virtual_query)},
    {"msvcrt.dll", "_amsg_exit", reinterpret_cast<void*>(amsg_exit)},
    {"msvcrt.dll", "_initterm", reinterpret_cast<void*>(initterm)},
    {"msvcrt.dll", "_iob", reinterpret_cast<void*>(iob)},
    {"msvcrt.dll", "_lock", reinterpret_cast<void*>(lock_noop)},
    {"msvcrt.dll", "_unlock", reinterpret_cast<void*>(lock_noop)},
    {"msvcrt.dll", "abort", reinterpret_cast<void*>(abort_module)},
    {"msvcrt.dll", "calloc", reinterpret_cast<void*>(calloc_counted)},
    {"msvcrt.dll", "free", reinterpret_cast<void*>(free_module)},
    {"msvcrt.dll", "fwrite", reinterpret_cast<void*>(fwrite_to_stderr)},
    {"msvcrt.dll", "realloc", reinterpret_cast<void*>(realloc_counted)},
    {"msvcrt.dll", "strlen", reinterpret_cast<void*>(strlen_module)},
    {"msvcrt.dll", "strncmp", reinterpret_cast<void*>(strncmp_module)},
    {"msvcrt.dll", "vfprintf", reinterpret_cast<void*>(vfprintf_to_stderr)},
};

void* stand_in(const std::string& dll, const std::string& name) {
  for (const StandIn& s : kStandIns) {
    if (strcasecmp(dll.c_str(), s.dll) == 0 && name == s.name) return s.address;
  }
  return nullptr;
}

// The Windows C runtime finds its thread information block through the fs
// segment (offset 0x18 holds the block's own address). One block serves the
// one thread that calls modules.
void install_thread_block() {
  static uint32_t block[1024];
  static bool installed = false;
  if (installed) return;
  block[0] = 0xFFFFFFFFu;  // no exception handler registered
  block[0x18 / 4] = reinterpret_cast<uint32_t>(block);
  user_desc descriptor{};
  descriptor.entry_number = 0;
  descriptor.base_addr = reinterpret_cast<uint32_t>(block);
  descriptor.limit = sizeof block - 1;
  descriptor.seg_32bit = 1;
  descriptor.contents = 0;  // data
  descriptor.useable = 1;
  if (syscall(SYS_modify_ldt, 1, &descriptor, sizeof descriptor) != 0) {
    throw LoadError("cannot give the thread an information block for Windows modules (modify_ldt failed)");
  }
  const uint16_t selector = (0 << 3) | 4 | 3;  // LDT entry 0, privilege 3
  asm volatile("movw %w0, %%fs" ::"q"(selector));
  installed = true;
}

using EntryPoint = int(WINAPI*)(void*, uint32_t, void*);
constexpr uint32_t kProcessAttach = 1, kProcessDetach = 0;
constexpr uint32_t kMaxImageSize = 64 << 20;

}  // namespace

uint64_t module_allocations() { return allocations; }

std::unique_ptr<PeModule> PeModule::load(const std::string& path) {
  modfile::ModuleFile info;
  std::vector<uint8_t> bytes;
  {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) throw LoadError(path + ": cannot read the module file");
    uint8_t buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0 && bytes.size() <= kMaxImageSize) {
      bytes.insert(bytes.end(), buffer, buffer + got);
    }
    std::fclose(file);
  }
  std::unique_ptr<PeModule> module(new PeModule);
  module->path_ = path;
  try {
    info = modfile::parse_module_file(bytes, path);  // checks every header and directory against the file
    const modfile::ByteReader file(bytes, path);
    const uint32_t pe = file.u32(0x3C);
    const uint16_t section_count = file.u16(pe + 6);
    const uint32_t optional = pe + 24;
    const uint32_t table = optional + file.u16(pe + 20);
    const uint32_t image_base = file.u32(optional + 28);
    const uint32_t image_size = file.u32(optional + 56);
    const uint32_t header_size = file.u32(optional + 60);
    module->entry_ = file.u32(optional + 16);
    if (image_size == 0 || image_size > kMaxImageSize || header_size > image_size) {
      throw LoadError(path + ": image size " + std::to_string(image_size) + " is not plausible");
    }

    void* mapping = mmap(nullptr, image_size, PROT_READ | PROT_WRITE | PROT_EXEC, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) throw LoadError(path + ": cannot map " + std::to_string(image_size) + " bytes");
    module->base_ = static_cast<uint8_t*>(mapping);
    module->size_ = image_size;
    uint8_t* base = module->base_;
    auto inside = [&](uint64_t rva, uint64_t length) { return rva <= image_size && length <= image_size - rva; };

    std::memcpy(base, file.slice(0, std::min<uint64_t>(header_size, bytes.size()), "headers").data(),
                std::min<uint64_t>(header_size, bytes.size()));
    for (uint32_t s = 0; s < section_count; ++s) {
      const uint32_t at = table + 40 * s;
      const uint32_t virtual_size = file.u32(at + 8), rva = file.u32(at + 12), raw_size = file.u32(at + 16),
                     raw_offset = file.u32(at + 20), flags = file.u32(at + 36);
      const uint32_t copied = std::min(raw_size, virtual_size ? virtual_size : raw_size);
      if (!inside(rva, std::max(virtual_size, copied))) throw LoadError(path + ": section " + std::to_string(s) + " lies outside the image");
      std::memcpy(base + rva, file.slice(raw_offset, copied, "section data").data(), copied);
      module->sections_.push_back({reinterpret_cast<uintptr_t>(base + rva),
                                   reinterpret_cast<uintptr_t>(base + rva + std::max(virtual_size, copied)),
                                   (flags & 0x20000000u) != 0});
    }

    // Base relocations: the image may not sit at its preferred address.
    const uint32_t delta = reinterpret_cast<uint32_t>(base) - image_base;
    const uint32_t relocations = file.u32(optional + 96 + 5 * 8), relocations_size = file.u32(optional + 100 + 5 * 8);
    if (relocations) {
      if (!inside(relocations, relocations_size)) throw LoadError(path + ": relocation table lies outside the image");
      for (uint32_t block = relocations; block + 8 <= relocations + relocations_size;) {
        uint32_t page, block_size;
        std::memcpy(&page, base + block, 4);
        std::memcpy(&block_size, base + block + 4, 4);
        if (block_size < 8 || block_size > relocations + relocations_size - block) throw LoadError(path + ": bad relocation block");
        for (uint32_t i = 8; i + 2 <= block_size; i += 2) {
          uint16_t entry;
          std::memcpy(&entry, base + block + i, 2);
          const uint32_t type = entry >> 12, target = page + (entry & 0xFFF);
          if (type == 0) continue;
          if (type != 3) throw LoadError(path + ": relocation of unknown type " + std::to_string(type));
          if (!inside(target, 4)) throw LoadError(path + ": a relocation points outside the image");
          uint32_t value;
          std::memcpy(&value, base + target, 4);
          value += delta;
          std::memcpy(base + target, &value, 4);
        }
        block += block_size;
      }
    }

    // Imports: each named function from the stand-ins, or the module is refused.
    const uint32_t imports = file.u32(optional + 96 + 8);
    for (uint32_t d = 0; imports; ++d) {
      if (!inside(imports + 20 * d, 20) || d > 64) throw LoadError(path + ": import directory lies outside the image");
      uint32_t lookup, name, thunks;
      std::memcpy(&lookup, base + imports + 20 * d, 4);
      std::memcpy(&name, base + imports + 20 * d + 12, 4);
      std::memcpy(&thunks, base + imports + 20 * d + 16, 4);
      if (lookup == 0 && name == 0 && thunks == 0) break;
      const std::string& dll = info.imports.at(d).dll;
      for (uint32_t i = 0; i < info.imports.at(d).functions.size(); ++i) {
        const std::string& function = info.imports[d].functions[i];
        void* address = stand_in(dll, function);
        if (!address) throw LoadError(path + ": imports " + function + " from " + dll + ", which this host does not provide");
        if (!inside(thunks + 4 * i, 4)) throw LoadError(path + ": import address table lies outside the image");
        const uint32_t value = reinterpret_cast<uint32_t>(address);
        std::memcpy(base + thunks + 4 * i, &value, 4);
      }
    }

    // Exports, by name.
    const uint32_t exports = file.u32(optional + 96);
    if (exports) {
      if (!inside(exports, 40)) throw LoadError(path + ": export directory lies outside the image");
      uint32_t count, functions, names, ordinals;
      std::memcpy(&count, base + exports + 24, 4);
      std::memcpy(&functions, base + exports + 28, 4);
      std::memcpy(&names, base + exports + 32, 4);
      std::memcpy(&ordinals, base + exports + 36, 4);
      for (uint32_t i = 0; i < count && i < info.exports.size(); ++i) {
        uint16_t ordinal;
        uint32_t rva;
        if (!inside(ordinals + 2 * i, 2)) throw LoadError(path + ": export table lies outside the image");
        std::memcpy(&ordinal, base + ordinals + 2 * i, 2);
        if (!inside(functions + 4 * ordinal, 4)) throw LoadError(path + ": export table lies outside the image");
        std::memcpy(&rva, base + functions + 4 * ordinal, 4);
        if (!inside(rva, 1)) throw LoadError(path + ": export " + info.exports[i] + " points outside the image");
        module->exports_.emplace_back(info.exports[i], rva);
      }
    }
    if (!inside(module->entry_, 1) || module->entry_ == 0) throw LoadError(path + ": entry point lies outside the image");
  } catch (const modfile::FormatError& e) {
    throw LoadError(e.what());
  }

  install_thread_block();
  const auto entry = reinterpret_cast<EntryPoint>(module->base_ + module->entry_);
  if (entry(module->base_, kProcessAttach, nullptr) == 0) throw LoadError(path + ": the module's entry point refused to start");
  module->attached_ = true;
  return module;
}

PeModule::~PeModule() {
  if (attached_) reinterpret_cast<EntryPoint>(base_ + entry_)(base_, kProcessDetach, nullptr);
  if (base_) munmap(base_, size_);
}

void* PeModule::find_export(const std::string& name) const {
  for (const auto& [export_name, rva] : exports_) {
    if (export_name == name) return base_ + rva;
  }
  return nullptr;
}

}  // namespace host

#else

#include "module_loader.h"

namespace host {
std::unique_ptr<PeModule> PeModule::load(const std::string& path) {
  throw LoadError(path + ": a Windows module; this panelhost runs the native build of the modules");
}
PeModule::~PeModule() = default;
void* PeModule::find_export(const std::string&) const { return nullptr; }
uint64_t module_allocations() { return 0; }
}  // namespace host

#endif
