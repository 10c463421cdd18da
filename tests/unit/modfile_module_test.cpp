// Module files read without running them: both builds of every module read
// back alike, inspect reports them, and damaged copies are refused with a
// message that names the file and the fault, never a crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "gauge_records.h"
#include "modfile/dib.h"
#include "modfile/inspect.h"
#include "modfile/module_file.h"
#include "modfile/version_info.h"

// The reader's record layouts are those the compilers give the real records.
#if defined(__x86_64__)
static_assert(offsetof(GAUGESLINKAGE, gauges) == modfile::kLayout64.linkage_gauges);
static_assert(sizeof(GAUGESLINKAGE) == modfile::kLayout64.linkage_size);
static_assert(offsetof(GAUGEHDR, name) == modfile::kLayout64.gauge_name);
static_assert(offsetof(GAUGEHDR, elements) == modfile::kLayout64.gauge_elements);
static_assert(offsetof(GAUGEHDR, default_width_mm) == modfile::kLayout64.gauge_width_mm);
static_assert(offsetof(GAUGEHDR, mouse_rects) == 88 && offsetof(GAUGEHDR, gauge_callback) == 96);
static_assert(sizeof(GAUGEHDR) == modfile::kLayout64.gauge_size);
static_assert(offsetof(ELEMENT_HEADER, bitmap) == modfile::kLayout64.element_bitmap);
static_assert(offsetof(ELEMENT_HEADER, gauge) == 24 && offsetof(ELEMENT_HEADER, children) == 32);
static_assert(offsetof(ELEMENT_HEADER, image_flags) == 40);
static_assert(sizeof(ELEMENT_HEADER) == modfile::kLayout64.element_size);
#elif defined(__i386__)
static_assert(offsetof(GAUGESLINKAGE, gauges) == modfile::kLayout32.linkage_gauges);
static_assert(sizeof(GAUGESLINKAGE) == modfile::kLayout32.linkage_size);
static_assert(offsetof(GAUGEHDR, name) == modfile::kLayout32.gauge_name);
static_assert(offsetof(GAUGEHDR, elements) == modfile::kLayout32.gauge_elements);
static_assert(offsetof(GAUGEHDR, default_width_mm) == modfile::kLayout32.gauge_width_mm);
static_assert(sizeof(GAUGEHDR) == modfile::kLayout32.gauge_size);
static_assert(offsetof(ELEMENT_HEADER, bitmap) == modfile::kLayout32.element_bitmap);
static_assert(sizeof(ELEMENT_HEADER) == modfile::kLayout32.element_size);
#endif

namespace {

using Bytes = std::vector<uint8_t>;

bool is_elf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char magic[4] = {};
  in.read(magic, 4);
  return std::string(magic, 4) == "\x7f" "ELF";
}

// The 32-bit host's tests point GAUGES_DIR at the win32 files.
std::string native_dir() {
  const std::string configured = GAUGES_DIR;
  return is_elf(configured + "/lubepress.gau") ? configured : std::string(SOURCE_DIR) + "/build/native/gauges";
}
const std::string kWin32Dir = std::string(SOURCE_DIR) + "/build/win32/gauges";

Bytes bytes_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct Build {
  const char* name;
  std::string dir;
  const char* format;
};
const Build kBuilds[] = {{"native", native_dir(), "ELF x86-64 shared object"}, {"win32", kWin32Dir, "PE32 i386 DLL"}};

bool built(const Build& build, const std::string& module = "lubepress") {
  return std::filesystem::exists(build.dir + "/" + module + ".gau");
}

struct Bitmap {
  uint32_t id;
  int width, height, bits;
  uint16_t language;
  bool operator==(const Bitmap&) const = default;
};

std::vector<Bitmap> bitmaps_of(const modfile::ModuleFile& module) {
  std::vector<Bitmap> bitmaps;
  for (const modfile::Resource& r : module.resources) {
    if (!r.type.is(modfile::kBitmapResource)) continue;
    const modfile::BitmapSize size = modfile::read_bitmap_size(r.data);
    bitmaps.push_back({r.name.number(), size.width, size.height, size.bits_per_pixel, r.language});
  }
  return bitmaps;
}

