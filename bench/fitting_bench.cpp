// The curve through n points (degree 3) beside SISL and Open CASCADE fitting
// the same points, and the array-form evaluators beside SISL's s1221.
//
// Peers: SISL s1356 (its own chord parameters and knots, the goal's
// reference), SISL s1357 (chord parameters given, its own knots), SISL s1891
// (our parameters and knots), Open CASCADE GeomAPI_Interpolate (its own
// parameters and knots, the usual entry) and BSplCLib::Interpolate (our
// parameters and knots).
#include <benchmark/benchmark.h>
#include <rivezi3z/rivezi3z.hpp>
#include <sisl.h>
#include <sislP.h>

#include "bench_support.hpp"

#include <BSplCLib.hxx>
#include <GeomAPI_Interpolate.hxx>
#include <Geom_BSplineCurve.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TColgp_HArray1OfPnt.hxx>

#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr int kDegree = 3;

// n points along a wobbling space curve, the same for every contender.
std::vector<zv_pnt_3d> points(int n) {
  std::mt19937 rng(42);
  std::uniform_real_distribution<double> step(0.5, 1.5);
  std::uniform_real_distribution<double> wobble(-1.0, 1.0);
  std::vector<zv_pnt_3d> pts;
  double x = 0.0;
  for (int i = 0; i < n; ++i) {
    x += step(rng);
    pts.push_back({x, 10 * std::sin(0.05 * x) + wobble(rng), wobble(rng)});
  }
  return pts;
}

// Chord-length parameters scaled to 0..1.
std::vector<double> chord_parameters(const std::vector<zv_pnt_3d> &pts) {
  std::vector<double> u(pts.size(), 0.0);
  for (std::size_t i = 1; i < pts.size(); ++i)
    u[i] = u[i - 1] + std::hypot(pts[i].x - pts[i - 1].x, pts[i].y - pts[i - 1].y, pts[i].z - pts[i - 1].z);
  for (double &v : u) v /= u.back();
  u.back() = 1.0;
  return u;
}

// Averaged clamped knots for the parameters.
std::vector<double> averaged_knots(const std::vector<double> &u, int p) {
  const int n = static_cast<int>(u.size());
  std::vector<double> k(n + p + 1, 0.0);
  for (int j = p + 1; j < n; ++j) {
    for (int i = j - p; i < j; ++i) k[j] += u[i];
    k[j] /= p;
  }
  for (int j = n; j <= n + p; ++j) k[j] = 1.0;
  return k;
}

std::vector<double> flattened(const std::vector<zv_pnt_3d> &pts) {
  std::vector<double> out;
  for (const zv_pnt_3d &p : pts) out.insert(out.end(), {p.x, p.y, p.z});
  return out;
}

// Reports the time per point of a fit loop that started at t0, and the
// ratio to ours.
void per_point(benchmark::State &state, double t0) {
  const double per = (zvbench::cpu_ns() - t0) / (static_cast<double>(state.iterations()) * state.range(0));
  zvbench::report_ratio(state, "fit", state.range(0), per);
  state.counters["ns_per_point"] = zvbench::per_item(static_cast<double>(state.range(0)));
}

void BM_zv_curve_thru_npoints(benchmark::State &state) {
  const std::vector<zv_pnt_3d> pts = points(static_cast<int>(state.range(0)));
  const double t0 = zvbench::cpu_ns();
  for (auto _ : state) {
    zv_nurbs_3d *rec = nullptr;
    zv_curve_thru_npoints_3d(pts.data(), static_cast<int16_t>(pts.size()), kDegree, 0, nullptr, nullptr, 1, &rec);
    const rivezi3z::Nurbs owner(rec);
    benchmark::DoNotOptimize(rec->ctrl_pts[0]);
  }
  zvbench::record_ours("fit", state.range(0),
                       (zvbench::cpu_ns() - t0) / (static_cast<double>(state.iterations()) * state.range(0)));
  state.counters["ns_per_point"] = zvbench::per_item(static_cast<double>(state.range(0)));
}

// SISL's interpolation: s1356 with its own chord parameters, or s1357
// given chord-length parameters computed in the loop.
void sisl_fit(benchmark::State &state, bool given_parameters) {
  const std::vector<zv_pnt_3d> pts = points(static_cast<int>(state.range(0)));
  std::vector<double> data = flattened(pts);
  const int n = static_cast<int>(pts.size());
  std::vector<int> type(n, 1);
  const double t0 = zvbench::cpu_ns();
  for (auto _ : state) {
    double end = 0.0;
    SISLCurve *curve = nullptr;
    double *par = nullptr;
    int npar = 0, stat = 0;
    if (given_parameters) {
      std::vector<double> u = chord_parameters(pts);
      s1357(data.data(), n, 3, type.data(), u.data(), 0, 0, 1, kDegree + 1, 0.0, &end, &curve, &par, &npar, &stat);
    } else {
      s1356(data.data(), n, 3, type.data(), 0, 0, 1, kDegree + 1, 0.0, &end, &curve, &par, &npar, &stat);
    }
    benchmark::DoNotOptimize(curve->ecoef[0]);
    freeCurve(curve);
    std::free(par);
  }
  per_point(state, t0);
}

