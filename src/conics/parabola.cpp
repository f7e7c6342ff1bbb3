// Axis-aligned parabola: a point at a parameter, an arc between two
// parameters, a polyline symmetric about the axis, and the frame at a point.
#include <rivezi3z/rivezi3z.h>

#include <cmath>

#include "conics/conic_support.hpp"
#include "frame/report.hpp"

namespace {

using namespace zv::conics;

// Every vertex of an arc carries this number.
constexpr long kArcVertexNumber = 1;

// The point at parameter t: x = vx + a t^2, y = vy + 2 a t on axis 0, the
// roles of x and y swapped on any other axis. t = 0, and a NaN t, give the
// vertex itself.
zv::Point3 parabola_point(const zv_pnt_3d &v, double a, double t, int16_t axis) {
  if (t == 0.0 || std::isnan(t)) return zv::load(v);
  const double along = a * t * t, across = 2.0 * a * t;
  return axis == 0 ? zv::Point3{along + v.x, across + v.y, v.z} : zv::Point3{across + v.x, along + v.y, v.z};
}

}  // namespace

extern "C" ZV_API void zv_parabola_pnt_3d(zv_pnt_3d vertex, double a, double t, int16_t axis, zv_pnt_3d *out) {
  if (!out) return;
  const zv::Point3 p = parabola_point(vertex, a, t, axis);
  zv::store(p, out);
}

extern "C" ZV_API void zv_parabolic_arc_3d(zv_pnt_3d vertex, double a, int16_t axis, int16_t n, double t1,
                                           double t2, ll_list *list) {
  if (!list) return;
  const long m = n != 0 ? n : 1;  // a negative count appends nothing
  const bool ordered = t1 <= t2 + kZeroTolerance;
  const double start = ordered ? t1 : t2, end = ordered ? t2 : t1;
  const double s = (end - start) / static_cast<double>(m);
  for (long i = 0; i <= m; ++i) {
    const double t = i < m ? start + static_cast<double>(i) * s : end;
    if (!zv::append_vertex(list, kArcVertexNumber, parabola_point(vertex, a, t, axis))) {
      zv_memerr("zv_parabolic_arc_3d");
      return;
    }
  }
}

extern "C" ZV_API int16_t zv_parabolapnts_3d(uint8_t mode, zv_pnt_3d *vertex, double a, double length, int16_t *n,
                                             int16_t *count, ll_list *list) {
  if (!vertex || !n || !count || !list) return kMissingArgument;
  *count = 0;
  auto fail = [&](int16_t code) {
    *n = 0;
    return code;
  };
  // Modes 2 and 3 name no axis: nothing to draw, so not a success.
  if (mode > 1) return fail(kNoAxis);
  if (!(std::fabs(a) > kZeroTolerance)) return fail(kFlatParabola);
  if (!(length > kZeroTolerance)) return fail(kZeroLength);

  *n = segments_multiple_of(*n, 2, 2);
  const long q = *n / 2;
  const double d = length / static_cast<double>(q);
  const double f = std::fabs(4.0 * a);
  const double vx = vertex->x, vy = vertex->y, vz = vertex->z;
  const bool opens_up = a > kZeroTolerance;
  const ll_node *before = last_node(list);
  long k = 0;
  auto put = [&](double x, double y) { return append_at(list, ++k, x, y, vz); };

  bool ok = true;
  // The first half from the far end to the vertex, at equal steps along
  // the axis; then its mirror image across the axis.
  for (long j = q; ok && j >= 0; --j) {
    const double u = j == q ? length : j == 0 ? 0.0 : static_cast<double>(j) * d;
    const double across = std::sqrt(f * u);
    if (mode == 0)
      ok = opens_up ? put(vx + u, vy + across) : put(vx - u, vy - across);
    else
      ok = opens_up ? put(vx - across, vy + u) : put(vx + across, vy - u);
  }
  ok = ok && mirror_back(list, before, [&](const zv::Point3 &s) {
    if (mode == 0) return opens_up ? put(s.x, vy - (s.y - vy)) : put(s.x, vy + std::fabs(vy - s.y));
    return opens_up ? put(vx + std::fabs(s.x - vx), s.y) : put(vx - (s.x - vx), s.y);
  });
  if (!ok) return zv::memory_refused("zv_parabolapnts_3d");
  *count = static_cast<int16_t>(*n + 1);
  return zv::code::kDone;
}

extern "C" ZV_API int16_t zv_parabola_stats_3d(zv_pnt_3d vertex, double a, int16_t axis, zv_pnt_3d p,
                                               zv_vector_3d *first, zv_vector_3d *second) {
  if (!first || !second) return kMissingArgument;
  if (!(std::fabs(a) > kZeroTolerance)) return kFlatParabolaFrame;
  if (!(std::fabs(vertex.z - p.z) <= kZeroTolerance)) return kParabolaOffPlane;
  // Gradient, halved, of (y - vy)^2 - 4a(x - vx) on axis 0 and of
  // (x - vx)^2 - 4a(y - vy) otherwise; its axis component -2a never vanishes.
  if (axis == 0)
    frame_from_gradient(-2.0 * a, p.y - vertex.y, first, second);
  else
    frame_from_gradient(p.x - vertex.x, -2.0 * a, first, second);
  return zv::code::kDone;
}
