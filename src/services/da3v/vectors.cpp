// Directions: the vector between two points, the unit vector and the unit
// perpendicular. unitvector and normalvector3d run once per tessellated
// sample, so they stay allocation-free and branch-light.
#include "services/da3v/vec3.hpp"

namespace {

using zv::da3v::Vec3;

// Largest components whose squares sum without overflow or underflow.
constexpr double kSmallScale = 0x1p-500;
constexpr double kLargeScale = 0x1p+500;

// Squared form of "the XY part is longer than 1e-7 times the whole length".
constexpr double kFlatRatioSquared = 1e-14;

// Result codes shared by the two direction functions.
constexpr int16_t kDone = 0;
constexpr int16_t kMissingArgument = 1;
constexpr int16_t kNoDirection = 2;

// Rescales v so its squared length is representable, keeping its direction.
// Returns false for a zero or non-finite vector, which has no direction.
inline bool bring_into_range(Vec3 &v) {
  if (!zv::da3v::finite(v)) return false;
  const double m = zv::da3v::max_abs(v);
  if (m == 0.0) return false;
  // Only extreme magnitudes pay for the division; ordinary ones go straight on.
  if (m < kSmallScale || m > kLargeScale) v = {v.x / m, v.y / m, v.z / m};
  return true;
}

// Reads src whole before anything is written (src may be dst) and brings it
// into range; a zero or non-finite vector writes the zero vector to dst.
inline int16_t read_direction(const zv_vector_3d *src, zv_vector_3d *dst, Vec3 &v) {
  if (!src || !dst) return kMissingArgument;
  v = zv::da3v::load(*src);
  if (bring_into_range(v)) return kDone;
  zv::da3v::store(Vec3{}, dst);
  return kNoDirection;
}

}  // namespace

extern "C" ZV_API void zv_line_to_vector_3d(zv_pnt_3d p1, zv_pnt_3d p2, zv_vector_3d *vec) {
  if (!vec) return;
  zv::da3v::store(zv::da3v::load(p2) - zv::da3v::load(p1), vec);
}

extern "C" ZV_API int16_t zv_unitvector(const zv_vector_3d *src, zv_vector_3d *dst) {
  Vec3 v;
  if (const int16_t result = read_direction(src, dst, v)) return result;
  const double len = std::sqrt(zv::da3v::dot(v, v));
  zv::da3v::store({v.x / len, v.y / len, v.z / len}, dst);
  return kDone;
}

extern "C" ZV_API int16_t zv_normalvector3d(const zv_vector_3d *src, zv_vector_3d *dst) {
  Vec3 v;
  if (const int16_t result = read_direction(src, dst, v)) return result;
  const double xy2 = v.x * v.x + v.y * v.y;
  const double all2 = xy2 + v.z * v.z;
  if (xy2 > kFlatRatioSquared * all2) {
    const double h = std::sqrt(xy2);
    // 0.0 - y keeps a +0.0 component for vectors on the x axis.
    zv::da3v::store({0.0 - v.y / h, v.x / h, 0.0}, dst);
  } else {
    // Along z every perpendicular is in the XY plane; +x is the fixed choice.
    zv::da3v::store({1.0, 0.0, 0.0}, dst);
  }
  return kDone;
}
