// The curve through n points: argument checks and codes, the record's
// fields, the Bezier and line cases, given knots off the clamped ends and
// wider bands, int16 limits, and refused memory at every allocation. Random
// fits of every degree against SISL and Open CASCADE are in tests/peer.
#include "fitted_record.hpp"
#include "zv_testing.hpp"

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using Fit = zvtest::FittedRecord;
using zvtest::chord_parameters;

std::vector<zv_pnt_3d> random_points(std::mt19937 &rng, int n, bool flat) {
  return zvtest::marching_points(rng, n, flat, 0.2, 2.0, 3.0, 2.0);
}

double gap(const zv_pnt_3d &q, const zv_pnt_3d &p, bool spatial) {
  return std::hypot(q.x - p.x, q.y - p.y, spatial ? q.z - p.z : 0.0);
}

// ------------------------------------------------- argument checks and codes

class CurveThroughPoints : public zvtest::KernelTest {};

TEST_F(CurveThroughPoints, BadArgumentsReturnOneWithNullResult) {
  const std::vector<zv_pnt_3d> pts = {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}, {4, 0, 0}};
  const std::vector<double> params = {0, 0.25, 0.5, 0.75, 1};
  std::vector<double> knots = {0, 0, 0, 0, 0.5, 1, 1, 1, 1};
  zv_nurbs_3d sentinel{};
  auto call = [&](const zv_pnt_3d *p, int n, int deg, int given, const double *u, const double *k, int mode) {
    zv_nurbs_3d *rec = &sentinel;
    const int16_t code = zv_curve_thru_npoints_3d(p, static_cast<int16_t>(n), static_cast<int16_t>(deg),
                                                  static_cast<int16_t>(given), u, k, static_cast<int16_t>(mode), &rec);
    EXPECT_EQ(rec, nullptr);
    return code;
  };
  EXPECT_EQ(call(pts.data(), 5, 0, 0, nullptr, nullptr, 1), 1);   // degree below 1
  EXPECT_EQ(call(pts.data(), 5, -3, 0, nullptr, nullptr, 1), 1);
  EXPECT_EQ(call(pts.data(), 20, 8, 0, nullptr, nullptr, 1), 1);  // degree above 7, whatever n
  EXPECT_EQ(call(pts.data(), 3, 3, 0, nullptr, nullptr, 1), 1);   // n < p + 1
  EXPECT_EQ(call(pts.data(), -5, 1, 0, nullptr, nullptr, 1), 1);
  EXPECT_EQ(call(pts.data(), 5, 3, 0, nullptr, nullptr, -1), 1);  // modes outside 0..2
  EXPECT_EQ(call(pts.data(), 5, 3, 0, nullptr, nullptr, 3), 1);
  EXPECT_EQ(call(nullptr, 5, 3, 0, nullptr, nullptr, 1), 1);
  EXPECT_EQ(call(pts.data(), 5, 3, 1, nullptr, knots.data(), 1), 1);
  EXPECT_EQ(call(pts.data(), 5, 3, 1, params.data(), nullptr, 1), 1);
  EXPECT_EQ(call(pts.data(), 32767, 3, 0, nullptr, nullptr, 1), 1);  // n + p past int16
  knots[4] = 1.5;                                                      // decreasing
  EXPECT_EQ(call(pts.data(), 5, 3, 1, params.data(), knots.data(), 1), 1);
  knots[4] = kNaN;
  EXPECT_EQ(call(pts.data(), 5, 3, 1, params.data(), knots.data(), 1), 1);
  EXPECT_EQ(zv_curve_thru_npoints_3d(pts.data(), 5, 3, 0, nullptr, nullptr, 1, nullptr), 1);
}

TEST_F(CurveThroughPoints, NoLengthOrSingularSystemReturnsTwo) {
  const double inf = std::numeric_limits<double>::infinity();
  for (int p : {1, 3}) {
    EXPECT_EQ(Fit(std::vector<zv_pnt_3d>(6, {1, 2, 3}), p).code, 2);
    EXPECT_EQ(Fit({{0, 0, 0}, {1e-8, 0, 0}, {2e-8, 0, 0}, {3e-8, 0, 0}}, p).code, 2);
    EXPECT_EQ(Fit({{0, 0, 0}, {1, kNaN, 0}, {2, 0, 0}, {3, 0, 0}}, p).code, 2);
    EXPECT_EQ(Fit({{0, 0, 0}, {1, 1, 0}, {inf, 0, 0}, {3, 0, 0}}, p).code, 2);
  }
  // Differences in z alone are no length in the plane.
  EXPECT_EQ(Fit({{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}}, 3, 0).code, 2);
  // A repeated point inside makes two equal rows.
  EXPECT_EQ(Fit({{0, 0, 0}, {1, 1, 0}, {1, 1, 0}, {3, 0, 0}, {4, 1, 0}}, 3).code, 2);
  // Given parameters that leave a basis function without its point.
  const std::vector<zv_pnt_3d> pts = {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}, {4, 0, 0}};
  const std::vector<double> knots = {0, 0, 0, 0, 0.5, 1, 1, 1, 1};
  const std::vector<double> crowded = {0, 0.1, 0.2, 0.3, 0.4};
  EXPECT_EQ(Fit(pts, 3, 1, crowded.data(), knots.data()).code, 2);
}

