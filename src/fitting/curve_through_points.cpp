// Global interpolation: a B-spline curve of degree p through n points, its
// control points from one band system solved for every coordinate
// (The NURBS Book, A9.1).
#include <rivezi3z/rivezi3z.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "frame/conventions.hpp"
#include "frame/kernel_block.hpp"

namespace {

using namespace zv::code::fit;

// Squared end gap above which the ends count as open: the double just
// below 1e-14.
constexpr double kClosedGap = 9.999999999999998e-15;

// Coordinate c (0 x, 1 y, 2 z) of a packed point, by value.
double coordinate(const zv_pnt_3d &p, int c) { return c == 0 ? p.x : c == 1 ? p.y : p.z; }

// Knots a record can hold: finite and never decreasing (NaN fails both).
bool usable_knots(const double *knots, long count) {
  for (long i = 0; i < count; ++i) {
    if (!std::isfinite(knots[i]) || (i > 0 && !(knots[i - 1] <= knots[i]))) return false;
  }
  return true;
}

// Parameters a system can be built on: never decreasing (NaN fails too).
// Out of order, the rows would no longer follow the knot spans and the
// curve would not pass through the points in the order given.
bool ordered_parameters(const double *u, long n) {
  for (long i = 1; i < n; ++i) {
    if (!(u[i - 1] <= u[i])) return false;
  }
  return true;
}

// Whether every point lies in z = 0 within the flatness tolerance.
bool all_flat(const zv_pnt_3d *points, long n) {
  for (long i = 0; i < n; ++i) {
    if (!(std::fabs(points[i].z) <= zv::kZeroTolerance)) return false;
  }
  return true;
}

// Distance between two points over x, y (and z when spatial).
double chord(const zv_pnt_3d &a, const zv_pnt_3d &b, bool spatial) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double dz = spatial ? b.z - a.z : 0.0;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Chord-length parameters scaled to 0..1, the last exactly 1.0. False when
// the total length is not a finite number above the zero length (NaN and
// infinite coordinates have no usable length).
bool chord_length_parameters(const zv_pnt_3d *points, long n, bool spatial, double *u) {
  u[0] = 0.0;
  for (long i = 1; i < n; ++i) u[i] = u[i - 1] + chord(points[i - 1], points[i], spatial);
  const double length = u[n - 1];
  if (!(length > zv::kZeroTolerance) || !std::isfinite(length)) return false;
  for (long i = 1; i < n; ++i) u[i] /= length;
  u[n - 1] = 1.0;
  return true;
}

// Clamped knots by averaging p consecutive parameters (The NURBS Book, 9.8).
void averaged_knots(const double *u, long n, int p, double *knots) {
  for (long j = 0; j <= p; ++j) knots[j] = 0.0;
  for (long j = p + 1; j <= n - 1; ++j) {
    double sum = 0.0;
    for (long i = j - p; i <= j - 1; ++i) sum += u[i];
    knots[j] = sum / p;
  }
  for (long j = n; j <= n + p; ++j) knots[j] = 1.0;
}

// Whether the basis row of point i is exactly a unit row: its parameter
// sits on a knot of multiplicity p at knots i + 1 .. i + p, where basis
// function i alone is non-zero (always so at clamped ends).
bool unit_row(const double *knots, int p, double u, long i) {
  for (long j = i + 1; j <= i + p; ++j) {
    if (knots[j] != u) return false;
  }
  return true;
}

// The knot span of u, the parameter of row i. Parameters mostly rise from
// row to row, so the previous row's span, moved right past the knots that
// u has reached, is tried first; else averaged knots put the span among the
// few right of i, so zv_findknotspan searches a window of the knot vector
// there. Either answer stands when it meets the span's defining inequality
// (the span is unique), else the whole vector is searched (given knots,
// domain ends).
long span_of(const double *knots, long n, int p, double u, long i, long previous) {
  if (previous >= p && previous < n) {
    long s = previous;
    while (s + 1 < n && knots[s + 1] <= u) ++s;
    if (knots[s] <= u && u < knots[s + 1]) return s;
  }
  const long lo = i - p;
  const long hi = i + 2 * p + 1;
  if (lo >= 0 && hi <= n + p) {
    const long s = lo + zv_findknotspan(knots + lo, static_cast<int16_t>(hi - lo), static_cast<int16_t>(p + 1), u, 1);
    if (knots[s] <= u && u < knots[s + 1]) return s;
  }
  return zv_findknotspan(knots, static_cast<int16_t>(n + p), static_cast<int16_t>(p + 1), u, 1);
}

// The collocation matrix N_j(u_i) as a band of half-width h (row i holds
// columns i - h .. i + h). Rows that do not fit are left out; the result is
// the half-width every row needs, or -1 when a row's own basis function
// vanishes at its parameter: then the system is singular (Schoenberg and
// Whitney), and no-pivot elimination must not be tried.
int fill_collocation(const double *knots, const double *u, long n, int p, int h, double *band) {
  const long w = 2 * h + 1;
  double basis[zv::kMaxArrayDegree + 1];
  int need = 0;
  long s = -1;
  for (long i = 0; i < n; ++i) {
    double *row = band + i * w;
    std::fill(row, row + w, 0.0);
    if (unit_row(knots, p, u[i], i)) {
      row[h] = 1.0;
      continue;
    }
    s = span_of(knots, n, p, u[i], i, s);
    const long first = s - p;
    if (i < first || i > s) return -1;
    need = std::max(need, static_cast<int>(std::max(i - first, s - i)));
    if (i - first > h || s - i > h) continue;
    zv_basisfunctions(knots, static_cast<int16_t>(s), static_cast<int16_t>(p), u[i], 0, basis);
    if (basis[i - first] == 0.0) return -1;
    for (long j = 0; j <= p; ++j) row[first + j - i + h] = basis[j];
  }
  return need;
}

// What the solver is given: the points and the curve's shape.
struct FitInput {
  const zv_pnt_3d *points;
  long n;
  int p;
  int dim;
};

// Solves the interpolation system for the control points: the band is
// decomposed once and solved for every coordinate at once, ctrl (n rows of
// dim doubles) serving as right sides and solution. u is read only while
// the band is filled.
int16_t solve_control_points(const FitInput &in, const double *knots, const double *u, double *ctrl) {
  // Averaged knots need half-width p - 1; given knots may need p.
  int h = in.p - 1;
  zv::KernelBlock<double> band(static_cast<std::size_t>(in.n) * (2 * h + 1));
  if (!band.ok()) return kNoMemory;
  int need = fill_collocation(knots, u, in.n, in.p, h, band.get());
  if (need > h) {
    h = need;
    band = zv::KernelBlock<double>(static_cast<std::size_t>(in.n) * (2 * h + 1));
    if (!band.ok()) return kNoMemory;
    need = fill_collocation(knots, u, in.n, in.p, h, band.get());
  }
  const auto rows = static_cast<int16_t>(in.n);
  const auto half = static_cast<int16_t>(h);
  if (need < 0 || zv_ludecomposition(band.get(), rows, half) != 0) return kNoSolution;
  for (long i = 0; i < in.n; ++i) {
    for (int c = 0; c < in.dim; ++c) ctrl[i * in.dim + c] = coordinate(in.points[i], c);
  }
  // Each coordinate gets exactly its own solve's result; together, the
  // chains of divisions of the coordinates overlap.
  zv_forbacksubstitution_n(band.get(), rows, half, static_cast<int16_t>(in.dim), ctrl, ctrl);
  return kBuilt;
}

// Whether every row is a unit row, so the control points are the points.
bool points_are_control_points(const double *knots, const double *u, long n, int p) {
  for (long i = 0; i < n; ++i) {
    if (!unit_row(knots, p, u[i], i)) return false;
  }
  return true;
}

}  // namespace

