// The rational Bezier tessellator: samples against the closed form of the
// rational curve through P(k) at k/n, the result codes in order, and what
// it does with short lists and refused memory.
#include <cmath>

#include "spline_records.hpp"

namespace {

using zvtest::KernelTest;

// The closed form: sum of w(k) L_k(t) P(k) over sum of w(k) L_k(t), L_k the
// Lagrange polynomials of the nodes k/n.
zv_pnt_3d closed_form(const std::vector<zv_pnt_3d> &p, const std::vector<double> &w, double t) {
  const int n = static_cast<int>(p.size()) - 1;
  double x = 0, y = 0, z = 0, sum = 0;
  for (int k = 0; k <= n; ++k) {
    double l = 1.0;
    for (int j = 0; j <= n; ++j)
      if (j != k) l *= (t - double(j) / n) / (double(k) / n - double(j) / n);
    x += w[k] * l * p[k].x;
    y += w[k] * l * p[k].y;
    z += w[k] * l * p[k].z;
    sum += w[k] * l;
  }
  return {x / sum, y / sum, z / sum};
}

class RationalBezier : public KernelTest {
 protected:
  // A record of the given points, weights and sample parameters.
  zv_curve *make(const std::vector<zv_pnt_3d> &p, const std::vector<double> &w,
                 const std::vector<double> &ts, int16_t degree) {
    zv_curve *curve = zv_create_curve();
    EXPECT_EQ(zv_def_ratbezier_curve3d(zvtest::make_polygon(p), zvtest::make_reals(ts), zvtest::make_reals(w),
                                       degree, curve),
              0);
    return curve;
  }
};

// ------------------------------------------------------------ closed form

TEST_F(RationalBezier, SamplesFollowTheRationalCurveThroughEachControlPoint) {
  for (unsigned seed = 0; seed < 16; ++seed) {
    const int n = 1 + seed % 8;
    const zvtest::Spline s = zvtest::random_spline(n + 1, 0, seed, seed % 2 == 1);
    std::vector<double> ts;
    for (int k = 0; k <= n; ++k) ts.push_back(double(k) / n);
    for (double t : {0.13, 0.5, 0.91}) ts.push_back(t);
    zv_curve *curve = make(s.points, s.weights, ts, static_cast<int16_t>(n));
    ASSERT_EQ(zv_mk_rat_bezier_3d(curve, 0), 0);
    const auto v = zvtest::vertices(curve->vertex_list);
    ASSERT_EQ(v.size(), ts.size());
    const double tol = 1e-12 * zvtest::scale_of(s.points);
    for (size_t i = 0; i < v.size(); ++i) {
      EXPECT_EQ(v[i].index, static_cast<int>(i));
      const zv_pnt_3d ref = closed_form(s.points, s.weights, ts[i]);
      EXPECT_NEAR(v[i].x, ref.x, tol) << "n " << n << " t " << ts[i];
      EXPECT_NEAR(v[i].z, ref.z, tol);
      if (i <= static_cast<size_t>(n)) {
        EXPECT_NEAR(v[i].y, s.points[i].y, tol);  // through P(k) at k/n
      }
    }
    EXPECT_EQ(ll_list_length(curve->stats_list), 0);  // no statistics records
    zv_purge_curve(curve);
  }
}

TEST_F(RationalBezier, DegreeOneIsTheWeightedLinearBlend) {
  zv_curve *curve = make({{0, 0, 0}, {10, 4, 2}}, {1, 3}, {0.25}, 1);
  ASSERT_EQ(zv_mk_rat_bezier_3d(curve, 0), 0);
  const auto v = zvtest::vertices(curve->vertex_list);
  const double a = 0.75 * 1, b = 0.25 * 3;  // (1 - t) w0, t w1
  EXPECT_DOUBLE_EQ(v[0].x, b * 10 / (a + b));
  EXPECT_DOUBLE_EQ(v[0].y, b * 4 / (a + b));
  zv_purge_curve(curve);
}

// ------------------------------------------------------ degree and codes

TEST_F(RationalBezier, DegreeArgumentOrTheRecordsAndCodesInOrder) {
  zv_curve *curve = make({{0, 0, 0}, {1, 0, 0}, {5, 0, 0}}, {1, 1, 1}, {0, 0.5, 1}, 2);
  EXPECT_EQ(zv_mk_rat_bezier_3d(curve, 16), 4);
  curve->degree = 0;
  EXPECT_EQ(zv_mk_rat_bezier_3d(curve, 0), 4);  // neither gives a degree
  EXPECT_EQ(zv_mk_rat_bezier_3d(curve, 3), 1);  // 3 points are too few for degree 3
  curve->degree = 2;
  ASSERT_EQ(zv_mk_rat_bezier_3d(curve, 0), 0);  // the record's degree 2
  ASSERT_EQ(zv_mk_rat_bezier_3d(curve, 1), 0);  // degree 1 over the first two points
  const auto v = zvtest::vertices(curve->vertex_list);
  ASSERT_EQ(v.size(), 6u);
  EXPECT_EQ(v[1].x, 1.0);  // through x = 0, 1, 5 at 0, 1/2, 1
  EXPECT_EQ(v[2].x, 5.0);
  EXPECT_EQ(v[3].index, 0);  // the second run numbers from 0 again
  EXPECT_EQ(v[4].x, 0.5);
  EXPECT_EQ(v[5].x, 1.0);

  ll_list *knots = curve->knot_list, *weights = curve->weight_list;
  curve->weight_list = nullptr;
  EXPECT_EQ(zv_mk_rat_bezier_3d(curve, 0), 3);
  curve->knot_list = nullptr;
  EXPECT_EQ(zv_mk_rat_bezier_3d(curve, 0), 2);
  ll_list *ctrl = curve->ctrl_list;
  curve->ctrl_list = nullptr;
  EXPECT_EQ(zv_mk_rat_bezier_3d(curve, 0), 1);
  EXPECT_EQ(zv_mk_rat_bezier_3d(nullptr, 2), 1);
  curve->ctrl_list = ctrl;
  curve->weight_list = weights;
  ll_purge_list(knots);
  curve->knot_list = ll_create_list();
  EXPECT_EQ(zv_mk_rat_bezier_3d(curve, 0), 5);  // no parameter
  EXPECT_EQ(ll_list_length(curve->vertex_list), 6);
  zv_purge_curve(curve);
}

// -------------------------------------------------------- lists and memory

TEST_F(RationalBezier, MissingWeightsCountAsOneAndANullVertexListIsMade) {
  const std::vector<zv_pnt_3d> p = {{0, 1, 2}, {3, -1, 0}, {4, 4, 4}};
  zv_curve *curve = make(p, {2, 1, 1}, {0.3, 0.8}, 2);
  ll_purge_list(curve->weight_list);
  curve->weight_list = zvtest::make_reals({2});
  ll_purge_list(curve->vertex_list);
  curve->vertex_list = nullptr;
  ASSERT_EQ(zv_mk_rat_bezier_3d(curve, 0), 0);
  const auto v = zvtest::vertices(curve->vertex_list);
  ASSERT_EQ(v.size(), 2u);
  const zv_pnt_3d ref = closed_form(p, {2, 1, 1}, 0.8);
  EXPECT_NEAR(v[1].x, ref.x, 1e-13);
  EXPECT_NEAR(v[1].y, ref.y, 1e-13);
  zv_purge_curve(curve);
}

TEST_F(RationalBezier, RefusedMemoryKeepsWhatWasAppended) {
  zv_curve *curve = make({{0, 0, 0}, {1, 1, 1}}, {1, 1}, {0, 0.5, 1}, 1);
  zv_fail_alloc_after(3);  // two vertices with their nodes, then the third record
  EXPECT_EQ(zv_mk_rat_bezier_3d(curve, 0), -1);
  zv_fail_alloc_after(-1);
  EXPECT_EQ(reports.memerrs, std::vector<std::string>{"zv_mk_rat_bezier_3d"});
  EXPECT_EQ(ll_list_length(curve->vertex_list), 1);
  zv_purge_curve(curve);
}

// Zero blended weights and non-finite parameters give non-finite points.
TEST_F(RationalBezier, DegenerateWeightsAndParametersNeverCrash) {
  zv_curve *curve = make({{0, 0, 0}, {1, 1, 1}}, {1, -1}, {0.5, NAN, INFINITY}, 1);
  ASSERT_EQ(zv_mk_rat_bezier_3d(curve, 0), 0);
  for (const auto &v : zvtest::vertices(curve->vertex_list)) EXPECT_FALSE(std::isfinite(v.x));
  zv_purge_curve(curve);
}

}  // namespace
