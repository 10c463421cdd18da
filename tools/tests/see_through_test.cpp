// Where each picture lets what lies beneath show through, and where it must cover.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "rendered.h"

namespace artgen::test {
namespace {

struct BitmapRef {
    const char* module;
    std::uint16_t id;
};

std::string name_of(BitmapRef ref) {
    char id[8];
    std::snprintf(id, sizeof id, "%04x", static_cast<unsigned>(ref.id));
    return std::string(ref.module) + " " + id;
}

bool corners_see_through(const BmpFile& bmp) {
    return bmp.see_through(0, 0) && bmp.see_through(bmp.width - 1, 0) && bmp.see_through(0, bmp.height - 1) &&
           bmp.see_through(bmp.width - 1, bmp.height - 1);
}

TEST(Bezel, CoversTheDialEdgeAndScrewsButNotTheFace) {
    for (const BitmapRef ref : {BitmapRef{"tankgauges", 0x16f0}, {"lubepress", 0x0400}, {"lubetemp", 0x0400},
                                {"headtemp", 0x0400}, {"boostgauge", 0x0300}, {"burnrate", 0x0300},
                                {"tachometer", 0x0200}}) {
        SCOPED_TRACE(name_of(ref));
        const BmpFile& bezel = rendered_bitmap(ref.module, ref.id);
        EXPECT_TRUE(corners_see_through(bezel));
        EXPECT_TRUE(bezel.see_through(151, 151));
        EXPECT_TRUE(bezel.see_through(151, 12));  // inside the ring, where the marks end
        for (const auto& [x, y] : {std::pair{151, 2}, {2, 151}, {299, 151}, {151, 299}, {17, 17}, {284, 284}})
            EXPECT_FALSE(bezel.see_through(x, y)) << x << "," << y;
    }
}

struct NeedleCase {
    BitmapRef ref;
    int pivot_x, pivot_y;
};

// Opaque pixels of column x counted above the pivot row and from it downwards.
std::pair<int, int> hub_extent(const BmpFile& needle, int x, int pivot_y) {
    int above = 0, below = 0;
    for (int y = pivot_y - 1; y >= 0 && !needle.see_through(x, y); --y) ++above;
    for (int y = pivot_y; y < needle.height && !needle.see_through(x, y); ++y) ++below;
    return {above, below};
}

TEST(Needle, HubSitsOnThePivotWithBladeToTheRightAndTailToTheLeft) {
    const std::vector<NeedleCase> needles{
        {{"tankgauges", 0x1500}, 53, 9},  {{"lubepress", 0x0200}, 59, 14}, {{"lubepress", 0x0300}, 59, 14},
        {{"boostgauge", 0x0200}, 52, 10}, {{"tachometer", 0x0300}, 52, 10}, {{"tachometer", 0x0400}, 59, 14},
        {{"tachometer", 0x0500}, 59, 14},
    };
    for (const NeedleCase& n : needles) {
        SCOPED_TRACE(name_of(n.ref));
        const BmpFile& needle = rendered_bitmap(n.ref.module, n.ref.id);
        EXPECT_TRUE(corners_see_through(needle));
        const auto [above, below] = hub_extent(needle, n.pivot_x, n.pivot_y);
        EXPECT_GE(above, 5);
        EXPECT_LE(std::abs(above - below), 1) << "hub rows above " << above << ", below " << below;

        int leftmost = needle.width, rightmost = -1;
        for (int x = 0; x < needle.width; ++x)
            if (!needle.see_through(x, n.pivot_y)) {
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
            }
        EXPECT_GE(rightmost, needle.width - 8);
        EXPECT_LE(leftmost, 10);
        const Rgb tip = needle.colour_at(rightmost - 3, n.pivot_y);
        EXPECT_GE(std::min({tip.r, tip.g, tip.b}), 200) << "the blade is white or light";
    }
}

struct LeverCase {
    BitmapRef ref;
    bool up;
    bool opaque;
};

// Bright lever metal in the top third against the bottom third.
TEST(Lever, PointsUpForOnAndDownForOff) {
    const std::vector<LeverCase> levers{
        {{"ignitionkeys", 0x0200}, false, false}, {{"ignitionkeys", 0x0201}, true, false},
        {{"switchbank", 0x0100}, false, false},   {{"switchbank", 0x0101}, true, false},
        {{"crankpanel", 0x0200}, false, true},    {{"crankpanel", 0x0201}, true, true},
    };
    for (const LeverCase& lever : levers) {
        SCOPED_TRACE(name_of(lever.ref));
        const BmpFile& bmp = rendered_bitmap(lever.ref.module, lever.ref.id);
        int top = 0, bottom = 0;
        for (int y = 0; y < bmp.height; ++y)
            for (int x = 0; x < bmp.width; ++x) {
                const Rgb c = bmp.colour_at(x, y);
                if (bmp.see_through(x, y) || std::min({c.r, c.g, c.b}) < 170) continue;
                top += y < bmp.height / 3;
                bottom += y >= bmp.height * 2 / 3;
            }
        EXPECT_GT(lever.up ? top : bottom, 3 * (lever.up ? bottom : top) + 10) << top << " / " << bottom;
        if (lever.opaque)
            EXPECT_EQ(count_see_through(bmp), 0);
        else
            EXPECT_TRUE(corners_see_through(bmp));
    }
}

TEST(StartControls, PlatesSwitchesAndButtonsAreOpaque) {
    std::vector<BitmapRef> opaque{{"ignitionkeys", 0x0100}, {"crankpanel", 0x0300}, {"crankpanel", 0x0301},
                                  {"switchbank", 0x0120}};
    for (std::uint16_t id = 0x0200; id <= 0x0520; id += 0x20)
        if (id != 0x0400) opaque.push_back({"switchbank", id});
    for (const BitmapRef ref : opaque) EXPECT_EQ(count_see_through(rendered_bitmap(ref.module, ref.id)), 0) << name_of(ref);
}

TEST(StartControls, StarterPanelHasThreeSeeThroughPixelsInEachCorner) {
    const BmpFile& plate = rendered_bitmap("crankpanel", 0x0100);
    EXPECT_EQ(count_see_through(plate), 12);
    const int right = plate.width - 1, bottom = plate.height - 1;
    for (const auto& [x, y, dx, dy] : {std::array{0, 0, 1, 1}, std::array{right, 0, -1, 1},
                                       std::array{0, bottom, 1, -1}, std::array{right, bottom, -1, -1}}) {
        EXPECT_TRUE(plate.see_through(x, y) && plate.see_through(x + dx, y) && plate.see_through(x, y + dy))
            << "corner " << x << "," << y;
        EXPECT_FALSE(plate.see_through(x + dx, y + dy));
    }
}

TEST(SwitchPlate, IsDarkGreyWithWhiteLetteringAtTheTop) {
    for (std::uint16_t id = 0x0200; id <= 0x0520; id += 0x20) {
        if (id == 0x0400) continue;
        const BmpFile& plate = rendered_bitmap("switchbank", id);
        EXPECT_EQ(plate.colour_at(1, 1), (Rgb{52, 52, 52})) << id;
        EXPECT_EQ(plate.colour_at(58, 88), (Rgb{52, 52, 52})) << id;
        int white = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < plate.width; ++x) white += plate.colour_at(x, y) == Rgb{255, 255, 255};
        EXPECT_GT(white, 20) << id;
    }
}

TEST(LabelPlate, WhiteCapitalsOnSeeThroughAndTheTotalPlateEmpty) {
    EXPECT_EQ(count_see_through(rendered_bitmap("tankgauges", 0x1600)), 115 * 40);
    for (std::uint16_t id = 0x1610; id <= 0x16e0; id += 0x10) {
        const BmpFile& plate = rendered_bitmap("tankgauges", id);
        EXPECT_TRUE(corners_see_through(plate)) << id;
        int white = 0;
        for (std::size_t i = 0; i < plate.indices.size(); ++i) white += plate.palette[plate.indices[i]] == Rgb{255, 255, 255};
        EXPECT_GT(white, 40) << id;
    }
}

TEST(FuelSelector, FaceIsADiscAndKnobLiesOnSeeThrough) {
    const BmpFile& face = rendered_bitmap("tankvalve", 0x0100);
    EXPECT_TRUE(corners_see_through(face));
    EXPECT_FALSE(face.see_through(42, 42));
    EXPECT_FALSE(face.see_through(42, 1));
    const BmpFile& knob = rendered_bitmap("tankvalve", 0x0200);
    EXPECT_TRUE(corners_see_through(knob));
    EXPECT_FALSE(knob.see_through(28, 9));
    EXPECT_FALSE(knob.see_through(52, 9));  // the point
}

}  // namespace
}  // namespace artgen::test
