// Conic polylines and frames against Open CASCADE's own conics: every vertex
// projects onto the same ellipse, hyperbola branch or parabola within
// rounding, and our tangent is parallel to Open CASCADE's derivative there.
#include <GeomAPI_ProjectPointOnCurve.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Hyperbola.hxx>
#include <Geom_Parabola.hxx>
#include <gp_Ax2.hxx>

#include "peer_support.hpp"

namespace {

// The conic's local frame: origin at the centre (vertex), x axis along
// x_sign times the world's x, normal +z.
gp_Ax2 frame_at(const zv_pnt_3d &c, double x_sign) { return gp_Ax2(gp_Pnt(c.x, c.y, c.z), gp_Dir(0, 0, 1), gp_Dir(x_sign, 0, 0)); }

// Every vertex of the list lies on the curve; frame() gives a tangent
// parallel to the curve's derivative at the nearest point.
template <class Frame>
void expect_on_peer(ll_list *list, const Handle(Geom_Curve) & curve, Frame frame) {
  for (const zvtest::Vertex &v : zvtest::vertices(list)) {
    GeomAPI_ProjectPointOnCurve projection(gp_Pnt(v.x, v.y, v.z), curve);
    ASSERT_GT(projection.NbPoints(), 0);
    EXPECT_LE(projection.LowerDistance(), 4e-11);  // 1e-12 of the coordinates' scale
    gp_Pnt on;
    gp_Vec d1;
    curve->D1(projection.LowerDistanceParameter(), on, d1);
    zv_vector_3d first, second;
    ASSERT_EQ(frame(zv_pnt_3d{v.x, v.y, v.z}, &first, &second), 0);
    EXPECT_NEAR(std::fabs(first.dx * d1.Y() - first.dy * d1.X()) / d1.Magnitude(), 0.0, 1e-9);
  }
  ll_purge_list(list);
}

class ConicsPeer : public ::testing::TestWithParam<int> {};

TEST_P(ConicsPeer, PolylinesAndFramesMatchOpenCascade) {
  std::mt19937 rng(GetParam());
  std::uniform_real_distribution<double> at(-20, 20), axis(0.5, 6), focal(0.25, 3);
  const zv_pnt_3d c{at(rng), at(rng), at(rng)};
  double a = axis(rng), b = axis(rng);
  if (a < b) std::swap(a, b);  // Open CASCADE wants the major radius first
  zv_pnt_3d p1{c.x - a, c.y - b, c.z}, p2{c.x + a, c.y + b, 0};
  const double ra = (p2.x - p1.x) / 2, rb = (p2.y - p1.y) / 2;
  const zv_pnt_3d centre{p1.x + ra, p1.y + rb, c.z};
  int16_t n = 40, count = 0;
  ll_list *ring = ll_create_list(), *right = ll_create_list(), *left = ll_create_list(), *parabola = ll_create_list();
  ASSERT_EQ(zv_ellipsepnts_3d(&p1, &p2, &n, &count, ring), 0);
  expect_on_peer(ring, new Geom_Ellipse(frame_at(centre, 1), ra, rb),
                 [&](zv_pnt_3d p, zv_vector_3d *f, zv_vector_3d *s) { return zv_ellipse_stats_3d(centre, ra, rb, p, f, s); });
  // Both branches of the hyperbola; Open CASCADE's is the one along its x direction.
  n = 20;
  ASSERT_EQ(zv_hyperbolapnts_3d(0, &p1, &p2, 5.0, &n, &count, right, left), 0);
  const auto frame = [&](zv_pnt_3d p, zv_vector_3d *f, zv_vector_3d *s) { return zv_hyperbola_stats_3d(centre, ra, rb, 0, p, f, s); };
  expect_on_peer(right, new Geom_Hyperbola(frame_at(centre, 1), ra, rb), frame);
  expect_on_peer(left, new Geom_Hyperbola(frame_at(centre, -1), ra, rb), frame);
  // y'^2 = 4 F x' in Open CASCADE's frame, opening along its x direction.
  const double f = (GetParam() % 2 ? -1 : 1) * focal(rng);
  n = 30;
  ASSERT_EQ(zv_parabolapnts_3d(0, &p1, f, 6.0, &n, &count, parabola), 0);
  expect_on_peer(parabola, new Geom_Parabola(frame_at(p1, f > 0 ? 1 : -1), std::fabs(f)),
                 [&](zv_pnt_3d p, zv_vector_3d *t, zv_vector_3d *s) { return zv_parabola_stats_3d(p1, f, 0, p, t, s); });
}

INSTANTIATE_TEST_SUITE_P(Seeds, ConicsPeer, ::testing::Range(0, 12));

}  // namespace
