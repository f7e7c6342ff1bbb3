// Gallery panels of the non-uniform kinds: a full circle as a NURB curve
// from 9 weighted control points, and a cubic non-uniform B-spline whose
// double interior knot lowers the continuity there.
#include <cmath>

#include "panel.hpp"

namespace gallery {
namespace {

// The unit circle: the square's corners weighted sqrt(1/2), degree 2, each
// quarter a span between double knots (the stored vector drops the outer 0 and 1).
Panel circle_panel() {
  Panel panel("NURB circle: 9 weighted control points, degree 2");
  const double h = std::sqrt(0.5);
  ll_list *ctrl = polygon({{1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {-1, 1, 0}, {-1, 0, 0},
                           {-1, -1, 0}, {0, -1, 0}, {1, -1, 0}, {1, 0, 0}});
  panel.polyline(positions(ctrl), "#999", 1.0, true);
  panel.dots(positions(ctrl), "#999", 3.0);
  ll_list *knots = reals({0, 0, 0.25, 0.25, 0.5, 0.5, 0.75, 0.75, 1, 1});
  ll_list *weights = reals({1, h, 1, h, 1, h, 1, h, 1});
  zv_curve *curve = zv_create_curve();
  if (curve && zv_mk_def_nurb_curve3d(ctrl, knots, weights, 2, 8, curve) == 0) {
    if (zv_mk_nurb_curve3d(curve, 0, 0, 7, 0) == 0) panel.curve("NURB circle", curve, "#2a6f97", false);
  } else {  // not attached: the lists are still ours
    ll_purge_list(ctrl);
    ll_purge_list(knots);
    ll_purge_list(weights);
  }
  panel.label("empty spans between double knots add no vertices", "#555");
  zv_purge_curve(curve);  // releases the attached lists too
  return panel;
}

// A cubic with knots 0 0 0 0 1 2 2 3 4 4 4 4: the double knot at 2 lowers
// the continuity there to C1 and pulls the curve towards the polygon.
Panel double_knot_panel() {
  Panel panel("Non-uniform cubic B-spline, double knot at 2");
  ll_list *ctrl = polygon({{0, 0, 0}, {1, 3, 0}, {3, 4, 0}, {4, 1, 0}, {6, 0, 0}, {7, 3, 0}, {9, 4, 0}, {10, 1, 0}});
  panel.polyline(positions(ctrl), "#999", 1.0, true);
  panel.dots(positions(ctrl), "#999", 3.0);
  ll_list *knots = reals({0, 0, 0, 1, 2, 2, 3, 4, 4, 4});
  zv_curve *curve = zv_def_nubspl_curve3d(ctrl, knots, 3, 10);
  if (curve && zv_mk_nubspline_3d(curve, 0, 0) == 0) panel.curve("NUB double knot", curve, "#9d0208", false);
  panel.label("dashed: control polygon", "#555");
  zv_purge_curve(curve);
  ll_purge_list(ctrl);
  ll_purge_list(knots);
  return panel;
}

std::vector<Panel> nurbs_panels() { return {circle_panel(), double_knot_panel()}; }

const Registration registered(20, nurbs_panels);

}  // namespace
}  // namespace gallery
