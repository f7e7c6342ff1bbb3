// The span walk of the non-uniform curves: windows of consecutive control
// points, weights and knots that slide forward one node per span, so a walk
// over all spans reads every list once instead of from its head per span or
// per sample.
#pragma once

#include <rivezi3z/rivivi.h>

#include "frame/records.hpp"

namespace zv {

// The position of a vertex item.
inline Point3 read_point(const void *item) { return load(*static_cast<const zv_poly_3d *>(item)); }

// The value of a knot or weight item.
inline double read_real(const void *item) { return static_cast<const zv_rnumber *>(item)->value; }

// The node at 0-based position, following next from head; null past the end
// or for a null list.
inline ll_node *node_at(const ll_list *list, long position) {
  ll_node *node = list ? list->head : nullptr;
  for (long i = 0; node && i < position; ++i) node = node->next;
  return node;
}

// Reads the items of a list forward from a node, one per call; past the end
// it gives the fallback, so a short list never leads outside its nodes.
template <class Value, Value (*Read)(const void *)>
class ListCursor {
 public:
  ListCursor(ll_node *start, Value fallback) : node_(start), fallback_(fallback) {}
  Value next() {
    if (!node_) return fallback_;
    const Value v = Read(node_->data);
    node_ = node_->next;
    return v;
  }

 private:
  ll_node *node_;
  Value fallback_;
};

using PointCursor = ListCursor<Point3, read_point>;
using RealCursor = ListCursor<double, read_real>;

// Reads a plain array forward, one value per call (the caller sized it).
class ArrayCursor {
 public:
  explicit ArrayCursor(const double *at) : at_(at) {}
  double next() { return *at_++; }

 private:
  const double *at_;
};

// A window of width consecutive values (width <= Capacity) read from a
// cursor; slide() drops the first value and reads one more.
template <class Value, class Cursor, int Capacity>
class SlidingWindow {
 public:
  SlidingWindow(Cursor source, int width) : source_(source), width_(width) {
    for (int i = 0; i < width_; ++i) values_[i] = source_.next();
  }
  void slide() {
    if (width_ < 1) return;
    for (int i = 1; i < width_; ++i) values_[i - 1] = values_[i];
    values_[width_ - 1] = source_.next();
  }
  const Value &operator[](int i) const { return values_[i]; }
  const Value *data() const { return values_; }

 private:
  Cursor source_;
  int width_;
  Value values_[Capacity];
};

}  // namespace zv
