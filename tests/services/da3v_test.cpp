// The geometry services against closed forms: directions, polar points, regular polygons, segments meeting.
#include "zv_testing.hpp"

#include <cfloat>
#include <cmath>
#include <numbers>
#include <tuple>

namespace {

using Services = zvtest::KernelTest;
using Dir = std::vector<double>;
struct Seg {
  zv_pnt_3d p[2];
};
constexpr zv_pnt_3d kApart{-123.0, 456.0, -789.0};  // what out keeps when the segments do not meet

// A vector record whose aux words hold garbage, as a caller's record may.
zv_vector_3d vec(double x, double y, double z) { return {7.0, -9.0, x, y, z}; }

// The direction of a produced vector, whose aux words must be cleared.
Dir dir(const zv_vector_3d &v) {
  EXPECT_TRUE(zvtest::value(v.aux0) == 0.0 && zvtest::value(v.aux1) == 0.0);
  return {v.dx, v.dy, v.dz};
}

zv_pnt_3d add(zv_pnt_3d a, zv_pnt_3d d, double k) { return {a.x + k * d.x, a.y + k * d.y, a.z + k * d.z}; }
double dist(zv_pnt_3d a, zv_pnt_3d b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }
Seg reversed(const Seg &s) { return {{s.p[1], s.p[0]}}; }
Seg lifted(const Seg &s, zv_pnt_3d d, double k) { return {{add(s.p[0], d, k), add(s.p[1], d, k)}}; }

// Where the segments meet, or kApart; the code must agree (0 leaves out untouched).
zv_pnt_3d meet(const Seg &a, const Seg &b) {
  zv_pnt_3d at = kApart;
  const int code = zv_intlinespace_ls(a.p, b.p, &at);
  EXPECT_EQ(code, dist(at, kApart) == 0.0 ? 0 : 1);
  return at;
}

// Null arguments and polygons of fewer than three corners give 1 (segments 0) and write or append nothing.
TEST_F(Services, NullAndBadArgumentsWriteNothing) {
  zv_vector_3d v = vec(1, 2, 3);
  const zv_pnt_3d c{1, 2, 3}, s[2] = {{0, 0, 0}, {1, 0, 0}};
  zv_pnt_3d out = kApart;
  ll_list *list = ll_create_list();
  int16_t count = 5;
  EXPECT_EQ((std::vector<int>{zv_unitvector(nullptr, &v), zv_unitvector(&v, nullptr), zv_normalvector3d(nullptr, &v),
                              zv_normalvector3d(&v, nullptr), zv_regpolyxyzpnts(&c, 1, 2, &count, 0, 0, list),
                              zv_regpolyxyzpnts(&c, 1, 0, &count, 0, 0, list),
                              zv_regpolyxyzpnts(&c, 1, INT16_MIN, &count, 0, 0, list),
                              zv_regpolyxyzpnts(nullptr, 1, 6, &count, 0, 0, list),
                              zv_regpolyxyzpnts(&c, 1, 6, nullptr, 0, 0, list),
                              zv_regpolyxyzpnts(&c, 1, 6, &count, 0, 0, nullptr)}),
            std::vector<int>(10, 1));
  EXPECT_EQ((std::vector<int>{zv_intlinespace_ls(nullptr, s, &out), zv_intlinespace_ls(s, nullptr, &out),
                              zv_intlinespace_ls(s, s, nullptr)}),
            std::vector<int>(3, 0));
  EXPECT_TRUE(zvtest::value(v.aux0) == 7.0 && count == 5 && !list->head && dist(out, kApart) == 0.0);
  zv_line_to_vector_3d({0, 0, 0}, {1, 1, 1}, nullptr);
  zv_pntangledist_3d(nullptr, 1.0, 0.0, nullptr);
  ll_purge_list(list);
}

// Each row: src, its unit vector and normal (within 1e-14) and the code of both, also in place. The normal
// turns the XY part a quarter turn left; extremes are scaled (no overflow, no underflow); an XY part at most
// 1e-7 of the length gives the fixed +x, just above it the in-plane normal; zero or non-finite gives 2 and 0.
TEST(Da3vVectors, UnitAndNormalVectors) {
  struct Row {
    zv_vector_3d src;
    Dir unit, normal;
    int code;
  };
  const double r2 = 1 / std::sqrt(2.0), r3 = 1 / std::sqrt(3.0), r5 = 1 / std::sqrt(5.0), nan = NAN, inf = INFINITY;
  std::vector<Row> rows = {{vec(1, 2, -2), {1 / 3.0, 2 / 3.0, -2 / 3.0}, {-2 * r5, r5, 0}, 0},
                           {vec(DBL_MAX, DBL_MAX, -DBL_MAX), {r3, r3, -r3}, {-r2, r2, 0}, 0},
                           {vec(2, 0, 0), {1, 0, 0}, {0, 1, 0}, 0},
                           {vec(0, 0, -1e-250), {0, 0, -1}, {1, 0, 0}, 0},
                           {vec(0, 0, DBL_MAX), {0, 0, 1}, {1, 0, 0}, 0},
                           {vec(0.9e-7, 0, 1), {0.9e-7, 0, 1}, {1, 0, 0}, 0},
                           {vec(1.1e-7, 0, 1), {1.1e-7, 0, 1}, {0, 1, 0}, 0}};
  for (double s : {1e200, 1e-200, 0x1p-1070, DBL_MAX / 4})
    rows.push_back({vec(3 * s, -4 * s, 0), {0.6, -0.8, 0}, {0.8, 0.6, 0}, 0});
  for (const zv_vector_3d &src : {vec(0, 0, 0), vec(-0.0, 0, -0.0), vec(nan, 1, 1), vec(1, 1, nan), vec(inf, 0, 0),
                                  vec(1, -inf, 2), vec(nan, inf, -inf)})
    rows.push_back({src, {0, 0, 0}, {0, 0, 0}, 2});
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const zv_vector_3d &src = rows[i].src;
    zv_vector_3d u = vec(5, 5, 5), n = u, u_here = src, n_here = src;
    EXPECT_EQ((std::vector<int>{zv_unitvector(&src, &u), zv_normalvector3d(&src, &n), zv_unitvector(&u_here, &u_here),
                                zv_normalvector3d(&n_here, &n_here)}),
              std::vector<int>(4, rows[i].code))
        << "row " << i;
    EXPECT_TRUE(!std::memcmp(&u, &u_here, sizeof u) && !std::memcmp(&n, &n_here, sizeof n)) << i;
    const Dir du = dir(u), dn = dir(n);
    for (int c = 0; c < 3; ++c)
      EXPECT_TRUE(std::fabs(du[c] - rows[i].unit[c]) <= 1e-14 && std::fabs(dn[c] - rows[i].normal[c]) <= 1e-14) << i;
    EXPECT_FALSE(rows[i].normal[0] == 0 && std::signbit(dn[0])) << i;  // +0.0, never -0.0
  }
  zv_vector_3d line = vec(0, 0, 0);
  zv_line_to_vector_3d({1.5, -2, 3}, {4, 6, -1}, &line);
  EXPECT_EQ(dir(line), (Dir{2.5, 8.0, -4.0}));
  zv_pnt_3d o{1, 2, 3};
  zv_pntangledist_3d(&o, 2.0, std::atan2(-3.0, 4.0), &o);  // 2 (0.8, -0.6) away, in place
  EXPECT_TRUE(std::fabs(o.x - 2.6) < 1e-15 && std::fabs(o.y - 0.8) < 1e-15 && o.z == 3.0);
}

