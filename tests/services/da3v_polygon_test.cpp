// Regular polygons of the geometry services: zv_regpolyxyzpnts.
#include "zv_testing.hpp"

#include <cmath>
#include <numbers>

namespace {

using RegularPolygon = zvtest::KernelTest;

// Corners on the circle, counter-clockwise by 2 pi / n, exact at quarter
// turns, closed bit for bit, numbered on from the count after earlier items.
TEST_F(RegularPolygon, CornersOnTheCircleCounterClockwiseExactAtQuarterTurnsAndClosed) {
  const zv_pnt_3d c{-3.5, 12.25, 7};
  const double r = 2.75, ex[] = {c.x + r, c.x, c.x - r, c.x}, ey[] = {c.y, c.y + r, c.y, c.y - r};
  for (int16_t n : {3, 4, 5, 8, 12, 13, 360}) {
    ll_list *list = zvtest::make_polygon({{9, 9, 9}});
    int16_t count = 40;
    ASSERT_EQ(zv_regpolyxyzpnts(&c, r, n, &count, 0, 0, list), 0);
    const auto v = zvtest::vertices(list);
    ll_purge_list(list);
    ASSERT_EQ(v.size(), n + 2u);
    EXPECT_EQ(count, 40 + n + 1);
    EXPECT_EQ(v[0].x, 9.0);
    EXPECT_EQ(std::memcmp(&v[1].x, &v[n + 1].x, 3 * sizeof(double)), 0);
    for (int i = 1; i <= n + 1; ++i) {
      const double dx = v[i].x - c.x, dy = v[i].y - c.y, px = v[i - 1].x - c.x, py = v[i - 1].y - c.y;
      EXPECT_TRUE(v[i].index == 39 + i && v[i].z == c.z) << i;
      EXPECT_NEAR(std::hypot(dx, dy), r, 1e-13);
      const double turn = std::atan2(px * dy - py * dx, px * dx + py * dy);  // from the previous corner
      EXPECT_TRUE(i == 1 || std::fabs(turn - 2 * std::numbers::pi / n) < 1e-12) << n << " " << i;
      const int q = 4 * (i - 1) / n % 4;  // an exact quarter turn when 4 (i - 1) is a multiple of n
      EXPECT_TRUE((4 * (i - 1)) % n != 0 || (v[i].x == ex[q] && v[i].y == ey[q])) << n << " " << i;
    }
  }
}

// Bad counts and null arguments give 1 and append nothing; the longest
// polygon numbers wrap; refused at every step, -1 with the vertices so far
// kept and counted.
TEST_F(RegularPolygon, BadArgumentsAppendNothingAndNumbersWrap) {
  ll_list *list = ll_create_list();
  const zv_pnt_3d c{1, 2, 3};
  int16_t count = 5;
  for (int16_t n : {2, 0, -3, INT16_MIN}) EXPECT_EQ(zv_regpolyxyzpnts(&c, 1.0, n, &count, 0, 0, list), 1) << n;
  EXPECT_EQ((std::vector<int>{zv_regpolyxyzpnts(nullptr, 1.0, 6, &count, 0, 0, list),
                              zv_regpolyxyzpnts(&c, 1.0, 6, nullptr, 0, 0, list),
                              zv_regpolyxyzpnts(&c, 1.0, 6, &count, 0, 0, nullptr)}),
            std::vector<int>(3, 1));
  EXPECT_TRUE(count == 5 && !list->head);
  count = 1;
  ASSERT_EQ(zv_regpolyxyzpnts(&c, 1.0, INT16_MAX, &count, 0, 0, list), 0);
  EXPECT_EQ(ll_list_length(list), 32768);
  EXPECT_EQ(count, INT16_MIN + 1);
  EXPECT_EQ(zvtest::vertices(list).back().index, INT16_MIN);
  ll_purge_list(list);
  for (long allowed = 0; allowed < 12; ++allowed) {
    list = ll_create_list();
    count = 0;
    zv_fail_alloc_after(allowed);
    EXPECT_EQ(zv_regpolyxyzpnts(&c, 1.0, 5, &count, 0, 0, list), -1) << allowed;
    zv_fail_alloc_after(-1);
    EXPECT_TRUE(ll_list_length(list) == allowed / 2 && count == allowed / 2) << allowed;
    ll_purge_list(list);
  }
}

}  // namespace
