// Refused memory at every allocation of every allocating workload: the call is repeated with the kernel refusing
// its k-th allocation for k = 0, 1, ... until it runs through. Each refused run must give the documented result,
// report once under the documented name (the fit: code 3 and no report), keep what it appended consistent with its
// count and leave no block behind.
#include <algorithm>

#include "workloads.hpp"

namespace {

using zvtest::Got, zvtest::Refused, zvtest::Workload;

class RefusedMemory : public zvtest::KernelTest, public ::testing::WithParamInterface<Workload> {};

TEST_P(RefusedMemory, EveryAllocationIsRefusedOnceCleanly) {
  const Workload &w = GetParam();
  const Got reference = w.run();
  ASSERT_TRUE(reports.memerrs.empty() && reports.messages.empty());
  const long start = zv_live_blocks();
  long k = 0;
  for (;; ++k) {
    ASSERT_LT(k, 100000) << "never ran through";
    reports.memerrs.clear();
    zvtest::budget = k;
    const Got o = w.run();
    zvtest::budget = -1;
    SCOPED_TRACE("refusing allocation " + std::to_string(k));
    EXPECT_EQ(zv_live_blocks(), start);
    EXPECT_TRUE(reports.messages.empty());
    if (o == reference && reports.memerrs.empty()) break;
    const std::vector<std::string> &m = reports.memerrs;
    if (w.refused == Refused::Three) {
      EXPECT_TRUE(o.result == 3 && m.empty());
    } else {
      ASSERT_TRUE(m.size() == 1 && std::count(w.memerrs.begin(), w.memerrs.end(), m[0])) << testing::PrintToString(m);
    }
    if (w.refused == Refused::MinusOne) { EXPECT_EQ(o.result, -1); }
    if (w.refused == Refused::NullRecord) { EXPECT_EQ(o.result, 0); }
    if (w.refused == Refused::CountSoFar) { EXPECT_EQ(o.result, o.appended); }
    if (o.count != -1) { EXPECT_EQ(o.count, o.appended); }
    EXPECT_LE(o.appended, reference.appended);
    if (HasFailure()) return;
  }
  EXPECT_GT(k, 0) << "allocates nothing";
}

INSTANTIATE_TEST_SUITE_P(Functions, RefusedMemory, ::testing::ValuesIn(zvtest::workloads()), [](const auto &param) {
  return std::string(param.param.function) + "_" + std::to_string(param.index);
});

}  // namespace
