// The slow paths of the size-class pools: reserving the address space,
// carving fresh batches, and the depots that threads exchange batches with.
#include "pool.hpp"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace zv::kernel::pool {

constinit thread_local ThreadCache thread_cache = {};
constinit std::atomic<char *> arena{nullptr};

namespace {

// Regions are made readable and writable 1 MiB at a time as they are carved.
constexpr std::size_t kCommitStep = std::size_t{1} << 20;

constexpr std::size_t block_size(int k) noexcept { return static_cast<std::size_t>(k + 1) * kGrain; }

// The first block of a full batch in a depot links to the next batch with
// its second word (every class has room for two pointers).
void *next_batch(void *first) noexcept {
  void *next;
  std::memcpy(&next, static_cast<char *>(first) + sizeof next, sizeof next);
  return next;
}

void link_batch(void *first, void *next) noexcept {
  std::memcpy(static_cast<char *>(first) + sizeof next, &next, sizeof next);
}

// The free blocks and the unused rest of one class's region, shared by all
// threads under lock.
struct Depot {
  std::mutex lock;
  void *batches = nullptr;    // full batches of kBatch blocks
  void *free = nullptr;       // single blocks (from ending threads)
  char *carve = nullptr;      // next block never handed out
  char *committed = nullptr;  // end of the readable and writable part
  char *end = nullptr;        // end of the region
};

constinit Depot depots[kClasses];
// Guards the one attempt to reserve the address space.
constinit std::mutex arena_lock;
constinit bool arena_tried = false;

// Reserves every class's region at once, inaccessible until carved.
void reserve_arena() noexcept {
  void *base = mmap(nullptr, kClasses * kRegion, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (base == MAP_FAILED) return;
  char *start = static_cast<char *>(base);
  for (int k = 0; k < kClasses; ++k) {
    Depot &d = depots[k];
    const std::lock_guard<std::mutex> hold(d.lock);
    d.carve = d.committed = start + k * kRegion;
    d.end = d.carve + kRegion;
  }
  arena.store(start, std::memory_order_release);
}

// Carves up to want fresh blocks of class k from its region (d locked);
// gives the first and the number carved, or null when the region is used
// up or its memory cannot be committed.
char *carve(Depot &d, int k, int want, int &got) noexcept {
  const std::size_t size = block_size(k);
  const std::size_t room = static_cast<std::size_t>(d.end - d.carve) / size;
  got = static_cast<int>(room < static_cast<std::size_t>(want) ? room : want);
  if (got == 0) return nullptr;
  char *first = d.carve;
  char *past = first + got * size;
  if (past > d.committed) {
    const auto left = static_cast<std::size_t>(d.end - d.committed);
    std::size_t grow = (static_cast<std::size_t>(past - d.committed) + kCommitStep - 1) / kCommitStep * kCommitStep;
    if (grow > left) grow = left;
    if (mprotect(d.committed, grow, PROT_READ | PROT_WRITE) != 0) return nullptr;
    d.committed += grow;
  }
  d.carve = past;
  return first;
}

// Detaches up to want single blocks from the depot (d locked); gives the
// first and the number taken.
void *detach(Depot &d, int want, int &got) noexcept {
  void *first = d.free;
  void *last = first;
  got = 1;
  while (got < want && next_of(last)) {
    last = next_of(last);
    ++got;
  }
  d.free = next_of(last);
  link(last, nullptr);
  return first;
}

// Serves one block of class k straight from the depot (an ending thread).
void *take_from_depot(int k) noexcept {
  Depot &d = depots[k];
  const std::lock_guard<std::mutex> hold(d.lock);
  int got = 0;
  if (!d.free && d.batches) {
    void *first = d.batches;
    d.batches = next_batch(first);
    d.free = next_of(first);
    return first;
  }
  if (d.free) return detach(d, 1, got);
  return carve(d, k, 1, got);
}

// Detaches the first count blocks of the thread's class-k list; gives the
// first, and the last in last.
void *split_off(ThreadCache &c, int k, int count, void *&last) noexcept {
  void *first = c.head[k];
  last = first;
  for (int i = 1; i < count; ++i) last = next_of(last);
  c.head[k] = next_of(last);
  c.count[k] -= count;
  link(last, nullptr);
  return first;
}

}  // namespace

void *refill(ThreadCache &c, int k) noexcept {
  if (!arena.load(std::memory_order_acquire)) {
    const std::lock_guard<std::mutex> hold(arena_lock);
    if (!arena_tried) reserve_arena();
    arena_tried = true;
    if (!arena.load(std::memory_order_relaxed)) return nullptr;
  }
  if (c.retired) return take_from_depot(k);
  Depot &d = depots[k];
  int got = 0;
  char *fresh = nullptr;
  {
    const std::lock_guard<std::mutex> hold(d.lock);
    // A whole batch moves in O(1): its blocks are not touched here, which
    // matters when they are cold.
    if (d.batches) {
      void *first = d.batches;
      d.batches = next_batch(first);
      c.head[k] = next_of(first);
      c.count[k] = kBatch - 1;
      return first;
    }
    if (d.free) {
      void *first = detach(d, kBatch, got);
      c.head[k] = next_of(first);
      c.count[k] = got - 1;
      return first;
    }
    fresh = carve(d, k, kBatch, got);
  }
  if (!fresh) return nullptr;
  // The carved blocks are this thread's alone now: link them outside the lock.
  const std::size_t size = block_size(k);
  for (int i = 1; i < got; ++i) link(fresh + i * size, i + 1 < got ? fresh + (i + 1) * size : nullptr);
  c.head[k] = got > 1 ? fresh + size : nullptr;
  c.count[k] = got - 1;
  return fresh;
}

void hand_back(ThreadCache &c, int k) noexcept {
  void *last = nullptr;
  void *first = split_off(c, k, kBatch, last);
  Depot &d = depots[k];
  const std::lock_guard<std::mutex> hold(d.lock);
  link_batch(first, d.batches);
  d.batches = first;
}

void give_to_depot(void *block, int k) noexcept {
  Depot &d = depots[k];
  const std::lock_guard<std::mutex> hold(d.lock);
  link(block, d.free);
  d.free = block;
}

namespace {

// Writes the free blocks of class k (this thread's and the depot's, d
// locked) into out, which holds at least their number; gives the number.
long gather(ThreadCache &c, Depot &d, int k, void **out) noexcept {
  long n = 0;
  for (void *b = c.head[k]; b; b = next_of(b)) out[n++] = b;
  for (void *batch = d.batches; batch; batch = next_batch(batch))
    for (void *b = batch; b; b = next_of(b)) out[n++] = b;
  for (void *b = d.free; b; b = next_of(b)) out[n++] = b;
  return n;
}

// Links blocks[0 .. n - 1] in that order; gives the first (null for none).
void *chain(void **blocks, long n) noexcept {
  for (long i = 0; i + 1 < n; ++i) link(blocks[i], blocks[i + 1]);
  if (n > 0) link(blocks[n - 1], nullptr);
  return n > 0 ? blocks[0] : nullptr;
}

// Counts the depot's free blocks (d locked).
long free_count(const Depot &d) noexcept {
  long n = 0;
  for (void *batch = d.batches; batch; batch = next_batch(batch)) n += kBatch;
  for (void *b = d.free; b; b = next_of(b)) ++n;
  return n;
}

}  // namespace

void compact() noexcept {
  if (!arena.load(std::memory_order_acquire)) return;
  ThreadCache &c = thread_cache;
  if (c.retired) return;
  for (int k = 0; k < kClasses; ++k) {
    Depot &d = depots[k];
    const std::lock_guard<std::mutex> hold(d.lock);
    const long total = free_count(d) + c.count[k];
    if (total == 0) continue;
    auto **blocks = static_cast<void **>(std::malloc(static_cast<std::size_t>(total) * sizeof(void *)));
    if (!blocks) return;  // compaction is an optimisation: without memory, skip it
    const long n = gather(c, d, k, blocks);
    std::sort(blocks, blocks + n);
    // The lowest blocks stay with the thread, the rest become full batches
    // pushed highest first, so that they come back lowest first.
    const long own = n % kBatch;
    c.head[k] = chain(blocks, own);
    c.count[k] = static_cast<int>(own);
    d.free = nullptr;
    d.batches = nullptr;
    for (long first = n - kBatch; first >= own; first -= kBatch) {
      void *batch = chain(blocks + first, kBatch);
      link_batch(batch, d.batches);
      d.batches = batch;
    }
    std::free(blocks);
  }
}

void retire_thread() noexcept {
  ThreadCache &c = thread_cache;
  for (int k = 0; k < kClasses; ++k) {
    if (c.count[k] == 0) continue;
    void *last = nullptr;
    void *first = split_off(c, k, c.count[k], last);
    Depot &d = depots[k];
    const std::lock_guard<std::mutex> hold(d.lock);
    link(last, d.free);
    d.free = first;
  }
  c.retired = true;
}

}  // namespace zv::kernel::pool
