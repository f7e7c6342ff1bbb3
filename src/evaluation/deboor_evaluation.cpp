// The two exported de Boor steps: one point of a span from a window of
// control points (and weights) and 2p knots.
#include <rivezi3z/rivezi3z.h>

#include "frame/conventions.hpp"
#include "frame/deboor.hpp"

namespace {

using namespace zv::code::deboor;

// The window is usable: a degree the working storage holds and every
// pointer the pass reads from or writes to.
bool window_ok(int16_t p, zv_poly_3d *const *points, const void *more, const double *knots,
               const zv_pnt_3d *result) {
  if (p < 0 || p > ZV_MAX_DEBOOR_DEGREE || !points || !more || !knots || !result) return false;
  for (int i = 0; i <= p; ++i)
    if (!points[i]) return false;
  return true;
}

}  // namespace

extern "C" ZV_API int16_t zv_deboor_3d(double t, int16_t p, zv_poly_3d *const *points,
                                       const double *knots, zv_pnt_3d *result) {
  if (!zv::parameter_accepted(t)) return kBadParameter;
  if (!window_ok(p, points, points, knots, result)) return kBadWindow;
  zv::Point3 d[ZV_MAX_DEBOOR_DEGREE + 1];
  for (int i = 0; i <= p; ++i) d[i] = zv::load(*points[i]);
  zv::deboor_triangle(d, knots, p, t);
  zv::store(d[p], result);
  return zv::code::kDone;
}

extern "C" ZV_API int16_t zv_rat_deboor_3d(double t, int16_t p, zv_poly_3d *const *points,
                                           const double *weights, const double *knots,
                                           zv_pnt_3d *result) {
  if (!zv::parameter_accepted(t)) return kBadParameter;
  if (!window_ok(p, points, weights, knots, result)) return kBadWindow;
  zv::Weighted d[ZV_MAX_DEBOOR_DEGREE + 1];
  for (int i = 0; i <= p; ++i) d[i] = {zv::load(*points[i]), weights[i]};
  zv::deboor_triangle(d, knots, p, t);
  zv::store(d[p].p, result);
  return zv::code::kDone;
}
