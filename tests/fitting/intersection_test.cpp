// zv_intcurve_3d: which lists it reads, the crossing points it keeps and
// their order, counting without a list, refused memory, and the pruned scan
// held to the plain all-pairs walk on random polylines.
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>

#include "all_pairs_crossings.hpp"
#include "zv_testing.hpp"

namespace {

using zvtest::all_pairs_crossings;
using Points = std::vector<zv_pnt_3d>;

struct CurveDeleter {
  void operator()(zv_curve *c) const { zv_purge_curve(c); }
};
using Curve = std::unique_ptr<zv_curve, CurveDeleter>;
struct ListDeleter {
  void operator()(ll_list *l) const { ll_purge_list(l); }
};
using List = std::unique_ptr<ll_list, ListDeleter>;

enum class Slot { vertices, control };

// A record whose vertex list (or control list) holds the given points; the
// other list slot is left as zv_create_curve made it (an empty list).
Curve record(const Points &points, Slot slot = Slot::vertices) {
  Curve c(zv_create_curve());
  if (slot == Slot::vertices) {
    ll_purge_list(c->vertex_list);
    c->vertex_list = zvtest::make_polygon(points);
  } else {
    ll_purge_list(c->ctrl_list);
    c->ctrl_list = zvtest::make_polygon(points);
  }
  return c;
}

// The positions of a list's vertices.
Points positions(const ll_list *list) {
  Points p;
  for (const zvtest::Vertex &v : zvtest::vertices(list)) p.push_back({v.x, v.y, v.z});
  return p;
}

// Exact equality, coordinate by coordinate, with a readable failure.
void expect_same_points(const Points &got, const Points &want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t k = 0; k < got.size(); ++k) {
    EXPECT_EQ(got[k].x, want[k].x) << "point " << k;
    EXPECT_EQ(got[k].y, want[k].y) << "point " << k;
    EXPECT_EQ(got[k].z, want[k].z) << "point " << k;
  }
}

// Runs zv_intcurve_3d into a new list; the points it kept and its result.
struct Result {
  int16_t count;
  Points points;
};
Result intersect(zv_curve *a, zv_curve *b) {
  List out(ll_create_list());
  const int16_t count = zv_intcurve_3d(a, b, out.get());
  return {count, positions(out.get())};
}

using Intersection = zvtest::KernelTest;

// ---------------------------------------------------- which lists are read

TEST_F(Intersection, MissingRecordsOrListsGiveNothing) {
  Curve a = record({{0, 0, 0}, {2, 2, 0}});
  Curve b = record({{0, 2, 0}, {2, 0, 0}});
  List out(ll_create_list());
  EXPECT_EQ(zv_intcurve_3d(nullptr, b.get(), out.get()), 0);
  EXPECT_EQ(zv_intcurve_3d(a.get(), nullptr, out.get()), 0);
  // Neither slot shared: a has only a vertex list, b only a control list.
  ll_purge_list(a->ctrl_list);
  a->ctrl_list = nullptr;
  Curve c = record({{0, 2, 0}, {2, 0, 0}}, Slot::control);
  ll_purge_list(c->vertex_list);
  c->vertex_list = nullptr;
  EXPECT_EQ(zv_intcurve_3d(a.get(), c.get(), out.get()), 0);
  EXPECT_EQ(ll_list_length(out.get()), 0);
  EXPECT_TRUE(reports.memerrs.empty());
}

TEST_F(Intersection, SingleVerticesHaveNoSegment) {
  Curve a = record({{1, 1, 0}});
  Curve b = record({{1, 1, 0}});
  EXPECT_EQ(intersect(a.get(), b.get()).count, 0);
}

// Both records have a vertex list, so those are read even when one is empty
// (an untessellated record) and the control polygons would cross.
TEST_F(Intersection, EmptyVertexListIsStillChosen) {
  Curve a = record({{0, 0, 0}, {2, 2, 0}}, Slot::control);
  Curve b = record({{0, 2, 0}, {2, 0, 0}});
  ll_purge_list(b->ctrl_list);
  b->ctrl_list = zvtest::make_polygon({{0, 2, 0}, {2, 0, 0}});
  EXPECT_EQ(intersect(a.get(), b.get()).count, 0);
}

