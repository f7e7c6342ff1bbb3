// Catmull-Rom polyline: counts and numbering, the curve through its
// interior control points, agreement with the uniform Catmull-Rom record,
// tension 0, the step table, the two-point copy, bad counts with their
// message, missing lists and refused memory.
#include <cmath>

#include "polyline_testing.hpp"

namespace {

using polytest::expect_at;
using polytest::expect_numbered;
using polytest::Polyline;
using polytest::random_points;
using zvtest::KernelTest;

Polyline catrom(const std::vector<zv_pnt_3d> &p, int16_t n, int16_t mode, double s) {
  return polytest::run_on(p, -7, [=](ll_list *ctrl, int16_t *count, ll_list *out) {
    return zv_catrom_curve_3d(n, ctrl, mode, s, count, out);
  });
}

void expect_exactly(const zvtest::Vertex &v, const zv_pnt_3d &p) {
  EXPECT_EQ(v.x, p.x);
  EXPECT_EQ(v.y, p.y);
  EXPECT_EQ(v.z, p.z);
}

const zvtest::Message kBadCount{"BADCNT", 33, "zv_catrom_curve_3d"};

class CatmullRomPolyline : public KernelTest {};

// ---------------------------------------------------- counts and the curve

TEST_F(CatmullRomPolyline, OneSegmentFromP1ToP2) {
  const auto p = random_points(4, 1);
  const Polyline r = catrom(p, 4, 4, 0.5);
  ASSERT_EQ(r.rc, 0);
  ASSERT_EQ(r.count, 11);
  expect_numbered(r);
  expect_exactly(r.vertices.front(), p[1]);
  expect_exactly(r.vertices.back(), p[2]);
}

// The spline interpolates P1 .. P(n-2): every segment starts on its P1,
// the last vertex is the last window's P2.
TEST_F(CatmullRomPolyline, PassesThroughInteriorControlPoints) {
  for (double s : {0.5, 0.0, 1.3}) {
    const auto p = random_points(9, 2);
    const Polyline r = catrom(p, 9, 3, s);
    ASSERT_EQ(r.count, 6 * 20 + 1);
    for (int j = 0; j < 6; ++j) expect_exactly(r.vertices[j * 20], p[j + 1]);
    expect_exactly(r.vertices.back(), p[7]);
  }
}

TEST_F(CatmullRomPolyline, HalfStepGivesControlPointsAndMidpoints) {
  const auto p = random_points(5, 3);
  const Polyline r = catrom(p, 5, 6, 0.5);
  ASSERT_EQ(r.count, 5);
  // Catmull-Rom at t = 1/2: (-P0 + 9 P1 + 9 P2 - P3) / 16.
  for (int seg = 0; seg < 2; ++seg) {
    const zv_pnt_3d *w = &p[seg];
    expect_exactly(r.vertices[2 * seg], w[1]);
    expect_at(r.vertices[2 * seg + 1],
              {(-w[0].x + 9 * w[1].x + 9 * w[2].x - w[3].x) / 16, (-w[0].y + 9 * w[1].y + 9 * w[2].y - w[3].y) / 16,
               (-w[0].z + 9 * w[1].z + 9 * w[2].z - w[3].z) / 16},
              1e-14);
  }
  expect_exactly(r.vertices[4], p[3]);
}

// At tension 1/2 the polyline lies on the uniform Catmull-Rom record's
// curve, evaluated by its basis matrix at the same accumulated t.
TEST_F(CatmullRomPolyline, MatchesTheUniformCatmullRomRecord) {
  const auto p = random_points(7, 4);
  const Polyline r = catrom(p, 7, 4, 0.5);
  ll_list *ctrl = zvtest::make_polygon(p);
  zv_curve *curve = zv_def_ucatrom_curve3d(ctrl);
  std::vector<zv_poly_3d *> nodes;
  for (ll_node *n = curve->ctrl_list->head; n; n = n->next) nodes.push_back(static_cast<zv_poly_3d *>(n->data));
  for (int seg = 0; seg < 4; ++seg) {
    double t = 0.0;
    for (int i = 0; i < 10; ++i, t = t + 0.1) {
      zv_pnt_3d at;
      zv_vector_3d d1, d2, nn;
      ASSERT_EQ(zv_eval_t_on_ucurve3d(curve, t, &nodes[seg], &at, &d1, &d2, &nn), 0);
      expect_at(r.vertices[seg * 10 + i], at, 1e-13);
    }
  }
  zv_purge_curve(curve);
  ll_purge_list(ctrl);
}

// Tension 0: b0 = b3 = 0 and b1 + b2 = 1, so every vertex lies on the
// chord P1-P2 of its segment, moving from P1 towards P2.
TEST_F(CatmullRomPolyline, TensionZeroStaysOnTheChords) {
  const auto p = random_points(6, 5);
  const Polyline r = catrom(p, 6, 2, 0.0);
  ASSERT_EQ(r.count, 3 * 25 + 1);
  for (int seg = 0; seg < 3; ++seg) {
    const zv_pnt_3d a = p[seg + 1], b = p[seg + 2];
    double last = -1.0;
    for (int i = 0; i < 25; ++i) {
      const auto &v = r.vertices[seg * 25 + i];
      const double f = ((v.x - a.x) * (b.x - a.x) + (v.y - a.y) * (b.y - a.y) + (v.z - a.z) * (b.z - a.z)) /
                       ((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) + (b.z - a.z) * (b.z - a.z));
      expect_at(v, {a.x + f * (b.x - a.x), a.y + f * (b.y - a.y), a.z + f * (b.z - a.z)}, 1e-13);
      EXPECT_GT(f, last);
      last = f;
    }
  }
}

TEST_F(CatmullRomPolyline, StepTableGivesPointsPerSegment) {
  const auto p = random_points(5, 6);
  const int per_segment[] = {100, 50, 25, 20, 10, 5, 2};
  for (int16_t mode = -2; mode <= 9; ++mode) {
    const int expected = mode >= 0 && mode <= 6 ? per_segment[mode] : 20;
    EXPECT_EQ(catrom(p, 5, mode, 0.5).count, 2 * expected + 1) << mode;
  }
}

// ------------------------------------------------ two points, bad counts

TEST_F(CatmullRomPolyline, TwoPointsAreCopiedWithTheirIndexes) {
  ll_list *ctrl = zvtest::make_polygon(random_points(2, 7));
  static_cast<zv_poly_3d *>(ctrl->tail->data)->index = -12;
  ll_list *out = ll_create_list();
  int16_t count = -1;
  EXPECT_EQ(zv_catrom_curve_3d(2, ctrl, 4, 0.5, &count, out), 0);
  EXPECT_EQ(count, 2);
  const auto got = zvtest::vertices(out), src = zvtest::vertices(ctrl);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].index, 0);
  EXPECT_EQ(got[1].index, -12);
  EXPECT_EQ(got[1].y, src[1].y);
  ll_purge_list(out);
  ll_purge_list(ctrl);
}

