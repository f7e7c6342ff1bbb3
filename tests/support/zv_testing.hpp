// Shared test helpers: a fixture that catches leaked kernel blocks and records every message, and kernel lists
// built and read through the C++ owners.
#pragma once

#include <gtest/gtest.h>
#include <rivezi3z/rivezi3z.hpp>

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

// Every error report and memory report made while it lives.
struct Reports {
  std::vector<Message> messages;
  std::vector<std::string> memerrs;
  rivezi3z::MessageCapture capture{
      [](const char *code, int16_t number, const char *function, void *user) {
        static_cast<Reports *>(user)->messages.push_back({code, number, function});
      },
      [](const char *where, void *user) { static_cast<Reports *>(user)->memerrs.emplace_back(where); }, this};
};

// Fixture: allocation failures off, messages recorded, every kernel block a test makes released by its end.
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
  long start_blocks_ = 0;
};

// New lists the caller releases: vertices at the points numbered from 0, and real numbers.
inline ll_list *make_polygon(const std::vector<zv_pnt_3d> &points) { return rivezi3z::polygon(points).release(); }
inline ll_list *make_reals(const std::vector<double> &values) { return rivezi3z::reals(values).release(); }

// Copies of the items of a list, head to tail (none for a null list).
template <class T>
std::vector<T> items(const ll_list *list) {
  std::vector<T> out;
  for (const T &item : rivezi3z::ListView<T>(list)) out.push_back(item);
  return out;
}

// A vertex copied out of its packed record, so that no reference binds to a misaligned double.
struct Vertex {
  int index;
  double x, y, z;
};
inline std::vector<Vertex> vertices(const ll_list *list) {
  std::vector<Vertex> out;
  for (const zv_poly_3d &v : items<zv_poly_3d>(list)) out.push_back({v.index, v.x, v.y, v.z});
  return out;
}

// A packed field read by value (never bind a reference to one).
template <class T>
T value(T field) {
  return field;
}

}  // namespace zvtest
