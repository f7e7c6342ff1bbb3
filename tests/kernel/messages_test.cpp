// Error and refused-memory reports: exact texts reach the installed handler
// with its user pointer, and NULL brings back the one-line default.
#include "zv_testing.hpp"

namespace {

using zvtest::Message;
using Messages = zvtest::KernelTest;

TEST_F(Messages, HandlerReceivesExactTextsAndNullsAsEmpty) {
  EXPECT_EQ(zv_display_msg("BADRECT", 75, "zv_ellipsepnts"), 75);
  EXPECT_EQ(zv_display_msg("X", -32768, "f"), -32768);
  EXPECT_EQ(zv_display_msg(nullptr, 33, nullptr), 33);
  EXPECT_EQ(reports.messages, (std::vector<Message>{{"BADRECT", 75, "zv_ellipsepnts"}, {"X", -32768, "f"}, {"", 33, ""}}));
  zv_memerr("mk_nurb_curve3d - 2");
  zv_memerr(nullptr);
  EXPECT_EQ(reports.memerrs, (std::vector<std::string>{"mk_nurb_curve3d - 2", ""}));
}

// Regression guard: the handler runs outside the kernel's lock, so it may
// replace itself; its own user pointer comes with every report.
TEST_F(Messages, HandlerGetsItsUserPointerAndMayReplaceItself) {
  int seen = 0;
  zv_set_msg_handler([](const char *, int16_t n, const char *, void *user) { *static_cast<int *>(user) += n; }, &seen);
  zv_display_msg("A", 5, "f");
  zv_display_msg("B", 7, "f");
  EXPECT_EQ(seen, 12);
  zv_set_msg_handler([](const char *, int16_t, const char *, void *) { zv_set_msg_handler(nullptr, nullptr); }, nullptr);
  zv_display_msg("A", 1, "f");
  zv_set_memerr_handler(nullptr, &reports);
  testing::internal::CaptureStderr();
  zv_display_msg("BADRECT", 75, "zv_ellipse_pnt_3d");
  zv_memerr("zv_mk_ucurve3d");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "BADRECT (75) in zv_ellipse_pnt_3d\nout of memory in zv_mk_ucurve3d\n");
  EXPECT_TRUE(reports.messages.empty() && reports.memerrs.empty());
}

}  // namespace
