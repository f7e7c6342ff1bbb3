// Uniform cubic and quadratic B-spline polylines straight from a control
// polygon: a window slides along the polygon, one segment per position.
#include <rivezi3z/rivezi3z.h>

#include "frame/lists.hpp"
#include "frame/report.hpp"
#include "frame/vertices.hpp"
#include "polylines/control_polygon.hpp"
#include "polylines/polyline_forms.hpp"
#include "polylines/step_table.hpp"

namespace {

using namespace zv::polyline;

constexpr int16_t kTooFewPoints = 33;  // quadratic: returned without a message
constexpr double kSegmentEnd = 1.0000001;

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
  if (!ctrl || !points) return 1;
  ll_set_list_currpntr(ctrl, LL_FIRST);
  if (n < 4) {
    // No segment: nothing to append (n = 2 would have divided by zero).
    *points = 0;
    return 0;
  }
  if (!holds(ctrl, n)) {
    *points = 0;
    return 1;
  }
  const long m = cubic_steps(*points, n);
  *points = 0;
  if (m < 1) return 0;
  zv::Appender sink(out);
  if (!sink.ready()) return zv::memory_refused("zv_bspline_3d");

  ControlWindow<4> window(ctrl);
  zv::StagedVertices staged(sink.list());
  long count = 0;
  bool made = true;
  for (long segment = 0; made && segment < n - 3; ++segment) {
    if (segment > 0) window.slide();
    const CubicBSplineSegment cubic(window.points());
    // A later segment starts where the previous one ended: that join is
    // appended once.
    for (long k = segment == 0 ? 0 : 1; made && k <= m; ++k) {
      const double u = static_cast<double>(k) / static_cast<double>(m);
      made = staged.add(count++, cubic.at(u));
    }
  }
  made = made && staged.finish();
  *points = zv::vertex_number(staged.appended());
  return made ? 0 : zv::memory_refused("zv_bspline_3d");
}

extern "C" ZV_API int16_t zv_quad_bspline_3d(int16_t n, ll_list *ctrl, int16_t mode, int16_t *count,
                                             ll_list *out) {
  if (!count) return 0;
  *count = 0;
  if (!ctrl) return 0;
  if (n < 3 && n != 2) return kTooFewPoints;
  if (!holds(ctrl, n)) return kTooFewPoints;
  const SegmentWeights<3> weights(parameter_step(mode), [](double t) { return t <= kSegmentEnd; },
                                  quadratic_bspline_weights);
  // More vertices than *count can number: refused before anything is appended.
  if (n > 2 && !counts_in_int16(n - 2, weights.count, 0)) return kTooFewPoints;
  zv::Appender sink(out);
  if (!sink.ready()) return zv::memory_refused("zv_quad_bspline_3d");
  if (n == 2) {
    // Two points: copies of both control records, indexes included.
    *count = static_cast<int16_t>(copy_leading_records(ctrl, 2, sink.list()));
    if (*count < 2) return zv::memory_refused("zv_quad_bspline_3d");
    return 0;
  }

  ll_set_list_currpntr(ctrl, LL_FIRST);

  // Both ends of every segment are appended, so each join appears twice.
  ControlWindow<3> window(ctrl);
  long appended = 0;
  if (!append_blended_segments(window, n - 2, weights, sink.list(), appended, count))
    return zv::memory_refused("zv_quad_bspline_3d");
  return 0;
}
