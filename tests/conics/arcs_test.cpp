// Circular arcs from a centre and two angles, and from an arc record:
// numbering, exact quarter turns, passing angle 0, reductions and n < 1.
#include <cmath>

#include "conic_checks.hpp"

namespace {

using zvtest::KernelTest;
using zvtest::vertices;

constexpr double kPi = 3.141592653589793;

class Arcs : public KernelTest {};

int16_t arc(double start, double end, int16_t n, ll_list *list, zv_pnt_3d c = {0, 0, 5}, double r = 2) {
  return zv_arcpnts_3d(c, r, start, end, n, list);
}

TEST_F(Arcs, HalfTurnLandsExactlyOnTheAxisPoints) {
  ll_list *list = ll_create_list();
  EXPECT_EQ(arc(0, kPi, 2, list), 3);
  const auto v = vertices(list);
  const double want[3][2] = {{2, 0}, {0, 2}, {-2, 0}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(v[i].x, want[i][0]);
    EXPECT_EQ(v[i].y, want[i][1]);
    EXPECT_EQ(v[i].z, 5.0);
    EXPECT_EQ(v[i].index, i);
  }
  ll_purge_list(list);
}

TEST_F(Arcs, NumbersContinueFromTheListsLastVertex) {
  ll_list *list = zvtest::make_polygon({{0, 0, 0}, {0, 0, 0}});
  auto *last = static_cast<zv_poly_3d *>(list->head->next->data);
  last->index = 7;
  EXPECT_EQ(arc(0, kPi, 2, list), 5);
  const auto v = vertices(list);
  EXPECT_EQ(v[2].index, 8);
  EXPECT_EQ(v[4].index, 10);
  last = static_cast<zv_poly_3d *>(list->head->next->next->next->next->data);
  last->index = 32767;
  arc(0, kPi, 1, list);
  EXPECT_EQ(vertices(list).back().index, -32767);  // 32767 + 2 wraps
  ll_purge_list(list);
}

TEST_F(Arcs, EndBelowStartPassesAngleZero) {
  ll_list *list = ll_create_list();
  arc(3 * kPi / 2, kPi / 2, 4, list);
  const auto v = vertices(list);
  ASSERT_EQ(v.size(), 5u);
  EXPECT_EQ(v[0].x, 0.0);
  EXPECT_EQ(v[0].y, -2.0);
  EXPECT_NEAR(v[1].x, std::sqrt(2.0), 1e-15);
  EXPECT_NEAR(v[1].y, -std::sqrt(2.0), 1e-15);
  EXPECT_EQ(v[2].x, 2.0);  // angle 2 pi, exact
  EXPECT_EQ(v[2].y, 0.0);
  EXPECT_EQ(v[4].x, 0.0);
  EXPECT_EQ(v[4].y, 2.0);
  ll_purge_list(list);
  // An end a hair below the start is the same angle, not a full turn.
  list = ll_create_list();
  arc(1.0, 1.0 - 5e-8, 4, list);
  const auto w = vertices(list);
  EXPECT_NEAR(w.front().x, w.back().x, 1e-6);
  ll_purge_list(list);
}

TEST_F(Arcs, FullTurnAndReducedStartAngles) {
  ll_list *list = ll_create_list();
  arc(0, 2 * kPi, 8, list);
  auto v = vertices(list);
  EXPECT_EQ(v.front().x, 2.0);
  EXPECT_EQ(v.back().x, 2.0);
  EXPECT_EQ(v.back().y, 0.0);
  ll_purge_list(list);
  for (double start : {4 * kPi + 1, 1e300, 2 * kPi + 5e-8}) {
    list = ll_create_list();
    arc(start, start, 2, list);  // a huge start is reduced, never looped over
    v = vertices(list);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_NEAR(std::hypot(v[0].x, v[0].y), 2.0, 1e-14) << start;
    ll_purge_list(list);
  }
  list = ll_create_list();
  arc(4 * kPi + 1, 4 * kPi + 1, 1, list);
  EXPECT_NEAR(vertices(list)[0].x, 2 * std::cos(1.0), 1e-14);
  ll_purge_list(list);
}

// n = 0 divided by zero and appended a NaN vertex.
TEST_F(Arcs, NoSegmentsOrNonFiniteAnglesAppendNothing) {
  ll_list *list = zvtest::make_polygon({{0, 0, 0}});
  EXPECT_EQ(arc(0, 1, 0, list), 1);
  EXPECT_EQ(arc(0, 1, -5, list), 1);
  EXPECT_EQ(arc(INFINITY, 1, 4, list), 1);
  EXPECT_EQ(arc(0, NAN, 4, list), 1);
  zv_arc_2d rec;
  zv_set_arc_2d(0, 0, 1, 0, 0, 1, &rec);
  EXPECT_EQ(zv_arc_pnts_3d(&rec, 0, 0, list), 1);
  EXPECT_EQ(arc(0, 1, 4, nullptr), 0);
  ll_purge_list(list);
}

TEST_F(Arcs, SmallCoordinatesSnapToZeroOnlyInTheCentreForm) {
  const double residue = std::cos(kPi / 3) - 0.5;
  ASSERT_NE(residue, 0.0);  // the case only means something with a residue
  ll_list *list = ll_create_list();
  arc(kPi / 3, kPi / 2, 1, list, {-0.5, 0, 0}, 1.0);
  EXPECT_EQ(vertices(list)[0].x, 0.0);
  ll_purge_list(list);
  zv_arc_2d rec;
  zv_set_arc_2d(-0.5, 0, 1, 0, kPi / 3, kPi / 2, &rec);
  list = ll_create_list();
  zv_arc_pnts_3d(&rec, 1, 0, list);
  EXPECT_EQ(vertices(list)[0].x, residue);
  ll_purge_list(list);
}

TEST_F(Arcs, RecordFormNumbersFromZeroAndCountsEverything) {
  ll_list *list = zvtest::make_polygon({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}});
  zv_arc_2d rec;
  zv_set_arc_2d(1, 2, 3, 0, 0, kPi, &rec);
  EXPECT_EQ(zv_arc_pnts_3d(&rec, 4, 7.5, list), 8);
  const auto v = vertices(list);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(v[3 + i].index, i);
    EXPECT_EQ(v[3 + i].z, 7.5);
    EXPECT_NEAR(std::hypot(v[3 + i].x - 1, v[3 + i].y - 2), 3.0, 1e-14);
  }
  ll_purge_list(list);
  EXPECT_EQ(zv_arc_pnts_3d(&rec, 4, 0, nullptr), 5);  // the private list's count; released
  EXPECT_EQ(zv_arc_pnts_3d(nullptr, 4, 0, nullptr), 0);
}

TEST_F(Arcs, RefusedMemoryReturnsTheCountSoFar) {
  ll_list *list = ll_create_list();
  zv_fail_alloc_after(6);  // three vertices with their nodes
  EXPECT_EQ(arc(0, kPi, 8, list), 3);
  zv_fail_alloc_after(-1);
  ASSERT_EQ(reports.memerrs.size(), 1u);
  EXPECT_EQ(reports.memerrs[0], "zv_arcpnts_3d");
  ll_purge_list(list);
}

}  // namespace
