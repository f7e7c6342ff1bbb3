// Gallery panel of two crossing curves: a uniform B-spline wave and a
// Catmull-Rom loop, tessellated, with the crossing points of their polylines.
#include <string>

#include "panel.hpp"

namespace gallery {
namespace {

const std::vector<zv_pnt_3d> kWave = {{-1, 0, 0}, {0, 0, 0},  {2, 3, 0},  {4, -1, 0}, {6, 3, 0},
                                      {8, -1, 0}, {10, 2, 0}, {11, 0, 0}, {12, 0, 0}};
// A spiral about the wave's middle: it crosses the wave on either side and
// never itself.
const std::vector<zv_pnt_3d> kLoop = {{4.54, -4.91, 0}, {8.16, -4.02, 0}, {10.32, -0.91, 0}, {10.14, 2.84, 0},
                                      {7.88, 5.49, 0},  {4.71, 5.9, 0},   {2.15, 4.07, 0},   {1.31, 1, 0},
                                      {2.43, -1.81, 0}, {4.84, -3.1, 0},  {7.32, -2.43, 0},  {8.74, -0.28, 0},
                                      {8.56, 2.21, 0},  {7.03, 3.9, 0},   {5, 4.1, 0},       {3.44, 2.89, 0}};

// A tessellated record over a copy of the points, or null.
zv_curve *tessellated(zv_curve *(*define)(ll_list *), const std::vector<zv_pnt_3d> &points) {
  ll_list *ctrl = polygon(points);
  zv_curve *curve = define(ctrl);
  ll_purge_list(ctrl);
  if (curve && zv_mk_ucurve3d(curve, 0.05) != 0) {
    zv_purge_curve(curve);
    return nullptr;
  }
  return curve;
}

std::vector<Panel> intersection_panels() {
  Panel panel("Curve intersection");
  zv_curve *wave = tessellated(zv_def_ubspl_curve3d, kWave);
  zv_curve *spiral = tessellated(zv_def_ucatrom_curve3d, kLoop);
  ll_list *crossings = ll_create_list();
  if (wave && spiral && crossings) {
    panel.polyline(positions(wave->vertex_list), "#264653", 1.6);
    panel.polyline(positions(spiral->vertex_list), "#9d0208", 1.6);
    const int16_t found = zv_intcurve_3d(wave, spiral, crossings);
    panel.dots(positions(crossings), "#f4a261", 5.0);
    panel.label("B-spline wave (blue) and Catmull-Rom spiral (red): " + std::to_string(found) + " crossings", "#555");
  }
  ll_purge_list(crossings);
  zv_purge_curve(wave);
  zv_purge_curve(spiral);
  std::vector<Panel> panels;
  panels.push_back(std::move(panel));
  return panels;
}

const Registration registered(60, intersection_panels);

}  // namespace
}  // namespace gallery
