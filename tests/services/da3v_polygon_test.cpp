// Regular polygons of the geometry services: zv_regpolyxyzpnts.
#include "zv_testing.hpp"

#include <cmath>
#include <numbers>

namespace {

using RegularPolygon = zvtest::KernelTest;

TEST_F(RegularPolygon, CornersOnTheCircleCounterClockwiseExactAtQuarterTurnsAndClosed) {
  const zv_pnt_3d c{-3.5, 12.25, 7};
  const double r = 2.75;
  for (int16_t n : {3, 4, 5, 8, 12, 13, 360}) {
    ll_list *list = zvtest::make_polygon({{9, 9, 9}});
    int16_t count = 40;  // numbers go on from the count; earlier items stay
    ASSERT_EQ(zv_regpolyxyzpnts(&c, r, n, &count, 0, 0, list), 0);
    const auto all = zvtest::vertices(list);
    ll_purge_list(list);
    ASSERT_EQ(all.size(), n + 2u);
    EXPECT_EQ(count, 40 + n + 1);
    EXPECT_EQ(all[0].x, 9.0);
    const std::vector<zvtest::Vertex> v(all.begin() + 1, all.end());
    EXPECT_EQ(std::memcmp(&v[0].x, &v[n].x, 3 * sizeof(double)), 0);  // the last repeats the first
    for (int i = 0; i <= n; ++i) {
      EXPECT_EQ(v[i].index, 40 + i);
      EXPECT_EQ(v[i].z, c.z);
      const double dx = v[i].x - c.x, dy = v[i].y - c.y;
      EXPECT_NEAR(std::hypot(dx, dy), r, 1e-13);
      if (i > 0) {
        const double px = v[i - 1].x - c.x, py = v[i - 1].y - c.y;
        EXPECT_NEAR(std::atan2(px * dy - py * dx, px * dx + py * dy), 2 * std::numbers::pi / n, 1e-12) << i;
      }
      if ((4 * i) % n == 0) {
        const int q = (4 * i / n) % 4;
        const double ex[] = {c.x + r, c.x, c.x - r, c.x}, ey[] = {c.y, c.y + r, c.y, c.y - r};
        EXPECT_EQ(v[i].x, ex[q]) << n << " " << i;
        EXPECT_EQ(v[i].y, ey[q]) << n << " " << i;
      }
    }
  }
}

TEST_F(RegularPolygon, BadArgumentsAppendNothingAndNumbersWrap) {
  ll_list *list = ll_create_list();
  const zv_pnt_3d c{1, 2, 3};
  int16_t count = 5;
  for (int16_t n : {2, 0, -3, INT16_MIN}) EXPECT_EQ(zv_regpolyxyzpnts(&c, 1.0, n, &count, 0, 0, list), 1) << n;
  EXPECT_EQ(zv_regpolyxyzpnts(nullptr, 1.0, 6, &count, 0, 0, list), 1);
  EXPECT_EQ(zv_regpolyxyzpnts(&c, 1.0, 6, nullptr, 0, 0, list), 1);
  EXPECT_EQ(zv_regpolyxyzpnts(&c, 1.0, 6, &count, 0, 0, nullptr), 1);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(list->head, nullptr);
  count = 1;
  ASSERT_EQ(zv_regpolyxyzpnts(&c, 1.0, INT16_MAX, &count, 0, 0, list), 0);
  EXPECT_EQ(ll_list_length(list), 32768);
  EXPECT_EQ(count, INT16_MIN + 1);
  EXPECT_EQ(zvtest::vertices(list).back().index, INT16_MIN);
  ll_purge_list(list);
  // Refused at every step: -1, the vertices so far stay and are counted.
  for (long allowed = 0; allowed < 12; ++allowed) {
    list = ll_create_list();
    count = 0;
    zv_fail_alloc_after(allowed);
    EXPECT_EQ(zv_regpolyxyzpnts(&c, 1.0, 5, &count, 0, 0, list), -1) << allowed;
    zv_fail_alloc_after(-1);
    EXPECT_EQ(ll_list_length(list), allowed / 2);
    EXPECT_EQ(count, allowed / 2);
    ll_purge_list(list);
  }
}

}  // namespace
