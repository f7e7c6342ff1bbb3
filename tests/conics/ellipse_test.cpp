// Ellipse: the point at an angle, the closed polyline in a rectangle, the
// arc between two angles and the frame at a point.
#include <cmath>

#include "conic_checks.hpp"

namespace {

using zvtest::KernelTest;
using zvtest::Message;
using zvtest::vertices;

constexpr double kPi = 3.141592653589793;

class Ellipse : public KernelTest {};

// Off the equation (x - cx)^2/a^2 + (y - cy)^2/b^2 = 1, relative to 1.
double residual(const zvtest::Vertex &v, double cx, double cy, double a, double b) {
  const double u = (v.x - cx) / a, w = (v.y - cy) / b;
  return std::fabs(u * u + w * w - 1.0);
}

// ------------------------------------------------- the point at an angle

TEST_F(Ellipse, PointAtAFullTurnIsReducedOnceToTheStart) {
  const zv_pnt_3d c{1, 2, 3};
  zv_pnt_3d p{};
  ASSERT_EQ(zv_ellipse_pnt_3d(c, 2.0, 1.0, 2 * kPi, &p), 0);
  EXPECT_EQ(zvtest::value(p.x), 3.0);
  EXPECT_NEAR(p.y, 2.0, 1e-15);
  EXPECT_EQ(zvtest::value(p.z), 3.0);
  ASSERT_EQ(zv_ellipse_pnt_3d(c, 2.0, 1.0, 4 * kPi, &p), 0);  // once only: 2 pi, the same point
  EXPECT_NEAR(p.x, 3.0, 1e-14);
  EXPECT_NEAR(p.y, 2.0, 1e-14);
}

TEST_F(Ellipse, PointRejectsASemiAxisNotAboveTheToleranceWithItsMessage) {
  for (double a : {1e-7, -2.0, double(NAN)}) {
    zv_pnt_3d p{9, 9, 9};
    EXPECT_EQ(zv_ellipse_pnt_3d({0, 0, 0}, a, 1.0, 0.5, &p), 75);
    EXPECT_EQ(zvtest::value(p.x), 9.0);  // untouched
  }
  EXPECT_EQ(reports.messages.size(), 3u);
  EXPECT_EQ(reports.messages[0], (Message{"BADRECT", 75, "zv_ellipse_pnt_3d"}));
  EXPECT_EQ(zv_ellipse_pnt_3d({0, 0, 0}, 1.0, 1.0, 0.0, nullptr), 2);
}

// ------------------------------------------------------- closed polyline

TEST_F(Ellipse, FourSegmentsAreTheExactQuarterPointsNumberedOne) {
  zv_pnt_3d p1{2, 1, 5}, p2{0, 0, 9};  // p1 is not the lower-left corner: centre (3, 1.5)
  int16_t n = 0, count = -1;
  ll_list *list = ll_create_list();
  ASSERT_EQ(zv_ellipsepnts_3d(&p1, &p2, &n, &count, list), 0);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(count, 5);
  const auto v = vertices(list);
  const double want[5][2] = {{4, 1.5}, {3, 2}, {2, 1.5}, {3, 1}, {4, 1.5}};
  ASSERT_EQ(v.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(v[i].x, want[i][0]) << i;
    EXPECT_EQ(v[i].y, want[i][1]) << i;
    EXPECT_EQ(v[i].z, 5.0);
    EXPECT_EQ(v[i].index, 1);
  }
  ll_purge_list(list);
}

TEST_F(Ellipse, SegmentCountsRiseToAMultipleOfFourWithoutLeavingInt16) {
  const struct {
    int16_t in, out;
  } cases[] = {{5, 8}, {-3, 4}, {8, 8}, {32761, 32764}, {32765, 32764}, {32767, 32764}};
  for (const auto &c : cases) {
    zv_pnt_3d p1{0, 0, 0}, p2{4, 2, 0};
    int16_t n = c.in, count = 0;
    ll_list *list = ll_create_list();
    ASSERT_EQ(zv_ellipsepnts_3d(&p1, &p2, &n, &count, list), 0);
    EXPECT_EQ(n, c.out) << c.in;
    EXPECT_EQ(count, c.out + 1);
    EXPECT_EQ(ll_list_length(list), c.out + 1);
    ll_purge_list(list);
  }
}

class EllipseRandom : public KernelTest, public ::testing::WithParamInterface<int> {};

TEST_P(EllipseRandom, EveryVertexLiesOnTheEllipseCounterClockwise) {
  conictest::Random r(GetParam());
  const zv_pnt_3d c = r.point();
  const double a = r.axis(), b = r.axis();
  zv_pnt_3d p1{c.x - a, c.y - b, c.z}, p2{c.x + a, c.y + b, 0.0};
  int16_t n = static_cast<int16_t>(4 + GetParam() * 7), count = 0;
  ll_list *list = ll_create_list();
  ASSERT_EQ(zv_ellipsepnts_3d(&p1, &p2, &n, &count, list), 0);
  const auto v = vertices(list);
  ASSERT_EQ(static_cast<long>(v.size()), count);
  const double cx = p1.x + std::fabs((p2.x - p1.x) / 2), cy = p1.y + std::fabs((p2.y - p1.y) / 2);
  const double tol = conictest::tolerance(std::max(std::fabs(cx), std::fabs(cy)), std::min(a, b));
  double turned = 0.0;
  for (size_t i = 0; i < v.size(); ++i) {
    EXPECT_LE(residual(v[i], cx, cy, a, b), tol) << i;
    EXPECT_EQ(v[i].z, c.z);
    if (i > 0) turned += std::atan2((v[i - 1].x - cx) * (v[i].y - cy) - (v[i - 1].y - cy) * (v[i].x - cx),
                                    (v[i - 1].x - cx) * (v[i].x - cx) + (v[i - 1].y - cy) * (v[i].y - cy));
  }
  EXPECT_NEAR(turned, 2 * kPi, 1e-9);  // once round, counter-clockwise
  EXPECT_EQ(v.front().x, v.back().x);
  EXPECT_EQ(v.front().y, v.back().y);
  ll_purge_list(list);
}

INSTANTIATE_TEST_SUITE_P(Seeds, EllipseRandom, ::testing::Range(0, 24));

// A list that already held vertices used to have them mirrored and
// appended too; now only this call's vertices are mirrored.
TEST_F(Ellipse, PolylineMirrorsOnlyItsOwnVertices) {
  ll_list *list = zvtest::make_polygon({{100, 100, 100}, {200, 200, 200}});
  zv_pnt_3d p1{0, 0, 0}, p2{2, 2, 0};
  int16_t n = 8, count = 0;
  ASSERT_EQ(zv_ellipsepnts_3d(&p1, &p2, &n, &count, list), 0);
  const auto v = vertices(list);
  ASSERT_EQ(v.size(), 2u + 9u);
  EXPECT_EQ(v[0].x, 100.0);
  EXPECT_EQ(v[1].x, 200.0);
  for (size_t i = 2; i < v.size(); ++i) EXPECT_NEAR(residual(v[i], 1, 1, 1, 1), 0.0, 1e-14);
  ll_purge_list(list);
}

TEST_F(Ellipse, PolylineOnANullListCountsAndLeaksNothing) {
  zv_pnt_3d p1{0, 0, 0}, p2{4, 2, 0};
  int16_t n = 12, count = 0;
  EXPECT_EQ(zv_ellipsepnts_3d(&p1, &p2, &n, &count, nullptr), 0);
  EXPECT_EQ(count, 13);  // the fixture checks the private list was released
}

TEST_F(Ellipse, DegenerateRectangleKeepsNAndCountsNothing) {
  zv_pnt_3d p1{1, 0, 0}, p2{1, 5, 0};
  int16_t n = 7, count = 3;
  EXPECT_EQ(zv_ellipsepnts_3d(&p1, &p2, &n, &count, nullptr), 75);
  EXPECT_EQ(n, 7);
  EXPECT_EQ(count, 0);
  ASSERT_EQ(reports.messages.size(), 1u);
  EXPECT_EQ(reports.messages[0], (Message{"BADRECT", 75, "zv_ellipsepnts"}));
}

TEST_F(Ellipse, PolylineReportsRefusedMemoryAndKeepsWhatItAppended) {
  for (long budget = 0; budget < 12; ++budget) {
    ll_list *list = ll_create_list();
    zv_pnt_3d p1{0, 0, 0}, p2{4, 2, 0};
    int16_t n = 8, count = 0;
    zv_fail_alloc_after(budget);
    const int16_t rc = zv_ellipsepnts_3d(&p1, &p2, &n, &count, list);
    zv_fail_alloc_after(-1);
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(count, ll_list_length(list));
    ll_purge_list(list);
  }
  EXPECT_EQ(reports.memerrs.size(), 12u);
  EXPECT_EQ(reports.memerrs[0], "zv_ellipsepnts_3d");
}

// ------------------------------------------------------------------- arc

TEST_F(Ellipse, ArcFromThreeQuartersToAQuarterPassesAngleZero) {
  zv_pnt_3d p1{-2, -1, 4}, p2{2, 1, 0};
  int16_t n = 4;
  ll_list *list = ll_create_list();
  ASSERT_EQ(zv_elliptic_arc_3d(&p1, &p2, &n, 3 * kPi / 2, kPi / 2, list), 0);
  const auto v = vertices(list);
  ASSERT_EQ(v.size(), 5u);
  const double want[5][2] = {{0, -1}, {std::sqrt(2.0), -std::sqrt(0.5)}, {2, 0}, {std::sqrt(2.0), std::sqrt(0.5)}, {0, 1}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_NEAR(v[i].x, want[i][0], 1e-14) << i;
    EXPECT_NEAR(v[i].y, want[i][1], 1e-14) << i;
    EXPECT_EQ(v[i].z, 4.0);
    EXPECT_EQ(v[i].index, 1);
  }
  ll_purge_list(list);
}

TEST_F(Ellipse, ArcWithNoSegmentsWritesBackOneAndDrawsItsEnds) {
  zv_pnt_3d p1{0, 0, 0}, p2{4, 2, 0};
  int16_t n = 0;
  ll_list *list = ll_create_list();
  ASSERT_EQ(zv_elliptic_arc_3d(&p1, &p2, &n, 0.0, kPi, list), 0);
  EXPECT_EQ(n, 1);
  const auto v = vertices(list);
  ASSERT_EQ(v.size(), 2u);
  EXPECT_EQ(v[0].x, 4.0);
  EXPECT_NEAR(v[1].x, 0.0, 1e-15);
  ll_purge_list(list);
  EXPECT_EQ(zv_elliptic_arc_3d(&p1, &p2, &n, 0.0, kPi, nullptr), 0);  // private list released
  p2.y = 0.0;
  EXPECT_EQ(zv_elliptic_arc_3d(&p1, &p2, &n, 0.0, kPi, nullptr), 75);
  EXPECT_EQ(reports.messages.back(), (Message{"BADRECT", 75, "zv_elliptic_arc_3d"}));
}

// ----------------------------------------------------------------- frame

TEST_P(EllipseRandom, FrameIsTheUnitNormalAndTangentOffTheOrigin) {
  conictest::Random r(100 + GetParam());
  const zv_pnt_3d c = r.point();
  const double a = r.axis(), b = r.axis();
  for (double th : {0.0, 0.3, kPi / 2, 2.0, kPi, 4.0, 3 * kPi / 2, 6.0}) {
    const zv_pnt_3d p{c.x + a * std::cos(th), c.y + b * std::sin(th), c.z};
    zv_vector_3d first, second;
    ASSERT_EQ(zv_ellipse_stats_3d(c, a, b, p, &first, &second), 0);
    conictest::expect_gradient_frame(first, second, std::cos(th) / a, std::sin(th) / b);
  }
}

TEST_F(Ellipse, FrameRejectsDegenerateAxesAndPointsOffThePlaneSilently) {
  zv_vector_3d first = conictest::marked(), second = conictest::marked();
  EXPECT_EQ(zv_ellipse_stats_3d({0, 0, 0}, 1e-7, 1, {1, 0, 0}, &first, &second), 81);
  EXPECT_EQ(zv_ellipse_stats_3d({0, 0, 0}, 1, 1, {1, 0, 2e-7}, &first, &second), 82);
  EXPECT_EQ(zv_ellipse_stats_3d({0, 0, 0}, 1, 1, {1, 0, NAN}, &first, &second), 82);
  EXPECT_TRUE(conictest::still_marked(first));
  EXPECT_TRUE(conictest::still_marked(second));
  EXPECT_TRUE(reports.messages.empty());
}

}  // namespace
