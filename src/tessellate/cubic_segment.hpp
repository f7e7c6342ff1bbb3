// One segment of a uniform cubic curve in power form: the basis matrix
// applied to four control points once, then point and derivatives at any t.
#pragma once

#include <rivezi3z/da3v.h>

#include <cmath>
#include <cstring>

#include "frame/records.hpp"

namespace zv {

// The basis matrix of a curve record, copied out of the packed record.
struct Basis {
  double m[16];
  explicit Basis(const zv_curve &curve) { std::memcpy(m, curve.basis, sizeof m); }
};

// The coefficient vectors c[r] = sum_k basis[r][k] * P_k (k = 0..3 in order,
// from 0.0), so that P(t) = c0 t^3 + c1 t^2 + c2 t + c3.
//
// The rows of a basis matrix that give the derivatives sum to zero, so
// where a derivative vanishes (all four points equal, say) its computed
// value is rounding residue of the order of an ulp of the coordinates
// rather than zero. noise[r] bounds that residue in c[r] (a few hundred
// ulps of sum_k |basis[r][k]| |P_k|), and a derivative within the bound
// its coefficients give counts as vanished.
class CubicSegment {
 public:
  CubicSegment(const Basis &b, const Point3 (&p)[4]) {
    for (int r = 0; r < 4; ++r) {
      Point3 sum;
      double size = 0.0;
      for (int k = 0; k < 4; ++k) {
        sum.x = sum.x + b.m[4 * r + k] * p[k].x;
        sum.y = sum.y + b.m[4 * r + k] * p[k].y;
        sum.z = sum.z + b.m[4 * r + k] * p[k].z;
        size += std::fabs(b.m[4 * r + k]) * largest(p[k]);
      }
      c_[r] = sum;
      noise_[r] = kResidue * size;
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
    return {3.0 * t2 * c_[0].x + 2.0 * t * c_[1].x + c_[2].x,
            3.0 * t2 * c_[0].y + 2.0 * t * c_[1].y + c_[2].y,
            3.0 * t2 * c_[0].z + 2.0 * t * c_[1].z + c_[2].z};
  }

  Point3 second(double t) const {
    return {6.0 * t * c_[0].x + 2.0 * c_[1].x, 6.0 * t * c_[0].y + 2.0 * c_[1].y,
            6.0 * t * c_[0].z + 2.0 * c_[1].z};
  }

 private:
  // 2^-44: about 512 ulps of a coefficient's terms.
  static constexpr double kResidue = 0x1p-44;
  static double largest(const Point3 &p) {
    return std::fmax(std::fabs(p.x), std::fmax(std::fabs(p.y), std::fabs(p.z)));
  }
  Point3 c_[4];
  double noise_[4];
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
