#include "module_loader.h"

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "modfile/dib.h"
#include "modfile/module_file.h"
#include "module_code.h"

namespace host {

namespace {
constexpr size_t kMaxGauges = 256;
constexpr int kMaxChainDepth = 64;
constexpr size_t kMaxMouseRecords = 1024;
constexpr uint32_t kMaxCalibrationPoints = 1024;

struct ImageCollector {
  uintptr_t base;
  ModuleImage* image;
};

int collect_segments(dl_phdr_info* info, size_t, void* data) {
  auto* collector = static_cast<ImageCollector*>(data);
  if (info->dlpi_addr != collector->base) return 0;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_LOAD) continue;
    const uintptr_t begin = info->dlpi_addr + segment.p_vaddr;
    collector->image->add({begin, begin + segment.p_memsz, (segment.p_flags & PF_X) != 0, (segment.p_flags & PF_W) != 0});
  }
  return 1;
}

std::string read_magic(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return {};
  char magic[4] = {};
  file.read(magic, sizeof magic);
  return std::string(magic, static_cast<size_t>(file.gcount()));
}
}  // namespace

void ModuleImage::add(Range range) {
  if (range.end <= range.begin) return;
  const auto after = std::upper_bound(ranges_.begin(), ranges_.end(), range.begin,
                                      [](uintptr_t begin, const Range& r) { return begin < r.begin; });
  ranges_.insert(after, range);
}

void ModuleImage::add(const ModuleImage& other) {
  for (const Range& range : other.ranges_) add(range);
}

const ModuleImage::Range* ModuleImage::range_at(uintptr_t address) const {
  if (last_found_ < ranges_.size()) {
    const Range& last = ranges_[last_found_];
    if (address >= last.begin && address < last.end) return &last;
  }
  // The last range starting at or before the address; ranges do not overlap.
  auto after = std::upper_bound(ranges_.begin(), ranges_.end(), address,
                                [](uintptr_t a, const Range& r) { return a < r.begin; });
  if (after == ranges_.begin()) return nullptr;
  const Range& range = *(after - 1);
  if (address >= range.end) return nullptr;
  last_found_ = size_t(after - 1 - ranges_.begin());
  return &range;
}

bool ModuleImage::holds(const void* p, size_t size) const {
  const auto address = reinterpret_cast<uintptr_t>(p);
  const Range* range = range_at(address);
  return range && size <= range->end - address;
}

bool ModuleImage::holds_code(const void* p) const {
  const Range* range = range_at(reinterpret_cast<uintptr_t>(p));
  return range && range->executable;
}

std::optional<std::string_view> ModuleImage::string_inside(const char* s, size_t max_length, TextAt* lifetime) const {
  // The string may run on from one range into an adjacent one.
  auto address = reinterpret_cast<uintptr_t>(s);
  size_t length = 0;
  bool writable = false;
  while (length < max_length) {
    const Range* range = range_at(address);
    if (!range) return std::nullopt;
    writable |= range->writable;
    if (lifetime) *lifetime = writable ? TextAt::MayChange : TextAt::Constant;
    const size_t span = std::min<uintptr_t>(max_length - length, range->end - address);
    if (const void* end = std::memchr(reinterpret_cast<const void*>(address), '\0', span)) {
      return std::string_view(s, length + size_t(static_cast<const char*>(end) - reinterpret_cast<const char*>(address)));
    }
    address += span;
    length += span;
  }
  return std::nullopt;
}

MODULE_VAR* ElementView::source() const {
  if (auto* n = needle()) return &n->source;
  if (auto* i = icon()) return &i->source;
  return nullptr;
}

ElementUpdateCallback ElementView::update() const {
  if (auto* n = needle()) return n->update;
  if (auto* i = icon()) return i->update;
  return nullptr;
}

std::string module_name_from_path(const std::string& path) {
  std::string name = path.substr(path.find_last_of('/') + 1);
  if (auto dot = name.rfind('.'); dot != std::string::npos) name.resize(dot);
  return name;
}

