/*
 * rivezi3z.hpp - a header-only C++17 layer over the C interface.
 *
 * Everything here is inline and calls the C functions directly; it adds no
 * allocation of its own. What it adds is ownership and typing:
 *
 *  - rivezi3z::List<T> owns a kernel list (ll_purge_list on destruction) and
 *    walks its items with range-for; ListView<T> walks a list it does not own.
 *  - rivezi3z::Curve owns a zv_curve record (zv_purge_curve on destruction).
 *  - rivezi3z::Nurbs owns an array-form zv_nurbs_3d record (the three
 *    zv_free calls on destruction).
 *  - rivezi3z::Status carries a result code and must not be ignored.
 *
 * Owners are move-only; moving leaves the source empty. release() hands the
 * raw pointer back to the caller, who then releases it with the C function.
 *
 * Example:
 * @code
 *   rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(points);
 *   rivezi3z::Curve curve = rivezi3z::define_ubspline(ctrl);
 *   if (curve && curve.tessellate_uniform(0.25))
 *     for (const zv_poly_3d &v : curve.vertices()) std::printf("%f\n", v.x);
 * @endcode
 */
#ifndef RIVEZI3Z_RIVEZI3Z_HPP
#define RIVEZI3Z_RIVEZI3Z_HPP

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>
#if __cplusplus >= 202002L
#include <span>
#endif

#include "rivezi3z.h"

namespace rivezi3z {

/**
 * A result code of the C interface: 0 is success, every other value is the
 * code the called function documents (-1: memory refused).
 */
class [[nodiscard]] Status {
 public:
  constexpr Status() noexcept = default;
  constexpr explicit Status(int16_t code) noexcept : code_(code) {}
  /** True for result 0. */
  constexpr bool ok() const noexcept { return code_ == 0; }
  /** True for result 0, so `if (curve.tessellate_uniform(0.1))` reads naturally. */
  constexpr explicit operator bool() const noexcept { return ok(); }
  /** The code itself, as the C function's documentation lists it. */
  constexpr int16_t code() const noexcept { return code_; }
  /** True when the kernel refused memory (-1). */
  constexpr bool memory_refused() const noexcept { return code_ == -1; }
  friend constexpr bool operator==(Status a, Status b) noexcept { return a.code_ == b.code_; }
  friend constexpr bool operator!=(Status a, Status b) noexcept { return a.code_ != b.code_; }

 private:
  int16_t code_ = 0;
};

/** A value with the status of the call that made it (see fit()). */
template <class T>
struct [[nodiscard]] Result {
  T value;
  Status status;
  explicit operator bool() const noexcept { return status.ok(); }
};

/** The kernel tag and constructor of each item record a list may hold. */
template <class T>
struct Item;
template <>
struct Item<zv_poly_3d> {
  static constexpr int16_t tag = ZV_ITEM_POLY;
  static zv_poly_3d *create() noexcept { return zv_create_poly_3d(); }
};
template <>
struct Item<zv_rnumber> {
  static constexpr int16_t tag = ZV_ITEM_RNUMBER;
  static zv_rnumber *create() noexcept { return zv_create_rnumber(); }
};
template <>
struct Item<zv_curve_stats_3d> {
  static constexpr int16_t tag = ZV_ITEM_PLAIN;
  static zv_curve_stats_3d *create() noexcept { return zv_create_curve_stats_3d(); }
};

/**
 * Forward iterator over the items of a list, head to tail, by following the
 * nodes (the list's cursor is not moved). Items are packed records: read
 * and write their fields by value, never bind a reference to a field.
 */
template <class T>
class ListIterator {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = T;
  using difference_type = std::ptrdiff_t;
  using pointer = T *;
  using reference = T &;

  constexpr ListIterator() noexcept = default;
  constexpr explicit ListIterator(const ll_node *node) noexcept : node_(node) {}
  T &operator*() const noexcept { return *static_cast<T *>(node_->data); }
  T *operator->() const noexcept { return static_cast<T *>(node_->data); }
  ListIterator &operator++() noexcept {
    node_ = node_->next;
    return *this;
  }
  ListIterator operator++(int) noexcept {
    ListIterator old = *this;
    node_ = node_->next;
    return old;
  }
  friend bool operator==(ListIterator a, ListIterator b) noexcept { return a.node_ == b.node_; }
  friend bool operator!=(ListIterator a, ListIterator b) noexcept { return a.node_ != b.node_; }

