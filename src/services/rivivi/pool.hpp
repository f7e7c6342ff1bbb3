// Size-class pools for the kernel's small blocks (records and list nodes),
// and the per-thread state of the kernel's allocator.
//
// Every class (16, 32, ..., 256 bytes) owns one region of address space
// reserved once per process; blocks are carved from it in batches and never
// carry a header, so a 26-byte vertex costs 32 bytes and its 32-byte list
// node another 32. The class of a block follows from its address alone,
// which is how zv_free, which has no size argument, finds it.
//
// Each thread keeps a free list per class and takes and gives blocks
// without a lock; whole batches move between a thread and a class's shared
// depot under that class's mutex (a thread with too many free blocks hands
// a batch back, an empty one fetches a batch or carves a fresh one). A
// block freed on another thread than the one that made it simply joins the
// freeing thread's list. The pools' memory is kept for reuse for the life
// of the process, never handed back to the system.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zv::kernel::pool {

// True when this build pools small blocks (off in the sanitizer build, so
// AddressSanitizer sees every block as the system allocator's).
#if defined(ZV_POOLED_KERNEL) && ZV_POOLED_KERNEL
inline constexpr bool kEnabled = true;
#else
inline constexpr bool kEnabled = false;
#endif

// Requests above this many bytes go to the system allocator.
inline constexpr std::size_t kLargestPooled = 256;

// Class k holds blocks of (k + 1) * kGrain bytes.
inline constexpr std::size_t kGrain = 16;
inline constexpr int kClasses = static_cast<int>(kLargestPooled / kGrain);

// Address space reserved per class: 2^30 bytes are 33 million vertices or
// list nodes. A class whose region is used up falls back on malloc.
inline constexpr std::size_t kRegion = std::size_t{1} << 30;

// The kernel's state of one thread: its free lists, used without a lock by
// the thread alone, and its share of the live-block count (read by other
// threads, hence atomic, but written only by its own).
struct ThreadCache {
  void *head[kClasses];
  int count[kClasses];
  std::atomic<long> live;
  ThreadCache *next_enrolled;
  bool enrolled;  // its live count is summed by zv_live_blocks
  bool retired;   // the thread is ending: requests go through the depots
};

// Initial-exec TLS: one fs-relative access, no call, on every request.
extern constinit thread_local ThreadCache thread_cache __attribute__((tls_model("initial-exec")));

// Start of the reserved address space; null until reserved (and for good
// when the system refused to reserve it: every request then falls back).
extern constinit std::atomic<char *> arena;

// A free block's first word links it to the next free block.
inline void *next_of(void *block) noexcept {
  void *next;
  std::memcpy(&next, block, sizeof next);
  return next;
}

inline void link(void *block, void *next) noexcept { std::memcpy(block, &next, sizeof next); }

// The slow paths of take and give.
void *refill(ThreadCache &c, int k) noexcept;
void hand_back(ThreadCache &c, int k) noexcept;
void give_to_depot(void *block, int k) noexcept;

// A thread keeps at most this many free blocks per class.
inline constexpr int kBatch = 256;
inline constexpr int kKeep = 2 * kBatch;

// A block of at least size bytes (1 .. kLargestPooled), aligned to 16, its
// contents unspecified; null when the pools cannot serve it (no address
// space was reserved, or the class's region is used up), in which case the
// caller falls back on the system allocator.
// The forms taking the thread's cache c (and the arena's start) let a
// caller that takes or gives many blocks look them up once.
inline void *take(ThreadCache &c, std::size_t size) noexcept {
  const int k = static_cast<int>((size - 1) / kGrain);
  void *block = c.head[k];
  if (!block) [[unlikely]] return refill(c, k);
  c.head[k] = next_of(block);
  --c.count[k];
  return block;
}

inline void *take(std::size_t size) noexcept { return take(thread_cache, size); }

// How far block lies past base (wrapping below it, so one comparison tells
// whether it is inside the arena).
inline std::uintptr_t offset_in(const char *base, const void *block) noexcept {
  return reinterpret_cast<std::uintptr_t>(block) - reinterpret_cast<std::uintptr_t>(base);
}

// True when block came from take(), the arena starting at base.
inline bool owns(const char *base, const void *block) noexcept {
  return base != nullptr && offset_in(base, block) < kClasses * kRegion;
}

inline bool owns(const void *block) noexcept { return owns(arena.load(std::memory_order_relaxed), block); }

// Gives a block from take() back to the free list of the thread whose cache
// is c, the arena starting at base.
inline void give(ThreadCache &c, const char *base, void *block) noexcept {
  const int k = static_cast<int>(offset_in(base, block) / kRegion);
  if (c.retired) [[unlikely]] return give_to_depot(block, k);
  link(block, c.head[k]);
  c.head[k] = block;
  if (++c.count[k] > kKeep) [[unlikely]] hand_back(c, k);
}

inline void give(void *block) noexcept { give(thread_cache, arena.load(std::memory_order_relaxed), block); }

// Sorts the free blocks of every class (this thread's and the depots') by
// address, so that the next blocks are handed out in address order.
void compact() noexcept;

// Gives this thread's free lists back to the depots; the thread then takes
// and gives through the depots alone (called once at thread exit).
void retire_thread() noexcept;

}  // namespace zv::kernel::pool
