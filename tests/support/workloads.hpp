// One valid call of every exported curve function, each building its own
// inputs, calling once and releasing everything. The refused-memory sweep
// repeats the allocating ones under every refusal budget; the thread test
// runs all of them at once on several threads.
#pragma once

#include <rivezi3z/rivezi3z.hpp>

#include <functional>
#include <string>
#include <vector>

#include "spline_records.hpp"

namespace zvtest {

// What one call gave: its result (1/0 for a record or none), its own count
// output (-1 when it has none), the items its output lists held after the
// call and a checksum of their coordinates and of every point it wrote.
struct Outcome {
  long result = 0, count = -1, items = 0;
  double sum = 0.0;
  bool operator==(const Outcome &) const = default;
};

// What a call returns when the kernel refuses one of its allocations:
// nothing to refuse, -1, no record, the items appended so far, only the
// report (a void function), or the fit's own code 3 without a report.
enum class Refused { None, MinusOne, NullRecord, CountSoFar, NoResult, Three };

// Sets the refusal budget for the library call alone, so that building the
// inputs and reading the outputs is never refused. A negative budget (the
// thread test) leaves the kernel's budget alone.
struct Arm {
  long budget = -1;
  template <class F>
  auto operator()(F &&call) const {
    if (budget >= 0) zv_fail_alloc_after(budget);
    auto result = call();
    if (budget >= 0) zv_fail_alloc_after(-1);
    return result;
  }
};

struct Workload {
  const char *function;
  Refused refused;
  std::vector<std::string> memerrs;  // names a refused run may report
  std::function<Outcome(const Arm &)> run;
};

inline void PrintTo(const Workload &w, std::ostream *os) { *os << w.function; }

// Adds the vertices of list to the outcome and releases the list.
inline void collect(Outcome &o, ll_list *list) {
  for (const Vertex &v : vertices(list)) ++o.items, o.sum += v.x + 2.0 * v.y + 3.0 * v.z + v.index;
  ll_purge_list(list);
}

// Adds a record's statistics, weights, vertices and control points to the
// outcome and releases the record.
inline void collect(Outcome &o, zv_curve *curve) {
  if (!curve) return;
  o.items += ll_list_length(curve->stats_list) + ll_list_length(curve->weight_list);
  for (const auto &s : items<zv_curve_stats_3d>(curve->stats_list)) o.sum += s.t;
  collect(o, curve->vertex_list), collect(o, curve->ctrl_list);
  curve->vertex_list = curve->ctrl_list = nullptr;
  zv_purge_curve(curve);
}

// A result with the points and vectors a call wrote: Wrote{call(&p), {p}}
// copies p after the call, as a braced list is evaluated in order.
struct Wrote : Outcome {
  Wrote(long r, std::initializer_list<zv_pnt_3d> points, std::initializer_list<zv_vector_3d> vectors = {})
      : Outcome{r} {
    for (const zv_pnt_3d &p : points) sum += p.x + 2.0 * p.y + 3.0 * p.z;
    for (const zv_vector_3d &v : vectors) sum += v.dx + 2.0 * v.dy + 3.0 * v.dz;
  }
};

inline const std::vector<zv_pnt_3d> &wave() {
  static const std::vector<zv_pnt_3d> points = {{0, 0, 0}, {1, 2, 0.5}, {3, 2, 1}, {4, 0, 1}, {6, 1, 0}, {7, 3, -1}};
  return points;
}

inline const Spline &cubic() {
  static const Spline s = random_spline(7, 3, 11);
  return s;
}

// A uniform record of kind def over the wave.
inline zv_curve *uniform_curve(zv_curve *(*def)(ll_list *)) {
  ll_list *ctrl = make_polygon(wave());
  zv_curve *curve = def(ctrl);
  ll_purge_list(ctrl);
  return curve;
}

// A record of the rational Bezier family over the wave's first four points.
inline zv_curve *rat_bezier_curve() {
  zv_curve *curve = zv_create_curve();
  zv_def_ratbezier_curve3d(make_polygon({wave().begin(), wave().begin() + 4}), make_reals({0.0, 0.25, 0.5, 0.75, 1.0}),
                           make_reals({1.0, 2.0, 0.5, 1.0}), 3, curve);
  return curve;
}

// A function that allocates nothing.
inline Workload pure(const char *name, std::function<Outcome()> f) {
  return {name, Refused::None, {}, [f](const Arm &) { return f(); }};
}

// f(list) into a fresh list: the outcome f gives, with what it appended.
template <class F>
Workload listed(const char *name, Refused refused, F f, std::vector<std::string> memerrs = {}) {
  if (memerrs.empty()) memerrs = {name};
  return {name, refused, std::move(memerrs), [f](const Arm &arm) {
            ll_list *list = ll_create_list();
            Outcome o = arm([&] { return f(list); });
            collect(o, list);
            return o;
          }};
}

// A definition from the cubic's points and knots, lists the caller keeps:
// the record it made, or none.
inline Workload defined(const char *name, std::function<zv_curve *(ll_list *, ll_list *)> def) {
  return {name, Refused::NullRecord, {name}, [def](const Arm &arm) {
            ll_list *ctrl = make_polygon(cubic().points), *knots = make_reals(cubic().stored_knots());
            zv_curve *curve = arm([&] { return def(ctrl, knots); });
            Outcome o{curve != nullptr};
            collect(o, curve);
            ll_purge_list(ctrl), ll_purge_list(knots);
            return o;
          }};
}

// A rational definition into a fresh record; the lists are the record's
// on success and the caller's otherwise.
using Rational = std::function<int16_t(ll_list *, ll_list *, ll_list *, zv_curve *)>;
inline Workload rational(const char *name, const Spline &s, std::vector<double> knots, Rational def) {
  return {name, Refused::MinusOne, {name}, [s, knots, def](const Arm &arm) {
            zv_curve *curve = zv_create_curve();
            ll_list *ctrl = make_polygon(s.points), *k = make_reals(knots), *w = make_reals(s.weights);
            Outcome o{arm([&] { return def(ctrl, k, w, curve); })};
            if (o.result != 0) ll_purge_list(ctrl), ll_purge_list(k), ll_purge_list(w);
            collect(o, curve);
            return o;
          }};
}

// A call on a record make() builds, or on two made into a fresh pair of
// records (conversion, subdivision); every record goes into the outcome.
inline Workload on_record(const char *name, std::vector<std::string> memerrs, zv_curve *(*make)(),
                          std::function<int16_t(zv_curve *, zv_curve *, zv_curve *)> call) {
  return {name, Refused::MinusOne, std::move(memerrs), [make, call](const Arm &arm) {
            zv_curve *source = make(), *a = zv_create_curve(), *b = zv_create_curve();
            Outcome o{arm([&] { return call(source, a, b); })};
            collect(o, source), collect(o, a), collect(o, b);
            return o;
          }};
}

// The polylines read their control points from a list the caller keeps.
inline Workload polyline(const char *name, size_t points, std::function<Outcome(ll_list *, ll_list *)> f) {
  return {name, Refused::MinusOne, {name}, [f, points](const Arm &arm) {
            ll_list *ctrl = make_polygon({wave().begin(), wave().begin() + points}), *out = ll_create_list();
            Outcome o = arm([&] { return f(ctrl, out); });
            collect(o, out);
            ll_purge_list(ctrl);
            return o;
          }};
}

// Every exported curve function with one valid call.
inline std::vector<Workload> workloads() {
  static const zv_pnt_3d c{1.0, -2.0, 0.5};
  const auto nub = [] { return make_nub(cubic(), 5); };
  const auto nurb = [] { return make_nurb(cubic(), 5); };
  std::vector<Workload> w = {
      defined("zv_def_ubezier_curve3d", [](ll_list *p, ll_list *) { return zv_def_ubezier_curve3d(p); }),
      defined("zv_def_ubspl_curve3d", [](ll_list *p, ll_list *) { return zv_def_ubspl_curve3d(p); }),
      defined("zv_def_ucatrom_curve3d", [](ll_list *p, ll_list *) { return zv_def_ucatrom_curve3d(p); }),
      defined("zv_def_ubetaspl_curve3d", [](ll_list *p, ll_list *) { return zv_def_ubetaspl_curve3d(p, 1.5, 0.5); }),
      defined("zv_def_nubspl_curve3d", [](ll_list *p, ll_list *k) { return zv_def_nubspl_curve3d(p, k, 3, 4); }),
      on_record("zv_mk_ucurve3d", {"zv_mk_ucurve3d"}, [] { return uniform_curve(zv_def_ubspl_curve3d); },
                [](zv_curve *s, zv_curve *, zv_curve *) { return zv_mk_ucurve3d(s, 0.1); }),
      pure("zv_eval_t_on_ucurve3d", [] {
        zv_curve *curve = uniform_curve(zv_def_ucatrom_curve3d);
        zv_poly_3d *seg[4];
        ll_node *node = curve->ctrl_list->head;
        for (auto &s : seg) s = static_cast<zv_poly_3d *>(node->data), node = node->next;
        zv_pnt_3d p;
        zv_vector_3d t, s, n;
        const long r = zv_eval_t_on_ucurve3d(curve, 0.3, seg, &p, &t, &s, &n);
        zv_purge_curve(curve);
        return Wrote{r, {p}, {t, s, n}};
      }),
      // conics; the circle's count is n whatever was appended, the parabola's 0 unless done
      pure("zv_circle_pnt_3d", [] { zv_pnt_3d p; zv_circle_pnt_3d(c, 2.0, 0.3, &p); return Wrote{0, {p}}; }),
      listed("zv_circlepnts_3d", Refused::MinusOne, [](ll_list *l) {
        int16_t n = 0;
        return Outcome{zv_circlepnts_3d(c, 2.0, 12, &n, l), n == 12 ? -1 : -2};
      }),
      // The arc's own generator reports its refusals.
      listed("zv_circle_arc_3d", Refused::CountSoFar,
             [](ll_list *l) { return Outcome{zv_circle_arc_3d(c, 2.0, 8, 0.1, 0.6, l)}; }, {"zv_arc_pnts_3d"}),
      pure("zv_circle_stats_3d", [] {
        zv_vector_3d a, b;
        zv_circle_stats_3d(c, {2, 3, 0.5}, &a, &b);
        return Wrote{0, {}, {a, b}};
      }),
      pure("zv_ellipse_pnt_3d", [] { zv_pnt_3d p; return Wrote{zv_ellipse_pnt_3d(c, 3.0, 1.0, 0.7, &p), {p}}; }),
      listed("zv_ellipsepnts_3d", Refused::MinusOne, [](ll_list *l) {
        zv_pnt_3d p1{0, 0, 1}, p2{4, 2, 1};
        int16_t n = 10, count = 0;
        return Outcome{zv_ellipsepnts_3d(&p1, &p2, &n, &count, l), count};
      }),
      listed("zv_elliptic_arc_3d", Refused::MinusOne, [](ll_list *l) {
        zv_pnt_3d p1{0, 0, 1}, p2{4, 2, 1};
        int16_t n = 7;
        return Outcome{zv_elliptic_arc_3d(&p1, &p2, &n, 5.0, 1.0, l)};
      }),
      pure("zv_ellipse_stats_3d", [] {
        zv_vector_3d a, b;
        return Wrote{zv_ellipse_stats_3d(c, 3.0, 1.0, {2.0, -1.5, 0.5}, &a, &b), {}, {a, b}};
      }),
      listed("zv_arcpnts_3d", Refused::CountSoFar,
             [](ll_list *l) { return Outcome{zv_arcpnts_3d(c, 2.0, 5.5, 1.0, 9, l)}; }),
      listed("zv_arc_pnts_3d", Refused::CountSoFar, [](ll_list *l) {
        zv_arc_2d arc;
        zv_set_arc_2d(1.0, 2.0, 3.0, 0, 0.5, 2.5, &arc);
        return Outcome{zv_arc_pnts_3d(&arc, 6, 4.0, l)};
      }),
      // A null list: the vertices go to a private list, released before return.
      listed("zv_arc_pnts_3d", Refused::NoResult, [](ll_list *) {
        zv_arc_2d arc;
        zv_set_arc_2d(1.0, 2.0, 3.0, 0, 0.5, 2.5, &arc);
        return Outcome{zv_arc_pnts_3d(&arc, 6, 4.0, nullptr)};
      }),
      listed("zv_cycloidpnts_3d", Refused::MinusOne, [](ll_list *l) {
        zv_pnt_3d start{1, 1, 1};
        int16_t n = 9, count = 0;
        return Outcome{zv_cycloidpnts_3d(&start, -1.5, &n, l, &count), count};
      }),
      pure("zv_hyperbola_pnt_3d", [] { zv_pnt_3d p; return Wrote{zv_hyperbola_pnt_3d(c, 2.0, 1.0, 0.4, &p), {p}}; }),
      listed("zv_hyperbolic_arc_3d", Refused::MinusOne, [](ll_list *l) {
        int16_t n = 6;
        return Outcome{zv_hyperbolic_arc_3d(c, 2.0, 1.0, &n, -0.5, 0.7, l)};
      }),
      {"zv_hyperbolapnts_3d", Refused::MinusOne, {"zv_hyperbolapnts_3d"}, [](const Arm &arm) {
         zv_pnt_3d c1{0, 0, 2}, c2{4, 2, 2};
         int16_t n = 8, count = 0;
         ll_list *a = ll_create_list(), *b = ll_create_list();
         Outcome o{arm([&] { return zv_hyperbolapnts_3d(0, &c1, &c2, 5.0, &n, &count, a, b); })};
         collect(o, a), collect(o, b);
         return o;
       }},
      pure("zv_hyperbola_stats_3d", [] {
        zv_vector_3d a, b;
        return Wrote{zv_hyperbola_stats_3d(c, 2.0, 1.0, 1, {3.0, 1.0, 0.5}, &a, &b), {}, {a, b}};
      }),
      pure("zv_parabola_pnt_3d", [] { zv_pnt_3d p; zv_parabola_pnt_3d(c, 0.5, 1.5, 1, &p); return Wrote{0, {p}}; }),
      listed("zv_parabolic_arc_3d", Refused::NoResult, [](ll_list *l) {
        zv_parabolic_arc_3d(c, 0.5, 0, 8, 2.0, -1.0, l);
        return Outcome{};
      }),
      listed("zv_parabolapnts_3d", Refused::MinusOne, [](ll_list *l) {
        zv_pnt_3d v{1, 1, 1};
        int16_t n = 8, count = 0;
        const int16_t r = zv_parabolapnts_3d(1, &v, -0.5, 3.0, &n, &count, l);
        return Outcome{r, r == 0 ? count : count == 0 ? -1 : -2};
      }),
      pure("zv_parabola_stats_3d", [] {
        zv_vector_3d a, b;
        return Wrote{zv_parabola_stats_3d(c, 0.5, 0, {3.0, 1.0, 0.5}, &a, &b), {}, {a, b}};
      }),
      // rational definitions, de Boor evaluation and span tessellation
      rational("zv_mk_def_nurb_curve3d", cubic(), cubic().stored_knots(),
               [](ll_list *p, ll_list *k, ll_list *wt, zv_curve *r) {
                 return zv_mk_def_nurb_curve3d(p, k, wt, 3, 4, r);
               }),
      rational("zv_def_ratbezier_curve3d", Spline{2, {{0, 0, 0}, {1, 1, 0}, {2, 0, 1}}, {}, {1.0, 3.0, 1.0}},
               {0.0, 0.5}, [](ll_list *p, ll_list *k, ll_list *wt, zv_curve *r) {
                 return zv_def_ratbezier_curve3d(p, k, wt, 2, r);
               }),
      pure("zv_deboor_3d / zv_rat_deboor_3d", [] {
        zv_poly_3d d[3] = {{0, 0, 0, 0}, {1, 1, 2, 0}, {2, 3, 1, 1}};
        zv_poly_3d *pts[3] = {&d[0], &d[1], &d[2]};
        const double knots[4] = {0.0, 1.0, 2.0, 3.0}, weights[3] = {1.0, 0.5, 2.0};
        zv_pnt_3d p, q;
        return Wrote{zv_deboor_3d(1.4, 2, pts, knots, &p) + 10 * zv_rat_deboor_3d(1.4, 2, pts, weights, knots, &q),
                     {p, q}};
      }),
      on_record("zv_mk_nubspline_3d", {"zv_mk_nubspline_3d"}, nub,
                [](zv_curve *s, zv_curve *, zv_curve *) { return zv_mk_nubspline_3d(s, 0, 0); }),
      on_record("zv_mk_nurb_curve3d", {"mk_nurb_curve3d - 2", "zv_mk_nurb_curve3d"}, nurb,
                [](zv_curve *s, zv_curve *, zv_curve *) { return zv_mk_nurb_curve3d(s, 2, 7, 3, 0); }),
      on_record("zv_mk_rat_bezier_3d", {"zv_mk_rat_bezier_3d"}, [] {
                  zv_curve *s = rat_bezier_curve();
                  ll_purge_list(s->vertex_list);
                  s->vertex_list = nullptr;  // made by the call
                  return s;
                }, [](zv_curve *s, zv_curve *, zv_curve *) { return zv_mk_rat_bezier_3d(s, 0); }),
      // array-form evaluation
      pure("zv_eval_pointoncurve_3d", [] {
        double ctrl[] = {0, 0, 1, 1, 2, 0, 3, 1}, knots[] = {0, 0, 0, 0.5, 1, 1, 1};
        zv_nurbs_3d rec{3, 6, 2, 1, 1, 0, 1, 2, ctrl, knots};
        zv_pnt_3d p;
        return Wrote{zv_eval_pointoncurve_3d(&rec, 0.3, &p), {p}};
      }),
      pure("zv_eval_derivsoncurve_3d", [] {
        double ctrl[] = {0, 0, 0, 1, 1, 2, 1, 2, 2, 0, 1, 1, 3, 1, 0, 1}, knots[] = {0, 0, 0, 0.5, 1, 1, 1};
        zv_nurbs_3d rec{3, 6, 2, 0, 1, 0, 0, 4, ctrl, knots};
        zv_pnt_3d p, d1, d2;
        int16_t status = -1;
        Outcome o = Wrote{zv_eval_derivsoncurve_3d(&rec, 0.5, -1, 1, &p, &d1, &d2, &status), {p, d1, d2}};
        o.count = status;
        return o;
      }),
      // direct polylines
      pure("zv_bez_factorial3", [] { return Outcome{0, -1, 0, zv_bez_factorial3(17)}; }),
      pure("zv_beziercurve3d", [] {
        zv_pnt_3d out[9];
        Outcome o{zv_beziercurve3d(wave().data(), 6, 9, out)};
        for (const auto &p : out) o.sum += Wrote{0, {p}}.sum;
        return o;
      }),
      polyline("zv_bspline_3d", 6, [](ll_list *p, ll_list *l) {
        int16_t n = 13;
        return Outcome{zv_bspline_3d(6, p, &n, l), n};
      }),
      // conversion and subdivision: the pieces land in records of the caller's
      on_record("zv_bspl_to_bezier_curve3d", {"zv_bspl_to_bezier_curve3d"}, [] { return make_nub(cubic(), 2); },
                [](zv_curve *s, zv_curve *a, zv_curve *) { return zv_bspl_to_bezier_curve3d(s, a); }),
      on_record("zv_rat_bspl_to_bezier_curve3d", {"zv_rat_bspl_to_bezier_curve3d"},
                [] { return make_nurb(cubic(), 2); },
                [](zv_curve *s, zv_curve *a, zv_curve *) { return zv_rat_bspl_to_bezier_curve3d(s, a); }),
      on_record("zv_sub_bezier_curve3d", {"zv_sub_bezier_curve3d"},
                [] { return uniform_curve(zv_def_ubezier_curve3d); },
                [](zv_curve *s, zv_curve *a, zv_curve *b) { return zv_sub_bezier_curve3d(s, 0.3, a, b); }),
      on_record("zv_sub_ratbezier_curve3d", {"zv_sub_ratbezier_curve3d"}, rat_bezier_curve,
                [](zv_curve *s, zv_curve *a, zv_curve *b) { return zv_sub_ratbezier_curve3d(s, 0.3, a, b); }),
      // intersection: two zigzags crossing three times
      {"zv_intcurve_3d", Refused::CountSoFar, {"zv_intcurve_3d"}, [](const Arm &arm) {
         zv_curve *a = zv_create_curve(), *b = zv_create_curve();
         ll_purge_list(a->vertex_list), ll_purge_list(b->vertex_list);
         a->vertex_list = make_polygon({{0, 0, 0}, {2, 2, 0}, {4, 0, 0}, {6, 2, 0}});
         b->vertex_list = make_polygon({{0, 2, 0}, {2, 0, 0}, {4, 2, 0}, {6, 0, 0}});
         ll_list *out = ll_create_list();
         Outcome o{arm([&] { return zv_intcurve_3d(a, b, out); })};
         collect(o, out);
         zv_purge_curve(a), zv_purge_curve(b);
         return o;
       }},
      {"zv_curve_thru_npoints_3d", Refused::Three, {}, [](const Arm &arm) {
         zv_nurbs_3d *rec = nullptr;
         Outcome o{arm([&] { return zv_curve_thru_npoints_3d(wave().data(), 6, 3, 0, nullptr, nullptr, 2, &rec); })};
         const rivezi3z::Nurbs owner(rec);
         for (int i = 0; rec && i <= rec->last_ctrl * rec->dim; ++i) o.sum += rec->ctrl_pts[i];
         return o;
       }},
  };
  // Each polyline over six points, and over two, which it copies by a path of its own.
  for (int16_t k : {6, 2}) {
    w.push_back(polyline("zv_bezier_curve_3d", k,
                         [k](ll_list *p, ll_list *l) { return Outcome{zv_bezier_curve_3d(p, k, 11, l)}; }));
    w.push_back(polyline("zv_quad_bspline_3d", k, [k](ll_list *p, ll_list *l) {
      int16_t n = 0;
      return Outcome{zv_quad_bspline_3d(k, p, 5, &n, l), n};
    }));
    w.push_back(polyline("zv_catrom_curve_3d", k, [k](ll_list *p, ll_list *l) {
      int16_t n = 0;
      return Outcome{zv_catrom_curve_3d(k, p, 5, 0.5, &n, l), n};
    }));
  }
  return w;
}

}  // namespace zvtest
