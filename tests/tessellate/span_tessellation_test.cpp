// The non-uniform B-spline, NURB and rational Bezier tessellators. Positions: tests/peer; bad input: tests/reliability.
#include <rivezi3z/rivezi3z.hpp>

#include "spline_records.hpp"

namespace {

using zvtest::Record, zvtest::Spline;

struct SpanRun {  // a spline, the record's knots or weights replaced when given, points first .. last
  const char *what;
  Spline s;
  std::vector<double> knots = {}, weights = {};
  int16_t first = 0, last = 0, result = 0;
};

class SpanTessellation : public zvtest::KernelTest, public ::testing::WithParamInterface<bool> {};
INSTANTIATE_TEST_SUITE_P(Kinds, SpanTessellation, ::testing::Values(false, true),
                         [](const auto &kind) { return kind.param ? "Nurb" : "NonUniform"; });

// Each run twice: the parameters of its spans (S + 1 per span longer than 1e-7: the B-spline tessellator
// compares the ends, the NURB one the length), numbered from 0 each run, the cursors left alone, the
// points the basis sum and, with every span sampled, bit for bit zv_deboor_3d or zv_rat_deboor_3d on
// the window (cubics take an unrolled triangle). Points first .. min(last, n) are spans first - 1 on,
// their knots from the same shift. NURB steps other than 0 are stored, and used, without spans too.
TEST_P(SpanTessellation, RunsCoverTheirSpansAndMatchTheGeneralTriangleBitForBit) {
  const bool nurb = GetParam();
  std::vector<SpanRun> runs;
  for (unsigned seed = 0; seed < 14; ++seed) {  // degree 1 to 5; the full clamped vector (once shifted) too
    const int p = seed % 2 ? 3 : 1 + (seed / 2) % 5;
    const Spline s = zvtest::random_spline(p + 1 + seed % 9, p, 40 + seed, nurb);
    runs.push_back({"whole", s, seed % 4 > 1 ? s.knots : std::vector<double>{}});
  }
  const Spline ten = zvtest::random_spline(10, 3, 11, nurb);
  const int16_t ranges[][3] = {{2, 7, 0},  {1, 10, 0},  {3, 99, 0}, {7, 10, 0},
                               {8, 10, 2}, {11, 20, 2}, {4, 0, 0},  {0, 5, 0}};  // not both positive: all
  for (const auto &r : ranges) runs.push_back({"range", ten, {}, {}, r[0], r[1], r[2]});
  const std::vector<double> knots = ten.stored_knots();
  runs.push_back({"a knot short", ten, {knots.begin(), knots.end() - 1}, {}, 4, 10, 4});
  runs.push_back({"two weights, the rest 1", zvtest::random_spline(6, 2, 4, false), {}, {1, 1}});
  // Empty: a double knot, one of 1e-7, [1, 1 + 1e-7] for the B-spline tessellator only (once sampled).
  Spline s = zvtest::random_spline(7, 2, 42, nurb);
  for (const std::vector<double> &k : {std::vector<double>{0, 0, 0, 0.25, 0.5, 0.5, 0.75, 1, 1, 1},
                                       {0, 0, 0, 0.25, 0.5, 0.5 + 1e-7, 0.75, 1, 1, 1},
                                       {0, 0, 0, 0.25, 0.5, 1, 1 + 1e-7, 2, 2, 2}})
    s.knots = k, runs.push_back({"empty spans", s});
  for (const SpanRun &run : runs) {
    SCOPED_TRACE(testing::Message() << run.what << " " << run.first << ".." << run.last << " p " << run.s.p);
    const bool ranged = run.first > 0 && run.last > 0;
    const int p = run.s.p, n = run.s.n(), m = ranged ? std::min(+run.last, n) - run.first + 1 : n,
              first_span = ranged ? run.first - 1 : 0, spans = std::max(m - p, 0);
    Record curve(nurb ? zvtest::make_nurb(run.s, 3) : zvtest::make_nub(run.s, 3));
    if (!run.knots.empty()) ll_purge_list(curve->knot_list), curve->knot_list = zvtest::make_reals(run.knots);
    if (!run.weights.empty()) ll_purge_list(curve->weight_list), curve->weight_list = zvtest::make_reals(run.weights);
    ll_set_list_currpntr(curve->ctrl_list, LL_LAST);
    for (int k = 0; k < 2; ++k)
      EXPECT_EQ(nurb ? zv_mk_nurb_curve3d(curve.get(), run.first, run.last, int16_t(spans), 0)
                     : zv_mk_nubspline_3d(curve.get(), run.first, run.last),
                run.result);
    EXPECT_TRUE(curve->ctrl_list->current == curve->ctrl_list->tail &&
                curve->knot_list->current == curve->knot_list->head);
    const std::vector<double> once = zvtest::sample_parameters(run.s, 3, first_span, run.result ? 0 : spans, !nurb),
                              stored = run.s.stored_knots();
    const auto vs = zvtest::vertices(curve->vertex_list);
    const auto st = zvtest::items<zv_curve_stats_3d>(curve->stats_list);
    std::vector<zv_poly_3d *> nodes;
    for (zv_poly_3d &q : rivezi3z::ListView<zv_poly_3d>(curve->ctrl_list)) nodes.push_back(&q);
    ASSERT_TRUE(st.size() == 2 * once.size() && vs.size() == st.size());
    for (size_t i = 0; i < vs.size(); ++i) {
      const size_t j = i % once.size();
      const zv_pnt_3d v{vs[i].x, vs[i].y, vs[i].z};
      const double t = st[i].t;
      EXPECT_TRUE(t == once[j] && vs[i].index == int(j)) << i;
      EXPECT_LE(zvtest::distance(v, zvtest::basis_point(run.s, t)), 1e-11 * zvtest::scale_of(run.s.points));
      if (once.size() != 4u * spans) continue;
      const int span = first_span + static_cast<int>(j) / 4;
      zv_pnt_3d want{};
      ASSERT_EQ(nurb ? zv_rat_deboor_3d(t, p, &nodes[span], &run.s.weights[span], &stored[span], &want)
                     : zv_deboor_3d(t, p, &nodes[span], &stored[span], &want), 0);
      EXPECT_EQ(std::memcmp(&v, &want, sizeof want), 0) << "vertex " << i;
    }
  }
  if (!nurb) return;
  Record curve(zvtest::make_nurb(zvtest::random_spline(7, 3, 21), 3));
  EXPECT_TRUE(zv_mk_nurb_curve3d(curve.get(), 0, 0, -4, 7) == 0 && curve->span_steps == 7 && !curve->vertex_list->head);
  EXPECT_TRUE(zv_mk_nurb_curve3d(curve.get(), 0, 0, 2, 4) == 0 && curve->span_steps == 4 &&
              ll_list_length(curve->vertex_list) == 2 * 5);
}

// The rational curve through P(k) at k/n: sum w(k) L_k(t) P(k) / sum w(k) L_k(t), L_k Lagrange's.
zv_pnt_3d closed_form(const std::vector<zv_pnt_3d> &p, const std::vector<double> &w, double t) {
  const int n = static_cast<int>(p.size()) - 1;
  double x = 0, y = 0, z = 0, sum = 0;
  for (int k = 0; k <= n; ++k) {
    double l = w[k];
    for (int j = 0; j <= n; ++j)
      if (j != k) l *= (t - double(j) / n) / (double(k) / n - double(j) / n);
    x += l * p[k].x, y += l * p[k].y, z += l * p[k].z, sum += l;
  }
  return {x / sum, y / sum, z / sum};
}

using RationalBezier = zvtest::KernelTest;

// At three parameters and k/n, numbered from 0 in each of two runs, cursors left alone, no
// statistics. Every fourth record keeps only its first weight (the rest count as 1) and no
// vertex list, which the call makes; the last eight give the degree as the argument, which wins.
TEST_F(RationalBezier, SamplesFollowTheClosedForm) {
  for (unsigned seed = 0; seed < 16; ++seed) {
    const int n = 1 + seed % 8;
    Spline s = zvtest::random_spline(n + 1, 0, seed, seed % 2 == 1);
    std::vector<double> ts = {0.13, 0.5, 0.91};
    for (int k = 0; k <= n; ++k) ts.push_back(double(k) / n);
    rivezi3z::Curve curve = rivezi3z::define_rational_bezier(rivezi3z::polygon(s.points), rivezi3z::reals(ts),
                                                             rivezi3z::reals(s.weights), int16_t(n)).value;
    if (seed % 4 == 3)
      ll_purge_list(curve->weight_list), ll_purge_list(curve->vertex_list), curve->vertex_list = nullptr,
          curve->weight_list = zvtest::make_reals({s.weights[0]}), std::fill(s.weights.begin() + 1, s.weights.end(), 1);
    if (seed >= 8) curve->degree = 99;
    ll_set_list_currpntr(curve->ctrl_list, LL_LAST);
    for (int k = 0; k < 2; ++k) ASSERT_EQ(zv_mk_rat_bezier_3d(curve.get(), int16_t(seed >= 8 ? n : 0)), 0);
    EXPECT_TRUE(curve->ctrl_list->current == curve->ctrl_list->tail && ll_list_length(curve->stats_list) == 0);
    const auto v = zvtest::vertices(curve->vertex_list);
    ASSERT_EQ(v.size(), 2 * ts.size());
    for (size_t i = 0; i < v.size(); ++i) {
      const zv_pnt_3d at = closed_form(s.points, s.weights, ts[i % ts.size()]);
      EXPECT_EQ(v[i].index, int(i % ts.size()));
      EXPECT_LE(zvtest::distance({v[i].x, v[i].y, v[i].z}, at), 1e-11 * zvtest::scale_of(s.points)) << i;
    }
  }
}

}  // namespace
