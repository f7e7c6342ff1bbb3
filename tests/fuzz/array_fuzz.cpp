// Fuzz target: point and derivative evaluation of array-form records with
// any field values, over arrays as long as the record states.
#include "fuzz_input.hpp"

namespace zvfuzz {

void fuzz_one(Input &in) {
  zv_nurbs_3d rec{};
  rec.last_ctrl = in.count(), rec.last_knot = in.count(), rec.degree = in.count();
  if (in.flag()) rec.last_knot = static_cast<int16_t>(rec.last_ctrl + rec.degree + 1);
  rec.plain = in.pick(3) - 1, rec.planar = in.flag(), rec.dim = in.count();
  // The evaluators refuse a dim outside 2..4 before reading any point.
  const long n_ctrl = std::max(1L, (rec.last_ctrl >= 0 ? rec.last_ctrl + 1L : 1L) * (rec.dim >= 1 && rec.dim <= 4 ? rec.dim : 0));
  std::vector<double> ctrl(n_ctrl), knots = in.numbers(rec.last_knot >= 0 ? rec.last_knot + 1 : 1);
  knots.resize(rec.last_knot >= 0 ? rec.last_knot + 1 : 1);
  for (size_t i = 0; i < ctrl.size() && !in.empty(); ++i) ctrl[i] = in.real();
  rec.ctrl_pts = in.maybe(ctrl.data());
  rec.knots = in.maybe(knots.data());
  zv_pnt_3d p, d1, d2;
  int16_t status;
  const double t = in.real();
  if (in.flag())
    zv_eval_pointoncurve_3d(in.maybe(&rec), t, in.maybe(&p));
  else
    zv_eval_derivsoncurve_3d(in.maybe(&rec), t, in.count(), in.count(), in.maybe(&p), in.maybe(&d1), in.maybe(&d2),
                             in.maybe(&status));
}

}  // namespace zvfuzz
