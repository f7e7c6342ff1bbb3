// Bad inputs of every curve function: one row per function (or group) and class of bad input -- missing arguments,
// counts and degrees at the int16 extremes, NaN and infinities, degenerate shapes, lists shorter than stated, broken
// records -- each a good call (workloads.hpp) with that input spoilt. Every call of a row must give the row's result,
// n and count written back and vertices appended, and report the row's messages.
#include "workloads.hpp"

namespace {

using namespace zvtest;
using rivezi3z::polygon;

// ---- conics, arcs and cycloids ----------------------------------------------------------------------------------

const zv_pnt_3d C = kCentre, kLow{0, 0, 3}, kHigh{4, 2, 3}, kFlat{4, 0, 3}, kNaNCorner{kNaN, 2, 3};

// 1 when p is (x, y, z) exactly, NaN matching NaN; 1 for a zero vector.
bool same(double a, double b) { return a == b || (a != a && b != b); }
long at(const zv_pnt_3d &p, double x, double y, double z) { return same(p.x, x) && same(p.y, y) && same(p.z, z); }
long zero(const zv_vector_3d &v) { return v.dx == 0.0 && v.dy == 0.0 && v.dz == 0.0; }
// 1 when the circle's point is (x, y, cz); the hyperbola's code, a refusal leaving the point at the origin.
long circle_point(double radius, double t, double x = 0.0, double y = 0.0) {
  zv_pnt_3d p{9, 9, 9};
  return zv_circle_pnt_3d(C, radius, t, &p), at(p, x, y, C.z);
}
long hyperbola_point(double a, double t) {
  zv_pnt_3d p{9, 9, 9};
  const long r = zv_hyperbola_pnt_3d(C, a, 1.0, t, &p);
  EXPECT_TRUE(at(p, 0, 0, 0));
  return r;
}

std::vector<BadInput> conic_rows() {
  static zv_pnt_3d pt, *const p = &pt;  // outputs the rows share
  static zv_vector_3d u, v, *const a = &u, *const b = &v;
  static int16_t number = 8, count = 0, *const n = &number, *const k = &count;
  static zv_arc_2d arc, nan_end;
  zv_set_arc_2d(0, 0, 1, 0, 0.0, 1.0, &arc), zv_set_arc_2d(0, 0, 1, 0, 0.0, kNaN, &nan_end);
  const char *ellipse = "zv_ellipse_pnt_3d", *ellipses = "zv_ellipsepnts_3d", *elliptic = "zv_elliptic_arc_3d";
  const char *hyperbola = "zv_hyperbola_pnt_3d", *hyperbolic = "zv_hyperbolic_arc_3d", *parabola = "zv_parabolapnts_3d";
  const char *branches = "zv_hyperbolapnts_3d", *hyperpola = "zv_hyperpolapnts_3d";  // the name branches reports under
  const char *frames = "zv_ellipse_stats_3d, zv_hyperbola_stats_3d, zv_parabola_stats_3d";
  return {
      {"conics", "a null required pointer", [] {
         return Gots{zv_ellipse_pnt_3d(C, 1, 1, 0.5, nullptr), zv_ellipsepnts_3d(nullptr, p, n, k, nullptr),
                     zv_ellipsepnts_3d(p, nullptr, n, k, nullptr), zv_ellipsepnts_3d(p, p, nullptr, k, nullptr),
                     zv_ellipsepnts_3d(p, p, n, nullptr, nullptr), zv_elliptic_arc_3d(nullptr, p, n, 0, 1, nullptr),
                     zv_elliptic_arc_3d(p, nullptr, n, 0, 1, nullptr), zv_elliptic_arc_3d(p, p, nullptr, 0, 1, nullptr),
                     zv_ellipse_stats_3d(C, 1, 1, C, nullptr, b), zv_cycloidpnts_3d(nullptr, 1, n, nullptr, k),
                     zv_cycloidpnts_3d(p, 1, nullptr, nullptr, k), zv_cycloidpnts_3d(p, 1, n, nullptr, nullptr),
                     zv_hyperbola_pnt_3d(C, 1, 1, 0.5, nullptr), zv_hyperbolic_arc_3d(C, 1, 1, nullptr, 0, 1, nullptr),
                     zv_hyperbolapnts_3d(0, nullptr, p, 1, n, k, nullptr, nullptr),
                     zv_hyperbolapnts_3d(0, p, nullptr, 1, n, k, nullptr, nullptr),
                     zv_hyperbolapnts_3d(0, p, p, 1, nullptr, k, nullptr, nullptr),
                     zv_hyperbolapnts_3d(0, p, p, 1, n, nullptr, nullptr, nullptr),
                     zv_hyperbola_stats_3d(C, 1, 1, 0, C, a, nullptr), zv_parabolapnts_3d(0, p, 1, 1, n, k, nullptr),
                     into(zv_parabolapnts_3d, 0, nullptr, 1, 1, n, k).result,
                     zv_parabola_stats_3d(C, 1, 0, C, nullptr, b)};
       }, 2},
      {"conics", "null outputs or list, n too small, NaN or infinite angle: no crash, nothing appended", [] {
         zv_circle_pnt_3d(C, 1, 0.3, nullptr), zv_circle_stats_3d(C, kHigh, nullptr, b);
         zv_circle_stats_3d(C, kHigh, a, nullptr), zv_parabola_pnt_3d(C, 1, 1, 0, nullptr);
         zv_parabolic_arc_3d(C, 1, 0, 4, 0, 1, nullptr);
         return Gots{zv_circlepnts_3d(C, 1, 6, k, nullptr), into(zv_circlepnts_3d, C, 1, 6, nullptr).result,
                     into(zv_circlepnts_3d, C, 1, 2, k), zv_circle_arc_3d(C, 1, 4, 0, 0.5, nullptr),
                     zv_arcpnts_3d(C, 1, 0, 1, 4, nullptr), into(zv_arcpnts_3d, C, 1, 0, 1, -32768),
                     into(zv_arcpnts_3d, C, 1, kNaN, 1, 4), into(zv_arcpnts_3d, C, 1, 0, kInf, 4),
                     into(zv_arc_pnts_3d, nullptr, 4, 0.0), into(zv_arc_pnts_3d, &arc, 0, 0.0),
                     into(zv_arc_pnts_3d, &nan_end, 4, 0.0), hyperbolic_arc(1.0, 4, 0.0, 0.5, nullptr),
                     into([](ll_list *l) { return zv_parabolic_arc_3d(C, 1, 0, -32768, 0, 1, l), 0; }),
                     zv_ellipse_pnt_3d(C, 1, 1, kInf, p)};
       }, 0},
      {"zv_circle_pnt_3d, zv_parabola_pnt_3d, zv_circle_stats_3d, zv_ellipse_stats_3d",
       "NaN or infinite fraction: a NaN point (was (0, 0, cz)); NaN t: the vertex; the centre: zero vectors", [] {
         const long nan_points = circle_point(1, kNaN, kNaN, kNaN) && circle_point(1, kInf, kNaN, kNaN) &&
                                 circle_point(1, -kInf, kNaN, kNaN);
         zv_parabola_pnt_3d(C, 1, kNaN, 0, p), zv_circle_stats_3d(C, C, a, b);
         const long vertex = at(*p, C.x, C.y, C.z), circle = zero(*a) && zero(*b);
         return Gots{nan_points, vertex, circle, zv_ellipse_stats_3d(C, 1, 1, C, a, b) == 0 && zero(*a) && zero(*b)};
       }, 1},
      {"zv_circle_pnt_3d", "zero or NaN radius off the start",
       [] { return Gots{circle_point(0.0, 0.3), circle_point(kNaN, 0.3)}; }, 1, {{"BADRECT", 75, ellipse}}},
      {"zv_circlepnts_3d", "n = -32768: the count n", [] { return into(circle_polygon, -32768); }, {.count = -32768}},
      {ellipse, "a = 0, b = 1e-7, NaN a", [] {
         return Gots{zv_ellipse_pnt_3d(C, 0, 1, 0.5, p), zv_ellipse_pnt_3d(C, 1, 1e-7, 0.5, p),
                     zv_ellipse_pnt_3d(C, kNaN, 1, 0.5, p)};
       }, 75, {{"BADRECT", 75, ellipse}}},
      {ellipses, "flat rectangle, NaN corner",
       [] { return Gots{into(ellipse_polyline, kLow, kFlat, 8), into(ellipse_polyline, kLow, kNaNCorner, 8)}; },
       {.result = 75, .n = 8, .count = 0}, {{"BADRECT", 75, "zv_ellipsepnts"}}},
      {ellipses, "n = -32768: four segments", [] { return into(ellipse_polyline, kLow, kHigh, -32768); },
       {.n = 4, .count = 5, .appended = 5}},
      {ellipses, "a null list: a private one", [] { return ellipse_polyline(kLow, kHigh, 4, nullptr); },
       {.n = 4, .count = 5}},
      {elliptic, "flat rectangle", [] { return into(elliptic_arc, kLow, zv_pnt_3d{0, 2, 3}, 4, 0.0); },
       {.result = 75, .n = 4}, {{"BADRECT", 75, elliptic}}},
      {elliptic, "n = -1: one step", [] { return into(elliptic_arc, kLow, kHigh, -1, 0.0); }, {.n = 1, .appended = 2}},
      {elliptic, "NaN start", [] { return into(elliptic_arc, kLow, kHigh, 4, kNaN); }, {.n = 4, .appended = 5}},
      {frames, "a = 0",
       [] { return Gots{zv_ellipse_stats_3d(C, 0, 1, C, a, b), zv_hyperbola_stats_3d(C, 0, 1, 0, C, a, b)}; }, 81},
      {frames, "a point off the plane, NaN height; the parabola's a = 0", [] {
         return Gots{zv_ellipse_stats_3d(C, 1, 1, {1, 2, 4}, a, b), zv_ellipse_stats_3d(C, 1, 1, {1, 2, kNaN}, a, b),
                     zv_hyperbola_stats_3d(C, 1, 1, 0, {4, 2, 5}, a, b), zv_parabola_stats_3d(C, 0, 0, C, a, b)};
       }, 82},
      {frames, "the parabola's point off the plane", [] { return zv_parabola_stats_3d(C, 1, 0, {4, 2, 5}, a, b); }, 83},
      {"zv_cycloidpnts_3d", "NaN radius", [] { return into(cycloid, C, kNaN, 4); }, {.count = 5, .appended = 5}},
      {"zv_cycloidpnts_3d", "n = -1: nothing", [] { return into(cycloid, C, 1.0, -1); }, {.count = 0}},
      {hyperbola, "t = 1, -0.9999999, -inf; NaN t refused (was a NaN point)", [] {
         return Gots{hyperbola_point(1, 1), hyperbola_point(1, -0.9999999), hyperbola_point(1, -kInf),
                     hyperbola_point(1, kNaN)};
       }, 80, {{"BADTVALUE", 80, hyperbola}}},
      {hyperbola, "a = 0, NaN a", [] { return Gots{hyperbola_point(0, 0.5), hyperbola_point(kNaN, 0.5)}; }, 75,
       {{"BADRECT", 75, hyperbola}}},
      {hyperbolic, "t1 = 1, t2 = -1; NaN t1 refused (was NaN vertices)", [] {
         return Gots{into(hyperbolic_arc, 1.0, 4, 1.0, 0.5), into(hyperbolic_arc, 1.0, 4, 0.0, -1.0),
                     into(hyperbolic_arc, 1.0, 4, kNaN, 0.5)};
       }, 80, {{"BADTVALUE", 80, hyperbolic}}},
      {hyperbolic, "b = 0", [] { return into(hyperbolic_arc, 0.0, 4, 0.0, 0.5); }, 75, {{"BADRECT", 75, hyperbolic}}},
      {hyperbolic, "n = -32768: 2 steps", [] { return into(hyperbolic_arc, 1.0, -32768, 0.0, 0.5); }, {.appended = 3}},
      {branches, "mode 2", [] { return hyperbola_branches(2, kLow, kHigh, 5); }, {.result = 1, .n = 0},
       {{"BADMODE", 1, hyperpola}}},
      {branches, "zero or NaN length",
       [] { return Gots{hyperbola_branches(0, kLow, kHigh, 0), hyperbola_branches(1, kLow, kHigh, kNaN)}; },
       {.result = 74, .n = 0}, {{"LENGTHZERO", 74, hyperpola}}},
      {branches, "flat rectangle, NaN corner",
       [] { return Gots{hyperbola_branches(0, kLow, kFlat, 5), hyperbola_branches(0, kNaNCorner, kHigh, 5)}; },
       {.result = 75, .n = 0}, {{"BADRECT", 75, hyperpola}}},
      {parabola, "mode 2", [] { return into(parabola_polyline, C, 2, 1.0, 5.0); }, {.result = 1, .n = 0, .count = 0}},
      {parabola, "a = 1e-7, NaN a",
       [] { return Gots{into(parabola_polyline, C, 0, 1e-7, 5.0), into(parabola_polyline, C, 0, kNaN, 5.0)}; },
       {.result = 73, .n = 0, .count = 0}},
      {parabola, "zero or NaN length",
       [] { return Gots{into(parabola_polyline, C, 1, 1.0, 0.0), into(parabola_polyline, C, 1, 1.0, kNaN)}; },
       {.result = 74, .n = 0, .count = 0}},
  };
}

// ---- non-uniform and rational definitions, de Boor evaluation, span tessellation ----------------------------------

// Both de Boor evaluators on a two-point window, one argument null (1 the points, 2 the second point, 3 the knots,
// 4 the result, 5 the weights, which the plain one does not read): the rational one's code. The plain one gives
// the same, and a refusal writes no point.
long deboor(double t, int16_t p, int null_one = 0) {
  zv_poly_3d a{0, 1, 2, 3}, b{1, 4, 5, 6};
  zv_poly_3d *pts[] = {&a, null_one == 2 ? nullptr : &b}, **d = null_one == 1 ? nullptr : pts;
  const double knots[] = {0, 1, 2, 3}, weights[] = {1, 1}, *k = null_one == 3 ? nullptr : knots;
  zv_pnt_3d q{-7, -7, -7}, r{-7, -7, -7};
  const long plain = zv_deboor_3d(t, p, d, k, null_one == 4 ? nullptr : &q);
  const long rat = zv_rat_deboor_3d(t, p, d, null_one == 5 ? nullptr : weights, k, null_one == 4 ? nullptr : &r);
  EXPECT_TRUE(plain == rat || null_one == 5) << plain;
  EXPECT_TRUE((plain == 0 || q.x == -7) && (rat == 0 || r.x == -7)) << "a refusal wrote its point";
  return rat;
}

std::vector<BadInput> spline_rows() {
  const char *nubspl = "zv_def_nubspl_curve3d", *deboors = "zv_deboor_3d, zv_rat_deboor_3d";
  const char *rationals = "zv_mk_def_nurb_curve3d, zv_def_ratbezier_curve3d", *rat = "zv_mk_rat_bezier_3d";
  std::vector<BadInput> rows = {
      {nubspl, "a knot short of n + p - 1, no knot, null lists; both wrong: the knots named", [] {
         return Gots{nub(5, 6, 3), nub(2, 0, 0), made(zv_def_nubspl_curve3d(nullptr, nullptr, 3, 4)), nub(5, 6, 16)};
       }, 0, {{"BADKNOTSEQ", 0, nubspl}}},
      {nubspl, "degree 16, -32768", [] { return Gots{nub(5, 40, 16), nub(3, 1, -32768)}; }, 0, {{"BADDEG", 0, nubspl}}},
      {rationals, "null record", [] {
         return Gots{zv_mk_def_nurb_curve3d(nullptr, nullptr, nullptr, 3, 1, nullptr),
                     zv_def_ratbezier_curve3d(nullptr, nullptr, nullptr, 3, nullptr)};
       }, 4},
      {rationals, "null lists; fewer points than degree + 1, tested before the weights and the degree", [] {
         const Record c(zv_create_curve());
         return Gots{zv_mk_def_nurb_curve3d(nullptr, nullptr, nullptr, 1, 1, c.get()), rational(true, 3, 3, 3),
                     rational(false, 3, 3, 3), rational(false, 4, 2, 16)};
       }, 1},
      {rationals, "fewer weights than points; the rational Bezier's more weights",
       [] { return Gots{rational(true, 4, 3, 3), rational(false, 4, 5, 3)}; }, 2},
      {rationals, "degree 16, 0, -1",
       [] { return Gots{rational(true, 17, 17, 16), rational(true, 2, 2, 0), rational(false, 2, 2, -1)}; }, 3},
      {deboors, "t = -2e-7, NaN, -inf; t tested before the degree",
       [] { return Gots{deboor(-2e-7, 1), deboor(kNaN, 1), deboor(-kInf, 1), deboor(-2e-7, 30)}; }, 2},
      {deboors, "degree -1, 30, 32767; null points, a null point entry, null knots, result or weights", [] {
         return Gots{deboor(0.5, -1), deboor(0.5, 30), deboor(0.5, 32767), deboor(0.5, 1, 1), deboor(0.5, 1, 2),
                     deboor(0.5, 1, 3), deboor(0.5, 1, 4), deboor(0.5, 1, 5)};
       }, 3},
      {"zv_mk_nurb_curve3d", "spans beyond n - p", [] { return span(true, {}, 0, 0, 3); }, 2},
      {"zv_mk_nurb_curve3d", "accepted: spans -32768 sample nothing", [] { return span(true, {}, 0, 0, -32768); }, 0},
      {"zv_mk_nurb_curve3d", "accepted: no weight list (weights 1); zero weights, no trap", [] {
         return Gots{span(true, [](zv_curve *c) { c->weight_list = nullptr; }), span(true, with_weights({0, 0, 0, 0}))};
       }, {.appended = 6}},
      {rat, "null record, control list or every list (degree 16); three points for degree 3", [] {
         return Gots{zv_mk_rat_bezier_3d(nullptr, 2), rat_bezier(0, [](zv_curve *c) { c->ctrl_list = nullptr; }),
                     rat_bezier(16, [](zv_curve *c) { c->ctrl_list = c->knot_list = c->weight_list = nullptr; }),
                     rat_bezier(3)};
       }, 1},
      {rat, "null knot list, with or without weights", [] {
         return Gots{rat_bezier(0, [](zv_curve *c) { c->knot_list = nullptr; }),
                     rat_bezier(0, [](zv_curve *c) { c->knot_list = c->weight_list = nullptr; })};
       }, 2},
      {rat, "null weights", [] { return rat_bezier(0, [](zv_curve *c) { c->weight_list = nullptr; }); }, 3},
      {rat, "degree 16, or none given or held", [] { return Gots{rat_bezier(16), rat_bezier(0, degree(0))}; }, 4},
      {rat, "no parameter", [] { return rat_bezier(0, with_knots({})); }, 5},
      {rat, "accepted: degree -32768 (the record's); zero weights, no trap",
       [] { return Gots{rat_bezier(-32768), rat_bezier(0, with_weights({0, 0, 0}))}; }, {.appended = 3}},
  };
  // The two span tessellators share their checks and codes.
  for (bool nurb : {false, true}) {
    const char *f = nurb ? "zv_mk_nurb_curve3d" : "zv_mk_nubspline_3d";
    const int16_t other = nurb ? ZV_CURVE_NUBSPLINE : ZV_CURVE_NURB;
    rows.insert(rows.end(), {
        {f, "null record, vertex or stats list", [nurb] {
           return Gots{nurb ? zv_mk_nurb_curve3d(nullptr, 0, 0, 1, 0) : zv_mk_nubspline_3d(nullptr, 0, 0),
                       span(nurb, [](zv_curve *c) { c->vertex_list = nullptr; }),
                       span(nurb, [](zv_curve *c) { c->stats_list = nullptr; })};
         }, 1},
        {f, "degree 0 (before the kind), 16, -32768; five points for degree 5; three in the sub-range; no control list",
         [nurb] {
           return Gots{span(nurb, [](zv_curve *c) { c->degree = 0, c->type = 86; }), span(nurb, degree(16)),
                       span(nurb, degree(-32768)), span(nurb, degree(5), 0, 0, 0), span(nurb, {}, 2, 4, 1),
                       span(nurb, [](zv_curve *c) { c->ctrl_list = nullptr; })};
         }, 2},
        {f, "the other kind", [=] { return span(nurb, [other](zv_curve *c) { c->type = other; }); }, 3},
        {f, "no knot list (a knot short: span_tessellation_test)",
         [nurb] { return span(nurb, [](zv_curve *c) { c->knot_list = nullptr; }); }, 4},
        {f, "span steps 0, knots below -1e-7",
         [nurb] { return Gots{span(nurb, steps(0)), span(nurb, with_knots({-3, -2, -2, -2, -1, -1, -1}))}; }, 5},
        {f, "accepted: span steps -1, NaN knots: nothing",
         [nurb] { return Gots{span(nurb, steps(-1)), span(nurb, with_knots(std::vector(7, kNaN)))}; }, 0},
        {f, "accepted: a sub-range past the list clipped; knots from -1e-7", [nurb] {
           return Gots{span(nurb, {}, 1, 32767, 2), span(nurb, with_knots({-1e-7, -1e-7, -1e-7, 0.5, 1, 1, 1}))};
         }, {.appended = 6}},
    });
  }
  return rows;
}

// ---- direct polylines -------------------------------------------------------------------------------------------

// The array form into an array the call must leave alone: 1 when it refused and left it so.
long bezier_array(const zv_pnt_3d *pts, int16_t m, int16_t n, bool null_out = false) {
  zv_pnt_3d o[4] = {{-99, 0, 0}, {-99, 0, 0}, {-99, 0, 0}, {-99, 0, 0}};
  return zv_beziercurve3d(pts, m, n, null_out ? nullptr : o) == 0 && o[0].x == -99;
}

std::vector<BadInput> polyline_rows() {
  static const auto pts = points(4);
  const char *beziers = "zv_bezier_curve_3d", *cubics = "zv_bspline_3d", *quadratics = "zv_quad_bspline_3d";
  const char *catroms = "zv_catrom_curve_3d";
  return {
      {"zv_bez_factorial3", "n = -32768: 1; n = 32767: +inf at once",
       [] { return Gots{zv_bez_factorial3(-32768) == 1.0, std::isinf(zv_bez_factorial3(32767))}; }, 1},
      {"zv_beziercurve3d", "n = 0, -32768; m = -32768; null points or out", [] {
         return Gots{bezier_array(pts.data(), 4, 0), bezier_array(pts.data(), 4, -32768),
                     bezier_array(pts.data(), -32768, 4), bezier_array(nullptr, 4, 4),
                     bezier_array(pts.data(), 4, 4, true)};
       }, 1},
      {beziers, "null polygon; null list (private, or two points copied); m or n = -32768; no points", [] {
         return Gots{bezier(-1, 7, 10, false), bezier(7, 7, 10, false), bezier(7, 2, 10, false), bezier(7, -32768, 5),
                     bezier(7, 7, -32768), bezier(0, 7, 5)};
       }, 0},
      {beziers, "m = 32767", [] { return bezier(7, 32767, 5); }, {.appended = 5}},
      {cubics, "null control list: the count left", [] { return cubic(6, -1, 8); }, {.result = 1, .count = 8}},
      {"zv_bspline_3d, zv_catrom_curve_3d", "null count", [] {
         return Gots{zv_bspline_3d(6, polygon(points(6)).get(), nullptr, nullptr),
                     zv_catrom_curve_3d(5, polygon(points(5)).get(), 4, 0.5, nullptr, nullptr)};
       }, 1},
      {cubics, "n = 3, 2, -32768; request -32768: nothing (appended four)",
       [] { return Gots{cubic(3, 4, 10), cubic(2, 4, 10), cubic(-32768, 4, 10), cubic(6, 6, -32768)}; }, {.count = 0}},
      {cubics, "a list shorter than n, n = 32767", [] { return Gots{cubic(6, 5, 10), cubic(32767, 5, 10)}; },
       {.result = 1, .count = 0}},
      {quadratics, "null control list", [] { return quadratic(4, -1, 4); }, {.count = 0}},
      {quadratics, "null count", [] { return zv_quad_bspline_3d(4, polygon(points(4)).get(), 4, nullptr, nullptr); },
       0},
      {quadratics, "mode -32768: step 0.05", [] { return quadratic(3, 3, -32768); }, {.count = 21, .appended = 21}},
      {quadratics, "n = 1, 0, -32768; a list shorter than n; n = 2 over one point", [] {
         return Gots{quadratic(1, 4, 4), quadratic(0, 4, 4), quadratic(-32768, 4, 4), quadratic(5, 4, 4),
                     quadratic(2, 1, 4)};
       }, {.result = 33, .count = 0}},
      {catroms, "null control list with n = 4 or 2", [] { return Gots{catrom(4, -1, false), catrom(2, -1, false)}; },
       {.result = 1, .count = 0}},
      {catroms, "null list, two points: a private one", [] { return catrom(2, 2, false); }, {.count = 2}},
      {catroms, "n = 3, 1, -32768; a list shorter than n; n = 2 over one point",
       [] { return Gots{catrom(3, 6), catrom(1, 6), catrom(-32768, 6), catrom(7, 6), catrom(2, 1)}; },
       {.result = 33, .count = 0}, {{"BADCNT", 33, catroms}}},
  };
}

// ---- the curve through n points: a code and no record, without a message ----------------------------------------

const std::vector<zv_pnt_3d> kFive = {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}, {4, 0, 0}};
const std::vector<double> kParams = {0, 0.25, 0.5, 0.75, 1}, kKnots = {0, 0, 0, 0, 0.5, 1, 1, 1, 1};

