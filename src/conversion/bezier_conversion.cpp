// Conversion of clamped cubic B-spline and NURB records into their Bezier
// segments by the knot-interval formulas: every leg of the control polygon
// is divided in the ratios of the neighbouring knot intervals and each
// junction is interpolated between the points on either side of it. A
// window of three control points and five breakpoints slides along the
// source lists, reading each element once.
#include <rivezi3z/rivezi3z.h>

#include <cmath>

#include "frame/conventions.hpp"
#include "frame/knot_layout.hpp"
#include "frame/lists.hpp"
#include "frame/report.hpp"
#include "frame/span_walk.hpp"
#include "frame/vertices.hpp"

namespace {

constexpr int16_t kCubic = 3;

using namespace zv::code::conversion;

// A control point with its weight as a fourth coordinate: the formulas
// treat all four alike.
struct Pole {
  double x, y, z, w;
};

// (a A + b B) / d, coordinate by coordinate.
Pole mix(double a, const Pole &A, double b, const Pole &B, double d) {
  return {(a * A.x + b * B.x) / d, (a * A.y + b * B.y) / d, (a * A.z + b * B.z) / d, (a * A.w + b * B.w) / d};
}

// A knot interval the formulas may divide by (NaN is refused too).
bool usable(double interval) { return std::fabs(interval) > zv::kZeroTolerance; }

// The control points of the source as poles, with their weights (a missing
// weight counts as 1); the homogeneous form multiplies each point by its
// weight, so the affine formulas convert the rational curve exactly.
class PoleReader {
 public:
  PoleReader(const zv_curve &source, bool homogeneous)
      : points_(source.ctrl_list->head, {}), weights_(source.weight_list ? source.weight_list->head : nullptr, 1.0),
        homogeneous_(homogeneous) {}
  Pole next() {
    const zv::Point3 p = points_.next();
    const double w = weights_.next();
    if (homogeneous_) return {w * p.x, w * p.y, w * p.z, w};
    return {p.x, p.y, p.z, w};
  }

 private:
  zv::PointCursor points_;
  zv::RealCursor weights_;
  bool homogeneous_;
};

// The breakpoints u(-1), u(0), u(1), ... of L segments with clamped ends:
// u(-1) := u(0), and u(L) again for u(L + 1) and on, so the list is read
// once and never past u(L).
class Breakpoints {
 public:
  Breakpoints(ll_node *first, long segments) : cursor_(first, 0.0), segments_(segments) {}
  double next() {
    ++s_;
    if (s_ == -1 || (s_ >= 1 && s_ <= segments_)) last_ = cursor_.next();
    return last_;
  }

 private:
  zv::RealCursor cursor_;
  long segments_;
  long s_ = -2;
  double last_ = 0.0;
};

// Where the breakpoints u(0) .. u(L) start in a knot list, or null when it
// holds too few. The layout follows from the exact count (n = L + 3 control
// points) and the end multiplicities (stored_knots), never from the first
// values alone: the clamped knot vector of n + 4 knots holds them from its
// fourth knot on, the tessellators' layout of n + 2 knots (that vector
// without its outermost knot at each end) from its third; every other list
// of at least L + 1 knots holds them from its head.
ll_node *breakpoint_start(const ll_list *knots, long segments) {
  const zv::KnotLayout layout = zv::stored_knots(knots, segments + kCubic, kCubic);
  if (layout.clamped_ends) return zv::node_at(knots, layout.skip + kCubic - 1);
  return ll_list_length(knots) >= segments + 1 ? knots->head : nullptr;
}

// Appends the Bezier points b(0), b(1), ... to the output lists, numbered
// from 0: the point (divided by its weight in the homogeneous form) and,
// when weights are converted, the weight.
class BezierSink {
 public:
  BezierSink(ll_list *points, ll_list *weights, bool homogeneous)
      : points_(points), weights_(weights), homogeneous_(homogeneous) {}
  bool put(const Pole &b) {
    const zv::Point3 p = homogeneous_ ? zv::Point3{b.x / b.w, b.y / b.w, b.z / b.w} : zv::Point3{b.x, b.y, b.z};
    if (!zv::append_vertex(points_, count_, p)) return false;
    if (weights_ && !zv::add_real(weights_, 1, b.w)) return false;
    ++count_;
    return true;
  }

