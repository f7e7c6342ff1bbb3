// The non-uniform B-spline and NURB tessellators: result codes in order,
// samples against an independent basis-function evaluation, span skipping
// and numbering, the rational form against the plain one, the sub-range,
// and refused memory.
#include <cmath>
#include <cstring>

#include "spline_records.hpp"

namespace {

using zvtest::KernelTest;
using zvtest::Spline;

std::vector<int> indices(const zv_curve *curve) {
  std::vector<int> out;
  for (const auto &v : zvtest::vertices(curve->vertex_list)) out.push_back(v.index);
  return out;
}

std::vector<double> parameters(const zv_curve *curve) {
  std::vector<double> out;
  for (const auto &s : zvtest::items<zv_curve_stats_3d>(curve->stats_list)) out.push_back(s.t);
  return out;
}

std::vector<int> numbered(int count) {
  std::vector<int> out;
  for (int i = 0; i < count; ++i) out.push_back(i);
  return out;
}

// Every vertex equals the basis-function sum of the spline at its parameter.
void expect_on_spline(const zv_curve *curve, const Spline &s, double relative) {
  const auto ts = parameters(curve);
  const auto vs = zvtest::vertices(curve->vertex_list);
  ASSERT_EQ(ts.size(), vs.size());
  const double tol = relative * zvtest::scale_of(s.points);
  for (size_t i = 0; i < vs.size(); ++i) {
    const zv_pnt_3d ref = zvtest::basis_point(s, ts[i]);
    EXPECT_NEAR(vs[i].x, ref.x, tol) << "vertex " << i << " t " << ts[i];
    EXPECT_NEAR(vs[i].y, ref.y, tol) << "vertex " << i;
    EXPECT_NEAR(vs[i].z, ref.z, tol) << "vertex " << i;
  }
}

// Removes the last node of the record's knot list.
void drop_last_knot(zv_curve *curve) {
  ll_list *knots = curve->knot_list;
  ll_node *last = knots->tail;
  last->prev->next = nullptr;
  knots->tail = last->prev;
  knots->count -= 1;
  knots->current = knots->head;
  zv_free(last->data);
  zv_free(last);
}

int16_t tessellate(zv_curve *curve, bool nurb, int16_t first = 0, int16_t last = 0) {
  const int spans = ll_list_length(curve->ctrl_list) - curve->degree;
  return nurb ? zv_mk_nurb_curve3d(curve, first, last, static_cast<int16_t>(spans), 0)
              : zv_mk_nubspline_3d(curve, first, last);
}

class SpanTessellation : public KernelTest, public ::testing::WithParamInterface<bool> {
 protected:
  bool nurb() const { return GetParam(); }
  zv_curve *make(const Spline &s, int16_t steps) { return nurb() ? zvtest::make_nurb(s, steps) : zvtest::make_nub(s, steps); }
};

INSTANTIATE_TEST_SUITE_P(Kinds, SpanTessellation, ::testing::Values(false, true),
                         [](const auto &kind) { return kind.param ? "Nurb" : "NonUniform"; });

// ------------------------------------------------------ result codes in order

// ----------------------------------------------- samples, spans, numbering

TEST_P(SpanTessellation, RandomCurvesLieOnTheirBasisFunctionSums) {
  for (unsigned seed = 0; seed < 12; ++seed) {
    const int p = 1 + seed % 7, n = p + 1 + seed % 9;
    const Spline s = zvtest::random_spline(n, p, seed, nurb());
    zv_curve *curve = make(s, 6);
    ASSERT_EQ(tessellate(curve, nurb()), 0);
    // Exactly n + p - 1 knots: every span, S + 1 samples each, numbered 0 ...
    const auto expected_t = zvtest::sample_parameters(s, 6, 0, n - p);
    EXPECT_EQ(parameters(curve), expected_t);
    EXPECT_EQ(indices(curve), numbered(static_cast<int>(expected_t.size())));
    expect_on_spline(curve, s, 1e-12);
    zv_purge_curve(curve);
  }
}

// The tessellators run cubic windows through an unrolled de Boor triangle;
// it must give the very doubles of the general one, which zv_deboor_3d and
// zv_rat_deboor_3d run, on the same window at the same parameter.
TEST_P(SpanTessellation, CubicPathMatchesTheGeneralTriangleBitForBit) {
  for (unsigned seed = 0; seed < 8; ++seed) {
    const int p = 3, n = 4 + seed % 9;
    const Spline s = zvtest::random_spline(n, p, 40 + seed, nurb());
    zv_curve *curve = make(s, 7);
    ASSERT_EQ(tessellate(curve, nurb()), 0);
    const auto ts = parameters(curve);
    const auto vs = zvtest::vertices(curve->vertex_list);
    const std::vector<double> stored = s.stored_knots();
    std::vector<zv_poly_3d> ctrl = zvtest::items<zv_poly_3d>(curve->ctrl_list);
    ASSERT_EQ(vs.size(), static_cast<size_t>((n - p) * 8));
    for (size_t i = 0; i < vs.size(); ++i) {
      const size_t span = i / 8;  // no empty spans: distinct interior knots
      zv_poly_3d *window[4];
      for (int k = 0; k < 4; ++k) window[k] = &ctrl[span + k];
      zv_pnt_3d want{};
      if (nurb()) {
        ASSERT_EQ(zv_rat_deboor_3d(ts[i], p, window, &s.weights[span], &stored[span], &want), 0);
      } else {
        ASSERT_EQ(zv_deboor_3d(ts[i], p, window, &stored[span], &want), 0);
      }
      const zv_pnt_3d got{vs[i].x, vs[i].y, vs[i].z};
      EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0) << "seed " << seed << " vertex " << i;
    }
    zv_purge_curve(curve);
  }
}

