// Tessellated non-uniform B-spline and NURB curves against SISL (s1221)
// and Open CASCADE evaluating the same curves at the same parameters:
// random clamped curves of degree 1 to 7, fixed seeds.
#include "peer_support.hpp"

namespace {

using namespace zvpeer;

class NurbsPeer : public ::testing::TestWithParam<int> {};

TEST_P(NurbsPeer, TessellatedVerticesAgreeWithSislAndOpenCascade) {
  const unsigned seed = static_cast<unsigned>(GetParam());
  for (bool rational : {false, true}) {
    const int p = 1 + seed % 7, n = p + 1 + (seed * 5) % 23;
    const zvtest::Spline s = zvtest::random_spline(n, p, 1000 + seed, rational);
    const zvtest::Record curve(rational ? zvtest::make_nurb(s, 7) : zvtest::make_nub(s, 7));
    ASSERT_EQ(rational ? zv_mk_nurb_curve3d(curve.get(), 0, 0, static_cast<int16_t>(n - p), 0) : zv_mk_nubspline_3d(curve.get(), 0, 0), 0);
    const auto vertices = zvtest::items<zv_poly_3d>(curve->vertex_list);
    const auto stats = zvtest::items<zv_curve_stats_3d>(curve->stats_list);
    ASSERT_EQ(vertices.size(), static_cast<size_t>(8 * (n - p)));
    ASSERT_EQ(stats.size(), vertices.size());
    // The records store the clamped vector without its outermost knots; the peers take it whole.
    const std::vector<double> w = rational ? s.weights : std::vector<double>{};
    const SislCurve sisl = sisl_bspline(s.points, s.knots, p + 1, w);
    const GeomAdaptor_Curve occt(occt_bspline(s.points, s.knots, p, w));
    double worst_sisl = 0.0, worst_occt = 0.0;
    int leftknot = 0;
    for (size_t i = 0; i < vertices.size(); ++i) {
      Jet j;
      ASSERT_GE(sisl_jet(sisl.get(), stats[i].t, leftknot, j), 0);
      worst_sisl = std::max(worst_sisl, max_abs(vec(vertices[i]) - j.point));
      worst_occt = std::max(worst_occt, max_abs(vec(vertices[i]) - occt_jet(occt, stats[i].t).point));
    }
    EXPECT_LE(worst_sisl / polygon_scale(s.points), kRelativeTolerance) << (rational ? "NURB" : "non-uniform") << " vs SISL";
    EXPECT_LE(worst_occt / polygon_scale(s.points), kRelativeTolerance) << (rational ? "NURB" : "non-uniform") << " vs Open CASCADE";
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, NurbsPeer, ::testing::Range(0, 24));

}  // namespace
