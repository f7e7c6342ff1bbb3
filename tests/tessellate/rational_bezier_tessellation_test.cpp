// The rational Bezier tessellator: samples against the closed form of the
// rational curve through P(k) at k/n, the degree argument against the
// record's, the result codes in order, short weight lists and a missing
// vertex list.
#include "spline_records.hpp"

namespace {

// Sum of w(k) L_k(t) P(k) over sum of w(k) L_k(t), L_k the Lagrange
// polynomials of the nodes k/n.
zv_pnt_3d closed_form(const std::vector<zv_pnt_3d> &p, const std::vector<double> &w, double t) {
  const int n = static_cast<int>(p.size()) - 1;
  double x = 0, y = 0, z = 0, sum = 0;
  for (int k = 0; k <= n; ++k) {
    double l = 1.0;
    for (int j = 0; j <= n; ++j)
      if (j != k) l *= (t - double(j) / n) / (double(k) / n - double(j) / n);
    x += w[k] * l * p[k].x, y += w[k] * l * p[k].y, z += w[k] * l * p[k].z, sum += w[k] * l;
  }
  return {x / sum, y / sum, z / sum};
}

zv_curve *make(const std::vector<zv_pnt_3d> &p, const std::vector<double> &w, const std::vector<double> &ts, int16_t degree) {
  zv_curve *curve = zv_create_curve();
  EXPECT_EQ(zv_def_ratbezier_curve3d(zvtest::make_polygon(p), zvtest::make_reals(ts), zvtest::make_reals(w), degree, curve), 0);
  return curve;
}

class RationalBezier : public zvtest::KernelTest {};

TEST_F(RationalBezier, SamplesFollowTheRationalCurveThroughEachControlPoint) {
  for (unsigned seed = 0; seed < 16; ++seed) {
    const int n = 1 + seed % 8;
    const zvtest::Spline s = zvtest::random_spline(n + 1, 0, seed, seed % 2 == 1);
    std::vector<double> ts;
    for (int k = 0; k <= n; ++k) ts.push_back(double(k) / n);
    ts.insert(ts.end(), {0.13, 0.5, 0.91});
    zvtest::Record curve(make(s.points, s.weights, ts, static_cast<int16_t>(n)));
    ll_set_list_currpntr(curve->ctrl_list, LL_LAST);
    ASSERT_EQ(zv_mk_rat_bezier_3d(curve.get(), 0), 0);
    EXPECT_EQ(curve->ctrl_list->current, curve->ctrl_list->tail);  // cursors left where they were
    const auto v = zvtest::positions(curve->vertex_list);
    ASSERT_EQ(v.size(), ts.size());
    EXPECT_EQ(zvtest::indices(curve->vertex_list)[ts.size() - 1], static_cast<int>(ts.size()) - 1);
    for (size_t i = 0; i < v.size(); ++i) {
      EXPECT_LE(zvtest::distance(v[i], closed_form(s.points, s.weights, ts[i])), 1e-11 * zvtest::scale_of(s.points));
      if (i <= static_cast<size_t>(n)) {
        EXPECT_LE(zvtest::distance(v[i], s.points[i]), 1e-12 * zvtest::scale_of(s.points));  // through P(k) at k/n
      }
    }
    EXPECT_EQ(ll_list_length(curve->stats_list), 0);  // no statistics records
  }
}

// The degree argument, else the record's; a second run numbers from 0 again.
TEST_F(RationalBezier, DegreeArgumentOrTheRecordsAndRepeatedRuns) {
  zvtest::Record curve(make({{0, 0, 0}, {1, 0, 0}, {5, 0, 0}}, {1, 1, 1}, {0, 0.5, 1}, 2));
  ASSERT_EQ(zv_mk_rat_bezier_3d(curve.get(), 0), 0);  // the record's degree 2
  ASSERT_EQ(zv_mk_rat_bezier_3d(curve.get(), 1), 0);  // degree 1 over the first two points
  const auto v = zvtest::vertices(curve->vertex_list);
  ASSERT_EQ(v.size(), 6u);
  EXPECT_TRUE(v[1].x == 1.0 && v[2].x == 5.0 && v[4].x == 0.5 && v[5].x == 1.0);
  EXPECT_EQ(zvtest::indices(curve->vertex_list), (std::vector<int>{0, 1, 2, 0, 1, 2}));
}

TEST_F(RationalBezier, MissingWeightsCountAsOneAndANullVertexListIsMade) {
  const std::vector<zv_pnt_3d> p = {{0, 1, 2}, {3, -1, 0}, {4, 4, 4}};
  zvtest::Record curve(make(p, {2, 1, 1}, {0.3, 0.8}, 2));
  ll_purge_list(curve->weight_list);
  curve->weight_list = zvtest::make_reals({2});
  ll_purge_list(curve->vertex_list);
  curve->vertex_list = nullptr;
  ASSERT_EQ(zv_mk_rat_bezier_3d(curve.get(), 0), 0);
  const auto v = zvtest::positions(curve->vertex_list);
  ASSERT_EQ(v.size(), 2u);
  EXPECT_LE(zvtest::distance(v[1], closed_form(p, {2, 1, 1}, 0.8)), 1e-13);
}

}  // namespace
