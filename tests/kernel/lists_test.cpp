// Kernel lists: order and cursor, headers taken over or built by hand, null
// and refused appends, saturating counts, runs of record copies in one call.
#include "zv_testing.hpp"

namespace {

using Lists = zvtest::KernelTest;
using Values = std::vector<double>;

zv_rnumber *real(double value) { return &(*zv_create_rnumber() = zv_rnumber{value}); }

// The values met walking the cursor from one end with the given step.
Values walk(ll_list *list, int16_t start, int16_t step) {
  Values out;
  for (int16_t rc = ll_set_list_currpntr(list, start); rc != -1; rc = ll_set_list_currpntr(list, step))
    out.push_back(static_cast<zv_rnumber *>(ll_get_list_data(list))->value);
  return out;
}

// Links agree both ways with the header; node i has type and the size bytes at bytes + i * size.
void expect_consistent(const ll_list *list, const unsigned char *bytes, std::size_t size, long count, intptr_t type) {
  long seen = 0;
  const ll_node *prev = nullptr;
  for (const ll_node *node = list->head; node && seen <= count; prev = node, node = node->next, ++seen)
    EXPECT_TRUE(node->prev == prev && node->type == type && !std::memcmp(node->data, bytes + seen * size, size))
        << seen;
  EXPECT_TRUE(seen == count && ll_list_length(list) == count && (count == 0 || list->tail == prev)) << seen;
}

// Where 0 prepends, any other value appends; the cursor stays on the first item and where it cannot move.
TEST_F(Lists, OrderCursorAndCounts) {
  ll_list *list = ll_create_list();
  for (auto [where, v] : {std::pair{1, 2.0}, {1, 3.0}, {0, 1.0}, {7, 4.0}, {-3, 5.0}})
    EXPECT_EQ(ll_add_list_item(list, int16_t(where), real(v), where < 0 ? ZV_ITEM_POLY : ZV_ITEM_RNUMBER), 1);
  EXPECT_EQ(static_cast<zv_rnumber *>(ll_get_list_data(list))->value, 2.0);
  EXPECT_EQ(walk(list, LL_FIRST, LL_NEXT), (Values{1, 2, 3, 4, 5}));
  EXPECT_EQ(walk(list, LL_LAST, LL_PREV), (Values{5, 4, 3, 2, 1}));
  EXPECT_TRUE(ll_get_list_count(list) == 5 && list->tail->type == ZV_ITEM_POLY);
  for (int16_t mode : {LL_PREV, 4, -1}) EXPECT_EQ(ll_set_list_currpntr(list, mode), -1);
  EXPECT_EQ(list->current, list->head);
  list->current = nullptr;  // a caller walking the nodes itself
  EXPECT_TRUE(!ll_get_list_data(list) && ll_set_list_currpntr(list, LL_NEXT) == -1);
  EXPECT_EQ(walk(list, LL_LAST, LL_NEXT), (Values{5}));
  ll_purge_list(list);
  list = ll_create_list();
  for (int i = 0; i < 40000; ++i) ASSERT_EQ(ll_add_list_item(list, 1, real(i), 0), 1);
  EXPECT_TRUE(ll_get_list_count(list) == 32767 && ll_list_length(list) == 40000);
  EXPECT_EQ(walk(list, LL_LAST, LL_NEXT), (Values{39999}));
  ll_purge_list(list);
}

// Regression: appending to a header whose nodes were taken over followed its stale tail into the new
// owner's nodes. A header with a head but no tail, as built by hand, finds its end.
TEST_F(Lists, TakenOverHeaderReadsEmptyAndStartsAfresh) {
  const zv_rnumber eight[2] = {{8}, {9}};
  for (const bool run : {false, true}) {
    ll_list *source = zvtest::make_reals({1, 2, 3}), *target = ll_create_list();
    ll_set_list_currpntr(source, LL_LAST);
    *target = *source;  // all four words, as a curve definition does
    source->head = nullptr;
    EXPECT_TRUE(ll_list_length(source) == 0 && ll_get_list_count(source) == 0 && !ll_get_list_data(source));
    for (int16_t mode : {LL_FIRST, LL_LAST, LL_NEXT, LL_PREV}) EXPECT_EQ(ll_set_list_currpntr(source, mode), -1);
    if (run) {
      ASSERT_EQ(ll_append_copies(source, eight, sizeof(zv_rnumber), 2, 0), 2);
      EXPECT_EQ(source->current, source->head);  // an empty list's cursor goes to the first new node
    } else {
      EXPECT_EQ(ll_add_list_item(source, 1, real(9), 0) + ll_add_list_item(source, 0, real(8), 0), 2);
    }
    EXPECT_EQ(walk(source, LL_LAST, LL_PREV), (Values{9, 8}));
    EXPECT_EQ(ll_get_list_count(source), 2);
    ll_add_list_item(target, 1, real(4), 0);
    EXPECT_EQ(walk(target, LL_LAST, LL_PREV), (Values{4, 3, 2, 1}));
    ll_purge_list(source), ll_purge_list(target);
  }
  ll_list *nodes = zvtest::make_reals({1, 2});
  ll_list by_hand{nodes->head, nullptr, nullptr, 2};
  EXPECT_EQ(walk(&by_hand, LL_LAST, LL_PREV), (Values{2, 1}));
  by_hand.tail = nullptr;
  ll_add_list_item(&by_hand, 1, real(3), 0);
  by_hand.tail = nullptr;
  EXPECT_EQ(ll_append_copies(&by_hand, eight, sizeof(zv_rnumber), 1, 0), 1);
  EXPECT_EQ(walk(nodes, LL_FIRST, LL_NEXT), (Values{1, 2, 3, 8}));
  nodes->tail = by_hand.tail, nodes->count = 4;
  ll_purge_list(nodes);
}

// Unusable appends do nothing; an item that cannot be added is released by the kernel, never the caller.
TEST_F(Lists, NullUnusableAndRefusedAppends) {
  EXPECT_TRUE(!ll_get_list_count(nullptr) && !ll_list_length(nullptr) && !ll_get_list_data(nullptr) &&
              ll_set_list_currpntr(nullptr, LL_FIRST) == -1);
  ll_purge_list(nullptr);
  ll_list *list = zvtest::make_reals({1});
  const double value = 1.0;
  const long before = zv_live_blocks();
  EXPECT_EQ(ll_add_list_item(nullptr, 1, real(1), 0) + ll_add_list_item(list, 1, nullptr, 0), 0);
  zv_rnumber *item = real(2);
  zv_fail_alloc_after(0);
  EXPECT_EQ(ll_add_list_item(list, 1, item, 0), 0);
  zv_fail_alloc_after(-1);
  EXPECT_EQ((std::vector<long>{
                ll_append_copies(nullptr, &value, sizeof value, 1, 0),
                ll_append_copies(list, nullptr, sizeof value, 1, 0), ll_append_copies(list, &value, 0, 1, 0),
                ll_append_copies(list, &value, sizeof value, 0, 0), ll_append_copies(list, &value, sizeof value, -7, 0),
                ll_append_copies(list, &value, std::size_t{1} << 41, 1, 0)}),  // the block is refused
            std::vector<long>(6, 0));
  EXPECT_EQ(zv_live_blocks(), before);
  EXPECT_EQ(walk(list, LL_FIRST, LL_NEXT), Values{1});
  ll_purge_list(list);
}

// Runs of the kernel's record sizes and others put an empty list's cursor on the first and make a block
// and a node per record; under a budget (record, node, ...) a record whose node is refused goes.
TEST_F(Lists, AppendCopiesGivesTheListOfOneAppendPerRecord) {
  std::vector<unsigned char> bytes(300 * 200);
  for (std::size_t size : {sizeof(zv_poly_3d), sizeof(zv_rnumber), sizeof(zv_curve_stats_3d), std::size_t{1},
                           std::size_t{40}, std::size_t{300}}) {
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i / size + i % size);
    for (long budget = -1; budget <= (size == sizeof(zv_curve_stats_3d) ? 10 : -1); ++budget) {
      for (const long count : budget < 0 ? std::vector<long>{1, 3, 200} : std::vector<long>{5}) {
        ll_list *list = ll_create_list();
        const long before = zv_live_blocks();
        zv_fail_alloc_after(budget);
        const long made = ll_append_copies(list, bytes.data(), size, count, ZV_ITEM_POLY);
        zv_fail_alloc_after(-1);
        EXPECT_TRUE(made == (budget < 0 ? count : budget / 2) && zv_live_blocks() - before == 2 * made &&
                    list->current == list->head)
            << size << " " << count << " budget " << budget;
        expect_consistent(list, bytes.data(), size, made, ZV_ITEM_POLY);
        ll_purge_list(list);
      }
    }
  }
}

}  // namespace