TEST_P(SpanTessellation, DegreeOneSamplesLieOnTheControlPolygonAtEqualSteps) {
  Spline s;
  s.p = 1;
  s.points = {{0, 0, 0}, {4, 0, 0}, {4, 8, 0}};
  s.knots = {0, 0, 1, 3, 3};
  s.weights = {1, 1, 1};
  zv_curve *curve = make(s, 4);
  ASSERT_EQ(tessellate(curve, nurb()), 0);
  const auto v = zvtest::vertices(curve->vertex_list);
  ASSERT_EQ(v.size(), 10u);
  for (int i = 0; i <= 4; ++i) {
    EXPECT_DOUBLE_EQ(v[i].x, i);  // span [0, 1] from (0,0,0) to (4,0,0)
    EXPECT_DOUBLE_EQ(v[5 + i].y, 2.0 * i);
    EXPECT_DOUBLE_EQ(v[5 + i].x, 4.0);
  }
  EXPECT_EQ(parameters(curve)[6], 1.5);  // steps of L / S = 2 / 4
  zv_purge_curve(curve);
}

// A double interior knot leaves an empty span: nothing for it, no gap in
// the numbering, and the shared boundary appears at the end of one span and
// the start of the next.
TEST_P(SpanTessellation, ShortSpansYieldNothingAndNumberingGoesOn) {
  Spline s = zvtest::random_spline(7, 2, 42, nurb());
  s.knots = {0, 0, 0, 0.25, 0.5, 0.5, 0.75, 1, 1, 1};
  zv_curve *curve = make(s, 3);
  ASSERT_EQ(tessellate(curve, nurb()), 0);
  std::vector<double> expected;
  for (double left : {0.0, 0.25, 0.5, 0.75})
    for (int i = 0; i <= 3; ++i) expected.push_back(left + (i * 0.25) / 3);
  EXPECT_EQ(parameters(curve), expected);
  EXPECT_EQ(indices(curve), numbered(16));
  expect_on_spline(curve, s, 1e-12);
  zv_purge_curve(curve);

  s.knots[5] = 0.5 + 1e-7;  // 1e-7 or less also counts as empty
  curve = make(s, 3);
  ASSERT_EQ(tessellate(curve, nurb()), 0);
  EXPECT_EQ(ll_list_length(curve->vertex_list), 16);
  zv_purge_curve(curve);
}

TEST_P(SpanTessellation, TwoCallsAppendTwoIdenticalRunsEachFromZero) {
  const Spline s = zvtest::random_spline(9, 3, 7, nurb());
  zv_curve *curve = make(s, 5);
  ASSERT_EQ(tessellate(curve, nurb()), 0);
  const auto first = zvtest::vertices(curve->vertex_list);
  ASSERT_EQ(tessellate(curve, nurb()), 0);
  const auto both = zvtest::vertices(curve->vertex_list);
  ASSERT_EQ(both.size(), 2 * first.size());
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(both[first.size() + i].index, first[i].index);
    EXPECT_EQ(both[first.size() + i].x, first[i].x);
  }
  EXPECT_EQ(ll_list_length(curve->stats_list), static_cast<long>(both.size()));
  zv_purge_curve(curve);
}

