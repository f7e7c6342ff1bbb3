// Conics, arcs and cycloids: exact points at closed-form positions, angle
// reduction and passing angle 0, numbering, segment counts that round up
// without leaving int16, symmetric polylines that mirror only their own
// vertices, and the unit frames. Vertices on Open CASCADE's conics are
// checked in tests/peer.
#include <cmath>
#include <random>

#include "zv_testing.hpp"

namespace {

using zvtest::vertices;
using XY = std::vector<std::pair<double, double>>;
constexpr double kPi = 3.141592653589793;

class ConicShapes : public zvtest::KernelTest {};

XY positions(const ll_list *list) {
  XY out;
  for (const auto &v : vertices(list)) out.emplace_back(v.x, v.y);
  return out;
}

// Each position within tol of the wanted one.
void expect_near(const XY &got, const XY &want, double tol) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i].first, want[i].first, tol) << i;
    EXPECT_NEAR(got[i].second, want[i].second, tol) << i;
  }
}

// Runs f(list) on a fresh list and gives its vertices' positions.
template <class F>
XY drawn(F f, std::vector<int> *indices = nullptr) {
  ll_list *list = ll_create_list();
  f(list);
  if (indices)
    for (const auto &v : vertices(list)) indices->push_back(v.index);
  XY out = positions(list);
  ll_purge_list(list);
  return out;
}

TEST_F(ConicShapes, CircleAndEllipsePoints) {
  const struct {
    double t, x, y;
  } cases[] = {{0.25, 1, 4}, {1.0, 3, 2}, {2.5, -1, 2}, {-0.25, 1, 0}, {1e-8, 3, 2}, {1e300, 3, 2}};
  for (const auto &c : cases) {
    zv_pnt_3d p{9, 9, 9};
    zv_circle_pnt_3d({1, 2, 3}, 2.0, c.t, &p);
    expect_near({{p.x, p.y}}, {{c.x, c.y}}, 1e-15);
    EXPECT_EQ(zvtest::value(p.z), 3.0);
  }
  zv_pnt_3d p{};
  zv_circle_pnt_3d({1, 2, 3}, 0.0, 1e-8, &p);  // the start needs no radius
  EXPECT_TRUE(p.x == 1.0 && p.y == 2.0 && reports.messages.empty());
  ASSERT_EQ(zv_ellipse_pnt_3d({1, 2, 3}, 2.0, 1.0, 2 * kPi, &p), 0);  // reduced once to the start
  EXPECT_EQ(zvtest::value(p.x), 3.0);
  ASSERT_EQ(zv_ellipse_pnt_3d({1, 2, 3}, 2.0, 1.0, 4 * kPi, &p), 0);  // once only: 2 pi, the same point
  expect_near({{p.x, p.y}}, {{3, 2}}, 1e-14);
}

