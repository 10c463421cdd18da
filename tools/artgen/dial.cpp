#include "dial.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "paint.h"

namespace artgen {
namespace {

constexpr double kDegrees = 180 / std::numbers::pi;

double direction_of(const CalibrationPoint& point) {
    return std::atan2(point.x - kDialCentre, kDialCentre - point.y) * kDegrees;
}

// The shortest turn from one direction to another, in (-180, 180].
double short_turn(double from, double to) {
    double turn = std::fmod(to - from, 360.0);
    if (turn > 180) turn -= 360;
    if (turn <= -180) turn += 360;
    return turn;
}

void draw_mark(cairo_t* cr, double direction, const MarkRun& run) {
    const double radians = direction / kDegrees;
    const double ux = std::sin(radians), uy = -std::cos(radians);
    cairo_move_to(cr, kDialCentre + run.inner * ux, kDialCentre + run.inner * uy);
    cairo_line_to(cr, kDialCentre + run.outer * ux, kDialCentre + run.outer * uy);
    cairo_set_line_width(cr, run.width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    set_colour(cr, run.colour);
    cairo_stroke(cr);
}

}  // namespace

double scale_direction(std::span<const CalibrationPoint> calibration, double reading) {
    if (calibration.empty()) throw std::invalid_argument("scale_direction: empty calibration table");
    double direction = direction_of(calibration.front());
    if (reading <= calibration.front().reading) return direction;
    for (std::size_t i = 1; i < calibration.size(); ++i) {
        const CalibrationPoint& from = calibration[i - 1];
        const CalibrationPoint& to = calibration[i];
        const double turn = short_turn(direction_of(from), direction_of(to));
        if (reading <= to.reading) return direction + turn * (reading - from.reading) / (to.reading - from.reading);
        direction += turn;
    }
    return direction;
}

Art dial_face(DialFace face) {
    std::vector<Rgb> keep{face.disc, kWhite};
    for (const MarkRun& run : face.marks) keep.push_back(run.colour);
    const Rgb disc = face.disc;
    return {.draw =
                [face = std::move(face)](cairo_t* cr) {
                    fill_circle(cr, kDialCentre, kDialCentre, kDialCentre, face.disc);
                    for (const MarkRun& run : face.marks) {
                        const long count = std::lround((run.last - run.first) / run.step);
                        for (long i = 0; i <= count; ++i)
                            draw_mark(cr, scale_direction(face.calibration, run.first + i * run.step), run);
                    }
                    for (const Numeral& numeral : face.numerals) {
                        const double radians = scale_direction(face.calibration, numeral.reading) / kDegrees;
                        text_centred(cr, numeral.text, kDialCentre + face.numeral_radius * std::sin(radians),
                                     kDialCentre - face.numeral_radius * std::cos(radians),
                                     {.size = face.numeral_size});
                    }
                    for (const Caption& caption : face.captions)
                        text_centred(cr, caption.text, kDialCentre, caption.y, {.size = caption.size});
                },
            .matte = disc,
            .keep = std::move(keep)};
}

}  // namespace artgen
