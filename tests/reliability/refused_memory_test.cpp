// Refused memory at every allocation of every allocating workload: the call
// is repeated with the kernel refusing its k-th allocation for k = 0, 1, ...
// until it runs through. Each refused run must give the documented result,
// report once under the documented name (the fit: code 3 and no report),
// keep what it appended consistent with its count and leave no block behind.
#include <algorithm>

#include "workloads.hpp"

namespace {

using zvtest::Outcome, zvtest::Refused, zvtest::Workload;

class RefusedMemory : public zvtest::KernelTest, public ::testing::WithParamInterface<Workload> {};

TEST_P(RefusedMemory, EveryAllocationIsRefusedOnceCleanly) {
  const Workload &w = GetParam();
  const Outcome reference = w.run(zvtest::Arm{});
  ASSERT_TRUE(reports.memerrs.empty() && reports.messages.empty());
  const long start = zv_live_blocks();
  long k = 0;
  for (;; ++k) {
    ASSERT_LT(k, 100000) << "never ran through";
    reports.memerrs.clear();
    const Outcome o = w.run(zvtest::Arm{k});
    SCOPED_TRACE("refusing allocation " + std::to_string(k));
    EXPECT_EQ(zv_live_blocks(), start);
    EXPECT_TRUE(reports.messages.empty());
    if (o == reference && reports.memerrs.empty()) break;
    if (w.refused == Refused::Three) {
      EXPECT_EQ(o.result, 3);
      EXPECT_TRUE(reports.memerrs.empty());
    } else {
      ASSERT_EQ(reports.memerrs.size(), 1u);
      EXPECT_NE(std::find(w.memerrs.begin(), w.memerrs.end(), reports.memerrs[0]),
                w.memerrs.end()) << reports.memerrs[0];
    }
    if (w.refused == Refused::MinusOne) { EXPECT_EQ(o.result, -1); }
    if (w.refused == Refused::NullRecord) { EXPECT_EQ(o.result, 0); }
    if (w.refused == Refused::CountSoFar) { EXPECT_EQ(o.result, o.items); }
    if (o.count != -1) { EXPECT_EQ(o.count, o.items); }
    EXPECT_LE(o.items, reference.items);
    if (HasFailure()) return;
  }
  EXPECT_GT(k, 0) << "allocates nothing: mark it Refused::None";
}

std::vector<Workload> allocating() {
  std::vector<Workload> out = zvtest::workloads();
  out.erase(std::remove_if(out.begin(), out.end(), [](const Workload &w) { return w.refused == Refused::None; }),
            out.end());
  return out;
}

INSTANTIATE_TEST_SUITE_P(Functions, RefusedMemory, ::testing::ValuesIn(allocating()), [](const auto &param) {
  return std::string(param.param.function) + "_" + std::to_string(param.index);
});

}  // namespace
