// Helpers for tests of the curve through n points: a fitted record that
// releases its three kernel blocks, random point sets and chord-length
// parameters computed independently of the library.
#pragma once

#include <rivezi3z/rivezi3z.hpp>

#include <cmath>
#include <random>
#include <vector>

namespace zvtest {

// The record zv_curve_thru_npoints_3d makes, released at scope end; params
// and knots, when given, are passed with given = 1.
struct FittedRecord {
  zv_nurbs_3d *rec = nullptr;
  int16_t code = -99;
  FittedRecord(const std::vector<zv_pnt_3d> &pts, int p, int mode = 1, const double *params = nullptr,
               const double *knots = nullptr) {
    code = zv_curve_thru_npoints_3d(pts.data(), static_cast<int16_t>(pts.size()), static_cast<int16_t>(p),
                                    params ? 1 : 0, params, knots, static_cast<int16_t>(mode), &rec);
    owner = rivezi3z::Nurbs(rec);
  }
  FittedRecord(const FittedRecord &) = delete;
  FittedRecord &operator=(const FittedRecord &) = delete;
  rivezi3z::Nurbs owner;  // releases rec's three blocks

  int dim() const { return rec->dim; }
  double knot(int i) const { return rec->knots[i]; }
  double ctrl(int i, int c) const { return rec->ctrl_pts[i * rec->dim + c]; }
  std::vector<double> ctrl() const { return {rec->ctrl_pts, rec->ctrl_pts + (rec->last_ctrl + 1) * rec->dim}; }
  std::vector<double> knots() const { return {rec->knots, rec->knots + rec->last_knot + 1}; }
};

// n points marching along x by step_lo..step_hi, y within +-y_range and
// z within +-z_range (z 0 when flat).
inline std::vector<zv_pnt_3d> marching_points(std::mt19937 &rng, int n, bool flat, double step_lo, double step_hi,
                                              double y_range, double z_range) {
  std::uniform_real_distribution<double> step(step_lo, step_hi);
  std::uniform_real_distribution<double> wobble(-1.0, 1.0);
  std::vector<zv_pnt_3d> pts;
  double x = 0.0;
  for (int i = 0; i < n; ++i) {
    x += step(rng);
    const double y = y_range * wobble(rng);
    pts.push_back({x, y, flat ? 0.0 : z_range * wobble(rng)});
  }
  return pts;
}

// Chord-length parameters over x, y (and z when spatial), scaled to 0..1
// with the last exactly 1.
inline std::vector<double> chord_parameters(const std::vector<zv_pnt_3d> &pts, bool spatial) {
  std::vector<double> u(pts.size(), 0.0);
  for (std::size_t i = 1; i < pts.size(); ++i) {
    const double dz = spatial ? pts[i].z - pts[i - 1].z : 0.0;
    u[i] = u[i - 1] + std::hypot(pts[i].x - pts[i - 1].x, pts[i].y - pts[i - 1].y, dz);
  }
  for (double &v : u) v /= u.back();
  u.back() = 1.0;
  return u;
}

}  // namespace zvtest
