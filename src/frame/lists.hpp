// List helpers shared by every family: iteration over the nodes of a kernel
// list, the header take-over of the curve definitions, and the appender
// that owns a private list when the caller passed none.
#pragma once

#include <rivezi3z/rivezi3z.hpp>
#include <rivezi3z/rivivi.h>

#include "frame/records.hpp"

namespace zv {

// Iterates the items of a list as T, following next from head; a null or
// empty list yields nothing. The C++ header's list view, so the library and
// its users share one list iterator.
template <class T>
rivezi3z::ListView<T> items(const ll_list *list) {
  return rivezi3z::ListView<T>(list);
}

// Takes a caller's list over into the header a record already holds: the
// caller's cursor goes to the first node, the four header words are copied,
// and the caller's head is cleared so its header reads as empty. The
// record's header stays its own: a borrowed mark copied with the words is
// cleared. A null caller list leaves the record's list as it was (empty).
inline void take_over(ll_list *from, ll_list *into) {
  if (!from || !into) return;
  ll_set_list_currpntr(from, LL_FIRST);
  *into = *from;
  ll_set_list_borrowed(into, 0);
  from->head = nullptr;
}

// The list a record slot already holds, or a new one (null when refused).
inline ll_list *ensure_list(ll_list *list) { return list ? list : ll_create_list(); }

// Appends items to a caller's list, or to a private list when the caller
// passed none, so counts still mean something; the private list is
// released when the appender goes.
class Appender {
 public:
  explicit Appender(ll_list *list) : list_(list) {}
  Appender(const Appender &) = delete;
  Appender &operator=(const Appender &) = delete;
  ~Appender() {
    if (owned_) ll_purge_list(list_);
  }

  // Makes the private list when the caller passed none; false when refused.
  bool ready() {
    if (!list_) {
      list_ = ll_create_list();
      owned_ = list_ != nullptr;
    }
    return list_ != nullptr;
  }

  // Appends at the end; on failure the kernel has released the item.
  bool append(void *item, int16_t type) { return ll_add_list_item(list_, 1, item, type) != 0; }

  ll_list *list() const { return list_; }

 private:
  ll_list *list_;
  bool owned_ = false;
};

// Reads the positions of a polygon's vertices forwards from head, as a
// cursor walk that advances after each read would, and leaves the list's
// cursor where that walk leaves it. Callers read no more points than the
// list holds (they count it first).
class PolygonReader {
 public:
  explicit PolygonReader(ll_list *list) : list_(list), node_(list->head) {}
  Point3 next() {
    const Point3 p = load(*static_cast<const zv_poly_3d *>(node_->data));
    last_ = node_;
    node_ = node_->next;
    return p;
  }
  // The cursor ends on the node after the last one read, or on that one
  // when it was the last of the list.
  ~PolygonReader() {
    if (last_) list_->current = node_ ? node_ : last_;
  }
  PolygonReader(const PolygonReader &) = delete;
  PolygonReader &operator=(const PolygonReader &) = delete;

 private:
  ll_list *list_;
  ll_node *node_;
  ll_node *last_ = nullptr;
};

}  // namespace zv
