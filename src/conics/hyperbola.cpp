// Axis-aligned hyperbola: a point of one branch at a rational parameter,
// an arc of that branch, both branches fitted to their central rectangle,
// and the frame at a point.
#include <rivezi3z/rivezi3z.h>

#include <algorithm>
#include <cmath>

#include "conics/conic_support.hpp"
#include "frame/lists.hpp"
#include "frame/report.hpp"

namespace {

using namespace zv::conics;

// The rational parameter must stay inside (-1, 1) by this margin.
constexpr double kParameterEdge = 0.9999999;

// Every vertex of an arc carries this number.
constexpr long kArcVertexNumber = 1;

// Inside (-kParameterEdge, kParameterEdge): t = -1 divides by zero and
// t < -1 lands on the other branch. A NaN names no point of the branch and
// is out of range too, so it is refused rather than drawn as NaN.
bool parameter_out_of_range(double t) { return !(t < kParameterEdge) || t <= -kParameterEdge; }

bool degenerate(double a, double b) { return !(std::fabs(a) > kZeroTolerance) || !(std::fabs(b) > kZeroTolerance); }

// The point of the branch through (cx + a, cy) at rational parameter t.
zv::Point3 branch_point(const zv_pnt_3d &c, double a, double b, double t) {
  const double s = t * t;
  return {(1.0 + s) * a / (1.0 - s) + c.x, 2.0 * b * t / (1.0 - s) + c.y, c.z};
}

// Both branches of one call, appended to two lists with one shared counter.
class Branches {
 public:
  Branches(ll_list *one, ll_list *two, double cz) : one_(one), two_(two), cz_(cz) {}
  // A vertex into each list, both with the next number.
  bool pair(double x1, double y1, double x2, double y2) {
    ++k_;
    return append_at(one_, k_, x1, y1, cz_) && append_at(two_, k_, x2, y2, cz_);
  }
  // Mirrors what this call appended to list into its other half; numbers
  // skip one after each step of the counter.
  template <class Mirror>
  bool complete(ll_list *list, const ll_node *before, Mirror mirror) {
    return mirror_back(list, before, [&](const zv::Point3 &s) {
      ++k_;
      const zv::Point3 p = mirror(s);
      return append_at(list, k_ + 1, p.x, p.y, cz_);
    });
  }

 private:
  ll_list *one_, *two_;
  double cz_;
  long k_ = 0;
};

}  // namespace

extern "C" ZV_API int16_t zv_hyperbola_pnt_3d(zv_pnt_3d centre, double a, double b, double t, zv_pnt_3d *out) {
  if (!out) return kMissingArgument;
  zv_set_pnt_3d(0.0, 0.0, 0.0, out);
  if (parameter_out_of_range(t)) return zv_display_msg("BADTVALUE", kBadParameter, "zv_hyperbola_pnt_3d");
  if (degenerate(a, b)) return zv_display_msg("BADRECT", kBadRectangle, "zv_hyperbola_pnt_3d");
  const zv::Point3 p = branch_point(centre, a, b, t);
  zv::store(p, out);
  return zv::code::kDone;
}

extern "C" ZV_API int16_t zv_hyperbolic_arc_3d(zv_pnt_3d centre, double a, double b, int16_t *n, double t1,
                                               double t2, ll_list *list) {
  if (!n) return kMissingArgument;
  if (parameter_out_of_range(t1) || parameter_out_of_range(t2))
    return zv_display_msg("BADTVALUE", kBadParameter, "zv_hyperbolic_arc_3d");
  // Checked here once, so a degenerate branch makes no vertex at all.
  if (degenerate(a, b)) return zv_display_msg("BADRECT", kBadRectangle, "zv_hyperbolic_arc_3d");
  zv::Appender out(list);
  if (!out.ready()) return zv::memory_refused("zv_hyperbolic_arc_3d");
  const long m = *n >= 1 ? *n : 2;
  const double s = (t2 - t1) / static_cast<double>(m);  // signed: t2 < t1 steps down
  for (long i = 0; i <= m; ++i) {
    const double t = i < m ? t1 + static_cast<double>(i) * s : t2;
    if (!zv::append_vertex(out.list(), kArcVertexNumber, branch_point(centre, a, b, t)))
      return zv::memory_refused("zv_hyperbolic_arc_3d");
  }
  return zv::code::kDone;
}

