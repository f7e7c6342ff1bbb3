// The C++ layer: owners release everything on every path (the fixture fails
// on any kernel block left live), moves transfer ownership, ranges walk the
// same items as the C lists, and results surface as Status.
#include <rivezi3z/rivezi3z.hpp>

#include <gtest/gtest.h>

#include "zv_testing.hpp"

namespace {

using CppApi = zvtest::KernelTest;

const std::vector<zv_pnt_3d> kPoints = {{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 1}, {6, 1, 0}, {7, 3, 1}};

// ---------------------------------------------------------- ownership

TEST_F(CppApi, EveryOwnerReleasesWhatItHolds) {
  {
    rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(kPoints);
    rivezi3z::Curve curve = rivezi3z::define_ucatrom(ctrl);
    ASSERT_TRUE(curve);
    ASSERT_TRUE(curve.tessellate_uniform(0.1));
    EXPECT_TRUE(ctrl.empty());  // taken over: the header stays, empty
    EXPECT_EQ(curve.control_points().size(), 6);
    EXPECT_EQ(curve.vertices().size(), curve.stats().size());

    auto [nurbs, status] = rivezi3z::define_nurbs(rivezi3z::polygon(kPoints), rivezi3z::reals({0, 0, 0, 1, 2, 3, 3, 3}),
                                                  rivezi3z::reals({1, 2, 1, 2, 1, 2}), 3, 4);
    ASSERT_TRUE(status);
    ASSERT_TRUE(nurbs.tessellate_nurbs(3));
    EXPECT_EQ(nurbs.vertices().size(), 15);

    auto [fitted, fit_status] = rivezi3z::fit(kPoints, 3, 1);
    ASSERT_TRUE(fit_status);
    EXPECT_EQ(fitted.control_count(), 6);
    EXPECT_GT(zv_live_blocks(), 0);
  }
  EXPECT_EQ(zv_live_blocks(), 0);  // the fixture checks it again on teardown
}

TEST_F(CppApi, MovesTransferAndReleaseGivesUp) {
  rivezi3z::List<zv_poly_3d> a = rivezi3z::polygon(kPoints);
  rivezi3z::List<zv_poly_3d> b = std::move(a);
  EXPECT_FALSE(a);
  EXPECT_EQ(b.size(), 6);
  b = rivezi3z::polygon({kPoints[0]});  // the six-item list is released here
  EXPECT_EQ(b.size(), 1);
  ll_list *raw = b.release();
  EXPECT_FALSE(b);
  ll_purge_list(raw);

  rivezi3z::Curve c(zv_create_curve());
  rivezi3z::Curve d;
  d = std::move(c);
  EXPECT_TRUE(d);
  EXPECT_FALSE(c);
}

TEST_F(CppApi, FailedRationalDefinitionLeavesTheListsWithTheCaller) {
  rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(kPoints);
  rivezi3z::List<zv_rnumber> knots = rivezi3z::reals({0, 1, 2, 3, 4});
  rivezi3z::List<zv_rnumber> weights = rivezi3z::reals({1, 1});
  auto [curve, status] = rivezi3z::define_nurbs(std::move(ctrl), std::move(knots), std::move(weights), 3, 4);
  EXPECT_EQ(status.code(), 2);  // fewer weights than control points
  EXPECT_FALSE(curve);
  EXPECT_EQ(ctrl.size(), 6);  // still owned here, released by ctrl's destructor
}

TEST_F(CppApi, RefusedMemoryIsReportedAndNothingLeaks) {
  for (long budget = 0; budget < 40; ++budget) {
    zv_fail_alloc_after(budget);
    rivezi3z::Status made;
    rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(kPoints, &made);
    rivezi3z::Curve curve = rivezi3z::define_ubspline(ctrl);
    const rivezi3z::Status sampled = curve ? curve.tessellate_uniform(0.25) : rivezi3z::Status(-1);
    zv_fail_alloc_after(-1);
    if (!made) {
      EXPECT_TRUE(made.memory_refused());
    } else if (curve) {
      EXPECT_TRUE(sampled.ok() || sampled.memory_refused());
    }
  }
}

// ---------------------------------------------------------- ranges and values

TEST_F(CppApi, RangesWalkTheCListsInOrder) {
  rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(kPoints);
  int16_t expected = 0;
  for (const zv_poly_3d &v : ctrl) EXPECT_EQ(zvtest::value(v.index), expected++);
  const auto copies = ctrl.to_vector();
  ASSERT_EQ(copies.size(), kPoints.size());
  for (size_t i = 0; i < copies.size(); ++i) EXPECT_EQ(zvtest::value(copies[i].x), zvtest::value(kPoints[i].x));

  rivezi3z::Curve curve = rivezi3z::define_ubspline(ctrl);
  ASSERT_TRUE(curve.tessellate_uniform(0.5));
  const auto c_vertices = zvtest::vertices(curve->vertex_list);
  size_t i = 0;
  for (const zv_poly_3d &v : curve.vertices()) {
    ASSERT_LT(i, c_vertices.size());
    EXPECT_EQ(zvtest::value(v.y), zvtest::value(c_vertices[i++].y));
  }
  EXPECT_EQ(i, c_vertices.size());
}

TEST_F(CppApi, StatusCarriesTheCResultCodes) {
  rivezi3z::Curve empty(zv_create_curve());
  const rivezi3z::Status s = empty.tessellate_uniform(0.1);
  EXPECT_FALSE(s);
  EXPECT_EQ(s.code(), 2);  // fewer than four control points
  rivezi3z::Curve none;
  EXPECT_EQ(none.tessellate_uniform(0.1).code(), 1);  // null record

  auto [fitted, status] = rivezi3z::fit(kPoints, 3);
  ASSERT_TRUE(status);
  zv_pnt_3d p{}, d1{}, d2{};
  int16_t continuity = -1;
  ASSERT_TRUE(fitted.derivatives(0.0, 1, p, d1, d2, continuity));
  EXPECT_EQ(zvtest::value(p.x), 0.0);
  EXPECT_EQ(fitted.knot(0), 0.0);
  EXPECT_EQ(fitted.knot(fitted.knot_count() - 1), 1.0);
  EXPECT_EQ(rivezi3z::fit(kPoints.data(), 40000, 3).status.code(), 1);
}

}  // namespace
