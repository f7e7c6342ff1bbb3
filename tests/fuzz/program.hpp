// A stateful fuzz program: up to 64 steps over a pool of four curve records
// and six lists (three control polygons, three knot or weight lists), so
// that what one function makes becomes the next one's input or output, and
// records are released in any order. The lists are the harness's own: the
// rational definitions borrow them, so a record's slots that hold one are
// cleared before the record is purged, and the lists are released last.
// After every step each list in reach is walked and must hold as many nodes
// as its count says; after the last step every kernel block must be back
// (fuzz_input.hpp checks that).
//
// Encoding: each step is one byte (the operation, modulo kOps) followed by
// its operands in the order the step reads them; every call into the
// library then reads its refusal budget (one byte of 40 or more: no
// refusal). tests/fuzz/make_program_seeds.py writes programs in this form.
#pragma once

#include <rivezi3z/rivezi3z.hpp>

#include <utility>

#include "fuzz_input.hpp"

namespace zvfuzz {

class Program {
 public:
  static constexpr int kRecords = 4, kLists = 6, kSteps = 64;

  // The operations, in the order of their opcodes.
  enum Op {
    kMakeList, kDefineUniform, kDefineNubspl, kDefineRational, kTessellateUniform, kTessellateNubspl,
    kTessellateNurb, kTessellateRatBezier, kEvalUniform, kDeBoor, kConvert, kSplit, kFit, kIntersect,
    kRelease, kCreate, kOps
  };

  explicit Program(Input &in) : in_(in) {}
  Program(const Program &) = delete;
  Program &operator=(const Program &) = delete;
  ~Program() {
    for (int r = 0; r < kRecords; ++r) drop_record(r);
    for (ll_list *list : lists_) ll_purge_list(list);
    for (ll_list *list : retired_) ll_purge_list(list);
  }

  void run() {
    for (int step = 0; step < kSteps && !in_.empty(); ++step) {
      this->step(in_.pick(kOps));
      check();
    }
  }

 private:
  enum class Kind : uint8_t { Points, Reals };

  void step(int op) {
    switch (op) {
      case kMakeList: return make_list();
      case kDefineUniform: return define_uniform();
      case kDefineNubspl: return define_nubspl();
      case kDefineRational: return define_rational();
      case kTessellateUniform: {
        zv_curve *c = record();
        const double step = in_.real();
        refusing(in_, [&] { return zv_mk_ucurve3d(c, step); });
        return;
      }
      case kTessellateNubspl: {
        zv_curve *c = record();
        const int16_t first = in_.count(), last = in_.count();
        refusing(in_, [&] { return zv_mk_nubspline_3d(c, first, last); });
        return;
      }
      case kTessellateNurb: {
        zv_curve *c = record();
        const int16_t first = in_.count(), last = in_.count(), spans = in_.count(), steps = in_.count();
        refusing(in_, [&] { return zv_mk_nurb_curve3d(c, first, last, spans, steps); });
        return;
      }
      case kTessellateRatBezier: {
        zv_curve *c = record();
        const int16_t degree = this->degree();
        refusing(in_, [&] { return zv_mk_rat_bezier_3d(c, degree); });
        return;
      }
      case kEvalUniform: return eval_uniform();
      case kDeBoor: return deboor();
      case kConvert: {
        const int a = in_.pick(kRecords), b = (a + 1 + in_.pick(kRecords - 1)) % kRecords;
        const bool rational = in_.flag();
        zv_curve *source = records_[a], *out = output(b);
        refusing(in_, [&] {
          return rational ? zv_rat_bspl_to_bezier_curve3d(source, out) : zv_bspl_to_bezier_curve3d(source, out);
        });
        return;
      }
      case kSplit: {
        const int a = in_.pick(kRecords), b = in_.pick(kRecords), c = in_.pick(kRecords);
        const bool rational = in_.flag();
        const double t = in_.real();
        zv_curve *source = records_[a], *before = output(b), *after = output(c);
        refusing(in_, [&] {
          return rational ? zv_sub_ratbezier_curve3d(source, t, before, after)
                          : zv_sub_bezier_curve3d(source, t, before, after);
        });
        return;
      }
      case kFit: return fit();
      case kIntersect: {
        zv_curve *a = record(), *b = record();
        ll_list *out = pool(Kind::Points);
        // Polylines whose every segment pair's boxes meet (long
        // tessellations piled on one spot), and any pair of polylines once
        // the working memory is refused, cost time in proportion to their
        // segment pairs, seconds under the sanitizers. A program gets a
        // budget of pairs for all its intersections; longer ones are left
        // to the intersection target, whose inputs are short.
        const long pairs = segment_pairs(a) * segment_pairs(b);
        if (pairs > pairs_left_) return;
        pairs_left_ -= pairs;
        refusing(in_, [&] { return zv_intcurve_3d(a, b, out); });
        return;
      }
      case kRelease: return drop_record(in_.pick(kRecords));
      default: {
        const int r = in_.pick(kRecords);
        put(r, refusing(in_, [] { return zv_create_curve(); }));
      }
    }
  }

