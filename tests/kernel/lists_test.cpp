// Kernel lists: order and cursor, a header taken over or built by hand,
// null and refused appends, saturating counts, and runs of record copies
// appended in one call (the list of one append per record, consistent and
// leak-free under every refusal budget).
#include "zv_testing.hpp"

namespace {

using Lists = zvtest::KernelTest;
using Values = std::vector<double>;

zv_rnumber *real(double value) { return &(*zv_create_rnumber() = zv_rnumber{value}); }

double at_cursor(const ll_list *list) { return static_cast<zv_rnumber *>(ll_get_list_data(list))->value; }

// The values met walking the cursor from one end with the given step.
Values walk(ll_list *list, int16_t start, int16_t step) {
  Values out;
  for (int16_t rc = ll_set_list_currpntr(list, start); rc != -1; rc = ll_set_list_currpntr(list, step))
    out.push_back(at_cursor(list));
  return out;
}

// count records of size bytes, record i filled with bytes i, i + 1, ...
std::vector<unsigned char> records(std::size_t size, long count) {
  std::vector<unsigned char> bytes(size * static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i / size + i % size);
  return bytes;
}

// The links agree both ways with the header (ends, count), every node carries
// type and every item holds the record written for it.
void expect_consistent(const ll_list *list, const std::vector<unsigned char> &bytes, std::size_t size, long count,
                       intptr_t type) {
  long seen = 0;
  const ll_node *prev = nullptr;
  for (const ll_node *node = list->head; node; prev = node, node = node->next, ++seen) {
    ASSERT_LT(seen, count);
    EXPECT_TRUE(node->prev == prev && node->type == type) << seen;
    EXPECT_EQ(std::memcmp(node->data, bytes.data() + seen * size, size), 0) << "record " << seen;
  }
  EXPECT_EQ(seen, count);
  EXPECT_EQ(ll_list_length(list), count);
  EXPECT_TRUE(count == 0 || list->tail == prev);
}

TEST_F(Lists, OrderCursorAndCounts) {
  ll_list *list = ll_create_list();
  EXPECT_EQ(ll_get_list_data(list), nullptr);
  for (auto [where, v] : {std::pair{1, 2.0}, {1, 3.0}, {0, 1.0}, {7, 4.0}, {-3, 5.0}})  // 0 prepends, others append
    EXPECT_EQ(ll_add_list_item(list, int16_t(where), real(v), where < 0 ? ZV_ITEM_POLY : ZV_ITEM_RNUMBER), 1);
  EXPECT_EQ(at_cursor(list), 2.0);  // the cursor stays on the first item added
  EXPECT_EQ(walk(list, LL_FIRST, LL_NEXT), (Values{1, 2, 3, 4, 5}));
  EXPECT_EQ(walk(list, LL_LAST, LL_PREV), (Values{5, 4, 3, 2, 1}));
  EXPECT_EQ(ll_get_list_count(list), 5);
  EXPECT_EQ(list->tail->type, ZV_ITEM_POLY);
  for (int16_t mode : {LL_PREV, 4, -1}) EXPECT_EQ(ll_set_list_currpntr(list, mode), -1);  // the cursor stays
  EXPECT_EQ(list->current, list->head);
  list->current = nullptr;  // a caller walking the nodes itself
  EXPECT_EQ(ll_get_list_data(list), nullptr);
  EXPECT_EQ(ll_set_list_currpntr(list, LL_NEXT), -1);
  EXPECT_EQ(ll_set_list_currpntr(list, LL_LAST), LL_LAST);
  EXPECT_EQ(at_cursor(list), 5.0);
  ll_purge_list(list);
  list = ll_create_list();  // the count saturates, the length stays exact
  for (int i = 0; i < 40000; ++i) ASSERT_EQ(ll_add_list_item(list, 1, real(i), 0), 1);
  EXPECT_EQ(ll_get_list_count(list), 32767);
  EXPECT_EQ(ll_list_length(list), 40000);
  ll_set_list_currpntr(list, LL_LAST);
  EXPECT_EQ(at_cursor(list), 39999.0);
  ll_purge_list(list);
}

// Regression: appending (one item or a run) to a header whose nodes were
// taken over followed its stale tail into the new owner's nodes.
TEST_F(Lists, TakenOverHeaderReadsEmptyAndStartsAfresh) {
  for (const bool run : {false, true}) {
    ll_list *source = zvtest::make_reals({1, 2, 3}), *target = ll_create_list();
    ll_set_list_currpntr(source, LL_LAST);
    *target = *source;  // all four words, as a curve definition does
    source->head = nullptr;
    EXPECT_EQ(ll_list_length(source) + ll_get_list_count(source), 0);
    EXPECT_EQ(ll_get_list_data(source), nullptr);
    for (int16_t mode : {LL_FIRST, LL_LAST, LL_NEXT, LL_PREV}) EXPECT_EQ(ll_set_list_currpntr(source, mode), -1);
    const zv_rnumber eight[2] = {{8}, {9}};
    if (run) {
      ASSERT_EQ(ll_append_copies(source, eight, sizeof(zv_rnumber), 2, 0), 2);
      EXPECT_EQ(source->current, source->head);  // an empty list's cursor goes to the first new node
    } else {
      ll_add_list_item(source, 1, real(9), 0);
      ll_add_list_item(source, 0, real(8), 0);
    }
    EXPECT_EQ(walk(source, LL_LAST, LL_PREV), (Values{9, 8}));
    EXPECT_EQ(ll_get_list_count(source), 2);
    ll_add_list_item(target, 1, real(4), 0);
    EXPECT_EQ(walk(target, LL_LAST, LL_PREV), (Values{4, 3, 2, 1}));
    ll_purge_list(source);
    ll_purge_list(target);
  }
  // A header with a head but no tail finds its end, for both kinds of append.
  ll_list *nodes = zvtest::make_reals({1, 2});
  ll_list by_hand{nodes->head, nullptr, nullptr, 2};
  EXPECT_EQ(walk(&by_hand, LL_LAST, LL_PREV), (Values{2, 1}));
  by_hand.tail = nullptr;
  ll_add_list_item(&by_hand, 1, real(3), 0);
  by_hand.tail = nullptr;
  const zv_rnumber four{4};
  EXPECT_EQ(ll_append_copies(&by_hand, &four, sizeof four, 1, 0), 1);
  EXPECT_EQ(walk(nodes, LL_FIRST, LL_NEXT), (Values{1, 2, 3, 4}));
  nodes->tail = by_hand.tail, nodes->count = 4;
  ll_purge_list(nodes);
}

// Unusable appends do nothing; an item that cannot be added (null list,
// refused node) is released by the kernel, so the caller never frees it.
TEST_F(Lists, NullUnusableAndRefusedAppends) {
  EXPECT_EQ(ll_get_list_count(nullptr) + ll_list_length(nullptr), 0);
  EXPECT_EQ(ll_get_list_data(nullptr), nullptr);
  EXPECT_EQ(ll_set_list_currpntr(nullptr, LL_FIRST), -1);
  ll_purge_list(nullptr);
  ll_list *list = zvtest::make_reals({1});
  const double value = 1.0;
  const long before = zv_live_blocks();
  EXPECT_EQ(ll_add_list_item(nullptr, 1, real(1), 0), 0);
  EXPECT_EQ(ll_add_list_item(list, 1, nullptr, 0), 0);
  zv_rnumber *item = real(2);
  zv_fail_alloc_after(0);
  EXPECT_EQ(ll_add_list_item(list, 1, item, 0), 0);
  zv_fail_alloc_after(-1);
  EXPECT_EQ((std::vector<long>{ll_append_copies(nullptr, &value, sizeof value, 1, 0),
                               ll_append_copies(list, nullptr, sizeof value, 1, 0),
                               ll_append_copies(list, &value, 0, 1, 0),
                               ll_append_copies(list, &value, sizeof value, 0, 0),
                               ll_append_copies(list, &value, sizeof value, -7, 0),
                               ll_append_copies(list, &value, std::size_t{1} << 41, 1, 0)}),  // the block is refused
            std::vector<long>(6, 0));
  EXPECT_EQ(zv_live_blocks(), before);
  EXPECT_EQ(walk(list, LL_FIRST, LL_NEXT), Values{1});
  ll_purge_list(list);
}

// Runs of the kernel's own record sizes (vertex, real, statistics) and
// others go after two single appends, leave the cursor on the first and
// make a block and a node per record.
TEST_F(Lists, AppendCopiesGivesTheListOfOneAppendPerRecord) {
  for (const std::size_t size : {sizeof(zv_poly_3d), sizeof(zv_rnumber), sizeof(zv_curve_stats_3d), std::size_t{1},
                                 std::size_t{40}, std::size_t{300}}) {
    for (const long count : {1L, 3L, 200L}) {
      const auto bytes = records(size, count + 2);
      ll_list *list = ll_create_list();
      for (long i = 0; i < 2; ++i) {
        void *one = std::memcpy(zv_malloc(size), bytes.data() + i * size, size);
        ASSERT_EQ(ll_add_list_item(list, 1, one, ZV_ITEM_POLY), 1);
      }
      const ll_node *cursor = list->current;
      const long before = zv_live_blocks();
      EXPECT_EQ(ll_append_copies(list, bytes.data() + 2 * size, size, count, ZV_ITEM_POLY), count);
      EXPECT_EQ(zv_live_blocks() - before, 2 * count);
      EXPECT_EQ(list->current, cursor);
      expect_consistent(list, bytes, size, count + 2, ZV_ITEM_POLY);
      zv_free(list->head->next->next->data);  // every record is a block of its own
      list->head->next->next->data = nullptr;
      ll_purge_list(list);
    }
  }
  // Record, node, record, node, ...: a record whose node is refused goes.
  const auto bytes = records(sizeof(zv_curve_stats_3d), 5);
  for (long budget = 0; budget <= 10; ++budget) {
    ll_list *list = ll_create_list();
    const long before = zv_live_blocks();
    zv_fail_alloc_after(budget);
    const long made = ll_append_copies(list, bytes.data(), sizeof(zv_curve_stats_3d), 5, ZV_ITEM_PLAIN);
    zv_fail_alloc_after(-1);
    EXPECT_EQ(made, budget / 2) << "budget " << budget;
    EXPECT_EQ(zv_live_blocks() - before, 2 * made);
    expect_consistent(list, bytes, sizeof(zv_curve_stats_3d), made, ZV_ITEM_PLAIN);
    ll_purge_list(list);
  }
}

}  // namespace
