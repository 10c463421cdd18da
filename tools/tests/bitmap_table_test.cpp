// Every module writes exactly the bitmaps its resource script names, in the right format.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "bmp_writer.h"
#include "modules.h"
#include "rendered.h"

namespace artgen::test {
namespace {

struct Expected {
    std::uint16_t id;
    int width, height, bits_per_pixel;
};

std::map<std::string, std::vector<Expected>> expected_tables() {
    const std::vector<Expected> dual{{0x0100, 302, 302, 8}, {0x0200, 185, 28, 8}, {0x0300, 185, 28, 8}, {0x0400, 302, 302, 8}};
    const std::vector<Expected> ring{{0x0100, 302, 302, 8}, {0x0200, 165, 19, 8}, {0x0300, 302, 302, 8}};

    std::vector<Expected> tank{{0x0100, 302, 302, 8}, {0x1500, 165, 19, 8}};
    for (std::uint16_t id = 0x1600; id <= 0x16e0; id += 0x10) tank.push_back({id, 115, 40, 4});
    tank.push_back({0x16f0, 302, 302, 8});

    std::vector<Expected> switches{{0x0100, 18, 56, 8}, {0x0101, 17, 56, 8}, {0x0120, 19, 19, 8}};
    for (std::uint16_t id = 0x0200; id <= 0x0520; id += 0x20)
        if (id != 0x0400) switches.push_back({id, 60, 90, 8});

    return {{"tankgauges", tank},
            {"lubepress", dual},
            {"lubetemp", dual},
            {"headtemp", dual},
            {"boostgauge", ring},
            {"burnrate", ring},
            {"tachometer",
             {{0x0100, 302, 302, 8}, {0x0200, 302, 302, 8}, {0x0300, 165, 19, 8}, {0x0400, 185, 28, 8},
              {0x0500, 185, 28, 8}}},
            {"ignitionkeys", {{0x0100, 85, 171, 8}, {0x0200, 34, 44, 8}, {0x0201, 34, 44, 8}}},
            {"crankpanel",
             {{0x0100, 233, 136, 8}, {0x0200, 30, 49, 8}, {0x0201, 30, 49, 8}, {0x0300, 27, 28, 8},
              {0x0301, 27, 28, 8}}},
            {"tankvalve", {{0x0100, 85, 85, 8}, {0x0200, 55, 18, 8}}},
            {"switchbank", switches}};
}

TEST(BitmapTable, EveryModuleWritesExactlyItsBitmapsAtTheirSizesAndDepths) {
    const auto expected = expected_tables();
    ASSERT_EQ(all_modules().size(), expected.size());
    for (const auto& [module, table] : expected) {
        SCOPED_TRACE(module);
        const auto& rendered = rendered_module(module);
        ASSERT_EQ(rendered.size(), table.size());
        for (std::size_t i = 0; i < table.size(); ++i) {
            SCOPED_TRACE(bitmap_file_name(table[i].id));
            EXPECT_EQ(rendered[i].id, table[i].id);
            const BmpFile& bmp = rendered[i].bmp;
            EXPECT_EQ(bmp.width, table[i].width);
            EXPECT_EQ(bmp.height, table[i].height);
            EXPECT_EQ(bmp.bits_per_pixel, table[i].bits_per_pixel);
            EXPECT_EQ(bmp.palette.size(), table[i].bits_per_pixel == 8 ? 256u : 16u);
        }
    }
}

// Only index 0 may be pure black: anything drawn must cover what lies beneath.
TEST(BitmapTable, PureBlackIsIndexZeroAndNowhereElseInAnyPalette) {
    for (const ModuleArt& module : all_modules()) {
        for (const RenderedBitmap& bitmap : rendered_module(module.name)) {
            SCOPED_TRACE(std::string(module.name) + " " + bitmap_file_name(bitmap.id));
            ASSERT_EQ(bitmap.bmp.palette[0], kSeeThrough);
            for (std::size_t i = 1; i < bitmap.bmp.palette.size(); ++i) ASSERT_NE(bitmap.bmp.palette[i], kSeeThrough) << i;
        }
    }
}

TEST(BitmapTable, DrawingAgainGivesTheSameBytes) {
    for (const ModuleArt& module : all_modules()) {
        const auto& first = rendered_module(module.name);
        for (std::size_t i = 0; i < module.bitmaps.size(); ++i)
            EXPECT_EQ(encode_bmp(render(module.bitmaps[i])), first[i].bytes)
                << module.name << " " << bitmap_file_name(module.bitmaps[i].id);
    }
}

TEST(BitmapTable, SharedPicturesAreTheSameBytes) {
    const std::vector<std::tuple<const char*, std::uint16_t, const char*, std::uint16_t>> same{
        {"lubetemp", 0x0200, "lubepress", 0x0200},   {"lubetemp", 0x0300, "lubepress", 0x0300},
        {"lubetemp", 0x0400, "lubepress", 0x0400},   {"headtemp", 0x0200, "lubepress", 0x0200},
        {"headtemp", 0x0300, "lubepress", 0x0300},   {"headtemp", 0x0400, "lubepress", 0x0400},
        {"burnrate", 0x0200, "boostgauge", 0x0200},  {"burnrate", 0x0300, "boostgauge", 0x0300},
        {"tachometer", 0x0200, "boostgauge", 0x0300},
    };
    const auto bytes_of = [](const char* module, std::uint16_t id) {
        for (const RenderedBitmap& bitmap : rendered_module(module))
            if (bitmap.id == id) return bitmap.bytes;
        ADD_FAILURE() << module << " has no " << bitmap_file_name(id);
        return std::vector<std::uint8_t>{};
    };
    for (const auto& [module, id, model, model_id] : same)
        EXPECT_EQ(bytes_of(module, id), bytes_of(model, model_id)) << module << " " << bitmap_file_name(id);
}

}  // namespace
}  // namespace artgen::test