// ------------------------------------------------- the record and small cases

TEST_F(CurveThroughPoints, FourPointsCubicIsTheBezierFit) {
  const std::vector<zv_pnt_3d> pts = {{0, 0, 0}, {1, 2, 1}, {3, 3, 0}, {4, 0, 2}};
  const Fit f(pts, 3);
  ASSERT_EQ(f.code, 0);
  EXPECT_EQ(zvtest::value(f.rec->last_ctrl), 3);
  EXPECT_EQ(zvtest::value(f.rec->last_knot), 7);
  EXPECT_EQ(zvtest::value(f.rec->degree), 3);
  EXPECT_EQ(zvtest::value(f.rec->plain), 1);
  EXPECT_EQ(zvtest::value(f.rec->is_line), 0);
  EXPECT_EQ(zvtest::value(f.rec->open_ends), 1);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(f.knot(i), i < 4 ? 0.0 : 1.0);
  // The Bernstein form of the fitted control points meets every point at
  // its chord-length parameter; the ends are the end points exactly.
  const std::vector<double> u = chord_parameters(pts, true);
  for (int i = 0; i < 4; ++i) {
    const double t = u[i], s = 1 - t;
    const double b[4] = {s * s * s, 3 * s * s * t, 3 * s * t * t, t * t * t};
    for (int c = 0; c < 3; ++c) {
      double sum = 0;
      for (int j = 0; j < 4; ++j) sum += b[j] * f.ctrl(j, c);
      const double want = c == 0 ? pts[i].x : c == 1 ? pts[i].y : pts[i].z;
      EXPECT_NEAR(sum, want, 1e-13);
    }
  }
  EXPECT_EQ(f.ctrl(0, 1), 0.0);
  EXPECT_EQ(f.ctrl(3, 2), 2.0);
}

TEST_F(CurveThroughPoints, TwoPointsDegreeOneIsALine) {
  const Fit f({{1, 2, 3}, {4, 6, 3}}, 1);
  ASSERT_EQ(f.code, 0);
  EXPECT_EQ(zvtest::value(f.rec->is_line), 1);
  const double want[] = {1, 2, 3, 4, 6, 3};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(f.rec->ctrl_pts[i], want[i]);
  const double knots[] = {0, 0, 1, 1};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(f.knot(i), knots[i]);
  // Three points at degree 1: a polyline, not a line.
  const Fit g({{0, 0, 0}, {1, 0, 0}, {1, 3, 0}}, 1);
  EXPECT_EQ(zvtest::value(g.rec->is_line), 0);
  EXPECT_EQ(g.knot(2), 0.25);
}

TEST_F(CurveThroughPoints, ModesChooseTheCoordinatesAndEndsAreTested) {
  const std::vector<zv_pnt_3d> flat = {{0, 0, 0}, {1, 2, 0}, {3, 2, 1e-8}, {4, 0, 0}, {0, 0, 0}};
  const Fit auto_flat(flat, 3, 2), plane(flat, 3, 0), space(flat, 3, 1);
  ASSERT_EQ(auto_flat.code, 0);
  EXPECT_EQ(zvtest::value(auto_flat.rec->dim), 2);
  EXPECT_EQ(zvtest::value(auto_flat.rec->planar), 1);
  EXPECT_EQ(zvtest::value(space.rec->dim), 3);
  EXPECT_EQ(zvtest::value(space.rec->planar), 0);
  EXPECT_EQ(zvtest::value(auto_flat.rec->open_ends), 0);  // first equals last: closed
  const std::vector<double> u = chord_parameters(flat, false);
  EXPECT_EQ(auto_flat.knot(4), (u[1] + u[2] + u[3]) / 3);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(auto_flat.knot(i), plane.knot(i));

  std::vector<zv_pnt_3d> lifted = flat;
  lifted[2].z = 2e-7;
  lifted[4].x = 1.5e-7;  // squared end gap above 1e-14: open
  const Fit spatial(lifted, 3, 2);
  EXPECT_EQ(zvtest::value(spatial.rec->dim), 3);
  EXPECT_EQ(zvtest::value(spatial.rec->planar), 0);
  EXPECT_EQ(zvtest::value(spatial.rec->open_ends), 1);
}

// ------------------------------------------------- the curve meets its points

