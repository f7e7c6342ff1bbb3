// Kernel lists: order, cursor, take-over of a header, null and refused
// arguments, long lists and release.
#include "zv_testing.hpp"

#include <vector>

namespace {

using zvtest::KernelTest;

// A new real-number record holding value.
zv_rnumber *real(double value) {
  zv_rnumber *r = zv_create_rnumber();
  r->value = value;
  return r;
}

// The values met walking the cursor from one end with the given step.
std::vector<double> walk(ll_list *list, int16_t start, int16_t step) {
  std::vector<double> out;
  for (int16_t rc = ll_set_list_currpntr(list, start); rc != -1; rc = ll_set_list_currpntr(list, step)) {
    out.push_back(static_cast<zv_rnumber *>(ll_get_list_data(list))->value);
  }
  return out;
}

std::vector<double> values(const ll_list *list) {
  std::vector<double> out;
  for (const zv_rnumber &r : zvtest::items<zv_rnumber>(list)) out.push_back(r.value);
  return out;
}

using Lists = KernelTest;

// ---------------------------------------------------------------- order and cursor

TEST_F(Lists, AppendsAtTailAndInsertsAtHead) {
  ll_list *list = ll_create_list();
  EXPECT_EQ(ll_add_list_item(list, 1, real(2), ZV_ITEM_RNUMBER), 1);
  EXPECT_EQ(ll_add_list_item(list, 1, real(3), ZV_ITEM_RNUMBER), 1);
  EXPECT_EQ(ll_add_list_item(list, 0, real(1), ZV_ITEM_RNUMBER), 1);
  EXPECT_EQ(ll_add_list_item(list, 7, real(4), ZV_ITEM_RNUMBER), 1);  // any non-zero appends
  EXPECT_EQ(ll_add_list_item(list, -3, real(5), ZV_ITEM_POLY), 1);
  EXPECT_EQ(values(list), (std::vector<double>{1, 2, 3, 4, 5}));
  EXPECT_EQ(walk(list, LL_FIRST, LL_NEXT), (std::vector<double>{1, 2, 3, 4, 5}));
  EXPECT_EQ(walk(list, LL_LAST, LL_PREV), (std::vector<double>{5, 4, 3, 2, 1}));
  EXPECT_EQ(ll_get_list_count(list), 5);
  EXPECT_EQ(ll_list_length(list), 5);
  EXPECT_EQ(list->head->type, ZV_ITEM_RNUMBER);
  EXPECT_EQ(list->head->next->next->next->next->type, ZV_ITEM_POLY);
  ll_purge_list(list);
}

TEST_F(Lists, CursorStartsOnFirstItemAndStaysOnAppend) {
  ll_list *list = ll_create_list();
  EXPECT_EQ(ll_get_list_data(list), nullptr);
  ll_add_list_item(list, 1, real(1), 0);
  EXPECT_EQ(static_cast<zv_rnumber *>(ll_get_list_data(list))->value, 1.0);
  ll_add_list_item(list, 1, real(2), 0);
  ll_add_list_item(list, 0, real(0), 0);
  EXPECT_EQ(static_cast<zv_rnumber *>(ll_get_list_data(list))->value, 1.0);
  ll_purge_list(list);
}

TEST_F(Lists, CursorThatCannotMoveStaysAndReportsMinusOne) {
  ll_list *list = zvtest::make_reals({10, 20});
  EXPECT_EQ(ll_set_list_currpntr(list, LL_LAST), LL_LAST);
  EXPECT_EQ(ll_set_list_currpntr(list, LL_NEXT), -1);
  EXPECT_EQ(list->current, list->head->next);
  EXPECT_EQ(ll_set_list_currpntr(list, LL_FIRST), LL_FIRST);
  EXPECT_EQ(ll_set_list_currpntr(list, LL_PREV), -1);
  EXPECT_EQ(list->current, list->head);
  EXPECT_EQ(ll_set_list_currpntr(list, 4), -1);
  EXPECT_EQ(ll_set_list_currpntr(list, -1), -1);
  EXPECT_EQ(list->current, list->head);

  // A caller walking nodes itself may leave the cursor on no node.
  list->current = nullptr;
  EXPECT_EQ(ll_get_list_data(list), nullptr);
  EXPECT_EQ(ll_set_list_currpntr(list, LL_NEXT), -1);
  EXPECT_EQ(ll_set_list_currpntr(list, LL_PREV), -1);
  EXPECT_EQ(ll_set_list_currpntr(list, LL_LAST), LL_LAST);
  EXPECT_EQ(static_cast<zv_rnumber *>(ll_get_list_data(list))->value, 20.0);
  ll_purge_list(list);
}

// ---------------------------------------------------------------- take-over of a header

TEST_F(Lists, TakenOverHeaderLeavesSourceEmptyAndReusable) {
  ll_list *source = zvtest::make_reals({1, 2, 3});
  ll_set_list_currpntr(source, LL_LAST);
  ll_list *target = ll_create_list();
  *target = *source;  // all four words, as a curve definition does
  source->head = nullptr;

  EXPECT_EQ(ll_get_list_count(source), 0);
  EXPECT_EQ(ll_list_length(source), 0);
  EXPECT_EQ(ll_get_list_data(source), nullptr);
  for (int16_t mode : {LL_FIRST, LL_LAST, LL_NEXT, LL_PREV}) EXPECT_EQ(ll_set_list_currpntr(source, mode), -1);

  // Regression: appending must not follow the stale tail into target's nodes.
  EXPECT_EQ(ll_add_list_item(source, 1, real(9), 0), 1);
  EXPECT_EQ(ll_add_list_item(source, 0, real(8), 0), 1);
  EXPECT_EQ(values(source), (std::vector<double>{8, 9}));
  EXPECT_EQ(ll_get_list_count(source), 2);
  EXPECT_EQ(walk(source, LL_LAST, LL_PREV), (std::vector<double>{9, 8}));

  EXPECT_EQ(values(target), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(ll_get_list_count(target), 3);
  EXPECT_EQ(walk(target, LL_LAST, LL_PREV), (std::vector<double>{3, 2, 1}));
  ll_add_list_item(target, 1, real(4), 0);
  EXPECT_EQ(values(target), (std::vector<double>{1, 2, 3, 4}));
  ll_purge_list(source);
  ll_purge_list(target);
}

TEST_F(Lists, HeaderWithHeadButNoTailFindsItsEnd) {
  ll_list *nodes = zvtest::make_reals({1, 2});
  ll_list by_hand{nodes->head, nullptr, nullptr, 2};
  EXPECT_EQ(walk(&by_hand, LL_LAST, LL_PREV), (std::vector<double>{2, 1}));
  ll_add_list_item(&by_hand, 1, real(3), 0);
  EXPECT_EQ(values(nodes), (std::vector<double>{1, 2, 3}));
  nodes->tail = by_hand.tail;
  nodes->count = 3;
  ll_purge_list(nodes);
}

// ---------------------------------------------------------------- null and refused arguments

TEST_F(Lists, NullListReadsEmptyAndReleasesWhatIsAppended) {
  EXPECT_EQ(ll_get_list_count(nullptr), 0);
  EXPECT_EQ(ll_list_length(nullptr), 0);
  EXPECT_EQ(ll_get_list_data(nullptr), nullptr);
  for (int16_t mode : {LL_FIRST, LL_LAST, LL_NEXT, LL_PREV}) EXPECT_EQ(ll_set_list_currpntr(nullptr, mode), -1);
  const long before = zv_live_blocks();
  EXPECT_EQ(ll_add_list_item(nullptr, 1, real(1), 0), 0);
  EXPECT_EQ(ll_add_list_item(nullptr, 0, real(1), 0), 0);
  EXPECT_EQ(zv_live_blocks(), before);
  ll_purge_list(nullptr);
}

TEST_F(Lists, NullItemIsNotAdded) {
  ll_list *list = ll_create_list();
  EXPECT_EQ(ll_add_list_item(list, 1, nullptr, 0), 0);
  EXPECT_EQ(list->head, nullptr);
  ll_purge_list(list);
}

TEST_F(Lists, RefusedNodeReleasesTheItemAndLeavesTheList) {
  ll_list *list = zvtest::make_reals({1});
  zv_rnumber *item = real(2);
  const long before = zv_live_blocks();
  zv_fail_alloc_after(0);
  EXPECT_EQ(ll_add_list_item(list, 1, item, 0), 0);
  zv_fail_alloc_after(-1);
  EXPECT_EQ(zv_live_blocks(), before - 1);
  EXPECT_EQ(values(list), std::vector<double>{1});
  EXPECT_EQ(ll_get_list_count(list), 1);
  ll_purge_list(list);
}

// ---------------------------------------------------------------- long lists and release

TEST_F(Lists, CountSaturatesWhileLengthStaysExact) {
  ll_list *list = ll_create_list();
  for (int i = 0; i < 40000; ++i) ASSERT_EQ(ll_add_list_item(list, 1, real(i), 0), 1);
  EXPECT_EQ(ll_get_list_count(list), 32767);
  EXPECT_EQ(ll_list_length(list), 40000);
  long walked = 0;
  for (const ll_node *n = list->head; n; n = n->next) ++walked;
  EXPECT_EQ(walked, 40000);
  ll_set_list_currpntr(list, LL_LAST);
  EXPECT_EQ(static_cast<zv_rnumber *>(ll_get_list_data(list))->value, 39999.0);
  ll_purge_list(list);
}

TEST_F(Lists, PurgeReleasesHeaderNodesAndItems) {
  const long before = zv_live_blocks();
  ll_list *list = zvtest::make_reals({1, 2, 3});
  EXPECT_EQ(zv_live_blocks(), before + 7);
  ll_purge_list(list);
  EXPECT_EQ(zv_live_blocks(), before);
}

}  // namespace
