// Kernel lists: order and cursor, take-over of a header, null and refused
// arguments, long lists.
#include "zv_testing.hpp"

namespace {

using Lists = zvtest::KernelTest;
using Values = std::vector<double>;

zv_rnumber *real(double value) {
  zv_rnumber *r = zv_create_rnumber();
  r->value = value;
  return r;
}

double at_cursor(const ll_list *list) { return static_cast<zv_rnumber *>(ll_get_list_data(list))->value; }

// The values met walking the cursor from one end with the given step.
Values walk(ll_list *list, int16_t start, int16_t step) {
  Values out;
  for (int16_t rc = ll_set_list_currpntr(list, start); rc != -1; rc = ll_set_list_currpntr(list, step))
    out.push_back(at_cursor(list));
  return out;
}

Values values(const ll_list *list) {
  Values out;
  for (const zv_rnumber &r : zvtest::items<zv_rnumber>(list)) out.push_back(r.value);
  return out;
}

TEST_F(Lists, OrderCursorAndCounts) {
  ll_list *list = ll_create_list();
  EXPECT_EQ(ll_get_list_data(list), nullptr);
  EXPECT_EQ(ll_add_list_item(list, 1, real(2), ZV_ITEM_RNUMBER), 1);  // the cursor lands on the first item
  EXPECT_EQ(ll_add_list_item(list, 1, real(3), ZV_ITEM_RNUMBER), 1);
  EXPECT_EQ(ll_add_list_item(list, 0, real(1), ZV_ITEM_RNUMBER), 1);
  EXPECT_EQ(at_cursor(list), 2.0);  // and stays there
  EXPECT_EQ(ll_add_list_item(list, 7, real(4), ZV_ITEM_RNUMBER), 1);  // any other where appends
  EXPECT_EQ(ll_add_list_item(list, -3, real(5), ZV_ITEM_POLY), 1);
  EXPECT_EQ(walk(list, LL_FIRST, LL_NEXT), (Values{1, 2, 3, 4, 5}));
  EXPECT_EQ(walk(list, LL_LAST, LL_PREV), (Values{5, 4, 3, 2, 1}));
  EXPECT_EQ(ll_get_list_count(list), 5);
  EXPECT_EQ(list->tail->type, ZV_ITEM_POLY);
  // A cursor that cannot move stays and gives -1.
  EXPECT_EQ(ll_set_list_currpntr(list, LL_PREV), -1);
  EXPECT_EQ(list->current, list->head);
  for (int16_t mode : {4, -1}) EXPECT_EQ(ll_set_list_currpntr(list, mode), -1);
  EXPECT_EQ(list->current, list->head);
  list->current = nullptr;  // a caller walking the nodes itself
  EXPECT_EQ(ll_get_list_data(list), nullptr);
  EXPECT_EQ(ll_set_list_currpntr(list, LL_NEXT), -1);
  EXPECT_EQ(ll_set_list_currpntr(list, LL_LAST), LL_LAST);
  EXPECT_EQ(at_cursor(list), 5.0);
  ll_purge_list(list);
}

// Regression: appending to a header whose nodes were taken over followed its
// stale tail into the new owner's nodes.
TEST_F(Lists, TakenOverHeaderReadsEmptyAndStartsAfresh) {
  ll_list *source = zvtest::make_reals({1, 2, 3});
  ll_set_list_currpntr(source, LL_LAST);
  ll_list *target = ll_create_list();
  *target = *source;  // all four words, as a curve definition does
  source->head = nullptr;
  EXPECT_EQ(ll_list_length(source), 0);
  EXPECT_EQ(ll_get_list_data(source), nullptr);
  for (int16_t mode : {LL_FIRST, LL_LAST, LL_NEXT, LL_PREV}) EXPECT_EQ(ll_set_list_currpntr(source, mode), -1);
  ll_add_list_item(source, 1, real(9), 0);
  ll_add_list_item(source, 0, real(8), 0);
  EXPECT_EQ(walk(source, LL_LAST, LL_PREV), (Values{9, 8}));
  EXPECT_EQ(ll_get_list_count(source), 2);
  ll_add_list_item(target, 1, real(4), 0);
  EXPECT_EQ(walk(target, LL_LAST, LL_PREV), (Values{4, 3, 2, 1}));
  ll_purge_list(source);
  ll_purge_list(target);

  // A header with a head but no tail finds its end.
  ll_list *nodes = zvtest::make_reals({1, 2});
  ll_list by_hand{nodes->head, nullptr, nullptr, 2};
  EXPECT_EQ(walk(&by_hand, LL_LAST, LL_PREV), (Values{2, 1}));
  ll_add_list_item(&by_hand, 1, real(3), 0);
  EXPECT_EQ(values(nodes), (Values{1, 2, 3}));
  nodes->tail = by_hand.tail, nodes->count = 3;
  ll_purge_list(nodes);
}

// A null list reads empty; an item that cannot be added (null list,
// refused node) is released by the kernel, so the caller never frees it.
TEST_F(Lists, NullAndRefusedAppendsReleaseTheItem) {
  EXPECT_EQ(ll_get_list_count(nullptr), 0);
  EXPECT_EQ(ll_list_length(nullptr), 0);
  EXPECT_EQ(ll_get_list_data(nullptr), nullptr);
  EXPECT_EQ(ll_set_list_currpntr(nullptr, LL_FIRST), -1);
  ll_purge_list(nullptr);
  ll_list *list = zvtest::make_reals({1});
  const long before = zv_live_blocks();
  EXPECT_EQ(ll_add_list_item(nullptr, 1, real(1), 0), 0);
  EXPECT_EQ(ll_add_list_item(list, 1, nullptr, 0), 0);
  zv_rnumber *item = real(2);
  zv_fail_alloc_after(0);
  EXPECT_EQ(ll_add_list_item(list, 1, item, 0), 0);
  zv_fail_alloc_after(-1);
  EXPECT_EQ(zv_live_blocks(), before);
  EXPECT_EQ(values(list), Values{1});
  ll_purge_list(list);
}

TEST_F(Lists, CountSaturatesWhileLengthStaysExact) {
  ll_list *list = ll_create_list();
  for (int i = 0; i < 40000; ++i) ASSERT_EQ(ll_add_list_item(list, 1, real(i), 0), 1);
  EXPECT_EQ(ll_get_list_count(list), 32767);
  EXPECT_EQ(ll_list_length(list), 40000);
  ll_set_list_currpntr(list, LL_LAST);
  EXPECT_EQ(at_cursor(list), 39999.0);
  ll_purge_list(list);
}

}  // namespace