void BM_sisl_s1356(benchmark::State &state) { sisl_fit(state, false); }
void BM_sisl_s1357(benchmark::State &state) { sisl_fit(state, true); }

void BM_sisl_s1891(benchmark::State &state) {
  const std::vector<zv_pnt_3d> pts = points(static_cast<int>(state.range(0)));
  std::vector<double> data = flattened(pts);
  const int n = static_cast<int>(pts.size());
  std::vector<int> der(n, 0);
  const double t0 = zvbench::cpu_ns();
  for (auto _ : state) {
    std::vector<double> u = chord_parameters(pts);
    std::vector<double> knots = averaged_knots(u, kDegree);
    double *coef = nullptr;
    int count = 0, stat = 0;
    s1891(u.data(), data.data(), 3, n, 1, der.data(), 1, knots.data(), &coef, &count, kDegree + 1, 0, 0, &stat);
    benchmark::DoNotOptimize(coef[0]);
    std::free(coef);
  }
  per_point(state, t0);
}

void BM_occt_GeomAPI_Interpolate(benchmark::State &state) {
  const std::vector<zv_pnt_3d> pts = points(static_cast<int>(state.range(0)));
  const int n = static_cast<int>(pts.size());
  Handle(TColgp_HArray1OfPnt) poles = new TColgp_HArray1OfPnt(1, n);
  for (int i = 0; i < n; ++i) poles->SetValue(i + 1, gp_Pnt(pts[i].x, pts[i].y, pts[i].z));
  const double t0 = zvbench::cpu_ns();
  for (auto _ : state) {
    GeomAPI_Interpolate fit(poles, Standard_False, 1e-9);
    fit.Perform();
    benchmark::DoNotOptimize(fit.Curve()->NbPoles());
  }
  per_point(state, t0);
}

void BM_occt_BSplCLib_Interpolate(benchmark::State &state) {
  const std::vector<zv_pnt_3d> pts = points(static_cast<int>(state.range(0)));
  const int n = static_cast<int>(pts.size());
  TColStd_Array1OfInteger contact(1, n);
  contact.Init(0);
  const double t0 = zvbench::cpu_ns();
  for (auto _ : state) {
    const std::vector<double> u = chord_parameters(pts);
    const std::vector<double> knots = averaged_knots(u, kDegree);
    TColStd_Array1OfReal flat(1, static_cast<int>(knots.size()));
    for (int i = 0; i < flat.Length(); ++i) flat(i + 1) = knots[i];
    TColStd_Array1OfReal params(1, n);
    TColgp_Array1OfPnt poles(1, n);
    for (int i = 0; i < n; ++i) {
      params(i + 1) = u[i];
      poles(i + 1) = gp_Pnt(pts[i].x, pts[i].y, pts[i].z);
    }
    int problem = 0;
    BSplCLib::Interpolate(kDegree, flat, params, contact, poles, problem);
    benchmark::DoNotOptimize(poles(1).X());
  }
  per_point(state, t0);
}

// Point and derivatives at 10,000 parameters along a fitted curve.
void BM_zv_eval_derivsoncurve(benchmark::State &state) {
  const std::vector<zv_pnt_3d> pts = points(1000);
  zv_nurbs_3d *rec = nullptr;
  zv_curve_thru_npoints_3d(pts.data(), 1000, kDegree, 0, nullptr, nullptr, 1, &rec);
  const rivezi3z::Nurbs owner(rec);
  for (auto _ : state) {
    zv_pnt_3d q, d1, d2;
    int16_t status;
    for (int i = 0; i < 10000; ++i) {
      zv_eval_derivsoncurve_3d(rec, i / 9999.0, 1, 1, &q, &d1, &d2, &status);
      benchmark::DoNotOptimize(q);
    }
  }
}

void BM_sisl_s1221(benchmark::State &state) {
  const std::vector<zv_pnt_3d> pts = points(1000);
  zv_nurbs_3d *rec = nullptr;
  zv_curve_thru_npoints_3d(pts.data(), 1000, kDegree, 0, nullptr, nullptr, 1, &rec);
  const rivezi3z::Nurbs owner(rec);
  SISLCurve *curve = newCurve(1000, kDegree + 1, rec->knots, rec->ctrl_pts, 1, 3, 1);
  for (auto _ : state) {
    double out[9];
    int left = 0, stat = 0;
    for (int i = 0; i < 10000; ++i) {
      s1221(curve, 2, i / 9999.0, &left, out, &stat);
      benchmark::DoNotOptimize(out[0]);
    }
  }
  freeCurve(curve);
}

BENCHMARK(BM_zv_curve_thru_npoints)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_sisl_s1356)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_sisl_s1357)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_sisl_s1891)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_occt_GeomAPI_Interpolate)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_occt_BSplCLib_Interpolate)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_zv_eval_derivsoncurve)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_sisl_s1221)->Unit(benchmark::kMicrosecond);

}  // namespace
