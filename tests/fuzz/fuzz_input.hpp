// The decoder every fuzz target shares: the fuzzer's bytes become arguments that favour the values the library must
// survive (NaN, infinities, signed zeros, neighbours of the 1e-7 tolerance, huge values, int16 extremes, null
// pointers, lists shorter than stated, knots that fall or repeat, zero and negative weights), and the checks made on
// what a call hands back. Calls run under a refusal budget the input chooses (at most kBudget allocations), which
// drives the refused-memory paths and keeps huge requested outputs finite.
#pragma once

#include <rivezi3z/rivezi3z.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <tuple>
#include <type_traits>

namespace zvfuzz {

constexpr long kBudget = 60000;  // allocations a single call may make before the kernel refuses

// Stops the run: libFuzzer keeps the input that led here.
[[noreturn]] inline void fail(const char *what, long a, long b) {
  std::fprintf(stderr, "%s: %ld against %ld\n", what, a, b);
  std::abort();
}

// One of the four uniform definitions, chosen by kind (0 .. 3).
inline zv_curve *define_uniform(int kind, ll_list *ctrl, double beta1, double beta2) {
  if (kind == 3) return zv_def_ubetaspl_curve3d(ctrl, beta1, beta2);
  return (kind == 0 ? zv_def_ubezier_curve3d : kind == 1 ? zv_def_ubspl_curve3d : zv_def_ucatrom_curve3d)(ctrl);
}

// Appends a new vertex or number to list (nothing when memory is refused).
inline void add_vertex(ll_list *list, int16_t index, zv_pnt_3d p) {
  if (zv_poly_3d *v = zv_create_poly_3d())
    v->index = index, v->x = p.x, v->y = p.y, v->z = p.z, ll_add_list_item(list, 1, v, ZV_ITEM_POLY);
}
inline void add_real(ll_list *list, double value) {
  if (zv_rnumber *r = zv_create_rnumber()) r->value = value, ll_add_list_item(list, 1, r, ZV_ITEM_RNUMBER);
}

// A record's five lists (read by value: the record is packed), none for null.
inline std::array<ll_list *, 5> lists_of(const zv_curve *c) {
  if (!c) return {};
  return {c->ctrl_list, c->knot_list, c->weight_list, c->vertex_list, c->stats_list};
}
// Whether one of the records holds list.
template <class Records>
bool held(const Records &records, const ll_list *list) {
  for (const zv_curve *c : records)
    for (const ll_list *l : lists_of(c))
      if (c && l == list) return true;
  return false;
}

// Every node of a list (or of a record's lists) holds an item, and the nodes are as many as the list counts.
inline void check_list(const ll_list *list) {
  long n = 0;
  for (const ll_node *node = list ? list->head : nullptr; node; node = node->next, ++n)
    if (!node->data) fail("list node without an item", n, 0);
  if (n != ll_list_length(list)) fail("list nodes against its count", n, ll_list_length(list));
}
inline void check_lists(const zv_curve *c) {
  for (const ll_list *list : lists_of(c)) check_list(list);
}

// A count a call wrote back or returned equals what it appended to list (a null list: a private one was used).
inline void check_appended(const ll_list *list, long before, long count) {
  const long appended = ll_list_length(list) - before;
  if (list && appended <= 32767 && count != appended) fail("count against the items appended", count, appended);
}

class Input {
 public:
  Input(const uint8_t *data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }

  uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  bool flag() { return byte() & 1; }
  // A value in 0 .. n - 1.
  int pick(int n) { return n > 0 ? byte() % n : 0; }

  // A count: an edge value, a small one or any int16.
  int16_t count() {
    static constexpr int16_t edges[] = {-32768, -1, 0, 1, 2, 3, 4, 29, 30, 31, 32767};
    const uint8_t b = byte();
    if (b < 64) return edges[b % 11];
    if (b < 200) return static_cast<int16_t>(b % 40);
    return static_cast<int16_t>(byte() | (byte() << 8));
  }

