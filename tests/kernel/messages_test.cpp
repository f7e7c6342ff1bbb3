// Error and refused-memory reports: exact texts (nulls as empty) reach the
// installed handler with its user pointer; a handler may replace itself,
// since it runs outside the kernel's lock (regression guard); NULL brings
// back the one-line default on standard error.
#include "zv_testing.hpp"

namespace {

using zvtest::Message;
using Messages = zvtest::KernelTest;

TEST_F(Messages, ExactTextsUserPointersAndTheDefaultHandlers) {
  EXPECT_EQ((std::vector<int>{zv_display_msg("BADRECT", 75, "zv_ellipsepnts"), zv_display_msg("X", -32768, "f"),
                              zv_display_msg(nullptr, 33, nullptr)}),  // braced lists run in order
            (std::vector<int>{75, -32768, 33}));
  EXPECT_EQ(reports.messages, (std::vector<Message>{{"BADRECT", 75, "zv_ellipsepnts"}, {"X", -32768, "f"}, {"", 33, ""}}));
  zv_memerr("mk_nurb_curve3d - 2");
  zv_memerr(nullptr);
  EXPECT_EQ(reports.memerrs, (std::vector<std::string>{"mk_nurb_curve3d - 2", ""}));
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
  EXPECT_TRUE(reports.messages.size() == 3 && reports.memerrs.size() == 2);
}

}  // namespace
