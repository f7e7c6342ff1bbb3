// Tessellated non-uniform B-spline and NURB curves against SISL (s1221)
// and Open CASCADE (GeomAdaptor_Curve) evaluating the same curves at the
// same parameters: random clamped curves of degree 1 to 7, fixed seeds.
#include "peer_support.hpp"
#include "spline_records.hpp"

namespace {

using zvpeer::Vec3;

class NurbsPeer : public ::testing::TestWithParam<int> {};

INSTANTIATE_TEST_SUITE_P(Seeds, NurbsPeer, ::testing::Range(0, 24));

TEST_P(NurbsPeer, TessellatedVerticesAgreeWithSislAndOpenCascade) {
  const unsigned seed = static_cast<unsigned>(GetParam());
  for (bool rational : {false, true}) {
    const int p = 1 + seed % 7, n = p + 1 + (seed * 5) % 23;
    const zvtest::Spline s = zvtest::random_spline(n, p, 1000 + seed, rational);
    const zvpeer::Curve curve(rational ? zvtest::make_nurb(s, 7) : zvtest::make_nub(s, 7));
    ASSERT_EQ(rational ? zv_mk_nurb_curve3d(curve.get(), 0, 0, static_cast<int16_t>(n - p), 0)
                       : zv_mk_nubspline_3d(curve.get(), 0, 0),
              0);
    const auto vertices = zvtest::items<zv_poly_3d>(curve->vertex_list);
    const auto stats = zvtest::items<zv_curve_stats_3d>(curve->stats_list);
    ASSERT_EQ(vertices.size(), stats.size());
    ASSERT_EQ(vertices.size(), static_cast<size_t>(8 * (n - p)));

    // The records store the clamped vector without its outermost knots;
    // the peers take the full vector.
    const auto sisl = rational ? zvpeer::sisl_rational_bspline(s.points, s.weights, s.knots, p + 1)
                               : zvpeer::sisl_bspline(s.points, s.knots, p + 1);
    const GeomAdaptor_Curve occt(rational ? zvpeer::occt_rational_bspline(s.points, s.weights, s.knots, p)
                                          : zvpeer::occt_bspline(s.points, s.knots, p));
    const double scale = zvpeer::polygon_scale(s.points);
    double worst_sisl = 0.0, worst_occt = 0.0;
    int leftknot = 0;
    for (size_t i = 0; i < vertices.size(); ++i) {
      const double t = stats[i].t;
      zvpeer::Jet from_sisl;
      ASSERT_GE(zvpeer::sisl_jet(sisl.get(), t, leftknot, from_sisl), 0);
      const Vec3 ours = zvpeer::vec(vertices[i]);
      worst_sisl = std::max(worst_sisl, zvpeer::max_abs(ours - from_sisl.point) / scale);
      worst_occt = std::max(worst_occt, zvpeer::max_abs(ours - zvpeer::occt_jet(occt, t).point) / scale);
    }
    EXPECT_LE(worst_sisl, zvpeer::kRelativeTolerance) << (rational ? "NURB" : "non-uniform") << " vs SISL";
    EXPECT_LE(worst_occt, zvpeer::kRelativeTolerance) << (rational ? "NURB" : "non-uniform") << " vs Open CASCADE";
    RecordProperty(rational ? "nurb_vs_sisl" : "nub_vs_sisl", std::to_string(worst_sisl * 1e15) + "e-15");
    RecordProperty(rational ? "nurb_vs_occt" : "nub_vs_occt", std::to_string(worst_occt * 1e15) + "e-15");
  }
}

}  // namespace
