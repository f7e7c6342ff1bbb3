// Tessellation of uniform cubic records and the segment evaluator. Positions and frames: tests/peer.
#include <rivezi3z/rivezi3z.hpp>

#include "spline_records.hpp"

namespace {

using zvtest::items, zvtest::Record;
using Points = std::vector<zv_pnt_3d>;
using Define = zv_curve *(*)(ll_list *);

Record define(Define def, const Points &pts) { return Record(def(rivezi3z::polygon(pts).get())); }

// Numbers of runs of segments of 0 .. 1/step, as int16: later segments skip t = 0, not its number.
std::vector<int> run(int segments, int per_segment, int runs = 1) {
  std::vector<int> out;
  for (int n = 0, all = segments * per_segment; n < runs * all; ++n)
    if (n % all < per_segment || n % per_segment > 0) out.push_back(int16_t(n % all));
  return out;
}

// The tangent, second derivative and normal of each sample at step 0.1.
std::vector<double> frames(const Record &curve) {
  EXPECT_EQ(zv_mk_ucurve3d(curve.get(), 0.1), 0);
  std::vector<double> out(15 * ll_list_length(curve->stats_list));
  double *at = out.data();
  for (const auto &s : items<zv_curve_stats_3d>(curve->stats_list)) std::memcpy(at, &s.tangent, 120), at += 15;
  return out;
}

using UniformTessellation = zvtest::KernelTest;

// B-spline and Catmull-Rom: n - 3 segments at accumulated steps; Bezier: whole groups of four (the
// ninth point never read), exact steps reach t = 1. A step not above 1e-7 is 0.1; numbers wrap as
// int16. Refused: a null record (1), fewer than four points, whatever holds them (2).
TEST_F(UniformTessellation, CountsNumbersAndSteps) {
  for (Define def : {zv_def_ucatrom_curve3d, zv_def_ubspl_curve3d}) {
    Record curve = define(def, zvtest::random_points(3400, 3));
    ASSERT_EQ(zv_mk_ucurve3d(curve.get(), 0.1), 0);
    const auto stats = items<zv_curve_stats_3d>(curve->stats_list);
    ASSERT_TRUE(zvtest::indices(curve->vertex_list) == run(3397, 11) && stats.size() == 11u + 3396 * 10);
    double t = 0.0;
    for (int i = 0; i < 11; ++i, t = t + 0.1) EXPECT_EQ(stats[i].t, t);  // not i * step
  }
  for (double step : {-1.0, 1e-7, double(NAN), HUGE_VAL}) {
    Record curve = define(zv_def_ubspl_curve3d, zvtest::random_points(4, 5));
    ASSERT_EQ(zv_mk_ucurve3d(curve.get(), step), 0);
    EXPECT_TRUE(ll_list_length(curve->vertex_list) == (step == HUGE_VAL ? 1 : 11) &&
                zvtest::value(curve->t_step) == (step == HUGE_VAL ? step : 0.1)) << step;
  }
  Points pts = zvtest::random_points(9, 2);
  pts[8] = {NAN, NAN, NAN};
  Record bezier = define(zv_def_ubezier_curve3d, pts), three = define(zv_def_ubspl_curve3d, {pts[0], pts[1], pts[2]});
  ASSERT_EQ(zv_mk_ucurve3d(bezier.get(), 0.125) + zv_mk_ucurve3d(bezier.get(), 0.125), 0);
  EXPECT_EQ(zvtest::indices(bezier->vertex_list), run(2, 9, 2));
  for (const auto &p : zvtest::positions(bezier->vertex_list)) EXPECT_TRUE(std::isfinite(p.x));
  EXPECT_TRUE(zv_mk_ucurve3d(nullptr, 0.1) == 1 && zv_mk_ucurve3d(three.get(), 0.1) == 2);
  ll_purge_list(three->ctrl_list), three->ctrl_list = nullptr;
  EXPECT_EQ(zv_mk_ucurve3d(three.get(), 0.1), 2);
}

// The evaluator gives each sample and frame bit for bit (the normal the services' perpendicular of
// the unit tangent) from t = -1e-7 to 1.0000001, the control list's cursor left on its head; it
// refuses a null record (1), then t (2), then a null pointer (3), writing nothing. Coinciding points
// give zero frames, never NaN; moved exactly to 1e6, points 2e-7 apart keep unit frames (once lost).
TEST_F(UniformTessellation, SegmentEvaluatorAndFrames) {
  for (Define def : {zv_def_ubspl_curve3d, zv_def_ubezier_curve3d, zv_def_ucatrom_curve3d}) {
    Record curve = define(def, zvtest::random_points(4, 9));
    ll_set_list_currpntr(curve->ctrl_list, LL_LAST);
    ASSERT_EQ(zv_mk_ucurve3d(curve.get(), 0.1), 0);
    std::vector<zv_poly_3d *> seg;
    for (zv_poly_3d &p : rivezi3z::ListView<zv_poly_3d>(curve->ctrl_list)) seg.push_back(&p);
    const auto v = zvtest::positions(curve->vertex_list);
    const auto s = items<zv_curve_stats_3d>(curve->stats_list);
    zv_pnt_3d at;
    zv_vector_3d got[3], normal;
    for (size_t i = 0; i < v.size(); ++i) {
      ASSERT_EQ(zv_eval_t_on_ucurve3d(curve.get(), s[i].t, seg.data(), &at, &got[0], &got[1], &got[2]), 0);
      zv_normalvector3d(&s[i].tangent, &normal);
      EXPECT_TRUE(curve->ctrl_list->current == curve->ctrl_list->head && !std::memcmp(&at, &v[i], sizeof at) &&
                  !std::memcmp(got, &s[i].tangent, sizeof got) && !std::memcmp(&normal, &s[i].normal, sizeof normal))
          << i;
    }
    for (double t : {-1e-7, 1.0000001})
      EXPECT_EQ(zv_eval_t_on_ucurve3d(curve.get(), t, seg.data(), &at, got, got, got), 0) << t;
    at.x = 7;
    EXPECT_EQ(zv_eval_t_on_ucurve3d(nullptr, NAN, nullptr, nullptr, nullptr, nullptr, nullptr), 1);
    for (double t : {double(NAN), HUGE_VAL, -2e-7, 1.0000002})
      EXPECT_EQ(zv_eval_t_on_ucurve3d(curve.get(), t, nullptr, &at, got, got, got), 2) << t;
    zv_poly_3d *hole[] = {seg[0], seg[1], nullptr, seg[3]}, **g = seg.data();
    const auto refused = [&](auto... args) { return zv_eval_t_on_ucurve3d(curve.get(), 0.5, args...) == 3; };
    EXPECT_TRUE(refused(nullptr, &at, got, got, got) && refused(hole, &at, got, got, got) &&
                refused(g, nullptr, got, got, got) && refused(g, &at, nullptr, got, got) &&
                refused(g, &at, got, nullptr, got) && refused(g, &at, got, got, nullptr));
    EXPECT_EQ(zvtest::value(at.x), 7);
    for (const zv_pnt_3d still : {zv_pnt_3d{1, 2, 3}, zv_pnt_3d{1e6, -3e5, 0.7}})
      for (double f : frames(define(def, Points(4, still)))) EXPECT_EQ(f, 0.0);
    Points near, far;  // a twisted cubic of 2^-22 steps, and moved exactly
    for (double k : {0.0, 1.0, 2.0, 3.0})
      near.push_back({std::ldexp(k, -22), std::ldexp(k * k, -22), std::ldexp(k * k * k, -22)}),
          far.push_back({near.back().x + 1e6, near.back().y - 3e5, near.back().z + 1e6});
    const std::vector<double> x = frames(define(def, near)), y = frames(define(def, far));
    for (size_t i = 0; i < x.size(); ++i)
      EXPECT_TRUE(std::fabs(x[i] - y[i]) <= 1e-9 &&
                  (i % 15 || std::fabs(std::hypot(y[i + 2], y[i + 3], y[i + 4]) - 1) <= 1e-12)) << i;  // unit tangent
  }
}

}  // namespace
