// Bad inputs of the curve through n points: one row per class, each giving
// its code and a null record without a message.
#include <rivezi3z/rivezi3z.hpp>

#include "bad_inputs.hpp"

namespace {

using zvtest::BadInput;
using zvtest::kInf;
using zvtest::kNaN;

const std::vector<zv_pnt_3d> kFive = {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}, {4, 0, 0}};
const std::vector<double> kParams = {0, 0.25, 0.5, 0.75, 1};
const std::vector<double> kKnots = {0, 0, 0, 0, 0.5, 1, 1, 1, 1};

// The fit's code, or 99 when a failure left a record behind.
long fit(const std::vector<zv_pnt_3d> &pts, int n, int p, int mode = 1, const double *params = nullptr,
         const double *knots = nullptr) {
  zv_nurbs_3d sentinel{};
  zv_nurbs_3d *rec = &sentinel;
  const long code = zv_curve_thru_npoints_3d(pts.data(), static_cast<int16_t>(n),
                                             static_cast<int16_t>(p), params || knots ? 1 : 0, params, knots,
                                             static_cast<int16_t>(mode), &rec);
  const rivezi3z::Nurbs owner(code == 0 ? rec : nullptr);
  return code != 0 && rec != nullptr ? 99 : code;
}

// The fit through every point of pts.
long fit_all(const std::vector<zv_pnt_3d> &pts, int p, int mode = 1) {
  return fit(pts, static_cast<int>(pts.size()), p, mode);
}

long given_knot(double value) {
  std::vector<double> knots = kKnots;
  knots[4] = value;
  return fit(kFive, 5, 3, 1, kParams.data(), knots.data());
}

class FittingFamily : public zvtest::KernelTest {};

TEST_F(FittingFamily, BadInputTable) {
  const zv_pnt_3d same{1, 2, 3};
  const std::vector<zv_pnt_3d> repeated(6, same);
  const std::vector<BadInput> rows = {
      {"zv_curve_thru_npoints_3d", "degree 0", [] { return fit_all(kFive, 0); }, 1},
      {"zv_curve_thru_npoints_3d", "degree -32768", [] { return fit(kFive, 5, -32768); }, 1},
      {"zv_curve_thru_npoints_3d", "degree 8", [] { return fit(kFive, 20, 8); }, 1},
      {"zv_curve_thru_npoints_3d", "n < p + 1", [] { return fit(kFive, 3, 3); }, 1},
      {"zv_curve_thru_npoints_3d", "n = -5", [] { return fit(kFive, -5, 1); }, 1},
      {"zv_curve_thru_npoints_3d", "n + p past int16", [] { return fit(kFive, 32767, 3); }, 1},
      {"zv_curve_thru_npoints_3d", "mode -1", [] { return fit_all(kFive, 3, -1); }, 1},
      {"zv_curve_thru_npoints_3d", "mode 3", [] { return fit_all(kFive, 3, 3); }, 1},
      {"zv_curve_thru_npoints_3d", "null points", [] {
         zv_nurbs_3d *rec = nullptr;
         return zv_curve_thru_npoints_3d(nullptr, 5, 3, 0, nullptr, nullptr, 1, &rec);
       }, 1},
      {"zv_curve_thru_npoints_3d", "null result", [] {
         return zv_curve_thru_npoints_3d(kFive.data(), 5, 3, 0, nullptr, nullptr, 1, nullptr);
       }, 1},
      {"zv_curve_thru_npoints_3d", "given, null params", [] { return fit(kFive, 5, 3, 1, nullptr, kKnots.data()); }, 1},
      {"zv_curve_thru_npoints_3d", "given, null knots", [] { return fit(kFive, 5, 3, 1, kParams.data(), nullptr); }, 1},
      {"zv_curve_thru_npoints_3d", "given, falling knots", [] { return given_knot(1.5); }, 1},
      {"zv_curve_thru_npoints_3d", "given, NaN knot", [] { return given_knot(kNaN); }, 1},
      {"zv_curve_thru_npoints_3d", "given, infinite knot", [] { return given_knot(kInf); }, 1},
      {"zv_curve_thru_npoints_3d", "given, falling params", [] {
         const std::vector<double> falling = {0, 0.5, 0.25, 0.75, 1};  // once solved as if ordered
         return fit(kFive, 5, 3, 1, falling.data(), kKnots.data());
       }, 1},
      {"zv_curve_thru_npoints_3d", "all points equal", [&] { return fit_all(repeated, 3); }, 2},
      {"zv_curve_thru_npoints_3d", "total length 6e-8", [] { return fit_all({{0, 0, 0}, {2e-8, 0, 0}, {4e-8, 0, 0}, {6e-8, 0, 0}}, 1); }, 2},
      {"zv_curve_thru_npoints_3d", "NaN coordinate", [] { return fit_all({{0, 0, 0}, {1, kNaN, 0}, {2, 0, 0}, {3, 0, 0}}, 3); }, 2},
      {"zv_curve_thru_npoints_3d", "infinite coordinate", [] { return fit_all({{0, 0, 0}, {1, 1, 0}, {kInf, 0, 0}, {3, 0, 0}}, 1); }, 2},
      {"zv_curve_thru_npoints_3d", "z alone in the plane mode", [] { return fit_all({{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}}, 3, 0); }, 2},
      {"zv_curve_thru_npoints_3d", "a point repeated inside", [] { return fit_all({{0, 0, 0}, {1, 1, 0}, {1, 1, 0}, {3, 0, 0}, {4, 1, 0}}, 3); }, 2},
      {"zv_curve_thru_npoints_3d", "given params crowding a basis function out", [] {
         const std::vector<double> crowded = {0, 0.1, 0.2, 0.3, 0.4};
         return fit(kFive, 5, 3, 1, crowded.data(), kKnots.data());
       }, 2},
  };
  zvtest::check_bad_inputs(reports, rows);
}

}  // namespace
