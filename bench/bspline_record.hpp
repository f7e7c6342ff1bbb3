// A uniform B-spline record over a copy of a control polygon, for the
// benchmarks that time work on such records.
#pragma once

#include <rivezi3z/rivezi3z.h>

#include <vector>

namespace zvbench {

// A uniform B-spline record owning a copy of the polygon.
inline zv_curve *bspline_record(const std::vector<zv_pnt_3d> &poles) {
  ll_list *list = ll_create_list();
  for (const zv_pnt_3d &p : poles) {
    zv_poly_3d *v = zv_create_poly_3d();
    v->x = p.x;
    v->y = p.y;
    v->z = p.z;
    ll_add_list_item(list, 1, v, ZV_ITEM_POLY);
  }
  zv_curve *curve = zv_def_ubspl_curve3d(list);
  ll_purge_list(list);  // the emptied header stays the caller's
  return curve;
}

}  // namespace zvbench
