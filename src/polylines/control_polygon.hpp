// Reading a control polygon for the direct polylines: the window that
// slides along the nodes, and the copies of whole leading records that the
// short-polygon paths append.
#pragma once

#include <rivezi3z/rivivi.h>

#include <cstdint>

#include "frame/records.hpp"
#include "frame/span_walk.hpp"
#include "frame/vertices.hpp"
#include "polylines/polyline_forms.hpp"
#include "polylines/step_table.hpp"

namespace zv::polyline {

// True when the list holds at least the n points a caller states, so a walk
// of n nodes never runs past its end.
inline bool holds(const ll_list *list, long n) { return n <= ll_list_length(list); }

// True when segments of per_segment vertices plus extra make at most 32767
// vertices, so the int16 count written back equals the vertices appended.
inline bool counts_in_int16(long segments, long per_segment, long extra) {
  return segments * per_segment + extra <= INT16_MAX;
}

// A window of K consecutive control points read by following next from the
// list's head (the frame's sliding window); slide() drops the first point
// and reads the following one. The list's cursor is left alone. Callers
// check with holds() that the list has every point the walk reads.
template <int K>
using ControlWindow = SlidingWindow<Point3, PointCursor, K>;

template <int K>
ControlWindow<K> control_window(const ll_list *list) {
  return ControlWindow<K>(PointCursor(list->head, Point3{}), K);
}

// Appends copies of the whole records (index included) of the first k
// control points, read through the list's cursor: first node, then LL_NEXT
// between copies, so the cursor ends on the k-th node. Gives the number of
// copies appended, fewer than k when the kernel refused a copy or its node.
inline long copy_leading_records(ll_list *ctrl, long k, ll_list *out) {
  ll_set_list_currpntr(ctrl, LL_FIRST);
  for (long i = 0; i < k; ++i) {
    if (i > 0) ll_set_list_currpntr(ctrl, LL_NEXT);
    const auto *source = static_cast<const zv_poly_3d *>(ll_get_list_data(ctrl));
    zv_poly_3d *copy = zv_create_poly_3d();
    if (!copy) return i;
    *copy = *source;
    if (!ll_add_list_item(out, 1, copy, ZV_ITEM_POLY)) return i;
  }
  return k;
}

// Appends the samples of `segments` window positions (the window slides
// one point between them): at each position the blends of its points with
// every weight of the segment, numbered on from `appended`, which counts
// every vertex that reached the list; *counter follows it as an int16.
// False when the kernel refused a vertex.
template <int K>
bool append_blended_segments(ControlWindow<K> &window, long segments, const SegmentWeights<K> &weights,
                             ll_list *out, long &appended, int16_t *counter) {
  StagedVertices staged(out);
  const long first = appended;
  bool made = true;
  for (long segment = 0; made && segment < segments; ++segment) {
    if (segment > 0) window.slide();
    for (int i = 0; made && i < weights.count; ++i)
      made = staged.add(first + (segment * weights.count + i), weights.at[i].blend(window.data()));
  }
  made = made && staged.finish();
  appended = first + staged.appended();
  *counter = vertex_number(appended);
  return made;
}

}  // namespace zv::polyline
