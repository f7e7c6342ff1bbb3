// Curve test builders (random polygons and clamped splines with fixed seeds, records made from them) and
// evaluations independent of the library's passes.
#pragma once

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

#include "zv_testing.hpp"

namespace zvtest {

struct RecordDeleter {
  void operator()(zv_curve *c) const { zv_purge_curve(c); }
};
using Record = std::unique_ptr<zv_curve, RecordDeleter>;

// n points with coordinates in [-10, 10], reproducible from the seed.
inline std::vector<zv_pnt_3d> random_points(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> u(-10.0, 10.0);
  std::vector<zv_pnt_3d> pts(n);
  for (auto &p : pts) p = {u(rng), u(rng), u(rng)};
  return pts;
}

// n points along a parabola, and the numbers 0 .. n - 1 (knots that rise).
inline std::vector<zv_pnt_3d> points(int n) {
  std::vector<zv_pnt_3d> out;
  for (int i = 0; i < n; ++i) out.push_back({1.0 * i, 0.5 * i * i, 1.0});
  return out;
}
inline std::vector<double> rising(int n) {
  std::vector<double> out(n);
  std::iota(out.begin(), out.end(), 0.0);
  return out;
}

// A clamped spline of degree p: n points, the n + p + 1 knots (records store all but the outermost two), n weights.
struct Spline {
  int p = 0;
  std::vector<zv_pnt_3d> points;
  std::vector<double> knots;
  std::vector<double> weights;

  int n() const { return static_cast<int>(points.size()); }
  std::vector<double> stored_knots() const { return {knots.begin() + 1, knots.end() - 1}; }
};

// A random clamped spline on [0, 1]: points in [-10, 10]^3, weights in [0.1, 10] (all 1 when not rational).
inline Spline random_spline(int n, int p, unsigned seed, bool rational = true) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> coordinate(-10.0, 10.0), unit(0.0, 1.0), weight(0.1, 10.0);
  Spline s{p, {}, {}, {}};
  for (int i = 0; i < n; ++i) s.points.push_back({coordinate(rng), coordinate(rng), coordinate(rng)});
  s.knots.assign(p + 1, 0.0);
  for (int i = 0; i < n - p - 1; ++i) s.knots.push_back(unit(rng));
  std::sort(s.knots.begin() + p + 1, s.knots.end());
  s.knots.insert(s.knots.end(), p + 1, 1.0);
  for (int i = 0; i < n; ++i) s.weights.push_back(rational ? weight(rng) : 1.0);
  return s;
}

// A non-uniform B-spline record of the spline (its weights ignored).
inline zv_curve *make_nub(const Spline &s, int16_t span_steps) {
  return zv_def_nubspl_curve3d(rivezi3z::polygon(s.points).get(), rivezi3z::reals(s.stored_knots()).get(),
                               static_cast<int16_t>(s.p), span_steps);
}

// A NURB record of the spline; the record owns the three attached lists.
inline zv_curve *make_nurb(const Spline &s, int16_t span_steps) {
  zv_curve *curve = zv_create_curve();
  EXPECT_EQ(zv_mk_def_nurb_curve3d(make_polygon(s.points), make_reals(s.stored_knots()), make_reals(s.weights),
                                   static_cast<int16_t>(s.p), span_steps, curve),
            0);
  return curve;
}

// The spline at t summed from the kernel's basis functions in homogeneous form, apart from the de Boor triangle.
inline zv_pnt_3d basis_point(const Spline &s, double t) {
  const int m = static_cast<int>(s.knots.size()) - 1;
  const int span = zv_findknotspan(s.knots.data(), static_cast<int16_t>(m), static_cast<int16_t>(s.p + 1), t, 1);
  std::vector<double> basis(s.p + 1);
  zv_basisfunctions(s.knots.data(), static_cast<int16_t>(span), static_cast<int16_t>(s.p), t, 0, basis.data());
  double x = 0, y = 0, z = 0, w = 0;
  for (int j = 0; j <= s.p; ++j) {
    const int i = span - s.p + j;
    const double bw = basis[j] * s.weights[i];
    x += bw * s.points[i].x, y += bw * s.points[i].y, z += bw * s.points[i].z, w += bw;
  }
  return {x / w, y / w, z / w};
}

// The (rational) Bezier curve at s by the Bernstein sum in long double.
inline zv_pnt_3d bernstein_point(const std::vector<zv_pnt_3d> &P, const std::vector<double> &w, long double s) {
  const int p = static_cast<int>(P.size()) - 1;
  long double x = 0, y = 0, z = 0, sum = 0, binomial = 1;
  for (int i = 0; i <= p; ++i) {
    const long double b = binomial * std::pow(s, i) * std::pow(1 - s, p - i) * (w.empty() ? 1.0 : w[i]);
    x += b * P[i].x, y += b * P[i].y, z += b * P[i].z, sum += b;
    binomial = binomial * (p - i) / (i + 1);
  }
  return {double(x / sum), double(y / sum), double(z / sum)};
}

// The parameters a span tessellator samples: t = left + (s * L) / S, S + 1 per span of spans first .. first +
// spans - 1 longer than 1e-7 (the NURB tessellator tests a span's length, the B-spline one its ends).
inline std::vector<double> sample_parameters(const Spline &s, int steps, int first_span, int spans,
                                             bool ends = false) {
  std::vector<double> out;
  for (int k = first_span; k < first_span + spans; ++k) {
    const double left = s.knots[k + s.p], right = s.knots[k + s.p + 1], length = right - left;
    if (ends ? !(left + 1e-7 < right) : !(length > 1e-7)) continue;
    for (int i = 0; i <= steps; ++i) out.push_back(left + (i * length) / steps);
  }
  return out;
}

// Largest coordinate magnitude of a set of points (at least 1).
inline double scale_of(const std::vector<zv_pnt_3d> &points) {
  double m = 1.0;
  for (const auto &q : points) m = std::max({m, std::fabs(q.x), std::fabs(q.y), std::fabs(q.z)});
  return m;
}

// Largest coordinate difference of two points.
inline double distance(const zv_pnt_3d &a, const zv_pnt_3d &b) {
  return std::max({std::fabs(a.x - b.x), std::fabs(a.y - b.y), std::fabs(a.z - b.z)});
}

// A list's vertex positions, real numbers and vertex numbers, in list order.
inline std::vector<zv_pnt_3d> positions(const ll_list *list) {
  std::vector<zv_pnt_3d> out;
  for (const Vertex &v : vertices(list)) out.push_back({v.x, v.y, v.z});
  return out;
}
inline std::vector<double> reals(const ll_list *list) {
  std::vector<double> out;
  for (const zv_rnumber &r : items<zv_rnumber>(list)) out.push_back(r.value);
  return out;
}
inline std::vector<int> indices(const ll_list *list) {
  std::vector<int> out;
  for (const Vertex &v : vertices(list)) out.push_back(v.index);
  return out;
}

}  // namespace zvtest
