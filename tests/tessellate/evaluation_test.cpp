// Evaluation of array-form curves (the clamped ends and beyond, z of planar
// and two-coordinate records, the side and second-derivative flags, the
// continuity status at repeated knots, bad input) and the two exported de
// Boor steps (the Bernstein sum on Bezier knots up to the highest degree, an
// exact rational circle, the basis-function sum, degenerate windows). Values
// against SISL and Open CASCADE are in tests/peer.
#include "bad_inputs.hpp"
#include "spline_records.hpp"

namespace {

using zvtest::kNaN;
using ArrayEvaluationInputs = zvtest::KernelTest;

// A record over arrays the test owns.
struct Record {
  std::vector<double> ctrl, knots;
  zv_nurbs_3d rec{};
  Record(int p, int dim, bool plain, std::vector<double> c, std::vector<double> k, bool planar = false)
      : ctrl(std::move(c)), knots(std::move(k)) {
    rec = {static_cast<int16_t>(ctrl.size() / dim - 1), static_cast<int16_t>(knots.size() - 1), static_cast<int16_t>(p),
           plain, 1, 0, planar, static_cast<int16_t>(dim), ctrl.data(), knots.data()};
  }
};

// Cubic clamped knots on [0, 1] around the given interior values.
std::vector<double> clamped(std::vector<double> k) {
  k.insert(k.begin(), 4, 0.0), k.insert(k.end(), 4, 1.0);
  return k;
}

struct Eval {
  zv_pnt_3d q, d1, d2;
  int16_t status;
};

Eval derivs(const Record &r, double t, int side = 1, int with_second = 1) {
  Eval e{};
  EXPECT_EQ(zv_eval_derivsoncurve_3d(&r.rec, t, int16_t(side), int16_t(with_second), &e.q, &e.d1, &e.d2, &e.status), 0);
  return e;
}

zv_pnt_3d point(const Record &r, double t) {
  zv_pnt_3d q{kNaN, kNaN, kNaN};
  EXPECT_EQ(zv_eval_pointoncurve_3d(&r.rec, t, &q), 0);
  return q;
}

double gap(const zv_pnt_3d &a, const zv_pnt_3d &b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }

// A rational cubic (weights 1 .. 6) hits its end points exactly and goes on
// beyond them; NaN gives NaN. A planar record ignores its stored z; plain
// dim 2 and homogeneous dim 3 records have no z to read (neither the next
// point's x nor the weight) and give the planar record's values.
TEST(ArrayEvaluation, EndsBeyondTheEndsAndFlatRecords) {
  const std::vector<double> c = {0, 0, 0, 1, 2, 0, 3, 3, 1, 4, 0, 2, 6, 1, 0, 7, 4, 1}, knots = clamped({0.4, 0.6});
  std::vector<double> h, xy, xyw;
  for (size_t i = 0; i < c.size(); i += 3) {
    for (double v : {c[i], c[i + 1], c[i + 2], 1.0}) h.push_back(v * (1 + i / 3.0));
    xy.insert(xy.end(), {c[i], c[i + 1]}), xyw.insert(xyw.end(), {2 * c[i], 2 * c[i + 1], 2.0});
  }
  const Record r(3, 4, false, h, knots), flat(3, 3, true, c, knots, true), plain2(3, 2, true, xy, knots),
      rational3(3, 3, false, xyw, knots);
  const zv_pnt_3d first = point(r, 0.0), last = point(r, 1.0);
  EXPECT_TRUE(gap(first, {0, 0, 0}) == 0.0 && zvtest::value(last.x) == h[20] / h[23] &&
              zvtest::value(last.y) == h[21] / h[23]);
  EXPECT_LT(gap(point(r, 1.0 + 1e-9), last) + gap(point(r, -1e-9), first) + gap(derivs(r, 3.0).q, point(r, 3.0)), 1e-6);
  EXPECT_TRUE(std::isnan(point(r, kNaN).x));
  for (const Record *z : {&flat, &plain2, &rational3}) {
    for (double t : {0.0, 0.3, 0.4, 0.77, 1.0}) {
      const Eval e = derivs(*z, t), f = derivs(flat, t);
      EXPECT_EQ(zvtest::value(e.q.z) + zvtest::value(e.d1.z) + zvtest::value(e.d2.z) + zvtest::value(point(*z, t).z),
                0.0);
      EXPECT_LT(gap(e.q, f.q) + gap(e.d1, f.d1) * 1e-1 + gap(e.d2, f.d2) * 1e-2, 1e-11);
    }
  }
}

// Rows: copies of the knot 0.5 (0: not a knot), with_second, the status.
TEST(ArrayEvaluation, StatusFollowsKnotMultiplicityAndFlagsAreNormalised) {
  const struct {
    size_t copies;
    int with_second, expected;
  } cases[] = {{1, 0, 0}, {1, 1, 0}, {2, 0, 0}, {2, 1, 2}, {3, 0, 1}, {3, 1, 1}, {0, 1, 0}};
  for (const auto &c : cases) {
    std::vector<double> ctrl, interior(c.copies, 0.5);
    if (c.copies == 0) interior = {0.25, 0.75};
    for (size_t i = 0; i < 4 + interior.size(); ++i) ctrl.insert(ctrl.end(), {double(i), double(i * i % 5), 0});
    const Record r(3, 3, true, ctrl, clamped(interior));
    for (int side : {-1, 1, 0, 5})
      EXPECT_EQ(derivs(r, 0.5, side, c.with_second).status, c.expected) << c.copies << " copies, side " << side;
    // Any side but -1 counts as +1; any non-zero with_second as 1 (a larger
    // one must not overrun the basis table); with_second 0 leaves d2 alone.
    for (int side : {0, 5, -2}) EXPECT_EQ(gap(derivs(r, 0.5, side).d1, derivs(r, 0.5, 1).d1), 0.0);
    EXPECT_EQ(gap(derivs(r, 0.3, 1, 5).d2, derivs(r, 0.3, 1, 1).d2) + gap(derivs(r, 0.3, 1, -1).d2, derivs(r, 0.3).d2),
              0.0);
    zv_pnt_3d q{}, d1{}, d2{42, 42, 42};
    int16_t status = 0;
    ASSERT_EQ(zv_eval_derivsoncurve_3d(&r.rec, 0.3, 1, 0, &q, &d1, &d2, &status), 0);
    EXPECT_EQ(zvtest::value(d2.x), 42);
  }
  // Knots that fall back at the end: counting the multiplicity upwards
  // must stop at the array's end (ASan guards this).
  const Record bad(2, 2, true, {0, 0, 1, 1, 2, 0, 3, 1, 4, 0, 5, 1}, {0, 0, 0, 0.5, 0.5, 0.5, 0.5, 0.5, 0.25});
  EXPECT_GE(derivs(bad, 0.5, -1).status + derivs(bad, 0.5, 1).status, 0);
}

// Both evaluations of a plain cubic over four points, spoiled by spoil, at t
// with one pointer nulled (1 the record, 2 the point, 3 .. 5 the derivative
// evaluation's d1, d2 and status, which the point evaluation must pass): their
// common result, or 99 when they differ or a refusal wrote an output.
long evaluate(void (*spoil)(zv_nurbs_3d &), double t, int null_one, int16_t with_second) {
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
  const bool wrote = (point != 0 && p.x != 7) || (derivs != 0 && q.x + d1.x + d2.x + status != 7 + 7 + 7 + 9);
  return wrote || (null_one >= 3 ? point != 0 : point != derivs) ? 99 : derivs;
}

// Rows: a spoiled record or a null pointer, the result; NaN and falling
// knots are no refusal and must not trap.
TEST_F(ArrayEvaluationInputs, BadInputTable) {
  using R = zv_nurbs_3d;
  using Spoil = void (*)(R &);
  const Spoil keep = [](R &) {};
  const struct {
    const char *input;
    long expected;
    Spoil spoil;
    double t = 0.5;
    int null_one = 0;
    int16_t with_second = 1;
  } rows[] = {
      {"degree 0", 1, [](R &r) { r.degree = 0; }}, {"degree 8", 1, [](R &r) { r.degree = 8; }},
      {"degree -32768", 1, [](R &r) { r.degree = -32768; }}, {"plain dim 4", 1, [](R &r) { r.dim = 4; }},
      {"plain dim 1", 1, [](R &r) { r.dim = 1; }}, {"homogeneous dim 2", 1, [](R &r) { r.plain = 0, r.dim = 2; }},
      {"null control points", 1, [](R &r) { r.ctrl_pts = nullptr; }},
      {"null knots", 1, [](R &r) { r.knots = nullptr; }},
      {"last knot 40", 1, [](R &r) { r.last_knot = 40; }}, {"last knot -3", 1, [](R &r) { r.last_knot = -3; }},
      {"last control point -32768", 1, [](R &r) { r.last_ctrl = -32768; }},
      {"fewer points than the degree needs", 1, [](R &r) { r.last_ctrl = 2, r.last_knot = 6; }},
      {"NaN knots", 0, [](R &r) { for (int i = 0; i < 8; ++i) r.knots[i] = kNaN; }},
      {"falling knots", 0, [](R &r) { for (int i = 0; i < 8; ++i) r.knots[i] = -i; }}, {"NaN t", 0, keep, kNaN},
      {"null record", 1, keep, 0.5, 1}, {"null point", 1, keep, 0.5, 2}, {"null first derivative", 1, keep, 0.5, 3},
      {"null second derivative asked for", 1, keep, 0.5, 4}, {"null status", 1, keep, 0.5, 5},
      {"null second derivative not asked for", 0, keep, 0.5, 4, 0},
  };
  std::vector<zvtest::BadInput> bad;
  for (const auto &r : rows)
    bad.push_back({"zv_eval_pointoncurve_3d, zv_eval_derivsoncurve_3d", r.input,
                   [r] { return evaluate(r.spoil, r.t, r.null_one, r.with_second); }, r.expected});
  zvtest::check_bad_inputs(reports, bad);
}

// p + 1 vertex records and the pointer array the de Boor steps take.
struct Window {
  std::vector<zv_poly_3d> records;
  std::vector<zv_poly_3d *> pointers;
  explicit Window(const std::vector<zv_pnt_3d> &points) {
    for (const auto &q : points) records.push_back({0, q.x, q.y, q.z});
    for (auto &r : records) pointers.push_back(&r);
  }
};

// Rows 0 .. 4 are one Bezier span up to the highest degree, against the
// Bernstein sum; the others span 1 of a random curve, against the basis
// sum. Equal weights give the plain point.
TEST(DeBoorEvaluation, PlainAndRationalAgreeWithTheBernsteinAndBasisSums) {
  const int bezier_degrees[] = {1, 2, 5, 15, ZV_MAX_DEBOOR_DEGREE};
  for (int row = 0; row < 25; ++row) {
    const bool bezier = row < 5;
    const int p = bezier ? bezier_degrees[row] : 1 + row % 7, span = bezier ? 0 : 1;
    const zvtest::Spline s = zvtest::random_spline(bezier ? p + 1 : 2 * p + 3, p, 100 + row, true);
    zvtest::Spline flat = s;
    flat.weights.assign(s.n(), 1.0);
    Window w({s.points.begin() + span, s.points.begin() + span + p + 1});
    const std::vector<double> equal(p + 1, 2.5), weights(s.weights.begin() + span, s.weights.begin() + span + p + 1);
    const double *u = s.knots.data() + span + 1, tol = 1e-11 * zvtest::scale_of(s.points);
    for (double f : {0.0, 0.37, 0.75, 1.0}) {
      const double t = u[p - 1] + f * (u[p] - u[p - 1]);
      zv_pnt_3d plain{}, same{}, rational{};
      ASSERT_EQ(zv_deboor_3d(t, p, w.pointers.data(), u, &plain) +
                    zv_rat_deboor_3d(t, p, w.pointers.data(), equal.data(), u, &same) +
                    zv_rat_deboor_3d(t, p, w.pointers.data(), weights.data(), u, &rational),
                0);
      EXPECT_LE(zvtest::distance(same, plain), 1e-13 * zvtest::scale_of(s.points)) << row << " " << f;
      EXPECT_LE(
          zvtest::distance(plain, bezier ? zvtest::bernstein_point(s.points, {}, t) : zvtest::basis_point(flat, t)),
          tol);
      EXPECT_LE(zvtest::distance(rational,
                                 bezier ? zvtest::bernstein_point(s.points, s.weights, t) : zvtest::basis_point(s, t)),
                tol)
          << row << " " << f;
    }
  }
}

// A rational quadratic quarter circle stays on the circle; meeting knots
// and opposite weights give non-finite values, not crashes.
TEST(DeBoorEvaluation, ExactCircleAndDegenerateWindows) {
  Window quarter({{1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
  const double weights[] = {1, std::sqrt(0.5), 1}, knots[] = {0, 0, 1, 1};
  for (double t = 0; t <= 1.0; t += 1.0 / 16) {
    zv_pnt_3d q{};
    ASSERT_EQ(zv_rat_deboor_3d(t, 2, quarter.pointers.data(), weights, knots, &q), 0);
    EXPECT_NEAR(std::hypot(q.x, q.y), 1.0, 1e-15) << t;
  }
  Window w({{1, 2, 3}, {4, 5, 6}});
  const double meeting[] = {0.5, 0.5}, unit[] = {0, 1}, opposite[] = {1, -1};
  zv_pnt_3d q{}, r{};
  EXPECT_EQ(zv_deboor_3d(0.5, 1, w.pointers.data(), meeting, &q) +
                zv_rat_deboor_3d(0.5, 1, w.pointers.data(), opposite, unit, &r), 0);
  EXPECT_FALSE(std::isfinite(q.x) || std::isfinite(r.x));
  // Rows: t, p, the window, weights, knots and result pointers, the plain
  // and the rational result; a refusal leaves the result untouched.
  zv_poly_3d *const gap_window[] = {w.pointers[0], nullptr};
  zv_poly_3d *const *points = w.pointers.data();
  const struct {
    double t;
    int16_t p;
    zv_poly_3d *const *points;
    const double *weights, *knots;
    bool result;
    int16_t plain, rational;
  } codes[] = {{-1e-7, 1, points, opposite, unit, true, 0, 0},     {-2e-7, 1, points, opposite, unit, true, 2, 2},
               {kNaN, 1, points, opposite, unit, true, 2, 2},      {0.5, -1, points, opposite, unit, true, 3, 3},
               {0.5, 30, points, opposite, unit, true, 3, 3},      {0.5, 1, nullptr, opposite, unit, true, 3, 3},
               {0.5, 1, gap_window, opposite, unit, true, 3, 3},   {0.5, 1, points, opposite, nullptr, true, 3, 3},
               {0.5, 1, points, nullptr, unit, true, 0, 3},        {0.5, 1, points, opposite, unit, false, 3, 3}};
  for (const auto &c : codes) {
    zv_pnt_3d a{7, 7, 7}, b{7, 7, 7};
    EXPECT_EQ(zv_deboor_3d(c.t, c.p, c.points, c.knots, c.result ? &a : nullptr), c.plain) << c.t << " " << c.p;
    EXPECT_EQ(zv_rat_deboor_3d(c.t, c.p, c.points, c.weights, c.knots, c.result ? &b : nullptr), c.rational) << c.p;
    EXPECT_TRUE((c.plain == 0 || a.x == 7) && (c.rational == 0 || b.x == 7));
  }
}

}  // namespace