// Corners on the circle, counter-clockwise by 2 pi / n, exact at quarter turns, closed bit for bit, numbered
// on from the count after earlier items; the longest polygon's numbers wrap.
TEST_F(Services, RegularPolygons) {
  const zv_pnt_3d c{-3.5, 12.25, 7};
  const double r = 2.75, ex[] = {c.x + r, c.x, c.x - r, c.x}, ey[] = {c.y, c.y + r, c.y, c.y - r};
  for (int16_t n : {3, 4, 5, 8, 12, 13, 360}) {
    ll_list *list = zvtest::make_polygon({{9, 9, 9}});
    int16_t count = 40;
    ASSERT_EQ(zv_regpolyxyzpnts(&c, r, n, &count, 0, 0, list), 0);
    const auto v = zvtest::vertices(list);
    ll_purge_list(list);
    ASSERT_TRUE(v.size() == n + 2u && count == 40 + n + 1 && v[0].x == 9.0) << n;
    EXPECT_EQ(std::memcmp(&v[1].x, &v[n + 1].x, 3 * sizeof(double)), 0);
    for (int i = 1; i <= n + 1; ++i) {
      const double dx = v[i].x - c.x, dy = v[i].y - c.y, px = v[i - 1].x - c.x, py = v[i - 1].y - c.y;
      const double turn = std::atan2(px * dy - py * dx, px * dx + py * dy);  // from the previous corner
      const int q = 4 * (i - 1) / n % 4;  // an exact quarter turn when 4 (i - 1) is a multiple of n
      EXPECT_TRUE(v[i].index == 39 + i && v[i].z == c.z && std::fabs(std::hypot(dx, dy) - r) < 1e-13 &&
                  (i == 1 || std::fabs(turn - 2 * std::numbers::pi / n) < 1e-12) &&
                  ((4 * (i - 1)) % n != 0 || (v[i].x == ex[q] && v[i].y == ey[q])))
          << n << " " << i;
    }
  }
  ll_list *list = ll_create_list();
  int16_t count = 1;
  ASSERT_EQ(zv_regpolyxyzpnts(&c, 1.0, INT16_MAX, &count, 0, 0, list), 0);
  EXPECT_TRUE(ll_list_length(list) == 32768 && count == INT16_MIN + 1 &&
              zvtest::vertices(list).back().index == INT16_MIN);
  ll_purge_list(list);
}

