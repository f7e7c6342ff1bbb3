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

}  // namespace
