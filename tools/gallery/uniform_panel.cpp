// Gallery panels of the four uniform cubic kinds over one control polygon.
#include "panel.hpp"

namespace gallery {
namespace {

const std::vector<zv_pnt_3d> kPolygon = {{0, 0, 0},  {1, 3, 0.5}, {3, 4, 1},  {4, 1, 0.5},
                                         {6, 0, 0},  {7, 3, 0.5}, {9, 4, 1},  {10, 1, 0}};

std::vector<Panel> uniform_panels() {
  struct Kind {
    const char *title;
    zv_curve *(*define)(ll_list *);
    const char *colour;
  };
  const Kind kinds[] = {{"Uniform cubic B-spline", zv_def_ubspl_curve3d, "#264653"},
                        {"Uniform cubic Bezier (groups of four)", zv_def_ubezier_curve3d, "#6a4c93"},
                        {"Uniform Catmull-Rom", zv_def_ucatrom_curve3d, "#1d3557"},
                        {"Beta-spline, bias 1.5, tension 4", nullptr, "#9d0208"}};
  std::vector<Panel> panels;
  for (const Kind &k : kinds) {
    Panel panel(k.title);
    ll_list *ctrl = polygon(kPolygon);
    panel.polyline(positions(ctrl), "#999", 1.0, true);
    panel.dots(positions(ctrl), "#999", 3.0);
    zv_curve *curve = k.define ? k.define(ctrl) : zv_def_ubetaspl_curve3d(ctrl, 1.5, 4.0);
    if (curve && zv_mk_ucurve3d(curve, 0.1) == 0) panel.curve(k.title, curve, k.colour);
    panel.label("dashed: control polygon; ticks: tangent (green), normal (red)", "#555");
    zv_purge_curve(curve);
    ll_purge_list(ctrl);
    panels.push_back(std::move(panel));
  }
  return panels;
}

const Registration registered(10, uniform_panels);

}  // namespace
}  // namespace gallery
