// Bad inputs of the two array-form evaluators: unusable records and null
// outputs, one row each; every refusal must leave the outputs untouched.
#include "bad_inputs.hpp"

namespace {

using zvtest::BadInput;
using zvtest::kNaN;

// A plain cubic over four points in 3D, spoiled by spoil(rec), evaluated by
// both functions: their common result, or 99 when they differ or a refusal
// wrote an output.
template <class Spoil>
long evaluate(Spoil spoil, double t = 0.5) {
  double ctrl[] = {0, 0, 0, 1, 2, 0, 3, 2, 1, 4, 0, 1};
  double knots[] = {0, 0, 0, 0, 1, 1, 1, 1};
  zv_nurbs_3d rec{3, 7, 3, 1, 1, 0, 0, 3, ctrl, knots};
  spoil(rec);
  zv_pnt_3d q{7, 7, 7}, d1{7, 7, 7}, d2{7, 7, 7};
  int16_t status = 9;
  const long point = zv_eval_pointoncurve_3d(&rec, t, &q);
  const long derivs = zv_eval_derivsoncurve_3d(&rec, t, 1, 1, &q, &d1, &d2, &status);
  if (point != derivs) return 99;
  if (point != 0 && q.x + d1.x + d2.x + status != 7 + 7 + 7 + 9) return 99;
  return point;
}

// zv_eval_derivsoncurve_3d with one pointer nulled: 1 record, 2 point,
// 3 first derivative, 4 second, 5 status.
long derivs(int null_one, int16_t with_second = 1) {
  double ctrl[] = {0, 0, 1, 1, 2, 0};
  double knots[] = {0, 0, 0, 1, 1, 1};
  const zv_nurbs_3d rec{2, 5, 2, 1, 1, 0, 1, 2, ctrl, knots};
  zv_pnt_3d q, d1, d2;
  int16_t status;
  return zv_eval_derivsoncurve_3d(null_one == 1 ? nullptr : &rec, 0.5, 1, with_second, null_one == 2 ? nullptr : &q,
                                  null_one == 3 ? nullptr : &d1, null_one == 4 ? nullptr : &d2,
                                  null_one == 5 ? nullptr : &status);
}

class ArrayFamily : public zvtest::KernelTest {};

TEST_F(ArrayFamily, BadInputTable) {
  const std::vector<BadInput> rows = {
      {"both", "degree 0", [] { return evaluate([](zv_nurbs_3d &r) { r.degree = 0; }); }, 1},
      {"both", "degree 8", [] { return evaluate([](zv_nurbs_3d &r) { r.degree = 8; }); }, 1},
      {"both", "degree -32768", [] { return evaluate([](zv_nurbs_3d &r) { r.degree = -32768; }); }, 1},
      {"both", "plain dim 4", [] { return evaluate([](zv_nurbs_3d &r) { r.dim = 4; }); }, 1},
      {"both", "plain dim 1", [] { return evaluate([](zv_nurbs_3d &r) { r.dim = 1; }); }, 1},
      {"both", "homogeneous dim 2", [] { return evaluate([](zv_nurbs_3d &r) { r.plain = 0, r.dim = 2; }); }, 1},
      {"both", "null control points", [] { return evaluate([](zv_nurbs_3d &r) { r.ctrl_pts = nullptr; }); }, 1},
      {"both", "null knots", [] { return evaluate([](zv_nurbs_3d &r) { r.knots = nullptr; }); }, 1},
      {"both", "last knot too large", [] { return evaluate([](zv_nurbs_3d &r) { r.last_knot = 40; }); }, 1},
      {"both", "last knot negative", [] { return evaluate([](zv_nurbs_3d &r) { r.last_knot = -3; }); }, 1},
      {"both", "last control point -32768", [] { return evaluate([](zv_nurbs_3d &r) { r.last_ctrl = -32768; }); }, 1},
      {"both", "fewer points than the degree needs", [] { return evaluate([](zv_nurbs_3d &r) { r.last_ctrl = 2, r.last_knot = 6; }); }, 1},
      {"both", "NaN t: no refusal, no trap", [] { return evaluate([](zv_nurbs_3d &) {}, kNaN); }, 0},
      {"both", "NaN knots: no refusal, no trap", [] {
         return evaluate([](zv_nurbs_3d &r) { for (int i = 0; i < 8; ++i) r.knots[i] = kNaN; });
       }, 0},
      {"both", "falling knots: no trap", [] {
         return evaluate([](zv_nurbs_3d &r) { for (int i = 0; i < 8; ++i) r.knots[i] = -i; });
       }, 0},
      {"zv_eval_pointoncurve_3d", "null record", [] { zv_pnt_3d q; return zv_eval_pointoncurve_3d(nullptr, 0.5, &q); }, 1},
      {"zv_eval_pointoncurve_3d", "null result", [] {
         double c[] = {0, 0, 1, 1}, k[] = {0, 0, 1, 1};
         const zv_nurbs_3d rec{1, 3, 1, 1, 1, 0, 1, 2, c, k};
         return zv_eval_pointoncurve_3d(&rec, 0.5, nullptr);
       }, 1},
      {"zv_eval_derivsoncurve_3d", "null record", [] { return derivs(1); }, 1},
      {"zv_eval_derivsoncurve_3d", "null point", [] { return derivs(2); }, 1},
      {"zv_eval_derivsoncurve_3d", "null first derivative", [] { return derivs(3); }, 1},
      {"zv_eval_derivsoncurve_3d", "null second derivative asked for", [] { return derivs(4); }, 1},
      {"zv_eval_derivsoncurve_3d", "null second derivative not asked for", [] { return derivs(4, 0); }, 0},
      {"zv_eval_derivsoncurve_3d", "null status", [] { return derivs(5); }, 1},
  };
  zvtest::check_bad_inputs(reports, rows);
}

}  // namespace
