// The two reference libraries, as peer_support.hpp builds and evaluates
// them, agree with each other: a fault in a builder (knot multiplicities,
// homogeneous coefficients, parameter range) would show up here before it
// misleads a cross-check of our own curves.
#include "peer_support.hpp"

namespace {

using namespace zvpeer;

class PeerBuilders : public ::testing::TestWithParam<int> {};

// Clamped B-splines of degree 1 to 5 on random knots with repeated interior
// values, plain and rational (weights 0.1 to 10), and Bezier arcs.
TEST_P(PeerBuilders, SislAndOpenCascadeEvaluateTheSameCurve) {
  std::mt19937_64 rng(0xb1d0u + static_cast<unsigned>(GetParam()));
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const int degree = 1 + GetParam() % 5;
  const int n = std::uniform_int_distribution<int>(degree + 1, 20)(rng);

  std::vector<zv_pnt_3d> poles;
  std::vector<double> weights;
  for (int i = 0; i < n; ++i) {
    poles.push_back({unit(rng), unit(rng), unit(rng)});
    weights.push_back(std::pow(10.0, unit(rng)));
  }
  // Interior knots at random gaps, some repeated (never more than degree
  // times, which keeps the curve continuous), then scaled into (0, 1).
  std::vector<double> interior;
  int run = 0;
  double at = 0.0;
  for (int i = 0; i < n - degree - 1; ++i) {
    if (i > 0 && run < degree && unit(rng) > 0.4) {
      ++run;
    } else {
      at += 1.0 + unit(rng) * 0.8;
      run = 1;
    }
    interior.push_back(at);
  }
  const double total = at + 1.0 + unit(rng) * 0.8;
  for (double &k : interior) k /= total;
  std::vector<double> knots(static_cast<size_t>(degree + 1), 0.0);
  knots.insert(knots.end(), interior.begin(), interior.end());
  knots.insert(knots.end(), static_cast<size_t>(degree + 1), 1.0);

  const double scale = polygon_scale(poles);
  for (const bool rational : {false, true}) {
    SCOPED_TRACE(rational ? "rational" : "polynomial");
    SislCurve sisl = rational ? sisl_rational_bspline(poles, weights, knots, degree + 1)
                              : sisl_bspline(poles, knots, degree + 1);
    ASSERT_NE(sisl, nullptr);
    const GeomAdaptor_Curve occt(rational ? occt_rational_bspline(poles, weights, knots, degree)
                                          : occt_bspline(poles, knots, degree));
    // Derivatives of a rational curve on short knot intervals run far above
    // the polygon's size, so each order is measured against its own largest
    // magnitude along the curve.
    std::vector<Jet> from_sisl, from_occt;
    int leftknot = 0;
    for (int i = 0; i <= 200; ++i) {
      const double u = i / 200.0;
      Jet s;
      ASSERT_GE(sisl_jet(sisl.get(), u, leftknot, s), 0);
      from_sisl.push_back(s);
      from_occt.push_back(occt_jet(occt, u));
    }
    double size1 = 0.0, size2 = 0.0;
    for (const Jet &j : from_sisl) {
      size1 = std::max(size1, max_abs(j.first));
      size2 = std::max(size2, max_abs(j.second));
    }
    double worst0 = 0.0, worst1 = 0.0, worst2 = 0.0;
    for (size_t i = 0; i < from_sisl.size(); ++i) {
      worst0 = std::max(worst0, max_abs(from_sisl[i].point - from_occt[i].point) / scale);
      worst1 = std::max(worst1, max_abs(from_sisl[i].first - from_occt[i].first) / size1);
      worst2 = std::max(worst2, max_abs(from_sisl[i].second - from_occt[i].second) / size2);
    }
    EXPECT_LE(worst0, kRelativeTolerance);
    EXPECT_LE(worst1, kRelativeTolerance);
    EXPECT_LE(worst2, kRelativeTolerance);
  }

  // The first degree + 1 poles as a single Bezier arc.
  const std::vector<zv_pnt_3d> arc(poles.begin(), poles.begin() + degree + 1);
  SislCurve sisl = sisl_bspline(arc, bezier_knots(degree), degree + 1);
  ASSERT_NE(sisl, nullptr);
  const GeomAdaptor_Curve occt(occt_bezier(arc));
  Agreement a;
  int leftknot = 0;
  for (int i = 0; i <= 50; ++i) {
    const double u = i / 50.0;
    Jet s;
    ASSERT_GE(sisl_jet(sisl.get(), u, leftknot, s), 0);
    const Jet o = occt_jet(occt, u);
    EXPECT_LE(max_abs(o.point - s.point) / scale, kRelativeTolerance) << "u = " << u;
    EXPECT_LE(max_abs(o.first - s.first) / scale, kRelativeTolerance * degree) << "u = " << u;
    EXPECT_LE(max_abs(o.second - s.second) / scale, kRelativeTolerance * degree * degree) << "u = " << u;
  }
}

INSTANTIATE_TEST_SUITE_P(RandomCurves, PeerBuilders, ::testing::Range(0, 24));

// Uniform knots leave the ends unclamped; both libraries then take the valid
// range between the degree-th knot from each end.
TEST(PeerBuilders, UnclampedUniformKnotsGiveTheInnerRange) {
  const std::vector<zv_pnt_3d> poles = {{0, 0, 0}, {1, 2, 0}, {3, 1, 1}, {4, 4, 2}, {6, 0, 1}};
  const GeomAdaptor_Curve occt(occt_bspline(poles, uniform_knots(9), 3));
  EXPECT_EQ(occt.FirstParameter(), 3.0);
  EXPECT_EQ(occt.LastParameter(), 5.0);
  SislCurve sisl = sisl_bspline(poles, uniform_knots(9), 4);
  double start = 0.0, end = 0.0;
  int stat = 0;
  s1363(sisl.get(), &start, &end, &stat);
  EXPECT_EQ(stat, 0);
  EXPECT_EQ(start, 3.0);
  EXPECT_EQ(end, 5.0);
  // At the start the uniform cubic B-spline sits at (P0 + 4 P1 + P2) / 6.
  int leftknot = 0;
  Jet s;
  ASSERT_GE(sisl_jet(sisl.get(), 3.0, leftknot, s), 0);
  const Vec3 expected = (1.0 / 6.0) * (vec(poles[0]) + 4.0 * vec(poles[1]) + vec(poles[2]));
  EXPECT_LE(max_abs(s.point - expected), 1e-15);
  EXPECT_LE(max_abs(occt_jet(occt, 3.0).point - expected), 1e-15);
}

}  // namespace
