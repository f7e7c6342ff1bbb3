// Gallery panels of the direct polylines: a degree-12 Bezier curve, the
// cubic and quadratic B-spline polylines of one polygon, and Catmull-Rom
// curves at three tensions.
#include <functional>

#include "panel.hpp"

namespace gallery {
namespace {

const std::vector<zv_pnt_3d> kBezierPolygon = {{0, 0, 0}, {1, 4, 0}, {2, -1, 0}, {3, 5, 0},  {4, 0, 0},
                                               {5, 6, 0}, {6, 1, 0}, {7, 6, 0},  {8, -1, 0}, {9, 5, 0},
                                               {10, 0, 0}, {11, 4, 0}, {12, 1, 0}};

const std::vector<zv_pnt_3d> kSplinePolygon = {{0, 0, 0}, {1, 3, 0}, {3, 4, 0}, {4, 1, 0},
                                               {6, 0, 0}, {7, 3, 0}, {9, 4, 0}, {10, 1, 0}};

// Draws the control polygon dashed, with its points.
void draw_polygon(Panel &panel, ll_list *ctrl) {
  panel.polyline(positions(ctrl), "#999", 1.0, true);
  panel.dots(positions(ctrl), "#999", 3.0);
}

// Runs a polyline function into a curve record that serves only as the
// holder of its vertex list (the statistics list stays empty, so no frame
// ticks), and draws the vertices with a summary line.
void draw(Panel &panel, const std::string &name, const char *colour,
          const std::function<int16_t(ll_list *out)> &make) {
  zv_curve *holder = zv_create_curve();
  if (holder && make(holder->vertex_list) == 0) panel.curve(name, holder, colour);
  zv_purge_curve(holder);
}

std::vector<Panel> polyline_panels() {
  std::vector<Panel> panels;

  Panel bezier("Bezier polyline, degree 12 (100 samples)");
  ll_list *ctrl = polygon(kBezierPolygon);
  draw_polygon(bezier, ctrl);
  draw(bezier, "Bezier degree 12", "#6a4c93", [&](ll_list *out) { return zv_bezier_curve_3d(ctrl, 13, 100, out); });
  bezier.label("dashed: control polygon", "#555");
  ll_purge_list(ctrl);
  panels.push_back(std::move(bezier));

  const int16_t n = static_cast<int16_t>(kSplinePolygon.size());
  Panel bspline("B-spline polylines: cubic and quadratic");
  ctrl = polygon(kSplinePolygon);
  draw_polygon(bspline, ctrl);
  draw(bspline, "cubic B-spline polyline", "#264653", [&](ll_list *out) {
    int16_t points = 50;
    return zv_bspline_3d(n, ctrl, &points, out);
  });
  draw(bspline, "quadratic B-spline polyline", "#e76f51", [&](ll_list *out) {
    int16_t count = 0;
    return zv_quad_bspline_3d(n, ctrl, 4, &count, out);
  });
  bspline.label("dark: cubic; orange: quadratic", "#555");
  ll_purge_list(ctrl);
  panels.push_back(std::move(bspline));

  Panel catrom("Catmull-Rom polylines at three tensions");
  ctrl = polygon(kSplinePolygon);
  draw_polygon(catrom, ctrl);
  const struct {
    double s;
    const char *name, *colour;
  } tensions[] = {{0.0, "Catmull-Rom tension 0", "#2a9d8f"},
                  {0.5, "Catmull-Rom tension 0.5", "#1d3557"},
                  {1.0, "Catmull-Rom tension 1", "#9d0208"}};
  for (const auto &t : tensions) {
    draw(catrom, t.name, t.colour, [&](ll_list *out) {
      int16_t count = 0;
      return zv_catrom_curve_3d(n, ctrl, 4, t.s, &count, out);
    });
  }
  catrom.label("green: 0 (chords); blue: 0.5; red: 1", "#555");
  ll_purge_list(ctrl);
  panels.push_back(std::move(catrom));
  return panels;
}

const Registration registered(40, polyline_panels);

}  // namespace
}  // namespace gallery
