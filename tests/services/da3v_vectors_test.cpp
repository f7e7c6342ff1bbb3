// Directions and polar points of the geometry services: zv_line_to_vector_3d,
// zv_unitvector, zv_normalvector3d, zv_pntangledist_3d.
#include "zv_testing.hpp"

#include <cfloat>
#include <cmath>
#include <numbers>
#include <random>

namespace {

// A vector record whose aux words hold garbage, as a caller's record may.
zv_vector_3d vec(double x, double y, double z) { return {7.0, -9.0, x, y, z}; }

double length(const zv_vector_3d &v) { return std::hypot(v.dx, v.dy, v.dz); }

// A random vector whose components span several decades.
zv_vector_3d random_vector(std::mt19937 &rng) {
  std::uniform_real_distribution<double> comp(-1.0, 1.0), decade(-6.0, 6.0);
  const double scale = std::pow(10.0, decade(rng));
  return vec(scale * comp(rng), scale * comp(rng), scale * comp(rng));
}

void expect_zero_direction(const zv_vector_3d &v) {
  EXPECT_EQ(v.dx, 0.0);
  EXPECT_EQ(v.dy, 0.0);
  EXPECT_EQ(v.dz, 0.0);
  EXPECT_EQ(v.aux0, 0.0);
  EXPECT_EQ(v.aux1, 0.0);
}

// ===================================================== argument checks

TEST(Da3vVectors, NullArgumentsReturnOneAndWriteNothing) {
  zv_vector_3d v = vec(1, 2, 3);
  EXPECT_EQ(zv_unitvector(nullptr, &v), 1);
  EXPECT_EQ(zv_unitvector(&v, nullptr), 1);
  EXPECT_EQ(zv_normalvector3d(nullptr, &v), 1);
  EXPECT_EQ(zv_normalvector3d(&v, nullptr), 1);
  EXPECT_EQ(v.aux0, 7.0);
  EXPECT_EQ(v.dx, 1.0);
  zv_line_to_vector_3d({0, 0, 0}, {1, 1, 1}, nullptr);  // ignored, no crash
  zv_pntangledist_3d(nullptr, 1.0, 0.0, nullptr);
}

TEST(Da3vVectors, LineToVectorIsEndMinusStartWithClearedAux) {
  zv_vector_3d v = vec(9, 9, 9);
  zv_line_to_vector_3d({1.5, -2, 3}, {4, 6, -1}, &v);
  EXPECT_EQ(v.dx, 2.5);
  EXPECT_EQ(v.dy, 8.0);
  EXPECT_EQ(v.dz, -4.0);
  EXPECT_EQ(v.aux0, 0.0);
  EXPECT_EQ(v.aux1, 0.0);
}

// ===================================================== unit vector: properties

class UnitVectorRandom : public ::testing::TestWithParam<int> {};

TEST_P(UnitVectorRandom, HasLengthOneAndKeepsDirection) {
  std::mt19937 rng(static_cast<unsigned>(GetParam()));
  for (int k = 0; k < 50; ++k) {
    const zv_vector_3d src = random_vector(rng);
    zv_vector_3d dst = vec(5, 5, 5);
    ASSERT_EQ(zv_unitvector(&src, &dst), 0);
    EXPECT_NEAR(length(dst), 1.0, 4 * DBL_EPSILON);
    const double len = length(src);
    EXPECT_NEAR(dst.dx, src.dx / len, 4 * DBL_EPSILON);
    EXPECT_NEAR(dst.dy, src.dy / len, 4 * DBL_EPSILON);
    EXPECT_NEAR(dst.dz, src.dz / len, 4 * DBL_EPSILON);
    EXPECT_EQ(dst.aux0, 0.0);
    EXPECT_EQ(dst.aux1, 0.0);
  }
}

TEST_P(UnitVectorRandom, InPlaceGivesTheSameBitsAsSeparateRecords) {
  std::mt19937 rng(static_cast<unsigned>(GetParam()) + 1000u);
  zv_vector_3d v = random_vector(rng);
  zv_vector_3d separate{};
  ASSERT_EQ(zv_unitvector(&v, &separate), 0);
  ASSERT_EQ(zv_unitvector(&v, &v), 0);
  EXPECT_EQ(std::memcmp(&v, &separate, sizeof v), 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, UnitVectorRandom, ::testing::Range(0, 24));

// ===================================================== unit vector: extreme magnitudes

TEST(Da3vVectors, UnitVectorOfHugeAndTinyComponentsNeitherOverflowsNorUnderflows) {
  const double scales[] = {1e200, 1e-200, 0x1p-1070, DBL_MAX / 4};
  for (double s : scales) {
    const zv_vector_3d src = vec(3 * s, -4 * s, 0);
    zv_vector_3d dst{};
    ASSERT_EQ(zv_unitvector(&src, &dst), 0) << s;
    EXPECT_NEAR(dst.dx, 0.6, 2 * DBL_EPSILON) << s;
    EXPECT_NEAR(dst.dy, -0.8, 2 * DBL_EPSILON) << s;
    EXPECT_EQ(dst.dz, 0.0);
  }
  const zv_vector_3d top = vec(DBL_MAX, DBL_MAX, -DBL_MAX);
  zv_vector_3d dst{};
  ASSERT_EQ(zv_unitvector(&top, &dst), 0);
  EXPECT_NEAR(dst.dx, 1 / std::sqrt(3.0), 2 * DBL_EPSILON);
  EXPECT_NEAR(dst.dz, -1 / std::sqrt(3.0), 2 * DBL_EPSILON);
}

TEST(Da3vVectors, UnitVectorOnAnAxisIsExact) {
  const zv_vector_3d src = vec(0, 0, -5);
  zv_vector_3d dst{};
  ASSERT_EQ(zv_unitvector(&src, &dst), 0);
  EXPECT_EQ(dst.dx, 0.0);
  EXPECT_EQ(dst.dy, 0.0);
  EXPECT_EQ(dst.dz, -1.0);
}

TEST(Da3vVectors, UnitVectorOfZeroOrNonFiniteIsTheZeroDirection) {
  const double nan = std::nan(""), inf = INFINITY;
  const zv_vector_3d bad[] = {vec(0, 0, 0), vec(-0.0, 0, -0.0), vec(nan, 1, 1), vec(1, 1, nan),
                              vec(inf, 0, 0), vec(1, -inf, 2), vec(nan, inf, -inf)};
  for (const zv_vector_3d &src : bad) {
    zv_vector_3d dst = vec(1, 1, 1);
    EXPECT_EQ(zv_unitvector(&src, &dst), 2);
    expect_zero_direction(dst);
    zv_vector_3d same = src;
    EXPECT_EQ(zv_unitvector(&same, &same), 2);
    expect_zero_direction(same);
  }
}

// ===================================================== normal vector

class NormalVectorRandom : public ::testing::TestWithParam<int> {};

TEST_P(NormalVectorRandom, IsUnitPerpendicularAndInTheXYPlane) {
  std::mt19937 rng(static_cast<unsigned>(GetParam()) + 2000u);
  for (int k = 0; k < 50; ++k) {
    const zv_vector_3d src = random_vector(rng);
    zv_vector_3d dst = vec(5, 5, 5);
    ASSERT_EQ(zv_normalvector3d(&src, &dst), 0);
    EXPECT_NEAR(length(dst), 1.0, 4 * DBL_EPSILON);
    const double cosine = (src.dx * dst.dx + src.dy * dst.dy + src.dz * dst.dz) / length(src);
    EXPECT_NEAR(cosine, 0.0, 4 * DBL_EPSILON);
    EXPECT_EQ(dst.dz, 0.0);
    EXPECT_EQ(dst.aux0, 0.0);
    EXPECT_EQ(dst.aux1, 0.0);
    // Counter-clockwise quarter turn of the XY part: the z of src x dst is positive.
    EXPECT_GT(src.dx * dst.dy - src.dy * dst.dx, 0.0);
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, NormalVectorRandom, ::testing::Range(0, 24));

TEST(Da3vVectors, NormalOfAnAxisVectorInXYIsTheExactQuarterTurn) {
  zv_vector_3d v = vec(2, 0, 0);
  ASSERT_EQ(zv_normalvector3d(&v, &v), 0);  // in place
  EXPECT_EQ(v.dx, 0.0);
  EXPECT_FALSE(std::signbit(v.dx));
  EXPECT_EQ(v.dy, 1.0);
  EXPECT_EQ(v.dz, 0.0);
  zv_vector_3d w = vec(0, -3, 1);
  ASSERT_EQ(zv_normalvector3d(&w, &w), 0);
  EXPECT_EQ(w.dx, 1.0);
  EXPECT_EQ(w.dy, 0.0);
}

TEST(Da3vVectors, NormalOfAVectorAlongZIsTheFixedPerpendicular) {
  // The XY part is at most 1e-7 of the length: the fixed +x is chosen.
  const zv_vector_3d along_z[] = {vec(0, 0, 3), vec(0, 0, -1e-250), vec(5e-8, -5e-8, 1),
                                  vec(0, 0, DBL_MAX)};
  for (const zv_vector_3d &src : along_z) {
    zv_vector_3d dst{};
    ASSERT_EQ(zv_normalvector3d(&src, &dst), 0);
    EXPECT_EQ(dst.dx, 1.0);
    EXPECT_EQ(dst.dy, 0.0);
    EXPECT_EQ(dst.dz, 0.0);
  }
  // Just above the threshold the in-plane perpendicular is taken.
  const zv_vector_3d tilted = vec(1e-6, 0, 1);
  zv_vector_3d dst{};
  ASSERT_EQ(zv_normalvector3d(&tilted, &dst), 0);
  EXPECT_EQ(dst.dx, 0.0);
  EXPECT_EQ(dst.dy, 1.0);
}

TEST(Da3vVectors, NormalOfHugeAndTinyVectorsStaysFinite) {
  for (double s : {1e300, 1e-300, 0x1p-1074}) {
    const zv_vector_3d src = vec(s, s, 0);
    zv_vector_3d dst{};
    ASSERT_EQ(zv_normalvector3d(&src, &dst), 0) << s;
    EXPECT_NEAR(dst.dx, -std::numbers::sqrt2 / 2, 2 * DBL_EPSILON) << s;
    EXPECT_NEAR(dst.dy, std::numbers::sqrt2 / 2, 2 * DBL_EPSILON) << s;
  }
}

TEST(Da3vVectors, NormalOfZeroOrNonFiniteIsTheZeroDirection) {
  const zv_vector_3d bad[] = {vec(0, 0, 0), vec(std::nan(""), 0, 1), vec(0, 0, -INFINITY)};
  for (const zv_vector_3d &src : bad) {
    zv_vector_3d dst = vec(1, 1, 1);
    EXPECT_EQ(zv_normalvector3d(&src, &dst), 2);
    expect_zero_direction(dst);
  }
}

// ===================================================== point at angle and distance

TEST(Da3vPoints, PointAtAngleAndDistanceMatchesPolarForm) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-100, 100), angle(-10, 10);
  for (int k = 0; k < 200; ++k) {
    const zv_pnt_3d o{coord(rng), coord(rng), coord(rng)};
    const double r = coord(rng), theta = angle(rng);
    zv_pnt_3d p{};
    zv_pntangledist_3d(&o, r, theta, &p);
    EXPECT_NEAR(std::hypot(p.x - o.x, p.y - o.y), std::fabs(r), 1e-12);
    EXPECT_NEAR(p.x, o.x + r * std::cos(theta), 1e-12);
    EXPECT_NEAR(p.y, o.y + r * std::sin(theta), 1e-12);
    EXPECT_EQ(p.z, o.z);
  }
}

TEST(Da3vPoints, PointAtAngleMayOverwriteItsOrigin) {
  zv_pnt_3d p{1, 2, 3};
  zv_pntangledist_3d(&p, 2.0, 0.0, &p);
  EXPECT_EQ(p.x, 3.0);
  EXPECT_EQ(p.y, 2.0);
  EXPECT_EQ(p.z, 3.0);
  zv_pntangledist_3d(&p, 1.0, std::numbers::pi, nullptr);  // ignored
}

}  // namespace
