// Doubly-linked lists of kernel records. The header keeps head, tail, the
// cursor and the full item count, so every operation here is O(1) except
// the purge. A null head means empty whatever the other words hold: a curve
// definition takes a list over by copying its four words and clearing only
// the source's head, which leaves the source's tail, cursor and count naming
// nodes it no longer owns.
#include "allocate.hpp"

#include <rivezi3z/rivivi.h>

#include <cstdint>

namespace zv::kernel {
namespace {

// The where value of ll_add_list_item that puts the item before the first node.
constexpr int16_t kBeforeFirst = 0;

// Largest count an int16 result can carry.
constexpr intptr_t kCountLimit = INT16_MAX;

// True when the list holds at least one node.
constexpr bool has_nodes(const ll_list *list) noexcept { return list && list->head; }

// Resets the kernel's words of a list whose head is null, so stale words
// left by a take-over never link new nodes into another list.
void reset_if_empty(ll_list *list) noexcept {
  if (list->head) return;
  list->tail = nullptr;
  list->current = nullptr;
  list->count = 0;
}

// The last node; a header with a head but no tail (built by hand rather
// than by this kernel) has its tail found once and stored.
ll_node *last_node(ll_list *list) noexcept {
  if (!list->tail) {
    ll_node *node = list->head;
    while (node->next) node = node->next;
    list->tail = node;
  }
  return list->tail;
}

}  // namespace
}  // namespace zv::kernel

extern "C" {

ZV_API ll_list *ll_create_list(void) { return zv::kernel::allocate_record<ll_list>(); }

ZV_API int16_t ll_add_list_item(ll_list *list, int16_t where, void *item, int16_t type) {
  if (!item) return 0;
  ll_node *node = list ? zv::kernel::allocate_record<ll_node>() : nullptr;
  if (!node) {
    // The item was handed over to the list; with no list to hold it, it
    // belongs to nobody and is released here.
    zv::kernel::release(item);
    return 0;
  }
  node->data = item;
  node->type = type;
  zv::kernel::reset_if_empty(list);
  if (!list->head) {
    list->head = list->tail = list->current = node;
  } else if (where == zv::kernel::kBeforeFirst) {
    node->next = list->head;
    list->head->prev = node;
    list->head = node;
  } else {
    ll_node *last = zv::kernel::last_node(list);
    node->prev = last;
    last->next = node;
    list->tail = node;
  }
  ++list->count;
  return 1;
}

ZV_API int16_t ll_get_list_count(const ll_list *list) {
  if (!zv::kernel::has_nodes(list)) return 0;
  const intptr_t count = list->count;
  if (count < 0) return 0;
  return static_cast<int16_t>(count > zv::kernel::kCountLimit ? zv::kernel::kCountLimit : count);
}

ZV_API long ll_list_length(const ll_list *list) {
  if (!zv::kernel::has_nodes(list)) return 0;
  return static_cast<long>(list->count);
}

ZV_API int16_t ll_set_list_currpntr(ll_list *list, int16_t mode) {
  if (!zv::kernel::has_nodes(list)) return -1;
  ll_node *target = nullptr;
  switch (mode) {
    case LL_FIRST: target = list->head; break;
    case LL_LAST: target = zv::kernel::last_node(list); break;
    case LL_NEXT: target = list->current ? list->current->next : nullptr; break;
    case LL_PREV: target = list->current ? list->current->prev : nullptr; break;
    default: return -1;
  }
  if (!target) return -1;
  list->current = target;
  return mode;
}

ZV_API void *ll_get_list_data(const ll_list *list) {
  if (!zv::kernel::has_nodes(list) || !list->current) return nullptr;
  return list->current->data;
}

ZV_API void ll_purge_list(ll_list *list) {
  if (!list) return;
  // Only the nodes reachable from head belong to this list.
  for (ll_node *node = list->head; node;) {
    ll_node *next = node->next;
    zv::kernel::release(node->data);
    zv::kernel::release(node);
    node = next;
  }
  zv::kernel::release(list);
}

}  // extern "C"
