// What the non-uniform B-spline and NURB tessellators share: the degree
// bound of their fixed windows, the sub-range of control points, and the
// sampling of span after span into a record's two output lists.
#pragma once

#include <rivezi3z/rivezi3z.h>

#include <algorithm>

#include "frame/conventions.hpp"
#include "frame/deboor.hpp"
#include "frame/report.hpp"
#include "frame/span_walk.hpp"
#include "frame/vertices.hpp"
#include "tessellation/cubic_deboor.hpp"

namespace zv {

// The windows are sized for the degree range of the curve records.
inline constexpr int kPointWindow = kMaxRecordDegree + 1;
inline constexpr int kKnotWindow = 2 * kMaxRecordDegree;

// Parameters below -kZeroTolerance are refused, spans of that length or
// less skipped.
using namespace code::span;

// The control points a call covers: 0-based start and count n'. With first
// and last both positive, points first .. min(last, n) (1-based); else all.
struct ControlRange {
  long start = 0;
  long count = 0;
};

inline ControlRange control_range(long n, int first, int last) {
  if (first > 0 && last > 0) return {first - 1L, std::min<long>(last, n) - first + 1L};
  return {0, n};
}

// The checks both tessellators make first, in this order: a record with
// its output lists (1), a degree the windows hold (2), the kind (3), at
// least p + 1 control points in the range (2). Fills range; 0 when passed.
inline int16_t check_record(const zv_curve *curve, int16_t kind, int first, int last, ControlRange &range) {
  if (!curve || !curve->vertex_list || !curve->stats_list) return kNoCurve;
  if (curve->degree < 1 || curve->degree > kMaxRecordDegree) return kBadDegree;
  if (curve->type != kind) return kWrongKind;
  range = control_range(ll_list_length(curve->ctrl_list), first, last);
  return range.count < curve->degree + 1 ? kTooFewPoints : 0;
}

// How a tessellator tells a span worth sampling: the B-spline tessellator
// compares the span's ends (left + 1e-7 < right), the NURB tessellator its
// length (right - left > 1e-7). The two differ in rounding for spans of
// about 1e-7 (such as [1, 1 + 1e-7]); neither samples a span whose ends are
// not ordered numbers.
enum class SpanTest { kEnds, kLength };

inline bool span_sampled(SpanTest test, double left, double right) {
  return test == SpanTest::kEnds ? left + kZeroTolerance < right : right - left > kZeroTolerance;
}

// The window of one span: p + 1 control points (and weights, a missing
// weight counting as 1) from the record's lists and 2p knots from a cursor,
// sliding one span at a time. The point at t is de Boor's triangle on a copy
// of the window, plain or, for a rational curve, homogeneous.
template <class KnotCursor>
class SpanWindow {
 public:
  SpanWindow(const zv_curve &curve, long start, int p, KnotCursor knots, bool rational)
      : p_(p),
        rational_(rational),
        points_(PointCursor(node_at(curve.ctrl_list, start), {}), p + 1),
        weights_(RealCursor(rational ? node_at(curve.weight_list, start) : nullptr, 1.0), p + 1),
        knots_(knots, 2 * p) {
    if (p_ == 3) cubic_.set_knots(knots_.data());
  }

  double knot(int i) const { return knots_[i]; }

  void slide() {
    points_.slide();
    if (rational_) weights_.slide();
    knots_.slide();
    if (p_ == 3) cubic_.set_knots(knots_.data());
  }

  // Cubic windows, the common case, take the unrolled triangle; a test
  // holds it to the general one (zv_deboor_3d) bit for bit.
  Point3 point(double t) const {
    if (p_ == 3) {
      if (!rational_) return cubic_.point(points_.data(), t);
      const Weighted d[4] = {{points_[0], weights_[0]}, {points_[1], weights_[1]}, {points_[2], weights_[2]},
                             {points_[3], weights_[3]}};
      return cubic_.point(d, t);
    }
    if (rational_) {
      Weighted d[kPointWindow];
      for (int i = 0; i <= p_; ++i) d[i] = {points_[i], weights_[i]};
      deboor_triangle(d, knots_.data(), p_, t);
      return d[p_].p;
    }
    Point3 d[kPointWindow];
    for (int i = 0; i <= p_; ++i) d[i] = points_[i];
    deboor_triangle(d, knots_.data(), p_, t);
    return d[p_];
  }

 private:
  int p_;
  bool rational_;
  SlidingWindow<Point3, PointCursor, kPointWindow> points_;
  SlidingWindow<double, RealCursor, kPointWindow> weights_;
  SlidingWindow<double, KnotCursor, kKnotWindow> knots_;
  CubicDeBoor cubic_;
};

// Samples spans consecutive spans of a window that starts on the first:
// each span that passes test at t = left + (s * L) / steps, s = 0 .. steps,
// one vertex and one statistics record (t only) per sample, numbered from 0.
// The window slides one span between spans (Window: knot(i), slide(),
// point(t)). Returns 0, kRefusedParameter, or kMemoryRefused after reporting
// under name; what was appended stays.
template <class Window>
int16_t sample_spans(zv_curve *curve, Window &window, int p, long spans, int steps, SpanTest test,
                     const char *name) {
  StagedSamples out(curve->vertex_list, curve->stats_list);
  long n = 0;
  for (long k = 0; k < spans; ++k) {
    if (k > 0) window.slide();
    const double left = window.knot(p - 1), right = window.knot(p), length = right - left;
    if (!span_sampled(test, left, right)) continue;
    for (int s = 0; s <= steps; ++s) {
      const double t = left + (s * length) / steps;
      if (!parameter_accepted(t)) return out.finish() ? kRefusedParameter : memory_refused(name);
      if (!out.add(n, window.point(t), t)) return memory_refused(name);
      ++n;
    }
  }
  return out.finish() ? 0 : memory_refused(name);
}

}  // namespace zv
