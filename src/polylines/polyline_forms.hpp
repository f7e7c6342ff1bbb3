// The evaluation forms of the direct polylines, written once: the factorial
// table, the two Horner forms of a Bezier curve of any degree up to 29, the
// power form of a uniform cubic B-spline segment and the blending weights
// of the quadratic B-spline and cardinal (Catmull-Rom) segments.
#pragma once

#include <cmath>
#include <limits>

#include "frame/records.hpp"

namespace zv::polyline {

// n! as a double: 0! .. 13! from a table, larger n by the running product
// rounded at each step (the same values: every product up to 13! is exact).
// Negative n gives 1; from 171! on the product is +inf, so the loop stops
// there and even n = 32767 ends at once.
inline double factorial(int n) {
  static constexpr double kTable[] = {1.0,        1.0,         2.0,          6.0,        24.0,
                                      120.0,      720.0,       5040.0,       40320.0,    362880.0,
                                      3628800.0,  39916800.0,  479001600.0,  6227020800.0};
  if (n < 0) return 1.0;
  if (n <= 13) return kTable[n];
  double f = 1.0;
  for (int i = 1; i <= n && f != std::numeric_limits<double>::infinity(); ++i) f = i * f;
  return f;
}

// A single Bezier curve over at most kMaxPoints control points, evaluated by
// one of two Horner forms of the Bernstein sum so that a sample costs one
// pow and d multiply-adds per coordinate:
//   t <= 0.5000001: (1-t)^d * sum C(k) (t/(1-t))^k P(k), Horner from P(d) down;
//   t >  0.5000001: t^d * sum C(k) ((1-t)/t)^(d-k) P(k), Horner from P(0) up.
// The ratio stays at or below about 1, and neither form divides by a
// parameter near 0.
class BezierForms {
 public:
  static constexpr int kMaxPoints = 30;
  static constexpr double kSplit = 0.5000001;

  // p holds m control points, 3 <= m <= kMaxPoints (callers check).
  BezierForms(const Point3 *p, int m) : d_(m - 1) {
    for (int k = 0; k <= d_; ++k) p_[k] = p[k];
    const double f = factorial(d_);
    for (int k = 0; k <= d_; ++k) c_[k] = f / (factorial(d_ - k) * factorial(k));
  }

  Point3 at(double t) const {
    double w, r;
    Point3 q;
    if (t <= kSplit) {
      const double s = 1.0 - t;
      w = std::pow(s, d_);
      r = t / s;
      q = p_[d_];
      for (int k = d_ - 1; k >= 0; --k) q = step(r, q, k);
    } else {
      w = std::pow(t, d_);
      r = (1.0 - t) / t;
      q = p_[0];
      for (int k = 1; k <= d_; ++k) q = step(r, q, k);
    }
    return {w * q.x, w * q.y, w * q.z};
  }

 private:
  // One Horner step: r Q + C(k) P(k), componentwise.
  Point3 step(double r, const Point3 &q, int k) const {
    return {r * q.x + c_[k] * p_[k].x, r * q.y + c_[k] * p_[k].y, r * q.z + c_[k] * p_[k].z};
  }

  int d_;
  Point3 p_[kMaxPoints];
  double c_[kMaxPoints];
};

// One segment of a uniform cubic B-spline in power form over the window
// P0..P3, evaluated as ((a3 u + a2) u + a1) u + a0 for each coordinate. It
// runs from (P0 + 4 P1 + P2)/6 to (P1 + 4 P2 + P3)/6.
class CubicBSplineSegment {
 public:
  // p points to the window's four control points.
  explicit CubicBSplineSegment(const Point3 *p)
      : x_(p[0].x, p[1].x, p[2].x, p[3].x), y_(p[0].y, p[1].y, p[2].y, p[3].y),
        z_(p[0].z, p[1].z, p[2].z, p[3].z) {}

  Point3 at(double u) const { return {x_.at(u), y_.at(u), z_.at(u)}; }

 private:
  struct Axis {
    double a3, a2, a1, a0;
    Axis(double p0, double p1, double p2, double p3)
        : a3((-p0 + 3.0 * (p1 - p2) + p3) / 6.0),
          a2((p0 - 2.0 * p1 + p2) / 2.0),
          a1((p2 - p0) / 2.0),
          a0((p0 + 4.0 * p1 + p2) / 6.0) {}
    double at(double u) const { return ((a3 * u + a2) * u + a1) * u + a0; }
  };
  Axis x_, y_, z_;
};

// Blend of K consecutive control points with weights b[0..K-1].
template <int K>
struct Weights {
  double b[K];

  Point3 blend(const Point3 *p) const {
    Point3 q{b[0] * p[0].x, b[0] * p[0].y, b[0] * p[0].z};
    for (int k = 1; k < K; ++k) {
      q.x = q.x + b[k] * p[k].x;
      q.y = q.y + b[k] * p[k].y;
      q.z = q.z + b[k] * p[k].z;
    }
    return q;
  }
};

// Uniform quadratic B-spline weights at t: (t^2 - 2t + 1)/2, (-2t^2 + 2t + 1)/2
// and t^2/2, formed from half = t/2 and half_sq = t^2/2.
inline Weights<3> quadratic_bspline_weights(double t) {
  const double half = 0.5 * t;
  const double half_sq = 0.5 * t * t;
  return {{-2.0 * half + half_sq + 0.5, -2.0 * half_sq + 2.0 * half + 0.5, half_sq}};
}

// Cardinal spline weights with tension s (0.5: Catmull-Rom); the terms of s
// that do not depend on t are formed once per call.
class CardinalBasis {
 public:
  explicit CardinalBasis(double s)
      : s_(s), two_minus_s_(2.0 - s), s_minus_two_(s - 2.0), two_s_(2.0 * s), s_minus_three_(s - 3.0),
        three_minus_two_s_(3.0 - 2.0 * s) {}

  // b0 = -s t^3 + 2s t^2 - s t, b1 = (2-s) t^3 + (s-3) t^2 + 1,
  // b2 = (s-2) t^3 + (3-2s) t^2 + s t, b3 = s t^3 - s t^2.
  Weights<4> at(double t) const {
    const double t2 = t * t, t3 = t2 * t;
    return {{-s_ * t3 + two_s_ * t2 - s_ * t, two_minus_s_ * t3 + s_minus_three_ * t2 + 1.0,
             s_minus_two_ * t3 + three_minus_two_s_ * t2 + s_ * t, s_ * t3 - s_ * t2}};
  }

 private:
  double s_, two_minus_s_, s_minus_two_, two_s_, s_minus_three_, three_minus_two_s_;
};

}  // namespace zv::polyline
