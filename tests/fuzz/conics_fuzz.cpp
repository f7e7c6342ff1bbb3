// Fuzz target: every conic, arc and cycloid function.
#include "fuzz_input.hpp"

namespace zvfuzz {

void fuzz_one(Input &in) {
  Owned owned;
  ll_list *list = owned.add(in.polygon());
  ll_list *list2 = owned.add(in.polygon());
  zv_pnt_3d a = in.point(), b = in.point(), out;
  zv_vector_3d v1, v2;
  int16_t n = in.count(), count = in.count();
  const double r = in.real(), s = in.real(), t = in.real();
  zv_arc_2d arc;
  zv_set_arc_2d(r, s, t, in.count(), in.real(), in.real(), &arc);
  switch (in.pick(19)) {
    case 0: zv_circle_pnt_3d(a, r, s, in.maybe(&out)); break;
    case 1: refusing(in, [&] { return zv_circlepnts_3d(a, r, n, in.maybe(&count), list); }); break;
    case 2: refusing(in, [&] { return zv_circle_arc_3d(a, r, n, s, t, list); }); break;
    case 3: zv_circle_stats_3d(a, b, in.maybe(&v1), in.maybe(&v2)); break;
    case 4: zv_ellipse_pnt_3d(a, r, s, t, in.maybe(&out)); break;
    case 5: refusing(in, [&] { return zv_ellipsepnts_3d(in.maybe(&a), in.maybe(&b), in.maybe(&n), in.maybe(&count), list); }); break;
    case 6: refusing(in, [&] { return zv_elliptic_arc_3d(in.maybe(&a), in.maybe(&b), in.maybe(&n), s, t, list); }); break;
    case 7: zv_ellipse_stats_3d(a, r, s, b, in.maybe(&v1), in.maybe(&v2)); break;
    case 8: refusing(in, [&] { return zv_arcpnts_3d(a, r, s, t, n, list); }); break;
    case 9: refusing(in, [&] { return zv_arc_pnts_3d(in.maybe(&arc), n, r, list); }); break;
    case 10: refusing(in, [&] { return zv_cycloidpnts_3d(in.maybe(&a), r, in.maybe(&n), list, in.maybe(&count)); }); break;
    case 11: zv_hyperbola_pnt_3d(a, r, s, t, in.maybe(&out)); break;
    case 12: refusing(in, [&] { return zv_hyperbolic_arc_3d(a, r, s, in.maybe(&n), t, in.real(), list); }); break;
    case 13: {
      const uint8_t mode = in.byte();
      refusing(in, [&] { return zv_hyperbolapnts_3d(mode, in.maybe(&a), in.maybe(&b), r, in.maybe(&n), in.maybe(&count), list, list2); });
      break;
    }
    case 14: zv_hyperbola_stats_3d(a, r, s, in.count(), b, in.maybe(&v1), in.maybe(&v2)); break;
    case 15: zv_parabola_pnt_3d(a, r, s, in.count(), in.maybe(&out)); break;
    case 16: {
      const int16_t axis = in.count();
      refusing(in, [&] { zv_parabolic_arc_3d(a, r, axis, n, s, t, list); return 0; });
      break;
    }
    case 17: {
      const uint8_t mode = in.byte();
      refusing(in, [&] { return zv_parabolapnts_3d(mode, in.maybe(&a), r, s, in.maybe(&n), in.maybe(&count), list); });
      break;
    }
    default: zv_parabola_stats_3d(a, r, in.count(), b, in.maybe(&v1), in.maybe(&v2)); break;
  }
  owned.release({});
}

}  // namespace zvfuzz
