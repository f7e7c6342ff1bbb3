// Record constructors and setters. Every record is zero-filled by the
// kernel's allocator; the setters copy values field by field, never through
// a pointer into a packed record.
#include "allocate.hpp"

#include <rivezi3z/rivivi.h>

extern "C" {

ZV_API zv_curve *zv_create_curve(void) {
  // The record and its four lists are made in one run of blocks.
  zv::kernel::BlockRun run;
  zv_curve *curve = run.take_record<zv_curve>();
  if (!curve) return nullptr;
  ll_list *knots = run.take_record<ll_list>();
  ll_list *ctrl = knots ? run.take_record<ll_list>() : nullptr;
  ll_list *vertices = ctrl ? run.take_record<ll_list>() : nullptr;
  ll_list *stats = vertices ? run.take_record<ll_list>() : nullptr;
  if (!stats) {
    // A half-made record is no use to anyone: give back what was made.
    run.give(knots);
    run.give(ctrl);
    run.give(vertices);
    run.give(curve);
    return nullptr;
  }
  curve->knot_list = knots;
  curve->ctrl_list = ctrl;
  curve->vertex_list = vertices;
  curve->stats_list = stats;
  return curve;
}

ZV_API void zv_purge_curve(zv_curve *curve) {
  if (!curve) return;
  zv::kernel::BlockRun run;
  zv::kernel::purge(run, curve->weight_list);
  zv::kernel::purge(run, curve->knot_list);
  zv::kernel::purge(run, curve->ctrl_list);
  zv::kernel::purge(run, curve->vertex_list);
  zv::kernel::purge(run, curve->stats_list);
  run.give(curve);
}

ZV_API zv_poly_3d *zv_create_poly_3d(void) { return zv::kernel::allocate_record<zv_poly_3d>(); }

ZV_API zv_rnumber *zv_create_rnumber(void) { return zv::kernel::allocate_record<zv_rnumber>(); }

ZV_API zv_curve_stats_3d *zv_create_curve_stats_3d(void) {
  return zv::kernel::allocate_record<zv_curve_stats_3d>();
}

ZV_API void zv_set_pnt_3d(double x, double y, double z, zv_pnt_3d *pnt) {
  if (!pnt) return;
  pnt->x = x;
  pnt->y = y;
  pnt->z = z;
}

ZV_API void zv_set_vector_3d(double x, double y, double z, double a, double b, zv_vector_3d *vec) {
  if (!vec) return;
  vec->aux0 = a;
  vec->aux1 = b;
  vec->dx = x;
  vec->dy = y;
  vec->dz = z;
}

ZV_API void zv_set_arc_2d(double centre_x, double centre_y, double radius, int16_t flag,
                          double start_angle, double end_angle, zv_arc_2d *arc) {
  if (!arc) return;
  arc->centre_x = centre_x;
  arc->centre_y = centre_y;
  arc->radius = radius;
  arc->flag = flag;
  arc->start_angle = start_angle;
  arc->end_angle = end_angle;
}

}  // extern "C"
