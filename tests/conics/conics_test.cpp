// Conics, arcs and cycloids: exact points at closed-form positions, angle
// reduction and passing angle 0, numbering, segment counts that round up
// without leaving int16, symmetric polylines that mirror only their own
// vertices, and the unit frames. Vertices on Open CASCADE's conics are
// checked in tests/peer.
#include <cmath>
#include <functional>
#include <random>

#include "zv_testing.hpp"

namespace {

using zvtest::vertices;
using XY = std::vector<std::pair<double, double>>;
using Draw = std::function<void(ll_list *)>;
constexpr double kPi = 3.141592653589793, kH = 1.4142135623730951;  // sqrt(2)

class ConicShapes : public zvtest::KernelTest {};

// The vertices f appends to a fresh list.
std::vector<zvtest::Vertex> drawn(const Draw &f) {
  ll_list *list = ll_create_list();
  f(list);
  const auto v = vertices(list);
  ll_purge_list(list);
  return v;
}

// Each vertex within tol of the wanted position; exact marks those that must match bit for bit.
void expect_at(const std::vector<zvtest::Vertex> &got, const XY &want, double tol, std::vector<size_t> exact = {}) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_NEAR(got[i].x, want[i].first, tol) << i;
    EXPECT_NEAR(got[i].y, want[i].second, tol) << i;
  }
  for (size_t i : exact) EXPECT_TRUE(got[i].x == want[i].first && got[i].y == want[i].second) << i;
}

std::vector<int> numbers(const std::vector<zvtest::Vertex> &v) {
  std::vector<int> out;
  for (const auto &x : v) out.push_back(x.index);
  return out;
}

// n + 1 points of a closed form at even parameter steps from t0 to t1; tiny coordinates snap to the centre's.
XY curve(std::function<std::pair<double, double>(double)> f, double t0, double t1, int n) {
  XY out;
  for (int i = 0; i <= n; ++i) out.push_back(f(t0 + (t1 - t0) * i / n));
  for (auto &[x, y] : out) x = std::fabs(x) < 1e-12 ? 0 : x, y = std::fabs(y) < 1e-12 ? 0 : y;
  return out;
}
auto circle(double cx, double cy, double r) {
  return [=](double a) { return std::pair{cx + r * std::cos(a), cy + r * std::sin(a)}; };
}

// Single points: the result code, the point (z included) and the message each call gives.
TEST_F(ConicShapes, PointsAtClosedFormPositions) {
  const zv_pnt_3d c{1, 2, 3};
  using Call = std::function<int16_t(zv_pnt_3d *)>;
  const auto circ = [c](double r, double t) -> Call {
    return [=](zv_pnt_3d *p) { return zv_circle_pnt_3d(c, r, t, p), 0; };
  };
  const auto on = [c](auto f, double a, double b, double t) -> Call {
    return [=](zv_pnt_3d *p) { return f(c, a, b, t, p); };
  };
  const auto para = [c](int16_t ax) -> Call {
    return [=](zv_pnt_3d *p) { return zv_parabola_pnt_3d(c, 0.5, 3, ax, p), 0; };
  };
  // call, result, point wanted, tolerance, messages
  const struct { Call call; int16_t rc; zv_pnt_3d want; double tol; size_t messages = 0; } rows[] = {
      {circ(2, 0.25), 0, {1, 4, 3}, 1e-15}, {circ(2, 1.0), 0, {3, 2, 3}, 1e-15}, {circ(2, -0.25), 0, {1, 0, 3}, 1e-15},
      {circ(2, 1e-8), 0, {3, 2, 3}, 1e-15}, {circ(2, 1e300), 0, {3, 2, 3}, 1e-15},
      {circ(0, 1e-8), 0, {1, 2, 3}, 0},                           // the start needs no radius
      {on(zv_ellipse_pnt_3d, 2, 1, 2 * kPi), 0, {3, 2, 3}, 0},      // reduced once to the start
      {on(zv_ellipse_pnt_3d, 2, 1, 4 * kPi), 0, {3, 2, 3}, 1e-14},  // once only: 2 pi, the same point
      {on(zv_hyperbola_pnt_3d, 2, 1, 0.5), 0, {1 + 10.0 / 3, 2 + 4.0 / 3, 3}, 1e-15},
      {on(zv_hyperbola_pnt_3d, -2, 1, -0.5), 0, {1 - 10.0 / 3, 2 - 4.0 / 3, 3}, 1e-15},  // the branch towards -x
      // t = -1 divided by zero and t < -1 gave the other branch: both ends are refused.
      {on(zv_hyperbola_pnt_3d, 2, 1, 0.9999999), 80, {0, 0, 0}, 0, 1},
      {on(zv_hyperbola_pnt_3d, 2, 1, -0.9999999), 80, {0, 0, 0}, 0, 1},
      {on(zv_hyperbola_pnt_3d, 2, 1, -3.0), 80, {0, 0, 0}, 0, 1},
      {para(0), 0, {5.5, 5, 3}, 0}, {para(7), 0, {4, 6.5, 3}, 0},  // any other axis swaps the roles
  };
  for (const auto &r : rows) {
    zv_pnt_3d p{9, 9, 9};
    reports.messages.clear();
    EXPECT_EQ(r.call(&p), r.rc) << &r - rows;
    EXPECT_EQ(reports.messages.size(), r.messages) << &r - rows;
    EXPECT_LE(std::fabs(p.x - r.want.x) + std::fabs(p.y - r.want.y) + std::fabs(p.z - r.want.z), r.tol) << &r - rows;
  }
}

