// The curve through n points: the fitted record, random point sets and chord-length parameters.
#pragma once

#include <rivezi3z/rivezi3z.hpp>

#include <cmath>
#include <random>
#include <vector>

namespace zvtest {

// zv_curve_thru_npoints_3d's code and record; params and knots, when given, go with given = 1.
struct FittedRecord {
  FittedRecord(const std::vector<zv_pnt_3d> &pts, int p, int mode = 1, const double *params = nullptr,
               const double *knots = nullptr)
      : code(zv_curve_thru_npoints_3d(pts.data(), static_cast<int16_t>(pts.size()), static_cast<int16_t>(p),
                                      params ? 1 : 0, params, knots, static_cast<int16_t>(mode), &rec)),
        owner(rec) {}
  zv_nurbs_3d *rec = nullptr;
  int16_t code;
  rivezi3z::Nurbs owner;  // releases rec's three blocks

  int dim() const { return rec->dim; }
  std::vector<double> ctrl() const { return {rec->ctrl_pts, rec->ctrl_pts + (rec->last_ctrl + 1) * rec->dim}; }
  std::vector<double> knots() const { return {rec->knots, rec->knots + rec->last_knot + 1}; }
};

// n points marching along x by steps in [step_lo, step_hi], y within +-y_range, z within +-z_range (0 when flat).
inline std::vector<zv_pnt_3d> marching_points(std::mt19937 &rng, int n, bool flat, double step_lo, double step_hi,
                                              double y_range, double z_range) {
  std::uniform_real_distribution<double> step(step_lo, step_hi), wobble(-1.0, 1.0);
  std::vector<zv_pnt_3d> p;
  double x = 0.0;
  for (int i = 0; i < n; ++i) p.push_back({x += step(rng), y_range * wobble(rng), flat ? 0.0 : z_range * wobble(rng)});
  return p;
}

// Chord-length parameters over x, y (and z when spatial), scaled to 0..1 with the last exactly 1.
inline std::vector<double> chord_parameters(const std::vector<zv_pnt_3d> &p, bool spatial) {
  std::vector<double> u(p.size(), 0.0);
  for (std::size_t i = 1; i < p.size(); ++i)
    u[i] = u[i - 1] + std::hypot(p[i].x - p[i - 1].x, p[i].y - p[i - 1].y, spatial ? p[i].z - p[i - 1].z : 0.0);
  for (double &v : u) v /= u.back();
  u.back() = 1.0;
  return u;
}

}  // namespace zvtest
