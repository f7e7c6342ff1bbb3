// zv_intcurve_3d: which lists it reads, the crossing points it keeps and
// their order, counting without a list, refused memory, and the pruned scan
// held to the plain all-pairs walk on random polylines.
#include <cmath>
#include <limits>
#include <random>

#include "all_pairs_crossings.hpp"
#include "bad_inputs.hpp"
#include "spline_records.hpp"

namespace {

using zvtest::all_pairs_crossings;
using zvtest::BadInput;
using zvtest::kInf;
using zvtest::kNaN;
using Points = std::vector<zv_pnt_3d>;

// A record whose vertex list (or, with control, control list) holds the points.
zvtest::Record record(const Points &points, bool control = false) {
  zvtest::Record c(zv_create_curve());
  if (control) ll_purge_list(c->ctrl_list), c->ctrl_list = zvtest::make_polygon(points);
  else ll_purge_list(c->vertex_list), c->vertex_list = zvtest::make_polygon(points);
  return c;
}

// The points kept, checked against the count returned and numbered 0.
Points intersect(zv_curve *a, zv_curve *b) {
  ll_list *out = ll_create_list();
  const int16_t count = zv_intcurve_3d(a, b, out);
  Points p = zvtest::positions(out);
  EXPECT_EQ(count, static_cast<int16_t>(p.size()));
  EXPECT_EQ(zvtest::indices(out), std::vector<int>(p.size(), 0));
  ll_purge_list(out);
  return p;
}
Points cross(const Points &a, const Points &b) { return intersect(record(a).get(), record(b).get()); }

void expect_same_points(const Points &got, const Points &want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t k = 0; k < got.size(); ++k) EXPECT_EQ(zvtest::distance(got[k], want[k]), 0.0) << "point " << k;
}

using Intersection = zvtest::KernelTest;

// Both records have a vertex list slot: those are read even when one is empty; without one in either record
// both control polygons are read.
TEST_F(Intersection, VertexListsFirstThenControlPolygons) {
  zvtest::Record a = record({{0, 0, 0}, {2, 2, 0}}, true), b = record({{0, 2, 0}, {2, 0, 0}});
  ll_purge_list(b->ctrl_list);
  b->ctrl_list = zvtest::make_polygon({{0, 2, 0}, {2, 0, 0}});
  EXPECT_TRUE(intersect(a.get(), b.get()).empty());
  zvtest::Record c = record({{0, 0, 0}, {4, 4, 0}}), d = record({{3, -1, 0}, {3, 1, 0}}, true);
  ll_purge_list(c->ctrl_list);
  c->ctrl_list = zvtest::make_polygon({{0, 0, 0}, {4, 0, 0}});
  ll_purge_list(d->vertex_list);
  d->vertex_list = nullptr;
  expect_same_points(intersect(c.get(), d.get()), {{3, 0, 0}});
}

// A point agreeing with the one kept just before it is dropped (a crossing at a shared vertex counts once),
// while one met again after another is kept again; overlaps give the start of each overlap along A.
TEST_F(Intersection, KeptPointsAndTheirOrder) {
  EXPECT_LE(zvtest::distance(cross({{0, 0, 1}, {4, 2, 1}}, {{0, 2, 1}, {4, 0, 1}})[0], {2, 1, 1}), 1e-15);
  expect_same_points(cross({{0, 0, 0}, {1, 0, 0}, {2, 0.5, 0}}, {{1, -1, 0}, {1, 1, 0}}), {{1, 0, 0}});
  expect_same_points(cross({{0, 0, 0}, {10, 0, 0}}, {{1, 1, 0}, {1, -1, 0}, {2, -1, 0}, {2, 1, 0}, {1, 1, 0}, {1, -1, 0}}),
                     {{1, 0, 0}, {2, 0, 0}, {1, 0, 0}});
  expect_same_points(cross({{0, 0, 0}, {2, 0, 0}, {4, 0, 0}}, {{1, 0, 0}, {3, 0, 0}}), {{1, 0, 0}, {2, 0, 0}});
  const Points line = {{-2, 0, 0}, {2, 0, 0}};
  EXPECT_EQ(cross(line, {{-1, 1, 0}, {0, 0, 0}, {1, 1, 0}}).size(), 1u);  // touching at an apex
  EXPECT_EQ(cross(line, {{-1, 0.9e-7, 0}, {1, 0.9e-7, 0}}).size(), 1u);  // within the tolerance
  EXPECT_EQ(cross(line, {{-1, 0, 1.1e-7}, {1, 0, 1.1e-7}}).size(), 0u);
  // Regression: far out the segment test widens to 16 ulps but the duplicate test stayed at 1e-7, so a
  // crossing just before a vertex was kept twice.
  for (const double x : {1e8, 1e9}) {
    const double off = 0.6 * 16 * std::numeric_limits<double>::epsilon() * x;
    EXPECT_EQ(cross({{x - 1, 0, 0}, {x, 0, 0}, {x + 1, 1, 0}}, {{x - off, -1, 0}, {x - off, 1, 0}}).size(), 1u) << x;
  }
}

