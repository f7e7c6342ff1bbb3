// Fuzz target: the curve through n points, with computed or given
// parameters and knots over arrays as long as the counts state.
#include <rivezi3z/rivezi3z.hpp>

#include "fuzz_input.hpp"

namespace zvfuzz {

void fuzz_one(Input &in) {
  const int16_t n = in.count(), p = in.count(), given = in.count(), mode = in.count();
  std::vector<zv_pnt_3d> points(n > 0 ? n : 1);
  for (size_t i = 0; i < points.size() && !in.empty(); ++i) points[i] = in.point();
  const long n_knots = std::max(1L, static_cast<long>(n) + p + 1);
  std::vector<double> params = in.numbers(points.size()), knots = in.numbers(static_cast<int>(n_knots));
  params.resize(points.size()), knots.resize(n_knots);
  zv_nurbs_3d *result = nullptr;
  const zv_pnt_3d *pts = in.maybe(points.data());
  const double *par = in.maybe(params.data()), *kn = in.maybe(knots.data());
  zv_nurbs_3d **out = in.maybe(&result);
  refusing(in, [&] { return zv_curve_thru_npoints_3d(pts, n, p, given, par, kn, mode, out); });
  const rivezi3z::Nurbs owner(result);  // releases what the fit made
}

}  // namespace zvfuzz
