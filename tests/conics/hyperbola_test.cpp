// Hyperbola: the rational point, the arc of one branch, both branches in
// their central rectangle and the frame at a point.
#include <cmath>

#include "conic_checks.hpp"

namespace {

using zvtest::KernelTest;
using zvtest::Message;
using zvtest::vertices;

class Hyperbola : public KernelTest {};

// ---------------------------------------------------- the rational point

TEST_F(Hyperbola, PointsFollowTheRationalParameterOnEitherSide) {
  const zv_pnt_3d c{1, 2, 3};
  zv_pnt_3d p{};
  ASSERT_EQ(zv_hyperbola_pnt_3d(c, 2, 1, 0.0, &p), 0);
  EXPECT_EQ(zvtest::value(p.x), 3.0);
  EXPECT_EQ(zvtest::value(p.y), 2.0);
  ASSERT_EQ(zv_hyperbola_pnt_3d(c, 2, 1, 0.5, &p), 0);
  EXPECT_NEAR(p.x, 1 + 10.0 / 3, 1e-15);
  EXPECT_NEAR(p.y, 2 + 4.0 / 3, 1e-15);
  ASSERT_EQ(zv_hyperbola_pnt_3d(c, 2, 1, -0.5, &p), 0);
  EXPECT_NEAR(p.x, 1 + 2 * 5.0 / 3, 1e-15);
  EXPECT_NEAR(p.y, 2 - 4.0 / 3, 1e-15);
  ASSERT_EQ(zv_hyperbola_pnt_3d(c, -2, 1, 0.5, &p), 0);  // the branch towards -x
  EXPECT_NEAR(p.x, 1 - 10.0 / 3, 1e-15);
}

// t = -1 divided by zero and t < -1 gave the other branch: both ends of the
// open interval are rejected now.
TEST_F(Hyperbola, PointRejectsParametersAtEitherEndWithTheOriginLeft) {
  for (double t : {0.9999999, 1.0, -0.9999999, -1.0, -3.0}) {
    zv_pnt_3d p{9, 9, 9};
    EXPECT_EQ(zv_hyperbola_pnt_3d({1, 2, 3}, 2, 1, t, &p), 80) << t;
    EXPECT_EQ(zvtest::value(p.x), 0.0);
    EXPECT_EQ(zvtest::value(p.z), 0.0);
  }
  EXPECT_EQ(reports.messages.back(), (Message{"BADTVALUE", 80, "zv_hyperbola_pnt_3d"}));
  zv_pnt_3d p{};
  EXPECT_EQ(zv_hyperbola_pnt_3d({1, 2, 3}, 2, 1e-7, 0.5, &p), 75);
  EXPECT_EQ(reports.messages.back(), (Message{"BADRECT", 75, "zv_hyperbola_pnt_3d"}));
  EXPECT_EQ(zv_hyperbola_pnt_3d({1, 2, 3}, 2, 1, 0.5, nullptr), 2);
}

// ------------------------------------------------------------------- arc

TEST_F(Hyperbola, ArcStepsEvenlyInTheParameterInEitherDirection) {
  const zv_pnt_3d c{-3, 4, 1};
  for (double dir : {1.0, -1.0}) {
    const double t1 = dir > 0 ? 0.0 : 0.5, t2 = dir > 0 ? 0.5 : 0.0;
    int16_t n = 4;
    ll_list *list = ll_create_list();
    ASSERT_EQ(zv_hyperbolic_arc_3d(c, 2, 1.5, &n, t1, t2, list), 0);
    const auto v = vertices(list);
    ASSERT_EQ(v.size(), 5u);
    for (int i = 0; i < 5; ++i) {
      zv_pnt_3d p{};
      zv_hyperbola_pnt_3d(c, 2, 1.5, t1 + dir * 0.125 * i, &p);
      EXPECT_NEAR(v[i].x, p.x, 1e-14);
      EXPECT_NEAR(v[i].y, p.y, 1e-14);
      EXPECT_EQ(v[i].index, 1);
    }
    ll_purge_list(list);
  }
}

TEST_F(Hyperbola, ArcWithoutSegmentsUsesTwoAndLeavesNAlone) {
  for (int16_t given : {0, -3}) {
    int16_t n = given;
    ll_list *list = ll_create_list();
    ASSERT_EQ(zv_hyperbolic_arc_3d({0, 0, 0}, 1, 1, &n, -0.5, 0.5, list), 0);
    EXPECT_EQ(n, given);
    EXPECT_EQ(ll_list_length(list), 3);
    ll_purge_list(list);
  }
  int16_t n = 3;
  EXPECT_EQ(zv_hyperbolic_arc_3d({0, 0, 0}, 1, 1, &n, -0.5, 0.5, nullptr), 0);  // private list released
}

// A degenerate branch used to make every vertex at the origin and report
// success; it is rejected once, before anything is made.
TEST_F(Hyperbola, ArcRejectsBadParametersAndDegenerateAxesBeforeAppending) {
  ll_list *list = ll_create_list();
  int16_t n = 4;
  EXPECT_EQ(zv_hyperbolic_arc_3d({0, 0, 0}, 1, 1, &n, 0.0, 1.0, list), 80);
  EXPECT_EQ(zv_hyperbolic_arc_3d({0, 0, 0}, 1, 1, &n, -1.0, 0.0, list), 80);
  EXPECT_EQ(zv_hyperbolic_arc_3d({0, 0, 0}, 0.0, 1, &n, 0.0, 0.5, list), 75);
  EXPECT_EQ(ll_list_length(list), 0);
  const std::vector<Message> want = {{"BADTVALUE", 80, "zv_hyperbolic_arc_3d"},
                                     {"BADTVALUE", 80, "zv_hyperbolic_arc_3d"},
                                     {"BADRECT", 75, "zv_hyperbolic_arc_3d"}};
  EXPECT_EQ(reports.messages, want);
  ll_purge_list(list);
}

// ------------------------------------------------- branches in a rectangle

struct Branch {
  std::vector<zvtest::Vertex> one, two;
};

Branch branches(uint8_t mode, int16_t n_in, int16_t *n_out = nullptr) {
  zv_pnt_3d c1{0, 0, 3}, c2{4, 2, 9};
  int16_t n = n_in, count = 0;
  ll_list *l1 = ll_create_list(), *l2 = ll_create_list();
  EXPECT_EQ(zv_hyperbolapnts_3d(mode, &c1, &c2, 2.0, &n, &count, l1, l2), 0);
  EXPECT_EQ(count, n + 1);
  if (n_out) *n_out = n;
  Branch b{vertices(l1), vertices(l2)};
  ll_purge_list(l1);
  ll_purge_list(l2);
  return b;
}

void expect_vertex(const zvtest::Vertex &v, double x, double y, int index) {
  EXPECT_NEAR(v.x, x, 1e-14);
  EXPECT_NEAR(v.y, y, 1e-14);
  EXPECT_EQ(v.z, 3.0);
  EXPECT_EQ(v.index, index);
}

TEST_F(Hyperbola, TransverseAlongXNumbersBothListsFromOneCounter) {
  const Branch b = branches(0, 2);
  const double r3 = std::sqrt(3.0);
  ASSERT_EQ(b.one.size(), 3u);
  ASSERT_EQ(b.two.size(), 3u);
  expect_vertex(b.one[0], 6, 1 + r3, 1);
  expect_vertex(b.one[1], 4, 1, 2);
  expect_vertex(b.one[2], 6, 1 - r3, 4);
  expect_vertex(b.two[0], -2, 1 - r3, 1);
  expect_vertex(b.two[1], 0, 1, 2);
  expect_vertex(b.two[2], -2, 1 + r3, 5);
}

TEST_F(Hyperbola, TransverseAlongYOpensUpAndDown) {
  const Branch b = branches(1, 2);
  const double s = 2 * std::sqrt(8.0);
  ASSERT_EQ(b.one.size(), 3u);
  expect_vertex(b.one[0], 2 - s, 4, 1);
  expect_vertex(b.one[1], 2, 2, 2);
  expect_vertex(b.one[2], 2 + s, 4, 4);
  expect_vertex(b.two[0], 2 + s, -2, 1);
  expect_vertex(b.two[1], 2, 0, 2);
  expect_vertex(b.two[2], 2 - s, -2, 5);
}

TEST_F(Hyperbola, SegmentCountsRiseToEvenWithoutLeavingInt16) {
  int16_t n = 0;
  EXPECT_EQ(branches(0, 5, &n).one.size(), 7u);
  EXPECT_EQ(n, 6);
  branches(1, -4, &n);
  EXPECT_EQ(n, 2);
  const Branch big = branches(0, 32767, &n);
  EXPECT_EQ(n, 32766);
  ASSERT_EQ(big.two.size(), 32767u);
  EXPECT_EQ(big.two.back().index, static_cast<int16_t>(3 * 16383 + 2));  // numbers wrap
}

class HyperbolaRandom : public KernelTest, public ::testing::WithParamInterface<int> {};

TEST_P(HyperbolaRandom, EveryVertexOfBothBranchesLiesOnTheHyperbola) {
  conictest::Random r(GetParam());
  const zv_pnt_3d c = r.point();
  const double w = r.axis(), h = r.axis();
  for (uint8_t mode : {0, 1}) {
    zv_pnt_3d c1{c.x - w, c.y - h, c.z}, c2{c.x + w, c.y + h, 0};
    int16_t n = static_cast<int16_t>(2 + GetParam()), count = 0;
    ll_list *l1 = ll_create_list(), *l2 = ll_create_list();
    ASSERT_EQ(zv_hyperbolapnts_3d(mode, &c1, &c2, r.axis(), &n, &count, l1, l2), 0);
    const double cx = c1.x + (c2.x - c1.x) / 2, cy = c1.y + (c2.y - c1.y) / 2;
    const double hw = (c2.x - c1.x) / 2, hh = (c2.y - c1.y) / 2;
    const double tol = 10 * conictest::tolerance(std::max(std::fabs(cx), std::fabs(cy)), std::min(hw, hh));
    for (ll_list *l : {l1, l2}) {
      const auto v = vertices(l);
      ASSERT_EQ(static_cast<long>(v.size()), count);
      for (const auto &p : v) {
        const double u = (p.x - cx) / hw, s = (p.y - cy) / hh;
        const double f = mode == 0 ? u * u - s * s : s * s - u * u;
        EXPECT_NEAR(f, 1.0, tol * (u * u + s * s));
        EXPECT_EQ(p.z, c.z);
      }
    }
    ll_purge_list(l1);
    ll_purge_list(l2);
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, HyperbolaRandom, ::testing::Range(0, 24));

TEST_F(Hyperbola, BranchesMirrorOnlyTheirOwnVerticesAndNullListsDoNotLeak) {
  ll_list *l1 = zvtest::make_polygon({{50, 50, 50}});
  zv_pnt_3d c1{0, 0, 0}, c2{4, 2, 0};
  int16_t n = 4, count = 0;
  ASSERT_EQ(zv_hyperbolapnts_3d(0, &c1, &c2, 1.0, &n, &count, l1, nullptr), 0);
  const auto v = vertices(l1);
  ASSERT_EQ(v.size(), 1u + 5u);
  EXPECT_EQ(v[0].x, 50.0);
  EXPECT_EQ(v[0].index, 0);
  ll_purge_list(l1);
}

TEST_F(Hyperbola, RectangleChecksReportUnderTheFunctionsOddName) {
  zv_pnt_3d c1{0, 0, 0}, c2{4, 2, 0}, flat{4, 0, 0};
  int16_t n = 4, count = 9;
  EXPECT_EQ(zv_hyperbolapnts_3d(2, &c1, &c2, 1.0, &n, &count, nullptr, nullptr), 1);
  EXPECT_EQ(n, 0);
  n = 4;
  EXPECT_EQ(zv_hyperbolapnts_3d(0, &c1, &c2, 0.0, &n, &count, nullptr, nullptr), 74);
  n = 4;
  EXPECT_EQ(zv_hyperbolapnts_3d(0, &c1, &flat, 1.0, &n, &count, nullptr, nullptr), 75);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(count, 9);  // not written on failure
  const std::vector<Message> want = {{"BADMODE", 1, "zv_hyperpolapnts_3d"},
                                     {"LENGTHZERO", 74, "zv_hyperpolapnts_3d"},
                                     {"BADRECT", 75, "zv_hyperpolapnts_3d"}};
  EXPECT_EQ(reports.messages, want);
}

// ----------------------------------------------------------------- frame

TEST_P(HyperbolaRandom, FrameIsTheUnitNormalAndTangentInBothModes) {
  conictest::Random r(200 + GetParam());
  const zv_pnt_3d c = r.point();
  const double a = r.axis(), b = r.axis();
  for (double t : {-2.0, -0.4, 0.0, 0.7, 3.0}) {
    const double ch = std::cosh(t), sh = std::sinh(t);
    for (double side : {1.0, -1.0}) {
      zv_vector_3d first, second;
      // Mode 0: x^2/a^2 - y^2/b^2 = 1; other modes: y^2/b^2 - x^2/a^2 = 1.
      const zv_pnt_3d p0{c.x + side * a * ch, c.y + b * sh, c.z};
      ASSERT_EQ(zv_hyperbola_stats_3d(c, a, b, 0, p0, &first, &second), 0);
      conictest::expect_gradient_frame(first, second, side * ch / a, -sh / b);
      const zv_pnt_3d p1{c.x + a * sh, c.y + side * b * ch, c.z};
      ASSERT_EQ(zv_hyperbola_stats_3d(c, a, b, 1, p1, &first, &second), 0);
      conictest::expect_gradient_frame(first, second, -sh / a, side * ch / b);
    }
  }
}

TEST_F(Hyperbola, FrameRejectsDegenerateAxesAndPointsOffThePlaneSilently) {
  zv_vector_3d first = conictest::marked(), second = conictest::marked();
  EXPECT_EQ(zv_hyperbola_stats_3d({0, 0, 0}, 1, -1e-8, 0, {1, 0, 0}, &first, &second), 81);
  EXPECT_EQ(zv_hyperbola_stats_3d({0, 0, 0}, 1, 1, 0, {1, 0, 2e-7}, &first, &second), 82);
  EXPECT_TRUE(conictest::still_marked(first));
  EXPECT_TRUE(reports.messages.empty());
}

}  // namespace
