// Parabola: the point at a parameter, the arc between two parameters, the
// symmetric polyline through the vertex and the frame at a point.
#include <cmath>

#include "conic_checks.hpp"

namespace {

using zvtest::KernelTest;
using zvtest::vertices;

class Parabola : public KernelTest {};

using XY = std::vector<std::pair<double, double>>;

XY positions(const ll_list *list) {
  XY out;
  for (const auto &v : vertices(list)) out.emplace_back(v.x, v.y);
  return out;
}

// ------------------------------------------------------ point and arc

TEST_F(Parabola, PointSwapsTheRolesOfXAndYWithTheAxis) {
  zv_pnt_3d p{};
  zv_parabola_pnt_3d({1, 2, 3}, 0.5, 3.0, 0, &p);
  EXPECT_EQ(zvtest::value(p.x), 5.5);
  EXPECT_EQ(zvtest::value(p.y), 5.0);
  EXPECT_EQ(zvtest::value(p.z), 3.0);
  zv_parabola_pnt_3d({1, 2, 3}, 0.5, 3.0, 7, &p);
  EXPECT_EQ(zvtest::value(p.x), 4.0);
  EXPECT_EQ(zvtest::value(p.y), 6.5);
  zv_parabola_pnt_3d({1, 2, 3}, 0.5, 0.0, 1, &p);
  EXPECT_EQ(zvtest::value(p.x), 1.0);
  EXPECT_EQ(zvtest::value(p.y), 2.0);
}

TEST_F(Parabola, ArcRunsFromTheSmallerParameterWhateverTheOrder) {
  const XY want = {{1, -2}, {0.25, -1}, {0, 0}, {0.25, 1}, {1, 2}};
  for (double sign : {1.0, -1.0}) {
    ll_list *list = ll_create_list();
    zv_parabolic_arc_3d({0, 0, 0}, 1.0, 0, 4, sign, -sign, list);
    EXPECT_EQ(positions(list), want);
    for (const auto &v : vertices(list)) EXPECT_EQ(v.index, 1);
    ll_purge_list(list);
  }
}

TEST_F(Parabola, ArcSegmentCountsZeroAndNegative) {
  ll_list *list = ll_create_list();
  zv_parabolic_arc_3d({0, 0, 0}, 1.0, 0, 0, -1, 1, list);
  EXPECT_EQ(ll_list_length(list), 2);
  zv_parabolic_arc_3d({0, 0, 0}, 1.0, 0, -2, -1, 1, list);
  EXPECT_EQ(ll_list_length(list), 2);
  zv_parabolic_arc_3d({0, 0, 0}, 1.0, 0, 4, -1, 1, nullptr);  // nothing to fill, nothing made
  ll_purge_list(list);
}

TEST_F(Parabola, ArcReportsRefusedMemoryAndKeepsEarlierVertices) {
  ll_list *list = ll_create_list();
  zv_fail_alloc_after(4);  // two vertices with their nodes
  zv_parabolic_arc_3d({0, 0, 0}, 1.0, 0, 4, -1, 1, list);
  zv_fail_alloc_after(-1);
  EXPECT_EQ(ll_list_length(list), 2);
  ASSERT_EQ(reports.memerrs.size(), 1u);
  EXPECT_EQ(reports.memerrs[0], "zv_parabolic_arc_3d");
  ll_purge_list(list);
}

// ------------------------------------------------- symmetric polyline

XY polyline(uint8_t mode, double a, int16_t n_in = 2, int16_t *n_out = nullptr) {
  zv_pnt_3d v{1, 2, 3};
  int16_t n = n_in, count = 0;
  ll_list *list = ll_create_list();
  EXPECT_EQ(zv_parabolapnts_3d(mode, &v, a, 4.0, &n, &count, list), 0);
  EXPECT_EQ(count, n + 1);
  if (n_out) *n_out = n;
  int expected = 1;
  for (const auto &p : vertices(list)) EXPECT_EQ(p.index, expected++);
  XY out = positions(list);
  ll_purge_list(list);
  return out;
}

TEST_F(Parabola, PolylineOpensTowardsTheSignOfTheFocalDistance) {
  EXPECT_EQ(polyline(0, 1.0), (XY{{5, 6}, {1, 2}, {5, -2}}));
  EXPECT_EQ(polyline(0, -1.0), (XY{{-3, -2}, {1, 2}, {-3, 6}}));
  EXPECT_EQ(polyline(1, -1.0), (XY{{5, -2}, {1, 2}, {-3, -2}}));
  EXPECT_EQ(polyline(1, 1.0), (XY{{-3, 6}, {1, 2}, {5, 6}}));
}

TEST_F(Parabola, SegmentCountsRiseToEvenWithoutLeavingInt16) {
  int16_t n = 0;
  EXPECT_EQ(polyline(0, 1.0, 7, &n).size(), 9u);
  EXPECT_EQ(n, 8);
  polyline(0, 1.0, 0, &n);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(polyline(1, 1.0, 32767, &n).size(), 32767u);
  EXPECT_EQ(n, 32766);
}

// Modes 2 and 3 used to report success with nothing drawn.
TEST_F(Parabola, BadArgumentsClearTheCountsAndAppendNothing) {
  const struct {
    uint8_t mode;
    double a, length;
    int16_t result;
  } cases[] = {{2, 1, 4, 1}, {3, 1, 4, 1}, {4, 1, 4, 1}, {0, 5e-8, 4, 73}, {0, 1, 0, 74}, {1, 1, NAN, 74}};
  for (const auto &c : cases) {
    zv_pnt_3d v{1, 2, 3};
    int16_t n = 6, count = 9;
    ll_list *list = ll_create_list();
    EXPECT_EQ(zv_parabolapnts_3d(c.mode, &v, c.a, c.length, &n, &count, list), c.result);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(ll_list_length(list), 0);
    ll_purge_list(list);
  }
  zv_pnt_3d v{1, 2, 3};
  int16_t n = 2, count = 0;
  EXPECT_EQ(zv_parabolapnts_3d(0, &v, 1, 4, &n, &count, nullptr), 2);
  EXPECT_TRUE(reports.messages.empty());
}

class ParabolaRandom : public KernelTest, public ::testing::WithParamInterface<int> {};

TEST_P(ParabolaRandom, EveryVertexLiesOnTheParabolaAndEarlierItemsStay) {
  conictest::Random r(GetParam());
  zv_pnt_3d v = r.point();
  const double a = (GetParam() % 2 ? -1 : 1) * r.axis();
  for (uint8_t mode : {0, 1}) {
    ll_list *list = zvtest::make_polygon({{-7, -7, -7}});
    int16_t n = static_cast<int16_t>(2 + 3 * GetParam()), count = 0;
    const double length = r.axis();
    ASSERT_EQ(zv_parabolapnts_3d(mode, &v, a, length, &n, &count, list), 0);
    const auto all = vertices(list);
    ASSERT_EQ(static_cast<long>(all.size()), 1 + count);
    EXPECT_EQ(all[0].x, -7.0);
    for (size_t i = 1; i < all.size(); ++i) {
      const double along = mode == 0 ? all[i].x - v.x : all[i].y - v.y;
      const double across = mode == 0 ? all[i].y - v.y : all[i].x - v.x;
      const double scale = std::fabs(4 * a * length) + 1e-3 * std::fabs(v.x) + 1e-3 * std::fabs(v.y);
      EXPECT_NEAR(across * across, 4 * a * along, 1e-12 * scale) << i;
      EXPECT_EQ(all[i].z, v.z);
    }
    ll_purge_list(list);
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ParabolaRandom, ::testing::Range(0, 24));

// ----------------------------------------------------------------- frame

TEST_P(ParabolaRandom, FrameIsTheUnitNormalAndTangentOnEitherAxis) {
  conictest::Random r(300 + GetParam());
  const zv_pnt_3d v = r.point();
  const double a = (GetParam() % 2 ? -1 : 1) * r.axis();
  for (double t : {-3.0, -0.5, 0.0, 0.25, 2.0}) {
    for (int16_t axis : {0, 1}) {
      zv_pnt_3d p{};
      zv_parabola_pnt_3d(v, a, t, axis, &p);
      zv_vector_3d first, second;
      ASSERT_EQ(zv_parabola_stats_3d(v, a, axis, p, &first, &second), 0);
      // Gradient of (across)^2 - 4a(along), halved: (-2a, across) in axis order.
      const double across = 2 * a * t;
      if (axis == 0)
        conictest::expect_gradient_frame(first, second, -2 * a, across);
      else
        conictest::expect_gradient_frame(first, second, across, -2 * a);
    }
  }
}

TEST_F(Parabola, FrameRejectsADegenerateFocusAndPointsOffThePlaneSilently) {
  zv_vector_3d first = conictest::marked(), second = conictest::marked();
  EXPECT_EQ(zv_parabola_stats_3d({0, 0, 0}, 1e-7, 0, {0, 0, 0}, &first, &second), 82);
  EXPECT_EQ(zv_parabola_stats_3d({0, 0, 0}, 1, 0, {0, 0, 2e-7}, &first, &second), 83);
  EXPECT_TRUE(conictest::still_marked(first));
  EXPECT_TRUE(conictest::still_marked(second));
}

}  // namespace
