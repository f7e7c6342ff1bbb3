// The two exported de Boor steps: closed forms, the rational form against
// the plain one, and the window checks.
#include <cmath>

#include "spline_records.hpp"

namespace {

// Owns p + 1 vertex records and the pointer array the functions take.
struct Window {
  explicit Window(const std::vector<zv_pnt_3d> &points) {
    for (const auto &q : points) {
      zv_poly_3d v{0, q.x, q.y, q.z};
      records.push_back(v);
    }
    for (auto &r : records) pointers.push_back(&r);
  }
  std::vector<zv_poly_3d> records;
  std::vector<zv_poly_3d *> pointers;
};

double binomial(int n, int k) { return std::tgamma(n + 1.0) / (std::tgamma(k + 1.0) * std::tgamma(n - k + 1.0)); }

// ------------------------------------------------------------ closed forms

// On Bezier knots (p zeros, p ones) de Boor's triangle is de Casteljau's:
// the point is the Bernstein sum, an independent closed form.
TEST(DeBoorEvaluation, BezierKnotsGiveTheBernsteinSumForEveryDegree) {
  for (int p : {1, 2, 5, 15, 29}) {
    const zvtest::Spline s = zvtest::random_spline(p + 1, p, 100 + p, false);
    Window w(s.points);
    std::vector<double> knots(p, 0.0);
    knots.insert(knots.end(), p, 1.0);
    for (double t : {0.0, 0.3, 0.75, 1.0}) {
      zv_pnt_3d got{};
      ASSERT_EQ(zv_deboor_3d(t, static_cast<int16_t>(p), w.pointers.data(), knots.data(), &got), 0);
      double x = 0;
      for (int i = 0; i <= p; ++i) x += binomial(p, i) * std::pow(t, i) * std::pow(1 - t, p - i) * s.points[i].x;
      EXPECT_NEAR(got.x, x, 1e-11 * zvtest::scale_of(s.points)) << "p " << p << " t " << t;
    }
  }
}

// A quarter of the unit circle as a rational quadratic: every point lies on it.
TEST(DeBoorEvaluation, RationalQuarterCircleStaysOnTheCircle) {
  Window w({{1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
  const double weights[] = {1, std::sqrt(0.5), 1}, knots[] = {0, 0, 1, 1};
  for (double t = 0; t <= 1.0; t += 1.0 / 16) {
    zv_pnt_3d q{};
    ASSERT_EQ(zv_rat_deboor_3d(t, 2, w.pointers.data(), weights, knots, &q), 0);
    EXPECT_NEAR(std::hypot(q.x, q.y), 1.0, 1e-15) << t;
  }
}

// ------------------------------------------------- rational against plain

TEST(DeBoorEvaluation, UnitWeightsGiveThePlainPointAndScaledWeightsChangeNothing) {
  for (unsigned seed = 0; seed < 20; ++seed) {
    const int p = 1 + seed % 7;
    const zvtest::Spline s = zvtest::random_spline(2 * p + 3, p, seed, true);
    // The window of span 1 (control points 1 .. p + 1, stored knots 1 .. 2p).
    Window w({s.points.begin() + 1, s.points.begin() + 2 + p});
    const double *u = s.knots.data() + 2;
    const std::vector<double> ones(p + 1, 1.0);
    std::vector<double> weights(s.weights.begin() + 1, s.weights.begin() + 2 + p), scaled;
    for (double x : weights) scaled.push_back(3.0 * x);
    const double t = u[p - 1] + 0.37 * (u[p] - u[p - 1]);
    zv_pnt_3d plain{}, unit{}, rational{}, rescaled{};
    ASSERT_EQ(zv_deboor_3d(t, p, w.pointers.data(), u, &plain), 0);
    ASSERT_EQ(zv_rat_deboor_3d(t, p, w.pointers.data(), ones.data(), u, &unit), 0);
    ASSERT_EQ(zv_rat_deboor_3d(t, p, w.pointers.data(), weights.data(), u, &rational), 0);
    ASSERT_EQ(zv_rat_deboor_3d(t, p, w.pointers.data(), scaled.data(), u, &rescaled), 0);
    const double tol = 1e-13 * zvtest::scale_of(s.points);
    EXPECT_NEAR(unit.x, plain.x, tol);
    EXPECT_NEAR(unit.z, plain.z, tol);
    EXPECT_NEAR(rescaled.y, rational.y, tol);
    // And both agree with the basis-function sum over the whole curve.
    const zv_pnt_3d ref = zvtest::basis_point(s, t);
    EXPECT_NEAR(rational.x, ref.x, tol) << seed;
  }
}

// ---------------------------------------------------- parameter and window

TEST(DeBoorEvaluation, RefusalsLeaveTheResultUntouched) {
  Window w({{1, 2, 3}, {4, 5, 6}});
  const double knots[] = {0, 1}, weights[] = {1, 1};
  const zv_pnt_3d untouched{-7, -7, -7};
  struct Case {
    double t;
    int16_t p;
    bool null_points, null_knots;
    int16_t expected;
  } cases[] = {
      {-1e-7, 1, false, false, 0},  // the test is strictly below -1e-7
      {-2e-7, 1, false, false, 2},  {NAN, 1, false, false, 2},
      {0.5, -1, false, false, 3},   {0.5, 30, false, false, 3},
      {0.5, 1, true, false, 3},     {0.5, 1, false, true, 3},
      {-2e-7, 30, false, false, 2},  // the parameter is tested first
  };
  for (const Case &c : cases) {
    zv_poly_3d *const *pts = c.null_points ? nullptr : w.pointers.data();
    const double *u = c.null_knots ? nullptr : knots;
    zv_pnt_3d a = untouched, b = untouched;
    EXPECT_EQ(zv_deboor_3d(c.t, c.p, pts, u, &a), c.expected) << c.t << " " << c.p;
    EXPECT_EQ(zv_rat_deboor_3d(c.t, c.p, pts, weights, u, &b), c.expected);
    if (c.expected != 0) {
      EXPECT_EQ(a.x, untouched.x);
      EXPECT_EQ(b.x, untouched.x);
    }
  }
  zv_pnt_3d q{};
  EXPECT_EQ(zv_rat_deboor_3d(0.5, 1, w.pointers.data(), nullptr, knots, &q), 3);
  EXPECT_EQ(zv_deboor_3d(0.5, 1, w.pointers.data(), knots, nullptr), 3);
  zv_poly_3d *holes[] = {w.pointers[0], nullptr};
  EXPECT_EQ(zv_deboor_3d(0.5, 1, holes, knots, &q), 3);
}

// Meeting knots and a zero blended weight give non-finite values, no trap.
TEST(DeBoorEvaluation, DegenerateWindowsGiveNonFiniteValuesNotCrashes) {
  Window w({{1, 2, 3}, {4, 5, 6}});
  const double meeting[] = {0.5, 0.5}, knots[] = {0, 1}, opposite[] = {1, -1};
  zv_pnt_3d q{};
  EXPECT_EQ(zv_deboor_3d(0.5, 1, w.pointers.data(), meeting, &q), 0);
  EXPECT_FALSE(std::isfinite(q.x));
  EXPECT_EQ(zv_rat_deboor_3d(0.5, 1, w.pointers.data(), opposite, knots, &q), 0);
  EXPECT_FALSE(std::isfinite(q.x));
}

}  // namespace
