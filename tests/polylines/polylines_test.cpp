// Direct polylines: the factorial, both Bezier forms, counts and steps, joins, Catmull-Rom interpolation and the
// two-point copies. Positions against SISL and Open CASCADE are in tests/peer.
#include <cmath>

#include "spline_records.hpp"

namespace {

using zvtest::random_points;
using Points = std::vector<zv_pnt_3d>;

class Polylines : public zvtest::KernelTest {};

// A call over a new polygon at p (point 1 numbered -12) with its count argument at count: the result, the count
// written back, the positions and numbers appended.
struct Drawn {
  int16_t rc, count;
  Points at;
  std::vector<int> index;
};
template <class Call>
Drawn run(const Points &p, int16_t count, Call call) {
  rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(p), out;
  std::next(ctrl.begin())->index = -12;
  const int16_t rc = call(ctrl.get(), &count, out.get());
  return {rc, count, zvtest::positions(out.get()), zvtest::indices(out.get())};
}
Drawn quadratic(const Points &p, int16_t mode, int16_t n) {
  return run(p, -7, [&](ll_list *c, int16_t *k, ll_list *o) { return zv_quad_bspline_3d(n, c, mode, k, o); });
}
Drawn catrom(const Points &p, int16_t mode, int16_t n, double s = 0.5) {
  return run(p, -7, [&](ll_list *c, int16_t *k, ll_list *o) { return zv_catrom_curve_3d(n, c, mode, s, k, o); });
}

TEST_F(Polylines, FactorialTableProductAndLimits) {
  EXPECT_TRUE(zv_bez_factorial3(0) == 1.0 && zv_bez_factorial3(13) == 6227020800.0);
  for (int16_t n = 14; n <= 171; ++n) EXPECT_EQ(zv_bez_factorial3(n), n * zv_bez_factorial3(n - 1)) << n;
  EXPECT_TRUE(std::isfinite(zv_bez_factorial3(170)) && std::isinf(zv_bez_factorial3(200)));
}

// Both forms use the first min(m, 30, held) points (regression: a count above what the list held read past it): n
// samples from P0 exactly to the last point used (regression: one sample stepped by 1/0), the list form's those of
// the array form bit for bit, numbered from 0, the cursor on the last point read; below three points whole records
// are copied. Rows: points held (NaN past 30), count stated, samples, points used.
TEST_F(Polylines, BezierFormsUseOnlyThePointsTakingPart) {
  const struct { int held; int16_t stated, n; int used; } rows[] = {
      {9, 9, 25, 9}, {5, 20, 25, 5}, {40, 40, 20, 30}, {40, 12, 25, 12}, {3, 3, 25, 3}, {2, 9, 25, 2}, {6, 6, 1, 6}};
  for (const auto &r : rows) {
    Points p = random_points(r.held, 14 + r.held), arr(r.n + 3, {-99, -99, -99});
    for (int k = 30; k < r.held; ++k) p[k] = {NAN, NAN, NAN};
    rivezi3z::List<zv_poly_3d> polygon = rivezi3z::polygon(p), out;
    for (zv_poly_3d &v : polygon) v.index = 40;
    ASSERT_EQ(zv_bezier_curve_3d(polygon.get(), r.stated, r.n, out.get()), 0);
    ASSERT_EQ(zv_beziercurve3d(p.data(), std::min<int16_t>(r.stated, r.held), r.n, arr.data()), 0);
    const Points got = zvtest::positions(out.get());
    const size_t made = r.used < 3 ? r.used : r.n;
    ASSERT_EQ(got.size(), made) << r.held;
    for (size_t i = 0; i < made; ++i) EXPECT_EQ(std::memcmp(&got[i], &arr[i], sizeof got[i]), 0) << i;
    EXPECT_TRUE(arr[made].x == -99 && zvtest::distance(got[0], p[0]) == 0.0) << r.held;
    EXPECT_TRUE(r.n == 1 || zvtest::distance(got.back(), p[r.used - 1]) <= 1e-12) << r.held;
    EXPECT_EQ(zvtest::indices(out.get()).back(), r.used < 3 ? 40 : r.n - 1);
    ll_node *last = polygon.get()->head;
    for (int k = 1; k < r.used && r.n > 1; ++k) last = last->next;
    EXPECT_TRUE(r.used < 3 || polygon.get()->current == last) << r.held;
  }
}

// The cubic request rises to a multiple of n - 2 over n - 3 segments (int16 edges: the conics' count table); the
// quadratic and Catmull-Rom steps follow the mode's table entry, 0.05 outside 0 .. 6.
TEST_F(Polylines, CountsStepsJoinsInterpolationAndTwoPointCopies) {
  const struct { int16_t n, wanted, vertices; } cubic[] = {{4, 5, 7}, {5, 10, 13}, {6, 10, 13}, {6, 1, 4}};
  for (const auto &c : cubic) {
    const Drawn r = run(random_points(c.n, 1), c.wanted, [&](ll_list *p, int16_t *w, ll_list *o) {
      return zv_bspline_3d(c.n, p, w, o);
    });
    EXPECT_TRUE(r.count == c.vertices && r.index.size() == size_t(c.vertices) && r.index.back() == c.vertices - 1)
        << c.n << " " << c.wanted;
  }
  const Points p = random_points(5, 6), three = random_points(3, 10), nine = random_points(9, 2);
  const int quad[] = {101, 51, 26, 21, 11, 6, 3}, cr[] = {100, 50, 25, 20, 10, 5, 2};  // steps of modes 0 .. 6
  for (int16_t mode = -2; mode <= 9; ++mode) {
    const bool listed = mode >= 0 && mode <= 6;
    EXPECT_EQ(quadratic(p, mode, 5).count, 3 * (listed ? quad[mode] : 21)) << mode;
    EXPECT_EQ(catrom(p, mode, 5).count, 2 * (listed ? cr[mode] : 20) + 1) << mode;
  }
  // The quadratic appends both ends of every segment: each join twice, exactly.
  const Drawn q = quadratic(p, 6, 5);
  for (int j = 1; j < 3; ++j) EXPECT_EQ(std::memcmp(&q.at[3 * j - 1], &q.at[3 * j], sizeof q.at[0]), 0) << j;
  // Catmull-Rom passes through P1 .. P(n-2) exactly, whatever the tension.
  for (double s : {0.5, 0.0, 1.3}) {
    const Drawn r = catrom(nine, 3, 9, s);
    ASSERT_EQ(r.count, 6 * 20 + 1);
    for (int j = 0; j <= 6; ++j) EXPECT_EQ(zvtest::distance(r.at[j * 20], nine[j + 1]), 0.0) << s << " " << j;
  }
  // n = 2 appends whole copies of the two records, indexes included.
  for (const Drawn &r : {quadratic(three, 4, 2), catrom(three, 4, 2)})
    EXPECT_TRUE(r.rc == 0 && r.count == 2 && r.index == (std::vector<int>{0, -12})
                && zvtest::distance(r.at[1], three[1]) == 0);
}

}  // namespace
