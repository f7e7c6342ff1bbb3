// Shared helpers for the cross-checks against the two reference libraries,
// SISL and Open CASCADE: building the same curve in each from control points
// and knots, evaluating position and two derivatives at a parameter, owning
// our own curve records (made with zvtest::make_polygon, read with
// zvtest::items), and measuring agreement against the polygon's scale.
#pragma once

#include <gtest/gtest.h>
#include <rivezi3z/rivezi3z.h>
#include <sisl.h>

#include "zv_testing.hpp"

#include <GeomAdaptor_Curve.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_BezierCurve.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <gp_Pnt.hxx>
#include <gp_Vec.hxx>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace zvpeer {

// ------------------------------------------------------------ small vectors

struct Vec3 {
  double x = 0.0, y = 0.0, z = 0.0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(double s, Vec3 a) { return {s * a.x, s * a.y, s * a.z}; }
inline double norm(Vec3 a) { return std::hypot(a.x, a.y, a.z); }
inline double max_abs(Vec3 a) { return std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(a.z)}); }

inline Vec3 vec(const zv_pnt_3d &p) { return {p.x, p.y, p.z}; }
inline Vec3 vec(const zv_poly_3d &v) { return {v.x, v.y, v.z}; }
inline Vec3 vec(const zv_vector_3d &v) { return {v.dx, v.dy, v.dz}; }
inline Vec3 vec(const gp_Pnt &p) { return {p.X(), p.Y(), p.Z()}; }
inline Vec3 vec(const gp_Vec &v) { return {v.X(), v.Y(), v.Z()}; }

// A curve's position and its first three derivatives at one parameter (the
// third only serves to carry the second over a parameter rounding).
struct Jet {
  Vec3 point, first, second, third;
};

// A jet carried a short parameter distance delta by a first-order step: used
// where a peer had to be evaluated at a rounded parameter (a global u = s + t
// far from 0 loses the last bits of t) and delta is that rounding.
inline Jet shifted(const Jet &j, double delta) {
  return {j.point + delta * j.first, j.first + delta * j.second, j.second + delta * j.third, j.third};
}

// The rounding of a global parameter u = base + t, recovered exactly: u - base
// is exact for base <= u <= 2 base (Sterbenz), and so is its distance to t.
inline double rounding_of(double base, double t, double u) { return t - (u - base); }

// --------------------------------------------------------------------- SISL

struct SislCurveDeleter {
  void operator()(SISLCurve *c) const { freeCurve(c); }
};
using SislCurve = std::unique_ptr<SISLCurve, SislCurveDeleter>;

// A polynomial B-spline of the given order (degree + 1) in SISL; knots holds
// poles.size() + order values. SISL copies both arrays.
inline SislCurve sisl_bspline(const std::vector<zv_pnt_3d> &poles, std::vector<double> knots, int order) {
  std::vector<double> coefs;
  coefs.reserve(3 * poles.size());
  for (const zv_pnt_3d &p : poles) coefs.insert(coefs.end(), {p.x, p.y, p.z});
  return SislCurve(newCurve(static_cast<int>(poles.size()), order, knots.data(), coefs.data(), 1, 3, 1));
}

// A rational B-spline in SISL: the coefficients go in homogeneous form
// (w x, w y, w z, w), as SISL's kind 2 expects.
inline SislCurve sisl_rational_bspline(const std::vector<zv_pnt_3d> &poles, const std::vector<double> &weights,
                                       std::vector<double> knots, int order) {
  std::vector<double> coefs;
  coefs.reserve(4 * poles.size());
  for (size_t i = 0; i < poles.size(); ++i) {
    const double w = weights[i];
    coefs.insert(coefs.end(), {w * poles[i].x, w * poles[i].y, w * poles[i].z, w});
  }
  return SislCurve(newCurve(static_cast<int>(poles.size()), order, knots.data(), coefs.data(), 2, 3, 1));
}

// Position and three derivatives from the right (s1221). leftknot carries
// the span hint from one call to the next; the SISL status is returned.
inline int sisl_jet(SISLCurve *curve, double u, int &leftknot, Jet &out) {
  double d[12];
  int stat = 0;
  s1221(curve, 3, u, &leftknot, d, &stat);
  out = {{d[0], d[1], d[2]}, {d[3], d[4], d[5]}, {d[6], d[7], d[8]}, {d[9], d[10], d[11]}};
  return stat;
}

// The clamped knot vector of a single Bezier arc of the given degree on [0, 1].
inline std::vector<double> bezier_knots(int degree) {
  std::vector<double> knots(static_cast<size_t>(degree + 1), 0.0);
  knots.resize(static_cast<size_t>(2 * (degree + 1)), 1.0);
  return knots;
}

// Uniform knots 0, 1, ..., count - 1.
inline std::vector<double> uniform_knots(size_t count) {
  std::vector<double> knots(count);
  for (size_t i = 0; i < count; ++i) knots[i] = static_cast<double>(i);
  return knots;
}

// ------------------------------------------------------------- Open CASCADE