modfile::VersionInfo version_of(const modfile::ModuleFile& module) {
  for (const modfile::Resource& r : module.resources) {
    if (r.type.is(modfile::kVersionResource)) return modfile::parse_version_info(r.data);
  }
  ADD_FAILURE() << module.path << " has no version resource";
  return {};
}

TEST(ModuleFile, BothBuildsOfTheOilPressureModuleCarryItsGaugeAndResources) {
  for (const Build& build : kBuilds) {
    if (!built(build)) {
      if (build.name == std::string("native")) ADD_FAILURE() << "the native build is missing";
      continue;
    }
    SCOPED_TRACE(build.name);
    const modfile::ModuleFile module = modfile::read_module_file(build.dir + "/lubepress.gau");
    EXPECT_EQ(module.format, build.format);
    // A sanitizer build of a native module also exports its instrumentation's symbols.
    std::vector<std::string> exports = module.exports;
    if (build.format[0] == 'E') std::erase_if(exports, [](const std::string& e) { return e != "ImportTable" && e != "Linkage"; });
    EXPECT_EQ(exports, (std::vector<std::string>{"ImportTable", "Linkage"})) << module.exports.size() << " exports";
    EXPECT_EQ(module.imports.empty(), build.format[0] == 'E');

    ASSERT_EQ(module.gauges.size(), 1u);
    const modfile::GaugeSummary& gauge = module.gauges[0];
    EXPECT_EQ(gauge.name, "oil_pressure");
    EXPECT_EQ(gauge.width_mm, 80u);
    EXPECT_EQ(gauge.root_bitmap, 0x0100u);
    EXPECT_EQ(gauge.width_px, 302);
    EXPECT_EQ(gauge.height_px, 302);

    EXPECT_EQ(bitmaps_of(module), (std::vector<Bitmap>{{0x0100, 302, 302, 8, 0x0409},
                                                        {0x0200, 185, 28, 8, 0x0409},
                                                        {0x0300, 185, 28, 8, 0x0409},
                                                        {0x0400, 302, 302, 8, 0x0409}}));
    const modfile::Resource* manifest = modfile::find_resource(module.resources, modfile::kManifestResource, 2);
    ASSERT_NE(manifest, nullptr);
    EXPECT_NE(std::string(manifest->data.begin(), manifest->data.end()).find("<assembly"), std::string::npos);

    const modfile::VersionInfo version = version_of(module);
    EXPECT_EQ(version.file_version, "1.3.0.0");
    EXPECT_EQ(version.product_version, "1.3.0.0");
    EXPECT_EQ(version.value("FileDescription"), "Freeware Oil Pressure Gauge");
    EXPECT_EQ(version.value("CompanyName"), "ovk");
    ASSERT_EQ(version.translations.size(), 1u);
    EXPECT_EQ(version.translations[0].language, 0x0409);
  }
}

// Gauge counts and first gauges as each module declares them: the 32-bit and
// the x86-64 record layouts must lead to the same list.
TEST(ModuleFile, EveryModuleListsTheSameGaugesInBothBuilds) {
  struct Module {
    const char* name;
    size_t gauges;
    const char* first;
  } modules[] = {
      {"tankgauges", 15, "Right Main"}, {"lubepress", 1, "oil_pressure"}, {"lubetemp", 1, "oil_temperature"},
      {"headtemp", 1, "dual_cht"},      {"boostgauge", 4, "engine1"},     {"burnrate", 4, "engine1"},
      {"tachometer", 5, "engine1"},     {"ignitionkeys", 4, "engine1"},   {"crankpanel", 1, "starters"},
      {"tankvalve", 4, "engine1"},      {"switchbank", 26, "electrical panel"},
  };
  for (const Module& m : modules) {
    SCOPED_TRACE(m.name);
    if (!built(kBuilds[0], m.name)) continue;  // a module not built yet
    const modfile::ModuleFile native = modfile::read_module_file(kBuilds[0].dir + "/" + m.name + ".gau");
    ASSERT_EQ(native.gauges.size(), m.gauges);
    EXPECT_EQ(native.gauges[0].name, m.first);
    for (const modfile::GaugeSummary& g : native.gauges) EXPECT_GT(g.width_px, 0) << g.name << ": root bitmap not found";
    if (!built(kBuilds[1], m.name)) continue;
    const modfile::ModuleFile win32 = modfile::read_module_file(kBuilds[1].dir + "/" + m.name + ".gau");
    ASSERT_EQ(win32.gauges.size(), native.gauges.size());
    for (size_t i = 0; i < native.gauges.size(); ++i) {
      const modfile::GaugeSummary &a = native.gauges[i], &b = win32.gauges[i];
      EXPECT_EQ(std::tie(a.name, a.width_mm, a.root_bitmap, a.width_px, a.height_px),
                std::tie(b.name, b.width_mm, b.root_bitmap, b.width_px, b.height_px))
          << "gauge " << i + 1;
    }
    EXPECT_EQ(bitmaps_of(native), bitmaps_of(win32));
    EXPECT_EQ(version_of(native).strings, version_of(win32).strings);
  }
}

