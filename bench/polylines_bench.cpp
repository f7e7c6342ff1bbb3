// Direct polylines beside SISL and Open CASCADE evaluating the same curves
// at the same parameters. Polyline timings include making the vertex
// records and releasing the list again; items are vertices.
#include <benchmark/benchmark.h>
#include <rivezi3z/rivezi3z.h>
#include <sisl.h>

#include <GeomAdaptor_Curve.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_BezierCurve.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <algorithm>
#include <random>
#include <vector>

namespace {

std::vector<zv_pnt_3d> random_points(int n) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(-10.0, 10.0);
  std::vector<zv_pnt_3d> pts(n);
  for (auto &p : pts) p = {u(rng), u(rng), u(rng)};
  return pts;
}

ll_list *polygon(const std::vector<zv_pnt_3d> &pts) {
  ll_list *list = ll_create_list();
  for (const auto &p : pts) {
    zv_poly_3d *v = zv_create_poly_3d();
    v->index = 0;
    v->x = p.x;
    v->y = p.y;
    v->z = p.z;
    ll_add_list_item(list, 1, v, ZV_ITEM_POLY);
  }
  return list;
}

TColgp_Array1OfPnt poles_of(const std::vector<zv_pnt_3d> &p) {
  TColgp_Array1OfPnt poles(1, static_cast<int>(p.size()));
  for (size_t i = 0; i < p.size(); ++i) poles.SetValue(static_cast<int>(i) + 1, gp_Pnt(p[i].x, p[i].y, p[i].z));
  return poles;
}

SISLCurve *sisl_curve(const std::vector<zv_pnt_3d> &p, int order, const std::vector<double> &knots) {
  std::vector<double> coefs;
  for (const auto &q : p) coefs.insert(coefs.end(), {q.x, q.y, q.z});
  std::vector<double> k = knots;
  return newCurve(static_cast<int>(p.size()), order, k.data(), coefs.data(), 1, 3, 1);
}

std::vector<double> clamped_knots(int degree) {
  std::vector<double> k(2 * (degree + 1), 1.0);
  std::fill(k.begin(), k.begin() + degree + 1, 0.0);
  return k;
}

std::vector<double> uniform_knots(int n, int order) {
  std::vector<double> k(n + order);
  for (size_t i = 0; i < k.size(); ++i) k[i] = static_cast<double>(i);
  return k;
}

