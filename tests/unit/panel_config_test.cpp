#include "panel_config.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace host {
namespace {

std::vector<std::string> warning_texts(const PanelConfig& config) {
  std::vector<std::string> texts;
  for (const PanelWarning& warning : config.warnings) texts.push_back(to_string(warning));
  return texts;
}

struct ExpectedGauge {
  std::string module, gauge;
  std::optional<int> x, y, width, height;
  std::string extra;
  int line;
};

void expect_gauges(const PanelWindow& window, const std::vector<ExpectedGauge>& expected) {
  ASSERT_EQ(window.gauges.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const GaugePlacement& got = window.gauges[i];
    SCOPED_TRACE(expected[i].gauge);
    EXPECT_EQ(got.module, expected[i].module);
    EXPECT_EQ(got.gauge, expected[i].gauge);
    EXPECT_EQ(got.x, expected[i].x);
    EXPECT_EQ(got.y, expected[i].y);
    EXPECT_EQ(got.width, expected[i].width);
    EXPECT_EQ(got.height, expected[i].height);
    EXPECT_EQ(got.extra, expected[i].extra);
    EXPECT_EQ(got.line, expected[i].line);
  }
}

// A hand-edited file: BOM, CRLF, tabs, mixed case, both comment styles, sections
// not drawn here, a window after a gap, and no newline at the end.
TEST(PanelConfig, ReadsAMessyFileAsWritten) {
  const std::string path = TEST_DATA_DIR "/panels/messy.cfg";
  const PanelConfig config = read_panel_config(path);
  EXPECT_EQ(config.path, path);
  EXPECT_EQ(warning_texts(config),
            std::vector<std::string>{path + ":48: [Window04] is not loaded: [Window03] is missing"});
  ASSERT_EQ(config.windows.size(), 3u);

  const PanelWindow& main = config.windows[0];
  EXPECT_EQ(main.index, 0);
  EXPECT_EQ(main.line, 19);
  EXPECT_EQ(main.title, "Main Panel");
  EXPECT_EQ(main.size_w, 1024);
  EXPECT_EQ(main.size_h, 768);
  EXPECT_EQ(main.position, (std::array<int, 2>{10, 20}));
  EXPECT_TRUE(main.visible);
  EXPECT_EQ(main.ident, std::nullopt);
  EXPECT_EQ(main.ident_name, "MAIN_PANEL");
  EXPECT_EQ(main.background_color, (std::array<int, 3>{10, 20, 30}));
  expect_gauges(main, {
                          {"tankgauges", "Right Main", 10, 20, 80, 80, "", 28},
                          {"tankgauges", "Left Main", 100, 20, 80, std::nullopt, "", 29},
                          {"sub/lubepress", "oil_pressure", -5, -10, std::nullopt, std::nullopt, "", 30},
                          {"switchbank", "landing lights extend", 221, std::nullopt, std::nullopt, std::nullopt, "", 31},
                          {"tachometer", "dual_1&2", 300, 300, 120, 120, "extra param, with comma", 33},
                          {"switchbank", "battery", 400, 10, std::nullopt, std::nullopt, "", 32},
                      });

  const PanelWindow& engines = config.windows[1];
  EXPECT_EQ(engines.title, "Engine Gauges");
  EXPECT_EQ(engines.size_w, 640);
  EXPECT_EQ(engines.size_h, 640);  // a single size_mm makes a square window
  EXPECT_EQ(engines.position, (std::array<int, 2>{0, 0}));  // window_pos wins though position comes later
  EXPECT_FALSE(engines.background_color.has_value());
  expect_gauges(engines, {
                             {"burnrate", "engine1", 80, 0, std::nullopt, std::nullopt, "", 40},
                             {"boostgauge", "engine1", 0, 0, std::nullopt, std::nullopt, "", 39},
                         });

  const PanelWindow& electrical = config.windows[2];
  EXPECT_EQ(electrical.title, "Electrical");
  EXPECT_EQ(electrical.position, (std::array<int, 2>{5, 6}));
  EXPECT_EQ(electrical.ident, 40);
  EXPECT_FALSE(electrical.visible);
  EXPECT_TRUE(electrical.gauges.empty());
}

struct BadLine {
  std::string line;
  std::string warning;
};

// Each bad line comes at line 4 after a good window and gauge, and costs only itself.
TEST(PanelConfig, BadLinesBecomeWarningsWithTheirLine) {
  const BadLine cases[] = {
      {"gauge01=lubepress!oil_pressure, abc, 10", "gauge01: x is not a number: 'abc'"},
      {"gauge01=lubepress!oil_pressure, 1.5, 10", "gauge01: x is not a number: '1.5'"},
      {"gauge01=lubepress!oil_pressure, 10, 100001", "gauge01: y is out of range -100000..100000: '100001'"},
      {"gauge01=lubepress!oil_pressure, 10, -99999999999999999999999",
       "gauge01: y is out of range -100000..100000: '-99999999999999999999999'"},
      {"gauge01=lubepress!oil_pressure, 10, 10, 0", "gauge01: width must be positive: '0'"},
      {"gauge01=lubepress!oil_pressure, 10, 10, 50, -5", "gauge01: height must be positive: '-5'"},
      {"gauge01=lubepress!oil_pressure, 10, 10, 50, 0x10", "gauge01: height is not a number: '0x10'"},
      {"gauge01=lubepress oil_pressure, 10, 10", "gauge01: expected MODULE!GAUGE: 'lubepress oil_pressure'"},
      {"gauge01=!oil_pressure", "gauge01: no module before '!': '!oil_pressure'"},
      {"gauge01=lubepress!  , 1, 2", "gauge01: no gauge name after '!': 'lubepress!'"},
      {"gauge0=lubepress!oil_pressure, 1, 2", "gauge0 repeats line 3; ignored"},
      {"gauge02=lubepress!oil_pressure, 1, 2", "gauge02 follows a gap in the numbering: no gauge01"},
      {"size_mm=200", "size_mm repeats line 2; ignored"},
      {"window_pos=0.000,0.650", "window_pos: value is not a number: '0.000'"},
      {"window_pos=5", "window_pos: expected X,Y: '5'"},
      {"position=1,2,3", "position: expected X,Y or a corner code: '1,2,3'"},
      {"background_color=255,0,256", "background_color: value is out of range 0..255: '256'"},
      {"background_color=255,0", "background_color: expected R,G,B: '255,0'"},
      {"background_color=255,,0", "background_color: expected R,G,B: '255,,0'"},
      {"visible=yes", "visible: expected 0 or 1: 'yes'"},
      {"ident=4 0", "ident: expected a number or a name: '4 0'"},
      {"ident=99999999999", "ident: expected a number or a name: '99999999999'"},
      {"no equals sign here", "expected KEY=VALUE: 'no equals sign here'"},
      {"=5", "no key before '=': '=5'"},
      {"Colour=red", "unknown key 'colour' ignored"},
      {"[Window00]", "[Window00] repeats line 1; this one is ignored"},
      {"[Window64]", "[Window64]: windows run from [Window00] to [Window63]; not loaded"},
      {"[Windows01]", "section [Windows01] is not one this host reads"},
      {"[Window01", "section header without ']': '[Window01'"},
      {"[Window01] junk", "text after the section header ignored: ' junk'"},
  };
  for (const BadLine& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string text = "[Window00]\nsize_mm=100,50\ngauge00=lubepress!oil_pressure, 1, 2\n" + c.line + "\n";
    const PanelConfig config = parse_panel_config(text, "panel.cfg");
    EXPECT_EQ(warning_texts(config), std::vector<std::string>{"panel.cfg:4: " + c.warning});
    ASSERT_FALSE(config.windows.empty());
    EXPECT_EQ(config.windows[0].size_w, 100);
    EXPECT_EQ(config.windows[0].size_h, 50);
    ASSERT_FALSE(config.windows[0].gauges.empty());
    EXPECT_EQ(config.windows[0].gauges[0].gauge, "oil_pressure");
  }
}

TEST(PanelConfig, GaugeWithAnUnusableFieldStillLoadsWithoutIt) {
  const PanelConfig config = parse_panel_config("[Window00]\ngauge00=a!b, abc, 7, 40\n", "p.cfg");
  ASSERT_EQ(config.windows.at(0).gauges.size(), 1u);
  const GaugePlacement& gauge = config.windows[0].gauges[0];
  EXPECT_EQ(gauge.x, std::nullopt);
  EXPECT_EQ(gauge.y, 7);
  EXPECT_EQ(gauge.width, 40);
}

TEST(PanelConfig, WarnsAboutKeysOutsideAnySectionAndWindowsAfterAGap) {
  const PanelConfig config =
      parse_panel_config("size_mm=10\n[Window01]\nsize_mm=5\n[Window Titles]\nbogus=1\n", "p.cfg");
  EXPECT_EQ(warning_texts(config), (std::vector<std::string>{
                                       "p.cfg:1: size_mm: outside any section",
                                       "p.cfg:2: [Window01] is not loaded: [Window00] is missing",
                                       "p.cfg:5: [Window Titles]: expected WindowNN=title, got 'bogus'",
                                   }));
  EXPECT_TRUE(config.windows.empty());
}

TEST(PanelConfig, ReadingAMissingFileThrows) {
  const std::string missing = TEST_DATA_DIR "/panels/no such panel.cfg";
  try {
    read_panel_config(missing);
    FAIL() << "no exception";
  } catch (const PanelError& error) {
    EXPECT_EQ(std::string(error.what()).rfind(missing + ": cannot open", 0), 0u) << error.what();
  }
  EXPECT_THROW(read_panel_config(TEST_DATA_DIR "/panels"), PanelError);
}

TEST(PanelConfig, GarbageNeverCrashes) {
  const std::string cases[] = {
      "",
      "\xEF\xBB\xBF",
      "[",
      "]",
      "[]",
      "=",
      "\r\n\r\n\r",
      std::string("[Window00]\ngauge00=a\0!b, 1\0, 2\n", 28),
      "[Window00]\ngauge00=a!b," + std::string(100000, ',') + "\n",
      "[Window00]\ngauge9999=a!b\ngauge99999=a!b\n",
      "[Window0000000000000000000000]\n[Window-1]\n[Window+1]\n",
      "[Window00]\nsize_mm=" + std::string(5000, '9') + "\n",
      "[Window00]\nident=-0x\nident=0x\n",
  };
  for (const std::string& text : cases) parse_panel_config(text, "garbage.cfg");

  // Random lines from panel-file characters, with a fixed seed.
  std::mt19937 random(12345);
  const std::string alphabet = "[]=!,;/ \t\r\n-+0123456789xWindowgaugesize_mm";
  for (int round = 0; round < 200; ++round) {
    std::string text = "[Window00]\n";
    for (int i = 0; i < 400; ++i) text += alphabet[random() % alphabet.size()];
    const PanelConfig config = parse_panel_config(text, "random.cfg");
    for (const PanelWarning& warning : config.warnings) EXPECT_GE(warning.line, 1);
  }
}

}  // namespace
}  // namespace host