// ---- damaged copies ---------------------------------------------------------------

uint32_t get32(const Bytes& b, uint64_t at) {
  return uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 | uint32_t(b.at(at + 3)) << 24;
}
void put(Bytes& b, uint64_t at, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) b.at(at + i) = uint8_t(value >> (8 * i));
}

// Where a resource's bytes lie in the file that carries it.
uint64_t offset_of_resource(const Bytes& file, const modfile::ModuleFile& module, uint32_t type, uint32_t id) {
  const modfile::Resource* r = modfile::find_resource(module.resources, type, id);
  if (!r) throw std::runtime_error("no such resource");
  const auto found = std::search(file.begin(), file.end(), std::boyer_moore_searcher(r->data.begin(), r->data.end()));
  if (found == file.end()) throw std::runtime_error("resource bytes not found");
  return uint64_t(found - file.begin());
}

// The records of the shipped build, located through the reader's own PE view.
struct PeRecords {
  uint64_t pe, optional, section_table, linkage, gauge_list, header;
  explicit PeRecords(const Bytes& file) {
    const modfile::PeImage image{modfile::ByteReader(file)};
    pe = get32(file, 0x3C);
    optional = pe + 24;
    section_table = optional + (get32(file, pe + 20) & 0xFFFF);
    auto offset = [&](uint64_t address) { return image.rva_offset(address - image.image_base(), 4).value(); };
    for (const modfile::PeExport& e : image.exports()) {
      if (e.name == "Linkage") linkage = image.rva_offset(e.rva, 28).value();
    }
    gauge_list = offset(get32(file, linkage + 24));
    header = offset(get32(file, gauge_list));
  }
};

// The records of the native build: slots hold what their RELATIVE relocation writes.
struct ElfRecords {
  uint64_t section_headers, linkage, linkage_symbol;
  std::vector<modfile::ElfSection> sections;
  const Bytes& file;
  explicit ElfRecords(const Bytes& bytes) : file(bytes) {
    const modfile::ElfImage image{modfile::ByteReader(file)};
    section_headers = get32(file, 40);
    sections = image.sections();
    const modfile::ElfSymbol* symbol = image.exported("Linkage");
    linkage = symbol->value;
    const modfile::ElfSection& dynsym = *image.section(".dynsym");
    for (uint64_t at = dynsym.offset; at < dynsym.offset + dynsym.size; at += 24) {
      if (get32(file, at + 8) == linkage && file.at(at + 4) >> 4 == 1) linkage_symbol = at;
    }
  }
  uint64_t section_header(const std::string& name) const {
    for (size_t i = 0; i < sections.size(); ++i) {
      if (sections[i].name == name) return section_headers + 64 * i;
    }
    throw std::runtime_error("no section " + name);
  }
  // The file offset of the addend of the relocation that fills the slot.
  uint64_t addend_of(uint64_t slot) const {
    for (const modfile::ElfSection& s : sections) {
      if (s.name != ".rela.dyn") continue;
      for (uint64_t at = s.offset; at < s.offset + s.size; at += 24) {
        if (get32(file, at) == slot && get32(file, at + 8) == 8) return at + 16;
      }
    }
    throw std::runtime_error("slot has no relative relocation");
  }
  uint64_t target_of(uint64_t slot) const { return get32(file, addend_of(slot)); }
};