  // A double: an edge value, a small ordinary one or any bit pattern.
  double real() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    static const double edges[] = {std::numeric_limits<double>::quiet_NaN(), inf, -inf, 0.0, -0.0,
                                   1e-7, std::nextafter(1e-7, 0.0), std::nextafter(1e-7, 1.0), -1e-7,
                                   1.0000001, 0.9999999, -0.9999999, 1e300, -1e300, 1e-300,
                                   std::numeric_limits<double>::denorm_min(), 0.5, 1.0, -1.0, 2.0,
                                   6.283185307179586, 1.5707963267948966};
    const uint8_t b = byte();
    if (b < 80) return edges[b % (sizeof edges / sizeof edges[0])];
    if (b < 220) return (static_cast<int>(byte()) - 128) / 16.0;
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(byte()) << (8 * i);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }

  zv_pnt_3d point() { return {real(), real(), real()}; }

  // A pointer to *p, or null.
  template <class T>
  T *maybe(T *p) {
    return byte() < 24 ? nullptr : p;
  }

  // A new vertex list of 0 .. 39 vertices, or null.
  ll_list *polygon() {
    if (byte() < 16) return nullptr;
    ll_list *list = ll_create_list();
    for (int i = pick(40); i > 0 && list; --i) {
      const auto index = static_cast<int16_t>(byte());
      add_vertex(list, index, point());
    }
    return list;
  }

  // n numbers: rising (with repeats), falling, or any.
  std::vector<double> numbers(int n) {
    std::vector<double> out(n > 0 ? n : 0);
    const int shape = pick(3);
    double at = 0.0;
    for (double &v : out) {
      if (shape == 2) v = real();
      else at += byte() < 96 ? 0.0 : (byte() + 1) / 64.0, v = shape == 0 ? at : -at;  // repeats are common
    }
    return out;
  }

  // A new list of 0 .. 39 real numbers (knots or weights), or null.
  ll_list *reals() {
    if (byte() < 16) return nullptr;
    ll_list *list = ll_create_list();
    for (double v : numbers(pick(40))) add_real(list, v);
    return list;
  }

  // The refusal budget for the next call: mostly kBudget, sometimes small.
  long budget() { return byte() < 40 ? pick(64) : kBudget; }

 private:
  const uint8_t *data_;
  size_t size_;
  size_t pos_ = 0;
};

// Runs call under the input's refusal budget.
template <class F>
auto refusing(Input &in, F call) {
  zv_fail_alloc_after(in.budget());
  auto result = call();
  zv_fail_alloc_after(-1);
  return result;
}

// Calls f under the refusal budget on arguments read before it, in order (a braced list is evaluated left to right,
// function arguments are not). A function without a result gives 0.
template <class R, class... A>
auto call(Input &in, R (*f)(A...), std::tuple<A...> args) {
  return refusing(in, [&] {
    if constexpr (std::is_void_v<R>) return std::apply(f, args), 0;
    else return std::apply(f, args);
  });
}

template <class T>
struct Tag {};

// The arguments of the functions a target calls, decoded by their type: a count, real, point or mode byte as Input
// reads them; a pointer to a new one (or null); arrays as long as any degree or record needs; a new vertex list; a
// record (null, one made before, or one from any definition or bare with the input's lists, then fields changed or
// lists taken away). All lives to the end of the input, when the lists are checked and released.
class Calls {
 public:
  explicit Calls(Input &in) : in_(in) {}
  Calls(const Calls &) = delete;
  ~Calls() {
    for (const ll_list *list : lists_) check_list(list);
    for (const zv_curve *c : records_) check_lists(c);
    for (ll_list *list : lists_)
      if (!held(records_, list)) ll_purge_list(list);
    for (zv_curve *c : records_) zv_purge_curve(c);
  }

