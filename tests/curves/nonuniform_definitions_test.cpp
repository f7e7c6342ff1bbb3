// The non-uniform B-spline, NURB and rational Bezier definitions: the
// take-over or attachment of the caller's lists and full-width counts.
// Their refusals are in nurbs_bad_inputs_test; who owns a record's lists
// through every sequence of calls is in record_ownership_test.
#include "spline_records.hpp"

namespace {

using zvtest::KernelTest;

using zvtest::points;
using zvtest::rising;

class Definitions : public KernelTest {
 protected:
  void TearDown() override {
    for (ll_list *l : kept) ll_purge_list(l);
    KernelTest::TearDown();
  }
  ll_list *keep(ll_list *l) {  // a list the test releases itself (a definition must not)
    kept.push_back(l);
    return l;
  }
  std::vector<ll_list *> kept;
};

TEST_F(Definitions, NonUniformTakesBothListsOverAndCountsAtFullWidth) {
  ll_list *ctrl = keep(zvtest::make_polygon(points(5))), *knots = keep(zvtest::make_reals(rising(7)));
  ll_node *first_point = ctrl->head, *first_knot = knots->head;
  ll_set_list_currpntr(ctrl, LL_LAST);
  zvtest::Record curve(zv_def_nubspl_curve3d(ctrl, knots, 3, 0));
  ASSERT_NE(curve, nullptr);
  EXPECT_EQ(curve->type, ZV_CURVE_NUBSPLINE);
  EXPECT_EQ(curve->degree, 3);
  EXPECT_EQ(curve->span_steps, 0);  // stored as given
  EXPECT_EQ(ctrl->head, nullptr);
  EXPECT_EQ(knots->head, nullptr);
  EXPECT_EQ(zvtest::value(curve->ctrl_list)->current, first_point);
  EXPECT_EQ(zvtest::value(curve->knot_list)->head, first_knot);
  // Null lists count as empty: degree 1 with no points needs no knot.
  zvtest::Record empty(zv_def_nubspl_curve3d(nullptr, nullptr, 1, 2));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(zv_mk_nubspline_3d(empty.get(), 0, 0), 2);
  // 32768 points need 32770 knots: saturating counts would refuse them.
  std::vector<zv_pnt_3d> many(32768, zv_pnt_3d{1, 2, 3});
  zvtest::Record large(zv_def_nubspl_curve3d(keep(zvtest::make_polygon(many)), keep(zvtest::make_reals(rising(32770))), 3, 1));
  EXPECT_NE(large, nullptr);
  EXPECT_TRUE(reports.messages.empty());
  for (long budget = 0; budget < 6; ++budget) {  // refused memory leaves the caller's lists whole
    ll_list *c = keep(zvtest::make_polygon(points(5))), *k = keep(zvtest::make_reals(rising(7)));
    zv_fail_alloc_after(budget);
    zvtest::Record r(zv_def_nubspl_curve3d(c, k, 3, 1));
    zv_fail_alloc_after(-1);
    EXPECT_TRUE(r || (ll_list_length(c) == 5 && ll_list_length(k) == 7)) << budget;
  }
}

// On success the three lists are attached by pointer (not copied, not taken
// over), degree and steps are set (0 steps stored as 1 for a NURB) and the
// record gets new output lists.
TEST_F(Definitions, RationalDefinitionsAttachTheCallersLists) {
  for (bool nurb : {true, false}) {
    zv_curve *curve = zv_create_curve();
    ll_list *ctrl = keep(zvtest::make_polygon(points(4))), *knots = keep(zvtest::make_reals(rising(8)));
    ll_list *weights = keep(zvtest::make_reals(std::vector<double>(nurb ? 5 : 4, 1.0)));  // more weights suit a NURB
    ASSERT_EQ(nurb ? zv_mk_def_nurb_curve3d(ctrl, knots, weights, 3, 0, curve)
                   : zv_def_ratbezier_curve3d(ctrl, knots, weights, 3, curve), 0);
    EXPECT_EQ(curve->type, nurb ? ZV_CURVE_NURB : ZV_CURVE_RATBEZIER);
    EXPECT_TRUE(zvtest::value(curve->ctrl_list) == ctrl && zvtest::value(curve->knot_list) == knots &&
                zvtest::value(curve->weight_list) == weights);
    EXPECT_EQ(curve->degree, 3);
    EXPECT_EQ(curve->span_steps, nurb ? 1 : 0);
    EXPECT_EQ(ll_list_length(ctrl), 4);
    EXPECT_TRUE(zvtest::value(curve->vertex_list) && zvtest::value(curve->stats_list));
    curve->ctrl_list = curve->knot_list = curve->weight_list = nullptr;
    zv_purge_curve(curve);
  }
  for (long budget = 0; budget < 2; ++budget) {  // refused output lists change nothing but the type
    zvtest::Record curve(zv_create_curve());
    ll_list *vertices = curve->vertex_list, *ctrl = keep(zvtest::make_polygon(points(3)));
    ll_list *weights = keep(zvtest::make_reals({1, 1, 1}));
    zv_fail_alloc_after(budget);
    EXPECT_EQ(zv_mk_def_nurb_curve3d(ctrl, nullptr, weights, 2, 1, curve.get()), -1);
    zv_fail_alloc_after(-1);
    EXPECT_TRUE(zvtest::value(curve->vertex_list) == vertices && curve->degree == 0);
  }
}

}  // namespace
