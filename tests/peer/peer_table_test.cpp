// Every family against SISL and Open CASCADE: a table row a comparison, the worst gap of our call from the reference
// over fixed seeds and the bound it keeps. The peers agree within 2.6e-14 relative, so 1e-12 of the polygon's scale
// is a fair bound for our evaluations.
#include <sisl.h>
#include <sislP.h>

#include <GeomAPI_ProjectPointOnCurve.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Hyperbola.hxx>
#include <Geom_Parabola.hxx>

#include "fitted_record.hpp"
#include "spline_records.hpp"

namespace {

using Points = std::vector<zv_pnt_3d>;
using Reals = std::vector<double>;
using zvtest::Record;
using SislCurve = std::unique_ptr<SISLCurve, void (*)(SISLCurve *)>;
struct Jet {  // position and first two derivatives at one parameter
  gp_XYZ point, first, second;
};
using Reference = std::function<Jet(double)>;
constexpr double kMiss = 1e300;  // a gap no bound passes: the call failed or made the wrong number of items

gp_XYZ xyz(const zv_pnt_3d &p) { return {p.x, p.y, p.z}; }
zv_pnt_3d pnt(const gp_XYZ &v) { return {v.X(), v.Y(), v.Z()}; }
double max_abs(const gp_XYZ &a) { return std::max({std::fabs(a.X()), std::fabs(a.Y()), std::fabs(a.Z())}); }
Reals flat(const Points &pts) {
  Reals out;
  for (const zv_pnt_3d &q : pts) out.insert(out.end(), {q.x, q.y, q.z});
  return out;
}
double scale(const Points &poles) {  // the largest coordinate magnitude: evaluations round at this scale
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
Reals clamped(int p, Reals knots = {}) {  // p + 1 zeros, the knots, p + 1 ones: by default a Bezier span on [0, 1]
  knots.insert(knots.begin(), p + 1, 0.0), knots.insert(knots.end(), p + 1, 1.0);
  return knots;
}

// The B-spline on the full knot vector in SISL, rational with weights (coefficients w x, w y, w z, w); SISL copies.
SislCurve sisl_bspline(const Points &poles, Reals knots, int degree, const Reals &weights = {}) {
  const bool plain = weights.empty();
  Reals coefs;
  for (size_t i = 0; i < poles.size(); ++i) {
    const double w = plain ? 1.0 : weights[i];
    coefs.insert(coefs.end(), {w * poles[i].x, w * poles[i].y, w * poles[i].z, w}), coefs.resize(coefs.size() - plain);
  }
  return {newCurve(int(poles.size()), degree + 1, knots.data(), coefs.data(), plain ? 1 : 2, 3, 1), freeCurve};
}
// The same curve's jet in SISL, from the right (s1221) or the left (s1227).
Reference peer(const Points &poles, const Reals &knots, int degree, const Reals &weights = {}, bool left = false) {
  return [c = std::shared_ptr<SISLCurve>(sisl_bspline(poles, knots, degree, weights)), left](double u) {
    double d[9];
    int at = 0, stat = 0;
    (left ? s1227 : s1221)(c.get(), 2, u, &at, d, &stat);
    EXPECT_GE(stat, 0) << "SISL at " << u;
    return Jet{{d[0], d[1], d[2]}, {d[3], d[4], d[5]}, {d[6], d[7], d[8]}};
  };
}
// The cardinal segment of tension s over P0 .. P3 as the cubic Bezier curve P1, P1 + s (P2 - P0) / 3,
// P2 - s (P3 - P1) / 3, P2 (Catmull-Rom at s = 1/2).
Reference cardinal(const zv_pnt_3d *p, double s) {
  const gp_XYZ a = xyz(p[0]), b = xyz(p[1]), c = xyz(p[2]), d = xyz(p[3]);
  return peer({p[1], pnt(b + s / 3 * (c - a)), pnt(c + s / 3 * (b - d)), p[2]}, clamped(3), 3);
}

double point_gap(const Points &ours, const Reals &u, const Reference &ref, const Points &poles) {  // ours at u
  Points theirs;
  for (size_t i = 0; i < u.size() && u.size() == ours.size(); ++i) theirs.push_back(pnt(ref(u[i]).point));
  return gap(flat(ours), flat(theirs), scale(poles));
}
// The vertices a call appends over a new control polygon; none when it fails.
Points polyline(const Points &poles, const std::function<int16_t(ll_list *, ll_list *)> &call) {
  const rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(poles), out;
  return call(ctrl.get(), out.get()) == 0 ? zvtest::positions(out.get()) : Points{};
}
double direction_gap(const zv_vector_3d &e, const gp_XYZ &d) {  // what turns the derivative d into our unit e
  return (d.Modulus() * gp_XYZ(e.dx, e.dy, e.dz) - d).Modulus();
}

// The ellipse, both hyperbola branches and the parabola of a random rectangle: our vertices' worst distance from Open
// CASCADE's conic (its hyperbola the branch along its x axis, its parabola y'^2 = 4 F x').
double conic_gap(int seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> at(-20, 20), axis(0.5, 6), focal(0.25, 3);
  const zv_pnt_3d c{at(rng), at(rng), at(rng)};
  const double a = axis(rng), b = axis(rng), ra = std::max(a, b), rb = std::min(a, b),
               f = (seed % 2 ? -1 : 1) * focal(rng);
  zv_pnt_3d p1{c.x - ra, c.y - rb, c.z}, p2{c.x + ra, c.y + rb, 0};
  const auto ax = [](const zv_pnt_3d &o, double x) { return gp_Ax2(gp_Pnt(xyz(o)), gp_Dir(0, 0, 1), gp_Dir(x, 0, 0)); };
  const Handle(Geom_Curve) peers[4] = {new Geom_Ellipse(ax(c, 1), ra, rb), new Geom_Hyperbola(ax(c, 1), ra, rb),
                  new Geom_Hyperbola(ax(c, -1), ra, rb), new Geom_Parabola(ax(p1, f > 0 ? 1 : -1), std::fabs(f))};
  const rivezi3z::List<zv_poly_3d> lists[4];
  int16_t n[3] = {40, 20, 30}, count = 0;
  if (zv_ellipsepnts_3d(&p1, &p2, &n[0], &count, lists[0].get()) ||
      zv_hyperbolapnts_3d(0, &p1, &p2, 5.0, &n[1], &count, lists[1].get(), lists[2].get()) ||
      zv_parabolapnts_3d(0, &p1, f, 6.0, &n[2], &count, lists[3].get()))
    return kMiss;
  double worst = 0.0;
  for (int k = 0; k < 4; ++k)
    for (const zv_pnt_3d &q : zvtest::positions(lists[k].get())) {
      GeomAPI_ProjectPointOnCurve near(gp_Pnt(xyz(q)), peers[k]);
      worst = std::max(worst, near.NbPoints() == 0 ? kMiss : near.LowerDistance());
    }
  return worst;
}

// The uniform kinds (seed % 4) over 4 to 40 points spread over six decades, every third polygon 1e3 to 1e6 times its
// spread out: the B-spline and the beta-spline of bias 1, tension 0 the cubic B-spline on knots 0 .. n + 3 (segment s
// on [3 + s, 4 + s]), the Bezier kind an arc per four points, Catmull-Rom the cardinal segment. Vertices and unit
// derivatives at the same local t; every segment is followed to its end.
double uniform_gap(int seed) {
  const int kind = seed % 4, base = seed / 4;
  std::mt19937_64 rng(0x5eed0000u + static_cast<unsigned>(base));
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const int n = base == 0 ? 4 : base == 1 ? 40 : std::uniform_int_distribution<int>(4, 40)(rng);
  const double spread = std::pow(10.0, 3.0 * unit(rng)), step = Reals{0.0, 0.1, 0.037, 0.25, 1.0 / 3.0}[base % 5];
  const double far = base % 3 == 2 ? spread * std::pow(10.0, 4.5 + 1.5 * unit(rng)) : 0.0;
  const gp_XYZ o{far * unit(rng), far * unit(rng), far * unit(rng)};
  Points p;
  for (int i = 0; i < n; ++i) p.push_back(pnt(o + spread * gp_XYZ{unit(rng), unit(rng), unit(rng)}));
  const rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(p);  // the definition takes the points over
  const auto define = kind == 0 ? zv_def_ubspl_curve3d : kind == 2 ? zv_def_ubezier_curve3d : zv_def_ucatrom_curve3d;
  const Record curve(kind == 1 ? zv_def_ubetaspl_curve3d(ctrl.get(), 1, 0) : define(ctrl.get()));
  if (!curve || zv_mk_ucurve3d(curve.get(), step) != 0) return kMiss;
  const Points v = zvtest::positions(curve->vertex_list);
  const auto st = zvtest::items<zv_curve_stats_3d>(curve->stats_list);
  const Reference spline = peer(p, zvtest::rising(n + 4), 3);
  const size_t segments = kind == 2 ? n / 4 : n - 3;
  double worst = v.empty() || v.size() != st.size() ? kMiss : 0.0;
  for (size_t i = 0, s = 0; i < v.size() && worst < kMiss; ++i) {
    const double t = st[i].t, reach = t + (step > 1e-7 ? step : 0.1);
    s += i > 0 && t <= st[i - 1].t;  // a segment starts where t falls back
    const bool last = i + 1 == v.size() || st[i + 1].t <= t;
    if (s >= segments || (i + 1 == v.size() && s + 1 != segments) || (last && (reach <= 1.0000001 || t > 1.0000001)))
      return kMiss;
    const Jet j = kind == 3   ? cardinal(&p[s], 0.5)(t)
                  : kind == 2 ? peer({p.begin() + 4 * s, p.begin() + 4 * s + 4}, clamped(3), 3)(t)
                              : spline(3.0 + double(s) + t);
    worst = std::max({worst, max_abs(xyz(v[i]) - j.point), direction_gap(st[i].tangent, j.first),
                      direction_gap(st[i].second_deriv, j.second)});
  }
  return worst / scale(p);
}

// Random clamped B-splines (even seeds) and NURBs of degree 1 to 7 at 7 steps a span, at each vertex's t.
double tessellation_gap(int seed) {
  const bool rational = seed % 2;
  const int p = 1 + seed / 2 % 7, n = p + 1 + (seed / 2 * 5) % 23;
  const zvtest::Spline s = zvtest::random_spline(n, p, 1000 + seed / 2, rational);
  const Record curve(rational ? zvtest::make_nurb(s, 7) : zvtest::make_nub(s, 7));
  if ((rational ? zv_mk_nurb_curve3d(curve.get(), 0, 0, n - p, 0) : zv_mk_nubspline_3d(curve.get(), 0, 0)) != 0)
    return kMiss;
  Reals u;
  for (const zv_curve_stats_3d &st : zvtest::items<zv_curve_stats_3d>(curve->stats_list)) u.push_back(st.t);
  const Points v = zvtest::positions(curve->vertex_list);
  const Reference ref = peer(s.points, s.knots, p, rational ? s.weights : Reals{});
  return v.size() != 8u * (n - p) ? kMiss : point_gap(v, u, ref, s.points);
}

// Bezier polylines of degree 2 to 29, four polygons each, at 101 samples.
double bezier_polyline_gap(int seed) {
  const int degree = 2 + seed / 4;
  const Points p = zvtest::random_points(degree + 1, 1000 * degree + seed % 4);
  Points out(101);
  Reals u;
  for (int i = 0; i <= 100; ++i) u.push_back(i * zv_inverse(100));
  if (zv_beziercurve3d(p.data(), int16_t(degree + 1), 101, out.data()) != 0) return kMiss;
  return point_gap(out, u, peer(p, clamped(degree), degree), p);
}

// Cubic B-spline polylines (seeds 0 to 11, 40 points a segment), quadratic ones (12 to 23, steps of mode seed % 7) over
// 4 to 15 points, segment j the B-spline on knots 0, 1, 2, ... from u = degree + j; cardinal ones (24 to 27).
double polyline_gap(int seed) {
  if (seed >= 24) {
    const double s = Reals{0.0, 0.5, 1.0, -0.7}[seed - 24];
    const Points p = zvtest::random_points(7, 90);
    int16_t count = 0;
    const Points v = polyline(p, [&](ll_list *c, ll_list *o) { return zv_catrom_curve_3d(7, c, 3, s, &count, o); });
    Reals ts(20, 0.0);
    for (int i = 1; i < 20; ++i) ts[i] = ts[i - 1] + 0.05;
    double worst = v.size() == 4u * 20 + 1 ? 0.0 : kMiss;
    for (int j = 0; j < 4 && worst < kMiss; ++j)
      worst = std::max(worst, point_gap({v.begin() + 20 * j, v.begin() + 20 * j + 20}, ts, cardinal(&p[j], s), p));
    return worst;
  }
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
  return point_gap(ours, u, peer(p, zvtest::rising(n + degree + 1), degree), p);
}

// Array-form records of degree 1 to 7 (seed / 2 up to 23: plain and rational, planar at z = 0 and spatial, up to 9
// interior knots, 40 random parameters), cubics with a double or triple knot (seed / 2 from 24, at the knots): point
// and derivatives from the right (even seeds) and the left, and zv_eval_pointoncurve_3d's point.
double evaluation_gap(int seed) {
  const bool left = seed % 2;
  std::mt19937 rng(500 + (seed /= 2));
  std::uniform_real_distribution<double> unit(0.0, 1.0), coord(-5.0, 5.0), weight(0.2, 5.0);
  const int p = seed < 24 ? 1 + seed % 7 : 3;
  const bool rational = seed % 2, planar = seed < 24 && seed % 4 >= 2;
  Reals knots(seed < 24 ? rng() % 10 : 0), ctrl, weights, ts(seed < 24 ? 40 : 0);
  for (double &v : knots) v = unit(rng);
  for (double &t : ts) t = unit(rng);
  if (seed >= 24) knots = {0.2, 0.45, 0.45, 0.7, 0.45}, knots.resize(4 + seed / 26), ts = {0.2, 0.45, 0.7};
  std::sort(knots.begin(), knots.end()), knots = clamped(p, knots);
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
  const Reference ref = peer(poles, knots, p, weights, left);
  double worst = 0.0;
  for (double t : ts) {
    zv_pnt_3d q{}, d1{}, d2{}, at{};
    int16_t status = 0;
    if (zv_eval_derivsoncurve_3d(&rec, t, left ? -1 : 1, 1, &q, &d1, &d2, &status) != 0 ||
        zv_eval_pointoncurve_3d(&rec, t, &at) != 0)
      return kMiss;
    const Jet j = ref(t);
    const gp_XYZ ours[] = {xyz(q), xyz(d1), xyz(d2), xyz(at)}, theirs[] = {j.point, j.first, j.second, j.point};
    for (int k = 0; k < 4; ++k)
      worst = std::max(worst, max_abs(ours[k] - theirs[k]) / std::max(1.0, max_abs(theirs[k])));
  }
  return worst;
}

// The curve through 3 to 87 random points (degree 2 to 7, planar in modes 0 and 2): SISL's point of our curve (from
// the left) at each chord-length parameter is the point itself.
double fit_gap(int seed) {
  std::mt19937 rng(100 + seed);
  const int p = 2 + seed % 6, mode = seed % 3, n = p + 1 + int(rng() % 80), dim = mode != 1 ? 2 : 3;
  const Points pts = zvtest::marching_points(rng, n, mode != 1, 0.1, 3.0, 4.0, 4.0);
  const zvtest::FittedRecord f(pts, p, mode);
  if (f.code != 0 || f.dim() != dim || f.ctrl().size() != size_t(n * dim)) return kMiss;
  const Reals u = zvtest::chord_parameters(pts, dim == 3), ctrl = f.ctrl();
  Points ours(n);
  for (int i = 0; i < n; ++i) ours[i] = {ctrl[dim * i], ctrl[dim * i + 1], dim == 3 ? ctrl[dim * i + 2] : 0.0};
  return point_gap(pts, u, peer(ours, f.knots(), p, {}, true), pts);
}

// Poles (x, y, z, w): SISL's vertices with the weights of its homogeneous coefficients, ours from from on, step apart.
Reals poles_of(const SISLCurve *c) {
  Reals out;
  for (int i = 0; c && i < c->in; ++i) {
    const double *e = c->ecoef + 3 * i;
    out.insert(out.end(), {e[0], e[1], e[2], c->rcoef ? c->rcoef[4 * i + 3] : 1.0});
  }
  return out;
}
Reals poles_of(const zv_curve *c, int from = 0, int step = 1) {
  const Reals points = flat(zvtest::positions(c->ctrl_list)), weights = zvtest::reals(c->weight_list);
  Reals out;
  for (int i = from; i >= 0 && 3 * i < int(points.size()); i += step)
    out.insert(out.end(), {points[3 * i], points[3 * i + 1], points[3 * i + 2], weights.empty() ? 1.0 : weights[i]});
  return out;
}

// Random clamped cubic B-splines (even seeds) and NURBs of 1 to 20 segments in Bezier form against SISL's s1730, whose
// segments are ours with the pole they share repeated.
double bezier_form_gap(int seed) {
  const bool rational = seed % 2;
  const int segments = 1 + (seed / 2 * 7) % 20;
  const zvtest::Spline s = zvtest::random_spline(segments + 3, 3, 3000 + seed / 2, rational);
  const Record source(rational ? zvtest::make_nurb(s, 1) : zvtest::make_nub(s, 1)), out(zv_create_curve());
  const int16_t code = (rational ? zv_rat_bspl_to_bezier_curve3d : zv_bspl_to_bezier_curve3d)(source.get(), out.get());
  SISLCurve *bezier = nullptr;
  int stat = 0;
  s1730(sisl_bspline(s.points, s.knots, 3, rational ? s.weights : Reals{}).get(), &bezier, &stat);
  const SislCurve owned(bezier, freeCurve);
  Reals theirs = poles_of(bezier);
  for (int j = segments - 1; j > 0; --j) theirs.erase(theirs.begin() + 16 * j, theirs.begin() + 16 * j + 4);
  return code == 0 && stat >= 0 ? gap(poles_of(out.get()), theirs, scale(s.points), true) : kMiss;
}

// Random Bezier (even seeds) and rational Bezier curves of degree 1 to 15 split at a random t against SISL's s1710.
double split_gap(int seed) {
  const bool rational = seed % 2;
  const int p = 1 + seed / 2 % 15;
  const zvtest::Spline s = zvtest::random_spline(p + 1, p, 4000 + seed / 2, rational);
  const double t = 0.01 + 0.98 * std::fmod(0.618034 * (seed / 2 + 1), 1.0);
  rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(s.points);  // the rational record owns the lists it is given
  const Record source(rational ? zv_create_curve() : zv_def_ubezier_curve3d(ctrl.get())), before(zv_create_curve()),
      after(zv_create_curve());
  if (!source || (rational && zv_def_ratbezier_curve3d(ctrl.release(), zvtest::make_reals({0.5}),
                                                       zvtest::make_reals(s.weights), int16_t(p), source.get()) != 0))
    return kMiss;
  if (!rational) source->degree = int16_t(p);  // the split reads the degree field
  const int16_t code = rational ? zv_sub_ratbezier_curve3d(source.get(), t, before.get(), after.get())
                                : zv_sub_bezier_curve3d(source.get(), t, before.get(), after.get());
  SISLCurve *first = nullptr, *second = nullptr;
  int stat = 0;
  s1710(sisl_bspline(s.points, s.knots, p, rational ? s.weights : Reals{}).get(), t, &first, &second, &stat);
  const SislCurve owned_first(first, freeCurve), owned_second(second, freeCurve);
  Reals ours = poles_of(before.get(), p, -1), theirs = poles_of(first);
  const Reals later = poles_of(after.get()), rest = poles_of(second);
  ours.insert(ours.end(), later.begin(), later.end()), theirs.insert(theirs.end(), rest.begin(), rest.end());
  return code == 0 && stat >= 0 ? gap(ours, theirs, scale(s.points), true) : kMiss;
}

// Two polylines in a random plane against SISL's s1857 on the same polylines (B-splines of degree 1): one along x
// with a small wiggle, the other a serpentine whose runs cross it at a fair angle and turn far from it. We meet each
// crossing once, in the order of the first polyline, and no other.
double intersection_gap(int seed) {
  std::mt19937_64 rng(0x1c7e5u + static_cast<unsigned>(seed));
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const gp_XYZ o{10 * unit(rng), 10 * unit(rng), 10 * unit(rng)}, a0{unit(rng), unit(rng), unit(rng)},
      b0{unit(rng), unit(rng), unit(rng)};
  const gp_XYZ e1 = a0 / a0.Modulus(), c = b0 - (e1 * b0) * e1, e2 = c / c.Modulus();
  const auto at = [&](double u, double v) { return pnt(o + u * e1 + v * e2); };
  const int columns = std::uniform_int_distribution<int>(3, 8)(rng);
  Points a, b;
  for (int x = -1; x <= 2 * columns + 1; ++x) a.push_back(at(x, 0.4 * unit(rng)));
  for (int k = 0; k < 2 * columns; ++k) b.push_back(at(1.0 + 2 * (k / 2) + 0.3 * unit(rng), (k + 1) / 2 % 2 ? 4 : -4));
  Reals ka = zvtest::rising(int(a.size())), kb = zvtest::rising(int(b.size())), crossings;
  for (Reals *k : {&ka, &kb}) k->insert(k->begin(), 0.0), k->push_back(k->back());
  double *par1 = nullptr, *par2 = nullptr;
  int npt = 0, ncrv = 0, stat = 0;
  SISLIntcurve **curves = nullptr;
  s1857(sisl_bspline(a, ka, 1).get(), sisl_bspline(b, kb, 1).get(), 0.0, 1e-12, &npt, &par1, &par2, &ncrv, &curves,
        &stat);
  crossings.assign(par1, par1 + npt), std::sort(crossings.begin(), crossings.end());
  std::free(par1), std::free(par2);
  if (curves) freeIntcrvlist(curves, ncrv);
  const Record ra(zv_create_curve()), rb(zv_create_curve());
  for (auto [r, p] : {std::pair{&ra, &a}, {&rb, &b}})
    ll_purge_list((*r)->vertex_list), (*r)->vertex_list = zvtest::make_polygon(*p);
  const rivezi3z::List<zv_poly_3d> out;
  const bool counts = zv_intcurve_3d(ra.get(), rb.get(), out.get()) == npt && stat >= 0 && ncrv == 0 && npt == columns;
  return counts ? point_gap(zvtest::positions(out.get()), crossings, peer(a, ka, 1), a) : kMiss;
}

// A comparison, its seeds 0 .. seeds - 1, the bound and the gap of a seed: relative to the polygon (to the reference's
// magnitude for the evaluators, weights to the peer's) unless the row says otherwise.
const struct Row {
  const char *name;
  int seeds;
  double bound;
  double (*gap)(int seed);
} kRows[] = {
    {"ConicVerticesOnTheConic", 12, 4e-11, conic_gap},  // in the vertices' units, 1e-12 of their scale
    {"UniformKindVerticesAndFrames", 96, 1e-12, uniform_gap},
    {"NonUniformTessellation", 48, 1e-12, tessellation_gap},
    {"BezierPolyline", 112, 1e-14, bezier_polyline_gap},
    {"BSplineAndCardinalPolylines", 28, 1e-13, polyline_gap},
    {"ArrayFormEvaluationBothSides", 56, 1e-12, evaluation_gap},
    {"FitThroughPoints", 24, 1e-12, fit_gap},
    {"BezierForm", 48, 1e-12, bezier_form_gap},
    {"BezierSplit", 48, 1e-12, split_gap},
    {"CrossingsOfPolylines", 18, 1e-12, intersection_gap},
};

TEST(PeerTable, WorstGapsWithinTheirBounds) {
  for (const Row &row : kRows)
    for (int seed = 0; seed < row.seeds; ++seed) EXPECT_LE(row.gap(seed), row.bound) << row.name << ", seed " << seed;
}

}  // namespace