extern "C" ZV_API int16_t zv_curve_thru_npoints_3d(const zv_pnt_3d *points, int16_t n, int16_t p, int16_t given,
                                                   const double *params, const double *knots, int16_t mode,
                                                   zv_nurbs_3d **result) {
  if (result) *result = nullptr;
  // The knot count n + p + 1 must stay addressable by an int16 last index.
  if (!points || !result || p < 1 || p > zv::kMaxArrayDegree || n < p + 1 || n > INT16_MAX - p || mode < 0 || mode > 2)
    return kBadInput;
  const long count = n;
  const long knot_count = count + p + 1;
  if (given && (!params || !knots || !usable_knots(knots, knot_count) || !ordered_parameters(params, count)))
    return kBadInput;

  zv::KernelBlock<zv_nurbs_3d> record(1);
  if (!record.ok()) return kNoMemory;
  const zv_pnt_3d first = points[0];
  const zv_pnt_3d last = points[count - 1];
  const double gap = (first.x - last.x) * (first.x - last.x) + (first.y - last.y) * (first.y - last.y) +
                     (first.z - last.z) * (first.z - last.z);
  const bool planar = mode == 0 || (mode == 2 && all_flat(points, count));
  const int dim = planar ? 2 : 3;

  zv::KernelBlock<double> knot_array(static_cast<std::size_t>(knot_count));
  if (!knot_array.ok()) return kNoMemory;
  zv::KernelBlock<double> own_u;
  const double *u = params;
  if (given) {
    std::copy(knots, knots + knot_count, knot_array.get());
  } else {
    own_u = zv::KernelBlock<double>(static_cast<std::size_t>(count));
    if (!own_u.ok()) return kNoMemory;
    if (!chord_length_parameters(points, count, !planar, own_u.get())) return kNoSolution;
    averaged_knots(own_u.get(), count, p, knot_array.get());
    u = own_u.get();
  }

  zv::KernelBlock<double> ctrl;
  if (points_are_control_points(knot_array.get(), u, count, p)) {
    // Degree 1 at its own parameters: the curve is the polyline itself.
    ctrl = zv::KernelBlock<double>(static_cast<std::size_t>(count) * dim);
    if (!ctrl.ok()) return kNoMemory;
    for (long i = 0; i < count; ++i) {
      for (int c = 0; c < dim; ++c) ctrl[i * dim + c] = coordinate(points[i], c);
    }
  } else {
    ctrl = zv::KernelBlock<double>(static_cast<std::size_t>(count) * dim);
    if (!ctrl.ok()) return kNoMemory;
    const int16_t solved = solve_control_points({points, count, p, dim}, knot_array.get(), u, ctrl.get());
    if (solved != kBuilt) return solved;
  }

  zv_nurbs_3d *out = record.get();
  out->last_ctrl = static_cast<int16_t>(n - 1);
  out->last_knot = static_cast<int16_t>(n + p);
  out->degree = p;
  out->plain = 1;
  out->open_ends = gap > kClosedGap ? 1 : 0;
  out->is_line = p == 1 && n == 2 ? 1 : 0;
  out->planar = planar ? 1 : 0;
  out->dim = static_cast<int16_t>(dim);
  out->ctrl_pts = ctrl.release();
  out->knots = knot_array.release();
  *result = record.release();
  return kBuilt;
}
