// The curve definitions: the uniform cubics' matrices and the beta-spline's
// refusals, the take-over or attachment of the caller's lists and full-width
// counts, and who owns a record's lists through every sequence of
// definitions, tessellations, conversions and splits, released as the header
// tells the caller to. A list released twice fails under AddressSanitizer, a
// leak fails the fixture. The non-uniform and rational refusals are in
// nurbs_bad_inputs_test.
#include <algorithm>
#include <functional>

#include "bad_inputs.hpp"
#include "spline_records.hpp"

namespace {

using zvtest::made;
using zvtest::points;
using zvtest::rising;
using zvtest::value;

class Definitions : public zvtest::KernelTest {};

// The caller's side: the lists it made and still owns, released last.
class Caller {
 public:
  ~Caller() {
    for (ll_list *l : lists_) ll_purge_list(l);
  }
  ll_list *polygon(int n) { return keep(zvtest::make_polygon(points(n))); }
  ll_list *reals(const std::vector<double> &v) { return keep(zvtest::make_reals(v)); }
  ll_list *keep(ll_list *l) { return lists_.push_back(l), l; }
  // Releases a record, clearing first the slots that hold the caller's lists.
  void release(zv_curve *curve) const {
    const auto mine = [this](ll_list *l) { return std::find(lists_.begin(), lists_.end(), l) != lists_.end(); };
    if (mine(curve->weight_list)) curve->weight_list = nullptr;
    if (mine(curve->knot_list)) curve->knot_list = nullptr;
    if (mine(curve->ctrl_list)) curve->ctrl_list = nullptr;
    if (mine(curve->vertex_list)) curve->vertex_list = nullptr;
    if (mine(curve->stats_list)) curve->stats_list = nullptr;
    zv_purge_curve(curve);
  }

