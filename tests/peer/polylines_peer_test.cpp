// Direct polylines against independent evaluations of the same curves:
// every Bezier sample against the plain Bernstein sum in long double, Open
// CASCADE's Bezier curve (degree <= 25) and SISL's clamped B-spline (every
// degree), with the worst relative error per degree printed; the cubic and
// quadratic B-spline polylines against SISL and Open CASCADE on uniform
// knots; the Catmull-Rom polyline against its cubic Bezier form in Open
// CASCADE.
#include <cstdio>
#include <functional>

#include "../polylines/polyline_testing.hpp"
#include "peer_support.hpp"

namespace {

using Points = std::vector<zv_pnt_3d>;
using polytest::bernstein;
using polytest::random_points;
using zvpeer::polygon_scale;

// Agreement bounds relative to the polygon's scale: Bezier samples of every
// degree (worst seen 1.5e-15), and the spline polylines.
constexpr double kBezierRelative = 1e-14;
constexpr double kRelative = 1e-13;

double distance(const zv_pnt_3d &a, const zvpeer::Vec3 &b) { return zvpeer::max_abs(zvpeer::vec(a) - b); }

// Positions of a SISL curve, from the right, keeping the span hint.
struct SislPoints {
  explicit SislPoints(zvpeer::SislCurve c) : curve(std::move(c)) {}
  zvpeer::Vec3 at(double u) {
    zvpeer::Jet j;
    EXPECT_GE(zvpeer::sisl_jet(curve.get(), u, left, j), 0);
    return j.point;
  }
  zvpeer::SislCurve curve;
  int left = 0;
};

// Calls a polyline function on a new polygon and gives the vertices.
std::vector<zvtest::Vertex> polyline(const Points &p, const std::function<int16_t(ll_list *, ll_list *)> &call) {
  ll_list *ctrl = zvtest::make_polygon(p);
  ll_list *out = ll_create_list();
  EXPECT_EQ(call(ctrl, out), 0);
  auto v = zvtest::vertices(out);
  ll_purge_list(out);
  ll_purge_list(ctrl);
  return v;
}

zv_pnt_3d at(const zvtest::Vertex &v) { return {v.x, v.y, v.z}; }

// ------------------------------------------------------------------ Bezier

// Every sample of 101 over 8 random polygons per degree, against three
// references; the worst error relative to the largest control coordinate
// is printed per degree.
TEST(PolylinesPeer, BezierSamplesAgreeWithBernsteinOcctAndSisl) {
  const int16_t samples = 101;
  std::printf("degree  vs Bernstein (long double)  vs Open CASCADE  vs SISL\n");
  for (int degree = 2; degree <= 29; ++degree) {
    double worst_sum = 0, worst_occt = 0, worst_sisl = 0;
    for (unsigned seed = 0; seed < 8; ++seed) {
      const Points p = random_points(degree + 1, 1000 * degree + seed);
      const double scale = polygon_scale(p);
      std::vector<zv_pnt_3d> out(samples);
      ASSERT_EQ(zv_beziercurve3d(p.data(), static_cast<int16_t>(p.size()), samples, out.data()), 0);

      SislPoints sisl(zvpeer::sisl_bspline(p, zvpeer::bezier_knots(degree), degree + 1));
      Handle(Geom_BezierCurve) occt;
      if (degree <= Geom_BezierCurve::MaxDegree()) occt = zvpeer::occt_bezier(p);

      for (int i = 0; i < samples; ++i) {
        const double t = i * zv_inverse(samples - 1);
        worst_sum = std::max(worst_sum, distance(out[i], zvpeer::vec(bernstein(p, t))) / scale);
        worst_sisl = std::max(worst_sisl, distance(out[i], sisl.at(t)) / scale);
        if (!occt.IsNull()) worst_occt = std::max(worst_occt, distance(out[i], zvpeer::vec(occt->Value(t))) / scale);
      }
    }
    if (degree <= Geom_BezierCurve::MaxDegree()) {
      std::printf("%6d  %26.2e  %14.2e  %7.2e\n", degree, worst_sum, worst_occt, worst_sisl);
    } else {
      std::printf("%6d  %26.2e  %14s  %7.2e\n", degree, worst_sum, "-", worst_sisl);
    }
    EXPECT_LT(worst_sum, kBezierRelative) << degree;
    EXPECT_LT(worst_occt, kBezierRelative) << degree;
    EXPECT_LT(worst_sisl, kBezierRelative) << degree;
  }
}

// ---------------------------------------------------------------- B-splines

// Segment j of the cubic polyline is the uniform cubic B-spline on knots
// 0, 1, 2, ... between u = 3 + j and 4 + j.
TEST(PolylinesPeer, CubicBSplinePolylineIsTheUniformBSpline) {
  for (unsigned seed = 0; seed < 12; ++seed) {
    const int n = 4 + static_cast<int>(seed);
    const Points p = random_points(n, 50 + seed);
    int16_t points = 40;
    const auto v = polyline(p, [&](ll_list *ctrl, ll_list *out) { return zv_bspline_3d(n, ctrl, &points, out); });
    const int m = static_cast<int>((v.size() - 1) / (n - 3));
    ASSERT_EQ(v.size(), size_t((n - 3) * m + 1));
    SislPoints sisl(zvpeer::sisl_bspline(p, zvpeer::uniform_knots(n + 4), 4));
    const Handle(Geom_BSplineCurve) occt = zvpeer::occt_bspline(p, zvpeer::uniform_knots(n + 4), 3);
    const double scale = polygon_scale(p);
    for (size_t i = 0; i < v.size(); ++i) {
      const double u = 3.0 + static_cast<double>(i) / m;
      EXPECT_LT(distance(at(v[i]), sisl.at(u)) / scale, kRelative) << n << " " << i;
      EXPECT_LT(distance(at(v[i]), zvpeer::vec(occt->Value(u))) / scale, kRelative) << n << " " << i;
    }
  }
}

// Segment j of the quadratic polyline is the uniform quadratic B-spline on
// knots 0, 1, 2, ... between u = 2 + j and 3 + j, sampled at the
// accumulated steps of the mode.
TEST(PolylinesPeer, QuadraticBSplinePolylineIsTheUniformBSpline) {
  for (unsigned seed = 0; seed < 12; ++seed) {
    const int n = 3 + static_cast<int>(seed);
    const int16_t mode = static_cast<int16_t>(seed % 7);
    const Points p = random_points(n, 80 + seed);
    int16_t count = 0;
    const auto v =
        polyline(p, [&](ll_list *ctrl, ll_list *out) { return zv_quad_bspline_3d(n, ctrl, mode, &count, out); });
    const double steps[] = {0.01, 0.02, 0.04, 0.05, 0.1, 0.2, 0.5};
    const int per_points[] = {101, 51, 26, 21, 11, 6, 3};
    const double h = steps[mode];
    const int per_segment = per_points[mode];
    ASSERT_EQ(v.size(), size_t((n - 2) * per_segment));
    SislPoints sisl(zvpeer::sisl_bspline(p, zvpeer::uniform_knots(n + 3), 3));
    const Handle(Geom_BSplineCurve) occt = zvpeer::occt_bspline(p, zvpeer::uniform_knots(n + 3), 2);
    const double scale = polygon_scale(p);
    for (int j = 0; j < n - 2; ++j) {
      double t = 0.0;
      for (int i = 0; i < per_segment; ++i, t = t + h) {
        const double u = std::min(2.0 + j + t, static_cast<double>(n));  // the last t may pass 1 by an ulp
        const auto &w = v[j * per_segment + i];
        EXPECT_LT(distance(at(w), sisl.at(u)) / scale, kRelative) << n << " " << j << " " << i;
        EXPECT_LT(distance(at(w), zvpeer::vec(occt->Value(u))) / scale, kRelative) << n << " " << j << " " << i;
      }
    }
  }
}

// ------------------------------------------------------------- Catmull-Rom

// A cardinal segment of tension s over P0..P3 is the cubic Bezier curve
// P1, P1 + s (P2 - P0)/3, P2 - s (P3 - P1)/3, P2.
TEST(PolylinesPeer, CatmullRomSegmentsAreTheirBezierForms) {
  for (double s : {0.0, 0.5, 1.0, -0.7}) {
    const Points p = random_points(7, 90);
    int16_t count = 0;
    const auto v = polyline(p, [&](ll_list *ctrl, ll_list *out) { return zv_catrom_curve_3d(7, ctrl, 3, s, &count, out); });
    ASSERT_EQ(v.size(), 4u * 20 + 1);
    const double scale = polygon_scale(p);
    for (int j = 0; j < 4; ++j) {
      const zv_pnt_3d *w = &p[j];
      auto lerp = [&](const zv_pnt_3d &a, const zv_pnt_3d &b, const zv_pnt_3d &c, double f) {
        return zv_pnt_3d{a.x + f * (b.x - c.x), a.y + f * (b.y - c.y), a.z + f * (b.z - c.z)};
      };
      const Points bez = {w[1], lerp(w[1], w[2], w[0], s / 3), lerp(w[2], w[1], w[3], s / 3), w[2]};
      const Handle(Geom_BezierCurve) occt = zvpeer::occt_bezier(bez);
      double t = 0.0;
      for (int i = 0; i < 20; ++i, t = t + 0.05) {
        EXPECT_LT(distance(at(v[j * 20 + i]), zvpeer::vec(occt->Value(t))) / scale, kRelative) << s << " " << j << " " << i;
      }
    }
  }
}

}  // namespace
