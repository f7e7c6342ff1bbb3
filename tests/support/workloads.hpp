// One valid call of every exported curve function, each building its own
// inputs, calling once and releasing everything. The refused-memory driver
// repeats the allocating ones under every refusal budget; the thread test
// runs all of them at once on several threads.
#pragma once

#include <rivezi3z/rivezi3z.hpp>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "spline_records.hpp"

namespace zvtest {

// What one call gave: its result (1/0 for a record or not), the function's
// own count output (-1 when it has none), the items its output lists held
// after the call and a checksum of their coordinates and of every point the
// call wrote.
struct Outcome {
  long result = 0;
  long count = -1;
  long items = 0;
  double sum = 0.0;
  bool operator==(const Outcome &) const = default;
};

// What a call returns when the kernel refuses one of its allocations.
enum class Refused {
  None,        // the function allocates nothing
  MinusOne,    // result -1
  NullRecord,  // result 0: no record
  CountSoFar,  // result = the items the output list holds
  NoResult,    // a void function: only the report tells
  Three,       // the fit's own code 3, without a report
};

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
  for (const Vertex &v : vertices(list)) {
    ++o.items;
    o.sum += v.x + 2.0 * v.y + 3.0 * v.z + v.index;
  }
  ll_purge_list(list);
}

// A result with the points and vectors a call wrote.
inline Outcome sum(long result, std::initializer_list<zv_pnt_3d> points, std::initializer_list<zv_vector_3d> vectors = {}) {
  Outcome o{result};
  for (const zv_pnt_3d &p : points) o.sum += p.x + 2.0 * p.y + 3.0 * p.z;
  for (const zv_vector_3d &v : vectors) o.sum += v.dx + 2.0 * v.dy + 3.0 * v.dz;
  return o;
}

// A function that allocates nothing.
inline Workload pure(const char *name, std::function<Outcome()> f) {
  return {name, Refused::None, {}, [f](const Arm &) { return f(); }};
}

// Adds a curve record's output lists to the outcome and releases it.
inline void collect(Outcome &o, zv_curve *curve) {
  if (!curve) return;
  o.items += ll_list_length(curve->stats_list);
  for (const auto &s : items<zv_curve_stats_3d>(curve->stats_list)) o.sum += s.t;
  collect(o, curve->vertex_list);
  curve->vertex_list = nullptr;
  zv_purge_curve(curve);
}

inline const std::vector<zv_pnt_3d> &wave() {
  static const std::vector<zv_pnt_3d> points = {{0, 0, 0}, {1, 2, 0.5}, {3, 2, 1},
                                                {4, 0, 1},  {6, 1, 0}, {7, 3, -1}};
  return points;
}

// A uniform record of kind def over the wave.
inline zv_curve *uniform_curve(zv_curve *(*def)(ll_list *)) {
  ll_list *ctrl = make_polygon(wave());
  zv_curve *curve = def(ctrl);
  ll_purge_list(ctrl);
  return curve;
}

inline Workload uniform_definition(const char *name, zv_curve *(*def)(ll_list *)) {
  return {name, Refused::NullRecord, {name}, [def](const Arm &arm) {
            ll_list *ctrl = make_polygon(wave());
            zv_curve *curve = arm([&] { return def(ctrl); });
            Outcome o{curve != nullptr};
            collect(o, curve);
            ll_purge_list(ctrl);
            return o;
          }};
}

inline zv_curve *beta_spline(ll_list *ctrl) { return zv_def_ubetaspl_curve3d(ctrl, 1.5, 0.5); }

inline const Spline &cubic() {
  static const Spline s = random_spline(7, 3, 11);
  return s;
}

// A record of the rational Bezier family over the wave's first four points.
inline zv_curve *rat_bezier_curve() {
  zv_curve *curve = zv_create_curve();
  const std::vector<zv_pnt_3d> pts(wave().begin(), wave().begin() + 4);
  zv_def_ratbezier_curve3d(make_polygon(pts), make_reals({0.0, 0.25, 0.5, 0.75, 1.0}),
                           make_reals({1.0, 2.0, 0.5, 1.0}), 3, curve);
  return curve;
}

