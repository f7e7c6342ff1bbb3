// Helpers shared by the direct polyline tests (unit and peer): seeded
// random polygons, the Bernstein sum, running a polyline function, and the
// refused-memory sweep every polyline function must survive.
#pragma once

#include <cmath>
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

// The Bezier curve over all of p at t, by the Bernstein sum term by term in
// long double: independent of the library's factored Horner forms.
inline zv_pnt_3d bernstein(const std::vector<zv_pnt_3d> &p, long double t) {
  const int d = static_cast<int>(p.size()) - 1;
  long double x = 0, y = 0, z = 0, binom = 1;
  for (int k = 0; k <= d; ++k) {
    const long double b = binom * std::pow(1 - t, d - k) * std::pow(t, k);
    x += b * p[k].x;
    y += b * p[k].y;
    z += b * p[k].z;
    binom = binom * (d - k) / (k + 1);
  }
  return {double(x), double(y), double(z)};
}

// What a polyline function gave: its result, its count and the vertices
// it appended to a fresh list.
struct Polyline {
  int16_t rc = 0;
  int16_t count = 0;
  std::vector<zvtest::Vertex> vertices;
};

// Calls call(ctrl, &count, out) on a new polygon at p and a new output
// list, with count set to count_in first; releases both afterwards.
template <class Call>
Polyline run_on(const std::vector<zv_pnt_3d> &p, int16_t count_in, Call call) {
  ll_list *ctrl = zvtest::make_polygon(p);
  ll_list *out = ll_create_list();
  Polyline r;
  r.count = count_in;
  r.rc = call(ctrl, &r.count, out);
  r.vertices = zvtest::vertices(out);
  ll_purge_list(out);
  ll_purge_list(ctrl);
  return r;
}

// Vertices numbered 0, 1, 2, ... and as many as the count says.
inline void expect_numbered(const Polyline &r) {
  ASSERT_EQ(r.count, static_cast<int16_t>(r.vertices.size()));
  for (size_t i = 0; i < r.vertices.size(); ++i) EXPECT_EQ(r.vertices[i].index, static_cast<int>(i));
}

inline void expect_at(const zvtest::Vertex &v, const zv_pnt_3d &p, double tol) {
  EXPECT_NEAR(v.x, p.x, tol);
  EXPECT_NEAR(v.y, p.y, tol);
  EXPECT_NEAR(v.z, p.z, tol);
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