TEST_F(ConicShapes, ArcsExactAtQuarterTurnsNumberedAndPassingAngleZero) {
  const auto arc = [](zv_pnt_3d c, double a0, double a1, int16_t n) -> Draw {
    return [=](ll_list *l) { zv_arcpnts_3d(c, 2, a0, a1, n, l); };
  };
  const auto turns = drawn([](ll_list *l) { zv_circle_arc_3d({1, 2, 3}, 2.0, 4, 0.0, 0.5, l); });
  expect_at(turns, curve(circle(1, 2, 2), 0, kPi, 4), 1e-15);
  EXPECT_EQ(numbers(turns), (std::vector<int>{0, 1, 2, 3, 4}));
  expect_at(drawn(arc({0, 0, 5}, 0, kPi, 2)), curve(circle(0, 0, 2), 0, kPi, 2), 0);
  expect_at(drawn(arc({0, 0, 5}, 1.5 * kPi, kPi / 2, 4)), curve(circle(0, 0, 2), 1.5 * kPi, 2.5 * kPi, 4), 1e-15, {2});
  expect_at(drawn(arc({0, 0, 0}, 1, 1 - 5e-8, 4)), curve(circle(0, 0, 2), 1, 1 - 5e-8, 4), 1e-6);  // no full turn
  expect_at(drawn(arc({0, 0, 0}, 0, 2 * kPi, 8)), curve(circle(0, 0, 2), 0, 2 * kPi, 8), 1e-14, {8});
  for (double start : {4 * kPi + 1, 1e300, 2 * kPi + 5e-8}) {  // reduced, never looped over
    const auto v = drawn(arc({0, 0, 0}, start, start, 2));
    ASSERT_EQ(v.size(), 3u);
    EXPECT_NEAR(std::hypot(v[0].x, v[0].y), 2.0, 1e-14) << start;
    EXPECT_TRUE(start > 20 || std::fabs(v[0].x - 2 * std::cos(std::fmod(start, 2 * kPi))) < 1e-14);
  }
  zv_pnt_3d p1{-2, -1, 4}, p2{2, 1, 0};
  int16_t n = 4;
  expect_at(drawn([&](ll_list *l) { zv_elliptic_arc_3d(&p1, &p2, &n, 3 * kPi / 2, kPi / 2, l); }),
            {{0, -1}, {kH, -kH / 2}, {2, 0}, {kH, kH / 2}, {0, 1}}, 1e-14);
}

