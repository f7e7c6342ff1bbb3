// Bezier subdivision and B-spline to Bezier conversion beside the reference
// libraries. Splits: both halves of a degree 3 and a degree 15 curve at
// t = 0.3, ours (making the pieces' records, vertices and weights and
// releasing the previous ones) beside SISL's s1710 (making and freeing two
// curves) and a hand-written de Casteljau on arrays that allocates nothing
// (the floor). Conversion: a clamped cubic of 1,000 segments into its 3,001
// Bezier points, ours (vertices appended to a list, then released) beside
// SISL's s1730 and Open CASCADE's GeomConvert_BSplineCurveToBezierCurve
// (its figure includes making the 1,000 Bezier arcs).
#include <GeomConvert_BSplineCurveToBezierCurve.hxx>
#include <Geom_BSplineCurve.hxx>
#include <TColGeom_Array1OfBezierCurve.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <benchmark/benchmark.h>
#include <rivezi3z/rivezi3z.h>
#include <sisl.h>

#include <random>
#include <vector>

#include "spline_lists.hpp"

namespace {

constexpr double kSplit = 0.3;
constexpr int kSegments = 1000;

struct Polygon {
  std::vector<double> xyz, weights;
};

Polygon random_polygon(int count) {
  std::mt19937 rng(4242);
  std::uniform_real_distribution<double> coordinate(-10, 10), weight(0.5, 2.0);
  Polygon p;
  for (int i = 0; i < count; ++i) {
    for (int k = 0; k < 3; ++k) p.xyz.push_back(coordinate(rng));
    p.weights.push_back(weight(rng));
  }
  return p;
}

// Releases the pieces a rational split appended, so every split starts
// from empty lists.
void clear_lists(zv_curve *c) {
  ll_purge_list(c->ctrl_list);
  ll_purge_list(c->weight_list);
  c->ctrl_list = nullptr;
  c->weight_list = nullptr;
}

// ------------------------------------------------------------ subdivision

void BM_SplitOurs(benchmark::State &state) {
  const int p = static_cast<int>(state.range(0));
  const Polygon poly = random_polygon(p + 1);
  ll_list *ctrl = zvbench::vertex_list(poly.xyz);
  zv_curve *source = zv_def_ubezier_curve3d(ctrl);
  ll_purge_list(ctrl);
  source->degree = static_cast<int16_t>(p);
  zv_curve *before = zv_create_curve(), *after = zv_create_curve();
  for (auto _ : state) {
    benchmark::DoNotOptimize(zv_sub_bezier_curve3d(source, kSplit, before, after));
  }
  zv_purge_curve(before);
  zv_purge_curve(after);
  zv_purge_curve(source);
}

void BM_SplitOursRational(benchmark::State &state) {
  const int p = static_cast<int>(state.range(0));
  const Polygon poly = random_polygon(p + 1);
  zv_curve *source = zv_create_curve();
  const double half = 0.5;
  zv_def_ratbezier_curve3d(zvbench::vertex_list(poly.xyz), zvbench::real_list(&half, &half + 1),
                           zvbench::real_list(poly.weights.data(), poly.weights.data() + p + 1), static_cast<int16_t>(p), source);
  zv_curve *before = zv_create_curve(), *after = zv_create_curve();
  for (auto _ : state) {
    benchmark::DoNotOptimize(zv_sub_ratbezier_curve3d(source, kSplit, before, after));
    clear_lists(before);
    clear_lists(after);
  }
  zv_purge_curve(before);
  zv_purge_curve(after);
  zv_purge_curve(source);
}

// The polygon as a SISL curve of the given order over the full knot vector,
// in homogeneous form (w x, w y, w z, w) when rational.
SISLCurve *sisl_curve(const Polygon &poly, std::vector<double> knots, int order, bool rational) {
  std::vector<double> coefs;
  for (size_t i = 0; i < poly.weights.size(); ++i) {
    const double w = rational ? poly.weights[i] : 1.0;
    for (int k = 0; k < 3; ++k) coefs.push_back(w * poly.xyz[3 * i + k]);
    if (rational) coefs.push_back(w);
  }
  return newCurve(static_cast<int>(poly.weights.size()), order, knots.data(), coefs.data(), rational ? 2 : 1, 3, 1);
}

void BM_SplitSisl(benchmark::State &state) {
  const int p = static_cast<int>(state.range(0));
  const bool rational = state.range(1) != 0;
  std::vector<double> knots(p + 1, 0.0);
  knots.resize(2 * (p + 1), 1.0);
  SISLCurve *curve = sisl_curve(random_polygon(p + 1), knots, p + 1, rational);
  for (auto _ : state) {
    SISLCurve *first = nullptr, *second = nullptr;
    int stat = 0;
    s1710(curve, kSplit, &first, &second, &stat);
    benchmark::DoNotOptimize(first);
    freeCurve(first);
    freeCurve(second);
  }
  freeCurve(curve);
}

// De Casteljau on plain arrays, both halves, nothing allocated: the floor.
void BM_SplitByHand(benchmark::State &state) {
  const int p = static_cast<int>(state.range(0));
  const Polygon poly = random_polygon(p + 1);
  std::vector<double> d(3 * (p + 1)), left(3 * (p + 1));
  for (auto _ : state) {
    d = poly.xyz;
    for (int k = 0; k < 3; ++k) left[k] = d[k];
    for (int r = 1; r <= p; ++r) {
      for (int i = 0; i + r <= p; ++i)
        for (int k = 0; k < 3; ++k) d[3 * i + k] = (1 - kSplit) * d[3 * i + k] + kSplit * d[3 * (i + 1) + k];
      for (int k = 0; k < 3; ++k) left[3 * r + k] = d[k];
    }
    benchmark::DoNotOptimize(d.data());
    benchmark::DoNotOptimize(left.data());
  }
}

BENCHMARK(BM_SplitOurs)->Arg(3)->Arg(15);
BENCHMARK(BM_SplitOursRational)->Arg(3)->Arg(15);
BENCHMARK(BM_SplitSisl)->Args({3, 0})->Args({15, 0})->Args({3, 1})->Args({15, 1});
BENCHMARK(BM_SplitByHand)->Arg(3)->Arg(15);

// ------------------------------------------------------------- conversion

// A clamped cubic of kSegments segments with uneven breakpoints.
struct Spline {
  Polygon poly;
  std::vector<double> knots;  // full clamped vector
};

Spline random_spline() {
  Spline s{random_polygon(kSegments + 3), {}};
  std::mt19937 rng(77);
  std::uniform_real_distribution<double> jitter(0.1, 0.9);
  s.knots.assign(4, 0.0);
  for (int i = 1; i < kSegments; ++i) s.knots.push_back(i - 1 + jitter(rng));
  s.knots.insert(s.knots.end(), 4, kSegments);
  return s;
}

void BM_ConvertOurs(benchmark::State &state) {
  const bool rational = state.range(0) != 0;
  const Spline s = random_spline();
  zv_curve *source = zvbench::spline_record(s.poly.xyz, s.poly.weights, s.knots, 3, 1, rational);
  zv_curve *out = zv_create_curve();
  for (auto _ : state) {
    benchmark::DoNotOptimize(rational ? zv_rat_bspl_to_bezier_curve3d(source, out)
                                      : zv_bspl_to_bezier_curve3d(source, out));
    clear_lists(out);
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
  zv_purge_curve(out);
  zv_purge_curve(source);
}

void BM_ConvertSisl(benchmark::State &state) {
  const bool rational = state.range(0) != 0;
  const Spline s = random_spline();
  SISLCurve *curve = sisl_curve(s.poly, s.knots, 4, rational);
  for (auto _ : state) {
    SISLCurve *bezier = nullptr;
    int stat = 0;
    s1730(curve, &bezier, &stat);
    benchmark::DoNotOptimize(bezier);
    freeCurve(bezier);
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
  freeCurve(curve);
}

void BM_ConvertOpenCascade(benchmark::State &state) {
  const bool rational = state.range(0) != 0;
  const Spline s = random_spline();
  TColgp_Array1OfPnt poles(1, kSegments + 3);
  TColStd_Array1OfReal weights(1, kSegments + 3), knots(1, kSegments + 1);
  TColStd_Array1OfInteger mults(1, kSegments + 1);
  for (int i = 0; i < kSegments + 3; ++i) {
    poles.SetValue(i + 1, gp_Pnt(s.poly.xyz[3 * i], s.poly.xyz[3 * i + 1], s.poly.xyz[3 * i + 2]));
    weights.SetValue(i + 1, s.poly.weights[i]);
  }
  for (int i = 0; i <= kSegments; ++i) {
    knots.SetValue(i + 1, s.knots[i + 3]);
    mults.SetValue(i + 1, i == 0 || i == kSegments ? 4 : 1);
  }
  Handle(Geom_BSplineCurve) curve = rational ? new Geom_BSplineCurve(poles, weights, knots, mults, 3)
                                             : new Geom_BSplineCurve(poles, knots, mults, 3);
  for (auto _ : state) {
    GeomConvert_BSplineCurveToBezierCurve convert(curve);
    TColGeom_Array1OfBezierCurve arcs(1, convert.NbArcs());
    convert.Arcs(arcs);
    benchmark::DoNotOptimize(arcs.First());
  }
  state.SetItemsProcessed(state.iterations() * kSegments);
}

BENCHMARK(BM_ConvertOurs)->Arg(0)->Arg(1);
BENCHMARK(BM_ConvertSisl)->Arg(0)->Arg(1);
BENCHMARK(BM_ConvertOpenCascade)->Arg(0)->Arg(1);

}  // namespace
