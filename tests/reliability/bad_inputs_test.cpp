// Bad inputs of every curve function: one row per function (or group of
// functions) and class of bad input -- missing arguments, counts and degrees
// at the int16 extremes, NaN and infinities, degenerate shapes, lists shorter
// than stated, broken records -- each a good call with that input spoilt, with
// the result, the state it leaves and the exact messages it must give. A row
// of several calls expects each of them to give its result (common).
#include <rivezi3z/rivezi3z.hpp>

#include "bad_inputs.hpp"
#include "spline_records.hpp"

namespace {

using zvtest::BadInput, zvtest::common, zvtest::kInf, zvtest::kNaN, zvtest::made, zvtest::Message;
using Messages = std::vector<Message>;

Messages repeated(const char *code, int number, const char *f, size_t times = 1) {
  return Messages(times, {code, number, f});
}
// The sum of values computed in order (a braced list is evaluated left to right).
long total(std::initializer_list<long> values) {
  long s = 0;
  for (long v : values) s += v;
  return s;
}

// f(args..., list) into a fresh list: its result, or 1000 + the vertex count
// when it appended anything (into); its result whatever it appended (kept).
template <class F, class... A>
long fresh(bool counted, F f, A... args) {
  ll_list *list = ll_create_list();
  const long r = f(args..., list), n = ll_list_length(list);
  ll_purge_list(list);
  return counted && n ? 1000 + n : r;
}
template <class F, class... A> long into(F f, A... args) { return fresh(true, f, args...); }
template <class F, class... A> long kept(F f, A... args) { return fresh(false, f, args...); }

// ---- conics, arcs and cycloids ----------------------------------------------------------------------------------

const zv_pnt_3d C{1.0, 2.0, 3.0}, kLow{0.0, 0.0, 3.0}, kHigh{4.0, 2.0, 3.0}, kFlat{4.0, 0.0, 3.0};
struct {  // outputs the rows share
  zv_pnt_3d p;
  zv_vector_3d a, b;
  int16_t n = 8, count = 0;
} out;

// 1 when p is (x, y, z) exactly, NaN matching NaN; 1 for a zero vector.
bool same(double a, double b) { return a == b || (a != a && b != b); }
long at(const zv_pnt_3d &p, double x, double y, double z) { return same(p.x, x) && same(p.y, y) && same(p.z, z); }
long zero(const zv_vector_3d &v) { return v.dx == 0.0 && v.dy == 0.0 && v.dz == 0.0; }

// 1 when the circle's point is (x, y, cz).
long circle_point(double radius, double t, double x = 0.0, double y = 0.0) {
  zv_pnt_3d p{9, 9, 9};
  zv_circle_pnt_3d(C, radius, t, &p);
  return at(p, x, y, C.z);
}
long ellipse_point(double a, double b, double angle) { return zv_ellipse_pnt_3d(C, a, b, angle, &out.p); }
long ellipse_frame(double a, zv_pnt_3d pt) { return zv_ellipse_stats_3d(C, a, 1.0, pt, &out.a, &out.b); }
// The result * 10, plus 1 when the point is (0, 0, 0).
long hyperbola_point(double a, double t) {
  zv_pnt_3d p{9, 9, 9};
  return zv_hyperbola_pnt_3d(C, a, 1.0, t, &p) * 10 + at(p, 0, 0, 0);
}
long hyperbolic_arc(double b, int16_t n, double t1, double t2, ll_list *list) {
  return zv_hyperbolic_arc_3d(C, 2.0, b, &n, t1, t2, list);
}

// The result * 100 and count; 10000 more when a degenerate rectangle changed n.
long ellipse_polyline(zv_pnt_3d p1, zv_pnt_3d p2, int16_t n, ll_list *list) {
  const int16_t given = n;
  int16_t count = -1;
  const long r = zv_ellipsepnts_3d(&p1, &p2, &n, &count, list);
  return r * 100 + count + (r == 75 && n != given ? 10000 : 0);
}
// The result * 100 and the n written back.
long elliptic_arc(zv_pnt_3d p1, zv_pnt_3d p2, int16_t n, double start, ll_list *list) {
  const long r = zv_elliptic_arc_3d(&p1, &p2, &n, start, 1.0, list);
  return r * 100 + n;
}
long cycloid(double r, int16_t n, ll_list *list) {
  zv_pnt_3d start = C;
  int16_t count = -1;
  return total({zv_cycloidpnts_3d(&start, r, &n, list, &count) * 100, count});
}
// Nothing appended to either branch: result * 100 + n, 50 more when the
// count (written on success only) was.
long hyperbola_branches(uint8_t mode, zv_pnt_3d c1, zv_pnt_3d c2, double length) {
  int16_t n = 8, count = -1;
  ll_list *a = ll_create_list(), *b = ll_create_list();
  const long r = zv_hyperbolapnts_3d(mode, &c1, &c2, length, &n, &count, a, b);
  const long appended = ll_list_length(a) + ll_list_length(b);
  ll_purge_list(a), ll_purge_list(b);
  return appended ? 1000 + appended : r * 100 + n + (count != -1 ? 50 : 0);
}
long parabola_polyline(uint8_t mode, double a, double length) {
  zv_pnt_3d v = C;
  int16_t n = 8, count = -1;
  return into([&](ll_list *l) {
    return total({zv_parabolapnts_3d(mode, &v, a, length, &n, &count, l) * 100, n, count});
  });
}
void parabolic_arc(int16_t n, ll_list *list) { zv_parabolic_arc_3d(C, 1, 0, n, 0, 1, list); }

std::vector<BadInput> conic_rows() {
  zv_pnt_3d *p = &out.p;
  zv_vector_3d *a = &out.a, *b = &out.b;
  int16_t *n = &out.n, *k = &out.count;
  const char *hyperbolapnts = "zv_hyperpolapnts_3d";  // the name that function reports under
  zv_arc_2d arc, nan_end;
  zv_set_arc_2d(0, 0, 1, 0, 0.0, 1.0, &arc), zv_set_arc_2d(0, 0, 1, 0, 0.0, kNaN, &nan_end);
  return {
      {"conics", "a null required pointer", [=] {
         return common({zv_ellipse_pnt_3d(C, 1, 1, 0.5, nullptr), zv_ellipsepnts_3d(nullptr, p, n, k, nullptr),
                        zv_ellipsepnts_3d(p, nullptr, n, k, nullptr), zv_ellipsepnts_3d(p, p, nullptr, k, nullptr),
                        zv_ellipsepnts_3d(p, p, n, nullptr, nullptr), zv_elliptic_arc_3d(nullptr, p, n, 0, 1, nullptr),
                        zv_elliptic_arc_3d(p, nullptr, n, 0, 1, nullptr), 
                        zv_elliptic_arc_3d(p, p, nullptr, 0, 1, nullptr),
                        zv_ellipse_stats_3d(C, 1, 1, C, nullptr, b), zv_cycloidpnts_3d(nullptr, 1, n, nullptr, k),
                        zv_cycloidpnts_3d(p, 1, nullptr, nullptr, k), zv_cycloidpnts_3d(p, 1, n, nullptr, nullptr),
                        zv_hyperbola_pnt_3d(C, 1, 1, 0.5, nullptr),
                        zv_hyperbolic_arc_3d(C, 1, 1, nullptr, 0, 0.5, nullptr),
                        zv_hyperbolapnts_3d(0, nullptr, p, 1, n, k, nullptr, nullptr),
                        zv_hyperbolapnts_3d(0, p, nullptr, 1, n, k, nullptr, nullptr),
                        zv_hyperbolapnts_3d(0, p, p, 1, nullptr, k, nullptr, nullptr),
                        zv_hyperbolapnts_3d(0, p, p, 1, n, nullptr, nullptr, nullptr), 
                        zv_hyperbola_stats_3d(C, 1, 1, 0, C, a, nullptr),
                        zv_parabolapnts_3d(0, p, 1, 1, n, k, nullptr), kept(zv_parabolapnts_3d, 0, nullptr, 1, 1, n, k),
                        zv_parabola_stats_3d(C, 1, 0, C, nullptr, b)});
       }, 2},
      {"conics", "null outputs of the void functions", [=] {
         zv_circle_pnt_3d(C, 1, 0.3, nullptr), zv_circle_stats_3d(C, kHigh, nullptr, b), 
         zv_circle_stats_3d(C, kHigh, a, nullptr);
         zv_parabola_pnt_3d(C, 1, 1, 0, nullptr), zv_parabolic_arc_3d(C, 1, 0, 4, 0, 1, nullptr);
         return 0L;
       }, 0},
      {"conics", "null list, n too small, NaN or infinite angle: nothing appended", [=] {
         return common({zv_circlepnts_3d(C, 1, 6, k, nullptr), kept(zv_circlepnts_3d, C, 1, 6, nullptr),
                        into(zv_circlepnts_3d, C, 1, 2, k),
                        zv_circle_arc_3d(C, 1, 4, 0, 0.5, nullptr), into(zv_circle_arc_3d, C, 1, 0, 0, 0.5),
                        into(zv_circle_arc_3d, C, 1, 4, kNaN, 0.5), zv_arcpnts_3d(C, 1, 0, 1, 4, nullptr),
                        into(zv_arcpnts_3d, C, 1, 0, 1, -32768), into(zv_arcpnts_3d, C, 1, kNaN, 1, 4),
                        into(zv_arcpnts_3d, C, 1, 0, kInf, 4),
                        into(zv_arc_pnts_3d, nullptr, 4, 0.0), into(zv_arc_pnts_3d, &arc, 0, 0.0), 
                        into(zv_arc_pnts_3d, &nan_end, 4, 0.0),
                        into(cycloid, 1.0, -1), into([](ll_list *l) { return parabolic_arc(-32768, l), 0L; }),
                        hyperbolic_arc(1.0, 4, 0.0, 0.5, nullptr), ellipse_point(1, 1, kInf)});
       }, 0},
      {"zv_circle_pnt_3d", "NaN or infinite fraction: NaN point (was (0, 0, cz))", [] {
         return circle_point(1, kNaN, kNaN, kNaN) + circle_point(1, kInf, kNaN, kNaN) + 
                circle_point(1, -kInf, kNaN, kNaN);
       }, 3},
      {"zv_circle_pnt_3d", "zero or NaN radius off the start",
       [] { return circle_point(0.0, 0.3) + circle_point(kNaN, 0.3); }, 2,
       repeated("BADRECT", 75, "zv_ellipse_pnt_3d", 2)},
      {"zv_circlepnts_3d", "n = -32768", [=] {
         return into([=](ll_list *l) { return total({zv_circlepnts_3d(C, 1, -32768, k, l), *k}); });
       }, -32768},
      {"zv_circle_stats_3d, zv_ellipse_stats_3d", "the centre: zero vectors", [=] {
         return total({(zv_circle_stats_3d(C, C, a, b), 0L), zero(*a), zero(*b), zv_ellipse_stats_3d(C, 1, 1, C, a, b),
                       zero(*a), zero(*b)});
       }, 4},
      {"zv_ellipse_pnt_3d", "a = 0, b = 1e-7, NaN a", [] {
         return common({ellipse_point(0.0, 1.0, 0.5), ellipse_point(1.0, 1e-7, 0.5), ellipse_point(kNaN, 1.0, 0.5)});
       }, 75, repeated("BADRECT", 75, "zv_ellipse_pnt_3d", 3)},
      {"zv_ellipsepnts_3d", "flat rectangle, NaN corner", [] {
         return common({into(ellipse_polyline, kLow, kFlat, 8),
                        into(ellipse_polyline, kLow, zv_pnt_3d{kNaN, 2, 3}, 8)});
       }, 7500, repeated("BADRECT", 75, "zv_ellipsepnts", 2)},
      {"zv_ellipsepnts_3d", "n = -32768: four segments; a null list: a private one", [] {
         return common({kept(ellipse_polyline, kLow, kHigh, -32768), ellipse_polyline(kLow, kHigh, 4, nullptr)});
       }, 5},
      {"zv_elliptic_arc_3d", "flat rectangle", [] { return into(elliptic_arc, kLow, zv_pnt_3d{0, 2, 3}, 4, 0.0); },
       7504, repeated("BADRECT", 75, "zv_elliptic_arc_3d")},
      {"zv_elliptic_arc_3d", "n = -1: one segment; NaN start", [] {
         return total({kept(elliptic_arc, kLow, kHigh, -1, 0.0), 10 * kept(elliptic_arc, kLow, kHigh, 4, kNaN)});
       }, 41},
      {"zv_ellipse_stats_3d", "a = 0; a point off the plane, NaN height", [] {
         return total({ellipse_frame(0.0, C) * 1000, ellipse_frame(1.0, {1, 2, 4}), ellipse_frame(1.0, {1, 2, kNaN})});
       }, 81164},
      {"zv_cycloidpnts_3d", "NaN radius", [] { return kept(cycloid, kNaN, 4); }, 5},
      {"zv_hyperbola_pnt_3d", "t = 1, -0.9999999, -inf; NaN t refused (was a NaN point)", [] {
         return common({hyperbola_point(1.0, 1.0), hyperbola_point(1.0, -0.9999999), hyperbola_point(1.0, -kInf),
                        hyperbola_point(1.0, kNaN)});
       }, 801, repeated("BADTVALUE", 80, "zv_hyperbola_pnt_3d", 4)},
      {"zv_hyperbola_pnt_3d", "a = 0, NaN a",
       [] { return common({hyperbola_point(0.0, 0.5), hyperbola_point(kNaN, 0.5)}); }, 751,
       repeated("BADRECT", 75, "zv_hyperbola_pnt_3d", 2)},
      {"zv_hyperbolic_arc_3d", "t1 = 1, t2 = -1; NaN t1 refused (was NaN vertices)", [] {
         return common({into(hyperbolic_arc, 1.0, 4, 1.0, 0.5), into(hyperbolic_arc, 1.0, 4, 0.0, -1.0),
                        into(hyperbolic_arc, 1.0, 4, kNaN, 0.5)});
       }, 80, repeated("BADTVALUE", 80, "zv_hyperbolic_arc_3d", 3)},
      {"zv_hyperbolic_arc_3d", "b = 0; n = -32768: two steps", [] {
         return total({into(hyperbolic_arc, 0.0, 4, 0.0, 0.5) * 10,
                       kept([](ll_list *l) {
                         return total({hyperbolic_arc(1.0, -32768, 0.0, 0.5, l), ll_list_length(l)});
                       })});
       }, 753, repeated("BADRECT", 75, "zv_hyperbolic_arc_3d")},
      {"zv_hyperbolapnts_3d", "mode 2", [] { return hyperbola_branches(2, kLow, kHigh, 5.0); }, 100,
       repeated("BADMODE", 1, hyperbolapnts)},
      {"zv_hyperbolapnts_3d", "zero or NaN length", [] {
         return common({hyperbola_branches(0, kLow, kHigh, 0.0), hyperbola_branches(1, kLow, kHigh, kNaN)});
       }, 7400, repeated("LENGTHZERO", 74, hyperbolapnts, 2)},
      {"zv_hyperbolapnts_3d", "flat rectangle, NaN corner", [] {
         return common({hyperbola_branches(0, kLow, kFlat, 5.0), hyperbola_branches(0, {kNaN, 0, 0}, kHigh, 5.0)});
       }, 7500, repeated("BADRECT", 75, hyperbolapnts, 2)},
      {"zv_hyperbola_stats_3d, zv_parabola_stats_3d", "a = 0; a point off the plane", [=] {
         return total({zv_hyperbola_stats_3d(C, 0, 1, 0, C, a, b) * 1000, 
                       zv_hyperbola_stats_3d(C, 1, 1, 0, {4, 2, 5}, a, b),
                       zv_parabola_stats_3d(C, 0, 0, C, a, b) * 1000, zv_parabola_stats_3d(C, 1, 0, {4, 2, 5}, a, b)});
       }, 163165},
      {"zv_parabola_pnt_3d", "NaN t: the vertex", [=] {
         zv_parabola_pnt_3d(C, 1, kNaN, 0, p);
         return at(*p, C.x, C.y, C.z);
       }, 1},
      {"zv_parabolapnts_3d", "mode 2; a = 1e-7, NaN a; zero or NaN length", [] {
         return total({parabola_polyline(2, 1.0, 5.0), parabola_polyline(0, 1e-7, 5.0), parabola_polyline(0, kNaN, 5.0),
                       parabola_polyline(1, 1.0, 0.0), parabola_polyline(1, 1.0, kNaN)});
       }, 100 + 2 * 7300 + 2 * 7400},
  };
}

// ---- non-uniform and rational definitions, de Boor evaluation, span tessellation ----------------------------------

// A non-uniform definition from n points and k knots: 1 for a record, plus
// 10 when a refusal did not leave the caller's lists whole.
long nub(int n, int k, int16_t degree) {
  ll_list *ctrl = zvtest::make_polygon(zvtest::points(n)), *knots = zvtest::make_reals(zvtest::rising(k));
  zv_curve *curve = zv_def_nubspl_curve3d(ctrl, knots, degree, 4);
  const long whole = ll_list_length(ctrl) == n && ll_list_length(knots) == k;
  ll_purge_list(ctrl), ll_purge_list(knots);
  return made(curve) + (!curve && !whole ? 10 : 0);
}

// A rational definition of a fresh record from n points and w weights; 99
// when a refusal changed anything but the type, or left the type unset.
long rational(bool nurb, int n, int w, int16_t degree) {
  zv_curve *curve = zv_create_curve();
  ll_list *ctrl = zvtest::make_polygon(zvtest::points(n)), *knots = zvtest::make_reals(zvtest::rising(n + degree + 1)),
          *weights = zvtest::make_reals(std::vector<double>(w, 1.0)), *before = curve->ctrl_list;
  long r = nurb ? zv_mk_def_nurb_curve3d(ctrl, knots, weights, degree, 0, curve)
                : zv_def_ratbezier_curve3d(ctrl, knots, weights, degree, curve);
  const bool kept_all = curve->degree == 0 && zvtest::value(curve->ctrl_list) == before;
  if (curve->type != (nurb ? ZV_CURVE_NURB : ZV_CURVE_RATBEZIER) || (r != 0 && !kept_all))
    r = 99;
  if (r == 0) curve->ctrl_list = curve->knot_list = curve->weight_list = nullptr;
  zv_purge_curve(curve);
  ll_purge_list(ctrl), ll_purge_list(knots), ll_purge_list(weights);
  return r;
}

// Both de Boor evaluators on a two-point window: the common result, or 99
// when they differ or a refusal wrote the result.
long deboor(double t, int16_t p, bool null_points = false, bool null_knots = false, bool null_result = false) {
  zv_poly_3d a{0, 1, 2, 3}, b{1, 4, 5, 6};
  zv_poly_3d *pts[] = {&a, &b}, **d = null_points ? nullptr : pts;
  const double knots[] = {0, 1, 2, 3}, weights[] = {1, 1}, *k = null_knots ? nullptr : knots;
  zv_pnt_3d q{-7, -7, -7}, r{-7, -7, -7};
  const long plain = zv_deboor_3d(t, p, d, k, null_result ? nullptr : &q);
  const long rat = zv_rat_deboor_3d(t, p, d, weights, k, null_result ? nullptr : &r);
  return plain != rat || (plain != 0 && (q.x != -7 || r.x != -7)) ? 99 : plain;
}

// A span tessellator on a cubic record of five points after change(curve):
// its result, plus 1000 when it appended anything.
using Change = std::function<void(zv_curve *)>;
long span(bool nurb, Change change, int16_t first = 0, int16_t last = 0, int16_t spans = 2) {
  const zvtest::Spline s = zvtest::random_spline(5, 3, 1);
  zv_curve *curve = nurb ? zvtest::make_nurb(s, 2) : zvtest::make_nub(s, 2);
  ll_list *vertices = curve->vertex_list, *stats = curve->stats_list;
  if (change) change(curve);
  const long r = nurb ? zv_mk_nurb_curve3d(curve, first, last, spans, 0) : zv_mk_nubspline_3d(curve, first, last);
  const bool appended = ll_list_length(vertices) > 0;
  curve->vertex_list = vertices, curve->stats_list = stats;
  zv_purge_curve(curve);
  return r + (appended ? 1000 : 0);
}
// Changes that replace a record's knots, or weights, by values, or drop its last knot.
Change with_knots(std::vector<double> v) {
  return [v](zv_curve *c) { ll_purge_list(c->knot_list), c->knot_list = zvtest::make_reals(v); };
}
Change with_weights(std::vector<double> v) {
  return [v](zv_curve *c) { ll_purge_list(c->weight_list), c->weight_list = zvtest::make_reals(v); };
}
void drop_last_knot(zv_curve *c) {
  std::vector<double> k = zvtest::reals(c->knot_list);
  k.pop_back();
  with_knots(k)(c);
}

// Changes that set a record's degree or span steps, or empty list slots
// (purged: releasing the list first).
enum Slot { kCtrlList = 1, kKnotList = 2, kWeightList = 4, kVertexList = 8, kStatsList = 16 };
Change no(int slots, bool purge = false) {
  return [slots, purge](zv_curve *c) {
    const auto clear = [purge](ll_list *list) { return purge ? ll_purge_list(list), nullptr : nullptr; };
    if (slots & kCtrlList) c->ctrl_list = clear(c->ctrl_list);
    if (slots & kKnotList) c->knot_list = clear(c->knot_list);
    if (slots & kWeightList) c->weight_list = clear(c->weight_list);
    if (slots & kVertexList) c->vertex_list = clear(c->vertex_list);
    if (slots & kStatsList) c->stats_list = clear(c->stats_list);
  };
}
Change purged(int slots) { return no(slots, true); }
Change degree(int16_t d) { return [d](zv_curve *c) { c->degree = d; }; }
Change steps(int16_t n) { return [n](zv_curve *c) { c->span_steps = n; }; }

// The rational Bezier tessellator on a quadratic record after change(curve);
// the record's own lists are put back before it is released.
long rat_bezier(int16_t degree, Change change = {}) {
  zv_curve *curve = zv_create_curve();
  zv_def_ratbezier_curve3d(zvtest::make_polygon(zvtest::points(3)), zvtest::make_reals({0, 0.5, 1}),
                           zvtest::make_reals({1, 1, 1}), 2, curve);
  ll_list *slots[] = {curve->ctrl_list, curve->knot_list, curve->weight_list};
  if (change) change(curve);
  const long r = zv_mk_rat_bezier_3d(curve, degree) + (ll_list_length(curve->vertex_list) ? 1000 : 0);
  curve->ctrl_list = slots[0], curve->knot_list = slots[1], curve->weight_list = slots[2];
  zv_purge_curve(curve);
  return r;
}
// The same with the record's knot (or weight) list replaced by list, released after.
long rat_bezier_with(bool knot_list, ll_list *list) {
  const long r = rat_bezier(0, [=](zv_curve *c) { if (knot_list) c->knot_list = list; else c->weight_list = list; });
  ll_purge_list(list);
  return r;
}

std::vector<BadInput> spline_rows() {
  const char *nubspl = "zv_def_nubspl_curve3d", *deboors = "zv_deboor_3d / zv_rat_deboor_3d";
  std::vector<BadInput> rows = {
      {nubspl, "a knot short of n + p - 1, no knot, null lists; both wrong: the knots named", [] {
         return common({nub(5, 6, 3), nub(2, 0, 0), made(zv_def_nubspl_curve3d(nullptr, nullptr, 3, 4)),
                        nub(5, 6, 16)});
       }, 0, repeated("BADKNOTSEQ", 0, nubspl, 4)},
      {nubspl, "degree 16, -32768", [] { return common({nub(5, 40, 16), nub(3, 1, -32768)}); }, 0,
       repeated("BADDEG", 0, nubspl, 2)},
      {"zv_mk_def_nurb_curve3d, zv_def_ratbezier_curve3d", "null record", [] {
         return common({zv_mk_def_nurb_curve3d(nullptr, nullptr, nullptr, 3, 1, nullptr),
                        zv_def_ratbezier_curve3d(nullptr, nullptr, nullptr, 3, nullptr)});
       }, 4},
      {"zv_mk_def_nurb_curve3d", "null lists, fewer points than degree + 1; fewer weights than points; degree 16, 0",
       [] {
         zv_curve *c = zv_create_curve();
         const long r = zv_mk_def_nurb_curve3d(nullptr, nullptr, nullptr, 1, 1, c);
         zv_purge_curve(c);
         return total({common({r, rational(true, 3, 3, 3)}) * 100, rational(true, 4, 3, 3) * 10,
                       common({rational(true, 17, 17, 16), rational(true, 2, 2, 0)})});
       }, 123},
      {"zv_def_ratbezier_curve3d",
       "fewer points than degree + 1 (tested before the degree); more weights than points; degree -1", [] {
         return total({common({rational(false, 3, 3, 3), rational(false, 4, 2, 16)}) * 100,
                       rational(false, 4, 5, 3) * 10, rational(false, 2, 2, -1)});
       }, 123},
      {deboors, "t = -2e-7, NaN, -inf; t tested before the degree", [] {
         return common({deboor(-2e-7, 1), deboor(kNaN, 1), deboor(-kInf, 1), deboor(-2e-7, 30)});
       }, 2},
      {deboors, "degree -1, 30, 32767; null points, knots or result", [] {
         return common({deboor(0.5, -1), deboor(0.5, 30), deboor(0.5, 32767), deboor(0.5, 1, true),
                        deboor(0.5, 1, false, true), deboor(0.5, 1, false, false, true)});
       }, 3},
      {deboors, "a null point entry; null weights", [] {
         zv_poly_3d a{0, 1, 2, 3};
         zv_poly_3d *hole[] = {&a, nullptr}, *pts[] = {&a, &a};
         const double knots[] = {0, 1}, weights[] = {1, 1};
         zv_pnt_3d q;
         return total({zv_deboor_3d(0.5, 1, hole, knots, &q) * 100,
                       zv_rat_deboor_3d(0.5, 1, hole, weights, knots, &q) * 10,
                       zv_rat_deboor_3d(0.5, 1, pts, nullptr, knots, &q)});
       }, 333},
      {"zv_mk_nurb_curve3d", "spans beyond n - p", [] { return span(true, {}, 0, 0, 3); }, 2},
      {"zv_mk_nurb_curve3d",
       "accepted: spans -32768 sample nothing; no weight list (weights 1); zero weights, no trap", [] {
         return common({span(true, {}, 0, 0, -32768), span(true, purged(kWeightList)) % 1000,
                        span(true, with_weights({0, 0, 0, 0, 0})) % 1000});
       }, 0},
      {"zv_mk_rat_bezier_3d", "null record, control list or every list (degree 16); three points for degree 3", [] {
         return common({zv_mk_rat_bezier_3d(nullptr, 2), rat_bezier(0, no(kCtrlList)),
                        rat_bezier(16, no(kCtrlList | kKnotList | kWeightList)), rat_bezier(3)});
       }, 1},
      {"zv_mk_rat_bezier_3d", "null knot list with or without weights (2); null weights (3); degree 16 or none (4); "
       "no parameter (5)", [] {
         return total({common({rat_bezier(0, no(kKnotList)), rat_bezier(0, no(kKnotList | kWeightList))}),
                       rat_bezier(0, no(kWeightList)) * 10, common({rat_bezier(16), rat_bezier(0, degree(0))}) * 100,
                       rat_bezier_with(true, ll_create_list()) * 1000});
       }, 5432},
      {"zv_mk_rat_bezier_3d", "accepted: degree -32768 (the record's); zero weights, no trap", [] {
         return common({rat_bezier(-32768) % 1000, rat_bezier_with(false, zvtest::make_reals({0, 0, 0})) % 1000});
       }, 0},
  };
  // The two span tessellators share their checks and codes; lists they lose are purged first.
  for (bool nurb : {false, true}) {
    const char *f = nurb ? "zv_mk_nurb_curve3d" : "zv_mk_nubspline_3d";
    const int16_t other = nurb ? ZV_CURVE_NUBSPLINE : ZV_CURVE_NURB;
    rows.insert(rows.end(), {
        {f, "null record, vertex or stats list", [nurb] {
           return common({nurb ? zv_mk_nurb_curve3d(nullptr, 0, 0, 1, 0) : zv_mk_nubspline_3d(nullptr, 0, 0),
                          span(nurb, no(kVertexList)), span(nurb, no(kStatsList))});
         }, 1},
        {f, "degree 0 (before the kind), 16, -32768; five points for degree 5; three in the sub-range; no control list",
         [nurb] {
           return common({span(nurb, [](zv_curve *c) { c->degree = 0, c->type = 86; }), span(nurb, degree(16)),
                          span(nurb, degree(-32768)), span(nurb, degree(5), 0, 0, 0), span(nurb, {}, 2, 4, 1),
                          span(nurb, purged(kCtrlList))});
         }, 2},
        {f, "the other kind (3); a knot short, no knot list (4); span steps 0, knots below -1e-7 (5)", [nurb, other] {
           return total({span(nurb, [other](zv_curve *c) { c->type = other; }),
                         common({span(nurb, drop_last_knot), span(nurb, purged(kKnotList))}) * 10,
                         common({span(nurb, steps(0)), span(nurb, with_knots({-3, -2, -2, -2, -1, -1, -1}))}) * 100});
         }, 543},
        {f, "accepted: a sub-range past the list clipped; span steps -1, NaN knots: nothing; knots from -1e-7", [nurb] {
           return common({span(nurb, {}, 1, 32767, 2) % 1000, span(nurb, steps(-1)),
                          span(nurb, with_knots(std::vector<double>(7, kNaN))),
                          span(nurb, with_knots({-1e-7, -1e-7, -1e-7, 0.5, 1, 1, 1})) - 1000});
         }, 0},
    });
  }
  return rows;
}

// ---- direct polylines -------------------------------------------------------------------------------------------

std::vector<zv_pnt_3d> zigzag(int n) {
  std::vector<zv_pnt_3d> pts;
  for (int i = 0; i < n; ++i) pts.push_back({1.0 * i, (i % 2) * 1.0, 0.5 * i});
  return pts;
}

// f(ctrl, list, &count) over a zigzag of k points into a fresh list (or
// none): result * 100000 + count * 10 + (1 when anything was appended).
template <class F>
long polyline(int k, int16_t count, F f, bool with_list = true) {
  ll_list *ctrl = zvtest::make_polygon(zigzag(k)), *list = with_list ? ll_create_list() : nullptr;
  const long r = f(ctrl, list, &count), appended = ll_list_length(list) > 0;
  ll_purge_list(ctrl), ll_purge_list(list);
  return r * 100000 + count * 10 + appended;
}
long cubic(int16_t n, int k, int16_t wanted = 10) {
  return polyline(k, wanted, [n](ll_list *c, ll_list *o, int16_t *w) { return zv_bspline_3d(n, c, w, o); });
}
long quadratic(int16_t n, int k, int16_t mode = 4) {
  return polyline(k, -7, [=](ll_list *c, ll_list *o, int16_t *w) { return zv_quad_bspline_3d(n, c, mode, w, o); });
}
long catrom(int16_t n, int k, bool with_list = true) {
  return polyline(k, -7, [n](ll_list *c, ll_list *o, int16_t *w) { return zv_catrom_curve_3d(n, c, 4, 0.5, w, o); },
                  with_list);
}
long bezier(int k, int16_t m, int16_t n, bool with_list = true) {
  return polyline(k, 0, [m, n](ll_list *c, ll_list *o, int16_t *) { return zv_bezier_curve_3d(c, m, n, o); },
                  with_list);
}
// The array form into an array the call must leave alone: 1 when untouched.
long bezier_array(const zv_pnt_3d *pts, int16_t m, int16_t n, bool null_out = false) {
  zv_pnt_3d o[4] = {{-99, 0, 0}, {-99, 0, 0}, {-99, 0, 0}, {-99, 0, 0}};
  return zv_beziercurve3d(pts, m, n, null_out ? nullptr : o) * 10 + (o[0].x == -99);
}
// f(count, points) with a count of c: result * 10 + the count it leaves.
template <class F>
long with_count(int16_t c, F f, ll_list *points = nullptr) {
  const long r = f(&c, points);
  ll_purge_list(points);
  return r * 10 + c;
}

std::vector<BadInput> polyline_rows() {
  static const auto pts = zigzag(4);
  const auto no_list = [](int16_t *w, ll_list *) { return zv_bspline_3d(6, nullptr, w, nullptr); };
  const auto quad_no_list = [](int16_t *w, ll_list *) { return zv_quad_bspline_3d(4, nullptr, 4, w, nullptr); };
  const auto quad_no_count = [](int16_t *, ll_list *c) { return zv_quad_bspline_3d(4, c, 4, nullptr, nullptr); };
  const auto catrom_no_list = [](int16_t n) {
    return [n](int16_t *w, ll_list *) { return zv_catrom_curve_3d(n, nullptr, 4, 0.5, w, nullptr); };
  };
  const auto catrom_no_count = [](int16_t *, ll_list *c) { return zv_catrom_curve_3d(5, c, 4, 0.5, nullptr, nullptr); };
  return {
      {"zv_bez_factorial3", "n = -32768: 1; n = 32767: +inf at once", [] {
         return common({static_cast<long>(zv_bez_factorial3(-32768)),
                        static_cast<long>(std::isinf(zv_bez_factorial3(32767)))});
       }, 1},
      {"zv_beziercurve3d", "n = 0, -32768; m = -32768; null points or out", [] {
         return common({bezier_array(pts.data(), 4, 0), bezier_array(pts.data(), 4, -32768),
                        bezier_array(pts.data(), -32768, 4), bezier_array(nullptr, 4, 4),
                        bezier_array(pts.data(), 4, 4, true)});
       }, 1},
      {"zv_bezier_curve_3d",
       "null polygon; null list (private, or two points copied); m or n = -32768; no points (0); m = 32767", [] {
         return total({common({zv_bezier_curve_3d(nullptr, 7, 10, nullptr), bezier(7, 7, 10, false),
                               bezier(7, 2, 10, false), bezier(7, -32768, 5), bezier(7, 7, -32768), bezier(0, 7, 5)}),
                       10 * bezier(7, 32767, 5)});
       }, 10},
      {"zv_bspline_3d", "null control list (1, count left); null count (1)", [=] {
         return total({with_count(8, no_list) * 10, cubic(6, 6) && zv_bspline_3d(6, nullptr, nullptr, nullptr)});
       }, 181},
      {"zv_bspline_3d", "n = 3, 2, -32768; request -32768: nothing (appended four)", [] {
         return common({cubic(3, 4), cubic(2, 4), cubic(-32768, 4), cubic(6, 6, -32768)});
       }, 0},
      {"zv_bspline_3d", "a list shorter than n, n = 32767", [] { return common({cubic(6, 5), cubic(32767, 5)}); },
       100000},
      {"zv_quad_bspline_3d", "null control list or count; mode -32768: step 0.05", [=] {
         return total({common({with_count(-1, quad_no_list),
                               with_count(0, quad_no_count, zvtest::make_polygon(zigzag(4)))}),
                       quadratic(3, 3, -32768)});
       }, 211},
      {"zv_quad_bspline_3d", "n = 1, 0, -32768; a list shorter than n; n = 2 over one point", [] {
         return common({quadratic(1, 4), quadratic(0, 4), quadratic(-32768, 4), quadratic(5, 4), quadratic(2, 1)});
       }, 3300000},
      {"zv_catrom_curve_3d",
       "null control list with n = 4 or 2 (1, count 0); null count (1); null list, two points: private (20)", [=] {
         return total({common({with_count(-1, catrom_no_list(4)), with_count(-1, catrom_no_list(2))}) * 10,
                       with_count(0, catrom_no_count, zvtest::make_polygon(zigzag(5))), catrom(2, 2, false)});
       }, 100 + 10 + 20},
      {"zv_catrom_curve_3d", "n = 3, 1, -32768; a list shorter than n; n = 2 over one point", [] {
         return common({catrom(3, 6), catrom(1, 6), catrom(-32768, 6), catrom(7, 6), catrom(2, 1)});
       }, 3300000, repeated("BADCNT", 33, "zv_catrom_curve_3d", 5)},
  };
}

// ---- the curve through n points: a code and no record, without a message ----------------------------------------

const std::vector<zv_pnt_3d> kFive = {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}, {4, 0, 0}};
const std::vector<double> kParams = {0, 0.25, 0.5, 0.75, 1}, kKnots = {0, 0, 0, 0, 0.5, 1, 1, 1, 1};

