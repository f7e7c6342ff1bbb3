// The non-uniform B-spline definition, which takes the caller's lists over,
// and the NURB and rational Bezier definitions, which attach them by pointer
// to a caller's record and give it new output lists.
#include <rivezi3z/rivezi3z.h>

#include "frame/lists.hpp"
#include "frame/report.hpp"

namespace {

constexpr int kMaxDegree = 15;

bool degree_ok(int degree) { return degree >= 1 && degree <= kMaxDegree; }

// A record that a rational definition already filled holds the caller's
// lists in its input slots; any other record holds lists of its own there.
bool holds_attached_lists(const zv_curve &curve) {
  return (curve.type == ZV_CURVE_NURB || curve.type == ZV_CURVE_RATBEZIER) && degree_ok(curve.degree);
}

// The lists a rational definition puts into a record.
struct RationalLists {
  ll_list *ctrl, *knots, *weights;
};

// Releases a list the record is giving up, unless the caller passed it in
// or another slot released it already.
void release_replaced(ll_list *old, const RationalLists &in, ll_list **released, int &count) {
  if (!old || old == in.ctrl || old == in.knots || old == in.weights) return;
  for (int i = 0; i < count; ++i)
    if (released[i] == old) return;
  released[count++] = old;
  ll_purge_list(old);
}

// Attaches the caller's lists and two new output lists, releasing what the
// record owned in the slots it replaces (its input slots only when it did
// not hold attached lists on entry); -1 (nothing changed) when an output
// list is refused.
int16_t attach(zv_curve *curve, const RationalLists &in, bool held_attached, const char *name) {
  ll_list *vertices = ll_create_list();
  ll_list *stats = vertices ? ll_create_list() : nullptr;
  if (!stats) {
    ll_purge_list(vertices);
    return zv::memory_refused(name);
  }
  ll_list *released[5];
  int count = 0;
  if (!held_attached) {
    release_replaced(curve->ctrl_list, in, released, count);
    release_replaced(curve->knot_list, in, released, count);
    release_replaced(curve->weight_list, in, released, count);
  }
  release_replaced(curve->vertex_list, in, released, count);
  release_replaced(curve->stats_list, in, released, count);
  curve->ctrl_list = in.ctrl;
  curve->weight_list = in.weights;
  curve->knot_list = in.knots;
  curve->vertex_list = vertices;
  curve->stats_list = stats;
  return 0;
}

}  // namespace

extern "C" ZV_API zv_curve *zv_def_nubspl_curve3d(ll_list *ctrl, ll_list *knots, int16_t degree,
                                                  int16_t span_steps) {
  zv_curve *curve = zv_create_curve();
  if (!curve) {
    zv::memory_refused("zv_def_nubspl_curve3d");
    return nullptr;
  }
  curve->type = ZV_CURVE_NUBSPLINE;
  // The knot test comes first, so a bad degree can read as a bad knot count.
  if (ll_list_length(knots) < ll_list_length(ctrl) + degree - 1) {
    zv_purge_curve(curve);
    zv_display_msg("BADKNOTSEQ", 0, "zv_def_nubspl_curve3d");
    return nullptr;
  }
  if (!degree_ok(degree)) {
    zv_purge_curve(curve);
    zv_display_msg("BADDEG", 0, "zv_def_nubspl_curve3d");
    return nullptr;
  }
  zv::take_over(ctrl, curve->ctrl_list);
  zv::take_over(knots, curve->knot_list);
  curve->degree = degree;
  curve->span_steps = span_steps;
  return curve;
}

extern "C" ZV_API int16_t zv_mk_def_nurb_curve3d(ll_list *ctrl, ll_list *knots, ll_list *weights,
                                                 int16_t degree, int16_t span_steps,
                                                 zv_curve *curve) {
  if (!curve) return 4;
  const bool held_attached = holds_attached_lists(*curve);
  curve->type = ZV_CURVE_NURB;
  const long n = ll_list_length(ctrl);
  if (n < degree + 1L) return 1;
  if (ll_list_length(weights) < n) return 2;  // more weights than points are accepted
  if (!degree_ok(degree)) return 3;
  if (const int16_t refused = attach(curve, {ctrl, knots, weights}, held_attached, "zv_mk_def_nurb_curve3d"))
    return refused;
  curve->degree = degree;
  curve->span_steps = span_steps != 0 ? span_steps : 1;
  return 0;
}

extern "C" ZV_API int16_t zv_def_ratbezier_curve3d(ll_list *ctrl, ll_list *knots, ll_list *weights,
                                                   int16_t degree, zv_curve *curve) {
  if (!curve) return 4;
  const bool held_attached = holds_attached_lists(*curve);
  curve->type = ZV_CURVE_RATBEZIER;
  const long n = ll_list_length(ctrl);
  if (n < degree + 1L) return 1;
  if (ll_list_length(weights) != n) return 2;
  if (!degree_ok(degree)) return 3;
  if (const int16_t refused = attach(curve, {ctrl, knots, weights}, held_attached, "zv_def_ratbezier_curve3d"))
    return refused;
  curve->degree = degree;
  curve->span_steps = 0;
  return 0;
}
