// Whether two 3D segments meet, and where on the first one.
#include "services/da3v/vec3.hpp"

#include <cfloat>

namespace {

using zv::da3v::Vec3;

// sin^2 of the angle under which two segments count as parallel (1e-12 rad):
// below it the cross product is rounding noise, above it it is trustworthy.
constexpr double kParallelSine2 = 1e-24;

// Squared length, in the rescaled frame where the configuration is about 1
// across, under which a segment counts as its start point.
constexpr double kPointLength2 = 1e-60;

// Rounding noise of the coordinates, in units of the largest one: far from the
// origin the fixed tolerance is finer than the doubles themselves, and segments
// that cross would be missed for want of an exactly representable meeting point.
constexpr double kNoiseUlps = 16.0 * DBL_EPSILON;

// Coordinates beyond this are quartered first, so differences cannot overflow.
constexpr double kHugeCoordinate = 0x1p+1000;

// Parameters of the closest points on two segments.
struct Closest {
  double s;  // along seg_a, 0 at its start, 1 at its end
  double t;  // along seg_b
};

// Clamps a segment parameter into [0, 1].
constexpr double clamp01(double x) { return x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x); }

// Closest points of s*d1 (s in [0,1]) and p2 + t*d2 (t in [0,1]): the clamped
// two-segment method of Ericson, Real-Time Collision Detection, 5.1.9, with the
// unclamped s taken from the cross product for accuracy on nearly parallel
// segments. Inputs are rescaled so no square overflows or underflows.
Closest closest_parameters(Vec3 d1, Vec3 p2, Vec3 d2) {
  const Vec3 r = Vec3{} - p2;  // start of seg_a minus start of seg_b
  const double a = zv::da3v::dot(d1, d1);
  const double e = zv::da3v::dot(d2, d2);
  const double f = zv::da3v::dot(d2, r);
  // Zero-length segments stand for their start point.
  if (a <= kPointLength2 && e <= kPointLength2) return {0.0, 0.0};
  if (a <= kPointLength2) return {0.0, clamp01(f / e)};
  const double c = zv::da3v::dot(d1, r);
  if (e <= kPointLength2) return {clamp01(-c / a), 0.0};

  const double b = zv::da3v::dot(d1, d2);
  const Vec3 n = zv::da3v::cross(d1, d2);
  const double nn = zv::da3v::dot(n, n);
  double s;
  if (nn > kParallelSine2 * a * e) {
    // Closest point of the two lines: ((d1 x d2) x d2) . r / |d1 x d2|^2.
    s = clamp01(zv::da3v::dot(zv::da3v::cross(n, d2), r) / nn);
  } else {
    // Parallel: the smaller projection of seg_b's ends onto seg_a, clamped,
    // is the first point of any overlap along seg_a (or seg_a's nearer end).
    s = clamp01(std::min(-c, b - c) / a);
  }
  double t = (b * s + f) / e;
  if (t < 0.0) {
    t = 0.0;
    s = clamp01(-c / a);
  } else if (t > 1.0) {
    t = 1.0;
    s = clamp01((b - c) / a);
  }
  return {s, t};
}

}  // namespace

extern "C" ZV_API int16_t zv_intlinespace_ls(const zv_pnt_3d *seg_a, const zv_pnt_3d *seg_b,
                                             zv_pnt_3d *out) {
  if (!seg_a || !seg_b || !out) return 0;
  // Everything is read before out is written: out may alias an input point.
  const Vec3 a0 = zv::da3v::load(seg_a[0]), a1 = zv::da3v::load(seg_a[1]);
  const Vec3 b0 = zv::da3v::load(seg_b[0]), b1 = zv::da3v::load(seg_b[1]);
  using zv::da3v::finite;
  using zv::da3v::max_abs;
  if (!finite(a0) || !finite(a1) || !finite(b0) || !finite(b1)) return 0;

  Vec3 p1 = a0, q1 = a1, p2 = b0, q2 = b1;
  const double reach = std::max({max_abs(p1), max_abs(q1), max_abs(p2), max_abs(q2)});
  const double tolerance = std::max(ZV_DA3V_TOLERANCE, kNoiseUlps * reach);
  double back = 1.0;  // undoes the quartering below on the output point
  if (reach > kHugeCoordinate) {
    p1 = 0.25 * p1;
    q1 = 0.25 * q1;
    p2 = 0.25 * p2;
    q2 = 0.25 * q2;
    back = 4.0;
  }
  const Vec3 d1 = q1 - p1, v2 = p2 - p1, d2 = q2 - p2;
  const double size = std::max({max_abs(d1), max_abs(v2), max_abs(d2)});
  if (size == 0.0) {
    zv::da3v::store(a0, out);  // all four points coincide
    return 1;
  }
  // A power of two brings the configuration to about 1 across without rounding;
  // the exponent is capped so a subnormal size cannot make the factor infinite.
  const double unit = std::ldexp(1.0, std::min(-std::ilogb(size), 1000));
  const Vec3 u1 = unit * d1, u2 = unit * v2, w2 = unit * d2;
  const Closest k = closest_parameters(u1, u2, w2);
  const Vec3 gap = k.s * u1 - (u2 + k.t * w2);
  if (!(std::sqrt(zv::da3v::dot(gap, gap)) <= tolerance * unit / back)) return 0;

  // The segment's own end points are returned exactly; other points are
  // measured from the nearer end.
  if (k.s == 0.0) {
    zv::da3v::store(a0, out);
  } else if (k.s == 1.0) {
    zv::da3v::store(a1, out);
  } else {
    const Vec3 p = k.s <= 0.5 ? p1 + k.s * d1 : q1 - (1.0 - k.s) * d1;
    zv::da3v::store(back * p, out);
  }
  return 1;
}
