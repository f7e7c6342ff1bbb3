// Every family at once on several threads, each with its own records and
// lists, with the message and memory handlers installed: every call must
// give the result it gives alone, every message must reach the handler on
// the thread that caused it, and no kernel block may be left behind. Built
// under ThreadSanitizer (preset tsan) this also proves the kernel's
// allocator, counters and handler slots free of data races.
#include <atomic>
#include <thread>

#include "workloads.hpp"

namespace {

using zvtest::Message, zvtest::Outcome;

// Reports land in the calling thread's own record.
thread_local std::vector<Message> thread_messages;
std::atomic<long> all_reports{0};

// Calls that report a message, with the message each must report.
const std::vector<std::pair<std::function<void()>, Message>> kMessageCalls = {
    {[] { zv_pnt_3d p; zv_ellipse_pnt_3d({0, 0, 0}, 0.0, 1.0, 0.5, &p); }, {"BADRECT", 75, "zv_ellipse_pnt_3d"}},
    {[] {
       ll_list *ctrl = zvtest::make_polygon({{0, 0, 0}, {1, 1, 1}, {2, 0, 0}});
       int16_t count = 0;
       zv_catrom_curve_3d(3, ctrl, 4, 0.5, &count, nullptr);
       ll_purge_list(ctrl);
     }, {"BADCNT", 33, "zv_catrom_curve_3d"}},
    {[] {
       ll_list *ctrl = zvtest::make_polygon({{0, 0, 0}, {1, 1, 1}}), *knots = zvtest::make_reals({0, 1, 2});
       zv_purge_curve(zv_def_nubspl_curve3d(ctrl, knots, 0, 2));
       ll_purge_list(ctrl), ll_purge_list(knots);
     }, {"BADDEG", 0, "zv_def_nubspl_curve3d"}},
};

TEST(Threads, EveryFamilyConcurrentlyGivesItsOwnResults) {
  zv_fail_alloc_after(-1);
  const auto work = zvtest::workloads();
  std::vector<Outcome> reference;
  for (const auto &w : work) reference.push_back(w.run(zvtest::Arm{}));
  const long start = zv_live_blocks();

  zv_set_msg_handler([](const char *code, int16_t number, const char *function, void *user) {
    thread_messages.push_back({code, number, function});
    static_cast<std::atomic<long> *>(user)->fetch_add(1);
  }, &all_reports);
  zv_set_memerr_handler([](const char *, void *user) { static_cast<std::atomic<long> *>(user)->fetch_add(1); },
                        &all_reports);
  constexpr int kThreads = 4, kRounds = 6;
  std::atomic<long> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        // Each thread walks the families from its own starting point, so
        // different families overlap in time.
        for (size_t i = 0; i < work.size(); ++i) {
          const size_t j = (i + t * work.size() / kThreads) % work.size();
          if (!(work[j].run(zvtest::Arm{}) == reference[j])) mismatches.fetch_add(1);
          const auto &[call, message] = kMessageCalls[(i + t) % kMessageCalls.size()];
          thread_messages.clear();
          call();
          if (thread_messages != std::vector<Message>{message}) mismatches.fetch_add(1);
        }
      }
    });
  }
  for (auto &th : threads) th.join();
  zv_set_msg_handler(nullptr, nullptr);
  zv_set_memerr_handler(nullptr, nullptr);

  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_EQ(all_reports.load(), long{kThreads} * kRounds * static_cast<long>(work.size()));  // messages alone
  EXPECT_EQ(zv_live_blocks(), start);
}

}  // namespace
