// Kernel numerics against independent references: band LU against a dense product, the span search against
// its defining inequalities, the basis functions against the Cox-de Boor recursion and Bernstein polynomials.
#include "zv_testing.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>

namespace {

using I16 = int16_t;
using Codes = std::vector<int>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN(), kInf = std::numeric_limits<double>::infinity();

TEST(Inverse, ReciprocalWithSignedInfinities) {
  EXPECT_EQ((std::vector<double>{zv_inverse(-0.5), zv_inverse(0.0), zv_inverse(-0.0)}),
            (std::vector<double>{-2, kInf, -kInf}));
  EXPECT_TRUE(std::isnan(zv_inverse(kNaN)));
}

// A random diagonally dominant band (the seed picks n and the half-width h, 1 to 3 unrolled), NaN outside the
// matrix: for 1 to 5 sides (1 to 3 unrolled) each side has a small residual and the bits of a solve alone.
class BandSolve : public ::testing::TestWithParam<int> {};

TEST_P(BandSolve, SmallResidualAndSidesTogetherEqualEachAlone) {
  const int seed = GetParam(), n = seed < 42 ? Codes{1, 2, 3, 4, 7, 40}[seed % 6] : 32767;
  const int h = seed < 42 ? Codes{0, 1, 2, 3, n - 1, n, n + 4}[seed / 6] : 1, w = 2 * h + 1;
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> off(-1.0, 1.0);
  std::vector<double> band(static_cast<std::size_t>(n) * w, kNaN), alone(n);
  for (int i = 0; i < n; ++i) {
    double row_sum = 1.0;
    for (int j = std::max(0, i - h); j <= std::min(n - 1, i + h); ++j)
      if (j != i) row_sum += std::fabs(band[i * w + j - i + h] = off(rng));
    band[i * w + h] = off(rng) < 0 ? -row_sum : row_sum;
  }
  const std::vector<double> a = band;
  ASSERT_EQ(zv_ludecomposition(band.data(), I16(n), I16(h)), 0);
  for (int m = 1; m <= 5; ++m) {
    std::vector<double> b(static_cast<std::size_t>(n) * m), x(b.size());
    for (double &v : b) v = 10 * off(rng);
    std::vector<double> in = b;  // may be overwritten
    ASSERT_EQ(zv_forbacksubstitution_n(band.data(), I16(n), I16(h), I16(m), in.data(), x.data()), 0);
    for (int c = 0; c < m; ++c) {
      for (int i = 0; i < n; ++i) {
        double ax = 0.0;
        for (int j = std::max(0, i - h); j <= std::min(n - 1, i + h); ++j) ax += a[i * w + j - i + h] * x[j * m + c];
        ASSERT_NEAR(ax, b[i * m + c], 1e-12 * (1 + std::fabs(b[i * m + c]))) << m << " side " << c << " row " << i;
        alone[i] = b[i * m + c];
      }
      ASSERT_EQ(zv_forbacksubstitution(band.data(), I16(n), I16(h), alone.data(), alone.data()), 0);  // in place
      for (int i = 0; i < n; ++i) ASSERT_EQ(std::memcmp(&x[i * m + c], &alone[i], sizeof(double)), 0) << m << " " << c;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, BandSolve, ::testing::Range(0, 43));

// Zero, NaN or made-infinite pivots (rows are never exchanged) give 2, bad arguments 1 with nothing written,
// -1 from the span search (one knot short of a span is just outside, a Bezier span just inside).
TEST(Numeric, BadPivotsAndArguments) {
  std::vector<std::vector<double>> a = {
      {0.0}, {0, 0, 1, 1, 0, 0}, {kNaN, 1, 1, 1, 1, kNaN}, {kNaN, 1, kInf, 1, 1, kNaN}};
  EXPECT_EQ((Codes{zv_ludecomposition(a[0].data(), 1, 0), zv_ludecomposition(a[1].data(), 2, 1),
                   zv_ludecomposition(a[2].data(), 2, 1), zv_ludecomposition(a[3].data(), 2, 1)}),
            Codes(4, 2));
  const double k[] = {0, 1, 2}, bez[] = {0, 0, 1, 1};
  double b[4] = {7, 7, 7, 7}, x[1];
  EXPECT_EQ((Codes{zv_ludecomposition(b, -32768, 0), zv_ludecomposition(b, 1, -1), zv_ludecomposition(nullptr, 1, 0),
                   zv_forbacksubstitution(nullptr, 1, 0, b, x), zv_forbacksubstitution(b, 1, 0, nullptr, x),
                   zv_forbacksubstitution(b, 1, 0, b, nullptr), zv_forbacksubstitution(b, 0, 0, b, x),
                   zv_forbacksubstitution(b, 1, -2, b, x), zv_forbacksubstitution_n(b, 1, 0, 0, b, x),
                   zv_forbacksubstitution_n(b, 1, 0, 1, nullptr, x), zv_basisfunctions(nullptr, 1, 1, 0.5, 0, b),
                   zv_basisfunctions(k, 1, 1, 0.5, 0, nullptr), zv_basisfunctions(k, 0, 1, 0.5, 0, b),
                   zv_basisfunctions(k, 1, -1, 0.5, 0, b), zv_basisfunctions(k, 40, ZV_MAX_BASIS_DEGREE + 1, 0.5, 0, b),
                   zv_basisfunctions(k, 1, 1, 0.5, -1, b)}),
            Codes(16, 1));
  EXPECT_EQ(std::vector<double>(b, b + 4), std::vector<double>(4, 7.0));
  EXPECT_EQ((Codes{zv_findknotspan(nullptr, 3, 2, 0.5, 1), zv_findknotspan(bez, 3, 0, 0.5, 1),
                   zv_findknotspan(bez, 2, 2, 0.5, 1), zv_findknotspan(bez, -1, 1, 0.5, 1),
                   zv_findknotspan(bez, 3, 32767, 0.5, 1), zv_findknotspan(bez, 3, 2, 1.0, 1)}),
            (Codes{-1, -1, -1, -1, -1, 1}));
}

// The d-th derivative of N(i, p) at u by the Cox-de Boor recursion, 0/0 taken as 0.
double cox_de_boor(const std::vector<double> &k, int i, int p, double u, int d) {
  if (p == 0) return d == 0 && k[i] <= u && u < k[i + 1] ? 1.0 : 0.0;
  const double l = k[i + p] - k[i], r = k[i + p + 1] - k[i + 1], e = d > 0 ? d - 1 : 0;
  const double a = l == 0 ? 0 : cox_de_boor(k, i, p - 1, u, e) / l;
  const double b = r == 0 ? 0 : cox_de_boor(k, i + 1, p - 1, u, e) / r;
  return d > 0 ? p * (a - b) : (u - k[i]) * a + (k[i + p + 1] - u) * b;
}

// Random knots of degree seed % 6 with many repeats (half the seeds with empty end spans): spans on either
// side meet their inequalities, outside the domain the end span that is not empty, for NaN the first; the
// basis with derivatives to one row past the degree matches Cox-de Boor, writes no further, and the values
// alone give the same bits.
class Knots : public ::testing::TestWithParam<int> {};

TEST_P(Knots, SpanSearchAndBasisMeetTheirDefinitions) {
  std::mt19937 rng(GetParam());
  const int p = GetParam() % 6, kmax = p + 1, cols = p + 1, empty_ends = GetParam() / 6 % 2;
  std::vector<double> k;
  for (int i = 0; i < 2 * p + 8; ++i) k.push_back(static_cast<double>(rng() % 9) * 0.25);
  std::sort(k.begin(), k.end());
  const int m = static_cast<int>(k.size()) - 1;
  std::fill(k.begin(), k.begin() + p + 1 + empty_ends, 0.0);
  std::fill(k.end() - p - 1 - empty_ends, k.end(), 2.0);
  EXPECT_EQ(zv_findknotspan(k.data(), m, p + 1, kNaN, 1), p);
  for (int trial = 0; trial < 200; ++trial) {
    const double u = trial % 2 ? k[rng() % (m + 1)] : -0.5 + 3.0 * (rng() % 1000) / 1000.0;
    const int up = zv_findknotspan(k.data(), m, p + 1, u, 1), down = zv_findknotspan(k.data(), m, p + 1, u, -1);
    for (int s : {up, down}) ASSERT_TRUE(s >= p && s <= m - p - 1 && k[s] < k[s + 1]) << s << " for u=" << u;
    if (u > k[p] && u < k[m - p]) {
      EXPECT_TRUE(k[up] <= u && u < k[up + 1] && k[down] < u && u <= k[down + 1]) << u;
    } else {
      EXPECT_TRUE(up == down && (u > k[p] ? k[up + 1] == k[m - p] : k[up] == k[p])) << u;
    }
    if (trial % 5) continue;
    const double v = 2.0 * (rng() % 10000) / 10000.0;
    const int s = zv_findknotspan(k.data(), m, p + 1, v, 1);
    std::vector<double> rows((kmax + 2) * cols, kNaN), values(cols, kNaN);
    ASSERT_EQ(zv_basisfunctions(k.data(), s, p, v, kmax, rows.data()), 0);
    ASSERT_EQ(zv_basisfunctions(k.data(), s, p, v, 0, values.data()), 0);
    EXPECT_TRUE(std::equal(values.begin(), values.end(), rows.begin()) &&
                std::all_of(rows.end() - cols, rows.end(), [](double r) { return std::isnan(r); }));
    for (int d = 0; d <= kmax; ++d)
      for (int j = 0; j <= p; ++j) {
        const double ref = cox_de_boor(k, s - p + j, p, v, d);
        EXPECT_NEAR(rows[d * cols + j], ref, 1e-12 * (1 + std::fabs(ref))) << "p=" << p << " d=" << d << " j=" << j;
      }
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, Knots, ::testing::Range(0, 25));

// On Bezier knots of the highest degree the basis is Bernstein's: ends (1 - u)^p and u^p, the first's
// derivative -p (1 - u)^(p - 1), values summing to one, derivatives to zero; finite where no knot
// interval has length.
TEST(Basis, BernsteinAtTheHighestDegreeAndFlatKnots) {
  const int p = ZV_MAX_BASIS_DEGREE;
  std::vector<double> k(p + 1, 0.0), out(2 * (p + 1)), values(p + 1), flat(8, 1.0);
  k.insert(k.end(), p + 1, 1.0);
  ASSERT_EQ(zv_basisfunctions(k.data(), p, p, 0.25, 1, out.data()) +
                zv_basisfunctions(k.data(), p, p, 0.25, 0, values.data()),
            0);
  EXPECT_TRUE(std::equal(values.begin(), values.end(), out.begin()));
  EXPECT_NEAR(std::accumulate(out.begin(), out.begin() + p + 1, 0.0), 1.0, 1e-14);
  EXPECT_NEAR(std::accumulate(out.begin() + p + 1, out.end(), 0.0), 0.0, 1e-11);
  EXPECT_TRUE(std::fabs(out[0] - std::pow(0.75, p)) < 1e-18 && std::fabs(out[p] - std::pow(0.25, p)) < 1e-30);
  EXPECT_NEAR(out[p + 1], -p * std::pow(0.75, p - 1), 1e-15);
  ASSERT_EQ(zv_basisfunctions(flat.data(), 3, 3, 1.0, 1, out.data()), 0);
  EXPECT_TRUE(std::all_of(out.begin(), out.begin() + 8, [](double v) { return std::isfinite(v); }));
}

}  // namespace
