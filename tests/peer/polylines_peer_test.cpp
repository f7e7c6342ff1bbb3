// Direct polylines against independent evaluations of the same curves:
// Bezier samples of every degree against the Bernstein sum in long double,
// SISL's clamped B-spline and Open CASCADE's Bezier curve (degree <= 25);
// the cubic and quadratic B-spline polylines against SISL and Open CASCADE
// on uniform knots; the Catmull-Rom polyline against its cubic Bezier form.
#include <functional>

#include "peer_support.hpp"

namespace {

using namespace zvpeer;
using Points = std::vector<zv_pnt_3d>;

// The worst distance of the samples from a reference, relative to the polygon.
double worst(const Points &ours, const Points &p, const std::function<Vec3(size_t)> &reference) {
  double w = 0.0;
  for (size_t i = 0; i < ours.size(); ++i) w = std::max(w, max_abs(vec(ours[i]) - reference(i)));
  return w / polygon_scale(p);
}

// SISL's point at u from the right, keeping the span hint.
Vec3 sisl_at(SISLCurve *c, double u, int &left) {
  Jet j;
  EXPECT_GE(sisl_jet(c, u, left, j), 0);
  return j.point;
}

Points polyline(const Points &p, const std::function<int16_t(ll_list *, ll_list *)> &call) {
  ll_list *ctrl = zvtest::make_polygon(p), *out = ll_create_list();
  EXPECT_EQ(call(ctrl, out), 0);
  Points v = zvtest::positions(out);
  ll_purge_list(out), ll_purge_list(ctrl);
  return v;
}

TEST(PolylinesPeer, BezierSamplesOfEveryDegree) {
  for (int degree = 2; degree <= 29; ++degree) {
    for (unsigned seed = 0; seed < 4; ++seed) {
      const Points p = zvtest::random_points(degree + 1, 1000 * degree + seed);
      Points out(101);
      ASSERT_EQ(zv_beziercurve3d(p.data(), static_cast<int16_t>(p.size()), 101, out.data()), 0);
      const auto t = [](size_t i) { return static_cast<double>(i) * zv_inverse(100); };
      const SislCurve sisl = sisl_bspline(p, bezier_knots(degree), degree + 1);
      int left = 0;
      EXPECT_LT(worst(out, p, [&](size_t i) { return vec(zvtest::bernstein_point(p, {}, t(i))); }), 1e-14) << degree;
      EXPECT_LT(worst(out, p, [&](size_t i) { return sisl_at(sisl.get(), t(i), left); }), 1e-14) << degree;
      if (degree <= Geom_BezierCurve::MaxDegree()) {
        const Handle(Geom_BezierCurve) occt = occt_bezier(p);
        EXPECT_LT(worst(out, p, [&](size_t i) { return vec(occt->Value(t(i))); }), 1e-14) << degree;
      }
    }
  }
}

// Segment j of the cubic (quadratic) polyline is the uniform B-spline on
// knots 0, 1, 2, ... between u = 3 + j (2 + j) and 4 + j (3 + j); the
// quadratic samples at the accumulated steps of its mode.
TEST(PolylinesPeer, BSplinePolylinesAreTheUniformBSplines) {
  for (unsigned seed = 0; seed < 12; ++seed) {
    const int n = 4 + static_cast<int>(seed);
    const int16_t mode = static_cast<int16_t>(seed % 7);
    const Points p = zvtest::random_points(n, 50 + seed);
    int16_t points = 40, count = 0;
    const Points cubic = polyline(p, [&](ll_list *c, ll_list *o) { return zv_bspline_3d(n, c, &points, o); });
    const Points quad = polyline(p, [&](ll_list *c, ll_list *o) { return zv_quad_bspline_3d(n, c, mode, &count, o); });
    const double h = std::vector<double>{0.01, 0.02, 0.04, 0.05, 0.1, 0.2, 0.5}[mode];
    const size_t m = (cubic.size() - 1) / (n - 3), per = quad.size() / (n - 2);
    ASSERT_EQ(cubic.size(), (n - 3) * m + 1);
    ASSERT_EQ(per, size_t(std::vector<int>{101, 51, 26, 21, 11, 6, 3}[mode]));
    std::vector<double> u_cubic, u_quad;
    for (size_t i = 0; i < cubic.size(); ++i) u_cubic.push_back(3.0 + static_cast<double>(i) / m);
    for (int j = 0; j < n - 2; ++j) {
      double t = 0.0;
      for (size_t i = 0; i < per; ++i, t = t + h) u_quad.push_back(std::min(2.0 + j + t, static_cast<double>(n)));  // the last t may pass 1 by an ulp
    }
    for (int order : {4, 3}) {
      const Points &ours = order == 4 ? cubic : quad;
      const std::vector<double> &u = order == 4 ? u_cubic : u_quad;
      const SislCurve sisl = sisl_bspline(p, uniform_knots(n + order), order);
      const Handle(Geom_BSplineCurve) occt = occt_bspline(p, uniform_knots(n + order), order - 1);
      int left = 0;
      EXPECT_LT(worst(ours, p, [&](size_t i) { return sisl_at(sisl.get(), u[i], left); }), 1e-13) << n << " order " << order;
      EXPECT_LT(worst(ours, p, [&](size_t i) { return vec(occt->Value(u[i])); }), 1e-13) << n << " order " << order;
    }
  }
}

// A cardinal segment of tension s over P0..P3 is the cubic Bezier curve
// P1, P1 + s (P2 - P0)/3, P2 - s (P3 - P1)/3, P2.
TEST(PolylinesPeer, CatmullRomSegmentsAreTheirBezierForms) {
  for (double s : {0.0, 0.5, 1.0, -0.7}) {
    const Points p = zvtest::random_points(7, 90);
    int16_t count = 0;
    const Points v = polyline(p, [&](ll_list *c, ll_list *o) { return zv_catrom_curve_3d(7, c, 3, s, &count, o); });
    ASSERT_EQ(v.size(), 4u * 20 + 1);
    for (int j = 0; j < 4; ++j) {
      const zv_pnt_3d *w = &p[j];
      const auto lerp = [&](const zv_pnt_3d &a, const zv_pnt_3d &b, const zv_pnt_3d &c) {
        return zv_pnt_3d{a.x + s / 3 * (b.x - c.x), a.y + s / 3 * (b.y - c.y), a.z + s / 3 * (b.z - c.z)};
      };
      const Handle(Geom_BezierCurve) occt = occt_bezier({w[1], lerp(w[1], w[2], w[0]), lerp(w[2], w[1], w[3]), w[2]});
      std::vector<double> ts(20, 0.0);
      for (int i = 1; i < 20; ++i) ts[i] = ts[i - 1] + 0.05;
      EXPECT_LT(worst({v.begin() + 20 * j, v.begin() + 20 * j + 20}, p, [&](size_t i) { return vec(occt->Value(ts[i])); }), 1e-13)
          << s << " segment " << j;
    }
  }
}

}  // namespace
