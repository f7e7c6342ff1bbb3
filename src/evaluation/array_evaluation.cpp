// Point and derivative evaluation of array-form B-spline and NURBS curves
// (zv_nurbs_3d) from the non-zero basis functions of one knot span.
#include <rivezi3z/rivezi3z.h>

#include "frame/conventions.hpp"

namespace {

constexpr int kMaxOrder = zv::kMaxArrayDegree + 1;
constexpr int kMaxDim = 4;
constexpr int kMaxRows = 3;  // values, first and second derivatives

using namespace zv::code::array;

// The fields of a record copied out of the packed struct, once checked.
struct ArrayCurve {
  int n = 0;  // index of the last control point
  int m = 0;  // index of the last knot
  int p = 0;
  bool rational = false;
  bool planar = false;
  int dim = 0;
  const double *ctrl = nullptr;
  const double *knots = nullptr;

  // Spatial coordinates per control point: all but the weight.
  int coordinates() const { return rational ? dim - 1 : dim; }
  // Whether results carry a z from the control points.
  bool has_z() const { return !planar && coordinates() == 3; }
};

// Reads a record, refusing one the fixed tables cannot hold or whose
// counts do not agree (the span search and the sums would index outside
// the arrays otherwise).
bool read_record(const zv_nurbs_3d *record, ArrayCurve &c) {
  if (!record) return false;
  c.n = record->last_ctrl;
  c.m = record->last_knot;
  c.p = record->degree;
  c.rational = record->plain == 0;
  c.planar = record->planar != 0;
  c.dim = record->dim;
  c.ctrl = record->ctrl_pts;
  c.knots = record->knots;
  const int min_dim = c.rational ? 3 : 2;
  return c.p >= 1 && c.p <= zv::kMaxArrayDegree && c.dim >= min_dim && c.dim <= min_dim + 1 && c.ctrl && c.knots &&
         c.n >= c.p && c.m == c.n + c.p + 1;
}

// Basis functions of one span and their derivatives, with the weighted
// sums A(k, i) of the control points they weigh.
struct SpanSums {
  double sum[kMaxRows][kMaxDim] = {};

  // Fills rows 0 .. orders of the basis table at t in span s and forms
  // A(k, i) = sum over j of N(k, j) * coordinate i of control point s - p + j.
  SpanSums(const ArrayCurve &c, int s, double t, int orders) {
    double table[kMaxRows * kMaxOrder];
    zv_basisfunctions(c.knots, static_cast<int16_t>(s), static_cast<int16_t>(c.p), t,
                      static_cast<int16_t>(orders), table);
    const double *first = c.ctrl + static_cast<long>(s - c.p) * c.dim;
    for (int k = 0; k <= orders; ++k) {
      const double *row = table + k * (c.p + 1);
      for (int j = 0; j <= c.p; ++j) {
        const double *point = first + j * c.dim;
        for (int i = 0; i < c.dim; ++i) sum[k][i] += row[j] * point[i];
      }
    }
  }
};

// Writes up to three coordinates into a point-shaped result; z is 0 when
// the curve has none.
void put(const ArrayCurve &c, const double *v, zv_pnt_3d *out) {
  zv_set_pnt_3d(v[0], v[1], c.has_z() ? v[2] : 0.0, out);
}

// The continuity status at t: counts t's multiplicity among the knots
// from the span found on side e (down from s on the right, up from s + 1 on
// the left), within the knot array.
int16_t continuity_status(const ArrayCurve &c, int s, double t, int e, bool with_second) {
  if (t == c.knots[0] || t == c.knots[c.m]) return kContinuous;
  int k = 0;
  for (int at = e == -1 ? s + 1 : s; at >= 0 && at <= c.m && c.knots[at] == t; at -= e) ++k;
  if (k == 0) return kContinuous;
  const int gap = c.p - k;
  if (gap <= 0) return kFirstOneSided;
  if (with_second && gap < 2) return kSecondOneSided;
  return kContinuous;
}

}  // namespace

extern "C" ZV_API int16_t zv_eval_pointoncurve_3d(const zv_nurbs_3d *curve, double t, zv_pnt_3d *result) {
  ArrayCurve c;
  if (!result || !read_record(curve, c)) return kUnusable;
  double v[kMaxDim] = {};
  // A clamped end (p + 1 equal knots) is its end control point exactly, so
  // it is taken without a span search. An unclamped end knot lies outside
  // the domain and is evaluated in the end span like any t there: the end
  // control point would be a point off the curve that the basis functions
  // (zv_eval_derivsoncurve_3d, the fit's rows) describe.
  const double *end = t == c.knots[0] && c.knots[c.p] == t                  ? c.ctrl
                      : t == c.knots[c.m] && c.knots[c.m - c.p] == t ? c.ctrl + static_cast<long>(c.n) * c.dim
                                                                          : nullptr;
  if (end) {
    for (int i = 0; i < c.dim; ++i) v[i] = end[i];
  } else {
    const int s = zv_findknotspan(c.knots, static_cast<int16_t>(c.m), static_cast<int16_t>(c.p + 1), t, 1);
    const SpanSums a(c, s, t, 0);
    for (int i = 0; i < c.dim; ++i) v[i] = a.sum[0][i];
  }
  if (c.rational) {
    const double w = v[c.dim - 1];
    for (int i = 0; i < c.dim - 1; ++i) v[i] /= w;
  }
  put(c, v, result);
  return zv::code::kDone;
}

extern "C" ZV_API int16_t zv_eval_derivsoncurve_3d(const zv_nurbs_3d *curve, double t, int16_t side,
                                                   int16_t with_second, zv_pnt_3d *point, zv_pnt_3d *d1,
                                                   zv_pnt_3d *d2, int16_t *status) {
  ArrayCurve c;
  const bool second = with_second != 0;  // any other value would overrun the basis table
  if (!point || !d1 || !status || (second && !d2) || !read_record(curve, c)) return kUnusable;
  const int e = side == -1 ? -1 : 1;
  const int s = zv_findknotspan(c.knots, static_cast<int16_t>(c.m), static_cast<int16_t>(c.p + 1), t,
                                static_cast<int16_t>(e));
  const int orders = second ? 2 : 1;
  const SpanSums a(c, s, t, orders);

  double q[kMaxDim] = {};
  double q1[kMaxDim] = {};
  double q2[kMaxDim] = {};
  const int coords = c.coordinates();
  if (c.rational) {
    // The quotient rule on Q = A(0) / w0, in the order of its terms.
    const double w0 = a.sum[0][c.dim - 1];
    const double w1 = a.sum[1][c.dim - 1];
    const double w2 = a.sum[2][c.dim - 1];
    for (int i = 0; i < coords; ++i) {
      q[i] = a.sum[0][i] / w0;
      q1[i] = (a.sum[1][i] - w1 * q[i]) / w0;
      q2[i] = ((a.sum[2][i] - w2 * q[i]) - (2.0 * w1) * q1[i]) / w0;
    }
  } else {
    for (int i = 0; i < coords; ++i) {
      q[i] = a.sum[0][i];
      q1[i] = a.sum[1][i];
      q2[i] = a.sum[2][i];
    }
  }
  put(c, q, point);
  put(c, q1, d1);
  if (second) put(c, q2, d2);
  *status = continuity_status(c, s, t, e, second);
  return zv::code::kDone;
}
