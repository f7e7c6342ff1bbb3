// Tessellation of rational Bezier records: the knot list holds the sample
// parameters, and each sample is the rational curve of degree n through
// control point k at parameter k/n, by Neville's scheme in homogeneous form.
#include <rivezi3z/rivezi3z.h>

#include "frame/conventions.hpp"
#include "frame/deboor.hpp"
#include "frame/lists.hpp"
#include "frame/report.hpp"
#include "frame/span_walk.hpp"
#include "frame/vertices.hpp"

namespace {

using namespace zv::code::rational_bezier;

// Neville's scheme on the equally spaced parameters 0, 1/n, .., 1: level r
// replaces d(k), k = 0 .. n - r, by the blend of the values at k/n and
// (k + r)/n, the share of d(k) being ((k + r) - n t) / r; d(0) ends as the
// value at t.
zv::Point3 neville(zv::Weighted *d, int n, double t) {
  for (int r = 1; r <= n; ++r)
    for (int k = 0; k + r <= n; ++k) {
      const double alpha = ((k + r) - n * t) / r;
      d[k] = zv::weighted_blend(d[k], d[k + 1], alpha, 1.0 - alpha);
    }
  return d[0].p;
}

}  // namespace

extern "C" ZV_API int16_t zv_mk_rat_bezier_3d(zv_curve *curve, int16_t degree) {
  if (!curve || !curve->ctrl_list) return kNoPoints;
  if (!curve->knot_list) return kNoKnots;
  if (!curve->weight_list) return kNoWeights;
  const int n = degree >= 1 ? degree : curve->degree;
  if (n < 1 || n > zv::kMaxRecordDegree) return kBadDegree;
  // The scheme reads the first n + 1 control points.
  if (ll_list_length(curve->ctrl_list) < n + 1) return kNoPoints;
  if (!curve->vertex_list && !(curve->vertex_list = ll_create_list()))
    return zv::memory_refused("zv_mk_rat_bezier_3d");
  if (!curve->knot_list->head) return kEmptyKnots;

  // The control points and weights are the same for every sample: read once.
  zv::Weighted window[zv::kMaxRecordDegree + 1];
  zv::PointCursor points(curve->ctrl_list->head, {});
  zv::RealCursor weights(curve->weight_list->head, 1.0);  // a missing weight counts as 1
  for (int k = 0; k <= n; ++k) window[k] = {points.next(), weights.next()};

  zv::StagedVertices staged(curve->vertex_list);
  long count = 0;
  for (const zv_rnumber &knot : zv::items<zv_rnumber>(curve->knot_list)) {
    zv::Weighted d[zv::kMaxRecordDegree + 1];
    for (int k = 0; k <= n; ++k) d[k] = window[k];
    if (!staged.add(count++, neville(d, n, knot.value))) return zv::memory_refused("zv_mk_rat_bezier_3d");
  }
  return staged.finish() ? 0 : zv::memory_refused("zv_mk_rat_bezier_3d");
}