// The fit through kFive at given parameters, the fifth knot set to knot.
long given(std::vector<double> params, double knot = 0.5) {
  std::vector<double> knots = kKnots;
  return knots[4] = knot, fit(kFive, 3, 5, 1, params.data(), knots.data());
}

std::vector<BadInput> fit_rows() {
  const char *f = "zv_curve_thru_npoints_3d";
  return {
      {f, "degree 0, -32768, 8; n < p + 1, -5, past int16 with p; mode -1, 3; null points or result", [] {
         zv_nurbs_3d *rec = nullptr;
         return Gots{fit(kFive, 0), fit(kFive, -32768), fit(kFive, 8, 20), fit(kFive, 3, 3), fit(kFive, 1, -5),
                     fit(kFive, 3, 32767), fit(kFive, 3, -1, -1), fit(kFive, 3, -1, 3),
                     zv_curve_thru_npoints_3d(nullptr, 5, 3, 0, nullptr, nullptr, 1, &rec),
                     zv_curve_thru_npoints_3d(kFive.data(), 5, 3, 0, nullptr, nullptr, 1, nullptr)};
       }, 1},
      {f, "given: null params or knots; falling, NaN or infinite knots; falling params (were solved as if ordered)",
       [] {
         return Gots{fit(kFive, 3, 5, 1, nullptr, kKnots.data()), fit(kFive, 3, 5, 1, kParams.data(), nullptr),
                     given(kParams, 1.5), given(kParams, kNaN), given(kParams, kInf), given({0, 0.5, 0.25, 0.75, 1})};
       }, 1},
      {f, "all points equal; length 6e-8; NaN or infinite coordinate; z alone in the plane mode; a repeated point; "
          "given params crowding a basis function out", [] {
         return Gots{fit(std::vector<zv_pnt_3d>(6, {1, 2, 3}), 3),
                     fit({{0, 0, 0}, {2e-8, 0, 0}, {4e-8, 0, 0}, {6e-8, 0, 0}}, 1),
                     fit({{0, 0, 0}, {1, kNaN, 0}, {2, 0, 0}, {3, 0, 0}}, 3),
                     fit({{0, 0, 0}, {1, 1, 0}, {kInf, 0, 0}, {3, 0, 0}}, 1),
                     fit({{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}}, 3, -1, 0),
                     fit({{0, 0, 0}, {1, 1, 0}, {1, 1, 0}, {3, 0, 0}, {4, 1, 0}}, 3), given({0, 0.1, 0.2, 0.3, 0.4})};
       }, 2},
  };
}

class BadInputs : public KernelTest {};

TEST_F(BadInputs, EveryFunctionGivesItsCodeStateAndMessages) {
  for (const auto &rows : {conic_rows(), spline_rows(), polyline_rows(), fit_rows()}) check_bad_inputs(reports, rows);
}

}  // namespace