// A record without a vertex list slot makes both records be read on their
// control polygons, whatever the other's vertex list holds.
TEST_F(Intersection, MissingVertexListFallsBackToControlPolygons) {
  Curve a = record({{0, 0, 0}, {4, 4, 0}});  // vertex list: would cross b's at (1, 1)
  ll_purge_list(a->ctrl_list);
  a->ctrl_list = zvtest::make_polygon({{0, 0, 0}, {4, 0, 0}});
  Curve b = record({{3, -1, 0}, {3, 1, 0}}, Slot::control);
  ll_purge_list(b->vertex_list);
  b->vertex_list = nullptr;
  const Result r = intersect(a.get(), b.get());
  EXPECT_EQ(r.count, 1);
  expect_same_points(r.points, {{3, 0, 0}});
}

// ------------------------------------------------- crossing points kept

TEST_F(Intersection, TwoStraightSegmentsCrossOnce) {
  Curve a = record({{0, 0, 1}, {4, 2, 1}});
  Curve b = record({{0, 2, 1}, {4, 0, 1}});
  List out(ll_create_list());
  ASSERT_EQ(zv_intcurve_3d(a.get(), b.get(), out.get()), 1);
  const auto v = zvtest::vertices(out.get());
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(v[0].index, 0);
  EXPECT_NEAR(v[0].x, 2.0, 1e-15);
  EXPECT_NEAR(v[0].y, 1.0, 1e-15);
  EXPECT_NEAR(v[0].z, 1.0, 1e-15);
}

// Segments 0 and 1 of A both report the vertex they share; it is kept once.
TEST_F(Intersection, CrossingAtSharedVertexIsKeptOnce) {
  Curve a = record({{0, 0, 0}, {1, 0, 0}, {2, 0.5, 0}});
  Curve b = record({{1, -1, 0}, {1, 1, 0}});
  const Result r = intersect(a.get(), b.get());
  EXPECT_EQ(r.count, 1);
  expect_same_points(r.points, {{1, 0, 0}});
}

// Only the point kept last is compared: B crosses A at X, then at Y, then at
// X again, and X is kept twice.
TEST_F(Intersection, CrossingMetAgainAfterAnotherIsKeptAgain) {
  Curve a = record({{0, 0, 0}, {10, 0, 0}});
  Curve b = record({{1, 1, 0}, {1, -1, 0}, {2, -1, 0}, {2, 1, 0}, {1, 1, 0}, {1, -1, 0}});
  const Result r = intersect(a.get(), b.get());
  EXPECT_EQ(r.count, 3);
  expect_same_points(r.points, {{1, 0, 0}, {2, 0, 0}, {1, 0, 0}});
}

// Collinear overlap: each overlapping pair gives the first point of the
// overlap along A's segment.
TEST_F(Intersection, CollinearOverlapGivesStartOfEachOverlap) {
  Curve a = record({{0, 0, 0}, {2, 0, 0}, {4, 0, 0}});
  Curve b = record({{1, 0, 0}, {3, 0, 0}});
  const Result r = intersect(a.get(), b.get());
  EXPECT_EQ(r.count, 2);
  expect_same_points(r.points, {{1, 0, 0}, {2, 0, 0}});
}

// Tangential contact: a V touching a line at its apex, and a segment lying
// within the services' tolerance (but not beyond it) of the line.
TEST_F(Intersection, TouchingAndNearlyTouching) {
  Curve line = record({{-2, 0, 0}, {2, 0, 0}});
  Curve v = record({{-1, 1, 0}, {0, 0, 0}, {1, 1, 0}});
  EXPECT_EQ(intersect(line.get(), v.get()).count, 1);
  Curve within = record({{-1, 0.9e-7, 0}, {1, 0.9e-7, 0}});
  Curve beyond = record({{-1, 0, 1.1e-7}, {1, 0, 1.1e-7}});
  EXPECT_EQ(intersect(line.get(), within.get()).count, 1);
  EXPECT_EQ(intersect(line.get(), beyond.get()).count, 0);
}

// ---------------------------------------------------- without a list

