// The crossing points of two polylines by the plain all-pairs walk, written
// straight from the rule zv_intcurve_3d follows: segment i of A outer,
// segment j of B inner, every pair handed to zv_intlinespace_ls, a meeting
// point kept unless it agrees within 1e-7 in x, y and z with the point kept
// just before it. Tests and benchmarks hold the library's pruned scan to it.
#pragma once

#include <rivezi3z/rivezi3z.h>

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
        if (std::fabs(x.x - last.x) <= 1e-7 && std::fabs(x.y - last.y) <= 1e-7 && std::fabs(x.z - last.z) <= 1e-7)
          continue;
      }
      kept.push_back(x);
    }
  return kept;
}

}  // namespace zvtest
