// Kernel memory and records: the live-block count, the refusal budget,
// zero-filled constructors, curve records and the setters.
#include "zv_testing.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace {

using Memory = zvtest::KernelTest;

// True when every byte of the n bytes at p is zero.
bool all_zero(const void *p, std::size_t n) {
  const auto *bytes = static_cast<const unsigned char *>(p);
  for (std::size_t i = 0; i < n; ++i)
    if (bytes[i] != 0) return false;
  return true;
}

// ---------------------------------------------------------------- blocks and counting

TEST_F(Memory, BlocksAreCountedUntilReleased) {
  const long before = zv_live_blocks();
  void *a = zv_malloc(16);
  void *empty = zv_malloc(0);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(zv_live_blocks(), before + 2);
  zv_free(a);
  zv_free(empty);
  zv_free(nullptr);
  EXPECT_EQ(zv_live_blocks(), before);
}

TEST_F(Memory, ImpossibleSizeIsRefusedNotAborted) {
  const long before = zv_live_blocks();
  EXPECT_EQ(zv_malloc(SIZE_MAX), nullptr);
  EXPECT_EQ(zv_malloc(SIZE_MAX / 2), nullptr);
  EXPECT_EQ(zv_live_blocks(), before);
}

TEST_F(Memory, BudgetAllowsExactlyNThenRefusesEveryKind) {
  zv_fail_alloc_after(3);
  void *a = zv_malloc(8);
  zv_poly_3d *b = zv_create_poly_3d();
  ll_list *c = ll_create_list();
  EXPECT_NE(a, nullptr);
  EXPECT_NE(b, nullptr);
  EXPECT_NE(c, nullptr);
  const long live = zv_live_blocks();
  EXPECT_EQ(zv_malloc(8), nullptr);
  EXPECT_EQ(zv_create_poly_3d(), nullptr);
  EXPECT_EQ(zv_create_rnumber(), nullptr);
  EXPECT_EQ(zv_create_curve_stats_3d(), nullptr);
  EXPECT_EQ(ll_create_list(), nullptr);
  EXPECT_EQ(zv_create_curve(), nullptr);
  EXPECT_EQ(zv_live_blocks(), live);  // refusals are not counted
  zv_free(a);                        // releasing does not renew the budget
  EXPECT_EQ(zv_malloc(8), nullptr);
  zv_fail_alloc_after(-5);
  void *d = zv_malloc(8);
  EXPECT_NE(d, nullptr);
  zv_free(d);
  zv_free(b);
  ll_purge_list(c);
}

TEST_F(Memory, ZeroBudgetRefusesTheNextAllocation) {
  zv_fail_alloc_after(0);
  EXPECT_EQ(zv_malloc(1), nullptr);
  zv_fail_alloc_after(1);
  void *a = zv_malloc(1);
  EXPECT_NE(a, nullptr);
  EXPECT_EQ(zv_malloc(1), nullptr);
  zv_fail_alloc_after(-1);
  zv_free(a);
}

TEST_F(Memory, CountingHoldsAcrossThreads) {
  const long before = zv_live_blocks();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 2000; ++i) {
        ll_list *list = zvtest::make_reals({1.0, 2.0});
        ll_purge_list(list);
      }
    });
  }
  for (std::thread &t : threads) t.join();
  EXPECT_EQ(zv_live_blocks(), before);
}

// ---------------------------------------------------------------- pools

