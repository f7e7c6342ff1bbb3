// The curve through n points: the record's fields by mode, lines, the
// averaged knots, given knots off the clamped ends and wider bands, and the
// int16 limits. Random fits of every degree against SISL and Open CASCADE
// are in tests/peer.
#include "fitted_record.hpp"
#include "zv_testing.hpp"

namespace {

using Fit = zvtest::FittedRecord;

class CurveThroughPoints : public zvtest::KernelTest {};

// The curve at each given parameter lies on its point, and the point evaluator agrees with the derivative
// evaluator's point there.
void expect_through(const Fit &f, const std::vector<zv_pnt_3d> &pts, const std::vector<double> &params, double tol) {
  ASSERT_EQ(f.code, 0);
  for (size_t i = 0; i < pts.size(); ++i) {
    zv_pnt_3d q{}, d{}, d1{};
    int16_t status = 0;
    ASSERT_EQ(zv_eval_pointoncurve_3d(f.rec, params[i], &q), 0);
    ASSERT_EQ(zv_eval_derivsoncurve_3d(f.rec, params[i], 1, 0, &d, &d1, nullptr, &status), 0);
    EXPECT_LT(std::hypot(q.x - pts[i].x, q.y - pts[i].y, q.z - pts[i].z), tol) << i;
    EXPECT_LT(std::hypot(q.x - d.x, q.y - d.y, q.z - d.z), tol) << i;
  }
}

TEST_F(CurveThroughPoints, RecordFieldsByModeAndCase) {
  const std::vector<zv_pnt_3d> flat = {{0, 0, 0}, {1, 2, 0}, {3, 2, 1e-8}, {4, 0, 0}, {0, 0, 0}};
  const Fit auto_flat(flat, 3, 2), plane(flat, 3, 0), space(flat, 3, 1);
  ASSERT_EQ(auto_flat.code + plane.code + space.code, 0);
  const zv_nurbs_3d &r = *auto_flat.rec;
  EXPECT_TRUE(r.last_ctrl == 4 && r.last_knot == 8 && r.degree == 3 && r.plain == 1 && r.is_line == 0);
  EXPECT_TRUE(r.dim == 2 && r.planar == 1 && r.open_ends == 0);  // first equals last: closed
  EXPECT_TRUE(space.rec->dim == 3 && space.rec->planar == 0 && auto_flat.ctrl(0, 1) == 0.0);  // ends kept
  const std::vector<double> u = zvtest::chord_parameters(flat, false);
  EXPECT_EQ(auto_flat.knots(), (std::vector<double>{0, 0, 0, 0, (u[1] + u[2] + u[3]) / 3, 1, 1, 1, 1}));
  EXPECT_EQ(plane.knots(), auto_flat.knots());
  std::vector<zv_pnt_3d> lifted = flat;
  lifted[2].z = 2e-7, lifted[4].x = 1.5e-7;  // squared end gap above 1e-14: open
  const Fit spatial(lifted, 3, 2);
  EXPECT_TRUE(spatial.rec->dim == 3 && spatial.rec->planar == 0 && spatial.rec->open_ends == 1);
  const Fit line({{1, 2, 3}, {4, 6, 3}}, 1), polyline({{0, 0, 0}, {1, 0, 0}, {1, 3, 0}}, 1);
  EXPECT_TRUE(line.rec->is_line == 1 && polyline.rec->is_line == 0 && polyline.knot(2) == 0.25);
  EXPECT_EQ(line.ctrl(), (std::vector<double>{1, 2, 3, 4, 6, 3}));
  EXPECT_EQ(line.knots(), (std::vector<double>{0, 0, 1, 1}));
}

// Fit then evaluate at every given parameter, clamped or not. Given parameters off a clamped end put basis
// functions in the end rows, and a parameter two columns right of its diagonal widens the band. Rows: points,
// degree, parameters, knots.
TEST_F(CurveThroughPoints, GivenParametersAndKnotsClampedOrNot) {
  std::mt19937 rng(8);
  const std::vector<zv_pnt_3d> nine = zvtest::marching_points(rng, 9, false, 0.2, 2.0, 3.0, 2.0);
  const std::vector<zv_pnt_3d> six = {{0, 0, 0}, {1, 2, 0}, {2, -1, 1}, {3, 1, 0}, {4, 0, 2}, {5, 1, 1}};
  std::vector<double> uniform, inside, ends;
  for (int j = 0; j <= 12; ++j) uniform.push_back(j);
  for (int i = 0; i < 9; ++i) inside.push_back(3.0 + 6.0 * (i + 0.01) / 9.0), ends.push_back(1.5 * i);
  const struct { std::vector<zv_pnt_3d> pts; int p; std::vector<double> params, knots; } rows[] = {
      {nine, 3, inside, uniform},
      // Regression: at an unclamped end knot the point evaluator gave the
      // end control point, not the fitted curve through the end point.
      {nine, 3, ends, uniform},
      {six, 2, {0, 0.8, 2, 3.5, 4.5, 6}, {0, 0, 0, 1, 2, 3, 4, 5, 6}},  // clamped start, unclamped end
      {six, 2, {0, 0.3, 0.45, 0.6, 0.8, 1}, {0, 0, 0, 0.25, 0.5, 0.75, 1, 1, 1}},  // a wider band
      {{{0, 0, 0}, {2, 2, 0}, {4, 0, 0}}, 1, {0, 0.4, 1}, {0, 0, 0.5, 1, 1}},  // degree 1, solved, not copied
  };
  for (const auto &r : rows)
    expect_through(Fit(r.pts, r.p, 1, r.params.data(), r.knots.data()), r.pts, r.params, 1e-10);
}

TEST_F(CurveThroughPoints, LongestInputFitsAtInt16Limits) {
  std::mt19937 rng(1);
  const std::vector<zv_pnt_3d> pts = zvtest::marching_points(rng, 32767 - 3, false, 0.2, 2.0, 3.0, 2.0);
  const Fit f(pts, 3);
  ASSERT_TRUE(f.code == 0 && f.rec->last_knot == 32767);
  const std::vector<double> u = zvtest::chord_parameters(pts, true);
  for (int i : {0, 1, 16000, 32762, 32763}) {
    zv_pnt_3d q{};
    zv_eval_pointoncurve_3d(f.rec, u[i], &q);
    EXPECT_LT(std::hypot(q.x - pts[i].x, q.y - pts[i].y, q.z - pts[i].z), 1e-9) << i;
  }
}

}  // namespace
