// Bad inputs of the direct polylines: one row per function and class of
// bad input (missing lists and outputs, counts at their extremes, lists
// shorter than stated), with the result, count and messages each must give.
#include "bad_inputs.hpp"

namespace {

using zvtest::BadInput;
using zvtest::Message;

std::vector<zv_pnt_3d> points(int n) {
  std::vector<zv_pnt_3d> out;
  for (int i = 0; i < n; ++i) out.push_back({1.0 * i, (i % 2) * 1.0, 0.5 * i});
  return out;
}

// f(ctrl, out, &count) over a polygon of k points into a fresh list:
// result * 100000 + count * 10 + (1 when anything was appended).
template <class F>
long polyline(int k, int16_t count, F f, bool with_out = true) {
  ll_list *ctrl = zvtest::make_polygon(points(k)), *out = with_out ? ll_create_list() : nullptr;
  const long r = f(ctrl, out, &count);
  const long appended = ll_list_length(out) > 0;
  ll_purge_list(ctrl), ll_purge_list(out);
  return r * 100000 + count * 10 + appended;
}

long cubic(int16_t n, int k, int16_t wanted = 10) {
  return polyline(k, wanted, [n](ll_list *c, ll_list *o, int16_t *w) { return zv_bspline_3d(n, c, w, o); });
}

long quadratic(int16_t n, int k, int16_t mode = 4) {
  return polyline(k, -7, [n, mode](ll_list *c, ll_list *o, int16_t *w) { return zv_quad_bspline_3d(n, c, mode, w, o); });
}

long catrom(int16_t n, int k, bool with_out = true) {
  return polyline(k, -7, [n](ll_list *c, ll_list *o, int16_t *w) { return zv_catrom_curve_3d(n, c, 4, 0.5, w, o); },
                  with_out);
}

long bezier(int k, int16_t m, int16_t n, bool with_out = true) {
  return polyline(k, 0, [m, n](ll_list *c, ll_list *o, int16_t *) { return zv_bezier_curve_3d(c, m, n, o); }, with_out);
}

// The array form into an array the call must leave alone: 1 when untouched.
long bezier_array(const zv_pnt_3d *pts, int16_t m, int16_t n, bool null_out = false) {
  zv_pnt_3d out[4] = {{-99, 0, 0}, {-99, 0, 0}, {-99, 0, 0}, {-99, 0, 0}};
  const long r = zv_beziercurve3d(pts, m, n, null_out ? nullptr : out);
  return r * 10 + (out[0].x == -99);
}

const Message kBadCount{"BADCNT", 33, "zv_catrom_curve_3d"};

class PolylinesFamily : public zvtest::KernelTest {};

TEST_F(PolylinesFamily, BadInputTable) {
  const auto pts = points(4);
  const std::vector<BadInput> rows = {
      {"zv_bez_factorial3", "n = -32768: 1", [] { return static_cast<long>(zv_bez_factorial3(-32768)); }, 1},
      {"zv_bez_factorial3", "n = 32767: +inf at once", [] { return static_cast<long>(std::isinf(zv_bez_factorial3(32767))); }, 1},
      {"zv_beziercurve3d", "n = 0", [&] { return bezier_array(pts.data(), 4, 0); }, 1},
      {"zv_beziercurve3d", "n = -32768", [&] { return bezier_array(pts.data(), 4, -32768); }, 1},
      {"zv_beziercurve3d", "m = -32768", [&] { return bezier_array(pts.data(), -32768, 4); }, 1},
      {"zv_beziercurve3d", "null points", [] { return bezier_array(nullptr, 4, 4); }, 1},
      {"zv_beziercurve3d", "null out", [&] { return bezier_array(pts.data(), 4, 4, true); }, 1},
      {"zv_bezier_curve_3d", "null polygon", [] { return zv_bezier_curve_3d(nullptr, 7, 10, nullptr); }, 0},
      {"zv_bezier_curve_3d", "null list: private", [] { return bezier(7, 7, 10, false); }, 0},
      {"zv_bezier_curve_3d", "null list, two points copied", [] { return bezier(7, 2, 10, false); }, 0},
      {"zv_bezier_curve_3d", "m = 32767 over seven points", [] { return bezier(7, 32767, 5); }, 1},
      {"zv_bezier_curve_3d", "m = -32768: nothing takes part", [] { return bezier(7, -32768, 5); }, 0},
      {"zv_bezier_curve_3d", "n = -32768", [] { return bezier(7, 7, -32768); }, 0},
      {"zv_bezier_curve_3d", "empty polygon", [] { return bezier(0, 7, 5); }, 0},
      {"zv_bspline_3d", "null control list", [] {
         int16_t w = 8;
         return zv_bspline_3d(6, nullptr, &w, nullptr) * 10 + w;
       }, 18},
      {"zv_bspline_3d", "null count", [] { return cubic(6, 6) && zv_bspline_3d(6, nullptr, nullptr, nullptr); }, 1},
      {"zv_bspline_3d", "n = 3", [] { return cubic(3, 4); }, 0},
      {"zv_bspline_3d", "n = 2", [] { return cubic(2, 4); }, 0},
      {"zv_bspline_3d", "n = -32768", [] { return cubic(-32768, 4); }, 0},
      {"zv_bspline_3d", "list shorter than n", [] { return cubic(6, 5); }, 100000},
      {"zv_bspline_3d", "n = 32767 over five points", [] { return cubic(32767, 5); }, 100000},
      {"zv_bspline_3d", "request -32768: nothing (appended four)", [] { return cubic(6, 6, -32768); }, 0},
      {"zv_quad_bspline_3d", "null control list", [] {
         int16_t c = -1;
         return zv_quad_bspline_3d(4, nullptr, 4, &c, nullptr) * 10 + c;
       }, 0},
      {"zv_quad_bspline_3d", "null count", [] {
         ll_list *c = zvtest::make_polygon(points(4));
         const long r = zv_quad_bspline_3d(4, c, 4, nullptr, nullptr);
         ll_purge_list(c);
         return r;
       }, 0},
      {"zv_quad_bspline_3d", "n = 1", [] { return quadratic(1, 4); }, 3300000},
      {"zv_quad_bspline_3d", "n = 0", [] { return quadratic(0, 4); }, 3300000},
      {"zv_quad_bspline_3d", "n = -32768", [] { return quadratic(-32768, 4); }, 3300000},
      {"zv_quad_bspline_3d", "list shorter than n", [] { return quadratic(5, 4); }, 3300000},
      {"zv_quad_bspline_3d", "n = 2 over one point", [] { return quadratic(2, 1); }, 3300000},
      {"zv_quad_bspline_3d", "mode -32768: step 0.05", [] { return quadratic(3, 3, -32768); }, 211},
      {"zv_catrom_curve_3d", "null control list", [] {
         int16_t c = -1;
         return zv_catrom_curve_3d(4, nullptr, 4, 0.5, &c, nullptr) * 10 + c;
       }, 10},
      {"zv_catrom_curve_3d", "null control list, n = 2", [] {
         int16_t c = -1;
         return zv_catrom_curve_3d(2, nullptr, 4, 0.5, &c, nullptr) * 10 + c;
       }, 10},
      {"zv_catrom_curve_3d", "null count", [] {
         ll_list *c = zvtest::make_polygon(points(5));
         const long r = zv_catrom_curve_3d(5, c, 4, 0.5, nullptr, nullptr);
         ll_purge_list(c);
         return r;
       }, 1},
      {"zv_catrom_curve_3d", "null list, two points: private", [] { return catrom(2, 2, false); }, 20},
      {"zv_catrom_curve_3d", "n = 3", [] { return catrom(3, 6); }, 3300000, {kBadCount}},
      {"zv_catrom_curve_3d", "n = 1", [] { return catrom(1, 6); }, 3300000, {kBadCount}},
      {"zv_catrom_curve_3d", "n = -32768", [] { return catrom(-32768, 6); }, 3300000, {kBadCount}},
      {"zv_catrom_curve_3d", "list shorter than n", [] { return catrom(7, 6); }, 3300000, {kBadCount}},
      {"zv_catrom_curve_3d", "n = 2 over one point", [] { return catrom(2, 1); }, 3300000, {kBadCount}},
  };
  zvtest::check_bad_inputs(reports, rows);
}

}  // namespace
