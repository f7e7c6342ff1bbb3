// Appending a run of record copies in one kernel call: the same list as one
// append per record, under every refusal budget a consistent list with
// nothing leaked, and nothing done for unusable arguments.
#include "zv_testing.hpp"

#include <cstring>
#include <vector>

namespace {

using AppendCopies = zvtest::KernelTest;

// count records of size bytes, record i filled with bytes i, i + 1, ...
std::vector<unsigned char> records(std::size_t size, long count) {
  std::vector<unsigned char> bytes(size * static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i / size + i % size);
  return bytes;
}

// The list's links agree forwards and backwards with its header: head and
// tail are the ends, the count is the node count, every item holds the
// record written for it, and every node carries type.
void expect_consistent(const ll_list *list, const std::vector<unsigned char> &bytes, std::size_t size, long count,
                       intptr_t type) {
  long seen = 0;
  const ll_node *prev = nullptr;
  for (const ll_node *node = list->head; node; prev = node, node = node->next, ++seen) {
    ASSERT_LT(seen, count);
    EXPECT_EQ(node->prev, prev);
    EXPECT_EQ(node->type, type);
    EXPECT_EQ(std::memcmp(node->data, bytes.data() + seen * size, size), 0) << "record " << seen;
  }
  EXPECT_EQ(seen, count);
  EXPECT_EQ(ll_list_length(list), count);
  if (count > 0) {
    EXPECT_EQ(list->tail, prev);
  }
}

TEST_F(AppendCopies, GivesTheListOfOneAppendPerRecord) {
  // The kernel's own record sizes (vertex, real, statistics) and others.
  for (const std::size_t size : {sizeof(zv_poly_3d), sizeof(zv_rnumber), sizeof(zv_curve_stats_3d), std::size_t{1},
                                 std::size_t{40}, std::size_t{300}}) {
    for (const long count : {1L, 3L, 200L}) {
      const auto bytes = records(size, count + 2);
      // Two records appended singly first: the run goes after them and the
      // cursor stays on the first.
      ll_list *list = ll_create_list();
      for (long i = 0; i < 2; ++i) {
        void *one = zv_malloc(size);
        std::memcpy(one, bytes.data() + i * size, size);
        ASSERT_EQ(ll_add_list_item(list, 1, one, ZV_ITEM_POLY), 1);
      }
      const ll_node *cursor = list->current;
      const long before = zv_live_blocks();
      EXPECT_EQ(ll_append_copies(list, bytes.data() + 2 * size, size, count, ZV_ITEM_POLY), count);
      EXPECT_EQ(zv_live_blocks() - before, 2 * count);  // a block and a node per record
      EXPECT_EQ(list->current, cursor);
      expect_consistent(list, bytes, size, count + 2, ZV_ITEM_POLY);
      // Every record is a block of its own.
      zv_free(list->head->next->next->data);
      list->head->next->next->data = nullptr;
      ll_purge_list(list);
    }
  }
}

TEST_F(AppendCopies, StartsAfreshOnAHeaderWhoseNodesWereTakenOver) {
  ll_list *first = ll_create_list();
  const auto bytes = records(sizeof(zv_rnumber), 4);
  ASSERT_EQ(ll_append_copies(first, bytes.data(), sizeof(zv_rnumber), 4, ZV_ITEM_RNUMBER), 4);
  ll_list *second = ll_create_list();
  *second = *first;
  first->head = nullptr;  // tail, cursor and count still name second's nodes
  ASSERT_EQ(ll_append_copies(first, bytes.data(), sizeof(zv_rnumber), 2, ZV_ITEM_RNUMBER), 2);
  EXPECT_EQ(first->current, first->head);  // an empty list's cursor goes to the first new node
  expect_consistent(first, bytes, sizeof(zv_rnumber), 2, ZV_ITEM_RNUMBER);
  expect_consistent(second, bytes, sizeof(zv_rnumber), 4, ZV_ITEM_RNUMBER);
  ll_purge_list(first);
  ll_purge_list(second);
}

TEST_F(AppendCopies, RefusedMemoryKeepsTheRecordsMadeBeforeIt) {
  constexpr long kCount = 5;
  const auto bytes = records(sizeof(zv_curve_stats_3d), kCount);
  for (long budget = 0; budget <= 2 * kCount; ++budget) {
    ll_list *list = ll_create_list();
    const long before = zv_live_blocks();
    zv_fail_alloc_after(budget);
    const long made = ll_append_copies(list, bytes.data(), sizeof(zv_curve_stats_3d), kCount, ZV_ITEM_PLAIN);
    zv_fail_alloc_after(-1);
    // Record, node, record, node, ...: a record whose node is refused goes.
    EXPECT_EQ(made, budget / 2) << "budget " << budget;
    EXPECT_EQ(zv_live_blocks() - before, 2 * made);
    expect_consistent(list, bytes, sizeof(zv_curve_stats_3d), made, ZV_ITEM_PLAIN);
    ll_purge_list(list);
  }
}

TEST_F(AppendCopies, DoesNothingForUnusableArguments) {
  ll_list *list = ll_create_list();
  const double value = 1.0;
  const long before = zv_live_blocks();
  EXPECT_EQ(ll_append_copies(nullptr, &value, sizeof value, 1, 0), 0);
  EXPECT_EQ(ll_append_copies(list, nullptr, sizeof value, 1, 0), 0);
  EXPECT_EQ(ll_append_copies(list, &value, 0, 1, 0), 0);
  EXPECT_EQ(ll_append_copies(list, &value, sizeof value, 0, 0), 0);
  EXPECT_EQ(ll_append_copies(list, &value, sizeof value, -7, 0), 0);
  EXPECT_EQ(ll_append_copies(list, &value, std::size_t{1} << 41, 1, 0), 0);  // the block is refused
  EXPECT_EQ(zv_live_blocks(), before);
  EXPECT_EQ(ll_list_length(list), 0);
  ll_purge_list(list);
}

}  // namespace
