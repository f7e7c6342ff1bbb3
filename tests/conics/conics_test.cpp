// Conics, arcs and cycloids: closed-form points, numbering, counts within int16 and the unit frames (their
// vertices on Open CASCADE's conics are in tests/peer).
#include <cmath>
#include <functional>
#include <random>

#include "spline_records.hpp"

namespace {

using zvtest::vertices;
using XY = std::vector<std::pair<double, double>>;
constexpr double kPi = 3.141592653589793, kH = 1.4142135623730951;  // sqrt(2)

class ConicShapes : public zvtest::KernelTest {};

// n + 1 points of a closed form at even parameter steps from t0 to t1.
XY curve(std::function<std::pair<double, double>(double)> f, double t0, double t1, int n) {
  XY out;
  for (int i = 0; i <= n; ++i) out.push_back(f(t0 + (t1 - t0) * i / n));
  return out;
}
auto circle(double cx, double cy, double r) {
  return [=](double a) { return std::pair{cx + r * std::cos(a), cy + r * std::sin(a)}; };
}

// Single points, z included; only the hyperbola's parameter at the edge of (-1, 1) is refused.
TEST_F(ConicShapes, PointsAtClosedFormPositions) {
  const zv_pnt_3d c{1, 2, 3};
  const auto on_circle = [&](double r, double t) { zv_pnt_3d p{9, 9, 9}; return zv_circle_pnt_3d(c, r, t, &p), p; };
  const auto on_conic = [&](auto f, double a, double t, int16_t rc) {
    zv_pnt_3d p{9, 9, 9};
    EXPECT_EQ(f(c, a, 1, t, &p), rc) << a << " " << t;
    return p;
  };
  const auto on_parabola = [&](int16_t axis) { zv_pnt_3d p; return zv_parabola_pnt_3d(c, 0.5, 3, axis, &p), p; };
  const struct { zv_pnt_3d got, want; double tol; } rows[] = {
      {on_circle(2, 2.25), {1, 4, 3}, 1e-15}, {on_circle(2, -0.25), {1, 0, 3}, 1e-15},  // turns taken off
      {on_circle(2, 1e300), {3, 2, 3}, 1e-15}, {on_circle(2, -5e-8), {3, 2, 3}, 0},
      {on_circle(0, 5e-8), {1, 2, 3}, 0},                                         // the start needs no radius
      {on_conic(zv_ellipse_pnt_3d, 2, 2 * kPi, 0), {3, 2, 3}, 0},                // a full turn is the start
      {on_conic(zv_hyperbola_pnt_3d, 2, 0.5, 0), {1 + 10.0 / 3, 2 + 4.0 / 3, 3}, 1e-15},
      {on_conic(zv_hyperbola_pnt_3d, -2, -0.5, 0), {1 - 10.0 / 3, 2 - 4.0 / 3, 3}, 1e-15},  // the branch towards -x
      {on_conic(zv_hyperbola_pnt_3d, 2, 0.9999999, 80), {0, 0, 0}, 0},
      {on_parabola(0), {5.5, 5, 3}, 0}, {on_parabola(7), {4, 6.5, 3}, 0},  // any other axis swaps the roles
  };
  for (const auto &r : rows) EXPECT_LE(zvtest::distance(r.got, r.want), r.tol) << &r - rows;
  EXPECT_EQ(reports.messages, (std::vector<zvtest::Message>{{"BADTVALUE", 80, "zv_hyperbola_pnt_3d"}}));
}

// Arcs and polylines appended after a vertex that is never mirrored: their vertices at closed-form positions (first
// list, then second) and z, numbered as each function does, the count written back equal to the first list's.
struct Ctx {
  ll_list *a, *b;
  int16_t n, count = -1;
};
TEST_F(ConicShapes, VerticesNumbersAndMirrors) {
  const auto arch = [](double r) {
    return [r](double t) { return std::pair{1 + (t - std::sin(t)) * std::fabs(r), 2 + (1 - std::cos(t)) * r}; };
  };
  const auto branch = [](double t) { return std::pair{(1 + t * t) * 2 / (1 - t * t) - 3, 3 * t / (1 - t * t) + 4}; };
  const auto from = [](int first, int n) { std::vector<int> v(n); std::iota(v.begin(), v.end(), first); return v; };
  const std::vector<int> ones(9, 1), hyperbola_numbers = {1, 2, 3, 5, 6, 1, 2, 3, 7, 8};
  const double r3 = std::sqrt(3.0), r5 = std::sqrt(5.0) / 2, e = std::sqrt(3.0) / 4, s8 = 2 * std::sqrt(8.0);
  const double s2 = 2 * std::sqrt(2.0);
  using Call = std::function<void(Ctx &)>;
  const struct { Call call; int16_t n; XY want; double z, tol; std::vector<int> numbers; } rows[] = {
      {[](Ctx &c) { zv_circle_arc_3d({1, 2, 3}, 2.0, c.n, 0.0, 0.5, c.a); }, 4, curve(circle(1, 2, 2), 0, kPi, 4), 3,
       1e-15, from(0, 5)},  // the record form numbers from 0, the centre form on from the list's last vertex
      {[](Ctx &c) { zv_arcpnts_3d({0, 0, 5}, 2, 1.5 * kPi, kPi / 2, c.n, c.a); }, 4,
       curve(circle(0, 0, 2), 1.5 * kPi, 2.5 * kPi, 4), 5, 1e-15, from(1, 5)},
      {[](Ctx &c) { zv_arcpnts_3d({0, 0, 0}, 2, 1, 1 - 5e-8, c.n, c.a); }, 4,  // no full turn
       curve(circle(0, 0, 2), 1, 1 - 5e-8, 4), 0, 1e-6, from(1, 5)},
      {[](Ctx &c) { zv_arcpnts_3d({0, 0, 0}, 2, 0, 2 * kPi, c.n, c.a); }, 8, curve(circle(0, 0, 2), 0, 2 * kPi, 8), 0,
       1e-14, from(1, 9)},
      {[](Ctx &c) { zv_pnt_3d p{-2, -1, 4}, q{2, 1, 0}; zv_elliptic_arc_3d(&p, &q, &c.n, 1.5 * kPi, 0.5 * kPi, c.a); },
       4, {{0, -1}, {kH, -kH / 2}, {2, 0}, {kH, kH / 2}, {0, 1}}, 4, 1e-14, {1, 1, 1, 1, 1}},
      {[](Ctx &c) { zv_pnt_3d s{1, 2, 3}; zv_cycloidpnts_3d(&s, 1.5, &c.n, c.a, &c.count); }, 4,  // on r's side
       curve(arch(1.5), 0, 2 * kPi, 4), 3, 1e-14, from(0, 5)},
      {[](Ctx &c) { zv_pnt_3d s{1, 2, 3}; zv_cycloidpnts_3d(&s, -1, &c.n, c.a, &c.count); }, 4,
       curve(arch(-1.0), 0, 2 * kPi, 4), 3, 1e-14, from(0, 5)},
      {[](Ctx &c) { zv_pnt_3d p1{2, 1, 5}, p2{0, 0, 9}; zv_ellipsepnts_3d(&p1, &p2, &c.n, &c.count, c.a); }, 8,
       {{4, 1.5}, {3.5, 1.5 + e}, {3, 2}, {2.5, 1.5 + e}, {2, 1.5}, {2.5, 1.5 - e}, {3, 1}, {3.5, 1.5 - e}, {4, 1.5}},
       5, 1e-15, ones},  // p1 need not be the lower-left corner
      {[](Ctx &c) { zv_pnt_3d p{0, 0, 3}, q{4, 2, 9}; zv_hyperbolapnts_3d(0, &p, &q, 2, &c.n, &c.count, c.a, c.b); },
       4, {{6, 1 + r3}, {5, 1 + r5}, {4, 1}, {5, 1 - r5}, {6, 1 - r3},
           {-2, 1 - r3}, {-1, 1 - r5}, {0, 1}, {-1, 1 + r5}, {-2, 1 + r3}}, 3, 1e-14, hyperbola_numbers},
      {[](Ctx &c) { zv_pnt_3d p{0, 0, 3}, q{4, 2, 9}; zv_hyperbolapnts_3d(1, &p, &q, 2, &c.n, &c.count, c.a, c.b); },
       4, {{2 - s8, 4}, {2 - 2 * r3, 3}, {2, 2}, {2 + 2 * r3, 3}, {2 + s8, 4},
           {2 + s8, -2}, {2 + 2 * r3, -1}, {2, 0}, {2 - 2 * r3, -1}, {2 - s8, -2}}, 3, 1e-14, hyperbola_numbers},
      // Parabolas open towards the sign of the focal distance.
      {[](Ctx &c) { zv_pnt_3d v{1, 2, 3}; zv_parabolapnts_3d(0, &v, 1, 4, &c.n, &c.count, c.a); }, 4,
       {{5, 6}, {3, 2 + s2}, {1, 2}, {3, 2 - s2}, {5, -2}}, 3, 1e-15, from(1, 5)},
      {[](Ctx &c) { zv_pnt_3d v{1, 2, 3}; zv_parabolapnts_3d(0, &v, -1, 4, &c.n, &c.count, c.a); }, 2,
       {{-3, -2}, {1, 2}, {-3, 6}}, 3, 0, from(1, 3)},
      {[](Ctx &c) { zv_pnt_3d v{1, 2, 3}; zv_parabolapnts_3d(1, &v, -1, 4, &c.n, &c.count, c.a); }, 2,
       {{5, -2}, {1, 2}, {-3, -2}}, 3, 0, from(1, 3)},
      {[](Ctx &c) { zv_pnt_3d v{1, 2, 3}; zv_parabolapnts_3d(1, &v, 1, 4, &c.n, &c.count, c.a); }, 2,
       {{-3, 6}, {1, 2}, {5, 6}}, 3, 0, from(1, 3)},
      {[](Ctx &c) { zv_hyperbolic_arc_3d({-3, 4, 1}, 2, 1.5, &c.n, 0.5, -0.25, c.a); }, 4,  // steps down from t1
       curve(branch, 0.5, -0.25, 4), 1, 1e-14, {1, 1, 1, 1, 1}},
      // From the smaller parameter whatever the order; n = 0 is one segment.
      {[](Ctx &c) { zv_parabolic_arc_3d({0, 0, 0}, 1, 0, c.n, 1, -1, c.a); }, 4,
       {{1, -2}, {0.25, -1}, {0, 0}, {0.25, 1}, {1, 2}}, 0, 0, {1, 1, 1, 1, 1}},
      {[](Ctx &c) { zv_parabolic_arc_3d({0, 0, 0}, 1, 0, c.n, -1, 1, c.a); }, 0, {{1, -2}, {1, 2}}, 0, 0, {1, 1}},
  };
  for (const auto &r : rows) {
    const auto row = &r - rows;
    rivezi3z::List<zv_poly_3d> a = rivezi3z::polygon({{100, 100, 100}}), b = rivezi3z::polygon({{100, 100, 100}});
    Ctx c{a.get(), b.get(), r.n};
    r.call(c);
    std::vector<zvtest::Vertex> got = vertices(a.get()), second = vertices(b.get());
    ASSERT_TRUE(got[0].x == 100 && got[0].index == 0 && second[0].x == 100) << row;
    EXPECT_TRUE(c.count == -1 || c.count == a.size() - 1) << row;
    got.erase(got.begin()), got.insert(got.end(), second.begin() + 1, second.end());
    ASSERT_EQ(got.size(), r.want.size()) << row;
    std::vector<int> numbers;
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_TRUE(std::fabs(got[i].x - r.want[i].first) <= r.tol && std::fabs(got[i].y - r.want[i].second) <= r.tol &&
                  got[i].z == r.z) << row << " " << i;
      numbers.push_back(got[i].index);
    }
    EXPECT_EQ(numbers, r.numbers) << row;
  }
}

