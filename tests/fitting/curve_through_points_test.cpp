// The curve through n points: the record's fields by mode, lines, the
// averaged knots, given knots off the clamped ends and wider bands, and the
// int16 limits. Random fits of every degree against SISL and Open CASCADE
// are in tests/peer.
#include "fitted_record.hpp"
#include "zv_testing.hpp"

namespace {

using Fit = zvtest::FittedRecord;

class CurveThroughPoints : public zvtest::KernelTest {};

// The curve at each given parameter lies on its point.
void expect_through(const Fit &f, const std::vector<zv_pnt_3d> &pts, const std::vector<double> &params, double tol) {
  ASSERT_EQ(f.code, 0);
  for (size_t i = 0; i < pts.size(); ++i) {
    zv_pnt_3d q{};
    ASSERT_EQ(zv_eval_pointoncurve_3d(f.rec, params[i], &q), 0);
    EXPECT_LT(std::hypot(q.x - pts[i].x, q.y - pts[i].y, q.z - pts[i].z), tol) << i;
  }
}

TEST_F(CurveThroughPoints, RecordFieldsByModeAndCase) {
  const std::vector<zv_pnt_3d> flat = {{0, 0, 0}, {1, 2, 0}, {3, 2, 1e-8}, {4, 0, 0}, {0, 0, 0}};
  const Fit auto_flat(flat, 3, 2), plane(flat, 3, 0), space(flat, 3, 1);
  ASSERT_EQ(auto_flat.code + plane.code + space.code, 0);
  const zv_nurbs_3d &r = *auto_flat.rec;
  EXPECT_TRUE(r.last_ctrl == 4 && r.last_knot == 8 && r.degree == 3 && r.plain == 1 && r.is_line == 0);
  EXPECT_TRUE(r.dim == 2 && r.planar == 1 && r.open_ends == 0);  // first equals last: closed
  EXPECT_TRUE(space.rec->dim == 3 && space.rec->planar == 0);
  const std::vector<double> u = zvtest::chord_parameters(flat, false);
  EXPECT_EQ(auto_flat.knots(), (std::vector<double>{0, 0, 0, 0, (u[1] + u[2] + u[3]) / 3, 1, 1, 1, 1}));
  EXPECT_EQ(plane.knots(), auto_flat.knots());
  EXPECT_EQ(auto_flat.ctrl(0, 1), 0.0);  // the end points are the end control points
  std::vector<zv_pnt_3d> lifted = flat;
  lifted[2].z = 2e-7;
  lifted[4].x = 1.5e-7;  // squared end gap above 1e-14: open
  const Fit spatial(lifted, 3, 2);
  EXPECT_TRUE(spatial.rec->dim == 3 && spatial.rec->planar == 0 && spatial.rec->open_ends == 1);

  const Fit line({{1, 2, 3}, {4, 6, 3}}, 1), polyline({{0, 0, 0}, {1, 0, 0}, {1, 3, 0}}, 1);
  EXPECT_EQ(zvtest::value(line.rec->is_line), 1);
  EXPECT_EQ(line.ctrl(), (std::vector<double>{1, 2, 3, 4, 6, 3}));
  EXPECT_EQ(line.knots(), (std::vector<double>{0, 0, 1, 1}));
  EXPECT_EQ(zvtest::value(polyline.rec->is_line), 0);
  EXPECT_EQ(polyline.knot(2), 0.25);
}

// Given parameters off a clamped end put basis functions in the end rows,
// and a parameter two columns right of its diagonal widens the band; the
// curve still passes through every point at its parameter.
TEST_F(CurveThroughPoints, GivenParametersAndKnotsOffTheClampedEnds) {
  std::mt19937 rng(8);
  const std::vector<zv_pnt_3d> pts = zvtest::marching_points(rng, 9, false, 0.2, 2.0, 3.0, 2.0);
  std::vector<double> knots, params;
  for (int j = 0; j <= 12; ++j) knots.push_back(j);
  for (int i = 0; i < 9; ++i) params.push_back(3.0 + 6.0 * (i + 0.01) / 9.0);
  expect_through(Fit(pts, 3, 1, params.data(), knots.data()), pts, params, 1e-10);
  const std::vector<zv_pnt_3d> six = {{0, 0, 0}, {1, 2, 0}, {2, -1, 1}, {3, 1, 0}, {4, 0, 2}, {5, 1, 1}};
  const std::vector<double> wide_knots = {0, 0, 0, 0.25, 0.5, 0.75, 1, 1, 1}, wide = {0, 0.3, 0.45, 0.6, 0.8, 1};
  expect_through(Fit(six, 2, 1, wide.data(), wide_knots.data()), six, wide, 1e-12);
  const std::vector<zv_pnt_3d> three = {{0, 0, 0}, {2, 2, 0}, {4, 0, 0}};
  const std::vector<double> line_knots = {0, 0, 0.5, 1, 1}, line = {0, 0.4, 1};  // degree 1, solved, not copied
  expect_through(Fit(three, 1, 1, line.data(), line_knots.data()), three, line, 1e-12);
}

TEST_F(CurveThroughPoints, LongestInputFitsAtInt16Limits) {
  std::mt19937 rng(1);
  const std::vector<zv_pnt_3d> pts = zvtest::marching_points(rng, 32767 - 3, false, 0.2, 2.0, 3.0, 2.0);
  const Fit f(pts, 3);
  ASSERT_EQ(f.code, 0);
  EXPECT_EQ(zvtest::value(f.rec->last_knot), 32767);
  const std::vector<double> u = zvtest::chord_parameters(pts, true);
  for (int i : {0, 1, 16000, 32762, 32763}) {
    zv_pnt_3d q{};
    zv_eval_pointoncurve_3d(f.rec, u[i], &q);
    EXPECT_LT(std::hypot(q.x - pts[i].x, q.y - pts[i].y, q.z - pts[i].z), 1e-9) << i;
  }
}

}  // namespace
