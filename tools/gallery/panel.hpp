// A gallery panel: a drawing in the curve's own XY coordinates that the
// page scales into one cell, plus a one-line summary per curve.
#pragma once

#include <rivezi3z/rivezi3z.h>

#include <string>
#include <vector>

namespace gallery {

struct Point2 {
  double x = 0.0, y = 0.0;
};

// What the gallery prints for each curve it drew.
struct Summary {
  std::string name;
  long vertices = 0;
  double length = 0.0;
};

class Panel {
 public:
  explicit Panel(std::string title) : title_(std::move(title)) {}

  void polyline(const std::vector<Point2> &points, const char *colour, double width, bool dashed = false);
  void dots(const std::vector<Point2> &points, const char *colour, double radius);
  // A short fixed-length stroke from a point along a direction (frame ticks).
  void tick(Point2 at, Point2 direction, const char *colour);
  void label(const std::string &text, const char *colour);

  // Draws a curve record's vertex list with its vertices and, when frames
  // is true, the tangent and normal ticks of its statistics records (some
  // tessellators record the parameter alone), and records its summary.
  void curve(const std::string &name, const zv_curve *curve, const char *colour, bool frames = true);

  // The panel as an SVG group in the square cell at (x, y) of side size.
  std::string svg(double x, double y, double size) const;

  const std::vector<Summary> &summaries() const { return summaries_; }

 private:
  struct Stroke {
    std::vector<Point2> points;
    std::string colour;
    double width;
    bool dashed;
  };
  struct Dots {
    std::vector<Point2> points;
    std::string colour;
    double radius;
  };
  struct Tick {
    Point2 at, direction;
    std::string colour;
  };
  std::string title_;
  std::vector<Stroke> strokes_;
  std::vector<Dots> dots_;
  std::vector<Tick> ticks_;
  std::vector<std::pair<std::string, std::string>> labels_;
  std::vector<Summary> summaries_;
};

// Each family's file registers the function that makes its panels; the
// gallery draws them in the order given.
using PanelMaker = std::vector<Panel> (*)();
struct Registration {
  Registration(int order, PanelMaker maker);
};
std::vector<std::pair<int, PanelMaker>> &registry();

// The XY positions of the vertices of a list.
std::vector<Point2> positions(const ll_list *list);

// A new list of vertices at the given points, for building inputs.
ll_list *polygon(const std::vector<zv_pnt_3d> &points);

// A new list of real numbers (knots or weights), for building inputs.
ll_list *reals(const std::vector<double> &values);

}  // namespace gallery