 private:
  const ll_node *node_ = nullptr;
};

/** A non-owning view of a list's items; a null list views as empty. */
template <class T>
class ListView {
 public:
  constexpr explicit ListView(const ll_list *list) noexcept : list_(list) {}
  ListIterator<T> begin() const noexcept { return ListIterator<T>(list_ ? list_->head : nullptr); }
  ListIterator<T> end() const noexcept { return ListIterator<T>(); }
  /** Item count at full width (ll_list_length). */
  long size() const noexcept { return ll_list_length(list_); }
  bool empty() const noexcept { return !list_ || !list_->head; }
  const ll_list *get() const noexcept { return list_; }

 private:
  const ll_list *list_;
};

/**
 * Owns a kernel list of T records (zv_poly_3d, zv_rnumber or
 * zv_curve_stats_3d) and releases it with its items on destruction.
 * A list whose header the kernel refused is empty and false.
 */
template <class T>
class List {
 public:
  /** A new empty list (false when the kernel refuses the header). */
  List() noexcept : list_(ll_create_list()) {}
  /** Takes ownership of a list made by the kernel (null makes an empty owner). */
  explicit List(ll_list *adopt) noexcept : list_(adopt) {}
  List(const List &) = delete;
  List &operator=(const List &) = delete;
  List(List &&other) noexcept : list_(std::exchange(other.list_, nullptr)) {}
  List &operator=(List &&other) noexcept {
    if (this != &other) {
      ll_purge_list(list_);
      list_ = std::exchange(other.list_, nullptr);
    }
    return *this;
  }
  ~List() { ll_purge_list(list_); }

  /** Whether the list exists (its header was not refused nor released). */
  explicit operator bool() const noexcept { return list_ != nullptr; }
  /** The header, for passing to the C functions; the list still owns it. */
  ll_list *get() const noexcept { return list_; }
  /** Gives the header up; the caller releases it (ll_purge_list). */
  ll_list *release() noexcept { return std::exchange(list_, nullptr); }

  /**
   * Appends a kernel copy of value. Returns 0, or -1 when the kernel refuses
   * the record or its node (nothing is appended, nothing leaks).
   */
  Status push_back(const T &value) noexcept {
    T *item = Item<T>::create();
    if (!item) return Status(-1);
    *item = value;
    // On a refused node the kernel releases the item itself.
    return Status(ll_add_list_item(list_, 1, item, Item<T>::tag) ? 0 : -1);
  }

  ListIterator<T> begin() const noexcept { return ListIterator<T>(list_ ? list_->head : nullptr); }
  ListIterator<T> end() const noexcept { return ListIterator<T>(); }
  /** Item count at full width (ll_list_length). */
  long size() const noexcept { return ll_list_length(list_); }
  bool empty() const noexcept { return !list_ || !list_->head; }
  /** Copies of the items, head to tail. */
  std::vector<T> to_vector() const {
    std::vector<T> out;
    for (const T &item : *this) out.push_back(item);
    return out;
  }

 private:
  ll_list *list_;
};

/**
 * A list of vertices at the given points, numbered 0, 1, 2, ... (wrapping as
 * int16). When the kernel refuses memory the list holds the vertices made so
 * far and *status (when given) is -1; otherwise 0. A refused header gives a
 * false list.
 */
inline List<zv_poly_3d> polygon(const zv_pnt_3d *points, std::size_t n, Status *status = nullptr) {
  List<zv_poly_3d> list;
  Status s(list ? 0 : -1);
  for (std::size_t i = 0; s && i < n; ++i) {
    zv_poly_3d v{};
    v.index = static_cast<int16_t>(i);
    v.x = points[i].x, v.y = points[i].y, v.z = points[i].z;
    s = list.push_back(v);
  }
  if (status) *status = s;
  return list;
}
inline List<zv_poly_3d> polygon(const std::vector<zv_pnt_3d> &points, Status *status = nullptr) {
  return polygon(points.data(), points.size(), status);
}
inline List<zv_poly_3d> polygon(std::initializer_list<zv_pnt_3d> points, Status *status = nullptr) {
  return polygon(points.begin(), points.size(), status);
}

/** A list of real numbers (knots or weights); memory as polygon(). */
inline List<zv_rnumber> reals(const double *values, std::size_t n, Status *status = nullptr) {
  List<zv_rnumber> list;
  Status s(list ? 0 : -1);
  for (std::size_t i = 0; s && i < n; ++i) s = list.push_back(zv_rnumber{values[i]});
  if (status) *status = s;
  return list;
}
inline List<zv_rnumber> reals(const std::vector<double> &values, Status *status = nullptr) {
  return reals(values.data(), values.size(), status);
}
inline List<zv_rnumber> reals(std::initializer_list<double> values, Status *status = nullptr) {
  return reals(values.begin(), values.size(), status);
}

#if __cplusplus >= 202002L
inline List<zv_poly_3d> polygon(std::span<const zv_pnt_3d> points, Status *status = nullptr) {
  return polygon(points.data(), points.size(), status);
}
inline List<zv_rnumber> reals(std::span<const double> values, Status *status = nullptr) {
  return reals(values.data(), values.size(), status);
}
#endif

/**
 * Owns a curve record and releases it with zv_purge_curve, together with
 * every list in its slots (control points, knots, weights, vertices,
 * statistics). A definition that failed gives a false Curve.
 */
class Curve {
 public:
  /** Takes ownership of a record (null makes an empty owner). */
  explicit Curve(zv_curve *adopt = nullptr) noexcept : curve_(adopt) {}
  Curve(const Curve &) = delete;
  Curve &operator=(const Curve &) = delete;
  Curve(Curve &&other) noexcept : curve_(std::exchange(other.curve_, nullptr)) {}
  Curve &operator=(Curve &&other) noexcept {
    if (this != &other) {
      zv_purge_curve(curve_);
      curve_ = std::exchange(other.curve_, nullptr);
    }
    return *this;
  }
  ~Curve() { zv_purge_curve(curve_); }

