// Small value types shared by the geometry services: a 3-vector with the
// arithmetic the services need, and loads/stores for the packed records.
#pragma once

#include <rivezi3z/da3v.h>

#include <algorithm>
#include <cmath>

namespace zv::da3v {

// A 3-vector of doubles, held by value (never a reference into a packed record).
struct Vec3 {
  double x = 0.0, y = 0.0, z = 0.0;
};

// Componentwise difference a - b.
constexpr Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// Componentwise sum a + b.
constexpr Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

// Vector scaled by k.
constexpr Vec3 operator*(double k, Vec3 a) { return {k * a.x, k * a.y, k * a.z}; }

// Dot product.
constexpr double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Cross product a x b.
constexpr Vec3 cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Largest absolute component; the scale used to keep squares in range.
inline double max_abs(Vec3 a) { return std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(a.z)}); }

// Whether all three components are finite.
inline bool finite(Vec3 a) { return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z); }

// Copies a point record into a vector.
inline Vec3 load(const zv_pnt_3d &p) { return {p.x, p.y, p.z}; }

// Copies the direction of a vector record (aux0 and aux1 are not read).
inline Vec3 load(const zv_vector_3d &v) { return {v.dx, v.dy, v.dz}; }

// Writes a direction into a vector record; every produced vector has aux0 = aux1 = 0.
inline void store(Vec3 d, zv_vector_3d *v) {
  v->aux0 = 0.0;
  v->aux1 = 0.0;
  v->dx = d.x;
  v->dy = d.y;
  v->dz = d.z;
}

// Writes a position into a point record.
inline void store(Vec3 p, zv_pnt_3d *out) {
  out->x = p.x;
  out->y = p.y;
  out->z = p.z;
}

}  // namespace zv::da3v