TEST_F(CurveThroughPoints, GivenKnotsOffTheClampedEndsStillMeetEveryPoint) {
  // Uniform unclamped knots: the domain is [knots[p], knots[n]], and the end
  // rows hold basis functions, not unit rows.
  std::mt19937 rng(8);
  const std::vector<zv_pnt_3d> pts = random_points(rng, 9, false);
  const int p = 3;
  std::vector<double> knots, params;
  for (int j = 0; j <= 9 + p; ++j) knots.push_back(j);
  for (int i = 0; i < 9; ++i) params.push_back(3.0 + 6.0 * (i + 0.01) / 9.0);
  const Fit f(pts, p, 1, params.data(), knots.data());
  ASSERT_EQ(f.code, 0);
  for (int i = 0; i < 9; ++i) {
    zv_pnt_3d q{};
    zv_eval_pointoncurve_3d(f.rec, params[i], &q);
    EXPECT_LT(gap(q, pts[i], true), 1e-10) << i;
  }
}

TEST_F(CurveThroughPoints, GivenParametersNeedingAWiderBand) {
  // The parameter of point 1 lies in the span of control points 1..3, two
  // columns right of its diagonal: the band widens from p - 1 to p.
  const std::vector<zv_pnt_3d> pts = {{0, 0, 0}, {1, 2, 0}, {2, -1, 1}, {3, 1, 0}, {4, 0, 2}, {5, 1, 1}};
  const std::vector<double> knots = {0, 0, 0, 0.25, 0.5, 0.75, 1, 1, 1};
  const std::vector<double> params = {0, 0.3, 0.45, 0.6, 0.8, 1};
  const Fit f(pts, 2, 1, params.data(), knots.data());
  ASSERT_EQ(f.code, 0);
  for (int i = 0; i < 6; ++i) {
    zv_pnt_3d q{};
    zv_eval_pointoncurve_3d(f.rec, params[i], &q);
    EXPECT_LT(gap(q, pts[i], true), 1e-12) << i;
  }
  // Degree 1 with parameters between the knots is solved, not copied.
  const std::vector<double> line_knots = {0, 0, 0.5, 1, 1};
  const std::vector<double> line_params = {0, 0.4, 1};
  const Fit g({{0, 0, 0}, {2, 2, 0}, {4, 0, 0}}, 1, 1, line_params.data(), line_knots.data());
  ASSERT_EQ(g.code, 0);
  zv_pnt_3d q{};
  zv_eval_pointoncurve_3d(g.rec, 0.4, &q);
  EXPECT_LT(gap(q, {2, 2, 0}, true), 1e-12);
}

TEST_F(CurveThroughPoints, LongestInputFitsAtInt16Limits) {
  std::mt19937 rng(1);
  const int p = 3;
  const std::vector<zv_pnt_3d> pts = random_points(rng, 32767 - p, false);
  const Fit f(pts, p);
  ASSERT_EQ(f.code, 0);
  EXPECT_EQ(zvtest::value(f.rec->last_knot), 32767);
  const std::vector<double> u = chord_parameters(pts, true);
  for (int i : {0, 1, 16000, 32762, 32763}) {
    zv_pnt_3d q{};
    zv_eval_pointoncurve_3d(f.rec, u[i], &q);
    EXPECT_LT(gap(q, pts[i], true), 1e-9) << i;
  }
}

// ------------------------------------------------- refused memory

TEST_F(CurveThroughPoints, EveryRefusedAllocationReturnsThreeAndLeavesNothing) {
  std::mt19937 rng(4);
  const std::vector<zv_pnt_3d> pts = random_points(rng, 12, false);
  std::vector<double> knots = {0, 0, 0, 0.25, 0.5, 0.75, 1, 1, 1};
  std::vector<double> params = {0, 0.3, 0.45, 0.6, 0.8, 1};  // widens the band
  struct Case {
    const char *what;
    int n, p;
    bool given;
  };
  for (const Case &c : {Case{"cubic", 12, 3, false}, Case{"degree 1", 12, 1, false}, Case{"given", 6, 2, true}}) {
    int16_t code = 3;
    for (long budget = 0; code == 3 && budget < 20; ++budget) {
      const long blocks = zv_live_blocks();
      zv_nurbs_3d *rec = reinterpret_cast<zv_nurbs_3d *>(&rng);
      zv_fail_alloc_after(budget);
      code = zv_curve_thru_npoints_3d(pts.data(), static_cast<int16_t>(c.n), static_cast<int16_t>(c.p), c.given,
                                      params.data(), knots.data(), 1, &rec);
      zv_fail_alloc_after(-1);
      if (code == 3) {
        EXPECT_EQ(rec, nullptr) << c.what << " budget " << budget;
        EXPECT_EQ(zv_live_blocks(), blocks) << c.what << " budget " << budget;
      } else {
        ASSERT_EQ(code, 0) << c.what;
        EXPECT_GE(budget, 3) << c.what;  // record, knots, control points at least
        zv_free(rec->ctrl_pts);
        zv_free(rec->knots);
        zv_free(rec);
      }
    }
    EXPECT_EQ(code, 0) << c.what;
  }
  EXPECT_TRUE(reports.memerrs.empty());  // code 3 comes without a message
}

}  // namespace
