// Fuzz programs: up to 64 steps over a pool of four curve records and six lists (three polygons, three knot or weight
// lists), so that what one function makes is the next one's input or output and records are released in any order.
// Values favour what the library must survive (NaN, infinities, signed zeros, neighbours of the 1e-7 tolerance, huge
// values, int16 extremes, knots that fall or repeat); each call runs under a refusal budget the input chooses. After
// every step the lists in reach must hold as many nodes as they count. Encoding: per step an opcode byte (modulo
// kOps), the operands in the order the step reads them and per library call its budget (a byte of 40 or more: none);
// bytes 100, 128 + 16 v read the real v (a multiple of 1/16 in [-8, 8)), 80 + c the count c < 40. corpus/program/ keeps
// seeds written by hand (seedNN reach every operation) and the faults found (found-*, fault-*), which
// tests/reliability/program_regression_test.cpp replays.
#pragma once

#include <rivezi3z/rivezi3z.hpp>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <tuple>

namespace zvfuzz {

[[noreturn]] inline void fail(const char *what, long a, long b) {  // libFuzzer keeps the input that led here
  std::fprintf(stderr, "%s: %ld against %ld\n", what, a, b);
  std::abort();
}
inline void check_list(const ll_list *list) {  // every node holds an item, as many nodes as the list counts
  long n = 0;
  for (const ll_node *node = list ? list->head : nullptr; node; node = node->next, ++n)
    if (!node->data) fail("list node without an item", n, 0);
  if (n != ll_list_length(list)) fail("list nodes against its count", n, ll_list_length(list));
}
inline std::vector<ll_list *> lists_of(const zv_curve *c) {  // read by value: the record is packed
  if (!c) return {};
  return {c->ctrl_list, c->knot_list, c->weight_list, c->vertex_list, c->stats_list};
}

class Input {
 public:
  Input(const uint8_t *data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }
  uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  bool flag() { return byte() & 1; }
  int pick(int n) { return n > 0 ? byte() % n : 0; }  // a value in 0 .. n - 1
  int16_t count() {  // an edge value, a small one or any int16
    static constexpr int16_t edges[] = {-32768, -1, 0, 1, 2, 3, 4, 29, 30, 31, 32767};
    const uint8_t b = byte();
    if (b < 64) return edges[b % 11];
    if (b < 200) return static_cast<int16_t>(b % 40);
    return static_cast<int16_t>(byte() | (byte() << 8));
  }
  double real() {  // an edge value, a small ordinary one or any bit pattern
    constexpr double inf = std::numeric_limits<double>::infinity();
    static const double edges[] = {std::numeric_limits<double>::quiet_NaN(), inf, -inf, 0.0, -0.0, 1e-7,
                                   std::nextafter(1e-7, 0.0), std::nextafter(1e-7, 1.0), -1e-7, 1.0000001, 0.9999999,
                                   -0.9999999, 1e300, -1e300, 1e-300, std::numeric_limits<double>::denorm_min(), 0.5,
                                   1.0, -1.0, 2.0, 6.283185307179586, 1.5707963267948966};
    const uint8_t b = byte();
    if (b < 80) return edges[b % (sizeof edges / sizeof edges[0])];
    if (b < 220) return (static_cast<int>(byte()) - 128) / 16.0;
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(byte()) << (8 * i);
    return std::bit_cast<double>(bits);
  }
  zv_pnt_3d point() { return {real(), real(), real()}; }
  std::vector<double> numbers(int n) {  // rising (with repeats, which are common), falling, or any
    std::vector<double> out(n > 0 ? n : 0);
    const int shape = pick(3);
    double x = 0.0;
    for (double &v : out) v = shape == 2 ? real() : (x += byte() < 96 ? 0.0 : (byte() + 1) / 64.0, shape ? -x : x);
    return out;
  }
  long budget() { return byte() < 40 ? pick(64) : 60000; }  // allocations the next call may make before a refusal

