// Cubic and quadratic B-spline polylines: the adjusted point count and the
// numbering, agreement with the uniform B-spline curve record and with the
// quadratic basis, joins, the step table, the two-point copy, bad counts,
// missing lists and refused memory.
#include <cmath>

#include "polyline_testing.hpp"

namespace {

using polytest::random_points;
using polytest::expect_at;
using polytest::expect_numbered;
using polytest::Polyline;
using zvtest::KernelTest;

Polyline cubic(const std::vector<zv_pnt_3d> &p, int16_t n, int16_t wanted) {
  return polytest::run_on(p, wanted, [n](ll_list *ctrl, int16_t *points, ll_list *out) {
    return zv_bspline_3d(n, ctrl, points, out);
  });
}

Polyline quadratic(const std::vector<zv_pnt_3d> &p, int16_t n, int16_t mode) {
  return polytest::run_on(p, -7, [n, mode](ll_list *ctrl, int16_t *count, ll_list *out) {
    return zv_quad_bspline_3d(n, ctrl, mode, count, out);
  });
}

zv_pnt_3d mix(std::initializer_list<std::pair<double, zv_pnt_3d>> terms) {
  zv_pnt_3d q{0, 0, 0};
  for (const auto &[w, p] : terms) q = {q.x + w * p.x, q.y + w * p.y, q.z + w * p.z};
  return q;
}

class CubicBSplinePolyline : public KernelTest {};
class QuadBSplinePolyline : public KernelTest {};

// ------------------------------------------------- cubic: counts, numbering

TEST_F(CubicBSplinePolyline, RequestRisesToMultipleOfNMinusTwoAndSpreadsOverSegments) {
  struct Case {
    int16_t n, wanted, vertices;
  };
  // 5 -> 6, m 6; 10 -> 12, m 6; 10 -> 12, m 4; a negative request gives m 1.
  for (const Case c : {Case{4, 5, 7}, Case{5, 10, 13}, Case{6, 10, 13}, Case{5, -3, 3}, Case{6, 0, 4}}) {
    const Polyline r = cubic(random_points(c.n, 1), c.n, c.wanted);
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.count, c.vertices) << c.n << " " << c.wanted;
    expect_numbered(r);
  }
}

// The curve record's matrix form of the same spline, at the same u = k/m of
// every segment, joins appended once.
TEST_F(CubicBSplinePolyline, VerticesLieOnTheUniformBSplineRecord) {
  const auto p = random_points(8, 2);
  const int16_t n = 8, wanted = 30;  // raised to 30, m = 6
  const Polyline r = cubic(p, n, wanted);
  ASSERT_EQ(r.count, 5 * 6 + 1);
  ll_list *ctrl = zvtest::make_polygon(p);
  zv_curve *curve = zv_def_ubspl_curve3d(ctrl);
  std::vector<zv_poly_3d *> nodes;
  for (ll_node *node = curve->ctrl_list->head; node; node = node->next) nodes.push_back(static_cast<zv_poly_3d *>(node->data));
  size_t v = 0;
  for (int seg = 0; seg < n - 3; ++seg) {
    for (int k = seg == 0 ? 0 : 1; k <= 6; ++k, ++v) {
      zv_pnt_3d at;
      zv_vector_3d t1, t2, nn;
      ASSERT_EQ(zv_eval_t_on_ucurve3d(curve, k / 6.0, &nodes[seg], &at, &t1, &t2, &nn), 0);
      expect_at(r.vertices[v], at, 1e-13);
    }
  }
  zv_purge_curve(curve);
  ll_purge_list(ctrl);
}

TEST_F(CubicBSplinePolyline, ConstantPolygonGivesThatPoint) {
  const std::vector<zv_pnt_3d> p(4, zv_pnt_3d{1.1, -2.7, 3.3});
  const Polyline r = cubic(p, 4, 9);
  for (const auto &v : r.vertices) expect_at(v, p[0], 4e-16 * 4);
}