std::unique_ptr<LoadedModule> LoadedModule::load(const std::string& path, PANELS* panels) {
  const std::string magic = read_magic(path);
  if (magic.empty()) throw LoadError(path + ": cannot read the module file");
  const bool windows = magic.size() >= 2 && magic[0] == 'M' && magic[1] == 'Z';
  if (!windows && magic != "\x7f" "ELF") throw LoadError(path + ": not a module file (neither ELF nor PE)");

  std::unique_ptr<LoadedModule> module(new LoadedModule);
  module->path_ = path;
  module->name_ = module_name_from_path(path);
  // Read the whole file before mapping it: a truncated file that the dynamic
  // loader maps anyway faults on the first page past its end.
  try {
    for (const modfile::Resource& resource : modfile::read_module_file(path).resources) {
      if (resource.type.is_number() && resource.type.number() == 2 && resource.name.is_number()) {
        const modfile::Image image = modfile::decode_dib(resource.data);
        module->bitmap_sizes_[resource.name.number()] = {image.width, image.height};
      }
    }
  } catch (const modfile::FormatError& e) {
    throw LoadError(std::string(e.what()).rfind(path, 0) == 0 ? e.what() : path + ": " + e.what());
  }
  if (windows) {
    module->pe_ = PeModule::load(path);
    for (const PeModule::Section& section : module->pe_->sections()) {
      module->image_.add({section.begin, section.end, section.executable, true});  // mapped writable throughout
    }
    module->import_table_ = static_cast<IMPORT_TABLE*>(module->pe_->find_export("ImportTable"));
    module->linkage_ = static_cast<GAUGESLINKAGE*>(module->pe_->find_export("Linkage"));
  } else {
    module->handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module->handle_) throw LoadError(path + ": cannot load: " + dlerror());
    module->import_table_ = static_cast<IMPORT_TABLE*>(dlsym(module->handle_, "ImportTable"));
    module->linkage_ = static_cast<GAUGESLINKAGE*>(dlsym(module->handle_, "Linkage"));
  }
  if (!module->import_table_ || !module->linkage_) {
    throw LoadError(path + ": not a gauge module: it does not export " +
                    (module->import_table_ ? "Linkage" : "ImportTable"));
  }
  if (module->handle_) {
    link_map* map = nullptr;
    if (dlinfo(module->handle_, RTLD_DI_LINKMAP, &map) != 0 || !map) throw LoadError(path + ": cannot map the module");
    ImageCollector collector{map->l_addr, &module->image_};
    dl_iterate_phdr(collect_segments, &collector);
  }

  module->check_records();
  module->import_table_->panels = panels;
  return module;
}

void LoadedModule::start() {
  into_module([&] { linkage_->init(); });
}

LoadedModule::~LoadedModule() {
  if (linkage_ && import_table_ && import_table_->panels) into_module([&] { linkage_->deinit(); });
  pe_.reset();
  if (handle_) dlclose(handle_);
}

std::pair<int, int> LoadedModule::bitmap_size(uint32_t id) const {
  auto found = bitmap_sizes_.find(id);
  return found == bitmap_sizes_.end() ? std::pair{0, 0} : found->second;
}

const GaugeView* LoadedModule::find_gauge(std::string_view name) const {
  for (const GaugeView& g : gauges_) {
    if (g.name == name) return &g;
  }
  return nullptr;
}

