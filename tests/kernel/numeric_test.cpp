// Kernel numerics against independent references: the reciprocal; band LU
// against a dense product, with the several-sides solve and the unrolled
// half-widths bit for bit against the general paths; the knot span search
// against its defining inequalities; the basis functions against the
// Cox-de Boor recursion, Bernstein polynomials and finite differences.
#include "zv_testing.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {

using I16 = int16_t;
using Codes = std::vector<int>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN(), kInf = std::numeric_limits<double>::infinity();

bool same_bits(const double *a, const double *b, std::size_t n) { return std::memcmp(a, b, n * sizeof(double)) == 0; }

TEST(Inverse, ReciprocalWithSignedInfinities) {
  EXPECT_EQ(zv_inverse(-0.5), -2.0);
  EXPECT_EQ(zv_inverse(0.0), kInf);
  EXPECT_EQ(zv_inverse(-0.0), -kInf);
  EXPECT_TRUE(std::isnan(zv_inverse(kNaN)));
}

// A random diagonally dominant band of n rows and half-width h (the seed
// picks both; the half-widths 1 to 3 run unrolled; the last seed is the
// longest system), NaN in every slot of the band layout outside the n x n
// matrix so that reading one shows. The residual is small; m sides at once
// equal one solve per side; the band embedded in one of half-width h + 4
// (zeros around it: the general loops, which only add zero products) gives
// the same factors and solutions, all bit for bit.
class BandSolve : public ::testing::TestWithParam<int> {};

