#include "help_texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace host {
namespace {

// Per-engine families: first identifier of engine 1 and how many engines.
struct EngineFamily {
  uint32_t engine1;
  int engines;
  std::string role;
};

const EngineFamily kEngineFamilies[] = {
    {0x3101, 2, "oil pressure"},  {0x30f1, 2, "oil temperature"}, {0x30d1, 2, "cylinder head temperature"},
    {0x30a1, 4, "manifold pressure"}, {0x30c1, 4, "fuel flow"}, {0x3211, 4, "RPM"},
    {0x32b1, 4, "starter"},       {0x32a0, 4, "magnetos"},        {0x3268, 4, "fuel selector"},
};

// The switches' identifiers, each with a word its text must carry.
const std::pair<uint32_t, std::string> kSwitches[] = {
    {0x3255, "Tail wheel"}, {0x3343, "heat"},      {0x32f1, "Generator"},  {0x3311, "Avionics"},
    {0x32e0, "battery"},    {0x3302, "Landing"},   {0x3301, "Navigation"}, {0x3304, "Panel"},
    {0x31bd, "Pitot"},      {0x3310, "Propeller"}, {0x303e, "Structural"}, {0x31f9, "Left fuel valve"},
    {0x31fa, "Right fuel valve"}, {0x32e9, "Left fuel pump"}, {0x32ea, "Right fuel pump"},
    {0x3307, "Beacon"},     {0x33e2, "Recognition"}, {0x3305, "Strobe"},   {0xac80, "vacuum"},
    {0x3306, "Taxi"},       {0x3300, "Wing"},
};

TEST(HelpTexts, EveryEngineIdentifierNamesItsEngineAndRole) {
  for (const auto& family : kEngineFamilies) {
    for (int engine = 1; engine <= family.engines; ++engine) {
      const uint32_t id = family.engine1 + static_cast<uint32_t>(engine - 1);
      const std::string text = help_text(id);
      SCOPED_TRACE(text);
      EXPECT_NE(text.find("Engine " + std::to_string(engine) + " "), std::string::npos);
      EXPECT_NE(text.find(family.role), std::string::npos);
    }
  }
}

TEST(HelpTexts, EverySwitchIdentifierHasItsOwnText) {
  for (const auto& [id, word] : kSwitches) {
    const std::string text = help_text(id);
    SCOPED_TRACE(text);
    EXPECT_NE(text.find(word), std::string::npos);
  }
}

TEST(HelpTexts, TableTextsAreNonEmptyAndDistinct) {
  std::set<std::string_view> seen;
  for (const HelpText& row : help_text_table()) {
    EXPECT_FALSE(row.text.empty()) << std::hex << row.id;
    EXPECT_TRUE(seen.insert(row.text).second) << "shared text: " << row.text;
    EXPECT_EQ(help_text(row.id), row.text);
  }
}

TEST(HelpTexts, UnknownIdentifierNamesItself) {
  EXPECT_EQ(help_text(0x1234), "Help text 0x1234");
  EXPECT_EQ(help_text(0), "Help text 0x0000");
  EXPECT_EQ(help_text(0x3103), "Help text 0x3103");  // between two known identifiers
  EXPECT_EQ(help_text(0xffffffff), "Help text 0xffffffff");
}

}  // namespace
}  // namespace host
