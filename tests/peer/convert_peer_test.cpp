// Bezier conversion and subdivision against the reference libraries: the
// Bezier points and weights of random clamped cubic B-splines and NURBS of
// 1 to 20 segments beside SISL's s1730 and Open CASCADE's
// GeomConvert_BSplineCurveToBezierCurve, and the two pieces of random
// Bezier and rational Bezier curves of degree 1 to 15 beside SISL's s1710
// and Open CASCADE's Geom_BezierCurve::Segment. Fixed seeds.
#include <GeomConvert_BSplineCurveToBezierCurve.hxx>

#include "bezier_testing.hpp"
#include "peer_support.hpp"
#include "spline_records.hpp"

namespace {

using zvpeer::Vec3;

// A control point and its weight as a peer holds them.
struct Pole {
  Vec3 point;
  double w = 1.0;
};

// The poles of a SISL curve: its coefficients, with the weights of the
// homogeneous coefficients when it is rational.
std::vector<Pole> sisl_poles(const SISLCurve *c) {
  std::vector<Pole> out;
  const bool rational = c->ikind == 2 || c->ikind == 4;
  for (int i = 0; i < c->in; ++i)
    out.push_back({{c->ecoef[3 * i], c->ecoef[3 * i + 1], c->ecoef[3 * i + 2]}, rational ? c->rcoef[4 * i + 3] : 1.0});
  return out;
}

std::vector<Pole> occt_poles(const Geom_BezierCurve &c) {
  std::vector<Pole> out;
  for (int i = 1; i <= c.NbPoles(); ++i) out.push_back({zvpeer::vec(c.Pole(i)), c.Weight(i)});
  return out;
}

// Our points and weights (1 when the list is null) in list order.
std::vector<Pole> our_poles(const zv_curve *c) {
  const auto points = zvtest::positions(c->ctrl_list);
  const auto weights = zvtest::reals(c->weight_list);
  std::vector<Pole> out;
  for (size_t i = 0; i < points.size(); ++i) out.push_back({zvpeer::vec(points[i]), weights.empty() ? 1.0 : weights[i]});
  return out;
}

// The largest differences between our poles from first on and a peer's, the
// points relative to scale, the weights relative to the peer's weight.
struct Difference {
  double point = 0.0, weight = 0.0;
  void add(const std::vector<Pole> &ours, size_t first, const std::vector<Pole> &peer, double scale) {
    for (size_t i = 0; i < peer.size(); ++i) {
      point = std::max(point, zvpeer::max_abs(ours[first + i].point - peer[i].point) / scale);
      weight = std::max(weight, std::fabs(ours[first + i].w - peer[i].w) / peer[i].w);
    }
  }
};

// ------------------------------------------------------------- conversion

class ConversionPeer : public ::testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(Seeds, ConversionPeer, ::testing::Range(0, 24));

TEST_P(ConversionPeer, BezierPolygonsAgreeWithSislAndOpenCascade) {
  const int segments = 1 + (GetParam() * 7) % 20;
  for (bool rational : {false, true}) {
    const zvtest::Spline s = zvtest::random_spline(segments + 3, 3, 3000 + GetParam(), rational);
    const zvpeer::Curve source(rational ? zvtest::make_nurb(s, 1) : zvtest::make_nub(s, 1));
    const zvpeer::Curve out(zv_create_curve());
    ASSERT_EQ(rational ? zv_rat_bspl_to_bezier_curve3d(source.get(), out.get())
                       : zv_bspl_to_bezier_curve3d(source.get(), out.get()),
              0);
    const std::vector<Pole> ours = our_poles(out.get());
    ASSERT_EQ(ours.size(), static_cast<size_t>(3 * segments + 1));
    const double scale = zvpeer::polygon_scale(s.points);

    // SISL: one curve whose knots all have multiplicity 4, 4 poles a segment.
    const auto sisl = rational ? zvpeer::sisl_rational_bspline(s.points, s.weights, s.knots, 4)
                               : zvpeer::sisl_bspline(s.points, s.knots, 4);
    SISLCurve *bezier = nullptr;
    int stat = 0;
    s1730(sisl.get(), &bezier, &stat);
    ASSERT_GE(stat, 0);
    const zvpeer::SislCurve sisl_bezier(bezier);
    const std::vector<Pole> from_sisl = sisl_poles(bezier);
    ASSERT_EQ(from_sisl.size(), static_cast<size_t>(4 * segments));

    GeomConvert_BSplineCurveToBezierCurve occt(rational ? zvpeer::occt_rational_bspline(s.points, s.weights, s.knots, 3)
                                                        : zvpeer::occt_bspline(s.points, s.knots, 3));
    ASSERT_EQ(occt.NbArcs(), segments);

    Difference sisl_difference, occt_difference;
    for (int j = 0; j < segments; ++j) {
      sisl_difference.add(ours, 3 * j, {from_sisl.begin() + 4 * j, from_sisl.begin() + 4 * j + 4}, scale);
      occt_difference.add(ours, 3 * j, occt_poles(*occt.Arc(j + 1)), scale);
    }
    const char *kind = rational ? "NURB" : "B-spline";
    EXPECT_LE(sisl_difference.point, zvpeer::kRelativeTolerance) << kind << " vs SISL";
    EXPECT_LE(sisl_difference.weight, zvpeer::kRelativeTolerance) << kind << " vs SISL";
    EXPECT_LE(occt_difference.point, zvpeer::kRelativeTolerance) << kind << " vs Open CASCADE";
    EXPECT_LE(occt_difference.weight, zvpeer::kRelativeTolerance) << kind << " vs Open CASCADE";
    RecordProperty(rational ? "nurb_vs_sisl" : "bspline_vs_sisl", std::to_string(sisl_difference.point));
    RecordProperty(rational ? "nurb_vs_occt" : "bspline_vs_occt", std::to_string(occt_difference.point));
  }
}

// ------------------------------------------------------------ subdivision

class SplitPeer : public ::testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(Seeds, SplitPeer, ::testing::Range(0, 24));

TEST_P(SplitPeer, PiecesAgreeWithSislAndOpenCascade) {
  std::mt19937 rng(4000 + GetParam());
  std::uniform_real_distribution<double> coordinate(-10, 10), weight(0.1, 10), inside(0.01, 0.99);
  const int p = 1 + GetParam() % 15;
  const double t = inside(rng);
  std::vector<zv_pnt_3d> P(p + 1);
  std::vector<double> w(p + 1);
  for (int k = 0; k <= p; ++k) {
    P[k] = {coordinate(rng), coordinate(rng), coordinate(rng)};
    w[k] = weight(rng);
  }
  const double scale = zvpeer::polygon_scale(P);

  for (bool rational : {false, true}) {
    const zvpeer::Curve source(zv_create_curve()), before(zv_create_curve()), after(zv_create_curve());
    if (rational) {
      ASSERT_EQ(zv_def_ratbezier_curve3d(zvtest::make_polygon(P), zvtest::make_reals({0.5}), zvtest::make_reals(w),
                                         static_cast<int16_t>(p), source.get()),
                0);
      ASSERT_EQ(zv_sub_ratbezier_curve3d(source.get(), t, before.get(), after.get()), 0);
    } else {
      ll_list *ctrl = zvtest::make_polygon(P);
      zvtest::Record made(zv_def_ubezier_curve3d(ctrl));
      ll_purge_list(ctrl);
      made->degree = static_cast<int16_t>(p);
      ASSERT_EQ(zv_sub_bezier_curve3d(made.get(), t, before.get(), after.get()), 0);
    }
    std::vector<Pole> ours_before = our_poles(before.get());
    std::reverse(ours_before.begin(), ours_before.end());  // the peers run from the first pole
    const std::vector<Pole> ours_after = our_poles(after.get());

    // SISL keeps homogeneous coefficients, so its weights are ours.
    const auto sisl = rational ? zvpeer::sisl_rational_bspline(P, w, zvpeer::bezier_knots(p), p + 1)
                               : zvpeer::sisl_bspline(P, zvpeer::bezier_knots(p), p + 1);
    SISLCurve *first = nullptr, *second = nullptr;
    int stat = 0;
    s1710(sisl.get(), t, &first, &second, &stat);
    ASSERT_GE(stat, 0);
    const zvpeer::SislCurve sisl_first(first), sisl_second(second);
    Difference sisl_difference;
    sisl_difference.add(ours_before, 0, sisl_poles(first), scale);
    sisl_difference.add(ours_after, 0, sisl_poles(second), scale);

    // Open CASCADE: the same curve restricted to [0, t] and [t, 1]. Its
    // Segment loses digits as the degree grows (against a long double de
    // Casteljau, coordinates within 10: 4e-13 at degree 9, 2e-9 at degree
    // 15, where a double de Casteljau stays near 1e-15), so it serves as a
    // reference up to degree 8.
    TColStd_Array1OfReal weights(1, p + 1);
    for (int k = 0; k <= p; ++k) weights.SetValue(k + 1, rational ? w[k] : 1.0);
    Handle(Geom_BezierCurve) occt_before = new Geom_BezierCurve(zvpeer::occt_poles(P), weights);
    Handle(Geom_BezierCurve) occt_after = Handle(Geom_BezierCurve)::DownCast(occt_before->Copy());
    occt_before->Segment(0.0, t);
    occt_after->Segment(t, 1.0);
    Difference occt_difference;
    occt_difference.add(ours_before, 0, occt_poles(*occt_before), scale);
    occt_difference.add(ours_after, 0, occt_poles(*occt_after), scale);

    const char *kind = rational ? "rational" : "plain";
    EXPECT_LE(sisl_difference.point, zvpeer::kRelativeTolerance) << kind << " vs SISL, degree " << p;
    EXPECT_LE(sisl_difference.weight, zvpeer::kRelativeTolerance) << kind << " vs SISL, degree " << p;
    if (p <= 8) {
      EXPECT_LE(occt_difference.point, zvpeer::kRelativeTolerance) << kind << " vs Open CASCADE, degree " << p;
      EXPECT_LE(occt_difference.weight, zvpeer::kRelativeTolerance) << kind << " vs Open CASCADE, degree " << p;
    }
  }
}

}  // namespace