  // ------------------------------------------------------------ operands

  zv_curve *record() { return records_[in_.pick(kRecords)]; }
  // A record to write into; an empty slot gets a new record first.
  zv_curve *output(int r) {
    if (!records_[r]) records_[r] = zv_create_curve();
    return records_[r];
  }
  // Pool lists 0 .. 2 hold points, 3 .. 5 reals.
  static constexpr int kPerKind = kLists / 2;
  ll_list *pool(Kind kind) { return lists_[(kind == Kind::Points ? 0 : kPerKind) + in_.pick(kPerKind)]; }
  // For the definitions that take a list over: a pool list, or a record's
  // own list of that kind (control or vertex list; knot or weight list).
  ll_list *any_list(Kind kind) {
    const int s = in_.pick(kPerKind + 2), r = in_.pick(kRecords);
    if (s < kPerKind) return lists_[(kind == Kind::Points ? 0 : kPerKind) + s];
    const zv_curve *c = records_[r];
    if (!c) return nullptr;
    if (kind == Kind::Points) return s == kPerKind ? c->ctrl_list : c->vertex_list;
    return s == kPerKind ? c->knot_list : c->weight_list;
  }
  // A degree: 0 .. 16 mostly, else any count.
  int16_t degree() {
    const uint8_t b = in_.byte();
    return b < 240 ? static_cast<int16_t>(b % 17) : in_.count();
  }

  // ---------------------------------------------------------- the pool

  bool pool_list(const ll_list *list) const {
    for (const ll_list *l : lists_)
      if (l == list) return true;
    for (const ll_list *l : retired_)
      if (l == list) return true;
    return false;
  }
  bool held(const ll_list *list) const {
    for (const zv_curve *c : records_)
      if (c && (c->weight_list == list || c->knot_list == list || c->ctrl_list == list || c->vertex_list == list ||
                c->stats_list == list))
        return true;
    return false;
  }
  // A pool list that a record still borrows is kept until the end.
  void drop_list(int s) {
    ll_list *old = std::exchange(lists_[s], nullptr);
    if (old && held(old)) retired_.push_back(old);
    else ll_purge_list(old);
  }
  // Purges a record after clearing the slots that hold pool lists.
  void drop_record(int r) {
    zv_curve *c = std::exchange(records_[r], nullptr);
    if (!c) return;
    auto own = [&](ll_list *list) { return pool_list(list) ? nullptr : list; };
    c->weight_list = own(c->weight_list), c->knot_list = own(c->knot_list), c->ctrl_list = own(c->ctrl_list);
    c->vertex_list = own(c->vertex_list), c->stats_list = own(c->stats_list);
    zv_purge_curve(c);
  }
  void put(int r, zv_curve *c) {
    drop_record(r);
    records_[r] = c;
  }

  // Every list in reach holds as many nodes as its count says, each with an item.
  void check() const {
    for (const ll_list *list : lists_) check(list);
    for (const zv_curve *c : records_)
      if (c)
        for (const ll_list *list : {c->weight_list, c->knot_list, c->ctrl_list, c->vertex_list, c->stats_list})
          check(list);
  }
  static void check(const ll_list *list) {
    if (!list) return;
    long n = 0;
    for (const ll_node *node = list->head; node; node = node->next, ++n)
      if (!node->data) std::abort();
    if (n != ll_list_length(list)) {
      std::fprintf(stderr, "list of %ld nodes counts %ld\n", n, ll_list_length(list));
      std::abort();
    }
  }