  // Calls one of fs, chosen by the input; a callable taking Calls & decodes for itself.
  template <class... F>
  void one_of(F... fs) {
    int chosen = in_.pick(sizeof...(F)), i = 0;
    ((i++ == chosen ? run(fs) : void()), ...);
  }
  // The result of f on decoded arguments, and the arguments.
  template <class R, class... A>
  auto call(R (*f)(A...)) {
    std::tuple<A...> args{get(Tag<A>{})...};
    return std::pair{zvfuzz::call(in_, f, args), args};
  }
  // Items appended to list since it was decoded.
  long appended(const ll_list *list) { return ll_list_length(list) - before_[list]; }
  // A count written back (when written) equals the items appended to list.
  void counted(bool written, const int16_t *count, const ll_list *list) {
    if (written && count) check_appended(list, before_[list], *count);
  }

 private:
  static constexpr int kArray = ZV_MAX_DEBOOR_DEGREE + 1;

  template <class F>
  void run(F f) {
    if constexpr (std::is_invocable_v<F, Calls &>) f(*this);
    else call(f);
  }
  template <class T>
  T *keep(T value) {
    kept_.push_back(std::make_shared<T>(std::move(value)));
    return static_cast<T *>(kept_.back().get());
  }
  ll_list *own(ll_list *list) {
    if (list && std::count(lists_.begin(), lists_.end(), list) == 0) lists_.push_back(list);
    return list;
  }