TEST_P(SpanTessellation, StepCountsAndRefusedParameters) {
  const Spline s = zvtest::random_spline(6, 2, 9, nurb());
  zv_curve *curve = make(s, 1);
  curve->span_steps = 0;  // the first parameter is 0/0: refused at once
  EXPECT_EQ(tessellate(curve, nurb()), 5);
  EXPECT_EQ(ll_list_length(curve->vertex_list), 0);
  curve->span_steps = -3;  // no samples at all
  EXPECT_EQ(tessellate(curve, nurb()), 0);
  EXPECT_EQ(ll_list_length(curve->vertex_list), 0);
  zv_purge_curve(curve);

  // Parameters below -1e-7 come from knots below it: refused at the first
  // sample. -1e-7 itself is still accepted.
  for (double shift : {-0.5, -1e-7}) {
    Spline shifted = s;
    for (double &k : shifted.knots) k += shift;
    curve = make(shifted, 2);
    EXPECT_EQ(tessellate(curve, nurb()), shift < -1e-7 ? 5 : 0);
    EXPECT_EQ(ll_list_length(curve->vertex_list), shift < -1e-7 ? 0 : 4 * 3);
    zv_purge_curve(curve);
  }
}

// ---------------------------------------------------------------- sub-range

// Control points first .. min(last, n) with their knots are spans first - 1
// onwards of the whole curve: the same parameters and points.
TEST_P(SpanTessellation, SubRangeCoversItsSpansOfTheWholeCurve) {
  const Spline s = zvtest::random_spline(10, 3, 11, nurb());
  struct Case {
    int16_t first, last;
    int16_t result;
    int first_span, spans;
  } cases[] = {
      {2, 7, 0, 1, 3},    // points 2..7: n' = 6, spans 1..3
      {1, 10, 0, 0, 7},   // the whole curve
      {3, 99, 0, 2, 5},   // last beyond n counts as n
      {7, 10, 0, 6, 1},   // the last span alone
      {8, 10, 2, 0, 0},   // n' = 3 < p + 1
      {11, 20, 2, 0, 0},  // first beyond n
      {4, 0, 0, 0, 7},    // last not positive: the whole curve
      {-1, 5, 0, 0, 7},
  };
  for (const Case &c : cases) {
    zv_curve *curve = make(s, 3);
    const long count = c.last > 0 && c.first > 0 ? std::min<long>(c.last, 10) - c.first + 1 : 10;
    const int16_t spans = static_cast<int16_t>(std::max<long>(count - 3, 0));
    const int16_t result = nurb() ? zv_mk_nurb_curve3d(curve, c.first, c.last, spans, 0)
                                  : zv_mk_nubspline_3d(curve, c.first, c.last);
    EXPECT_EQ(result, c.result) << c.first << ".." << c.last;
    EXPECT_EQ(parameters(curve), zvtest::sample_parameters(s, 3, c.first_span, c.spans)) << c.first << ".." << c.last;
    expect_on_spline(curve, s, 1e-12);
    zv_purge_curve(curve);
  }
}

// A shifted range needs its knots from the shift on: one short gives 4.
TEST_P(SpanTessellation, SubRangeCountsKnotsFromItsShift) {
  Spline s = zvtest::random_spline(8, 2, 12, nurb());
  zv_curve *curve = make(s, 2);
  // Points 4..8 need stored knots 3 .. 3 + 5 + 2 - 2 = 8, the last there is.
  const int16_t spans = 3;
  EXPECT_EQ(nurb() ? zv_mk_nurb_curve3d(curve, 4, 8, spans, 0) : zv_mk_nubspline_3d(curve, 4, 8), 0);
  ll_node *tail = curve->knot_list->tail;
  static_cast<zv_rnumber *>(tail->data)->value = NAN;  // read only by the last span
  EXPECT_EQ(nurb() ? zv_mk_nurb_curve3d(curve, 4, 7, 2, 0) : zv_mk_nubspline_3d(curve, 4, 7), 0);
  for (const auto &v : zvtest::vertices(curve->vertex_list)) EXPECT_TRUE(std::isfinite(v.x));
  drop_last_knot(curve);
  EXPECT_EQ(nurb() ? zv_mk_nurb_curve3d(curve, 4, 8, spans, 0) : zv_mk_nubspline_3d(curve, 4, 8), 4);
  zv_purge_curve(curve);
}

