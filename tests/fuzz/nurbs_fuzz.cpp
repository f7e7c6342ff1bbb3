// Fuzz target: the non-uniform and rational definitions, the two de Boor
// evaluators and the three tessellators, on records the input may also
// redefine or change field by field.
#include "fuzz_input.hpp"

namespace zvfuzz {
namespace {

void deboor(Input &in) {
  const int16_t p = in.count();
  const int size = p >= 0 && p <= ZV_MAX_DEBOOR_DEGREE ? p + 1 : 1;
  std::vector<zv_poly_3d> vertices(size);
  std::vector<zv_poly_3d *> points(size);
  for (int i = 0; i < size; ++i) {
    const zv_pnt_3d q = in.point();
    vertices[i].x = q.x, vertices[i].y = q.y, vertices[i].z = q.z;
    points[i] = in.byte() < 8 ? nullptr : &vertices[i];
  }
  std::vector<double> knots = in.numbers(2 * size), weights = in.numbers(size);
  knots.resize(2 * size), weights.resize(size);
  zv_pnt_3d result;
  if (in.flag())
    zv_deboor_3d(in.real(), p, in.maybe(points.data()), in.maybe(knots.data()), in.maybe(&result));
  else
    zv_rat_deboor_3d(in.real(), p, in.maybe(points.data()), in.maybe(weights.data()), in.maybe(knots.data()),
                     in.maybe(&result));
}

}  // namespace

void fuzz_one(Input &in) {
  if (in.byte() < 40) return deboor(in);
  Owned owned;
  std::vector<zv_curve *> curves;
  zv_curve *curve = nullptr;
  for (int defs = in.pick(2) + 1; defs > 0; --defs) {
    ll_list *ctrl = owned.add(in.polygon()), *knots = owned.add(in.reals()), *weights = owned.add(in.reals());
    const int16_t degree = in.count(), steps = in.count();
    const int kind = in.pick(3);
    if (kind == 0) {
      zv_curve *made = refusing(in, [&] { return zv_def_nubspl_curve3d(ctrl, knots, degree, steps); });
      if (made) curves.push_back(curve = made);
      continue;
    }
    if (!curve || in.flag()) {
      curve = zv_create_curve();
      if (!curve) continue;
      curves.push_back(curve);
    }
    zv_curve *target = in.maybe(curve);
    if (kind == 1)
      refusing(in, [&] { return zv_mk_def_nurb_curve3d(ctrl, knots, weights, degree, steps, target); });
    else
      refusing(in, [&] { return zv_def_ratbezier_curve3d(ctrl, knots, weights, degree, target); });
  }
  if (curve && in.byte() < 32) curve->type = in.count();
  if (curve && in.byte() < 32) curve->degree = in.count();
  if (curve && in.byte() < 32) curve->span_steps = in.count();
  if (curve && in.byte() < 16) {  // an output list the caller took away
    owned.add(curve->vertex_list);
    curve->vertex_list = nullptr;
  }
  for (int calls = in.pick(3) + 1; calls > 0; --calls) {
    zv_curve *target = in.maybe(curve);
    const int16_t first = in.count(), last = in.count(), spans = in.count(), steps = in.count();
    switch (in.pick(3)) {
      case 0: refusing(in, [&] { return zv_mk_nubspline_3d(target, first, last); }); break;
      case 1: refusing(in, [&] { return zv_mk_nurb_curve3d(target, first, last, spans, steps); }); break;
      default: refusing(in, [&] { return zv_mk_rat_bezier_3d(target, first); });
    }
  }
  owned.release(curves);
}

}  // namespace zvfuzz
