// The non-uniform B-spline definition, which takes the caller's lists over,
// and the NURB and rational Bezier definitions, which attach them by pointer
// to a caller's record and give it new output lists.
#include <rivezi3z/rivezi3z.h>

#include "frame/conventions.hpp"
#include "frame/lists.hpp"
#include "frame/record_lists.hpp"
#include "frame/report.hpp"

namespace {


bool degree_ok(int degree) { return degree >= 1 && degree <= zv::kMaxRecordDegree; }

// The lists a rational definition puts into a record.
struct RationalLists {
  ll_list *ctrl, *knots, *weights;
};

// Attaches the caller's lists (marked borrowed: they stay the caller's) and
// two new output lists, releasing the lists the record owned in its five
// slots, except any the caller passed in again; -1 (nothing changed) when
// an output list is refused.
int16_t attach(zv_curve *curve, const RationalLists &in, const char *name) {
  ll_list *vertices = ll_create_list();
  ll_list *stats = vertices ? ll_create_list() : nullptr;
  if (!stats) {
    ll_purge_list(vertices);
    return zv::memory_refused(name);
  }
  zv::OwnedLists replaced;
  replaced.collect(*curve, {in.ctrl, in.knots, in.weights});
  replaced.release();
  for (ll_list *list : {in.ctrl, in.knots, in.weights}) ll_set_list_borrowed(list, 1);
  curve->ctrl_list = in.ctrl;
  curve->weight_list = in.weights;
  curve->knot_list = in.knots;
  curve->vertex_list = vertices;
  curve->stats_list = stats;
  return zv::code::kDone;
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
  if (!curve) return zv::code::definition::kNoRecord;
  curve->type = ZV_CURVE_NURB;
  const long n = ll_list_length(ctrl);
  if (n < degree + 1L) return zv::code::definition::kTooFewPoints;
  if (ll_list_length(weights) < n) return zv::code::definition::kWeightCount;  // more weights than points are accepted
  if (!degree_ok(degree)) return zv::code::definition::kBadDegree;
  if (const int16_t refused = attach(curve, {ctrl, knots, weights}, "zv_mk_def_nurb_curve3d"))
    return refused;
  curve->degree = degree;
  curve->span_steps = span_steps != 0 ? span_steps : 1;
  return zv::code::kDone;
}

extern "C" ZV_API int16_t zv_def_ratbezier_curve3d(ll_list *ctrl, ll_list *knots, ll_list *weights,
                                                   int16_t degree, zv_curve *curve) {
  if (!curve) return zv::code::definition::kNoRecord;
  curve->type = ZV_CURVE_RATBEZIER;
  const long n = ll_list_length(ctrl);
  if (n < degree + 1L) return zv::code::definition::kTooFewPoints;
  if (ll_list_length(weights) != n) return zv::code::definition::kWeightCount;
  if (!degree_ok(degree)) return zv::code::definition::kBadDegree;
  if (const int16_t refused = attach(curve, {ctrl, knots, weights}, "zv_def_ratbezier_curve3d"))
    return refused;
  curve->degree = degree;
  curve->span_steps = 0;
  return zv::code::kDone;
}
