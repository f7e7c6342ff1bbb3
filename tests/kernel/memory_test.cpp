// Kernel memory and records: the live-block count, the refusal budget,
// blocks shared between threads, the pools, zero-filled constructors and
// curve records.
#include "zv_testing.hpp"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <random>
#include <thread>

namespace {

using Memory = zvtest::KernelTest;

bool all_zero(const void *p, std::size_t n) {
  return std::all_of(static_cast<const unsigned char *>(p), static_cast<const unsigned char *>(p) + n,
                     [](unsigned char b) { return b == 0; });
}

// Blocks are counted (an empty one too), impossible sizes refused; a budget
// of n allows exactly n more blocks of every kind, releasing does not renew
// it and any negative budget lifts it; a curve refused at any of its five
// allocations releases the others.
TEST_F(Memory, CountsImpossibleSizesAndTheBudget) {
  const long before = zv_live_blocks();
  void *a = zv_malloc(16), *empty = zv_malloc(0);
  ASSERT_TRUE(a && empty);
  EXPECT_EQ(zv_live_blocks(), before + 2);
  zv_free(a), zv_free(empty), zv_free(nullptr);
  EXPECT_EQ(zv_malloc(SIZE_MAX), nullptr);
  EXPECT_EQ(zv_malloc((size_t{1} << 40) + 1), nullptr);
  EXPECT_EQ(zv_live_blocks(), before);
  zv_fail_alloc_after(0);
  EXPECT_EQ(zv_malloc(1), nullptr);
  zv_fail_alloc_after(3);
  void *b = zv_malloc(8);
  zv_poly_3d *v = zv_create_poly_3d();
  ll_list *l = ll_create_list();
  ASSERT_TRUE(b && v && l);
  const long live = zv_live_blocks();
  EXPECT_TRUE(!zv_malloc(8) && !zv_create_poly_3d() && !zv_create_rnumber() && !zv_create_curve_stats_3d() &&
              !ll_create_list() && !zv_create_curve());
  EXPECT_EQ(zv_live_blocks(), live);
  zv_free(b);
  EXPECT_EQ(zv_malloc(8), nullptr);
  zv_fail_alloc_after(-5);
  b = zv_malloc(8);
  EXPECT_NE(b, nullptr);
  zv_free(b), zv_free(v), ll_purge_list(l);
  for (long n = 0; n < 5; ++n) {
    zv_fail_alloc_after(n);
    EXPECT_EQ(zv_create_curve(), nullptr) << n;
  }
}

// Blocks of many sizes (pooled and not), each filled with its own mark, made
// on four threads and released at random on the making thread or, through a
// shared store, on another: every mark survives until its release (no block
// handed out twice, no free-list word written into a live block).
TEST_F(Memory, BlocksMadeAndReleasedAcrossThreadsStayIntact) {
  struct Block {
    unsigned char *p;
    std::size_t size;
    unsigned char mark;
  };
  std::atomic<int> damaged{0};
  const auto release = [&](const Block &b) {
    damaged += !std::all_of(b.p, b.p + b.size, [&](unsigned char c) { return c == b.mark; });
    zv_free(b.p);
  };
  std::mutex lock;
  std::vector<Block> shared;
  std::vector<std::thread> threads;
  for (unsigned t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      std::mt19937 rng(17u + t);
      std::vector<Block> mine;
      for (int i = 0; i < 20000; ++i) {
        Block b{nullptr, rng() % 301, static_cast<unsigned char>(rng())};
        b.p = static_cast<unsigned char *>(zv_malloc(b.size));
        mine.push_back(b), std::fill(b.p, b.p + b.size, b.mark);
        if (mine.size() < 64) continue;
        std::swap(mine[rng() % 64], mine.back());
        Block out = mine.back();
        mine.pop_back();
        if (rng() % 2) {
          const std::lock_guard<std::mutex> hold(lock);
          shared.push_back(out);
          if (shared.size() <= 16) continue;
          std::swap(shared[rng() % shared.size()], shared.back());
          out = shared.back();
          shared.pop_back();
        }
        release(out);
      }
      std::for_each(mine.begin(), mine.end(), release);
    });
  }
  for (std::thread &t : threads) t.join();
  std::for_each(shared.begin(), shared.end(), release);
  EXPECT_EQ(damaged, 0);
}