// ------------------------------------------------------- NURB specifics

class NurbTessellation : public KernelTest {};

TEST_F(NurbTessellation, UnitWeightsMatchTheNonUniformCurveAndScalingWeightsChangesNothing) {
  for (unsigned seed = 0; seed < 10; ++seed) {
    const int p = 1 + seed % 5;
    Spline s = zvtest::random_spline(p + 4, p, 300 + seed, false);
    zv_curve *nub = zvtest::make_nub(s, 4);
    zv_curve *unit = zvtest::make_nurb(s, 4);
    s.weights = zvtest::random_spline(p + 4, p, 300 + seed, true).weights;
    zv_curve *weighted = zvtest::make_nurb(s, 4);
    for (double &w : s.weights) w *= 2.0;
    zv_curve *doubled = zvtest::make_nurb(s, 4);
    for (zv_curve *c : {nub, unit, weighted, doubled}) ASSERT_EQ(tessellate(c, c != nub), 0);
    const auto a = zvtest::vertices(nub->vertex_list), b = zvtest::vertices(unit->vertex_list);
    const auto c = zvtest::vertices(weighted->vertex_list), d = zvtest::vertices(doubled->vertex_list);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
      EXPECT_NEAR(b[i].x, a[i].x, 1e-12 * zvtest::scale_of(s.points));
      EXPECT_EQ(d[i].y, c[i].y);  // doubling is exact in binary arithmetic
    }
    for (zv_curve *cv : {nub, unit, weighted, doubled}) zv_purge_curve(cv);
  }
}

TEST_F(NurbTessellation, SpansAndStepsArguments) {
  const Spline s = zvtest::random_spline(7, 3, 21);
  zv_curve *curve = zvtest::make_nurb(s, 0);
  EXPECT_EQ(curve->span_steps, 1);  // the definition stores 0 as 1

  // More spans than the curve has: refused before anything is allocated.
  const long blocks = zv_live_blocks();
  EXPECT_EQ(zv_mk_nurb_curve3d(curve, 0, 0, 5, 0), 2);
  EXPECT_EQ(zv_live_blocks(), blocks);
  // No spans: nothing appended, the steps still stored.
  EXPECT_EQ(zv_mk_nurb_curve3d(curve, 0, 0, 0, 0), 0);
  EXPECT_EQ(zv_mk_nurb_curve3d(curve, 0, 0, -4, 7), 0);
  EXPECT_EQ(curve->span_steps, 7);
  EXPECT_EQ(zv_live_blocks(), blocks);

  // steps = 4 replaces the count for this call and stays; spans = 2 of 4.
  EXPECT_EQ(zv_mk_nurb_curve3d(curve, 0, 0, 2, 4), 0);
  EXPECT_EQ(curve->span_steps, 4);
  EXPECT_EQ(parameters(curve), zvtest::sample_parameters(s, 4, 0, 2));
  expect_on_spline(curve, s, 1e-12);
  zv_purge_curve(curve);
}

// Missing weights count as 1; zero weights give non-finite points, not traps.
TEST_F(NurbTessellation, ShortOrZeroWeightListsNeverCrash) {
  Spline s = zvtest::random_spline(6, 2, 4, false);
  zv_curve *curve = zvtest::make_nurb(s, 3);
  zv_curve *reference = zvtest::make_nub(s, 3);
  ll_purge_list(curve->weight_list);
  curve->weight_list = nullptr;
  ASSERT_EQ(tessellate(curve, true), 0);
  ASSERT_EQ(tessellate(reference, false), 0);
  const auto a = zvtest::vertices(curve->vertex_list), b = zvtest::vertices(reference->vertex_list);
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i].z, b[i].z, 1e-12 * zvtest::scale_of(s.points));
  zv_purge_curve(curve);
  zv_purge_curve(reference);

  s.weights.assign(6, 0.0);
  curve = zvtest::make_nurb(s, 3);
  EXPECT_EQ(tessellate(curve, true), 0);
  EXPECT_FALSE(std::isfinite(zvtest::vertices(curve->vertex_list)[1].x));
  zv_purge_curve(curve);
}

}  // namespace