// A tessellator called on a record make() builds; the record's output
// lists, with what the call appended, make the outcome.
inline Workload sampling(const char *name, std::vector<std::string> memerrs, zv_curve *(*make)(), int16_t (*call)(zv_curve *)) {
  return {name, Refused::MinusOne, std::move(memerrs), [make, call](const Arm &arm) {
            zv_curve *curve = make();
            Outcome o{arm([&] { return call(curve); })};
            collect(o, curve);
            return o;
          }};
}

// A conic polyline call into a fresh list: f(list) gives the result and
// the function's count output.
template <class F>
Workload conic(const char *name, Refused refused, F f) {
  return {name, refused, {name}, [f](const Arm &arm) {
            ll_list *list = ll_create_list();
            Outcome o = arm([&] { return f(list); });
            collect(o, list);
            return o;
          }};
}

// Every exported curve function with one valid call.
inline std::vector<Workload> workloads() {
  const zv_pnt_3d centre{1.0, -2.0, 0.5};
  std::vector<Workload> w = {
      uniform_definition("zv_def_ubezier_curve3d", zv_def_ubezier_curve3d),
      uniform_definition("zv_def_ubspl_curve3d", zv_def_ubspl_curve3d),
      uniform_definition("zv_def_ucatrom_curve3d", zv_def_ucatrom_curve3d),
      uniform_definition("zv_def_ubetaspl_curve3d", beta_spline),
      sampling("zv_mk_ucurve3d", {"zv_mk_ucurve3d"}, [] { return uniform_curve(zv_def_ubspl_curve3d); },
               [](zv_curve *c) { return zv_mk_ucurve3d(c, 0.1); }),
      pure("zv_eval_t_on_ucurve3d", [] {
        zv_curve *curve = uniform_curve(zv_def_ucatrom_curve3d);
        zv_poly_3d *seg[4];
        ll_node *node = curve->ctrl_list->head;
        for (auto &s : seg) s = static_cast<zv_poly_3d *>(node->data), node = node->next;
        zv_pnt_3d p;
        zv_vector_3d t, s, n;
        const long r = zv_eval_t_on_ucurve3d(curve, 0.3, seg, &p, &t, &s, &n);
        zv_purge_curve(curve);
        return sum(r, {p}, {t, s, n});
      }),
      // conics
      pure("zv_circle_pnt_3d", [centre] {
        zv_pnt_3d p;
        zv_circle_pnt_3d(centre, 2.0, 0.3, &p);
        return sum(0, {p});
      }),
      conic("zv_circlepnts_3d", Refused::MinusOne,
            [centre](ll_list *l) {
              int16_t count = 0;
              const int16_t r = zv_circlepnts_3d(centre, 2.0, 12, &count, l);
              return Outcome{r, count == 12 ? -1 : -2};  // n, whatever was appended
            }),
      // The arc's own generator reports its refusals.
      {"zv_circle_arc_3d", Refused::CountSoFar, {"zv_arc_pnts_3d"}, conic("", Refused::CountSoFar,
            [centre](ll_list *l) { return Outcome{zv_circle_arc_3d(centre, 2.0, 8, 0.1, 0.6, l)}; }).run},
      pure("zv_circle_stats_3d", [centre] {
        zv_vector_3d a, b;
        zv_circle_stats_3d(centre, {2, 3, 0.5}, &a, &b);
        return sum(0, {}, {a, b});
      }),
      pure("zv_ellipse_pnt_3d", [centre] {
        zv_pnt_3d p;
        const long r = zv_ellipse_pnt_3d(centre, 3.0, 1.0, 0.7, &p);
        return sum(r, {p});
      }),
      conic("zv_ellipsepnts_3d", Refused::MinusOne,
            [](ll_list *l) {
              zv_pnt_3d p1{0, 0, 1}, p2{4, 2, 1};
              int16_t n = 10, count = 0;
              const int16_t r = zv_ellipsepnts_3d(&p1, &p2, &n, &count, l);
              return Outcome{r, count};
            }),
      conic("zv_elliptic_arc_3d", Refused::MinusOne,
            [](ll_list *l) {
              zv_pnt_3d p1{0, 0, 1}, p2{4, 2, 1};
              int16_t n = 7;
              return Outcome{zv_elliptic_arc_3d(&p1, &p2, &n, 5.0, 1.0, l)};
            }),
      pure("zv_ellipse_stats_3d", [centre] {
        zv_vector_3d a, b;
        const long r = zv_ellipse_stats_3d(centre, 3.0, 1.0, {2.0, -1.5, 0.5}, &a, &b);
        return sum(r, {}, {a, b});
      }),
      conic("zv_arcpnts_3d", Refused::CountSoFar,
            [centre](ll_list *l) { return Outcome{zv_arcpnts_3d(centre, 2.0, 5.5, 1.0, 9, l)}; }),
      conic("zv_arc_pnts_3d", Refused::CountSoFar,
            [](ll_list *l) {
              zv_arc_2d arc;
              zv_set_arc_2d(1.0, 2.0, 3.0, 0, 0.5, 2.5, &arc);
              return Outcome{zv_arc_pnts_3d(&arc, 6, 4.0, l)};
            }),
      // A null list: the vertices go to a private list, released before return.
      {"zv_arc_pnts_3d", Refused::NoResult, {"zv_arc_pnts_3d"},
       [](const Arm &arm) {
         zv_arc_2d arc;
         zv_set_arc_2d(1.0, 2.0, 3.0, 0, 0.5, 2.5, &arc);
         return Outcome{arm([&] { return zv_arc_pnts_3d(&arc, 6, 4.0, nullptr); })};
       }},
      conic("zv_cycloidpnts_3d", Refused::MinusOne,
            [](ll_list *l) {
              zv_pnt_3d start{1, 1, 1};
              int16_t n = 9, count = 0;
              const int16_t r = zv_cycloidpnts_3d(&start, -1.5, &n, l, &count);
              return Outcome{r, count};
            }),
      pure("zv_hyperbola_pnt_3d", [centre] {
        zv_pnt_3d p;
        const long r = zv_hyperbola_pnt_3d(centre, 2.0, 1.0, 0.4, &p);
        return sum(r, {p});
      }),
      conic("zv_hyperbolic_arc_3d", Refused::MinusOne,
            [centre](ll_list *l) {
              int16_t n = 6;
              return Outcome{zv_hyperbolic_arc_3d(centre, 2.0, 1.0, &n, -0.5, 0.7, l)};
            }),
      {"zv_hyperbolapnts_3d", Refused::MinusOne, {"zv_hyperbolapnts_3d"},
       [](const Arm &arm) {
         zv_pnt_3d c1{0, 0, 2}, c2{4, 2, 2};
         int16_t n = 8, count = 0;
         ll_list *a = ll_create_list(), *b = ll_create_list();
         Outcome o{arm([&] { return zv_hyperbolapnts_3d(0, &c1, &c2, 5.0, &n, &count, a, b); })};
         collect(o, a), collect(o, b);
         return o;
       }},
      pure("zv_hyperbola_stats_3d", [centre] {
        zv_vector_3d a, b;
        const long r = zv_hyperbola_stats_3d(centre, 2.0, 1.0, 1, {3.0, 1.0, 0.5}, &a, &b);
        return sum(r, {}, {a, b});
      }),
      pure("zv_parabola_pnt_3d", [centre] {
        zv_pnt_3d p;
        zv_parabola_pnt_3d(centre, 0.5, 1.5, 1, &p);
        return sum(0, {p});
      }),
      conic("zv_parabolic_arc_3d", Refused::NoResult,
            [centre](ll_list *l) {
              zv_parabolic_arc_3d(centre, 0.5, 0, 8, 2.0, -1.0, l);
              return Outcome{};
            }),
      conic("zv_parabolapnts_3d", Refused::MinusOne,
            [](ll_list *l) {
              zv_pnt_3d v{1, 1, 1};
              int16_t n = 8, count = 0;
              const int16_t r = zv_parabolapnts_3d(1, &v, -0.5, 3.0, &n, &count, l);
              return Outcome{r, r == 0 ? count : count == 0 ? -1 : -2};  // 0 unless done
            }),
      pure("zv_parabola_stats_3d", [centre] {
        zv_vector_3d a, b;
        const long r = zv_parabola_stats_3d(centre, 0.5, 0, {3.0, 1.0, 0.5}, &a, &b);
        return sum(r, {}, {a, b});
      }),
      // non-uniform and rational definitions
      {"zv_def_nubspl_curve3d", Refused::NullRecord, {"zv_def_nubspl_curve3d"},
       [](const Arm &arm) {
         ll_list *ctrl = make_polygon(cubic().points), *knots = make_reals(cubic().stored_knots());
         zv_curve *curve = arm([&] { return zv_def_nubspl_curve3d(ctrl, knots, 3, 4); });
         Outcome o{curve != nullptr};
         collect(o, curve);
         ll_purge_list(ctrl), ll_purge_list(knots);
         return o;
       }},
      {"zv_mk_def_nurb_curve3d", Refused::MinusOne, {"zv_mk_def_nurb_curve3d"},
       [](const Arm &arm) {
         zv_curve *curve = zv_create_curve();
         ll_list *ctrl = make_polygon(cubic().points), *knots = make_reals(cubic().stored_knots()),
                 *weights = make_reals(cubic().weights);
         Outcome o{arm([&] { return zv_mk_def_nurb_curve3d(ctrl, knots, weights, 3, 4, curve); })};
         if (o.result != 0) ll_purge_list(ctrl), ll_purge_list(knots), ll_purge_list(weights);
         collect(o, curve);
         return o;
       }},
      {"zv_def_ratbezier_curve3d", Refused::MinusOne, {"zv_def_ratbezier_curve3d"},
       [](const Arm &arm) {
         zv_curve *curve = zv_create_curve();
         ll_list *ctrl = make_polygon({{0, 0, 0}, {1, 1, 0}, {2, 0, 1}}), *knots = make_reals({0.0, 0.5}),
                 *weights = make_reals({1.0, 3.0, 1.0});
         Outcome o{arm([&] { return zv_def_ratbezier_curve3d(ctrl, knots, weights, 2, curve); })};
         if (o.result != 0) ll_purge_list(ctrl), ll_purge_list(knots), ll_purge_list(weights);
         collect(o, curve);
         return o;
       }},
      // de Boor evaluation and span tessellation
      pure("zv_deboor_3d / zv_rat_deboor_3d", [] {
        zv_poly_3d d[3] = {{0, 0, 0, 0}, {1, 1, 2, 0}, {2, 3, 1, 1}};
        zv_poly_3d *pts[3] = {&d[0], &d[1], &d[2]};
        const double knots[4] = {0.0, 1.0, 2.0, 3.0}, weights[3] = {1.0, 0.5, 2.0};
        zv_pnt_3d p, q;
        const long r = zv_deboor_3d(1.4, 2, pts, knots, &p) + 10 * zv_rat_deboor_3d(1.4, 2, pts, weights, knots, &q);
        return sum(r, {p, q});
      }),
      sampling("zv_mk_nubspline_3d", {"zv_mk_nubspline_3d"}, [] { return make_nub(cubic(), 5); },
               [](zv_curve *c) { return zv_mk_nubspline_3d(c, 0, 0); }),
      sampling("zv_mk_nurb_curve3d", {"mk_nurb_curve3d - 2", "zv_mk_nurb_curve3d"}, [] { return make_nurb(cubic(), 5); },
               [](zv_curve *c) { return zv_mk_nurb_curve3d(c, 2, 7, 3, 0); }),
      sampling("zv_mk_rat_bezier_3d", {"zv_mk_rat_bezier_3d"}, [] {
                 zv_curve *c = rat_bezier_curve();
                 ll_purge_list(c->vertex_list);
                 c->vertex_list = nullptr;  // made by the call
                 return c;
               }, [](zv_curve *c) { return zv_mk_rat_bezier_3d(c, 0); }),
      // array-form evaluation
      pure("zv_eval_pointoncurve_3d", [] {
        double ctrl[] = {0, 0, 1, 1, 2, 0, 3, 1}, knots[] = {0, 0, 0, 0.5, 1, 1, 1};
        zv_nurbs_3d rec{3, 6, 2, 1, 1, 0, 1, 2, ctrl, knots};
        zv_pnt_3d p;
        const long r = zv_eval_pointoncurve_3d(&rec, 0.3, &p);
        return sum(r, {p});
      }),
      pure("zv_eval_derivsoncurve_3d", [] {
        double ctrl[] = {0, 0, 0, 1, 1, 2, 1, 2, 2, 0, 1, 1, 3, 1, 0, 1}, knots[] = {0, 0, 0, 0.5, 1, 1, 1};
        zv_nurbs_3d rec{3, 6, 2, 0, 1, 0, 0, 4, ctrl, knots};
        zv_pnt_3d p, d1, d2;
        int16_t status = -1;
        const long r = zv_eval_derivsoncurve_3d(&rec, 0.5, -1, 1, &p, &d1, &d2, &status);
        Outcome o = sum(r, {p, d1, d2});
        o.count = status;
        return o;
      }),
      // direct polylines
      pure("zv_bez_factorial3", [] { return Outcome{0, -1, 0, zv_bez_factorial3(17)}; }),
      pure("zv_beziercurve3d", [] {
        zv_pnt_3d out[9];
        Outcome o{zv_beziercurve3d(wave().data(), 6, 9, out)};
        for (const auto &p : out) o.sum += sum(0, {p}).sum;
        return o;
      }),
  };
  // The polylines read their control points from a list the caller keeps.
  auto polyline = [](const char *name, std::function<Outcome(ll_list *, ll_list *)> f, size_t points = 6) {
    return Workload{name, Refused::MinusOne, {name}, [f, points](const Arm &arm) {
                      ll_list *ctrl = make_polygon({wave().begin(), wave().begin() + points});
                      ll_list *out = ll_create_list();
                      Outcome o = arm([&] { return f(ctrl, out); });
                      collect(o, out);
                      ll_purge_list(ctrl);
                      return o;
                    }};
  };
  w.push_back(polyline("zv_bezier_curve_3d", [](ll_list *c, ll_list *l) {
    return Outcome{zv_bezier_curve_3d(c, 6, 11, l)};
  }));
  w.push_back(polyline("zv_bspline_3d", [](ll_list *c, ll_list *l) {
    int16_t points = 13;
    const int16_t r = zv_bspline_3d(6, c, &points, l);
    return Outcome{r, points};
  }));
  w.push_back(polyline("zv_quad_bspline_3d", [](ll_list *c, ll_list *l) {
    int16_t count = 0;
    const int16_t r = zv_quad_bspline_3d(6, c, 5, &count, l);
    return Outcome{r, count};
  }));
  w.push_back(polyline("zv_catrom_curve_3d", [](ll_list *c, ll_list *l) {
    int16_t count = 0;
    const int16_t r = zv_catrom_curve_3d(6, c, 5, 0.5, &count, l);
    return Outcome{r, count};
  }));
  // The two-point copies take their own path through each function.
  w.push_back(polyline("zv_bezier_curve_3d", [](ll_list *c, ll_list *l) {
    return Outcome{zv_bezier_curve_3d(c, 2, 11, l)};
  }, 2));
  w.push_back(polyline("zv_quad_bspline_3d", [](ll_list *c, ll_list *l) {
    int16_t count = 0;
    const int16_t r = zv_quad_bspline_3d(2, c, 5, &count, l);
    return Outcome{r, count};
  }, 2));
  w.push_back(polyline("zv_catrom_curve_3d", [](ll_list *c, ll_list *l) {
    int16_t count = 0;
    const int16_t r = zv_catrom_curve_3d(2, c, 5, 0.5, &count, l);
    return Outcome{r, count};
  }, 2));
  // conversion and subdivision: the pieces land in records of the caller's
  auto convert = [](const char *name, int16_t (*f)(zv_curve *, zv_curve *), bool nurb) {
    return Workload{name, Refused::MinusOne, {name}, [f, nurb](const Arm &arm) {
                      zv_curve *source = nurb ? make_nurb(cubic(), 2) : make_nub(cubic(), 2);
                      zv_curve *out = zv_create_curve();
                      Outcome o{arm([&] { return f(source, out); })};
                      o.items += ll_list_length(out->weight_list);
                      collect(o, out->ctrl_list);
                      out->ctrl_list = nullptr;
                      zv_purge_curve(out), zv_purge_curve(source);
                      return o;
                    }};
  };
  w.push_back(convert("zv_bspl_to_bezier_curve3d", zv_bspl_to_bezier_curve3d, false));
  w.push_back(convert("zv_rat_bspl_to_bezier_curve3d", zv_rat_bspl_to_bezier_curve3d, true));
  auto split = [](const char *name, int16_t (*f)(zv_curve *, double, zv_curve *, zv_curve *), bool rational) {
    return Workload{name, Refused::MinusOne, {name}, [f, rational](const Arm &arm) {
                      zv_curve *source = rational ? rat_bezier_curve() : uniform_curve(zv_def_ubezier_curve3d);
                      zv_curve *before = zv_create_curve(), *after = zv_create_curve();
                      Outcome o{arm([&] { return f(source, 0.3, before, after); })};
                      for (zv_curve *piece : {before, after}) {
                        o.items += ll_list_length(piece->weight_list);
                        collect(o, piece->ctrl_list);
                        piece->ctrl_list = nullptr;
                        zv_purge_curve(piece);
                      }
                      zv_purge_curve(source);
                      return o;
                    }};
  };
  w.push_back(split("zv_sub_bezier_curve3d", zv_sub_bezier_curve3d, false));
  w.push_back(split("zv_sub_ratbezier_curve3d", zv_sub_ratbezier_curve3d, true));
  // intersection: two zigzags crossing three times
  w.push_back({"zv_intcurve_3d", Refused::CountSoFar, {"zv_intcurve_3d"}, [](const Arm &arm) {
                 zv_curve *a = zv_create_curve(), *b = zv_create_curve();
                 ll_purge_list(a->vertex_list), ll_purge_list(b->vertex_list);
                 a->vertex_list = make_polygon({{0, 0, 0}, {2, 2, 0}, {4, 0, 0}, {6, 2, 0}});
                 b->vertex_list = make_polygon({{0, 2, 0}, {2, 0, 0}, {4, 2, 0}, {6, 0, 0}});
                 ll_list *out = ll_create_list();
                 Outcome o{arm([&] { return zv_intcurve_3d(a, b, out); })};
                 collect(o, out);
                 zv_purge_curve(a), zv_purge_curve(b);
                 return o;
               }});
  // fitting
  w.push_back({"zv_curve_thru_npoints_3d", Refused::Three, {}, [](const Arm &arm) {
                 zv_nurbs_3d *rec = nullptr;
                 Outcome o{arm([&] { return zv_curve_thru_npoints_3d(wave().data(), 6, 3, 0, nullptr, nullptr, 2, &rec); })};
                 const rivezi3z::Nurbs owner(rec);
                 if (rec) {
                   for (int i = 0; i <= rec->last_ctrl * rec->dim; ++i) o.sum += rec->ctrl_pts[i];
                 }
                 return o;
               }});
  return w;
}

}  // namespace zvtest