extern "C" ZV_API int16_t zv_hyperbolapnts_3d(uint8_t mode, zv_pnt_3d *c1, zv_pnt_3d *c2, double length,
                                              int16_t *n, int16_t *count, ll_list *list1, ll_list *list2) {
  if (!c1 || !c2 || !n || !count) return kMissingArgument;
  auto fail = [&](const char *code, int16_t number) {
    *n = 0;
    return zv_display_msg(code, number, "zv_hyperpolapnts_3d");
  };
  if (mode > 1) return fail("BADMODE", kNoAxis);
  if (!(length > kZeroTolerance)) return fail("LENGTHZERO", kZeroLength);
  if (!(c2->x - kZeroTolerance > c1->x)) return fail("BADRECT", kBadRectangle);
  if (!(c2->y - kZeroTolerance > c1->y)) return fail("BADRECT", kBadRectangle);
  zv::Appender out1(list1), out2(list2);
  if (!out1.ready() || !out2.ready()) return zv::memory_refused("zv_hyperbolapnts_3d");

  *n = segments_multiple_of(*n, 2, 2);
  const long q = *n / 2;
  const double w = (c2->x - c1->x) / 2.0, h = (c2->y - c1->y) / 2.0;
  const double cx = c1->x + w, cy = c1->y + h, cz = c1->z;
  const double big_a = mode == 0 ? w : h, big_b = mode == 0 ? h : w;
  const double a2 = big_a * big_a;
  const double ratio = big_b / big_a;
  const double d = length / static_cast<double>(q);
  const ll_node *before1 = last_node(out1.list());
  const ll_node *before2 = last_node(out2.list());
  Branches branches(out1.list(), out2.list(), cz);

  bool ok = true;
  if (mode == 0) {
    // Upper half of the right branch into list1, from the far end to the
    // vertex; its image through the centre into list2.
    const double reach = c2->x - cx;
    for (long j = q; ok && j >= 0; --j) {
      double x = c2->x, y = cy;
      if (j > 0) {
        const double u = j == q ? reach + length : reach + static_cast<double>(j) * d;
        x = cx + u;
        y = cy + ratio * std::sqrt(std::max(0.0, u * u - a2));
      }
      ok = branches.pair(x, y, cx - std::fabs(x - cx), cy - std::fabs(y - cy));
    }
    ok = ok && branches.complete(out1.list(), before1, [&](const zv::Point3 &s) {
      return zv::Point3{s.x, cy - std::fabs(s.y - cy), cz};
    });
    ok = ok && branches.complete(out2.list(), before2, [&](const zv::Point3 &s) {
      return zv::Point3{s.x, cy + std::fabs(cy - s.y), cz};
    });
  } else {
    // Left half of the upper branch into list1, from the far end to the
    // vertex; its image through the centre into list2.
    const double reach = c2->y - cy;
    for (long j = q; ok && j >= 0; --j) {
      double x = c2->x - w, y = c2->y;
      if (j > 0) {
        const double v = j == q ? std::fabs(reach) + length : reach + static_cast<double>(j) * d;
        x = cx - big_b * std::sqrt(std::max(0.0, v * v / a2 - 1.0));
        y = cy + v;
      }
      ok = branches.pair(x, y, cx + std::fabs(x - cx), cy - std::fabs(y - cy));
    }
    ok = ok && branches.complete(out1.list(), before1, [&](const zv::Point3 &s) {
      return zv::Point3{cx + std::fabs(s.x - cx), s.y, cz};
    });
    ok = ok && branches.complete(out2.list(), before2, [&](const zv::Point3 &s) {
      return zv::Point3{cx - std::fabs(cx - s.x), s.y, cz};
    });
  }
  if (!ok) return zv::memory_refused("zv_hyperbolapnts_3d");
  *count = static_cast<int16_t>(*n + 1);
  return zv::code::kDone;
}

extern "C" ZV_API int16_t zv_hyperbola_stats_3d(zv_pnt_3d centre, double a, double b, int16_t mode, zv_pnt_3d p,
                                                zv_vector_3d *first, zv_vector_3d *second) {
  if (!first || !second) return kMissingArgument;
  if (degenerate(a, b)) return kDegenerateAxes;
  if (!(std::fabs(centre.z - p.z) <= kZeroTolerance)) return kOffPlane;
  // Gradient, halved, of +-((x - cx)^2/a^2 - (y - cy)^2/b^2) - 1: the sign
  // picks the transverse axis.
  const double gx = ((p.x - centre.x) / a) / a;
  const double gy = ((p.y - centre.y) / b) / b;
  if (mode == 0)
    frame_from_gradient(gx, -gy, first, second);
  else
    frame_from_gradient(-gx, gy, first, second);
  return zv::code::kDone;
}