  explicit operator bool() const noexcept { return curve_ != nullptr; }
  zv_curve *get() const noexcept { return curve_; }
  zv_curve *operator->() const noexcept { return curve_; }
  /** Gives the record up; the caller releases it (zv_purge_curve). */
  zv_curve *release() noexcept { return std::exchange(curve_, nullptr); }

  // The record is packed: its list slots are read by name (a pointer to
  // member would lose the packing and load them as aligned).
  ListView<zv_poly_3d> control_points() const noexcept {
    return ListView<zv_poly_3d>(curve_ ? curve_->ctrl_list : nullptr);
  }
  ListView<zv_rnumber> knots() const noexcept { return ListView<zv_rnumber>(curve_ ? curve_->knot_list : nullptr); }
  ListView<zv_rnumber> weights() const noexcept {
    return ListView<zv_rnumber>(curve_ ? curve_->weight_list : nullptr);
  }
  /** The vertices tessellation appended. */
  ListView<zv_poly_3d> vertices() const noexcept {
    return ListView<zv_poly_3d>(curve_ ? curve_->vertex_list : nullptr);
  }
  /** The statistics records tessellation appended, one per vertex. */
  ListView<zv_curve_stats_3d> stats() const noexcept {
    return ListView<zv_curve_stats_3d>(curve_ ? curve_->stats_list : nullptr);
  }

  /** zv_mk_ucurve3d: samples a uniform record (kinds 84, 86, 88, 92). */
  Status tessellate_uniform(double step) noexcept { return Status(zv_mk_ucurve3d(curve_, step)); }
  /** zv_mk_nubspline_3d: samples a non-uniform B-spline record (kind 98). */
  Status tessellate_nubspline(int16_t first = 0, int16_t last = 0) noexcept {
    return Status(zv_mk_nubspline_3d(curve_, first, last));
  }
  /** zv_mk_nurb_curve3d: samples spans spans of a NURB record (kind 95). */
  Status tessellate_nurbs(int16_t spans, int16_t steps = 0, int16_t first = 0, int16_t last = 0) noexcept {
    return Status(zv_mk_nurb_curve3d(curve_, first, last, spans, steps));
  }
  /** zv_mk_rat_bezier_3d: samples a rational Bezier record at its knot list's parameters. */
  Status tessellate_rational_bezier(int16_t degree = 0) noexcept {
    return Status(zv_mk_rat_bezier_3d(curve_, degree));
  }

