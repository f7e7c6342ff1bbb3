// One call per function with the inputs a caller gives, the library call armed (bad_inputs.hpp), and one valid call
// of every exported function that allocates: the refused-memory sweep repeats each under every refusal budget, the
// thread test runs all of them at once on several threads, and the bad-input table spoils their inputs.
#pragma once

#include <string>

#include "bad_inputs.hpp"
#include "spline_records.hpp"

namespace zvtest {

inline const zv_pnt_3d kCentre{1, 2, 3};
inline const std::vector<zv_pnt_3d> kWave = {{0, 0, 0}, {1, 2, 0.5}, {3, 2, 1}, {4, 0, 1}, {6, 1, 0}, {7, 3, -1}};
inline const Spline kCubic = random_spline(7, 3, 11);

// The conics that write n or a count back, into list (the count starting at -1).
inline Got ellipse_polyline(zv_pnt_3d p1, zv_pnt_3d p2, int16_t n, ll_list *list) {
  int16_t count = -1;
  return {.result = zv_ellipsepnts_3d(&p1, &p2, &n, &count, list), .n = n, .count = count};
}
inline Got elliptic_arc(zv_pnt_3d p1, zv_pnt_3d p2, int16_t n, double start, ll_list *list) {
  return {.result = zv_elliptic_arc_3d(&p1, &p2, &n, start, 1.0, list), .n = n};
}
inline Got cycloid(zv_pnt_3d start, double r, int16_t n, ll_list *list) {
  int16_t count = -1;
  return {.result = zv_cycloidpnts_3d(&start, r, &n, list, &count), .count = count};
}
inline Got circle_polygon(int16_t n, ll_list *list) {
  int16_t count = -1;
  return {.result = zv_circlepnts_3d(kCentre, 1, n, &count, list), .count = count};
}
inline Got parabola_polyline(zv_pnt_3d v, uint8_t mode, double a, double length, ll_list *list) {
  int16_t n = 8, count = -1;
  return {.result = zv_parabolapnts_3d(mode, &v, a, length, &n, &count, list), .n = n, .count = count};
}
inline long hyperbolic_arc(double b, int16_t n, double t1, double t2, ll_list *list) {
  return zv_hyperbolic_arc_3d(kCentre, 2, b, &n, t1, t2, list);
}
inline Got hyperbola_branches(uint8_t mode, zv_pnt_3d c1, zv_pnt_3d c2, double length) {  // into two fresh lists
  int16_t n = 8, count = -1;
  const rivezi3z::List<zv_poly_3d> a, b;
  const long r = armed([&] { return zv_hyperbolapnts_3d(mode, &c1, &c2, length, &n, &count, a.get(), b.get()); });
  return appended(appended({r, n, count}, a.get()), b.get());
}

// A non-uniform definition from n points and k knots: 1 for a record; a refusal leaves the caller's lists whole.
inline long nub(int n, int k, int16_t degree) {
  const auto ctrl = rivezi3z::polygon(points(n));
  const auto knots = rivezi3z::reals(rising(k));
  zv_curve *curve = armed([&] { return zv_def_nubspl_curve3d(ctrl.get(), knots.get(), degree, 4); });
  EXPECT_TRUE(curve || (ctrl.size() == n && knots.size() == k));
  return made(curve);
}
// A rational definition of a fresh record from n points and w weights: its code. It sets the kind whatever the code;
// a refusal changes nothing else.
inline long rational(bool nurb, int n, int w, int16_t degree) {
  const Record curve(zv_create_curve());
  const auto ctrl = rivezi3z::polygon(points(n));
  const auto knots = rivezi3z::reals(rising(n + degree + 1)), weights = rivezi3z::reals(std::vector(w, 1.0));
  ll_list *before = curve->ctrl_list;
  const long r = armed([&] {
    return nurb ? zv_mk_def_nurb_curve3d(ctrl.get(), knots.get(), weights.get(), degree, 0, curve.get())
                : zv_def_ratbezier_curve3d(ctrl.get(), knots.get(), weights.get(), degree, curve.get());
  });
  EXPECT_EQ(value(curve->type), nurb ? ZV_CURVE_NURB : ZV_CURVE_RATBEZIER);
  EXPECT_TRUE(r == 0 || (curve->degree == 0 && value(curve->ctrl_list) == before));
  if (r == 0) curve->ctrl_list = curve->knot_list = curve->weight_list = nullptr;  // the caller's
  return r;
}

// Changes of a record: knots or weights replaced, a degree or span steps set (list slots cleared are written inline).
using Change = std::function<void(zv_curve *)>;
inline Change with_knots(std::vector<double> v) {
  return [v](zv_curve *c) { ll_purge_list(c->knot_list), c->knot_list = make_reals(v); };
}
inline Change with_weights(std::vector<double> v) {
  return [v](zv_curve *c) { ll_purge_list(c->weight_list), c->weight_list = make_reals(v); };
}
inline Change degree(int16_t d) { return [d](zv_curve *c) { c->degree = d; }; }
inline Change steps(int16_t n) { return [n](zv_curve *c) { c->span_steps = n; }; }
// call on the record after change, armed: its code and what it appended to the record's vertex list. Slots the
// change cleared get their lists back before the record is released.
inline Got spoiled(zv_curve *curve, const Change &change, const std::function<long(zv_curve *)> &call) {
  const zv_curve kept = *curve;
  if (change) change(curve);
  const Got got = appended({armed([&] { return call(curve); })}, kept.vertex_list);
  if (!curve->ctrl_list) curve->ctrl_list = kept.ctrl_list;
  if (!curve->knot_list) curve->knot_list = kept.knot_list;
  if (!curve->weight_list) curve->weight_list = kept.weight_list;
  if (!curve->vertex_list) curve->vertex_list = kept.vertex_list;
  if (!curve->stats_list) curve->stats_list = kept.stats_list;
  return zv_purge_curve(curve), got;
}
// A span tessellator on a cubic record of five points; the rational Bezier tessellator on a quadratic record.
inline Got span(bool nurb, Change change, int16_t first = 0, int16_t last = 0, int16_t spans = 2) {
  const Spline s = random_spline(5, 3, 1);
  return spoiled(nurb ? make_nurb(s, 2) : make_nub(s, 2), change, [=](zv_curve *c) {
    return nurb ? zv_mk_nurb_curve3d(c, first, last, spans, 0) : zv_mk_nubspline_3d(c, first, last);
  });
}
inline Got rat_bezier(int16_t degree, Change change = {}) {
  zv_curve *curve = zv_create_curve();
  zv_def_ratbezier_curve3d(make_polygon(points(3)), make_reals({0, 0.5, 1}), make_reals({1, 1, 1}), 2, curve);
  return spoiled(curve, change, [degree](zv_curve *c) { return zv_mk_rat_bezier_3d(c, degree); });
}

// f(control list, &count, list) over k points (a null control list for k < 0) into a fresh list (or none), armed,
// the count starting at count; the polylines.
template <class F>
Got polyline(int k, int16_t count, bool with_list, F f) {
  const auto ctrl = rivezi3z::polygon(points(k));
  const rivezi3z::List<zv_poly_3d> out(with_list ? ll_create_list() : nullptr);
  const long r = armed([&] { return f(k < 0 ? nullptr : ctrl.get(), &count, out.get()); });
  return appended({.result = r, .count = count}, out.get());
}
inline Got cubic(int16_t n, int k, int16_t wanted, bool with_list = true) {
  return polyline(k, wanted, with_list, [n](ll_list *c, int16_t *w, ll_list *o) { return zv_bspline_3d(n, c, w, o); });
}
inline Got quadratic(int16_t n, int k, int16_t mode, bool with_list = true) {
  return polyline(k, -1, with_list,
                  [=](ll_list *c, int16_t *w, ll_list *o) { return zv_quad_bspline_3d(n, c, mode, w, o); });
}
inline Got catrom(int16_t n, int k, bool with_list = true) {
  return polyline(k, -1, with_list,
                  [n](ll_list *c, int16_t *w, ll_list *o) { return zv_catrom_curve_3d(n, c, 4, 0.5, w, o); });
}
inline Got bezier(int k, int16_t m, int16_t n, bool with_list = true) {
  return polyline(k, -1, with_list, [=](ll_list *c, int16_t *, ll_list *o) { return zv_bezier_curve_3d(c, m, n, o); });
}

// The fit through pts (n = -1: all of them), armed: its code; a failure leaves no record.
inline long fit(const std::vector<zv_pnt_3d> &pts, int16_t p, int16_t n = -1, int16_t mode = 1,
                const double *params = nullptr, const double *knots = nullptr) {
  zv_nurbs_3d sentinel{}, *rec = &sentinel;
  const long code = armed([&] {
    return zv_curve_thru_npoints_3d(pts.data(), n == -1 ? static_cast<int16_t>(pts.size()) : n, p, params || knots,
                                    params, knots, mode, &rec);
  });
  const rivezi3z::Nurbs owner(code == 0 ? rec : nullptr);
  EXPECT_TRUE(code == 0 || rec == nullptr);
  return code;
}

// ---- the workloads ----------------------------------------------------------------------------------------------

// What a call returns when the kernel refuses one of its allocations: -1, no record, the items appended so far,
// only the report (a void function), or the fit's own code 3 without a report.
enum class Refused { MinusOne, NullRecord, CountSoFar, NoResult, Three };

struct Workload {
  const char *function;
  Refused refused;
  std::function<Got()> run;
  std::vector<std::string> memerrs;  // names a refused run may report; the function's own by default
  Workload(const char *f, Refused r, std::function<Got()> call, std::vector<std::string> m = {})
      : function(f), refused(r), run(std::move(call)), memerrs(m.empty() ? std::vector<std::string>{f} : m) {}
};
inline void PrintTo(const Workload &w, std::ostream *os) { *os << w.function; }

// A uniform definition over the wave, armed: 1 for a record.
inline long uniform(zv_curve *(*def)(ll_list *)) {
  const auto ctrl = rivezi3z::polygon(kWave);
  return made(armed([&] { return def(ctrl.get()); }));
}
inline zv_curve *uniform_curve(zv_curve *(*def)(ll_list *)) { return def(rivezi3z::polygon(kWave).get()); }
// A rational Bezier record over the wave's first four points, with or without its vertex list.
inline zv_curve *rat_bezier_curve(bool vertices) {
  zv_curve *curve = zv_create_curve();
  zv_def_ratbezier_curve3d(make_polygon({kWave.begin(), kWave.begin() + 4}), make_reals({0.0, 0.25, 0.5, 0.75, 1.0}),
                           make_reals({1.0, 2.0, 0.5, 1.0}), 3, curve);
  if (!vertices) ll_purge_list(curve->vertex_list), curve->vertex_list = nullptr;
  return curve;
}
// call(source, a, b) on the source and two fresh records, armed: its code and what the three hold after.
inline Got on_record(zv_curve *source, int16_t (*call)(zv_curve *, zv_curve *, zv_curve *)) {
  const Record s(source), a(zv_create_curve()), b(zv_create_curve());
  Got got{armed([&] { return call(s.get(), a.get(), b.get()); })};
  for (const Record *r : {&s, &a, &b}) got = appended(appended(got, (*r)->vertex_list), (*r)->ctrl_list);
  return got;
}
// Two zigzags crossing three times, intersected.
inline Got zigzags() {
  const Record a(zv_create_curve()), b(zv_create_curve());
  ll_purge_list(a->vertex_list), ll_purge_list(b->vertex_list);
  a->vertex_list = make_polygon({{0, 0, 0}, {2, 2, 0}, {4, 0, 0}, {6, 2, 0}});
  b->vertex_list = make_polygon({{0, 2, 0}, {2, 0, 0}, {4, 2, 0}, {6, 0, 0}});
  return into(zv_intcurve_3d, a.get(), b.get());
}
// got with its count out of the sweep's comparison with what was appended when it is left (the circle's count is
// n whatever was appended, the parabola's 0 unless done): any other count fails that comparison.
inline Got left(Got got, long count) { return got.count = got.count == count ? -1 : -2, got; }

// Every exported function that allocates, with one valid call.
inline std::vector<Workload> workloads() {
  using R = Refused;
  using C = zv_curve *;
  static const zv_pnt_3d c{1.0, -2.0, 0.5}, p1{0, 0, 1}, p2{4, 2, 1};
  static const zv_arc_2d arc = [] {
    zv_arc_2d a;
    return zv_set_arc_2d(1.0, 2.0, 3.0, 0, 0.5, 2.5, &a), a;
  }();
  std::vector<Workload> w = {
      {"zv_def_ubezier_curve3d", R::NullRecord, [] { return Got{uniform(zv_def_ubezier_curve3d)}; }},
      {"zv_def_ubspl_curve3d", R::NullRecord, [] { return Got{uniform(zv_def_ubspl_curve3d)}; }},
      {"zv_def_ucatrom_curve3d", R::NullRecord, [] { return Got{uniform(zv_def_ucatrom_curve3d)}; }},
      {"zv_def_ubetaspl_curve3d", R::NullRecord,
       [] { return Got{uniform([](ll_list *p) { return zv_def_ubetaspl_curve3d(p, 1.5, 0.5); })}; }},
      {"zv_def_nubspl_curve3d", R::NullRecord, [] { return Got{nub(5, 7, 3)}; }},
      {"zv_mk_ucurve3d", R::MinusOne,
       [] { return on_record(uniform_curve(zv_def_ubspl_curve3d), [](C s, C, C) { return zv_mk_ucurve3d(s, 0.1); }); }},
      {"zv_circlepnts_3d", R::MinusOne, [] { return left(into(circle_polygon, 12), 12); }},
      {"zv_circle_arc_3d", R::CountSoFar, [] { return into(zv_circle_arc_3d, c, 2, 8, 0.1, 0.6); }, {"zv_arc_pnts_3d"}},
      {"zv_ellipsepnts_3d", R::MinusOne, [] { return into(ellipse_polyline, p1, p2, 10); }},
      {"zv_elliptic_arc_3d", R::MinusOne, [] { return into(elliptic_arc, p1, p2, 7, 5.0); }},
      {"zv_arcpnts_3d", R::CountSoFar, [] { return into(zv_arcpnts_3d, c, 2.0, 5.5, 1.0, 9); }},
      // into none: the vertices go to a private list, released before return
      {"zv_arc_pnts_3d", R::CountSoFar, [] { return into(zv_arc_pnts_3d, &arc, 6, 4.0); }},
      {"zv_arc_pnts_3d", R::NoResult, [] { return Got{armed([] { return zv_arc_pnts_3d(&arc, 6, 4.0, nullptr); })}; }},
      {"zv_cycloidpnts_3d", R::MinusOne, [] { return into(cycloid, zv_pnt_3d{1, 1, 1}, -1.5, 9); }},
      {"zv_hyperbolic_arc_3d", R::MinusOne, [] { return into(hyperbolic_arc, 1.0, 6, -0.5, 0.7); }},
      {"zv_hyperbolapnts_3d", R::MinusOne, [] { return hyperbola_branches(0, {0, 0, 2}, {4, 2, 2}, 5.0); }},
      {"zv_parabolic_arc_3d", R::NoResult,
       [] { return into([](ll_list *l) { return zv_parabolic_arc_3d(c, 0.5, 0, 8, 2.0, -1.0, l), 0; }); }},
      {"zv_parabolapnts_3d", R::MinusOne, [] {
         const Got got = into(parabola_polyline, zv_pnt_3d{1, 1, 1}, 1, -0.5, 3.0);
         return got.result == 0 ? got : left(got, 0);
       }},
      {"zv_mk_def_nurb_curve3d", R::MinusOne, [] { return Got{rational(true, 5, 5, 3)}; }},
      {"zv_def_ratbezier_curve3d", R::MinusOne, [] { return Got{rational(false, 3, 3, 2)}; }},
      {"zv_mk_nubspline_3d", R::MinusOne, [] { return span(false, {}); }},
      {"zv_mk_nurb_curve3d", R::MinusOne, [] { return span(true, {}); }, {"mk_nurb_curve3d - 2", "zv_mk_nurb_curve3d"}},
      {"zv_mk_rat_bezier_3d", R::MinusOne,
       [] { return on_record(rat_bezier_curve(false), [](C s, C, C) { return zv_mk_rat_bezier_3d(s, 0); }); }},
      {"zv_bspl_to_bezier_curve3d", R::MinusOne,
       [] { return on_record(make_nub(kCubic, 2), [](C s, C a, C) { return zv_bspl_to_bezier_curve3d(s, a); }); }},
      {"zv_rat_bspl_to_bezier_curve3d", R::MinusOne,
       [] { return on_record(make_nurb(kCubic, 2), [](C s, C a, C) { return zv_rat_bspl_to_bezier_curve3d(s, a); }); }},
      {"zv_sub_bezier_curve3d", R::MinusOne, [] {
         return on_record(uniform_curve(zv_def_ubezier_curve3d),
                          [](C s, C a, C b) { return zv_sub_bezier_curve3d(s, 0.3, a, b); });
       }},
      {"zv_sub_ratbezier_curve3d", R::MinusOne, [] {
         return on_record(rat_bezier_curve(true), [](C s, C a, C b) { return zv_sub_ratbezier_curve3d(s, 0.3, a, b); });
       }},
      {"zv_intcurve_3d", R::CountSoFar, zigzags},
      {"zv_curve_thru_npoints_3d", R::Three, [] { return Got{fit(kWave, 3, -1, 2)}; }},
      {"zv_bspline_3d", R::MinusOne, [] { return cubic(6, 6, 13); }},
  };
  // Each polyline over six points, and over two, which it copies by a path of its own.
  for (int16_t k : {6, 2}) {
    w.push_back({"zv_bezier_curve_3d", R::MinusOne, [k] { return bezier(k, k, 11); }});
    w.push_back({"zv_quad_bspline_3d", R::MinusOne, [k] { return quadratic(k, k, 5); }});
    w.push_back({"zv_catrom_curve_3d", R::MinusOne, [k] { return catrom(k, k); }});
  }
  return w;
}

}  // namespace zvtest