// Regression: a request of 32767 wrapped while being raised.
TEST_F(CubicBSplinePolyline, LargestRequestDoesNotWrapAndCountWraps) {
  const Polyline r = cubic(random_points(4, 3), 4, 32767);  // raised to 32768 = m
  ASSERT_EQ(r.vertices.size(), 32769u);
  EXPECT_EQ(r.count, static_cast<int16_t>(-32767));
  EXPECT_EQ(r.vertices.back().index, static_cast<int16_t>(-32768));
}

// -------------------------------------------------- cubic: bad arguments

// Regression: n = 2 divided by zero; n < 4 has no segment.
TEST_F(CubicBSplinePolyline, FewerThanFourPointsAppendNothing) {
  for (int16_t n : {3, 2, 1, 0, -9}) {
    const Polyline r = cubic(random_points(4, 4), n, 10);
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.count, 0);
    EXPECT_TRUE(r.vertices.empty());
  }
}

// Regression: a stated count above the list's length walked off its end.
TEST_F(CubicBSplinePolyline, StatedCountBeyondTheListIsRefused) {
  const Polyline r = cubic(random_points(5, 5), 6, 10);
  EXPECT_EQ(r.rc, 1);
  EXPECT_EQ(r.count, 0);
  EXPECT_TRUE(r.vertices.empty());
}

TEST_F(CubicBSplinePolyline, MissingListsAndRefusedMemory) {
  ll_list *ctrl = zvtest::make_polygon(random_points(6, 6));
  int16_t wanted = 8;
  EXPECT_EQ(zv_bspline_3d(6, nullptr, &wanted, nullptr), 1);
  EXPECT_EQ(wanted, 8);
  EXPECT_EQ(zv_bspline_3d(6, ctrl, nullptr, nullptr), 1);
  EXPECT_EQ(zv_bspline_3d(6, ctrl, &wanted, nullptr), 0);  // private list, released
  EXPECT_EQ(wanted, 7);  // 8 stays, m = 8 / 3 = 2: 3 + 2 + 2
  const int16_t done = polytest::sweep_refusals(reports, "zv_bspline_3d", [&](ll_list *out, int16_t *count) {
    *count = 8;
    return zv_bspline_3d(6, ctrl, count, out);
  });
  EXPECT_EQ(done, 7);
  ll_purge_list(ctrl);
}

// ------------------------------------------------------------- quadratic

TEST_F(QuadBSplinePolyline, ThreePointsAtHalfStep) {
  const auto p = random_points(3, 7);
  const Polyline r = quadratic(p, 3, 6);
  ASSERT_EQ(r.rc, 0);
  ASSERT_EQ(r.count, 3);
  expect_numbered(r);
  expect_at(r.vertices[0], mix({{0.5, p[0]}, {0.5, p[1]}}), 1e-14);
  expect_at(r.vertices[1], mix({{0.125, p[0]}, {0.75, p[1]}, {0.125, p[2]}}), 1e-14);
  expect_at(r.vertices[2], mix({{0.5, p[1]}, {0.5, p[2]}}), 1e-14);
}

// Each segment's vertices follow the quadratic basis (1-t)^2/2,
// (1 + 2t - 2t^2)/2, t^2/2 at the accumulated steps; both ends of every
// segment are appended, so the joins appear twice in a row.
TEST_F(QuadBSplinePolyline, SegmentsFollowTheQuadraticBasisWithDoubledJoins) {
  const auto p = random_points(6, 8);
  const Polyline r = quadratic(p, 6, 4);
  ASSERT_EQ(r.count, 4 * 11);
  expect_numbered(r);
  for (int seg = 0; seg < 4; ++seg) {
    double t = 0.0;
    for (int i = 0; i < 11; ++i, t = t + 0.1) {
      const double b0 = (1 - t) * (1 - t) / 2, b2 = t * t / 2, b1 = 1 - b0 - b2;
      expect_at(r.vertices[seg * 11 + i], mix({{b0, p[seg]}, {b1, p[seg + 1]}, {b2, p[seg + 2]}}), 1e-13);
    }
    if (seg > 0) expect_at(r.vertices[seg * 11], {r.vertices[seg * 11 - 1].x, r.vertices[seg * 11 - 1].y,
                                                  r.vertices[seg * 11 - 1].z}, 1e-14);
  }
}