#if ZV_POOLED_KERNEL
// Pooled blocks carry no header: a vertex and its node take 64 bytes, and
// after compaction new blocks come in address order whatever order the
// previous ones were released in.
TEST_F(Memory, PoolsPackVerticesAndCompactIntoAddressOrder) {
  ll_list *list = ll_create_list();
  for (int i = 0; i < 20000; ++i) ll_add_list_item(list, 1, zv_create_poly_3d(), ZV_ITEM_POLY);
  std::vector<std::uintptr_t> at, gaps;
  for (const ll_node *n = list->head; n; n = n->next)
    at.push_back(reinterpret_cast<std::uintptr_t>(n)), at.push_back(reinterpret_cast<std::uintptr_t>(n->data));
  std::sort(at.begin(), at.end());
  for (std::size_t i = 1; i < at.size(); ++i) gaps.push_back(at[i] - at[i - 1]);
  EXPECT_GE(*std::min_element(gaps.begin(), gaps.end()), 32u);  // no two blocks overlap
  std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
  EXPECT_EQ(gaps[gaps.size() / 2], 32u);
  ll_purge_list(list);
  std::vector<void *> blocks;
  for (int i = 0; i < 3000; ++i) blocks.push_back(zv_create_poly_3d());
  std::shuffle(blocks.begin(), blocks.end(), std::mt19937(5));
  std::for_each(blocks.begin(), blocks.end(), zv_free);
  zv_compact_pools();
  for (void *&b : blocks) b = zv_create_poly_3d();
  EXPECT_TRUE(std::is_sorted(blocks.begin(), blocks.end(), std::less<void *>()));
  std::for_each(blocks.begin(), blocks.end(), zv_free);
}
#endif

// Records come zero-filled even from dirty blocks (the pools hand the last
// released out again); a curve owns four empty lists, and purging releases
// every list with its items and skips null slots; setters ignore a null record.
TEST_F(Memory, RecordsAreZeroFilledAndCurvesOwnTheirLists) {
  for (std::size_t size : {sizeof(zv_poly_3d), sizeof(zv_rnumber), sizeof(zv_curve_stats_3d), sizeof(ll_list)}) {
    void *dirty = zv_malloc(size);
    std::fill_n(static_cast<unsigned char *>(dirty), size, 0xA5);
    zv_free(dirty);
  }
  zv_poly_3d *v = zv_create_poly_3d();
  zv_rnumber *r = zv_create_rnumber();
  zv_curve_stats_3d *s = zv_create_curve_stats_3d();
  ll_list *l = ll_create_list();
  EXPECT_TRUE(all_zero(v, sizeof *v) && all_zero(r, sizeof *r) && all_zero(s, sizeof *s) && all_zero(l, sizeof *l));
  zv_free(v), zv_free(r), zv_free(s), ll_purge_list(l);
  zv_curve *c = zv_create_curve();
  EXPECT_TRUE(all_zero(c->basis, sizeof c->basis) && !zvtest::value(c->weight_list));
  for (ll_list *list : {c->knot_list, c->ctrl_list, c->vertex_list, c->stats_list}) EXPECT_TRUE(list && !list->head);
  ll_add_list_item(c->ctrl_list, 1, zv_create_poly_3d(), ZV_ITEM_POLY);
  c->weight_list = zvtest::make_reals({1, 0.5});
  ll_purge_list(c->vertex_list);
  c->vertex_list = nullptr;
  zv_purge_curve(c);
  zv_purge_curve(nullptr);
  zv_set_pnt_3d(1, 2, 3, nullptr);
  zv_set_vector_3d(1, 2, 3, 4, 5, nullptr);
  zv_set_arc_2d(1, 2, 3, 4, 5, 6, nullptr);
}

}  // namespace
