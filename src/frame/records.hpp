// Plain value types for the library's arithmetic and the one place where
// they are copied in and out of the packed public records.
#pragma once

#include <rivezi3z/rivivi.h>

namespace zv {

// A point or direction held by value while computing.
struct Point3 {
  double x = 0.0, y = 0.0, z = 0.0;
};

// The position of a packed vertex, copied out field by field.
inline Point3 load(const zv_poly_3d &v) { return {v.x, v.y, v.z}; }

// A packed point record held by value.
inline Point3 load(const zv_pnt_3d &p) { return {p.x, p.y, p.z}; }

// The direction of a packed vector record.
inline Point3 load(const zv_vector_3d &v) { return {v.dx, v.dy, v.dz}; }

// Writes a position into a packed vertex, leaving its index alone.
inline void store(const Point3 &p, zv_poly_3d *v) {
  v->x = p.x;
  v->y = p.y;
  v->z = p.z;
}

// Writes a position into a packed point record.
inline void store(const Point3 &p, zv_pnt_3d *out) { *out = zv_pnt_3d{p.x, p.y, p.z}; }

// A vector record with the given direction and the services' two words zero.
inline zv_vector_3d vector_of(const Point3 &d) { return zv_vector_3d{0.0, 0.0, d.x, d.y, d.z}; }

// Vertex numbers are int16 and wrap as two's complement past 32767.
inline int16_t vertex_number(long n) { return static_cast<int16_t>(static_cast<uint16_t>(n)); }

}  // namespace zv
