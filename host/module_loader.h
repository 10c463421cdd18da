// Loads a native module file, hands it the host function table and checks
// every record it exports before anything else reads them.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gauge_records.h"
#include "pe_loader.h"
#include "recent_names.h"

namespace host {

class LoadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The address ranges of a loaded module, so that every pointer it hands the
// host can be checked before it is followed or called.
class ModuleImage {
 public:
  struct Range {
    uintptr_t begin, end;
    bool executable;
    bool writable;
  };
  void add(Range range);
  void add(const ModuleImage& other);
  bool holds(const void* p, size_t size) const;
  bool holds_code(const void* p) const;
  // A NUL-terminated string of at most max_length bytes inside the image.
  bool holds_string(const char* s, size_t max_length = 4096) const { return string_inside(s, max_length).has_value(); }
  // The same check, answering the string and whether it lies in memory that cannot change.
  std::optional<std::string_view> string_inside(const char* s, size_t max_length = 4096, TextAt* lifetime = nullptr) const;

 private:
  // The range holding `address`, or null. Ranges are kept in address order.
  const Range* range_at(uintptr_t address) const;
  std::vector<Range> ranges_;
  mutable size_t last_found_ = 0;  // checks mostly follow one another in one range
};

// One element of a gauge's chain, checked: its kind decides which record it is.
struct ElementView {
  ELEMENT_HEADER* header;
  int depth;
  ELEMENT_NEEDLE* needle() const { return header->kind == ELEMENT_KIND_NEEDLE ? reinterpret_cast<ELEMENT_NEEDLE*>(header) : nullptr; }
  ELEMENT_ICON* icon() const { return header->kind == ELEMENT_KIND_ICON ? reinterpret_cast<ELEMENT_ICON*>(header) : nullptr; }
  MODULE_VAR* source() const;
  ElementUpdateCallback update() const;
};

struct GaugeView {
  GAUGEHDR* header;
  std::string name;
  std::vector<ElementView> chain;     // root first
  std::vector<const MOUSERECT*> mouse;  // up to and including the end-of-list record
};

class LoadedModule {
 public:
  // Loads MODULE.gau and writes `panels` into its ImportTable.
  static std::unique_ptr<LoadedModule> load(const std::string& path, PANELS* panels);
  // Calls the module's init routine: once the host knows the module, so that
  // the names it hands over are seen to lie inside a loaded module.
  void start();
  ~LoadedModule();  // deinit routine, then unload
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;

  const std::string& path() const { return path_; }
  const std::string& name() const { return name_; }
  const std::vector<GaugeView>& gauges() const { return gauges_; }
  const GaugeView* find_gauge(std::string_view name) const;
  const ModuleImage& image() const { return image_; }
  // The size of a bitmap resource, or {0, 0} when the module does not carry it.
  std::pair<int, int> bitmap_size(uint32_t id) const;
  IMPORT_TABLE* import_table() const { return import_table_; }
  GAUGESLINKAGE* linkage() const { return linkage_; }

 private:
  LoadedModule() = default;
  void check_records();

  std::string path_, name_;
  void* handle_ = nullptr;           // a native module
  std::unique_ptr<PeModule> pe_;     // a Windows module, in the 32-bit host
  IMPORT_TABLE* import_table_ = nullptr;
  GAUGESLINKAGE* linkage_ = nullptr;
  ModuleImage image_;
  std::vector<GaugeView> gauges_;
  std::map<uint32_t, std::pair<int, int>> bitmap_sizes_;
};

std::string module_name_from_path(const std::string& path);

}  // namespace host