// Runs SISL's s1221 over the parameters.
void sisl_sweep(benchmark::State &state, SISLCurve *c, const std::vector<double> &us) {
  double out[3];
  for (auto _ : state) {
    int left = 0, stat = 0;
    for (double u : us) {
      s1221(c, 0, u, &left, out, &stat);
      benchmark::DoNotOptimize(out);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(us.size()));
}

// Runs an Open CASCADE evaluation over the parameters.
template <class Eval>
void occt_sweep(benchmark::State &state, Eval eval, const std::vector<double> &us) {
  for (auto _ : state) {
    for (double u : us) {
      gp_Pnt q = eval(u);
      benchmark::DoNotOptimize(q);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(us.size()));
}

constexpr int16_t kSamples = 1000;

std::vector<double> bezier_parameters() {
  std::vector<double> us(kSamples);
  for (int i = 0; i < kSamples; ++i) us[i] = i * zv_inverse(kSamples - 1);
  return us;
}

// ------------------------------------------------------------------ Bezier

void BM_BezierArray(benchmark::State &state) {
  const auto p = random_points(static_cast<int>(state.range(0)) + 1);
  std::vector<zv_pnt_3d> out(kSamples);
  for (auto _ : state) {
    zv_beziercurve3d(p.data(), static_cast<int16_t>(p.size()), kSamples, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_BezierArray)->Arg(3)->Arg(12)->Arg(25)->Arg(29);

void BM_BezierList(benchmark::State &state) {
  const auto p = random_points(static_cast<int>(state.range(0)) + 1);
  ll_list *ctrl = polygon(p);
  for (auto _ : state) {
    ll_list *out = ll_create_list();
    zv_bezier_curve_3d(ctrl, static_cast<int16_t>(p.size()), kSamples, out);
    ll_purge_list(out);
  }
  ll_purge_list(ctrl);
  state.SetItemsProcessed(state.iterations() * kSamples);
}
BENCHMARK(BM_BezierList)->Arg(3)->Arg(12)->Arg(25)->Arg(29);

void BM_BezierOcct(benchmark::State &state) {
  const auto p = random_points(static_cast<int>(state.range(0)) + 1);
  Handle(Geom_BezierCurve) c = new Geom_BezierCurve(poles_of(p));
  GeomAdaptor_Curve adaptor(c);
  occt_sweep(state, [&](double u) { return adaptor.Value(u); }, bezier_parameters());
}
BENCHMARK(BM_BezierOcct)->Arg(3)->Arg(12)->Arg(25);

void BM_BezierSisl(benchmark::State &state) {
  const int degree = static_cast<int>(state.range(0));
  SISLCurve *c = sisl_curve(random_points(degree + 1), degree + 1, clamped_knots(degree));
  sisl_sweep(state, c, bezier_parameters());
  freeCurve(c);
}
BENCHMARK(BM_BezierSisl)->Arg(3)->Arg(12)->Arg(25)->Arg(29);

// --------------------------------------------------------------- B-splines

constexpr int kControl = 100;

// Runs a polyline function into a new list per iteration over one polygon
// of kControl points; call(ctrl, out) gives the vertex count.
template <class Call>
void list_sweep(benchmark::State &state, Call call) {
  ll_list *ctrl = polygon(random_points(kControl));
  long vertices = 0;
  for (auto _ : state) {
    ll_list *out = ll_create_list();
    vertices = call(ctrl, out);
    ll_purge_list(out);
  }
  ll_purge_list(ctrl);
  state.SetItemsProcessed(state.iterations() * vertices);
}

void BM_CubicBSplineList(benchmark::State &state) {
  list_sweep(state, [](ll_list *ctrl, ll_list *out) {
    int16_t points = 980;  // 10 steps per segment over 97 segments: 971 vertices
    zv_bspline_3d(kControl, ctrl, &points, out);
    return points;
  });
}
BENCHMARK(BM_CubicBSplineList);

// The cubic polyline's formula alone, into an array: the uniform cubic
// B-spline basis at 10 steps per segment blended with each window of four
// points, the joins written once.
void BM_CubicBSplineArithmetic(benchmark::State &state) {
  const auto p = random_points(kControl);
  constexpr int kSteps = 10;
  double basis[kSteps + 1][4];
  for (int k = 0; k <= kSteps; ++k) {
    const double u = static_cast<double>(k) / kSteps, v = 1.0 - u;
    basis[k][0] = v * v * v / 6.0;
    basis[k][1] = (3.0 * u * u * u - 6.0 * u * u + 4.0) / 6.0;
    basis[k][2] = (-3.0 * u * u * u + 3.0 * u * u + 3.0 * u + 1.0) / 6.0;
    basis[k][3] = u * u * u / 6.0;
  }
  std::vector<zv_pnt_3d> out((kControl - 3) * kSteps + 1);
  for (auto _ : state) {
    long n = 0;
    for (int segment = 0; segment < kControl - 3; ++segment) {
      const zv_pnt_3d *w = &p[segment];
      for (int k = segment == 0 ? 0 : 1; k <= kSteps; ++k) {
        const double *b = basis[k];
        out[n++] = {b[0] * w[0].x + b[1] * w[1].x + b[2] * w[2].x + b[3] * w[3].x,
                    b[0] * w[0].y + b[1] * w[1].y + b[2] * w[2].y + b[3] * w[3].y,
                    b[0] * w[0].z + b[1] * w[1].z + b[2] * w[2].z + b[3] * w[3].z};
      }
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(out.size()));
}
BENCHMARK(BM_CubicBSplineArithmetic);

std::vector<double> spline_parameters(int first, int segments, double step, int per_segment) {
  std::vector<double> us;
  for (int j = 0; j < segments; ++j)
    for (int i = 0; i < per_segment; ++i) us.push_back(first + j + i * step);
  return us;
}

void BM_CubicBSplineSisl(benchmark::State &state) {
  SISLCurve *c = sisl_curve(random_points(kControl), 4, uniform_knots(kControl, 4));
  sisl_sweep(state, c, spline_parameters(3, kControl - 3, 0.1, 10));
  freeCurve(c);
}
BENCHMARK(BM_CubicBSplineSisl);

Handle(Geom_BSplineCurve) occt_uniform(const std::vector<zv_pnt_3d> &p, int degree) {
  const int nk = static_cast<int>(p.size()) + degree + 1;
  TColStd_Array1OfReal knots(1, nk);
  TColStd_Array1OfInteger mults(1, nk);
  for (int i = 1; i <= nk; ++i) {
    knots.SetValue(i, i - 1);
    mults.SetValue(i, 1);
  }
  return new Geom_BSplineCurve(poles_of(p), knots, mults, degree);
}

void BM_CubicBSplineOcct(benchmark::State &state) {
  GeomAdaptor_Curve adaptor(occt_uniform(random_points(kControl), 3));
  occt_sweep(state, [&](double u) { return adaptor.Value(u); }, spline_parameters(3, kControl - 3, 0.1, 10));
}
BENCHMARK(BM_CubicBSplineOcct);

void BM_QuadBSplineList(benchmark::State &state) {
  list_sweep(state, [](ll_list *ctrl, ll_list *out) {
    int16_t count = 0;
    zv_quad_bspline_3d(kControl, ctrl, 4, &count, out);  // 11 per segment
    return count;
  });
}
BENCHMARK(BM_QuadBSplineList);

void BM_QuadBSplineSisl(benchmark::State &state) {
  SISLCurve *c = sisl_curve(random_points(kControl), 3, uniform_knots(kControl, 3));
  sisl_sweep(state, c, spline_parameters(2, kControl - 2, 0.1, 11));
  freeCurve(c);
}
BENCHMARK(BM_QuadBSplineSisl);

void BM_CatmullRomList(benchmark::State &state) {
  list_sweep(state, [](ll_list *ctrl, ll_list *out) {
    int16_t count = 0;
    zv_catrom_curve_3d(kControl, ctrl, 4, 0.5, &count, out);  // 10 per segment + 1
    return count;
  });
}
BENCHMARK(BM_CatmullRomList);

// The list cost alone: the same number of vertex records made, appended and
// released, with no arithmetic.
void BM_VertexListOnly(benchmark::State &state) {
  for (auto _ : state) {
    ll_list *out = ll_create_list();
    for (int i = 0; i < 971; ++i) {
      zv_poly_3d *v = zv_create_poly_3d();
      v->index = static_cast<int16_t>(i);
      ll_add_list_item(out, 1, v, ZV_ITEM_POLY);
    }
    ll_purge_list(out);
  }
  state.SetItemsProcessed(state.iterations() * 971);
}
BENCHMARK(BM_VertexListOnly);

// The same records appended a run of 64 at a time (ll_append_copies), as
// the polylines append them.
void BM_VertexRunsOnly(benchmark::State &state) {
  std::vector<zv_poly_3d> run(64);
  for (auto _ : state) {
    ll_list *out = ll_create_list();
    for (int i = 0; i < 971; i += 64)
      ll_append_copies(out, run.data(), sizeof(zv_poly_3d), std::min(64, 971 - i), ZV_ITEM_POLY);
    ll_purge_list(out);
  }
  state.SetItemsProcessed(state.iterations() * 971);
}
BENCHMARK(BM_VertexRunsOnly);

}  // namespace
