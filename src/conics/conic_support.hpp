// The toolbox of the conic families: tolerances and angle constants, the
// reduction of angles "while above" a limit, segment counts rounded to a
// multiple, the mirror append that completes a symmetric polyline, and the
// in-plane frame taken from a conic's gradient.
#pragma once

#include <rivezi3z/da3v.h>
#include <rivezi3z/rivivi.h>

#include <cmath>
#include <cstdint>

#include "frame/conventions.hpp"
#include "frame/records.hpp"
#include "frame/vertices.hpp"

namespace zv::conics {

using zv::kUnitEnd, zv::kZeroTolerance;

inline constexpr double kTwoPi = 6.283185307179586;
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kHalfPi = 1.5707963267948966;
inline constexpr double kThreeHalfPi = 4.71238898038469;

// The conics' result codes.
using namespace code::conic;

// Whole periods subtracted one by one before fmod takes over; one by one
// the result matches the plain repeated subtraction bit for bit.
inline constexpr int kStepwiseTurns = 64;

// Subtracts period while value > limit (limit at most one period above the
// range's floor). A finite value of many periods is brought down with fmod
// instead of an endless-looking loop; callers test finiteness first.
inline double reduce_from_above(double value, double period, double limit) {
  if (value > limit + kStepwiseTurns * period) {
    value = std::fmod(value, period);  // exact, in [0, period)
    if (value <= limit - period) value += period;
  }
  while (value > limit) value -= period;
  return value;
}

// A segment count no smaller than minimum, raised to a multiple of step;
// counts whose next multiple would pass the int16 range take the largest
// multiple inside it, so the count of vertices (n + 1) still fits.
inline int16_t segments_multiple_of(int16_t n, int16_t minimum, int16_t step) {
  if (n < minimum) return minimum;
  const long largest = INT16_MAX - INT16_MAX % step;
  long m = n;
  if (m % step != 0) m += step - m % step;
  return static_cast<int16_t>(m > largest ? largest : m);
}

// The list's last node, or null when it is empty; the caller's cursor is
// not moved (the walk uses a private copy of the header).
inline const ll_node *last_node(const ll_list *list) {
  if (!list->head) return nullptr;
  ll_list cursor = *list;
  return ll_set_list_currpntr(&cursor, LL_LAST) == LL_LAST ? cursor.current : nullptr;
}

// Completes a symmetric polyline: walks a private cursor back from the
// second-to-last vertex to the first one this call appended (the one after
// `before`, the list's last node on entry) and hands each position to
// emit, which appends its mirror image. Items the list held before the
// call are neither read nor mirrored. False as soon as emit fails.
template <class Emit>
bool mirror_back(ll_list *list, const ll_node *before, Emit emit) {
  ll_list cursor = *list;  // a copy, so the appends below leave it alone
  if (ll_set_list_currpntr(&cursor, LL_LAST) != LL_LAST) return true;
  while (ll_set_list_currpntr(&cursor, LL_PREV) == LL_PREV && cursor.current != before) {
    const auto *source = static_cast<const zv_poly_3d *>(ll_get_list_data(&cursor));
    if (!emit(load(*source))) return false;
  }
  return true;
}

// Writes the unit frame of a conic at a point from the gradient of its
// implicit form there: second is the unit normal (the gradient, in the
// conic's plane), first the unit tangent the geometry services make
// perpendicular to it. A vanishing gradient (a point off the conic, such
// as the centre) gives zero vectors, never a division by zero.
inline void frame_from_gradient(double gx, double gy, zv_vector_3d *first, zv_vector_3d *second) {
  zv_vector_3d normal;
  zv_set_vector_3d(gx, gy, 0.0, 0.0, 0.0, &normal);
  zv_vector_3d tangent;
  zv_normalvector3d(&normal, &tangent);
  zv_unitvector(&tangent, first);
  zv_unitvector(&normal, second);
}

// Appends a vertex at (x, y, z) numbered index (wrapping past int16).
inline bool append_at(ll_list *list, long index, double x, double y, double z) {
  return append_vertex(list, index, Point3{x, y, z});
}

}  // namespace zv::conics
