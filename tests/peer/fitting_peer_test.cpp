// The curve through n points and the array-form evaluators against SISL
// and Open CASCADE.
//
// Fits: both peers solve the same interpolation problem with the same
// parameters and knots. SISL's s1891 takes the parameters and the knot
// vector directly; Open CASCADE's BSplCLib::Interpolate takes the flat knot
// vector and the parameters. SISL's s1357 chooses knots of its own, so it
// is used the other way round: our fit is given s1357's parameters and
// knots and must reproduce its coefficients. (GeomAPI_Interpolate also
// chooses its own knots and may add poles; it appears in the benchmark.)
// Evaluators: SISL s1221 (from the right) and s1227 (from the left), and
// Open CASCADE's GeomAdaptor_Curve D2, on plain and rational records.
#include <rivezi3z/rivezi3z.h>
#include <sisl.h>
#include <sislP.h>

#include <BSplCLib.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <gp_Pnt.hxx>

#include "fitted_record.hpp"
#include "peer_support.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

using Fit = zvtest::FittedRecord;

std::vector<zv_pnt_3d> random_points(std::mt19937 &rng, int n, bool flat) {
  return zvtest::marching_points(rng, n, flat, 0.1, 3.0, 4.0, 4.0);
}

std::vector<double> chord_parameters(const std::vector<zv_pnt_3d> &pts, int dim) {
  return zvtest::chord_parameters(pts, dim == 3);
}

// The points as dim doubles each.
std::vector<double> flattened(const std::vector<zv_pnt_3d> &pts, int dim) {
  std::vector<double> out;
  for (const zv_pnt_3d &p : pts) {
    out.insert(out.end(), {p.x, p.y});
    if (dim == 3) out.push_back(p.z);
  }
  return out;
}

// Largest difference between two arrays, relative to the larger magnitude
// of the reference (at least 1).
double relative_gap(const std::vector<double> &a, const std::vector<double> &ref) {
  double scale = 1.0, worst = 0.0;
  for (double v : ref) scale = std::max(scale, std::fabs(v));
  for (std::size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::fabs(a[i] - ref[i]));
  return a.size() == ref.size() ? worst / scale : 1e300;
}

// SISL's interpolation with given parameters and knots (s1891).
std::vector<double> sisl_fit(const std::vector<zv_pnt_3d> &pts, int dim, int p, std::vector<double> u,
                             std::vector<double> knots) {
  std::vector<double> data = flattened(pts, dim);
  std::vector<int> der(pts.size(), 0);
  double *coef = nullptr;
  int count = 0, stat = 0;
  s1891(u.data(), data.data(), dim, static_cast<int>(pts.size()), 1, der.data(), 1, knots.data(), &coef, &count,
        p + 1, 0, 0, &stat);
  std::vector<double> out;
  if (stat >= 0 && coef) out.assign(coef, coef + count * dim);
  std::free(coef);
  return out;
}

// Open CASCADE's interpolation with the flat knot vector and parameters.
std::vector<double> occt_fit(const std::vector<zv_pnt_3d> &pts, int dim, int p, const std::vector<double> &u,
                             const std::vector<double> &knots) {
  const int n = static_cast<int>(pts.size());
  TColStd_Array1OfReal flat(1, static_cast<int>(knots.size()));
  for (int i = 0; i < flat.Length(); ++i) flat(i + 1) = knots[i];
  TColStd_Array1OfReal params(1, n);
  TColStd_Array1OfInteger contact(1, n);
  TColgp_Array1OfPnt poles(1, n);
  for (int i = 0; i < n; ++i) {
    params(i + 1) = u[i];
    contact(i + 1) = 0;
    poles(i + 1) = gp_Pnt(pts[i].x, pts[i].y, dim == 3 ? pts[i].z : 0.0);
  }
  int problem = 0;
  BSplCLib::Interpolate(p, flat, params, contact, poles, problem);
  std::vector<double> out;
  if (problem != 0) return out;
  for (int i = 1; i <= n; ++i) {
    out.insert(out.end(), {poles(i).X(), poles(i).Y()});
    if (dim == 3) out.push_back(poles(i).Z());
  }
  return out;
}

// ------------------------------------------------- fits

class PeerFits : public ::testing::TestWithParam<int> {};