// Each row: seg_a, seg_b and where they meet (kApart: they do not). Skew segments meet while at most 1e-7
// apart, at the point on seg_a; overlaps give the first point of the overlap along seg_a; a zero-length
// segment acts as its point; a coordinate NaN or infinite meets nothing.
TEST(Da3vSegments, CrossingSkewEndPointsOverlapsZeroLengthsAndNonFinite) {
  const Seg a{{{0, 0, 0}, {4, 0, 0}}}, inner{{{1, 0, 0}, {3, 0, 0}}}, diag{{{0, 0, 0}, {2, 2, 2}}};
  const zv_pnt_3d x{1.5, -2.25, 3}, u{0.6, 0.8, 0}, w{0, 0, 1}, n{0.8, -0.6, 0};  // n = u x w
  const Seg xa{{add(x, u, -1), add(x, u, 2)}}, xb{{add(x, w, -1.5), add(x, w, 0.5)}};
  const zv_pnt_3d p{3.25, -1.5, 7.75}, d{0.3, -0.7, 1.1}, side{0.0, 11.0 / 7.0, 1.0};  // side is perpendicular to d
  const Seg slanted{{p, add(p, d, 4)}}, over{{add(p, d, 3), add(p, d, 1)}};
  const Seg on{{{0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}}}, off{{{0.5, 0.5, 0.6}, {0.5, 0.5, 0.6}}};
  const zv_pnt_3d no = kApart;
  std::vector<std::tuple<Seg, Seg, zv_pnt_3d>> rows = {
      {xa, xb, x}, {xb, xa, x}, {reversed(xa), xb, x}, {xa, reversed(xb), x},
      {xa, lifted(xb, n, 0.8e-7), x}, {xa, lifted(xb, n, -0.9e-7), x}, {xa, lifted(xb, n, 1.2e-7), no},
      {xa, lifted(xb, n, -1.5e-7), no}, {a, {{{5, -1, 0}, {5, 1, 0}}}, no},  // the lines cross outside
      {a, {{{1.5, 3, 0}, {1.5, 0, 0}}}, {1.5, 0, 0}},                          // a T junction
      {{{{-0.7, 1.9, 2.3}, {0.1, 0.2, 0.3}}}, {{{0.1, 0.2, 0.3}, {5.5, -1.25, 0.125}}}, {0.1, 0.2, 0.3}},
      {a, {{{0, 1, 0}, {1, 1, 0}}}, no},  // parallel
      {a, {{{5, 0, 0}, {6, 0, 0}}}, no},  // collinear, apart
      {a, {{{4 + 5e-8, 0, 0}, {6, 0, 0}}}, {4, 0, 0}},
      {a, inner, {1, 0, 0}}, {a, reversed(inner), {1, 0, 0}},
      {reversed(a), inner, {3, 0, 0}}, {reversed(a), reversed(inner), {3, 0, 0}},
      {a, {{{2, 0, 0}, {-5, 0, 0}}}, {0, 0, 0}}, {a, a, {0, 0, 0}},
      {slanted, over, add(p, d, 1)}, {slanted, lifted(over, side, 5e-8 / dist(side, {0, 0, 0})), add(p, d, 1)},
      {diag, on, on.p[0]}, {on, diag, on.p[0]}, {on, on, on.p[0]}, {on, lifted(on, {0, 0, 1}, 5e-8), on.p[0]},
      {diag, off, no}, {off, diag, no}, {on, off, no}};
  for (int k = 0; k < 36; ++k) {  // coordinate k % 12 of the four points NaN, +inf or -inf
    double c[12] = {0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0};
    c[k % 12] = std::vector<double>{NAN, HUGE_VAL, -HUGE_VAL}[k / 12];
    rows.push_back({{{{c[0], c[1], c[2]}, {c[3], c[4], c[5]}}}, {{{c[6], c[7], c[8]}, {c[9], c[10], c[11]}}}, no});
  }
  for (std::size_t i = 0; i < rows.size(); ++i)
    EXPECT_LE(dist(meet(std::get<0>(rows[i]), std::get<1>(rows[i])), std::get<2>(rows[i])), 1e-13) << "row " << i;
}

