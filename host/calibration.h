// Turns a needle reading into an angle through the element's calibration
// points, and moves a needle toward its target at its limited rate.
#pragma once

#include <cstdint>
#include <vector>

#include "gauge_records.h"

namespace host {

// Angles are degrees clockwise from straight up, unwrapped along the scale so
// that a needle travelling between two readings never crosses the scale's gap.
class NeedleScale {
 public:
  NeedleScale() = default;
  NeedleScale(PIXPOINT needle_position, const NONLINEARITY* points, uint32_t count);

  // The angle for a reading: piecewise linear between points, held at the ends.
  // A NaN reading gives NaN; with no points the reading is taken as degrees.
  double angle_for(double reading) const;
  double rest_angle() const;  // where a needle stands before its first reading

 private:
  struct Point {
    double reading;
    double angle;
  };
  std::vector<Point> points_;
};

// One tick of motion: straight to the target when the limit is 0.
double step_toward(double current, double target, int32_t max_degrees_per_tick);

// Degrees in [0, 360), for comparisons modulo a full turn.
double normalize_degrees(double degrees);

}  // namespace host
