// The 32-bit host's loader of shipped Windows modules refuses what it cannot
// trust: damaged files, imports it has no stand-in for, and records that
// point outside the image. (Runs in the 32-bit host only.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "module_loader.h"
#include "panel_host.h"

namespace {

#if defined(__i386__)
const std::string kModule = std::string(GAUGES_DIR) + "/lubepress.gau";

std::vector<uint8_t> read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
  uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

// The file offset of a relative virtual address, through the section table.
size_t file_offset(const std::vector<uint8_t>& b, uint32_t rva) {
  const uint32_t pe = u32(b, 0x3C);
  const uint16_t sections = uint16_t(b[pe + 6] | b[pe + 7] << 8);
  const uint32_t table = pe + 24 + uint16_t(b[pe + 20] | b[pe + 21] << 8);
  for (uint32_t s = 0; s < sections; ++s) {
    const uint32_t at = table + 40 * s, va = u32(b, at + 12), size = u32(b, at + 16), raw = u32(b, at + 20);
    if (rva >= va && rva < va + size) return raw + (rva - va);
  }
  return 0;
}

std::string refusal(const std::vector<uint8_t>& bytes) {
  const std::string path = testing::TempDir() + "damaged.gau";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  host::PanelHost panel_host(testing::TempDir());
  try {
    host::LoadedModule::load(path, panel_host.panels());
  } catch (const host::LoadError& e) {
    const std::string message = e.what();
    EXPECT_EQ(message.rfind(path + ": ", 0), 0u) << message;
    return message;
  }
  return "(loaded)";
}
#endif

TEST(PeLoader, RefusesDamagedFilesUnknownImportsAndRecordsOutsideTheImage) {
#if !defined(__i386__)
  GTEST_SKIP() << "the Windows modules run in the 32-bit host";
#else
  const std::vector<uint8_t> good = read_bytes(kModule);
  ASSERT_FALSE(good.empty());
  EXPECT_EQ(refusal({good.begin(), good.begin() + 100}).find("(loaded)"), std::string::npos);
  EXPECT_EQ(refusal({good.begin(), good.begin() + long(good.size() / 3)}).find("(loaded)"), std::string::npos);

  auto wrong_import = good;
  const std::string name = "VirtualQuery";
  int renamed = 0;
  for (auto at = wrong_import.begin();
       (at = std::search(at, wrong_import.end(), name.begin(), name.end())) != wrong_import.end(); ++at, ++renamed) {
    *at = 'W';  // in the import table and wherever else the name is spelled
  }
  ASSERT_GT(renamed, 0);
  EXPECT_NE(refusal(wrong_import).find("WirtualQuery from KERNEL32.dll"), std::string::npos) << refusal(wrong_import);

  // Linkage's gauge list pointed far outside the image.
  auto outside = good;
  const uint32_t pe = u32(good, 0x3C);
  const size_t exports = file_offset(good, u32(good, pe + 24 + 96));
  const uint32_t names = u32(good, exports + 24);
  size_t linkage = 0;
  for (uint32_t i = 0; i < names; ++i) {
    const size_t name_at = file_offset(good, u32(good, file_offset(good, u32(good, exports + 32)) + 4 * i));
    if (std::strcmp(reinterpret_cast<const char*>(good.data() + name_at), "Linkage") == 0) {
      const uint16_t ordinal = uint16_t(good[file_offset(good, u32(good, exports + 36)) + 2 * i]);
      linkage = file_offset(good, u32(good, file_offset(good, u32(good, exports + 28)) + 4 * ordinal));
    }
  }
  ASSERT_NE(linkage, 0u);
  const uint32_t far_away = 0x7FFF0000u;
  std::memcpy(outside.data() + linkage + 24, &far_away, 4);
  EXPECT_NE(refusal(outside).find("Linkage: gauge list points outside the module"), std::string::npos) << refusal(outside);

  // The undamaged file loads and runs.
  host::PanelHost panel_host(GAUGES_DIR);
  host::GaugeInstance& gauge = panel_host.place("lubepress", "oil_pressure");
  panel_host.tokens().set(418, 144 * 80);
  panel_host.tick();
  EXPECT_DOUBLE_EQ(gauge.elements[1].reading, 80);
#endif
}

}  // namespace
