// Gallery panels of conversion and subdivision: a NURB cubic with the
// control polygons of its rational Bezier segments, and a cubic Bezier
// curve split at t = 0.3 into two pieces drawn in two colours.
#include "panel.hpp"

namespace gallery {
namespace {

// A NURB cubic of seven points, one of them weighted 4, over uneven knots;
// the knot list is the tessellator's, so the same record is tessellated and
// converted. Each segment's four Bezier points are drawn as a dashed polygon.
Panel nurb_segments_panel() {
  Panel panel("NURB cubic and its rational Bezier segments");
  ll_list *ctrl = polygon({{0, 0, 0}, {1, 4, 0}, {3, 5, 0}, {5, 1, 0}, {7, 0, 0}, {8, 4, 0}, {10, 3, 0}});
  panel.polyline(positions(ctrl), "#bbb", 1.0, true);
  ll_list *knots = reals({0, 0, 0, 1, 2.5, 3, 4, 4, 4});
  ll_list *weights = reals({1, 1, 4, 1, 1, 1, 1});
  zv_curve *curve = zv_create_curve();
  zv_curve *bezier = zv_create_curve();
  if (curve && zv_mk_def_nurb_curve3d(ctrl, knots, weights, 3, 12, curve) == 0) {
    if (zv_mk_nurb_curve3d(curve, 0, 0, 4, 0) == 0) panel.curve("NURB cubic", curve, "#2a6f97", false);
    if (bezier && zv_rat_bspl_to_bezier_curve3d(curve, bezier) == 0) {
      const std::vector<Point2> b = positions(bezier->ctrl_list);
      const char *colours[] = {"#e76f51", "#2a9d8f"};
      for (size_t j = 0; j + 3 < b.size(); j += 3)
        panel.polyline({b.begin() + j, b.begin() + j + 4}, colours[(j / 3) % 2], 1.0, true);
      panel.dots(b, "#333", 2.5);
    }
  } else {  // not attached: the lists are still ours
    ll_purge_list(ctrl);
    ll_purge_list(knots);
    ll_purge_list(weights);
  }
  panel.label("grey: B-spline polygon; coloured: Bezier polygon of each segment", "#555");
  zv_purge_curve(bezier);
  zv_purge_curve(curve);  // releases the attached lists too
  return panel;
}

// A cubic Bezier curve split at t = 0.3: the piece before t in one colour,
// the piece after t in another, each with its own control polygon.
Panel split_panel() {
  Panel panel("Cubic Bezier split at t = 0.3");
  ll_list *ctrl = polygon({{0, 0, 0}, {2, 5, 0}, {7, 5, 0}, {10, 0, 0}});
  panel.polyline(positions(ctrl), "#bbb", 1.0, true);
  zv_curve *source = zv_def_ubezier_curve3d(ctrl);
  zv_curve *before = zv_create_curve();
  zv_curve *after = zv_create_curve();
  if (source && before && after) {
    source->degree = 3;
    if (zv_sub_bezier_curve3d(source, 0.3, before, after) == 0) {
      const struct {
        zv_curve *piece;
        const char *name, *colour;
      } pieces[] = {{before, "piece over [0, 0.3]", "#d62828"}, {after, "piece over [0.3, 1]", "#003049"}};
      for (const auto &p : pieces) {
        panel.polyline(positions(p.piece->ctrl_list), p.colour, 1.0, true);
        panel.dots(positions(p.piece->ctrl_list), p.colour, 3.0);
        if (zv_mk_ucurve3d(p.piece, 0.05) == 0) panel.curve(p.name, p.piece, p.colour, false);
      }
    }
  }
  panel.label("grey: source polygon; both pieces start at the split point", "#555");
  zv_purge_curve(after);
  zv_purge_curve(before);
  zv_purge_curve(source);
  ll_purge_list(ctrl);
  return panel;
}

std::vector<Panel> convert_panels() { return {nurb_segments_panel(), split_panel()}; }

const Registration registered(70, convert_panels);

}  // namespace
}  // namespace gallery
