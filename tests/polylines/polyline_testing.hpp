// Helpers shared by the direct polyline tests: seeded random polygons and
// the refused-memory sweep every polyline function must survive.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "zv_testing.hpp"

namespace polytest {

// n points with coordinates in [-10, 10], reproducible from the seed.
inline std::vector<zv_pnt_3d> random_points(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> u(-10.0, 10.0);
  std::vector<zv_pnt_3d> pts(n);
  for (auto &p : pts) p = {u(rng), u(rng), u(rng)};
  return pts;
}

// Runs call(out, &count) into a fresh list with the kernel refusing every
// allocation after k = 0, 1, 2, ... until the call succeeds. Each refused
// run must report zv_memerr(name) once, return -1 and count exactly the
// vertices that reached the list (they stay appended). Returns the count
// of the successful run.
template <class Call>
int16_t sweep_refusals(zvtest::Reports &reports, const char *name, Call call) {
  for (long k = 0;; ++k) {
    ll_list *out = ll_create_list();
    reports.memerrs.clear();
    int16_t count = -7;
    zv_fail_alloc_after(k);
    const int16_t rc = call(out, &count);
    zv_fail_alloc_after(-1);
    const long held = ll_list_length(out);
    ll_purge_list(out);
    if (rc == 0) {
      EXPECT_TRUE(reports.memerrs.empty()) << k;
      EXPECT_EQ(count, held);
      return count;
    }
    EXPECT_EQ(rc, -1) << k;
    EXPECT_EQ(reports.memerrs, std::vector<std::string>{name}) << k;
    EXPECT_EQ(count, held) << k;
    if (rc != -1 || k > 10000) return -1;
  }
}

}  // namespace polytest
