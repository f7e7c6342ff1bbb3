// Segment meeting test of the geometry services: zv_intlinespace_ls.
#include "zv_testing.hpp"

#include <cfloat>
#include <cmath>
#include <random>

namespace {

struct Seg {
  zv_pnt_3d p[2];
};
constexpr zv_pnt_3d kUntouched{-123.0, 456.0, -789.0};

zv_pnt_3d add(zv_pnt_3d a, zv_pnt_3d d, double k) { return {a.x + k * d.x, a.y + k * d.y, a.z + k * d.z}; }
double dist(zv_pnt_3d a, zv_pnt_3d b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }
Seg reversed(const Seg &s) { return {{s.p[1], s.p[0]}}; }

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

// Meets at exactly the given point (or within tol of it).
void expect_meet(const Seg &a, const Seg &b, zv_pnt_3d at, double tol = 0.0) {
  const Meet m = meet(a, b);
  ASSERT_EQ(m.code, 1);
  EXPECT_LE(dist(m.at, at), tol);
}

TEST(Da3vSegments, NullOrNonFiniteInputMeetsNothingAndLeavesOutAlone) {
  const Seg a{{{0, 0, 0}, {1, 0, 0}}};
  zv_pnt_3d out = kUntouched;
  EXPECT_EQ(zv_intlinespace_ls(nullptr, a.p, &out), 0);
  EXPECT_EQ(zv_intlinespace_ls(a.p, nullptr, &out), 0);
  EXPECT_EQ(zv_intlinespace_ls(a.p, a.p, nullptr), 0);
  for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
    for (int k = 0; k < 12; ++k) {  // one coordinate of the four points spoilt
      Seg s[2] = {a, a};
      double c[3] = {s[k / 6].p[(k / 3) % 2].x, s[k / 6].p[(k / 3) % 2].y, s[k / 6].p[(k / 3) % 2].z};
      c[k % 3] = bad;
      s[k / 6].p[(k / 3) % 2] = {c[0], c[1], c[2]};
      const Meet m = meet(s[0], s[1]);
      EXPECT_EQ(m.code, 0) << k;
      EXPECT_EQ(dist(m.at, kUntouched), 0.0);
    }
  }
}

// Two segments through a common point X in random directions meet at X in
// either order and orientation; lifted apart along their common normal by
// h they meet only while |h| <= 1e-7, at X on seg_a.
TEST(Da3vSegments, RandomCrossingAndSkewSegments) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> coord(-50, 50), dir(-1, 1), part(0.05, 0.95), len(0.5, 20);
  for (int k = 0; k < 500; ++k) {
    const zv_pnt_3d x{coord(rng), coord(rng), coord(rng)}, u{dir(rng), dir(rng), dir(rng)}, w{dir(rng), dir(rng), dir(rng)};
    zv_pnt_3d n{u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x};
    n = add({0, 0, 0}, n, 1 / std::hypot(n.x, n.y, n.z));
    const double la = len(rng), lb = len(rng), sa = part(rng), sb = part(rng);
    const Seg a{{add(x, u, -sa * la), add(x, u, (1 - sa) * la)}}, b{{add(x, w, -sb * lb), add(x, w, (1 - sb) * lb)}};
    for (const auto &[p, q] : {std::pair{a, b}, std::pair{b, a}, std::pair{reversed(a), b}, std::pair{a, reversed(b)}})
      expect_meet(p, q, x, 1e-11);
    for (double h : {0.5e-7, -0.8e-7, 1.5e-7, -3e-7, 1e-3}) {
      const Seg lifted{{add(b.p[0], n, h), add(b.p[1], n, h)}};
      const Meet m = meet(a, lifted);
      EXPECT_EQ(m.code, std::fabs(h) <= 1e-7 ? 1 : 0) << h;
      if (m.code) {
        EXPECT_LE(dist(m.at, x), 1e-11);
      }
    }
  }
}

