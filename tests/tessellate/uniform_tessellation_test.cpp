// Tessellation of uniform cubic records: counts and numbering, groups of
// four, the step fallback, the segment evaluator against the samples and
// their frames, bad input. Positions and frames against the peers: tests/peer.
#include "bad_inputs.hpp"
#include "spline_records.hpp"

namespace {

using zvtest::items;
const auto kKinds = {zv_def_ubspl_curve3d, zv_def_ubezier_curve3d, zv_def_ucatrom_curve3d};

zv_curve *define(zv_curve *(*def)(ll_list *), const std::vector<zv_pnt_3d> &pts) {
  ll_list *ctrl = zvtest::make_polygon(pts);
  zv_curve *curve = def(ctrl);
  ll_purge_list(ctrl);  // the emptied header stays the caller's
  return curve;
}

// Sample numbers of one run: segments of 0 .. 1/step, each later one
// without its t = 0 sample, whose number is skipped.
std::vector<int> run(int segments, int per_segment) {
  std::vector<int> out;
  for (int n = 0; n < segments * per_segment; ++n)
    if (n < per_segment || n % per_segment > 0) out.push_back(n);
  return out;
}

using UniformTessellation = zvtest::KernelTest;

TEST_F(UniformTessellation, CountsNumbersAndAccumulatedSteps) {
  for (auto def : {zv_def_ucatrom_curve3d, zv_def_ubspl_curve3d}) {  // n - 3 segments, a window sliding
    zvtest::Record curve(define(def, zvtest::random_points(6, 3)));
    ASSERT_EQ(zv_mk_ucurve3d(curve.get(), 0.1), 0);
    const auto stats = items<zv_curve_stats_3d>(curve->stats_list);
    ASSERT_TRUE(zvtest::indices(curve->vertex_list) == run(3, 11) && stats.size() == 31u);
    double t = 0.0;
    for (int i = 0; i < 11; ++i, t = t + 0.1) EXPECT_EQ(stats[i].t, t);  // accumulated, not i * step
  }
  for (double step : {0.0, -1.0, 1e-7, double(NAN)}) {  // not above 1e-7: 0.1
    zvtest::Record curve(define(zv_def_ubspl_curve3d, zvtest::random_points(4, 5)));
    ASSERT_EQ(zv_mk_ucurve3d(curve.get(), step), 0);
    EXPECT_TRUE(zvtest::value(curve->t_step) == 0.1 && ll_list_length(curve->vertex_list) == 11);
  }
  // Bezier takes whole groups of four: the ninth point of nine is never read.
  auto pts = zvtest::random_points(9, 2);
  pts[8] = {NAN, NAN, NAN};
  zvtest::Record bezier(define(zv_def_ubezier_curve3d, pts));
  // Exact steps reach t = 1; a second run is numbered from 0 again.
  ASSERT_EQ(zv_mk_ucurve3d(bezier.get(), 0.125) + zv_mk_ucurve3d(bezier.get(), 0.125), 0);
  std::vector<int> twice = run(2, 9);
  twice.insert(twice.end(), twice.begin(), twice.end());
  EXPECT_EQ(zvtest::indices(bezier->vertex_list), twice);
  const auto v = zvtest::positions(bezier->vertex_list);
  for (const auto &p : v) EXPECT_TRUE(std::isfinite(p.x));
  EXPECT_TRUE(zvtest::distance(v[0], pts[0]) == 0.0 && zvtest::distance(v[16], pts[7]) <= 1e-14);
  // Vertex numbers are int16: past 32767 they wrap as two's complement.
  zvtest::Record longest(define(zv_def_ubspl_curve3d, zvtest::random_points(3400, 6)));
  ASSERT_EQ(zv_mk_ucurve3d(longest.get(), 0.1), 0);
  const auto idx = zvtest::indices(longest->vertex_list);
  EXPECT_TRUE(idx.size() == 11u + 3396u * 10u && idx.back() == static_cast<int16_t>(3397 * 11 - 1));
}

// The segment evaluator gives every sample bit for bit, and each frame's
// normal is the services' perpendicular of its unit tangent; where the
// derivatives vanish the frame holds zero vectors, never NaN.
TEST_F(UniformTessellation, SegmentEvaluatorAndFramesMatchTheSamples) {
  for (auto def : kKinds) {
    zvtest::Record curve(define(def, zvtest::random_points(4, 9)));
    ll_set_list_currpntr(curve->ctrl_list, LL_LAST);
    ASSERT_EQ(zv_mk_ucurve3d(curve.get(), 0.1), 0);
    std::vector<zv_poly_3d *> seg;
    for (ll_node *n = curve->ctrl_list->head; n; n = n->next) seg.push_back(static_cast<zv_poly_3d *>(n->data));
    const auto v = zvtest::positions(curve->vertex_list);
    const auto s = items<zv_curve_stats_3d>(curve->stats_list);
    for (size_t i = 0; i < v.size(); ++i) {
      zv_pnt_3d at;
      zv_vector_3d tan, sec, nor, expect_normal;
      ASSERT_EQ(zv_eval_t_on_ucurve3d(curve.get(), s[i].t, seg.data(), &at, &tan, &sec, &nor), 0);
      zv_normalvector3d(&s[i].tangent, &expect_normal);
      EXPECT_TRUE(curve->ctrl_list->current == curve->ctrl_list->head && !std::memcmp(&at, &v[i], sizeof at) &&
                  !std::memcmp(&tan, &s[i].tangent, sizeof tan) && !std::memcmp(&sec, &s[i].second_deriv, sizeof sec) &&
                  !std::memcmp(&expect_normal, &s[i].normal, sizeof nor)) << i;
    }
  }
  // A segment whose points coincide has no direction anywhere: its frames
  // are zero vectors, wherever it sits.
  const zv_curve_stats_3d zero{};
  for (auto def : kKinds) {
    for (const zv_pnt_3d at : {zv_pnt_3d{0, 0, 0}, zv_pnt_3d{1, 2, 3}, zv_pnt_3d{1e6, -3e5, 0.7}}) {
      zvtest::Record still(define(def, std::vector<zv_pnt_3d>(4, at)));
      ASSERT_EQ(zv_mk_ucurve3d(still.get(), 0.1), 0);
      for (const auto &s : items<zv_curve_stats_3d>(still->stats_list))
        EXPECT_EQ(std::memcmp(&s.tangent, &zero.tangent, 3 * sizeof zero.tangent), 0) << "t " << s.t;
    }
  }
  // Regression: the vanishing test grew with the distance from the origin,
  // so a curve near 1e6 whose points lie 2e-7 apart lost every frame. The
  // same curve moved (exactly, on a 2^-28 grid) keeps its unit frames.
  const auto grid = [](double v) { return std::ldexp(std::round(64 * v), -28); };
  for (int line = 0; line < 2; ++line) {
    for (auto def : kKinds) {
      std::vector<zv_pnt_3d> near = zvtest::random_points(4, 4), far;
      for (int k = 0; k < 4; ++k)
        near[k] =
            line ? zv_pnt_3d{std::ldexp(k, -22), 0, 0} : zv_pnt_3d{grid(near[k].x), grid(near[k].y), grid(near[k].z)};
      for (const zv_pnt_3d &q : near) far.push_back({q.x + 1e6, q.y - 3e5, q.z + 1e6});
      zvtest::Record a(define(def, near)), b(define(def, far));
      ASSERT_EQ(zv_mk_ucurve3d(a.get(), 0.1) + zv_mk_ucurve3d(b.get(), 0.1), 0);
      const auto sa = items<zv_curve_stats_3d>(a->stats_list), sb = items<zv_curve_stats_3d>(b->stats_list);
      for (size_t i = 0; i < sa.size(); ++i) {
        const zv_vector_3d u[] = {sa[i].tangent, sa[i].second_deriv, sa[i].normal},
                           v[] = {sb[i].tangent, sb[i].second_deriv, sb[i].normal};
        EXPECT_NEAR(std::hypot(v[0].dx, v[0].dy, v[0].dz), 1.0, 1e-12) << "t " << sa[i].t;
        for (int k = 0; k < 3; ++k)
          EXPECT_LE(std::hypot(u[k].dx - v[k].dx, u[k].dy - v[k].dy, u[k].dz - v[k].dz), 1e-9);
      }
    }
  }
}

// Tessellates a B-spline record of the first n points with step; drop_ctrl
// clears the record's control list slot first.
long tessellate(size_t n, double step, bool drop_ctrl = false) {
  zv_curve *curve = define(zv_def_ubspl_curve3d, zvtest::random_points(static_cast<int>(n), 1));
  ll_list *saved = curve->ctrl_list;
  if (drop_ctrl) curve->ctrl_list = nullptr;
  const long r = zv_mk_ucurve3d(curve, step);
  curve->ctrl_list = saved;
  zv_purge_curve(curve);
  return r;
}

// A Bezier segment evaluated at t with one pointer nulled: 0 none, 1 the
// segment array, 2 an entry, 3 .. 6 an output. 99 when a refusal wrote.
long evaluate(double t, int null_one = 0) {
  zvtest::Record curve(define(zv_def_ubezier_curve3d, zvtest::random_points(4, 2)));
  zv_poly_3d *seg[4];
  ll_node *node = curve->ctrl_list->head;
  for (auto &s : seg) s = static_cast<zv_poly_3d *>(node->data), node = node->next;
  if (null_one == 2) seg[2] = nullptr;
  zv_pnt_3d p{7, 7, 7};
  zv_vector_3d a, b, c;
  const long r = zv_eval_t_on_ucurve3d(curve.get(), t, null_one == 1 ? nullptr : seg, null_one == 3 ? nullptr : &p,
                                       null_one == 4 ? nullptr : &a, null_one == 5 ? nullptr : &b,
                                       null_one == 6 ? nullptr : &c);
  return r != 0 && p.x != 7 ? 99 : r;
}

// Rows: the function, the class of bad input, the call, its result.
TEST_F(UniformTessellation, BadInputTable) {
  using zvtest::kInf, zvtest::kNaN;
  const char *mk = "zv_mk_ucurve3d", *eval = "zv_eval_t_on_ucurve3d";
  zvtest::check_bad_inputs(reports, {
      {mk, "null record", [] { return zv_mk_ucurve3d(nullptr, 0.1); }, 1},
      {mk, "three points", [] { return tessellate(3, 0.1); }, 2},
      {mk, "null control list slot", [] { return tessellate(5, 0.1, true); }, 2},
      {mk, "record of a null list",
       [] { return zv_mk_ucurve3d(zvtest::Record(zv_def_ubspl_curve3d(nullptr)).get(), 0.1); }, 2},
      {mk, "infinite step: one sample a segment", [] { return tessellate(5, kInf); }, 0},
      {eval, "null record",
       [] { return zv_eval_t_on_ucurve3d(nullptr, 0.5, nullptr, nullptr, nullptr, nullptr, nullptr); }, 1},
      {eval, "t = -1e-7 and 1.0000001 pass", [] { return evaluate(-1e-7) + evaluate(1.0000001); }, 0},
      {eval, "NaN t", [] { return evaluate(kNaN); }, 2}, {eval, "infinite t", [] { return evaluate(kInf); }, 2},
      {eval, "t below -1e-7", [] { return evaluate(-2e-7); }, 2},
      {eval, "t above 1.0000001", [] { return evaluate(1.0000002); }, 2},
      {eval, "null segment array", [] { return evaluate(0.5, 1); }, 3},
      {eval, "null entry", [] { return evaluate(0.5, 2); }, 3},
      {eval, "null point", [] { return evaluate(0.5, 3); }, 3},
      {eval, "null tangent", [] { return evaluate(0.5, 4); }, 3},
      {eval, "null second derivative", [] { return evaluate(0.5, 5); }, 3},
      {eval, "null normal", [] { return evaluate(0.5, 6); }, 3},
  });
}

}  // namespace
