// Drawing and layout of gallery panels as SVG.
#include "panel.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace gallery {

namespace {

std::string number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}

// Escapes the characters XML gives meaning to.
std::string escaped(const std::string &text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

void Panel::polyline(const std::vector<Point2> &points, const char *colour, double width, bool dashed) {
  strokes_.push_back({points, colour, width, dashed});
}

void Panel::dots(const std::vector<Point2> &points, const char *colour, double radius) {
  dots_.push_back({points, colour, radius});
}

void Panel::tick(Point2 at, Point2 direction, const char *colour) { ticks_.push_back({at, direction, colour}); }

void Panel::label(const std::string &text, const char *colour) { labels_.emplace_back(text, colour); }

void Panel::curve(const std::string &name, const zv_curve *c, const char *colour, bool frames) {
  const std::vector<Point2> pts = positions(c->vertex_list);
  polyline(pts, colour, 1.6);
  dots(pts, colour, 1.6);
  Summary s{name, 0, 0.0};
  const zv_poly_3d *prev = nullptr;
  for (const ll_node *n = c->vertex_list ? c->vertex_list->head : nullptr; n; n = n->next) {
    const auto *v = static_cast<const zv_poly_3d *>(n->data);
    if (prev) s.length += std::sqrt((v->x - prev->x) * (v->x - prev->x) + (v->y - prev->y) * (v->y - prev->y) +
                                    (v->z - prev->z) * (v->z - prev->z));
    prev = v;
    ++s.vertices;
  }
  // Frame ticks on every other vertex keep the drawing readable.
  const ll_node *sn = frames && c->stats_list ? c->stats_list->head : nullptr;
  for (size_t i = 0; sn && i < pts.size(); ++i, sn = sn->next) {
    if (i % 2) continue;
    const auto *st = static_cast<const zv_curve_stats_3d *>(sn->data);
    tick(pts[i], {st->tangent.dx, st->tangent.dy}, "#2a9d8f");
    tick(pts[i], {st->normal.dx, st->normal.dy}, "#e76f51");
  }
  summaries_.push_back(s);
}

std::string Panel::svg(double x, double y, double size) const {
  double lo_x = std::numeric_limits<double>::infinity(), lo_y = lo_x, hi_x = -lo_x, hi_y = -lo_x;
  auto grow = [&](const Point2 &p) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
    lo_x = std::min(lo_x, p.x), hi_x = std::max(hi_x, p.x);
    lo_y = std::min(lo_y, p.y), hi_y = std::max(hi_y, p.y);
  };
  for (const auto &s : strokes_) std::for_each(s.points.begin(), s.points.end(), grow);
  for (const auto &d : dots_) std::for_each(d.points.begin(), d.points.end(), grow);
  if (lo_x > hi_x) lo_x = hi_x = lo_y = hi_y = 0.0;
  const double margin = 24.0, top = 40.0;
  const double span = std::max({hi_x - lo_x, hi_y - lo_y, 1e-9});
  const double scale = (size - 2 * margin - top) / span;
  // World to page: y grows upwards in the curve's frame, downwards on the page.
  // The drawing is centred in the cell below the title.
  const double room = size - 2 * margin - top;
  const double off_x = (room - (hi_x - lo_x) * scale) / 2, off_y = (room - (hi_y - lo_y) * scale) / 2;
  auto px = [&](double wx) { return x + margin + off_x + (wx - lo_x) * scale; };
  auto py = [&](double wy) { return y + top + margin + off_y + (hi_y - wy) * scale; };

  std::string out = "<g>\n<rect x=\"" + number(x + 4) + "\" y=\"" + number(y + 4) + "\" width=\"" +
                    number(size - 8) + "\" height=\"" + number(size - 8) +
                    "\" fill=\"#fcfcf9\" stroke=\"#ccc\"/>\n";
  out += "<text x=\"" + number(x + 14) + "\" y=\"" + number(y + 26) +
         "\" font-family=\"sans-serif\" font-size=\"15\" font-weight=\"bold\">" + escaped(title_) + "</text>\n";
  for (size_t i = 0; i < labels_.size(); ++i)
    out += "<text x=\"" + number(x + 14) + "\" y=\"" + number(y + size - 14 - 14.0 * i) +
           "\" font-family=\"sans-serif\" font-size=\"11\" fill=\"" + labels_[i].second + "\">" +
           escaped(labels_[i].first) + "</text>\n";
  for (const auto &s : strokes_) {
    out += "<polyline fill=\"none\" stroke=\"" + s.colour + "\" stroke-width=\"" + number(s.width) + "\"" +
           (s.dashed ? " stroke-dasharray=\"4 3\"" : "") + " points=\"";
    for (const auto &p : s.points)
      if (std::isfinite(p.x) && std::isfinite(p.y)) out += number(px(p.x)) + "," + number(py(p.y)) + " ";
    out += "\"/>\n";
  }
  for (const auto &t : ticks_) {
    const double len = std::hypot(t.direction.x, t.direction.y);
    if (!(len > 0.0)) continue;
    const double ux = 9.0 * t.direction.x / len, uy = 9.0 * t.direction.y / len;
    out += "<line x1=\"" + number(px(t.at.x)) + "\" y1=\"" + number(py(t.at.y)) + "\" x2=\"" +
           number(px(t.at.x) + ux) + "\" y2=\"" + number(py(t.at.y) - uy) + "\" stroke=\"" + t.colour +
           "\" stroke-width=\"1\"/>\n";
  }
  for (const auto &d : dots_)
    for (const auto &p : d.points)
      if (std::isfinite(p.x) && std::isfinite(p.y))
        out += "<circle cx=\"" + number(px(p.x)) + "\" cy=\"" + number(py(p.y)) + "\" r=\"" + number(d.radius) +
               "\" fill=\"" + d.colour + "\"/>\n";
  return out + "</g>\n";
}

Registration::Registration(int order, PanelMaker maker) { registry().emplace_back(order, maker); }

std::vector<std::pair<int, PanelMaker>> &registry() {
  static std::vector<std::pair<int, PanelMaker>> makers;
  return makers;
}

std::vector<Point2> positions(const ll_list *list) {
  std::vector<Point2> out;
  for (const ll_node *n = list ? list->head : nullptr; n; n = n->next) {
    const auto *v = static_cast<const zv_poly_3d *>(n->data);
    out.push_back({v->x, v->y});
  }
  return out;
}

ll_list *polygon(const std::vector<zv_pnt_3d> &points) {
  ll_list *list = ll_create_list();
  int16_t i = 0;
  for (const zv_pnt_3d &p : points) {
    zv_poly_3d *v = zv_create_poly_3d();
    if (!v) break;
    v->index = i++;
    v->x = p.x;
    v->y = p.y;
    v->z = p.z;
    ll_add_list_item(list, 1, v, ZV_ITEM_POLY);
  }
  return list;
}

ll_list *reals(const std::vector<double> &values) {
  ll_list *list = ll_create_list();
  for (double value : values) {
    zv_rnumber *r = zv_create_rnumber();
    if (!r) break;
    r->value = value;
    ll_add_list_item(list, 1, r, ZV_ITEM_RNUMBER);
  }
  return list;
}

}  // namespace gallery
