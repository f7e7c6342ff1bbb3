// Programs the stateful fuzz target (tests/fuzz/program.hpp) found faults with, replayed through the same
// interpreter: each must run without a crash and give every kernel block back (the fixture counts them).
#include <fstream>
#include <iterator>

#include "../fuzz/program.hpp"
#include "zv_testing.hpp"

namespace {

class ProgramRegression : public zvtest::KernelTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(ProgramRegression, RunsCleanAndReleasesEverything) {
  std::ifstream file(std::string(ZV_FUZZ_CORPUS "/program/") + GetParam(), std::ios::binary);
  ASSERT_TRUE(file) << GetParam();
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  zvfuzz::Input in(bytes.data(), bytes.size());
  zvfuzz::run_program(in);
}

// A uniform Bezier split into a record whose lists a NURB definition borrowed released them (use after free,
// double free); a rational definition refused on a non-uniform B-spline record set its type, and the next one that
// succeeded took the record's own control and knot lists for borrowed ones and leaked them.
INSTANTIATE_TEST_SUITE_P(Kept, ProgramRegression,
                         ::testing::Values("fault-split-frees-borrowed", "found-split-frees-borrowed",
                                           "fault-redefinition-leaks", "found-redefinition-leaks"));

}  // namespace
