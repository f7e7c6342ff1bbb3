// The curve through n points and the array-form evaluators against SISL
// and Open CASCADE.
//
// Fits: both peers solve the same interpolation problem with the same
// parameters and knots (SISL's s1891, Open CASCADE's BSplCLib::Interpolate).
// SISL's s1357 chooses knots of its own, so it is used the other way round:
// given s1357's parameters and knots, our fit must reproduce its
// coefficients. Evaluators: SISL s1221 (from the right) and s1227 (from the
// left), and Open CASCADE's GeomAdaptor_Curve, on plain and rational records.
#include <sislP.h>

#include <BSplCLib.hxx>

#include <cstdlib>

#include "fitted_record.hpp"
#include "peer_support.hpp"

namespace {

using namespace zvpeer;
using Fit = zvtest::FittedRecord;

// Largest difference of two arrays relative to the reference's largest
// magnitude (at least 1).
double relative_gap(const std::vector<double> &a, const std::vector<double> &ref) {
  double scale = 1.0, worst = 0.0;
  for (double v : ref) scale = std::max(scale, std::fabs(v));
  for (std::size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::fabs(a[i] - ref[i]));
  return a.size() == ref.size() ? worst / scale : 1e300;
}

std::vector<double> flattened(const std::vector<zv_pnt_3d> &pts, int dim) {
  std::vector<double> out;
  for (const zv_pnt_3d &p : pts) {
    out.insert(out.end(), {p.x, p.y});
    if (dim == 3) out.push_back(p.z);
  }
  return out;
}

class PeerFits : public ::testing::TestWithParam<int> {};

// Random point sets, degree 2..7, planar (modes 0 and 2) and spatial.
TEST_P(PeerFits, ControlPointsAgreeWithSislAndOpenCascade) {
  std::mt19937 rng(100 + GetParam());
  const int p = 2 + GetParam() % 6, mode = GetParam() % 3, n = p + 1 + static_cast<int>(rng() % 80);
  const std::vector<zv_pnt_3d> pts = zvtest::marching_points(rng, n, mode != 1, 0.1, 3.0, 4.0, 4.0);
  const Fit f(pts, p, mode);
  ASSERT_EQ(f.code, 0);
  const int dim = f.dim();
  ASSERT_EQ(dim, mode != 1 ? 2 : 3);
  std::vector<double> u = zvtest::chord_parameters(pts, dim == 3), knots = f.knots(), data = flattened(pts, dim);
  std::vector<int> der(n, 0);
  double *coef = nullptr;
  int count = 0, stat = 0;
  s1891(u.data(), data.data(), dim, n, 1, der.data(), 1, knots.data(), &coef, &count, p + 1, 0, 0, &stat);
  ASSERT_GE(stat, 0);
  EXPECT_LT(relative_gap(f.ctrl(), std::vector<double>(coef, coef + count * dim)), 1e-9) << "SISL, n " << n << " p " << p;
  std::free(coef);

  TColStd_Array1OfReal flat(1, static_cast<int>(knots.size())), params(1, n);
  TColStd_Array1OfInteger contact(1, n);
  TColgp_Array1OfPnt poles(1, n);
  for (int i = 0; i < flat.Length(); ++i) flat(i + 1) = knots[i];
  for (int i = 0; i < n; ++i) params(i + 1) = u[i], contact(i + 1) = 0, poles(i + 1) = gp_Pnt(pts[i].x, pts[i].y, dim == 3 ? pts[i].z : 0.0);
  int problem = 0;
  BSplCLib::Interpolate(p, flat, params, contact, poles, problem);
  ASSERT_EQ(problem, 0);
  std::vector<zv_pnt_3d> solved;
  for (int i = 1; i <= n; ++i) solved.push_back({poles(i).X(), poles(i).Y(), poles(i).Z()});
  EXPECT_LT(relative_gap(f.ctrl(), flattened(solved, dim)), 1e-9) << "Open CASCADE, n " << n << " p " << p;

  // SISL evaluates our curve through every point at its parameter.
  std::vector<double> ctrl = f.ctrl();
  const SislCurve curve(newCurve(n, p + 1, knots.data(), ctrl.data(), 1, dim, 1));
  int left = 0;
  double at[3];
  for (int i = 0; i < n; ++i) {
    s1227(curve.get(), 0, u[i], &left, at, &stat);
    EXPECT_LT(std::hypot(at[0] - pts[i].x, at[1] - pts[i].y, dim == 3 ? at[2] - pts[i].z : 0.0), 1e-10) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, PeerFits, ::testing::Range(0, 24));

TEST(PeerFits, GivenParametersAndKnotsReproduceSislInterpolation) {
  std::mt19937 rng(7);
  for (int p = 2; p <= 7; ++p) {
    const int n = p + 1 + static_cast<int>(rng() % 30);
    const std::vector<zv_pnt_3d> pts = zvtest::marching_points(rng, n, false, 0.1, 3.0, 4.0, 4.0);
    std::vector<double> data = flattened(pts, 3), u = zvtest::chord_parameters(pts, true);
    std::vector<int> type(n, 1);
    double end = 0.0, *par = nullptr;
    SISLCurve *made = nullptr;
    int npar = 0, stat = 0;
    s1357(data.data(), n, 3, type.data(), u.data(), 0, 0, 1, p + 1, 0.0, &end, &made, &par, &npar, &stat);
    const SislCurve sisl(made);
    std::free(par);
    ASSERT_GE(stat, 0);
    ASSERT_EQ(sisl->in, n);
    const std::vector<double> knots(sisl->et, sisl->et + n + p + 1);
    const Fit f(pts, p, 1, u.data(), knots.data());
    ASSERT_EQ(f.code, 0) << "p " << p;
    EXPECT_LT(relative_gap(f.ctrl(), std::vector<double>(sisl->ecoef, sisl->ecoef + 3 * n)), 1e-9) << "p " << p;
  }
}

// A random record and the same curve in both peers (planar ones in space, z = 0).
struct PeerCurve {
  std::vector<double> ctrl, knots;
  zv_nurbs_3d rec{};
  SislCurve sisl;
  Handle(Geom_BSplineCurve) occt;

  PeerCurve(std::mt19937 &rng, int p, bool rational, bool planar, const std::vector<double> &interior) {
    std::uniform_real_distribution<double> coord(-5.0, 5.0), weight(0.2, 5.0);
    knots.assign(p + 1, 0.0);
    knots.insert(knots.end(), interior.begin(), interior.end());
    knots.insert(knots.end(), p + 1, 1.0);
    const int n = static_cast<int>(knots.size()) - p - 1, space = planar ? 2 : 3;
    std::vector<zv_pnt_3d> poles;
    std::vector<double> weights;
    for (int i = 0; i < n; ++i) {
      const double w = rational ? weight(rng) : 1.0, xyz[3] = {coord(rng), coord(rng), planar ? 0.0 : coord(rng)};
      for (int c = 0; c < space; ++c) ctrl.push_back(xyz[c] * w);
      if (rational) ctrl.push_back(w), weights.push_back(w);
      poles.push_back({xyz[0], xyz[1], xyz[2]});
    }
    rec = {static_cast<int16_t>(n - 1), static_cast<int16_t>(knots.size() - 1), static_cast<int16_t>(p), !rational, 1, 0,
           planar, static_cast<int16_t>(space + rational), ctrl.data(), knots.data()};
    sisl = sisl_bspline(poles, knots, p + 1, weights);
    occt = occt_bspline(poles, knots, p, weights);
  }

  // Point and derivatives as nine doubles: ours from a side, SISL's from the
  // right (s1221) or the left (s1227), Open CASCADE's.
  std::vector<double> ours(double t, int side) const {
    zv_pnt_3d q{}, d1{}, d2{};
    int16_t status = 0;
    EXPECT_EQ(zv_eval_derivsoncurve_3d(&rec, t, static_cast<int16_t>(side), 1, &q, &d1, &d2, &status), 0);
    return {q.x, q.y, q.z, d1.x, d1.y, d1.z, d2.x, d2.y, d2.z};
  }
  std::vector<double> from_sisl(double t, int side) const {
    std::vector<double> out(9, 0.0);
    int left = 0, stat = 0;
    (side < 0 ? s1227 : s1221)(sisl.get(), 2, t, &left, out.data(), &stat);
    EXPECT_GE(stat, 0);
    return out;
  }
  std::vector<double> from_occt(double t) const {
    const Jet j = occt_jet(GeomAdaptor_Curve(occt), t);
    return {j.point.x, j.point.y, j.point.z, j.first.x, j.first.y, j.first.z, j.second.x, j.second.y, j.second.z};
  }
};

// Each of point, first and second derivative within 1e-12 of the reference's magnitude.
void expect_close(const std::vector<double> &a, const std::vector<double> &ref, const char *what, double t) {
  for (int k = 0; k < 3; ++k)
    EXPECT_LT(relative_gap({a.begin() + 3 * k, a.begin() + 3 * k + 3}, {ref.begin() + 3 * k, ref.begin() + 3 * k + 3}), kRelativeTolerance)
        << what << " order " << k << " at t " << t;
}

class PeerEvaluation : public ::testing::TestWithParam<int> {};

TEST_P(PeerEvaluation, PointAndDerivativesAgreeWithSislAndOpenCascade) {
  std::mt19937 rng(500 + GetParam());
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<double> interior(rng() % 10);
  for (double &v : interior) v = unit(rng);
  std::sort(interior.begin(), interior.end());
  const PeerCurve c(rng, 1 + GetParam() % 7, GetParam() % 2 == 1, GetParam() % 4 >= 2, interior);
  for (int k = 0; k < 40; ++k) {
    const double t = unit(rng);
    const std::vector<double> right = c.ours(t, 1);
    expect_close(right, c.from_sisl(t, 1), "s1221", t);
    expect_close(c.ours(t, -1), c.from_sisl(t, -1), "s1227", t);
    expect_close(right, c.from_occt(t), "Open CASCADE", t);
    zv_pnt_3d q{};
    ASSERT_EQ(zv_eval_pointoncurve_3d(&c.rec, t, &q), 0);
    EXPECT_LT(relative_gap({q.x, q.y, q.z}, {right.begin(), right.begin() + 3}), kRelativeTolerance) << t;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, PeerEvaluation, ::testing::Range(0, 24));

// At double and triple interior knots each side matches SISL's own side.
TEST(PeerEvaluation, OneSidedValuesAtRepeatedKnots) {
  std::mt19937 rng(9);
  for (bool rational : {false, true}) {
    for (int copies : {2, 3}) {
      std::vector<double> interior = {0.2, 0.7};
      interior.insert(interior.begin() + 1, copies, 0.45);
      const PeerCurve c(rng, 3, rational, false, interior);
      for (double t : {0.2, 0.45, 0.7})
        for (int side : {1, -1}) expect_close(c.ours(t, side), c.from_sisl(t, side), side > 0 ? "s1221" : "s1227", t);
    }
  }
}

}  // namespace
