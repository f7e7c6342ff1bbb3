// The non-uniform B-spline and NURB tessellators: the parameters sampled
// and their numbering, the cubic fast path bit for bit against the general
// de Boor triangle, short spans, repeated calls, refused parameters, the
// sub-range, and the NURB's spans, steps and weights. Vertex positions
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

std::vector<int> numbered(size_t count) {
  std::vector<int> out(count);
  for (size_t i = 0; i < count; ++i) out[i] = static_cast<int>(i);
  return out;
}

class SpanTessellation : public zvtest::KernelTest, public ::testing::WithParamInterface<bool> {
 protected:
  bool nurb() const { return GetParam(); }
  zv_curve *make(const Spline &s, int16_t steps) const { return nurb() ? zvtest::make_nurb(s, steps) : zvtest::make_nub(s, steps); }
  int16_t tessellate(zv_curve *curve, int16_t first = 0, int16_t last = 0, int16_t spans = -1) const {
    if (spans < 0) {
      const long n = first > 0 && last > 0 ? std::min<long>(last, ll_list_length(curve->ctrl_list)) - first + 1
                                           : ll_list_length(curve->ctrl_list);
      spans = static_cast<int16_t>(std::max<long>(n - curve->degree, 0));
    }
    return nurb() ? zv_mk_nurb_curve3d(curve, first, last, spans, 0) : zv_mk_nubspline_3d(curve, first, last);
  }
};

INSTANTIATE_TEST_SUITE_P(Kinds, SpanTessellation, ::testing::Values(false, true),
                         [](const auto &kind) { return kind.param ? "Nurb" : "NonUniform"; });

// The tessellators run cubic windows through an unrolled de Boor triangle:
// it must give the very doubles of the general one, which zv_deboor_3d and
// zv_rat_deboor_3d run, on the same window at the same parameter. The
// parameters are those of every span, numbered from 0, and the input
// lists' cursors stay where they were.
TEST_P(SpanTessellation, CubicPathMatchesTheGeneralTriangleBitForBit) {
  for (unsigned seed = 0; seed < 8; ++seed) {
    const int n = 4 + seed % 9;
    const Spline s = zvtest::random_spline(n, 3, 40 + seed, nurb());
    zvtest::Record curve(make(s, 7));
    ll_set_list_currpntr(curve->ctrl_list, LL_LAST);
    ASSERT_EQ(tessellate(curve.get()), 0);
    EXPECT_EQ(curve->ctrl_list->current, curve->ctrl_list->tail);
    EXPECT_EQ(curve->knot_list->current, curve->knot_list->head);
    const auto ts = parameters(curve.get());
    const auto vs = zvtest::vertices(curve->vertex_list);
    EXPECT_EQ(ts, zvtest::sample_parameters(s, 7, 0, n - 3));
    EXPECT_EQ(zvtest::indices(curve->vertex_list), numbered(ts.size()));
    const std::vector<double> stored = s.stored_knots();
    std::vector<zv_poly_3d> ctrl = zvtest::items<zv_poly_3d>(curve->ctrl_list);
    for (size_t i = 0; i < vs.size(); ++i) {
      const size_t span = i / 8;  // no empty spans: distinct interior knots
      zv_poly_3d *window[4] = {&ctrl[span], &ctrl[span + 1], &ctrl[span + 2], &ctrl[span + 3]};
      zv_pnt_3d want{};
      ASSERT_EQ(nurb() ? zv_rat_deboor_3d(ts[i], 3, window, &s.weights[span], &stored[span], &want)
                       : zv_deboor_3d(ts[i], 3, window, &stored[span], &want), 0);
      const zv_pnt_3d got{vs[i].x, vs[i].y, vs[i].z};
      EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0) << "seed " << seed << " vertex " << i;
    }
  }
}

// A double interior knot leaves an empty span (so does one of 1e-7): nothing
// for it and no gap in the numbering. A second call appends the same run
// numbered from 0 again. The span [1, 1 + 1e-7] is empty for the B-spline
// tessellator, which compares the ends (it was once sampled, its length
// rounding above 1e-7), and sampled by the NURB one, which tests the length.
TEST_P(SpanTessellation, ShortSpansYieldNothingAndCallsAppend) {
  Spline s = zvtest::random_spline(7, 2, 42, nurb());
  for (double gap : {0.0, 1e-7, 2.0}) {
    s.knots = {0, 0, 0, 0.25, 0.5, 0.5 + gap, 0.75, 1, 1, 1};
    if (gap == 2.0) s.knots = {0, 0, 0, 0.25, 0.5, 1, 1 + 1e-7, 2, 2, 2};
    zvtest::Record curve(make(s, 3));
    ASSERT_EQ(tessellate(curve.get()), 0);
    ASSERT_EQ(tessellate(curve.get()), 0);
    const std::vector<double> run = zvtest::sample_parameters(s, 3, 0, 5, !nurb());
    ASSERT_EQ(run.size(), gap == 2.0 && nurb() ? 20u : 16u);
    std::vector<double> expected = run;
    expected.insert(expected.end(), run.begin(), run.end());
    EXPECT_EQ(parameters(curve.get()), expected);
    std::vector<int> twice = numbered(run.size()), once = twice;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(zvtest::indices(curve->vertex_list), twice);
  }
}

