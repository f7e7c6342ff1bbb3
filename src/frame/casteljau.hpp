// De Casteljau's algorithm as one numeric pass over the p + 1 control points
// of a Bezier curve, plain (points) or rational (weighted points blended in
// homogeneous form), splitting the curve at a parameter in place.
#pragma once

#include "frame/deboor.hpp"

namespace zv {

// The affine blend of two points with the share a of hi.
inline Point3 casteljau_blend(const Point3 &lo, const Point3 &hi, double a) {
  const double b = 1.0 - a;
  return {b * lo.x + a * hi.x, b * lo.y + a * hi.y, b * lo.z + a * hi.z};
}

// The rational blend: the weights (1 - a) w_lo and a w_hi are summed into the
// new weight and the point is their weighted mean.
inline Weighted casteljau_blend(const Weighted &lo, const Weighted &hi, double a) {
  return weighted_blend(lo, hi, 1.0 - a, a);
}

// De Casteljau's triangle at a (The NURBS Book, A1.5), in place: level r
// replaces d(k), k = 0 .. p - r in increasing order, by the blend of d(k)
// and d(k + 1). Afterwards d(0) .. d(p) is the polygon of the curve over
// [a, 1], starting at the point at a. The triangle's other edge, d(0) of
// every level 0 .. p, is the polygon over [0, a] from the first control
// point to the point at a; it goes to left when left is not null. Any a
// is taken: outside [0, 1] the pieces extrapolate the curve. Node is
// Point3 (plain) or Weighted (rational).
template <class Node>
void casteljau_split(Node *d, int p, double a, Node *left) {
  if (left) left[0] = d[0];
  for (int r = 1; r <= p; ++r) {
    for (int k = 0; k + r <= p; ++k) d[k] = casteljau_blend(d[k], d[k + 1], a);
    if (left) left[r] = d[0];
  }
}

}  // namespace zv
