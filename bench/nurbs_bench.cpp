// Per-sample cost of tessellating non-uniform B-spline and NURB records
// beside SISL (s1221 with its span hint) and Open CASCADE
// (GeomAdaptor_Curve::D0) evaluating the same cubic curves at the same
// parameters, for 1,000, 10,000 and 30,000 control points. Our figures
// include making and appending a vertex and a statistics record per sample,
// their list nodes and releasing them; ours_over_peer is our time per
// sample over the peer's at the same n.
#include <GeomAdaptor_Curve.hxx>
#include <Geom_BSplineCurve.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <benchmark/benchmark.h>
#include <rivezi3z/rivezi3z.h>
#include <sisl.h>

#include "bench_support.hpp"

#include <malloc.h>

#include <algorithm>
#include <random>
#include <vector>

#include "spline_lists.hpp"

namespace {

constexpr int kDegree = 3;
constexpr int16_t kSteps = 9;  // 10 samples per span

// A random clamped cubic with n control points on [0, n - 3], near-uniform
// interior knots, weights in [0.5, 2] (or all 1).
struct Curve {
  std::vector<double> points, weights, knots;  // full clamped knot vector
  int n = 0;
};

Curve make_curve(int n, bool rational) {
  std::mt19937 rng(12345);
  std::uniform_real_distribution<double> coordinate(-10, 10), jitter(0.1, 0.9), weight(0.5, 2.0);
  Curve c;
  c.n = n;
  for (int i = 0; i < n; ++i) {
    for (int k = 0; k < 3; ++k) c.points.push_back(coordinate(rng));
    c.weights.push_back(rational ? weight(rng) : 1.0);
  }
  c.knots.assign(kDegree + 1, 0.0);
  for (int i = 1; i < n - kDegree; ++i) c.knots.push_back(i - 1 + jitter(rng));
  c.knots.insert(c.knots.end(), kDegree + 1, n - kDegree);
  return c;
}

zv_curve *record(const Curve &c, bool rational) {
  return zvbench::spline_record(c.points, c.weights, c.knots, kDegree, kSteps, rational);
}

// The parameters the tessellators sample.
std::vector<double> parameters(const Curve &c) {
  std::vector<double> ts;
  for (int i = kDegree; i < c.n; ++i) {
    const double left = c.knots[i], length = c.knots[i + 1] - left;
    for (int s = 0; s <= kSteps; ++s) ts.push_back(left + (s * length) / kSteps);
  }
  return ts;
}

// Gives the record empty output lists again. The release of the samples is
// timed with the tessellation (the goal counts the whole life of a
// sample); the heap is then put back in address order (malloc_trim for
// the system heap, zv_compact_pools for the kernel's pools), untimed, so
// every run starts from the same heap state instead of one scrambled by
// the previous run's releases.
void empty_outputs(zv_curve *curve) {
  ll_purge_list(curve->vertex_list);
  ll_purge_list(curve->stats_list);
  curve->vertex_list = ll_create_list();
  curve->stats_list = ll_create_list();
}

void tessellate(benchmark::State &state, bool rational) {
  const Curve c = make_curve(static_cast<int>(state.range(0)), rational);
  zv_curve *curve = record(c, rational);
  const auto spans = static_cast<int16_t>(c.n - kDegree);
  const double samples = static_cast<double>(parameters(c).size());
  double timed = 0.0;
  for (auto _ : state) {
    const double t0 = zvbench::cpu_ns();
    const int16_t result = rational ? zv_mk_nurb_curve3d(curve, 0, 0, spans, 0) : zv_mk_nubspline_3d(curve, 0, 0);
    benchmark::DoNotOptimize(result);
    empty_outputs(curve);
    timed += zvbench::cpu_ns() - t0;
    state.PauseTiming();
    malloc_trim(0);
    zv_compact_pools();
    state.ResumeTiming();
  }
  zvbench::record_ours(rational ? "nurb" : "nub", state.range(0), timed / (state.iterations() * samples));
  state.SetItemsProcessed(state.iterations() * static_cast<long>(samples));
  state.counters["ns_per_sample"] = zvbench::per_item(samples);
  zv_purge_curve(curve);
}

void sisl(benchmark::State &state, bool rational) {
  Curve c = make_curve(static_cast<int>(state.range(0)), rational);
  std::vector<double> coefs;
  for (int i = 0; i < c.n; ++i) {
    const double w = c.weights[i];
    for (int k = 0; k < 3; ++k) coefs.push_back(rational ? w * c.points[3 * i + k] : c.points[3 * i + k]);
    if (rational) coefs.push_back(w);
  }
  SISLCurve *curve = newCurve(c.n, kDegree + 1, c.knots.data(), coefs.data(), rational ? 2 : 1, 3, 1);
  const std::vector<double> ts = parameters(c);
  const double t0 = zvbench::cpu_ns();
  for (auto _ : state) {
    int leftknot = 0, status = 0;
    double out[3];
    for (double t : ts) {
      s1221(curve, 0, t, &leftknot, out, &status);
      benchmark::DoNotOptimize(out);
    }
  }
  const double per = (zvbench::cpu_ns() - t0) / (state.iterations() * static_cast<double>(ts.size()));
  zvbench::report_ratio(state, rational ? "nurb" : "nub", state.range(0), per);
  state.SetItemsProcessed(state.iterations() * static_cast<long>(ts.size()));
  state.counters["ns_per_sample"] = zvbench::per_item(static_cast<double>(ts.size()));
  freeCurve(curve);
}

void occt(benchmark::State &state, bool rational) {
  const Curve c = make_curve(static_cast<int>(state.range(0)), rational);
  TColgp_Array1OfPnt poles(1, c.n);
  TColStd_Array1OfReal weights(1, c.n), knots(1, c.n - kDegree + 1);
  TColStd_Array1OfInteger mults(1, c.n - kDegree + 1);
  for (int i = 0; i < c.n; ++i) {
    poles.SetValue(i + 1, gp_Pnt(c.points[3 * i], c.points[3 * i + 1], c.points[3 * i + 2]));
    weights.SetValue(i + 1, c.weights[i]);
  }
  for (int i = 0; i <= c.n - kDegree; ++i) {
    knots.SetValue(i + 1, c.knots[kDegree + i]);
    mults.SetValue(i + 1, i == 0 || i == c.n - kDegree ? kDegree + 1 : 1);
  }
  Handle(Geom_BSplineCurve) curve = rational ? new Geom_BSplineCurve(poles, weights, knots, mults, kDegree)
                                             : new Geom_BSplineCurve(poles, knots, mults, kDegree);
  GeomAdaptor_Curve adaptor(curve);
  const std::vector<double> ts = parameters(c);
  const double t0 = zvbench::cpu_ns();
  for (auto _ : state) {
    gp_Pnt q;
    for (double t : ts) {
      adaptor.D0(t, q);
      benchmark::DoNotOptimize(q);
    }
  }
  const double per = (zvbench::cpu_ns() - t0) / (state.iterations() * static_cast<double>(ts.size()));
  zvbench::report_ratio(state, rational ? "nurb" : "nub", state.range(0), per);
  state.SetItemsProcessed(state.iterations() * static_cast<long>(ts.size()));
  state.counters["ns_per_sample"] = zvbench::per_item(static_cast<double>(ts.size()));
}

void BM_zv_mk_nubspline_3d(benchmark::State &state) { tessellate(state, false); }
void BM_sisl_s1221_nonrational(benchmark::State &state) { sisl(state, false); }
void BM_occt_D0_nonrational(benchmark::State &state) { occt(state, false); }
void BM_zv_mk_nurb_curve3d(benchmark::State &state) { tessellate(state, true); }
void BM_sisl_s1221_rational(benchmark::State &state) { sisl(state, true); }
void BM_occt_D0_rational(benchmark::State &state) { occt(state, true); }

#define ZV_SIZES ->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_zv_mk_nubspline_3d) ZV_SIZES;
BENCHMARK(BM_sisl_s1221_nonrational) ZV_SIZES;
BENCHMARK(BM_occt_D0_nonrational) ZV_SIZES;
BENCHMARK(BM_zv_mk_nurb_curve3d) ZV_SIZES;
BENCHMARK(BM_sisl_s1221_rational) ZV_SIZES;
BENCHMARK(BM_occt_D0_rational) ZV_SIZES;

}  // namespace
