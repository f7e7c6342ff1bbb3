// Calls and what they gave, and the bad-input table runner: a row names a function and a class of bad input, what
// each of its calls must give and report; no row may report refused memory or leave a kernel block behind.
#pragma once

#include <rivezi3z/rivezi3z.hpp>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "zv_testing.hpp"

namespace zvtest {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The refusal budget of the library calls (-1: none), set around each call alone, never its inputs' building.
inline long budget = -1;
template <class F>
auto armed(F call) {
  if (budget >= 0) zv_fail_alloc_after(budget);
  auto result = call();
  if (budget >= 0) zv_fail_alloc_after(-1);
  return result;
}

// What one call gave: its result (1/0 for a record or none), the n and the count it wrote back (-1 for none: the
// calls start them at -1), the vertices it appended and their checksum, which comparisons leave out.
struct Got {
  long result = 0, n = -1, count = -1, appended = 0;
  double sum = 0.0;
  bool operator==(const Got &g) const {
    return result == g.result && n == g.n && count == g.count && appended == g.appended;
  }
};
inline std::ostream &operator<<(std::ostream &os, const Got &g) {
  return os << "{result " << g.result << ", n " << g.n << ", count " << g.count << ", appended " << g.appended << '}';
}
inline Got as_got(long result) { return {result}; }
inline Got as_got(Got got) { return got; }
// got with the vertices of list added.
inline Got appended(Got got, const ll_list *list) {
  for (const Vertex &v : vertices(list)) ++got.appended, got.sum += v.x + 2.0 * v.y + 3.0 * v.z + v.index;
  return got;
}
// f(args..., list) into a fresh list, armed: its outcome with the vertices it appended.
template <class F, class... A>
Got into(F f, A... args) {
  const rivezi3z::List<zv_poly_3d> list;
  return appended(as_got(armed([&] { return f(args..., list.get()); })), list.get());
}
// Releases a record a definition returned and tells whether there was one.
inline long made(zv_curve *curve) {
  zv_purge_curve(curve);
  return curve != nullptr;
}

// The outcomes of a row's calls, in order (a braced list is evaluated left to right); a plain result is one call.
struct Gots : std::vector<Got> {
  template <class... T>
  Gots(T... all) : std::vector<Got>{as_got(all)...} {}
};

struct BadInput {
  const char *function, *input;   // the function and the class of bad input
  std::function<Gots()> call;     // builds its inputs, makes its calls, releases everything
  Got expected;                   // what each call gives,
  std::vector<Message> messages;  // and reports
  BadInput(const char *f, const char *in, std::function<Gots()> c, Got e, std::vector<Message> m = {})
      : function(f), input(in), call(std::move(c)), expected(e), messages(std::move(m)) {}
  BadInput(const char *f, const char *in, std::function<Gots()> c, long result, std::vector<Message> m = {})
      : BadInput(f, in, std::move(c), Got{result}, std::move(m)) {}
};

// Runs every row; failures name the row and the call.
inline void check_bad_inputs(Reports &reports, const std::vector<BadInput> &rows) {
  for (const BadInput &row : rows) {
    SCOPED_TRACE(std::string(row.function) + ": " + row.input);
    reports.messages.clear(), reports.memerrs.clear();
    const long start = zv_live_blocks();
    const Gots got = row.call();
    std::vector<Message> messages;
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i], row.expected) << "call " << i;
      messages.insert(messages.end(), row.messages.begin(), row.messages.end());
    }
    EXPECT_EQ(reports.messages, messages);
    EXPECT_TRUE(reports.memerrs.empty());
    EXPECT_EQ(zv_live_blocks(), start) << "kernel blocks leaked";
  }
}

}  // namespace zvtest
