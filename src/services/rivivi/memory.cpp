// Kernel memory: one counted allocation path with an optional refusal budget
// that tests use to drive every caller through its out-of-memory branch.
// Small blocks come from the size-class pools (pool.hpp) unless this build
// uses the system allocator throughout.
#include <rivezi3z/rivivi.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "allocate.hpp"
#include "pool.hpp"

namespace zv::kernel {

constinit std::atomic<long> budget{-1};

namespace {

// Larger requests are refused outright rather than passed to the system:
// no geometry needs them, and some allocators abort instead of failing.
constexpr std::size_t kLargestBlock = std::size_t{1} << 40;

// Claims one allocation from the refusal budget; false when it has run out.
bool claim_budget() noexcept {
  long left = budget.load(std::memory_order_relaxed);
  while (left >= 0) {
    if (left == 0) return false;
    if (budget.compare_exchange_weak(left, left - 1, std::memory_order_relaxed)) return true;
  }
  return true;
}

// The live-block count is kept per thread (in the thread's cache), so
// counting costs a plain load and store instead of a locked instruction:
// each thread adds to its own share, zv_live_blocks sums the shares of the
// enrolled threads and what threads that have ended left behind. A block
// made on one thread and released on another lowers the second thread's
// share; the sum holds.
using pool::ThreadCache;
using pool::thread_cache;

// The caches of the threads alive, and what ended threads left behind.
constinit std::mutex registry_lock;
constinit ThreadCache *registry = nullptr;
constinit std::atomic<long> retired_live{0};

// Gives the thread's free blocks back and folds its share into
// retired_live when the thread ends; later requests of the thread (from
// other objects' thread-exit code) count on retired_live directly.
void retire() noexcept {
  pool::retire_thread();
  ThreadCache &self = thread_cache;
  const std::lock_guard<std::mutex> hold(registry_lock);
  for (ThreadCache **at = &registry; *at; at = &(*at)->next_enrolled) {
    if (*at == &self) {
      *at = self.next_enrolled;
      break;
    }
  }
  retired_live.fetch_add(self.live.load(std::memory_order_relaxed), std::memory_order_relaxed);
  self.live.store(0, std::memory_order_relaxed);
  self.enrolled = false;
  self.retired = true;
}

struct Retirer {
  ~Retirer() { retire(); }
};

// Enrolls the thread's share on its first request and arranges retire()
// for its end.
void enroll(ThreadCache &self) noexcept {
  static thread_local Retirer retirer;
  (void)&retirer;
  const std::lock_guard<std::mutex> hold(registry_lock);
  self.next_enrolled = registry;
  registry = &self;
  self.enrolled = true;
}

// Adds delta to the live-block count.
inline void count(ThreadCache &self, long delta) noexcept {
  if (!self.enrolled) [[unlikely]] {
    if (self.retired) {
      retired_live.fetch_add(delta, std::memory_order_relaxed);
      return;
    }
    enroll(self);
  }
  self.live.store(self.live.load(std::memory_order_relaxed) + delta, std::memory_order_relaxed);
}

// A block from the pools, zero-filled when asked; null when they cannot
// serve. The whole class-sized block is cleared 16 bytes at a time: a few
// vector stores instead of a general memset for every record.
inline void *pooled(std::size_t size, bool zeroed) noexcept {
  auto *block = static_cast<unsigned char *>(pool::take(size));
  if (block && zeroed) {
    for (std::size_t at = 0; at < size; at += pool::kGrain) std::memset(block + at, 0, pool::kGrain);
  }
  return block;
}

}  // namespace

void *allocate(std::size_t size, bool zeroed) noexcept {
  if (size > kLargestBlock || !claim_budget()) return nullptr;
  if (size == 0) size = 1;
  void *block = pool::kEnabled && size <= pool::kLargestPooled ? pooled(size, zeroed) : nullptr;
  if (!block) block = zeroed ? std::calloc(1, size) : std::malloc(size);
  if (block) count(thread_cache, 1);
  return block;
}

void release(void *block) noexcept {
  if (!block) return;
  give_uncounted(block);
  count(thread_cache, -1);
}

void count_live(long delta) noexcept { count(thread_cache, delta); }

}  // namespace zv::kernel

extern "C" {

ZV_API void *zv_malloc(size_t size) { return zv::kernel::allocate(size, false); }

ZV_API void zv_free(void *p) { zv::kernel::release(p); }

ZV_API void zv_fail_alloc_after(long n) {
  zv::kernel::budget.store(n < 0 ? -1 : n, std::memory_order_relaxed);
}

ZV_API void zv_compact_pools(void) {
  if (zv::kernel::pool::kEnabled) zv::kernel::pool::compact();
}

ZV_API long zv_live_blocks(void) {
  const std::lock_guard<std::mutex> hold(zv::kernel::registry_lock);
  long live = zv::kernel::retired_live.load(std::memory_order_relaxed);
  for (const zv::kernel::ThreadCache *t = zv::kernel::registry; t; t = t->next_enrolled)
    live += t->live.load(std::memory_order_relaxed);
  return live;
}

}  // extern "C"