struct Damage {
  const char* what;
  std::function<void(Bytes&)> damage;
  const char* message;  // a part of the error
};

void truncate_to(Bytes& b, size_t size) { b.resize(std::min(size, b.size())); }

std::vector<Damage> damages_for_pe() {
  return {
      {"empty", [](Bytes& b) { b.clear(); }, "not a module file (neither ELF nor PE)"},
      {"one byte", [](Bytes& b) { truncate_to(b, 1); }, "not a module file (neither ELF nor PE)"},
      {"cut in the DOS header", [](Bytes& b) { truncate_to(b, 0x3C); }, "PE header offset at offset 0x3c"},
      {"cut before the PE header", [](Bytes& b) { truncate_to(b, get32(b, 0x3C)); }, "PE signature at offset"},
      {"cut after the headers", [](Bytes& b) { truncate_to(b, 0x400); }, "data at offset"},
      {"cut in half", [](Bytes& b) { truncate_to(b, b.size() / 2); }, "lies beyond the end"},
      {"one byte short", [](Bytes& b) { truncate_to(b, b.size() - 1); }, "lies beyond the end"},
      {"bad DOS magic", [](Bytes& b) { b[0] = 'X'; }, "neither ELF nor PE"},
      {"bad PE signature", [](Bytes& b) { b[get32(b, 0x3C)] = 'X'; }, "no PE signature"},
      {"x86-64 machine", [](Bytes& b) { put(b, get32(b, 0x3C) + 4, 0x8664, 2); }, "not built for i386 (machine 0x8664)"},
      {"PE32+ magic", [](Bytes& b) { put(b, PeRecords(b).optional, 0x20B, 2); }, "not a PE32 file"},
      {"not a DLL", [](Bytes& b) { put(b, get32(b, 0x3C) + 22, 0x0102, 2); }, "not a DLL"},
      {"section table past the end",
       [](Bytes& b) {
         const PeRecords r(b);
         put(b, r.pe + 6, 90, 2);
         truncate_to(b, r.section_table + 40);
       },
       "section table at offset"},
      {"section data far outside", [](Bytes& b) { put(b, PeRecords(b).section_table + 20, 0xFFFFFF00, 4); },
       "section 1 (.text) data at offset 0xffffff00"},
      {"export name table outside",
       [](Bytes& b) {
         const modfile::PeImage image{modfile::ByteReader(b)};
         put(b, image.rva_offset(image.directory(0).first, 40).value() + 32, 0x7FFFFF00, 4);
       },
       "export name table points outside the module (RVA 0x7fffff00)"},
      {"resource directory outside", [](Bytes& b) { put(b, PeRecords(b).optional + 96 + 2 * 8, 0x7FFFFF00, 4); },
       "resource directory points outside the module (RVA 0x7fffff00)"},
      {"resource directory loops to its root",
       [](Bytes& b) {
         const modfile::PeImage image{modfile::ByteReader(b)};
         const uint64_t root = image.rva_offset(image.directory(2).first, 16).value();
         put(b, root + 16 + 4, 0x80000000u, 4);  // first type entry: subdirectory at offset 0
       },
       "deeper than type, name and language"},
      {"bitmap of absurd width",
       [](Bytes& b) { put(b, offset_of_resource(b, modfile::parse_module_file(b, "x"), 2, 0x100) + 4, 100000, 4); },
       "bitmap 0x0100: size 100000 x 302 is absurd"},
      {"gauge list outside", [](Bytes& b) { put(b, PeRecords(b).linkage + 24, 0x10, 4); },
       "Linkage: gauge list points outside the module (address 0x10)"},
      {"gauge header outside", [](Bytes& b) { put(b, PeRecords(b).gauge_list, 0x10, 4); },
       "gauge 1: header points outside the module (address 0x10)"},
      {"gauge name outside", [](Bytes& b) { put(b, PeRecords(b).header + 4, 0xFFFFFFF0, 4); },
       "gauge 1: name points outside the module (address 0xfffffff0)"},
      {"root element outside",
       [](Bytes& b) {
         const PeRecords r(b);
         const modfile::PeImage image{modfile::ByteReader(b)};
         const uint32_t list = get32(b, r.header + 8);
         put(b, image.rva_offset(list - image.image_base(), 4).value(), 0x20, 4);
       },
       "gauge 1 \"oil_pressure\": root element points outside the module (address 0x20)"},
  };
}

