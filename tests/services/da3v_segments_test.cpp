// Segment meeting test of the geometry services: zv_intlinespace_ls.
#include "zv_testing.hpp"

#include <cfloat>
#include <cmath>
#include <random>
#include <tuple>

namespace {

struct Seg {
  zv_pnt_3d p[2];
};
constexpr zv_pnt_3d kUntouched{-123.0, 456.0, -789.0};

zv_pnt_3d add(zv_pnt_3d a, zv_pnt_3d d, double k) { return {a.x + k * d.x, a.y + k * d.y, a.z + k * d.z}; }
double dist(zv_pnt_3d a, zv_pnt_3d b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }
Seg reversed(const Seg &s) { return {{s.p[1], s.p[0]}}; }
Seg lifted(const Seg &s, zv_pnt_3d d, double k) { return {{add(s.p[0], d, k), add(s.p[1], d, k)}}; }

// The result code, and where it met (kUntouched when nothing was written).
struct Meet {
  int16_t code;
  zv_pnt_3d at;
};
Meet meet(const Seg &a, const Seg &b) {
  Meet m{0, kUntouched};
  m.code = zv_intlinespace_ls(a.p, b.p, &m.at);
  return m;
}

// Meets at the given point within tol.
void expect_meet(const Seg &a, const Seg &b, zv_pnt_3d at, double tol = 0.0) {
  const Meet m = meet(a, b);
  ASSERT_EQ(m.code, 1);
  EXPECT_LE(dist(m.at, at), tol);
}

// Two segments through x along u and w, and their unit common normal.
struct Crossing {
  Seg a, b;
  zv_pnt_3d normal;
};
Crossing crossing(zv_pnt_3d x, zv_pnt_3d u, zv_pnt_3d w, double a0, double a1, double b0, double b1) {
  const zv_pnt_3d n{u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x};
  const zv_pnt_3d unit = add({0, 0, 0}, n, 1 / dist(n, {0, 0, 0}));
  return {{{add(x, u, a0), add(x, u, a1)}}, {{add(x, w, b0), add(x, w, b1)}}, unit};
}

// Null arguments, or one coordinate of the four points NaN or infinite:
// nothing meets and nothing is written.
TEST(Da3vSegments, NullOrNonFiniteInputMeetsNothingAndLeavesOutAlone) {
  const Seg a{{{0, 0, 0}, {1, 0, 0}}};
  zv_pnt_3d out = kUntouched;
  EXPECT_EQ(zv_intlinespace_ls(nullptr, a.p, &out) + zv_intlinespace_ls(a.p, nullptr, &out), 0);
  EXPECT_EQ(zv_intlinespace_ls(a.p, a.p, nullptr), 0);
  for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
    for (int k = 0; k < 12; ++k) {
      Seg s[2] = {a, a};
      double c[3] = {s[k / 6].p[(k / 3) % 2].x, s[k / 6].p[(k / 3) % 2].y, s[k / 6].p[(k / 3) % 2].z};
      c[k % 3] = bad;
      s[k / 6].p[(k / 3) % 2] = {c[0], c[1], c[2]};
      const Meet m = meet(s[0], s[1]);
      EXPECT_TRUE(m.code == 0 && dist(m.at, kUntouched) == 0.0) << k;
    }
  }
}

// Random segments through a common point meet there in either order and
// orientation; lifted apart along their common normal by h they meet only
// while |h| <= 1e-7, at the point on seg_a. Far from the origin (1e12) the
// tolerance follows the rounding of the coordinates: crossing segments still
// meet and segments 1 apart do not.
TEST(Da3vSegments, RandomCrossingAndSkewSegments) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> coord(-50, 50), dir(-1, 1), part(0.05, 0.95), len(0.5, 20);
  for (int k = 0; k < 500; ++k) {
    const zv_pnt_3d x{coord(rng), coord(rng), coord(rng)}, u{dir(rng), dir(rng), dir(rng)}, w{dir(rng), dir(rng), dir(rng)};
    const double la = len(rng), lb = len(rng), sa = part(rng), sb = part(rng);
    const auto [a, b, n] = crossing(x, u, w, -sa * la, (1 - sa) * la, -sb * lb, (1 - sb) * lb);
    for (const auto &[p, q] : {std::pair{a, b}, std::pair{b, a}, std::pair{reversed(a), b}, std::pair{a, reversed(b)}})
      expect_meet(p, q, x, 1e-11);
    for (double h : {0.5e-7, -0.8e-7, 1.5e-7, -3e-7, 1e-3}) {
      const Meet m = meet(a, lifted(b, n, h));
      EXPECT_EQ(m.code, std::fabs(h) <= 1e-7 ? 1 : 0) << h;
      EXPECT_TRUE(!m.code || dist(m.at, x) <= 1e-11);
    }
    if (k >= 200) continue;
    const zv_pnt_3d far{1e12 + dir(rng), -3e12 + dir(rng), 2e12};
    const auto [fa, fb, fn] = crossing(far, u, w, -1000, 3000, -2000, 500);
    expect_meet(fa, fb, far, 1e-2);
    EXPECT_EQ(meet(fa, lifted(fb, fn, 1.0)).code, 0) << k;
  }
}

