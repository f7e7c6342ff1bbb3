// Cross-checks of the uniform cubic kinds against independent evaluations of
// the same curves. The uniform B-spline with n control points is the cubic
// B-spline on knots 0, 1, ..., n + 3 (valid range [3, n], segment s covering
// [3 + s, 4 + s], its sample at local t evaluated by the peers at the double
// nearest 3 + s + t and carried back over the rounding); the Bezier kind is one cubic Bezier arc per whole group of
// four points; Catmull-Rom is the cubic Hermite form with tangents
// (P[i+1] - P[i-1]) / 2. Every tessellated vertex, and the unit first and
// second derivatives of its statistics record, must match the reference
// within 1e-12 of the polygon's scale.
#include <cstdio>
#include <limits>

#include "peer_support.hpp"

namespace {

using namespace zvpeer;

// The worst agreement over the whole run, printed once at the end so that
// the figures can be quoted.
Agreement g_worst;

class WorstAgreement : public ::testing::Environment {
 public:
  void TearDown() override {
    std::printf("[ uniform  ] worst relative error seen: point %.3g, tangent %.3g, second derivative %.3g\n",
                g_worst.point, g_worst.tangent, g_worst.second);
  }
};
[[maybe_unused]] const ::testing::Environment *const g_env = ::testing::AddGlobalTestEnvironment(new WorstAgreement);

// Holds one comparison to the bound and folds it into the run's worst.
void expect_agrees(const Agreement &a, const char *peer) {
  g_worst.merge(a);
  EXPECT_LE(a.worst(), kRelativeTolerance) << "against " << peer << ": " << a;
}

// A random control polygon and tessellation step for one seed.
struct Case {
  std::vector<zv_pnt_3d> poles;
  double step;   // passed to zv_mk_ucurve3d (0 asks for the default 0.1)
  double scale;  // polygon_scale(poles)
};

// Sizes run from 4 to 40 points (seed 0 the smallest, seed 1 the largest);
// the spread spans six decades; every third seed moves the polygon far from
// the origin, up to a million times its spread.
Case random_case(int seed) {
  std::mt19937_64 rng(0x5eed0000u + static_cast<unsigned>(seed));
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const int n = seed == 0 ? 4 : seed == 1 ? 40 : std::uniform_int_distribution<int>(4, 40)(rng);
  const double spread = std::pow(10.0, 3.0 * unit(rng));
  zv_pnt_3d offset{0.0, 0.0, 0.0};
  if (seed % 3 == 2) {
    const double far = spread * std::pow(10.0, 4.5 + 1.5 * unit(rng));
    offset = {far * unit(rng), far * unit(rng), far * unit(rng)};
  }
  Case c;
  for (int i = 0; i < n; ++i)
    c.poles.push_back({offset.x + spread * unit(rng), offset.y + spread * unit(rng), offset.z + spread * unit(rng)});
  static constexpr double kSteps[] = {0.0, 0.1, 0.037, 0.25, 1.0 / 3.0};
  c.step = kSteps[seed % 5];
  c.scale = polygon_scale(c.poles);
  return c;
}

// One kept sample of a tessellation and the segment it belongs to.
struct Sample {
  long segment;
  double t;  // the statistics record's local parameter, copied out of the packed record
  zv_poly_3d vertex;
  zv_curve_stats_3d stats;
};

// The kept samples of a tessellated record. Within a segment the local
// parameter only grows, so a new segment starts wherever it falls back.
std::vector<Sample> samples_of(const zv_curve &curve) {
  const auto vertices = zvtest::items<zv_poly_3d>(curve.vertex_list);
  const auto stats = zvtest::items<zv_curve_stats_3d>(curve.stats_list);
  EXPECT_EQ(vertices.size(), stats.size());
  std::vector<Sample> out;
  long segment = 0;
  for (size_t i = 0; i < std::min(vertices.size(), stats.size()); ++i) {
    if (i > 0 && !(stats[i].t > stats[i - 1].t)) ++segment;
    out.push_back({segment, stats[i].t, vertices[i], stats[i]});
  }
  return out;
}

// Makes a record from a copy of the polygon with the given definition,
// tessellates it and returns its samples; the caller's emptied header is
// released here.
template <class Define>
std::vector<Sample> tessellate(const std::vector<zv_pnt_3d> &poles, double step, Define define) {
  ll_list *list = zvtest::make_polygon(poles);
  Curve curve(define(list));
  ll_purge_list(list);
  EXPECT_NE(curve, nullptr);
  if (!curve) return {};
  EXPECT_EQ(zv_mk_ucurve3d(curve.get(), step), 0);
  return samples_of(*curve);
}

// Every segment is sampled from its start to its end, so the comparison
// covers the whole curve: the last sample of each lies within one step of 1.
void expect_covers_segments(const std::vector<Sample> &samples, long segments, double step) {
  ASSERT_FALSE(samples.empty());
  ASSERT_EQ(samples.back().segment + 1, segments);
  const double dt = step > 1e-7 ? step : 0.1;
  EXPECT_EQ(samples.front().t, 0.0);
  for (size_t i = 0; i < samples.size(); ++i) {
    const bool last_of_segment = i + 1 == samples.size() || samples[i + 1].segment != samples[i].segment;
    if (last_of_segment) {
      EXPECT_LE(samples[i].t, 1.0000001) << "segment " << samples[i].segment;
      EXPECT_GT(samples[i].t + dt, 1.0000001) << "segment " << samples[i].segment;
    }
  }
}

void add_sample(Agreement &a, double scale, const Sample &s, const Jet &peer) {
  a.add(scale, vec(s.vertex), vec(s.stats.tangent), vec(s.stats.second_deriv), peer);
}

// ===================================================== uniform B-spline (84)

class UniformBSplinePeer : public zvtest::KernelTest, public ::testing::WithParamInterface<int> {};

// The B-spline kind, and the beta-spline with bias 1 and tension 0 (whose
// matrix is the B-spline's), against SISL and Open CASCADE on uniform knots.
TEST_P(UniformBSplinePeer, EveryVertexMatchesSislAndOpenCascade) {
  const Case c = random_case(GetParam());
  const size_t n = c.poles.size();
  const std::vector<double> knots = uniform_knots(n + 4);
  SislCurve sisl = sisl_bspline(c.poles, knots, 4);
  ASSERT_NE(sisl, nullptr);
  const GeomAdaptor_Curve occt(occt_bspline(c.poles, knots, 3));
  ASSERT_EQ(occt.FirstParameter(), 3.0);
  ASSERT_EQ(occt.LastParameter(), static_cast<double>(n));

  const auto bspline = [](ll_list *l) { return zv_def_ubspl_curve3d(l); };
  const auto betaspline = [](ll_list *l) { return zv_def_ubetaspl_curve3d(l, 1.0, 0.0); };
  for (const bool beta : {false, true}) {
    SCOPED_TRACE(beta ? "beta-spline, bias 1, tension 0" : "uniform B-spline");
    const std::vector<Sample> samples =
        beta ? tessellate(c.poles, c.step, betaspline) : tessellate(c.poles, c.step, bspline);
    expect_covers_segments(samples, static_cast<long>(n) - 3, c.step);

    Agreement vs_sisl, vs_occt;
    int leftknot = 0;
    for (const Sample &s : samples) {
      const double base = 3.0 + static_cast<double>(s.segment), u = base + s.t;
      const double delta = rounding_of(base, s.t, u);
      Jet jet;
      ASSERT_GE(sisl_jet(sisl.get(), u, leftknot, jet), 0) << "u = " << u;
      add_sample(vs_sisl, c.scale, s, shifted(jet, delta));
      add_sample(vs_occt, c.scale, s, shifted(occt_jet(occt, u), delta));
    }
    expect_agrees(vs_sisl, "SISL");
    expect_agrees(vs_occt, "Open CASCADE");
  }
}

INSTANTIATE_TEST_SUITE_P(RandomPolygons, UniformBSplinePeer, ::testing::Range(0, 24));

using UniformBSplineLong = zvtest::KernelTest;

// A polygon whose sample count passes the int16 range of ll_get_list_count
// and of the vertex numbers is still followed to its last point.
TEST_F(UniformBSplineLong, PolygonPastTheInt16RangeIsFollowedToTheEnd) {
  std::mt19937_64 rng(3300);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::vector<zv_pnt_3d> poles(3300);
  for (zv_pnt_3d &p : poles) p = {unit(rng), unit(rng), unit(rng)};
  const std::vector<double> knots = uniform_knots(poles.size() + 4);
  SislCurve sisl = sisl_bspline(poles, knots, 4);
  ASSERT_NE(sisl, nullptr);

  const std::vector<Sample> samples =
      tessellate(poles, 0.1, [](ll_list *l) { return zv_def_ubspl_curve3d(l); });
  ASSERT_GT(samples.size(), 32767u);
  expect_covers_segments(samples, static_cast<long>(poles.size()) - 3, 0.1);
  const double scale = polygon_scale(poles);
  Agreement vs_sisl;
  int leftknot = 0;
  for (const Sample &s : samples) {
    const double base = 3.0 + static_cast<double>(s.segment), u = base + s.t;
    Jet jet;
    ASSERT_GE(sisl_jet(sisl.get(), u, leftknot, jet), 0) << "u = " << u;
    add_sample(vs_sisl, scale, s, shifted(jet, rounding_of(base, s.t, u)));
  }
  expect_agrees(vs_sisl, "SISL");
}

// ============================================================ Bezier (86)

class UniformBezierPeer : public zvtest::KernelTest, public ::testing::WithParamInterface<int> {};

// Each whole group of four points is an independent cubic Bezier arc; points
// past the last whole group take no part.
TEST_P(UniformBezierPeer, EveryVertexMatchesSislAndOpenCascade) {
  const Case c = random_case(GetParam());
  const size_t groups = c.poles.size() / 4;

  std::vector<SislCurve> sisl;
  std::vector<GeomAdaptor_Curve> occt;
  for (size_t g = 0; g < groups; ++g) {
    const std::vector<zv_pnt_3d> arc(c.poles.begin() + 4 * g, c.poles.begin() + 4 * g + 4);
    sisl.push_back(sisl_bspline(arc, bezier_knots(3), 4));
    ASSERT_NE(sisl.back(), nullptr);
    occt.emplace_back(occt_bezier(arc));
  }

  const std::vector<Sample> samples =
      tessellate(c.poles, c.step, [](ll_list *l) { return zv_def_ubezier_curve3d(l); });
  expect_covers_segments(samples, static_cast<long>(groups), c.step);

  Agreement vs_sisl, vs_occt;
  int leftknot = 0;
  for (const Sample &s : samples) {
    const size_t g = static_cast<size_t>(s.segment);
    Jet jet;
    ASSERT_GE(sisl_jet(sisl[g].get(), s.t, leftknot, jet), 0) << "t = " << s.t;
    add_sample(vs_sisl, c.scale, s, jet);
    add_sample(vs_occt, c.scale, s, occt_jet(occt[g], s.t));
  }
  expect_agrees(vs_sisl, "SISL");
  expect_agrees(vs_occt, "Open CASCADE");
}

INSTANTIATE_TEST_SUITE_P(RandomPolygons, UniformBezierPeer, ::testing::Range(0, 24));

using UniformBezierGroups = zvtest::KernelTest;

// Nine points make two arcs: the ninth is never read. It is NaN here, so a
// segment that used it would carry NaN into some sample.
TEST_F(UniformBezierGroups, NinthPointOfNineIsNeverRead) {
  std::mt19937_64 rng(9);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::vector<zv_pnt_3d> poles;
  for (int i = 0; i < 8; ++i) poles.push_back({unit(rng), unit(rng), unit(rng)});
  const double nan = std::numeric_limits<double>::quiet_NaN();
  poles.push_back({nan, nan, nan});

  const std::vector<Sample> samples =
      tessellate(poles, 0.1, [](ll_list *l) { return zv_def_ubezier_curve3d(l); });
  expect_covers_segments(samples, 2, 0.1);
  Agreement vs_occt;
  for (const Sample &s : samples) {
    const std::vector<zv_pnt_3d> arc(poles.begin() + 4 * s.segment, poles.begin() + 4 * s.segment + 4);
    add_sample(vs_occt, 1.0, s, occt_jet(GeomAdaptor_Curve(occt_bezier(arc)), s.t));
  }
  expect_agrees(vs_occt, "Open CASCADE");
}

// ======================================================= Catmull-Rom (88)

// The cubic Hermite arc from P1 to P2 with tangents (P2 - P0) / 2 and
// (P3 - P1) / 2, written with the Hermite basis polynomials.
Jet catmull_rom(const zv_pnt_3d *p, double t) {
  const Vec3 a = vec(p[1]), b = vec(p[2]);
  const Vec3 ta = 0.5 * (vec(p[2]) - vec(p[0])), tb = 0.5 * (vec(p[3]) - vec(p[1]));
  const double t2 = t * t, t3 = t2 * t;
  const auto mix = [&](double h00, double h10, double h01, double h11) {
    return h00 * a + h10 * ta + h01 * b + h11 * tb;
  };
  return {mix(2 * t3 - 3 * t2 + 1, t3 - 2 * t2 + t, -2 * t3 + 3 * t2, t3 - t2),
          mix(6 * t2 - 6 * t, 3 * t2 - 4 * t + 1, -6 * t2 + 6 * t, 3 * t2 - 2 * t),
          mix(12 * t - 6, 6 * t - 4, -12 * t + 6, 6 * t - 2), mix(12, 6, -12, 6)};
}

class UniformCatmullRomPeer : public zvtest::KernelTest, public ::testing::WithParamInterface<int> {};

TEST_P(UniformCatmullRomPeer, EveryVertexMatchesTheHermiteForm) {
  const Case c = random_case(GetParam());
  const std::vector<Sample> samples =
      tessellate(c.poles, c.step, [](ll_list *l) { return zv_def_ucatrom_curve3d(l); });
  expect_covers_segments(samples, static_cast<long>(c.poles.size()) - 3, c.step);

  Agreement vs_hermite;
  for (const Sample &s : samples) add_sample(vs_hermite, c.scale, s, catmull_rom(&c.poles[s.segment], s.t));
  expect_agrees(vs_hermite, "the Hermite form");
}

INSTANTIATE_TEST_SUITE_P(RandomPolygons, UniformCatmullRomPeer, ::testing::Range(0, 24));

}  // namespace
