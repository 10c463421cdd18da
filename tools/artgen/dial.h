// Round instrument faces: a disc with scale marks on the needle's calibration directions.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "art.h"

namespace artgen {

inline constexpr int kDialSize = 302;
inline constexpr double kDialCentre = 151;  // the needle position on every dial

// A reading and the screen point that its needle points at.
struct CalibrationPoint {
    double reading;
    double x, y;
};

// Direction of a reading from the dial centre, in degrees clockwise from straight up.
// Consecutive points are joined the short way round, linear in the reading between them,
// held at the end points outside the table: the way the host turns its needles.
double scale_direction(std::span<const CalibrationPoint> calibration, double reading);

// Marks at first, first + step, ..., last (radii in pixels from the centre).
struct MarkRun {
    double first, last, step;
    double inner, outer;
    double width;
    Rgb colour = kWhite;
};

struct Numeral {
    double reading;
    std::string text;
};

// A line of lettering centred across the dial at height y.
struct Caption {
    std::string text;
    double y;
    double size;
};

struct DialFace {
    Rgb disc{};
    std::vector<CalibrationPoint> calibration{};
    std::vector<MarkRun> marks{};
    std::vector<Numeral> numerals{};
    double numeral_radius = 85;
    double numeral_size = 20;
    std::vector<Caption> captions{};
};

// A disc filling the square, pure black outside it.
Art dial_face(DialFace face);

}  // namespace artgen
