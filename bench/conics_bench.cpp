// Conic polylines per vertex: the symmetric polylines (half computed, half
// mirrored through a private cursor) and the arc generator, beside Open
// CASCADE evaluating the same conic at as many parameters.
#include <benchmark/benchmark.h>
#include <rivezi3z/rivezi3z.h>

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

}  // namespace
