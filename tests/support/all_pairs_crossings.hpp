// The crossing points of two polylines by the plain all-pairs walk, written
// straight from the rule zv_intcurve_3d follows: segment i of A outer,
// segment j of B inner, every pair handed to zv_intlinespace_ls, a meeting
// point kept unless it agrees in x, y and z with the point kept just before
// it within the service's tolerance: 1e-7, or 16 ulps of the two points'
// largest coordinate far out. Tests and benchmarks hold the library's pruned
// scan to it.
#pragma once

#include <rivezi3z/rivezi3z.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

namespace zvtest {

inline std::vector<zv_pnt_3d> all_pairs_crossings(const std::vector<zv_pnt_3d> &a, const std::vector<zv_pnt_3d> &b) {
  std::vector<zv_pnt_3d> kept;
  for (size_t i = 0; i + 1 < a.size(); ++i)
    for (size_t j = 0; j + 1 < b.size(); ++j) {
      zv_pnt_3d x;
      if (!zv_intlinespace_ls(&a[i], &b[j], &x)) continue;
      if (!kept.empty()) {
        const zv_pnt_3d &last = kept.back();
        const double tol = std::max(1e-7, 16 * DBL_EPSILON * std::max({std::fabs(x.x), std::fabs(x.y), std::fabs(x.z),
                                                                        std::fabs(last.x), std::fabs(last.y), std::fabs(last.z)}));
        if (std::fabs(x.x - last.x) <= tol && std::fabs(x.y - last.y) <= tol && std::fabs(x.z - last.z) <= tol) continue;
      }
      kept.push_back(x);
    }
  return kept;
}

}  // namespace zvtest