std::vector<Damage> damages_for_elf() {
  return {
      {"empty", [](Bytes& b) { b.clear(); }, "not a module file (neither ELF nor PE)"},
      {"three bytes", [](Bytes& b) { truncate_to(b, 3); }, "not a module file (neither ELF nor PE)"},
      {"cut in the ELF header", [](Bytes& b) { truncate_to(b, 63); }, "ELF header at offset 0x0 (64 bytes) lies beyond the end"},
      {"cut in the program headers", [](Bytes& b) { truncate_to(b, 0x100); }, "program header table at offset 0x40"},
      {"cut in half", [](Bytes& b) { truncate_to(b, b.size() / 2); }, "lies beyond the end"},
      {"one byte short", [](Bytes& b) { truncate_to(b, b.size() - 1); }, "lies beyond the end"},
      {"bad magic", [](Bytes& b) { b[1] = 'X'; }, "neither ELF nor PE"},
      {"32-bit class", [](Bytes& b) { b[4] = 1; }, "not a 64-bit little-endian ELF file"},
      {"i386 machine", [](Bytes& b) { put(b, 18, 3, 2); }, "not built for x86-64 (machine 3)"},
      {"an executable", [](Bytes& b) { put(b, 16, 2, 2); }, "not a shared object (ELF type 2)"},
      {"section table far outside", [](Bytes& b) { put(b, 40, 0x7FFFFFFFFFFFFFFF, 8); },
       "section header table at offset 0x7fffffffffffffff"},
      {"resource section far outside", [](Bytes& b) { put(b, ElfRecords(b).section_header(".gauge_resources") + 24, 0x7FFFFFFF00, 8); },
       "section .gauge_resources at offset 0x7fffffff00"},
      {"resource header longer than the section",
       [](Bytes& b) {
         const uint64_t resources = get32(b, ElfRecords(b).section_header(".gauge_resources") + 24);
         put(b, resources + 4, 0x7FFFFFFF, 4);
       },
       "section .gauge_resources: resource header at offset 0x0"},
      {"bitmap of absurd width",
       [](Bytes& b) { put(b, offset_of_resource(b, modfile::parse_module_file(b, "x"), 2, 0x100) + 4, 100000, 4); },
       "bitmap 0x0100: size 100000 x 302 is absurd"},
      {"Linkage symbol outside", [](Bytes& b) { put(b, ElfRecords(b).linkage_symbol + 8, 0x7FFF0000, 8); },
       "Linkage points outside the module (address 0x7fff0000)"},
      {"gauge list outside",
       [](Bytes& b) {
         const ElfRecords r(b);
         put(b, r.addend_of(r.linkage + 40), 0x7FFF0000, 8);
       },
       "Linkage: gauge list points outside the module (address 0x7fff0000)"},
      {"gauge header outside",
       [](Bytes& b) {
         const ElfRecords r(b);
         put(b, r.addend_of(r.target_of(r.linkage + 40)), 0x7FFF0000, 8);
       },
       "gauge 1: header points outside the module (address 0x7fff0000)"},
      {"gauge name outside",
       [](Bytes& b) {
         const ElfRecords r(b);
         put(b, r.addend_of(r.target_of(r.target_of(r.linkage + 40)) + 8), 0x7FFF0000, 8);
       },
       "gauge 1: name points outside the module (address 0x7fff0000)"},
      {"root element outside",
       [](Bytes& b) {
         const ElfRecords r(b);
         const uint64_t header = r.target_of(r.target_of(r.linkage + 40));
         put(b, r.addend_of(r.target_of(header + 16)), 0x7FFF0000, 8);
       },
       "gauge 1 \"oil_pressure\": root element points outside the module (address 0x7fff0000)"},
  };
}

