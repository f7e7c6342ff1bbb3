// The curve definitions: uniform matrices, the beta-spline's refusals, the
// take-over or attachment of the caller's lists, and who owns a record's
// lists through definitions, tessellations, conversions and splits. The
// non-uniform and rational refusals are in tests/reliability/bad_inputs_test.cpp.
#include <algorithm>
#include <functional>
#include <tuple>

#include "bad_inputs.hpp"
#include "spline_records.hpp"

namespace {

using zvtest::rising;
using zvtest::value;

class Definitions : public zvtest::KernelTest {};

// The caller's side: the lists it made and the records it holds, released last (the records first, their slots
// that hold the caller's lists cleared).
class Caller {
 public:
  ~Caller() {
    const auto own = [this](ll_list *l) { return std::count(lists_.begin(), lists_.end(), l) ? nullptr : l; };
    for (zv_curve *r : records_) {
      r->weight_list = own(r->weight_list), r->knot_list = own(r->knot_list), r->ctrl_list = own(r->ctrl_list);
      r->vertex_list = own(r->vertex_list), r->stats_list = own(r->stats_list);
      zv_purge_curve(r);
    }
    for (ll_list *l : lists_) ll_purge_list(l);
  }
  ll_list *polygon(int n) { return keep(zvtest::make_polygon(zvtest::points(n))); }
  ll_list *reals(const std::vector<double> &v) { return keep(zvtest::make_reals(v)); }
  ll_list *keep(ll_list *l) { return lists_.push_back(l), l; }
  zv_curve *hold(zv_curve *r) { return records_.push_back(r), r; }

