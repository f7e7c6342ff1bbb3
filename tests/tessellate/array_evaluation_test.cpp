// Point and derivative evaluation of array-form curves: record checks,
// the clamped ends, z of planar and two-coordinate records, rational
// against plain, derivatives against finite differences, and the
// continuity status at repeated knots. Values against SISL and Open
// CASCADE, one-sided ones included, are in tests/peer.
#include "zv_testing.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A record over arrays the test owns.
struct Record {
  std::vector<double> ctrl;
  std::vector<double> knots;
  zv_nurbs_3d rec{};

  Record(int p, int dim, bool plain, std::vector<double> c, std::vector<double> k, bool planar = false)
      : ctrl(std::move(c)), knots(std::move(k)) {
    rec.degree = static_cast<int16_t>(p);
    rec.dim = static_cast<int16_t>(dim);
    rec.plain = plain ? 1 : 0;
    rec.planar = planar ? 1 : 0;
    rec.last_ctrl = static_cast<int16_t>(ctrl.size() / dim - 1);
    rec.last_knot = static_cast<int16_t>(knots.size() - 1);
    rec.ctrl_pts = ctrl.data();
    rec.knots = knots.data();
  }
};

// Clamped knots with the given interior values, for n + 1 control points.
std::vector<double> clamped(int p, const std::vector<double> &interior) {
  std::vector<double> k(p + 1, 0.0);
  k.insert(k.end(), interior.begin(), interior.end());
  k.insert(k.end(), p + 1, 1.0);
  return k;
}

// A random rational (or plain) record: degree p, clamped knots with some
// interior values, weights in 0.5..2, homogeneous coordinates.
Record random_record(std::mt19937 &rng, int p, bool plain, int points) {
  std::uniform_real_distribution<double> coord(-5.0, 5.0);
  std::uniform_real_distribution<double> weight(0.5, 2.0);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<double> interior(points - p - 1);
  for (double &v : interior) v = unit(rng);
  std::sort(interior.begin(), interior.end());
  const int dim = plain ? 3 : 4;
  std::vector<double> ctrl;
  for (int i = 0; i < points; ++i) {
    const double w = plain ? 1.0 : weight(rng);
    for (int c = 0; c < 3; ++c) ctrl.push_back(coord(rng) * w);
    if (!plain) ctrl.push_back(w);
  }
  return Record(p, dim, plain, ctrl, clamped(p, interior));
}

struct Eval {
  zv_pnt_3d q, d1, d2;
  int16_t status;
};

Eval derivs(const Record &r, double t, int side = 1, int with_second = 1) {
  Eval e{};
  EXPECT_EQ(zv_eval_derivsoncurve_3d(&r.rec, t, static_cast<int16_t>(side), static_cast<int16_t>(with_second), &e.q,
                                     &e.d1, &e.d2, &e.status),
            0);
  return e;
}

zv_pnt_3d point(const Record &r, double t) {
  zv_pnt_3d q{kNaN, kNaN, kNaN};
  EXPECT_EQ(zv_eval_pointoncurve_3d(&r.rec, t, &q), 0);
  return q;
}

