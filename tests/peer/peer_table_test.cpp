// Every family against SISL and Open CASCADE, or a closed form neither holds: one table row a comparison, the worst
// gap of our call from the reference over fixed seeds and the bound it keeps. The peers agree with each other within
// 2.6e-14 relative, so 1e-12 of the polygon's scale is a fair bound for our evaluations.
#include <gtest/gtest.h>
#include <rivezi3z/rivezi3z.h>
#include <sisl.h>
#include <sislP.h>

#include <GeomAPI_ProjectPointOnCurve.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Hyperbola.hxx>
#include <Geom_Parabola.hxx>

#include <functional>
#include <memory>

#include "fitted_record.hpp"
#include "spline_records.hpp"

namespace {

using Points = std::vector<zv_pnt_3d>;
using Reals = std::vector<double>;
using zvtest::Record;
using SislCurve = std::unique_ptr<SISLCurve, void (*)(SISLCurve *)>;
struct Jet {  // position and first three derivatives at one parameter
  gp_XYZ point, first, second, third;
};
using Reference = std::function<Jet(double)>;
enum Peer { kOcct, kSislRight, kSislLeft, kClosedForm };  // SISL from the right (s1221) or the left (s1227)
constexpr double kMiss = 1e300;  // a gap no bound passes: the call failed or made the wrong number of items

gp_XYZ xyz(const zv_pnt_3d &p) { return {p.x, p.y, p.z}; }
zv_pnt_3d pnt(const gp_XYZ &v) { return {v.X(), v.Y(), v.Z()}; }
double max_abs(const gp_XYZ &a) { return std::max({std::fabs(a.X()), std::fabs(a.Y()), std::fabs(a.Z())}); }
Reals flat(const Points &pts, int dim = 3) {
  Reals out;
  for (const zv_pnt_3d &q : pts) out.insert(out.end(), {q.x, q.y, q.z}), out.resize(out.size() - 3 + dim);
  return out;
}

// A polygon's largest coordinate magnitude: any evaluation rounds at this scale times the machine epsilon.
double scale(const Points &poles) {
  double s = 0.0;
  for (const zv_pnt_3d &p : poles) s = std::max(s, max_abs(xyz(p)));
  return s;
}

// The worst gap of our values from the reference's over scale; for poles (x, y, z, w) each w over the reference's.
double gap(const Reals &ours, const Reals &ref, double scale, bool poles = false) {
  double worst = ours.empty() || ours.size() != ref.size() ? kMiss : 0.0;
  for (size_t i = 0; i < ours.size() && worst < kMiss; ++i)
    worst = std::max(worst, std::fabs(ours[i] - ref[i]) / (poles && i % 4 == 3 ? ref[i] : scale));
  return worst;
}
double relative_gap(const Reals &ours, const Reals &ref) {  // over the reference's largest magnitude (at least 1)
  double s = 1.0;
  for (double v : ref) s = std::max(s, std::fabs(v));
  return gap(ours, ref, s);
}

// The B-spline on the full knot vector in SISL, rational with weights (coefficients w x, w y, w z, w); SISL copies.
SislCurve sisl_bspline(const Points &poles, Reals knots, int degree, const Reals &weights = {}) {
  Reals coefs;
  for (size_t i = 0; i < poles.size(); ++i) {
    const double w = weights.empty() ? 1.0 : weights[i];
    coefs.insert(coefs.end(), {w * poles[i].x, w * poles[i].y, w * poles[i].z, w});
    if (weights.empty()) coefs.pop_back();
  }
  return {newCurve(int(poles.size()), degree + 1, knots.data(), coefs.data(), weights.empty() ? 1 : 2, 3, 1),
          freeCurve};
}

// The same curve in one peer as its jet at a parameter. Open CASCADE takes distinct knots and their multiplicities;
// its point alone (D0) keeps more digits than D3's at high degree.
Reference peer_curve(Peer peer, const Points &poles, const Reals &knots, int degree, const Reals &weights = {}) {
  if (peer != kOcct)
    return [c = std::shared_ptr<SISLCurve>(sisl_bspline(poles, knots, degree, weights)), peer](double u) {
      double d[12];
      int left = 0, stat = 0;
      (peer == kSislLeft ? s1227 : s1221)(c.get(), 3, u, &left, d, &stat);
      EXPECT_GE(stat, 0) << "SISL at " << u;
      return Jet{{d[0], d[1], d[2]}, {d[3], d[4], d[5]}, {d[6], d[7], d[8]}, {d[9], d[10], d[11]}};
    };
  TColgp_Array1OfPnt p(1, int(poles.size()));
  TColStd_Array1OfReal w(1, int(poles.size())), values(1, int(knots.size()));
  TColStd_Array1OfInteger m(1, int(knots.size()));
  for (int i = 0; i < p.Length(); ++i) p(i + 1) = gp_Pnt(xyz(poles[i])), w(i + 1) = weights.empty() ? 1.0 : weights[i];
  int distinct = 0;
  for (size_t i = 0; i < knots.size(); ++m(distinct), ++i)
    if (i == 0 || knots[i] != knots[i - 1]) values(++distinct) = knots[i], m(distinct) = 0;
  const TColStd_Array1OfReal k(values(1), 1, distinct);  // views of the first entries
  const TColStd_Array1OfInteger mults(m(1), 1, distinct);
  return [c = Handle(Geom_BSplineCurve)(new Geom_BSplineCurve(p, w, k, mults, degree))](double u) {
    gp_Pnt at;
    gp_Vec d1, d2, d3;
    c->D3(u, at, d1, d2, d3), c->D0(u, at);
    return Jet{at.XYZ(), d1.XYZ(), d2.XYZ(), d3.XYZ()};
  };
}

Reals bezier_knots(int p) {  // one clamped Bezier span on [0, 1]
  Reals knots(p + 1, 0.0);
  knots.resize(2 * p + 2, 1.0);
  return knots;
}

// The worst coordinate gap of our points from the reference's at the parameters, relative to the polygon.
double point_gap(const Points &ours, const Reals &u, const Reference &ref, const Points &poles) {
  Points theirs;
  for (size_t i = 0; i < u.size() && u.size() == ours.size(); ++i) theirs.push_back(pnt(ref(u[i]).point));
  return gap(flat(ours), flat(theirs), scale(poles));
}

// The vertices a call appends over a new control polygon; none when it fails.
Points polyline(const Points &poles, const std::function<int16_t(ll_list *, ll_list *)> &call) {
  ll_list *ctrl = zvtest::make_polygon(poles), *out = ll_create_list();
  const Points v = call(ctrl, out) == 0 ? zvtest::positions(out) : Points{};
  ll_purge_list(out), ll_purge_list(ctrl);
  return v;
}

// A uniform definition of a new polygon tessellated at the step; null when either fails.
Record uniform(zv_curve *(*define)(ll_list *), const Points &poles, double step) {
  ll_list *list = zvtest::make_polygon(poles);
  Record curve(define(list));
  ll_purge_list(list);  // the definition took the points over; the emptied header stays ours
  return curve && zv_mk_ucurve3d(curve.get(), step) == 0 ? std::move(curve) : Record();
}

// The ellipse, both hyperbola branches and the parabola of a random rectangle against Open CASCADE's (its hyperbola
// the branch along its x axis, its parabola y'^2 = 4 F x'): our vertices' worst distance from its conic (first), the
// sine of our frame's tangent to its derivative at the nearest point (second).
std::pair<double, double> conic_gaps(int seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> at(-20, 20), axis(0.5, 6), focal(0.25, 3);
  const zv_pnt_3d c{at(rng), at(rng), at(rng)};
  const double a = axis(rng), b = axis(rng), ra = std::max(a, b), rb = std::min(a, b),
               f = (seed % 2 ? -1 : 1) * focal(rng);
  zv_pnt_3d p1{c.x - ra, c.y - rb, c.z}, p2{c.x + ra, c.y + rb, 0};
  const auto ax = [](const zv_pnt_3d &o, double x) { return gp_Ax2(gp_Pnt(xyz(o)), gp_Dir(0, 0, 1), gp_Dir(x, 0, 0)); };
  const Handle(Geom_Curve) peers[4] = {new Geom_Ellipse(ax(c, 1), ra, rb), new Geom_Hyperbola(ax(c, 1), ra, rb),
                  new Geom_Hyperbola(ax(c, -1), ra, rb), new Geom_Parabola(ax(p1, f > 0 ? 1 : -1), std::fabs(f))};
  ll_list *lists[4] = {ll_create_list(), ll_create_list(), ll_create_list(), ll_create_list()};
  int16_t n[3] = {40, 20, 30}, count = 0;
  const bool made = zv_ellipsepnts_3d(&p1, &p2, &n[0], &count, lists[0]) == 0 &&
                    zv_hyperbolapnts_3d(0, &p1, &p2, 5.0, &n[1], &count, lists[1], lists[2]) == 0 &&
                    zv_parabolapnts_3d(0, &p1, f, 6.0, &n[2], &count, lists[3]) == 0;
  std::pair<double, double> worst{made ? 0.0 : kMiss, 0.0};
  for (int k = 0; k < 4; ll_purge_list(lists[k++])) {
    for (const zvtest::Vertex &v : zvtest::vertices(lists[k])) {
      const zv_pnt_3d q{v.x, v.y, v.z};
      zv_vector_3d t{}, s{};
      const int16_t code = k == 0  ? zv_ellipse_stats_3d(c, ra, rb, q, &t, &s)
                           : k < 3 ? zv_hyperbola_stats_3d(c, ra, rb, 0, q, &t, &s)
                                   : zv_parabola_stats_3d(p1, f, 0, q, &t, &s);
      GeomAPI_ProjectPointOnCurve near(gp_Pnt(xyz(q)), peers[k]);
      gp_Pnt on;
      gp_Vec d(1, 0, 0);
      if (near.NbPoints() > 0) peers[k]->D1(near.LowerDistanceParameter(), on, d);
      worst = {std::max(worst.first, code != 0 || near.NbPoints() == 0 ? kMiss : near.LowerDistance()),
               std::max(worst.second, std::fabs(t.dx * d.Y() - t.dy * d.X()) / d.Magnitude())};
    }
  }
  return worst;
}

// The cubic Hermite segment from p[1] to p[2], tangents (p[2] - p[0]) / 2 and (p[3] - p[1]) / 2, at t.
Jet hermite(const zv_pnt_3d *p, double t) {
  const gp_XYZ a = xyz(p[1]), b = xyz(p[2]), ta = 0.5 * (b - xyz(p[0])), tb = 0.5 * (xyz(p[3]) - a);
  const double t2 = t * t, t3 = t2 * t;
  const auto mix = [&](double h00, double h10, double h01, double h11) {
    return h00 * a + h10 * ta + h01 * b + h11 * tb;
  };
  return {mix(2 * t3 - 3 * t2 + 1, t3 - 2 * t2 + t, -2 * t3 + 3 * t2, t3 - t2),
          mix(6 * t2 - 6 * t, 3 * t2 - 4 * t + 1, -6 * t2 + 6 * t, 3 * t2 - 2 * t),
          mix(12 * t - 6, 6 * t - 4, -12 * t + 6, 6 * t - 2), mix(12, 6, -12, 6)};
}

// The uniform kinds (seed % 4) over 4 to 40 points spread over six decades, every third polygon far from the origin
// (up to 1e6 times its spread): the B-spline and the beta-spline of bias 1, tension 0 are the cubic B-spline on knots
// 0 .. n + 3, segment s on [3 + s, 4 + s]; the Bezier kind a cubic arc per group of four points; Catmull-Rom the
// Hermite form. Vertices and unit derivatives against the reference at the same local t, a unit e against a
// derivative d as | |d| e - d | (the error that turns d into ours); every segment is followed to its end.
double uniform_gap(int seed, Peer peer) {
  const int kind = seed % 4, base = seed / 4;
  std::mt19937_64 rng(0x5eed0000u + static_cast<unsigned>(base));
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const int n = base == 0 ? 4 : base == 1 ? 40 : std::uniform_int_distribution<int>(4, 40)(rng);
  const double spread = std::pow(10.0, 3.0 * unit(rng)), step = Reals{0.0, 0.1, 0.037, 0.25, 1.0 / 3.0}[base % 5];
  const double far = base % 3 == 2 ? spread * std::pow(10.0, 4.5 + 1.5 * unit(rng)) : 0.0;
  const gp_XYZ o{far * unit(rng), far * unit(rng), far * unit(rng)};
  Points p;
  for (int i = 0; i < n; ++i) p.push_back(pnt(o + spread * gp_XYZ{unit(rng), unit(rng), unit(rng)}));
  zv_curve *(*const define[])(ll_list *) = {zv_def_ubspl_curve3d,
                                            [](ll_list *l) { return zv_def_ubetaspl_curve3d(l, 1, 0); },
                                            zv_def_ubezier_curve3d, zv_def_ucatrom_curve3d};
  const Record curve = uniform(define[kind], p, step);
  const Points v = zvtest::positions(curve ? curve->vertex_list : nullptr);
  const auto st = zvtest::items<zv_curve_stats_3d>(curve ? curve->stats_list : nullptr);
  const Reference spline = peer_curve(peer, p, zvtest::rising(n + 4), 3);
  const auto direction = [](const zv_vector_3d &e, const gp_XYZ &d) {
    return (d.Modulus() * gp_XYZ(e.dx, e.dy, e.dz) - d).Modulus();
  };
  const size_t segments = kind == 2 ? n / 4 : n - 3;
  double worst = v.empty() || v.size() != st.size() ? kMiss : 0.0;
  for (size_t i = 0, s = 0; i < v.size() && worst < kMiss; ++i) {
    const double t = st[i].t, reach = t + (step > 1e-7 ? step : 0.1);
    s += i > 0 && t <= st[i - 1].t;  // a segment starts where t falls back
    const bool last = i + 1 == v.size() || st[i + 1].t <= t;
    if (s >= segments || (i + 1 == v.size() && s + 1 != segments) || (last && (reach <= 1.0000001 || t > 1.0000001)))
      return kMiss;
    // u - base is exact for base <= u <= 2 base (Sterbenz), and so is the rounding d carried over.
    const double from = 3.0 + double(s), u = from + t, d = t - (u - from);
    const Jet b = spline(u),
              j = kind == 3   ? hermite(&p[s], t)
                  : kind == 2 ? peer_curve(peer, {p.begin() + 4 * s, p.begin() + 4 * s + 4}, bezier_knots(3), 3)(t)
                              : Jet{b.point + d * b.first, b.first + d * b.second, b.second + d * b.third, b.third};
    worst = std::max({worst, max_abs(xyz(v[i]) - j.point), direction(st[i].tangent, j.first),
                      direction(st[i].second_deriv, j.second)});
  }
  return worst / scale(p);
}

// Random clamped B-splines (even seeds) and NURBs of degree 1 to 7 at 7 steps a span against the peer at each
// vertex's t. The records store the knot vector without its outermost knots; the peers take it whole.
double tessellation_gap(int seed, Peer peer) {
  const bool rational = seed % 2;
  const int p = 1 + seed / 2 % 7, n = p + 1 + (seed / 2 * 5) % 23;
  const zvtest::Spline s = zvtest::random_spline(n, p, 1000 + seed / 2, rational);
  const Record curve(rational ? zvtest::make_nurb(s, 7) : zvtest::make_nub(s, 7));
  if ((rational ? zv_mk_nurb_curve3d(curve.get(), 0, 0, n - p, 0) : zv_mk_nubspline_3d(curve.get(), 0, 0)) != 0)
    return kMiss;
  Reals u;
  for (const zv_curve_stats_3d &st : zvtest::items<zv_curve_stats_3d>(curve->stats_list)) u.push_back(st.t);
  const Points v = zvtest::positions(curve->vertex_list);
  const Reference ref = peer_curve(peer, s.points, s.knots, p, rational ? s.weights : Reals{});
  return v.size() != 8u * (n - p) ? kMiss : point_gap(v, u, ref, s.points);
}

// Bezier polylines of degree 2 to 29, four polygons each, at 101 samples against the Bernstein sum in long double or
// the peer's (Open CASCADE's holds degree <= 25).
double bezier_polyline_gap(int seed, Peer peer) {
  const int degree = 2 + seed / 4;
  const Points p = zvtest::random_points(degree + 1, 1000 * degree + seed % 4);
  Points out(101);
  Reals u;
  for (int i = 0; i <= 100; ++i) u.push_back(i * zv_inverse(100));
  if (peer == kOcct && degree > Geom_BSplineCurve::MaxDegree()) return 0.0;
  if (zv_beziercurve3d(p.data(), int16_t(degree + 1), 101, out.data()) != 0) return kMiss;
  const Reference bernstein = [&](double t) { return Jet{xyz(zvtest::bernstein_point(p, {}, t)), {}, {}, {}}; };
  return point_gap(out, u, peer == kClosedForm ? bernstein : peer_curve(peer, p, bezier_knots(degree), degree), p);
}

// The cubic B-spline polylines (seeds 0 to 11, 40 points a segment) and the quadratic ones (seeds 12 to 23, at the
// accumulated steps of mode seed % 7) over 4 to 15 points: segment j is the B-spline on knots 0, 1, 2, ... between
// u = degree + j and degree + 1 + j.
double bspline_polyline_gap(int seed, Peer peer) {
  const int n = 4 + seed % 12, degree = seed < 12 ? 3 : 2;
  const int16_t mode = int16_t(seed % 12 % 7);
  const Points p = zvtest::random_points(n, 50 + seed % 12);
  int16_t points = 40, count = 0;
  const Points ours = polyline(p, [&](ll_list *c, ll_list *o) {
    return degree == 3 ? zv_bspline_3d(int16_t(n), c, &points, o) : zv_quad_bspline_3d(int16_t(n), c, mode, &count, o);
  });
  const size_t m = ours.empty() ? 0 : (ours.size() - 1) / (n - 3),
               per = std::vector<size_t>{101, 51, 26, 21, 11, 6, 3}[mode];
  Reals u;
  for (size_t i = 0; degree == 3 && i < ours.size(); ++i) u.push_back(3.0 + double(i) / m);
  for (int j = 0; degree == 2 && j < n - 2; ++j)  // the last t may pass 1 by an ulp
    for (double i = 0, t = 0.0; i < per; ++i, t = t + Reals{0.01, 0.02, 0.04, 0.05, 0.1, 0.2, 0.5}[mode])
      u.push_back(std::min(2.0 + j + t, double(n)));
  if (degree == 3 && (m == 0 || ours.size() != (n - 3) * m + 1)) return kMiss;
  return point_gap(ours, u, peer_curve(peer, p, zvtest::rising(n + degree + 1), degree), p);
}

// A cardinal segment of tension s over P0..P3 is the cubic Bezier curve P1, P1 + s (P2 - P0)/3, P2 - s (P3 - P1)/3,
// P2: the polyline over 7 points, 20 steps a segment, against the peer's segment by segment.
double catmull_rom_polyline_gap(int seed, Peer peer) {
  const double s = Reals{0.0, 0.5, 1.0, -0.7}[seed];
  const Points p = zvtest::random_points(7, 90);
  int16_t count = 0;
  const Points v = polyline(p, [&](ll_list *c, ll_list *o) { return zv_catrom_curve_3d(7, c, 3, s, &count, o); });
  Reals ts(20, 0.0);
  for (int i = 1; i < 20; ++i) ts[i] = ts[i - 1] + 0.05;
  double worst = v.size() == 4u * 20 + 1 ? 0.0 : kMiss;
  for (int j = 0; j < 4 && worst < kMiss; ++j) {
    const gp_XYZ a = xyz(p[j]), b = xyz(p[j + 1]), c = xyz(p[j + 2]), d = xyz(p[j + 3]);
    const Reference bezier =
        peer_curve(peer, {p[j + 1], pnt(b + s / 3 * (c - a)), pnt(c + s / 3 * (b - d)), p[j + 2]}, bezier_knots(3), 3);
    worst = std::max(worst, point_gap({v.begin() + 20 * j, v.begin() + 20 * j + 20}, ts, bezier, p));
  }
  return worst;
}

// Array-form records of degree 1 to 7 (seeds 0 to 23: plain and rational, planar at z = 0 and spatial, up to 9
// interior knots, 40 random parameters) and cubics with a double or triple knot (seeds 24 to 27, at the knots, where
// one side is SISL's alone): our point and derivatives from the peer's side (Open CASCADE's the right) and
// zv_eval_pointoncurve_3d, each of point, first and second derivative relative to the reference's magnitude (>= 1).
double evaluation_gap(int seed, Peer peer) {
  std::mt19937 rng(500 + seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0), coord(-5.0, 5.0), weight(0.2, 5.0);
  const int p = seed < 24 ? 1 + seed % 7 : 3;
  const bool rational = seed % 2, planar = seed < 24 && seed % 4 >= 2;
  Reals knots(seed < 24 ? rng() % 10 : 0), ctrl, weights, ts(seed < 24 ? 40 : 0);
  for (double &v : knots) v = unit(rng);
  for (double &t : ts) t = unit(rng);
  if (seed >= 24)
    knots = {0.2, 0.45, 0.45, 0.7}, knots.insert(knots.begin() + 1, seed / 26, 0.45), ts = {0.2, 0.45, 0.7};
  if (peer == kOcct && seed >= 24) return 0.0;
  std::sort(knots.begin(), knots.end());
  knots.insert(knots.begin(), p + 1, 0.0), knots.insert(knots.end(), p + 1, 1.0);
  const int n = int(knots.size()) - p - 1, space = planar ? 2 : 3;
  Points poles;
  for (int i = 0; i < n; ++i) {
    const double w = rational ? weight(rng) : 1.0, q[3] = {coord(rng), coord(rng), planar ? 0.0 : coord(rng)};
    for (int c = 0; c < space; ++c) ctrl.push_back(q[c] * w);
    if (rational) ctrl.push_back(w), weights.push_back(w);
    poles.push_back({q[0], q[1], q[2]});
  }
  const zv_nurbs_3d rec{int16_t(n - 1), int16_t(knots.size() - 1), int16_t(p),  !rational,   1, 0,
                        planar,         int16_t(space + rational), ctrl.data(), knots.data()};
  const Reference ref = peer_curve(peer, poles, knots, p, weights);
  double worst = 0.0;
  for (double t : ts) {
    zv_pnt_3d q{}, d1{}, d2{}, at{};
    int16_t status = 0;
    if (zv_eval_derivsoncurve_3d(&rec, t, peer == kSislLeft ? -1 : 1, 1, &q, &d1, &d2, &status) != 0 ||
        zv_eval_pointoncurve_3d(&rec, t, &at) != 0)
      return kMiss;
    const Jet j = ref(t);
    const gp_XYZ ours[] = {xyz(q), xyz(d1), xyz(d2), peer == kSislLeft ? j.point : xyz(at)},
                 theirs[] = {j.point, j.first, j.second, j.point};
    for (int k = 0; k < 4; ++k)
      worst = std::max(worst, max_abs(ours[k] - theirs[k]) / std::max(1.0, max_abs(theirs[k])));
  }
  return worst;
}

// The curve through 3 to 87 random points (degree 2 to 7, planar in modes 0 and 2) against SISL's s1891 solving
// the same interpolation with the same chord-length parameters and our knots; as a closed form, SISL's point of our
// curve at each parameter is the point itself (the gap in its units).
double fit_gap(int seed, Peer peer) {
  std::mt19937 rng(100 + seed);
  const int p = 2 + seed % 6, mode = seed % 3, n = p + 1 + int(rng() % 80), dim = mode != 1 ? 2 : 3;
  const Points pts = zvtest::marching_points(rng, n, mode != 1, 0.1, 3.0, 4.0, 4.0);
  const zvtest::FittedRecord f(pts, p, mode);
  if (f.code != 0 || f.dim() != dim || f.ctrl().size() != size_t(n * dim)) return kMiss;
  Reals u = zvtest::chord_parameters(pts, dim == 3), knots = f.knots(), data = flat(pts, dim), ctrl = f.ctrl();
  std::vector<int> der(n, 0);
  double *coef = nullptr, worst = 0.0;
  int count = 0, stat = 0;
  if (peer == kSislRight)
    s1891(u.data(), data.data(), dim, n, 1, der.data(), 1, knots.data(), &coef, &count, p + 1, 0, 0, &stat);
  const Reals sisl = stat >= 0 && coef ? Reals(coef, coef + count * dim) : Reals{};
  std::free(coef);
  if (peer == kSislRight) return relative_gap(ctrl, sisl);
  Points ours(n);
  for (int i = 0; i < n; ++i) ours[i] = {ctrl[dim * i], ctrl[dim * i + 1], dim == 3 ? ctrl[dim * i + 2] : 0.0};
  const Reference curve = peer_curve(kSislLeft, ours, knots, p);
  for (int i = 0; i < n; ++i) worst = std::max(worst, (curve(u[i]).point - xyz(pts[i])).Modulus());
  return worst;
}

// SISL's s1357 chooses knots of its own (degree 2 + seed): given its parameters and knots our fit reproduces its
// coefficients.
double s1357_gap(int seed, Peer) {
  std::mt19937 rng(7 + seed);
  const int p = 2 + seed, n = p + 1 + int(rng() % 30);
  const Points pts = zvtest::marching_points(rng, n, false, 0.1, 3.0, 4.0, 4.0);
  Reals data = flat(pts), u = zvtest::chord_parameters(pts, true);
  std::vector<int> type(n, 1);
  double end = 0.0, *par = nullptr;
  SISLCurve *made = nullptr;
  int npar = 0, stat = 0;
  s1357(data.data(), n, 3, type.data(), u.data(), 0, 0, 1, p + 1, 0.0, &end, &made, &par, &npar, &stat);
  const SislCurve sisl(made, freeCurve);
  std::free(par);
  if (stat < 0 || !made || sisl->in != n) return kMiss;
  const Reals knots(sisl->et, sisl->et + n + p + 1);
  const zvtest::FittedRecord f(pts, p, 1, u.data(), knots.data());
  return f.code == 0 ? relative_gap(f.ctrl(), Reals(sisl->ecoef, sisl->ecoef + 3 * n)) : kMiss;
}

// Poles (x, y, z, w) as SISL holds them (homogeneous coefficients: its weights are ours), and count of ours from
// from on, step apart.
Reals poles_of(const SISLCurve *c) {
  Reals out;
  for (int i = 0; c && i < c->in; ++i)
    out.insert(out.end(),
               {c->ecoef[3 * i], c->ecoef[3 * i + 1], c->ecoef[3 * i + 2], c->ikind % 2 ? 1.0 : c->rcoef[4 * i + 3]});
  return out;
}
Reals poles_of(const zv_curve *c, int from = 0, int step = 1, int count = 1 << 15) {
  const Reals points = flat(zvtest::positions(c->ctrl_list)), weights = zvtest::reals(c->weight_list);
  Reals out;
  for (int i = from, k = 0; k < count && i >= 0 && 3 * i < int(points.size()); i += step, ++k)
    out.insert(out.end(), {points[3 * i], points[3 * i + 1], points[3 * i + 2], weights.empty() ? 1.0 : weights[i]});
  return out;
}

// Random clamped cubic B-splines (even seeds) and NURBs of 1 to 20 segments in Bezier form, four poles a segment
// joined end to end, against SISL's s1730 (every knot made of multiplicity 4).
double bezier_form_gap(int seed, Peer) {
  const bool rational = seed % 2;
  const int segments = 1 + (seed / 2 * 7) % 20;
  const zvtest::Spline s = zvtest::random_spline(segments + 3, 3, 3000 + seed / 2, rational);
  const Record source(rational ? zvtest::make_nurb(s, 1) : zvtest::make_nub(s, 1)), out(zv_create_curve());
  const int16_t code = rational ? zv_rat_bspl_to_bezier_curve3d(source.get(), out.get())
                                : zv_bspl_to_bezier_curve3d(source.get(), out.get());
  Reals ours;
  for (int j = 0; j < segments; ++j) {
    const Reals arc = poles_of(out.get(), 3 * j, 1, 4);
    ours.insert(ours.end(), arc.begin(), arc.end());
  }
  SISLCurve *bezier = nullptr;
  int stat = 0;
  s1730(sisl_bspline(s.points, s.knots, 3, rational ? s.weights : Reals{}).get(), &bezier, &stat);
  const SislCurve owned(bezier, freeCurve);
  if (code != 0 || stat < 0 || poles_of(out.get()).size() != 4u * (3 * segments + 1)) return kMiss;
  return gap(ours, poles_of(bezier), scale(s.points), true);
}

// Random Bezier (even seeds) and rational Bezier curves of degree 1 to 15 split at a random t: both pieces, the first
// from pole 0, against SISL's s1710.
double split_gap(int seed, Peer) {
  const bool rational = seed % 2;
  std::mt19937 rng(4000 + seed / 2);
  std::uniform_real_distribution<double> coordinate(-10, 10), weight(0.1, 10), inside(0.01, 0.99);
  const int p = 1 + seed / 2 % 15;
  const double t = inside(rng);
  Points P(p + 1);
  Reals w(p + 1);
  for (int k = 0; k <= p; ++k) P[k] = {coordinate(rng), coordinate(rng), coordinate(rng)}, w[k] = weight(rng);
  ll_list *ctrl = zvtest::make_polygon(P);
  const Record source(rational ? zv_create_curve() : zv_def_ubezier_curve3d(ctrl)), before(zv_create_curve()),
      after(zv_create_curve());
  if (!rational) ll_purge_list(ctrl);  // the definition took the points over
  if (!source || (rational && zv_def_ratbezier_curve3d(ctrl, zvtest::make_reals({0.5}), zvtest::make_reals(w),
                                                       int16_t(p), source.get()) != 0))
    return kMiss;
  if (!rational) source->degree = int16_t(p);  // the split reads the degree field
  const int16_t code = rational ? zv_sub_ratbezier_curve3d(source.get(), t, before.get(), after.get())
                                : zv_sub_bezier_curve3d(source.get(), t, before.get(), after.get());
  SISLCurve *first = nullptr, *second = nullptr;
  int stat = 0;
  s1710(sisl_bspline(P, bezier_knots(p), p, rational ? w : Reals{}).get(), t, &first, &second, &stat);
  const SislCurve owned_first(first, freeCurve), owned_second(second, freeCurve);
  Reals ours = poles_of(before.get(), p, -1), theirs = poles_of(first);
  const Reals later = poles_of(after.get()), rest = poles_of(second);
  ours.insert(ours.end(), later.begin(), later.end()), theirs.insert(theirs.end(), rest.begin(), rest.end());
  return code == 0 && stat >= 0 ? gap(ours, theirs, scale(P), true) : kMiss;
}

// Tessellated uniform B-splines in a random plane against SISL's s1857 on the same curves: one along x with a small
// wiggle, the other a serpentine whose runs along y cross it, turning far from it, so every crossing is at a fair
// angle. We meet each crossing, in order, and no other; the gap is our point's distance over what the chordal error
// allows at the crossing angle: at most h^2 / 8 times the largest second derivative for a parameter step h, which
// for a uniform cubic lies at a knot, P[k] - 2 P[k + 1] + P[k + 2].
double intersection_gap(int seed, Peer) {
  std::mt19937_64 rng(0x1c7e5u + static_cast<unsigned>(seed));
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const gp_XYZ o{10 * unit(rng), 10 * unit(rng), 10 * unit(rng)}, a0{unit(rng), unit(rng), unit(rng)},
      b0{unit(rng), unit(rng), unit(rng)};
  const gp_XYZ e1 = a0 / a0.Modulus(), c = b0 - (e1 * b0) * e1, e2 = c / c.Modulus();
  const auto at = [&](double u, double v) { return pnt(o + u * e1 + v * e2); };
  const double step = seed % 2 ? 0.05 : 0.1;
  const int columns = std::uniform_int_distribution<int>(3, 8)(rng);
  Points a, b;
  for (int x = -3; x <= 2 * columns + 3; ++x) a.push_back(at(x, 0.4 * unit(rng)));
  for (int y = -8; y < -4; ++y) b.push_back(at(1.0 + 0.3 * unit(rng), y));
  for (int k = 0; k < columns; ++k)
    for (int y = -4; y <= 4; ++y) b.push_back(at(1.0 + 2 * k + 0.3 * unit(rng), k % 2 ? -y : y));
  for (int y = 5; y < 9; ++y) b.push_back(at(2 * columns - 1.0 + 0.3 * unit(rng), columns % 2 ? y : -y));
  double error = 0.0, *par1 = nullptr, *par2 = nullptr;
  for (const Points *p : {&a, &b}) {
    double most = 0.0;
    for (size_t k = 0; k + 2 < p->size(); ++k)
      most = std::max(most, (xyz((*p)[k]) - 2 * xyz((*p)[k + 1]) + xyz((*p)[k + 2])).Modulus());
    error += step * step / 8 * most;
  }
  const Record ours[] = {uniform(zv_def_ubspl_curve3d, a, step), uniform(zv_def_ubspl_curve3d, b, step)};
  const SislCurve sisl[] = {sisl_bspline(a, zvtest::rising(int(a.size()) + 4), 3),
                            sisl_bspline(b, zvtest::rising(int(b.size()) + 4), 3)};
  int npt = 0, ncrv = 0, stat = 0;
  SISLIntcurve **curves = nullptr;
  s1857(sisl[0].get(), sisl[1].get(), 0.0, 1e-10, &npt, &par1, &par2, &ncrv, &curves, &stat);
  std::vector<std::pair<double, double>> params;  // in the order of the first curve's parameter, the order we meet them
  for (int k = 0; k < npt; ++k) params.emplace_back(par1[k], par2[k]);
  std::sort(params.begin(), params.end());
  std::free(par1), std::free(par2);
  if (curves) freeIntcrvlist(curves, ncrv);
  ll_list *out = ll_create_list();
  const int16_t met = ours[0] && ours[1] ? zv_intcurve_3d(ours[0].get(), ours[1].get(), out) : -1;
  const Points found = zvtest::positions(out);
  ll_purge_list(out);
  // Each run of the serpentine crosses the first curve once and nothing overlaps.
  double worst = stat < 0 || ncrv != 0 || npt != columns || met != npt || found.size() != params.size() ? kMiss : 0.0;
  for (size_t k = 0; k < found.size() && worst < kMiss; ++k) {
    const Jet ja = peer_curve(kSislRight, a, zvtest::rising(int(a.size()) + 4), 3)(params[k].first);
    const gp_XYZ tb = peer_curve(kSislRight, b, zvtest::rising(int(b.size()) + 4), 3)(params[k].second).first;
    const double sine = (ja.first ^ tb).Modulus() / (ja.first.Modulus() * tb.Modulus());
    worst = std::max(worst, (xyz(found[k]) - ja.point).Modulus() / (2 * error / sine + 1e-9));
  }
  return worst;
}

// The peer table: a comparison, its seeds 0 .. seeds - 1, the bound, the gap of a seed against a peer, the peers.
// Gaps are relative to the polygon (to the reference's magnitude for evaluators and fits; weights to the peer's)
// unless the row says otherwise.
struct Row {
  const char *name;
  int seeds;
  double bound;
  double (*gap)(int seed, Peer peer);
  std::vector<Peer> peers;
};
void PrintTo(const Row &row, std::ostream *os) { *os << row.name; }

const Row kRows[] = {
    // Conics: the vertices' distance in their units (1e-12 of their scale), the sine of the frames' angle.
    {"ConicVerticesOnTheConic", 12, 4e-11, [](int s, Peer) { return conic_gaps(s).first; }, {kOcct}},
    {"ConicFramesAlongTheConic", 12, 1e-9, [](int s, Peer) { return conic_gaps(s).second; }, {kOcct}},
    {"UniformKindVerticesAndFrames", 96, 1e-12, uniform_gap, {kSislRight, kOcct}},
    {"NonUniformTessellation", 48, 1e-12, tessellation_gap, {kSislRight, kOcct}},
    {"BezierPolyline", 112, 1e-14, bezier_polyline_gap, {kClosedForm, kSislRight, kOcct}},
    {"BSplinePolyline", 24, 1e-13, bspline_polyline_gap, {kSislRight, kOcct}},
    {"CatmullRomPolyline", 4, 1e-13, catmull_rom_polyline_gap, {kSislRight, kOcct}},
    {"ArrayFormEvaluation", 28, 1e-12, evaluation_gap, {kSislRight, kSislLeft, kOcct}},
    {"FitThroughPoints", 24, 1e-9, fit_gap, {kSislRight}},
    {"FitPassesThroughItsPoints", 24, 1e-10, fit_gap, {kClosedForm}},  // the distance in the points' units
    {"FitOnS1357Knots", 6, 1e-9, s1357_gap, {kSislRight}},
    {"BezierForm", 48, 1e-12, bezier_form_gap, {kSislRight}},
    {"BezierSplit", 48, 1e-12, split_gap, {kSislRight}},
    {"CrossingsOfTessellations", 18, 1.0, intersection_gap, {kSislRight}},  // the distance over the chordal allowance
};

class PeerTable : public ::testing::TestWithParam<Row> {};

TEST_P(PeerTable, WorstGapWithinTheBound) {
  for (Peer peer : GetParam().peers)
    for (int seed = 0; seed < GetParam().seeds; ++seed)
      EXPECT_LE(GetParam().gap(seed, peer), GetParam().bound) << "peer " << peer << ", seed " << seed;
}

INSTANTIATE_TEST_SUITE_P(Rows, PeerTable, ::testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<Row> &row) { return std::string(row.param.name); });

}  // namespace
