// zv_intcurve_3d: the lists it reads, the crossings it keeps and their order, counting, refused memory, bad inputs,
// and the pruned scan held to the plain all-pairs walk on random polylines.
#include <limits>
#include <optional>
#include <random>

#include "all_pairs_crossings.hpp"
#include "bad_inputs.hpp"
#include "spline_records.hpp"

namespace {

using zvtest::all_pairs_crossings;
using zvtest::Record;
using Points = std::vector<zv_pnt_3d>;
using Intersection = zvtest::KernelTest;

// A record whose vertex list and control list hold the points given (none: a null slot).
Record record(std::optional<Points> vertices, std::optional<Points> ctrl = Points{}) {
  Record c(zv_create_curve());
  ll_purge_list(c->vertex_list), ll_purge_list(c->ctrl_list);
  c->vertex_list = vertices ? zvtest::make_polygon(*vertices) : nullptr;
  c->ctrl_list = ctrl ? zvtest::make_polygon(*ctrl) : nullptr;
  return c;
}

// The points kept, checked against the count returned and numbered 0.
Points intersect(const Record &a, const Record &b) {
  rivezi3z::List<zv_poly_3d> out;
  const int16_t count = zv_intcurve_3d(a.get(), b.get(), out.get());
  const Points p = zvtest::positions(out.get());
  EXPECT_EQ(count, static_cast<int16_t>(p.size()));
  EXPECT_EQ(zvtest::indices(out.get()), std::vector<int>(p.size(), 0));
  return p;
}
Points cross(const Points &a, const Points &b) { return intersect(record(a), record(b)); }

void expect_same_points(const Points &got, const Points &want) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t k = 0; k < got.size(); ++k) EXPECT_EQ(zvtest::distance(got[k], want[k]), 0.0) << "point " << k;
}

// Both vertex lists are read when both records have one, even an empty one; else both control polygons. Bad inputs
// meet nothing, silently: a null record, no list kind shared, fewer than two vertices, a coordinate not finite.
TEST_F(Intersection, ListsReadAndBadInputs) {
  const Points rising = {{0, 0, 0}, {2, 2, 0}}, falling = {{0, 2, 0}, {2, 0, 0}};
  EXPECT_TRUE(intersect(record(Points{}, rising), record(falling, falling)).empty());
  expect_same_points(intersect(record(Points{{0, 0, 0}, {4, 4, 0}}, Points{{0, 0, 0}, {4, 0, 0}}),
                               record(std::nullopt, Points{{3, -1, 0}, {3, 1, 0}})), {{3, 0, 0}});
  const Record none, b = record(falling);
  for (const Record &a : {record(Points{{1, 1, 0}}), record(Points{}), record(Points{{0, 0, 0}, {2, zvtest::kNaN, 0}}),
                          record(Points{{-zvtest::kInf, 0, 0}, {2, 2, 0}})})
    EXPECT_TRUE(intersect(a, b).empty());
  EXPECT_TRUE(intersect(none, b).empty() && intersect(b, none).empty());
  EXPECT_TRUE(intersect(record(rising, std::nullopt), record(std::nullopt)).empty());
  EXPECT_TRUE(reports.messages.empty() && reports.memerrs.empty());
}

