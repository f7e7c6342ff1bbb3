// Axis-aligned ellipse: a point at an angle, the closed polyline inscribed
// in a rectangle, an arc between two angles and the frame at a point.
#include <rivezi3z/rivezi3z.h>

#include <algorithm>
#include <cmath>

#include "conics/conic_support.hpp"
#include "frame/lists.hpp"
#include "frame/report.hpp"

namespace {

using namespace zv::conics;

// Angles at or above this are taken one turn down.
constexpr double kTurnFloor = 6.283185207179586;  // 2 pi - 1e-7

// Every vertex of the rectangle-based polylines carries this number.
constexpr long kEllipseVertexNumber = 1;

// The ellipse inscribed in the rectangle p1-p2, p1 taken as its lower-left
// corner.
struct Inscribed {
  double a, b;
  double cx, cy, cz;
};

Inscribed inscribed(const zv_pnt_3d &p1, const zv_pnt_3d &p2) {
  const double a = std::fabs((p2.x - p1.x) / 2.0);
  const double b = std::fabs((p2.y - p1.y) / 2.0);
  return {a, b, p1.x + a, p1.y + b, p1.z};
}

// A semi-axis must be above the tolerance; NaN is not.
bool degenerate(double a, double b) { return !(std::fabs(a) > kZeroTolerance) || !(std::fabs(b) > kZeroTolerance); }

// The angle taken one turn down when it reaches a full turn.
double below_full_turn(double angle) { return angle >= kTurnFloor ? angle - kTwoPi : angle; }

}  // namespace

extern "C" ZV_API int16_t zv_ellipse_pnt_3d(zv_pnt_3d centre, double a, double b, double angle,
                                            zv_pnt_3d *out) {
  if (!out) return kMissingArgument;
  if (!(a > kZeroTolerance) || !(b > kZeroTolerance))
    return zv_display_msg("BADRECT", kBadRectangle, "zv_ellipse_pnt_3d");
  const double theta = below_full_turn(angle);
  zv_set_pnt_3d(centre.x + a * std::cos(theta), centre.y + b * std::sin(theta), centre.z, out);
  return zv::code::kDone;
}

extern "C" ZV_API int16_t zv_ellipsepnts_3d(zv_pnt_3d *p1, zv_pnt_3d *p2, int16_t *n, int16_t *count,
                                            ll_list *list) {
  if (!p1 || !p2 || !n || !count) return kMissingArgument;
  *count = 0;
  const Inscribed e = inscribed(*p1, *p2);
  if (degenerate(e.a, e.b)) return zv_display_msg("BADRECT", kBadRectangle, "zv_ellipsepnts");
  zv::Appender out(list);
  if (!out.ready()) return zv::memory_refused("zv_ellipsepnts_3d");

  *n = segments_multiple_of(*n, 4, 4);
  const long q = *n / 4;
  const double a2 = e.a * e.a;
  const double ratio = e.b / e.a;
  const double d = e.a / static_cast<double>(q);
  const ll_node *before = last_node(out.list());
  long appended = 0;
  auto put = [&](double x, double y) {
    if (!append_at(out.list(), kEllipseVertexNumber, x, y, e.cz)) return false;
    ++appended;
    return true;
  };
  // The upper half at equal steps of x; u is read back from the stored x so
  // the height belongs to the abscissa actually kept.
  auto upper = [&](double x) {
    const double u = x - e.cx;
    return put(x, e.cy + ratio * std::sqrt(std::max(0.0, a2 - u * u)));
  };
  bool ok = put(e.cx + e.a, e.cy);
  for (long i = 1; ok && i < q; ++i) ok = upper((e.a - static_cast<double>(i) * d) + e.cx);
  ok = ok && put(e.cx, e.cy + e.b);
  for (long i = 1; ok && i < q; ++i) ok = upper(e.cx - static_cast<double>(i) * d);
  ok = ok && put(e.cx - e.a, e.cy);
  // The lower half mirrors the upper one in y = cy, back to the first vertex.
  ok = ok && mirror_back(out.list(), before, [&](const zv::Point3 &s) { return put(s.x, e.cy - (s.y - e.cy)); });
  *count = zv::vertex_number(appended);
  if (!ok) return zv::memory_refused("zv_ellipsepnts_3d");
  return zv::code::kDone;
}

extern "C" ZV_API int16_t zv_elliptic_arc_3d(zv_pnt_3d *p1, zv_pnt_3d *p2, int16_t *n, double start,
                                             double end, ll_list *list) {
  if (!p1 || !p2 || !n) return kMissingArgument;
  const Inscribed e = inscribed(*p1, *p2);
  if (degenerate(e.a, e.b)) return zv_display_msg("BADRECT", kBadRectangle, "zv_elliptic_arc_3d");
  zv::Appender out(list);
  if (!out.ready()) return zv::memory_refused("zv_elliptic_arc_3d");

  if (*n < 1) *n = 1;
  const long m = *n;
  const double sweep = end < start ? kTwoPi - start + end : end - start;  // passes angle 0
  const double s = sweep / static_cast<double>(m);
  for (long i = 0; i <= m; ++i) {
    // The last vertex lies at the end angle itself, unreduced.
    const double theta = i < m ? below_full_turn(start + static_cast<double>(i) * s) : end;
    if (!append_at(out.list(), kEllipseVertexNumber, e.cx + e.a * std::cos(theta), e.cy + e.b * std::sin(theta),
                   e.cz))
      return zv::memory_refused("zv_elliptic_arc_3d");
  }
  return zv::code::kDone;
}

extern "C" ZV_API int16_t zv_ellipse_stats_3d(zv_pnt_3d centre, double a, double b, zv_pnt_3d pt,
                                              zv_vector_3d *first, zv_vector_3d *second) {
  if (!first || !second) return kMissingArgument;
  if (degenerate(a, b)) return kDegenerateAxes;
  if (!(std::fabs(centre.z - pt.z) <= kZeroTolerance)) return kOffPlane;
  // Gradient of (x - cx)^2/a^2 + (y - cy)^2/b^2 - 1, halved; dividing twice
  // by the semi-axis keeps huge and tiny axes in range.
  frame_from_gradient(((pt.x - centre.x) / a) / a, ((pt.y - centre.y) / b) / b, first, second);
  return zv::code::kDone;
}
