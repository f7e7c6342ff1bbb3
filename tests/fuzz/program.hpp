// A stateful fuzz program: up to 64 steps over a pool of four curve records and six lists (three polygons, three knot
// or weight lists), so that what one function makes is the next one's input or output and records are released in
// any order. Rational definitions borrow pool lists, so a record's slots that hold one are cleared before it is
// purged; the lists go last. After every step the lists in reach must hold as many nodes as they count.
// Encoding: per step an opcode byte (modulo kOps), then the operands in the order the step reads them; every library
// call then reads its refusal budget (a byte of 40 or more: none). Bytes 100, 128 + 16 v read the real v (a multiple
// of 1/16 in [-8, 8)), 80 + c the count c < 40. The seeds in corpus/program/ were written by hand in this encoding and
// are kept as committed: seedNN reach every operation with valid inputs; fault-* and found-* (as the fuzzer found
// them) reach faults of the ownership rules that tests/reliability/program_regression_test.cpp replays.
#pragma once

#include "fuzz_input.hpp"

namespace zvfuzz {

class Program {
 public:
  static constexpr int kRecords = 4, kLists = 6, kSteps = 64;
  enum Op {
    kMakeList, kDefineUniform, kDefineNubspl, kDefineRational, kTessellateUniform, kTessellateNubspl,
    kTessellateNurb, kTessellateRatBezier, kEvalUniform, kDeBoor, kConvert, kSplit, kFit, kIntersect,
    kRelease, kCreate, kOps
  };

  explicit Program(Input &in) : in_(in) {}
  Program(const Program &) = delete;
  ~Program() {
    for (int r = 0; r < kRecords; ++r) drop_record(r);
    for (ll_list *list : lists_) ll_purge_list(list);
    for (ll_list *list : retired_) ll_purge_list(list);
  }

  void run() {
    for (int step = 0; step < kSteps && !in_.empty(); ++step) {
      this->step(in_.pick(kOps));
      for (const ll_list *list : lists_) check_list(list);
      for (const zv_curve *c : records_) check_lists(c);
    }
  }

 private:
  static constexpr int kPerKind = kLists / 2;  // pool lists 0 .. 2 hold points, 3 .. 5 reals
  static constexpr bool kPoints = true, kReals = false;

  template <class R, class... A>
  auto call(R (*f)(A...), std::tuple<A...> args) { return zvfuzz::call(in_, f, args); }

  void step(int op) {
    int r = 0, a = 0;
    switch (op) {
      case kMakeList: return make_list();
      case kDefineUniform:
        r = in_.pick(kRecords);
        return keep(r, call(define_uniform, {in_.pick(4), any_list(kPoints), in_.real(), in_.real()}));
      case kDefineNubspl:
        r = in_.pick(kRecords);
        return keep(r, call(zv_def_nubspl_curve3d, {any_list(kPoints), any_list(kReals), degree(), in_.count()}));
      case kDefineRational: return define_rational();
      case kTessellateUniform: return (void)call(zv_mk_ucurve3d, {record(), in_.real()});
      case kTessellateNubspl: return (void)call(zv_mk_nubspline_3d, {record(), in_.count(), in_.count()});
      case kTessellateNurb:
        return (void)call(zv_mk_nurb_curve3d, {record(), in_.count(), in_.count(), in_.count(), in_.count()});
      case kTessellateRatBezier: return (void)call(zv_mk_rat_bezier_3d, {record(), degree()});
      case kEvalUniform: return eval_uniform();
      case kDeBoor: return deboor();
      case kConvert: {
        a = in_.pick(kRecords), r = (a + 1 + in_.pick(kRecords - 1)) % kRecords;
        const auto convert = in_.flag() ? zv_rat_bspl_to_bezier_curve3d : zv_bspl_to_bezier_curve3d;
        return (void)call(convert, {records_[a], output(r)});
      }
      case kSplit: {
        a = in_.pick(kRecords), r = in_.pick(kRecords);
        const int c = in_.pick(kRecords);
        const auto split = in_.flag() ? zv_sub_ratbezier_curve3d : zv_sub_bezier_curve3d;
        return (void)call(split, {records_[a], in_.real(), output(r), output(c)});
      }
      case kFit: return fit();
      case kIntersect: return intersect();
      case kRelease: return drop_record(in_.pick(kRecords));
      default: r = in_.pick(kRecords), put(r, refusing(in_, [] { return zv_create_curve(); }));
    }
  }