TEST_F(QuadBSplinePolyline, HalfStepJoinIsAppendedTwiceExactly) {
  const auto p = random_points(4, 14);
  const Polyline r = quadratic(p, 4, 6);
  ASSERT_EQ(r.count, 6);
  const zv_pnt_3d mid = mix({{0.5, p[1]}, {0.5, p[2]}});
  for (int i : {2, 3}) {
    EXPECT_EQ(r.vertices[i].x, mid.x);
    EXPECT_EQ(r.vertices[i].y, mid.y);
    EXPECT_EQ(r.vertices[i].z, mid.z);
  }
}

TEST_F(QuadBSplinePolyline, StepTableGivesPointsPerSegment) {
  const auto p = random_points(4, 9);
  const int per_segment[] = {101, 51, 26, 21, 11, 6, 3};
  for (int16_t mode = -2; mode <= 9; ++mode) {
    const int expected = mode >= 0 && mode <= 6 ? per_segment[mode] : 21;
    EXPECT_EQ(quadratic(p, 4, mode).count, 2 * expected) << mode;
  }
}

TEST_F(QuadBSplinePolyline, TwoPointsAreCopiedWithTheirIndexes) {
  ll_list *ctrl = zvtest::make_polygon(random_points(3, 10));
  static_cast<zv_poly_3d *>(ctrl->head->data)->index = 71;
  ll_list *out = ll_create_list();
  int16_t count = -1;
  EXPECT_EQ(zv_quad_bspline_3d(2, ctrl, 4, &count, out), 0);
  EXPECT_EQ(count, 2);
  const auto got = zvtest::vertices(out), src = zvtest::vertices(ctrl);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].index, 71);
  EXPECT_EQ(got[1].index, 1);
  EXPECT_EQ(got[1].z, src[1].z);
  ll_purge_list(out);
  ll_purge_list(ctrl);
}

// Regression: a stated count above the list's length walked off its end
// (n = 2 included).
TEST_F(QuadBSplinePolyline, BadCountsReturn33WithoutMessage) {
  for (int16_t n : {1, 0, -3, 5}) {
    const Polyline r = quadratic(random_points(4, 11), n, 4);
    EXPECT_EQ(r.rc, 33) << n;
    EXPECT_EQ(r.count, 0);
    EXPECT_TRUE(r.vertices.empty());
  }
  EXPECT_EQ(quadratic(random_points(1, 12), 2, 4).rc, 33);
  EXPECT_TRUE(reports.messages.empty());
}

TEST_F(QuadBSplinePolyline, MissingListsAndRefusedMemory) {
  ll_list *ctrl = zvtest::make_polygon(random_points(4, 13));
  int16_t count = -1;
  EXPECT_EQ(zv_quad_bspline_3d(4, nullptr, 4, &count, nullptr), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(zv_quad_bspline_3d(4, ctrl, 4, nullptr, nullptr), 0);
  EXPECT_EQ(zv_quad_bspline_3d(4, ctrl, 4, &count, nullptr), 0);  // private list, released
  EXPECT_EQ(count, 22);
  EXPECT_EQ(zv_quad_bspline_3d(2, ctrl, 4, &count, nullptr), 0);
  EXPECT_EQ(count, 2);
  for (int16_t n : {4, 2}) {
    const int16_t done = polytest::sweep_refusals(reports, "zv_quad_bspline_3d", [&](ll_list *out, int16_t *c) {
      return zv_quad_bspline_3d(n, ctrl, 4, c, out);
    });
    EXPECT_EQ(done, n == 4 ? 22 : 2);
  }
  ll_purge_list(ctrl);
}

}  // namespace