// Blocks of many sizes (pooled and not), each filled with its own pattern,
// made on four threads and released half on the making thread, half on
// another: every pattern must survive until its release (no block handed
// out twice, no free-list word written into a live block) and the count
// must come back.
TEST_F(Memory, BlocksMadeAndReleasedAcrossThreadsStayIntact) {
  const long before = zv_live_blocks();
  struct Block {
    unsigned char *p;
    std::size_t size;
    unsigned char mark;
  };
  std::mutex handed_lock;
  std::vector<Block> handed;  // made on one thread, released on another
  auto intact = [](const Block &b) {
    for (std::size_t i = 0; i < b.size; ++i)
      if (b.p[i] != b.mark) return false;
    return true;
  };
  std::vector<std::thread> threads;
  std::vector<int> damaged(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      std::mt19937 rng(17u + static_cast<unsigned>(t));
      std::uniform_int_distribution<std::size_t> size(0, 300);
      std::vector<Block> mine;
      for (int i = 0; i < 20000; ++i) {
        Block b{nullptr, size(rng), static_cast<unsigned char>(rng())};
        b.p = static_cast<unsigned char *>(zv_malloc(b.size));
        std::memset(b.p, b.mark, b.size);
        mine.push_back(b);
        if (mine.size() < 64) continue;
        std::shuffle(mine.begin(), mine.end(), rng);
        for (std::size_t k = 0; k < 32; ++k) {
          Block out = mine.back();
          mine.pop_back();
          if (k % 2 == 0) {
            damaged[t] += !intact(out);
            zv_free(out.p);
            continue;
          }
          const std::lock_guard<std::mutex> hold(handed_lock);
          handed.push_back(out);
          if (handed.size() > 16) {
            std::swap(handed.front(), handed.back());
            damaged[t] += !intact(handed.back());
            zv_free(handed.back().p);
            handed.pop_back();
          }
        }
      }
      for (const Block &b : mine) {
        damaged[t] += !intact(b);
        zv_free(b.p);
      }
    });
  }
  for (std::thread &t : threads) t.join();
  for (const Block &b : handed) {
    EXPECT_TRUE(intact(b));
    zv_free(b.p);
  }
  EXPECT_EQ(damaged, std::vector<int>(4, 0));
  EXPECT_EQ(zv_live_blocks(), before);
}

#if ZV_POOLED_KERNEL
// A vertex and its list node take 64 bytes of heap: pooled blocks carry no
// header, so the blocks of a long list lie 32 bytes apart.
TEST_F(Memory, VertexWithItsNodeTakesSixtyFourBytes) {
  ll_list *list = ll_create_list();
  for (int i = 0; i < 20000; ++i) ll_add_list_item(list, 1, zv_create_poly_3d(), ZV_ITEM_POLY);
  std::vector<std::uintptr_t> at;
  for (const ll_node *n = list->head; n; n = n->next) {
    at.push_back(reinterpret_cast<std::uintptr_t>(n));
    at.push_back(reinterpret_cast<std::uintptr_t>(n->data));
  }
  std::sort(at.begin(), at.end());
  std::vector<std::uintptr_t> gaps;
  for (std::size_t i = 1; i < at.size(); ++i) gaps.push_back(at[i] - at[i - 1]);
  EXPECT_GE(*std::min_element(gaps.begin(), gaps.end()), 32u);  // no two blocks overlap
  std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
  EXPECT_EQ(gaps[gaps.size() / 2], 32u);
  ll_purge_list(list);
}

// After compaction the next blocks come in address order, whatever order
// the previous ones were released in.
TEST_F(Memory, CompactedPoolsHandOutBlocksInAddressOrder) {
  std::vector<void *> blocks;
  for (int i = 0; i < 3000; ++i) blocks.push_back(zv_create_poly_3d());
  std::shuffle(blocks.begin(), blocks.end(), std::mt19937(5));
  for (void *b : blocks) zv_free(b);
  zv_compact_pools();
  blocks.clear();
  for (int i = 0; i < 3000; ++i) blocks.push_back(zv_create_poly_3d());
  EXPECT_TRUE(std::is_sorted(blocks.begin(), blocks.end(), [](void *a, void *b) {
    return reinterpret_cast<std::uintptr_t>(a) < reinterpret_cast<std::uintptr_t>(b);
  }));
  for (void *b : blocks) zv_free(b);
}
#endif

// ---------------------------------------------------------------- records

