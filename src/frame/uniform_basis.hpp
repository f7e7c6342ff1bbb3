// The 4x4 basis matrices of the uniform cubic kinds, row r column k at
// 4r + k (rows weigh t^3, t^2, t, 1; columns the four control points),
// before any divisor: the uniform definitions store them, and the split of
// a uniform Bezier record gives its pieces the Bezier matrix.
#pragma once

namespace zv {

using BasisMatrix = double[16];

inline constexpr BasisMatrix kBezierBasis = {-1, 3, -3, 1, 3, -6, 3, 0, -3, 3, 0, 0, 1, 0, 0, 0};
inline constexpr BasisMatrix kBSplineBasis = {-1, 3, -3, 1, 3, -6, 3, 0, -3, 0, 3, 0, 1, 4, 1, 0};
inline constexpr BasisMatrix kCatmullRomBasis = {-1, 3, -3, 1, 2, -5, 4, -1, -1, 0, 1, 0, 0, 2, 0, 0};

}  // namespace zv
