// Writing vertices as CSV, JSON, OBJ or SVG.
#pragma once

#include <rivezi3z/rivezi3z.h>

#include <ostream>
#include <string>
#include <vector>

namespace zvcurve {

enum class Format { csv, json, obj, svg };

// What an SVG drawing shows besides the vertices.
struct Drawing {
  std::string title;
  std::vector<zv_pnt_3d> control_points;  // dashed polygon, may be empty
  std::vector<std::vector<zv_poly_3d>> backdrop;  // thin polylines under the vertices
  bool as_polyline = true;                // false: points only (crossings)
};

// Writes the vertices in the format; numbers keep every digit (%.17g),
// so they read back exactly.
void write_vertices(std::ostream &out, Format format, const std::vector<zv_poly_3d> &vertices,
                    const Drawing &drawing);

}  // namespace zvcurve
