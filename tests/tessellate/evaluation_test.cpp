// Array-form curve evaluation and the exported de Boor steps. Values: tests/peer; de Boor bad input: tests/reliability.
#include <rivezi3z/rivezi3z.hpp>

#include "spline_records.hpp"

namespace {

using zvtest::distance;

struct Record {  // over arrays it owns
  std::vector<double> ctrl, knots;
  zv_nurbs_3d rec;
  Record(int p, int dim, bool plain, std::vector<double> c, std::vector<double> k, bool planar = false)
      : ctrl(std::move(c)), knots(std::move(k)), rec{int16_t(ctrl.size() / dim - 1), int16_t(knots.size() - 1),
                                                     int16_t(p), plain, 1, 0, planar, int16_t(dim), ctrl.data(),
                                                     knots.data()} {}
};

struct Eval {
  zv_pnt_3d p, q, d1, d2;  // p from zv_eval_pointoncurve_3d; d2 stays (42, 42, 42) unless asked for
  int16_t status;
};

Eval eval(const Record &r, double t, int side = 1, int with_second = 1) {
  Eval e{{}, {}, {}, {42, 42, 42}, 0};
  EXPECT_EQ(zv_eval_pointoncurve_3d(&r.rec, t, &e.p), 0);
  EXPECT_EQ(zv_eval_derivsoncurve_3d(&r.rec, t, int16_t(side), int16_t(with_second), &e.q, &e.d1, &e.d2, &e.status), 0);
  return e;
}

// A rational cubic hits its end points exactly and goes on beyond them. A planar record
// ignores its stored z; plain dim 2 and homogeneous dim 3 have none (nor read x or w as z).
TEST(ArrayEvaluation, EndsBeyondTheEndsAndFlatRecords) {
  const std::vector<double> c = {0, 0, 0, 1, 2, 0, 3, 3, 1, 4, 0, 2, 6, 1, 0, 7, 4, 1};
  std::vector<double> h, xy, xyw, knots = {0, 0, 0, 0, 0.4, 0.6, 1, 1, 1, 1};
  for (size_t i = 0; i < c.size(); i += 3) {
    for (double v : {c[i], c[i + 1], c[i + 2], 1.0}) h.push_back(v * (1 + i / 3.0));
    xy.insert(xy.end(), {c[i], c[i + 1]}), xyw.insert(xyw.end(), {2 * c[i], 2 * c[i + 1], 2.0});
  }
  const Record r(3, 4, false, h, knots), flat(3, 3, true, c, knots, true), plain2(3, 2, true, xy, knots),
      rational3(3, 3, false, xyw, knots);
  const zv_pnt_3d first = eval(r, 0.0).p, last = eval(r, 1.0).p;
  EXPECT_TRUE(distance(first, {0, 0, 0}) == 0.0 && distance(last, {h[20] / h[23], h[21] / h[23], 1.0}) == 0.0);
  EXPECT_LT(std::max({distance(eval(r, 1.0 + 1e-9).p, last), distance(eval(r, -1e-9).q, first),
                      distance(eval(r, 3.0).q, eval(r, 3.0).p)}), 1e-6);
  EXPECT_TRUE(std::isnan(eval(r, NAN).p.x));
  for (const Record *z : {&flat, &plain2, &rational3})
    for (double t : {0.0, 0.3, 0.4, 0.77, 1.0}) {
      const Eval e = eval(*z, t), f = eval(flat, t);
      EXPECT_TRUE(e.p.z == 0.0 && e.q.z == 0.0 && e.d1.z == 0.0 && e.d2.z == 0.0) << t;
      EXPECT_TRUE(distance(e.q, f.q) < 1e-11 && distance(e.d2, f.d2) < 1e-9) << t;
    }
}

// Rows: copies of the knot 0.5 (0: none), with_second, the status there from either side; 0
// at the end knots. Any side but -1 counts as +1, any non-zero with_second as 1 (no overrun),
// 0 leaves d2 alone. Knots falling back at the end: the count up stops at the array (ASan).
TEST(ArrayEvaluation, StatusFollowsKnotMultiplicityAndFlagsAreNormalised) {
  const struct { size_t copies; int with_second, expected; } cases[] = {{1, 0, 0}, {1, 1, 0}, {2, 0, 0}, {2, 1, 2},
                                                                         {3, 0, 1}, {3, 1, 1}, {0, 1, 0}};
  for (const auto &c : cases) {
    std::vector<double> ctrl, knots(4, 0.0);
    knots.insert(knots.end(), c.copies, 0.5);
    if (!c.copies) knots.insert(knots.end(), {0.25, 0.75});
    for (size_t i = 0; i < knots.size(); ++i) ctrl.insert(ctrl.end(), {double(i), double(i * i % 5), 0});
    knots.insert(knots.end(), 4, 1.0);
    const Record r(3, 3, true, ctrl, knots);
    for (int side : {-1, 1, 0, 5})
      EXPECT_EQ(eval(r, 0.5, side, c.with_second).status, c.expected) << c.copies << " copies, side " << side;
    EXPECT_TRUE(eval(r, 0.0).status == 0 && eval(r, 1.0, -1).status == 0);
    for (int side : {0, 5, -2}) EXPECT_EQ(distance(eval(r, 0.5, side).d1, eval(r, 0.5, 1).d1), 0.0);
    EXPECT_TRUE(distance(eval(r, 0.3, 1, 5).d2, eval(r, 0.3).d2) == 0.0 &&
                distance(eval(r, 0.3, 1, -1).d2, eval(r, 0.3).d2) == 0.0 && eval(r, 0.3, 1, 0).d2.x == 42.0);
  }
  const Record bad(2, 2, true, {0, 0, 1, 1, 2, 0, 3, 1, 4, 0, 5, 1}, {0, 0, 0, 0.5, 0.5, 0.5, 0.5, 0.5, 0.25});
  EXPECT_TRUE(eval(bad, 0.5, -1).status >= 0 && eval(bad, 0.5, 1).status >= 0);
}

// Both evaluations of a plain cubic after spoil, at t, pointer null_one nulled (1 the record, 2 the
// point, 3 .. 5 d1, d2, status, which the point evaluation passes): their result, or 99 if not one or a refusal wrote.
using Spoil = void (*)(zv_nurbs_3d &);
long evaluate(Spoil spoil, double t = 0.5, int null_one = 0, int16_t with_second = 1) {
  double ctrl[] = {0, 0, 0, 1, 2, 0, 3, 2, 1, 4, 0, 1}, knots[] = {0, 0, 0, 0, 1, 1, 1, 1};
  zv_nurbs_3d rec{3, 7, 3, 1, 1, 0, 0, 3, ctrl, knots};
  spoil(rec);
  zv_pnt_3d p{7, 7, 7}, q{7, 7, 7}, d1{7, 7, 7}, d2{7, 7, 7};
  int16_t status = 9;
  const zv_nurbs_3d *r = null_one == 1 ? nullptr : &rec;
  const long point = zv_eval_pointoncurve_3d(r, t, null_one == 2 ? nullptr : &p);
  const long derivs = zv_eval_derivsoncurve_3d(r, t, 1, with_second, null_one == 2 ? nullptr : &q,
                                               null_one == 3 ? nullptr : &d1, null_one == 4 ? nullptr : &d2,
                                               null_one == 5 ? nullptr : &status);
  const bool wrote = (point != 0 && p.x != 7) || (derivs != 0 && (q.x != 7 || d1.x != 7 || d2.x != 7 || status != 9));
  return wrote || (null_one >= 3 ? point != 0 : point != derivs) ? 99 : derivs;
}

// Refused (1): a degree, dim, array or count the record cannot hold, any null pointer but an
// unasked-for d2. NaN or falling knots and NaN t are no refusal and must not trap.
TEST(ArrayEvaluation, BadInputs) {
  using R = zv_nurbs_3d;
  const Spoil keep = [](R &) {}, refused[] = {
      [](R &r) { r.degree = 0; }, [](R &r) { r.degree = 8; }, [](R &r) { r.dim = 4; }, [](R &r) { r.dim = 1; },
      [](R &r) { r.plain = 0, r.dim = 2; }, [](R &r) { r.ctrl_pts = nullptr; }, [](R &r) { r.knots = nullptr; },
      [](R &r) { r.last_knot = 40; }, [](R &r) { r.last_knot = -3; }, [](R &r) { r.last_ctrl = 2, r.last_knot = 6; }};
  for (size_t i = 0; i < std::size(refused); ++i) EXPECT_EQ(evaluate(refused[i]), 1) << "spoil " << i;
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(evaluate(keep, 0.5, k), 1) << "null " << k;
  EXPECT_EQ(evaluate([](R &r) { std::fill_n(r.knots, 8, NAN); }), 0);
  EXPECT_EQ(evaluate([](R &r) { for (int i = 0; i < 8; ++i) r.knots[i] = -i; }), 0);
  EXPECT_TRUE(evaluate(keep, NAN) == 0 && evaluate(keep, 0.5, 4, 0) == 0);
}

// A Bezier span of the highest degree against the Bernstein sum, plain and rational.
TEST(DeBoorEvaluation, TheHighestDegree) {
  const int16_t p = ZV_MAX_DEBOOR_DEGREE;
  const zvtest::Spline s = zvtest::random_spline(p + 1, p, 129, true);
  const auto list = rivezi3z::polygon(s.points);
  std::vector<zv_poly_3d *> w;
  for (zv_poly_3d &v : list) w.push_back(&v);
  zv_pnt_3d plain{}, rational{};
  ASSERT_TRUE(zv_deboor_3d(0.37, p, w.data(), s.knots.data() + 1, &plain) == 0 &&
              zv_rat_deboor_3d(0.37, p, w.data(), s.weights.data(), s.knots.data() + 1, &rational) == 0);
  EXPECT_LE(distance(plain, zvtest::bernstein_point(s.points, {}, 0.37)), 1e-11 * zvtest::scale_of(s.points));
  EXPECT_LE(distance(rational, zvtest::bernstein_point(s.points, s.weights, 0.37)), 1e-11 * zvtest::scale_of(s.points));
}

}  // namespace
