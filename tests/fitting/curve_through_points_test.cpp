// The curve through n points: the record's fields by mode, lines, the averaged knots, given knots, and the int16
// limit. Random fits against SISL are in tests/peer.
#include "fitted_record.hpp"
#include "spline_records.hpp"

namespace {

using Fit = zvtest::FittedRecord;
using Points = std::vector<zv_pnt_3d>;

class CurveThroughPoints : public zvtest::KernelTest {};

// The curve passes through each point at its parameter, where the point evaluator agrees with the derivative one.
void expect_through(const Fit &f, const Points &pts, const std::vector<double> &params, double tol) {
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

// Mode 2 is planar while every |z| <= 1e-7; the ends are open when their squared gap passes 1e-14; degree 1 through
// its points is the polyline itself, a line when there are two, however short past 1e-7.
TEST_F(CurveThroughPoints, RecordFieldsByModeAndCase) {
  const Points flat = {{0, 0, 0}, {1, 2, 0}, {3, 2, 1e-8}, {4, 0, 0}, {0, 0, 0}};
  Points lifted = flat;
  lifted[2].z = 2e-7, lifted[4].x = 1.5e-7;
  const Fit automatic(flat, 3, 2), plane(flat, 3, 0), space(flat, 3, 1), spatial(lifted, 3, 2);
  const struct { const Fit &fit; int dim, planar, open; } rows[] = {
      {automatic, 2, 1, 0}, {plane, 2, 1, 0}, {space, 3, 0, 0}, {spatial, 3, 0, 1}};
  for (const auto &r : rows) {
    ASSERT_EQ(r.fit.code, 0);
    const zv_nurbs_3d &f = *r.fit.rec;
    EXPECT_TRUE(f.last_ctrl == 4 && f.last_knot == 8 && f.degree == 3 && f.plain == 1 && f.is_line == 0) << r.dim;
    EXPECT_TRUE(f.dim == r.dim && f.planar == r.planar && f.open_ends == r.open) << &r - rows;
  }
  const std::vector<double> u = zvtest::chord_parameters(flat, false);
  EXPECT_EQ(automatic.knots(), (std::vector<double>{0, 0, 0, 0, (u[1] + u[2] + u[3]) / 3, 1, 1, 1, 1}));
  EXPECT_TRUE(plane.knots() == automatic.knots() && automatic.ctrl()[1] == 0.0);  // the ends kept
  const Fit line({{1, 2, 3}, {4, 6, 3}}, 1), polyline({{0, 0, 0}, {1, 0, 0}, {1, 3, 0}}, 1);
  EXPECT_TRUE(line.rec->is_line == 1 && polyline.rec->is_line == 0 && polyline.knots()[2] == 0.25);
  EXPECT_EQ(line.ctrl(), (std::vector<double>{1, 2, 3, 4, 6, 3}));
  EXPECT_EQ(line.knots(), (std::vector<double>{0, 0, 1, 1}));
  EXPECT_EQ(Fit({{0, 0, 0}, {3e-7, 0, 0}}, 1).code, 0);
}

// Given parameters off a clamped end put basis functions in the end rows, and a parameter two columns right of its
// diagonal widens the band. The longest input fits at the int16 limit of its knots.
TEST_F(CurveThroughPoints, GivenParametersAndKnotsAndTheLongestInput) {
  std::mt19937 rng(8);
  const Points nine = zvtest::marching_points(rng, 9, false, 0.2, 2.0, 3.0, 2.0);
  const Points six = {{0, 0, 0}, {1, 2, 0}, {2, -1, 1}, {3, 1, 0}, {4, 0, 2}, {5, 1, 1}};
  std::vector<double> inside, ends;
  for (int i = 0; i < 9; ++i) inside.push_back(3.0 + 6.0 * (i + 0.01) / 9.0), ends.push_back(1.5 * i);
  const struct { Points pts; int p; std::vector<double> params, knots; } rows[] = {
      {nine, 3, inside, zvtest::rising(13)},
      {nine, 3, ends, zvtest::rising(13)},  // regression: the point evaluator gave the end control point
      {six, 2, {0, 0.8, 2, 3.5, 4.5, 6}, {0, 0, 0, 1, 2, 3, 4, 5, 6}},  // clamped start, unclamped end
      {six, 2, {0, 0.3, 0.45, 0.6, 0.8, 1}, {0, 0, 0, 0.25, 0.5, 0.75, 1, 1, 1}},  // a wider band
      {{{0, 0, 0}, {2, 2, 0}, {4, 0, 0}}, 1, {0, 0.4, 1}, {0, 0, 0.5, 1, 1}},  // degree 1, solved, not copied
  };
  for (const auto &r : rows)
    expect_through(Fit(r.pts, r.p, 1, r.params.data(), r.knots.data()), r.pts, r.params, 1e-10);
  const Fit longest(zvtest::marching_points(rng, 32767 - 3, false, 0.2, 2.0, 3.0, 2.0), 3);
  EXPECT_TRUE(longest.code == 0 && longest.rec->last_knot == 32767);
}

}  // namespace
