// Bezier polylines: the factorial, the two Horner forms against the plain
// Bernstein sum, the 30-point cap, the short-polygon copies, and the list
// form's numbering, list bounds, private list and refused memory.
#include <cmath>
#include <limits>

#include "polyline_testing.hpp"

namespace {

using polytest::random_points;
using zvtest::KernelTest;

std::vector<zv_pnt_3d> sample_array(const std::vector<zv_pnt_3d> &p, int16_t m, int16_t n) {
  std::vector<zv_pnt_3d> out(std::max<int>(n, 0) + 3, {-99, -99, -99});
  EXPECT_EQ(zv_beziercurve3d(p.data(), m, n, out.data()), 0);
  return out;
}

void expect_point(const zv_pnt_3d &a, const zv_pnt_3d &b, double tol) {
  EXPECT_NEAR(a.x, b.x, tol);
  EXPECT_NEAR(a.y, b.y, tol);
  EXPECT_NEAR(a.z, b.z, tol);
}

void expect_same(const zvtest::Vertex &v, const zv_pnt_3d &p) {
  EXPECT_EQ(v.x, p.x);
  EXPECT_EQ(v.y, p.y);
  EXPECT_EQ(v.z, p.z);
}

class BezierPolyline : public KernelTest {};

// ------------------------------------------------------------- factorial

TEST_F(BezierPolyline, FactorialTableProductAndLimits) {
  EXPECT_EQ(zv_bez_factorial3(0), 1.0);
  EXPECT_EQ(zv_bez_factorial3(13), 6227020800.0);
  EXPECT_EQ(zv_bez_factorial3(-5), 1.0);
  // Past the table each value is the product rounded once more: n (n-1)!.
  for (int16_t n = 14; n <= 171; ++n) EXPECT_EQ(zv_bez_factorial3(n), n * zv_bez_factorial3(n - 1)) << n;
  EXPECT_TRUE(std::isfinite(zv_bez_factorial3(170)));
  EXPECT_EQ(zv_bez_factorial3(171), std::numeric_limits<double>::infinity());
  EXPECT_EQ(zv_bez_factorial3(200), std::numeric_limits<double>::infinity());
}

// Regression: an int16 loop counter wrapped at 32767 and never ended.
TEST_F(BezierPolyline, FactorialOfLargestCountEnds) {
  EXPECT_EQ(zv_bez_factorial3(32767), std::numeric_limits<double>::infinity());
}

// ------------------------------------------------------- samples (array)

TEST_F(BezierPolyline, ParabolaSamplesAtClosedFormPoints) {
  const std::vector<zv_pnt_3d> p = {{0, 0, 0}, {1, 2, 0}, {2, 0, 0}};
  auto out = sample_array(p, 3, 3);
  expect_point(out[0], {0, 0, 0}, 0);
  expect_point(out[1], {1, 1, 0}, 1e-15);
  expect_point(out[2], {2, 0, 0}, 0);
  out = sample_array(p, 3, 5);  // t = 0.25 k: (2t, 4t(1 - t), 0)
  for (int i = 0; i < 5; ++i) expect_point(out[i], {0.5 * i, i * (4 - i) / 4.0, 0}, 1e-15);
}

// Both Horner forms, on either side of the split at 0.5000001, agree with
// the plain Bernstein sum at every degree the cap allows.
TEST_F(BezierPolyline, EverySampleMatchesTheBernsteinSum) {
  for (int m = 3; m <= 30; ++m) {
    const auto p = random_points(m, 100 + m);
    const int16_t n = 41;  // t = 0.5 and 0.75 among the samples
    const auto out = sample_array(p, m, n);
    for (int i = 0; i < n; ++i) {
      const zv_pnt_3d ref = polytest::bernstein(p, static_cast<long double>(i * zv_inverse(n - 1)));
      expect_point(out[i], ref, 1e-13);  // coordinates up to 10
    }
    EXPECT_EQ(out[n].x, -99) << "wrote past n samples";
  }
}

TEST_F(BezierPolyline, OnlyThirtyPointsTakePart) {
  auto p = random_points(40, 8);
  for (int k = 30; k < 40; ++k) p[k] = {NAN, NAN, NAN};
  const auto out = sample_array(p, 40, 20);
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(std::isfinite(out[i].x + out[i].y + out[i].z)) << i;
  expect_point(out[19], p[29], 1e-12);
}

TEST_F(BezierPolyline, ShortPolygonsAreCopiedWhateverTheSampleCount) {
  const auto p = random_points(3, 9);
  for (int16_t m : {2, 1, 0, -4}) {
    const auto out = sample_array(p, m, 17);
    for (int k = 0; k < 3; ++k) {
      if (k < m) {
        expect_point(out[k], p[k], 0);
      } else {
        EXPECT_EQ(out[k].x, -99) << m;
      }
    }
  }
}

TEST_F(BezierPolyline, NoSamplesAndMissingArrays) {
  const auto p = random_points(4, 10);
  EXPECT_EQ(sample_array(p, 4, 0)[0].x, -99);
  EXPECT_EQ(sample_array(p, 4, -3)[0].x, -99);
  zv_pnt_3d out[4];
  EXPECT_EQ(zv_beziercurve3d(nullptr, 4, 4, out), 0);
  EXPECT_EQ(zv_beziercurve3d(p.data(), 4, 4, nullptr), 0);
}

// Regression: one sample stepped by 1/0 and came out NaN.
TEST_F(BezierPolyline, SingleSampleIsTheFirstControlPoint) {
  const auto p = random_points(6, 11);
  expect_point(sample_array(p, 6, 1)[0], p[0], 0);
}

// -------------------------------------------------------------- list form

TEST_F(BezierPolyline, ListFormNumbersSamplesAndMatchesArrayForm) {
  const auto p = random_points(9, 12);
  ll_list *polygon = zvtest::make_polygon(p);
  ll_list *out = ll_create_list();
  ASSERT_EQ(zv_bezier_curve_3d(polygon, 9, 25, out), 0);
  const auto arr = sample_array(p, 9, 25);
  const auto got = zvtest::vertices(out);
  ASSERT_EQ(got.size(), 25u);
  for (int i = 0; i < 25; ++i) {
    EXPECT_EQ(got[i].index, i);
    expect_same(got[i], arr[i]);
  }
  // The last walk (upwards, t near 1) ended on P(d).
  EXPECT_EQ(polygon->current->data, polygon->tail->data);
  ll_purge_list(out);
  ll_purge_list(polygon);
}

TEST_F(BezierPolyline, ListFormWithTwoSamplesGivesTheEnds) {
  const auto p = random_points(5, 13);
  ll_list *polygon = zvtest::make_polygon(p);
  ll_list *out = ll_create_list();
  ASSERT_EQ(zv_bezier_curve_3d(polygon, 5, 2, out), 0);
  const auto got = zvtest::vertices(out);
  ASSERT_EQ(got.size(), 2u);
  expect_same(got[0], p[0]);
  expect_same(got[1], p[4]);
  ll_purge_list(out);
  ll_purge_list(polygon);
}

// Regression: a stated count above what the list holds (or above 30 for a
// longer list) walked from the list's far end with coefficient indexes
// outside the 30-entry table.
TEST_F(BezierPolyline, ListFormUsesOnlyPointsTheListHoldsUpToThirty) {
  struct Case {
    int held;
    int16_t stated;
    int used;
  };
  for (const Case c : {Case{5, 20, 5}, Case{40, 40, 30}, Case{40, 12, 12}, Case{2, 9, 2}}) {
    auto p = random_points(c.held, 14 + c.held);
    ll_list *polygon = zvtest::make_polygon(p);
    ll_list *out = ll_create_list();
    ASSERT_EQ(zv_bezier_curve_3d(polygon, c.stated, 15, out), 0);
    const auto arr = sample_array(p, c.used, 15);
    const auto got = zvtest::vertices(out);
    ASSERT_EQ(got.size(), c.used < 3 ? size_t(c.used) : 15u) << c.held;
    for (size_t i = 0; i < got.size(); ++i) expect_same(got[i], arr[i]);
    ll_purge_list(out);
    ll_purge_list(polygon);
  }
}

TEST_F(BezierPolyline, ListFormCopiesShortPolygonsWithTheirIndexes) {
  ll_list *polygon = zvtest::make_polygon(random_points(4, 15));
  int16_t index = 40;
  for (ll_node *n = polygon->head; n; n = n->next) static_cast<zv_poly_3d *>(n->data)->index = index++;
  ll_list *out = ll_create_list();
  ASSERT_EQ(zv_bezier_curve_3d(polygon, 2, 99, out), 0);
  const auto got = zvtest::vertices(out);
  const auto src = zvtest::vertices(polygon);
  ASSERT_EQ(got.size(), 2u);
  for (int k = 0; k < 2; ++k) {
    EXPECT_EQ(got[k].index, 40 + k);
    EXPECT_EQ(got[k].x, src[k].x);
  }
  ll_purge_list(out);
  ll_purge_list(polygon);
}

TEST_F(BezierPolyline, ListFormMissingListsAndRefusedMemory) {
  ll_list *polygon = zvtest::make_polygon(random_points(7, 16));
  EXPECT_EQ(zv_bezier_curve_3d(nullptr, 7, 10, nullptr), 0);
  EXPECT_EQ(zv_bezier_curve_3d(polygon, 7, 10, nullptr), 0);  // private list, released
  EXPECT_EQ(zv_bezier_curve_3d(polygon, 2, 10, nullptr), 0);
  for (int16_t m : {7, 2}) {
    const int16_t done = polytest::sweep_refusals(reports, "zv_bezier_curve_3d", [&](ll_list *out, int16_t *count) {
      const int16_t rc = zv_bezier_curve_3d(polygon, m, 10, out);
      *count = static_cast<int16_t>(ll_list_length(out));
      return rc;
    });
    EXPECT_EQ(done, m == 7 ? 10 : 2);
  }
  ll_purge_list(polygon);
}

}  // namespace
