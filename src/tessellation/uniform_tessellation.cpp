// Tessellation and single-point evaluation of uniform cubic curve records.
#include <rivezi3z/rivezi3z.h>

#include <cmath>

#include "frame/conventions.hpp"
#include "frame/lists.hpp"
#include "frame/report.hpp"
#include "frame/vertices.hpp"
#include "tessellation/cubic_segment.hpp"

namespace {

constexpr double kDefaultStep = 0.1;

}  // namespace

extern "C" ZV_API int16_t zv_mk_ucurve3d(zv_curve *curve, double step) {
  if (!curve || !curve->vertex_list || !curve->stats_list) return zv::code::uniform::kNoRecord;
  curve->t_step = step;
  if (!(curve->t_step > zv::kZeroTolerance)) curve->t_step = kDefaultStep;  // also catches NaN
  const double dt = curve->t_step;

  long count = ll_list_length(curve->ctrl_list);
  if (count < 4) return zv::code::uniform::kShortPolygon;
  const bool bezier = curve->type == ZV_CURVE_UBEZIER;
  if (bezier) count -= count % 4;  // only whole groups of four make segments
  const long segments = bezier ? count / 4 : count - 3;

  const zv::Basis basis(*curve);
  zv::PolygonReader reader(curve->ctrl_list);
  zv::Point3 p[4];
  for (zv::Point3 &q : p) q = reader.next();

  zv::StagedSamples out(curve->vertex_list, curve->stats_list);
  long n = 0;
  for (long segment = 0; segment < segments; ++segment) {
    const zv::CubicSegment cubic(basis, p);
    for (double t = 0.0; t <= zv::kUnitEnd; t = t + dt) {
      // A continuous curve repeats the previous segment's end at t = 0: that
      // sample is numbered but not kept.
      if (std::fabs(t) > zv::kZeroTolerance || segment == 0) {
        const zv::Frame f = zv::frame_at(cubic, t);
        if (!out.add(n, cubic.point(t), {t, f.tangent, f.second, f.normal}))
          return zv::memory_refused("zv_mk_ucurve3d");
      }
      ++n;
    }
    if (segment + 1 == segments) break;
    if (bezier) {
      for (zv::Point3 &q : p) q = reader.next();
    } else {
      p[0] = p[1];
      p[1] = p[2];
      p[2] = p[3];
      p[3] = reader.next();
    }
  }
  return out.finish() ? zv::code::kDone : zv::memory_refused("zv_mk_ucurve3d");
}

extern "C" ZV_API int16_t zv_eval_t_on_ucurve3d(zv_curve *curve, double t, zv_poly_3d **seg,
                                                zv_pnt_3d *pnt, zv_vector_3d *tangent,
                                                zv_vector_3d *second, zv_vector_3d *normal) {
  if (!curve) return zv::code::uniform::kNoRecord;
  // NaN is out of range too.
  if (!(t >= -zv::kZeroTolerance && t <= zv::kUnitEnd)) return zv::code::uniform::kBadParameter;
  if (!seg || !seg[0] || !seg[1] || !seg[2] || !seg[3] || !pnt || !tangent || !second || !normal)
    return zv::code::uniform::kNoSegment;
  if (curve->ctrl_list) ll_set_list_currpntr(curve->ctrl_list, LL_FIRST);
  const zv::Point3 p[4] = {zv::load(*seg[0]), zv::load(*seg[1]), zv::load(*seg[2]), zv::load(*seg[3])};
  const zv::CubicSegment cubic(zv::Basis(*curve), p);
  const zv::Point3 at = cubic.point(t);
  const zv::Frame f = zv::frame_at(cubic, t);
  zv::store(at, pnt);
  *tangent = f.tangent;
  *second = f.second;
  *normal = f.normal;
  return zv::code::kDone;
}