inline TColgp_Array1OfPnt occt_poles(const std::vector<zv_pnt_3d> &poles) {
  TColgp_Array1OfPnt out(1, static_cast<int>(poles.size()));
  for (size_t i = 0; i < poles.size(); ++i) out.SetValue(static_cast<int>(i) + 1, gp_Pnt(poles[i].x, poles[i].y, poles[i].z));
  return out;
}

// Open CASCADE wants the distinct knots and their multiplicities; knots here
// is the full vector with every repeated value written out.
struct OcctKnots {
  TColStd_Array1OfReal values;
  TColStd_Array1OfInteger mults;
};

inline OcctKnots occt_knots(const std::vector<double> &knots) {
  std::vector<double> distinct;
  std::vector<int> mults;
  for (double k : knots) {
    if (!distinct.empty() && distinct.back() == k) {
      ++mults.back();
    } else {
      distinct.push_back(k);
      mults.push_back(1);
    }
  }
  OcctKnots out{TColStd_Array1OfReal(1, static_cast<int>(distinct.size())),
                TColStd_Array1OfInteger(1, static_cast<int>(distinct.size()))};
  for (size_t i = 0; i < distinct.size(); ++i) {
    out.values.SetValue(static_cast<int>(i) + 1, distinct[i]);
    out.mults.SetValue(static_cast<int>(i) + 1, mults[i]);
  }
  return out;
}

// A non-rational B-spline of the given degree; knots holds poles.size() +
// degree + 1 values (unclamped ends are allowed).
inline Handle(Geom_BSplineCurve) occt_bspline(const std::vector<zv_pnt_3d> &poles, const std::vector<double> &knots,
                                              int degree) {
  const OcctKnots k = occt_knots(knots);
  return new Geom_BSplineCurve(occt_poles(poles), k.values, k.mults, degree);
}

inline Handle(Geom_BSplineCurve) occt_rational_bspline(const std::vector<zv_pnt_3d> &poles,
                                                       const std::vector<double> &weights,
                                                       const std::vector<double> &knots, int degree) {
  const OcctKnots k = occt_knots(knots);
  TColStd_Array1OfReal w(1, static_cast<int>(weights.size()));
  for (size_t i = 0; i < weights.size(); ++i) w.SetValue(static_cast<int>(i) + 1, weights[i]);
  return new Geom_BSplineCurve(occt_poles(poles), w, k.values, k.mults, degree);
}

// A Bezier arc on [0, 1] whose degree is poles.size() - 1 (at most 25).
inline Handle(Geom_BezierCurve) occt_bezier(const std::vector<zv_pnt_3d> &poles) {
  return new Geom_BezierCurve(occt_poles(poles));
}

// Position and three derivatives through the adaptor, which caches the span.
inline Jet occt_jet(const GeomAdaptor_Curve &curve, double u) {
  gp_Pnt p;
  gp_Vec d1, d2, d3;
  curve.D3(u, p, d1, d2, d3);
  return {vec(p), vec(d1), vec(d2), vec(d3)};
}

// ------------------------------------------------------- our curve records

struct CurveDeleter {
  void operator()(zv_curve *c) const { zv_purge_curve(c); }
};
using Curve = std::unique_ptr<zv_curve, CurveDeleter>;

// ------------------------------------------------------------- agreement

// The size scale of a polygon: its largest coordinate magnitude. Any
// floating-point evaluation, ours or a peer's, carries rounding of the order
// of this scale times the machine epsilon, so errors are measured against it
// (a polygon far from the origin is held to the same relative bound).
inline double polygon_scale(const std::vector<zv_pnt_3d> &poles) {
  double s = 0.0;
  for (const zv_pnt_3d &p : poles) s = std::max(s, max_abs(vec(p)));
  return s;
}

// How far a unit direction of ours lies from a peer's derivative d, in the
// units of d: |d| times the distance between the unit vectors. This is the
// derivative error that would turn d into our direction, so it is bounded by
// the same rounding as a position and measured against the same scale; a
// derivative too short to have a direction drops out on its own.
inline double direction_error(Vec3 ours_unit, Vec3 d) {
  const double len = norm(d);
  if (len == 0.0) return 0.0;
  return len * norm(ours_unit - (1.0 / len) * d);
}

// The largest errors seen, each relative to the polygon's scale.
struct Agreement {
  double point = 0.0, tangent = 0.0, second = 0.0;

  // Adds one sample: our vertex, our unit derivatives and the peer's jet.
  void add(double scale, Vec3 point_ours, Vec3 tangent_ours, Vec3 second_ours, const Jet &peer) {
    point = std::max(point, max_abs(point_ours - peer.point) / scale);
    tangent = std::max(tangent, direction_error(tangent_ours, peer.first) / scale);
    second = std::max(second, direction_error(second_ours, peer.second) / scale);
  }
  void merge(const Agreement &o) {
    point = std::max(point, o.point);
    tangent = std::max(tangent, o.tangent);
    second = std::max(second, o.second);
  }
  double worst() const { return std::max({point, tangent, second}); }
};

inline std::ostream &operator<<(std::ostream &os, const Agreement &a) {
  return os << "point " << a.point << ", tangent " << a.tangent << ", second derivative " << a.second;
}

// The bound every cross-check holds our evaluations to.
constexpr double kRelativeTolerance = 1e-12;

}  // namespace zvpeer