 private:
  std::vector<ll_list *> lists_;
  std::vector<zv_curve *> records_;
};

// Each matrix row sums to the coefficient of a constant curve (only t^0 survives); the Bezier matrix is stored
// undivided and the beta-spline of bias 1 and tension 0 is the B-spline.
TEST_F(Definitions, UniformKindsAndMatrices) {
  Caller c;
  const auto rows_sum = [](const zv_curve *r) {
    for (int i = 0; i < 4; ++i)
      EXPECT_NEAR(r->basis[4 * i] + r->basis[4 * i + 1] + r->basis[4 * i + 2] + r->basis[4 * i + 3], i == 3, 1e-14)
          << "type " << value(r->type) << " row " << i;
  };
  const std::pair<zv_curve *(*)(ll_list *), int16_t> kinds[] = {
      {zv_def_ubspl_curve3d, ZV_CURVE_UBSPLINE}, {zv_def_ucatrom_curve3d, ZV_CURVE_UCATROM},
      {zv_def_ubezier_curve3d, ZV_CURVE_UBEZIER},
      {[](ll_list *l) { return zv_def_ubetaspl_curve3d(l, 2, 1); }, ZV_CURVE_UBETASPL}};
  for (const auto &[def, kind] : kinds) {
    zvtest::Record r(def(c.polygon(5)));
    EXPECT_EQ(r->type, kind);
    rows_sum(r.get());
  }
  zvtest::Record bezier(zv_def_ubezier_curve3d(c.polygon(5))), bspline(zv_def_ubspl_curve3d(c.polygon(5)));
  const double undivided[16] = {-1, 3, -3, 1, 3, -6, 3, 0, -3, 3, 0, 0, 1, 0, 0, 0};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(value(bezier->basis[i]), undivided[i]) << i;
  for (double bias : {0.25, 1.0, 3.0})
    for (double tension : {0.0, 2.0, 50.0}) {
      zvtest::Record beta(zv_def_ubetaspl_curve3d(c.polygon(5), bias, tension));
      rows_sum(beta.get());
      for (int i = 0; bias == 1.0 && tension == 0.0 && i < 16; ++i)
        EXPECT_DOUBLE_EQ(value(beta->basis[i]), value(bspline->basis[i])) << i;
    }
}

// A null list gives an empty record; a beta-spline whose divisor lies within 1e-7 of 0 or is not finite (NaN bias,
// infinite tension, a bias whose cube overflows) gives none and leaves the caller's nodes where they were. Silently.
TEST_F(Definitions, UniformBadInputs) {
  for (auto def : {zv_def_ubezier_curve3d, zv_def_ubspl_curve3d, zv_def_ucatrom_curve3d,
                   +[](ll_list *l) { return zv_def_ubetaspl_curve3d(l, 1, 0); }})
    EXPECT_EQ(zvtest::made(def(nullptr)), 1);
  using zvtest::kNaN, zvtest::kInf;
  for (const auto &[bias, tension] : {std::pair{1.0, -12.0}, {1, -12 + 5e-8}, {kNaN, 0}, {1, kInf}, {1e103, 0}}) {
    Caller c;
    ll_list *ctrl = c.polygon(5);
    ll_node *head = ctrl->head;
    EXPECT_TRUE(!zv_def_ubetaspl_curve3d(ctrl, bias, tension) && ctrl->head == head) << bias << ", " << tension;
  }
  EXPECT_TRUE(reports.messages.empty() && reports.memerrs.empty());
}

// Uniform and non-uniform definitions take the caller's nodes over in order, the cursor on the first, and leave
// emptied headers that still work; refused memory leaves the caller's lists whole.
TEST_F(Definitions, TakeTheCallersNodesInOrderWithTheCursorOnTheFirst) {
  Caller c;
  const auto nodes = [](const ll_list *l) {
    std::vector<const ll_node *> out;
    for (const ll_node *n = l->head; n; n = n->next) out.push_back(n);
    return out;
  };
  ll_list *ctrl = c.polygon(5), *points = c.polygon(5), *knots = c.reals(rising(7));
  const auto taken = {std::tuple{ctrl, nodes(ctrl)}, {points, nodes(points)}, {knots, nodes(knots)}};
  for (const auto &[l, was] : taken) ll_set_list_currpntr(l, LL_LAST);
  zvtest::Record curve(zv_def_ubspl_curve3d(ctrl)), nub(zv_def_nubspl_curve3d(points, knots, 3, 0));
  ASSERT_TRUE(curve && nub);
  EXPECT_TRUE(nub->type == ZV_CURVE_NUBSPLINE && nub->degree == 3 && nub->span_steps == 0);  // steps as given
  const ll_list *into[] = {curve->ctrl_list, nub->ctrl_list, nub->knot_list};
  for (size_t i = 0; i < 3; ++i) {
    const auto &[from, was] = *(taken.begin() + i);
    EXPECT_TRUE(from->head == nullptr && ll_get_list_data(from) == nullptr && nodes(into[i]) == was) << i;
    EXPECT_TRUE(into[i]->current == was.front() && ll_get_list_count(into[i]) == long(was.size())) << i;
  }
  ASSERT_EQ(ll_add_list_item(ctrl, 1, zv_create_poly_3d(), ZV_ITEM_POLY), 1);
  EXPECT_EQ(ll_get_list_count(ctrl), 1);
  // Null lists count as empty: degree 1 with no points needs no knot. 32768 points need 32770 knots: saturating
  // counts would refuse them.
  zvtest::Record empty(zv_def_nubspl_curve3d(nullptr, nullptr, 1, 2));
  EXPECT_EQ(zv_mk_nubspline_3d(empty.get(), 0, 0), 2);
  ll_list *many = c.keep(zvtest::make_polygon(std::vector<zv_pnt_3d>(32768, zv_pnt_3d{1, 2, 3})));
  EXPECT_NE(zvtest::Record(zv_def_nubspl_curve3d(many, c.reals(rising(32770)), 3, 1)), nullptr);
  EXPECT_TRUE(reports.messages.empty());
  for (long budget = 0; budget < 6; ++budget) {
    ll_list *p = c.polygon(5), *k = c.reals(rising(7));
    zv_fail_alloc_after(budget);
    zvtest::Record r(zv_def_nubspl_curve3d(p, k, 3, 1));
    zv_fail_alloc_after(-1);
    EXPECT_TRUE(r || (ll_list_length(p) == 5 && ll_list_length(k) == 7)) << budget;
  }
}

// The rational definitions attach the three lists by pointer, borrowed, set degree and steps (0 steps stored as 1
// for a NURB) and give the record new output lists; refused output lists change nothing but the type. Clearing
// the borrowed marks hands the lists to the record (what the C++ and Python layers do): a split that replaces
// them then releases them.
TEST_F(Definitions, RationalDefinitionsAttachTheCallersLists) {
  Caller c;
  for (bool nurb : {true, false}) {
    zv_curve *curve = c.hold(zv_create_curve());
    ll_list *ctrl = c.polygon(4), *knots = c.reals(rising(8));
    ll_list *weights = c.reals(std::vector<double>(nurb ? 5 : 4, 1.0));  // more weights suit a NURB
    ASSERT_EQ(nurb ? zv_mk_def_nurb_curve3d(ctrl, knots, weights, 3, 0, curve)
                   : zv_def_ratbezier_curve3d(ctrl, knots, weights, 3, curve), 0);
    EXPECT_EQ(curve->type, nurb ? ZV_CURVE_NURB : ZV_CURVE_RATBEZIER);
    EXPECT_TRUE(value(curve->ctrl_list) == ctrl && value(curve->knot_list) == knots);
    EXPECT_EQ(value(curve->weight_list), weights);
    EXPECT_TRUE(ll_list_borrowed(ctrl) && ll_list_borrowed(knots) && ll_list_borrowed(weights));
    EXPECT_TRUE(curve->degree == 3 && curve->span_steps == (nurb ? 1 : 0) && ll_list_length(ctrl) == 4);
    EXPECT_TRUE(value(curve->vertex_list) && value(curve->stats_list));
  }
  for (long budget = 0; budget < 2; ++budget) {
    zvtest::Record curve(zv_create_curve());
    ll_list *vertices = curve->vertex_list, *ctrl = c.polygon(3), *weights = c.reals({1, 1, 1});
    zv_fail_alloc_after(budget);
    EXPECT_EQ(zv_mk_def_nurb_curve3d(ctrl, nullptr, weights, 2, 1, curve.get()), -1);
    zv_fail_alloc_after(-1);
    EXPECT_TRUE(value(curve->vertex_list) == vertices && curve->degree == 0);
  }
  zvtest::Record r(zv_create_curve()), source(zv_def_ubezier_curve3d(c.polygon(4))), other(zv_create_curve());
  ASSERT_EQ(zv_def_ratbezier_curve3d(zvtest::make_polygon(zvtest::points(4)), zvtest::make_reals({0, 1}),
                                     zvtest::make_reals({1, 1, 1, 1}), 3, r.get()), 0);
  for (ll_list *l : {value(r->ctrl_list), value(r->knot_list), value(r->weight_list)}) ll_set_list_borrowed(l, 0);
  EXPECT_EQ(zv_sub_bezier_curve3d(source.get(), 0.5, other.get(), r.get()), 0);
}

// Record ownership: every step on every record, alone and in turn, leaks nothing and releases nothing twice (under
// AddressSanitizer). Regressions: a uniform split into a record that borrowed the caller's lists released them under
// the caller; a failed rational definition on a non-uniform record, then a successful one, leaked its lists.
int16_t nurb(Caller &c, zv_curve *r, int16_t degree = 3) {
  return zv_mk_def_nurb_curve3d(c.polygon(5), c.reals({0, 0, 0, 1, 2, 2, 2}), c.reals({1, 2, 1, 2, 1}), degree, 4, r);
}
int16_t rational_bezier(Caller &c, zv_curve *r) {
  return zv_def_ratbezier_curve3d(c.polygon(4), c.reals({0, 0.5, 1}), c.reals({1, 2, 2, 1}), 3, r);
}
zv_curve *nub(Caller &c) { return zv_def_nubspl_curve3d(c.polygon(5), c.reals({0, 0, 0, 1, 2, 2, 2}), 3, 4); }
zv_curve *fresh(Caller &c) { return c.hold(zv_create_curve()); }

TEST_F(Definitions, EveryStepOnEveryRecordLeaksAndDoubleFreesNothing) {
  using Make = zv_curve *(*)(Caller &);
  const Make makers[] = {
      [](Caller &c) { return zv_def_ubezier_curve3d(c.polygon(4)); },
      [](Caller &c) { return zv_def_ubspl_curve3d(c.polygon(5)); },
      [](Caller &c) { return zv_def_ucatrom_curve3d(c.polygon(5)); },
      [](Caller &c) { return zv_def_ubetaspl_curve3d(c.polygon(5), 1.5, 0.5); }, nub,
      [](Caller &c) { zv_curve *r = zv_create_curve(); EXPECT_EQ(nurb(c, r), 0); return r; },
      [](Caller &c) { zv_curve *r = zv_create_curve(); EXPECT_EQ(rational_bezier(c, r), 0); return r; },
      [](Caller &c) { zv_curve *r = nub(c); EXPECT_EQ(nurb(c, r, 0), 3); return r; }};  // a failed NURB on it
  // Definitions, tessellations, conversions from and into it, splits into it and of it into itself.
  using Step = void (*)(Caller &, zv_curve *);
  const Step steps[] = {
      [](Caller &c, zv_curve *r) { EXPECT_EQ(nurb(c, r), 0); },
      [](Caller &c, zv_curve *r) { EXPECT_EQ(rational_bezier(c, r), 0); },
      [](Caller &, zv_curve *r) {
        zv_mk_ucurve3d(r, 0.25), zv_mk_nubspline_3d(r, 0, 0), zv_mk_nurb_curve3d(r, 0, 0, 2, 0);
        zv_mk_rat_bezier_3d(r, 0);
      },
      [](Caller &c, zv_curve *r) {
        zv_curve *out = fresh(c);
        zv_bspl_to_bezier_curve3d(r, out), zv_rat_bspl_to_bezier_curve3d(r, out);
      },
      [](Caller &c, zv_curve *r) { EXPECT_EQ(zv_bspl_to_bezier_curve3d(c.hold(nub(c)), r), 0); },
      [](Caller &c, zv_curve *r) {
        EXPECT_EQ(zv_sub_bezier_curve3d(c.hold(zv_def_ubezier_curve3d(c.polygon(4))), 0.5, r, fresh(c)), 0);
      },
      [](Caller &c, zv_curve *r) {
        zv_curve *source = fresh(c);
        EXPECT_TRUE(rational_bezier(c, source) == 0 && zv_sub_ratbezier_curve3d(source, 0.5, fresh(c), r) == 0);
      },
      [](Caller &c, zv_curve *r) {
        zv_curve *other = fresh(c);
        zv_sub_ratbezier_curve3d(r, 0.5, r, other), zv_sub_bezier_curve3d(r, 0.5, other, r);
      }};
  const size_t n = std::size(steps);
  for (size_t m = 0; m < std::size(makers); ++m)
    for (size_t s = 0; s <= n; ++s) {  // each step alone, then all in turn twice
      const long blocks = zv_live_blocks();
      {
        Caller c;
        zv_curve *r = c.hold(makers[m](c));
        for (size_t k = 0; k < 2 * n; ++k)
          if (s == n || k == s) steps[k % n](c, r);
      }
      EXPECT_EQ(zv_live_blocks(), blocks) << "record " << m << ", step " << s;
    }
}

}  // namespace