// A zigzag B crossing the long axis-parallel polyline A many times.
std::pair<Points, Points> zigzag(int crossings, unsigned seed) {
  std::mt19937_64 rng(seed);
  std::uniform_real_distribution<double> jitter(0.0, 0.4);
  Points a, b;
  for (int k = 0; k <= 2 * crossings; ++k) a.push_back({0.5 * k, 0.0, 0.0});
  for (int k = 0; k <= crossings; ++k) b.push_back({k + jitter(rng), k % 2 ? 1.0 : -1.0, 0.0});
  return {a, b};
}

// Whatever allocation is refused, the function reports once and returns the points appended, the first of the
// full answer; refused working memory of the pruned scan (60 crossings) is no error. A null list only counts,
// making nothing; past 32767 crossings the count wraps. The same record twice: two independent walks.
TEST_F(Intersection, RefusedMemoryCountingAndWrapping) {
  for (const int crossings : {5, 60}) {
    const auto [pa, pb] = zigzag(crossings, 7);
    const Points want = all_pairs_crossings(pa, pb);
    ASSERT_EQ(want.size(), static_cast<size_t>(crossings));
    zvtest::Record a = record(pa), b = record(pb);
    for (long k = 0; k <= 2 * crossings + 12; ++k) {
      ll_list *out = ll_create_list();
      reports.memerrs.clear();
      zv_fail_alloc_after(k);
      const int16_t got = zv_intcurve_3d(a.get(), b.get(), out);
      zv_fail_alloc_after(-1);
      const Points kept = zvtest::positions(out);
      ll_purge_list(out);
      ASSERT_EQ(static_cast<size_t>(got), kept.size()) << "k = " << k;
      expect_same_points(kept, Points(want.begin(), want.begin() + got));
      EXPECT_EQ(reports.memerrs.size(), kept.size() < want.size() ? 1u : 0u) << "k = " << k;
    }
    zv_fail_alloc_after(0);  // any allocation would now be refused and reported
    EXPECT_EQ(zv_intcurve_3d(a.get(), b.get(), nullptr), crossings);
    zv_fail_alloc_after(-1);
  }
  EXPECT_EQ(reports.memerrs.size(), 0u);
  const auto [pa, pb] = zigzag(33000, 11);
  zvtest::Record a = record(pa), b = record(pb);
  ll_list *out = ll_create_list();
  EXPECT_EQ(zv_intcurve_3d(a.get(), b.get(), out), static_cast<int16_t>(33000 - 65536));
  EXPECT_EQ(ll_list_length(out), 33000);
  EXPECT_EQ(zv_intcurve_3d(a.get(), b.get(), nullptr), static_cast<int16_t>(33000 - 65536));
  ll_purge_list(out);
  const Points zb = zigzag(40, 3).second;
  zvtest::Record self = record(zb);
  expect_same_points(intersect(self.get(), self.get()), all_pairs_crossings(zb, zb));
}

// Random polylines that make the pruning's edge cases common: lattice points nudged by fractions of the
// tolerance (boxes that only meet once grown, shared vertices, collinear overlaps, crossings at vertices),
// wandering curves near and far from the origin, points placed on the other polyline and moved off by about the
// tolerance, vertices that are not finite, and tours retraced so often that nearly every pair meets.
class RandomPolylines : public zvtest::KernelTest, public ::testing::WithParamInterface<int> {};

