// Circular arcs in a plane parallel to XY: from a centre, radius and two
// angles (numbered on from the list), or from an arc record (numbered
// from 0). Both share the angle set-up and the exact quarter-turn points.
#include <rivezi3z/rivezi3z.h>

#include <cmath>

#include "conics/conic_support.hpp"
#include "frame/lists.hpp"
#include "frame/report.hpp"

namespace {

using namespace zv::conics;

// Angles above a full turn plus the tolerance are reduced.
constexpr double kTurnCeiling = 6.2831854071795865;  // 2 pi + 1e-7

// The n + 1 angles of an arc from a0 towards increasing angle to a1.
struct ArcAngles {
  double a0 = 0.0, step = 0.0;
  double at(long i) const {
    const double theta = static_cast<double>(i) * step + a0;
    return theta > kTurnCeiling ? theta - kTwoPi : theta;
  }
};

// Reduces both ends into range and takes the step; an end that passes below
// the start by more than the tolerance makes the arc pass angle 0.
ArcAngles arc_angles(double start, double end, long n) {
  const double a0 = reduce_from_above(start, kTwoPi, kTurnCeiling);
  const double a1 = reduce_from_above(end, kTwoPi, kTurnCeiling);
  const double sweep = a1 + kZeroTolerance < a0 ? kTwoPi - a0 + a1 : a1 - a0;
  return {a0, sweep / static_cast<double>(n)};
}

// The exact axis point when theta is within the tolerance of a quarter
// turn, as an offset (dx, dy) from the centre of a circle of radius r.
bool quarter_point(double theta, double r, double &dx, double &dy) {
  if (std::fabs(theta - kTwoPi) <= kZeroTolerance || std::fabs(theta) <= kZeroTolerance) {
    dx = r, dy = 0.0;
  } else if (std::fabs(theta - kHalfPi) <= kZeroTolerance) {
    dx = 0.0, dy = r;
  } else if (std::fabs(theta - kPi) <= kZeroTolerance) {
    dx = -r, dy = 0.0;
  } else if (std::fabs(theta - kThreeHalfPi) <= kZeroTolerance) {
    dx = 0.0, dy = -r;
  } else {
    return false;
  }
  return true;
}

// Appends the arc's n + 1 vertices numbered from base; general(theta)
// gives the position of a vertex off the quarter turns. An arc with fewer
// than one segment or a non-finite end angle makes nothing. Returns false
// when the kernel refused a vertex.
template <class General>
bool append_arc(ll_list *list, double cx, double cy, double r, double z, double start, double end, long n,
                long base, General general) {
  if (n < 1 || !std::isfinite(start) || !std::isfinite(end)) return true;
  const ArcAngles angles = arc_angles(start, end, n);
  zv::StagedVertices staged(list);
  for (long i = 0; i <= n; ++i) {
    const double theta = angles.at(i);
    double dx = 0.0, dy = 0.0;
    zv::Point3 p = quarter_point(theta, r, dx, dy) ? zv::Point3{cx + dx, cy + dy, z} : general(theta);
    p.z = z;
    if (!staged.add(base + i, p)) return false;
  }
  return staged.finish();
}

// A coordinate within the tolerance of zero is stored as zero.
double snapped(double v) { return std::fabs(v) <= kZeroTolerance ? 0.0 : v; }

}  // namespace

extern "C" ZV_API int16_t zv_arcpnts_3d(zv_pnt_3d centre, double radius, double start, double end, int16_t n,
                                        ll_list *list) {
  if (!list) return zv::code::kDone;
  // Numbers continue from the list's last vertex.
  long base = 0;
  if (list->head && ll_set_list_currpntr(list, LL_LAST) == LL_LAST) {
    const auto *last = static_cast<const zv_poly_3d *>(ll_get_list_data(list));
    if (last) base = static_cast<long>(last->index) + 1;
  }
  const bool ok = append_arc(list, centre.x, centre.y, radius, centre.z, start, end, n, base, [&](double theta) {
    return zv::Point3{snapped(radius * std::cos(theta) + centre.x), snapped(radius * std::sin(theta) + centre.y),
                      centre.z};
  });
  if (!ok) zv::memory_refused("zv_arcpnts_3d");
  return ll_get_list_count(list);
}

extern "C" ZV_API int16_t zv_arc_pnts_3d(const zv_arc_2d *arc, int16_t n, double z, ll_list *list) {
  zv::Appender out(list);
  if (!arc) return ll_get_list_count(list);
  if (!out.ready()) {
    zv::memory_refused("zv_arc_pnts_3d");
    return zv::code::kDone;
  }
  const double cx = arc->centre_x, cy = arc->centre_y, r = arc->radius;
  zv_pnt_3d origin;
  zv_set_pnt_3d(0.0, 0.0, 0.0, &origin);
  const bool ok = append_arc(out.list(), cx, cy, r, z, arc->start_angle, arc->end_angle, n, 0, [&](double theta) {
    zv_pnt_3d at;
    zv_pntangledist_3d(&origin, r, theta, &at);
    return zv::Point3{at.x + cx, at.y + cy, z};
  });
  if (!ok) zv::memory_refused("zv_arc_pnts_3d");
  return ll_get_list_count(out.list());
}