// The count is the same as with a list, and nothing is made or leaked (the
// fixture checks the kernel's live blocks).
TEST_F(Intersection, NullOutCountsWithoutMakingAList) {
  Curve a = record({{0, 0, 0}, {10, 0, 0}});
  Curve b = record({{1, 1, 0}, {1, -1, 0}, {2, -1, 0}, {2, 1, 0}, {1, 1, 0}, {1, -1, 0}});
  const long before = zv_live_blocks();
  zv_fail_alloc_after(0);  // any allocation would now be refused and reported
  EXPECT_EQ(zv_intcurve_3d(a.get(), b.get(), nullptr), 3);
  zv_fail_alloc_after(-1);
  EXPECT_EQ(zv_live_blocks(), before);
  EXPECT_TRUE(reports.memerrs.empty());
}

// ---------------------------------------------------- refused memory

// A random zigzag B crossing the long axis-parallel polyline A many times.
struct Zigzag {
  Points a, b;
};
Zigzag zigzag(int crossings, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> jitter(0.0, 0.4);
  Zigzag z;
  for (int k = 0; k <= 2 * crossings; ++k) z.a.push_back({0.5 * k, 0.0, 0.0});
  for (int k = 0; k <= crossings; ++k) z.b.push_back({k + jitter(rng), k % 2 ? 1.0 : -1.0, 0.0});
  return z;
}

// Whatever allocation is refused, the function reports it once, returns the
// number appended, and those are the first points of the full answer; the
// pruned scan's working memory falls back to the all-pairs walk.
TEST_F(Intersection, RefusedMemoryKeepsThePointsSoFar) {
  for (const int crossings : {5, 60}) {  // all-pairs walk, then pruned scan
    const Zigzag z = zigzag(crossings, 7);
    const Points want = all_pairs_crossings(z.a, z.b);
    ASSERT_EQ(want.size(), static_cast<size_t>(crossings));
    Curve a = record(z.a), b = record(z.b);
    for (long k = 0; k <= 2 * crossings + 12; ++k) {
      List out(ll_create_list());
      reports.memerrs.clear();
      zv_fail_alloc_after(k);
      const int16_t got = zv_intcurve_3d(a.get(), b.get(), out.get());
      zv_fail_alloc_after(-1);
      const Points kept = positions(out.get());
      ASSERT_EQ(static_cast<size_t>(got), kept.size()) << "k = " << k;
      expect_same_points(kept, Points(want.begin(), want.begin() + got));
      if (kept.size() < want.size()) {
        EXPECT_EQ(reports.memerrs, std::vector<std::string>{"zv_intcurve_3d"}) << "k = " << k;
      } else {
        EXPECT_TRUE(reports.memerrs.empty()) << "k = " << k;
      }
    }
  }
}

// ------------------------------------------- pruned scan against all pairs

// The same record twice: the two walks are independent, so every segment
// meets itself and its neighbours, as the all-pairs walk over two copies.
TEST_F(Intersection, RecordAgainstItselfWalksTwice) {
  const Zigzag z = zigzag(40, 3);
  Curve b = record(z.b);
  const Result r = intersect(b.get(), b.get());
  expect_same_points(r.points, all_pairs_crossings(z.b, z.b));
}

// More crossings than an int16 holds: every point is appended and the count
// wraps as two's complement.
TEST_F(Intersection, CountPastInt16Wraps) {
  const Zigzag z = zigzag(33000, 11);
  Curve a = record(z.a), b = record(z.b);
  List out(ll_create_list());
  EXPECT_EQ(zv_intcurve_3d(a.get(), b.get(), out.get()), static_cast<int16_t>(33000 - 65536));
  EXPECT_EQ(ll_list_length(out.get()), 33000);
  EXPECT_EQ(zv_intcurve_3d(a.get(), b.get(), nullptr), static_cast<int16_t>(33000 - 65536));
}

// Random polylines that make the pruning's edge cases common: lattice points
// nudged by fractions of the services' tolerance (axis-parallel segments whose
// boxes only meet once grown, shared vertices, collinear overlaps, crossings
// at vertices), smooth wandering curves near and far from the origin, points
// placed on the other polyline's segments and moved off by about the
// tolerance, and a vertex that is NaN or infinite.
class RandomPolylines : public zvtest::KernelTest, public ::testing::WithParamInterface<int> {};

