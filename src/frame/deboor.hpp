// De Boor's algorithm as one numeric pass over a window of p + 1 values and
// 2p knots, plain (points) or homogeneous (weighted points), and the blend of
// two weighted points that every rational scheme of the library shares.
#pragma once

#include "frame/conventions.hpp"
#include "frame/records.hpp"

namespace zv {

// The parameter test of the de Boor passes: below -kZeroTolerance, or NaN,
// is refused.
inline bool parameter_accepted(double t) { return t >= -kZeroTolerance; }

// A point with its weight, blended in homogeneous form.
struct Weighted {
  Point3 p;
  double w = 1.0;
};

// The homogeneous blend of two weighted points with the shares a (of lo) and
// b (of hi): the weights a w_lo and b w_hi are summed into the new weight and
// the point is their weighted mean. A zero sum gives non-finite coordinates.
inline Weighted weighted_blend(const Weighted &lo, const Weighted &hi, double a, double b) {
  const double wl = a * lo.w, wr = b * hi.w, w = wl + wr;
  return {{(wl * lo.p.x + wr * hi.p.x) / w, (wl * lo.p.y + wr * hi.p.y) / w,
           (wl * lo.p.z + wr * hi.p.z) / w},
          w};
}

// One de Boor step between neighbours whose support runs from the knot left
// to the knot right: the plain form weighs lo by (right - t) / (right - left).
inline Point3 deboor_blend(const Point3 &lo, const Point3 &hi, double t, double left, double right) {
  const double a = (right - t) / (right - left);
  return {a * lo.x + (1.0 - a) * hi.x, a * lo.y + (1.0 - a) * hi.y, a * lo.z + (1.0 - a) * hi.z};
}

// The homogeneous form weighs hi by alpha = (t - left) / (right - left).
inline Weighted deboor_blend(const Weighted &lo, const Weighted &hi, double t, double left, double right) {
  const double alpha = (t - left) / (right - left);
  return weighted_blend(lo, hi, 1.0 - alpha, alpha);
}

// De Boor's triangle (The NURBS Book, A3.1, on a renumbered window): d holds
// the p + 1 values of a span, u its 2p knots u(0) .. u(2p - 1), the span
// itself being [u(p - 1), u(p)]. Level r replaces d(j), j = p down to r, by
// the blend of d(j - 1) and d(j) over [u(j - 1), u(j + p - r)]; afterwards
// d(p) is the value at t. Node is Point3 (plain) or Weighted (rational).
template <class Node>
void deboor_triangle(Node *d, const double *u, int p, double t) {
  for (int r = 1; r <= p; ++r)
    for (int j = p; j >= r; --j) d[j] = deboor_blend(d[j - 1], d[j], t, u[j - 1], u[j + p - r]);
}

}  // namespace zv
