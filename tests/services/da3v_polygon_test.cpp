// Regular polygons of the geometry services: zv_regpolyxyzpnts.
#include "zv_testing.hpp"

#include <cfloat>
#include <climits>
#include <cmath>
#include <numbers>

namespace {

using zvtest::items;
using zvtest::KernelTest;

using RegularPolygon = KernelTest;

using zvtest::Vertex;
using zvtest::vertices;

// Releases a list made by a test (null-safe).
struct ListGuard {
  ll_list *list;
  ~ListGuard() { ll_purge_list(list); }
};

// ===================================================== argument checks and result codes

TEST_F(RegularPolygon, TooFewCornersOrNullArgumentsAppendNothing) {
  ListGuard g{ll_create_list()};
  const zv_pnt_3d c{1, 2, 3};
  int16_t count = 5;
  for (int16_t n : {int16_t{2}, int16_t{1}, int16_t{0}, int16_t{-3}, int16_t{INT16_MIN}}) {
    EXPECT_EQ(zv_regpolyxyzpnts(&c, 1.0, n, &count, 0, 0, g.list), 1) << n;
  }
  EXPECT_EQ(zv_regpolyxyzpnts(nullptr, 1.0, 6, &count, 0, 0, g.list), 1);
  EXPECT_EQ(zv_regpolyxyzpnts(&c, 1.0, 6, nullptr, 0, 0, g.list), 1);
  EXPECT_EQ(zv_regpolyxyzpnts(&c, 1.0, 6, &count, 0, 0, nullptr), 1);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(g.list->head, nullptr);
}

TEST_F(RegularPolygon, RefusedMemoryKeepsTheVerticesSoFarAndLeaksNothing) {
  const zv_pnt_3d c{0, 0, 0};
  const int16_t n = 5;
  // Each vertex costs two kernel blocks (record and node); fail at every step.
  for (long allowed = 0; allowed < 2 * (n + 1); ++allowed) {
    ListGuard g{ll_create_list()};
    int16_t count = 0;
    zv_fail_alloc_after(allowed);
    EXPECT_EQ(zv_regpolyxyzpnts(&c, 1.0, n, &count, 0, 0, g.list), -1) << allowed;
    zv_fail_alloc_after(-1);
    EXPECT_EQ(ll_list_length(g.list), allowed / 2) << allowed;
    EXPECT_EQ(count, allowed / 2) << allowed;
  }
}

// ===================================================== geometry

class RegularPolygonSizes : public KernelTest, public ::testing::WithParamInterface<int> {};

TEST_P(RegularPolygonSizes, CornersLieOnTheCircleCounterClockwiseAndClose) {
  const int16_t n = static_cast<int16_t>(GetParam());
  const zv_pnt_3d c{-3.5, 12.25, 7};
  const double r = 2.75;
  ListGuard g{ll_create_list()};
  int16_t count = 0;
  ASSERT_EQ(zv_regpolyxyzpnts(&c, r, n, &count, 0, 0, g.list), 0);
  const auto v = vertices(g.list);
  ASSERT_EQ(v.size(), static_cast<size_t>(n) + 1);
  EXPECT_EQ(count, n + 1);

  // The first corner is at angle 0, exactly; the last repeats it bit for bit.
  EXPECT_EQ(v[0].x, c.x + r);
  EXPECT_EQ(v[0].y, c.y);
  EXPECT_EQ(std::memcmp(&v[0].x, &v[n].x, 3 * sizeof(double)), 0);
  EXPECT_EQ(v[n].index, n);

  const double step = 2 * std::numbers::pi / n;
  for (int i = 0; i <= n; ++i) {
    EXPECT_EQ(v[i].index, i);
    EXPECT_EQ(v[i].z, c.z);
    const double dx = v[i].x - c.x, dy = v[i].y - c.y;
    EXPECT_NEAR(std::hypot(dx, dy), r, 1e-13);
    if (i > 0) {
      // Consecutive radii turn by one step counter-clockwise.
      const double px = v[i - 1].x - c.x, py = v[i - 1].y - c.y;
      EXPECT_NEAR(std::atan2(px * dy - py * dx, px * dx + py * dy), step, 1e-12) << i;
    }
    if ((4 * i) % n == 0) {
      // Quarter turns sit exactly on the axes through the centre.
      const int q = (4 * i / n) % 4;
      const double ex[] = {c.x + r, c.x, c.x - r, c.x};
      const double ey[] = {c.y, c.y + r, c.y, c.y - r};
      EXPECT_EQ(v[i].x, ex[q]) << i;
      EXPECT_EQ(v[i].y, ey[q]) << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Corners, RegularPolygonSizes, ::testing::Values(3, 4, 5, 6, 8, 12, 13, 100, 360));

// ===================================================== numbering

TEST_F(RegularPolygon, NumbersFromTheGivenCountAndAppendsAfterExistingItems) {
  ListGuard g{zvtest::make_polygon({{9, 9, 9}, {8, 8, 8}})};
  const zv_pnt_3d c{0, 0, 0};
  int16_t count = 40;
  ASSERT_EQ(zv_regpolyxyzpnts(&c, 1.0, 4, &count, 0, 0, g.list), 0);
  EXPECT_EQ(count, 45);
  const auto v = vertices(g.list);
  ASSERT_EQ(v.size(), 7u);
  EXPECT_EQ(v[0].x, 9.0);
  EXPECT_EQ(v[1].x, 8.0);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(v[2 + i].index, 40 + i);
  // A square: (1,0), (0,1), (-1,0), (0,-1), (1,0), all exact.
  EXPECT_EQ(v[3].x, 0.0);
  EXPECT_EQ(v[3].y, 1.0);
  EXPECT_EQ(v[5].y, -1.0);
}

TEST_F(RegularPolygon, NumbersWrapAsInt16PastTheLargestCount) {
  ListGuard g{ll_create_list()};
  const zv_pnt_3d c{0, 0, 0};
  int16_t count = 1;
  ASSERT_EQ(zv_regpolyxyzpnts(&c, 1.0, INT16_MAX, &count, 0, 0, g.list), 0);
  EXPECT_EQ(ll_list_length(g.list), 32768);
  EXPECT_EQ(count, INT16_MIN + 1);
  const auto v = vertices(g.list);
  EXPECT_EQ(v[32766].index, INT16_MAX);
  EXPECT_EQ(v.back().index, INT16_MIN);
  EXPECT_EQ(v.back().x, 1.0);
  EXPECT_EQ(v.back().y, 0.0);
}

}  // namespace
