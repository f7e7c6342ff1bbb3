// Uniform cubic and quadratic B-spline polylines straight from a control
// polygon: a window slides along the polygon, one segment per position.
#include <rivezi3z/rivezi3z.h>

#include "frame/conventions.hpp"
#include "frame/lists.hpp"
#include "frame/report.hpp"
#include "frame/vertices.hpp"
#include "polylines/control_polygon.hpp"
#include "polylines/polyline_forms.hpp"
#include "polylines/step_table.hpp"

namespace {

using namespace zv::polyline;


// Steps per segment of the cubic polyline for a request of `wanted` points:
// the request rises to a multiple of n - 2 (towards zero for a negative
// one, as signed division leaves remainders) and is divided among the
// n - 3 segments, truncated. Full-width arithmetic, so a request near 32767
// does not wrap. A request of 0 or less gives no step (0 would sample
// u = 0/0); a large one is capped so the (n - 3) m + 1 vertices, and the
// count written back, fit int16 (n <= 32767 always leaves one step).
long cubic_steps(long wanted, long n) {
  const long s = n - 2;
  const long r = wanted % s;
  if (r > 0) wanted += s - r;
  if (r < 0) wanted -= r;
  const long m = wanted / (s - 1);
  const long largest = (INT16_MAX - 1) / (n - 3);
  return m < 1 ? 0 : m > largest ? largest : m;
}

}  // namespace

extern "C" ZV_API int16_t zv_bspline_3d(int16_t n, ll_list *ctrl, int16_t *points, ll_list *out) {
  if (!ctrl || !points) return zv::code::polyline::kNoPolygon;
  ll_set_list_currpntr(ctrl, LL_FIRST);
  if (n < 4) {
    // No segment: nothing to append (n = 2 would have divided by zero).
    *points = 0;
    return zv::code::kDone;
  }
  if (!holds(ctrl, n)) {
    *points = 0;
    return zv::code::polyline::kNoPolygon;
  }
  const long m = cubic_steps(*points, n);
  *points = 0;
  if (m < 1) return zv::code::kDone;
  zv::Appender sink(out);
  if (!sink.ready()) return zv::memory_refused("zv_bspline_3d");

  auto window = control_window<4>(ctrl);
  zv::StagedVertices staged(sink.list());
  long count = 0;
  bool made = true;
  for (long segment = 0; made && segment < n - 3; ++segment) {
    if (segment > 0) window.slide();
    const CubicBSplineSegment cubic(window.data());
    // A later segment starts where the previous one ended: that join is
    // appended once.
    for (long k = segment == 0 ? 0 : 1; made && k <= m; ++k) {
      const double u = static_cast<double>(k) / static_cast<double>(m);
      made = staged.add(count++, cubic.at(u));
    }
  }
  made = made && staged.finish();
  *points = zv::vertex_number(staged.appended());
  return made ? zv::code::kDone : zv::memory_refused("zv_bspline_3d");
}

extern "C" ZV_API int16_t zv_quad_bspline_3d(int16_t n, ll_list *ctrl, int16_t mode, int16_t *count,
                                             ll_list *out) {
  if (!count) return zv::code::kDone;
  *count = 0;
  if (!ctrl) return zv::code::kDone;
  if (n < 3 && n != 2) return zv::code::polyline::kBadCount;
  if (!holds(ctrl, n)) return zv::code::polyline::kBadCount;
  const SegmentWeights<3> weights(parameter_step(mode), [](double t) { return t <= zv::kUnitEnd; },
                                  quadratic_bspline_weights);
  // More vertices than *count can number: refused before anything is appended.
  if (n > 2 && !counts_in_int16(n - 2, weights.count, 0)) return zv::code::polyline::kBadCount;
  zv::Appender sink(out);
  if (!sink.ready()) return zv::memory_refused("zv_quad_bspline_3d");
  if (n == 2) {
    // Two points: copies of both control records, indexes included.
    *count = static_cast<int16_t>(copy_leading_records(ctrl, 2, sink.list()));
    if (*count < 2) return zv::memory_refused("zv_quad_bspline_3d");
    return zv::code::kDone;
  }

  ll_set_list_currpntr(ctrl, LL_FIRST);

  // Both ends of every segment are appended, so each join appears twice.
  auto window = control_window<3>(ctrl);
  long appended = 0;
  if (!append_blended_segments(window, n - 2, weights, sink.list(), appended, count))
    return zv::memory_refused("zv_quad_bspline_3d");
  return zv::code::kDone;
}