TEST_F(Memory, ConstructorsZeroFill) {
  // Dirty blocks of each record's size first: the pools hand the most
  // recently released block out again, so the records below reuse them.
  for (std::size_t size : {sizeof(zv_poly_3d), sizeof(zv_rnumber), sizeof(zv_curve_stats_3d), sizeof(ll_list)}) {
    void *dirty = zv_malloc(size);
    std::memset(dirty, 0xA5, size);
    zv_free(dirty);
  }
  zv_poly_3d *v = zv_create_poly_3d();
  zv_rnumber *r = zv_create_rnumber();
  zv_curve_stats_3d *s = zv_create_curve_stats_3d();
  ll_list *l = ll_create_list();
  EXPECT_TRUE(all_zero(v, sizeof *v));
  EXPECT_TRUE(all_zero(r, sizeof *r));
  EXPECT_TRUE(all_zero(s, sizeof *s));
  EXPECT_TRUE(all_zero(l, sizeof *l));
  zv_free(v);
  zv_free(r);
  zv_free(s);
  ll_purge_list(l);
}

TEST_F(Memory, NewCurveHasFourEmptyListsAndNoWeights) {
  zv_curve *c = zv_create_curve();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->type, 0);
  EXPECT_EQ(c->degree, 0);
  const double t_step = c->t_step;  // copied: never bind a reference into a packed record
  EXPECT_EQ(t_step, 0.0);
  EXPECT_TRUE(all_zero(c->basis, sizeof c->basis));
  const ll_list *weights = c->weight_list;
  EXPECT_EQ(weights, nullptr);
  for (ll_list *l : {c->knot_list, c->ctrl_list, c->vertex_list, c->stats_list}) {
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->head, nullptr);
  }
  zv_purge_curve(c);
}

TEST_F(Memory, CurveRefusedAtEachAllocationLeaksNothing) {
  for (long n = 0; n < 5; ++n) {
    const long before = zv_live_blocks();
    zv_fail_alloc_after(n);
    EXPECT_EQ(zv_create_curve(), nullptr) << "budget " << n;
    zv_fail_alloc_after(-1);
    EXPECT_EQ(zv_live_blocks(), before) << "budget " << n;
  }
  zv_fail_alloc_after(5);
  zv_curve *c = zv_create_curve();
  zv_fail_alloc_after(-1);
  EXPECT_NE(c, nullptr);
  zv_purge_curve(c);
}

TEST_F(Memory, PurgeCurveReleasesListsItemsAndSkipsNullSlots) {
  zv_curve *c = zv_create_curve();
  ll_add_list_item(c->ctrl_list, 1, zv_create_poly_3d(), ZV_ITEM_POLY);
  ll_add_list_item(c->stats_list, 1, zv_create_curve_stats_3d(), ZV_ITEM_PLAIN);
  c->weight_list = zvtest::make_reals({1, 0.5});
  ll_purge_list(c->vertex_list);
  c->vertex_list = nullptr;
  zv_purge_curve(c);
  zv_purge_curve(nullptr);
}

// ---------------------------------------------------------------- setters

TEST_F(Memory, SettersWriteEveryFieldAndIgnoreNull) {
  // Packed records are compared byte for byte against brace-initialised ones.
  zv_pnt_3d p{};
  zv_set_pnt_3d(1, -2, 3.5, &p);
  const zv_pnt_3d p_want{1, -2, 3.5};
  EXPECT_EQ(std::memcmp(&p, &p_want, sizeof p), 0);

  zv_vector_3d v{};
  zv_set_vector_3d(4, 5, 6, 7, 8, &v);
  const zv_vector_3d v_want{7, 8, 4, 5, 6};
  EXPECT_EQ(std::memcmp(&v, &v_want, sizeof v), 0);

  zv_arc_2d arc{};
  zv_set_arc_2d(1, 2, 3, -4, 0.25, 0.75, &arc);
  const zv_arc_2d arc_want{1, 2, 3, -4, 0.25, 0.75};
  EXPECT_EQ(std::memcmp(&arc, &arc_want, sizeof arc), 0);

  zv_set_pnt_3d(1, 2, 3, nullptr);
  zv_set_vector_3d(1, 2, 3, 4, 5, nullptr);
  zv_set_arc_2d(1, 2, 3, 4, 5, 6, nullptr);
}

}  // namespace
