// Tessellated non-uniform B-spline and NURB curves against SISL (s1221)
// and Open CASCADE (GeomAdaptor_Curve::D0) evaluating the same curves at
// the same parameters: random clamped curves of degree 1 to 7, fixed seeds.
#include <GeomAdaptor_Curve.hxx>
#include <Geom_BSplineCurve.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <gp_Pnt.hxx>
#include <sisl.h>

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <memory>
#include <string>

#include "spline_records.hpp"

namespace {

using zvtest::Spline;

// The spline as a SISL curve: order p + 1, the full knot vector, and for a
// rational curve homogeneous coefficients (w x, w y, w z, w).
std::unique_ptr<SISLCurve, void (*)(SISLCurve *)> sisl_curve(const Spline &s, bool rational) {
  std::vector<double> knots = s.knots, coefs;
  for (int i = 0; i < s.n(); ++i) {
    const double w = rational ? s.weights[i] : 1.0;
    for (double c : {s.points[i].x, s.points[i].y, s.points[i].z}) coefs.push_back(rational ? w * c : c);
    if (rational) coefs.push_back(w);
  }
  return {newCurve(s.n(), s.p + 1, knots.data(), coefs.data(), rational ? 2 : 1, 3, 1), freeCurve};
}

// The spline as an Open CASCADE curve: distinct knots with multiplicities.
Handle(Geom_BSplineCurve) occt_curve(const Spline &s, bool rational) {
  std::vector<double> distinct;
  std::vector<int> mults;
  for (double k : s.knots) {
    if (!distinct.empty() && k == distinct.back()) {
      ++mults.back();
    } else {
      distinct.push_back(k);
      mults.push_back(1);
    }
  }
  TColgp_Array1OfPnt poles(1, s.n());
  TColStd_Array1OfReal weights(1, s.n()), knots(1, static_cast<int>(distinct.size()));
  TColStd_Array1OfInteger multiplicities(1, static_cast<int>(distinct.size()));
  for (int i = 0; i < s.n(); ++i) {
    poles.SetValue(i + 1, gp_Pnt(s.points[i].x, s.points[i].y, s.points[i].z));
    weights.SetValue(i + 1, s.weights[i]);
  }
  for (size_t i = 0; i < distinct.size(); ++i) {
    knots.SetValue(static_cast<int>(i + 1), distinct[i]);
    multiplicities.SetValue(static_cast<int>(i + 1), mults[i]);
  }
  if (rational) return new Geom_BSplineCurve(poles, weights, knots, multiplicities, s.p);
  return new Geom_BSplineCurve(poles, knots, multiplicities, s.p);
}

std::string scientific(double x) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2e", x);
  return text;
}

class NurbsPeer : public ::testing::TestWithParam<int> {};

INSTANTIATE_TEST_SUITE_P(Seeds, NurbsPeer, ::testing::Range(0, 24));

TEST_P(NurbsPeer, TessellatedVerticesAgreeWithSislAndOpenCascade) {
  const unsigned seed = static_cast<unsigned>(GetParam());
  for (bool rational : {false, true}) {
    const int p = 1 + seed % 7, n = p + 1 + (seed * 5) % 23;
    const Spline s = zvtest::random_spline(n, p, 1000 + seed, rational);
    zv_curve *curve = rational ? zvtest::make_nurb(s, 7) : zvtest::make_nub(s, 7);
    ASSERT_EQ(rational ? zv_mk_nurb_curve3d(curve, 0, 0, static_cast<int16_t>(n - p), 0)
                       : zv_mk_nubspline_3d(curve, 0, 0),
              0);
    const auto vertices = zvtest::vertices(curve->vertex_list);
    const auto stats = zvtest::items<zv_curve_stats_3d>(curve->stats_list);
    ASSERT_EQ(vertices.size(), stats.size());
    ASSERT_EQ(vertices.size(), static_cast<size_t>(8 * (n - p)));

    auto sisl = sisl_curve(s, rational);
    GeomAdaptor_Curve occt(occt_curve(s, rational));
    const double tol = 1e-12 * zvtest::scale_of(s.points);
    int leftknot = 0;
    double worst_sisl = 0.0, worst_occt = 0.0;  // relative, recorded with the result
    for (size_t i = 0; i < vertices.size(); ++i) {
      const double t = stats[i].t;
      double out[3];
      int status = 0;
      s1221(sisl.get(), 0, t, &leftknot, out, &status);
      ASSERT_GE(status, 0);
      const gp_Pnt q = occt.Value(t);
      EXPECT_NEAR(vertices[i].x, out[0], tol) << "SISL, seed " << seed << " vertex " << i << " t " << t;
      EXPECT_NEAR(vertices[i].y, out[1], tol);
      EXPECT_NEAR(vertices[i].z, out[2], tol);
      EXPECT_NEAR(vertices[i].x, q.X(), tol) << "Open CASCADE, seed " << seed << " vertex " << i;
      EXPECT_NEAR(vertices[i].y, q.Y(), tol);
      EXPECT_NEAR(vertices[i].z, q.Z(), tol);
      const double scale = zvtest::scale_of(s.points);
      worst_sisl = std::max({worst_sisl, std::fabs(vertices[i].x - out[0]) / scale,
                             std::fabs(vertices[i].y - out[1]) / scale, std::fabs(vertices[i].z - out[2]) / scale});
      worst_occt = std::max({worst_occt, std::fabs(vertices[i].x - q.X()) / scale,
                             std::fabs(vertices[i].y - q.Y()) / scale, std::fabs(vertices[i].z - q.Z()) / scale});
    }
    RecordProperty(rational ? "nurb_vs_sisl" : "nub_vs_sisl", scientific(worst_sisl));
    RecordProperty(rational ? "nurb_vs_occt" : "nub_vs_occt", scientific(worst_occt));
    zv_purge_curve(curve);
  }
}

}  // namespace