// Random point sets, degree 2..7, planar (mode 0 and 2) and spatial.
TEST_P(PeerFits, ControlPointsAgreeWithSislAndOpenCascade) {
  std::mt19937 rng(100 + GetParam());
  const int p = 2 + GetParam() % 6;
  const int mode = GetParam() % 3;
  const bool flat = mode != 1;
  const int n = p + 1 + static_cast<int>(rng() % 80);
  const std::vector<zv_pnt_3d> pts = random_points(rng, n, flat);
  const Fit f(pts, p, mode);
  ASSERT_EQ(f.code, 0);
  const int dim = f.dim();
  ASSERT_EQ(dim, flat ? 2 : 3);
  const std::vector<double> u = chord_parameters(pts, dim);
  std::vector<double> knots = f.knots();
  EXPECT_LT(relative_gap(f.ctrl(), sisl_fit(pts, dim, p, u, knots)), 1e-9) << "n " << n << " p " << p;
  EXPECT_LT(relative_gap(f.ctrl(), occt_fit(pts, dim, p, u, knots)), 1e-9) << "n " << n << " p " << p;

  // SISL evaluates our curve through every point at its parameter.
  std::vector<double> ctrl = f.ctrl();
  const zvpeer::SislCurve curve(newCurve(n, p + 1, knots.data(), ctrl.data(), 1, dim, 1));
  int left = 0, stat = 0;
  double at[3];
  for (int i = 0; i < n; ++i) {
    s1227(curve.get(), 0, u[i], &left, at, &stat);
    ASSERT_GE(stat, 0);
    EXPECT_LT(std::hypot(at[0] - pts[i].x, at[1] - pts[i].y, dim == 3 ? at[2] - pts[i].z : 0.0), 1e-10) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, PeerFits, ::testing::Range(0, 24));

// SISL's s1357 chooses its own knots for the given parameters; fitted with
// those parameters and knots, our control points are SISL's.
TEST(PeerFits, GivenParametersAndKnotsReproduceSislInterpolation) {
  std::mt19937 rng(7);
  for (int p = 2; p <= 7; ++p) {
    const int n = p + 1 + static_cast<int>(rng() % 30);
    const std::vector<zv_pnt_3d> pts = random_points(rng, n, false);
    std::vector<double> data = flattened(pts, 3);
    std::vector<double> u = chord_parameters(pts, 3);
    std::vector<int> type(n, 1);
    double end = 0.0;
    SISLCurve *made = nullptr;
    double *par = nullptr;
    int npar = 0, stat = 0;
    s1357(data.data(), n, 3, type.data(), u.data(), 0, 0, 1, p + 1, 0.0, &end, &made, &par, &npar, &stat);
    const zvpeer::SislCurve sisl(made);
    std::free(par);
    ASSERT_GE(stat, 0);
    ASSERT_EQ(sisl->in, n);
    const std::vector<double> knots(sisl->et, sisl->et + n + p + 1);
    const std::vector<double> coef(sisl->ecoef, sisl->ecoef + 3 * n);
    const Fit f(pts, p, 1, u.data(), knots.data());
    ASSERT_EQ(f.code, 0) << "p " << p;
    EXPECT_LT(relative_gap(f.ctrl(), coef), 1e-9) << "p " << p;
  }
}

// ------------------------------------------------- evaluators

// A random record and the same curve built by both peers (planar curves
// go to the peers in space with z = 0).
struct PeerCurve {
  std::vector<double> ctrl, knots;
  zv_nurbs_3d rec{};
  zvpeer::SislCurve sisl;
  Handle(Geom_BSplineCurve) occt;

  PeerCurve(std::mt19937 &rng, int p, bool rational, bool planar, std::vector<double> interior) {
    std::uniform_real_distribution<double> coord(-5.0, 5.0);
    std::uniform_real_distribution<double> weight(0.2, 5.0);
    const int space = planar ? 2 : 3;
    const int dim = space + (rational ? 1 : 0);
    knots.assign(p + 1, 0.0);
    knots.insert(knots.end(), interior.begin(), interior.end());
    knots.insert(knots.end(), p + 1, 1.0);
    const int n = static_cast<int>(knots.size()) - p - 1;
    std::vector<zv_pnt_3d> poles;
    std::vector<double> weights;
    for (int i = 0; i < n; ++i) {
      const double w = rational ? weight(rng) : 1.0;
      const double xyz[3] = {coord(rng), coord(rng), planar ? 0.0 : coord(rng)};
      for (int c = 0; c < space; ++c) ctrl.push_back(xyz[c] * w);
      if (rational) ctrl.push_back(w);
      poles.push_back({xyz[0], xyz[1], xyz[2]});
      weights.push_back(w);
    }
    rec.last_ctrl = static_cast<int16_t>(n - 1);
    rec.last_knot = static_cast<int16_t>(knots.size() - 1);
    rec.degree = static_cast<int16_t>(p);
    rec.plain = rational ? 0 : 1;
    rec.planar = planar ? 1 : 0;
    rec.dim = static_cast<int16_t>(dim);
    rec.ctrl_pts = ctrl.data();
    rec.knots = knots.data();
    sisl = rational ? zvpeer::sisl_rational_bspline(poles, weights, knots, p + 1)
                    : zvpeer::sisl_bspline(poles, knots, p + 1);
    occt = rational ? zvpeer::occt_rational_bspline(poles, weights, knots, p) : zvpeer::occt_bspline(poles, knots, p);
  }
};

// Our point and derivatives from one side as nine doubles.
std::vector<double> ours(const PeerCurve &c, double t, int side) {
  zv_pnt_3d q{}, d1{}, d2{};
  int16_t status = 0;
  EXPECT_EQ(zv_eval_derivsoncurve_3d(&c.rec, t, static_cast<int16_t>(side), 1, &q, &d1, &d2, &status), 0);
  return {q.x, q.y, q.z, d1.x, d1.y, d1.z, d2.x, d2.y, d2.z};
}

// SISL's point and derivatives from the right (s1221) or the left (s1227).
std::vector<double> sisl_eval(const PeerCurve &c, double t, int side) {
  std::vector<double> out(9, 0.0);
  int left = 0, stat = 0;
  (side < 0 ? s1227 : s1221)(c.sisl.get(), 2, t, &left, out.data(), &stat);
  EXPECT_GE(stat, 0);
  return out;
}

std::vector<double> occt_eval(const PeerCurve &c, double t) {
  const zvpeer::Jet j = zvpeer::occt_jet(GeomAdaptor_Curve(c.occt), t);
  return {j.point.x, j.point.y, j.point.z, j.first.x, j.first.y, j.first.z, j.second.x, j.second.y, j.second.z};
}

// Each of point, first and second derivative within 1e-12 of the
// reference's magnitude.
void expect_close(const std::vector<double> &a, const std::vector<double> &ref, const char *what, double t) {
  for (int k = 0; k < 3; ++k) {
    const std::vector<double> x(a.begin() + 3 * k, a.begin() + 3 * k + 3);
    const std::vector<double> y(ref.begin() + 3 * k, ref.begin() + 3 * k + 3);
    EXPECT_LT(relative_gap(x, y), zvpeer::kRelativeTolerance) << what << " order " << k << " at t " << t;
  }
}

class PeerEvaluation : public ::testing::TestWithParam<int> {};

TEST_P(PeerEvaluation, PointAndDerivativesAgreeWithSislAndOpenCascade) {
  std::mt19937 rng(500 + GetParam());
  const int p = 1 + GetParam() % 7;
  const bool rational = GetParam() % 2 == 1;
  const bool planar = GetParam() % 4 >= 2;
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<double> interior(static_cast<std::size_t>(rng() % 10));
  for (double &v : interior) v = unit(rng);
  std::sort(interior.begin(), interior.end());
  const PeerCurve c(rng, p, rational, planar, interior);
  for (int k = 0; k < 40; ++k) {
    const double t = unit(rng);
    const std::vector<double> right = ours(c, t, 1);
    expect_close(right, sisl_eval(c, t, 1), "s1221", t);
    expect_close(ours(c, t, -1), sisl_eval(c, t, -1), "s1227", t);
    expect_close(right, occt_eval(c, t), "Open CASCADE", t);
    zv_pnt_3d q{};
    zv_eval_pointoncurve_3d(&c.rec, t, &q);
    expect_close({q.x, q.y, q.z, right[3], right[4], right[5], right[6], right[7], right[8]}, right, "point", t);
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
      for (double t : {0.2, 0.45, 0.7}) {
        expect_close(ours(c, t, 1), sisl_eval(c, t, 1), "s1221", t);
        expect_close(ours(c, t, -1), sisl_eval(c, t, -1), "s1227", t);
      }
    }
  }
}

}  // namespace
