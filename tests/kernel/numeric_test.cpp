// Kernel numerics: the reciprocal, band LU against a dense solve, the knot
// span search against its defining inequalities, and the basis functions
// against the Cox-de Boor recursion, Bernstein polynomials and finite
// differences.
#include "zv_testing.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// ---------------------------------------------------------------- reciprocal

TEST(Inverse, ReciprocalWithSignedInfinities) {
  EXPECT_EQ(zv_inverse(4.0), 0.25);
  EXPECT_EQ(zv_inverse(-0.5), -2.0);
  EXPECT_EQ(zv_inverse(0.0), kInf);
  EXPECT_EQ(zv_inverse(-0.0), -kInf);
  EXPECT_EQ(zv_inverse(kInf), 0.0);
  EXPECT_TRUE(std::isnan(zv_inverse(kNaN)));
}

// ---------------------------------------------------------------- band LU

// A random diagonally dominant band matrix in the kernel's layout, with NaN
// in every slot that lies outside the n x n matrix so a read of one shows.
std::vector<double> random_band(int n, int h, std::mt19937 &rng, std::vector<double> &dense) {
  std::uniform_real_distribution<double> off(-1.0, 1.0);
  const int w = 2 * h + 1;
  std::vector<double> band(static_cast<std::size_t>(n) * w, kNaN);
  dense.assign(static_cast<std::size_t>(n) * n, 0.0);
  for (int i = 0; i < n; ++i) {
    double row_sum = 0.0;
    for (int j = std::max(0, i - h); j <= std::min(n - 1, i + h); ++j) {
      const double v = j == i ? 0.0 : off(rng);
      row_sum += std::fabs(v);
      dense[i * n + j] = v;
    }
    dense[i * n + i] = (row_sum + 1.0) * (off(rng) < 0 ? -1.0 : 1.0);
    for (int j = std::max(0, i - h); j <= std::min(n - 1, i + h); ++j) band[i * w + (j - i + h)] = dense[i * n + j];
  }
  return band;
}

// Gaussian elimination with partial pivoting on a dense copy.
std::vector<double> dense_solve(std::vector<double> a, std::vector<double> b) {
  const int n = static_cast<int>(b.size());
  for (int k = 0; k < n; ++k) {
    int piv = k;
    for (int i = k + 1; i < n; ++i)
      if (std::fabs(a[i * n + k]) > std::fabs(a[piv * n + k])) piv = i;
    for (int j = 0; j < n; ++j) std::swap(a[k * n + j], a[piv * n + j]);
    std::swap(b[k], b[piv]);
    for (int i = k + 1; i < n; ++i) {
      const double f = a[i * n + k] / a[k * n + k];
      for (int j = k; j < n; ++j) a[i * n + j] -= f * a[k * n + j];
      b[i] -= f * b[k];
    }
  }
  std::vector<double> x(n);
  for (int i = n - 1; i >= 0; --i) {
    double s = b[i];
    for (int j = i + 1; j < n; ++j) s -= a[i * n + j] * x[j];
    x[i] = s / a[i * n + i];
  }
  return x;
}

class BandSolve : public ::testing::TestWithParam<int> {};