void LoadedModule::check_records() {
  auto fail = [&](const std::string& what) { throw LoadError(path_ + ": " + what); };
  auto code = [&](const void* p, const std::string& what) {
    if (!image_.holds_code(p)) fail(what + " points outside the module's code");
  };
  auto optional_code = [&](const void* p, const std::string& what) {
    if (p) code(p, what);
  };
  auto data = [&](const void* p, size_t size, const std::string& what) {
    if (!image_.holds(p, size)) fail(what + " points outside the module");
  };

  data(import_table_, sizeof *import_table_, "ImportTable");
  data(linkage_, sizeof *linkage_, "Linkage");
  if (import_table_->panels_id != IMPORT_PANELS_ID) fail("ImportTable does not ask for the host function table");
  code(reinterpret_cast<const void*>(linkage_->init), "Linkage: init routine");
  code(reinterpret_cast<const void*>(linkage_->deinit), "Linkage: deinit routine");

  for (size_t g = 0;; ++g) {
    if (g == kMaxGauges) fail("Linkage: more than 256 gauges, or no closing null");
    data(&linkage_->gauges[g], sizeof(GAUGEHDR*), "Linkage: gauge list");
    GAUGEHDR* header = linkage_->gauges[g];
    if (!header) break;
    const std::string where = "gauge " + std::to_string(g + 1);
    data(header, sizeof *header, where + ": header");
    if (!image_.holds_string(header->name, 256)) fail(where + ": name points outside the module");
    GaugeView view{header, header->name, {}, {}};
    const std::string named = "gauge \"" + view.name + "\"";
    for (auto routine : {reinterpret_cast<const void*>(header->query), reinterpret_cast<const void*>(header->install),
                         reinterpret_cast<const void*>(header->initialize), reinterpret_cast<const void*>(header->update),
                         reinterpret_cast<const void*>(header->generate), reinterpret_cast<const void*>(header->draw),
                         reinterpret_cast<const void*>(header->kill)}) {
      code(routine, named + ": frame routine");
    }
    optional_code(reinterpret_cast<const void*>(header->gauge_callback), named + ": gauge callback");

    // Exactly one root entry: the word after it belongs to another record.
    data(header->elements, sizeof(ELEMENT_HEADER*), named + ": element list");
    ELEMENT_HEADER* element = header->elements[0];
    for (int depth = 0; element; ++depth) {
      const std::string at = named + ": element at depth " + std::to_string(depth);
      if (depth == kMaxChainDepth) fail(named + ": element chain deeper than 64 (a loop?)");
      data(element, sizeof *element, at);
      ElementView item{element, depth};
      switch (element->kind) {
        case ELEMENT_KIND_STATIC_IMAGE: break;
        case ELEMENT_KIND_NEEDLE: {
          data(element, sizeof(ELEMENT_NEEDLE), at);
          const ELEMENT_NEEDLE* n = item.needle();
          if (n->calibration_points > kMaxCalibrationPoints) fail(at + ": calibration table has too many points");
          if (n->calibration_points) data(n->calibration, n->calibration_points * sizeof(NONLINEARITY), at + ": calibration table");
          optional_code(reinterpret_cast<const void*>(n->update), at + ": update callback");
          break;
        }
        case ELEMENT_KIND_ICON:
          data(element, sizeof(ELEMENT_ICON), at);
          optional_code(reinterpret_cast<const void*>(item.icon()->update), at + ": update callback");
          break;
        default: fail(at + ": unknown element kind " + std::to_string(element->kind));
      }
      view.chain.push_back(item);
      if (!element->children) break;
      data(element->children, sizeof(ELEMENT_HEADER*), at + ": child list");
      element = element->children[0];
    }
    if (view.chain.empty()) fail(named + ": no root element");

    const MOUSERECT* rect = header->mouse_rects;
    for (size_t r = 0; rect; ++r, ++rect) {
      const std::string at = named + ": mouse record " + std::to_string(r);
      if (r == kMaxMouseRecords) fail(named + ": mouse list has no end-of-list record");
      data(rect, sizeof *rect, at);
      view.mouse.push_back(rect);
      if (rect->kind == MOUSE_END_OF_LIST) break;
      if (rect->kind > MOUSE_TOOLTIP) fail(at + ": unknown kind " + std::to_string(rect->kind));
      if (rect->kind == MOUSE_CHILD) code(reinterpret_cast<const void*>(rect->function.click), at + ": click callback");
      if (rect->kind == MOUSE_TOOLTIP && rect->function.text && !image_.holds_string(rect->function.text)) {
        fail(at + ": tooltip text points outside the module");
      }
      if (rect->kind == MOUSE_TOOLTIP && rect->arguments) {
        data(rect->arguments, sizeof(TOOLTIP_ARGUMENT), at + ": tooltip argument");
        optional_code(reinterpret_cast<const void*>(rect->arguments->number_callback), at + ": tooltip value callback");
        optional_code(reinterpret_cast<const void*>(rect->arguments->string_callback), at + ": tooltip string callback");
      }
    }
    gauges_.push_back(std::move(view));
  }
}

}  // namespace host