// The full clamped knot vector (n + p + 1 knots, ends repeated p + 1 times)
// gives the vertices of the stored layout bit for bit; it once tessellated
// to a shifted curve.
TEST_P(SpanTessellation, FullClampedKnotVectorGivesTheSameVertices) {
  for (int p = 1; p <= 5; ++p) {
    const Spline s = zvtest::random_spline(p + 4, p, 90 + p, nurb());
    zvtest::Record stored(make(s, 4)), full(make(s, 4));
    ll_purge_list(full->knot_list);
    full->knot_list = zvtest::make_reals(s.knots);
    ASSERT_EQ(tessellate(stored.get()), 0);
    ASSERT_EQ(tessellate(full.get()), 0);
    EXPECT_EQ(parameters(full.get()), parameters(stored.get())) << p;
    const auto a = zvtest::positions(stored->vertex_list), b = zvtest::positions(full->vertex_list);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]), 0) << p;
  }
}

// Control points first .. min(last, n) with their knots are spans first - 1
// onwards of the whole curve: the same parameters and points.
TEST_P(SpanTessellation, SubRangeCoversItsSpansOfTheWholeCurve) {
  const Spline s = zvtest::random_spline(10, 3, 11, nurb());
  const struct {
    int16_t first, last, result;
    int first_span, spans;
  } cases[] = {{2, 7, 0, 1, 3},   {1, 10, 0, 0, 7},  {3, 99, 0, 2, 5}, {7, 10, 0, 6, 1},
               {8, 10, 2, 0, 0},  {11, 20, 2, 0, 0}, {4, 0, 0, 0, 7},  {-1, 5, 0, 0, 7}};
  for (const auto &c : cases) {
    zvtest::Record curve(make(s, 3));
    EXPECT_EQ(tessellate(curve.get(), c.first, c.last), c.result) << c.first << ".." << c.last;
    EXPECT_EQ(parameters(curve.get()), zvtest::sample_parameters(s, 3, c.first_span, c.spans)) << c.first << ".." << c.last;
    const auto ts = parameters(curve.get());
    const auto vs = zvtest::positions(curve->vertex_list);
    for (size_t i = 0; i < vs.size(); ++i) EXPECT_LE(zvtest::distance(vs[i], zvtest::basis_point(s, ts[i])), 1e-11);
  }
  // A shifted range reads its knots from the shift on: the last knot only
  // for the last span, and one knot short gives 4.
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

TEST_F(NurbTessellation, SpansStepsAndMissingOrZeroWeights) {
  const Spline s = zvtest::random_spline(7, 3, 21);
  zvtest::Record curve(zvtest::make_nurb(s, 0));
  EXPECT_EQ(curve->span_steps, 1);  // the definition stores 0 as 1
  const long blocks = zv_live_blocks();
  EXPECT_EQ(zv_mk_nurb_curve3d(curve.get(), 0, 0, 5, 0), 2);  // more spans than the curve has: nothing allocated
  EXPECT_EQ(zv_mk_nurb_curve3d(curve.get(), 0, 0, -4, 7), 0);  // no spans: nothing, but the steps stored
  EXPECT_EQ(curve->span_steps, 7);
  EXPECT_EQ(zv_live_blocks(), blocks);
  EXPECT_EQ(zv_mk_nurb_curve3d(curve.get(), 0, 0, 2, 4), 0);
  EXPECT_EQ(curve->span_steps, 4);
  EXPECT_EQ(parameters(curve.get()), zvtest::sample_parameters(s, 4, 0, 2));

  Spline plain = zvtest::random_spline(6, 2, 4, false);  // missing weights count as 1
  zvtest::Record nurb(zvtest::make_nurb(plain, 3)), nub(zvtest::make_nub(plain, 3));
  ll_purge_list(nurb->weight_list);
  nurb->weight_list = zvtest::make_reals({1.0, 1.0});
  ASSERT_EQ(zv_mk_nurb_curve3d(nurb.get(), 0, 0, 4, 0), 0);
  ASSERT_EQ(zv_mk_nubspline_3d(nub.get(), 0, 0), 0);
  const auto a = zvtest::positions(nurb->vertex_list), b = zvtest::positions(nub->vertex_list);
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) EXPECT_LE(zvtest::distance(a[i], b[i]), 1e-12 * zvtest::scale_of(plain.points));
  plain.weights.assign(6, 0.0);  // zero weights: non-finite points, not traps
  zvtest::Record zero(zvtest::make_nurb(plain, 3));
  EXPECT_EQ(zv_mk_nurb_curve3d(zero.get(), 0, 0, 4, 0), 0);
  EXPECT_FALSE(std::isfinite(zvtest::vertices(zero->vertex_list)[1].x));
}

}  // namespace