// Both arc forms return the whole list's count (a private list's without one); the centre form's numbers wrap, and
// it alone snaps small coordinates to zero.
TEST_F(ConicShapes, ArcCountsWrappingAndSnapping) {
  rivezi3z::List<zv_poly_3d> list = rivezi3z::polygon({{0, 0, 0}});
  list.begin()->index = 32767;
  EXPECT_EQ(zv_arcpnts_3d({0, 0, 5}, 2, 0, kPi, 1, list.get()), 3);
  zv_arc_2d rec;
  zv_set_arc_2d(1, 2, 3, 0, 0, kPi, &rec);
  EXPECT_EQ(zv_arc_pnts_3d(&rec, 4, 7.5, list.get()), 8);
  EXPECT_EQ(zv_arc_pnts_3d(&rec, 4, 0, nullptr), 5);
  const double residue = std::cos(kPi / 3) - 0.5;
  zv_arcpnts_3d({-0.5, 0, 0}, 1.0, kPi / 3, kPi / 2, 1, list.get());
  zv_set_arc_2d(-0.5, 0, 1, 0, kPi / 3, kPi / 2, &rec);
  zv_arc_pnts_3d(&rec, 1, 0, list.get());
  const auto v = vertices(list.get());
  ASSERT_EQ(v.size(), 12u);
  EXPECT_TRUE(v[1].index == -32768 && v[2].index == -32767 && v[3].index == 0 && v[3].z == 7.5);
  EXPECT_TRUE(residue != 0.0 && v[8].index == 5 && v[8].x == 0.0 && v[10].x == residue);
}

