// One arch of a cycloid: the worked arch, the side of the radius' sign,
// the small segment counts and a null list.
#include <cmath>

#include "conic_checks.hpp"

namespace {

using zvtest::KernelTest;
using zvtest::vertices;

constexpr double kPi = 3.141592653589793;

class Cycloid : public KernelTest {};

TEST_F(Cycloid, ArchRisesOnTheSideOfTheRadiusSign) {
  for (double r : {1.0, -1.0}) {
    zv_pnt_3d start{1, 2, 3};
    int16_t n = 4, count = 0;
    ll_list *list = ll_create_list();
    EXPECT_EQ(zv_cycloidpnts_3d(&start, r, &n, list, &count), 0);
    EXPECT_EQ(count, 5);
    const auto v = vertices(list);
    const double x[5] = {1, 1 + kPi / 2 - 1, 1 + kPi, 1 + 3 * kPi / 2 + 1, 1 + 2 * kPi};
    const double rise[5] = {0, 1, 2, 1, 0};
    for (int i = 0; i < 5; ++i) {
      EXPECT_NEAR(v[i].x, x[i], 1e-14) << i;
      EXPECT_NEAR(v[i].y, 2 + r * rise[i], 1e-14) << i;
      EXPECT_EQ(v[i].z, 3.0);
      EXPECT_EQ(v[i].index, i);
    }
    EXPECT_EQ(v[4].x, 1 + 2 * kPi);  // the end is placed, not computed
    EXPECT_EQ(v[4].y, 2.0);
    ll_purge_list(list);
  }
}

TEST_F(Cycloid, SmallSegmentCounts) {
  for (int16_t given : {1, 0, -2}) {
    zv_pnt_3d start{1, 2, 3};
    int16_t n = given, count = 9;
    ll_list *list = ll_create_list();
    EXPECT_EQ(zv_cycloidpnts_3d(&start, 2.0, &n, list, &count), 0);
    EXPECT_EQ(count, given < 0 ? 0 : given + 1);
    const auto v = vertices(list);
    if (given >= 0) {
      EXPECT_EQ(v[0].x, 1.0);
    }
    if (given == 1) {
      EXPECT_EQ(v[1].x, 1 + 4 * kPi);
    }
    ll_purge_list(list);
  }
}

TEST_F(Cycloid, NullListCountsAndLeaksNothing) {
  zv_pnt_3d start{0, 0, 0};
  int16_t n = 10, count = 0;
  EXPECT_EQ(zv_cycloidpnts_3d(&start, 1.0, &n, nullptr, &count), 0);
  EXPECT_EQ(count, 11);
  EXPECT_EQ(zv_cycloidpnts_3d(&start, 1.0, nullptr, nullptr, &count), 2);
}

}  // namespace
