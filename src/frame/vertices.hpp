// The one way every family appends output records: a new vertex or a new
// statistics record made by the kernel, filled, and appended at the end.
#pragma once

#include <rivezi3z/rivivi.h>

#include "frame/records.hpp"

namespace zv {

// Adds a new vertex numbered index at p, after the last node (where 1) or
// before the first (where 0); false when the kernel refused the record or
// its node (the kernel has then released the record).
inline bool add_vertex(ll_list *list, int16_t where, long index, const Point3 &p) {
  zv_poly_3d *v = zv_create_poly_3d();
  if (!v) return false;
  v->index = vertex_number(index);
  store(p, v);
  return ll_add_list_item(list, where, v, ZV_ITEM_POLY) != 0;
}

// Appends a new vertex numbered index at p; false when refused.
inline bool append_vertex(ll_list *list, long index, const Point3 &p) { return add_vertex(list, 1, index, p); }

// Adds a new real number (a knot or weight), after the last node (where 1)
// or before the first (where 0); false when refused.
inline bool add_real(ll_list *list, int16_t where, double value) {
  zv_rnumber *r = zv_create_rnumber();
  if (!r) return false;
  r->value = value;
  return ll_add_list_item(list, where, r, ZV_ITEM_RNUMBER) != 0;
}

// Appends a new statistics record holding s; false when refused.
inline bool append_stats(ll_list *list, const zv_curve_stats_3d &s) {
  zv_curve_stats_3d *rec = zv_create_curve_stats_3d();
  if (!rec) return false;
  *rec = s;
  return ll_add_list_item(list, 1, rec, ZV_ITEM_PLAIN) != 0;
}

// Appends a new statistics record holding t alone (the kernel zero-fills
// the rest); false when refused.
inline bool append_stats_t(ll_list *list, double t) {
  zv_curve_stats_3d *rec = zv_create_curve_stats_3d();
  if (!rec) return false;
  rec->t = t;
  return ll_add_list_item(list, 1, rec, ZV_ITEM_PLAIN) != 0;
}

}  // namespace zv