 private:
  const uint8_t *data_;
  size_t size_;
  size_t pos_ = 0;
};

// Calls f under the input's refusal budget on arguments read before it, in order (a braced list is evaluated left to
// right, function arguments are not). A function without a result gives 0.
template <class R, class... A>
auto call(Input &in, R (*f)(A...), std::tuple<A...> args) {
  zv_fail_alloc_after(in.budget());
  const struct Lift {  // the budget ends with the call
    ~Lift() { zv_fail_alloc_after(-1); }
  } lift;
  if constexpr (std::is_void_v<R>) return std::apply(f, args), 0;
  else return std::apply(f, args);
}

inline zv_curve *define_uniform(int kind, ll_list *ctrl, double beta1, double beta2) {  // kind 0 .. 3
  if (kind == 3) return zv_def_ubetaspl_curve3d(ctrl, beta1, beta2);
  return (kind == 0 ? zv_def_ubezier_curve3d : kind == 1 ? zv_def_ubspl_curve3d : zv_def_ucatrom_curve3d)(ctrl);
}

// Rational definitions borrow pool lists, so a record's slots that hold one are cleared before it is purged.
class Program {
 public:
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
      for (const zv_curve *c : records_)
        for (const ll_list *list : lists_of(c)) check_list(list);
    }
  }

 private:
  static constexpr int kRecords = 4, kLists = 6, kPerKind = 3, kSteps = 64;  // pool lists 0 .. 2 points, 3 .. 5 reals
  enum Op { kMakeList, kDefineUniform, kDefineNubspl, kDefineRational, kTessellateUniform, kTessellateNubspl,
            kTessellateNurb, kTessellateRatBezier, kEvalUniform, kDeBoor, kConvert, kSplit, kFit, kIntersect,
            kRelease, kCreate, kOps };

  template <class R, class... A>
  auto call(R (*f)(A...), std::tuple<A...> args) { return zvfuzz::call(in_, f, args); }

  void step(int op) {
    int r = 0, a = 0;
    switch (op) {
      case kMakeList: return make_list();
      case kDefineUniform:
        r = in_.pick(kRecords);
        return keep(r, call(define_uniform, {in_.pick(4), any_list(true), in_.real(), in_.real()}));
      case kDefineNubspl:
        r = in_.pick(kRecords);
        return keep(r, call(zv_def_nubspl_curve3d, {any_list(true), any_list(false), degree(), in_.count()}));
      case kDefineRational: return define_rational();
      case kTessellateUniform: return (void)call(zv_mk_ucurve3d, {record(), in_.real()});
      case kTessellateNubspl: return (void)call(zv_mk_nubspline_3d, {record(), in_.count(), in_.count()});
      case kTessellateNurb:
        return (void)call(zv_mk_nurb_curve3d, {record(), in_.count(), in_.count(), in_.count(), in_.count()});
      case kTessellateRatBezier: return (void)call(zv_mk_rat_bezier_3d, {record(), degree()});
      case kEvalUniform: return eval_uniform();
      case kDeBoor: return deboor();
      case kConvert:  // into another record
        a = in_.pick(kRecords), r = (a + 1 + in_.pick(kRecords - 1)) % kRecords;
        return (void)call(in_.flag() ? zv_rat_bspl_to_bezier_curve3d : zv_bspl_to_bezier_curve3d,
                          {records_[a], output(r)});
      case kSplit: {
        a = in_.pick(kRecords), r = in_.pick(kRecords);
        const int c = in_.pick(kRecords);
        const auto split = in_.flag() ? zv_sub_ratbezier_curve3d : zv_sub_bezier_curve3d;
        return (void)call(split, {records_[a], in_.real(), output(r), output(c)});
      }
      case kFit: return fit();
      case kIntersect: return intersect();
      case kRelease: return drop_record(in_.pick(kRecords));
      default: r = in_.pick(kRecords), put(r, call(zv_create_curve, {}));
    }
  }

  zv_curve *record() { return records_[in_.pick(kRecords)]; }
  // A record to write into; an empty slot gets a new record first.
  zv_curve *output(int r) { return records_[r] ? records_[r] : (records_[r] = zv_create_curve()); }
  ll_list *pool(bool points) { return lists_[(points ? 0 : kPerKind) + in_.pick(kPerKind)]; }
  ll_list *any_list(bool points) {  // a pool list, or a record's control or vertex (knot or weight) list
    const int s = in_.pick(kPerKind + 2), r = in_.pick(kRecords);
    const zv_curve *c = records_[r];
    if (s < kPerKind) return lists_[(points ? 0 : kPerKind) + s];
    if (!c) return nullptr;
    return points ? (s == kPerKind ? c->ctrl_list : c->vertex_list) : (s == kPerKind ? c->knot_list : c->weight_list);
  }
  int16_t degree() {  // 0 .. 16 mostly, else any count
    const uint8_t b = in_.byte();
    return b < 240 ? static_cast<int16_t>(b % 17) : in_.count();
  }

  bool pool_list(const ll_list *list) const {
    return std::count(lists_, lists_ + kLists, list) + std::count(retired_.begin(), retired_.end(), list) > 0;
  }
  void drop_list(int s) {  // a pool list that a record still borrows is kept until the end
    ll_list *old = std::exchange(lists_[s], nullptr);
    bool held = false;
    for (const zv_curve *c : records_)
      for (const ll_list *list : lists_of(c)) held = held || (old && list == old);
    held ? retired_.push_back(old) : ll_purge_list(old);
  }
  void drop_record(int r) {  // purged once the slots that hold pool lists are cleared
    zv_curve *c = std::exchange(records_[r], nullptr);
    if (!c) return;
    auto own = [&](ll_list *list) { return pool_list(list) ? nullptr : list; };
    c->weight_list = own(c->weight_list), c->knot_list = own(c->knot_list), c->ctrl_list = own(c->ctrl_list);
    c->vertex_list = own(c->vertex_list), c->stats_list = own(c->stats_list);
    zv_purge_curve(c);
  }
  void put(int r, zv_curve *c) { drop_record(r), records_[r] = c; }
  void keep(int r, zv_curve *made) { made ? put(r, made) : void(); }

  // Rebuilds pool list s with 0 .. 40 items, as many as pool list k held (length 200 + k), or none (248 and above).
  void make_list() {
    const int s = in_.pick(kLists);
    const uint8_t length = in_.byte();
    const long n = length < 200 ? length % 41 : std::min(40L, ll_list_length(lists_[(length - 200) % kLists]));
    drop_list(s);
    if (length >= 248) return;
    ll_list *list = lists_[s] = ll_create_list();
    for (double v : s >= kPerKind ? in_.numbers(static_cast<int>(n)) : std::vector<double>{})
      if (zv_rnumber *r = zv_create_rnumber()) r->value = v, ll_add_list_item(list, 1, r, ZV_ITEM_RNUMBER);
    for (int16_t i = 0; s < kPerKind && i < n; ++i)
      if (const zv_pnt_3d p = in_.point(); zv_poly_3d *v = zv_create_poly_3d())
        *v = {i, p.x, p.y, p.z}, ll_add_list_item(list, 1, v, ZV_ITEM_POLY);
  }

  void define_rational() {  // into record r (or null) or a new record put there, which stays whatever the result
    const int r = in_.pick(kRecords);
    const bool fresh = in_.flag(), nurb = in_.flag();
    ll_list *ctrl = pool(true), *knots = pool(false), *weights = pool(false);
    const int16_t degree = this->degree(), steps = in_.count();
    zv_curve *target = fresh ? zv_create_curve() : records_[r];
    if (nurb) call(zv_mk_def_nurb_curve3d, {ctrl, knots, weights, degree, steps, target});
    else call(zv_def_ratbezier_curve3d, {ctrl, knots, weights, degree, target});
    if (fresh) put(r, target);
  }

  // Polylines whose every segment pair's boxes meet, and any pair once the working memory is refused, cost time by
  // segment pairs: a program has a budget of pairs for all its intersections. The result wraps past int16.
  void intersect() {
    zv_curve *a = record(), *b = record();
    ll_list *out = pool(true);
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

  static std::vector<zv_poly_3d *> points(const zv_curve *c, int at, size_t n) {  // up to n control points from at on
    std::vector<zv_poly_3d *> out;
    for (zv_poly_3d &v : rivezi3z::ListView<zv_poly_3d>(c ? c->ctrl_list : nullptr))
      if (at-- <= 0 && out.size() < n) out.push_back(&v);
    return out;
  }
  static std::vector<double> values(const ll_list *list, size_t skip = 0) {  // a list's reals from item skip on
    std::vector<double> out;
    for (const zv_rnumber &r : rivezi3z::ListView<zv_rnumber>(list)) skip > 0 ? void(--skip) : out.push_back(r.value);
    return out;
  }

  void eval_uniform() {  // a segment of four control points from at on, zero vertices past the end
    zv_curve *c = record();
    const int at = in_.pick(8);
    const double t = in_.real();
    zv_poly_3d stray{};
    std::vector<zv_poly_3d *> seg = points(c, at, 4);
    seg.resize(4, &stray);
    zv_pnt_3d p;
    zv_vector_3d frame[3];
    zv_eval_t_on_ucurve3d(c, t, seg.data(), &p, &frame[0], &frame[1], &frame[2]);
  }

  // The span of a record's degree p from control point at on: p + 1 points, 2p knots and p + 1 weights (missing ones
  // count as 1), at a parameter inside the span's own interval; skipped when the lists are too short.
  void deboor() {
    const zv_curve *c = record();
    const bool rational = in_.flag();
    const int at = in_.pick(8);
    const double where = in_.byte() / 255.0;
    if (!c || c->degree < 0 || c->degree > ZV_MAX_DEBOOR_DEGREE) return;
    const auto p = static_cast<int16_t>(c->degree);
    const std::vector<zv_poly_3d *> span = points(c, at, p + 1);
    std::vector<double> knots = values(c->knot_list, at), weights = values(c->weight_list, at);
    if (span.size() < static_cast<size_t>(p + 1) || knots.size() < static_cast<size_t>(2 * p)) return;
    weights.resize(p + 1, 1.0);
    knots.resize(2 * p + 1);  // never empty, so data() is a real array at p = 0
    const double t = p > 0 ? knots[p - 1] + (knots[p] - knots[p - 1]) * where : where;
    zv_pnt_3d result;
    if (rational) zv_rat_deboor_3d(t, p, span.data(), weights.data(), knots.data(), &result);
    else zv_deboor_3d(t, p, span.data(), knots.data(), &result);
  }

  // The curve through a pool polygon's points (given parameters and knots from pool lists, padded with their last
  // value), evaluated at a parameter inside its knot range and released by its C++ owner.
  void fit() {
    const ll_list *polygon = pool(true), *params = pool(false), *knots = pool(false);
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
    zv_pnt_3d q[3];
    int16_t status;
    zv_eval_pointoncurve_3d(made, t, &q[0]);
    zv_eval_derivsoncurve_3d(made, t, side, 1, &q[0], &q[1], &q[2], &status);
  }

  Input &in_;
  zv_curve *records_[kRecords] = {};
  ll_list *lists_[kLists] = {};
  std::vector<ll_list *> retired_;  // pool lists rebuilt while a record still held them
  long pairs_left_ = 1000000;       // segment pairs the program's intersections may still walk
};

inline void run_program(Input &in) { Program(in).run(); }

}  // namespace zvfuzz
