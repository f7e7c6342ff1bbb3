// Shared test helpers: a fixture that catches leaked kernel blocks and
// records every message, plus builders and readers for kernel lists.
#pragma once

#include <gtest/gtest.h>
#include <rivezi3z/rivezi3z.h>

#include <cstring>
#include <string>
#include <vector>

namespace zvtest {

struct Message {
  std::string code;
  int number;
  std::string function;
  bool operator==(const Message &) const = default;
};

inline std::ostream &operator<<(std::ostream &os, const Message &m) {
  return os << '(' << m.code << ", " << m.number << ", " << m.function << ')';
}

// Records every error report and memory report while alive; the default
// handlers come back when it goes.
class Reports {
 public:
  Reports() {
    zv_set_msg_handler(
        [](const char *code, int16_t number, const char *function, void *user) {
          static_cast<Reports *>(user)->messages.push_back({code, number, function});
        },
        this);
    zv_set_memerr_handler(
        [](const char *where, void *user) { static_cast<Reports *>(user)->memerrs.emplace_back(where); },
        this);
  }
  ~Reports() {
    zv_set_msg_handler(nullptr, nullptr);
    zv_set_memerr_handler(nullptr, nullptr);
  }
  Reports(const Reports &) = delete;
  Reports &operator=(const Reports &) = delete;

  std::vector<Message> messages;
  std::vector<std::string> memerrs;
};

// Fixture: every kernel block a test makes must be released by its end,
// allocation failures are switched off, and messages are recorded.
class KernelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zv_fail_alloc_after(-1);
    start_blocks_ = zv_live_blocks();
  }
  void TearDown() override {
    zv_fail_alloc_after(-1);
    EXPECT_EQ(zv_live_blocks(), start_blocks_) << "kernel blocks leaked by this test";
  }
  Reports reports;

 private:
  long start_blocks_ = 0;
};

// A new list of vertices at the given points, numbered from 0.
inline ll_list *make_polygon(const std::vector<zv_pnt_3d> &points) {
  ll_list *list = ll_create_list();
  int16_t i = 0;
  for (const zv_pnt_3d &p : points) {
    zv_poly_3d *v = zv_create_poly_3d();
    v->index = i++;
    v->x = p.x;
    v->y = p.y;
    v->z = p.z;
    ll_add_list_item(list, 1, v, ZV_ITEM_POLY);
  }
  return list;
}

// A new list of real numbers.
inline ll_list *make_reals(const std::vector<double> &values) {
  ll_list *list = ll_create_list();
  for (double value : values) {
    zv_rnumber *r = zv_create_rnumber();
    r->value = value;
    ll_add_list_item(list, 1, r, ZV_ITEM_RNUMBER);
  }
  return list;
}

// Copies of the items of a list, walking the nodes from head.
template <class T>
std::vector<T> items(const ll_list *list) {
  std::vector<T> out;
  if (!list) return out;
  for (const ll_node *n = list->head; n; n = n->next) {
    T item;
    std::memcpy(&item, n->data, sizeof item);
    out.push_back(item);
  }
  return out;
}

// A vertex copied out of its packed record, so tests can compare fields
// without binding references to misaligned doubles.
struct Vertex {
  int index;
  double x, y, z;
};

// The vertices of a list as aligned copies, in list order.
inline std::vector<Vertex> vertices(const ll_list *list) {
  std::vector<Vertex> out;
  if (!list) return out;
  for (const ll_node *n = list->head; n; n = n->next) {
    const auto *v = static_cast<const zv_poly_3d *>(n->data);
    out.push_back({v->index, v->x, v->y, v->z});
  }
  return out;
}

// A packed field read by value (never bind a reference to one).
template <class T>
T value(T field) {
  return field;
}

}  // namespace zvtest
