// The four uniform cubic curve definitions: each makes a record of its
// kind, stores its 4x4 basis matrix and takes the caller's polygon over.
#include <rivezi3z/rivezi3z.h>

#include <cmath>
#include <cstring>

#include "frame/conventions.hpp"
#include "frame/lists.hpp"
#include "frame/report.hpp"
#include "frame/uniform_basis.hpp"

namespace {

using Matrix = zv::BasisMatrix;

// Makes the record: kind, matrix divided entry by entry (a divisor of 0
// means the matrix is stored as written), then the take-over of the list.
zv_curve *define_uniform(ll_list *ctrl, int16_t kind, const Matrix &matrix, double divisor,
                         const char *name) {
  zv_curve *curve = zv_create_curve();
  if (!curve) {
    zv::memory_refused(name);
    return nullptr;
  }
  curve->type = kind;
  double basis[16];
  for (int i = 0; i < 16; ++i) basis[i] = divisor != 0.0 ? matrix[i] / divisor : matrix[i];
  std::memcpy(curve->basis, basis, sizeof basis);
  zv::take_over(ctrl, curve->ctrl_list);
  return curve;
}

}  // namespace

extern "C" ZV_API zv_curve *zv_def_ubezier_curve3d(ll_list *ctrl) {
  return define_uniform(ctrl, ZV_CURVE_UBEZIER, zv::kBezierBasis, 0.0, "zv_def_ubezier_curve3d");
}

extern "C" ZV_API zv_curve *zv_def_ubspl_curve3d(ll_list *ctrl) {
  return define_uniform(ctrl, ZV_CURVE_UBSPLINE, zv::kBSplineBasis, 6.0, "zv_def_ubspl_curve3d");
}

extern "C" ZV_API zv_curve *zv_def_ucatrom_curve3d(ll_list *ctrl) {
  return define_uniform(ctrl, ZV_CURVE_UCATROM, zv::kCatmullRomBasis, 2.0, "zv_def_ucatrom_curve3d");
}

extern "C" ZV_API zv_curve *zv_def_ubetaspl_curve3d(ll_list *ctrl, double beta1, double beta2) {
  const double b = beta1, s = beta2, b2 = b * b, b3 = b2 * b;
  const double delta = 2.0 * b3 + s + 4.0 * b2 + 4.0 * b + 2.0;
  // A vanishing or non-finite divisor would fill the matrix with inf or NaN.
  if (!std::isfinite(delta) || !(std::fabs(delta) > zv::kZeroTolerance)) return nullptr;
  const Matrix matrix = {-2.0 * b3, 2.0 * (s + b3 + b2 + b), -2.0 * (s + b2 + b + 1.0), 2.0,
                         6.0 * b3, -3.0 * (2.0 * b3 + s + 2.0 * b2), 3.0 * (s + 2.0 * b2), 0.0,
                         -6.0 * b3, 6.0 * (b3 - b), 6.0 * b, 0.0,
                         2.0 * b3, 4.0 * (b2 + b) + s, 2.0, 0.0};
  return define_uniform(ctrl, ZV_CURVE_UBETASPL, matrix, delta, "zv_def_ubetaspl_curve3d");
}