TEST_F(ConicShapes, ArcsExactAtQuarterTurnsNumberedAndPassingAngleZero) {
  const double h = std::sqrt(2.0);
  std::vector<int> idx;
  expect_near(drawn([](ll_list *l) { zv_circle_arc_3d({1, 2, 3}, 2.0, 4, 0.0, 0.5, l); }, &idx),
              {{3, 2}, {1 + h, 2 + h}, {1, 4}, {1 - h, 2 + h}, {-1, 2}}, 1e-15);
  EXPECT_EQ(idx, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(drawn([](ll_list *l) { zv_arcpnts_3d({0, 0, 5}, 2, 0, kPi, 2, l); }), (XY{{2, 0}, {0, 2}, {-2, 0}}));
  expect_near(drawn([](ll_list *l) { zv_arcpnts_3d({0, 0, 5}, 2, 3 * kPi / 2, kPi / 2, 4, l); }),
              {{0, -2}, {h, -h}, {2, 0}, {h, h}, {0, 2}}, 1e-15);
  EXPECT_EQ(drawn([](ll_list *l) { zv_arcpnts_3d({0, 0, 5}, 2, 3 * kPi / 2, kPi / 2, 4, l); })[2], (std::pair{2.0, 0.0}));
  const XY hair = drawn([](ll_list *l) { zv_arcpnts_3d({0, 0, 0}, 2, 1.0, 1.0 - 5e-8, 4, l); });
  EXPECT_NEAR(hair.front().first, hair.back().first, 1e-6);  // a hair below the start is no full turn
  const XY full = drawn([](ll_list *l) { zv_arcpnts_3d({0, 0, 0}, 2, 0, 2 * kPi, 8, l); });
  EXPECT_EQ(full.back(), (std::pair{2.0, 0.0}));
  for (double start : {4 * kPi + 1, 1e300, 2 * kPi + 5e-8}) {  // reduced, never looped over
    const XY v = drawn([start](ll_list *l) { zv_arcpnts_3d({0, 0, 0}, 2, start, start, 2, l); });
    ASSERT_EQ(v.size(), 3u);
    EXPECT_NEAR(std::hypot(v[0].first, v[0].second), 2.0, 1e-14) << start;
  }
  EXPECT_NEAR(drawn([](ll_list *l) { zv_arcpnts_3d({0, 0, 0}, 2, 4 * kPi + 1, 4 * kPi + 1, 1, l); })[0].first,
              2 * std::cos(1.0), 1e-14);
  zv_pnt_3d p1{-2, -1, 4}, p2{2, 1, 0};
  int16_t n = 4;
  expect_near(drawn([&](ll_list *l) { zv_elliptic_arc_3d(&p1, &p2, &n, 3 * kPi / 2, kPi / 2, l); }),
              {{0, -1}, {h, -std::sqrt(0.5)}, {2, 0}, {h, std::sqrt(0.5)}, {0, 1}}, 1e-14);
}

TEST_F(ConicShapes, ArcNumberingSnappingAndPrivateLists) {
  // The centre form numbers on from the list's last vertex, wrapping past int16.
  ll_list *list = zvtest::make_polygon({{0, 0, 0}, {0, 0, 0}});
  static_cast<zv_poly_3d *>(list->tail->data)->index = 7;
  EXPECT_EQ(zv_arcpnts_3d({0, 0, 5}, 2, 0, kPi, 2, list), 5);
  static_cast<zv_poly_3d *>(list->tail->data)->index = 32767;
  zv_arcpnts_3d({0, 0, 5}, 2, 0, kPi, 1, list);
  const auto v = vertices(list);
  EXPECT_EQ(v[2].index, 8);
  EXPECT_EQ(v.back().index, -32767);
  // The record form numbers from 0 and counts the whole list.
  zv_arc_2d rec;
  zv_set_arc_2d(1, 2, 3, 0, 0, kPi, &rec);
  EXPECT_EQ(zv_arc_pnts_3d(&rec, 4, 7.5, list), 12);
  EXPECT_EQ(vertices(list)[7].index, 0);
  EXPECT_EQ(vertices(list)[7].z, 7.5);
  ll_purge_list(list);
  EXPECT_EQ(zv_arc_pnts_3d(&rec, 4, 0, nullptr), 5);  // the private list's count; released
  // Small coordinates snap to zero in the centre form only.
  const double residue = std::cos(kPi / 3) - 0.5;
  ASSERT_NE(residue, 0.0);
  EXPECT_EQ(drawn([](ll_list *l) { zv_arcpnts_3d({-0.5, 0, 0}, 1.0, kPi / 3, kPi / 2, 1, l); })[0].first, 0.0);
  zv_set_arc_2d(-0.5, 0, 1, 0, kPi / 3, kPi / 2, &rec);
  EXPECT_EQ(drawn([&](ll_list *l) { zv_arc_pnts_3d(&rec, 1, 0, l); })[0].first, residue);
}

TEST_F(ConicShapes, CycloidArchOnTheSideOfTheRadiusSign) {
  for (double r : {1.0, -1.0}) {
    zv_pnt_3d start{1, 2, 3};
    int16_t n = 4, count = 0;
    std::vector<int> idx;
    const XY v = drawn([&](ll_list *l) { EXPECT_EQ(zv_cycloidpnts_3d(&start, r, &n, l, &count), 0); }, &idx);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(idx, (std::vector<int>{0, 1, 2, 3, 4}));
    expect_near(v, {{1, 2}, {kPi / 2, 2 + r}, {1 + kPi, 2 + 2 * r}, {2 + 3 * kPi / 2, 2 + r}, {1 + 2 * kPi, 2}}, 1e-14);
    EXPECT_EQ(v.back(), (std::pair{1 + 2 * kPi, 2.0}));  // the end is placed, not computed
  }
  zv_pnt_3d start{0, 0, 0};
  int16_t n = 1, count = 0;
  EXPECT_EQ(drawn([&](ll_list *l) { zv_cycloidpnts_3d(&start, 2.0, &n, l, &count); })[1].first, 4 * kPi);
}

class CountsWrittenBack : public zvtest::KernelTest {};

// Segment counts round up to a multiple (4 for the ellipse, 2 for the
// hyperbola and parabola) within int16, and every count written back equals
// the vertices appended. Regressions: the cycloid at n = 32767 and the cubic
// B-spline at a request of 32767 appended 32768 and 32769 vertices (counts
// 32767 and -32767); the quadratic and Catmull-Rom counts wrapped past 32767
// vertices; a cubic request <= 0 appended vertices.
TEST_F(CountsWrittenBack, FitInt16AndEqualTheVerticesAppended) {
  ll_list *polygon = zvtest::make_polygon(std::vector<zv_pnt_3d>(32767, zv_pnt_3d{1, 2, 3}));
  const struct {
    int which;  // 0 ellipse, 1 hyperbola, 2 parabola, 3 cycloid, 4 cubic over five points (in: the
                // request), 5 quadratic and 6 Catmull-Rom at mode 6 (in: the points)
    int16_t in, out, vertices, rc;  // out: *n or the request as written back
  } cases[] = {{0, 5, 8, 9, 0},         {0, 32766, 32764, 32765, 0}, {0, 32767, 32764, 32765, 0},
               {0, -32768, 4, 5, 0},    {1, 5, 6, 7, 0},             {1, 32767, 32766, 32767, 0},
               {1, -32768, 2, 3, 0},    {2, 32766, 32766, 32767, 0}, {2, 32767, 32766, 32767, 0},
               {2, -32768, 2, 3, 0},    {3, 32766, 32766, 32767, 0}, {3, 32767, 32767, 32767, 0},
               {3, -32768, -32768, 0, 0}, {4, 32766, 32767, 32767, 0}, {4, 32767, 32767, 32767, 0},
               {4, -32768, 0, 0, 0},    {4, -3, 0, 0, 0},            {4, 0, 0, 0, 0},
               {5, 10924, 10924, 32766, 0}, {5, 10925, 10925, 0, 33}, {5, 32767, 32767, 0, 33},
               {6, 16386, 16386, 32767, 0}, {6, 16387, 16387, 0, 33}, {6, 32766, 32766, 0, 33}};
  for (const auto &c : cases) {
    zv_pnt_3d p1{0, 0, 0}, p2{4, 2, 0};
    int16_t n = c.in, count = -1;
    ll_list *a = ll_create_list(), *b = ll_create_list();
    const int16_t r = c.which == 0   ? zv_ellipsepnts_3d(&p1, &p2, &n, &count, a)
                      : c.which == 1 ? zv_hyperbolapnts_3d(0, &p1, &p2, 2.0, &n, &count, a, b)
                      : c.which == 2 ? zv_parabolapnts_3d(1, &p1, 1.0, 4.0, &n, &count, a)
                      : c.which == 3 ? zv_cycloidpnts_3d(&p1, 1.0, &n, a, &count)
                      : c.which == 4 ? zv_bspline_3d(5, polygon, &n, a)
                      : c.which == 5 ? zv_quad_bspline_3d(n, polygon, 6, &count, a)
                                     : zv_catrom_curve_3d(n, polygon, 6, 0.5, &count, a);
    if (c.which == 4) count = n;
    SCOPED_TRACE(::testing::Message() << c.which << " " << c.in);
    EXPECT_EQ(r, c.rc);
    EXPECT_EQ(n, c.out);
    EXPECT_EQ(count, c.vertices);
    EXPECT_EQ(ll_list_length(a), c.vertices);
    if (c.which == 1 && c.in == 32767) {
      EXPECT_EQ(vertices(b).back().index, static_cast<int16_t>(3 * 16383 + 2));  // numbers wrap
    }
    ll_purge_list(a), ll_purge_list(b);
  }
  ll_purge_list(polygon);
}

TEST_F(ConicShapes, SymmetricPolylinesAtExactPointsWithTheirNumbers) {
  zv_pnt_3d p1{2, 1, 5}, p2{0, 0, 9};  // p1 is not the lower-left corner: centre (3, 1.5)
  int16_t n = 0, count = -1;
  std::vector<int> idx;
  EXPECT_EQ(drawn([&](ll_list *l) { zv_ellipsepnts_3d(&p1, &p2, &n, &count, l); }, &idx),
            (XY{{4, 1.5}, {3, 2}, {2, 1.5}, {3, 1}, {4, 1.5}}));
  EXPECT_EQ(idx, std::vector<int>(5, 1));
  // Hyperbola branches: a counter shared by both lists numbers them.
  const double r3 = std::sqrt(3.0), s = 2 * std::sqrt(8.0);
  for (uint8_t mode : {0, 1}) {
    zv_pnt_3d c1{0, 0, 3}, c2{4, 2, 9};
    n = 2;
    ll_list *l1 = ll_create_list(), *l2 = ll_create_list();
    ASSERT_EQ(zv_hyperbolapnts_3d(mode, &c1, &c2, 2.0, &n, &count, l1, l2), 0);
    expect_near(positions(l1), mode ? XY{{2 - s, 4}, {2, 2}, {2 + s, 4}} : XY{{6, 1 + r3}, {4, 1}, {6, 1 - r3}}, 1e-14);
    expect_near(positions(l2), mode ? XY{{2 + s, -2}, {2, 0}, {2 - s, -2}} : XY{{-2, 1 - r3}, {0, 1}, {-2, 1 + r3}}, 1e-14);
    idx.clear();
    for (ll_list *l : {l1, l2})
      for (const auto &v : vertices(l)) idx.push_back(v.index);
    EXPECT_EQ(idx, (std::vector<int>{1, 2, 4, 1, 2, 5}));
    ll_purge_list(l1), ll_purge_list(l2);
  }
  // Parabolas open towards the sign of the focal distance, numbered 1 .. n + 1.
  const struct {
    uint8_t mode;
    double a;
    XY want;
  } parabolas[] = {{0, 1.0, {{5, 6}, {1, 2}, {5, -2}}}, {0, -1.0, {{-3, -2}, {1, 2}, {-3, 6}}},
                   {1, -1.0, {{5, -2}, {1, 2}, {-3, -2}}}, {1, 1.0, {{-3, 6}, {1, 2}, {5, 6}}}};
  for (const auto &c : parabolas) {
    zv_pnt_3d v{1, 2, 3};
    n = 2;
    idx.clear();
    EXPECT_EQ(drawn([&](ll_list *l) { zv_parabolapnts_3d(c.mode, &v, c.a, 4.0, &n, &count, l); }, &idx), c.want);
    EXPECT_EQ(idx, (std::vector<int>{1, 2, 3}));
  }
}

// A list that already held vertices used to have them mirrored and
// appended too; now only the call's own vertices are mirrored.
TEST_F(ConicShapes, SymmetricPolylinesMirrorOnlyTheirOwnVertices) {
  zv_pnt_3d p1{0, 0, 0}, p2{2, 2, 0}, v{1, 1, 1};
  for (int which = 0; which < 3; ++which) {
    ll_list *list = zvtest::make_polygon({{100, 100, 100}, {200, 200, 200}});
    int16_t n = 8, count = 0;
    ASSERT_EQ(which == 0   ? zv_ellipsepnts_3d(&p1, &p2, &n, &count, list)
              : which == 1 ? zv_hyperbolapnts_3d(0, &p1, &p2, 1.0, &n, &count, list, nullptr)
                           : zv_parabolapnts_3d(0, &v, 0.5, 3.0, &n, &count, list),
              0);
    const auto all = vertices(list);
    ASSERT_EQ(all.size(), 2u + count) << which;
    EXPECT_TRUE(all[0].x == 100.0 && all[1].x == 200.0 && all[0].index == 0);
    for (size_t i = 2; i < all.size(); ++i) {
      const double x = all[i].x - 1, y = all[i].y - 1;
      EXPECT_NEAR(which == 0 ? x * x + y * y : which == 1 ? x * x - y * y : y * y - 2 * x, which == 2 ? 0.0 : 1.0, 1e-12);
    }
    ll_purge_list(list);
  }
}

TEST_F(ConicShapes, HyperbolaAndParabolaPointsAndArcs) {
  zv_pnt_3d p{};
  ASSERT_EQ(zv_hyperbola_pnt_3d({1, 2, 3}, 2, 1, 0.5, &p), 0);
  expect_near({{p.x, p.y}}, {{1 + 10.0 / 3, 2 + 4.0 / 3}}, 1e-15);
  ASSERT_EQ(zv_hyperbola_pnt_3d({1, 2, 3}, -2, 1, -0.5, &p), 0);  // the branch towards -x
  expect_near({{p.x, p.y}}, {{1 - 10.0 / 3, 2 - 4.0 / 3}}, 1e-15);
  // t = -1 divided by zero and t < -1 gave the other branch: both ends are refused.
  for (double t : {0.9999999, -0.9999999, -3.0}) {
    p = {9, 9, 9};
    EXPECT_EQ(zv_hyperbola_pnt_3d({1, 2, 3}, 2, 1, t, &p), 80);
    EXPECT_TRUE(p.x == 0.0 && p.z == 0.0);
  }
  for (double dir : {1.0, -1.0}) {  // the arc steps evenly either way; n < 1 means 2, not written back
    int16_t n = 4, none = -3;
    const double t1 = dir > 0 ? 0.0 : 0.5;
    const XY v = drawn([&](ll_list *l) { zv_hyperbolic_arc_3d({-3, 4, 1}, 2, 1.5, &n, t1, 0.5 - t1, l); });
    ASSERT_EQ(v.size(), 5u);
    for (int i = 0; i < 5; ++i) {
      zv_hyperbola_pnt_3d({-3, 4, 1}, 2, 1.5, t1 + dir * 0.125 * i, &p);
      expect_near({v[i]}, {{p.x, p.y}}, 1e-14);
    }
    EXPECT_EQ(drawn([&](ll_list *l) { zv_hyperbolic_arc_3d({0, 0, 0}, 1, 1, &none, -0.5, 0.5, l); }).size(), 3u);
    EXPECT_EQ(none, -3);
  }
  zv_parabola_pnt_3d({1, 2, 3}, 0.5, 3.0, 0, &p);
  expect_near({{p.x, p.y}}, {{5.5, 5}}, 0);
  zv_parabola_pnt_3d({1, 2, 3}, 0.5, 3.0, 7, &p);  // any other axis swaps the roles
  expect_near({{p.x, p.y}}, {{4, 6.5}}, 0);
  for (double sign : {1.0, -1.0})  // from the smaller parameter whatever the order
    EXPECT_EQ(drawn([&](ll_list *l) { zv_parabolic_arc_3d({0, 0, 0}, 1.0, 0, 4, sign, -sign, l); }),
              (XY{{1, -2}, {0.25, -1}, {0, 0}, {0.25, 1}, {1, 2}}));
  EXPECT_EQ(drawn([](ll_list *l) { zv_parabolic_arc_3d({0, 0, 0}, 1.0, 0, 0, -1, 1, l); }).size(), 2u);
}

// The frames are the unit gradient of each conic's implicit equation (the
// outward normal) and its perpendicular (the tangent), in the conic's plane.
TEST_F(ConicShapes, FramesAreTheUnitGradientAndTangent) {
  std::mt19937 rng(4);
  std::uniform_real_distribution<double> at(-50, 50), axis(0.5, 8);
  const auto expect_frame = [](int16_t rc, const zv_vector_3d &first, const zv_vector_3d &second, double gx, double gy) {
    ASSERT_EQ(rc, 0);
    const double g = std::hypot(gx, gy);
    EXPECT_NEAR(second.dx, gx / g, 1e-14);
    EXPECT_NEAR(second.dy, gy / g, 1e-14);
    EXPECT_EQ(zvtest::value(second.dz) + zvtest::value(first.dz), 0.0);
    EXPECT_NEAR(std::hypot(first.dx, first.dy), 1.0, 1e-14);
    EXPECT_NEAR(first.dx * gx + first.dy * gy, 0.0, 1e-14 * g);
  };
  for (int k = 0; k < 20; ++k) {
    const zv_pnt_3d c{at(rng), at(rng), at(rng)};
    const double a = axis(rng), b = axis(rng), th = at(rng), ch = std::cosh(th / 25), sh = std::sinh(th / 25);
    zv_vector_3d f, s;
    zv_circle_stats_3d(c, {c.x + a, c.y + b, c.z}, &f, &s);
    expect_frame(0, f, s, a, b);
    expect_frame(zv_ellipse_stats_3d(c, a, b, {c.x + a * std::cos(th), c.y + b * std::sin(th), c.z}, &f, &s), f, s,
                 std::cos(th) / a, std::sin(th) / b);
    expect_frame(zv_hyperbola_stats_3d(c, a, b, 0, {c.x - a * ch, c.y + b * sh, c.z}, &f, &s), f, s, -ch / a, -sh / b);
    expect_frame(zv_hyperbola_stats_3d(c, a, b, 1, {c.x + a * sh, c.y + b * ch, c.z}, &f, &s), f, s, -sh / a, ch / b);
    for (int16_t ax : {0, 1}) {
      zv_pnt_3d p{};
      zv_parabola_pnt_3d(c, k % 2 ? -a : a, th / 25, ax, &p);
      const double g = -2 * (k % 2 ? -a : a), across = 2 * (k % 2 ? -a : a) * th / 25;
      expect_frame(zv_parabola_stats_3d(c, k % 2 ? -a : a, ax, p, &f, &s), f, s, ax ? across : g, ax ? g : across);
    }
  }
}

}  // namespace