// The fit's code, or 99 when a failure left a record behind.
long fit(const std::vector<zv_pnt_3d> &pts, int n, int p, int mode = 1, const double *params = nullptr,
         const double *knots = nullptr) {
  zv_nurbs_3d sentinel{};
  zv_nurbs_3d *rec = &sentinel;
  const long code = zv_curve_thru_npoints_3d(pts.data(), static_cast<int16_t>(n), static_cast<int16_t>(p),
                                             params || knots ? 1 : 0, params, knots, static_cast<int16_t>(mode), &rec);
  const rivezi3z::Nurbs owner(code == 0 ? rec : nullptr);
  return code != 0 && rec != nullptr ? 99 : code;
}
long fit_all(const std::vector<zv_pnt_3d> &pts, int p, int mode = 1) {
  return fit(pts, static_cast<int>(pts.size()), p, mode);
}
// The fit through kFive at given parameters, the fifth knot set to knot.
long given(std::vector<double> params, double knot = 0.5) {
  std::vector<double> knots = kKnots;
  knots[4] = knot;
  return fit(kFive, 5, 3, 1, params.data(), knots.data());
}

std::vector<BadInput> fit_rows() {
  return {
      {"zv_curve_thru_npoints_3d",
       "degree 0, -32768, 8; n < p + 1, -5, past int16 with p; mode -1, 3; null points or result", [] {
         zv_nurbs_3d *rec = nullptr;
         return common({fit_all(kFive, 0), fit(kFive, 5, -32768), fit(kFive, 20, 8), fit(kFive, 3, 3),
                        fit(kFive, -5, 1), fit(kFive, 32767, 3), fit_all(kFive, 3, -1), fit_all(kFive, 3, 3),
                        zv_curve_thru_npoints_3d(nullptr, 5, 3, 0, nullptr, nullptr, 1, &rec),
                        zv_curve_thru_npoints_3d(kFive.data(), 5, 3, 0, nullptr, nullptr, 1, nullptr)});
       }, 1},
      {"zv_curve_thru_npoints_3d",
       "given: null params or knots; falling, NaN or infinite knots; falling params (once solved as if ordered)", [] {
         return common({fit(kFive, 5, 3, 1, nullptr, kKnots.data()), fit(kFive, 5, 3, 1, kParams.data(), nullptr),
                        given(kParams, 1.5), given(kParams, kNaN), given(kParams, kInf),
                        given({0, 0.5, 0.25, 0.75, 1})});
       }, 1},
      {"zv_curve_thru_npoints_3d",
       "all points equal; length 6e-8; NaN or infinite coordinate; z alone in the plane mode; a repeated point; "
       "given params crowding a basis function out", [] {
         return common({fit_all(std::vector<zv_pnt_3d>(6, {1, 2, 3}), 3),
                        fit_all({{0, 0, 0}, {2e-8, 0, 0}, {4e-8, 0, 0}, {6e-8, 0, 0}}, 1),
                        fit_all({{0, 0, 0}, {1, kNaN, 0}, {2, 0, 0}, {3, 0, 0}}, 3),
                        fit_all({{0, 0, 0}, {1, 1, 0}, {kInf, 0, 0}, {3, 0, 0}}, 1),
                        fit_all({{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}}, 3, 0),
                        fit_all({{0, 0, 0}, {1, 1, 0}, {1, 1, 0}, {3, 0, 0}, {4, 1, 0}}, 3),
                        given({0, 0.1, 0.2, 0.3, 0.4})});
       }, 2},
  };
}

class BadInputs : public zvtest::KernelTest {};

TEST_F(BadInputs, EveryFunctionGivesItsCodeStateAndMessages) {
  for (const auto &rows : {conic_rows(), spline_rows(), polyline_rows(), fit_rows()})
    zvtest::check_bad_inputs(reports, rows);
}

}  // namespace
