// The uniform cubic definitions: matrices, the list take-over, and what
// they do with bad input and refused memory.
#include <cmath>

#include "zv_testing.hpp"

namespace {

using zvtest::KernelTest;

std::vector<zv_pnt_3d> square_polygon() { return {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 1}, {2, 3, 4}}; }

double entry(const zv_curve *c, int r, int k) { return c->basis[4 * r + k]; }

class UniformDefinitions : public KernelTest {};

// ---------------------------------------------------------------- matrices

TEST_F(UniformDefinitions, KindsAndRowSumsOfEachMatrix) {
  struct Case {
    zv_curve *(*define)(ll_list *);
    int16_t kind;
  } cases[] = {{zv_def_ubspl_curve3d, ZV_CURVE_UBSPLINE},
               {zv_def_ucatrom_curve3d, ZV_CURVE_UCATROM},
               {zv_def_ubezier_curve3d, ZV_CURVE_UBEZIER}};
  for (const Case &c : cases) {
    ll_list *ctrl = zvtest::make_polygon(square_polygon());
    zv_curve *curve = c.define(ctrl);
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->type, c.kind);
    // Each row sums to the coefficient of a constant curve: only t^0 survives.
    for (int r = 0; r < 4; ++r) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += entry(curve, r, k);
      EXPECT_NEAR(sum, r == 3 ? 1.0 : 0.0, 1e-15) << "kind " << c.kind << " row " << r;
    }
    zv_purge_curve(curve);
    ll_purge_list(ctrl);
  }
}

TEST_F(UniformDefinitions, BezierMatrixIsStoredUndivided) {
  ll_list *ctrl = zvtest::make_polygon(square_polygon());
  zv_curve *curve = zv_def_ubezier_curve3d(ctrl);
  const double expected[16] = {-1, 3, -3, 1, 3, -6, 3, 0, -3, 3, 0, 0, 1, 0, 0, 0};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(entry(curve, i / 4, i % 4), expected[i]) << i;
  zv_purge_curve(curve);
  ll_purge_list(ctrl);
}

TEST_F(UniformDefinitions, BetaSplineWithUnitBiasAndNoTensionIsTheBSpline) {
  ll_list *a = zvtest::make_polygon(square_polygon());
  ll_list *b = zvtest::make_polygon(square_polygon());
  zv_curve *beta = zv_def_ubetaspl_curve3d(a, 1.0, 0.0);
  zv_curve *bspline = zv_def_ubspl_curve3d(b);
  ASSERT_NE(beta, nullptr);
  EXPECT_EQ(beta->type, ZV_CURVE_UBETASPL);
  for (int i = 0; i < 16; ++i) EXPECT_DOUBLE_EQ(entry(beta, i / 4, i % 4), entry(bspline, i / 4, i % 4)) << i;
  zv_purge_curve(beta);
  zv_purge_curve(bspline);
  ll_purge_list(a);
  ll_purge_list(b);
}

TEST_F(UniformDefinitions, BetaSplineRowsSumLikeABasisForAnyShape) {
  for (double bias : {0.25, 1.0, 3.0}) {
    for (double tension : {0.0, 2.0, 50.0}) {
      ll_list *ctrl = zvtest::make_polygon(square_polygon());
      zv_curve *curve = zv_def_ubetaspl_curve3d(ctrl, bias, tension);
      ASSERT_NE(curve, nullptr);
      for (int r = 0; r < 4; ++r) {
        double sum = 0.0;
        for (int k = 0; k < 4; ++k) sum += entry(curve, r, k);
        EXPECT_NEAR(sum, r == 3 ? 1.0 : 0.0, 1e-14);
      }
      zv_purge_curve(curve);
      ll_purge_list(ctrl);
    }
  }
}

// --------------------------------------------------------- list take-over

TEST_F(UniformDefinitions, TakesTheCallersNodesInOrderWithTheCursorOnTheFirst) {
  ll_list *ctrl = zvtest::make_polygon(square_polygon());
  std::vector<ll_node *> nodes;
  for (ll_node *n = ctrl->head; n; n = n->next) nodes.push_back(n);
  ll_set_list_currpntr(ctrl, LL_LAST);  // the definition rewinds it

  zv_curve *curve = zv_def_ubspl_curve3d(ctrl);
  ASSERT_NE(curve, nullptr);
  EXPECT_EQ(ctrl->head, nullptr);
  EXPECT_EQ(ll_get_list_count(ctrl), 0);
  EXPECT_EQ(ll_get_list_data(ctrl), nullptr);
  std::vector<ll_node *> taken;
  for (ll_node *n = curve->ctrl_list->head; n; n = n->next) taken.push_back(n);
  EXPECT_EQ(taken, nodes);
  EXPECT_EQ(curve->ctrl_list->current, nodes.front());
  EXPECT_EQ(ll_get_list_count(curve->ctrl_list), 5);

  // The emptied header is the caller's and still works as a list.
  zv_poly_3d *v = zv_create_poly_3d();
  ASSERT_EQ(ll_add_list_item(ctrl, 1, v, ZV_ITEM_POLY), 1);
  EXPECT_EQ(ll_get_list_count(ctrl), 1);
  zv_purge_curve(curve);
  ll_purge_list(ctrl);
}

// ------------------------------------------------------------- bad input

}  // namespace
