// Cardinal (Catmull-Rom) spline polyline straight from a control polygon:
// a four-point window slides along the polygon, one segment per position,
// through the control points from the second to the second-to-last.
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

constexpr const char *kName = "zv_catrom_curve_3d";

// Reports too few (or too few held) control points, or more than the
// int16 count can number at the step asked for.
int16_t bad_count() {
  zv_display_msg("BADCNT", zv::code::polyline::kBadCount, kName);
  return zv::code::polyline::kBadCount;
}

}  // namespace

extern "C" ZV_API int16_t zv_catrom_curve_3d(int16_t n, ll_list *ctrl, int16_t mode, double s, int16_t *count,
                                             ll_list *out) {
  if (!count) return zv::code::polyline::kNoPolygon;
  *count = 0;
  if (n < 4 && n != 2) return bad_count();
  if (!ctrl) return zv::code::polyline::kNoPolygon;
  if (!holds(ctrl, n)) return bad_count();
  const CardinalBasis basis(s);
  const SegmentWeights<4> weights(parameter_step(mode), [](double t) { return t < 1.0 - zv::kZeroTolerance; },
                                  [&basis](double t) { return basis.at(t); });
  // More vertices than *count can number: refused before anything is appended.
  if (n > 2 && !counts_in_int16(n - 3, weights.count, 1)) return bad_count();
  zv::Appender sink(out);
  if (!sink.ready()) return zv::memory_refused(kName);
  if (n == 2) {
    // Two points: copies of both control records, indexes included.
    *count = static_cast<int16_t>(copy_leading_records(ctrl, 2, sink.list()));
    return *count < 2 ? zv::memory_refused(kName) : zv::code::kDone;
  }

  ll_set_list_currpntr(ctrl, LL_FIRST);

  auto window = control_window<4>(ctrl);
  long appended = 0;
  if (!append_blended_segments(window, n - 3, weights, sink.list(), appended, count))
    return zv::memory_refused(kName);
  // The curve ends at P2 of the last window, the segment's t = 1.
  if (!zv::append_vertex(sink.list(), appended, window.data()[2])) return zv::memory_refused(kName);
  *count = zv::vertex_number(++appended);
  return zv::code::kDone;
}
