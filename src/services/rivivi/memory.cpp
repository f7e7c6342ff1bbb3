// Kernel memory: one counted allocation path with an optional refusal budget
// that tests use to drive every caller through its out-of-memory branch.
#include "allocate.hpp"

#include <rivezi3z/rivivi.h>

#include <atomic>
#include <cstdlib>

namespace zv::kernel {
namespace {

// Blocks handed out and not yet given back, across all threads.
std::atomic<long> live_blocks{0};

// Allocations still allowed before every request is refused; negative means
// no budget is set (the usual state, checked with one relaxed load).
std::atomic<long> budget{-1};

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

}  // namespace

void *allocate(std::size_t size, bool zeroed) noexcept {
  if (size > kLargestBlock || !claim_budget()) return nullptr;
  if (size == 0) size = 1;
  void *block = zeroed ? std::calloc(1, size) : std::malloc(size);
  if (block) live_blocks.fetch_add(1, std::memory_order_relaxed);
  return block;
}

void release(void *block) noexcept {
  if (!block) return;
  std::free(block);
  live_blocks.fetch_sub(1, std::memory_order_relaxed);
}

}  // namespace zv::kernel

extern "C" {

ZV_API void *zv_malloc(size_t size) { return zv::kernel::allocate(size, false); }

ZV_API void zv_free(void *p) { zv::kernel::release(p); }

ZV_API void zv_fail_alloc_after(long n) {
  zv::kernel::budget.store(n < 0 ? -1 : n, std::memory_order_relaxed);
}

ZV_API long zv_live_blocks(void) {
  return zv::kernel::live_blocks.load(std::memory_order_relaxed);
}

}  // extern "C"