 private:
  zv_curve *curve_;
};

/**
 * The uniform definitions. Each takes the list's items over into the new
 * record (the list's header stays with the List and reads as empty), as the
 * C definitions do. A false Curve means memory was refused (or, for the
 * beta-spline, a degenerate bias and tension); ctrl is then untouched.
 */
inline Curve define_ubspline(List<zv_poly_3d> &ctrl) noexcept { return Curve(zv_def_ubspl_curve3d(ctrl.get())); }
inline Curve define_ubezier(List<zv_poly_3d> &ctrl) noexcept { return Curve(zv_def_ubezier_curve3d(ctrl.get())); }
inline Curve define_ucatrom(List<zv_poly_3d> &ctrl) noexcept { return Curve(zv_def_ucatrom_curve3d(ctrl.get())); }
inline Curve define_ubetaspline(List<zv_poly_3d> &ctrl, double beta1, double beta2) noexcept {
  return Curve(zv_def_ubetaspl_curve3d(ctrl.get(), beta1, beta2));
}

/**
 * zv_def_nubspl_curve3d: a non-uniform B-spline record taking the items of
 * ctrl and knots over (knots: the clamped vector without its outermost knot
 * at either end, see rivezi3z.h). A false Curve on the failures the C
 * function reports; the lists are then untouched.
 */
inline Curve define_nubspline(List<zv_poly_3d> &ctrl, List<zv_rnumber> &knots, int16_t degree,
                              int16_t span_steps) noexcept {
  return Curve(zv_def_nubspl_curve3d(ctrl.get(), knots.get(), degree, span_steps));
}

namespace detail {
// Runs a rational definition on a new record; on success the record holds
// the three lists and takes them over (the borrowed mark is cleared, so a
// split or a later definition that replaces them releases them), and the
// owners let them go.
template <class Define>
Result<Curve> define_rational(List<zv_poly_3d> &ctrl, List<zv_rnumber> &knots, List<zv_rnumber> &weights,
                              Define define) noexcept {
  Curve curve(zv_create_curve());
  if (!curve) return {Curve(), Status(-1)};
  const Status status(define(curve.get()));
  if (!status) return {Curve(), status};
  for (ll_list *list : {ctrl.release(), knots.release(), weights.release()}) ll_set_list_borrowed(list, 0);
  return {std::move(curve), status};
}
}  // namespace detail

/**
 * zv_mk_def_nurb_curve3d on a new record. On success the record owns the
 * three lists (the Lists passed are left empty); on failure they stay with
 * the caller and the result carries the C function's code (-1: memory).
 */
inline Result<Curve> define_nurbs(List<zv_poly_3d> &&ctrl, List<zv_rnumber> &&knots, List<zv_rnumber> &&weights,
                                  int16_t degree, int16_t span_steps) noexcept {
  return detail::define_rational(ctrl, knots, weights, [&](zv_curve *c) {
    return zv_mk_def_nurb_curve3d(ctrl.get(), knots.get(), weights.get(), degree, span_steps, c);
  });
}

/**
 * zv_def_ratbezier_curve3d on a new record; params are the parameters the
 * tessellation samples at. Ownership as define_nurbs().
 */
inline Result<Curve> define_rational_bezier(List<zv_poly_3d> &&ctrl, List<zv_rnumber> &&params,
                                            List<zv_rnumber> &&weights, int16_t degree) noexcept {
  return detail::define_rational(ctrl, params, weights, [&](zv_curve *c) {
    return zv_def_ratbezier_curve3d(ctrl.get(), params.get(), weights.get(), degree, c);
  });
}

/**
 * zv_intcurve_3d: appends the points where the polylines of a and b cross
 * (their tessellated vertices, else their control polygons) to out and
 * returns how many (int16, wrapping past 32767; out.size() counts fully).
 */
inline int16_t intersect(const Curve &a, const Curve &b, List<zv_poly_3d> &out) noexcept {
  return zv_intcurve_3d(a.get(), b.get(), out.get());
}

/**
 * zv_bspl_to_bezier_curve3d, or zv_rat_bspl_to_bezier_curve3d when exact is
 * true (a cubic NURB converted as the rational curve it is): appends the
 * Bezier control points (and weights) of a cubic record to out's lists.
 * The Status carries the C function's code.
 */
inline Status to_bezier(const Curve &source, Curve &out, bool exact = false) noexcept {
  return Status(exact ? zv_rat_bspl_to_bezier_curve3d(source.get(), out.get())
                      : zv_bspl_to_bezier_curve3d(source.get(), out.get()));
}

/**
 * Splits a Bezier record at t: zv_sub_ratbezier_curve3d for a rational
 * Bezier record (type 97), whose pieces are added to the lists of before
 * and after, else zv_sub_bezier_curve3d, which overwrites before and after
 * whole with new uniform Bezier records. An empty before or after is given
 * a new record first (-1 when memory is refused for it). The Status
 * carries the C function's code.
 */
inline Status split(const Curve &source, double t, Curve &before, Curve &after) noexcept {
  if (!before) before = Curve(zv_create_curve());
  if (!after) after = Curve(zv_create_curve());
  if (!before || !after) return Status(-1);
  const bool rational = source && source->type == ZV_CURVE_RATBEZIER;
  return Status(rational ? zv_sub_ratbezier_curve3d(source.get(), t, before.get(), after.get())
                         : zv_sub_bezier_curve3d(source.get(), t, before.get(), after.get()));
}

/**
 * Owns an array-form curve record (zv_nurbs_3d) made of three kernel
 * blocks, as zv_curve_thru_npoints_3d hands it back, and releases all three.
 */
class Nurbs {
 public:
  explicit Nurbs(zv_nurbs_3d *adopt = nullptr) noexcept : record_(adopt) {}
  Nurbs(const Nurbs &) = delete;
  Nurbs &operator=(const Nurbs &) = delete;
  Nurbs(Nurbs &&other) noexcept : record_(std::exchange(other.record_, nullptr)) {}
  Nurbs &operator=(Nurbs &&other) noexcept {
    if (this != &other) {
      reset();
      record_ = std::exchange(other.record_, nullptr);
    }
    return *this;
  }
  ~Nurbs() { reset(); }

