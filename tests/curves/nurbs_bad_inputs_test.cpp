// Bad inputs of the non-uniform and rational definitions, the two de Boor
// evaluators and the three span tessellators: one row per function and
// class of bad input.
#include "bad_inputs.hpp"
#include "spline_records.hpp"

namespace {

using zvtest::BadInput;
using zvtest::kInf;
using zvtest::kNaN;
using zvtest::made;
using zvtest::Message;

using zvtest::points;
using zvtest::rising;

// A non-uniform definition from n points and k knots: 1 for a record, plus
// 10 when a refusal did not leave the caller's lists whole.
long nub(int n, int k, int16_t degree) {
  ll_list *ctrl = zvtest::make_polygon(points(n)), *knots = zvtest::make_reals(rising(k));
  zv_curve *curve = zv_def_nubspl_curve3d(ctrl, knots, degree, 4);
  const long whole = ll_list_length(ctrl) == n && ll_list_length(knots) == k;
  ll_purge_list(ctrl), ll_purge_list(knots);
  return made(curve) + (!curve && !whole ? 10 : 0);
}

// A rational definition of a fresh record from n points and w weights; 99
// when a refusal changed anything but the type, or left the type unset.
long rational(bool nurb, int n, int w, int16_t degree) {
  zv_curve *curve = zv_create_curve();
  ll_list *ctrl = zvtest::make_polygon(points(n)), *knots = zvtest::make_reals(rising(n + degree + 1)),
          *weights = zvtest::make_reals(std::vector<double>(w, 1.0)), *before = curve->ctrl_list;
  long r = nurb ? zv_mk_def_nurb_curve3d(ctrl, knots, weights, degree, 0, curve)
                : zv_def_ratbezier_curve3d(ctrl, knots, weights, degree, curve);
  if (curve->type != (nurb ? ZV_CURVE_NURB : ZV_CURVE_RATBEZIER) ||
      (r != 0 && (curve->degree != 0 || zvtest::value(curve->ctrl_list) != before)))
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
  zv_poly_3d *pts[] = {&a, &b};
  const double knots[] = {0, 1, 2, 3}, weights[] = {1, 1};
  zv_pnt_3d q{-7, -7, -7}, r{-7, -7, -7};
  const long plain = zv_deboor_3d(t, p, null_points ? nullptr : pts, null_knots ? nullptr : knots,
                                  null_result ? nullptr : &q);
  const long rat = zv_rat_deboor_3d(t, p, null_points ? nullptr : pts, weights, null_knots ? nullptr : knots,
                                    null_result ? nullptr : &r);
  if (plain != rat || (plain != 0 && (q.x != -7 || r.x != -7))) return 99;
  return plain;
}

long deboor_hole() {
  zv_poly_3d a{0, 1, 2, 3};
  zv_poly_3d *pts[] = {&a, nullptr};
  const double knots[] = {0, 1}, weights[] = {1, 1};
  zv_pnt_3d q;
  return zv_deboor_3d(0.5, 1, pts, knots, &q) * 10 + zv_rat_deboor_3d(0.5, 1, pts, weights, knots, &q);
}

// A span tessellator on a cubic record of five points after change(curve):
// its result, plus 1000 when it appended anything.
template <class Change>
long span(bool nurb, Change change, int16_t first = 0, int16_t last = 0, int16_t spans = 2) {
  const zvtest::Spline s = zvtest::random_spline(5, 3, 1);
  zv_curve *curve = nurb ? zvtest::make_nurb(s, 2) : zvtest::make_nub(s, 2);
  ll_list *vertices = curve->vertex_list, *stats = curve->stats_list;
  change(curve);
  const long r = nurb ? zv_mk_nurb_curve3d(curve, first, last, spans, 0) : zv_mk_nubspline_3d(curve, first, last);
  const bool appended = ll_list_length(vertices) > 0;
  curve->vertex_list = vertices, curve->stats_list = stats;
  zv_purge_curve(curve);
  return r + (appended ? 1000 : 0);
}

void drop_last_knot(zv_curve *curve) {
  ll_list *old = curve->knot_list;
  std::vector<double> k;
  for (const auto &r : zvtest::items<zv_rnumber>(old)) k.push_back(r.value);
  k.pop_back();
  ll_purge_list(old);
  curve->knot_list = zvtest::make_reals(k);
}

// The rational Bezier tessellator on a quadratic record after change(curve),
// lists the change takes away released by the test.
template <class Change>
long rat_bezier(int16_t degree, Change change) {
  zv_curve *curve = zv_create_curve();
  zv_def_ratbezier_curve3d(zvtest::make_polygon(points(3)), zvtest::make_reals({0, 0.5, 1}),
                           zvtest::make_reals({1, 1, 1}), 2, curve);
  ll_list *slots[] = {curve->ctrl_list, curve->knot_list, curve->weight_list};
  change(curve);
  const long r = zv_mk_rat_bezier_3d(curve, degree) + (ll_list_length(curve->vertex_list) ? 1000 : 0);
  curve->ctrl_list = slots[0], curve->knot_list = slots[1], curve->weight_list = slots[2];
  zv_purge_curve(curve);
  return r;
}

const Message kBadKnots{"BADKNOTSEQ", 0, "zv_def_nubspl_curve3d"};
const Message kBadDegree{"BADDEG", 0, "zv_def_nubspl_curve3d"};

class NurbsFamily : public zvtest::KernelTest {};

TEST_F(NurbsFamily, BadInputTable) {
  auto none = [](zv_curve *) {};
  const std::vector<BadInput> rows = {
      {"zv_def_nubspl_curve3d", "one knot short of n + p - 1", [] { return nub(5, 6, 3); }, 0, {kBadKnots}},
      {"zv_def_nubspl_curve3d", "degree 16", [] { return nub(5, 40, 16); }, 0, {kBadDegree}},
      {"zv_def_nubspl_curve3d", "degree -32768", [] { return nub(3, 1, -32768); }, 0, {kBadDegree}},
      {"zv_def_nubspl_curve3d", "no knot", [] { return nub(2, 0, 0); }, 0, {kBadKnots}},
      {"zv_def_nubspl_curve3d", "both wrong: the knots named", [] { return nub(5, 6, 16); }, 0, {kBadKnots}},
      {"zv_def_nubspl_curve3d", "null lists", [] { return made(zv_def_nubspl_curve3d(nullptr, nullptr, 3, 4)); }, 0, {kBadKnots}},
      {"zv_mk_def_nurb_curve3d", "null record", [] { return zv_mk_def_nurb_curve3d(nullptr, nullptr, nullptr, 3, 1, nullptr); }, 4},
      {"zv_mk_def_nurb_curve3d", "null lists", [] {
         zv_curve *c = zv_create_curve();
         const long r = zv_mk_def_nurb_curve3d(nullptr, nullptr, nullptr, 1, 1, c);
         zv_purge_curve(c);
         return r;
       }, 1},
      {"zv_mk_def_nurb_curve3d", "fewer points than degree + 1", [] { return rational(true, 3, 3, 3); }, 1},
      {"zv_mk_def_nurb_curve3d", "fewer weights than points", [] { return rational(true, 4, 3, 3); }, 2},
      {"zv_mk_def_nurb_curve3d", "degree 16", [] { return rational(true, 17, 17, 16); }, 3},
      {"zv_mk_def_nurb_curve3d", "degree 0", [] { return rational(true, 2, 2, 0); }, 3},
      {"zv_def_ratbezier_curve3d", "null record", [] { return zv_def_ratbezier_curve3d(nullptr, nullptr, nullptr, 3, nullptr); }, 4},
      {"zv_def_ratbezier_curve3d", "fewer points than degree + 1", [] { return rational(false, 3, 3, 3); }, 1},
      {"zv_def_ratbezier_curve3d", "more weights than points", [] { return rational(false, 4, 5, 3); }, 2},
      {"zv_def_ratbezier_curve3d", "points tested before the degree", [] { return rational(false, 4, 2, 16); }, 1},
      {"zv_def_ratbezier_curve3d", "degree -1", [] { return rational(false, 2, 2, -1); }, 3},
      {"zv_deboor_3d / zv_rat_deboor_3d", "t = -2e-7", [] { return deboor(-2e-7, 1); }, 2},
      {"zv_deboor_3d / zv_rat_deboor_3d", "NaN t", [] { return deboor(kNaN, 1); }, 2},
      {"zv_deboor_3d / zv_rat_deboor_3d", "t = -inf", [] { return deboor(-kInf, 1); }, 2},
      {"zv_deboor_3d / zv_rat_deboor_3d", "degree -1", [] { return deboor(0.5, -1); }, 3},
      {"zv_deboor_3d / zv_rat_deboor_3d", "degree 30", [] { return deboor(0.5, 30); }, 3},
      {"zv_deboor_3d / zv_rat_deboor_3d", "degree 32767", [] { return deboor(0.5, 32767); }, 3},
      {"zv_deboor_3d / zv_rat_deboor_3d", "t tested before degree", [] { return deboor(-2e-7, 30); }, 2},
      {"zv_deboor_3d / zv_rat_deboor_3d", "null points", [] { return deboor(0.5, 1, true); }, 3},
      {"zv_deboor_3d / zv_rat_deboor_3d", "null knots", [] { return deboor(0.5, 1, false, true); }, 3},
      {"zv_deboor_3d / zv_rat_deboor_3d", "null result", [] { return deboor(0.5, 1, false, false, true); }, 3},
      {"zv_deboor_3d / zv_rat_deboor_3d", "null point entry", [] { return deboor_hole(); }, 33},
      {"zv_rat_deboor_3d", "null weights", [] {
         zv_poly_3d a{0, 1, 2, 3};
         zv_poly_3d *pts[] = {&a, &a};
         const double knots[] = {0, 1};
         zv_pnt_3d q;
         return zv_rat_deboor_3d(0.5, 1, pts, nullptr, knots, &q);
       }, 3},
  };
  std::vector<BadInput> all = rows;
  // The two span tessellators share their checks and codes.
  for (bool nurb : {false, true}) {
    const char *f = nurb ? "zv_mk_nurb_curve3d" : "zv_mk_nubspline_3d";
    const int16_t other = nurb ? ZV_CURVE_NUBSPLINE : ZV_CURVE_NURB;
    all.insert(all.end(), {
        {f, "null record", [nurb] { return nurb ? zv_mk_nurb_curve3d(nullptr, 0, 0, 1, 0) : zv_mk_nubspline_3d(nullptr, 0, 0); }, 1},
        {f, "null vertex list", [nurb] { return span(nurb, [](zv_curve *c) { c->vertex_list = nullptr; }); }, 1},
        {f, "null stats list", [nurb] { return span(nurb, [](zv_curve *c) { c->stats_list = nullptr; }); }, 1},
        {f, "degree 0, tested before the kind", [nurb] { return span(nurb, [](zv_curve *c) { c->degree = 0, c->type = 86; }); }, 2},
        {f, "degree 16", [nurb] { return span(nurb, [](zv_curve *c) { c->degree = 16; }); }, 2},
        {f, "degree -32768", [nurb] { return span(nurb, [](zv_curve *c) { c->degree = -32768; }); }, 2},
        {f, "the other kind", [nurb, other] { return span(nurb, [other](zv_curve *c) { c->type = other; }); }, 3},
        {f, "five points for degree 5", [nurb] { return span(nurb, [](zv_curve *c) { c->degree = 5; }, 0, 0, 0); }, 2},
        {f, "sub-range of three points", [nurb] { return span(nurb, [](zv_curve *) {}, 2, 4, 1); }, 2},
        {f, "sub-range past the list: clipped", [nurb] { return span(nurb, [](zv_curve *) {}, 1, 32767, 2) % 1000; }, 0},
        {f, "one knot short", [nurb] { return span(nurb, drop_last_knot); }, 4},
        {f, "null control list slot", [nurb] {
           return span(nurb, [](zv_curve *c) { ll_purge_list(c->ctrl_list), c->ctrl_list = nullptr; });
         }, 2},
        {f, "null knot list slot", [nurb] {
           return span(nurb, [](zv_curve *c) { ll_purge_list(c->knot_list), c->knot_list = nullptr; });
         }, 4},
        {f, "span steps 0: first parameter undefined", [nurb] { return span(nurb, [](zv_curve *c) { c->span_steps = 0; }); }, 5},
        {f, "span steps -1: nothing sampled", [nurb] { return span(nurb, [](zv_curve *c) { c->span_steps = -1; }); }, 0},
        {f, "knots from -1e-7: accepted", [nurb] {
           return span(nurb, [](zv_curve *c) {
             ll_purge_list(c->knot_list);
             c->knot_list = zvtest::make_reals({-1e-7, -1e-7, -1e-7, 0.5, 1, 1, 1});
           }) - 1000;
         }, 0},
        {f, "knots below -1e-7", [nurb] {
           return span(nurb, [](zv_curve *c) {
             ll_purge_list(c->knot_list);
             c->knot_list = zvtest::make_reals({-3, -2, -2, -2, -1, -1, -1});
           });
         }, 5},
        {f, "NaN knots", [nurb] {
           return span(nurb, [](zv_curve *c) {
             ll_purge_list(c->knot_list);
             c->knot_list = zvtest::make_reals({kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, kNaN});
           });
         }, 0},
    });
  }
  all.insert(all.end(), {
      {"zv_mk_nurb_curve3d", "spans beyond n - p", [] { return span(true, [](zv_curve *) {}, 0, 0, 3); }, 2},
      {"zv_mk_nurb_curve3d", "spans -32768: nothing", [] { return span(true, [](zv_curve *) {}, 0, 0, -32768); }, 0},
      {"zv_mk_nurb_curve3d", "null weight list: weights 1", [] {
         return span(true, [](zv_curve *c) { ll_purge_list(c->weight_list), c->weight_list = nullptr; }) % 1000;
       }, 0},
      {"zv_mk_nurb_curve3d", "zero weights: non-finite, no trap", [] {
         return span(true, [](zv_curve *c) {
           ll_purge_list(c->weight_list);
           c->weight_list = zvtest::make_reals({0, 0, 0, 0, 0});
         }) % 1000;
       }, 0},
      {"zv_mk_rat_bezier_3d", "null record", [] { return zv_mk_rat_bezier_3d(nullptr, 2); }, 1},
      {"zv_mk_rat_bezier_3d", "null control list", [] { return rat_bezier(0, [](zv_curve *c) { c->ctrl_list = nullptr; }); }, 1},
      {"zv_mk_rat_bezier_3d", "null knot list", [] { return rat_bezier(0, [](zv_curve *c) { c->knot_list = nullptr; }); }, 2},
      {"zv_mk_rat_bezier_3d", "null weight list", [] { return rat_bezier(0, [](zv_curve *c) { c->weight_list = nullptr; }); }, 3},
      {"zv_mk_rat_bezier_3d", "null knot and weight lists", [] { return rat_bezier(0, [](zv_curve *c) { c->knot_list = c->weight_list = nullptr; }); }, 2},
      {"zv_mk_rat_bezier_3d", "every list null, degree 16", [] {
         return rat_bezier(16, [](zv_curve *c) { c->ctrl_list = c->knot_list = c->weight_list = nullptr; });
       }, 1},
      {"zv_mk_rat_bezier_3d", "degree 16", [none] { return rat_bezier(16, none); }, 4},
      {"zv_mk_rat_bezier_3d", "no degree anywhere", [] { return rat_bezier(0, [](zv_curve *c) { c->degree = 0; }); }, 4},
      {"zv_mk_rat_bezier_3d", "degree -32768 falls back to the record's", [none] { return rat_bezier(-32768, none) % 1000; }, 0},
      {"zv_mk_rat_bezier_3d", "three points for degree 3", [none] { return rat_bezier(3, none); }, 1},
      {"zv_mk_rat_bezier_3d", "no parameter", [] {
         static ll_list *empty = nullptr;
         const long r = rat_bezier(0, [](zv_curve *c) { c->knot_list = empty = ll_create_list(); });
         ll_purge_list(empty);
         return r;
       }, 5},
      {"zv_mk_rat_bezier_3d", "zero weights: non-finite, no trap", [] {
         static ll_list *zeros = nullptr;
         const long r = rat_bezier(0, [](zv_curve *c) { c->weight_list = zeros = zvtest::make_reals({0, 0, 0}); });
         ll_purge_list(zeros);
         return r % 1000;
       }, 0},
  });
  zvtest::check_bad_inputs(reports, all);
}

}  // namespace
