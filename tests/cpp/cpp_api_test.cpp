// The C++ layer: owners release everything on every path (the fixture fails
// on any kernel block left live), moves transfer ownership, ranges walk the
// C lists, and results surface as Status with the C codes.
#include <rivezi3z/rivezi3z.hpp>

#include <gtest/gtest.h>

#include "zv_testing.hpp"

namespace {

using CppApi = zvtest::KernelTest;
namespace zv = rivezi3z;

const std::vector<zv_pnt_3d> kPoints = {{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 1}, {6, 1, 0}, {7, 3, 1}};

TEST_F(CppApi, OwnersReleaseMovesTransferAndRangesWalkTheLists) {
  zv::List<zv_poly_3d> ctrl = zv::polygon(kPoints);
  int16_t expected = 0;
  for (const zv_poly_3d &v : ctrl) EXPECT_EQ(zvtest::value(v.index), expected++);
  EXPECT_EQ(zvtest::value(ctrl.to_vector()[5].x), 7.0);
  zv::Curve curve = zv::define_ucatrom(ctrl);
  ASSERT_TRUE(curve && curve.tessellate_uniform(0.1));
  EXPECT_TRUE(ctrl && ctrl.empty() && curve.control_points().size() == 6);  // taken over: the header stays, empty
  EXPECT_EQ(curve.vertices().size(), curve.stats().size());
  zv::List<zv_poly_3d> b = std::move(ctrl);
  b = zv::polygon({kPoints[0]});  // the moved-in list is released here
  EXPECT_TRUE(!ctrl && b.size() == 1);
  ll_purge_list(b.release());
  zv::Curve d;
  d = std::move(curve);
  EXPECT_TRUE(d && !curve && !b);
  ctrl = zv::polygon(kPoints);  // a failed definition leaves the lists with the caller
  auto [failed, status] = zv::define_nurbs(std::move(ctrl), zv::reals({0, 1, 2, 3, 4}), zv::reals({1, 1}), 3, 4);
  EXPECT_TRUE(status.code() == 2 && !failed && ctrl.size() == 6);  // fewer weights than control points
}

TEST_F(CppApi, RefusedMemoryIsReportedAndNothingLeaks) {
  for (long budget = 0; budget < 40; ++budget) {
    zv_fail_alloc_after(budget);
    zv::Status made;
    zv::List<zv_poly_3d> ctrl = zv::polygon(kPoints, &made);
    zv::Curve curve = zv::define_ubspline(ctrl);
    const zv::Status sampled = curve ? curve.tessellate_uniform(0.25) : zv::Status(-1);
    zv_fail_alloc_after(-1);
    EXPECT_TRUE(made ? (!curve || sampled.ok() || sampled.memory_refused()) : made.memory_refused()) << budget;
  }
}

// The wrappers give the C codes and make records for empty owners.
TEST_F(CppApi, StatusCarriesTheCodesAndTheWrappersMatchTheCCalls) {
  zv::Curve empty(zv_create_curve()), none;
  EXPECT_TRUE(empty.tessellate_uniform(0.1).code() == 2 && none.tessellate_uniform(0.1).code() == 1);
  EXPECT_EQ(zv::fit(kPoints.data(), 40000, 3).status.code(), 1);
  auto [fitted, fit_status] = zv::fit(kPoints, 3, 1);
  zv_pnt_3d p{}, d1{}, d2{};
  int16_t continuity = -1;
  ASSERT_TRUE(fit_status && fitted.derivatives(0.0, 1, p, d1, d2, continuity));
  EXPECT_TRUE(zvtest::value(p.x) == 0.0 && fitted.control_count() == 6 && fitted.knot(fitted.knot_count() - 1) == 1);
  zv::List<zv_poly_3d> ctrl = zv::polygon(kPoints);
  zv::Curve bezier = zv::define_ubezier(ctrl), before, after;
  bezier->degree = 3;
  ASSERT_TRUE(zv::split(bezier, 0.25, before, after));  // records made for the empty owners
  EXPECT_TRUE(before.control_points().size() == 4 && after.control_points().size() == 4);
  auto [rational, status] = zv::define_nurbs(zv::polygon(kPoints), zv::reals({0, 0, 0, 1, 2, 3, 3, 3}),
                                             zv::reals({1, 2, 1, 2, 1, 2}), 3, 4);  // three spans
  zv::Curve segments(zv_create_curve()), pieces[2];
  ASSERT_TRUE(status && rational.tessellate_nurbs(3) && zv::to_bezier(rational, segments, true));
  EXPECT_TRUE(rational.vertices().size() == 15 && segments.control_points().size() == 10 &&
              segments.weights().size() == 10);  // 3 L + 1 for L = 3
  EXPECT_EQ(zv::split(rational, 0.5, pieces[0], pieces[1]).code(), 1);                     // not a Bezier record
}

}  // namespace
