// Conic polylines per vertex: the symmetric polylines (half computed, half
// mirrored through a private cursor) and the arc generator, beside the
// arithmetic of the same formulas into an array, the cost of the vertex
// records alone, and Open CASCADE evaluating the same conic at as many
// parameters.
#include <benchmark/benchmark.h>
#include <rivezi3z/rivezi3z.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include <GeomAdaptor_Curve.hxx>
#include <Geom_Ellipse.hxx>
#include <gp_Ax2.hxx>
#include <gp_Elips.hxx>

namespace {

constexpr double kPi = 3.141592653589793;

// Runs one polyline call per iteration on a fresh list and reports vertices/s.
template <class Make>
void per_vertex(benchmark::State &state, Make make) {
  long made = 0;
  for (auto _ : state) {
    ll_list *list = ll_create_list();
    make(list);
    made += ll_list_length(list);
    ll_purge_list(list);
  }
  state.SetItemsProcessed(made);
}

void BM_ellipsepnts(benchmark::State &state) {
  per_vertex(state, [&](ll_list *list) {
    zv_pnt_3d p1{1, 2, 0}, p2{9, 6, 0};
    int16_t n = static_cast<int16_t>(state.range(0)), count = 0;
    zv_ellipsepnts_3d(&p1, &p2, &n, &count, list);
  });
}

void BM_hyperbolapnts(benchmark::State &state) {
  long made = 0;
  for (auto _ : state) {
    ll_list *one = ll_create_list(), *two = ll_create_list();
    zv_pnt_3d c1{-2, -1, 0}, c2{2, 1, 0};
    int16_t n = static_cast<int16_t>(state.range(0)), count = 0;
    zv_hyperbolapnts_3d(0, &c1, &c2, 3.0, &n, &count, one, two);
    made += ll_list_length(one) + ll_list_length(two);
    ll_purge_list(one);
    ll_purge_list(two);
  }
  state.SetItemsProcessed(made);
}

void BM_arcpnts(benchmark::State &state) {
  per_vertex(state, [&](ll_list *list) {
    zv_arcpnts_3d({1, 2, 0}, 3.0, 5 * kPi / 3, kPi / 3, static_cast<int16_t>(state.range(0)), list);
  });
}

// The ellipse polyline's formula alone, into an array: the upper half at
// equal steps of x with the height from the implicit form, the lower half
// its mirror image.
void BM_ellipse_arithmetic(benchmark::State &state) {
  const long n = state.range(0), q = n / 4;
  const double a = 4.0, b = 2.0, cx = 5.0, cy = 4.0, ratio = b / a, d = a / static_cast<double>(q);
  std::vector<zv_pnt_3d> out(static_cast<std::size_t>(n) + 1);
  for (auto _ : state) {
    long k = 0;
    for (long i = 0; i <= 2 * q; ++i) {
      const double x = cx + a - static_cast<double>(i) * d, u = x - cx;
      out[k++] = {x, cy + ratio * std::sqrt(std::max(0.0, a * a - u * u)), 0.0};
    }
    for (long i = 2 * q - 1; i >= 0; --i) out[k++] = {out[i].x, cy - (out[i].y - cy), 0.0};
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * (n + 1));
}

// The arc generator's formula alone, into an array.
void BM_arc_arithmetic(benchmark::State &state) {
  const long n = state.range(0);
  const double start = 5 * kPi / 3, sweep = kPi / 3 + 2 * kPi - start;
  std::vector<zv_pnt_3d> out(static_cast<std::size_t>(n) + 1);
  for (auto _ : state) {
    for (long i = 0; i <= n; ++i) {
      const double theta = start + sweep * static_cast<double>(i) / static_cast<double>(n);
      out[i] = {1.0 + 3.0 * std::cos(theta), 2.0 + 3.0 * std::sin(theta), 0.0};
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * (n + 1));
}

// The records alone: as many vertex records made, appended and released as
// a polyline of n + 1 vertices, one kernel append per vertex.
void BM_vertex_records_only(benchmark::State &state) {
  const long n = state.range(0);
  for (auto _ : state) {
    ll_list *list = ll_create_list();
    for (long i = 0; i <= n; ++i) ll_add_list_item(list, 1, zv_create_poly_3d(), ZV_ITEM_POLY);
    ll_purge_list(list);
  }
  state.SetItemsProcessed(state.iterations() * (n + 1));
}

// The points alone, no records: a floor for what a polyline can cost.
void BM_occt_ellipse_points(benchmark::State &state) {
  Handle(Geom_Ellipse) e = new Geom_Ellipse(gp_Elips(gp_Ax2(gp_Pnt(5, 4, 0), gp_Dir(0, 0, 1)), 4.0, 2.0));
  GeomAdaptor_Curve curve(e);
  const long n = state.range(0);
  for (auto _ : state) {
    for (long i = 0; i <= n; ++i) benchmark::DoNotOptimize(curve.Value(2 * kPi * double(i) / double(n)));
  }
  state.SetItemsProcessed(state.iterations() * (n + 1));
}

BENCHMARK(BM_ellipsepnts)->Arg(64)->Arg(4096);
BENCHMARK(BM_hyperbolapnts)->Arg(64)->Arg(4096);
BENCHMARK(BM_arcpnts)->Arg(64)->Arg(4096);
BENCHMARK(BM_occt_ellipse_points)->Arg(64)->Arg(4096);
BENCHMARK(BM_ellipse_arithmetic)->Arg(64)->Arg(4096);
BENCHMARK(BM_arc_arithmetic)->Arg(64)->Arg(4096);
BENCHMARK(BM_vertex_records_only)->Arg(64)->Arg(4096);

}  // namespace
