// What the benchmark programs share: this thread's CPU clock and the ratio
// column. Our benchmark of a task runs first and leaves its median CPU time
// per item (over the repetitions) under a key; each peer doing the same
// work reports ours_over_peer, our time per item over its own.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace zvbench {

// This thread's CPU time in ns (the clock Google Benchmark reports by default).
inline double cpu_ns() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e9 + static_cast<double>(ts.tv_nsec);
}

// Our CPU time per item, every repetition, by task and size.
inline std::map<std::string, std::vector<double>> &ours_runs() {
  static std::map<std::string, std::vector<double>> runs;
  return runs;
}

inline std::string key(const std::string &task, long n) { return task + "/" + std::to_string(n); }

// Records one run of ours: ns per item.
inline void record_ours(const std::string &task, long n, double ns_per_item) {
  ours_runs()[key(task, n)].push_back(ns_per_item);
}

// The median of our runs; NaN when ours has not run (a filtered run).
inline double ours_ns(const std::string &task, long n) {
  auto found = ours_runs().find(key(task, n));
  if (found == ours_runs().end() || found->second.empty()) return std::nan("");
  std::vector<double> v = found->second;
  std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
  return v[v.size() / 2];
}

// A counter shown as ns per item.
inline benchmark::Counter per_item(double items) {
  return benchmark::Counter(items, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Sets the ratio column of a peer that took peer_ns per item.
inline void report_ratio(benchmark::State &state, const std::string &task, long n, double peer_ns) {
  state.counters["ours_over_peer"] = ours_ns(task, n) / peer_ns;
}

}  // namespace zvbench
