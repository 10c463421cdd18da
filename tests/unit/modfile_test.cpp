// Module files read without running them: both builds of a real module read
// back alike, and damaged files give a clear error, never a crash.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "modfile/dib.h"
#include "modfile/inspect.h"
#include "modfile/module_file.h"
#include "modfile/version_info.h"

namespace {

const std::string kNative = std::string(GAUGES_DIR) + "/lubepress.gau";
const std::string kWin32 = std::string(SOURCE_DIR) + "/build/win32/gauges/lubepress.gau";

std::vector<uint8_t> bytes_of(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void expect_lubepress_resources(const modfile::ModuleFile& module) {
  struct Bitmap {
    uint32_t id;
    int width, height;
  } expected[] = {{0x100, 302, 302}, {0x200, 185, 28}, {0x300, 185, 28}, {0x400, 302, 302}};
  for (const Bitmap& b : expected) {
    bool found = false;
    for (const modfile::Resource& r : module.resources) {
      if (r.type.number() != 2 || r.name.number() != b.id) continue;
      found = true;
      const modfile::Image image = modfile::decode_dib(r.data);
      EXPECT_EQ(image.width, b.width) << b.id;
      EXPECT_EQ(image.height, b.height) << b.id;
      EXPECT_EQ(image.bits_per_pixel, 8) << b.id;
      EXPECT_EQ(r.language, 0x0409) << b.id;
    }
    EXPECT_TRUE(found) << b.id;
  }
  bool manifest = false, version = false;
  for (const modfile::Resource& r : module.resources) {
    manifest |= r.type.number() == 24 && r.name.number() == 2;
    if (r.type.number() == 16) {
      version = true;
      const modfile::VersionInfo info = modfile::parse_version_info(r.data);
      EXPECT_EQ(info.file_version, "1.3.0.0");
      EXPECT_EQ(info.value("FileDescription"), "Freeware Oil Pressure Gauge");
      EXPECT_EQ(info.value("CompanyName"), "ovk");
    }
  }
  EXPECT_TRUE(manifest);
  EXPECT_TRUE(version);
}

TEST(ModuleFile, NativeBuildCarriesTheResourcesOfTheScript) {
  const modfile::ModuleFile module = modfile::read_module_file(kNative);
  EXPECT_EQ(module.format, "ELF x86-64 shared object");
  expect_lubepress_resources(module);
}

TEST(ModuleFile, Win32BuildReadsTheSameAndListsItsGauges) {
  if (!std::filesystem::exists(kWin32)) GTEST_SKIP() << "the win32 preset is not built";
  const modfile::ModuleFile module = modfile::read_module_file(kWin32);
  EXPECT_EQ(module.format, "PE32 i386 DLL");
  expect_lubepress_resources(module);
  ASSERT_TRUE(module.gauges);
  ASSERT_EQ(module.gauges->size(), 1u);
  EXPECT_EQ((*module.gauges)[0].name, "oil_pressure");
  EXPECT_EQ((*module.gauges)[0].width_mm, 80u);
  EXPECT_EQ((*module.gauges)[0].root_bitmap, 0x100u);
}

// Damaged copies of the real files: each is refused with a message naming
// the file, and nothing crashes (run under the sanitizers too).
TEST(ModuleFile, DamagedFilesAreRefusedWithTheirName) {
  std::vector<std::string> sources = {kNative};
  if (std::filesystem::exists(kWin32)) sources.push_back(kWin32);
  for (const std::string& source : sources) {
    const std::vector<uint8_t> good = bytes_of(source);
    std::vector<std::vector<uint8_t>> damaged;
    for (size_t length : {size_t(0), size_t(1), size_t(3), size_t(63), size_t(200), good.size() / 2, good.size() - 1}) {
      damaged.emplace_back(good.begin(), good.begin() + long(length));
    }
    for (size_t offset : {size_t(0x3C), size_t(0x28), size_t(0x3A), size_t(0x80), size_t(0x100), size_t(0x180)}) {
      auto copy = good;
      for (size_t i = offset; i < offset + 4 && i < copy.size(); ++i) copy[i] = 0xFF;
      damaged.push_back(copy);
    }
    for (size_t i = 0; i < damaged.size(); ++i) {
      try {
        const modfile::ModuleFile module = modfile::parse_module_file(damaged[i], "damaged.gau");
        for (const modfile::Resource& r : module.resources) {
          if (r.type.number() == 2) (void)modfile::decode_dib(r.data);
        }
      } catch (const modfile::FormatError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("damaged.gau: ", 0), 0u) << e.what();
      }
    }
  }
}

TEST(ModuleFile, BitmapsWithAbsurdHeadersAreRefused) {
  std::vector<uint8_t> header(40 + 1024 + 16, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) header[at + i] = uint8_t(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, 4);
  put32(8, 4);
  header[12] = 1;
  header[14] = 8;
  EXPECT_EQ(modfile::decode_dib(header).width, 4);
  struct Case {
    size_t offset;
    uint32_t value;
  } cases[] = {{4, 100000}, {4, 0}, {8, 0x80000000u}, {14, 7}, {16, 1}, {0, 12}, {0, 0xFFFFFFFF}, {8, 1000}};
  for (const Case& c : cases) {
    auto bad = header;
    for (int i = 0; i < 4 && c.offset + i < bad.size(); ++i) bad[c.offset + i] = uint8_t(c.value >> (8 * i));
    if (c.offset == 14) bad[15] = 0;
    EXPECT_THROW(modfile::decode_dib(bad), modfile::FormatError) << c.offset << "=" << c.value;
  }
}

TEST(ModuleFile, InspectNamesAMissingOrForeignFile) {
  std::ostringstream out, err;
  EXPECT_EQ(modfile::inspect("/nonexistent/x.gau", out, err), 1);
  EXPECT_NE(err.str().find("/nonexistent/x.gau: cannot open"), std::string::npos);
  err.str("");
  EXPECT_EQ(modfile::inspect(std::string(SOURCE_DIR) + "/README.md", out, err), 1);
  EXPECT_NE(err.str().find("neither ELF nor PE"), std::string::npos) << err.str();
}

}  // namespace
