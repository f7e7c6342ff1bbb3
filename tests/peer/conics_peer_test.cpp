// Conic polylines and frames against Open CASCADE's own conics: every vertex
// projects onto the same ellipse, hyperbola branch or parabola within
// rounding, and our tangent is parallel to Open CASCADE's derivative there.
#include <GeomAPI_ProjectPointOnCurve.hxx>
#include <Geom_Conic.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Hyperbola.hxx>
#include <Geom_Parabola.hxx>
#include <gp_Ax2.hxx>

#include "peer_support.hpp"

namespace {

using zvpeer::Vec3;

// The conic's local frame: origin at the centre (vertex), x axis along
// ±x of the world, normal +z.
gp_Ax2 frame_at(const zv_pnt_3d &c, double x_sign) { return gp_Ax2(gp_Pnt(c.x, c.y, c.z), gp_Dir(0, 0, 1), gp_Dir(x_sign, 0, 0)); }

// Checks every vertex of list lies on curve and that frame() gives a tangent
// parallel to the curve's derivative at the nearest point.
template <class Frame>
void expect_on_peer(const ll_list *list, const Handle(Geom_Curve) & curve, double scale, Frame frame) {
  for (const zvtest::Vertex &v : zvtest::vertices(list)) {
    const gp_Pnt p(v.x, v.y, v.z);
    GeomAPI_ProjectPointOnCurve projection(p, curve);
    ASSERT_GT(projection.NbPoints(), 0);
    EXPECT_LE(projection.LowerDistance(), 1e-12 * scale);
    gp_Pnt on;
    gp_Vec d1;
    curve->D1(projection.LowerDistanceParameter(), on, d1);
    zv_vector_3d first, second;
    ASSERT_EQ(frame(zv_pnt_3d{v.x, v.y, v.z}, &first, &second), 0);
    const Vec3 t = zvpeer::vec(first), d = (1.0 / d1.Magnitude()) * zvpeer::vec(d1);
    EXPECT_NEAR(std::fabs(t.x * d.y - t.y * d.x), 0.0, 1e-9);  // parallel in the plane
  }
}

class ConicsPeer : public zvtest::KernelTest, public ::testing::WithParamInterface<int> {};

TEST_P(ConicsPeer, EllipsePolylineAndFramesMatchOpenCascade) {
  std::mt19937 rng(GetParam());
  std::uniform_real_distribution<double> at(-20, 20), axis(0.5, 6);
  const zv_pnt_3d c{at(rng), at(rng), at(rng)};
  double a = axis(rng), b = axis(rng);
  if (a < b) std::swap(a, b);  // Open CASCADE wants the major radius first
  zv_pnt_3d p1{c.x - a, c.y - b, c.z}, p2{c.x + a, c.y + b, 0};
  const double ra = (p2.x - p1.x) / 2, rb = (p2.y - p1.y) / 2;
  const zv_pnt_3d centre{p1.x + ra, p1.y + rb, c.z};
  int16_t n = 40, count = 0;
  ll_list *list = ll_create_list();
  ASSERT_EQ(zv_ellipsepnts_3d(&p1, &p2, &n, &count, list), 0);
  Handle(Geom_Curve) peer = new Geom_Ellipse(frame_at(centre, 1), ra, rb);
  expect_on_peer(list, peer, 20.0, [&](zv_pnt_3d p, zv_vector_3d *f, zv_vector_3d *s) {
    return zv_ellipse_stats_3d(centre, ra, rb, p, f, s);
  });
  ll_purge_list(list);
}

TEST_P(ConicsPeer, HyperbolaBranchesAndFramesMatchOpenCascade) {
  std::mt19937 rng(100 + GetParam());
  std::uniform_real_distribution<double> at(-20, 20), axis(0.5, 6);
  const zv_pnt_3d c{at(rng), at(rng), at(rng)};
  const double w = axis(rng), h = axis(rng);
  zv_pnt_3d c1{c.x - w, c.y - h, c.z}, c2{c.x + w, c.y + h, 0};
  const double hw = (c2.x - c1.x) / 2, hh = (c2.y - c1.y) / 2;
  const zv_pnt_3d centre{c1.x + hw, c1.y + hh, c.z};
  int16_t n = 20, count = 0;
  ll_list *right = ll_create_list(), *left = ll_create_list();
  ASSERT_EQ(zv_hyperbolapnts_3d(0, &c1, &c2, 5.0, &n, &count, right, left), 0);
  auto frame = [&](zv_pnt_3d p, zv_vector_3d *f, zv_vector_3d *s) {
    return zv_hyperbola_stats_3d(centre, hw, hh, 0, p, f, s);
  };
  // Open CASCADE's hyperbola is one branch, the one along its x direction.
  expect_on_peer(right, new Geom_Hyperbola(frame_at(centre, 1), hw, hh), 40.0, frame);
  expect_on_peer(left, new Geom_Hyperbola(frame_at(centre, -1), hw, hh), 40.0, frame);
  ll_purge_list(right);
  ll_purge_list(left);
}

TEST_P(ConicsPeer, ParabolaPolylineAndFramesMatchOpenCascade) {
  std::mt19937 rng(200 + GetParam());
  std::uniform_real_distribution<double> at(-20, 20), focal(0.25, 3);
  zv_pnt_3d v{at(rng), at(rng), at(rng)};
  const double a = (GetParam() % 2 ? -1 : 1) * focal(rng);
  int16_t n = 30, count = 0;
  ll_list *list = ll_create_list();
  ASSERT_EQ(zv_parabolapnts_3d(0, &v, a, 6.0, &n, &count, list), 0);
  // y'^2 = 4 F x' in Open CASCADE's frame, opening along its x direction.
  expect_on_peer(list, new Geom_Parabola(frame_at(v, a > 0 ? 1 : -1), std::fabs(a)), 40.0,
                 [&](zv_pnt_3d p, zv_vector_3d *f, zv_vector_3d *s) { return zv_parabola_stats_3d(v, a, 0, p, f, s); });
  ll_purge_list(list);
}

INSTANTIATE_TEST_SUITE_P(Seeds, ConicsPeer, ::testing::Range(0, 12));

}  // namespace
