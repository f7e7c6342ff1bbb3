// The non-uniform B-spline, NURB and rational Bezier definitions: their
// checks in order, the messages, list ownership and refused memory.
#include "spline_records.hpp"

namespace {

using zvtest::KernelTest;
using zvtest::Message;

std::vector<zv_pnt_3d> points(int n) {
  std::vector<zv_pnt_3d> out;
  for (int i = 0; i < n; ++i) out.push_back({double(i), double(i * i), 1.0});
  return out;
}

std::vector<double> reals(int n) {
  std::vector<double> out;
  for (int i = 0; i < n; ++i) out.push_back(i);
  return out;
}

const Message kBadKnots{"BADKNOTSEQ", 0, "zv_def_nubspl_curve3d"};
const Message kBadDegree{"BADDEG", 0, "zv_def_nubspl_curve3d"};

class NubDefinition : public KernelTest {
 protected:
  // Defines from n points and k knots; checks that a refusal leaves the
  // caller's lists whole and that a success empties them.
  zv_curve *define(int n, int k, int16_t degree, int16_t steps = 4) {
    ll_list *ctrl = zvtest::make_polygon(points(n));
    ll_list *knots = zvtest::make_reals(reals(k));
    zv_curve *curve = zv_def_nubspl_curve3d(ctrl, knots, degree, steps);
    EXPECT_EQ(ll_list_length(ctrl), curve ? 0 : n);
    EXPECT_EQ(ll_list_length(knots), curve ? 0 : k);
    ll_purge_list(ctrl);
    ll_purge_list(knots);
    return curve;
  }
};

// ------------------------------------------- knot count and degree checks

TEST_F(NubDefinition, KnotCountIsTestedBeforeDegreeWithTheExactMessages) {
  struct Case {
    int n, k;
    int16_t degree;
    std::vector<Message> expected;
  } cases[] = {
      {5, 7, 3, {}},                       // n + p - 1 knots suffice
      {5, 6, 3, {kBadKnots}},              // one fewer
      {5, 40, 16, {kBadDegree}},           // enough knots, degree too high
      {2, 1, 0, {kBadDegree}},             // 1 > 0 passes the knot test
      {2, 0, 0, {kBadKnots}},              // no knot at all
      {3, 1, -5, {kBadDegree}},            // negative degree, never a huge count
      {5, 6, 16, {kBadKnots}},             // both wrong: the knots are named
  };
  for (const Case &c : cases) {
    reports.messages.clear();
    zv_curve *curve = define(c.n, c.k, c.degree);
    EXPECT_EQ(curve != nullptr, c.expected.empty()) << c.n << " " << c.k << " " << c.degree;
    EXPECT_EQ(reports.messages, c.expected);
    zv_purge_curve(curve);
  }
}

TEST_F(NubDefinition, TakesBothListsOverAndKeepsItsSettings) {
  ll_list *ctrl = zvtest::make_polygon(points(5));
  ll_list *knots = zvtest::make_reals(reals(7));
  ll_node *first_point = ctrl->head, *first_knot = knots->head;
  ll_set_list_currpntr(ctrl, LL_LAST);
  zv_curve *curve = zv_def_nubspl_curve3d(ctrl, knots, 3, 0);
  ASSERT_NE(curve, nullptr);
  EXPECT_EQ(curve->type, ZV_CURVE_NUBSPLINE);
  EXPECT_EQ(curve->degree, 3);
  EXPECT_EQ(curve->span_steps, 0);  // stored as given
  EXPECT_EQ(ctrl->head, nullptr);
  EXPECT_EQ(knots->head, nullptr);
  EXPECT_EQ(curve->ctrl_list->head, first_point);
  EXPECT_EQ(curve->ctrl_list->current, first_point);
  EXPECT_EQ(curve->knot_list->head, first_knot);
  EXPECT_EQ(ll_list_length(curve->knot_list), 7);
  zv_purge_curve(curve);
  ll_purge_list(ctrl);
  ll_purge_list(knots);
}

// Null lists count as empty: degree 1 with no points needs 0 knots.
TEST_F(NubDefinition, NullListsCountAsEmpty) {
  zv_curve *curve = zv_def_nubspl_curve3d(nullptr, nullptr, 1, 2);
  ASSERT_NE(curve, nullptr);
  EXPECT_EQ(ll_list_length(curve->ctrl_list), 0);
  EXPECT_EQ(zv_mk_nubspline_3d(curve, 0, 0), 2);
  zv_purge_curve(curve);
  EXPECT_EQ(zv_def_nubspl_curve3d(nullptr, nullptr, 3, 2), nullptr);
  EXPECT_EQ(reports.messages, std::vector<Message>{kBadKnots});
}

// Regression: releasing the bare record on a refusal leaked its two lists;
// the fixture's block count catches any leak on every path here.
TEST_F(NubDefinition, RefusalsAndRefusedMemoryLeakNothing) {
  zv_purge_curve(define(5, 6, 3));
  zv_purge_curve(define(5, 7, 0));
  for (long budget = 0; budget < 6; ++budget) {
    ll_list *ctrl = zvtest::make_polygon(points(5));
    ll_list *knots = zvtest::make_reals(reals(7));
    zv_fail_alloc_after(budget);
    zv_curve *curve = zv_def_nubspl_curve3d(ctrl, knots, 3, 1);
    zv_fail_alloc_after(-1);
    if (!curve) {
      EXPECT_EQ(reports.memerrs.back(), "zv_def_nubspl_curve3d");
      EXPECT_EQ(ll_list_length(ctrl), 5);
    }
    zv_purge_curve(curve);
    ll_purge_list(ctrl);
    ll_purge_list(knots);
  }
}

// ------------------------------------------------- rational definitions

class RationalDefinition : public KernelTest {
 protected:
  void TearDown() override {
    for (ll_list *l : lists) ll_purge_list(l);
    KernelTest::TearDown();
  }
  // Lists the test keeps and releases itself (a definition must not).
  ll_list *keep(ll_list *l) {
    lists.push_back(l);
    return l;
  }
  std::vector<ll_list *> lists;
};

TEST_F(RationalDefinition, CodesInOrderLeaveEverythingButTheType) {
  struct Case {
    int n, w;
    int16_t degree, nurb, ratbezier;
  } cases[] = {
      {3, 3, 3, 1, 1},    // fewer points than degree + 1
      {4, 3, 3, 2, 2},    // fewer weights
      {4, 5, 3, 0, 2},    // more weights: the NURB accepts them
      {17, 17, 16, 3, 3}, // degree above 15
      {2, 2, 0, 3, 3},    // degree below 1
      {4, 2, 16, 1, 1},   // points are tested first
      {4, 4, 3, 0, 0},
  };
  for (const Case &c : cases) {
    for (bool nurb : {true, false}) {
      zv_curve *curve = zv_create_curve();
      ll_list *ctrl_before = curve->ctrl_list;
      ll_list *ctrl = keep(zvtest::make_polygon(points(c.n)));
      ll_list *knots = keep(zvtest::make_reals(reals(c.n + c.degree + 1)));
      ll_list *weights = keep(zvtest::make_reals(std::vector<double>(c.w, 1.0)));
      const int16_t result = nurb ? zv_mk_def_nurb_curve3d(ctrl, knots, weights, c.degree, 0, curve)
                                  : zv_def_ratbezier_curve3d(ctrl, knots, weights, c.degree, curve);
      EXPECT_EQ(result, nurb ? c.nurb : c.ratbezier) << c.n << " " << c.w << " " << c.degree;
      EXPECT_EQ(curve->type, nurb ? ZV_CURVE_NURB : ZV_CURVE_RATBEZIER);
      if (result == 0) {
        EXPECT_EQ(zvtest::value(curve->ctrl_list), ctrl);
        EXPECT_EQ(zvtest::value(curve->knot_list), knots);
        EXPECT_EQ(zvtest::value(curve->weight_list), weights);
        EXPECT_EQ(curve->degree, c.degree);
        EXPECT_EQ(curve->span_steps, nurb ? 1 : 0);  // 0 steps is stored as 1 for a NURB
        EXPECT_EQ(ll_list_length(ctrl), c.n);        // attached, not taken over
        curve->ctrl_list = curve->knot_list = curve->weight_list = nullptr;
      } else {
        EXPECT_EQ(zvtest::value(curve->ctrl_list), ctrl_before);
        EXPECT_EQ(curve->degree, 0);
      }
      zv_purge_curve(curve);
    }
  }
  EXPECT_EQ(zv_mk_def_nurb_curve3d(nullptr, nullptr, nullptr, 3, 1, nullptr), 4);
  EXPECT_EQ(zv_def_ratbezier_curve3d(nullptr, nullptr, nullptr, 3, nullptr), 4);
  zv_curve *curve = zv_create_curve();
  EXPECT_EQ(zv_mk_def_nurb_curve3d(nullptr, nullptr, nullptr, 1, 1, curve), 1);  // null lists are empty
  zv_purge_curve(curve);
}

// Regression: the replaced slots of a fresh record leaked, and a redefinition
// must neither leak the old output lists nor release lists the caller holds.
// Leaks fail the fixture; a wrong release fails under the address sanitizer.
TEST_F(RationalDefinition, RedefiningLeaksNothingAndNeverReleasesTheCallersLists) {
  zv_curve *curve = zv_create_curve();
  ll_list *ctrl = keep(zvtest::make_polygon(points(4)));
  ll_list *weights = keep(zvtest::make_reals({1, 2, 2, 1}));
  ll_list *params = keep(zvtest::make_reals({0, 0.5, 1}));
  ASSERT_EQ(zv_def_ratbezier_curve3d(ctrl, params, weights, 3, curve), 0);
  ASSERT_EQ(zv_mk_rat_bezier_3d(curve, 0), 0);
  EXPECT_EQ(ll_list_length(curve->vertex_list), 3);

  // Again with other lists, then as a NURB over the same control list.
  ll_list *ctrl2 = keep(zvtest::make_polygon(points(5)));
  ll_list *weights2 = keep(zvtest::make_reals({1, 1, 1, 1, 1}));
  ASSERT_EQ(zv_def_ratbezier_curve3d(ctrl2, params, weights2, 4, curve), 0);
  EXPECT_EQ(ll_list_length(curve->vertex_list), 0);
  ll_list *knots = keep(zvtest::make_reals({0, 0, 0, 1, 1, 1}));
  ASSERT_EQ(zv_mk_def_nurb_curve3d(ctrl2, knots, weights2, 3, 2, curve), 0);
  EXPECT_EQ(ll_list_length(ctrl), 4);  // still whole
  curve->ctrl_list = curve->knot_list = curve->weight_list = nullptr;
  zv_purge_curve(curve);
}

TEST_F(RationalDefinition, RefusedOutputListsChangeNothingButTheType) {
  for (long budget = 0; budget < 2; ++budget) {
    zv_curve *curve = zv_create_curve();
    ll_list *vertices = curve->vertex_list;
    ll_list *ctrl = keep(zvtest::make_polygon(points(3)));
    ll_list *weights = keep(zvtest::make_reals({1, 1, 1}));
    zv_fail_alloc_after(budget);
    EXPECT_EQ(zv_mk_def_nurb_curve3d(ctrl, nullptr, weights, 2, 1, curve), -1);
    zv_fail_alloc_after(-1);
    EXPECT_EQ(reports.memerrs.back(), "zv_mk_def_nurb_curve3d");
    EXPECT_EQ(zvtest::value(curve->vertex_list), vertices);
    EXPECT_EQ(curve->degree, 0);
    zv_purge_curve(curve);
  }
}

}  // namespace
