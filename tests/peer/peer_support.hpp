// Shared helpers for the cross-checks against the two reference libraries,
// SISL and Open CASCADE: building the same curve in each from control points
// and knots, and evaluating position and derivatives at a parameter.
#pragma once

#include <gtest/gtest.h>
#include <rivezi3z/rivezi3z.h>
#include <sisl.h>

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

#include "spline_records.hpp"

namespace zvpeer {

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

// A curve's position and its first three derivatives at one parameter.
struct Jet {
  Vec3 point, first, second, third;
};

// --------------------------------------------------------------------- SISL

struct SislCurveDeleter {
  void operator()(SISLCurve *c) const { freeCurve(c); }
};
using SislCurve = std::unique_ptr<SISLCurve, SislCurveDeleter>;

// A B-spline of the given order (degree + 1) in SISL, the coefficients in
// homogeneous form (w x, w y, w z, w) when there are weights; knots holds
// poles.size() + order values. SISL copies both arrays.
inline SislCurve sisl_bspline(const std::vector<zv_pnt_3d> &poles, std::vector<double> knots, int order,
                              const std::vector<double> &weights = {}) {
  std::vector<double> coefs;
  for (size_t i = 0; i < poles.size(); ++i) {
    const double w = weights.empty() ? 1.0 : weights[i];
    coefs.insert(coefs.end(), {w * poles[i].x, w * poles[i].y, w * poles[i].z});
    if (!weights.empty()) coefs.push_back(w);
  }
  return SislCurve(newCurve(static_cast<int>(poles.size()), order, knots.data(), coefs.data(), weights.empty() ? 1 : 2, 3, 1));
}

// Position and three derivatives from the right (s1221); leftknot carries
// the span hint from one call to the next. Returns SISL's status.
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

// A B-spline of the given degree from the full knot vector (every repeated
// value written out; unclamped ends allowed), rational when weights are given.
inline Handle(Geom_BSplineCurve) occt_bspline(const std::vector<zv_pnt_3d> &poles, const std::vector<double> &knots,
                                              int degree, const std::vector<double> &weights = {}) {
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
  TColStd_Array1OfReal values(1, static_cast<int>(distinct.size()));
  TColStd_Array1OfInteger multiplicities(1, static_cast<int>(distinct.size()));
  for (size_t i = 0; i < distinct.size(); ++i) {
    values.SetValue(static_cast<int>(i) + 1, distinct[i]);
    multiplicities.SetValue(static_cast<int>(i) + 1, mults[i]);
  }
  if (weights.empty()) return new Geom_BSplineCurve(occt_poles(poles), values, multiplicities, degree);
  TColStd_Array1OfReal w(1, static_cast<int>(weights.size()));
  for (size_t i = 0; i < weights.size(); ++i) w.SetValue(static_cast<int>(i) + 1, weights[i]);
  return new Geom_BSplineCurve(occt_poles(poles), w, values, multiplicities, degree);
}

// A Bezier arc on [0, 1] whose degree is poles.size() - 1 (at most 25).
inline Handle(Geom_BezierCurve) occt_bezier(const std::vector<zv_pnt_3d> &poles) {
  return new Geom_BezierCurve(occt_poles(poles));
}

// Position and three derivatives through the adaptor.
inline Jet occt_jet(const GeomAdaptor_Curve &curve, double u) {
  gp_Pnt p;
  gp_Vec d1, d2, d3;
  curve.D3(u, p, d1, d2, d3);
  return {vec(p), vec(d1), vec(d2), vec(d3)};
}

// ------------------------------------------------------------- agreement

// The size scale of a polygon, its largest coordinate magnitude: any
// floating-point evaluation carries rounding of this scale times the machine
// epsilon, so errors are measured against it.
inline double polygon_scale(const std::vector<zv_pnt_3d> &poles) {
  double s = 0.0;
  for (const zv_pnt_3d &p : poles) s = std::max(s, max_abs(vec(p)));
  return s;
}

// The bound every cross-check holds our evaluations to.
constexpr double kRelativeTolerance = 1e-12;

}  // namespace zvpeer
