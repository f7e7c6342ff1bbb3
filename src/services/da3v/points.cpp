// Polar placement of a point in a plane parallel to XY.
#include "services/da3v/vec3.hpp"

extern "C" ZV_API void zv_pntangledist_3d(const zv_pnt_3d *origin, double r, double theta,
                                          zv_pnt_3d *out) {
  if (!origin || !out) return;
  const zv::da3v::Vec3 o = zv::da3v::load(*origin);  // origin may be out
  zv::da3v::store({o.x + r * std::cos(theta), o.y + r * std::sin(theta), o.z}, out);
}
