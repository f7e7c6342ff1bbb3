// Tessellation of NURB records: the knots the spans need are copied once,
// a window of p + 1 control points and weights slides along the lists one
// span at a time, and every sample runs the homogeneous de Boor triangle.
#include <rivezi3z/rivezi3z.h>

#include <memory>

#include "frame/knot_layout.hpp"
#include "tessellation/span_sampling.hpp"

namespace {

// Releases the knot copy whichever way the call ends.
struct KernelFree {
  void operator()(double *p) const { zv_free(p); }
};
using KnotCopy = std::unique_ptr<double, KernelFree>;

// Copies count knots from the list node at start on (the caller counted them).
KnotCopy copy_knots(const ll_list *knots, long start, long count) {
  KnotCopy copy(static_cast<double *>(zv_malloc(static_cast<size_t>(count) * sizeof(double))));
  if (!copy) return copy;
  zv::RealCursor cursor(zv::node_at(knots, start), 0.0);
  for (long i = 0; i < count; ++i) copy.get()[i] = cursor.next();
  return copy;
}

}  // namespace

extern "C" ZV_API int16_t zv_mk_nurb_curve3d(zv_curve *curve, int16_t first, int16_t last,
                                             int16_t spans, int16_t steps) {
  zv::ControlRange range;
  if (const int16_t refused = zv::check_record(curve, ZV_CURVE_NURB, first, last, range)) return refused;
  const int p = curve->degree;
  // More spans than the range holds would read past its control points.
  if (spans > range.count - p) return zv::kTooFewPoints;
  const long knot_count = spans + 2L * p - 1;
  // A full clamped vector is read without its outermost knot at either end.
  const long skip = zv::stored_knots(curve->knot_list, ll_list_length(curve->ctrl_list), p).skip;
  if (ll_list_length(curve->knot_list) - 2 * skip - range.start < knot_count) return zv::kTooFewKnots;
  if (spans <= 0) {
    if (steps != 0) curve->span_steps = steps;
    return zv::code::kDone;
  }

  const KnotCopy knots = copy_knots(curve->knot_list, skip + range.start, knot_count);
  if (!knots) return zv::memory_refused("mk_nurb_curve3d - 2");
  if (steps != 0) curve->span_steps = steps;

  // Each sample is the homogeneous de Boor pass on the span's window.
  zv::SpanWindow<zv::ArrayCursor> window(*curve, range.start, p, zv::ArrayCursor(knots.get()), true);
  return zv::sample_spans(curve, window, p, spans, curve->span_steps, zv::SpanTest::kLength,
                          "zv_mk_nurb_curve3d");
}