TEST_P(BandSolve, MatchesDenseGaussianElimination) {
  const int seed = GetParam();
  std::mt19937 rng(seed);
  const int n = std::vector<int>{1, 2, 3, 5, 9, 16}[seed % 6];
  const int h = std::vector<int>{0, 1, 2, n - 1, n, n + 4}[seed / 6];
  std::vector<double> dense;
  std::vector<double> band = random_band(n, h, rng, dense);
  std::uniform_real_distribution<double> val(-10.0, 10.0);
  std::vector<double> b(n);
  for (double &v : b) v = val(rng);
  const std::vector<double> want = dense_solve(dense, b);

  ASSERT_EQ(zv_ludecomposition(band.data(), static_cast<int16_t>(n), static_cast<int16_t>(h)), 0);
  std::vector<double> rhs = b;
  std::vector<double> x(n, kNaN);
  ASSERT_EQ(zv_forbacksubstitution(band.data(), static_cast<int16_t>(n), static_cast<int16_t>(h), rhs.data(), x.data()), 0);
  for (int i = 0; i < n; ++i) EXPECT_NEAR(x[i], want[i], 1e-12 * (1 + std::fabs(want[i]))) << "n=" << n << " h=" << h;

  // The solution may be written over the right-hand side.
  rhs = b;
  zv_forbacksubstitution(band.data(), static_cast<int16_t>(n), static_cast<int16_t>(h), rhs.data(), rhs.data());
  for (int i = 0; i < n; ++i) EXPECT_EQ(rhs[i], x[i]);

  // Several sides at once (m = 1 .. 5, the specialised widths and the
  // general one, in place) give each side's own solve bit for bit.
  for (int m = 1; m <= 5; ++m) {
    std::vector<double> sides(static_cast<std::size_t>(n) * m), alone(n);
    for (double &v : sides) v = val(rng);
    std::vector<double> together = sides;
    ASSERT_EQ(zv_forbacksubstitution_n(band.data(), static_cast<int16_t>(n), static_cast<int16_t>(h),
                                       static_cast<int16_t>(m), together.data(), together.data()), 0);
    for (int c = 0; c < m; ++c) {
      for (int i = 0; i < n; ++i) alone[i] = sides[i * m + c];
      zv_forbacksubstitution(band.data(), static_cast<int16_t>(n), static_cast<int16_t>(h), alone.data(), alone.data());
      for (int i = 0; i < n; ++i)
        EXPECT_EQ(std::memcmp(&together[i * m + c], &alone[i], sizeof(double)), 0) << "m=" << m << " side " << c;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, BandSolve, ::testing::Range(0, 36));

TEST(BandLU, LongTridiagonalSystemHasSmallResidual) {
  const int n = 32767;
  const int h = 1;
  std::mt19937 rng(7);
  std::vector<double> band(static_cast<std::size_t>(n) * 3);
  std::uniform_real_distribution<double> off(-1.0, 1.0);
  for (int i = 0; i < n; ++i) {
    band[i * 3 + 0] = i > 0 ? off(rng) : 0.0;
    band[i * 3 + 2] = i < n - 1 ? off(rng) : 0.0;
    band[i * 3 + 1] = 3.0;
  }
  const std::vector<double> a = band;
  std::vector<double> b(n, 1.0), x(n);
  ASSERT_EQ(zv_ludecomposition(band.data(), n, h), 0);
  ASSERT_EQ(zv_forbacksubstitution(band.data(), n, h, b.data(), x.data()), 0);
  double worst = 0.0;
  for (int i = 0; i < n; ++i) {
    double ax = a[i * 3 + 1] * x[i];
    if (i > 0) ax += a[i * 3] * x[i - 1];
    if (i < n - 1) ax += a[i * 3 + 2] * x[i + 1];
    worst = std::max(worst, std::fabs(ax - 1.0));
  }
  EXPECT_LT(worst, 1e-12);
}

TEST(BandLU, ZeroOrNonFinitePivotIsReported) {
  double zero[1] = {0.0};
  EXPECT_EQ(zv_ludecomposition(zero, 1, 0), 2);
  // Non-singular only with row exchanges, which this routine never makes.
  double swapped[6] = {0.0, 0.0, 1.0, 1.0, 0.0, 0.0};
  EXPECT_EQ(zv_ludecomposition(swapped, 2, 1), 2);
  // Singular: the second pivot becomes zero during elimination.
  double ones[6] = {kNaN, 1.0, 1.0, 1.0, 1.0, kNaN};
  EXPECT_EQ(zv_ludecomposition(ones, 2, 1), 2);
  double nan_diag[3] = {1.0, kNaN, 2.0};
  EXPECT_EQ(zv_ludecomposition(nan_diag, 3, 0), 2);
  double inf_off[6] = {kNaN, 1.0, kInf, 1.0, 1.0, kNaN};
  EXPECT_EQ(zv_ludecomposition(inf_off, 2, 1), 2);
}

TEST(BandLU, BadArgumentsAreRefused) {
  double a[3] = {1.0, 1.0, 1.0};
  double b[1] = {1.0};
  double x[1];
  EXPECT_EQ(zv_ludecomposition(nullptr, 1, 0), 1);
  EXPECT_EQ(zv_ludecomposition(a, 0, 0), 1);
  EXPECT_EQ(zv_ludecomposition(a, -32768, 0), 1);
  EXPECT_EQ(zv_ludecomposition(a, 1, -1), 1);
  EXPECT_EQ(zv_forbacksubstitution(nullptr, 1, 0, b, x), 1);
  EXPECT_EQ(zv_forbacksubstitution(a, 1, 0, nullptr, x), 1);
  EXPECT_EQ(zv_forbacksubstitution(a, 1, 0, b, nullptr), 1);
  EXPECT_EQ(zv_forbacksubstitution(a, 0, 0, b, x), 1);
  EXPECT_EQ(zv_forbacksubstitution(a, 1, -2, b, x), 1);
  EXPECT_EQ(zv_forbacksubstitution_n(a, 1, 0, 0, b, x), 1);
  EXPECT_EQ(zv_forbacksubstitution_n(a, 1, 0, 1, nullptr, x), 1);
}

// ---------------------------------------------------------------- knot span

TEST(KnotSpan, RepeatedInteriorKnotOnEachSide) {
  const double k[] = {0, 0, 0, 0, 1, 2, 2, 3, 4, 4, 4, 4};
  EXPECT_EQ(zv_findknotspan(k, 11, 4, 0.5, 1), 3);
  EXPECT_EQ(zv_findknotspan(k, 11, 4, 0.5, -1), 3);
  EXPECT_EQ(zv_findknotspan(k, 11, 4, 1.0, 1), 4);
  EXPECT_EQ(zv_findknotspan(k, 11, 4, 1.0, -1), 3);
  EXPECT_EQ(zv_findknotspan(k, 11, 4, 2.0, 1), 6);   // last copy of the double knot
  EXPECT_EQ(zv_findknotspan(k, 11, 4, 2.0, -1), 4);  // just below the first copy
  EXPECT_EQ(zv_findknotspan(k, 11, 4, 3.5, 1), 7);
}

TEST(KnotSpan, EndsAndBeyondClampToEndSpans) {
  const double k[] = {0, 0, 0, 0, 1, 2, 2, 3, 4, 4, 4, 4};
  for (int16_t side : {1, -1}) {
    for (double u : {0.0, -1.0, -kInf, -1e300}) EXPECT_EQ(zv_findknotspan(k, 11, 4, u, side), 3) << u;
    for (double u : {4.0, 5.0, kInf, 1e300}) EXPECT_EQ(zv_findknotspan(k, 11, 4, u, side), 7) << u;
    EXPECT_EQ(zv_findknotspan(k, 11, 4, kNaN, side), 3);
  }
  // An empty first or last span is skipped at the ends.
  const double e[] = {0, 0, 0, 0, 0, 1, 2, 2, 2, 2, 2};
  EXPECT_EQ(zv_findknotspan(e, 10, 3, 0.0, -1), 4);
  EXPECT_EQ(zv_findknotspan(e, 10, 3, 2.0, 1), 5);
}

TEST(KnotSpan, SingleSpanAndBadArguments) {
  const double bez[] = {0, 0, 1, 1};
  EXPECT_EQ(zv_findknotspan(bez, 3, 2, 0.5, 1), 1);
  EXPECT_EQ(zv_findknotspan(bez, 3, 2, 1.0, 1), 1);
  EXPECT_EQ(zv_findknotspan(nullptr, 3, 2, 0.5, 1), -1);
  EXPECT_EQ(zv_findknotspan(bez, 3, 0, 0.5, 1), -1);
  EXPECT_EQ(zv_findknotspan(bez, 3, -4, 0.5, 1), -1);
  EXPECT_EQ(zv_findknotspan(bez, 2, 2, 0.5, 1), -1);
  EXPECT_EQ(zv_findknotspan(bez, -1, 1, 0.5, 1), -1);
  EXPECT_EQ(zv_findknotspan(bez, 3, 32767, 0.5, 1), -1);
}

// A random non-decreasing knot vector with many repeats and a non-empty domain.
std::vector<double> random_knots(std::mt19937 &rng, int p, int interior) {
  std::uniform_int_distribution<int> quarter(0, 8);
  std::vector<double> k;
  for (int i = 0; i < p + 1 + interior + p + 1; ++i) k.push_back(quarter(rng) * 0.25);
  std::sort(k.begin(), k.end());
  std::fill(k.begin(), k.begin() + p + 1, 0.0);
  std::fill(k.end() - p - 1, k.end(), 2.0);
  return k;
}

class SpanSearch : public ::testing::TestWithParam<int> {};

TEST_P(SpanSearch, SatisfiesTheDefiningInequalities) {
  std::mt19937 rng(GetParam());
  const int p = GetParam() % 5;
  const std::vector<double> k = random_knots(rng, p, 6);
  const int m = static_cast<int>(k.size()) - 1;
  std::uniform_real_distribution<double> any(-0.5, 2.5);
  for (int trial = 0; trial < 200; ++trial) {
    // Half the trials land exactly on a knot.
    const double u = trial % 2 ? k[std::uniform_int_distribution<int>(0, m)(rng)] : any(rng);
    const int up = zv_findknotspan(k.data(), m, p + 1, u, 1);
    const int down = zv_findknotspan(k.data(), m, p + 1, u, -1);
    for (int s : {up, down}) {
      ASSERT_GE(s, p);
      ASSERT_LE(s, m - p - 1);
      ASSERT_LT(k[s], k[s + 1]) << "an empty span was returned for u=" << u;
    }
    if (u > k[p] && u < k[m - p]) {
      EXPECT_TRUE(k[up] <= u && u < k[up + 1]) << u;
      EXPECT_TRUE(k[down] < u && u <= k[down + 1]) << u;
    } else {
      EXPECT_EQ(up, down) << u;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, SpanSearch, ::testing::Range(0, 25));

// ---------------------------------------------------------------- basis functions

// Cox-de Boor recursion for N(i, p) at u, with 0/0 taken as 0.
double cox_de_boor(const std::vector<double> &k, int i, int p, double u) {
  if (p == 0) return k[i] <= u && u < k[i + 1] ? 1.0 : 0.0;
  double v = 0.0;
  if (k[i + p] != k[i]) v += (u - k[i]) / (k[i + p] - k[i]) * cox_de_boor(k, i, p - 1, u);
  if (k[i + p + 1] != k[i + 1]) v += (k[i + p + 1] - u) / (k[i + p + 1] - k[i + 1]) * cox_de_boor(k, i + 1, p - 1, u);
  return v;
}

// Bernstein polynomial j of degree p at u.
double bernstein(int p, int j, double u) {
  if (j < 0 || j > p) return 0.0;
  return std::tgamma(p + 1.0) / (std::tgamma(j + 1.0) * std::tgamma(p - j + 1.0)) * std::pow(u, j) * std::pow(1 - u, p - j);
}

class Basis : public ::testing::TestWithParam<int> {};

TEST_P(Basis, MatchesCoxDeBoorAndFiniteDifferences) {
  std::mt19937 rng(100 + GetParam());
  const int p = 1 + GetParam() % 5;
  const int kmax = p + 1;  // one row past the degree, which must be zero
  const std::vector<double> k = random_knots(rng, p, 5);
  const int m = static_cast<int>(k.size()) - 1;
  std::uniform_real_distribution<double> dom(0.0, 2.0);
  const int cols = p + 1;
  for (int trial = 0; trial < 40; ++trial) {
    const double u = dom(rng);
    const int s = zv_findknotspan(k.data(), m, p + 1, u, 1);
    std::vector<double> n0((kmax + 1) * cols, kNaN), lo(n0), hi(n0);
    ASSERT_EQ(zv_basisfunctions(k.data(), s, p, u, kmax, n0.data()), 0);
    double sum = 0.0;
    for (int j = 0; j <= p; ++j) {
      EXPECT_NEAR(n0[j], cox_de_boor(k, s - p + j, p, u), 1e-13);
      EXPECT_GE(n0[j], 0.0);
      sum += n0[j];
    }
    EXPECT_NEAR(sum, 1.0, 1e-14);
    for (int j = 0; j <= p; ++j) EXPECT_EQ(n0[kmax * cols + j], 0.0);
    // The values alone (k = 0) come from a shorter path: bit for bit the
    // first row of the full table.
    std::vector<double> values(cols, kNaN);
    ASSERT_EQ(zv_basisfunctions(k.data(), s, p, u, 0, values.data()), 0);
    EXPECT_EQ(std::memcmp(values.data(), n0.data(), cols * sizeof(double)), 0);

    // Each derivative row against a central difference of the row below,
    // on the same polynomial piece (the span stays s).
    const double step = 1e-5;
    zv_basisfunctions(k.data(), s, p, u - step, kmax, lo.data());
    zv_basisfunctions(k.data(), s, p, u + step, kmax, hi.data());
    for (int d = 1; d <= p; ++d) {
      double scale = 1.0, row_sum = 0.0;
      for (int j = 0; j <= p; ++j) scale = std::max(scale, std::fabs(n0[d * cols + j]));
      for (int j = 0; j <= p; ++j) {
        const double fd = (hi[(d - 1) * cols + j] - lo[(d - 1) * cols + j]) / (2 * step);
        EXPECT_NEAR(n0[d * cols + j], fd, 1e-6 * scale) << "p=" << p << " d=" << d << " j=" << j;
        row_sum += n0[d * cols + j];
      }
      EXPECT_NEAR(row_sum, 0.0, 1e-12 * scale);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, Basis, ::testing::Range(0, 25));

TEST(BasisBezier, EqualsBernsteinUpToHighestDegree) {
  for (int p : {0, 1, 3, 7, ZV_MAX_BASIS_DEGREE}) {
    std::vector<double> k(p + 1, 0.0);
    k.insert(k.end(), p + 1, 1.0);
    std::vector<double> out(2 * (p + 1));
    for (double u : {0.0, 0.3, 0.5, 0.9}) {
      ASSERT_EQ(zv_basisfunctions(k.data(), p, p, u, 1, out.data()), 0);
      for (int j = 0; j <= p; ++j) {
        EXPECT_NEAR(out[j], bernstein(p, j, u), 1e-13) << p << ' ' << j << ' ' << u;
        const double d1 = p * (bernstein(p - 1, j - 1, u) - bernstein(p - 1, j, u));
        EXPECT_NEAR(out[p + 1 + j], d1, 1e-11 * std::max(1.0, std::fabs(d1))) << p << ' ' << j << ' ' << u;
      }
    }
  }
}

TEST(BasisEdges, ZeroLengthIntervalsGiveFiniteValues) {
  // A triple interior knot at degree 3 puts zero-length intervals inside the span's support.
  const std::vector<double> k = {0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 2};
  std::vector<double> out(4 * 4);
  for (double u : {0.0, 0.5, 1.0 - 1e-12}) {
    ASSERT_EQ(zv_basisfunctions(k.data(), 3, 3, u, 3, out.data()), 0);
    for (double v : out) EXPECT_TRUE(std::isfinite(v));
    EXPECT_NEAR(out[0] + out[1] + out[2] + out[3], 1.0, 1e-14);
  }
  // Every knot equal: no span has length, and nothing divides by zero.
  const std::vector<double> flat(8, 1.0);
  ASSERT_EQ(zv_basisfunctions(flat.data(), 3, 3, 1.0, 2, out.data()), 0);
  for (int i = 0; i < 12; ++i) EXPECT_TRUE(std::isfinite(out[i]));
}

TEST(BasisEdges, DegreeZeroAndOrdersAboveDegree) {
  const double k[] = {0, 1, 2};
  double out[5] = {kNaN, kNaN, kNaN, kNaN, 9};
  ASSERT_EQ(zv_basisfunctions(k, 1, 0, 1.5, 3, out), 0);
  EXPECT_EQ(out[0], 1.0);
  EXPECT_EQ(out[1], 0.0);
  EXPECT_EQ(out[3], 0.0);
  EXPECT_EQ(out[4], 9.0);  // nothing written past k + 1 rows
}

TEST(BasisEdges, BadArgumentsLeaveOutputUntouched) {
  const double k[] = {0, 0, 1, 1};
  double out[4] = {7, 7, 7, 7};
  EXPECT_EQ(zv_basisfunctions(nullptr, 1, 1, 0.5, 0, out), 1);
  EXPECT_EQ(zv_basisfunctions(k, 1, 1, 0.5, 0, nullptr), 1);
  EXPECT_EQ(zv_basisfunctions(k, 0, 1, 0.5, 0, out), 1);
  EXPECT_EQ(zv_basisfunctions(k, 1, -1, 0.5, 0, out), 1);
  EXPECT_EQ(zv_basisfunctions(k, 40, ZV_MAX_BASIS_DEGREE + 1, 0.5, 0, out), 1);
  EXPECT_EQ(zv_basisfunctions(k, 1, 1, 0.5, -1, out), 1);
  for (double v : out) EXPECT_EQ(v, 7.0);
}

}  // namespace
