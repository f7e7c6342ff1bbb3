// Crossings of tessellated uniform curves against SISL's curve-curve
// intersection (s1857) of the same curves. One curve runs along x with a
// small random wiggle; the other is a serpentine whose runs along y cross it,
// wiggling too, with its turns far from the first curve, so every crossing is
// at a fair angle and nothing nearly touches. Both lie in a random plane in
// space. Each SISL crossing must be matched by one of our points within what
// the polylines' chordal error allows at that crossing angle, and we find no
// other: the chordal error of a chord over a parameter step h is at most
// h^2 / 8 times the largest second derivative, which SISL evaluates at the
// ends of every span (it is linear within a span of a cubic).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "peer_support.hpp"

namespace {

using namespace zvpeer;
using Points = std::vector<zv_pnt_3d>;

// The largest distance seen from our crossing to SISL's, in units of the two
// polylines' chordal error bounds together, and how many crossings were seen.
double g_worst_ratio = 0.0;
long g_crossings = 0;

class WorstAgreement : public ::testing::Environment {
 public:
  void TearDown() override {
    std::printf("[ intersection ] %ld SISL crossings matched; worst distance %.3g of the chordal error bound\n",
                g_crossings, g_worst_ratio);
  }
};
[[maybe_unused]] const ::testing::Environment *const g_env = ::testing::AddGlobalTestEnvironment(new WorstAgreement);

enum class Family { bspline, catmull_rom, bezier };
const char *name_of(Family f) {
  return f == Family::bspline ? "uniform B-spline" : f == Family::catmull_rom ? "Catmull-Rom" : "Bezier groups";
}

// A curve as our record (tessellated) and as SISL's, over the same points.
struct Pair {
  Curve ours;
  SislCurve sisl;
  double first, last;  // SISL's parameter range; spans have length 1
};

// Sets the record's polygon, tessellates it at step and builds the same
// curve in SISL: the B-spline on knots 0, 1, ..., n + 3; Catmull-Rom as the
// C1 piecewise Bezier through P1 .. Pn-2 with end tangents (P[i+1] - P[i-1]) / 2;
// Bezier groups of four sharing their joints as a C0 piecewise Bezier.
Pair make_curve(Family family, Points poly, double step) {
  std::vector<double> knots;
  Points poles;
  Points record_points = poly;
  // Knots of a piecewise cubic Bezier over m unit spans: ends 4-fold, joints 3-fold.
  const auto bezier_knots_of = [](size_t m) {
    std::vector<double> k(4, 0.0);
    for (size_t s = 1; s < m; ++s) k.insert(k.end(), 3, static_cast<double>(s));
    k.insert(k.end(), 4, static_cast<double>(m));
    return k;
  };
  int first = 0;
  if (family == Family::bspline) {
    poles = poly;
    knots = uniform_knots(poly.size() + 4);
    first = 3;
  } else if (family == Family::catmull_rom) {
    const size_t m = poly.size() - 3;
    const auto at = [&](size_t i) { return vec(poly[i]); };
    poles.push_back(poly[1]);
    for (size_t i = 1; i <= m; ++i) {
      const Vec3 b1 = at(i) + (1.0 / 6.0) * (at(i + 1) - at(i - 1));
      const Vec3 b2 = at(i + 1) - (1.0 / 6.0) * (at(i + 2) - at(i));
      poles.push_back({b1.x, b1.y, b1.z});
      poles.push_back({b2.x, b2.y, b2.z});
      poles.push_back(poly[i + 1]);
    }
    knots = bezier_knots_of(m);
  } else {
    poly.resize(poly.size() - (poly.size() - 1) % 3);  // whole Bezier arcs only
    const size_t m = (poly.size() - 1) / 3;
    poles = poly;
    record_points.clear();
    for (size_t s = 0; s < m; ++s)
      for (size_t k = 0; k < 4; ++k) record_points.push_back(poly[3 * s + k]);
    knots = bezier_knots_of(m);
  }
  ll_list *list = zvtest::make_polygon(record_points);
  Curve curve(family == Family::bspline       ? zv_def_ubspl_curve3d(list)
              : family == Family::catmull_rom ? zv_def_ucatrom_curve3d(list)
                                              : zv_def_ubezier_curve3d(list));
  ll_purge_list(list);
  EXPECT_EQ(zv_mk_ucurve3d(curve.get(), step), 0);
  const double last = knots[poles.size()];
  return {std::move(curve), sisl_bspline(poles, knots, 4), static_cast<double>(first), last};
}

// The largest distance between a tessellation at this step and the curve:
// h^2 / 8 times the largest second derivative, taken at both ends of every
// unit span (from the right at its start, from the left at its end).
double chordal_bound(SISLCurve *c, double first, double last, double step) {
  double most = 0.0;
  int left = 0;
  for (double s = first; s < last; s += 1.0) {
    double d[9];
    int stat = 0;
    s1221(c, 2, s, &left, d, &stat);
    most = std::max(most, norm({d[6], d[7], d[8]}));
    s1227(c, 2, s + 1.0, &left, d, &stat);
    most = std::max(most, norm({d[6], d[7], d[8]}));
  }
  return step * step / 8.0 * most;
}

// Position and first derivative of a SISL curve at u.
Jet sisl_at(SISLCurve *c, double u) {
  int left = 0;
  Jet j;
  EXPECT_GE(sisl_jet(c, u, left, j), 0);
  return j;
}

// The plane the curves are drawn in: the planar point (u, v) goes to o + u e1 + v e2.
struct Plane {
  Vec3 o, e1, e2;
  zv_pnt_3d at(double u, double v) const {
    const Vec3 p = o + u * e1 + v * e2;
    return {p.x, p.y, p.z};
  }
};

Plane random_plane(std::mt19937_64 &rng) {
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const Vec3 a{unit(rng), unit(rng), unit(rng)}, b{unit(rng), unit(rng), unit(rng)};
  const Vec3 e1 = (1.0 / norm(a)) * a;
  const double along = e1.x * b.x + e1.y * b.y + e1.z * b.z;
  const Vec3 c = b - along * e1;
  return {{10 * unit(rng), 10 * unit(rng), 10 * unit(rng)}, e1, (1.0 / norm(c)) * c};
}

class IntersectionPeer : public zvtest::KernelTest, public ::testing::WithParamInterface<int> {};

TEST_P(IntersectionPeer, EverySislCrossingFoundAndNoOther) {
  const int seed = GetParam();
  std::mt19937_64 rng(0x1c7e5u + static_cast<unsigned>(seed));
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const Family fa = static_cast<Family>(seed % 3), fb = static_cast<Family>((seed / 3) % 3);
  SCOPED_TRACE(std::string(name_of(fa)) + " against " + name_of(fb));
  const Plane plane = random_plane(rng);
  const double step = seed % 2 ? 0.05 : 0.1;

  // A along x, B up and down in columns two apart, turning well clear of A.
  const int columns = std::uniform_int_distribution<int>(3, 8)(rng);
  Points a, b;
  for (int x = -3; x <= 2 * columns + 3; ++x) a.push_back(plane.at(x, 0.4 * unit(rng)));
  for (int y = -8; y < -4; ++y) b.push_back(plane.at(1.0 + 0.3 * unit(rng), y));
  for (int c = 0; c < columns; ++c)
    for (int k = -4; k <= 4; ++k) b.push_back(plane.at(1.0 + 2 * c + 0.3 * unit(rng), c % 2 ? -k : k));
  const double tail = columns % 2 ? 1.0 : -1.0;  // the last column runs up when its number is even
  for (int y = 5; y < 9; ++y) b.push_back(plane.at(2 * columns - 1.0 + 0.3 * unit(rng), tail * y));

  const Pair ca = make_curve(fa, a, step), cb = make_curve(fb, b, step);
  ASSERT_NE(ca.sisl, nullptr);
  ASSERT_NE(cb.sisl, nullptr);
  const double error = chordal_bound(ca.sisl.get(), ca.first, ca.last, step) +
                       chordal_bound(cb.sisl.get(), cb.first, cb.last, step);

  int npt = 0, ncrv = 0, stat = 0;
  double *par1 = nullptr, *par2 = nullptr;
  SISLIntcurve **curves = nullptr;
  s1857(ca.sisl.get(), cb.sisl.get(), 0.0, 1e-10, &npt, &par1, &par2, &ncrv, &curves, &stat);
  ASSERT_GE(stat, 0);
  EXPECT_EQ(ncrv, 0);
  struct Crossing {
    Vec3 at;
    double reach;  // how far our point may lie: the chordal error over the crossing's sine, twice
  };
  // In the order of A's parameter, the order in which we meet them.
  std::vector<std::pair<double, double>> params;
  for (int k = 0; k < npt; ++k) params.emplace_back(par1[k], par2[k]);
  std::sort(params.begin(), params.end());
  std::vector<Crossing> theirs;
  for (const auto &[u, v] : params) {
    const Jet ja = sisl_at(ca.sisl.get(), u), jb = sisl_at(cb.sisl.get(), v);
    const Vec3 ta = ja.first, tb = jb.first;
    const Vec3 cross{ta.y * tb.z - ta.z * tb.y, ta.z * tb.x - ta.x * tb.z, ta.x * tb.y - ta.y * tb.x};
    const double sine = norm(cross) / (norm(ta) * norm(tb));
    theirs.push_back({ja.point, 2.0 * error / sine + 1e-9});
  }
  std::free(par1);
  std::free(par2);
  if (curves) freeIntcrvlist(curves, ncrv);
  EXPECT_EQ(npt, columns);  // each run of B crosses A once

  ll_list *out = ll_create_list();
  const int16_t found = zv_intcurve_3d(ca.ours.get(), cb.ours.get(), out);
  std::vector<Vec3> ours;
  for (const zvtest::Vertex &v : zvtest::vertices(out)) ours.push_back({v.x, v.y, v.z});
  ll_purge_list(out);
  EXPECT_EQ(found, npt);
  ASSERT_EQ(ours.size(), theirs.size());
  // Both lists follow A from its start, so they pair up in order.
  for (size_t k = 0; k < ours.size(); ++k) {
    const double d = norm(ours[k] - theirs[k].at);
    EXPECT_LE(d, theirs[k].reach) << "crossing " << k;
    g_worst_ratio = std::max(g_worst_ratio, d / error);
  }
  g_crossings += npt;
}

INSTANTIATE_TEST_SUITE_P(Seeds, IntersectionPeer, ::testing::Range(0, 18));

}  // namespace
