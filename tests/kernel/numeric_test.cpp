// Kernel numerics: the reciprocal, band LU against a dense solve (and the
// several-sides solve bit for bit against one solve per side), the knot
// span search against its defining inequalities, and the basis functions
// against the Cox-de Boor recursion, Bernstein polynomials and finite
// differences (and the values-only path bit for bit against the full one).
#include "zv_testing.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Inverse, ReciprocalWithSignedInfinities) {
  EXPECT_EQ(zv_inverse(-0.5), -2.0);
  EXPECT_EQ(zv_inverse(0.0), kInf);
  EXPECT_EQ(zv_inverse(-0.0), -kInf);
  EXPECT_TRUE(std::isnan(zv_inverse(kNaN)));
}

class BandSolve : public ::testing::TestWithParam<int> {};

// A random diagonally dominant band matrix, with NaN in every slot of the
// band layout outside the n x n matrix so that reading one shows; the
// solution's residual against the dense matrix is small.
TEST_P(BandSolve, SolvesAndSolvesSeveralSidesBitForBit) {
  const int seed = GetParam();
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> off(-1.0, 1.0), val(-10.0, 10.0);
  const int n = std::vector<int>{1, 2, 3, 5, 9, 16}[seed % 6];
  const int16_t h = static_cast<int16_t>(std::vector<int>{0, 1, 2, n - 1, n, n + 4}[seed / 6]), w = 2 * h + 1;
  std::vector<double> band(static_cast<std::size_t>(n) * w, kNaN), dense(n * n, 0.0), b(n);
  for (int i = 0; i < n; ++i) {
    double row_sum = 1.0;
    for (int j = std::max(0, i - h); j <= std::min(n - 1, i + h); ++j)
      if (j != i) row_sum += std::fabs(dense[i * n + j] = off(rng));
    dense[i * n + i] = off(rng) < 0 ? -row_sum : row_sum;
    for (int j = std::max(0, i - h); j <= std::min(n - 1, i + h); ++j) band[i * w + (j - i + h)] = dense[i * n + j];
  }
  for (double &v : b) v = val(rng);
  ASSERT_EQ(zv_ludecomposition(band.data(), static_cast<int16_t>(n), h), 0);
  std::vector<double> x = b;  // solved in place
  ASSERT_EQ(zv_forbacksubstitution(band.data(), static_cast<int16_t>(n), h, x.data(), x.data()), 0);
  for (int i = 0; i < n; ++i) {
    double ax = 0.0;
    for (int j = 0; j < n; ++j) ax += dense[i * n + j] * x[j];
    EXPECT_NEAR(ax, b[i], 1e-12 * (1 + std::fabs(b[i]))) << n << " " << h;
  }
  // m = 1 .. 5 sides at once (the specialised widths and the general one).
  for (int m = 1; m <= 5; ++m) {
    std::vector<double> sides(static_cast<std::size_t>(n) * m), alone(n);
    for (double &v : sides) v = val(rng);
    std::vector<double> together = sides;
    ASSERT_EQ(zv_forbacksubstitution_n(band.data(), static_cast<int16_t>(n), h, static_cast<int16_t>(m),
                                       together.data(), together.data()), 0);
    for (int c = 0; c < m; ++c) {
      for (int i = 0; i < n; ++i) alone[i] = sides[i * m + c];
      zv_forbacksubstitution(band.data(), static_cast<int16_t>(n), h, alone.data(), alone.data());
      for (int i = 0; i < n; ++i)
        EXPECT_EQ(std::memcmp(&together[i * m + c], &alone[i], sizeof(double)), 0) << "m=" << m << " side " << c;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, BandSolve, ::testing::Range(0, 36));

TEST(BandLU, LongestTridiagonalSystemHasSmallResidual) {
  const int n = 32767;
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> off(-1.0, 1.0);
  std::vector<double> band(static_cast<std::size_t>(n) * 3);
  for (int i = 0; i < n; ++i) band[i * 3] = i > 0 ? off(rng) : 0.0, band[i * 3 + 1] = 3.0, band[i * 3 + 2] = i < n - 1 ? off(rng) : 0.0;
  const std::vector<double> a = band;
  std::vector<double> x(n, 1.0);
  ASSERT_EQ(zv_ludecomposition(band.data(), n, 1), 0);
  ASSERT_EQ(zv_forbacksubstitution(band.data(), n, 1, x.data(), x.data()), 0);
  double worst = 0.0;
  for (int i = 0; i < n; ++i)
    worst = std::max(worst, std::fabs(a[i * 3 + 1] * x[i] + (i > 0 ? a[i * 3] * x[i - 1] : 0.0) +
                                      (i < n - 1 ? a[i * 3 + 2] * x[i + 1] : 0.0) - 1.0));
  EXPECT_LT(worst, 1e-12);
}

TEST(BandLU, BadPivotsAndArguments) {
  double zero[1] = {0.0};
  double swapped[6] = {0.0, 0.0, 1.0, 1.0, 0.0, 0.0};  // needs a row exchange, never made
  double singular[6] = {kNaN, 1.0, 1.0, 1.0, 1.0, kNaN};
  double nan_diag[3] = {1.0, kNaN, 2.0};
  double inf_off[6] = {kNaN, 1.0, kInf, 1.0, 1.0, kNaN};
  EXPECT_EQ(zv_ludecomposition(zero, 1, 0), 2);
  EXPECT_EQ(zv_ludecomposition(swapped, 2, 1), 2);
  EXPECT_EQ(zv_ludecomposition(singular, 2, 1), 2);
  EXPECT_EQ(zv_ludecomposition(nan_diag, 3, 0), 2);
  EXPECT_EQ(zv_ludecomposition(inf_off, 2, 1), 2);
  double a[3] = {1, 1, 1}, b[1] = {1}, x[1];
  EXPECT_EQ(zv_ludecomposition(nullptr, 1, 0), 1);
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

TEST(KnotSpan, EndsClampAndBadArguments) {
  const double k[] = {0, 0, 0, 0, 1, 2, 2, 3, 4, 4, 4, 4};
  for (int16_t side : {1, -1}) {
    for (double u : {0.0, -1.0, -kInf, kNaN}) EXPECT_EQ(zv_findknotspan(k, 11, 4, u, side), 3) << u;
    for (double u : {4.0, 5.0, kInf}) EXPECT_EQ(zv_findknotspan(k, 11, 4, u, side), 7) << u;
  }
  const double e[] = {0, 0, 0, 0, 0, 1, 2, 2, 2, 2, 2};  // empty first and last spans are skipped
  EXPECT_EQ(zv_findknotspan(e, 10, 3, 0.0, -1), 4);
  EXPECT_EQ(zv_findknotspan(e, 10, 3, 2.0, 1), 5);
  const double bez[] = {0, 0, 1, 1};
  EXPECT_EQ(zv_findknotspan(bez, 3, 2, 1.0, 1), 1);
  EXPECT_EQ(zv_findknotspan(nullptr, 3, 2, 0.5, 1), -1);
  EXPECT_EQ(zv_findknotspan(bez, 3, 0, 0.5, 1), -1);
  EXPECT_EQ(zv_findknotspan(bez, 2, 2, 0.5, 1), -1);
  EXPECT_EQ(zv_findknotspan(bez, -1, 1, 0.5, 1), -1);
  EXPECT_EQ(zv_findknotspan(bez, 3, 32767, 0.5, 1), -1);
}

// A random non-decreasing knot vector on [0, 2] with many repeats.
std::vector<double> random_knots(std::mt19937 &rng, int p, int interior) {
  std::vector<double> k;
  for (int i = 0; i < 2 * p + 2 + interior; ++i) k.push_back(static_cast<double>(rng() % 9) * 0.25);
  std::sort(k.begin(), k.end());
  std::fill(k.begin(), k.begin() + p + 1, 0.0);
  std::fill(k.end() - p - 1, k.end(), 2.0);
  return k;
}

class SpanSearch : public ::testing::TestWithParam<int> {};

TEST_P(SpanSearch, SatisfiesTheDefiningInequalitiesOnEachSide) {
  std::mt19937 rng(GetParam());
  const int p = GetParam() % 5;
  const std::vector<double> k = random_knots(rng, p, 6);
  const int m = static_cast<int>(k.size()) - 1;
  for (int trial = 0; trial < 200; ++trial) {
    const double u = trial % 2 ? k[rng() % (m + 1)] : -0.5 + 3.0 * (rng() % 1000) / 1000.0;  // half on a knot
    const int up = zv_findknotspan(k.data(), m, p + 1, u, 1), down = zv_findknotspan(k.data(), m, p + 1, u, -1);
    for (int s : {up, down}) {
      ASSERT_TRUE(s >= p && s <= m - p - 1 && k[s] < k[s + 1]) << "span " << s << " for u=" << u;
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

// Cox-de Boor recursion for N(i, p) at u, with 0/0 taken as 0.
double cox_de_boor(const std::vector<double> &k, int i, int p, double u) {
  if (p == 0) return k[i] <= u && u < k[i + 1] ? 1.0 : 0.0;
  double v = 0.0;
  if (k[i + p] != k[i]) v += (u - k[i]) / (k[i + p] - k[i]) * cox_de_boor(k, i, p - 1, u);
  if (k[i + p + 1] != k[i + 1]) v += (k[i + p + 1] - u) / (k[i + p + 1] - k[i + 1]) * cox_de_boor(k, i + 1, p - 1, u);
  return v;
}

double bernstein(int p, int j, double u) {
  if (j < 0 || j > p) return 0.0;
  return std::tgamma(p + 1.0) / (std::tgamma(j + 1.0) * std::tgamma(p - j + 1.0)) * std::pow(u, j) * std::pow(1 - u, p - j);
}

class Basis : public ::testing::TestWithParam<int> {};

TEST_P(Basis, MatchesCoxDeBoorAndFiniteDifferences) {
  std::mt19937 rng(100 + GetParam());
  const int p = 1 + GetParam() % 5, kmax = p + 1, cols = p + 1;  // one row past the degree, all zero
  const std::vector<double> k = random_knots(rng, p, 5);
  const int m = static_cast<int>(k.size()) - 1;
  for (int trial = 0; trial < 40; ++trial) {
    const double u = 2.0 * (rng() % 10000) / 10000.0, step = 1e-5;
    const int s = zv_findknotspan(k.data(), m, p + 1, u, 1);
    std::vector<double> n0((kmax + 1) * cols, kNaN), lo(n0), hi(n0), values(cols, kNaN);
    ASSERT_EQ(zv_basisfunctions(k.data(), s, p, u, kmax, n0.data()), 0);
    double sum = 0.0;
    for (int j = 0; j <= p; ++j) {
      EXPECT_NEAR(n0[j], cox_de_boor(k, s - p + j, p, u), 1e-13);
      EXPECT_GE(n0[j], 0.0);
      EXPECT_EQ(n0[kmax * cols + j], 0.0);
      sum += n0[j];
    }
    EXPECT_NEAR(sum, 1.0, 1e-14);
    // The values alone (k = 0) take a shorter path: bit for bit the first row.
    ASSERT_EQ(zv_basisfunctions(k.data(), s, p, u, 0, values.data()), 0);
    EXPECT_EQ(std::memcmp(values.data(), n0.data(), cols * sizeof(double)), 0);
    // Each derivative row against a central difference of the row below.
    zv_basisfunctions(k.data(), s, p, u - step, kmax, lo.data());
    zv_basisfunctions(k.data(), s, p, u + step, kmax, hi.data());
    for (int d = 1; d <= p; ++d) {
      double scale = 1.0;
      for (int j = 0; j <= p; ++j) scale = std::max(scale, std::fabs(n0[d * cols + j]));
      for (int j = 0; j <= p; ++j)
        EXPECT_NEAR(n0[d * cols + j], (hi[(d - 1) * cols + j] - lo[(d - 1) * cols + j]) / (2 * step), 1e-6 * scale)
            << "p=" << p << " d=" << d << " j=" << j;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, Basis, ::testing::Range(0, 25));

TEST(BasisEdges, BernsteinUpToTheHighestDegree) {
  for (int p : {0, 1, 7, ZV_MAX_BASIS_DEGREE}) {
    std::vector<double> k(p + 1, 0.0), out(2 * (p + 1));
    k.insert(k.end(), p + 1, 1.0);
    for (double u : {0.0, 0.3, 0.9}) {
      ASSERT_EQ(zv_basisfunctions(k.data(), p, p, u, 1, out.data()), 0);
      for (int j = 0; j <= p; ++j) {
        const double d1 = p * (bernstein(p - 1, j - 1, u) - bernstein(p - 1, j, u));
        EXPECT_NEAR(out[j], bernstein(p, j, u), 1e-13) << p << ' ' << j << ' ' << u;
        EXPECT_NEAR(out[p + 1 + j], d1, 1e-11 * std::max(1.0, std::fabs(d1))) << p << ' ' << j << ' ' << u;
      }
    }
  }
}

TEST(BasisEdges, ZeroLengthIntervalsAndBadArguments) {
  const std::vector<double> triple = {0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 2}, flat(8, 1.0);
  std::vector<double> out(16);
  for (double u : {0.0, 0.5, 1.0 - 1e-12}) {
    ASSERT_EQ(zv_basisfunctions(triple.data(), 3, 3, u, 3, out.data()), 0);
    for (double v : out) EXPECT_TRUE(std::isfinite(v));
  }
  ASSERT_EQ(zv_basisfunctions(flat.data(), 3, 3, 1.0, 2, out.data()), 0);  // no span has length
  for (int i = 0; i < 12; ++i) EXPECT_TRUE(std::isfinite(out[i]));
  const double k[] = {0, 1, 2};
  double rows[5] = {kNaN, kNaN, kNaN, kNaN, 9};
  ASSERT_EQ(zv_basisfunctions(k, 1, 0, 1.5, 3, rows), 0);
  EXPECT_EQ(rows[0], 1.0);
  EXPECT_EQ(rows[3], 0.0);
  EXPECT_EQ(rows[4], 9.0);  // nothing written past k + 1 rows
  double untouched[4] = {7, 7, 7, 7};
  EXPECT_EQ(zv_basisfunctions(nullptr, 1, 1, 0.5, 0, untouched), 1);
  EXPECT_EQ(zv_basisfunctions(k, 1, 1, 0.5, 0, nullptr), 1);
  EXPECT_EQ(zv_basisfunctions(k, 0, 1, 0.5, 0, untouched), 1);
  EXPECT_EQ(zv_basisfunctions(k, 1, -1, 0.5, 0, untouched), 1);
  EXPECT_EQ(zv_basisfunctions(k, 40, ZV_MAX_BASIS_DEGREE + 1, 0.5, 0, untouched), 1);
  EXPECT_EQ(zv_basisfunctions(k, 1, 1, 0.5, -1, untouched), 1);
  for (double v : untouched) EXPECT_EQ(v, 7.0);
}

}  // namespace
