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

using zvtest::Message;
using zvtest::Outcome;

// Reports land in the calling thread's own record.
thread_local std::vector<Message> thread_messages;
thread_local long thread_memerrs = 0;
std::atomic<long> all_reports{0};

void on_message(const char *code, int16_t number, const char *function, void *user) {
  thread_messages.push_back({code, number, function});
  static_cast<std::atomic<long> *>(user)->fetch_add(1);
}

void on_memerr(const char *, void *user) {
  ++thread_memerrs;
  static_cast<std::atomic<long> *>(user)->fetch_add(1);
}

// Calls that report a message, with the triple each must report.
struct MessageCall {
  std::function<int(void)> call;
  Message message;
};

std::vector<MessageCall> message_calls() {
  return {
      {[] {
         zv_pnt_3d p;
         return zv_ellipse_pnt_3d({0, 0, 0}, 0.0, 1.0, 0.5, &p);
       },
       {"BADRECT", 75, "zv_ellipse_pnt_3d"}},
      {[] {
         ll_list *ctrl = zvtest::make_polygon({{0, 0, 0}, {1, 1, 1}, {2, 0, 0}});
         int16_t count = 0;
         const int r = zv_catrom_curve_3d(3, ctrl, 4, 0.5, &count, nullptr);
         ll_purge_list(ctrl);
         return r;
       },
       {"BADCNT", 33, "zv_catrom_curve_3d"}},
      {[] {
         ll_list *ctrl = zvtest::make_polygon({{0, 0, 0}, {1, 1, 1}}), *knots = zvtest::make_reals({0, 1, 2});
         zv_curve *c = zv_def_nubspl_curve3d(ctrl, knots, 0, 2);
         ll_purge_list(ctrl), ll_purge_list(knots);
         return c ? 1 : 0;
       },
       {"BADDEG", 0, "zv_def_nubspl_curve3d"}},
  };
}

TEST(Threads, EveryFamilyConcurrentlyGivesItsOwnResults) {
  zv_fail_alloc_after(-1);
  const auto work = zvtest::workloads();
  const auto messages = message_calls();
  std::vector<Outcome> reference;
  for (const auto &w : work) reference.push_back(w.run(zvtest::Arm{}));
  const long start = zv_live_blocks();

  zv_set_msg_handler(on_message, &all_reports);
  zv_set_memerr_handler(on_memerr, &all_reports);
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
          const Outcome o = work[j].run(zvtest::Arm{});
          if (!(o == reference[j])) mismatches.fetch_add(1);
          const MessageCall &m = messages[(i + t) % messages.size()];
          thread_messages.clear();
          m.call();
          if (thread_messages != std::vector<Message>{m.message}) mismatches.fetch_add(1);
        }
      }
    });
  }
  for (auto &th : threads) th.join();
  zv_set_msg_handler(nullptr, nullptr);
  zv_set_memerr_handler(nullptr, nullptr);

  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_EQ(all_reports.load(), long{kThreads} * kRounds * static_cast<long>(work.size()));
  EXPECT_EQ(zv_live_blocks(), start);
}

}  // namespace
