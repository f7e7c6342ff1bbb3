// Vertex writers. The SVG drawing is a gallery panel, so it looks like the
// gallery's cells.
#include "vertex_output.hpp"

#include <cmath>
#include <cstdio>

#include "panel.hpp"

namespace zvcurve {

namespace {

// A coordinate with every digit; a non-finite one (a zero weight sum gives
// those) as "nan", "inf" or "-inf".
std::string number(double v) {
  if (std::isnan(v)) return "nan";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

// JSON has no non-finite numbers: those become null.
std::string json_number(double v) { return std::isfinite(v) ? number(v) : "null"; }

std::vector<gallery::Point2> xy(const std::vector<zv_poly_3d> &vertices) {
  std::vector<gallery::Point2> out;
  for (const zv_poly_3d &v : vertices) out.push_back({v.x, v.y});
  return out;
}

}  // namespace

void write_vertices(std::ostream &out, Format format, const std::vector<zv_poly_3d> &vertices,
                    const Drawing &drawing) {
  switch (format) {
    case Format::csv:
      out << "index,x,y,z\n";
      for (const zv_poly_3d &v : vertices)
        out << v.index << ',' << number(v.x) << ',' << number(v.y) << ',' << number(v.z) << '\n';
      break;
    case Format::json:
      out << "{\"vertices\": [";
      for (size_t i = 0; i < vertices.size(); ++i) {
        const zv_poly_3d &v = vertices[i];
        out << (i ? ",\n  " : "\n  ") << "{\"index\": " << v.index << ", \"x\": " << json_number(v.x)
            << ", \"y\": " << json_number(v.y) << ", \"z\": " << json_number(v.z) << '}';
      }
      out << "\n]}\n";
      break;
    case Format::obj:
      out << "# " << drawing.title << '\n';
      for (const zv_poly_3d &v : vertices) out << "v " << number(v.x) << ' ' << number(v.y) << ' ' << number(v.z) << '\n';
      if (drawing.as_polyline && vertices.size() > 1) {
        out << 'l';
        for (size_t i = 1; i <= vertices.size(); ++i) out << ' ' << i;
        out << '\n';
      }
      break;
    case Format::svg: {
      gallery::Panel panel(drawing.title);
      if (!drawing.control_points.empty()) {
        std::vector<gallery::Point2> ctrl;
        for (const zv_pnt_3d &p : drawing.control_points) ctrl.push_back({p.x, p.y});
        panel.polyline(ctrl, "#999", 1.0, true);
        panel.dots(ctrl, "#999", 3.0);
      }
      const char *const shades[] = {"#6a4c93", "#2a9d8f"};
      for (size_t i = 0; i < drawing.backdrop.size(); ++i) panel.polyline(xy(drawing.backdrop[i]), shades[i % 2], 1.2);
      if (drawing.as_polyline) panel.polyline(xy(vertices), "#264653", 1.6);
      panel.dots(xy(vertices), drawing.as_polyline ? "#264653" : "#d62828", drawing.as_polyline ? 1.6 : 4.0);
      panel.label(std::to_string(vertices.size()) + (drawing.as_polyline ? " vertices" : " points"), "#555");
      const double size = 440.0;
      out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"440\" height=\"440\">\n"
          << panel.svg(0.0, 0.0, size) << "</svg>\n";
      break;
    }
  }
}

}  // namespace zvcurve
