// The host's check of pointers a module hands over: inside the module's
// ranges or not, strings that must end inside them, and whether a string lies
// where it cannot change.
#include <gtest/gtest.h>

#include <cstring>

#include "module_loader.h"

namespace {

struct Image {
  alignas(8) char read_only[32] = "(A:FUEL TOTAL QUANTITY, gallon)";
  char gap[8] = {};  // outside both ranges
  alignas(8) char writable[16] = "abc";
  char after[8] = {};
  host::ModuleImage image;
  Image() {
    auto at = [](const char* p) { return reinterpret_cast<uintptr_t>(p); };
    // Added out of order: the image keeps its ranges sorted.
    image.add({at(writable), at(writable) + sizeof writable, false, true});
    image.add({at(read_only), at(read_only) + sizeof read_only, false, false});
  }
};

TEST(ModuleImage, StringsMustEndInsideAndSayWhetherTheyCanChange) {
  Image m;
  host::TextAt lifetime{};
  auto text = m.image.string_inside(m.writable, 4096, &lifetime);
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, "abc");
  EXPECT_EQ(lifetime, host::TextAt::MayChange);

  m.read_only[31] = '\0';  // a string filling its range to the last byte
  text = m.image.string_inside(m.read_only, 4096, &lifetime);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->size(), 31u);
  EXPECT_EQ(lifetime, host::TextAt::Constant);
  EXPECT_FALSE(m.image.string_inside(m.read_only, 31)) << "no terminator within the first 31 bytes";

  std::memset(m.writable, 'x', sizeof m.writable);  // runs off the end of its range
  EXPECT_FALSE(m.image.string_inside(m.writable));
}

TEST(ModuleImage, PointersAndSizesMustLieWhollyInsideOneRange) {
  Image m;
  EXPECT_TRUE(m.image.holds(m.writable, sizeof m.writable));
  EXPECT_FALSE(m.image.holds(m.writable + 1, sizeof m.writable));
  EXPECT_TRUE(m.image.holds(m.read_only + 31, 1));
  EXPECT_FALSE(m.image.holds(m.read_only + 32, 1));
  EXPECT_FALSE(m.image.holds(m.gap + 7, 1)) << "the byte before a range";
  const int elsewhere = 0;
  EXPECT_FALSE(m.image.holds(&elsewhere, sizeof elsewhere));
  EXPECT_FALSE(m.image.holds_code(m.writable)) << "data is not code";
}

}  // namespace