  explicit operator bool() const noexcept { return record_ != nullptr; }
  const zv_nurbs_3d *get() const noexcept { return record_; }
  const zv_nurbs_3d *operator->() const noexcept { return record_; }
  /** Gives the record up; the caller releases its three blocks (zv_free). */
  zv_nurbs_3d *release() noexcept { return std::exchange(record_, nullptr); }

  /** Control point count (last_ctrl + 1). */
  int control_count() const noexcept { return record_ ? record_->last_ctrl + 1 : 0; }
  /** Knot count (last_knot + 1). */
  int knot_count() const noexcept { return record_ ? record_->last_knot + 1 : 0; }
  /** Spatial coordinate c of control point k (no bounds check). */
  double control(int k, int c) const noexcept { return record_->ctrl_pts[k * record_->dim + c]; }
  /** Knot k (no bounds check). */
  double knot(int k) const noexcept { return record_->knots[k]; }

  /** zv_eval_pointoncurve_3d. */
  Status point(double t, zv_pnt_3d &out) const noexcept { return Status(zv_eval_pointoncurve_3d(record_, t, &out)); }
  /** zv_eval_derivsoncurve_3d with the second derivative. */
  Status derivatives(double t, int16_t side, zv_pnt_3d &point, zv_pnt_3d &d1, zv_pnt_3d &d2,
                     int16_t &continuity) const noexcept {
    return Status(zv_eval_derivsoncurve_3d(record_, t, side, 1, &point, &d1, &d2, &continuity));
  }

 private:
  void reset() noexcept {
    if (!record_) return;
    zv_free(record_->ctrl_pts);
    zv_free(record_->knots);
    zv_free(record_);
    record_ = nullptr;
  }
  zv_nurbs_3d *record_;
};

/**
 * zv_curve_thru_npoints_3d with computed parameters: a B-spline of the given
 * degree through the points. mode as the C function (0 planar, 1 spatial,
 * 2 planar when every |z| <= 1e-7). A count above the int16 range gives
 * status 1 without a call.
 */
inline Result<Nurbs> fit(const zv_pnt_3d *points, std::size_t n, int16_t degree, int16_t mode = 2) noexcept {
  if (n > 32767) return {Nurbs(), Status(1)};
  zv_nurbs_3d *record = nullptr;
  const Status status(zv_curve_thru_npoints_3d(points, static_cast<int16_t>(n), degree, 0, nullptr, nullptr,
                                               mode, &record));
  return {Nurbs(record), status};
}
inline Result<Nurbs> fit(const std::vector<zv_pnt_3d> &points, int16_t degree, int16_t mode = 2) noexcept {
  return fit(points.data(), points.size(), degree, mode);
}
#if __cplusplus >= 202002L
inline Result<Nurbs> fit(std::span<const zv_pnt_3d> points, int16_t degree, int16_t mode = 2) noexcept {
  return fit(points.data(), points.size(), degree, mode);
}
#endif

/**
 * Installs a message handler and a refused-memory handler for its lifetime
 * and restores the defaults afterwards. The handlers are process-wide: keep
 * one capture at a time.
 */
class MessageCapture {
 public:
  MessageCapture(zv_msg_fn on_message, zv_memerr_fn on_memerr, void *user) noexcept {
    zv_set_msg_handler(on_message, user);
    zv_set_memerr_handler(on_memerr, user);
  }
  MessageCapture(const MessageCapture &) = delete;
  MessageCapture &operator=(const MessageCapture &) = delete;
  ~MessageCapture() {
    zv_set_msg_handler(nullptr, nullptr);
    zv_set_memerr_handler(nullptr, nullptr);
  }
};

}  // namespace rivezi3z

#endif /* RIVEZI3Z_RIVEZI3Z_HPP */