 private:
  ll_list *points_, *weights_;
  bool homogeneous_;
  long count_ = 0;
};

// The conversion of a clamped cubic with n = L + 3 control points into its
// 3L + 1 Bezier points. weights: the source's weights are converted and
// appended alongside; homogeneous: the points are converted as weighted
// points and divided by their converted weights. Returns 0, 3, 4, 5, or -1
// after reporting refused memory under name.
int16_t convert(const zv_curve &source, zv_curve *out, bool weights, bool homogeneous, const char *name) {
  // The formulas are those of a cubic; any other degree would be misread.
  if (source.degree != kCubic) return kBadSegments;
  const long segments = ll_list_length(source.ctrl_list) - kCubic;
  if (segments < 1) return kBadSegments;
  ll_node *first_knot = nullptr;
  if (segments >= 2 && !(first_knot = breakpoint_start(source.knot_list, segments))) return kTooFewKnots;

  out->ctrl_list = zv::ensure_list(out->ctrl_list);
  if (!out->ctrl_list) return zv::memory_refused(name);
  if (weights) {
    out->weight_list = zv::ensure_list(out->weight_list);
    if (!out->weight_list) return zv::memory_refused(name);
  }
  BezierSink sink(out->ctrl_list, weights ? out->weight_list : nullptr, homogeneous);
  PoleReader poles(source, homogeneous);

  // b(0), b(1) are P(0), P(1); a single segment's Bezier polygon is its own.
  Pole P[3] = {poles.next(), poles.next(), {}};
  if (!sink.put(P[0]) || !sink.put(P[1])) return zv::memory_refused(name);
  if (segments == 1) {
    P[0] = poles.next();
    P[1] = poles.next();
    return sink.put(P[0]) && sink.put(P[1]) ? 0 : zv::memory_refused(name);
  }

  // Junction j reads P(j) .. P(j + 2) and u(j - 2) .. u(j + 2).
  P[0] = P[1];
  P[1] = poles.next();
  P[2] = poles.next();
  Breakpoints breakpoints(first_knot, segments);
  double u[5];
  for (double &knot : u) knot = breakpoints.next();
  for (long j = 1; j < segments; ++j) {
    const double left = u[3] - u[0], right = u[4] - u[1], middle = u[3] - u[1];
    if (!usable(left) || !usable(right) || !usable(middle)) return kZeroInterval;
    const Pole l = mix(u[2] - u[0], P[1], u[3] - u[2], P[0], left);
    const Pole r = mix(u[2] - u[1], P[2], u[4] - u[2], P[1], right);
    const Pole m = mix(u[2] - u[1], r, u[3] - u[2], l, middle);
    if (!sink.put(l) || !sink.put(m) || !sink.put(r)) return zv::memory_refused(name);
    P[0] = P[1];
    P[1] = P[2];
    P[2] = poles.next();
    for (int i = 0; i < 4; ++i) u[i] = u[i + 1];
    u[4] = breakpoints.next();
  }
  // The window now holds P(L), P(L + 1), P(L + 2).
  return sink.put(P[1]) && sink.put(P[2]) ? 0 : zv::memory_refused(name);
}

}  // namespace

extern "C" ZV_API int16_t zv_bspl_to_bezier_curve3d(zv_curve *source, zv_curve *out) {
  // A null out would leave nothing the caller could receive.
  if (!source || !out) return kNoRecord;
  return convert(*source, out, source->type == ZV_CURVE_NURB, false, "zv_bspl_to_bezier_curve3d");
}

extern "C" ZV_API int16_t zv_rat_bspl_to_bezier_curve3d(zv_curve *source, zv_curve *out) {
  if (!source || !out) return kNoRecord;
  if (source->type != ZV_CURVE_NURB) return kNotRational;
  if (!source->weight_list || !source->weight_list->head) return kNoWeights;
  const int16_t result = convert(*source, out, true, true, "zv_rat_bspl_to_bezier_curve3d");
  return result == zv::code::kDone || result == zv::code::kMemoryRefused ? result : kRationalFailed;
}
