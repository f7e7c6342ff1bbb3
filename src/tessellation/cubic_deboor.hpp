// De Boor's triangle for cubic spans, the tessellators' common case, with
// the knot differences of a span computed once and x and y carried side by
// side in one SSE2 register. Every lane runs the very operations of the
// general triangle (deboor.hpp) on the same operands in the same order, and
// IEEE arithmetic rounds each lane as it would the scalar operation, so the
// results are the same doubles (a test holds the two to each other bit for
// bit); the build never contracts a multiply and an add into one rounding.
#pragma once

#include <cstring>

#include "frame/deboor.hpp"

namespace zv {

// Two doubles in one register; each operation works lane by lane.
using Lanes2 = double __attribute__((vector_size(16)));

inline Lanes2 both(double v) { return Lanes2{v, v}; }

// A point with x and y paired.
struct PairedPoint {
  Lanes2 xy;
  double z;
};

inline PairedPoint paired(const Point3 &p) { return {Lanes2{p.x, p.y}, p.z}; }

// The six blends of a cubic triangle on a window of 4 values and knots
// u(0) .. u(5), in the general triangle's order: level 1 over [u2, u5],
// [u1, u4], [u0, u3]; level 2 over [u2, u4], [u1, u3]; level 3 over
// [u2, u3]. Their left and right knots and lengths are kept paired, two
// blends to a register, so the six divisions of a sample take three
// instructions.
class CubicDeBoor {
 public:
  // Takes the knots of a new span.
  void set_knots(const double *u) {
    left_[0] = Lanes2{u[2], u[1]};
    left_[1] = Lanes2{u[0], u[2]};
    left_[2] = Lanes2{u[1], u[2]};
    right_[0] = Lanes2{u[5], u[4]};
    right_[1] = Lanes2{u[3], u[4]};
    right_[2] = Lanes2{u[3], u[3]};
    for (int i = 0; i < 3; ++i) length_[i] = right_[i] - left_[i];
  }

  // The point at t of the plain window d(0) .. d(3). The plain blend weighs
  // the lower value by (right - t) / (right - left).
  Point3 point(const Point3 *d, double t) const {
    double a[6];
    shares(right_, both(t), a, false);
    PairedPoint e[4] = {paired(d[0]), paired(d[1]), paired(d[2]), paired(d[3])};
    const PairedPoint at = triangle(e, a);
    return {at.xy[0], at.xy[1], at.z};
  }

  // The point at t of the homogeneous window d(0) .. d(3). The homogeneous
  // blend weighs the upper value by alpha = (t - left) / (right - left).
  Point3 point(const Weighted *d, double t) const {
    double alpha[6];
    shares(left_, both(t), alpha, true);
    WeightedPair e[4] = {weighted(d[0]), weighted(d[1]), weighted(d[2]), weighted(d[3])};
    const WeightedPair at = triangle(e, alpha);
    return {at.p.xy[0], at.p.xy[1], at.p.z};
  }

 private:
  struct WeightedPair {
    PairedPoint p;
    double w;
  };

  static WeightedPair weighted(const Weighted &d) { return {paired(d.p), d.w}; }

  // The six blend shares at t: (end - t) / length with the right knots,
  // or (t - end) / length with the left ones (homogeneous).
  void shares(const Lanes2 *end, Lanes2 t, double *out, bool from_left) const {
    for (int i = 0; i < 3; ++i) {
      const Lanes2 s = (from_left ? t - end[i] : end[i] - t) / length_[i];
      std::memcpy(out + 2 * i, &s, sizeof s);
    }
  }

  // The six blends in the general triangle's order, with their shares;
  // e(3) is the point at t afterwards.
  template <class Node>
  static Node triangle(Node *e, const double *share) {
    e[3] = blend(e[2], e[3], share[0]);
    e[2] = blend(e[1], e[2], share[1]);
    e[1] = blend(e[0], e[1], share[2]);
    e[3] = blend(e[2], e[3], share[3]);
    e[2] = blend(e[1], e[2], share[4]);
    return blend(e[2], e[3], share[5]);
  }

  // deboor_blend of the plain form: a * lo + (1 - a) * hi.
  static PairedPoint blend(const PairedPoint &lo, const PairedPoint &hi, double a) {
    const double b = 1.0 - a;
    return {both(a) * lo.xy + both(b) * hi.xy, a * lo.z + b * hi.z};
  }

  // weighted_blend with the shares 1 - alpha (of lo) and alpha (of hi).
  static WeightedPair blend(const WeightedPair &lo, const WeightedPair &hi, double alpha) {
    const double wl = (1.0 - alpha) * lo.w, wr = alpha * hi.w, w = wl + wr;
    return {{(both(wl) * lo.p.xy + both(wr) * hi.p.xy) / both(w), (wl * lo.p.z + wr * hi.p.z) / w}, w};
  }

  Lanes2 left_[3], right_[3], length_[3];
};

}  // namespace zv
