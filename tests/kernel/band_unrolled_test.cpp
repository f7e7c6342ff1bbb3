// The band decomposition and solve run the common half-widths (1 to 3)
// unrolled. A band of half-width h embedded in a wider one (zeros around
// it, half-width 5: the general loops) goes through the same operations
// plus ones that subtract zero products, so both must give the same
// doubles, factors and solutions alike.
#include <gtest/gtest.h>
#include <rivezi3z/rivivi.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kWide = 5;

// A diagonally dominant band of n rows and half-width h, row-major with
// 2h + 1 doubles per row, the diagonal at position h.
std::vector<double> random_band(int n, int h, std::mt19937 &rng) {
  std::uniform_real_distribution<double> off(-1.0, 1.0);
  std::vector<double> band(static_cast<std::size_t>(n) * (2 * h + 1), 0.0);
  for (int i = 0; i < n; ++i) {
    for (int d = -h; d <= h; ++d) {
      if (i + d >= 0 && i + d < n) band[i * (2 * h + 1) + h + d] = d == 0 ? 2.0 * h + 1.5 + off(rng) : off(rng);
    }
  }
  return band;
}

// The same band as half-width kWide.
std::vector<double> widened(const std::vector<double> &band, int n, int h) {
  std::vector<double> wide(static_cast<std::size_t>(n) * (2 * kWide + 1), 0.0);
  for (int i = 0; i < n; ++i)
    for (int d = -h; d <= h; ++d) wide[i * (2 * kWide + 1) + kWide + d] = band[i * (2 * h + 1) + h + d];
  return wide;
}

TEST(BandUnrolled, CommonHalfWidthsGiveTheGeneralLoopsResultsBitForBit) {
  std::mt19937 rng(2024);
  std::uniform_real_distribution<double> value(-10.0, 10.0);
  for (int h = 1; h <= 3; ++h) {
    for (const int n : {1, 2, h + 1, 7, 40}) {
      std::vector<double> band = random_band(n, h, rng), wide = widened(band, n, h);
      ASSERT_EQ(zv_ludecomposition(band.data(), static_cast<int16_t>(n), static_cast<int16_t>(h)), 0);
      ASSERT_EQ(zv_ludecomposition(wide.data(), static_cast<int16_t>(n), kWide), 0);
      EXPECT_EQ(std::memcmp(widened(band, n, h).data(), wide.data(), wide.size() * sizeof(double)), 0)
          << "factors, h=" << h << " n=" << n;
      for (int m = 1; m <= 4; ++m) {
        std::vector<double> sides(static_cast<std::size_t>(n) * m);
        for (double &v : sides) v = value(rng);
        std::vector<double> narrow_x(sides.size()), wide_x(sides.size());
        ASSERT_EQ(zv_forbacksubstitution_n(band.data(), static_cast<int16_t>(n), static_cast<int16_t>(h),
                                           static_cast<int16_t>(m), sides.data(), narrow_x.data()),
                  0);
        ASSERT_EQ(zv_forbacksubstitution_n(wide.data(), static_cast<int16_t>(n), kWide, static_cast<int16_t>(m),
                                           sides.data(), wide_x.data()),
                  0);
        EXPECT_EQ(std::memcmp(narrow_x.data(), wide_x.data(), sides.size() * sizeof(double)), 0)
            << "solution, h=" << h << " n=" << n << " m=" << m;
      }
    }
  }
}

}  // namespace
