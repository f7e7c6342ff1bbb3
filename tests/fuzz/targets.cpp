// The libFuzzer targets, one function per family: CMake builds this file once per family with ZV_FUZZ_TARGET naming
// its function. Every input must run without a crash, give every kernel block back and leave the lists in reach
// consistent; a count written back or returned must equal the items appended. The seed corpora in
// tests/fuzz/corpus/<family>/ are kept from fuzzing runs of these decoders (merged with -merge=1).
#include "program.hpp"

namespace zvfuzz {

// Point and derivative evaluation of array-form records.
void fuzz_array(Input &in) { Calls(in).one_of(zv_eval_pointoncurve_3d, zv_eval_derivsoncurve_3d); }

// Every conic, arc and cycloid function. A null pointer among the required
// ones returns 2, so a result of 0 means the count was written.
void fuzz_conics(Input &in) {
  Calls(in).one_of(
      zv_circle_pnt_3d, zv_circlepnts_3d, zv_circle_stats_3d, zv_ellipse_pnt_3d, zv_elliptic_arc_3d,
      zv_ellipse_stats_3d, zv_hyperbola_pnt_3d, zv_hyperbolic_arc_3d, zv_hyperbola_stats_3d, zv_parabola_pnt_3d,
      zv_parabolic_arc_3d, zv_parabola_stats_3d,
      [](Calls &c) { auto [code, a] = c.call(zv_circle_arc_3d); check_appended(std::get<5>(a), 0, code); },
      [](Calls &c) { auto [code, a] = c.call(zv_arcpnts_3d); check_appended(std::get<5>(a), 0, code); },
      [](Calls &c) { auto [code, a] = c.call(zv_arc_pnts_3d); check_appended(std::get<3>(a), 0, code); },
      [](Calls &c) { auto [code, a] = c.call(zv_ellipsepnts_3d); c.counted(!code, std::get<3>(a), std::get<4>(a)); },
      [](Calls &c) { auto [code, a] = c.call(zv_cycloidpnts_3d); c.counted(!code, std::get<4>(a), std::get<3>(a)); },
      [](Calls &c) {
        auto [code, a] = c.call(zv_hyperbolapnts_3d);
        c.counted(!code, std::get<5>(a), std::get<6>(a)), c.counted(!code, std::get<5>(a), std::get<7>(a));
      },
      [](Calls &c) { auto [code, a] = c.call(zv_parabolapnts_3d); c.counted(!code, std::get<5>(a), std::get<6>(a)); });
}

// Conversion of B-spline and NURB records into Bezier points and the splits
// of uniform and rational Bezier records.
void fuzz_convert(Input &in) {
  Calls(in).one_of(zv_bspl_to_bezier_curve3d, zv_rat_bspl_to_bezier_curve3d, zv_sub_bezier_curve3d,
                   zv_sub_ratbezier_curve3d);
}

// The curve through n points, with computed or given parameters and knots
// over arrays as long as the counts state.
void fuzz_fitting(Input &in) {
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

// Crossings of two records' polylines, the same record twice among them;
// the result is the number appended to out, wrapping past int16.
void fuzz_intersection(Input &in) {
  Calls c(in);
  const auto [found, a] = c.call(zv_intcurve_3d);
  if (ll_list *out = std::get<2>(a); out && static_cast<int16_t>(c.appended(out)) != found)
    fail("crossings returned against appended", found, c.appended(out));
}

// The three tessellators of the non-uniform and rational records, and the
// two de Boor evaluators.
void fuzz_nurbs(Input &in) {
  Calls c(in);
  for (int calls = in.pick(3) + 1; calls > 0; --calls)
    c.one_of(zv_mk_nubspline_3d, zv_mk_nurb_curve3d, zv_mk_rat_bezier_3d, zv_deboor_3d, zv_rat_deboor_3d);
}

// The direct polylines from arrays and lists of control points; the three
// that write a vertex count back must have appended that many.
void fuzz_polylines(Input &in) {
  Calls(in).one_of(
      zv_bez_factorial3, zv_bezier_curve_3d,
      [&](Calls &) {
        // Arrays as large as the counts say (the caller's side of the contract).
        const int16_t n = in.count(), m = in.count();
        std::vector<zv_pnt_3d> points(m > 0 ? m : 1), samples(std::max<int>({n, m, 1}));
        for (auto &p : points) p = in.point();
        zv_beziercurve3d(in.maybe(points.data()), m, n, in.maybe(samples.data()));
      },
      [](Calls &c) { auto [code, a] = c.call(zv_bspline_3d); c.counted(!code, std::get<2>(a), std::get<3>(a)); },
      [](Calls &c) {
        auto [code, a] = c.call(zv_quad_bspline_3d);
        c.counted(!code || code == 33, std::get<3>(a), std::get<4>(a));
      },
      [](Calls &c) {
        auto [code, a] = c.call(zv_catrom_curve_3d);
        c.counted(!code || code == 33, std::get<4>(a), std::get<5>(a));
      });
}

// The tessellation of uniform records and the segment evaluator.
void fuzz_uniform(Input &in) {
  Calls c(in);
  for (int calls = in.pick(3) + 1; calls > 0; --calls) c.one_of(zv_mk_ucurve3d, zv_eval_t_on_ucurve3d);
}

// Short programs over a pool of curve records and lists (program.hpp).
void fuzz_program(Input &in) { run_program(in); }

}  // namespace zvfuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const bool quiet = [] {  // the library's messages and memory reports are expected here
    zv_set_msg_handler([](const char *, int16_t, const char *, void *) {}, nullptr);
    zv_set_memerr_handler([](const char *, void *) {}, nullptr);
    return true;
  }();
  const long start = zv_live_blocks();
  zvfuzz::Input in(data, size);
  zvfuzz::ZV_FUZZ_TARGET(in);
  zv_fail_alloc_after(-1);
  if (zv_live_blocks() != start) zvfuzz::fail("kernel blocks leaked", zv_live_blocks() - start, 0);
  (void)quiet;
  return 0;
}