 private:
  std::vector<ll_list *> lists_;
};

// Each row of a uniform matrix sums to the coefficient of a constant curve: only t^0 survives.
void expect_basis_rows(const zv_curve *c) {
  for (int r = 0; r < 4; ++r)
    EXPECT_NEAR(c->basis[4 * r] + c->basis[4 * r + 1] + c->basis[4 * r + 2] + c->basis[4 * r + 3], r == 3 ? 1.0 : 0.0,
                1e-14) << "type " << value(c->type) << " row " << r;
}

TEST_F(Definitions, UniformKindsAndMatrices) {
  Caller c;
  const std::pair<zv_curve *(*)(ll_list *), int16_t> kinds[] = {
      {zv_def_ubspl_curve3d, ZV_CURVE_UBSPLINE}, {zv_def_ucatrom_curve3d, ZV_CURVE_UCATROM},
      {zv_def_ubezier_curve3d, ZV_CURVE_UBEZIER},
      {[](ll_list *l) { return zv_def_ubetaspl_curve3d(l, 2, 1); }, ZV_CURVE_UBETASPL}};
  for (const auto &[def, kind] : kinds) {
    zvtest::Record r(def(c.polygon(5)));
    EXPECT_EQ(r->type, kind);
    expect_basis_rows(r.get());
  }
  zvtest::Record bezier(zv_def_ubezier_curve3d(c.polygon(5))), bspline(zv_def_ubspl_curve3d(c.polygon(5)));
  const double undivided[16] = {-1, 3, -3, 1, 3, -6, 3, 0, -3, 3, 0, 0, 1, 0, 0, 0};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(value(bezier->basis[i]), undivided[i]) << i;
  for (double bias : {0.25, 1.0, 3.0})
    for (double tension : {0.0, 2.0, 50.0}) {
      zvtest::Record beta(zv_def_ubetaspl_curve3d(c.polygon(5), bias, tension));
      expect_basis_rows(beta.get());
      for (int i = 0; bias == 1.0 && tension == 0.0 && i < 16; ++i)  // the B-spline's matrix
        EXPECT_DOUBLE_EQ(value(beta->basis[i]), value(bspline->basis[i])) << i;
    }
}

// Uniform and non-uniform definitions take the caller's nodes over in order, the cursor on the first, and leave
// an emptied header that still works.
TEST_F(Definitions, TakeTheCallersNodesInOrderWithTheCursorOnTheFirst) {
  Caller c;
  ll_list *ctrl = c.polygon(5), *knots = c.reals(rising(7));
  std::vector<ll_node *> nodes, taken;
  for (ll_node *n = ctrl->head; n; n = n->next) nodes.push_back(n);
  ll_node *first_knot = knots->head;
  ll_set_list_currpntr(ctrl, LL_LAST);
  zvtest::Record curve(zv_def_ubspl_curve3d(ctrl));
  EXPECT_TRUE(ctrl->head == nullptr && ll_get_list_data(ctrl) == nullptr);
  for (ll_node *n = curve->ctrl_list->head; n; n = n->next) taken.push_back(n);
  EXPECT_EQ(taken, nodes);
  EXPECT_TRUE(curve->ctrl_list->current == nodes.front() && ll_get_list_count(curve->ctrl_list) == 5);
  ASSERT_EQ(ll_add_list_item(ctrl, 1, zv_create_poly_3d(), ZV_ITEM_POLY), 1);
  EXPECT_EQ(ll_get_list_count(ctrl), 1);
  ctrl = c.polygon(5);
  ll_node *first_point = ctrl->head;
  ll_set_list_currpntr(ctrl, LL_LAST);
  zvtest::Record nub(zv_def_nubspl_curve3d(ctrl, knots, 3, 0));
  ASSERT_NE(nub, nullptr);
  EXPECT_TRUE(nub->type == ZV_CURVE_NUBSPLINE && nub->degree == 3 && nub->span_steps == 0);  // steps as given
  EXPECT_TRUE(ctrl->head == nullptr && knots->head == nullptr);
  EXPECT_TRUE(value(nub->ctrl_list)->current == first_point && value(nub->knot_list)->head == first_knot);
  // Null lists count as empty: degree 1 with no points needs no knot.
  zvtest::Record empty(zv_def_nubspl_curve3d(nullptr, nullptr, 1, 2));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(zv_mk_nubspline_3d(empty.get(), 0, 0), 2);
  // 32768 points need 32770 knots: saturating counts would refuse them.
  ll_list *many = c.keep(zvtest::make_polygon(std::vector<zv_pnt_3d>(32768, zv_pnt_3d{1, 2, 3})));
  EXPECT_NE(zvtest::Record(zv_def_nubspl_curve3d(many, c.reals(rising(32770)), 3, 1)), nullptr);
  EXPECT_TRUE(reports.messages.empty());
  for (long budget = 0; budget < 6; ++budget) {  // refused memory leaves the caller's lists whole
    ll_list *p = c.polygon(5), *k = c.reals(rising(7));
    zv_fail_alloc_after(budget);
    zvtest::Record r(zv_def_nubspl_curve3d(p, k, 3, 1));
    zv_fail_alloc_after(-1);
    EXPECT_TRUE(r || (ll_list_length(p) == 5 && ll_list_length(k) == 7)) << budget;
  }
}

// On success the three lists are attached by pointer (not copied, not taken over), degree and steps are set (0
// steps stored as 1 for a NURB) and the record gets new output lists; refused output lists change nothing but
// the type.
TEST_F(Definitions, RationalDefinitionsAttachTheCallersLists) {
  Caller c;
  for (bool nurb : {true, false}) {
    zv_curve *curve = zv_create_curve();
    ll_list *ctrl = c.polygon(4), *knots = c.reals(rising(8));
    ll_list *weights = c.reals(std::vector<double>(nurb ? 5 : 4, 1.0));  // more weights suit a NURB
    ASSERT_EQ(nurb ? zv_mk_def_nurb_curve3d(ctrl, knots, weights, 3, 0, curve)
                   : zv_def_ratbezier_curve3d(ctrl, knots, weights, 3, curve), 0);
    EXPECT_EQ(curve->type, nurb ? ZV_CURVE_NURB : ZV_CURVE_RATBEZIER);
    EXPECT_TRUE(value(curve->ctrl_list) == ctrl && value(curve->knot_list) == knots);
    EXPECT_EQ(value(curve->weight_list), weights);
    EXPECT_TRUE(curve->degree == 3 && curve->span_steps == (nurb ? 1 : 0) && ll_list_length(ctrl) == 4);
    EXPECT_TRUE(value(curve->vertex_list) && value(curve->stats_list));
    c.release(curve);
  }
  for (long budget = 0; budget < 2; ++budget) {
    zvtest::Record curve(zv_create_curve());
    ll_list *vertices = curve->vertex_list, *ctrl = c.polygon(3), *weights = c.reals({1, 1, 1});
    zv_fail_alloc_after(budget);
    EXPECT_EQ(zv_mk_def_nurb_curve3d(ctrl, nullptr, weights, 2, 1, curve.get()), -1);
    zv_fail_alloc_after(-1);
    EXPECT_TRUE(value(curve->vertex_list) == vertices && curve->degree == 0);
  }
}

// A beta-spline that must refuse: 0 when it gave no record and left the caller's nodes where they were.
long beta(double b1, double b2) {
  Caller c;
  ll_list *ctrl = c.polygon(5);
  ll_node *head = ctrl->head;
  return made(zv_def_ubetaspl_curve3d(ctrl, b1, b2)) + (ctrl->head != head ? 10 : 0);
}

TEST_F(Definitions, UniformBadInputTable) {
  using zvtest::kInf, zvtest::kNaN;
  zvtest::check_bad_inputs(reports, {
      {"zv_def_ubezier_curve3d", "null list: empty", [] { return made(zv_def_ubezier_curve3d(nullptr)); }, 1},
      {"zv_def_ubspl_curve3d", "null list", [] { return made(zv_def_ubspl_curve3d(nullptr)); }, 1},
      {"zv_def_ucatrom_curve3d", "null list", [] { return made(zv_def_ucatrom_curve3d(nullptr)); }, 1},
      {"zv_def_ubetaspl_curve3d", "null list", [] { return made(zv_def_ubetaspl_curve3d(nullptr, 1, 0)); }, 1},
      {"zv_def_ubetaspl_curve3d", "vanishing divisor", [] { return beta(1.0, -12.0); }, 0},
      {"zv_def_ubetaspl_curve3d", "divisor within 1e-7", [] { return beta(1.0, -12.0 + 5e-8); }, 0},
      {"zv_def_ubetaspl_curve3d", "NaN bias", [] { return beta(kNaN, 0.0); }, 0},
      {"zv_def_ubetaspl_curve3d", "infinite tension", [] { return beta(1.0, kInf); }, 0},
      {"zv_def_ubetaspl_curve3d", "bias whose cube overflows", [] { return beta(1e103, 0.0); }, 0},
  });
}

// Record ownership. Regressions: a uniform split into a record that borrowed the caller's lists released them
// under the caller; a failed rational definition on a non-uniform record, followed by a successful one, leaked
// the record's own lists.
int16_t nurb(Caller &c, zv_curve *r, int16_t degree = 3) {
  return zv_mk_def_nurb_curve3d(c.polygon(5), c.reals({0, 0, 0, 1, 2, 2, 2}), c.reals({1, 2, 1, 2, 1}), degree, 4, r);
}
int16_t rational_bezier(Caller &c, zv_curve *r) {
  return zv_def_ratbezier_curve3d(c.polygon(4), c.reals({0, 0.5, 1}), c.reals({1, 2, 2, 1}), 3, r);
}
zv_curve *nub(Caller &c) { return zv_def_nubspl_curve3d(c.polygon(5), c.reals({0, 0, 0, 1, 2, 2, 2}), 3, 4); }
zv_curve *filled(Caller &c, int16_t (*def)(Caller &, zv_curve *)) {
  zv_curve *r = zv_create_curve();
  EXPECT_EQ(def(c, r), 0);
  return r;
}

// Ways to make a record; each leaves it filled.
const std::vector<std::pair<const char *, std::function<zv_curve *(Caller &)>>> kMakers = {
    {"uniform Bezier", [](Caller &c) { return zv_def_ubezier_curve3d(c.polygon(4)); }},
    {"uniform B-spline", [](Caller &c) { return zv_def_ubspl_curve3d(c.polygon(5)); }},
    {"Catmull-Rom", [](Caller &c) { return zv_def_ucatrom_curve3d(c.polygon(5)); }},
    {"beta-spline", [](Caller &c) { return zv_def_ubetaspl_curve3d(c.polygon(5), 1.5, 0.5); }},
    {"non-uniform", nub},
    {"NURB", [](Caller &c) { return filled(c, [](Caller &k, zv_curve *r) { return nurb(k, r); }); }},
    {"rational Bezier", [](Caller &c) { return filled(c, rational_bezier); }},
    {"failed NURB on non-uniform", [](Caller &c) { zv_curve *r = nub(c); EXPECT_EQ(nurb(c, r, 0), 3); return r; }},
};

// What can happen to a record r next, as target or as source.
const std::vector<std::pair<const char *, std::function<void(Caller &, zv_curve *)>>> kSteps = {
    {"NURB definition", [](Caller &c, zv_curve *r) { EXPECT_EQ(nurb(c, r), 0); }},
    {"rational Bezier definition", [](Caller &c, zv_curve *r) { EXPECT_EQ(rational_bezier(c, r), 0); }},
    {"tessellations", [](Caller &, zv_curve *r) {
       zv_mk_ucurve3d(r, 0.25), zv_mk_nubspline_3d(r, 0, 0), zv_mk_nurb_curve3d(r, 0, 0, 2, 0);
       zv_mk_rat_bezier_3d(r, 0);
     }},
    {"conversion from it", [](Caller &c, zv_curve *r) {
       zv_curve *out = zv_create_curve();
       zv_bspl_to_bezier_curve3d(r, out), zv_rat_bspl_to_bezier_curve3d(r, out);
       c.release(out);
     }},
    {"conversion into it", [](Caller &c, zv_curve *r) {
       zv_curve *source = nub(c);
       EXPECT_EQ(zv_bspl_to_bezier_curve3d(source, r), 0);
       c.release(source);
     }},
    {"uniform split into it", [](Caller &c, zv_curve *r) {
       zv_curve *source = zv_def_ubezier_curve3d(c.polygon(4)), *other = zv_create_curve();
       EXPECT_EQ(zv_sub_bezier_curve3d(source, 0.5, r, other), 0);
       c.release(source), c.release(other);
     }},
    {"rational split into it", [](Caller &c, zv_curve *r) {
       zv_curve *source = filled(c, rational_bezier), *other = zv_create_curve();
       EXPECT_EQ(zv_sub_ratbezier_curve3d(source, 0.5, other, r), 0);
       c.release(source), c.release(other);
     }},
    {"splits of it into itself", [](Caller &c, zv_curve *r) {
       zv_curve *other = zv_create_curve();
       zv_sub_ratbezier_curve3d(r, 0.5, r, other), zv_sub_bezier_curve3d(r, 0.5, other, r);
       c.release(other);
     }},
};

TEST_F(Definitions, EveryStepOnEveryRecordLeaksAndDoubleFreesNothing) {
  for (const auto &[made_by, make] : kMakers) {
    for (const auto &[step, apply] : kSteps) {
      SCOPED_TRACE(std::string(made_by) + " then " + step);
      const long blocks = zv_live_blocks();
      {
        Caller caller;
        zv_curve *r = make(caller);
        ASSERT_NE(r, nullptr);
        apply(caller, r);
        caller.release(r);
      }
      EXPECT_EQ(zv_live_blocks(), blocks);
    }
    SCOPED_TRACE(std::string(made_by) + " then every step in turn, twice");
    Caller caller;
    zv_curve *r = make(caller);
    for (int round = 0; round < 2; ++round)
      for (const auto &step : kSteps) step.second(caller, r);
    caller.release(r);
  }
}

// Clearing the borrowed mark hands the lists to the record (what the C++ and Python layers do): a split that
// replaces them then releases them.
TEST_F(Definitions, ListsHandedToTheRecordGoWithTheSplit) {
  Caller c;
  zv_curve *r = zv_create_curve(), *source = zv_def_ubezier_curve3d(c.polygon(4)), *other = zv_create_curve();
  ll_list *ctrl = zvtest::make_polygon(points(4)), *knots = zvtest::make_reals({0, 1});
  ll_list *weights = zvtest::make_reals({1, 1, 1, 1});
  ASSERT_EQ(zv_def_ratbezier_curve3d(ctrl, knots, weights, 3, r), 0);
  EXPECT_TRUE(ll_list_borrowed(ctrl) && ll_list_borrowed(knots) && ll_list_borrowed(weights));
  for (ll_list *l : {ctrl, knots, weights}) ll_set_list_borrowed(l, 0);
  EXPECT_EQ(zv_sub_bezier_curve3d(source, 0.5, other, r), 0);
  zv_purge_curve(r), zv_purge_curve(source), zv_purge_curve(other);
}

}  // namespace
