// Bezier polylines of any degree up to 29 straight from the control points,
// from an array into an array and from a vertex list into a vertex list.
#include <rivezi3z/rivezi3z.h>

#include <algorithm>

#include "frame/conventions.hpp"
#include "frame/lists.hpp"
#include "frame/report.hpp"
#include "frame/vertices.hpp"
#include "polylines/control_polygon.hpp"
#include "polylines/polyline_forms.hpp"

namespace {

using zv::polyline::BezierForms;

// Parameter step between n samples: 1/(n - 1). A single sample has no step
// (1/0 would make its parameter 0 * inf = NaN); it lies at t = 0, P(0).
double sample_step(int16_t n) { return n == 1 ? 0.0 : zv_inverse(static_cast<double>(n - 1)); }

// Number of control points that take part: at most the degree-29 limit.
int taking_part(long m) { return static_cast<int>(std::min<long>(m, BezierForms::kMaxPoints)); }

}  // namespace

extern "C" ZV_API double zv_bez_factorial3(int16_t n) { return zv::polyline::factorial(n); }

extern "C" ZV_API int16_t zv_beziercurve3d(const zv_pnt_3d *points, int16_t m, int16_t n, zv_pnt_3d *out) {
  if (!points || !out) return zv::code::kDone;
  const int used = taking_part(m);
  zv::Point3 p[BezierForms::kMaxPoints];
  for (int k = 0; k < used; ++k) p[k] = zv::load(points[k]);
  if (used < 3) {
    // Fewer than three points: the curve is its control polygon.
    for (int k = 0; k < used; ++k) out[k] = points[k];
    return zv::code::kDone;
  }
  const BezierForms curve(p, used);
  const double h = sample_step(n);
  for (int i = 0; i < n; ++i) {
    const zv::Point3 q = curve.at(i * h);
    zv::store(q, &out[i]);
  }
  return zv::code::kDone;
}

extern "C" ZV_API int16_t zv_bezier_curve_3d(ll_list *polygon, int16_t m, int16_t n, ll_list *list) {
  if (!polygon) return zv::code::kDone;
  // Only points the list holds take part, so neither walk leaves the list
  // nor reads past the coefficient table.
  const int used = taking_part(std::min<long>(m, ll_list_length(polygon)));
  zv::Appender out(list);
  if (used < 3) {
    // Fewer than three points: copies of the whole records, in order; the
    // cursor steps on after each copy.
    if (used <= 0) {
      ll_set_list_currpntr(polygon, LL_FIRST);
      return zv::code::kDone;
    }
    if (!out.ready() || zv::polyline::copy_leading_records(polygon, used, out.list()) < used)
      return zv::memory_refused("zv_bezier_curve_3d");
    ll_set_list_currpntr(polygon, LL_NEXT);
    return zv::code::kDone;
  }
  if (n <= 0) return zv::code::kDone;
  if (!out.ready()) return zv::memory_refused("zv_bezier_curve_3d");

  // The points are copied once; the walk ends on P(d), the last one read.
  zv::Point3 p[BezierForms::kMaxPoints];
  ll_node *node_d = polygon->head;
  for (int k = 0; k < used; ++k) {
    if (k > 0) node_d = node_d->next;
    p[k] = zv::load(*static_cast<const zv_poly_3d *>(node_d->data));
  }
  const BezierForms curve(p, used);
  const double h = sample_step(n);
  zv::StagedVertices staged(out.list());
  bool made = true;
  for (int i = 0; made && i < n; ++i) made = staged.add(i, curve.at(i * h));
  if (!made || !staged.finish()) return zv::memory_refused("zv_bezier_curve_3d");
  // The cursor ends where the last sample's walk ended: on the head after
  // the downward form (only a single sample at t = 0 ends with it), else on
  // P(d).
  polygon->current = n == 1 ? polygon->head : node_d;
  return zv::code::kDone;
}
