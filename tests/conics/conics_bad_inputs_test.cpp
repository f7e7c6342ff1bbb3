// Bad inputs of every conic, arc and cycloid function: one row per function
// and class of bad input, with the result and the messages it must give.
#include "bad_inputs.hpp"

namespace {

using zvtest::BadInput;
using zvtest::kInf;
using zvtest::kNaN;
using zvtest::Message;

const zv_pnt_3d C{1.0, 2.0, 3.0};
const zv_pnt_3d kLow{0.0, 0.0, 3.0}, kHigh{4.0, 2.0, 3.0};

// f(list) into a fresh list: its result, or 1000 + the vertex count when
// it appended anything.
template <class F>
long nothing(F f) {
  ll_list *list = ll_create_list();
  const long r = f(list), n = ll_list_length(list);
  ll_purge_list(list);
  return n ? 1000 + n : r;
}

// f(list) into a fresh list: its result, whatever it appended.
template <class F>
long kept(F f) {
  ll_list *list = ll_create_list();
  const long r = f(list);
  ll_purge_list(list);
  return r;
}

// 1 when a point is (x, y, z) exactly, NaN matching NaN.
bool same(double a, double b) { return a == b || (a != a && b != b); }
long at(const zv_pnt_3d &p, double x, double y, double z) { return same(p.x, x) && same(p.y, y) && same(p.z, z); }
long zero(const zv_vector_3d &v) { return v.dx == 0.0 && v.dy == 0.0 && v.dz == 0.0; }

// 1 when the circle's point is (x, y, cz).
long circle_point(double radius, double t, double x = 0.0, double y = 0.0) {
  zv_pnt_3d p{9, 9, 9};
  zv_circle_pnt_3d(C, radius, t, &p);
  return at(p, x, y, C.z);
}

long ellipse_point(double a, double b, double angle) {
  zv_pnt_3d p;
  return zv_ellipse_pnt_3d(C, a, b, angle, &p);
}

// The result and count; 10000 more when a degenerate rectangle changed n.
long ellipse_polyline(zv_pnt_3d p1, zv_pnt_3d p2, int16_t n, ll_list *list) {
  const int16_t given = n;
  int16_t count = -1;
  const long r = zv_ellipsepnts_3d(&p1, &p2, &n, &count, list);
  return r * 100 + count + (r == 75 && n != given ? 10000 : 0);
}

long elliptic_arc(zv_pnt_3d p1, zv_pnt_3d p2, int16_t n, double start, ll_list *list) {
  return zv_elliptic_arc_3d(&p1, &p2, &n, start, 1.0, list) * 100 + n;
}

long ellipse_frame(double a, zv_pnt_3d pt) {
  zv_vector_3d f, s;
  return zv_ellipse_stats_3d(C, a, 1.0, pt, &f, &s);
}

long cycloid(double r, int16_t n, ll_list *list) {
  zv_pnt_3d start = C;
  int16_t count = -1;
  return zv_cycloidpnts_3d(&start, r, &n, list, &count) * 100 + count;
}

// The result * 10, plus 1 when out holds (0, 0, 0).
long hyperbola_point(double a, double t) {
  zv_pnt_3d p{9, 9, 9};
  return zv_hyperbola_pnt_3d(C, a, 1.0, t, &p) * 10 + at(p, 0, 0, 0);
}

long hyperbolic_arc(double b, int16_t n, double t1, double t2, ll_list *list) {
  return zv_hyperbolic_arc_3d(C, 2.0, b, &n, t1, t2, list);
}

long hyperbola_branches(uint8_t mode, zv_pnt_3d c1, zv_pnt_3d c2, double length) {
  int16_t n = 8, count = -1;
  ll_list *a = ll_create_list(), *b = ll_create_list();
  const long r = zv_hyperbolapnts_3d(mode, &c1, &c2, length, &n, &count, a, b);
  const long appended = ll_list_length(a) + ll_list_length(b);
  ll_purge_list(a), ll_purge_list(b);
  return appended ? 1000 + appended : r * 100 + n + (count != -1 ? 50 : 0);  // count is written on success only
}

long parabola_polyline(uint8_t mode, double a, double length) {
  zv_pnt_3d v = C;
  int16_t n = 8, count = -1;
  return nothing([&](ll_list *l) { return zv_parabolapnts_3d(mode, &v, a, length, &n, &count, l) * 100 + n + count; });
}

Message msg(const char *code, int number, const char *function) { return {code, number, function}; }

// The common result of calls that must all give the same, or -99.
long same_results(std::initializer_list<long> results) {
  for (long r : results)
    if (r != *results.begin()) return -99;
  return *results.begin();
}

class Conics : public zvtest::KernelTest {};

TEST_F(Conics, BadInputTable) {
  zv_pnt_3d p;
  zv_vector_3d v1, v2;
  int16_t n8 = 8, count = 0;
  const auto badrect = [](const char *f) { return std::vector<Message>{msg("BADRECT", 75, f)}; };
  const std::vector<BadInput> rows = {
      {"zv_circle_pnt_3d", "null out", [] { zv_circle_pnt_3d(C, 1.0, 0.3, nullptr); return 0L; }, 0},
      {"zv_circle_pnt_3d", "NaN or infinite fraction: NaN point (was (0, 0, cz))", [] {
         return circle_point(1, kNaN, kNaN, kNaN) + circle_point(1, kInf, kNaN, kNaN) + circle_point(1, -kInf, kNaN, kNaN);
       }, 3},
      {"zv_circle_pnt_3d", "zero radius off the start", [] { return circle_point(0.0, 0.3); }, 1, badrect("zv_ellipse_pnt_3d")},
      {"zv_circle_pnt_3d", "NaN radius", [] { return circle_point(kNaN, 0.3); }, 1, badrect("zv_ellipse_pnt_3d")},
      {"zv_circlepnts_3d", "null list", [&] { return zv_circlepnts_3d(C, 1.0, 6, &count, nullptr); }, 0},
      {"zv_circlepnts_3d", "null count", [] { return kept([](ll_list *l) { return zv_circlepnts_3d(C, 1.0, 6, nullptr, l); }); }, 0},
      {"zv_circlepnts_3d", "n = 2: no polygon", [&] { return nothing([&](ll_list *l) { return zv_circlepnts_3d(C, 1.0, 2, &count, l); }); }, 0},
      {"zv_circlepnts_3d", "n = -32768", [&] { return nothing([&](ll_list *l) { return zv_circlepnts_3d(C, 1.0, -32768, &count, l) + count; }); }, -32768},
      {"zv_circle_arc_3d", "null list", [] { return zv_circle_arc_3d(C, 1.0, 4, 0.0, 0.5, nullptr); }, 0},
      {"zv_circle_arc_3d", "n = 0", [] { return nothing([](ll_list *l) { return zv_circle_arc_3d(C, 1.0, 0, 0.0, 0.5, l); }); }, 0},
      {"zv_circle_arc_3d", "NaN start", [] { return nothing([](ll_list *l) { return zv_circle_arc_3d(C, 1.0, 4, kNaN, 0.5, l); }); }, 0},
      {"zv_circle_stats_3d", "null outputs", [&] { zv_circle_stats_3d(C, kHigh, nullptr, &v2); zv_circle_stats_3d(C, kHigh, &v1, nullptr); return 0L; }, 0},
      {"zv_circle_stats_3d", "equal points: zero vectors", [&] { zv_circle_stats_3d(C, C, &v1, &v2); return zero(v1) + zero(v2); }, 2},
      {"zv_ellipse_pnt_3d", "a = 0", [] { return ellipse_point(0.0, 1.0, 0.5); }, 75, badrect("zv_ellipse_pnt_3d")},
      {"zv_ellipse_pnt_3d", "b = 1e-7", [] { return ellipse_point(1.0, 1e-7, 0.5); }, 75, badrect("zv_ellipse_pnt_3d")},
      {"zv_ellipse_pnt_3d", "NaN a", [] { return ellipse_point(kNaN, 1.0, 0.5); }, 75, badrect("zv_ellipse_pnt_3d")},
      {"zv_ellipse_pnt_3d", "null out", [] { return zv_ellipse_pnt_3d(C, 1.0, 1.0, 0.5, nullptr); }, 2},
      {"zv_ellipse_pnt_3d", "infinite angle: NaN point", [] { return ellipse_point(1.0, 1.0, kInf); }, 0},
      {"zv_ellipsepnts_3d", "null corner, n or count", [&] {
         return same_results({zv_ellipsepnts_3d(nullptr, &p, &n8, &count, nullptr), zv_ellipsepnts_3d(&p, nullptr, &n8, &count, nullptr),
                              zv_ellipsepnts_3d(&p, &p, nullptr, &count, nullptr), zv_ellipsepnts_3d(&p, &p, &n8, nullptr, nullptr)});
       }, 2},
      {"zv_ellipsepnts_3d", "flat rectangle", [] { return nothing([](ll_list *l) { return ellipse_polyline(kLow, {4, 0, 3}, 8, l); }); }, 7500, badrect("zv_ellipsepnts")},
      {"zv_ellipsepnts_3d", "NaN corner", [] { return nothing([](ll_list *l) { return ellipse_polyline(kLow, {kNaN, 2, 3}, 8, l); }); }, 7500, badrect("zv_ellipsepnts")},
      {"zv_ellipsepnts_3d", "n = -32768: four segments", [] { return kept([](ll_list *l) { return ellipse_polyline(kLow, kHigh, -32768, l); }); }, 5},
      {"zv_ellipsepnts_3d", "null list: private", [] { return ellipse_polyline(kLow, kHigh, 4, nullptr); }, 5},
      {"zv_elliptic_arc_3d", "null corner or n", [&] {
         return same_results({zv_elliptic_arc_3d(nullptr, &p, &n8, 0, 1, nullptr), zv_elliptic_arc_3d(&p, nullptr, &n8, 0, 1, nullptr),
                              zv_elliptic_arc_3d(&p, &p, nullptr, 0, 1, nullptr)});
       }, 2},
      {"zv_elliptic_arc_3d", "flat rectangle", [] { return nothing([](ll_list *l) { return elliptic_arc(kLow, {0, 2, 3}, 4, 0.0, l); }); }, 7504, badrect("zv_elliptic_arc_3d")},
      {"zv_elliptic_arc_3d", "n = -1: one segment", [] { return kept([](ll_list *l) { return elliptic_arc(kLow, kHigh, -1, 0.0, l); }); }, 1},
      {"zv_elliptic_arc_3d", "NaN start", [] { return kept([](ll_list *l) { return elliptic_arc(kLow, kHigh, 4, kNaN, l); }); }, 4},
      {"zv_ellipse_stats_3d", "a = 0", [] { return ellipse_frame(0.0, C); }, 81},
      {"zv_ellipse_stats_3d", "point off the plane", [] { return ellipse_frame(1.0, {1, 2, 4}); }, 82},
      {"zv_ellipse_stats_3d", "NaN point height", [] { return ellipse_frame(1.0, {1, 2, kNaN}); }, 82},
      {"zv_ellipse_stats_3d", "null output", [&] { return zv_ellipse_stats_3d(C, 1, 1, C, nullptr, &v2); }, 2},
      {"zv_ellipse_stats_3d", "the centre: zero vectors", [&] { return zv_ellipse_stats_3d(C, 1, 1, C, &v1, &v2) + zero(v1) + zero(v2); }, 2},
      {"zv_arcpnts_3d", "null list", [] { return zv_arcpnts_3d(C, 1.0, 0.0, 1.0, 4, nullptr); }, 0},
      {"zv_arcpnts_3d", "n = -32768", [] { return nothing([](ll_list *l) { return zv_arcpnts_3d(C, 1.0, 0.0, 1.0, -32768, l); }); }, 0},
      {"zv_arcpnts_3d", "NaN start", [] { return nothing([](ll_list *l) { return zv_arcpnts_3d(C, 1.0, kNaN, 1.0, 4, l); }); }, 0},
      {"zv_arcpnts_3d", "infinite end", [] { return nothing([](ll_list *l) { return zv_arcpnts_3d(C, 1.0, 0.0, kInf, 4, l); }); }, 0},
      {"zv_arc_pnts_3d", "null arc", [] { return nothing([](ll_list *l) { return zv_arc_pnts_3d(nullptr, 4, 0.0, l); }); }, 0},
      {"zv_arc_pnts_3d", "n = 0", [] {
         zv_arc_2d arc;
         zv_set_arc_2d(0, 0, 1, 0, 0.0, 1.0, &arc);
         return nothing([&](ll_list *l) { return zv_arc_pnts_3d(&arc, 0, 0.0, l); });
       }, 0},
      {"zv_arc_pnts_3d", "NaN end", [] {
         zv_arc_2d arc;
         zv_set_arc_2d(0, 0, 1, 0, 0.0, kNaN, &arc);
         return nothing([&](ll_list *l) { return zv_arc_pnts_3d(&arc, 4, 0.0, l); });
       }, 0},
      {"zv_cycloidpnts_3d", "null start, n or count", [&] {
         return same_results({zv_cycloidpnts_3d(nullptr, 1.0, &n8, nullptr, &count), zv_cycloidpnts_3d(&p, 1.0, nullptr, nullptr, &count),
                              zv_cycloidpnts_3d(&p, 1.0, &n8, nullptr, nullptr)});
       }, 2},
      {"zv_cycloidpnts_3d", "n = -1", [] { return nothing([](ll_list *l) { return cycloid(1.0, -1, l); }); }, 0},
      {"zv_cycloidpnts_3d", "NaN radius", [] { return kept([](ll_list *l) { return cycloid(kNaN, 4, l); }); }, 5},
      {"zv_hyperbola_pnt_3d", "t = 1", [] { return hyperbola_point(1.0, 1.0); }, 801, {msg("BADTVALUE", 80, "zv_hyperbola_pnt_3d")}},
      {"zv_hyperbola_pnt_3d", "t = -0.9999999", [] { return hyperbola_point(1.0, -0.9999999); }, 801, {msg("BADTVALUE", 80, "zv_hyperbola_pnt_3d")}},
      {"zv_hyperbola_pnt_3d", "t = -inf", [] { return hyperbola_point(1.0, -kInf); }, 801, {msg("BADTVALUE", 80, "zv_hyperbola_pnt_3d")}},
      {"zv_hyperbola_pnt_3d", "a = 0", [] { return hyperbola_point(0.0, 0.5); }, 751, badrect("zv_hyperbola_pnt_3d")},
      {"zv_hyperbola_pnt_3d", "NaN a", [] { return hyperbola_point(kNaN, 0.5); }, 751, badrect("zv_hyperbola_pnt_3d")},
      {"zv_hyperbola_pnt_3d", "NaN t: refused (was a NaN point)", [] { return hyperbola_point(1.0, kNaN); }, 801, {msg("BADTVALUE", 80, "zv_hyperbola_pnt_3d")}},
      {"zv_hyperbola_pnt_3d", "null out", [] { return zv_hyperbola_pnt_3d(C, 1, 1, 0.5, nullptr); }, 2},
      {"zv_hyperbolic_arc_3d", "null n", [] { return zv_hyperbolic_arc_3d(C, 1, 1, nullptr, 0, 0.5, nullptr); }, 2},
      {"zv_hyperbolic_arc_3d", "t1 = 1", [] { return nothing([](ll_list *l) { return hyperbolic_arc(1.0, 4, 1.0, 0.5, l); }); }, 80, {msg("BADTVALUE", 80, "zv_hyperbolic_arc_3d")}},
      {"zv_hyperbolic_arc_3d", "t2 = -1", [] { return nothing([](ll_list *l) { return hyperbolic_arc(1.0, 4, 0.0, -1.0, l); }); }, 80, {msg("BADTVALUE", 80, "zv_hyperbolic_arc_3d")}},
      {"zv_hyperbolic_arc_3d", "NaN t1: refused (was NaN vertices)", [] { return nothing([](ll_list *l) { return hyperbolic_arc(1.0, 4, kNaN, 0.5, l); }); }, 80, {msg("BADTVALUE", 80, "zv_hyperbolic_arc_3d")}},
      {"zv_hyperbolic_arc_3d", "b = 0", [] { return nothing([](ll_list *l) { return hyperbolic_arc(0.0, 4, 0.0, 0.5, l); }); }, 75, badrect("zv_hyperbolic_arc_3d")},
      {"zv_hyperbolic_arc_3d", "n = -32768: two steps", [] { return kept([](ll_list *l) { return hyperbolic_arc(1.0, -32768, 0.0, 0.5, l) + ll_list_length(l); }); }, 3},
      {"zv_hyperbolic_arc_3d", "null list: private", [] { return hyperbolic_arc(1.0, 4, 0.0, 0.5, nullptr); }, 0},
      {"zv_hyperbolapnts_3d", "mode 2", [] { return hyperbola_branches(2, kLow, kHigh, 5.0); }, 100, {msg("BADMODE", 1, "zv_hyperpolapnts_3d")}},
      {"zv_hyperbolapnts_3d", "zero length", [] { return hyperbola_branches(0, kLow, kHigh, 0.0); }, 7400, {msg("LENGTHZERO", 74, "zv_hyperpolapnts_3d")}},
      {"zv_hyperbolapnts_3d", "NaN length", [] { return hyperbola_branches(1, kLow, kHigh, kNaN); }, 7400, {msg("LENGTHZERO", 74, "zv_hyperpolapnts_3d")}},
      {"zv_hyperbolapnts_3d", "flat rectangle", [] { return hyperbola_branches(0, kLow, {4, 0, 3}, 5.0); }, 7500, badrect("zv_hyperpolapnts_3d")},
      {"zv_hyperbolapnts_3d", "NaN corner", [] { return hyperbola_branches(0, {kNaN, 0, 0}, kHigh, 5.0); }, 7500, badrect("zv_hyperpolapnts_3d")},
      {"zv_hyperbolapnts_3d", "null corner, n or count", [&] {
         return same_results({zv_hyperbolapnts_3d(0, nullptr, &p, 1, &n8, &count, nullptr, nullptr),
                              zv_hyperbolapnts_3d(0, &p, nullptr, 1, &n8, &count, nullptr, nullptr),
                              zv_hyperbolapnts_3d(0, &p, &p, 1, nullptr, &count, nullptr, nullptr),
                              zv_hyperbolapnts_3d(0, &p, &p, 1, &n8, nullptr, nullptr, nullptr)});
       }, 2},
      {"zv_hyperbola_stats_3d", "a = 0", [&] { return zv_hyperbola_stats_3d(C, 0, 1, 0, C, &v1, &v2); }, 81},
      {"zv_hyperbola_stats_3d", "point off the plane", [&] { return zv_hyperbola_stats_3d(C, 1, 1, 0, {4, 2, 5}, &v1, &v2); }, 82},
      {"zv_hyperbola_stats_3d", "null output", [&] { return zv_hyperbola_stats_3d(C, 1, 1, 0, C, &v1, nullptr); }, 2},
      {"zv_parabola_pnt_3d", "null out", [] { zv_parabola_pnt_3d(C, 1, 1, 0, nullptr); return 0L; }, 0},
      {"zv_parabola_pnt_3d", "NaN t: the vertex", [&] { zv_parabola_pnt_3d(C, 1, kNaN, 0, &p); return at(p, C.x, C.y, C.z); }, 1},
      {"zv_parabolic_arc_3d", "null list", [] { zv_parabolic_arc_3d(C, 1, 0, 4, 0, 1, nullptr); return 0L; }, 0},
      {"zv_parabolic_arc_3d", "n = -32768", [] { return nothing([](ll_list *l) { zv_parabolic_arc_3d(C, 1, 0, -32768, 0, 1, l); return 0L; }); }, 0},
      {"zv_parabolapnts_3d", "mode 2", [] { return parabola_polyline(2, 1.0, 5.0); }, 100},
      {"zv_parabolapnts_3d", "a = 1e-7", [] { return parabola_polyline(0, 1e-7, 5.0); }, 7300},
      {"zv_parabolapnts_3d", "NaN a", [] { return parabola_polyline(0, kNaN, 5.0); }, 7300},
      {"zv_parabolapnts_3d", "zero length", [] { return parabola_polyline(1, 1.0, 0.0); }, 7400},
      {"zv_parabolapnts_3d", "NaN length", [] { return parabola_polyline(1, 1.0, kNaN); }, 7400},
      {"zv_parabolapnts_3d", "null list", [&] { return zv_parabolapnts_3d(0, &p, 1, 1, &n8, &count, nullptr); }, 2},
      {"zv_parabolapnts_3d", "null vertex", [&] { return kept([&](ll_list *l) { return zv_parabolapnts_3d(0, nullptr, 1, 1, &n8, &count, l); }); }, 2},
      {"zv_parabola_stats_3d", "a = 0", [&] { return zv_parabola_stats_3d(C, 0, 0, C, &v1, &v2); }, 82},
      {"zv_parabola_stats_3d", "point off the plane", [&] { return zv_parabola_stats_3d(C, 1, 0, {4, 2, 5}, &v1, &v2); }, 83},
      {"zv_parabola_stats_3d", "null output", [&] { return zv_parabola_stats_3d(C, 1, 0, C, nullptr, &v2); }, 2},
  };
  zvtest::check_bad_inputs(reports, rows);
}

}  // namespace
