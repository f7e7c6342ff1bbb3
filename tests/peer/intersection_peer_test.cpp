// Crossings of tessellated uniform B-splines against SISL's curve-curve
// intersection (s1857) of the same curves. One curve runs along x with a
// small random wiggle; the other is a serpentine whose runs along y cross
// it, wiggling too, with its turns far from the first curve, so every
// crossing is at a fair angle and nothing nearly touches. Both lie in a
// random plane in space. Each SISL crossing must be matched, in order, by
// one of our points within what the polylines' chordal error allows at that
// crossing angle, and we find no other: the chordal error of a chord over a
// parameter step h is at most h^2 / 8 times the largest second derivative,
// which SISL evaluates at the ends of every span (it is linear within a
// span of a cubic).
#include <cstdlib>

#include "peer_support.hpp"

namespace {

using namespace zvpeer;
using Points = std::vector<zv_pnt_3d>;

// The chordal error bound of a tessellation at this step of the B-spline
// on knots 0 .. n + 3 (valid range [3, n]).
double chordal_bound(SISLCurve *c, int n, double step) {
  double most = 0.0, d[9];
  int left = 0, stat = 0;
  for (int s = 3; s < n; ++s) {
    s1221(c, 2, s, &left, d, &stat);
    most = std::max(most, norm({d[6], d[7], d[8]}));
    s1227(c, 2, s + 1.0, &left, d, &stat);
    most = std::max(most, norm({d[6], d[7], d[8]}));
  }
  return step * step / 8.0 * most;
}

class IntersectionPeer : public ::testing::TestWithParam<int> {};

TEST_P(IntersectionPeer, EverySislCrossingFoundAndNoOther) {
  std::mt19937_64 rng(0x1c7e5u + static_cast<unsigned>(GetParam()));
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const Vec3 o{10 * unit(rng), 10 * unit(rng), 10 * unit(rng)}, a0{unit(rng), unit(rng), unit(rng)}, b0{unit(rng), unit(rng), unit(rng)};
  const Vec3 e1 = (1.0 / norm(a0)) * a0, c = b0 - (e1.x * b0.x + e1.y * b0.y + e1.z * b0.z) * e1, e2 = (1.0 / norm(c)) * c;
  const auto at = [&](double u, double v) {
    const Vec3 p = o + u * e1 + v * e2;
    return zv_pnt_3d{p.x, p.y, p.z};
  };
  const double step = GetParam() % 2 ? 0.05 : 0.1;
  // A along x, B up and down in columns two apart, turning well clear of A.
  const int columns = std::uniform_int_distribution<int>(3, 8)(rng);
  Points a, b;
  for (int x = -3; x <= 2 * columns + 3; ++x) a.push_back(at(x, 0.4 * unit(rng)));
  for (int y = -8; y < -4; ++y) b.push_back(at(1.0 + 0.3 * unit(rng), y));
  for (int k = 0; k < columns; ++k)
    for (int y = -4; y <= 4; ++y) b.push_back(at(1.0 + 2 * k + 0.3 * unit(rng), k % 2 ? -y : y));
  for (int y = 5; y < 9; ++y) b.push_back(at(2 * columns - 1.0 + 0.3 * unit(rng), columns % 2 ? y : -y));

  std::vector<zvtest::Record> ours;
  std::vector<SislCurve> sisl;
  double error = 0.0;
  for (const Points *p : {&a, &b}) {
    ll_list *list = zvtest::make_polygon(*p);
    ours.emplace_back(zv_def_ubspl_curve3d(list));
    ll_purge_list(list);
    ASSERT_EQ(zv_mk_ucurve3d(ours.back().get(), step), 0);
    sisl.push_back(sisl_bspline(*p, uniform_knots(p->size() + 4), 4));
    error += chordal_bound(sisl.back().get(), static_cast<int>(p->size()), step);
  }

  int npt = 0, ncrv = 0, stat = 0;
  double *par1 = nullptr, *par2 = nullptr;
  SISLIntcurve **curves = nullptr;
  s1857(sisl[0].get(), sisl[1].get(), 0.0, 1e-10, &npt, &par1, &par2, &ncrv, &curves, &stat);
  ASSERT_GE(stat, 0);
  EXPECT_EQ(ncrv, 0);
  EXPECT_EQ(npt, columns);  // each run of B crosses A once
  std::vector<std::pair<double, double>> params;  // in the order of A's parameter, the order we meet them in
  for (int k = 0; k < npt; ++k) params.emplace_back(par1[k], par2[k]);
  std::sort(params.begin(), params.end());
  std::free(par1), std::free(par2);
  if (curves) freeIntcrvlist(curves, ncrv);

  ll_list *out = ll_create_list();
  EXPECT_EQ(zv_intcurve_3d(ours[0].get(), ours[1].get(), out), npt);
  const Points found = zvtest::positions(out);
  ll_purge_list(out);
  ASSERT_EQ(found.size(), params.size());
  for (size_t k = 0; k < found.size(); ++k) {
    Jet ja, jb;
    int left = 0;
    ASSERT_GE(sisl_jet(sisl[0].get(), params[k].first, left, ja), 0);
    left = 0;
    ASSERT_GE(sisl_jet(sisl[1].get(), params[k].second, left, jb), 0);
    const Vec3 ta = ja.first, tb = jb.first, cross{ta.y * tb.z - ta.z * tb.y, ta.z * tb.x - ta.x * tb.z, ta.x * tb.y - ta.y * tb.x};
    const double sine = norm(cross) / (norm(ta) * norm(tb));
    EXPECT_LE(norm(vec(found[k]) - ja.point), 2.0 * error / sine + 1e-9) << "crossing " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, IntersectionPeer, ::testing::Range(0, 18));

}  // namespace
