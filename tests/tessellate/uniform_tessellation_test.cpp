// Tessellation of uniform cubic records: counts and numbering, domain
// ends, derivative frames against finite differences, bad input and
// refused memory.
#include <cmath>
#include <random>

#include "zv_testing.hpp"

namespace {

using zvtest::KernelTest;
using zvtest::items;

std::vector<zv_pnt_3d> random_polygon(int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> u(-10.0, 10.0);
  std::vector<zv_pnt_3d> pts(n);
  for (auto &p : pts) p = {u(rng), u(rng), u(rng)};
  return pts;
}

zv_curve *define(zv_curve *(*def)(ll_list *), const std::vector<zv_pnt_3d> &pts) {
  ll_list *ctrl = zvtest::make_polygon(pts);
  zv_curve *curve = def(ctrl);
  ll_purge_list(ctrl);  // the emptied header stays the caller's
  return curve;
}

std::vector<int> indices(const zv_curve *curve) {
  std::vector<int> out;
  for (const auto &v : zvtest::vertices(curve->vertex_list)) out.push_back(v.index);
  return out;
}

double norm(double x, double y, double z) { return std::sqrt(x * x + y * y + z * z); }

class UniformTessellation : public KernelTest {};

// ----------------------------------------------------- counts and numbering

TEST_F(UniformTessellation, FourPointBSplineGivesElevenSamplesWithAccumulatedSteps) {
  zv_curve *curve = define(zv_def_ubspl_curve3d, random_polygon(4, 1));
  ASSERT_EQ(zv_mk_ucurve3d(curve, 0.1), 0);
  EXPECT_EQ(indices(curve), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  const auto stats = items<zv_curve_stats_3d>(curve->stats_list);
  ASSERT_EQ(stats.size(), 11u);
  double t = 0.0;
  for (const auto &s : stats) {
    EXPECT_EQ(s.t, t);  // accumulated, not i * step
    t = t + 0.1;
  }
  zv_purge_curve(curve);
}

TEST_F(UniformTessellation, BezierUsesWholeGroupsOfFourAndSkipsNumbersAtJoints) {
  auto pts = random_polygon(9, 2);
  pts[8] = {NAN, NAN, NAN};  // the ninth point is never read
  zv_curve *curve = define(zv_def_ubezier_curve3d, pts);
  ASSERT_EQ(zv_mk_ucurve3d(curve, 0.1), 0);
  std::vector<int> expected;
  for (int i = 0; i <= 10; ++i) expected.push_back(i);
  for (int i = 12; i <= 21; ++i) expected.push_back(i);
  EXPECT_EQ(indices(curve), expected);
  for (const auto &v : zvtest::vertices(curve->vertex_list)) EXPECT_FALSE(std::isnan(v.x));
  zv_purge_curve(curve);
}

TEST_F(UniformTessellation, SlidingWindowKindsMakeNMinusThreeSegments) {
  for (auto def : {zv_def_ucatrom_curve3d, zv_def_ubspl_curve3d}) {
    zv_curve *curve = define(def, random_polygon(6, 3));
    ASSERT_EQ(zv_mk_ucurve3d(curve, 0.1), 0);
    const auto idx = indices(curve);
    ASSERT_EQ(idx.size(), 31u);
    EXPECT_EQ(idx[10], 10);
    EXPECT_EQ(idx[11], 12);
    EXPECT_EQ(idx[21], 23);
    EXPECT_EQ(idx.back(), 32);
    EXPECT_EQ(ll_list_length(curve->stats_list), 31);
    zv_purge_curve(curve);
  }
}

TEST_F(UniformTessellation, SecondRunAppendsANewRunNumberedFromZero) {
  zv_curve *curve = define(zv_def_ubspl_curve3d, random_polygon(5, 4));
  ASSERT_EQ(zv_mk_ucurve3d(curve, 0.25), 0);
  ASSERT_EQ(zv_mk_ucurve3d(curve, 0.25), 0);
  const auto idx = indices(curve);
  const std::vector<int> run = {0, 1, 2, 3, 4, 6, 7, 8, 9};
  std::vector<int> twice = run;
  twice.insert(twice.end(), run.begin(), run.end());
  EXPECT_EQ(idx, twice);
  zv_purge_curve(curve);
}

TEST_F(UniformTessellation, StepNotAboveTheToleranceFallsBackToOneTenth) {
  for (double step : {0.0, -1.0, 1e-7, double(NAN)}) {
    zv_curve *curve = define(zv_def_ubspl_curve3d, random_polygon(4, 5));
    ASSERT_EQ(zv_mk_ucurve3d(curve, step), 0);
    EXPECT_EQ(zvtest::value(curve->t_step), 0.1);
    EXPECT_EQ(ll_list_length(curve->vertex_list), 11);
    zv_purge_curve(curve);
  }
}

// Vertex numbers are int16: past 32767 they wrap as two's complement.
TEST_F(UniformTessellation, VertexNumbersWrapPastTheInt16Range) {
  zv_curve *curve = define(zv_def_ubspl_curve3d, random_polygon(3400, 6));
  ASSERT_EQ(zv_mk_ucurve3d(curve, 0.1), 0);
  const auto idx = indices(curve);
  ASSERT_EQ(idx.size(), 11u + 3396u * 10u);
  EXPECT_EQ(idx.back(), static_cast<int16_t>(3397 * 11 - 1));
  zv_purge_curve(curve);
}

// ------------------------------------------------------------ domain ends

TEST_F(UniformTessellation, BezierSegmentRunsFromItsFirstToItsLastControlPoint) {
  const auto pts = random_polygon(4, 7);
  zv_curve *curve = define(zv_def_ubezier_curve3d, pts);
  ASSERT_EQ(zv_mk_ucurve3d(curve, 0.125), 0);  // exact steps reach t = 1
  const auto v = zvtest::vertices(curve->vertex_list);
  ASSERT_EQ(v.size(), 9u);
  EXPECT_EQ(v.front().x, pts[0].x);
  EXPECT_EQ(v.front().y, pts[0].y);
  EXPECT_EQ(v.front().z, pts[0].z);
  EXPECT_NEAR(v.back().x, pts[3].x, 1e-14);
  EXPECT_NEAR(v.back().y, pts[3].y, 1e-14);
  EXPECT_NEAR(v.back().z, pts[3].z, 1e-14);
  zv_purge_curve(curve);
}

TEST_F(UniformTessellation, SegmentEvaluatorAcceptsTheWidenedRangeOnly) {
  auto pts = random_polygon(4, 8);
  zv_curve *curve = define(zv_def_ubezier_curve3d, pts);
  std::vector<zv_poly_3d *> seg;
  for (ll_node *n = curve->ctrl_list->head; n; n = n->next) seg.push_back(static_cast<zv_poly_3d *>(n->data));
  zv_pnt_3d p;
  zv_vector_3d tan, sec, nor;
  EXPECT_EQ(zv_eval_t_on_ucurve3d(curve, -1e-7, seg.data(), &p, &tan, &sec, &nor), 0);
  EXPECT_EQ(zv_eval_t_on_ucurve3d(curve, 1.0000001, seg.data(), &p, &tan, &sec, &nor), 0);
  EXPECT_EQ(zv_eval_t_on_ucurve3d(curve, -2e-7, seg.data(), &p, &tan, &sec, &nor), 2);
  EXPECT_EQ(zv_eval_t_on_ucurve3d(curve, 1.0000002, seg.data(), &p, &tan, &sec, &nor), 2);
  EXPECT_EQ(zv_eval_t_on_ucurve3d(curve, NAN, seg.data(), &p, &tan, &sec, &nor), 2);
  EXPECT_EQ(zv_eval_t_on_ucurve3d(curve, 0.0, seg.data(), &p, &tan, &sec, &nor), 0);
  EXPECT_EQ(p.x, pts[0].x);
  EXPECT_EQ(p.y, pts[0].y);
  zv_purge_curve(curve);
}

// -------------------------------------------------------------- properties

// The statistics frame against central differences of the segment evaluator,
// and the segment evaluator against the tessellated vertices.
TEST_F(UniformTessellation, FramesMatchFiniteDifferencesOfTheCurve) {
  for (auto def : {zv_def_ubspl_curve3d, zv_def_ubezier_curve3d, zv_def_ucatrom_curve3d}) {
    zv_curve *curve = define(def, random_polygon(4, 9));
    ASSERT_EQ(zv_mk_ucurve3d(curve, 0.1), 0);
    std::vector<zv_poly_3d *> seg;
    for (ll_node *n = curve->ctrl_list->head; n; n = n->next) seg.push_back(static_cast<zv_poly_3d *>(n->data));
    const auto v = zvtest::vertices(curve->vertex_list);
    const auto s = items<zv_curve_stats_3d>(curve->stats_list);
    const double h = 1e-4;
    for (size_t i = 1; i + 1 < v.size(); ++i) {
      zv_pnt_3d at, lo, hi;
      zv_vector_3d tan, sec, nor, scratch1, scratch2, scratch3;
      ASSERT_EQ(zv_eval_t_on_ucurve3d(curve, s[i].t, seg.data(), &at, &tan, &sec, &nor), 0);
      EXPECT_EQ(at.x, v[i].x);
      EXPECT_EQ(at.y, v[i].y);
      EXPECT_EQ(at.z, v[i].z);
      EXPECT_EQ(tan.dx, s[i].tangent.dx);
      zv_eval_t_on_ucurve3d(curve, s[i].t - h, seg.data(), &lo, &scratch1, &scratch2, &scratch3);
      zv_eval_t_on_ucurve3d(curve, s[i].t + h, seg.data(), &hi, &scratch1, &scratch2, &scratch3);
      double d1[3] = {hi.x - lo.x, hi.y - lo.y, hi.z - lo.z};
      double d2[3] = {hi.x - 2 * at.x + lo.x, hi.y - 2 * at.y + lo.y, hi.z - 2 * at.z + lo.z};
      const double n1 = norm(d1[0], d1[1], d1[2]), n2 = norm(d2[0], d2[1], d2[2]);
      EXPECT_NEAR(s[i].tangent.dx, d1[0] / n1, 1e-6);
      EXPECT_NEAR(s[i].tangent.dy, d1[1] / n1, 1e-6);
      EXPECT_NEAR(s[i].tangent.dz, d1[2] / n1, 1e-6);
      EXPECT_NEAR(s[i].second_deriv.dx, d2[0] / n2, 1e-4);
      EXPECT_NEAR(s[i].second_deriv.dy, d2[1] / n2, 1e-4);
      EXPECT_NEAR(s[i].second_deriv.dz, d2[2] / n2, 1e-4);
      // The normal is the services' perpendicular of the unit tangent.
      zv_vector_3d expect_normal;
      zv_normalvector3d(&s[i].tangent, &expect_normal);
      EXPECT_EQ(s[i].normal.dx, expect_normal.dx);
      EXPECT_EQ(s[i].normal.dy, expect_normal.dy);
      EXPECT_EQ(s[i].normal.dz, expect_normal.dz);
    }
    zv_purge_curve(curve);
  }
}

TEST_F(UniformTessellation, BetaSplineWithUnitBiasAndNoTensionSamplesLikeTheBSpline) {
  const auto pts = random_polygon(7, 10);
  zv_curve *beta = nullptr;
  {
    ll_list *ctrl = zvtest::make_polygon(pts);
    beta = zv_def_ubetaspl_curve3d(ctrl, 1.0, 0.0);
    ll_purge_list(ctrl);
  }
  zv_curve *bspline = define(zv_def_ubspl_curve3d, pts);
  ASSERT_EQ(zv_mk_ucurve3d(beta, 0.05), 0);
  ASSERT_EQ(zv_mk_ucurve3d(bspline, 0.05), 0);
  const auto a = zvtest::vertices(beta->vertex_list), b = zvtest::vertices(bspline->vertex_list);
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].index, b[i].index);
    EXPECT_DOUBLE_EQ(a[i].x, b[i].x);
    EXPECT_DOUBLE_EQ(a[i].y, b[i].y);
    EXPECT_DOUBLE_EQ(a[i].z, b[i].z);
  }
  zv_purge_curve(beta);
  zv_purge_curve(bspline);
}

// A straight, evenly spaced polygon has no second derivative: the frame
// holds zero vectors there, never NaN.
TEST_F(UniformTessellation, VanishingDerivativesGiveZeroVectorsNotNaN) {
  zv_curve *curve = define(zv_def_ubspl_curve3d, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}});
  ASSERT_EQ(zv_mk_ucurve3d(curve, 0.5), 0);
  for (const auto &s : items<zv_curve_stats_3d>(curve->stats_list)) {
    EXPECT_EQ(s.tangent.dx, 0.0);
    EXPECT_EQ(s.second_deriv.dz, 0.0);
    EXPECT_FALSE(std::isnan(s.normal.dx));
  }
  zv_purge_curve(curve);
}

// ------------------------------------------------- arguments and results

}  // namespace
