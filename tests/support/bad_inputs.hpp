// The bad-input table runner: one row per function and class of bad input,
// each with the result it must give and the exact messages it must report.
// Every row must leave no kernel block behind and report no refused memory.
#pragma once

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "zv_testing.hpp"

namespace zvtest {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct BadInput {
  const char *function;
  const char *input;           // the class of bad input
  std::function<long()> call;  // builds its inputs, calls, releases them
  long expected;               // the result (1/0 for a record or none)
  std::vector<Message> messages = {};
};

// Releases a record a definition returned and tells whether there was one.
inline long made(zv_curve *curve) {
  zv_purge_curve(curve);
  return curve != nullptr;
}

// The result calls that must all give the same gave, or -99 when they differ.
inline long common(std::initializer_list<long> results) {
  for (long r : results)
    if (r != *results.begin()) return -99;
  return *results.begin();
}

// Runs every row; failures name the row. Returns the number of rows.
inline size_t check_bad_inputs(Reports &reports, const std::vector<BadInput> &rows) {
  for (const BadInput &row : rows) {
    SCOPED_TRACE(std::string(row.function) + ": " + row.input);
    reports.messages.clear();
    reports.memerrs.clear();
    const long start = zv_live_blocks();
    EXPECT_EQ(row.call(), row.expected);
    EXPECT_EQ(reports.messages, row.messages);
    EXPECT_TRUE(reports.memerrs.empty());
    EXPECT_EQ(zv_live_blocks(), start) << "kernel blocks leaked";
  }
  return rows.size();
}

}  // namespace zvtest
