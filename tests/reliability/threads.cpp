// Every family at once on several threads, each with its own records and lists, with the message and memory
// handlers installed: every call must give the result it gives alone, every message must reach the handler on the
// thread that caused it, and no kernel block may be left behind. Built under ThreadSanitizer (preset tsan) this
// also proves the kernel's allocator, counters and handler slots free of data races.
#include <atomic>
#include <thread>

#include "workloads.hpp"

namespace {

using zvtest::Got, zvtest::Message;

thread_local std::vector<Message> thread_messages;  // the reports of the calling thread
std::atomic<long> reports{0};

TEST(Threads, EveryFamilyConcurrentlyGivesItsOwnResults) {
  zv_fail_alloc_after(-1);
  const auto work = zvtest::workloads();
  std::vector<Got> reference;
  for (const auto &w : work) reference.push_back(w.run());
  const long start = zv_live_blocks();
  zv_set_msg_handler([](const char *code, int16_t number, const char *function, void *) {
    thread_messages.push_back({code, number, function}), ++reports;
  }, nullptr);
  zv_set_memerr_handler([](const char *, void *) { ++reports; }, nullptr);
  constexpr int kThreads = 4, kRounds = 6;
  std::atomic<long> mismatches{0};
  std::vector<std::thread> threads;
  for (int16_t t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      // Each thread walks the families from its own starting point, so different families overlap in time, and
      // after each call reports a message of its own, with the ellipse's refusal and the thread's number.
      for (size_t i = 0; i < kRounds * work.size(); ++i) {
        const size_t j = (i + t * work.size() / kThreads) % work.size();
        const Got got = work[j].run();
        thread_messages.clear();
        zv_pnt_3d p;
        zv_ellipse_pnt_3d({0, 0, 0}, 0.0, 1.0, 0.5, &p), zv_display_msg("THREAD", t, "threads");
        const std::vector<Message> mine = {{"BADRECT", 75, "zv_ellipse_pnt_3d"}, {"THREAD", t, "threads"}};
        if (!(got == reference[j] && got.sum == reference[j].sum) || thread_messages != mine) ++mismatches;
      }
    });
  for (auto &th : threads) th.join();
  zv_set_msg_handler(nullptr, nullptr), zv_set_memerr_handler(nullptr, nullptr);
  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_EQ(reports.load(), 2L * kThreads * kRounds * static_cast<long>(work.size()));  // the messages alone
  EXPECT_EQ(zv_live_blocks(), start);
}

}  // namespace