  // ----------------------------------------------------------- the steps

  // Rebuilds pool list s with 0 .. 40 items, or as many as pool list k held
  // (length 200 + k), or none (length 248 and above: null).
  void make_list() {
    const int s = in_.pick(kLists);
    const uint8_t length = in_.byte();
    const Kind kind = s < kPerKind ? Kind::Points : Kind::Reals;
    const long n = length < 200 ? length % 41 : std::min(40L, ll_list_length(lists_[(length - 200) % kLists]));
    drop_list(s);
    if (length >= 248) return;
    ll_list *list = lists_[s] = ll_create_list();
    if (kind == Kind::Reals) {
      for (double v : in_.numbers(static_cast<int>(n))) {
        zv_rnumber *r = zv_create_rnumber();
        r->value = v;
        ll_add_list_item(list, 1, r, ZV_ITEM_RNUMBER);
      }
      return;
    }
    for (int i = 0; i < n; ++i) {
      zv_poly_3d *v = zv_create_poly_3d();
      const zv_pnt_3d p = in_.point();
      v->index = static_cast<int16_t>(i), v->x = p.x, v->y = p.y, v->z = p.z;
      ll_add_list_item(list, 1, v, ZV_ITEM_POLY);
    }
  }

  // The vertices zv_intcurve_3d would walk for a record (its tessellation,
  // else its control polygon), as a bound on its segment pairs.
  static long segment_pairs(const zv_curve *c) {
    if (!c) return 0;
    return std::max(ll_list_length(c->vertex_list), ll_list_length(c->ctrl_list));
  }
  static constexpr long kMostPairs = 1000000;
  long pairs_left_ = kMostPairs;

  void define_uniform() {
    const int r = in_.pick(kRecords), kind = in_.pick(4);
    ll_list *ctrl = any_list(Kind::Points);
    const double beta1 = in_.real(), beta2 = in_.real();
    zv_curve *made = refusing(in_, [&] { return zvfuzz::define_uniform(kind, ctrl, beta1, beta2); });
    if (made) put(r, made);
  }

  void define_nubspl() {
    const int r = in_.pick(kRecords);
    ll_list *ctrl = any_list(Kind::Points), *knots = any_list(Kind::Reals);
    const int16_t degree = this->degree(), steps = in_.count();
    zv_curve *made = refusing(in_, [&] { return zv_def_nubspl_curve3d(ctrl, knots, degree, steps); });
    if (made) put(r, made);
  }

  // Into the pool record r (null when empty) or a new record put there,
  // which stays whatever the result: a record the definition refused is
  // still a record.
  void define_rational() {
    const int r = in_.pick(kRecords);
    const bool fresh = in_.flag(), nurb = in_.flag();
    ll_list *ctrl = pool(Kind::Points), *knots = pool(Kind::Reals), *weights = pool(Kind::Reals);
    const int16_t degree = this->degree(), steps = in_.count();
    zv_curve *target = fresh ? zv_create_curve() : records_[r];
    refusing(in_, [&] {
      return nurb ? zv_mk_def_nurb_curve3d(ctrl, knots, weights, degree, steps, target)
                  : zv_def_ratbezier_curve3d(ctrl, knots, weights, degree, target);
    });
    if (fresh) put(r, target);
  }

  // One segment from four consecutive control points from position at on
  // (a zero vertex stands in past the end of the list).
  void eval_uniform() {
    zv_curve *c = record();
    const int at = in_.pick(8);
    const double t = in_.real();
    zv_poly_3d stray{};
    zv_poly_3d *seg[4] = {&stray, &stray, &stray, &stray};
    const ll_node *node = c && c->ctrl_list ? c->ctrl_list->head : nullptr;
    for (int i = 0; node && i < at; ++i) node = node->next;
    for (zv_poly_3d *&s : seg)
      if (node) s = static_cast<zv_poly_3d *>(node->data), node = node->next;
    zv_pnt_3d p;
    zv_vector_3d tangent, second, normal;
    zv_eval_t_on_ucurve3d(c, t, seg, &p, &tangent, &second, &normal);
  }