// Segment counts round up to a multiple (4 for the ellipse, 2 for the hyperbola and parabola) within int16, equal
// to the vertices appended. Regressions: the cycloid and cubic B-spline at 32767 passed int16; other counts wrapped.
TEST_F(ConicShapes, CountsFitInt16AndEqualTheVerticesAppended) {
  rivezi3z::List<zv_poly_3d> polygon = rivezi3z::polygon(std::vector<zv_pnt_3d>(32767, zv_pnt_3d{1, 2, 3}));
  // which: 0 ellipse, 1 hyperbola, 2 parabola, 3 cycloid, 4 cubic over five points (in: the request), 5 quadratic
  // and 6 Catmull-Rom at mode 6 (in: the points); out: *n or the request as written back.
  const struct { int which; int16_t in, out, vertices, rc; } cases[] = {
      {0, 5, 8, 9, 0}, {0, 32766, 32764, 32765, 0}, {1, 5, 6, 7, 0}, {1, 32767, 32766, 32767, 0}, {1, -32768, 2, 3, 0},
      {2, 32767, 32766, 32767, 0}, {2, -32768, 2, 3, 0}, {3, 32767, 32767, 32767, 0}, {4, 32767, 32767, 32767, 0},
      {5, 10924, 10924, 32766, 0}, {5, 10925, 10925, 0, 33}, {6, 16386, 16386, 32767, 0}, {6, 16387, 16387, 0, 33}};
  for (const auto &c : cases) {
    zv_pnt_3d p1{0, 0, 0}, p2{4, 2, 0};
    int16_t n = c.in, count = -1;
    rivezi3z::List<zv_poly_3d> a, b;
    const int16_t r = c.which == 0   ? zv_ellipsepnts_3d(&p1, &p2, &n, &count, a.get())
                      : c.which == 1 ? zv_hyperbolapnts_3d(0, &p1, &p2, 2.0, &n, &count, a.get(), b.get())
                      : c.which == 2 ? zv_parabolapnts_3d(1, &p1, 1.0, 4.0, &n, &count, a.get())
                      : c.which == 3 ? zv_cycloidpnts_3d(&p1, 1.0, &n, a.get(), &count)
                      : c.which == 4 ? zv_bspline_3d(5, polygon.get(), &n, a.get())
                      : c.which == 5 ? zv_quad_bspline_3d(n, polygon.get(), 6, &count, a.get())
                                     : zv_catrom_curve_3d(n, polygon.get(), 6, 0.5, &count, a.get());
    if (c.which == 4) count = n;
    EXPECT_TRUE(r == c.rc && n == c.out && count == c.vertices && a.size() == c.vertices)
        << c.which << " " << c.in << ": " << r << " " << n << " " << count << " " << a.size();
    EXPECT_TRUE(c.which != 1 || c.in != 32767 || vertices(b.get()).back().index == int16_t(3 * 16383 + 2));
  }
}

