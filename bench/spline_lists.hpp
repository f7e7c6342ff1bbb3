// Kernel lists and non-uniform or NURB records built from flat arrays, for
// the benchmarks that time work on such records.
#pragma once

#include <rivezi3z/rivezi3z.h>

#include <cstddef>
#include <vector>

namespace zvbench {

// A new list of real numbers (knots or weights).
inline ll_list *real_list(const double *first, const double *last) {
  ll_list *list = ll_create_list();
  for (; first != last; ++first) {
    zv_rnumber *r = zv_create_rnumber();
    r->value = *first;
    ll_add_list_item(list, 1, r, ZV_ITEM_RNUMBER);
  }
  return list;
}

// A new list of vertices from x, y, z triples.
inline ll_list *vertex_list(const std::vector<double> &xyz) {
  ll_list *list = ll_create_list();
  for (std::size_t i = 0; i + 2 < xyz.size(); i += 3) {
    zv_poly_3d *v = zv_create_poly_3d();
    v->x = xyz[i];
    v->y = xyz[i + 1];
    v->z = xyz[i + 2];
    ll_add_list_item(list, 1, v, ZV_ITEM_POLY);
  }
  return list;
}

// A non-uniform B-spline record (kind 98), or a NURB record (kind 95) with
// the weights, of the given degree; knots is the full clamped vector, of
// which the record keeps all but the outermost knot at either end.
inline zv_curve *spline_record(const std::vector<double> &xyz, const std::vector<double> &weights,
                               const std::vector<double> &knots, int16_t degree, int16_t steps, bool rational) {
  ll_list *stored = real_list(knots.data() + 1, knots.data() + knots.size() - 1);
  if (!rational) {
    ll_list *ctrl = vertex_list(xyz);
    zv_curve *curve = zv_def_nubspl_curve3d(ctrl, stored, degree, steps);
    ll_purge_list(ctrl);  // the emptied headers stay the caller's
    ll_purge_list(stored);
    return curve;
  }
  zv_curve *curve = zv_create_curve();
  zv_mk_def_nurb_curve3d(vertex_list(xyz), stored, real_list(weights.data(), weights.data() + weights.size()), degree,
                         steps, curve);
  return curve;
}

}  // namespace zvbench
