// Dial faces: the disc, and scale marks where the host will point the needles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "rendered.h"

namespace artgen::test {
namespace {

constexpr double kCentre = 151;  // the needle position on every dial

struct Point {
    double x, y;
};

struct DialCase {
    const char* module;
    Rgb disc;
    std::vector<Point> calibration;
    int marks;  // around the scale; 0 where the count is free
};

const std::vector<DialCase>& dials() {
    static const std::vector<DialCase> cases{
        {"tankgauges", {2, 2, 2}, {{45, 212}, {45, 90}, {151, 28}, {256, 90}, {256, 212}}, 9},
        {"lubepress", {5, 5, 5}, {{101, 285}, {151, 7}, {198, 285}}, 0},
        {"lubetemp", {5, 5, 5}, {{79, 273}, {9, 151}, {79, 27}, {222, 27}, {293, 151}, {222, 273}}, 0},
        {"headtemp", {5, 5, 5}, {{79, 274}, {8, 151}, {79, 26}, {221, 26}, {292, 151}, {221, 274}}, 0},
        {"boostgauge", {5, 5, 5}, {{79, 273}, {11, 175}, {41, 59}, {151, 7}, {259, 59}, {288, 175}, {221, 273}}, 31},
        {"burnrate", {5, 5, 5}, {{101, 285}, {151, 7}, {198, 285}}, 41},
        {"tachometer", {5, 2, 2}, {{45, 212}, {29, 130}, {70, 56}, {151, 26}, {230, 56}, {271, 130}, {257, 212}}, 31},
    };
    return cases;
}

// Marks are white, or red at the top of the RPM range; the disc is near black.
bool is_mark(Rgb c) { return std::max({c.r, c.g, c.b}) >= 128; }

bool mark_near(const BmpFile& dial, double x, double y) {
    const int px = static_cast<int>(std::floor(x)), py = static_cast<int>(std::floor(y));
    for (const auto& [dx, dy] : {std::pair{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}})
        if (is_mark(dial.colour_at(px + dx, py + dy))) return true;
    return false;
}

TEST(DialFace, DiscIsItsNearBlackAndCornersAreSeeThrough) {
    for (const DialCase& dial : dials()) {
        SCOPED_TRACE(dial.module);
        const BmpFile& face = rendered_bitmap(dial.module, 0x0100);
        for (const auto& [x, y] : {std::pair{0, 0}, {301, 0}, {0, 301}, {301, 301}, {40, 40}, {262, 262}})
            EXPECT_TRUE(face.see_through(x, y)) << x << "," << y;
        // Below the centre, in the gap between the scale's ends.
        EXPECT_EQ(face.colour_at(151, 292), dial.disc);
        EXPECT_EQ(face.colour_at(4, 151), dial.disc);
    }
}

TEST(DialFace, AMarkLiesOnTheRayToEveryCalibrationPoint) {
    for (const DialCase& dial : dials()) {
        const BmpFile& face = rendered_bitmap(dial.module, 0x0100);
        for (const Point& point : dial.calibration) {
            const double length = std::hypot(point.x - kCentre, point.y - kCentre);
            const double ux = (point.x - kCentre) / length, uy = (point.y - kCentre) / length;
            for (double radius = 115; radius <= 140; radius += 1)
                ASSERT_TRUE(mark_near(face, kCentre + radius * ux, kCentre + radius * uy))
                    << dial.module << ": no mark toward (" << point.x << "," << point.y << ") at radius " << radius;
        }
    }
}

TEST(DialFace, ScaleHasItsNumberOfMarks) {
    for (const DialCase& dial : dials()) {
        if (dial.marks == 0) continue;
        const BmpFile& face = rendered_bitmap(dial.module, 0x0100);
        constexpr double radius = 136;
        constexpr int steps = 3600;
        int marks = 0;
        bool was_mark = false;
        for (int step = 0; step <= steps; ++step) {
            const double angle = 2 * std::numbers::pi * step / steps;
            const bool on_mark = is_mark(face.colour_at(static_cast<int>(kCentre + radius * std::sin(angle)),
                                                        static_cast<int>(kCentre - radius * std::cos(angle))));
            marks += on_mark && !was_mark && step > 0;
            was_mark = on_mark;
        }
        EXPECT_EQ(marks, dial.marks) << dial.module;
    }
}

TEST(DialFace, RpmMarksTurnRedFrom2700) {
    const BmpFile& face = rendered_bitmap("tachometer", 0x0100);
    // 3000 at the last calibration point, 2500 at the one before it.
    const auto colour_toward = [&](Point point) {
        const double length = std::hypot(point.x - kCentre, point.y - kCentre);
        return face.colour_at(static_cast<int>(kCentre + 130 * (point.x - kCentre) / length),
                              static_cast<int>(kCentre + 130 * (point.y - kCentre) / length));
    };
    EXPECT_EQ(colour_toward({257, 212}), (Rgb{255, 0, 0}));
    EXPECT_EQ(colour_toward({271, 130}), (Rgb{255, 255, 255}));
}

}  // namespace
}  // namespace artgen::test
