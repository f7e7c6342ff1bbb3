// The C++ layer: owners release everything on every path (the fixture fails
// on any kernel block left live), moves transfer ownership, ranges walk the
// same items as the C lists, and results surface as Status.
#include <rivezi3z/rivezi3z.hpp>

#include <gtest/gtest.h>

#include "zv_testing.hpp"

namespace {

using CppApi = zvtest::KernelTest;

const std::vector<zv_pnt_3d> kPoints = {{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 1}, {6, 1, 0}, {7, 3, 1}};

TEST_F(CppApi, OwnersReleaseAndMovesTransfer) {
  {
    rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(kPoints);
    rivezi3z::Curve curve = rivezi3z::define_ucatrom(ctrl);
    ASSERT_TRUE(curve && curve.tessellate_uniform(0.1));
    EXPECT_TRUE(ctrl.empty());  // taken over: the header stays, empty
    EXPECT_EQ(curve.control_points().size(), 6);
    EXPECT_EQ(curve.vertices().size(), curve.stats().size());
    auto [nurbs, status] = rivezi3z::define_nurbs(rivezi3z::polygon(kPoints), rivezi3z::reals({0, 0, 0, 1, 2, 3, 3, 3}),
                                                  rivezi3z::reals({1, 2, 1, 2, 1, 2}), 3, 4);
    ASSERT_TRUE(status && nurbs.tessellate_nurbs(3));
    EXPECT_EQ(nurbs.vertices().size(), 15);
    auto [fitted, fit_status] = rivezi3z::fit(kPoints, 3, 1);
    ASSERT_TRUE(fit_status);
    EXPECT_EQ(fitted.control_count(), 6);
    rivezi3z::List<zv_poly_3d> b = std::move(ctrl);
    EXPECT_FALSE(ctrl);
    b = rivezi3z::polygon({kPoints[0]});  // the moved-in list is released here
    EXPECT_EQ(b.size(), 1);
    ll_purge_list(b.release());
    EXPECT_FALSE(b);
    rivezi3z::Curve d;
    d = std::move(curve);
    EXPECT_TRUE(d && !curve);
  }
  EXPECT_EQ(zv_live_blocks(), 0);
  // A failed definition leaves the lists with the caller.
  rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(kPoints);
  auto [curve, status] = rivezi3z::define_nurbs(std::move(ctrl), rivezi3z::reals({0, 1, 2, 3, 4}), rivezi3z::reals({1, 1}), 3, 4);
  EXPECT_EQ(status.code(), 2);  // fewer weights than control points
  EXPECT_FALSE(curve);
  EXPECT_EQ(ctrl.size(), 6);
}

TEST_F(CppApi, RefusedMemoryIsReportedAndNothingLeaks) {
  for (long budget = 0; budget < 40; ++budget) {
    zv_fail_alloc_after(budget);
    rivezi3z::Status made;
    rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(kPoints, &made);
    rivezi3z::Curve curve = rivezi3z::define_ubspline(ctrl);
    const rivezi3z::Status sampled = curve ? curve.tessellate_uniform(0.25) : rivezi3z::Status(-1);
    zv_fail_alloc_after(-1);
    EXPECT_TRUE(made ? (!curve || sampled.ok() || sampled.memory_refused()) : made.memory_refused()) << budget;
  }
}

TEST_F(CppApi, RangesWalkTheCListsAndStatusCarriesTheCodes) {
  rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(kPoints);
  int16_t expected = 0;
  for (const zv_poly_3d &v : ctrl) EXPECT_EQ(zvtest::value(v.index), expected++);
  EXPECT_EQ(zvtest::value(ctrl.to_vector()[5].x), 7.0);
  rivezi3z::Curve curve = rivezi3z::define_ubspline(ctrl);
  ASSERT_TRUE(curve.tessellate_uniform(0.5));
  const auto c_vertices = zvtest::vertices(curve->vertex_list);
  size_t i = 0;
  for (const zv_poly_3d &v : curve.vertices()) EXPECT_EQ(zvtest::value(v.y), c_vertices.at(i++).y);
  EXPECT_EQ(i, c_vertices.size());
  rivezi3z::Curve empty(zv_create_curve()), none;
  EXPECT_EQ(empty.tessellate_uniform(0.1).code(), 2);  // fewer than four control points
  EXPECT_EQ(none.tessellate_uniform(0.1).code(), 1);   // null record
  auto [fitted, status] = rivezi3z::fit(kPoints, 3);
  zv_pnt_3d p{}, d1{}, d2{};
  int16_t continuity = -1;
  ASSERT_TRUE(status && fitted.derivatives(0.0, 1, p, d1, d2, continuity));
  EXPECT_EQ(zvtest::value(p.x), 0.0);
  EXPECT_TRUE(fitted.knot(0) == 0.0 && fitted.knot(fitted.knot_count() - 1) == 1.0);
  EXPECT_EQ(rivezi3z::fit(kPoints.data(), 40000, 3).status.code(), 1);
}

// Conversion and split through the owners: the same pieces as the C calls,
// records made for empty owners, everything released with them.
TEST_F(CppApi, ConversionAndSplitWrapTheCCalls) {
  rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(kPoints);
  rivezi3z::Curve bezier = rivezi3z::define_ubezier(ctrl);
  bezier->degree = 3;
  rivezi3z::Curve before, after, c_before(zv_create_curve()), c_after(zv_create_curve());
  ASSERT_TRUE(rivezi3z::split(bezier, 0.25, before, after));
  ASSERT_EQ(zv_sub_bezier_curve3d(bezier.get(), 0.25, c_before.get(), c_after.get()), 0);
  const auto ours = zvtest::vertices(before->ctrl_list), theirs = zvtest::vertices(c_before->ctrl_list);
  ASSERT_EQ(ours.size(), theirs.size());
  for (size_t i = 0; i < ours.size(); ++i) EXPECT_EQ(ours[i].x, theirs[i].x);
  EXPECT_EQ(after.control_points().size(), 4);

  auto [nurbs, status] = rivezi3z::define_nurbs(rivezi3z::polygon(kPoints), rivezi3z::reals({0, 0, 0, 1, 2, 3, 3, 3}),
                                                rivezi3z::reals({1, 2, 1, 2, 1, 2}), 3, 4);
  ASSERT_TRUE(status);
  rivezi3z::Curve segments(zv_create_curve());
  ASSERT_TRUE(rivezi3z::to_bezier(nurbs, segments, true));
  EXPECT_EQ(segments.control_points().size(), 10);  // 3 L + 1 for L = 3 spans
  EXPECT_EQ(segments.weights().size(), 10);
  rivezi3z::Curve pieces[2];
  EXPECT_EQ(rivezi3z::split(nurbs, 0.5, pieces[0], pieces[1]).code(), 1);  // not a Bezier record
}

}  // namespace