// Huge and tiny coordinates neither overflow nor underflow; far from the origin the tolerance follows the
// rounding of the coordinates: crossing segments still meet and segments 1 apart do not.
TEST(Da3vSegments, ExtremeMagnitudes) {
  const zv_pnt_3d far{1e12 + 0.3, -3e12, 2e12}, u{0.6, 0.8, 0}, w{0, 0, 1}, n{0.8, -0.6, 0};
  const Seg far_a{{add(far, u, -1000), add(far, u, 3000)}}, far_b{{add(far, w, -2000), add(far, w, 500)}};
  EXPECT_LE(dist(meet(far_a, far_b), far), 1e-2);
  EXPECT_EQ(dist(meet(far_a, lifted(far_b, n, 1.0)), kApart), 0.0);
  for (double big : {1e300, DBL_MAX}) {
    const Seg a{{{-big, 0, 0}, {big, 0, 0}}};
    const zv_pnt_3d at = meet(a, Seg{{{0, -big, 0}, {0, big, 0}}});
    EXPECT_TRUE(std::fabs(at.x) <= 4 * DBL_EPSILON * big && zvtest::value(at.y) == 0.0) << big;
    EXPECT_EQ(dist(meet(a, Seg{{{0, -big, big}, {0, big, big}}}), kApart), 0.0) << big;
  }
  const Seg tiny{{{-1e-200, 0, 0}, {1e-200, 0, 0}}}, across{{{0, -1e-200, 1e-150}, {0, 1e-200, 1e-150}}};
  const Seg sub{{{0x1p-1074, 0, 0}, {0x1p-1073, 0, 0}}};
  EXPECT_LE(dist(meet(tiny, across), {0, 0, 0}), 1e-200);
  EXPECT_TRUE(dist(meet(sub, sub), kApart) > 0 && dist(meet(sub, across), kApart) > 0);
}

}  // namespace
