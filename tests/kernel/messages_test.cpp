// Error and refused-memory reports: exact texts reach the installed handler
// with its user pointer, and NULL brings back the one-line default.
#include "zv_testing.hpp"

#include <string>
#include <vector>

namespace {

using zvtest::Message;
using Messages = zvtest::KernelTest;

TEST_F(Messages, HandlerReceivesExactTextsAndNumber) {
  EXPECT_EQ(zv_display_msg("BADRECT", 75, "zv_ellipsepnts"), 75);
  EXPECT_EQ(zv_display_msg("BADMODE", 1, "zv_hyperpolapnts_3d"), 1);
  EXPECT_EQ(zv_display_msg("BADKNOTSEQ", 0, "zv_def_nubspl_curve3d"), 0);
  EXPECT_EQ(zv_display_msg("X", -32768, "f"), -32768);
  EXPECT_EQ(reports.messages, (std::vector<Message>{{"BADRECT", 75, "zv_ellipsepnts"},
                                                    {"BADMODE", 1, "zv_hyperpolapnts_3d"},
                                                    {"BADKNOTSEQ", 0, "zv_def_nubspl_curve3d"},
                                                    {"X", -32768, "f"}}));
  zv_memerr("mk_nurb_curve3d - 2");
  EXPECT_EQ(reports.memerrs, std::vector<std::string>{"mk_nurb_curve3d - 2"});
}

TEST_F(Messages, NullTextsArriveAsEmptyStrings) {
  EXPECT_EQ(zv_display_msg(nullptr, 33, nullptr), 33);
  zv_memerr(nullptr);
  EXPECT_EQ(reports.messages, (std::vector<Message>{{"", 33, ""}}));
  EXPECT_EQ(reports.memerrs, std::vector<std::string>{""});
}

TEST_F(Messages, HandlerGetsItsOwnUserPointer) {
  int seen = 0;
  zv_set_msg_handler([](const char *, int16_t number, const char *, void *user) { *static_cast<int *>(user) += number; },
                     &seen);
  zv_display_msg("A", 5, "f");
  zv_display_msg("B", 7, "f");
  EXPECT_EQ(seen, 12);
  EXPECT_TRUE(reports.messages.empty());
}

TEST_F(Messages, HandlerMayReplaceItselfWhileReporting) {
  // Regression guard: the handler runs outside the kernel's lock.
  zv_set_msg_handler([](const char *, int16_t, const char *, void *) { zv_set_msg_handler(nullptr, nullptr); },
                     nullptr);
  zv_display_msg("A", 1, "f");
  testing::internal::CaptureStderr();
  zv_display_msg("B", 2, "g");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "B (2) in g\n");
}

TEST_F(Messages, NullRestoresTheOneLineDefaults) {
  zv_set_msg_handler(nullptr, &reports);
  zv_set_memerr_handler(nullptr, &reports);
  testing::internal::CaptureStderr();
  zv_display_msg("BADRECT", 75, "zv_ellipse_pnt_3d");
  zv_memerr("zv_mk_ucurve3d");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "BADRECT (75) in zv_ellipse_pnt_3d\nout of memory in zv_mk_ucurve3d\n");
  EXPECT_TRUE(reports.messages.empty());
  EXPECT_TRUE(reports.memerrs.empty());
}

}  // namespace
