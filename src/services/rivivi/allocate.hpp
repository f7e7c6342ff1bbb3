// The kernel's one allocation path. Every block the kernel hands out (raw
// blocks, records, list headers and nodes) comes from allocate() or from a
// BlockRun so that the live-block counter and the refusal budget see all of
// them.
#pragma once

#include <rivezi3z/rivivi.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "pool.hpp"

namespace zv::kernel {

// A block of at least one byte (zero-filled when asked), or null when
// refused; counted as live until release().
void *allocate(std::size_t size, bool zeroed) noexcept;

// Gives a block from allocate() back; null is ignored.
void release(void *block) noexcept;

// A zero-filled T from the kernel's allocator, or null when refused.
template <class T>
T *allocate_record() noexcept {
  return static_cast<T *>(allocate(sizeof(T), true));
}

// Allocations still allowed before every request is refused; negative means
// no budget is set (the usual state).
extern std::atomic<long> budget;

// Adds delta to the calling thread's share of the live-block count.
void count_live(long delta) noexcept;

// Gives a block back without counting it (the caller counts).
inline void give_uncounted(void *block) noexcept {
  if (pool::owns(block)) {
    pool::give(block);
  } else {
    std::free(block);
  }
}

// Many blocks taken or given by one kernel call: with no refusal budget set
// they come straight from the calling thread's pools, and the live-block
// count moves once, when the run ends, instead of once per block. Under a
// budget every block goes through allocate(), which claims its share of the
// budget one block at a time, so a refusal falls on the same block as it
// would for single requests. Blocks come with unspecified contents.
class BlockRun {
 public:
  BlockRun()
      : cache_(pool::thread_cache),
        base_(pool::arena.load(std::memory_order_acquire)),
        direct_(pool::kEnabled && budget.load(std::memory_order_relaxed) < 0 && !cache_.retired) {}
  BlockRun(const BlockRun &) = delete;
  BlockRun &operator=(const BlockRun &) = delete;
  ~BlockRun() {
    if (net_ != 0) count_live(net_);
  }

  // A block of size bytes, or null when refused.
  void *take(std::size_t size) noexcept {
    if (direct_ && size - 1 < pool::kLargestPooled) {
      if (void *block = pool::take(cache_, size)) {
        ++net_;
        return block;
      }
    }
    return allocate(size, false);  // counted by allocate itself
  }

  // A zero-filled T, or null when refused.
  template <class T>
  T *take_record() noexcept {
    void *block = take(sizeof(T));
    if (block) std::memset(block, 0, sizeof(T));
    return static_cast<T *>(block);
  }

  // Gives back a block from any kernel allocation; null is ignored.
  void give(void *block) noexcept {
    if (!block) return;
    --net_;
    // A take of this run may have reserved the pools' address space.
    if (!base_) base_ = pool::arena.load(std::memory_order_acquire);
    if (pool::owns(base_, block)) {
      pool::give(cache_, base_, block);
    } else {
      std::free(block);
    }
  }

 private:
  pool::ThreadCache &cache_;
  char *base_;
  bool direct_;
  long net_ = 0;
};

// Gives back the nodes of list (those reachable from its head), their items
// and the header itself; a null list is ignored.
inline void purge(BlockRun &run, ll_list *list) noexcept {
  if (!list) return;
  for (ll_node *node = list->head; node;) {
    ll_node *next = node->next;
    run.give(node->data);
    run.give(node);
    node = next;
  }
  run.give(list);
}

}  // namespace zv::kernel
