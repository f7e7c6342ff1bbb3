// Circle: points at fractions of a turn, the inscribed polygon, arcs
// through the arc generator, and the frame from a radius.
#include <cmath>

#include "conic_checks.hpp"

namespace {

using zvtest::KernelTest;
using zvtest::Message;
using zvtest::vertices;

class Circle : public KernelTest {};

zv_pnt_3d at(double t, double r = 2.0) {
  zv_pnt_3d p{9, 9, 9};
  zv_circle_pnt_3d({1, 2, 3}, r, t, &p);
  return p;
}

TEST_F(Circle, FractionsOfATurnAndTheirReduction) {
  const struct {
    double t, x, y;
  } cases[] = {{0.25, 1, 4}, {1.0, 3, 2}, {2.5, -1, 2}, {-0.25, 1, 0}, {1e-8, 3, 2}, {1e300, 3, 2}};
  for (const auto &c : cases) {
    const zv_pnt_3d p = at(c.t);
    EXPECT_NEAR(p.x, c.x, 1e-15) << c.t;
    EXPECT_NEAR(p.y, c.y, 1e-15) << c.t;
    EXPECT_EQ(zvtest::value(p.z), 3.0);
  }
  // Just above a full turn is not reduced; the ellipse takes it a turn down.
  EXPECT_NEAR(at(1 + 5e-8).y, 2 + 2 * 2 * 3.141592653589793 * 5e-8, 1e-12);
}

TEST_F(Circle, ZeroRadiusIsExactAtTheStartAndReportedElsewhere) {
  const zv_pnt_3d start = at(1e-8, 0.0);
  EXPECT_EQ(zvtest::value(start.x), 1.0);
  EXPECT_EQ(zvtest::value(start.y), 2.0);
  EXPECT_TRUE(reports.messages.empty());
  const zv_pnt_3d p = at(0.5, 0.0);
  EXPECT_EQ(zvtest::value(p.x), 0.0);
  EXPECT_EQ(zvtest::value(p.z), 3.0);
  EXPECT_EQ(reports.messages, (std::vector<Message>{{"BADRECT", 75, "zv_ellipse_pnt_3d"}}));
}

// An infinite fraction never left the reduction loop.
TEST_F(Circle, NonFiniteFractionsMakeNoPoint) {
  for (double t : {double(INFINITY), double(NAN)}) {
    const zv_pnt_3d p = at(t);
    EXPECT_EQ(zvtest::value(p.x), 0.0);
    EXPECT_EQ(zvtest::value(p.y), 0.0);
    EXPECT_EQ(zvtest::value(p.z), 3.0);
  }
  EXPECT_TRUE(reports.messages.empty());
}

TEST_F(Circle, PolygonCountIsTheRequestedSize) {
  for (int16_t n : {6, 2}) {
    int16_t count = 0;
    ll_list *list = ll_create_list();
    EXPECT_EQ(zv_circlepnts_3d({1, 2, 3}, 2.0, n, &count, list), 0);
    EXPECT_EQ(count, n);
    for (const auto &v : vertices(list)) EXPECT_NEAR(std::hypot(v.x - 1, v.y - 2), 2.0, 1e-14);
    ll_purge_list(list);
  }
}

TEST_F(Circle, HalfTurnArcInFourSegments) {
  ll_list *list = ll_create_list();
  EXPECT_EQ(zv_circle_arc_3d({1, 2, 3}, 2.0, 4, 0.0, 0.5, list), 5);
  const auto v = vertices(list);
  const double h = std::sqrt(2.0);
  const double want[5][2] = {{3, 2}, {1 + h, 2 + h}, {1, 4}, {1 - h, 2 + h}, {-1, 2}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_NEAR(v[i].x, want[i][0], 1e-15);
    EXPECT_NEAR(v[i].y, want[i][1], 1e-15);
    EXPECT_EQ(v[i].z, 3.0);
    EXPECT_EQ(v[i].index, i);
  }
  EXPECT_EQ(zv_circle_arc_3d({1, 2, 3}, 2.0, 4, 0.75, 0.25, list), 10);  // through angle 0
  EXPECT_EQ(vertices(list)[7].x, 3.0);
  EXPECT_EQ(zv_circle_arc_3d({1, 2, 3}, 2.0, 0, 0.0, 0.5, list), 10);  // no NaN vertex
  EXPECT_EQ(zv_circle_arc_3d({1, 2, 3}, 2.0, 4, 0.0, 0.5, nullptr), 0);
  ll_purge_list(list);
}

TEST_F(Circle, FrameFromTheRadiusDirection) {
  zv_vector_3d first, second;
  zv_circle_stats_3d({1, 2, 3}, {1 + 3, 2 + 4, 3}, &first, &second);
  conictest::expect_gradient_frame(first, second, 3, 4);
}

}  // namespace
