// Direct polylines: the factorial, the Bezier sampler's 30-point cap, short
// polygons and single samples, the list form against the array form, the
// B-spline request rounding, the step tables, joins, the Catmull-Rom
// interpolation and the two-point copies. Sample positions against the
// Bernstein sum, SISL and Open CASCADE are in tests/peer.
#include <cmath>
#include <limits>

#include "spline_records.hpp"

namespace {

using zvtest::random_points;
using Points = std::vector<zv_pnt_3d>;

class Polylines : public zvtest::KernelTest {};

Points sample_array(const Points &p, int16_t m, int16_t n) {
  Points out(std::max<int>(n, 0) + 3, {-99, -99, -99});
  EXPECT_EQ(zv_beziercurve3d(p.data(), m, n, out.data()), 0);
  return out;
}

// What a polyline function appended to a fresh list from a polygon at p (index of point 1 set to -12), with the
// count it gave.
struct Drawn {
  int16_t rc, count;
  Points at;
  std::vector<int> index;
};
template <class Call>
Drawn run(const Points &p, int16_t count, Call call) {
  ll_list *ctrl = zvtest::make_polygon(p), *out = ll_create_list();
  static_cast<zv_poly_3d *>(ctrl->head->next->data)->index = -12;
  Drawn r{0, count, {}, {}};
  r.rc = call(ctrl, &r.count, out);
  r.at = zvtest::positions(out), r.index = zvtest::indices(out);
  ll_purge_list(out), ll_purge_list(ctrl);
  return r;
}
Drawn quadratic(const Points &p, int16_t mode, int16_t n = 0) {
  const int16_t m = n ? n : int16_t(p.size());
  return run(p, -7, [&](ll_list *c, int16_t *k, ll_list *o) { return zv_quad_bspline_3d(m, c, mode, k, o); });
}
Drawn catrom(const Points &p, int16_t mode, int16_t n = 0, double s = 0.5) {
  const int16_t m = n ? n : int16_t(p.size());
  return run(p, -7, [&](ll_list *c, int16_t *k, ll_list *o) { return zv_catrom_curve_3d(m, c, mode, s, k, o); });
}

TEST_F(Polylines, FactorialTableProductAndLimits) {
  EXPECT_TRUE(zv_bez_factorial3(0) == 1.0 && zv_bez_factorial3(13) == 6227020800.0);
  for (int16_t n = 14; n <= 171; ++n) EXPECT_EQ(zv_bez_factorial3(n), n * zv_bez_factorial3(n - 1)) << n;
  EXPECT_TRUE(std::isfinite(zv_bez_factorial3(170)));
  EXPECT_EQ(zv_bez_factorial3(200), std::numeric_limits<double>::infinity());
}

TEST_F(Polylines, BezierArrayFormCapShortPolygonsAndOneSample) {
  Points p = random_points(40, 8);
  for (int k = 30; k < 40; ++k) p[k] = {NAN, NAN, NAN};  // only thirty take part
  const Points out = sample_array(p, 40, 20);
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(std::isfinite(out[i].x + out[i].y + out[i].z)) << i;
  EXPECT_LE(zvtest::distance(out[19], p[29]), 1e-12);
  EXPECT_EQ(out[20].x, -99);  // nothing past n samples
  for (int16_t m : {2, 1, 0, -4}) {  // below 3 points the points are copied, whatever n
    const Points copied = sample_array(p, m, 17);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(copied[k].x, k < m ? p[k].x : -99) << m;
  }
  EXPECT_EQ(zvtest::distance(sample_array(p, 6, 1)[0], p[0]), 0.0);  // regression: one sample stepped by 1/0
}

// The list form gives the array form's samples bit for bit, numbered from 0, from the first min(m, 30, held)
// points only (regression: a stated count above what the list holds walked from its far end and read outside the
// coefficient table); below three it copies whole records. Rows: points held, count stated, points used.
TEST_F(Polylines, BezierListFormUsesOnlyPointsTheListHolds) {
  const struct { int held; int16_t stated; int used; } cases[] = {
      {9, 9, 9}, {5, 20, 5}, {40, 40, 30}, {40, 12, 12}, {2, 9, 2}};
  for (const auto &c : cases) {
    const Points p = random_points(c.held, 14 + c.held);
    ll_list *polygon = zvtest::make_polygon(p), *out = ll_create_list();
    for (ll_node *n = polygon->head; n; n = n->next) static_cast<zv_poly_3d *>(n->data)->index = 40;
    ASSERT_EQ(zv_bezier_curve_3d(polygon, c.stated, 25, out), 0);
    const Points arr = sample_array(p, static_cast<int16_t>(c.used), 25), got = zvtest::positions(out);
    ASSERT_EQ(got.size(), c.used < 3 ? size_t(c.used) : 25u) << c.held;
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(std::memcmp(&got[i], &arr[i], sizeof got[i]), 0) << i;
    EXPECT_EQ(zvtest::indices(out)[1], c.used < 3 ? 40 : 1);
    ll_node *last = polygon->head;
    for (int k = 1; k < c.used; ++k) last = last->next;
    EXPECT_TRUE(c.used < 3 || polygon->current == last);  // the last walk ended on the last point that took part
    ll_purge_list(out), ll_purge_list(polygon);
  }
}

// The cubic request rises to a multiple of n - 2, spread over n - 3 segments (requests at the int16 edges are in
// the conics' count table). Rows: points, request, vertices.
TEST_F(Polylines, CubicBSplineRequestRoundsUp) {
  const struct { int16_t n, wanted, vertices; } cases[] = {{4, 5, 7}, {5, 10, 13}, {6, 10, 13}, {6, 1, 4}};
  for (const auto &c : cases) {
    const auto call = [&](ll_list *p, int16_t *w, ll_list *o) { return zv_bspline_3d(c.n, p, w, o); };
    const Drawn r = run(random_points(c.n, 1), c.wanted, call);
    EXPECT_TRUE(r.count == c.vertices && r.index.size() == size_t(c.vertices) && r.index.back() == c.vertices - 1)
        << c.n << " " << c.wanted;
  }
}

TEST_F(Polylines, StepTablesJoinsInterpolationAndTwoPointCopies) {
  const Points p = random_points(5, 6);
  const int quad[] = {101, 51, 26, 21, 11, 6, 3}, cr[] = {100, 50, 25, 20, 10, 5, 2};  // steps of modes 0 .. 6
  for (int16_t mode = -2; mode <= 9; ++mode) {
    const bool listed = mode >= 0 && mode <= 6;
    EXPECT_EQ(quadratic(p, mode).count, 3 * (listed ? quad[mode] : 21)) << mode;
    EXPECT_EQ(catrom(p, mode).count, 2 * (listed ? cr[mode] : 20) + 1) << mode;
  }
  // The quadratic appends both ends of every segment: each join twice, exactly.
  const Drawn q = quadratic(p, 6);
  for (int j = 1; j < 3; ++j) EXPECT_EQ(std::memcmp(&q.at[3 * j - 1], &q.at[3 * j], sizeof q.at[0]), 0) << j;
  // Catmull-Rom passes through P1 .. P(n-2) exactly, whatever the tension.
  const Points nine = random_points(9, 2);
  for (double s : {0.5, 0.0, 1.3}) {
    const Drawn r = catrom(nine, 3, 9, s);
    ASSERT_EQ(r.count, 6 * 20 + 1);
    for (int j = 0; j <= 6; ++j) EXPECT_EQ(zvtest::distance(r.at[j * 20], nine[j + 1]), 0.0) << s << " " << j;
  }
  // n = 2 appends whole copies of the two records, indexes included.
  for (const Drawn &r : {quadratic(random_points(3, 10), 4, 2), catrom(random_points(3, 10), 4, 2)}) {
    EXPECT_TRUE(r.rc == 0 && r.count == 2 && r.index == (std::vector<int>{0, -12}));
    EXPECT_EQ(zvtest::distance(r.at[1], random_points(3, 10)[1]), 0.0);
  }
}

}  // namespace