// The frames: the unit gradient of the conic's implicit equation (the outward normal) and its perpendicular.
TEST_F(ConicShapes, FramesAreTheUnitGradientAndTangent) {
  std::mt19937 rng(4);
  std::uniform_real_distribution<double> at(-50, 50), axis(0.5, 8);
  for (int k = 0; k < 20; ++k) {
    const zv_pnt_3d c{at(rng), at(rng), at(rng)};
    const double a = axis(rng), b = axis(rng), th = at(rng), u = th / 25, ch = std::cosh(u), sh = std::sinh(u);
    const double f = k % 2 ? -a : a;  // a signed focal distance
    zv_vector_3d t[6]{}, n[6]{};
    zv_circle_stats_3d(c, {c.x + a, c.y + b, c.z}, &t[0], &n[0]);
    zv_ellipse_stats_3d(c, a, b, {c.x + a * std::cos(th), c.y + b * std::sin(th), c.z}, &t[1], &n[1]);
    zv_hyperbola_stats_3d(c, a, b, 0, {c.x - a * ch, c.y + b * sh, c.z}, &t[2], &n[2]);
    zv_hyperbola_stats_3d(c, a, b, 1, {c.x + a * sh, c.y + b * ch, c.z}, &t[3], &n[3]);
    zv_parabola_stats_3d(c, f, 0, {c.x + f * u * u, c.y + 2 * f * u, c.z}, &t[4], &n[4]);
    zv_parabola_stats_3d(c, f, 1, {c.x + 2 * f * u, c.y + f * u * u, c.z}, &t[5], &n[5]);
    const double g[6][2] = {{a, b}, {std::cos(th) / a, std::sin(th) / b}, {-ch / a, -sh / b}, {-sh / a, ch / b},
                            {-2 * f, 2 * f * u}, {2 * f * u, -2 * f}};
    for (int i = 0; i < 6; ++i) {
      const double len = std::hypot(g[i][0], g[i][1]);
      EXPECT_TRUE(std::fabs(n[i].dx - g[i][0] / len) < 1e-14 && std::fabs(n[i].dy - g[i][1] / len) < 1e-14 &&
                  n[i].dz + t[i].dz == 0.0) << i;
      EXPECT_NEAR(std::hypot(t[i].dx, t[i].dy), 1.0, 1e-14) << i;
      EXPECT_NEAR(t[i].dx * g[i][0] + t[i].dy * g[i][1], 0.0, 1e-14 * len) << i;
    }
  }
}

}  // namespace
