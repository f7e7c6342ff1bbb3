// One segment of a uniform cubic curve in power form: the basis matrix
// applied to four control points once, then point and derivatives at any t.
#pragma once

#include <rivezi3z/da3v.h>

#include <cmath>
#include <cstring>

#include "frame/records.hpp"

namespace zv {

// The basis matrix of a curve record, copied out of the packed record, with
// the sums of its derivative rows (r = 0, 1, 2). Those rows sum to zero for
// every uniform basis (four equal points make a still curve), and a sum
// within rounding of zero is taken as that zero; a record whose matrix
// keeps a real sum there keeps it (drift).
struct Basis {
  double m[16];
  double drift[3];
  explicit Basis(const zv_curve &curve) {
    std::memcpy(m, curve.basis, sizeof m);
    for (int r = 0; r < 3; ++r) {
      double sum = 0.0, size = 0.0;
      for (int k = 0; k < 4; ++k) sum += m[4 * r + k], size += std::fabs(m[4 * r + k]);
      drift[r] = std::fabs(sum) <= kResidue * size ? 0.0 : sum;
    }
  }
  // 2^-44: about 512 ulps of a sum's terms.
  static constexpr double kResidue = 0x1p-44;
};

// The coefficient vectors c[r] = sum_k basis[r][k] * P_k (k = 0..3 in order,
// from 0.0), so that P(t) = c0 t^3 + c1 t^2 + c2 t + c3.
//
// The derivatives come from the same rows applied to the differences
// P_k - P_0 (plus drift[r] P_0), which is the same polynomial but without
// the cancellation of the coordinates themselves: far from the origin the
// coordinates' own rounding would otherwise swamp a small curve's
// derivatives, and a segment whose points coincide gets exact zeros.
// Where a derivative vanishes inside a segment (a cusp, or a Bezier end
// whose two points coincide) its computed value is rounding residue of
// those differenced terms; noise[r] bounds it (about 512 ulps of
// sum_k |basis[r][k]| |P_k - P_0|), and a derivative within the bound its
// coefficients give counts as vanished. The bound depends on the curve's
// shape only, never on where it sits.
class CubicSegment {
 public:
  CubicSegment(const Basis &b, const Point3 (&p)[4]) {
    for (int r = 0; r < 4; ++r) {
      Point3 sum;
      for (int k = 0; k < 4; ++k) {
        sum.x = sum.x + b.m[4 * r + k] * p[k].x;
        sum.y = sum.y + b.m[4 * r + k] * p[k].y;
        sum.z = sum.z + b.m[4 * r + k] * p[k].z;
      }
      c_[r] = sum;
    }
    Point3 d[4];  // d[0] = P_0 - P_0 stays zero and is not summed
    for (int k = 1; k < 4; ++k) d[k] = {p[k].x - p[0].x, p[k].y - p[0].y, p[k].z - p[0].z};
    for (int r = 0; r < 3; ++r) {
      Point3 sum;
      double size = 0.0;
      if (b.drift[r] != 0.0) {  // skipped for a uniform basis, so 0 * inf cannot make NaN
        sum = {b.drift[r] * p[0].x, b.drift[r] * p[0].y, b.drift[r] * p[0].z};
        size = std::fabs(b.drift[r]) * largest(p[0]);
      }
      for (int k = 1; k < 4; ++k) {
        sum.x = sum.x + b.m[4 * r + k] * d[k].x;
        sum.y = sum.y + b.m[4 * r + k] * d[k].y;
        sum.z = sum.z + b.m[4 * r + k] * d[k].z;
        size += std::fabs(b.m[4 * r + k]) * largest(d[k]);
      }
      dc_[r] = sum;
      noise_[r] = Basis::kResidue * size;
    }
  }

  // True when d, the first (order 1) or second (order 2) derivative at t,
  // is no larger than the rounding residue its coefficients may carry.
  bool lost(const Point3 &d, int order, double t) const {
    const double at = std::fabs(t);
    const double bound = order == 1 ? 3.0 * at * at * noise_[0] + 2.0 * at * noise_[1] + noise_[2]
                                    : 6.0 * at * noise_[0] + 2.0 * noise_[1];
    return largest(d) <= bound;
  }

  Point3 point(double t) const {
    const double t2 = t * t, t3 = t2 * t;
    return {c_[0].x * t3 + c_[1].x * t2 + c_[2].x * t + c_[3].x,
            c_[0].y * t3 + c_[1].y * t2 + c_[2].y * t + c_[3].y,
            c_[0].z * t3 + c_[1].z * t2 + c_[2].z * t + c_[3].z};
  }

  Point3 first(double t) const {
    const double t2 = t * t;
    return {3.0 * t2 * dc_[0].x + 2.0 * t * dc_[1].x + dc_[2].x,
            3.0 * t2 * dc_[0].y + 2.0 * t * dc_[1].y + dc_[2].y,
            3.0 * t2 * dc_[0].z + 2.0 * t * dc_[1].z + dc_[2].z};
  }

  Point3 second(double t) const {
    return {6.0 * t * dc_[0].x + 2.0 * dc_[1].x, 6.0 * t * dc_[0].y + 2.0 * dc_[1].y,
            6.0 * t * dc_[0].z + 2.0 * dc_[1].z};
  }

 private:
  static double largest(const Point3 &p) {
    return std::fmax(std::fabs(p.x), std::fmax(std::fabs(p.y), std::fabs(p.z)));
  }
  Point3 c_[4];   // the point's coefficients
  Point3 dc_[3];  // the derivatives' coefficients, from differences
  double noise_[3];
};

// The unit tangent, unit second derivative and normal of a sample, made by
// the geometry services exactly as a statistics record carries them.
struct Frame {
  zv_vector_3d tangent, second, normal;
};

// The frame of a segment at t. A derivative lost in rounding residue is
// taken as the zero vector it stands for, so that it gives zero vectors
// rather than a direction made of noise.
inline Frame frame_at(const CubicSegment &cubic, double t) {
  const Point3 first = cubic.first(t), second = cubic.second(t);
  const Point3 zero{};
  Frame f{vector_of(cubic.lost(first, 1, t) ? zero : first), vector_of(cubic.lost(second, 2, t) ? zero : second), {}};
  zv_unitvector(&f.tangent, &f.tangent);
  zv_unitvector(&f.second, &f.second);
  zv_normalvector3d(&f.tangent, &f.normal);
  return f;
}

}  // namespace zv
