// Regular polygons in a plane parallel to XY, appended as numbered vertices.
#include "services/da3v/vec3.hpp"

#include <numbers>

namespace {

using zv::da3v::Vec3;

// Corner i of a regular n-gon of radius r about c, counter-clockwise from
// angle 0. Corners at quarter turns are placed exactly on the axes, where
// cos and sin of a rounded multiple of pi/2 would leave a residue.
Vec3 corner(Vec3 c, double r, int i, int n) {
  const long quarters = 4L * i;
  if (quarters % n == 0) {
    switch ((quarters / n) & 3) {
      case 0: return {c.x + r, c.y, c.z};
      case 1: return {c.x, c.y + r, c.z};
      case 2: return {c.x - r, c.y, c.z};
      default: return {c.x, c.y - r, c.z};
    }
  }
  const double angle = (2.0 * std::numbers::pi * i) / n;
  return {c.x + r * std::cos(angle), c.y + r * std::sin(angle), c.z};
}

}  // namespace

extern "C" ZV_API int16_t zv_regpolyxyzpnts(const zv_pnt_3d *centre, double radius, int16_t n,
                                            int16_t *count, int32_t /*reserved1*/,
                                            int32_t /*reserved2*/, ll_list *list) {
  if (!centre || !count || !list || n < 3) return 1;
  const Vec3 c = zv::da3v::load(*centre);
  // n + 1 vertices: corner n is corner 0 again, so the polygon closes exactly.
  for (int i = 0; i <= n; ++i) {
    const Vec3 p = corner(c, radius, i % n, n);
    zv_poly_3d *v = zv_create_poly_3d();
    if (!v) return -1;
    v->index = *count;
    v->x = p.x;
    v->y = p.y;
    v->z = p.z;
    // A refused append releases the vertex inside the kernel; nothing to free here.
    if (!ll_add_list_item(list, 1, v, ZV_ITEM_POLY)) return -1;
    // Vertex numbers wrap as two's complement past 32767, as int16 indices do.
    *count = static_cast<int16_t>(*count + 1);
  }
  return 0;
}