  // Values of a list of reals from its head.
  static std::vector<double> values(const ll_list *list, size_t skip = 0) {
    std::vector<double> out;
    for (const ll_node *node = list ? list->head : nullptr; node; node = node->next)
      if (skip > 0) --skip;
      else out.push_back(static_cast<const zv_rnumber *>(node->data)->value);
    return out;
  }

  // The span of a record's degree p from control point at on: p + 1 points,
  // 2p knots and p + 1 weights (missing weights count as 1), at a parameter
  // inside the span's own interval; skipped when the lists are too short.
  void deboor() {
    const zv_curve *c = record();
    const bool rational = in_.flag();
    const int at = in_.pick(8);
    const double where = in_.byte() / 255.0;
    if (!c || c->degree < 0 || c->degree > ZV_MAX_DEBOOR_DEGREE) return;
    const int p = c->degree;
    std::vector<zv_poly_3d *> points;
    for (const ll_node *node = c->ctrl_list ? c->ctrl_list->head : nullptr; node; node = node->next)
      if (points.size() < static_cast<size_t>(at + p + 1)) points.push_back(static_cast<zv_poly_3d *>(node->data));
    std::vector<double> knots = values(c->knot_list, at), weights = values(c->weight_list, at);
    if (points.size() < static_cast<size_t>(at + p + 1) || knots.size() < static_cast<size_t>(2 * p)) return;
    weights.resize(p + 1, 1.0);
    knots.resize(2 * p + 1);  // never empty, so data() is a real array at p = 0
    const double t = p > 0 ? knots[p - 1] + (knots[p] - knots[p - 1]) * where : where;
    zv_pnt_3d result;
    const auto degree = static_cast<int16_t>(p);
    if (rational) zv_rat_deboor_3d(t, degree, points.data() + at, weights.data(), knots.data(), &result);
    else zv_deboor_3d(t, degree, points.data() + at, knots.data(), &result);
  }

  // The curve through a pool polygon's points (with given parameters and
  // knots from two pool lists, padded with their last value), evaluated at
  // a parameter inside its knot range and released by its C++ owner.
  void fit() {
    const ll_list *polygon = pool(Kind::Points), *params = pool(Kind::Reals), *knots = pool(Kind::Reals);
    const int16_t p = degree(), given = in_.flag(), mode = static_cast<int16_t>(in_.pick(4));
    const double where = in_.byte() / 255.0;
    const int16_t side = in_.flag() ? 1 : -1;
    std::vector<zv_pnt_3d> points;
    for (const zv_poly_3d &v : rivezi3z::ListView<zv_poly_3d>(polygon)) points.push_back({v.x, v.y, v.z});
    const auto n = static_cast<int16_t>(points.size());
    std::vector<double> u = values(params), k = values(knots);
    u.resize(std::max<size_t>(points.size(), 1), u.empty() ? 0.0 : u.back());
    k.resize(static_cast<size_t>(std::max(1, n + p + 1)), k.empty() ? 0.0 : k.back());
    zv_nurbs_3d *made = nullptr;
    refusing(in_, [&] {
      return zv_curve_thru_npoints_3d(points.data(), n, p, given, u.data(), k.data(), mode, &made);
    });
    const rivezi3z::Nurbs owner(made);
    if (!made) return;
    const double lo = made->knots[0], hi = made->knots[made->last_knot], t = lo + (hi - lo) * where;
    zv_pnt_3d q, d1, d2;
    int16_t status;
    zv_eval_pointoncurve_3d(made, t, &q);
    zv_eval_derivsoncurve_3d(made, t, side, 1, &q, &d1, &d2, &status);
  }

  Input &in_;
  zv_curve *records_[kRecords] = {};
  ll_list *lists_[kLists] = {};
  std::vector<ll_list *> retired_;  // pool lists rebuilt while a record still held them
};

inline void run_program(Input &in) { Program(in).run(); }

void fuzz_one(Input &in) { run_program(in); }

}  // namespace zvfuzz
