// The crossings of two polylines by the plain all-pairs walk zv_intcurve_3d's pruned scan is held to: segment i of
// A outer, j of B inner, each pair to zv_intlinespace_ls, a point kept unless it agrees in x, y and z with the one
// kept just before within the service's tolerance (1e-7, or 16 ulps of the larger coordinate far out).
#pragma once

#include <rivezi3z/rivezi3z.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

namespace zvtest {

inline std::vector<zv_pnt_3d> all_pairs_crossings(const std::vector<zv_pnt_3d> &a, const std::vector<zv_pnt_3d> &b) {
  std::vector<zv_pnt_3d> kept;
  const auto reach = [](const zv_pnt_3d &p) { return std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)}); };
  for (size_t i = 0; i + 1 < a.size(); ++i)
    for (size_t j = 0; j + 1 < b.size(); ++j) {
      zv_pnt_3d x;
      if (!zv_intlinespace_ls(&a[i], &b[j], &x)) continue;
      const zv_pnt_3d last = kept.empty() ? x : kept.back();
      const double tol = std::max(1e-7, 16 * DBL_EPSILON * std::max(reach(x), reach(last)));
      const auto near = [tol](double u, double v) { return std::fabs(u - v) <= tol; };
      if (kept.empty() || !(near(x.x, last.x) && near(x.y, last.y) && near(x.z, last.z))) kept.push_back(x);
    }
  return kept;
}

}  // namespace zvtest
