// Gallery panels of cubic curves fitted through a handful of points: the
// points, the fitted control polygon, the curve and first-derivative ticks.
#include <rivezi3z/rivezi3z.hpp>

#include <string>

#include "panel.hpp"

namespace gallery {
namespace {

struct Example {
  const char *title;
  std::vector<zv_pnt_3d> points;
  int16_t degree;
};

// Draws one fit: the curve from the point evaluator, ticks along the first
// derivative from the derivative evaluator.
Panel fitted_panel(const Example &e) {
  Panel panel(e.title);
  std::vector<Point2> given;
  for (const zv_pnt_3d &p : e.points) given.push_back({p.x, p.y});
  zv_nurbs_3d *fit = nullptr;
  const int16_t code = zv_curve_thru_npoints_3d(e.points.data(), static_cast<int16_t>(e.points.size()), e.degree, 0,
                                                nullptr, nullptr, 0, &fit);
  if (code != 0) {
    panel.label("fit failed with code " + std::to_string(code), "#9d0208");
    panel.dots(given, "#e63946", 3.5);
    return panel;
  }
  const rivezi3z::Nurbs owner(fit);  // releases the record's three blocks
  std::vector<Point2> polygon;
  for (int i = 0; i <= fit->last_ctrl; ++i) polygon.push_back({fit->ctrl_pts[i * fit->dim], fit->ctrl_pts[i * fit->dim + 1]});
  panel.polyline(polygon, "#999", 1.0, true);
  panel.dots(polygon, "#999", 2.5);

  const double first = fit->knots[0];
  const double last = fit->knots[fit->last_knot];
  std::vector<Point2> curve;
  constexpr int kSamples = 200;
  for (int k = 0; k <= kSamples; ++k) {
    zv_pnt_3d q{};
    zv_eval_pointoncurve_3d(fit, first + (last - first) * k / kSamples, &q);
    curve.push_back({q.x, q.y});
  }
  panel.polyline(curve, "#264653", 1.8);
  // Each derivative drawn to scale over a twentieth of the parameter range,
  // so its length shows the speed and its direction the tangent.
  constexpr int kTicks = 16;
  const double reach = (last - first) / 20.0;
  for (int k = 0; k <= kTicks; ++k) {
    zv_pnt_3d q{}, d1{};
    int16_t status = 0;
    zv_eval_derivsoncurve_3d(fit, first + (last - first) * k / kTicks, 1, 0, &q, &d1, nullptr, &status);
    panel.polyline({{q.x, q.y}, {q.x + reach * d1.x, q.y + reach * d1.y}}, "#2a9d8f", 1.2);
  }
  panel.dots(given, "#e63946", 3.5);
  panel.label("red: points; dashed: control polygon; green: first derivative / 20", "#555");
  panel.label(std::to_string(fit->last_ctrl + 1) + " points, degree " + std::to_string(fit->degree) +
                  (fit->open_ends ? ", open" : ", closed (first point = last)"),
              "#555");
  return panel;
}

std::vector<Panel> fitting_panels() {
  const Example examples[] = {
      {"Cubic through 7 points",
       {{0, 0, 0}, {1, 2, 0}, {3, 2.5, 0}, {4, 0.5, 0}, {6, 0, 0}, {7, 2, 0}, {9, 3, 0}},
       3},
      {"Cubic through 6 points, closed",
       {{0, 0, 0}, {3, -1, 0}, {5, 1.5, 0}, {3, 4, 0}, {-0.5, 3, 0}, {0, 0, 0}},
       3},
      {"Cubic through 4 points: the Bezier fit", {{0, 0, 0}, {1, 3, 0}, {4, 3.5, 0}, {6, 0, 0}}, 3},
  };
  std::vector<Panel> panels;
  for (const Example &e : examples) panels.push_back(fitted_panel(e));
  return panels;
}

const Registration registered(50, fitting_panels);

}  // namespace
}  // namespace gallery
