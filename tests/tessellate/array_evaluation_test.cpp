// Point and derivative evaluation of array-form curves: the clamped ends
// and beyond, z of planar and two-coordinate records, the side and second-
// derivative flags, and the continuity status at repeated knots. Values,
// one-sided ones included, against SISL and Open CASCADE are in tests/peer.
#include "bad_inputs.hpp"

#include <cmath>
#include <limits>

namespace {

using zvtest::BadInput;
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

// Clamped knots on [0, 1] with the given interior values.
std::vector<double> clamped(int p, const std::vector<double> &interior) {
  std::vector<double> k(p + 1, 0.0);
  k.insert(k.end(), interior.begin(), interior.end());
  k.insert(k.end(), p + 1, 1.0);
  return k;
}

struct Eval {
  zv_pnt_3d q, d1, d2;
  int16_t status;
};

Eval derivs(const Record &r, double t, int side = 1, int with_second = 1) {
  Eval e{};
  EXPECT_EQ(zv_eval_derivsoncurve_3d(&r.rec, t, static_cast<int16_t>(side), static_cast<int16_t>(with_second), &e.q,
                                     &e.d1, &e.d2, &e.status), 0);
  return e;
}

zv_pnt_3d point(const Record &r, double t) {
  zv_pnt_3d q{kNaN, kNaN, kNaN};
  EXPECT_EQ(zv_eval_pointoncurve_3d(&r.rec, t, &q), 0);
  return q;
}

double gap(const zv_pnt_3d &a, const zv_pnt_3d &b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }

const std::vector<double> kCubic = {0, 0, 0, 1, 2, 0, 3, 3, 1, 4, 0, 2, 6, 1, 0, 7, 4, 1};  // 6 plain points

TEST(ArrayEvaluation, EndKnotsAreTheEndPointsExactlyAndBeyondTheEndSpansGoOn) {
  std::vector<double> homogeneous;  // weights 1 .. 6
  for (size_t i = 0; i < kCubic.size(); i += 3)
    for (double c : {kCubic[i], kCubic[i + 1], kCubic[i + 2], 1.0}) homogeneous.push_back(c * (1 + i / 3.0));
  const Record r(3, 4, false, homogeneous, clamped(3, {0.4, 0.6}));
  const zv_pnt_3d first = point(r, 0.0), last = point(r, 1.0);
  EXPECT_EQ(gap(first, {0, 0, 0}), 0.0);
  EXPECT_EQ(zvtest::value(last.x), homogeneous[20] / homogeneous[23]);
  EXPECT_EQ(zvtest::value(last.y), homogeneous[21] / homogeneous[23]);
  EXPECT_LT(gap(point(r, 1.0 + 1e-9), last), 1e-6);
  EXPECT_LT(gap(point(r, -1e-9), first), 1e-6);
  EXPECT_LT(gap(derivs(r, 3.0).q, point(r, 3.0)), 1e-9);
  EXPECT_TRUE(std::isnan(point(r, kNaN).x));
}

// A planar record ignores its stored z; plain dim 2 and homogeneous dim 3
// records have no z to read (neither the next point's x nor the weight).
TEST(ArrayEvaluation, PlanarAndTwoCoordinateRecordsGiveZeroZ) {
  std::vector<double> xy, xyw;
  for (size_t i = 0; i < kCubic.size(); i += 3) {
    xy.insert(xy.end(), {kCubic[i], kCubic[i + 1]});
    xyw.insert(xyw.end(), {2 * kCubic[i], 2 * kCubic[i + 1], 2.0});
  }
  const Record flat(3, 3, true, kCubic, clamped(3, {0.4, 0.6}), true), plain2(3, 2, true, xy, clamped(3, {0.4, 0.6})),
      rational3(3, 3, false, xyw, clamped(3, {0.4, 0.6}));
  for (const Record *r : {&flat, &plain2, &rational3}) {
    for (double t : {0.0, 0.3, 0.4, 0.77, 1.0}) {
      const Eval e = derivs(*r, t), f = derivs(flat, t);
      EXPECT_EQ(zvtest::value(e.q.z) + zvtest::value(e.d1.z) + zvtest::value(e.d2.z) + zvtest::value(point(*r, t).z), 0.0);
      EXPECT_LT(gap(e.q, f.q) + gap(e.d1, f.d1) * 1e-1 + gap(e.d2, f.d2) * 1e-2, 1e-11);
    }
  }
}

TEST(ArrayEvaluation, StatusFollowsKnotMultiplicityAndFlagsAreNormalised) {
  const struct {
    size_t copies;
    int with_second, expected;
  } cases[] = {{1, 0, 0}, {1, 1, 0}, {2, 0, 0}, {2, 1, 2}, {3, 0, 1}, {3, 1, 1}, {0, 1, 0}};
  for (const auto &c : cases) {
    std::vector<double> ctrl, interior(c.copies, 0.5);
    if (c.copies == 0) interior = {0.25, 0.75};  // 0.5 is not a knot
    for (size_t i = 0; i < 4 + interior.size(); ++i) ctrl.insert(ctrl.end(), {double(i), double(i * i % 5), 0});
    const Record r(3, 3, true, ctrl, clamped(3, interior));
    for (int side : {-1, 1, 0, 5})
      EXPECT_EQ(derivs(r, 0.5, side, c.with_second).status, c.expected) << c.copies << " copies, side " << side;
    // Any side but -1 counts as +1; any non-zero with_second as 1 (a larger
    // one must not overrun the basis table); with_second 0 leaves d2 alone.
    for (int side : {0, 5, -2}) EXPECT_EQ(gap(derivs(r, 0.5, side).d1, derivs(r, 0.5, 1).d1), 0.0);
    EXPECT_EQ(gap(derivs(r, 0.3, 1, 5).d2, derivs(r, 0.3, 1, 1).d2) + gap(derivs(r, 0.3, 1, -1).d2, derivs(r, 0.3).d2), 0.0);
    zv_pnt_3d q{}, d1{}, d2{42, 42, 42};
    int16_t status = 0;
    ASSERT_EQ(zv_eval_derivsoncurve_3d(&r.rec, 0.3, 1, 0, &q, &d1, &d2, &status), 0);
    EXPECT_EQ(zvtest::value(d2.x), 42);
  }
  // Knots that fall back at the end: counting the multiplicity upwards
  // must stop at the array's end (ASan guards this).
  const Record bad(2, 2, true, {0, 0, 1, 1, 2, 0, 3, 1, 4, 0, 5, 1}, {0, 0, 0, 0.5, 0.5, 0.5, 0.5, 0.5, 0.25});
  for (int side : {-1, 1}) EXPECT_GE(derivs(bad, 0.5, side).status, 0);
}

// A plain cubic over four points in 3D, spoiled by spoil(rec), evaluated by
// both functions: their common result, or 99 when they differ or a refusal
// wrote an output.
template <class Spoil>
long evaluate(Spoil spoil, double t = 0.5) {
  double ctrl[] = {0, 0, 0, 1, 2, 0, 3, 2, 1, 4, 0, 1};
  double knots[] = {0, 0, 0, 0, 1, 1, 1, 1};
  zv_nurbs_3d rec{3, 7, 3, 1, 1, 0, 0, 3, ctrl, knots};
  spoil(rec);
  zv_pnt_3d q{7, 7, 7}, d1{7, 7, 7}, d2{7, 7, 7};
  int16_t status = 9;
  const long point = zv_eval_pointoncurve_3d(&rec, t, &q);
  const long derivs = zv_eval_derivsoncurve_3d(&rec, t, 1, 1, &q, &d1, &d2, &status);
  if (point != derivs) return 99;
  if (point != 0 && q.x + d1.x + d2.x + status != 7 + 7 + 7 + 9) return 99;
  return point;
}

// zv_eval_derivsoncurve_3d with one pointer nulled: 1 record, 2 point,
// 3 first derivative, 4 second, 5 status.
long null_derivs(int null_one, int16_t with_second = 1) {
  double ctrl[] = {0, 0, 1, 1, 2, 0};
  double knots[] = {0, 0, 0, 1, 1, 1};
  const zv_nurbs_3d rec{2, 5, 2, 1, 1, 0, 1, 2, ctrl, knots};
  zv_pnt_3d q, d1, d2;
  int16_t status;
  return zv_eval_derivsoncurve_3d(null_one == 1 ? nullptr : &rec, 0.5, 1, with_second, null_one == 2 ? nullptr : &q,
                                  null_one == 3 ? nullptr : &d1, null_one == 4 ? nullptr : &d2,
                                  null_one == 5 ? nullptr : &status);
}

TEST_F(ArrayEvaluationInputs, BadInputTable) {
  const std::vector<BadInput> rows = {
      {"both", "degree 0", [] { return evaluate([](zv_nurbs_3d &r) { r.degree = 0; }); }, 1},
      {"both", "degree 8", [] { return evaluate([](zv_nurbs_3d &r) { r.degree = 8; }); }, 1},
      {"both", "degree -32768", [] { return evaluate([](zv_nurbs_3d &r) { r.degree = -32768; }); }, 1},
      {"both", "plain dim 4", [] { return evaluate([](zv_nurbs_3d &r) { r.dim = 4; }); }, 1},
      {"both", "plain dim 1", [] { return evaluate([](zv_nurbs_3d &r) { r.dim = 1; }); }, 1},
      {"both", "homogeneous dim 2", [] { return evaluate([](zv_nurbs_3d &r) { r.plain = 0, r.dim = 2; }); }, 1},
      {"both", "null control points", [] { return evaluate([](zv_nurbs_3d &r) { r.ctrl_pts = nullptr; }); }, 1},
      {"both", "null knots", [] { return evaluate([](zv_nurbs_3d &r) { r.knots = nullptr; }); }, 1},
      {"both", "last knot too large", [] { return evaluate([](zv_nurbs_3d &r) { r.last_knot = 40; }); }, 1},
      {"both", "last knot negative", [] { return evaluate([](zv_nurbs_3d &r) { r.last_knot = -3; }); }, 1},
      {"both", "last control point -32768", [] { return evaluate([](zv_nurbs_3d &r) { r.last_ctrl = -32768; }); }, 1},
      {"both", "fewer points than the degree needs", [] { return evaluate([](zv_nurbs_3d &r) { r.last_ctrl = 2, r.last_knot = 6; }); }, 1},
      {"both", "NaN t: no refusal, no trap", [] { return evaluate([](zv_nurbs_3d &) {}, kNaN); }, 0},
      {"both", "NaN knots: no refusal, no trap", [] {
         return evaluate([](zv_nurbs_3d &r) { for (int i = 0; i < 8; ++i) r.knots[i] = kNaN; });
       }, 0},
      {"both", "falling knots: no trap", [] {
         return evaluate([](zv_nurbs_3d &r) { for (int i = 0; i < 8; ++i) r.knots[i] = -i; });
       }, 0},
      {"zv_eval_pointoncurve_3d", "null record", [] { zv_pnt_3d q; return zv_eval_pointoncurve_3d(nullptr, 0.5, &q); }, 1},
      {"zv_eval_pointoncurve_3d", "null result", [] {
         double c[] = {0, 0, 1, 1}, k[] = {0, 0, 1, 1};
         const zv_nurbs_3d rec{1, 3, 1, 1, 1, 0, 1, 2, c, k};
         return zv_eval_pointoncurve_3d(&rec, 0.5, nullptr);
       }, 1},
      {"zv_eval_derivsoncurve_3d", "null record", [] { return null_derivs(1); }, 1},
      {"zv_eval_derivsoncurve_3d", "null point", [] { return null_derivs(2); }, 1},
      {"zv_eval_derivsoncurve_3d", "null first derivative", [] { return null_derivs(3); }, 1},
      {"zv_eval_derivsoncurve_3d", "null second derivative asked for", [] { return null_derivs(4); }, 1},
      {"zv_eval_derivsoncurve_3d", "null second derivative not asked for", [] { return null_derivs(4, 0); }, 0},
      {"zv_eval_derivsoncurve_3d", "null status", [] { return null_derivs(5); }, 1},
  };
  zvtest::check_bad_inputs(reports, rows);
}

}  // namespace
