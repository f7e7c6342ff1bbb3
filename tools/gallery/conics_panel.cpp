// Gallery panels of the conic families: circle and arcs through angle 0,
// ellipse, hyperbola, parabola and cycloid, with the frames of each conic.
#include <cmath>
#include <functional>

#include "panel.hpp"

namespace gallery {
namespace {

constexpr double kPi = 3.141592653589793;

// The frame function of a conic at a vertex: first (tangent), second (normal).
using FrameAt = std::function<void(zv_pnt_3d, zv_vector_3d *, zv_vector_3d *)>;

// A curve record holding the vertices a conic function appends to its
// vertex list, and, when given, the conic's frame at each of them, so the
// panel draws ticks and prints a summary as for every other curve.
class Drawn {
 public:
  Drawn() : record_(zv_create_curve()) {}
  ~Drawn() { zv_purge_curve(record_); }
  Drawn(const Drawn &) = delete;
  Drawn &operator=(const Drawn &) = delete;

  ll_list *list() const { return record_ ? record_->vertex_list : nullptr; }

  void draw(Panel &panel, const std::string &name, const char *colour, const FrameAt &frame = nullptr) {
    if (!record_) return;
    for (const ll_node *n = list()->head; frame && n; n = n->next) {
      const auto *v = static_cast<const zv_poly_3d *>(n->data);
      zv_curve_stats_3d *s = zv_create_curve_stats_3d();
      if (!s) break;
      zv_vector_3d first{}, second{};
      frame(zv_pnt_3d{v->x, v->y, v->z}, &first, &second);
      s->tangent = first;
      s->normal = second;
      ll_add_list_item(record_->stats_list, 1, s, ZV_ITEM_PLAIN);
    }
    panel.curve(name, record_, colour);
  }

 private:
  zv_curve *record_;
};

const char *const kTicks = "ticks: tangent (green), normal (red) from the frame functions";

Panel circle_panel() {
  Panel panel("Circle and arcs through angle 0");
  const zv_pnt_3d c{0, 0, 0};
  Drawn polygon, arc, wide;
  int16_t count = 0;
  zv_circlepnts_3d(c, 2.0, 24, &count, polygon.list());
  polygon.draw(panel, "circle polygon n=24", "#999");
  zv_circle_arc_3d(c, 2.0, 12, 0.75, 0.25, arc.list());
  arc.draw(panel, "circle arc 0.75 -> 0.25 turn", "#264653",
           [&](zv_pnt_3d p, zv_vector_3d *f, zv_vector_3d *s) { zv_circle_stats_3d(c, p, f, s); });
  zv_arcpnts_3d(c, 3.0, 5 * kPi / 3, kPi / 3, 10, wide.list());
  wide.draw(panel, "arc 5pi/3 -> pi/3, r=3", "#6a4c93");
  panel.label(kTicks, "#555");
  return panel;
}

Panel ellipse_panel() {
  Panel panel("Ellipse in a rectangle, arc through angle 0");
  zv_pnt_3d p1{1, 1, 0}, p2{9, 5, 0};
  const zv_pnt_3d c{5, 3, 0};
  panel.polyline({{1, 1}, {9, 1}, {9, 5}, {1, 5}, {1, 1}}, "#bbb", 1.0, true);
  Drawn closed, arc;
  int16_t n = 22, count = 0;
  zv_ellipsepnts_3d(&p1, &p2, &n, &count, closed.list());
  closed.draw(panel, "ellipse n=" + std::to_string(n), "#1d3557",
              [&](zv_pnt_3d p, zv_vector_3d *f, zv_vector_3d *s) { zv_ellipse_stats_3d(c, 4, 2, p, f, s); });
  zv_pnt_3d q1{2, 2, 0}, q2{8, 4, 0};
  int16_t m = 10;
  zv_elliptic_arc_3d(&q1, &q2, &m, 3 * kPi / 2, kPi / 2, arc.list());
  arc.draw(panel, "elliptic arc 3pi/2 -> pi/2", "#9d0208");
  panel.label(kTicks, "#555");
  return panel;
}

Panel hyperbola_panel() {
  Panel panel("Hyperbola: both branches in their rectangle");
  zv_pnt_3d c1{-2, -1, 0}, c2{2, 1, 0};
  const zv_pnt_3d c{0, 0, 0};
  panel.polyline({{-2, -1}, {2, -1}, {2, 1}, {-2, 1}, {-2, -1}}, "#bbb", 1.0, true);
  panel.polyline({{-5, -2.5}, {5, 2.5}}, "#bbb", 1.0, true);
  panel.polyline({{-5, 2.5}, {5, -2.5}}, "#bbb", 1.0, true);
  Drawn right, left, arc;
  int16_t n = 12, count = 0;
  zv_hyperbolapnts_3d(0, &c1, &c2, 3.0, &n, &count, right.list(), left.list());
  const FrameAt frame = [&](zv_pnt_3d p, zv_vector_3d *f, zv_vector_3d *s) {
    zv_hyperbola_stats_3d(c, 2, 1, 0, p, f, s);
  };
  right.draw(panel, "right branch", "#264653", frame);
  left.draw(panel, "left branch", "#264653", frame);
  int16_t m = 8;
  zv_hyperbolic_arc_3d({0, 0, 0}, 2.5, 1.25, &m, 0.4, -0.4, arc.list());
  arc.draw(panel, "hyperbolic arc t 0.4 -> -0.4", "#e76f51");
  panel.label(kTicks, "#555");
  return panel;
}

Panel parabola_panel() {
  Panel panel("Parabola: symmetric polyline and arc");
  zv_pnt_3d v{0, 0, 0};
  Drawn sym, arc;
  int16_t n = 12, count = 0;
  zv_parabolapnts_3d(0, &v, 0.5, 4.0, &n, &count, sym.list());
  sym.draw(panel, "parabola along x, a=0.5", "#1d3557",
           [&](zv_pnt_3d p, zv_vector_3d *f, zv_vector_3d *s) { zv_parabola_stats_3d(v, 0.5, 0, p, f, s); });
  zv_parabolic_arc_3d({0, -1, 0}, -0.25, 1, 10, 2.5, -2.5, arc.list());
  arc.draw(panel, "parabolic arc along y, a=-0.25", "#6a4c93");
  panel.label(kTicks, "#555");
  return panel;
}

Panel cycloid_panel() {
  Panel panel("Cycloid: one arch each side");
  zv_pnt_3d start{0, 0, 0};
  Drawn up, down;
  int16_t n = 24, count = 0;
  zv_cycloidpnts_3d(&start, 1.0, &n, up.list(), &count);
  up.draw(panel, "cycloid r=1", "#264653");
  zv_cycloidpnts_3d(&start, -0.5, &n, down.list(), &count);
  down.draw(panel, "cycloid r=-0.5", "#9d0208");
  panel.polyline({{0, 0}, {2 * kPi, 0}}, "#bbb", 1.0, true);
  return panel;
}

std::vector<Panel> conics_panels() {
  return {circle_panel(), ellipse_panel(), hyperbola_panel(), parabola_panel(), cycloid_panel()};
}

const Registration registered(30, conics_panels);

}  // namespace
}  // namespace gallery