// Ends, overlaps and zero lengths, each row: seg_a, seg_b and where they
// meet (kUntouched: they do not). Overlaps give the first point of the
// overlap along seg_a; a zero-length segment acts as its point.
TEST(Da3vSegments, EndPointsOverlapsAndZeroLengths) {
  const Seg a{{{0, 0, 0}, {4, 0, 0}}}, inner{{{1, 0, 0}, {3, 0, 0}}}, diag{{{0, 0, 0}, {2, 2, 2}}};
  const zv_pnt_3d p{3.25, -1.5, 7.75}, d{0.3, -0.7, 1.1}, side{0.0, 11.0 / 7.0, 1.0};  // side is perpendicular to d
  const Seg slanted{{p, add(p, d, 4)}}, over{{add(p, d, 3), add(p, d, 1)}};
  const Seg on{{{0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}}}, off{{{0.5, 0.5, 0.6}, {0.5, 0.5, 0.6}}};
  const zv_pnt_3d no = kUntouched;
  for (const auto &[sa, sb, at] : std::vector<std::tuple<Seg, Seg, zv_pnt_3d>>{
           {a, {{{1.5, 3, 0}, {1.5, 0, 0}}}, {1.5, 0, 0}},  // a T junction
           {{{{-0.7, 1.9, 2.3}, {0.1, 0.2, 0.3}}}, {{{0.1, 0.2, 0.3}, {5.5, -1.25, 0.125}}}, {0.1, 0.2, 0.3}},
           {a, {{{1, -2, 6e-8}, {1, 2, 6e-8}}}, {1, 0, 0}},  // the foot on seg_a
           {a, {{{1, -2, 1.2e-7}, {1, 2, 1.2e-7}}}, no},
           {a, {{{5, -1, 0}, {5, 1, 0}}}, no},  // the lines cross outside
           {a, {{{0, 1, 0}, {1, 1, 0}}}, no},   // parallel
           {a, {{{5, 0, 0}, {6, 0, 0}}}, no},   // collinear, apart
           {a, {{{4 + 5e-8, 0, 0}, {6, 0, 0}}}, {4, 0, 0}},
           {a, inner, {1, 0, 0}}, {a, reversed(inner), {1, 0, 0}},
           {reversed(a), inner, {3, 0, 0}}, {reversed(a), reversed(inner), {3, 0, 0}},
           {a, {{{2, 0, 0}, {-5, 0, 0}}}, {0, 0, 0}}, {a, a, {0, 0, 0}},
           {slanted, over, add(p, d, 1)}, {slanted, lifted(over, side, 5e-8 / dist(side, {0, 0, 0})), add(p, d, 1)},
           {diag, on, on.p[0]}, {on, diag, on.p[0]}, {on, on, on.p[0]}, {on, lifted(on, {0, 0, 1}, 5e-8), on.p[0]},
           {diag, off, no}, {off, diag, no}, {on, off, no}}) {
    const Meet m = meet(sa, sb);
    EXPECT_EQ(m.code, dist(at, no) == 0.0 ? 0 : 1) << sb.p[0].x << " " << sb.p[0].y << " " << sb.p[0].z;
    EXPECT_LE(dist(m.at, at), 1e-13) << sb.p[0].x << " " << sb.p[0].y << " " << sb.p[0].z;
  }
}

// Huge and tiny coordinates neither overflow nor underflow.
TEST(Da3vSegments, ExtremeMagnitudes) {
  for (double big : {1e300, DBL_MAX}) {
    const Seg a{{{-big, 0, 0}, {big, 0, 0}}};
    const Meet m = meet(a, Seg{{{0, -big, 0}, {0, big, 0}}});
    ASSERT_EQ(m.code, 1) << big;
    EXPECT_TRUE(std::fabs(m.at.x) <= 4 * DBL_EPSILON * big && zvtest::value(m.at.y) == 0.0);
    EXPECT_EQ(meet(a, Seg{{{0, -big, big}, {0, big, big}}}).code, 0) << big;
  }
  const Seg tiny{{{-1e-200, 0, 0}, {1e-200, 0, 0}}}, across{{{0, -1e-200, 1e-150}, {0, 1e-200, 1e-150}}};
  const Seg sub{{{0x1p-1074, 0, 0}, {0x1p-1073, 0, 0}}};
  expect_meet(tiny, across, {0, 0, 0}, 1e-200);
  EXPECT_EQ(meet(sub, sub).code + meet(sub, across).code, 2);
}

}  // namespace
