#include <rivezi3z/rivezi3z.hpp>

#include <cstdio>
#include <vector>

int main() {
  const std::vector<zv_pnt_3d> points = {{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 1}, {6, 1, 0}};

  // A uniform cubic B-spline: the record takes the list's items over and
  // releases them (and its vertices) when `curve` goes out of scope.
  rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(points);
  rivezi3z::Curve curve = rivezi3z::define_ubspline(ctrl);
  if (!curve || !curve.tessellate_uniform(0.25)) return 1;
  for (const zv_poly_3d &v : curve.vertices()) std::printf("%2d  %8.4f %8.4f %8.4f\n", v.index, v.x, v.y, v.z);

  // A cubic B-spline through the same points, evaluated half way.
  auto [fitted, status] = rivezi3z::fit(points, 3);
  zv_pnt_3d mid{};
  if (!status || !fitted.point(0.5, mid)) return 1;
  std::printf("fit at 0.5: %.4f %.4f %.4f\n", mid.x, mid.y, mid.z);
  return 0;
}
