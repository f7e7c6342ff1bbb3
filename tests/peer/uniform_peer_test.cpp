// Cross-checks of the uniform cubic kinds against independent evaluations of
// the same curves. The uniform B-spline (and the beta-spline with bias 1 and
// tension 0) with n control points is the cubic B-spline on knots 0 .. n + 3,
// segment s covering [3 + s, 4 + s]: its sample at local t is evaluated by
// the peers at the double nearest 3 + s + t and carried back over the
// rounding. The Bezier kind is one cubic Bezier arc per whole group of four
// points; Catmull-Rom is the cubic Hermite form with tangents
// (P[i+1] - P[i-1]) / 2. Every vertex, and the unit first and second
// derivatives of its statistics record, must match within 1e-12 of the
// polygon's scale.
#include "peer_support.hpp"

namespace {

using namespace zvpeer;

// One kept sample: its segment (a new one starts where the local t falls
// back), the vertex and the statistics record.
struct Sample {
  long segment;
  double t;
  Vec3 point, tangent, second;
};

template <class Define>
std::vector<Sample> tessellate(const std::vector<zv_pnt_3d> &poles, double step, Define define) {
  ll_list *list = zvtest::make_polygon(poles);
  zvtest::Record curve(define(list));
  ll_purge_list(list);
  EXPECT_EQ(zv_mk_ucurve3d(curve.get(), step), 0);
  const auto vertices = zvtest::items<zv_poly_3d>(curve->vertex_list);
  const auto stats = zvtest::items<zv_curve_stats_3d>(curve->stats_list);
  std::vector<Sample> out;
  for (size_t i = 0; i < std::min(vertices.size(), stats.size()); ++i) {
    const long segment = out.empty() ? 0 : out.back().segment + (stats[i].t > out.back().t ? 0 : 1);
    out.push_back({segment, stats[i].t, vec(vertices[i]), vec(stats[i].tangent), vec(stats[i].second_deriv)});
  }
  return out;
}

// The largest error of the samples against the peer's jets, relative to
// scale: positions directly; a unit direction of ours against a peer
// derivative d as |d| times the distance of the unit vectors (the derivative
// error that turns d into our direction, bounded like a position).
template <class PeerJet>
double worst_error(const std::vector<Sample> &samples, long segments, double step, double scale, PeerJet peer) {
  EXPECT_EQ(samples.empty() ? 0 : samples.back().segment + 1, segments);
  const auto direction = [](Vec3 unit, Vec3 d) { return norm(d) == 0.0 ? 0.0 : norm(d) * norm(unit - (1.0 / norm(d)) * d); };
  double worst = 0.0;
  for (size_t i = 0; i < samples.size(); ++i) {
    const Sample &s = samples[i];
    const bool last = i + 1 == samples.size() || samples[i + 1].segment != s.segment;
    if (last) {  // every segment is followed to its end
      EXPECT_GT(s.t + (step > 1e-7 ? step : 0.1), 1.0000001) << "segment " << s.segment;
      EXPECT_LE(s.t, 1.0000001) << "segment " << s.segment;
    }
    const Jet j = peer(s);
    worst = std::max({worst, max_abs(s.point - j.point), direction(s.tangent, j.first), direction(s.second, j.second)});
  }
  return worst / scale;
}

class UniformPeer : public ::testing::TestWithParam<int> {};

// Sizes from 4 to 40 points, spreads over six decades, every third polygon
// far from the origin (up to a million times its spread), several steps.
TEST_P(UniformPeer, EveryVertexAndFrameMatchesTheReferences) {
  const int seed = GetParam();
  std::mt19937_64 rng(0x5eed0000u + static_cast<unsigned>(seed));
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const int n = seed == 0 ? 4 : seed == 1 ? 40 : std::uniform_int_distribution<int>(4, 40)(rng);
  const double spread = std::pow(10.0, 3.0 * unit(rng)), far = seed % 3 == 2 ? spread * std::pow(10.0, 4.5 + 1.5 * unit(rng)) : 0.0;
  const Vec3 offset{far * unit(rng), far * unit(rng), far * unit(rng)};
  std::vector<zv_pnt_3d> poles;
  for (int i = 0; i < n; ++i) poles.push_back({offset.x + spread * unit(rng), offset.y + spread * unit(rng), offset.z + spread * unit(rng)});
  const double step = std::vector<double>{0.0, 0.1, 0.037, 0.25, 1.0 / 3.0}[seed % 5], scale = polygon_scale(poles);

  const std::vector<double> knots = uniform_knots(n + 4);
  SislCurve sisl = sisl_bspline(poles, knots, 4);
  ASSERT_NE(sisl, nullptr);
  const GeomAdaptor_Curve occt(occt_bspline(poles, knots, 3));
  for (bool beta : {false, true}) {
    const auto samples = beta ? tessellate(poles, step, [](ll_list *l) { return zv_def_ubetaspl_curve3d(l, 1.0, 0.0); })
                              : tessellate(poles, step, zv_def_ubspl_curve3d);
    int leftknot = 0;
    // u - base is exact for base <= u <= 2 base (Sterbenz), and so is the rounding t - (u - base).
    const auto carried = [](const Jet &j, double delta) {
      return Jet{j.point + delta * j.first, j.first + delta * j.second, j.second + delta * j.third, j.third};
    };
    EXPECT_LE(worst_error(samples, n - 3, step, scale, [&](const Sample &s) {
                const double base = 3.0 + static_cast<double>(s.segment), u = base + s.t;
                Jet j;
                EXPECT_GE(sisl_jet(sisl.get(), u, leftknot, j), 0);
                return carried(j, s.t - (u - base));
              }), kRelativeTolerance) << (beta ? "beta-spline" : "B-spline") << " vs SISL";
    EXPECT_LE(worst_error(samples, n - 3, step, scale, [&](const Sample &s) {
                const double base = 3.0 + static_cast<double>(s.segment), u = base + s.t;
                return carried(occt_jet(occt, u), s.t - (u - base));
              }), kRelativeTolerance) << (beta ? "beta-spline" : "B-spline") << " vs Open CASCADE";
  }

  std::vector<SislCurve> arcs;
  for (int g = 0; g < n / 4; ++g) arcs.push_back(sisl_bspline({poles.begin() + 4 * g, poles.begin() + 4 * g + 4}, bezier_knots(3), 4));
  const auto bezier = tessellate(poles, step, zv_def_ubezier_curve3d);
  int leftknot = 0;
  EXPECT_LE(worst_error(bezier, n / 4, step, scale, [&](const Sample &s) {
              Jet j;
              EXPECT_GE(sisl_jet(arcs[s.segment].get(), s.t, leftknot, j), 0);
              return j;
            }), kRelativeTolerance) << "Bezier vs SISL";
  EXPECT_LE(worst_error(bezier, n / 4, step, scale, [&](const Sample &s) {
              return occt_jet(GeomAdaptor_Curve(occt_bezier({poles.begin() + 4 * s.segment, poles.begin() + 4 * s.segment + 4})), s.t);
            }), kRelativeTolerance) << "Bezier vs Open CASCADE";

  EXPECT_LE(worst_error(tessellate(poles, step, zv_def_ucatrom_curve3d), n - 3, step, scale, [&](const Sample &s) {
              const zv_pnt_3d *p = &poles[s.segment];
              const Vec3 a = vec(p[1]), b = vec(p[2]), ta = 0.5 * (vec(p[2]) - vec(p[0])), tb = 0.5 * (vec(p[3]) - vec(p[1]));
              const double t = s.t, t2 = t * t, t3 = t2 * t;
              const auto mix = [&](double h00, double h10, double h01, double h11) { return h00 * a + h10 * ta + h01 * b + h11 * tb; };
              return Jet{mix(2 * t3 - 3 * t2 + 1, t3 - 2 * t2 + t, -2 * t3 + 3 * t2, t3 - t2),
                         mix(6 * t2 - 6 * t, 3 * t2 - 4 * t + 1, -6 * t2 + 6 * t, 3 * t2 - 2 * t),
                         mix(12 * t - 6, 6 * t - 4, -12 * t + 6, 6 * t - 2), mix(12, 6, -12, 6)};
            }), kRelativeTolerance) << "Catmull-Rom vs the Hermite form";
}

INSTANTIATE_TEST_SUITE_P(RandomPolygons, UniformPeer, ::testing::Range(0, 24));

}  // namespace