TEST_F(ConicShapes, ArcNumberingSnappingAndPrivateLists) {
  // The centre form numbers on from the list's last vertex, wrapping past int16.
  ll_list *list = zvtest::make_polygon({{0, 0, 0}, {0, 0, 0}});
  static_cast<zv_poly_3d *>(list->tail->data)->index = 7;
  EXPECT_EQ(zv_arcpnts_3d({0, 0, 5}, 2, 0, kPi, 2, list), 5);
  static_cast<zv_poly_3d *>(list->tail->data)->index = 32767;
  zv_arcpnts_3d({0, 0, 5}, 2, 0, kPi, 1, list);
  EXPECT_TRUE(vertices(list)[2].index == 8 && vertices(list)[6].index == -32767);
  // The record form numbers from 0 and counts the whole list, or its private list's.
  zv_arc_2d rec;
  zv_set_arc_2d(1, 2, 3, 0, 0, kPi, &rec);
  EXPECT_EQ(zv_arc_pnts_3d(&rec, 4, 7.5, list), 12);
  EXPECT_TRUE(vertices(list)[7].index == 0 && vertices(list)[7].z == 7.5);
  EXPECT_EQ(zv_arc_pnts_3d(&rec, 4, 0, nullptr), 5);
  // Small coordinates snap to zero in the centre form only.
  const double residue = std::cos(kPi / 3) - 0.5;
  ASSERT_NE(residue, 0.0);
  zv_arcpnts_3d({-0.5, 0, 0}, 1.0, kPi / 3, kPi / 2, 1, list);
  zv_set_arc_2d(-0.5, 0, 1, 0, kPi / 3, kPi / 2, &rec);
  zv_arc_pnts_3d(&rec, 1, 0, list);
  EXPECT_TRUE(vertices(list)[12].x == 0.0 && vertices(list)[14].x == residue);
  ll_purge_list(list);
}

// Closed polylines and arches: positions, the end placed exactly, and the numbering.
TEST_F(ConicShapes, PolylinesAtExactPointsWithTheirNumbers) {
  for (double r : {1.5, -1.0}) {  // the arch lies on the side of the radius's sign
    zv_pnt_3d start{1, 2, 3};
    int16_t n = 4, count = 0;
    const auto v = drawn([&](ll_list *l) { EXPECT_EQ(zv_cycloidpnts_3d(&start, r, &n, l, &count), 0); });
    const auto arch = [r](double a) {
      return std::pair{1 + (a - std::sin(a)) * std::fabs(r), 2 + (1 - std::cos(a)) * r};
    };
    EXPECT_EQ(count, 5);
    expect_at(v, curve(arch, 0, 2 * kPi, 4), 1e-14, {4});
    EXPECT_EQ(numbers(v), (std::vector<int>{0, 1, 2, 3, 4}));
  }
  zv_pnt_3d p1{2, 1, 5}, p2{0, 0, 9};  // p1 is not the lower-left corner: centre (3, 1.5)
  int16_t n = 0, count = -1;
  const auto ellipse = drawn([&](ll_list *l) { zv_ellipsepnts_3d(&p1, &p2, &n, &count, l); });
  expect_at(ellipse, {{4, 1.5}, {3, 2}, {2, 1.5}, {3, 1}, {4, 1.5}}, 0);
  EXPECT_EQ(numbers(ellipse), std::vector<int>(5, 1));
  // Hyperbola branches, one list each: a counter shared by both lists numbers them.
  const double r3 = std::sqrt(3.0), s = 2 * std::sqrt(8.0);
  for (uint8_t mode : {0, 1}) {
    zv_pnt_3d c1{0, 0, 3}, c2{4, 2, 9};
    n = 2;
    ll_list *other = ll_create_list();
    auto v = drawn([&](ll_list *l) { ASSERT_EQ(zv_hyperbolapnts_3d(mode, &c1, &c2, 2.0, &n, &count, l, other), 0); });
    for (const auto &x : vertices(other)) v.push_back(x);
    ll_purge_list(other);
    expect_at(v, mode ? XY{{2 - s, 4}, {2, 2}, {2 + s, 4}, {2 + s, -2}, {2, 0}, {2 - s, -2}}
                      : XY{{6, 1 + r3}, {4, 1}, {6, 1 - r3}, {-2, 1 - r3}, {0, 1}, {-2, 1 + r3}}, 1e-14);
    EXPECT_EQ(numbers(v), (std::vector<int>{1, 2, 4, 1, 2, 5}));
  }
  // Parabolas open towards the sign of the focal distance, numbered 1 .. n + 1: mode, a, the vertices.
  const struct { uint8_t mode; double a; XY want; } parabolas[] = {
      {0, 1.0, {{5, 6}, {1, 2}, {5, -2}}}, {0, -1.0, {{-3, -2}, {1, 2}, {-3, 6}}},
      {1, -1.0, {{5, -2}, {1, 2}, {-3, -2}}}, {1, 1.0, {{-3, 6}, {1, 2}, {5, 6}}}};
  for (const auto &c : parabolas) {
    zv_pnt_3d v{1, 2, 3};
    n = 2;
    const auto got = drawn([&](ll_list *l) { zv_parabolapnts_3d(c.mode, &v, c.a, 4.0, &n, &count, l); });
    expect_at(got, c.want, 0);
    EXPECT_EQ(numbers(got), (std::vector<int>{1, 2, 3}));
  }
}