// A point agreeing with the one kept just before it is dropped (a crossing at a shared vertex counts once), while
// one met again after another is kept again; overlaps give the start of each overlap along A.
TEST_F(Intersection, KeptPointsAndTheirOrder) {
  EXPECT_LE(zvtest::distance(cross({{0, 0, 1}, {4, 2, 1}}, {{0, 2, 1}, {4, 0, 1}})[0], {2, 1, 1}), 1e-15);
  expect_same_points(cross({{0, 0, 0}, {1, 0, 0}, {2, 0.5, 0}}, {{1, -1, 0}, {1, 1, 0}}), {{1, 0, 0}});
  const Points back_and_forth = {{1, 1, 0}, {1, -1, 0}, {2, -1, 0}, {2, 1, 0}, {1, 1, 0}, {1, -1, 0}};
  expect_same_points(cross({{0, 0, 0}, {10, 0, 0}}, back_and_forth), {{1, 0, 0}, {2, 0, 0}, {1, 0, 0}});
  expect_same_points(cross({{0, 0, 0}, {2, 0, 0}, {4, 0, 0}}, {{1, 0, 0}, {3, 0, 0}}), {{1, 0, 0}, {2, 0, 0}});
  const Points line = {{-2, 0, 0}, {2, 0, 0}};
  EXPECT_EQ(cross(line, {{-1, 1, 0}, {0, 0, 0}, {1, 1, 0}}).size(), 1u);  // touching at an apex
  EXPECT_EQ(cross(line, {{-1, 0.9e-7, 0}, {1, 0.9e-7, 0}}).size(), 1u);  // within the tolerance
  EXPECT_EQ(cross(line, {{-1, 0, 1.1e-7}, {1, 0, 1.1e-7}}).size(), 0u);
  // Regression: far out the segment test widens to 16 ulps but the duplicate test stayed at 1e-7, so a crossing
  // just before a vertex was kept twice.
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

// A refused allocation is reported once, the points appended being the first of the answer; refused working memory
// of the pruned scan (60 crossings) is no error. A null list only counts; past 32767 the count wraps. The same
// record twice: two independent walks.
TEST_F(Intersection, RefusedMemoryCountingAndWrapping) {
  for (const int crossings : {5, 60}) {
    const auto [pa, pb] = zigzag(crossings, 7);
    const Points want = all_pairs_crossings(pa, pb);
    ASSERT_EQ(want.size(), static_cast<size_t>(crossings));
    const Record a = record(pa), b = record(pb);
    for (long k = 0; k <= 2 * crossings + 12; ++k) {
      rivezi3z::List<zv_poly_3d> out;
      reports.memerrs.clear();
      zv_fail_alloc_after(k);
      const int16_t got = zv_intcurve_3d(a.get(), b.get(), out.get());
      zv_fail_alloc_after(-1);
      const Points kept = zvtest::positions(out.get());
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
  const Record a = record(pa), b = record(pb);
  rivezi3z::List<zv_poly_3d> out;
  EXPECT_EQ(zv_intcurve_3d(a.get(), b.get(), out.get()), static_cast<int16_t>(33000 - 65536));
  EXPECT_EQ(out.size(), 33000);
  EXPECT_EQ(zv_intcurve_3d(a.get(), b.get(), nullptr), static_cast<int16_t>(33000 - 65536));
  const Points zb = zigzag(40, 3).second;
  const Record self = record(zb);
  expect_same_points(intersect(self, self), all_pairs_crossings(zb, zb));
}

// Random polylines making the pruning's edge cases common: lattice points nudged by fractions of the tolerance,
// wandering curves near and far from the origin, points on the other polyline moved off by about the tolerance,
// vertices not finite, and tours retraced so often that nearly every pair meets.
class RandomPolylines : public zvtest::KernelTest, public ::testing::WithParamInterface<int> {};

TEST_P(RandomPolylines, PrunedScanEqualsAllPairs) {
  const int seed = GetParam(), kind = seed % 3;
  std::mt19937_64 rng(0x1a7e5ec7u + static_cast<unsigned>(seed));
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const bool far = seed % 4 == 3;
  const zv_pnt_3d o = far ? zv_pnt_3d{3e8, -2e8, 1e8} : zv_pnt_3d{0, 0, 0};
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
        p.push_back({o.x + step() + nudge(), o.y + step() + nudge(), o.z + z + nudge()});
      } else if (style == 2 && k % 2) {
        const zv_pnt_3d &u = (*near)[rng() % (near->size() - 1)], &w = (&u)[1];
        const double t = 0.5 * (1.0 + unit(rng));
        p.push_back({u.x + t * (w.x - u.x), u.y + t * (w.y - u.y) + nudge(), u.z + t * (w.z - u.z) + nudge()});
      } else {  // planar, so they cross
        const double hx = heading.x + 0.6 * unit(rng), hy = heading.y + 0.6 * unit(rng), len = std::hypot(hx, hy);
        heading = {hx / len, hy / len, 0.0}, at = {at.x + 0.3 * heading.x, at.y + 0.3 * heading.y, 0.0};
        p.push_back({o.x + scale * at.x, o.y + scale * at.y, o.z});
      }
    }
    return p;
  };
  Points a = polyline(kind == 2 ? 1 : kind, nullptr), b = polyline(kind, &a);
  if (seed % 5 == 4) a[a.size() / 2].y = zvtest::kNaN, b[b.size() / 3].x = zvtest::kInf;  // not finite
  if (seed % 8 == 7) {  // a short tour retraced over and over, met by itself
    a.resize(std::min<size_t>(a.size(), 9));
    for (size_t k = 0, tour = a.size(); a.size() < 400; ++k) a.push_back(a[k % tour]);
    b = a;
  }
  const Record ra = record(a), rb = record(b);
  const Points got = intersect(ra, rb);
  expect_same_points(got, all_pairs_crossings(a, b));
  EXPECT_EQ(zv_intcurve_3d(ra.get(), rb.get(), nullptr), static_cast<int16_t>(got.size()));
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomPolylines, ::testing::Range(0, 24));

}  // namespace
