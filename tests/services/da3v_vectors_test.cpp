// Directions and polar points of the geometry services: zv_line_to_vector_3d,
// zv_unitvector, zv_normalvector3d, zv_pntangledist_3d.
#include "zv_testing.hpp"

#include <cfloat>
#include <cmath>
#include <random>

namespace {

// A vector record whose aux words hold garbage, as a caller's record may.
zv_vector_3d vec(double x, double y, double z) { return {7.0, -9.0, x, y, z}; }

double length(const zv_vector_3d &v) { return std::hypot(v.dx, v.dy, v.dz); }

// The direction within tol of the one given, the aux words cleared.
void expect_vector(const zv_vector_3d &v, double x, double y, double z, double tol = 0.0) {
  EXPECT_TRUE(std::fabs(v.dx - x) <= tol && std::fabs(v.dy - y) <= tol && std::fabs(v.dz - z) <= tol)
      << v.dx << " " << v.dy << " " << v.dz;
  EXPECT_TRUE(zvtest::value(v.aux0) == 0.0 && zvtest::value(v.aux1) == 0.0);
}

TEST(Da3vVectors, NullArgumentsWriteNothingAndLineToVectorClearsAux) {
  zv_vector_3d v = vec(1, 2, 3);
  EXPECT_EQ((std::vector<int>{zv_unitvector(nullptr, &v), zv_unitvector(&v, nullptr), zv_normalvector3d(nullptr, &v),
                              zv_normalvector3d(&v, nullptr)}),
            std::vector<int>(4, 1));
  EXPECT_EQ(zvtest::value(v.aux0), 7.0);
  zv_line_to_vector_3d({0, 0, 0}, {1, 1, 1}, nullptr);
  zv_pntangledist_3d(nullptr, 1.0, 0.0, nullptr);
  zv_line_to_vector_3d({1.5, -2, 3}, {4, 6, -1}, &v);
  expect_vector(v, 2.5, 8.0, -4.0);
}

// Random vectors over twelve decades: unit length, same direction, the
// same bits in place; the normal is unit, perpendicular, flat and a
// counter-clockwise quarter turn of the XY part.
TEST(Da3vVectors, UnitAndNormalVectorsOfRandomVectors) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> comp(-1.0, 1.0), decade(-6.0, 6.0);
  for (int k = 0; k < 1000; ++k) {
    const double scale = std::pow(10.0, decade(rng));
    zv_vector_3d src = vec(scale * comp(rng), scale * comp(rng), scale * comp(rng)), unit = vec(5, 5, 5), normal = unit;
    const double len = length(src);
    ASSERT_EQ(zv_unitvector(&src, &unit), 0);
    expect_vector(unit, src.dx / len, src.dy / len, src.dz / len, 4 * DBL_EPSILON);
    ASSERT_EQ(zv_normalvector3d(&src, &normal), 0);
    EXPECT_NEAR(length(normal), 1.0, 4 * DBL_EPSILON);
    EXPECT_NEAR((src.dx * normal.dx + src.dy * normal.dy + src.dz * normal.dz) / len, 0.0, 4 * DBL_EPSILON);
    EXPECT_EQ(zvtest::value(normal.dz), 0.0);
    EXPECT_GT(src.dx * normal.dy - src.dy * normal.dx, 0.0);
    ASSERT_EQ(zv_unitvector(&src, &src), 0);
    EXPECT_EQ(std::memcmp(&src, &unit, sizeof src), 0);
  }
}

TEST(Da3vVectors, ExtremeMagnitudesAxesAndTheFixedPerpendicular) {
  for (double s : {1e200, 1e-200, 0x1p-1070, DBL_MAX / 4}) {  // scaled: no overflow, no underflow
    const zv_vector_3d src = vec(3 * s, -4 * s, 0);
    zv_vector_3d u{}, n{};
    ASSERT_EQ(zv_unitvector(&src, &u), 0) << s;
    expect_vector(u, 0.6, -0.8, 0.0, 2 * DBL_EPSILON);
    ASSERT_EQ(zv_normalvector3d(&src, &n), 0) << s;
    expect_vector(n, 0.8, 0.6, 0.0, 2 * DBL_EPSILON);
  }
  const zv_vector_3d top = vec(DBL_MAX, DBL_MAX, -DBL_MAX), axis = vec(0, 0, -5);
  zv_vector_3d u{};
  ASSERT_EQ(zv_unitvector(&top, &u), 0);
  expect_vector(u, 1 / std::sqrt(3.0), 1 / std::sqrt(3.0), -1 / std::sqrt(3.0), 2 * DBL_EPSILON);
  ASSERT_EQ(zv_unitvector(&axis, &u), 0);
  expect_vector(u, 0, 0, -1);
  zv_vector_3d v = vec(2, 0, 0);
  ASSERT_EQ(zv_normalvector3d(&v, &v), 0);  // in place, the exact quarter turn
  expect_vector(v, 0, 1, 0);
  EXPECT_FALSE(std::signbit(v.dx));
  // The XY part at most 1e-7 of the length: the fixed +x; just above, in plane.
  for (const zv_vector_3d &src : {vec(0, 0, 3), vec(0, 0, -1e-250), vec(5e-8, -5e-8, 1), vec(0, 0, DBL_MAX), vec(1e-6, 0, 1)}) {
    zv_vector_3d n{};
    ASSERT_EQ(zv_normalvector3d(&src, &n), 0);
    src.dx == 1e-6 ? expect_vector(n, 0, 1, 0) : expect_vector(n, 1, 0, 0);
  }
}

TEST(Da3vVectors, ZeroOrNonFiniteGivesTheZeroDirection) {
  const double nan = std::nan(""), inf = INFINITY;
  for (const zv_vector_3d &src : {vec(0, 0, 0), vec(-0.0, 0, -0.0), vec(nan, 1, 1), vec(1, 1, nan), vec(inf, 0, 0),
                                  vec(1, -inf, 2), vec(nan, inf, -inf)}) {
    zv_vector_3d u = vec(1, 1, 1), n = vec(1, 1, 1), same = src;
    EXPECT_EQ(zv_unitvector(&src, &u), 2);
    expect_vector(u, 0, 0, 0);
    EXPECT_EQ(zv_unitvector(&same, &same), 2);
    expect_vector(same, 0, 0, 0);
    EXPECT_EQ(zv_normalvector3d(&src, &n), 2);
    expect_vector(n, 0, 0, 0);
  }
}

TEST(Da3vPoints, PointAtAngleAndDistanceMatchesPolarFormAndMayOverwriteItsOrigin) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-100, 100), angle(-10, 10);
  for (int k = 0; k < 200; ++k) {
    zv_pnt_3d o{coord(rng), coord(rng), coord(rng)};
    const zv_pnt_3d copy = o;
    const double r = coord(rng), theta = angle(rng);
    zv_pntangledist_3d(&o, r, theta, &o);
    EXPECT_TRUE(std::fabs(o.x - copy.x - r * std::cos(theta)) < 1e-12 &&
                std::fabs(o.y - copy.y - r * std::sin(theta)) < 1e-12 && o.z == copy.z);
  }
}

}  // namespace