TEST_F(ConicShapes, HyperbolicAndParabolicArcs) {
  for (double dir : {1.0, -1.0}) {  // even steps either way
    int16_t n = 4;
    const double t1 = dir > 0 ? 0.0 : 0.5;
    const auto v = drawn([&](ll_list *l) { zv_hyperbolic_arc_3d({-3, 4, 1}, 2, 1.5, &n, t1, 0.5 - t1, l); });
    const auto on = [](double t) {
      zv_pnt_3d p;
      zv_hyperbola_pnt_3d({-3, 4, 1}, 2, 1.5, t, &p);
      return std::pair{p.x, p.y};
    };
    expect_at(v, curve(on, t1, 0.5 - t1, 4), 1e-14);
  }
  for (double sign : {1.0, -1.0})  // from the smaller parameter whatever the order
    expect_at(drawn([&](ll_list *l) { zv_parabolic_arc_3d({0, 0, 0}, 1.0, 0, 4, sign, -sign, l); }),
              {{1, -2}, {0.25, -1}, {0, 0}, {0.25, 1}, {1, 2}}, 0);
  expect_at(drawn([](ll_list *l) { zv_parabolic_arc_3d({0, 0, 0}, 1.0, 0, 0, -1, 1, l); }), {{1, -2}, {1, 2}}, 0);
}

// Segment counts round up to a multiple (4 for the ellipse, 2 for the hyperbola and parabola) within int16, and
// every count written back equals the vertices appended. Regressions: the cycloid at n = 32767 and the cubic
// B-spline at a request of 32767 appended 32768 and 32769 vertices (counts 32767 and -32767); the quadratic and
// Catmull-Rom counts wrapped past 32767 vertices; a cubic request <= 0 appended vertices.
class CountsWrittenBack : public zvtest::KernelTest {};

TEST_F(CountsWrittenBack, FitInt16AndEqualTheVerticesAppended) {
  ll_list *polygon = zvtest::make_polygon(std::vector<zv_pnt_3d>(32767, zv_pnt_3d{1, 2, 3}));
  // which: 0 ellipse, 1 hyperbola, 2 parabola, 3 cycloid, 4 cubic over five points (in: the request), 5 quadratic
  // and 6 Catmull-Rom at mode 6 (in: the points); out: *n or the request as written back.
  const struct { int which; int16_t in, out, vertices, rc; } cases[] = {
      {0, 5, 8, 9, 0}, {0, 32766, 32764, 32765, 0}, {0, 32767, 32764, 32765, 0}, {0, -32768, 4, 5, 0},
      {1, 5, 6, 7, 0}, {1, 32767, 32766, 32767, 0}, {1, -32768, 2, 3, 0}, {2, 32766, 32766, 32767, 0},
      {2, 32767, 32766, 32767, 0}, {2, -32768, 2, 3, 0}, {3, 32766, 32766, 32767, 0}, {3, 32767, 32767, 32767, 0},
      {3, -32768, -32768, 0, 0}, {4, 32766, 32767, 32767, 0}, {4, 32767, 32767, 32767, 0}, {4, -32768, 0, 0, 0},
      {4, -3, 0, 0, 0}, {4, 0, 0, 0, 0}, {5, 10924, 10924, 32766, 0}, {5, 10925, 10925, 0, 33},
      {5, 32767, 32767, 0, 33}, {6, 16386, 16386, 32767, 0}, {6, 16387, 16387, 0, 33}, {6, 32766, 32766, 0, 33}};
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
    EXPECT_TRUE(r == c.rc && n == c.out && count == c.vertices && ll_list_length(a) == c.vertices)
        << c.which << " " << c.in << ": " << r << " " << n << " " << count << " " << ll_list_length(a);
    EXPECT_TRUE(c.which != 1 || c.in != 32767 || vertices(b).back().index == int16_t(3 * 16383 + 2));  // numbers wrap
    ll_purge_list(a), ll_purge_list(b);
  }
  ll_purge_list(polygon);
}

