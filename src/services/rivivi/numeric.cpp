// The kernel's numeric routines: the reciprocal, LU decomposition and
// solution of band matrices, the knot span search and the B-spline basis
// functions with their derivatives.
#include <rivezi3z/rivivi.h>

#include <cmath>
#include <cstddef>
#include <limits>

namespace zv::kernel {
namespace {

using Index = std::ptrdiff_t;

// Largest order a basis table holds: degree ZV_MAX_BASIS_DEGREE plus one.
constexpr int kMaxOrder = ZV_MAX_BASIS_DEGREE + 1;

// Row i of a band matrix, offset so that column j of that row is at
// [j - i]: the diagonal sits at position h of the row's 2h + 1 doubles.
template <class T>
constexpr T *band_row(T *a, Index i, Index h) noexcept {
  return a + i * (2 * h + 1) + h;
}

// Smaller of two indices.
constexpr Index lesser(Index a, Index b) noexcept { return a < b ? a : b; }

// Larger of two indices.
constexpr Index greater(Index a, Index b) noexcept { return a > b ? a : b; }

// A band system the routines accept: a matrix, at least one row and a
// half-bandwidth that is not negative.
constexpr bool valid_band(const double *a, int16_t n, int16_t h) noexcept {
  return a && n >= 1 && h >= 0;
}

// Largest s in [lo, hi] with knots[s] <= v, by binary search; lo when none.
Index last_span_at_or_below(const double *knots, Index lo, Index hi, double v) noexcept {
  while (lo < hi) {
    const Index mid = lo + (hi - lo + 1) / 2;
    if (knots[mid] <= v) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  return lo;
}

// Smallest s in [lo, hi] with v <= knots[s + 1], by binary search; hi when none.
Index first_span_reaching(const double *knots, Index lo, Index hi, double v) noexcept {
  while (lo < hi) {
    const Index mid = lo + (hi - lo) / 2;
    if (v <= knots[mid + 1]) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

// a / b, or 0 when b is zero: a zero-length knot interval contributes
// nothing to the basis functions.
constexpr double ratio_or_zero(double a, double b) noexcept { return b == 0.0 ? 0.0 : a / b; }

// Forward substitution with the unit lower factor, then back substitution
// with the upper factor, both inside the band, for the m right-hand sides
// stored row by row (b[i * m + c]). Every column sees exactly the
// operations, in the order, of a solve on its own; the columns only run
// side by side, so the serial chain of divisions of one column overlaps
// with the others'. M is m when known at compile time (1 to 3), else 0; H
// likewise the half-width (1 to 3), so that the rows away from the ends,
// which use the whole band, run fully unrolled.
template <int M, int H>
void solve_band(const double *a, Index rows, Index half, Index m, const double *b, double *x) noexcept {
  const Index cols = M > 0 ? M : m;
  for (Index i = 0; i < rows; ++i) {
    const double *row_i = band_row(a, i, half);
    const Index first = greater(0, i - half);
    for (Index c = 0; c < cols; ++c) {
      double sum = b[i * cols + c];
      if (H > 0 && i >= H) {
        for (Index k = i - H; k < i; ++k) sum -= row_i[k - i] * x[k * cols + c];
      } else {
        for (Index k = first; k < i; ++k) sum -= row_i[k - i] * x[k * cols + c];
      }
      x[i * cols + c] = sum;
    }
  }
  for (Index i = rows - 1; i >= 0; --i) {
    const double *row_i = band_row(a, i, half);
    const Index last = H > 0 && i + H <= rows - 1 ? i + H : lesser(rows - 1, i + half);
    if constexpr (M > 0) {
      double sum[M];
      for (int c = 0; c < M; ++c) sum[c] = x[i * M + c];
      if (H > 0 && i + H <= rows - 1) {
        for (Index j = i + 1; j <= i + H; ++j)
          for (int c = 0; c < M; ++c) sum[c] -= row_i[j - i] * x[j * M + c];
      } else {
        for (Index j = i + 1; j <= last; ++j)
          for (int c = 0; c < M; ++c) sum[c] -= row_i[j - i] * x[j * M + c];
      }
      for (int c = 0; c < M; ++c) x[i * M + c] = sum[c] / row_i[0];
    } else {
      for (Index c = 0; c < cols; ++c) {
        double sum = x[i * cols + c];
        for (Index j = i + 1; j <= last; ++j) sum -= row_i[j - i] * x[j * cols + c];
        x[i * cols + c] = sum / row_i[0];
      }
    }
  }
}

// solve_band with the half-width fixed where it is a common one.
template <int M>
void solve_band_of(const double *a, Index rows, Index half, Index m, const double *b, double *x) noexcept {
  switch (half) {
    case 1: solve_band<M, 1>(a, rows, half, m, b, x); break;
    case 2: solve_band<M, 2>(a, rows, half, m, b, x); break;
    case 3: solve_band<M, 3>(a, rows, half, m, b, x); break;
    default: solve_band<M, 0>(a, rows, half, m, b, x); break;
  }
}

// One elimination step of the band LU decomposition: the rows k + 1 ..
// last below pivot row k. H is the half-width when the step uses the whole
// band (last = k + H) and is known at compile time, else 0.
template <int H>
void eliminate(double *a, Index k, Index last, Index half, const double *row_k, double pivot) noexcept {
  const Index end = H > 0 ? k + H : last;
  for (Index i = k + 1; i <= end; ++i) {
    double *row_i = band_row(a, i, half);
    const double factor = row_i[k - i] / pivot;
    row_i[k - i] = factor;
    for (Index j = k + 1; j <= end; ++j) row_i[j - i] -= factor * row_k[j - k];
  }
}

// Doolittle's LU decomposition of the band (see zv_ludecomposition), with
// the steps that use the whole band unrolled for a half-width H.
template <int H>
int16_t decompose_band(double *a, Index rows, Index half) noexcept {
  for (Index k = 0; k < rows; ++k) {
    const double *row_k = band_row(a, k, half);
    const double pivot = row_k[0];
    if (pivot == 0.0 || !std::isfinite(pivot)) return 2;
    const Index last = lesser(rows - 1, k + half);
    if (H > 0 && last == k + H) {
      eliminate<H>(a, k, last, half, row_k, pivot);
    } else {
      eliminate<0>(a, k, last, half, row_k, pivot);
    }
  }
  return 0;
}

// The basis functions alone (The NURBS Book, A2.2): the column of the
// table of A2.3 that the derivatives need is not kept, but every value is
// formed by the same operations in the same order, so both give the same
// doubles. P is the degree when fixed at compile time (unrolled), else 0.
template <int P>
int16_t basis_values(const double *knots, Index s, Index degree, double u, double *out) noexcept {
  const Index p = P > 0 ? P : degree;
  double left[kMaxOrder];
  double right[kMaxOrder];
  out[0] = 1.0;
  for (Index j = 1; j <= p; ++j) {
    left[j] = u - knots[s + 1 - j];
    right[j] = knots[s + j] - u;
    double saved = 0.0;
    for (Index r = 0; r < j; ++r) {
      const double temp = ratio_or_zero(out[r], right[r + 1] + left[j - r]);
      out[r] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    out[j] = saved;
  }
  return 0;
}

}  // namespace
}  // namespace zv::kernel

extern "C" {

ZV_API double zv_inverse(double x) {
  if (x == 0.0) return std::copysign(std::numeric_limits<double>::infinity(), x);
  return 1.0 / x;
}

// Doolittle's LU decomposition without pivoting, kept inside the band: L
// (unit diagonal, not stored) and U overwrite a, with no fill-in outside
// the band because rows are never exchanged.
ZV_API int16_t zv_ludecomposition(double *a, int16_t n, int16_t h) {
  using zv::kernel::Index;
  if (!zv::kernel::valid_band(a, n, h)) return 1;
  switch (h) {
    case 1: return zv::kernel::decompose_band<1>(a, n, h);
    case 2: return zv::kernel::decompose_band<2>(a, n, h);
    case 3: return zv::kernel::decompose_band<3>(a, n, h);
    default: return zv::kernel::decompose_band<0>(a, n, h);
  }
}

ZV_API int16_t zv_forbacksubstitution(const double *a, int16_t n, int16_t h, double *b, double *x) {
  return zv_forbacksubstitution_n(a, n, h, 1, b, x);
}

ZV_API int16_t zv_forbacksubstitution_n(const double *a, int16_t n, int16_t h, int16_t m, double *b,
                                        double *x) {
  if (!zv::kernel::valid_band(a, n, h) || m < 1 || !b || !x) return 1;
  switch (m) {
    case 1: zv::kernel::solve_band_of<1>(a, n, h, 1, b, x); break;
    case 2: zv::kernel::solve_band_of<2>(a, n, h, 2, b, x); break;
    case 3: zv::kernel::solve_band_of<3>(a, n, h, 3, b, x); break;
    default: zv::kernel::solve_band_of<0>(a, n, h, m, b, x); break;
  }
  return 0;
}

ZV_API int16_t zv_findknotspan(const double *knots, int16_t m, int16_t order, double u,
                               int16_t side) {
  using zv::kernel::Index;
  if (!knots || order < 1 || m < 2 * order - 1) return -1;
  const Index p = order - 1;
  const Index first = p;
  const Index last = m - p - 1;
  // A NaN has no place among the knots; it gets the first span so callers
  // still index inside the knot vector.
  if (std::isnan(u)) return static_cast<int16_t>(first);
  // Outside the domain, on either side, the end span that is not empty.
  if (u <= knots[first]) {
    return static_cast<int16_t>(zv::kernel::last_span_at_or_below(knots, first, last, knots[first]));
  }
  if (u >= knots[last + 1]) {
    return static_cast<int16_t>(zv::kernel::first_span_reaching(knots, first, last, knots[last + 1]));
  }
  if (side == -1) return static_cast<int16_t>(zv::kernel::first_span_reaching(knots, first, last, u));
  return static_cast<int16_t>(zv::kernel::last_span_at_or_below(knots, first, last, u));
}

}  // extern "C"

namespace zv::kernel {
namespace {

// zv_basisfunctions with derivatives (k >= 1, arguments checked): kept out
// of line, so that the values-only calls do not set up its tables.
[[gnu::noinline]] int16_t basis_with_derivatives(const double *knots, Index s, Index p, double u, Index k,
                                                 double *out) noexcept {
  const Index order = p + 1;

  double ndu[kMaxOrder][kMaxOrder];
  double left[kMaxOrder];
  double right[kMaxOrder];
  ndu[0][0] = 1.0;
  for (Index j = 1; j <= p; ++j) {
    left[j] = u - knots[s + 1 - j];
    right[j] = knots[s + j] - u;
    double saved = 0.0;
    for (Index r = 0; r < j; ++r) {
      ndu[j][r] = right[r + 1] + left[j - r];
      const double temp = ratio_or_zero(ndu[r][j - 1], ndu[j][r]);
      ndu[r][j] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    ndu[j][j] = saved;
  }
  for (Index j = 0; j <= p; ++j) out[j] = ndu[j][p];

  // A degree-p polynomial has no derivatives above order p: those rows are 0.
  const Index orders = zv::kernel::lesser(k, p);
  for (Index row = orders + 1; row <= k; ++row) {
    for (Index j = 0; j <= p; ++j) out[row * order + j] = 0.0;
  }
  if (orders == 0) return 0;

  double a[2][kMaxOrder];
  for (Index r = 0; r <= p; ++r) {
    Index s1 = 0;
    Index s2 = 1;
    a[0][0] = 1.0;
    for (Index d = 1; d <= orders; ++d) {
      double sum = 0.0;
      const Index rd = r - d;
      const Index pd = p - d;
      if (r >= d) {
        a[s2][0] = ratio_or_zero(a[s1][0], ndu[pd + 1][rd]);
        sum = a[s2][0] * ndu[rd][pd];
      }
      const Index j1 = rd >= -1 ? 1 : -rd;
      const Index j2 = r - 1 <= pd ? d - 1 : p - r;
      for (Index j = j1; j <= j2; ++j) {
        a[s2][j] = ratio_or_zero(a[s1][j] - a[s1][j - 1], ndu[pd + 1][rd + j]);
        sum += a[s2][j] * ndu[rd + j][pd];
      }
      if (r <= pd) {
        a[s2][d] = ratio_or_zero(-a[s1][d - 1], ndu[pd + 1][r]);
        sum += a[s2][d] * ndu[r][pd];
      }
      out[d * order + r] = sum;
      const Index swap = s1;
      s1 = s2;
      s2 = swap;
    }
  }
  // Scale row d by p! / (p - d)!.
  double factor = static_cast<double>(p);
  for (Index d = 1; d <= orders; ++d) {
    for (Index j = 0; j <= p; ++j) out[d * order + j] *= factor;
    factor *= static_cast<double>(p - d);
  }
  return 0;
}

}  // namespace
}  // namespace zv::kernel

extern "C" {

// The NURBS Book, A2.3: the non-zero basis functions of span s and their
// derivatives, from the triangular table of basis functions of rising degree
// and the knot differences stored below its diagonal.
ZV_API int16_t zv_basisfunctions(const double *knots, int16_t s, int16_t p, double u, int16_t k,
                                 double *out) {
  if (!knots || !out || p < 0 || p > ZV_MAX_BASIS_DEGREE || s < p || k < 0) return 1;
  if (k == 0) {
    switch (p) {
      case 2: return zv::kernel::basis_values<2>(knots, s, p, u, out);
      case 3: return zv::kernel::basis_values<3>(knots, s, p, u, out);
      default: return zv::kernel::basis_values<0>(knots, s, p, u, out);
    }
  }
  return zv::kernel::basis_with_derivatives(knots, s, p, u, k, out);
}

}  // extern "C"
