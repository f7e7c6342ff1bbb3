// Fuzz target: the direct polylines from arrays and lists of control points.
#include "fuzz_input.hpp"

namespace zvfuzz {

void fuzz_one(Input &in) {
  Owned owned;
  ll_list *ctrl = owned.add(in.polygon());
  ll_list *out = owned.add(in.polygon());
  const int16_t n = in.count(), m = in.count();
  int16_t value = in.count();
  switch (in.pick(6)) {
    case 0: zv_bez_factorial3(n); break;
    case 1: {
      // Arrays as large as the counts say (the caller's side of the contract).
      std::vector<zv_pnt_3d> points(m > 0 ? m : 1), samples(std::max<int>({n, m, 1}));
      for (auto &p : points) p = in.point();
      zv_beziercurve3d(in.maybe(points.data()), m, n, in.maybe(samples.data()));
      break;
    }
    case 2: refusing(in, [&] { return zv_bezier_curve_3d(ctrl, m, n, out); }); break;
    case 3: refusing(in, [&] { return zv_bspline_3d(n, ctrl, in.maybe(&value), out); }); break;
    case 4: refusing(in, [&] { return zv_quad_bspline_3d(n, ctrl, m, in.maybe(&value), out); }); break;
    default: {
      const double s = in.real();
      refusing(in, [&] { return zv_catrom_curve_3d(n, ctrl, m, s, in.maybe(&value), out); });
    }
  }
  owned.release({});
}

}  // namespace zvfuzz
