// The two exported de Boor steps: one point of a span from a window of
// control points (and weights) and 2p knots.
#include <rivezi3z/rivezi3z.h>

#include "frame/deboor.hpp"
#include "tessellate/span_sampling.hpp"

namespace {

constexpr int16_t kBadParameter = 2;
constexpr int16_t kBadWindow = 3;

// The window is usable: a degree the working storage holds and every
// pointer the pass reads from or writes to.
bool window_ok(int16_t p, zv_poly_3d *const *points, const void *more, const double *knots,
               const zv_pnt_3d *result) {
  if (p < 0 || p > ZV_MAX_DEBOOR_DEGREE || !points || !more || !knots || !result) return false;
  for (int i = 0; i <= p; ++i)
    if (!points[i]) return false;
  return true;
}

void write(const zv::Point3 &at, zv_pnt_3d *result) { zv_set_pnt_3d(at.x, at.y, at.z, result); }

}  // namespace

extern "C" ZV_API int16_t zv_deboor_3d(double t, int16_t p, zv_poly_3d *const *points,
                                       const double *knots, zv_pnt_3d *result) {
  if (!zv::parameter_accepted(t)) return kBadParameter;
  if (!window_ok(p, points, points, knots, result)) return kBadWindow;
  zv::Point3 d[ZV_MAX_DEBOOR_DEGREE + 1];
  for (int i = 0; i <= p; ++i) d[i] = zv::load(*points[i]);
  zv::deboor_triangle(d, knots, p, t);
  write(d[p], result);
  return 0;
}

extern "C" ZV_API int16_t zv_rat_deboor_3d(double t, int16_t p, zv_poly_3d *const *points,
                                           const double *weights, const double *knots,
                                           zv_pnt_3d *result) {
  if (!zv::parameter_accepted(t)) return kBadParameter;
  if (!window_ok(p, points, weights, knots, result)) return kBadWindow;
  zv::Weighted d[ZV_MAX_DEBOOR_DEGREE + 1];
  for (int i = 0; i <= p; ++i) d[i] = {zv::load(*points[i]), weights[i]};
  zv::deboor_triangle(d, knots, p, t);
  write(d[p].p, result);
  return 0;
}
