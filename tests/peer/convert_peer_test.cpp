// Bezier conversion and subdivision against the reference libraries: the
// Bezier points and weights of random clamped cubic B-splines and NURBS of
// 1 to 20 segments beside SISL's s1730 and Open CASCADE's
// GeomConvert_BSplineCurveToBezierCurve, and the two pieces of random
// Bezier and rational Bezier curves of degree 1 to 15 beside SISL's s1710
// and Open CASCADE's Geom_BezierCurve::Segment. Fixed seeds.
#include <GeomConvert_BSplineCurveToBezierCurve.hxx>

#include "peer_support.hpp"

namespace {

using namespace zvpeer;

// A control point and its weight as a peer holds them.
struct Pole {
  Vec3 point;
  double w = 1.0;
};
using Poles = std::vector<Pole>;

Poles sisl_poles(const SISLCurve *c) {
  Poles out;
  for (int i = 0; i < c->in; ++i)
    out.push_back({{c->ecoef[3 * i], c->ecoef[3 * i + 1], c->ecoef[3 * i + 2]}, c->ikind == 2 || c->ikind == 4 ? c->rcoef[4 * i + 3] : 1.0});
  return out;
}

Poles occt_poles(const Geom_BezierCurve &c) {
  Poles out;
  for (int i = 1; i <= c.NbPoles(); ++i) out.push_back({vec(c.Pole(i)), c.Weight(i)});
  return out;
}

Poles our_poles(const zv_curve *c) {
  const auto points = zvtest::positions(c->ctrl_list);
  const auto weights = zvtest::reals(c->weight_list);
  Poles out;
  for (size_t i = 0; i < points.size(); ++i) out.push_back({vec(points[i]), weights.empty() ? 1.0 : weights[i]});
  return out;
}

// The largest difference between ours from first on and a peer's poles, the
// points relative to scale and the weights to the peer's weight, folded.
double difference(const Poles &ours, size_t first, const Poles &peer, double scale) {
  double worst = 0.0;
  for (size_t i = 0; i < peer.size(); ++i)
    worst = std::max({worst, max_abs(ours[first + i].point - peer[i].point) / scale, std::fabs(ours[first + i].w - peer[i].w) / peer[i].w});
  return worst;
}

class ConvertPeer : public ::testing::TestWithParam<int> {};

TEST_P(ConvertPeer, BezierPolygonsAgreeWithSislAndOpenCascade) {
  const int segments = 1 + (GetParam() * 7) % 20;
  for (bool rational : {false, true}) {
    const zvtest::Spline s = zvtest::random_spline(segments + 3, 3, 3000 + GetParam(), rational);
    const zvtest::Record source(rational ? zvtest::make_nurb(s, 1) : zvtest::make_nub(s, 1)), out(zv_create_curve());
    ASSERT_EQ(rational ? zv_rat_bspl_to_bezier_curve3d(source.get(), out.get()) : zv_bspl_to_bezier_curve3d(source.get(), out.get()), 0);
    const Poles ours = our_poles(out.get());
    ASSERT_EQ(ours.size(), static_cast<size_t>(3 * segments + 1));
    const std::vector<double> w = rational ? s.weights : std::vector<double>{};
    SISLCurve *bezier = nullptr;  // every knot of multiplicity 4: four poles a segment
    int stat = 0;
    s1730(sisl_bspline(s.points, s.knots, 4, w).get(), &bezier, &stat);
    ASSERT_GE(stat, 0);
    const SislCurve owned(bezier);
    const Poles from_sisl = sisl_poles(bezier);
    GeomConvert_BSplineCurveToBezierCurve occt(occt_bspline(s.points, s.knots, 3, w));
    ASSERT_EQ(from_sisl.size(), static_cast<size_t>(4 * segments));
    ASSERT_EQ(occt.NbArcs(), segments);
    for (int j = 0; j < segments; ++j) {
      const double scale = polygon_scale(s.points);
      EXPECT_LE(difference(ours, 3 * j, {from_sisl.begin() + 4 * j, from_sisl.begin() + 4 * j + 4}, scale), kRelativeTolerance)
          << (rational ? "NURB" : "B-spline") << " vs SISL, segment " << j;
      EXPECT_LE(difference(ours, 3 * j, occt_poles(*occt.Arc(j + 1)), scale), kRelativeTolerance)
          << (rational ? "NURB" : "B-spline") << " vs Open CASCADE, segment " << j;
    }
  }
}

TEST_P(ConvertPeer, SplitPiecesAgreeWithSislAndOpenCascade) {
  std::mt19937 rng(4000 + GetParam());
  std::uniform_real_distribution<double> coordinate(-10, 10), weight(0.1, 10), inside(0.01, 0.99);
  const int p = 1 + GetParam() % 15;
  const double t = inside(rng);
  std::vector<zv_pnt_3d> P(p + 1);
  std::vector<double> w(p + 1);
  for (int k = 0; k <= p; ++k) P[k] = {coordinate(rng), coordinate(rng), coordinate(rng)}, w[k] = weight(rng);
  const double scale = polygon_scale(P);
  for (bool rational : {false, true}) {
    const zvtest::Record source(zv_create_curve()), before(zv_create_curve()), after(zv_create_curve());
    if (rational) {
      ASSERT_EQ(zv_def_ratbezier_curve3d(zvtest::make_polygon(P), zvtest::make_reals({0.5}), zvtest::make_reals(w), static_cast<int16_t>(p), source.get()), 0);
      ASSERT_EQ(zv_sub_ratbezier_curve3d(source.get(), t, before.get(), after.get()), 0);
    } else {
      ll_list *ctrl = zvtest::make_polygon(P);
      zvtest::Record made(zv_def_ubezier_curve3d(ctrl));
      ll_purge_list(ctrl);
      made->degree = static_cast<int16_t>(p);
      ASSERT_EQ(zv_sub_bezier_curve3d(made.get(), t, before.get(), after.get()), 0);
    }
    Poles ours_before = our_poles(before.get());
    std::reverse(ours_before.begin(), ours_before.end());  // the peers run from the first pole
    SISLCurve *first = nullptr, *second = nullptr;  // SISL keeps homogeneous coefficients: its weights are ours
    int stat = 0;
    s1710(sisl_bspline(P, bezier_knots(p), p + 1, rational ? w : std::vector<double>{}).get(), t, &first, &second, &stat);
    ASSERT_GE(stat, 0);
    const SislCurve sisl_first(first), sisl_second(second);
    const char *kind = rational ? "rational" : "plain";
    EXPECT_LE(difference(ours_before, 0, sisl_poles(first), scale), kRelativeTolerance) << kind << " vs SISL, degree " << p;
    EXPECT_LE(difference(our_poles(after.get()), 0, sisl_poles(second), scale), kRelativeTolerance) << kind << " vs SISL, degree " << p;
    // Open CASCADE's Segment loses digits as the degree grows (4e-13 at
    // degree 9, 2e-9 at 15, where a double de Casteljau stays near 1e-15):
    // a reference up to degree 8.
    if (p > 8) continue;
    TColStd_Array1OfReal weights(1, p + 1);
    for (int k = 0; k <= p; ++k) weights.SetValue(k + 1, rational ? w[k] : 1.0);
    Handle(Geom_BezierCurve) occt_before = new Geom_BezierCurve(zvpeer::occt_poles(P), weights);
    Handle(Geom_BezierCurve) occt_after = Handle(Geom_BezierCurve)::DownCast(occt_before->Copy());
    occt_before->Segment(0.0, t);
    occt_after->Segment(t, 1.0);
    EXPECT_LE(difference(ours_before, 0, occt_poles(*occt_before), scale), kRelativeTolerance) << kind << " vs Open CASCADE, degree " << p;
    EXPECT_LE(difference(our_poles(after.get()), 0, occt_poles(*occt_after), scale), kRelativeTolerance) << kind << " vs Open CASCADE, degree " << p;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ConvertPeer, ::testing::Range(0, 24));

}  // namespace
