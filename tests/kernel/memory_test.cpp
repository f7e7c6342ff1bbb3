// Kernel memory, records and reports: the live-block count, the refusal
// budget, blocks shared between threads, the pools, zero-filled records,
// and the texts that reach the message handlers.
#include "zv_testing.hpp"

#include <algorithm>
#include <cstdint>
#include <random>
#include <thread>
#include <tuple>

namespace {

using Memory = zvtest::KernelTest;
using Messages = zvtest::KernelTest;
using zvtest::Message;

bool all_zero(const void *p, std::size_t n) {
  return std::all_of(static_cast<const unsigned char *>(p), static_cast<const unsigned char *>(p) + n,
                     [](unsigned char b) { return b == 0; });
}

// Blocks are counted (an empty one too), impossible sizes refused; a budget of n allows n more blocks of
// every kind, releasing does not renew it, a negative one lifts it; a refused curve keeps none of its five.
TEST_F(Memory, CountsImpossibleSizesAndTheBudget) {
  const long before = zv_live_blocks();
  void *a = zv_malloc(16), *empty = zv_malloc(0);
  EXPECT_TRUE(a && empty && zv_live_blocks() == before + 2 && !zv_malloc(SIZE_MAX) &&
              !zv_malloc((size_t{1} << 40) + 1));
  zv_free(a), zv_free(empty), zv_free(nullptr);
  zv_fail_alloc_after(3);
  void *b = zv_malloc(8), *v = zv_create_poly_3d(), *l = ll_create_list();
  EXPECT_TRUE(b && v && l && !zv_malloc(8) && !zv_create_poly_3d() && !zv_create_rnumber() &&
              !zv_create_curve_stats_3d() && !ll_create_list() && !zv_create_curve());
  zv_free(b);
  EXPECT_EQ(zv_malloc(8), nullptr);  // releasing does not renew the budget
  zv_fail_alloc_after(-5);
  zv_free(b = zv_malloc(8)), zv_free(v), zv_free(l);
  EXPECT_TRUE(b && zv_live_blocks() == before);
  for (long n = 0; n < 5; ++n) {
    zv_fail_alloc_after(n);
    EXPECT_EQ(zv_create_curve(), nullptr) << n;
  }
}

// Blocks of many sizes, each holding its mark, made on four threads and released on another after those
// ended: every mark survives (no block handed out twice, no free-list word written into a live one).
TEST_F(Memory, BlocksMadeAndReleasedAcrossThreadsStayIntact) {
  std::vector<std::vector<std::tuple<unsigned char *, std::size_t, unsigned char>>> made(4);
  std::vector<std::thread> threads;
  for (unsigned t = 0; t < 4; ++t) {
    threads.emplace_back([&made, t] {
      std::mt19937 rng(17u + t);
      for (int i = 0; i < 20000; ++i) {
        const std::size_t size = rng() % 301;
        const auto mark = static_cast<unsigned char>(rng());
        made[t].emplace_back(static_cast<unsigned char *>(std::memset(zv_malloc(size), mark, size)), size, mark);
        if (rng() % 2 == 0) continue;  // half the time one of the thread's blocks goes again at once
        std::swap(made[t][rng() % made[t].size()], made[t].back());
        zv_free(std::get<0>(made[t].back()));
        made[t].pop_back();
      }
    });
  }
  for (std::thread &t : threads) t.join();
  for (auto &blocks : made)
    for (const auto &[p, size, mark] : blocks) {
      EXPECT_EQ(std::count(p, p + size, mark), static_cast<long>(size));
      zv_free(p);
    }
  std::vector<void *> again(20000);  // from the blocks the ended threads left
  for (void *&b : again) b = std::memset(zv_malloc(64), 1, 64);
  std::for_each(again.begin(), again.end(), zv_free);
}

#if ZV_POOLED_KERNEL
// Pooled blocks carry no header (a vertex and its node take 64 bytes); after compaction new blocks come
// in address order whatever order the previous ones were released in.
TEST_F(Memory, PoolsPackVerticesAndCompactIntoAddressOrder) {
  ll_list *list = ll_create_list();
  for (int i = 0; i < 20000; ++i) ll_add_list_item(list, 1, zv_create_poly_3d(), ZV_ITEM_POLY);
  std::vector<std::uintptr_t> at, gaps;
  for (const ll_node *n = list->head; n; n = n->next)
    at.push_back(reinterpret_cast<std::uintptr_t>(n)), at.push_back(reinterpret_cast<std::uintptr_t>(n->data));
  ll_purge_list(list);
  std::sort(at.begin(), at.end());
  for (std::size_t i = 1; i < at.size(); ++i) gaps.push_back(at[i] - at[i - 1]);
  EXPECT_GE(*std::min_element(gaps.begin(), gaps.end()), 32u);  // no two blocks overlap
  std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
  EXPECT_EQ(gaps[gaps.size() / 2], 32u);
  std::vector<void *> blocks(3000);
  for (void *&b : blocks) b = zv_create_poly_3d();
  std::shuffle(blocks.begin(), blocks.end(), std::mt19937(5));
  std::for_each(blocks.begin(), blocks.end(), zv_free);
  zv_compact_pools();
  for (void *&b : blocks) b = zv_create_poly_3d();
  EXPECT_TRUE(std::is_sorted(blocks.begin(), blocks.end(), std::less<void *>()));
  std::for_each(blocks.begin(), blocks.end(), zv_free);
}
#endif

// Records come zero-filled even from dirty blocks; a curve owns four empty lists, purging releases every
// list with its items and skips null slots; setters ignore a null record.
TEST_F(Memory, RecordsAreZeroFilledAndCurvesOwnTheirLists) {
  for (std::size_t size : {sizeof(zv_poly_3d), sizeof(zv_rnumber), sizeof(zv_curve_stats_3d), sizeof(ll_list)})
    zv_free(std::memset(zv_malloc(size), 0xA5, size));
  void *v = zv_create_poly_3d(), *r = zv_create_rnumber(), *s = zv_create_curve_stats_3d(), *l = ll_create_list();
  EXPECT_TRUE(all_zero(v, sizeof(zv_poly_3d)) && all_zero(r, sizeof(zv_rnumber)) &&
              all_zero(s, sizeof(zv_curve_stats_3d)) && all_zero(l, sizeof(ll_list)));
  zv_free(v), zv_free(r), zv_free(s), zv_free(l);
  zv_curve *c = zv_create_curve();
  EXPECT_TRUE(all_zero(c->basis, sizeof c->basis) && !zvtest::value(c->weight_list));
  for (ll_list *list : {c->knot_list, c->ctrl_list, c->vertex_list, c->stats_list}) EXPECT_TRUE(list && !list->head);
  ll_add_list_item(c->ctrl_list, 1, zv_create_poly_3d(), ZV_ITEM_POLY);
  c->weight_list = zvtest::make_reals({1, 0.5});
  ll_purge_list(c->vertex_list);
  c->vertex_list = nullptr;
  zv_purge_curve(c), zv_purge_curve(nullptr);
  zv_set_pnt_3d(1, 2, 3, nullptr), zv_set_vector_3d(1, 2, 3, 4, 5, nullptr), zv_set_arc_2d(1, 2, 3, 4, 5, 6, nullptr);
}

// Exact texts (nulls as empty) reach the handler with its user pointer; a handler may replace itself (it
// runs outside the kernel's lock: regression guard); NULL brings back the one-line default on stderr.
TEST_F(Messages, ExactTextsUserPointersAndTheDefaultHandlers) {
  EXPECT_EQ((std::vector<int>{zv_display_msg("BADRECT", 75, "zv_ellipsepnts"), zv_display_msg("X", -32768, "f"),
                              zv_display_msg(nullptr, 33, nullptr)}),  // braced lists run in order
            (std::vector<int>{75, -32768, 33}));
  EXPECT_EQ(reports.messages,
            (std::vector<Message>{{"BADRECT", 75, "zv_ellipsepnts"}, {"X", -32768, "f"}, {"", 33, ""}}));
  zv_memerr("mk_nurb_curve3d - 2");
  zv_memerr(nullptr);
  EXPECT_EQ(reports.memerrs, (std::vector<std::string>{"mk_nurb_curve3d - 2", ""}));
  int seen = 0;
  zv_set_msg_handler([](const char *, int16_t n, const char *, void *user) { *static_cast<int *>(user) += n; }, &seen);
  zv_display_msg("A", 5, "f");
  zv_set_msg_handler([](const char *, int16_t, const char *, void *) { zv_set_msg_handler(nullptr, nullptr); },
                     nullptr);
  zv_display_msg("A", 1, "f");
  zv_set_memerr_handler(nullptr, &reports);
  testing::internal::CaptureStderr();
  zv_display_msg("BADRECT", 75, "zv_ellipse_pnt_3d");
  zv_memerr("zv_mk_ucurve3d");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "BADRECT (75) in zv_ellipse_pnt_3d\nout of memory in zv_mk_ucurve3d\n");
  EXPECT_TRUE(seen == 5 && reports.messages.size() == 3 && reports.memerrs.size() == 2);
}

}  // namespace