// Regression: the two-point path neither tested ctrl nor made a list for a
// null out, and dereferenced both.
TEST_F(CatmullRomPolyline, TwoPointPathWithMissingLists) {
  ll_list *ctrl = zvtest::make_polygon(random_points(2, 8));
  int16_t count = -1;
  EXPECT_EQ(zv_catrom_curve_3d(2, nullptr, 4, 0.5, &count, nullptr), 1);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(zv_catrom_curve_3d(2, ctrl, 4, 0.5, &count, nullptr), 0);  // private list, released
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(reports.messages.empty());
  ll_purge_list(ctrl);
}

// Regression: a stated count above the list's length walked off its end.
TEST_F(CatmullRomPolyline, BadCountsReportBadcnt) {
  for (int16_t n : {3, 1, 0, -4, 7}) {
    reports.messages.clear();
    const Polyline r = catrom(random_points(6, 9), n, 4, 0.5);
    EXPECT_EQ(r.rc, 33) << n;
    EXPECT_EQ(r.count, 0);
    EXPECT_TRUE(r.vertices.empty());
    EXPECT_EQ(reports.messages, std::vector<zvtest::Message>{kBadCount}) << n;
  }
  reports.messages.clear();
  EXPECT_EQ(catrom(random_points(1, 10), 2, 4, 0.5).rc, 33);
  EXPECT_EQ(reports.messages, std::vector<zvtest::Message>{kBadCount});
}

TEST_F(CatmullRomPolyline, MissingListsAndRefusedMemory) {
  ll_list *ctrl = zvtest::make_polygon(random_points(5, 11));
  int16_t count = -1;
  EXPECT_EQ(zv_catrom_curve_3d(4, nullptr, 4, 0.5, &count, nullptr), 1);
  EXPECT_EQ(zv_catrom_curve_3d(4, ctrl, 4, 0.5, nullptr, nullptr), 1);
  EXPECT_TRUE(reports.messages.empty());
  EXPECT_EQ(zv_catrom_curve_3d(5, ctrl, 4, 0.5, &count, nullptr), 0);  // private list, released
  EXPECT_EQ(count, 21);
  for (int16_t n : {5, 2}) {
    const int16_t done = polytest::sweep_refusals(reports, "zv_catrom_curve_3d", [&](ll_list *out, int16_t *c) {
      return zv_catrom_curve_3d(n, ctrl, 4, 0.5, c, out);
    });
    EXPECT_EQ(done, n == 5 ? 21 : 2);
  }
  ll_purge_list(ctrl);
}

}  // namespace