double distance(const zv_pnt_3d &a, const zv_pnt_3d &b) {
  return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

double norm(const zv_pnt_3d &a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

zv_pnt_3d difference(const zv_pnt_3d &a, const zv_pnt_3d &b, double h) {
  return {(a.x - b.x) / h, (a.y - b.y) / h, (a.z - b.z) / h};
}

const std::vector<double> kCubic = {0, 0, 0, 1, 2, 0, 3, 3, 1, 4, 0, 2, 6, 1, 0, 7, 4, 1};  // 6 plain points

// ------------------------------------------------- unusable records and arguments

TEST(ArrayEvaluation, UnusableRecordsAndNullOutputsReturnOneAndWriteNothing) {
  const Record good(3, 3, true, kCubic, clamped(3, {0.4, 0.6}));
  struct Case {
    const char *what;
    void (*spoil)(zv_nurbs_3d &);
  };
  const Case cases[] = {
      {"degree 0", [](zv_nurbs_3d &r) { r.degree = 0; }},
      {"degree 8", [](zv_nurbs_3d &r) { r.degree = 8; }},
      {"plain dim 4", [](zv_nurbs_3d &r) { r.dim = 4; }},
      {"plain dim 1", [](zv_nurbs_3d &r) { r.dim = 1; }},
      {"homogeneous dim 2", [](zv_nurbs_3d &r) { r.plain = 0, r.dim = 2; }},
      {"null ctrl_pts", [](zv_nurbs_3d &r) { r.ctrl_pts = nullptr; }},
      {"null knots", [](zv_nurbs_3d &r) { r.knots = nullptr; }},
      {"last_knot too large", [](zv_nurbs_3d &r) { r.last_knot = 40; }},
      {"last_knot negative", [](zv_nurbs_3d &r) { r.last_knot = -3; }},
      {"fewer points than the degree needs", [](zv_nurbs_3d &r) { r.last_ctrl = 2, r.last_knot = 6; }},
  };
  for (const Case &c : cases) {
    zv_nurbs_3d rec = good.rec;
    c.spoil(rec);
    zv_pnt_3d q{7, 7, 7}, d1{7, 7, 7}, d2{7, 7, 7};
    int16_t status = 9;
    EXPECT_EQ(zv_eval_pointoncurve_3d(&rec, 0.5, &q), 1) << c.what;
    EXPECT_EQ(zv_eval_derivsoncurve_3d(&rec, 0.5, 1, 1, &q, &d1, &d2, &status), 1) << c.what;
    EXPECT_EQ(q.x + d1.x + d2.x + status, 7 + 7 + 7 + 9) << c.what;
  }
  zv_pnt_3d q{}, d{};
  int16_t status = 0;
  EXPECT_EQ(zv_eval_pointoncurve_3d(nullptr, 0.5, &q), 1);
  EXPECT_EQ(zv_eval_pointoncurve_3d(&good.rec, 0.5, nullptr), 1);
  EXPECT_EQ(zv_eval_derivsoncurve_3d(nullptr, 0.5, 1, 0, &q, &d, &d, &status), 1);
  EXPECT_EQ(zv_eval_derivsoncurve_3d(&good.rec, 0.5, 1, 0, nullptr, &d, &d, &status), 1);
  EXPECT_EQ(zv_eval_derivsoncurve_3d(&good.rec, 0.5, 1, 0, &q, nullptr, &d, &status), 1);
  EXPECT_EQ(zv_eval_derivsoncurve_3d(&good.rec, 0.5, 1, 0, &q, &d, &d, nullptr), 1);
  EXPECT_EQ(zv_eval_derivsoncurve_3d(&good.rec, 0.5, 1, 1, &q, &d, nullptr, &status), 1);
  EXPECT_EQ(zv_eval_derivsoncurve_3d(&good.rec, 0.5, 1, 0, &q, &d, nullptr, &status), 0);  // d2 unused
}

// ------------------------------------------------- domain ends and coordinates

TEST(ArrayEvaluation, EndKnotsGiveEndControlPointsExactly) {
  std::mt19937 rng(11);
  const Record r = random_record(rng, 4, false, 9);
  const double *c = r.ctrl.data();
  const zv_pnt_3d first = point(r, 0.0);
  const zv_pnt_3d last = point(r, 1.0);
  EXPECT_EQ(zvtest::value(first.x), c[0] / c[3]);
  EXPECT_EQ(zvtest::value(first.z), c[2] / c[3]);
  EXPECT_EQ(zvtest::value(last.y), c[8 * 4 + 1] / c[8 * 4 + 3]);
  // Outside the knot range the end span's polynomial goes on: no jump, no
  // read outside the arrays.
  EXPECT_LT(distance(point(r, 1.0 + 1e-9), last), 1e-6);
  EXPECT_LT(distance(point(r, -1e-9), first), 1e-6);
  EXPECT_LT(distance(derivs(r, 3.0).q, point(r, 3.0)), 1e-9);
  EXPECT_TRUE(std::isnan(point(r, kNaN).x));
}

TEST(ArrayEvaluation, PlanarAndTwoCoordinateRecordsGiveZeroZ) {
  // Plain dim 3 marked planar: the stored z is ignored everywhere.
  const Record flat(3, 3, true, kCubic, clamped(3, {0.4, 0.6}), true);
  // Plain dim 2 and homogeneous dim 3 not marked planar: there is no z to
  // read (neither the next point's x nor the weight becomes z).
  std::vector<double> xy, xyw;
  for (std::size_t i = 0; i < kCubic.size(); i += 3) {
    xy.insert(xy.end(), {kCubic[i], kCubic[i + 1]});
    xyw.insert(xyw.end(), {2 * kCubic[i], 2 * kCubic[i + 1], 2.0});
  }
  const Record plain2(3, 2, true, xy, clamped(3, {0.4, 0.6}));
  const Record rational3(3, 3, false, xyw, clamped(3, {0.4, 0.6}));
  for (const Record *r : {&flat, &plain2, &rational3}) {
    for (double t : {0.0, 0.3, 0.4, 0.77, 1.0}) {
      const Eval e = derivs(*r, t);
      EXPECT_EQ(zvtest::value(e.q.z), 0.0);
      EXPECT_EQ(zvtest::value(e.d1.z), 0.0);
      EXPECT_EQ(zvtest::value(e.d2.z), 0.0);
      EXPECT_EQ(zvtest::value(point(*r, t).z), 0.0);
      const Eval f = derivs(flat, t);
      EXPECT_NEAR(e.q.x, f.q.x, 1e-12);
      EXPECT_NEAR(e.d1.y, f.d1.y, 1e-11);
      EXPECT_NEAR(e.d2.x, f.d2.x, 1e-10);
    }
  }
}

// ------------------------------------------------- properties

TEST(ArrayEvaluation, UnitWeightsMatchThePlainRecord) {
  std::mt19937 rng(3);
  const Record plain = random_record(rng, 5, true, 10);
  std::vector<double> homogeneous;
  for (std::size_t i = 0; i < plain.ctrl.size(); i += 3)
    homogeneous.insert(homogeneous.end(), {plain.ctrl[i], plain.ctrl[i + 1], plain.ctrl[i + 2], 1.0});
  const Record rational(5, 4, false, homogeneous, plain.knots);
  for (double t = 0.0; t <= 1.0; t += 0.0625) {
    const Eval a = derivs(plain, t), b = derivs(rational, t);
    EXPECT_LT(distance(a.q, b.q), 1e-12 * (1 + norm(a.q)));
    EXPECT_LT(distance(a.d1, b.d1), 1e-12 * (1 + norm(a.d1)));
    EXPECT_LT(distance(a.d2, b.d2), 1e-12 * (1 + norm(a.d2)));
    EXPECT_LT(distance(point(plain, t), a.q), 1e-12 * (1 + norm(a.q)));
  }
}

class RandomRecords : public ::testing::TestWithParam<int> {};

// The quotient-rule derivatives against central differences of the point
// evaluator and of the first derivative, on plain and rational records.
TEST_P(RandomRecords, DerivativesMatchFiniteDifferences) {
  std::mt19937 rng(GetParam());
  const int p = 1 + GetParam() % 7;
  const bool plain = GetParam() % 2 == 0;
  const Record r = random_record(rng, p, plain, p + 1 + GetParam() % 5);
  std::uniform_real_distribution<double> unit(0.02, 0.98);
  const double h = 1e-6;
  for (int k = 0; k < 20; ++k) {
    const double t = unit(rng);
    const Eval e = derivs(r, t);
    if (e.status != 0) continue;  // on a knot: one-sided values, checked elsewhere
    const zv_pnt_3d fd1 = difference(point(r, t + h), point(r, t - h), 2 * h);
    const zv_pnt_3d fd2 = difference(derivs(r, t + h).d1, derivs(r, t - h).d1, 2 * h);
    EXPECT_LT(distance(e.d1, fd1), 1e-5 * (1 + norm(e.d1))) << "p " << p << " t " << t;
    if (p > 1) {
      EXPECT_LT(distance(e.d2, fd2), 1e-5 * (1 + norm(e.d2))) << "p " << p << " t " << t;
    }
    EXPECT_LT(distance(e.q, point(r, t)), 1e-12 * (1 + norm(e.q)));
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomRecords, ::testing::Range(0, 14));

// ------------------------------------------------- continuity status at knots

TEST(ArrayEvaluation, StatusFollowsKnotMultiplicity) {
  struct Case {
    std::vector<double> interior;
    int with_second;
    int expected;
  };
  const Case cases[] = {
      {{0.5}, 0, 0}, {{0.5}, 1, 0},                       // simple knot: C2
      {{0.5, 0.5}, 0, 0}, {{0.5, 0.5}, 1, 2},             // double: C1
      {{0.5, 0.5, 0.5}, 0, 1}, {{0.5, 0.5, 0.5}, 1, 1},   // triple: C0
      {{0.25, 0.75}, 1, 0},                               // not a knot
  };
  for (const Case &c : cases) {
    std::vector<double> ctrl;
    for (std::size_t i = 0; i < 4 + c.interior.size(); ++i) ctrl.insert(ctrl.end(), {double(i), double(i * i % 5), 0});
    const Record r(3, 3, true, ctrl, clamped(3, c.interior));
    for (int side : {-1, 1, 0, 5}) {
      EXPECT_EQ(derivs(r, 0.5, side, c.with_second).status, c.expected)
          << c.interior.size() << " copies, side " << side << ", with_second " << c.with_second;
    }
  }
}

TEST(ArrayEvaluation, SideAndSecondDerivativeFlagsAreNormalised) {
  std::mt19937 rng(5);
  const Record r = random_record(rng, 3, false, 7);
  const double t = r.knots[4];  // an interior knot
  const Eval plus = derivs(r, t, 1);
  for (int side : {0, 5, -2}) {
    const Eval e = derivs(r, t, side);
    EXPECT_EQ(distance(e.d1, plus.d1), 0.0) << side;
  }
  // Any non-zero with_second is 1 (a larger one must not overrun the basis table).
  const Eval five = derivs(r, 0.3, 1, 5), one = derivs(r, 0.3, 1, 1), minus = derivs(r, 0.3, 1, -1);
  EXPECT_EQ(distance(five.d2, one.d2), 0.0);
  EXPECT_EQ(distance(minus.d2, one.d2), 0.0);
  // with_second = 0 leaves d2 alone.
  zv_pnt_3d q{}, d1{}, d2{42, 42, 42};
  int16_t status = 0;
  ASSERT_EQ(zv_eval_derivsoncurve_3d(&r.rec, 0.3, 1, 0, &q, &d1, &d2, &status), 0);
  EXPECT_EQ(zvtest::value(d2.x), 42);
}

TEST(ArrayEvaluation, MultiplicityCountStaysInsideBadKnotArrays) {
  // Knots that fall back at the end: the count upwards from the left span
  // would run past the array without its bound (ASan guards this).
  const Record r(2, 2, true, {0, 0, 1, 1, 2, 0, 3, 1, 4, 0, 5, 1},
                 {0, 0, 0, 0.5, 0.5, 0.5, 0.5, 0.5, 0.25});
  for (int side : {-1, 1}) {
    Eval e = derivs(r, 0.5, side);
    EXPECT_GE(e.status, 0);
  }
}

}  // namespace