struct Style {
  int kind;          // 0 nudged lattice, 1 wandering curve, 2 points near the other polyline
  double scale;      // size of one lattice step or wandering stride
  zv_pnt_3d offset;  // where the case sits
  double tolerance;  // the services' tolerance at that offset
};

Points random_polyline(std::mt19937_64 &rng, const Style &style, int n, const Points *near) {
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_int_distribution<int> lattice(-4, 4);
  static constexpr double kNudge[] = {0.0, 0.0, 0.0, 0.5, 0.99, 1.01, 2.0, -0.5, -0.99, -1.01};
  std::uniform_int_distribution<int> nudge_pick(0, 9);
  const auto nudge = [&] { return kNudge[nudge_pick(rng)] * style.tolerance; };
  Points p;
  zv_pnt_3d at{0, 0, 0}, heading{1, 0, 0};
  for (int k = 0; k < n; ++k) {
    if (style.kind == 0) {
      const auto step = [&] { return style.scale * lattice(rng); };
      const double z = k % 3 ? 0.0 : step();
      p.push_back({style.offset.x + step() + nudge(), style.offset.y + step() + nudge(), style.offset.z + z + nudge()});
    } else if (style.kind == 2 && near && k % 2) {
      const size_t s = std::uniform_int_distribution<size_t>(0, near->size() - 2)(rng);
      const zv_pnt_3d &u = (*near)[s], &w = (*near)[s + 1];
      const double t = 0.5 * (1.0 + unit(rng));
      p.push_back({u.x + t * (w.x - u.x), u.y + t * (w.y - u.y) + nudge(), u.z + t * (w.z - u.z) + nudge()});
    } else {
      heading = {heading.x + 0.6 * unit(rng), heading.y + 0.6 * unit(rng), 0.0};  // planar, so they cross
      const double len = std::hypot(heading.x, heading.y, heading.z);
      heading = {heading.x / len, heading.y / len, heading.z / len};
      at = {at.x + heading.x * 0.3, at.y + heading.y * 0.3, at.z + heading.z * 0.3};
      p.push_back({style.offset.x + style.scale * at.x, style.offset.y + style.scale * at.y,
                   style.offset.z + style.scale * at.z});
    }
  }
  return p;
}

TEST_P(RandomPolylines, PrunedScanEqualsAllPairs) {
  const int seed = GetParam();
  std::mt19937_64 rng(0x1a7e5ec7u + static_cast<unsigned>(seed));
  Style style;
  style.kind = seed % 3;
  style.scale = style.kind == 1 ? std::pow(10.0, std::uniform_int_distribution<int>(-2, 3)(rng)) : 1.0;
  style.offset = seed % 4 == 3 ? zv_pnt_3d{3e8, -2e8, 1e8} : zv_pnt_3d{0, 0, 0};
  style.tolerance = std::max(ZV_DA3V_TOLERANCE, 16 * std::numeric_limits<double>::epsilon() * 3e8 * (seed % 4 == 3));
  const int na = std::uniform_int_distribution<int>(20, 400)(rng);
  const int nb = std::uniform_int_distribution<int>(20, 400)(rng);
  Style first = style;
  if (style.kind == 2) first.kind = 1;
  Points a = random_polyline(rng, first, na, nullptr);
  Points b = random_polyline(rng, style, nb, &a);
  if (seed % 5 == 4) {  // one vertex of each is not finite
    a[a.size() / 2].y = std::numeric_limits<double>::quiet_NaN();
    b[b.size() / 3].x = std::numeric_limits<double>::infinity();
  }
  const Points want = all_pairs_crossings(a, b);
  Curve ra = record(a), rb = record(b);
  const Result r = intersect(ra.get(), rb.get());
  EXPECT_EQ(r.count, static_cast<int16_t>(want.size()));
  expect_same_points(r.points, want);
  EXPECT_EQ(zv_intcurve_3d(ra.get(), rb.get(), nullptr), r.count);
  RecordProperty("crossings", static_cast<int>(want.size()));
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomPolylines, ::testing::Range(0, 24));

}  // namespace
