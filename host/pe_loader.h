// Loads a shipped 32-bit Windows module into this 32-bit Linux process: maps
// its sections, applies its relocations, resolves its imports against
// stand-ins written for exactly what the modules import, gives the thread a
// thread information block, and calls its entry point.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace host {

class PeModule {
 public:
  struct Section {
    uintptr_t begin, end;
    bool executable;
  };

  // Throws LoadError naming the file and the cause.
  static std::unique_ptr<PeModule> load(const std::string& path);
  ~PeModule();  // tells the module it is detached, then unmaps it
  PeModule(const PeModule&) = delete;
  PeModule& operator=(const PeModule&) = delete;

  void* find_export(const std::string& name) const;  // null when absent
  const std::vector<Section>& sections() const { return sections_; }

 private:
  PeModule() = default;
  std::string path_;
  uint8_t* base_ = nullptr;
  size_t size_ = 0;
  uint32_t entry_ = 0;
  bool attached_ = false;
  std::vector<std::pair<std::string, uint32_t>> exports_;
  std::vector<Section> sections_;
};

// How many times the modules have called an allocator stand-in.
uint64_t module_allocations();

}  // namespace host
