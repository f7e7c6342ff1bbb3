// Doubly-linked lists of kernel records. The header keeps head, tail, the
// cursor and the full item count, so every operation here is O(1) except
// the purge. A null head means empty whatever the other words hold: a curve
// definition takes a list over by copying its four words and clearing only
// the source's head, which leaves the source's tail, cursor and count naming
// nodes it no longer owns.
#include "allocate.hpp"

#include <rivezi3z/rivivi.h>

#include <cstdint>
#include <cstring>

namespace zv::kernel {
namespace {

// The where value of ll_add_list_item that puts the item before the first node.
constexpr int16_t kBeforeFirst = 0;

// Largest count an int16 result can carry.
constexpr intptr_t kCountLimit = INT16_MAX;

// Bit 62 of the count word marks a list that a curve record borrows from its
// caller; the item count is the rest of the word.
constexpr intptr_t kBorrowed = intptr_t{1} << 62;

// The item count held in the count word.
constexpr intptr_t item_count(const ll_list *list) noexcept { return list->count & ~kBorrowed; }

// True when the list holds at least one node.
constexpr bool has_nodes(const ll_list *list) noexcept { return list && list->head; }

// Resets the kernel's words of a list whose head is null, so stale words
// left by a take-over never link new nodes into another list; the borrowed
// mark stays, since it says whose header this is, not what it holds.
void reset_if_empty(ll_list *list) noexcept {
  if (list->head) return;
  list->tail = nullptr;
  list->current = nullptr;
  list->count &= kBorrowed;
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

// Appends count copies of size-byte records read from src after last (null
// for an empty list), each in its own block with its own node; stops at the
// first refused block (releasing a record whose node was refused). Gives
// the number appended and leaves last on the new last node. Size is a
// template argument for the kernel's own record sizes, so the copy becomes
// a few moves.
template <std::size_t Size>
long append_run(ll_list *list, ll_node *&last, const unsigned char *src, std::size_t size, long count,
                intptr_t type) noexcept {
  if constexpr (Size != 0) size = Size;
  BlockRun run;
  long made = 0;
  for (; made < count; ++made, src += size) {
    void *item = run.take(size);
    if (!item) break;
    std::memcpy(item, src, size);
    auto *node = static_cast<ll_node *>(run.take(sizeof(ll_node)));
    if (!node) {
      run.give(item);
      break;
    }
    node->data = item;
    node->prev = last;
    node->type = type;
    node->next = nullptr;
    if (last) {
      last->next = node;
    } else {
      list->head = list->current = node;
    }
    last = node;
  }
  return made;
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

ZV_API long ll_append_copies(ll_list *list, const void *records, size_t size, long count, int16_t type) {
  if (!list || !records || size == 0 || count <= 0) return 0;
  zv::kernel::reset_if_empty(list);
  ll_node *last = list->head ? zv::kernel::last_node(list) : nullptr;
  const auto *src = static_cast<const unsigned char *>(records);
  using zv::kernel::append_run;
  long made = 0;
  switch (size) {
    case sizeof(zv_poly_3d): made = append_run<sizeof(zv_poly_3d)>(list, last, src, size, count, type); break;
    case sizeof(zv_rnumber): made = append_run<sizeof(zv_rnumber)>(list, last, src, size, count, type); break;
    case sizeof(zv_curve_stats_3d):
      made = append_run<sizeof(zv_curve_stats_3d)>(list, last, src, size, count, type);
      break;
    default: made = append_run<0>(list, last, src, size, count, type); break;
  }
  if (made > 0) {
    list->tail = last;
    list->count += made;
  }
  return made;
}

ZV_API int16_t ll_get_list_count(const ll_list *list) {
  if (!zv::kernel::has_nodes(list)) return 0;
  const intptr_t count = zv::kernel::item_count(list);
  if (count < 0) return 0;
  return static_cast<int16_t>(count > zv::kernel::kCountLimit ? zv::kernel::kCountLimit : count);
}

ZV_API long ll_list_length(const ll_list *list) {
  if (!zv::kernel::has_nodes(list)) return 0;
  return static_cast<long>(zv::kernel::item_count(list));
}

ZV_API void ll_set_list_borrowed(ll_list *list, int16_t borrowed) {
  if (!list) return;
  if (borrowed) {
    list->count |= zv::kernel::kBorrowed;
  } else {
    list->count &= ~zv::kernel::kBorrowed;
  }
}

ZV_API int16_t ll_list_borrowed(const ll_list *list) {
  return list && (list->count & zv::kernel::kBorrowed) ? 1 : 0;
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
  // Only the nodes reachable from head belong to this list.
  zv::kernel::BlockRun run;
  zv::kernel::purge(run, list);
}

}  // extern "C"