TEST_P(RandomPolylines, PrunedScanEqualsAllPairs) {
  const int seed = GetParam(), kind = seed % 3;
  std::mt19937_64 rng(0x1a7e5ec7u + static_cast<unsigned>(seed));
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const bool far = seed % 4 == 3;
  const zv_pnt_3d offset = far ? zv_pnt_3d{3e8, -2e8, 1e8} : zv_pnt_3d{0, 0, 0};
  const double tolerance = far ? 16 * std::numeric_limits<double>::epsilon() * 3e8 : ZV_DA3V_TOLERANCE;
  const double scale = kind == 1 ? std::pow(10.0, std::uniform_int_distribution<int>(-2, 3)(rng)) : 1.0;
  const double nudges[] = {0.0, 0.0, 0.0, 0.5, 0.99, 1.01, 2.0, -0.5, -0.99, -1.01};
  const auto nudge = [&] { return nudges[rng() % 10] * tolerance; };
  const auto step = [&] { return static_cast<double>(static_cast<int>(rng() % 9) - 4); };
  const auto polyline = [&](int style, const Points *near) {
    Points p;
    zv_pnt_3d at{0, 0, 0}, heading{1, 0, 0};
    for (int k = 0, n = 20 + static_cast<int>(rng() % 381); k < n; ++k) {
      if (style == 0) {
        const double z = k % 3 ? 0.0 : step();
        p.push_back({offset.x + step() + nudge(), offset.y + step() + nudge(), offset.z + z + nudge()});
      } else if (style == 2 && k % 2) {
        const zv_pnt_3d &u = (*near)[rng() % (near->size() - 1)], &w = (&u)[1];
        const double t = 0.5 * (1.0 + unit(rng));
        p.push_back({u.x + t * (w.x - u.x), u.y + t * (w.y - u.y) + nudge(), u.z + t * (w.z - u.z) + nudge()});
      } else {  // planar, so they cross
        heading = {heading.x + 0.6 * unit(rng), heading.y + 0.6 * unit(rng), 0.0};
        const double len = std::hypot(heading.x, heading.y);
        heading = {heading.x / len, heading.y / len, 0.0};
        at = {at.x + 0.3 * heading.x, at.y + 0.3 * heading.y, 0.0};
        p.push_back({offset.x + scale * at.x, offset.y + scale * at.y, offset.z});
      }
    }
    return p;
  };
  Points a = polyline(kind == 2 ? 1 : kind, nullptr), b = polyline(kind, &a);
  if (seed % 5 == 4) a[a.size() / 2].y = kNaN, b[b.size() / 3].x = kInf;  // one vertex of each is not finite
  if (seed % 8 == 7) {  // a short tour retraced over and over, met by itself
    a.resize(std::min<size_t>(a.size(), 9));
    for (size_t k = 0, tour = a.size(); a.size() < 400; ++k) a.push_back(a[k % tour]);
    b = a;
  }
  zvtest::Record ra = record(a), rb = record(b);
  const Points got = intersect(ra.get(), rb.get());
  expect_same_points(got, all_pairs_crossings(a, b));
  EXPECT_EQ(zv_intcurve_3d(ra.get(), rb.get(), nullptr), static_cast<int16_t>(got.size()));
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomPolylines, ::testing::Range(0, 24));

const Points kRising = {{0, 0, 0}, {2, 2, 0}}, kFalling = {{0, 2, 0}, {2, 0, 0}};

// A record with the given vertex list; without_ctrl clears its control
// list slot, without_vertices its vertex list slot.
zv_curve *bare_record(const Points &points, bool without_ctrl = false, bool without_vertices = false) {
  zv_curve *c = zv_create_curve();
  ll_purge_list(c->vertex_list);
  c->vertex_list = without_vertices ? nullptr : zvtest::make_polygon(points);
  if (without_ctrl) ll_purge_list(c->ctrl_list), c->ctrl_list = nullptr;
  return c;
}

// The crossings of two records into a fresh list (or none): the result, or
// 1000 + the list's length when they disagree.
long cross(zv_curve *a, zv_curve *b, bool with_out = true) {
  ll_list *out = with_out ? ll_create_list() : nullptr;
  const long r = zv_intcurve_3d(a, b, out), n = ll_list_length(out);
  ll_purge_list(out);
  zv_purge_curve(a);
  if (b != a) zv_purge_curve(b);
  return with_out && n != r ? 1000 + n : r;
}

TEST_F(Intersection, BadInputTable) {
  const std::vector<BadInput> rows = {
      {"zv_intcurve_3d", "null first record", [] { return cross(nullptr, bare_record(kFalling)); }, 0},
      {"zv_intcurve_3d", "null second record", [] { return cross(bare_record(kRising), nullptr); }, 0},
      {"zv_intcurve_3d", "no list kind shared", [] { return cross(bare_record(kRising, true), bare_record(kFalling, false, true)); }, 0},
      {"zv_intcurve_3d", "single vertex", [] { return cross(bare_record({{1, 1, 0}}), bare_record(kFalling)); }, 0},
      {"zv_intcurve_3d", "empty vertex list", [] { return cross(bare_record({}), bare_record(kFalling)); }, 0},
      {"zv_intcurve_3d", "NaN coordinate meets nothing", [] { return cross(bare_record({{0, 0, 0}, {2, kNaN, 0}}), bare_record(kFalling)); }, 0},
      {"zv_intcurve_3d", "infinite coordinate meets nothing", [] { return cross(bare_record({{-kInf, 0, 0}, {2, 2, 0}}), bare_record(kFalling)); }, 0},
      {"zv_intcurve_3d", "null out only counts", [] { return cross(bare_record(kRising), bare_record(kFalling), false); }, 1},
  };
  zvtest::check_bad_inputs(reports, rows);
}

}  // namespace
