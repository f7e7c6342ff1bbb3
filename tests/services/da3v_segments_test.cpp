// Segment meeting test of the geometry services: zv_intlinespace_ls.
#include "zv_testing.hpp"

#include <cfloat>
#include <cmath>
#include <random>

namespace {

struct Seg {
  zv_pnt_3d p[2];
};

// A sentinel for "out untouched".
constexpr zv_pnt_3d kUntouched{-123.0, 456.0, -789.0};

zv_pnt_3d add(zv_pnt_3d a, zv_pnt_3d d, double k) { return {a.x + k * d.x, a.y + k * d.y, a.z + k * d.z}; }
double dist(zv_pnt_3d a, zv_pnt_3d b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }
zv_pnt_3d cross(zv_pnt_3d a, zv_pnt_3d b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Calls the service and returns the result code together with out.
struct Meet {
  int16_t code;
  zv_pnt_3d at;
};
Meet meet(const Seg &a, const Seg &b) {
  Meet m{0, kUntouched};
  m.code = zv_intlinespace_ls(a.p, b.p, &m.at);
  return m;
}

Seg reversed(const Seg &s) { return {{s.p[1], s.p[0]}}; }

// Compares copies of the coordinates: the packed fields are never bound by reference.
#define EXPECT_POINT_EQ(a, b)                \
  do {                                       \
    const zv_pnt_3d got_ = (a), want_ = (b); \
    EXPECT_EQ(double{got_.x}, double{want_.x}); \
    EXPECT_EQ(double{got_.y}, double{want_.y}); \
    EXPECT_EQ(double{got_.z}, double{want_.z}); \
  } while (0)

#define EXPECT_POINT_NEAR(a, b, tol) EXPECT_LE(dist((a), (b)), (tol))

// ===================================================== argument checks

TEST(Da3vSegments, NullOrNonFiniteInputMeetsNothingAndLeavesOutAlone) {
  const Seg a{{{0, 0, 0}, {1, 0, 0}}};
  zv_pnt_3d out = kUntouched;
  EXPECT_EQ(zv_intlinespace_ls(nullptr, a.p, &out), 0);
  EXPECT_EQ(zv_intlinespace_ls(a.p, nullptr, &out), 0);
  EXPECT_EQ(zv_intlinespace_ls(a.p, a.p, nullptr), 0);
  EXPECT_POINT_EQ(out, kUntouched);
  for (double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
    for (int k = 0; k < 12; ++k) {
      // One coordinate of the four points spoilt; identical segments would otherwise meet.
      Seg s[2] = {a, a};
      zv_pnt_3d &pt = s[k / 6].p[(k / 3) % 2];
      if (k % 3 == 0) pt.x = bad;
      if (k % 3 == 1) pt.y = bad;
      if (k % 3 == 2) pt.z = bad;
      const Meet m = meet(s[0], s[1]);
      EXPECT_EQ(m.code, 0) << k;
      EXPECT_POINT_EQ(m.at, kUntouched);
    }
  }
}

// ===================================================== crossing and skew segments

class SegmentsRandom : public ::testing::TestWithParam<int> {};

// Two segments through a common point X at random directions and extents.
struct Crossing {
  Seg a, b;
  zv_pnt_3d x, normal;  // normal: unit, perpendicular to both
};
Crossing random_crossing(std::mt19937 &rng) {
  std::uniform_real_distribution<double> coord(-50, 50), dir(-1, 1), part(0.05, 0.95), len(0.5, 20);
  Crossing c;
  c.x = {coord(rng), coord(rng), coord(rng)};
  zv_pnt_3d u{dir(rng), dir(rng), dir(rng)}, w{dir(rng), dir(rng), dir(rng)};
  zv_pnt_3d n = cross(u, w);
  const double nl = std::hypot(n.x, n.y, n.z);
  c.normal = {n.x / nl, n.y / nl, n.z / nl};
  const double la = len(rng), lb = len(rng), sa = part(rng), sb = part(rng);
  c.a = {{add(c.x, u, -sa * la), add(c.x, u, (1 - sa) * la)}};
  c.b = {{add(c.x, w, -sb * lb), add(c.x, w, (1 - sb) * lb)}};
  return c;
}

TEST_P(SegmentsRandom, CrossingSegmentsMeetAtTheirCommonPointInEitherOrder) {
  std::mt19937 rng(static_cast<unsigned>(GetParam()));
  for (int k = 0; k < 40; ++k) {
    const Crossing c = random_crossing(rng);
    for (const auto &[a, b] : {std::pair{c.a, c.b}, std::pair{c.b, c.a}, std::pair{reversed(c.a), c.b},
                               std::pair{c.a, reversed(c.b)}}) {
      const Meet m = meet(a, b);
      ASSERT_EQ(m.code, 1);
      EXPECT_POINT_NEAR(m.at, c.x, 1e-11);
    }
  }
}

TEST_P(SegmentsRandom, SkewSegmentsMeetOnlyWithinTheTolerance) {
  std::mt19937 rng(static_cast<unsigned>(GetParam()) + 500u);
  for (int k = 0; k < 40; ++k) {
    const Crossing c = random_crossing(rng);
    // seg_b lifted along the common normal: the closest points are X on seg_a
    // and X + h*normal on seg_b, so the gap is exactly h.
    for (double h : {0.5e-7, -0.8e-7, 1.5e-7, -3e-7, 1e-3}) {
      Seg b = c.b;
      b.p[0] = add(b.p[0], c.normal, h);
      b.p[1] = add(b.p[1], c.normal, h);
      const Meet m = meet(c.a, b);
      EXPECT_EQ(m.code, std::fabs(h) <= 1e-7 ? 1 : 0) << h;
      if (m.code) {
        EXPECT_POINT_NEAR(m.at, c.x, 1e-11);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, SegmentsRandom, ::testing::Range(0, 24));

TEST(Da3vSegments, PerpendicularSkewSegmentsGiveTheFootOnSegA) {
  const Seg a{{{-1, 0, 0}, {3, 0, 0}}};
  const Seg near{{{0.5, -2, 6e-8}, {0.5, 2, 6e-8}}};
  const Seg far{{{0.5, -2, 1.2e-7}, {0.5, 2, 1.2e-7}}};
  const Meet m = meet(a, near);
  ASSERT_EQ(m.code, 1);
  EXPECT_POINT_EQ(m.at, (zv_pnt_3d{0.5, 0, 0}));
  EXPECT_EQ(meet(a, far).code, 0);
}

TEST(Da3vSegments, LinesThatCrossOutsideTheSegmentsDoNotMeet) {
  const Seg a{{{0, 0, 0}, {1, 0, 0}}};
  const Seg b{{{2, -1, 0}, {2, 1, 0}}};  // the lines cross at (2, 0, 0)
  EXPECT_EQ(meet(a, b).code, 0);
  EXPECT_EQ(meet(b, a).code, 0);
}

// ===================================================== end points

TEST(Da3vSegments, SegmentsTouchingAtEndPointsMeetThereExactly) {
  const zv_pnt_3d corner{0.1, 0.2, 0.3};
  const Seg a{{{-0.7, 1.9, 2.3}, corner}};
  const Seg b{{corner, {5.5, -1.25, 0.125}}};
  const Meet m = meet(a, b);
  ASSERT_EQ(m.code, 1);
  EXPECT_POINT_EQ(m.at, corner);
  const Meet back = meet(reversed(a), b);
  ASSERT_EQ(back.code, 1);
  EXPECT_POINT_EQ(back.at, corner);
}

TEST(Da3vSegments, EndOfOneSegmentOnTheInteriorOfTheOther) {
  const Seg a{{{0, 0, 0}, {4, 0, 0}}};
  const Seg t{{{1.5, 3, 0}, {1.5, 0, 0}}};  // a T junction
  const Meet m = meet(a, t);
  ASSERT_EQ(m.code, 1);
  EXPECT_POINT_EQ(m.at, (zv_pnt_3d{1.5, 0, 0}));
  const Meet n = meet(t, a);
  ASSERT_EQ(n.code, 1);
  EXPECT_POINT_EQ(n.at, (zv_pnt_3d{1.5, 0, 0}));
}

// ===================================================== parallel and collinear segments

TEST(Da3vSegments, ParallelSegmentsApartDoNotMeet) {
  const Seg a{{{0, 0, 0}, {1, 0, 0}}};
  EXPECT_EQ(meet(a, Seg{{{0, 1, 0}, {1, 1, 0}}}).code, 0);
  EXPECT_EQ(meet(a, Seg{{{0.5, 0, 2e-7}, {3, 0, 2e-7}}}).code, 0);
  EXPECT_EQ(meet(a, Seg{{{2, 0, 0}, {3, 0, 0}}}).code, 0);          // collinear, after
  EXPECT_EQ(meet(a, Seg{{{-3, 0, 0}, {-1e-6, 0, 0}}}).code, 0);     // collinear, before
}

TEST(Da3vSegments, CollinearSegmentsWithinToleranceOfEachOtherMeetAtTheNearEnd) {
  const Seg a{{{0, 0, 0}, {1, 0, 0}}};
  const Meet m = meet(a, Seg{{{1 + 5e-8, 0, 0}, {3, 0, 0}}});
  ASSERT_EQ(m.code, 1);
  EXPECT_POINT_EQ(m.at, a.p[1]);
}

TEST(Da3vSegments, OverlappingCollinearSegmentsGiveTheFirstOverlapPointAlongSegA) {
  const Seg a{{{0, 0, 0}, {4, 0, 0}}};
  const Seg inner{{{1, 0, 0}, {3, 0, 0}}};
  for (const Seg &b : {inner, reversed(inner)}) {
    const Meet m = meet(a, b);
    ASSERT_EQ(m.code, 1);
    EXPECT_POINT_EQ(m.at, (zv_pnt_3d{1, 0, 0}));
    const Meet r = meet(reversed(a), b);
    ASSERT_EQ(r.code, 1);
    EXPECT_POINT_EQ(r.at, (zv_pnt_3d{3, 0, 0}));
  }
  // seg_b covers the start of seg_a: the overlap begins at seg_a's start.
  const Seg cover{{{2, 0, 0}, {-5, 0, 0}}};
  const Meet m = meet(a, cover);
  ASSERT_EQ(m.code, 1);
  EXPECT_POINT_EQ(m.at, a.p[0]);
  // Identical segments overlap from the start.
  const Meet same = meet(a, a);
  ASSERT_EQ(same.code, 1);
  EXPECT_POINT_EQ(same.at, a.p[0]);
}

TEST(Da3vSegments, OverlapIsFoundOnSlantedAndSlightlyOffsetLines) {
  const zv_pnt_3d p{3.25, -1.5, 7.75}, d{0.3, -0.7, 1.1};
  const Seg a{{p, add(p, d, 4)}};
  const Seg b{{add(p, d, 3), add(p, d, 1)}};
  const Meet m = meet(a, b);
  ASSERT_EQ(m.code, 1);
  EXPECT_POINT_NEAR(m.at, add(p, d, 1), 1e-13);
  // The same overlap shifted sideways by 5e-8 still meets, at the same place on seg_a.
  const zv_pnt_3d side{0.0, 11.0 / 7.0, 1.0};  // perpendicular to d
  const double k = 5e-8 / std::hypot(side.x, side.y, side.z);
  const Seg shifted{{add(b.p[0], side, k), add(b.p[1], side, k)}};
  const Meet s = meet(a, shifted);
  ASSERT_EQ(s.code, 1);
  EXPECT_POINT_NEAR(s.at, add(p, d, 1), 1e-13);
}

// ===================================================== zero-length segments

TEST(Da3vSegments, ZeroLengthSegmentsActAsTheirPoint) {
  const Seg a{{{0, 0, 0}, {2, 2, 2}}};
  const Seg on{{{0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}}};
  const Seg off{{{0.5, 0.5, 0.6}, {0.5, 0.5, 0.6}}};
  Meet m = meet(a, on);
  ASSERT_EQ(m.code, 1);
  EXPECT_POINT_NEAR(m.at, on.p[0], 1e-15);
  m = meet(on, a);
  ASSERT_EQ(m.code, 1);
  EXPECT_POINT_EQ(m.at, on.p[0]);
  EXPECT_EQ(meet(a, off).code, 0);
  EXPECT_EQ(meet(off, a).code, 0);
  m = meet(on, on);
  ASSERT_EQ(m.code, 1);
  EXPECT_POINT_EQ(m.at, on.p[0]);
  EXPECT_EQ(meet(on, off).code, 0);
  const Seg close{{{0.5, 0.5, 0.5 + 5e-8}, {0.5, 0.5, 0.5 + 5e-8}}};
  EXPECT_EQ(meet(on, close).code, 1);
}

// ===================================================== extreme magnitudes

TEST(Da3vSegments, HugeCoordinatesNeitherOverflowNorProduceNaN) {
  for (double big : {1e300, DBL_MAX}) {
    const Seg a{{{-big, 0, 0}, {big, 0, 0}}};
    const Seg b{{{0, -big, 0}, {0, big, 0}}};
    const Meet m = meet(a, b);
    ASSERT_EQ(m.code, 1) << big;
    // The crossing is the origin, up to the rounding of coordinates this large.
    EXPECT_LE(std::fabs(double{m.at.x}), 4 * DBL_EPSILON * big);
    EXPECT_EQ(double{m.at.y}, 0.0);
    EXPECT_EQ(double{m.at.z}, 0.0);
    const Seg apart{{{0, -big, big}, {0, big, big}}};
    EXPECT_EQ(meet(a, apart).code, 0) << big;
  }
}

TEST(Da3vSegments, FarFromTheOriginTheToleranceFollowsTheRoundingOfTheCoordinates) {
  // At 1e12 a double steps by about 1.2e-4: crossing segments must still meet,
  // and segments 1 apart must not.
  std::mt19937 rng(11);
  for (int k = 0; k < 200; ++k) {
    std::uniform_real_distribution<double> dir(-1, 1);
    const zv_pnt_3d x{1e12 + dir(rng), -3e12 + dir(rng), 2e12};
    const zv_pnt_3d u{dir(rng), dir(rng), dir(rng)}, w{dir(rng), dir(rng), dir(rng)};
    const Seg a{{add(x, u, -1000), add(x, u, 3000)}};
    const Seg b{{add(x, w, -2000), add(x, w, 500)}};
    const Meet m = meet(a, b);
    ASSERT_EQ(m.code, 1) << k;
    EXPECT_POINT_NEAR(m.at, x, 1e-2);
    zv_pnt_3d n = cross(u, w);
    const double nl = std::hypot(n.x, n.y, n.z);
    n = {n.x / nl, n.y / nl, n.z / nl};
    const Seg lifted{{add(b.p[0], n, 1.0), add(b.p[1], n, 1.0)}};
    EXPECT_EQ(meet(a, lifted).code, 0) << k;
  }
}

TEST(Da3vSegments, TinyConfigurationsAreWithinTheTolerance) {
  const Seg a{{{-1e-200, 0, 0}, {1e-200, 0, 0}}};
  const Seg b{{{0, -1e-200, 1e-150}, {0, 1e-200, 1e-150}}};
  const Meet m = meet(a, b);
  ASSERT_EQ(m.code, 1);
  EXPECT_LE(std::fabs(double{m.at.x}), 1e-200);
  const Seg sub{{{0x1p-1074, 0, 0}, {0x1p-1073, 0, 0}}};
  EXPECT_EQ(meet(sub, sub).code, 1);
  EXPECT_EQ(meet(sub, b).code, 1);
}

}  // namespace