TEST(ModuleFile, DamagedCopiesAreRefusedWithTheFileAndTheFault) {
  for (const Build& build : kBuilds) {
    if (!built(build)) continue;
    const Bytes good = bytes_of(build.dir + "/lubepress.gau");
    ASSERT_NO_THROW(modfile::parse_module_file(good, "good.gau"));
    for (const Damage& d : build.format[0] == 'E' ? damages_for_elf() : damages_for_pe()) {
      SCOPED_TRACE(std::string(build.name) + ", " + d.what);
      Bytes damaged = good;
      d.damage(damaged);
      try {
        modfile::parse_module_file(damaged, "damaged.gau");
        ADD_FAILURE() << "read without complaint";
      } catch (const modfile::FormatError& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("damaged.gau: ", 0), 0u) << message;
        EXPECT_NE(message.find(d.message), std::string::npos) << message;
      }
    }
  }
}

// ---- inspect ----------------------------------------------------------------------

TEST(Inspect, ReportsGaugesBitmapsManifestAndVersion) {
  const std::string expected_after_imports =
      "gauges (1):\n"
      "  oil_pressure  80 mm   302 x 302 px\n"
      "bitmaps (4), language 0x0409:\n"
      "  0x0100  302 x 302  8 bpp\n"
      "  0x0200  185 x 28   8 bpp\n"
      "  0x0300  185 x 28   8 bpp\n"
      "  0x0400  302 x 302  8 bpp\n"
      "manifest: id 2, 142 bytes\n"
      "version: 1.3.0.0 (product 1.3.0.0)\n"
      "  CompanyName       ovk\n"
      "  FileDescription   Freeware Oil Pressure Gauge\n"
      "  FileVersion       1.3\n"
      "  ProductVersion    1.3\n"
      "  Translation       0x0409, code page 1200\n";
  for (const Build& build : kBuilds) {
    if (!built(build)) continue;
    SCOPED_TRACE(build.name);
    const std::string path = build.dir + "/lubepress.gau";
    std::ostringstream out, err;
    ASSERT_EQ(modfile::inspect(path, out, err), 0) << err.str();
    EXPECT_EQ(err.str(), "");
    std::string report = out.str();
    const std::string head = path + ": " + build.format + "\nexports: ImportTable, Linkage";
    ASSERT_EQ(report.substr(0, head.size()), head);
    report.erase(0, report.find('\n', head.size()) + 1);
    if (build.format[0] == 'P') {  // how many functions depends on the toolchain's start-up code
      EXPECT_EQ(report.rfind("imports: KERNEL32.dll (", 0), 0u) << report;
      EXPECT_NE(report.find("msvcrt.dll ("), std::string::npos) << report;
      report.erase(0, report.find('\n') + 1);
    }
    EXPECT_EQ(report, expected_after_imports);
  }
}

TEST(Inspect, SaysWhatIsWrongWithTheFileAndPrintsNoReport) {
  const std::string temp = testing::TempDir() + "modfile_half.gau";
  {
    const Bytes good = bytes_of(native_dir() + "/lubepress.gau");
    std::ofstream(temp, std::ios::binary).write(reinterpret_cast<const char*>(good.data()), long(good.size() / 2));
  }
  struct Case {
    std::string path, fault;
  } cases[] = {
      {"/nonexistent/x.gau", "cannot open the file"},
      {std::string(SOURCE_DIR) + "/README.md", "not a module file (neither ELF nor PE)"},
      {std::string(SOURCE_DIR) + "/host", "a folder, not a module file"},
      {temp, "lies beyond the end"},
  };
  for (const Case& c : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(modfile::inspect(c.path, out, err), 1) << c.path;
    EXPECT_EQ(out.str(), "") << c.path;
    EXPECT_EQ(err.str().rfind(c.path + ": ", 0), 0u) << err.str();
    EXPECT_NE(err.str().find(c.fault), std::string::npos) << err.str();
  }
  std::filesystem::remove(temp);
}

}  // namespace