  zv_curve *record() { return records_[in_.pick(kRecords)]; }
  // A record to write into; an empty slot gets a new record first.
  zv_curve *output(int r) { return records_[r] ? records_[r] : (records_[r] = zv_create_curve()); }
  ll_list *pool(bool points) { return lists_[(points ? 0 : kPerKind) + in_.pick(kPerKind)]; }
  // A pool list, or a record's own list of that kind (control or vertex; knot or weight).
  ll_list *any_list(bool points) {
    const int s = in_.pick(kPerKind + 2), r = in_.pick(kRecords);
    const zv_curve *c = records_[r];
    if (s < kPerKind) return lists_[(points ? 0 : kPerKind) + s];
    if (!c) return nullptr;
    return points ? (s == kPerKind ? c->ctrl_list : c->vertex_list) : (s == kPerKind ? c->knot_list : c->weight_list);
  }
  // A degree: 0 .. 16 mostly, else any count.
  int16_t degree() {
    const uint8_t b = in_.byte();
    return b < 240 ? static_cast<int16_t>(b % 17) : in_.count();
  }

  bool pool_list(const ll_list *list) const {
    return std::count(lists_, lists_ + kLists, list) + std::count(retired_.begin(), retired_.end(), list) > 0;
  }
  // A pool list that a record still borrows is kept until the end.
  void drop_list(int s) {
    ll_list *old = std::exchange(lists_[s], nullptr);
    if (old && held(records_, old)) retired_.push_back(old);
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
  void put(int r, zv_curve *c) { drop_record(r), records_[r] = c; }
  void keep(int r, zv_curve *made) { made ? put(r, made) : void(); }

  // Rebuilds pool list s with 0 .. 40 items, or as many as pool list k held
  // (length 200 + k), or none (length 248 and above: null).
  void make_list() {
    const int s = in_.pick(kLists);
    const uint8_t length = in_.byte();
    const long n = length < 200 ? length % 41 : std::min(40L, ll_list_length(lists_[(length - 200) % kLists]));
    drop_list(s);
    if (length >= 248) return;
    ll_list *list = lists_[s] = ll_create_list();
    if (s >= kPerKind)
      for (double v : in_.numbers(static_cast<int>(n))) add_real(list, v);
    else
      for (int i = 0; i < n; ++i) add_vertex(list, static_cast<int16_t>(i), in_.point());
  }

  // Into record r (null when empty) or a new record put there, which stays
  // whatever the result: a record the definition refused is still a record.
  void define_rational() {
    const int r = in_.pick(kRecords);
    const bool fresh = in_.flag(), nurb = in_.flag();
    ll_list *ctrl = pool(kPoints), *knots = pool(kReals), *weights = pool(kReals);
    const int16_t degree = this->degree(), steps = in_.count();
    zv_curve *target = fresh ? zv_create_curve() : records_[r];
    if (nurb) call(zv_mk_def_nurb_curve3d, {ctrl, knots, weights, degree, steps, target});
    else call(zv_def_ratbezier_curve3d, {ctrl, knots, weights, degree, target});
    if (fresh) put(r, target);
  }

  // Polylines whose every segment pair's boxes meet (long tessellations piled on one spot), and any pair once the
  // working memory is refused, cost time in proportion to their segment pairs, seconds under the sanitizers: a program
  // gets a budget of pairs for all its intersections; longer ones are left to the intersection target, whose inputs
  // are short. The result is the crossings appended, wrapping past int16.
  void intersect() {
    zv_curve *a = record(), *b = record();
    ll_list *out = pool(kPoints);
    auto walked = [](const zv_curve *c) {  // the vertices the intersection walks
      return c ? std::max(ll_list_length(c->vertex_list), ll_list_length(c->ctrl_list)) : 0;
    };
    const long pairs = walked(a) * walked(b), before = ll_list_length(out);
    if (pairs > pairs_left_) return;
    pairs_left_ -= pairs;
    const int16_t found = call(zv_intcurve_3d, {a, b, out});
    if (out && static_cast<int16_t>(ll_list_length(out) - before) != found)
      fail("crossings returned against appended", found, ll_list_length(out) - before);
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

  // Values of a list of reals, from its head on.
  static std::vector<double> values(const ll_list *list, size_t skip = 0) {
    std::vector<double> out;
    for (const zv_rnumber &r : rivezi3z::ListView<zv_rnumber>(list))
      if (skip > 0) --skip;
      else out.push_back(r.value);
    return out;
  }

  // The span of a record's degree p from control point at on: p + 1 points, 2p knots and p + 1 weights (missing ones
  // count as 1), at a parameter inside the span's own interval; skipped when the lists are too short.
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

  // The curve through a pool polygon's points (given parameters and knots from pool lists, padded with their last
  // value), evaluated at a parameter inside its knot range and released by its C++ owner.
  void fit() {
    const ll_list *polygon = pool(kPoints), *params = pool(kReals), *knots = pool(kReals);
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
    call(zv_curve_thru_npoints_3d, {points.data(), n, p, given, u.data(), k.data(), mode, &made});
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
  long pairs_left_ = 1000000;       // segment pairs the program's intersections may still walk
};

inline void run_program(Input &in) { Program(in).run(); }

}  // namespace zvfuzz
