// The uniform cubic definitions: their matrices, the take-over of the
// caller's list, and the beta-spline's refusals.
#include "bad_inputs.hpp"
#include "spline_records.hpp"

namespace {

using zvtest::made;

const std::vector<zv_pnt_3d> kPolygon = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 1}, {2, 3, 4}};

zv_curve *define(zv_curve *(*def)(ll_list *)) {
  ll_list *ctrl = zvtest::make_polygon(kPolygon);
  zv_curve *curve = def(ctrl);
  ll_purge_list(ctrl);
  return curve;
}

class UniformDefinitions : public zvtest::KernelTest {};

// Each row sums to the coefficient of a constant curve: only t^0 survives.
void expect_basis_rows(const zv_curve *c) {
  for (int r = 0; r < 4; ++r)
    EXPECT_NEAR(c->basis[4 * r] + c->basis[4 * r + 1] + c->basis[4 * r + 2] + c->basis[4 * r + 3], r == 3 ? 1.0 : 0.0,
                1e-14) << "type " << zvtest::value(c->type) << " row " << r;
}

TEST_F(UniformDefinitions, KindsAndMatrices) {
  const std::pair<zv_curve *(*)(ll_list *), int16_t> kinds[] = {
      {zv_def_ubspl_curve3d, ZV_CURVE_UBSPLINE}, {zv_def_ucatrom_curve3d, ZV_CURVE_UCATROM},
      {zv_def_ubezier_curve3d, ZV_CURVE_UBEZIER}, {[](ll_list *l) { return zv_def_ubetaspl_curve3d(l, 2, 1); }, ZV_CURVE_UBETASPL}};
  for (const auto &[def, kind] : kinds) {
    zvtest::Record c(define(def));
    EXPECT_EQ(c->type, kind);
    expect_basis_rows(c.get());
  }
  zvtest::Record bezier(define(zv_def_ubezier_curve3d)), bspline(define(zv_def_ubspl_curve3d));
  const double undivided[16] = {-1, 3, -3, 1, 3, -6, 3, 0, -3, 3, 0, 0, 1, 0, 0, 0};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(zvtest::value(bezier->basis[i]), undivided[i]) << i;
  for (double bias : {0.25, 1.0, 3.0})
    for (double tension : {0.0, 2.0, 50.0}) {
      ll_list *ctrl = zvtest::make_polygon(kPolygon);
      zvtest::Record beta(zv_def_ubetaspl_curve3d(ctrl, bias, tension));
      ll_purge_list(ctrl);
      expect_basis_rows(beta.get());
      for (int i = 0; bias == 1.0 && tension == 0.0 && i < 16; ++i)  // the B-spline's matrix
        EXPECT_DOUBLE_EQ(zvtest::value(beta->basis[i]), zvtest::value(bspline->basis[i])) << i;
    }
}

TEST_F(UniformDefinitions, TakesTheCallersNodesInOrderWithTheCursorOnTheFirst) {
  ll_list *ctrl = zvtest::make_polygon(kPolygon);
  std::vector<ll_node *> nodes, taken;
  for (ll_node *n = ctrl->head; n; n = n->next) nodes.push_back(n);
  ll_set_list_currpntr(ctrl, LL_LAST);
  zvtest::Record curve(zv_def_ubspl_curve3d(ctrl));
  EXPECT_EQ(ctrl->head, nullptr);
  EXPECT_EQ(ll_get_list_data(ctrl), nullptr);
  for (ll_node *n = curve->ctrl_list->head; n; n = n->next) taken.push_back(n);
  EXPECT_EQ(taken, nodes);
  EXPECT_EQ(curve->ctrl_list->current, nodes.front());
  EXPECT_EQ(ll_get_list_count(curve->ctrl_list), 5);
  ASSERT_EQ(ll_add_list_item(ctrl, 1, zv_create_poly_3d(), ZV_ITEM_POLY), 1);  // the emptied header still works
  EXPECT_EQ(ll_get_list_count(ctrl), 1);
  ll_purge_list(ctrl);
}

// A beta-spline that must refuse: 0 when it gave no record and left the
// caller's nodes where they were.
long beta(double b1, double b2) {
  ll_list *ctrl = zvtest::make_polygon(kPolygon);
  ll_node *head = ctrl->head;
  const long r = made(zv_def_ubetaspl_curve3d(ctrl, b1, b2)) + (ctrl->head != head ? 10 : 0);
  ll_purge_list(ctrl);
  return r;
}

TEST_F(UniformDefinitions, BadInputTable) {
  using zvtest::kInf, zvtest::kNaN;
  zvtest::check_bad_inputs(reports, {
      {"zv_def_ubezier_curve3d", "null list: an empty polygon", [] { return made(zv_def_ubezier_curve3d(nullptr)); }, 1},
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

}  // namespace
