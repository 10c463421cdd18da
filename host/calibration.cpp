#include "calibration.h"

#include <cmath>

namespace host {

namespace {
constexpr double kDegreesPerRadian = 57.29577951308232;

double direction(PIXPOINT from, PIXPOINT to) {
  // Screen y grows downward, so "up" is -y.
  return std::atan2(double(to.x) - from.x, -(double(to.y) - from.y)) * kDegreesPerRadian;
}

double shortest_turn(double from, double to) {
  double turn = std::fmod(to - from, 360.0);
  if (turn > 180.0) turn -= 360.0;
  if (turn <= -180.0) turn += 360.0;
  return turn;
}
}  // namespace

NeedleScale::NeedleScale(PIXPOINT needle_position, const NONLINEARITY* points, uint32_t count) {
  points_.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const double heading = direction(needle_position, points[i].point);
    const double angle = points_.empty() ? heading : points_.back().angle + shortest_turn(points_.back().angle, heading);
    points_.push_back({points[i].value, angle});
  }
}

double NeedleScale::angle_for(double reading) const {
  if (std::isnan(reading)) return reading;
  if (points_.empty()) return std::isfinite(reading) ? std::fmod(reading, 360.0) : 0.0;
  const Point& first = points_.front();
  const Point& last = points_.back();
  const bool rising = last.reading >= first.reading;
  if (rising ? reading <= first.reading : reading >= first.reading) return first.angle;
  if (rising ? reading >= last.reading : reading <= last.reading) return last.angle;
  for (size_t i = 0; i + 1 < points_.size(); ++i) {
    const Point& a = points_[i];
    const Point& b = points_[i + 1];
    const bool inside = (a.reading <= reading && reading <= b.reading) || (b.reading <= reading && reading <= a.reading);
    if (!inside) continue;
    if (a.reading == b.reading) return a.angle;
    return a.angle + (b.angle - a.angle) * (reading - a.reading) / (b.reading - a.reading);
  }
  return last.angle;  // a table whose readings are out of order
}

double NeedleScale::rest_angle() const { return points_.empty() ? 0.0 : points_.front().angle; }

double step_toward(double current, double target, int32_t max_degrees_per_tick) {
  if (std::isnan(target)) return current;
  if (std::isnan(current) || max_degrees_per_tick == 0) return target;
  const double limit = std::fabs(double(max_degrees_per_tick));
  if (target > current + limit) return current + limit;
  if (target < current - limit) return current - limit;
  return target;
}

double normalize_degrees(double degrees) {
  if (!std::isfinite(degrees)) return degrees;
  double d = std::fmod(degrees, 360.0);
  return d < 0 ? d + 360.0 : d;
}

}  // namespace host