// A list that already held vertices used to have them mirrored and appended too; now only the call's own
// vertices are mirrored, each on its conic's implicit equation.
TEST_F(ConicShapes, SymmetricPolylinesMirrorOnlyTheirOwnVertices) {
  zv_pnt_3d p1{0, 0, 0}, p2{2, 2, 0}, v{1, 1, 1};
  for (int which = 0; which < 3; ++which) {
    ll_list *list = zvtest::make_polygon({{100, 100, 100}, {200, 200, 200}});
    int16_t n = 8, count = 0;
    ASSERT_EQ(which == 0   ? zv_ellipsepnts_3d(&p1, &p2, &n, &count, list)
              : which == 1 ? zv_hyperbolapnts_3d(0, &p1, &p2, 1.0, &n, &count, list, nullptr)
                           : zv_parabolapnts_3d(0, &v, 0.5, 3.0, &n, &count, list), 0);
    const auto all = vertices(list);
    ASSERT_EQ(all.size(), 2u + count) << which;
    EXPECT_TRUE(all[0].x == 100.0 && all[1].x == 200.0 && all[0].index == 0);
    for (size_t i = 2; i < all.size(); ++i) {
      const double x = all[i].x - 1, y = all[i].y - 1;
      EXPECT_NEAR(which == 0 ? x * x + y * y : which == 1 ? x * x - y * y : y * y - 2 * x, which == 2 ? 0 : 1, 1e-12);
    }
    ll_purge_list(list);
  }
}

// The frames are the unit gradient of each conic's implicit equation (the outward normal) and its
// perpendicular (the tangent), in the conic's plane.
TEST_F(ConicShapes, FramesAreTheUnitGradientAndTangent) {
  std::mt19937 rng(4);
  std::uniform_real_distribution<double> at(-50, 50), axis(0.5, 8);
  zv_vector_3d t, n;
  const auto expect_frame = [&](int16_t rc, double gx, double gy) {
    ASSERT_EQ(rc, 0);
    const double g = std::hypot(gx, gy);
    EXPECT_TRUE(std::fabs(n.dx - gx / g) < 1e-14 && std::fabs(n.dy - gy / g) < 1e-14 && n.dz + t.dz == 0.0);
    EXPECT_NEAR(std::hypot(t.dx, t.dy), 1.0, 1e-14);
    EXPECT_NEAR(t.dx * gx + t.dy * gy, 0.0, 1e-14 * g);
  };
  for (int k = 0; k < 20; ++k) {
    const zv_pnt_3d c{at(rng), at(rng), at(rng)};
    const double a = axis(rng), b = axis(rng), th = at(rng), ch = std::cosh(th / 25), sh = std::sinh(th / 25);
    const double f = k % 2 ? -a : a;  // a signed focal distance
    zv_circle_stats_3d(c, {c.x + a, c.y + b, c.z}, &t, &n);
    expect_frame(0, a, b);
    expect_frame(zv_ellipse_stats_3d(c, a, b, {c.x + a * std::cos(th), c.y + b * std::sin(th), c.z}, &t, &n),
                 std::cos(th) / a, std::sin(th) / b);
    expect_frame(zv_hyperbola_stats_3d(c, a, b, 0, {c.x - a * ch, c.y + b * sh, c.z}, &t, &n), -ch / a, -sh / b);
    expect_frame(zv_hyperbola_stats_3d(c, a, b, 1, {c.x + a * sh, c.y + b * ch, c.z}, &t, &n), -sh / a, ch / b);
    for (int16_t ax : {0, 1}) {
      zv_pnt_3d p{};
      zv_parabola_pnt_3d(c, f, th / 25, ax, &p);
      const double g = -2 * f, across = 2 * f * th / 25;
      expect_frame(zv_parabola_stats_3d(c, f, ax, p, &t, &n), ax ? across : g, ax ? g : across);
    }
  }
}

}  // namespace
