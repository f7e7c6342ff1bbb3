// Bad inputs of the uniform definitions, their tessellation and the segment
// evaluator: one row per function and class of bad input.
#include "bad_inputs.hpp"

namespace {

using zvtest::BadInput;
using zvtest::kInf;
using zvtest::kNaN;
using zvtest::made;

const std::vector<zv_pnt_3d> kSquare = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}};

// A beta-spline definition that must refuse: 0 when it gave no record and
// left the caller's nodes where they were.
long beta(double b1, double b2) {
  ll_list *ctrl = zvtest::make_polygon(kSquare);
  ll_node *head = ctrl->head;
  const long r = made(zv_def_ubetaspl_curve3d(ctrl, b1, b2)) + (ctrl->head != head ? 10 : 0);
  ll_purge_list(ctrl);
  return r;
}

// Tessellates a B-spline record of the first n square points with step;
// drop_ctrl clears the record's control list slot first.
long tessellate(size_t n, double step, bool drop_ctrl = false) {
  ll_list *ctrl = zvtest::make_polygon({kSquare.begin(), kSquare.begin() + n});
  zv_curve *curve = zv_def_ubspl_curve3d(ctrl);
  ll_purge_list(ctrl);
  ll_list *saved = curve->ctrl_list;
  if (drop_ctrl) curve->ctrl_list = nullptr;
  const long r = zv_mk_ucurve3d(curve, step);
  curve->ctrl_list = saved;
  zv_purge_curve(curve);
  return r;
}

// Evaluates a Bezier segment of the square at t with one pointer nulled:
// 0 none, 1 the segment array, 2 an entry, 3 .. 6 an output.
long evaluate(double t, int null_one = 0) {
  ll_list *ctrl = zvtest::make_polygon(kSquare);
  zv_curve *curve = zv_def_ubezier_curve3d(ctrl);
  ll_purge_list(ctrl);
  zv_poly_3d *seg[4];
  ll_node *node = curve->ctrl_list->head;
  for (auto &s : seg) s = static_cast<zv_poly_3d *>(node->data), node = node->next;
  if (null_one == 2) seg[2] = nullptr;
  zv_pnt_3d p;
  zv_vector_3d a, b, c;
  const long r = zv_eval_t_on_ucurve3d(curve, t, null_one == 1 ? nullptr : seg, null_one == 3 ? nullptr : &p,
                                       null_one == 4 ? nullptr : &a, null_one == 5 ? nullptr : &b,
                                       null_one == 6 ? nullptr : &c);
  zv_purge_curve(curve);
  return r;
}

class UniformFamily : public zvtest::KernelTest {};

TEST_F(UniformFamily, BadInputTable) {
  const std::vector<BadInput> rows = {
      {"zv_def_ubezier_curve3d", "null list: an empty polygon", [] { return made(zv_def_ubezier_curve3d(nullptr)); }, 1},
      {"zv_def_ubspl_curve3d", "null list", [] { return made(zv_def_ubspl_curve3d(nullptr)); }, 1},
      {"zv_def_ucatrom_curve3d", "null list", [] { return made(zv_def_ucatrom_curve3d(nullptr)); }, 1},
      {"zv_def_ubetaspl_curve3d", "null list", [] { return made(zv_def_ubetaspl_curve3d(nullptr, 1, 0)); }, 1},
      {"zv_def_ubetaspl_curve3d", "vanishing divisor", [] { return beta(1.0, -12.0); }, 0},
      {"zv_def_ubetaspl_curve3d", "divisor within 1e-7", [] { return beta(1.0, -12.0 + 5e-8); }, 0},
      {"zv_def_ubetaspl_curve3d", "NaN bias", [] { return beta(kNaN, 0.0); }, 0},
      {"zv_def_ubetaspl_curve3d", "infinite tension", [] { return beta(1.0, kInf); }, 0},
      {"zv_def_ubetaspl_curve3d", "bias whose cube overflows", [] { return beta(1e103, 0.0); }, 0},
      {"zv_mk_ucurve3d", "null record", [] { return zv_mk_ucurve3d(nullptr, 0.1); }, 1},
      {"zv_mk_ucurve3d", "three points", [] { return tessellate(3, 0.1); }, 2},
      {"zv_mk_ucurve3d", "null control list slot", [] { return tessellate(5, 0.1, true); }, 2},
      {"zv_mk_ucurve3d", "record of a null list", [] {
         zv_curve *c = zv_def_ubspl_curve3d(nullptr);
         const long r = zv_mk_ucurve3d(c, 0.1);
         zv_purge_curve(c);
         return r;
       }, 2},
      {"zv_mk_ucurve3d", "NaN step: 0.1", [] { return tessellate(5, kNaN); }, 0},
      {"zv_mk_ucurve3d", "negative step: 0.1", [] { return tessellate(5, -1.0); }, 0},
      {"zv_mk_ucurve3d", "step at the tolerance: 0.1", [] { return tessellate(5, 1e-7); }, 0},
      {"zv_mk_ucurve3d", "infinite step: one sample a segment", [] { return tessellate(5, kInf); }, 0},
      {"zv_eval_t_on_ucurve3d", "null record", [] { return zv_eval_t_on_ucurve3d(nullptr, 0.5, nullptr, nullptr, nullptr, nullptr, nullptr); }, 1},
      {"zv_eval_t_on_ucurve3d", "NaN t", [] { return evaluate(kNaN); }, 2},
      {"zv_eval_t_on_ucurve3d", "t below -1e-7", [] { return evaluate(-2e-7); }, 2},
      {"zv_eval_t_on_ucurve3d", "t above 1.0000001", [] { return evaluate(1.0000002); }, 2},
      {"zv_eval_t_on_ucurve3d", "infinite t", [] { return evaluate(kInf); }, 2},
      {"zv_eval_t_on_ucurve3d", "null segment array", [] { return evaluate(0.5, 1); }, 3},
      {"zv_eval_t_on_ucurve3d", "null segment entry", [] { return evaluate(0.5, 2); }, 3},
      {"zv_eval_t_on_ucurve3d", "null point", [] { return evaluate(0.5, 3); }, 3},
      {"zv_eval_t_on_ucurve3d", "null tangent", [] { return evaluate(0.5, 4); }, 3},
      {"zv_eval_t_on_ucurve3d", "null second derivative", [] { return evaluate(0.5, 5); }, 3},
      {"zv_eval_t_on_ucurve3d", "null normal", [] { return evaluate(0.5, 6); }, 3},
  };
  zvtest::check_bad_inputs(reports, rows);
}

}  // namespace