TEST(Da3vSegments, EndPointsOverlapsAndZeroLengths) {
  const Seg a{{{0, 0, 0}, {4, 0, 0}}};
  expect_meet(a, Seg{{{1.5, 3, 0}, {1.5, 0, 0}}}, {1.5, 0, 0});  // a T junction
  expect_meet(Seg{{{-0.7, 1.9, 2.3}, {0.1, 0.2, 0.3}}}, Seg{{{0.1, 0.2, 0.3}, {5.5, -1.25, 0.125}}}, {0.1, 0.2, 0.3});
  expect_meet(a, Seg{{{1, -2, 6e-8}, {1, 2, 6e-8}}}, {1, 0, 0});  // the foot on seg_a
  EXPECT_EQ(meet(a, Seg{{{1, -2, 1.2e-7}, {1, 2, 1.2e-7}}}).code, 0);
  EXPECT_EQ(meet(a, Seg{{{5, -1, 0}, {5, 1, 0}}}).code, 0);  // the lines cross outside
  EXPECT_EQ(meet(a, Seg{{{0, 1, 0}, {1, 1, 0}}}).code, 0);   // parallel
  EXPECT_EQ(meet(a, Seg{{{5, 0, 0}, {6, 0, 0}}}).code, 0);   // collinear, apart
  expect_meet(a, Seg{{{4 + 5e-8, 0, 0}, {6, 0, 0}}}, {4, 0, 0});
  // Overlaps give the first point of the overlap along seg_a.
  for (const Seg &inner : {Seg{{{1, 0, 0}, {3, 0, 0}}}, Seg{{{3, 0, 0}, {1, 0, 0}}}}) {
    expect_meet(a, inner, {1, 0, 0});
    expect_meet(reversed(a), inner, {3, 0, 0});
  }
  expect_meet(a, Seg{{{2, 0, 0}, {-5, 0, 0}}}, {0, 0, 0});
  expect_meet(a, a, {0, 0, 0});
  const zv_pnt_3d p{3.25, -1.5, 7.75}, d{0.3, -0.7, 1.1}, side{0.0, 11.0 / 7.0, 1.0};  // side is perpendicular to d
  const Seg slanted{{p, add(p, d, 4)}}, over{{add(p, d, 3), add(p, d, 1)}};
  const double k = 5e-8 / std::hypot(side.x, side.y, side.z);
  expect_meet(slanted, over, add(p, d, 1), 1e-13);
  expect_meet(slanted, Seg{{add(over.p[0], side, k), add(over.p[1], side, k)}}, add(p, d, 1), 1e-13);
  // A zero-length segment acts as its point.
  const Seg diag{{{0, 0, 0}, {2, 2, 2}}}, on{{{0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}}}, off{{{0.5, 0.5, 0.6}, {0.5, 0.5, 0.6}}};
  expect_meet(diag, on, on.p[0], 1e-15);
  expect_meet(on, diag, on.p[0]);
  expect_meet(on, on, on.p[0]);
  expect_meet(on, Seg{{{0.5, 0.5, 0.5 + 5e-8}, {0.5, 0.5, 0.5 + 5e-8}}}, on.p[0]);
  EXPECT_EQ(meet(diag, off).code + meet(off, diag).code + meet(on, off).code, 0);
}

// Huge and tiny coordinates neither overflow nor underflow; far from the
// origin the tolerance follows the rounding of the coordinates, so crossing
// segments still meet and segments 1 apart do not.
TEST(Da3vSegments, ExtremeMagnitudes) {
  for (double big : {1e300, DBL_MAX}) {
    const Seg a{{{-big, 0, 0}, {big, 0, 0}}};
    const Meet m = meet(a, Seg{{{0, -big, 0}, {0, big, 0}}});
    ASSERT_EQ(m.code, 1) << big;
    EXPECT_LE(std::fabs(m.at.x), 4 * DBL_EPSILON * big);
    EXPECT_EQ(zvtest::value(m.at.y), 0.0);
    EXPECT_EQ(meet(a, Seg{{{0, -big, big}, {0, big, big}}}).code, 0) << big;
  }
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> dir(-1, 1);
  for (int k = 0; k < 200; ++k) {
    const zv_pnt_3d x{1e12 + dir(rng), -3e12 + dir(rng), 2e12}, u{dir(rng), dir(rng), dir(rng)}, w{dir(rng), dir(rng), dir(rng)};
    const Seg a{{add(x, u, -1000), add(x, u, 3000)}}, b{{add(x, w, -2000), add(x, w, 500)}};
    expect_meet(a, b, x, 1e-2);
    zv_pnt_3d n{u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x};
    n = add({0, 0, 0}, n, 1 / std::hypot(n.x, n.y, n.z));
    EXPECT_EQ(meet(a, Seg{{add(b.p[0], n, 1.0), add(b.p[1], n, 1.0)}}).code, 0) << k;
  }
  const Seg tiny{{{-1e-200, 0, 0}, {1e-200, 0, 0}}}, across{{{0, -1e-200, 1e-150}, {0, 1e-200, 1e-150}}};
  const Seg sub{{{0x1p-1074, 0, 0}, {0x1p-1073, 0, 0}}};
  expect_meet(tiny, across, {0, 0, 0}, 1e-200);
  EXPECT_EQ(meet(sub, sub).code + meet(sub, across).code, 2);
}

}  // namespace
