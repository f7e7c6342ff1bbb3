// The two layouts of a knot list that the non-uniform records accept. The
// records store, for n control points of degree p, the clamped knot vector
// without its outermost knot at either end (at least n + p - 1 knots). The
// full clamped vector of exactly n + p + 1 knots, both ends repeated p + 1
// times, the form other spline libraries use, is read as the same curve by
// skipping its first knot. The layout is told from the exact count and the
// end multiplicities, never from the first values alone.
#pragma once

#include <rivezi3z/rivivi.h>

#include "frame/span_walk.hpp"

namespace zv {

struct KnotLayout {
  long skip = 0;              // 1 for the full clamped vector: its first knot is not read
  bool clamped_ends = false;  // n + p - 1 knots with ends of multiplicity p, or the full vector
};

namespace detail {

// True when the first run knots of the list from node on are equal, and so
// are its last run knots (the list holds count >= 2 * run of them).
inline bool ends_repeated(ll_node *node, long count, long run) {
  const double first = read_real(node->data);
  double last = first;
  for (long i = 0; i < count; ++i, node = node->next) {
    const double k = read_real(node->data);
    if (i < run && !(k == first)) return false;
    if (i == count - run) last = k;
    if (i > count - run && !(k == last)) return false;
  }
  return true;
}

}  // namespace detail

// The layout of a knot list for n control points of degree p.
inline KnotLayout stored_knots(const ll_list *knots, long n, int p) {
  const long count = ll_list_length(knots);
  if (p < 1 || n < p + 1) return {};
  if (count == n + p + 1 && detail::ends_repeated(knots->head, count, p + 1)) return {1, true};
  if (count == n + p - 1 && detail::ends_repeated(knots->head, count, p)) return {0, true};
  return {};
}

}  // namespace zv