  int16_t get(Tag<int16_t>) { return in_.count(); }
  uint8_t get(Tag<uint8_t>) { return in_.byte(); }
  double get(Tag<double>) { return in_.real(); }
  zv_pnt_3d get(Tag<zv_pnt_3d>) { return in_.point(); }
  zv_vector_3d get(Tag<zv_vector_3d>) { return {}; }
  zv_arc_2d get(Tag<zv_arc_2d>) {
    zv_arc_2d arc{};
    std::apply(zv_set_arc_2d, std::tuple<double, double, double, int16_t, double, double, zv_arc_2d *>{
                                  in_.real(), in_.real(), in_.real(), in_.count(), in_.real(), in_.real(), &arc});
    return arc;
  }
  template <class T>
  T *get(Tag<T *>) {
    return in_.maybe(keep(get(Tag<std::remove_const_t<T>>{})));
  }
  // Knots or weights of a span: as many numbers as the input gives, then zeros.
  const double *get(Tag<const double *>) {
    std::vector<double> *v = keep(in_.numbers(in_.pick(2 * kArray)));
    v->resize(2 * kArray);
    return in_.maybe(v->data());
  }
  // Control points of a span: the input's vertices (or null), then a zero one.
  zv_poly_3d *const *get(Tag<zv_poly_3d *const *>) {
    auto *points = keep(std::vector<zv_poly_3d *>(kArray, keep(zv_poly_3d{})));
    for (int i = in_.pick(kArray); i > 0; --i) {
      const zv_pnt_3d p = in_.point();
      (*points)[i - 1] = in_.byte() < 8 ? nullptr : keep(zv_poly_3d{0, p.x, p.y, p.z});
    }
    return in_.maybe(points->data());
  }
  // Four segment entries from the last record's polygon, a stray vertex or null.
  zv_poly_3d **get(Tag<zv_poly_3d **>) {
    auto *seg = keep(std::array<zv_poly_3d *, 4>{});
    seg->fill(keep(zv_poly_3d{}));
    const ll_node *node = last_ && last_->ctrl_list ? last_->ctrl_list->head : nullptr;
    for (zv_poly_3d *&s : *seg)
      if (node && in_.flag()) s = static_cast<zv_poly_3d *>(node->data), node = node->next;
      else if (in_.byte() < 32) s = nullptr;
    return in_.maybe(seg->data());
  }
  // An array-form record with any field values, over arrays as long as it states.
  zv_nurbs_3d get(Tag<zv_nurbs_3d>) {
    zv_nurbs_3d rec{};
    rec.last_ctrl = in_.count(), rec.last_knot = in_.count(), rec.degree = in_.count();
    if (in_.flag()) rec.last_knot = static_cast<int16_t>(rec.last_ctrl + rec.degree + 1);
    rec.plain = in_.pick(3) - 1, rec.planar = in_.flag(), rec.dim = in_.count();
    const long points = rec.last_ctrl >= 0 ? rec.last_ctrl + 1L : 1L;
    const long knots = rec.last_knot >= 0 ? rec.last_knot + 1L : 1L;
    // The evaluators refuse a dim outside 2..4 before reading any point.
    auto *ctrl = keep(std::vector<double>(std::max(1L, points * (rec.dim >= 1 && rec.dim <= 4 ? rec.dim : 0))));
    for (size_t i = 0; i < ctrl->size() && !in_.empty(); ++i) (*ctrl)[i] = in_.real();
    std::vector<double> *knot = keep(in_.numbers(static_cast<int>(knots)));
    knot->resize(knots);
    rec.ctrl_pts = in_.maybe(ctrl->data()), rec.knots = in_.maybe(knot->data());
    return rec;
  }
  ll_list *get(Tag<ll_list *>) {
    ll_list *list = own(in_.polygon());
    before_[list] = ll_list_length(list);
    return list;
  }
  zv_curve *get(Tag<zv_curve *>) {
    const uint8_t b = in_.byte();
    if (b < 24 || (b < 96 && !records_.empty())) return last_ = b < 24 ? nullptr : records_[b % records_.size()];
    ll_list *ctrl = get(Tag<ll_list *>{}), *knots = own(in_.reals()), *weights = own(in_.reals());
    const int kind = in_.pick(8);
    zv_curve *c = kind < 4    ? zvfuzz::call(in_, define_uniform, {kind, ctrl, in_.real(), in_.real()})
                  : kind == 4 ? zvfuzz::call(in_, zv_def_nubspl_curve3d, {ctrl, knots, in_.count(), in_.count()})
                              : zv_create_curve();
    if (!c) return last_ = nullptr;
    records_.push_back(c);
    if (kind == 5) zvfuzz::call(in_, zv_mk_def_nurb_curve3d, {ctrl, knots, weights, in_.count(), in_.count(), c});
    if (kind == 6) zvfuzz::call(in_, zv_def_ratbezier_curve3d, {ctrl, knots, weights, in_.count(), c});
    if (kind == 7) {  // the input's lists in the slots: the record owns them from here
      for (ll_list *list : lists_of(c)) ll_purge_list(list);
      for (ll_list *list : {ctrl, knots, weights})
        lists_.erase(std::remove(lists_.begin(), lists_.end(), list), lists_.end());
      c->ctrl_list = ctrl, c->knot_list = knots, c->weight_list = weights, c->stats_list = nullptr;
      c->vertex_list = in_.polygon();
      static constexpr int16_t kinds[] = {ZV_CURVE_NURB, ZV_CURVE_NUBSPLINE, ZV_CURVE_UBEZIER, ZV_CURVE_RATBEZIER};
      c->type = kinds[in_.pick(4)], c->degree = static_cast<int16_t>(in_.pick(5));
    }
    if (in_.byte() < 32) c->type = in_.count();
    if (in_.byte() < 32) c->degree = in_.count();
    if (in_.byte() < 32) c->span_steps = in_.count();
    if (in_.byte() < 16) own(c->ctrl_list), c->ctrl_list = nullptr;  // lists the caller took away
    if (in_.byte() < 16) own(c->vertex_list), c->vertex_list = nullptr;
    return last_ = c;
  }

  Input &in_;
  std::vector<ll_list *> lists_;
  std::vector<zv_curve *> records_;
  zv_curve *last_ = nullptr;
  std::map<const ll_list *, long> before_;
  std::vector<std::shared_ptr<void>> kept_;
};

}  // namespace zvfuzz
