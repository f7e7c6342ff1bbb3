// The span tessellators of non-uniform B-spline and NURB records (the
// parameters sampled and their numbering, the vertices bit for bit against
// the general de Boor triangle, short spans, repeated calls, the sub-range,
// spans, steps and weights) and the rational Bezier tessellator (against the
// closed form, the degree argument, short weight lists). Vertex positions
// against SISL and Open CASCADE are in tests/peer.
#include <cstring>

#include "spline_records.hpp"

namespace {

using zvtest::Spline;

std::vector<double> parameters(const zv_curve *curve) {
  std::vector<double> out;
  for (const auto &s : zvtest::items<zv_curve_stats_3d>(curve->stats_list)) out.push_back(s.t);
  return out;
}

// 0 .. count - 1, repeated `runs` times.
std::vector<int> numbered(size_t count, int runs = 1) {
  std::vector<int> out;
  for (int r = 0; r < runs; ++r)
    for (size_t i = 0; i < count; ++i) out.push_back(static_cast<int>(i));
  return out;
}

class SpanTessellation : public zvtest::KernelTest, public ::testing::WithParamInterface<bool> {
 protected:
  bool nurb() const { return GetParam(); }
  zv_curve *make(const Spline &s, int16_t steps) const {
    return nurb() ? zvtest::make_nurb(s, steps) : zvtest::make_nub(s, steps);
  }
  // The whole curve, or control points first .. last, in as many spans as the range holds.
  int16_t tessellate(zv_curve *curve, int16_t first = 0, int16_t last = 0, int16_t spans = -1) const {
    const long n = ll_list_length(curve->ctrl_list),
               m = first > 0 && last > 0 ? std::min<long>(last, n) - first + 1 : n;
    if (spans < 0) spans = static_cast<int16_t>(std::max<long>(m - curve->degree, 0));
    return nurb() ? zv_mk_nurb_curve3d(curve, first, last, spans, 0) : zv_mk_nubspline_3d(curve, first, last);
  }
};

INSTANTIATE_TEST_SUITE_P(Kinds, SpanTessellation, ::testing::Values(false, true),
                         [](const auto &kind) { return kind.param ? "Nurb" : "NonUniform"; });

// One table of runs over random splines, each tessellated twice: the
// parameters of the spans covered (S + 1 per span longer than 1e-7; the
// B-spline tessellator compares the span's ends, the NURB one tests its
// length), numbered from 0 in each run, the input lists' cursors left where
// they were, the points the basis sum of the whole curve. Without empty
// spans the vertices are bit for bit those of zv_deboor_3d and
// zv_rat_deboor_3d on the same window: cubic windows run through an
// unrolled triangle, which must give the very doubles of the general one.
struct SpanRun {
  const char *what;
  Spline s;
  bool full_knots;  // the full clamped vector, n + p + 1 knots (it once gave a shifted curve)
  int16_t first, last, result;
  int first_span, spans;
  bool empty_spans;
};

TEST_P(SpanTessellation, RunsCoverTheirSpansAndMatchTheGeneralTriangleBitForBit) {
  std::vector<SpanRun> runs;
  for (unsigned seed = 0; seed < 14; ++seed) {  // whole curves of degree 1 to 5
    const int p = seed % 2 ? 3 : 1 + (seed / 2) % 5, n = p + 1 + seed % 9;
    runs.push_back({"whole", zvtest::random_spline(n, p, 40 + seed, nurb()), seed % 4 > 1, 0, 0, 0, 0, n - p, false});
  }
  // Control points first .. min(last, n) are spans first - 1 onwards.
  const Spline ten = zvtest::random_spline(10, 3, 11, nurb());
  const int16_t ranges[][5] = {{2, 7, 0, 1, 3}, {1, 10, 0, 0, 7}, {3, 99, 0, 2, 5}, {7, 10, 0, 6, 1},
                               {8, 10, 2, 0, 0}, {11, 20, 2, 0, 0}, {4, 0, 0, 0, 7}, {-1, 5, 0, 0, 7}};
  for (const auto &r : ranges) runs.push_back({"range", ten, false, r[0], r[1], r[2], r[3], r[4], false});
  // A double interior knot leaves an empty span, so does one of 1e-7; the
  // span [1, 1 + 1e-7] is empty for the B-spline tessellator only (it was
  // once sampled, its length rounding above 1e-7).
  Spline s = zvtest::random_spline(7, 2, 42, nurb());
  for (const std::vector<double> &knots : {std::vector<double>{0, 0, 0, 0.25, 0.5, 0.5, 0.75, 1, 1, 1},
                                           {0, 0, 0, 0.25, 0.5, 0.5 + 1e-7, 0.75, 1, 1, 1},
                                           {0, 0, 0, 0.25, 0.5, 1, 1 + 1e-7, 2, 2, 2}})
    s.knots = knots, runs.push_back({"short spans", s, false, 0, 0, 0, 0, 5, true});
  for (const SpanRun &run : runs) {
    SCOPED_TRACE(testing::Message() << run.what << " " << run.first << ".." << run.last << " p " << run.s.p);
    zvtest::Record curve(make(run.s, 3));
    if (run.full_knots) ll_purge_list(curve->knot_list), curve->knot_list = zvtest::make_reals(run.s.knots);
    ll_set_list_currpntr(curve->ctrl_list, LL_LAST);
    EXPECT_EQ(tessellate(curve.get(), run.first, run.last), run.result);
    EXPECT_EQ(tessellate(curve.get(), run.first, run.last), run.result);
    EXPECT_TRUE(curve->ctrl_list->current == curve->ctrl_list->tail &&
                curve->knot_list->current == curve->knot_list->head);
    std::vector<double> twice = zvtest::sample_parameters(run.s, 3, run.first_span, run.spans, !nurb());
    const size_t once = twice.size();
    twice.insert(twice.end(), twice.begin(), twice.end());
    const auto ts = parameters(curve.get());
    const auto vs = zvtest::positions(curve->vertex_list);
    ASSERT_EQ(ts, twice);
    EXPECT_EQ(zvtest::indices(curve->vertex_list), numbered(once, 2));
    const std::vector<double> stored = run.s.stored_knots();
    std::vector<zv_poly_3d> ctrl = zvtest::items<zv_poly_3d>(curve->ctrl_list);
    for (size_t i = 0; i < vs.size(); ++i) {
      EXPECT_LE(zvtest::distance(vs[i], zvtest::basis_point(run.s, ts[i])), 1e-11 * zvtest::scale_of(run.s.points));
      if (run.empty_spans) continue;
      const int p = run.s.p, span = run.first_span + static_cast<int>(i % once) / 4;
      std::vector<zv_poly_3d *> window;
      for (int k = 0; k <= p; ++k) window.push_back(&ctrl[span + k]);
      zv_pnt_3d want{};
      ASSERT_EQ(nurb() ? zv_rat_deboor_3d(ts[i], p, window.data(), &run.s.weights[span], &stored[span], &want)
                       : zv_deboor_3d(ts[i], p, window.data(), &stored[span], &want), 0);
      EXPECT_EQ(std::memcmp(&vs[i], &want, sizeof want), 0) << "vertex " << i;
    }
  }
}

// A shifted range reads its knots from the shift on: the last knot only for
// the last span, and one knot short gives 4.
TEST_P(SpanTessellation, ShiftedRangeReadsItsOwnKnots) {
  zvtest::Record curve(make(zvtest::random_spline(8, 2, 12, nurb()), 2));
  static_cast<zv_rnumber *>(curve->knot_list->tail->data)->value = NAN;
  EXPECT_EQ(tessellate(curve.get(), 4, 7), 0);
  for (const auto &v : zvtest::vertices(curve->vertex_list)) EXPECT_TRUE(std::isfinite(v.x));
  ll_list *knots = curve->knot_list;
  ll_node *last = knots->tail;
  knots->tail = last->prev, knots->tail->next = nullptr, knots->count -= 1;
  zv_free(last->data), zv_free(last);
  EXPECT_EQ(tessellate(curve.get(), 4, 8, 3), 4);
}

class NurbTessellation : public zvtest::KernelTest {};

// More spans than the curve has: 2 and nothing made; no spans: nothing, but
// the steps stored. Missing weights count as 1 (the B-spline's vertices);
// zero weights give non-finite points, not traps.
TEST_F(NurbTessellation, SpansStepsAndMissingOrZeroWeights) {
  const Spline s = zvtest::random_spline(7, 3, 21);
  zvtest::Record curve(zvtest::make_nurb(s, 0));
  EXPECT_EQ(curve->span_steps, 1);  // the definition stores 0 as 1
  const long blocks = zv_live_blocks();
  EXPECT_EQ(zv_mk_nurb_curve3d(curve.get(), 0, 0, 5, 0), 2);
  EXPECT_EQ(zv_mk_nurb_curve3d(curve.get(), 0, 0, -4, 7), 0);
  EXPECT_TRUE(curve->span_steps == 7 && zv_live_blocks() == blocks);
  EXPECT_EQ(zv_mk_nurb_curve3d(curve.get(), 0, 0, 2, 4), 0);
  EXPECT_TRUE(curve->span_steps == 4 && parameters(curve.get()) == zvtest::sample_parameters(s, 4, 0, 2));
  Spline plain = zvtest::random_spline(6, 2, 4, false);
  zvtest::Record nurb(zvtest::make_nurb(plain, 3)), nub(zvtest::make_nub(plain, 3));
  ll_purge_list(nurb->weight_list), nurb->weight_list = zvtest::make_reals({1.0, 1.0});
  ASSERT_EQ(zv_mk_nurb_curve3d(nurb.get(), 0, 0, 4, 0) + zv_mk_nubspline_3d(nub.get(), 0, 0), 0);
  const auto a = zvtest::positions(nurb->vertex_list), b = zvtest::positions(nub->vertex_list);
  for (size_t i = 0; i < a.size(); ++i)
    EXPECT_LE(zvtest::distance(a[i], b.at(i)), 1e-12 * zvtest::scale_of(plain.points));
  plain.weights.assign(6, 0.0);
  zvtest::Record zero(zvtest::make_nurb(plain, 3));
  EXPECT_EQ(zv_mk_nurb_curve3d(zero.get(), 0, 0, 4, 0), 0);
  EXPECT_FALSE(std::isfinite(zvtest::vertices(zero->vertex_list).at(1).x));
}

// Sum of w(k) L_k(t) P(k) over sum of w(k) L_k(t), L_k the Lagrange
// polynomials of the nodes k/n: the curve through P(k) at k/n.
zv_pnt_3d closed_form(const std::vector<zv_pnt_3d> &p, const std::vector<double> &w, double t) {
  const int n = static_cast<int>(p.size()) - 1;
  double x = 0, y = 0, z = 0, sum = 0;
  for (int k = 0; k <= n; ++k) {
    double l = 1.0;
    for (int j = 0; j <= n; ++j)
      if (j != k) l *= (t - double(j) / n) / (double(k) / n - double(j) / n);
    x += w[k] * l * p[k].x, y += w[k] * l * p[k].y, z += w[k] * l * p[k].z, sum += w[k] * l;
  }
  return {x / sum, y / sum, z / sum};
}

zv_curve *rat_bezier(const std::vector<zv_pnt_3d> &p, const std::vector<double> &w, const std::vector<double> &ts,
                     int16_t degree) {
  zv_curve *curve = zv_create_curve();
  EXPECT_EQ(
      zv_def_ratbezier_curve3d(zvtest::make_polygon(p), zvtest::make_reals(ts), zvtest::make_reals(w), degree, curve),
      0);
  return curve;
}

using RationalBezier = zvtest::KernelTest;

// Samples at k/n and three more parameters against the closed form, through
// P(k) at k/n, numbered from 0, cursors left alone, no statistics. Every
// fourth record keeps only its first weight (the others count as one) and
// has no vertex list, which the call makes.
TEST_F(RationalBezier, SamplesFollowTheRationalCurveThroughEachControlPoint) {
  for (unsigned seed = 0; seed < 16; ++seed) {
    const int n = 1 + seed % 8;
    zvtest::Spline s = zvtest::random_spline(n + 1, 0, seed, seed % 2 == 1);
    std::vector<double> ts;
    for (int k = 0; k <= n; ++k) ts.push_back(double(k) / n);
    ts.insert(ts.end(), {0.13, 0.5, 0.91});
    zvtest::Record curve(rat_bezier(s.points, s.weights, ts, static_cast<int16_t>(n)));
    if (seed % 4 == 3) {
      ll_purge_list(curve->weight_list), ll_purge_list(curve->vertex_list);
      curve->weight_list = zvtest::make_reals({s.weights[0]}), curve->vertex_list = nullptr;
      s.weights.assign(s.weights.size(), 1.0), s.weights[0] = zvtest::reals(curve->weight_list)[0];
    }
    ll_set_list_currpntr(curve->ctrl_list, LL_LAST);
    ASSERT_EQ(zv_mk_rat_bezier_3d(curve.get(), 0), 0);
    EXPECT_TRUE(curve->ctrl_list->current == curve->ctrl_list->tail && ll_list_length(curve->stats_list) == 0);
    const auto v = zvtest::positions(curve->vertex_list);
    ASSERT_EQ(zvtest::indices(curve->vertex_list), numbered(ts.size()));
    for (size_t i = 0; i < v.size(); ++i) {
      EXPECT_LE(zvtest::distance(v[i], closed_form(s.points, s.weights, ts[i])), 1e-11 * zvtest::scale_of(s.points));
      const zv_pnt_3d node = i <= size_t(n) ? s.points[i] : v[i];  // through P(k) at k/n, whatever the weights
      EXPECT_LE(zvtest::distance(v[i], node), 1e-12 * zvtest::scale_of(s.points));
    }
  }
}

// The degree argument, else the record's; a second run numbers from 0 again.
TEST_F(RationalBezier, DegreeArgumentOrTheRecordsAndRepeatedRuns) {
  zvtest::Record curve(rat_bezier({{0, 0, 0}, {1, 0, 0}, {5, 0, 0}}, {1, 1, 1}, {0, 0.5, 1}, 2));
  ASSERT_EQ(zv_mk_rat_bezier_3d(curve.get(), 0) + zv_mk_rat_bezier_3d(curve.get(), 1), 0);
  const auto v = zvtest::vertices(curve->vertex_list);
  ASSERT_EQ(zvtest::indices(curve->vertex_list), numbered(3, 2));
  EXPECT_TRUE(v[1].x == 1.0 && v[2].x == 5.0 && v[4].x == 0.5 && v[5].x == 1.0);
}

}  // namespace
