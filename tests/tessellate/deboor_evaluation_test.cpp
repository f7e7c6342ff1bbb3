// The two exported de Boor steps: the Bernstein sum on Bezier knots up to
// the highest degree, an exact rational circle, the rational form against
// the plain one and the basis-function sum, and degenerate windows.
#include "spline_records.hpp"

namespace {

// p + 1 vertex records and the pointer array the functions take.
struct Window {
  explicit Window(const std::vector<zv_pnt_3d> &points) {
    for (const auto &q : points) records.push_back({0, q.x, q.y, q.z});
    for (auto &r : records) pointers.push_back(&r);
  }
  std::vector<zv_poly_3d> records;
  std::vector<zv_poly_3d *> pointers;
};

TEST(DeBoorEvaluation, BezierKnotsGiveTheBernsteinSumUpToTheHighestDegree) {
  for (int p : {1, 2, 5, 15, ZV_MAX_DEBOOR_DEGREE}) {
    const std::vector<zv_pnt_3d> pts = zvtest::random_points(p + 1, 100 + p);
    Window w(pts);
    std::vector<double> knots(p, 0.0), weights(p + 1, 2.5);
    knots.insert(knots.end(), p, 1.0);
    for (double t : {0.0, 0.3, 0.75, 1.0}) {
      zv_pnt_3d plain{}, rational{};
      ASSERT_EQ(zv_deboor_3d(t, static_cast<int16_t>(p), w.pointers.data(), knots.data(), &plain), 0);
      ASSERT_EQ(zv_rat_deboor_3d(t, static_cast<int16_t>(p), w.pointers.data(), weights.data(), knots.data(), &rational), 0);
      EXPECT_LE(zvtest::distance(plain, zvtest::bernstein_point(pts, {}, t)), 1e-11 * zvtest::scale_of(pts)) << p << " " << t;
      EXPECT_LE(zvtest::distance(rational, plain), 1e-13 * zvtest::scale_of(pts)) << p << " " << t;
    }
  }
  Window quarter({{1, 0, 0}, {1, 1, 0}, {0, 1, 0}});  // a rational quadratic quarter circle
  const double weights[] = {1, std::sqrt(0.5), 1}, knots[] = {0, 0, 1, 1};
  for (double t = 0; t <= 1.0; t += 1.0 / 16) {
    zv_pnt_3d q{};
    ASSERT_EQ(zv_rat_deboor_3d(t, 2, quarter.pointers.data(), weights, knots, &q), 0);
    EXPECT_NEAR(std::hypot(q.x, q.y), 1.0, 1e-15) << t;
  }
}

// Inside a span of a random curve: unit weights give the plain point and
// the rational point is the basis-function sum of the whole curve.
TEST(DeBoorEvaluation, RationalAndPlainAgreeWithTheBasisSum) {
  for (unsigned seed = 0; seed < 20; ++seed) {
    const int p = 1 + seed % 7;
    const zvtest::Spline s = zvtest::random_spline(2 * p + 3, p, seed, true);
    Window w({s.points.begin() + 1, s.points.begin() + 2 + p});  // span 1: points 1 .. p + 1, stored knots 1 .. 2p
    const double *u = s.knots.data() + 2, t = u[p - 1] + 0.37 * (u[p] - u[p - 1]);
    const std::vector<double> ones(p + 1, 1.0), weights(s.weights.begin() + 1, s.weights.begin() + 2 + p);
    zv_pnt_3d plain{}, unit{}, rational{};
    ASSERT_EQ(zv_deboor_3d(t, p, w.pointers.data(), u, &plain), 0);
    ASSERT_EQ(zv_rat_deboor_3d(t, p, w.pointers.data(), ones.data(), u, &unit), 0);
    ASSERT_EQ(zv_rat_deboor_3d(t, p, w.pointers.data(), weights.data(), u, &rational), 0);
    const double tol = 1e-13 * zvtest::scale_of(s.points);
    EXPECT_LE(zvtest::distance(unit, plain), tol) << seed;
    EXPECT_LE(zvtest::distance(rational, zvtest::basis_point(s, t)), tol) << seed;
  }
}

TEST(DeBoorEvaluation, MeetingKnotsAndZeroWeightsGiveNonFiniteValuesNotCrashes) {
  Window w({{1, 2, 3}, {4, 5, 6}});
  const double meeting[] = {0.5, 0.5}, knots[] = {0, 1}, opposite[] = {1, -1};
  zv_pnt_3d q{};
  EXPECT_EQ(zv_deboor_3d(0.5, 1, w.pointers.data(), meeting, &q), 0);
  EXPECT_FALSE(std::isfinite(q.x));
  EXPECT_EQ(zv_rat_deboor_3d(0.5, 1, w.pointers.data(), opposite, knots, &q), 0);
  EXPECT_FALSE(std::isfinite(q.x));
}

}  // namespace