TEST_P(BandSolve, SmallResidualAndPathsAgreeBitForBit) {
  const int seed = GetParam(), n = seed < 42 ? Codes{1, 2, 3, 4, 7, 40}[seed % 6] : 32767;
  const int h = seed < 42 ? Codes{0, 1, 2, 3, n - 1, n, n + 4}[seed / 6] : 1;
  const int w = 2 * h + 1, wh = h + 4, ww = 2 * wh + 1;
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> off(-1.0, 1.0), val(-10.0, 10.0);
  std::vector<double> band(static_cast<std::size_t>(n) * w, kNaN), b(n);
  for (int i = 0; i < n; ++i) {
    double row_sum = 1.0;
    for (int j = std::max(0, i - h); j <= std::min(n - 1, i + h); ++j)
      if (j != i) row_sum += std::fabs(band[i * w + j - i + h] = off(rng));
    band[i * w + h] = off(rng) < 0 ? -row_sum : row_sum;
  }
  // Copies the band of half-width h from a layout of half-width fh into one of th.
  const auto copy_band = [&](const std::vector<double> &from, int fh, std::vector<double> to, int th) {
    for (int i = 0; i < n; ++i)
      for (int d = -h; d <= h; ++d) to[i * (2 * th + 1) + th + d] = from[i * (2 * fh + 1) + fh + d];
    return to;
  };
  const std::vector<double> a = band;
  std::vector<double> wide = copy_band(band, h, std::vector<double>(static_cast<std::size_t>(n) * ww, 0.0), wh);
  ASSERT_EQ(zv_ludecomposition(band.data(), I16(n), I16(h)), 0);
  ASSERT_EQ(zv_ludecomposition(wide.data(), I16(n), I16(wh)), 0);
  EXPECT_TRUE(same_bits(copy_band(wide, wh, band, h).data(), band.data(), band.size())) << "factors";
  for (double &v : b) v = val(rng);
  std::vector<double> x = b;  // solved in place
  ASSERT_EQ(zv_forbacksubstitution(band.data(), I16(n), I16(h), x.data(), x.data()), 0);
  for (int i = 0; i < n; ++i) {
    double ax = 0.0;
    for (int j = std::max(0, i - h); j <= std::min(n - 1, i + h); ++j) ax += a[i * w + j - i + h] * x[j];
    ASSERT_NEAR(ax, b[i], 1e-12 * (1 + std::fabs(b[i]))) << i;
  }
  for (int m = 1; m <= 5; ++m) {  // the specialised side counts 1 to 3 and the general one
    std::vector<double> sides(static_cast<std::size_t>(n) * m), alone(n), wide_x(sides.size());
    for (double &v : sides) v = val(rng);
    std::vector<double> together = sides;
    ASSERT_EQ(zv_forbacksubstitution_n(wide.data(), I16(n), I16(wh), I16(m), sides.data(), wide_x.data()), 0);
    ASSERT_EQ(zv_forbacksubstitution_n(band.data(), I16(n), I16(h), I16(m), together.data(), together.data()), 0);
    EXPECT_TRUE(same_bits(together.data(), wide_x.data(), sides.size())) << "m=" << m;
    for (int c = 0; c < m; ++c) {
      for (int i = 0; i < n; ++i) alone[i] = sides[i * m + c];
      zv_forbacksubstitution(band.data(), I16(n), I16(h), alone.data(), alone.data());
      for (int i = 0; i < n; ++i) ASSERT_TRUE(same_bits(&together[i * m + c], &alone[i], 1)) << m << " side " << c;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, BandSolve, ::testing::Range(0, 43));

// Bad pivots give 2 (zero, NaN or made infinite, or a row exchange needed,
// which is never made); unusable arguments give 1.
TEST(BandLU, BadPivotsAndArguments) {
  struct Row {
    std::vector<double> a;
    I16 n, h;
    int code;
  };
  for (Row r : {Row{{0.0}, 1, 0, 2}, Row{{0, 0, 1, 1, 0, 0}, 2, 1, 2}, Row{{kNaN, 1, 1, 1, 1, kNaN}, 2, 1, 2},
                Row{{1, kNaN, 2}, 3, 0, 2}, Row{{kNaN, 1, kInf, 1, 1, kNaN}, 2, 1, 2}, Row{{1}, -32768, 0, 1},
                Row{{1, 1, 1}, 1, -1, 1}})
    EXPECT_EQ(zv_ludecomposition(r.a.data(), r.n, r.h), r.code) << r.a.size() << " " << r.n << " " << r.h;
  double a[3] = {1, 1, 1}, b[1] = {1}, x[1];
  EXPECT_EQ((Codes{zv_ludecomposition(nullptr, 1, 0), zv_forbacksubstitution(nullptr, 1, 0, b, x),
                   zv_forbacksubstitution(a, 1, 0, nullptr, x), zv_forbacksubstitution(a, 1, 0, b, nullptr),
                   zv_forbacksubstitution(a, 0, 0, b, x), zv_forbacksubstitution(a, 1, -2, b, x),
                   zv_forbacksubstitution_n(a, 1, 0, 0, b, x), zv_forbacksubstitution_n(a, 1, 0, 1, nullptr, x)}),
            Codes(8, 1));
}

// Outside the domain (and NaN), on either side, the end span that is not
// empty; unusable knots, orders or counts give -1.
TEST(KnotSpan, EndsClampAndBadArguments) {
  const double k[] = {0, 0, 0, 0, 1, 2, 2, 3, 4, 4, 4, 4}, bez[] = {0, 0, 1, 1};
  const double e[] = {0, 0, 0, 0, 0, 1, 2, 2, 2, 2, 2};  // empty first and last spans are skipped
  for (I16 side : {1, -1}) {
    for (double u : {0.0, -1.0, -kInf, kNaN}) EXPECT_EQ(zv_findknotspan(k, 11, 4, u, side), 3) << u;
    for (double u : {4.0, 5.0, kInf}) EXPECT_EQ(zv_findknotspan(k, 11, 4, u, side), 7) << u;
  }
  EXPECT_EQ((Codes{zv_findknotspan(e, 10, 3, 0.0, -1), zv_findknotspan(e, 10, 3, 2.0, 1),
                   zv_findknotspan(bez, 3, 2, 1.0, 1)}),
            (Codes{4, 5, 1}));
  EXPECT_EQ((Codes{zv_findknotspan(nullptr, 3, 2, 0.5, 1), zv_findknotspan(bez, 3, 0, 0.5, 1),
                   zv_findknotspan(bez, 2, 2, 0.5, 1), zv_findknotspan(bez, -1, 1, 0.5, 1),
                   zv_findknotspan(bez, 3, 32767, 0.5, 1)}),
            Codes(5, -1));
}

// Cox-de Boor recursion for N(i, p) at u, with 0/0 taken as 0.
double cox_de_boor(const std::vector<double> &k, int i, int p, double u) {
  if (p == 0) return k[i] <= u && u < k[i + 1] ? 1.0 : 0.0;
  double v = 0.0;
  if (k[i + p] != k[i]) v += (u - k[i]) / (k[i + p] - k[i]) * cox_de_boor(k, i, p - 1, u);
  if (k[i + p + 1] != k[i + 1]) v += (k[i + p + 1] - u) / (k[i + p + 1] - k[i + 1]) * cox_de_boor(k, i + 1, p - 1, u);
  return v;
}

// Random knots of degree p = seed % 6 on [0, 2] with many repeats. Spans on
// each side meet their defining inequalities (half the parameters on a knot,
// some outside the domain). The basis functions with derivatives up to one
// row past the degree (all zero) match Cox-de Boor, are non-negative and sum
// to one, each derivative row matches a central difference of the row below,
// and the values alone (k = 0, a shorter path) equal the first row bit for bit.
class Knots : public ::testing::TestWithParam<int> {};

TEST_P(Knots, SpanSearchAndBasisMeetTheirDefinitions) {
  std::mt19937 rng(GetParam());
  const int p = GetParam() % 6, kmax = p + 1, cols = p + 1;
  std::vector<double> k;
  for (int i = 0; i < 2 * p + 8; ++i) k.push_back(static_cast<double>(rng() % 9) * 0.25);
  std::sort(k.begin(), k.end());
  std::fill(k.begin(), k.begin() + p + 1, 0.0);
  std::fill(k.end() - p - 1, k.end(), 2.0);
  const int m = static_cast<int>(k.size()) - 1;
  for (int trial = 0; trial < 200; ++trial) {
    const double u = trial % 2 ? k[rng() % (m + 1)] : -0.5 + 3.0 * (rng() % 1000) / 1000.0;
    const int up = zv_findknotspan(k.data(), m, p + 1, u, 1), down = zv_findknotspan(k.data(), m, p + 1, u, -1);
    for (int s : {up, down}) ASSERT_TRUE(s >= p && s <= m - p - 1 && k[s] < k[s + 1]) << s << " for u=" << u;
    if (u > k[p] && u < k[m - p]) {
      EXPECT_TRUE(k[up] <= u && u < k[up + 1] && k[down] < u && u <= k[down + 1]) << u;
    } else {
      EXPECT_EQ(up, down) << u;
    }
    if (trial % 5) continue;
    const double v = 2.0 * (rng() % 10000) / 10000.0, step = 1e-5;
    const int s = zv_findknotspan(k.data(), m, p + 1, v, 1);
    std::vector<double> n0((kmax + 1) * cols, kNaN), lo(n0), hi(n0), values(cols, kNaN);
    ASSERT_EQ(zv_basisfunctions(k.data(), s, p, v, kmax, n0.data()), 0);
    ASSERT_EQ(zv_basisfunctions(k.data(), s, p, v, 0, values.data()), 0);
    EXPECT_TRUE(same_bits(values.data(), n0.data(), cols));
    zv_basisfunctions(k.data(), s, p, v - step, kmax, lo.data());
    zv_basisfunctions(k.data(), s, p, v + step, kmax, hi.data());
    double sum = 0.0;
    for (int j = 0; j <= p; ++j) {
      EXPECT_NEAR(n0[j], cox_de_boor(k, s - p + j, p, v), 1e-13);
      EXPECT_GE(n0[j], 0.0);
      EXPECT_EQ(n0[kmax * cols + j], 0.0);
      sum += n0[j];
    }
    EXPECT_NEAR(sum, 1.0, 1e-14);
    for (int d = 1; d <= p; ++d) {
      double scale = 1.0;
      for (int j = 0; j <= p; ++j) scale = std::max(scale, std::fabs(n0[d * cols + j]));
      for (int j = 0; j <= p; ++j)
        EXPECT_NEAR(n0[d * cols + j], (hi[(d - 1) * cols + j] - lo[(d - 1) * cols + j]) / (2 * step), 1e-6 * scale)
            << "p=" << p << " d=" << d << " j=" << j;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, Knots, ::testing::Range(0, 25));

double bernstein(int p, int j, double u) {
  if (j < 0 || j > p) return 0.0;
  return std::tgamma(p + 1.0) / (std::tgamma(j + 1.0) * std::tgamma(p - j + 1.0)) * std::pow(u, j) * std::pow(1 - u, p - j);
}

// On Bezier knots the basis and its first derivative are the Bernstein
// polynomials and their closed-form derivative, up to the highest degree.
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

// Zero-length intervals give finite values; nothing is written past k + 1
// rows; unusable arguments give 1 and write nothing.
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
  double rows[5] = {kNaN, kNaN, kNaN, kNaN, 9}, untouched[4] = {7, 7, 7, 7};
  ASSERT_EQ(zv_basisfunctions(k, 1, 0, 1.5, 3, rows), 0);
  EXPECT_EQ((std::vector<double>{rows[0], rows[3], rows[4]}), (std::vector<double>{1, 0, 9}));
  EXPECT_EQ((Codes{zv_basisfunctions(nullptr, 1, 1, 0.5, 0, untouched), zv_basisfunctions(k, 1, 1, 0.5, 0, nullptr),
                   zv_basisfunctions(k, 0, 1, 0.5, 0, untouched), zv_basisfunctions(k, 1, -1, 0.5, 0, untouched),
                   zv_basisfunctions(k, 40, ZV_MAX_BASIS_DEGREE + 1, 0.5, 0, untouched),
                   zv_basisfunctions(k, 1, 1, 0.5, -1, untouched)}),
            Codes(6, 1));
  for (double v : untouched) EXPECT_EQ(v, 7.0);
}

}  // namespace
