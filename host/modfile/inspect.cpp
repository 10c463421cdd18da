#include "inspect.h"

#include <cstdio>
#include <map>
#include <ostream>

#include "dib.h"
#include "module_file.h"
#include "module_loader.h"
#include "panel_host.h"
#include "version_info.h"

namespace modfile {

namespace {
std::string hex(uint32_t value, int digits = 4) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%0*x", digits, value);
  return buffer;
}

bool is_type(const Resource& r, uint32_t type) { return r.type.is_number() && r.type.number() == type; }

std::string name_of(const ResourceName& name) { return name.is_number() ? hex(name.number()) : "\"" + name.text + "\""; }

// A native module is only read statically for its resources; its gauges come
// from loading it, which runs nothing but its (empty or registering) init routine.
std::vector<GaugeSummary> native_gauges(const std::string& path) {
  host::PanelHost panel_host("");
  const auto loaded = host::LoadedModule::load(path, panel_host.panels());
  std::vector<GaugeSummary> gauges;
  for (const host::GaugeView& view : loaded->gauges()) {
    gauges.push_back({view.name, view.header->default_width_mm, view.chain[0].header->bitmap});
  }
  return gauges;
}
}  // namespace

int inspect(const std::string& path, std::ostream& out, std::ostream& err) {
  try {
    const ModuleFile module = read_module_file(path);
    const std::vector<GaugeSummary> gauges = module.gauges ? *module.gauges : native_gauges(path);
    std::map<uint32_t, Image> bitmaps;
    for (const Resource& r : module.resources) {
      if (is_type(r, 2) && r.name.is_number()) bitmaps[r.name.number()] = decode_dib(r.data);
    }

    out << path << ": " << module.format << "\n";
    out << "exports:";
    for (size_t i = 0; i < module.exports.size(); ++i) out << (i ? ", " : " ") << module.exports[i];
    out << "\n";
    if (!module.imports.empty()) {
      out << "imports:";
      for (size_t i = 0; i < module.imports.size(); ++i) {
        out << (i ? ", " : " ") << module.imports[i].dll << " (" << module.imports[i].functions.size() << " functions)";
      }
      out << "\n";
    }
    out << "gauges (" << gauges.size() << "):\n";
    for (const GaugeSummary& g : gauges) {
      char line[160];
      auto found = bitmaps.find(g.root_bitmap);
      std::snprintf(line, sizeof line, "  %-24s %3u mm", ("\"" + g.name + "\"").c_str(), g.width_mm);
      out << line;
      if (found != bitmaps.end()) out << "   " << found->second.width << " x " << found->second.height << " px";
      out << "\n";
    }
    out << "bitmaps (" << bitmaps.size() << "):\n";
    for (const Resource& r : module.resources) {
      if (!is_type(r, 2)) continue;
      out << "  " << name_of(r.name);
      if (r.name.is_number()) {
        const Image& image = bitmaps[r.name.number()];
        out << "  " << image.width << " x " << image.height << "  " << image.bits_per_pixel << " bpp";
      }
      out << "  language " << hex(r.language) << "\n";
    }
    bool manifest = false;
    for (const Resource& r : module.resources) {
      if (!is_type(r, 24)) continue;
      manifest = true;
      out << "manifest: id " << (r.name.is_number() ? std::to_string(r.name.number()) : r.name.text) << ", " << r.data.size()
          << " bytes, language " << hex(r.language) << "\n";
    }
    if (!manifest) out << "manifest: none\n";
    for (const Resource& r : module.resources) {
      if (!is_type(r, 16)) continue;
      const VersionInfo info = parse_version_info(r.data);
      out << "version: " << info.file_version << " (product " << info.product_version << ")\n";
      for (const auto& [key, value] : info.strings) {
        char line[96];
        std::snprintf(line, sizeof line, "  %-18s", key.c_str());
        out << line << value << "\n";
      }
    }
    return 0;
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return 1;
  }
}

}  // namespace modfile

namespace modfile {

int write_guide(const std::vector<std::string>& paths, std::ostream& out, std::ostream& err) {
  out << "Gauges of the ovk piston modules\n"
         "================================\n\n"
         "Copy the .gau files into the simulator's gauge folder, then place gauges in\n"
         "a panel.cfg window with the lines below (x, y and the width are in the\n"
         "window's units; leave out the width and a gauge takes its default).\n";
  int status = 0;
  for (const std::string& path : paths) {
    try {
      const ModuleFile module = read_module_file(path);
      const std::vector<GaugeSummary> gauges = module.gauges ? *module.gauges : native_gauges(path);
      std::string name = path.substr(path.find_last_of('/') + 1);
      name = name.substr(0, name.rfind('.'));
      std::string description;
      std::map<uint32_t, Image> bitmaps;
      for (const Resource& r : module.resources) {
        if (is_type(r, 16)) description = parse_version_info(r.data).value("FileDescription");
        if (is_type(r, 2) && r.name.is_number()) bitmaps[r.name.number()] = decode_dib(r.data);
      }
      out << "\n" << name << ".gau: " << description << "\n";
      for (size_t i = 0; i < gauges.size(); ++i) {
        const GaugeSummary& g = gauges[i];
        char line[200];
        std::snprintf(line, sizeof line, "  gauge%02zu=%s!%s, 0, 0, %u", i % 100, name.c_str(), g.name.c_str(), g.width_mm);
        out << line;
        const auto found = bitmaps.find(g.root_bitmap);
        out << "    // default width " << g.width_mm << " mm";
        if (found != bitmaps.end()) out << ", drawn " << found->second.width << " x " << found->second.height << " px";
        out << "\n";
      }
    } catch (const std::exception& e) {
      err << e.what() << "\n";
      status = 1;
    }
  }
  return status;
}

}  // namespace modfile
