// Checks shared by the conic tests: how far a vertex is off a conic's
// implicit equation, and whether a frame is the unit normal and tangent
// of a given gradient in the conic's plane.
#pragma once

#include <cmath>
#include <random>

#include "zv_testing.hpp"

namespace conictest {

// Random centres well off the origin and axes of ordinary size, from a fixed
// seed so a failure reproduces.
struct Random {
  explicit Random(unsigned seed) : rng(seed) {}
  double centre() { return std::uniform_real_distribution<double>(-50.0, 50.0)(rng); }
  double axis() { return std::uniform_real_distribution<double>(0.5, 8.0)(rng); }
  zv_pnt_3d point() { return {centre(), centre(), centre()}; }
  std::mt19937 rng;
};

// Relative size of the rounding a coordinate of the given magnitudes can
// carry into an implicit equation normalised to 1.
inline double tolerance(double offset, double axis) { return 1e-12 * (1.0 + std::fabs(offset) / axis); }

// Checks *first and *second are the unit tangent and the unit normal along
// (gx, gy) in the XY plane: unit, perpendicular, flat, second along +grad.
inline void expect_gradient_frame(const zv_vector_3d &first, const zv_vector_3d &second, double gx, double gy) {
  const double g = std::hypot(gx, gy);
  ASSERT_GT(g, 0.0);
  const double nx = gx / g, ny = gy / g;
  EXPECT_NEAR(second.dx, nx, 1e-14);
  EXPECT_NEAR(second.dy, ny, 1e-14);
  EXPECT_EQ(zvtest::value(second.dz), 0.0);
  EXPECT_EQ(zvtest::value(first.dz), 0.0);
  EXPECT_NEAR(std::hypot(first.dx, first.dy), 1.0, 1e-14);
  EXPECT_NEAR(first.dx * nx + first.dy * ny, 0.0, 1e-14);  // tangent to the conic
}

// A vector record filled with a marker, to see whether a call wrote it.
inline zv_vector_3d marked() { return zv_vector_3d{7.0, 7.0, 7.0, 7.0, 7.0}; }

inline bool still_marked(const zv_vector_3d &v) {
  return v.aux0 == 7.0 && v.aux1 == 7.0 && v.dx == 7.0 && v.dy == 7.0 && v.dz == 7.0;
}

}  // namespace conictest
