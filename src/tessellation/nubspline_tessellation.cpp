// Tessellation of non-uniform B-spline records: a window of p + 1 control
// points and 2p knots slides along the lists one span at a time, and every
// sample runs de Boor's triangle on it.
#include <rivezi3z/rivezi3z.h>

#include "frame/knot_layout.hpp"
#include "tessellation/span_sampling.hpp"

extern "C" ZV_API int16_t zv_mk_nubspline_3d(zv_curve *curve, int16_t first, int16_t last) {
  zv::ControlRange range;
  if (const int16_t refused = zv::check_record(curve, ZV_CURVE_NUBSPLINE, first, last, range)) return refused;
  const int p = curve->degree;
  // The range's knots start at the same shift as its control points; a full
  // clamped vector is read without its outermost knot at either end.
  const long skip = zv::stored_knots(curve->knot_list, ll_list_length(curve->ctrl_list), p).skip;
  if (ll_list_length(curve->knot_list) - 2 * skip - range.start < range.count + p - 1) return zv::kTooFewKnots;

  const zv::RealCursor knots(zv::node_at(curve->knot_list, skip + range.start), 0.0);
  zv::SpanWindow<zv::RealCursor> window(*curve, range.start, p, knots, false);
  return zv::sample_spans(curve, window, p, range.count - p, curve->span_steps, zv::SpanTest::kEnds,
                          "zv_mk_nubspline_3d");
}
