#include "inspect.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <sstream>

#include "dib.h"
#include "module_file.h"
#include "version_info.h"

namespace modfile {

namespace {
std::string name_text(const ResourceName& name) { return name.is_number() ? resource_id(name.number()) : "\"" + name.text + "\""; }

std::string padded(const std::string& text, size_t width) { return text + std::string(width > text.size() ? width - text.size() : 0, ' '); }

std::string list(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text.empty() ? "none" : text;
}

std::string language_text(uint16_t language) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%04x", language);
  return text;
}

void print_gauges(const ModuleFile& module, std::ostream& out) {
  size_t width = 0;
  for (const GaugeSummary& g : module.gauges) width = std::max(width, g.name.size());
  out << "gauges (" << module.gauges.size() << "):\n";
  for (const GaugeSummary& g : module.gauges) {
    char figures[96];
    if (g.width_px > 0) {
      std::snprintf(figures, sizeof figures, "%4u mm   %d x %d px", g.width_mm, g.width_px, g.height_px);
    } else {
      std::snprintf(figures, sizeof figures, "%4u mm   root bitmap %s missing", g.width_mm, resource_id(g.root_bitmap).c_str());
    }
    out << "  " << padded(g.name, width) << figures << "\n";
  }
}

void print_bitmaps(const ModuleFile& module, std::ostream& out) {
  std::vector<const Resource*> bitmaps;
  for (const Resource& r : module.resources) {
    if (r.type.is(kBitmapResource)) bitmaps.push_back(&r);
  }
  const bool one_language = std::all_of(bitmaps.begin(), bitmaps.end(), [&](const Resource* r) { return r->language == bitmaps[0]->language; });
  out << "bitmaps (" << bitmaps.size() << ")";
  if (!bitmaps.empty() && one_language) out << ", language " << language_text(bitmaps[0]->language);
  out << ":\n";
  std::vector<std::string> names, sizes, depths;
  size_t name_width = 0, size_width = 0;
  for (const Resource* r : bitmaps) {
    const BitmapSize size = read_bitmap_size(r->data, "bitmap " + name_text(r->name));
    names.push_back(name_text(r->name));
    sizes.push_back(std::to_string(size.width) + " x " + std::to_string(size.height));
    depths.push_back(std::to_string(size.bits_per_pixel) + " bpp");
    name_width = std::max(name_width, names.back().size());
    size_width = std::max(size_width, sizes.back().size());
  }
  for (size_t i = 0; i < bitmaps.size(); ++i) {
    out << "  " << padded(names[i], name_width) << "  " << padded(sizes[i], size_width) << "  " << depths[i];
    if (!one_language) out << "  language " << language_text(bitmaps[i]->language);
    out << "\n";
  }
}

void print_manifest_and_others(const ModuleFile& module, std::ostream& out) {
  bool manifest = false;
  std::vector<std::string> others;
  for (const Resource& r : module.resources) {
    if (r.type.is(kManifestResource)) {
      manifest = true;
      out << "manifest: id " << (r.name.is_number() ? std::to_string(r.name.number()) : name_text(r.name)) << ", " << r.data.size() << " bytes\n";
    } else if (!r.type.is(kBitmapResource) && !r.type.is(kVersionResource)) {
      others.push_back("type " + (r.type.is_number() ? std::to_string(r.type.number()) : name_text(r.type)) + " " + name_text(r.name));
    }
  }
  if (!manifest) out << "manifest: none\n";
  if (!others.empty()) out << "other resources: " << list(others) << "\n";
}

void print_version(const ModuleFile& module, std::ostream& out) {
  bool found = false;
  for (const Resource& r : module.resources) {
    if (!r.type.is(kVersionResource)) continue;
    found = true;
    const VersionInfo info = parse_version_info(r.data);
    out << "version: " << info.file_version << " (product " << info.product_version << ")\n";
    for (const auto& [key, value] : info.strings) out << "  " << padded(key, 18) << value << "\n";
    for (const Translation& t : info.translations) {
      out << "  " << padded("Translation", 18) << language_text(t.language) << ", code page " << t.code_page << "\n";
    }
  }
  if (!found) out << "version: none\n";
}

std::string module_name(const std::string& path) {
  std::string name = path.substr(path.find_last_of('/') + 1);
  return name.substr(0, name.rfind('.'));
}
}  // namespace

int inspect(const std::string& path, std::ostream& out, std::ostream& err) {
  try {
    const ModuleFile module = read_module_file(path);
    std::ostringstream report;
    in_context(path, [&] {
      report << path << ": " << module.format << "\n";
      report << "exports: " << list(module.exports) << "\n";
      if (module.format.starts_with("PE")) {
        std::vector<std::string> imports;
        for (const Import& i : module.imports) imports.push_back(i.dll + " (" + std::to_string(i.functions.size()) + " functions)");
        report << "imports: " << list(imports) << "\n";
      }
      print_gauges(module, report);
      print_bitmaps(module, report);
      print_manifest_and_others(module, report);
      print_version(module, report);
    });
    out << report.str();
    return 0;
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return 1;
  }
}

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
      const std::string name = module_name(path);
      std::string description;
      for (const Resource& r : module.resources) {
        if (r.type.is(kVersionResource)) description = in_context(path, [&] { return parse_version_info(r.data).value("FileDescription"); });
      }
      out << "\n" << name << ".gau: " << description << "\n";
      for (size_t i = 0; i < module.gauges.size(); ++i) {
        const GaugeSummary& g = module.gauges[i];
        char number[8];
        std::snprintf(number, sizeof number, "%02zu", i % 100);
        out << "  gauge" << number << "=" << name << "!" << g.name << ", 0, 0, " << g.width_mm << "    // default width " << g.width_mm << " mm";
        if (g.width_px > 0) out << ", drawn " << g.width_px << " x " << g.height_px << " px";
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
