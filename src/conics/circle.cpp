// Circle: a point at a fraction of a turn, the inscribed regular polygon,
// an arc between two fractions of a turn and the frame from a radius.
// The geometry lives in the ellipse, arc and geometry-service functions.
#include <rivezi3z/rivezi3z.h>

#include <cmath>

#include "conics/conic_support.hpp"
#include "frame/report.hpp"

namespace {

using namespace zv::conics;

}  // namespace

extern "C" ZV_API void zv_circle_pnt_3d(zv_pnt_3d centre, double radius, double t, zv_pnt_3d *out) {
  if (!out) return;
  zv_set_pnt_3d(0.0, 0.0, centre.z, out);
  // The exact start point needs no radius: it skips the ellipse's checks.
  if (std::fabs(t) <= kZeroTolerance) {
    out->x = centre.x + radius;
    out->y = centre.y;
    return;
  }
  // An infinite or NaN fraction is not reduced (+inf would never leave the
  // loop); its cosine and sine then give NaN coordinates, so the caller
  // sees no made-up point.
  const double u = std::isfinite(t) ? reduce_from_above(t, 1.0, kUnitEnd) : t;
  zv_ellipse_pnt_3d(centre, radius, radius, u * kTwoPi, out);
}

extern "C" ZV_API int16_t zv_circlepnts_3d(zv_pnt_3d centre, double radius, int16_t n, int16_t *count,
                                           ll_list *list) {
  zv_pnt_3d local;
  zv_set_pnt_3d(centre.x, centre.y, centre.z, &local);
  int16_t made = 0;
  const int16_t result = zv_regpolyxyzpnts(&local, radius, n, &made, 0, 0, list);
  if (count) *count = n;  // the polygon's size, whatever the services appended
  // The services refuse silently; the refusal is this function's to report.
  return result == zv::code::kMemoryRefused ? zv::memory_refused("zv_circlepnts_3d") : zv::code::kDone;
}

extern "C" ZV_API int16_t zv_circle_arc_3d(zv_pnt_3d centre, double radius, int16_t n, double start,
                                           double end, ll_list *list) {
  // The arc generator would append to a private list and release it: with
  // no list to fill there is nothing to do.
  if (!list) return zv::code::kDone;
  zv_arc_2d arc;
  zv_set_arc_2d(centre.x, centre.y, radius, 0, start * kTwoPi, end * kTwoPi, &arc);
  zv_arc_pnts_3d(&arc, n, centre.z, list);
  return ll_get_list_count(list);
}

extern "C" ZV_API void zv_circle_stats_3d(zv_pnt_3d p1, zv_pnt_3d p2, zv_vector_3d *first,
                                          zv_vector_3d *second) {
  if (!first || !second) return;
  zv_vector_3d radial;
  zv_line_to_vector_3d(p1, p2, &radial);
  zv_vector_3d tangent;
  zv_normalvector3d(&radial, &tangent);
  zv_unitvector(&radial, second);
  zv_unitvector(&tangent, first);
}
