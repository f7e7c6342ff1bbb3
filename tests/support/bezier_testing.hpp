// Test helpers for Bezier pieces: curve records released on scope exit and
// an independent evaluation of a (rational) Bezier polygon by its Bernstein
// sum, a path that shares nothing with de Casteljau's triangle.
#pragma once

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "zv_testing.hpp"

namespace zvtest {

struct RecordDeleter {
  void operator()(zv_curve *c) const { zv_purge_curve(c); }
};
using Record = std::unique_ptr<zv_curve, RecordDeleter>;

// The rational Bezier curve of the polygon with weights w at s (any s):
// sum of B(i, p)(s) w(i) P(i) over sum of B(i, p)(s) w(i).
inline zv_pnt_3d bernstein_point(const std::vector<zv_pnt_3d> &P, const std::vector<double> &w, double s) {
  const int p = static_cast<int>(P.size()) - 1;
  double x = 0, y = 0, z = 0, sum = 0, binomial = 1;
  for (int i = 0; i <= p; ++i) {
    const double b = binomial * std::pow(s, i) * std::pow(1.0 - s, p - i) * w[i];
    x += b * P[i].x;
    y += b * P[i].y;
    z += b * P[i].z;
    sum += b;
    binomial = binomial * (p - i) / (i + 1);
  }
  return {x / sum, y / sum, z / sum};
}

// Largest coordinate difference of two points.
inline double distance(const zv_pnt_3d &a, const zv_pnt_3d &b) {
  return std::max({std::fabs(a.x - b.x), std::fabs(a.y - b.y), std::fabs(a.z - b.z)});
}

// The positions of a list's vertices, in list order.
inline std::vector<zv_pnt_3d> positions(const ll_list *list) {
  std::vector<zv_pnt_3d> out;
  for (const Vertex &v : vertices(list)) out.push_back({v.x, v.y, v.z});
  return out;
}

// The values of a list of real numbers, in list order.
inline std::vector<double> reals(const ll_list *list) {
  std::vector<double> out;
  for (const zv_rnumber &r : items<zv_rnumber>(list)) out.push_back(r.value);
  return out;
}

}  // namespace zvtest
