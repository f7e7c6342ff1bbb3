// Bezier and rational Bezier records split at a parameter: pieces at and
// beyond the ends of [0, 1] against the source's Bernstein sum, a closed
// form, the result codes, what the output records held, and refused memory
// at a degree held in a kernel block. Pieces inside [0, 1] against SISL and
// Open CASCADE are in tests/peer.
#include "spline_records.hpp"

namespace {

using zvtest::Record;
using Points = std::vector<zv_pnt_3d>;

class BezierSubdivision : public zvtest::KernelTest {};

// A uniform Bezier record (type 86) with the polygon's degree.
zv_curve *bezier_record(const Points &points) {
  ll_list *ctrl = zvtest::make_polygon(points);
  zv_curve *curve = zv_def_ubezier_curve3d(ctrl);
  ll_purge_list(ctrl);
  curve->degree = static_cast<int16_t>(points.size() - 1);
  return curve;
}

// A rational Bezier record (type 97), defined at a degree of at most 15,
// then given the polygon's.
zv_curve *rational_record(const Points &points, const std::vector<double> &weights) {
  zv_curve *curve = zv_create_curve();
  const int p = static_cast<int>(points.size()) - 1;
  EXPECT_EQ(zv_def_ratbezier_curve3d(zvtest::make_polygon(points), zvtest::make_reals({0.5}), zvtest::make_reals(weights),
                                     static_cast<int16_t>(std::min(p, 15)), curve), 0);
  curve->degree = static_cast<int16_t>(p);
  return curve;
}

// Largest distance, relative to scale, between the piece at s and the
// source at from + s (to - from).
double piece_error(const Points &P, const std::vector<double> &w, const zv_curve *piece, double from, double to) {
  const Points Q = zvtest::positions(piece->ctrl_list);
  const std::vector<double> v = w.empty() ? std::vector<double>{} : zvtest::reals(piece->weight_list);
  double worst = 0.0;
  for (double s : {0.0, 0.2, 0.5, 0.7, 1.0})
    worst = std::max(worst, zvtest::distance(zvtest::bernstein_point(Q, v, s), zvtest::bernstein_point(P, w, from + s * (to - from))));
  return worst / std::max(zvtest::scale_of(Q), zvtest::scale_of(P));
}

// t at the ends and outside [0, 1] (the pieces extrapolate): each piece
// reproduces the source over its interval, numbered 0 .. p from the split
// point, which both pieces share to the last bit.
TEST_F(BezierSubdivision, PiecesAtAndBeyondTheEndsReproduceTheSource) {
  for (int p : {1, 4, 9}) {
    const Points P = zvtest::random_points(p + 1, 900 + p);
    std::vector<double> w(p + 1);
    for (int k = 0; k <= p; ++k) w[k] = 0.5 + k % 3;
    for (double t : {0.0, 1.0, -0.3, 1.4}) {
      const double tol = t >= 0.0 && t <= 1.0 ? 1e-12 : 1e-10;
      Record plain(bezier_record(P)), before(zv_create_curve()), after(zv_create_curve());
      Record rational(rational_record(P, w)), rbefore(zv_create_curve()), rafter(zv_create_curve());
      ASSERT_EQ(zv_sub_bezier_curve3d(plain.get(), t, before.get(), after.get()), 0);
      ASSERT_EQ(zv_sub_ratbezier_curve3d(rational.get(), t, rbefore.get(), rafter.get()), 0);
      EXPECT_LE(piece_error(P, {}, after.get(), t, 1.0), tol) << p << " " << t;
      EXPECT_LE(piece_error(P, {}, before.get(), t, 0.0), tol) << p << " " << t;
      EXPECT_LE(piece_error(P, w, rafter.get(), t, 1.0), tol) << p << " " << t;
      EXPECT_LE(piece_error(P, w, rbefore.get(), t, 0.0), tol) << p << " " << t;
      EXPECT_TRUE(before->degree == p && before->type == ZV_CURVE_UBEZIER && rbefore->degree == p);
      for (zv_curve *piece : {before.get(), after.get(), rbefore.get(), rafter.get()})
        for (int k = 0; k <= p; ++k) EXPECT_EQ(zvtest::indices(piece->ctrl_list)[k], k);
      EXPECT_EQ(zvtest::distance(zvtest::positions(before->ctrl_list)[0], zvtest::positions(after->ctrl_list)[0]), 0.0);
      EXPECT_EQ(zvtest::distance(zvtest::positions(rbefore->ctrl_list)[0], zvtest::positions(rafter->ctrl_list)[0]), 0.0);
    }
  }
  // Weights (1, 2, 1) at t = 0.5: the blended weights (1.5, 1.5, 1) are
  // stored in both pieces, which meet at (P0 + 4 P1 + P2) / 6.
  Record source(rational_record({{0, 0, 0}, {1, 2, 0}, {2, 0, 1}}, {1, 2, 1})), before(zv_create_curve()), after(zv_create_curve());
  ASSERT_EQ(zv_sub_ratbezier_curve3d(source.get(), 0.5, before.get(), after.get()), 0);
  EXPECT_EQ(zvtest::reals(after->weight_list), (std::vector<double>{1.5, 1.5, 1}));
  EXPECT_EQ(zvtest::reals(before->weight_list), (std::vector<double>{1.5, 1.5, 1}));
  EXPECT_LE(zvtest::distance(zvtest::positions(after->ctrl_list)[0], {1, 4.0 / 3, 1.0 / 6}), 1e-15);
}

// A record straight from zv_def_ubezier_curve3d has degree 0 and is a
// cubic: its pieces carry degree 3 and four points (they were once single
// points). A record whose matrix is not the Bezier one (filled by hand)
// still gives Bezier pieces, which tessellate along the source (they once
// tessellated to the origin).
TEST_F(BezierSubdivision, UnsetDegreeAndForeignMatrixGiveCubicBezierPieces) {
  const Points P = {{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 1}};
  ll_list *ctrl = zvtest::make_polygon(P);
  Record source(zv_def_ubezier_curve3d(ctrl)), before(zv_create_curve()), after(zv_create_curve());
  ll_purge_list(ctrl);
  ASSERT_EQ(source->degree, 0);
  for (int i = 0; i < 16; ++i) source->basis[i] = 0.0;
  ASSERT_EQ(zv_sub_bezier_curve3d(source.get(), 0.5, before.get(), after.get()), 0);
  EXPECT_TRUE(before->degree == 3 && after->degree == 3);
  ASSERT_EQ(zv_mk_ucurve3d(after.get(), 0.5), 0);
  const Points v = zvtest::positions(after->vertex_list);
  ASSERT_EQ(v.size(), 3u);
  for (size_t i = 0; i < v.size(); ++i)
    EXPECT_LE(zvtest::distance(v[i], zvtest::bernstein_point(P, {}, 0.5 + 0.25 * i)), 1e-12) << i;
}

// The two curves a rational Bezier record stands for, both kept: its
// tessellation passes through every control point, its split is the
// rational Bezier curve. Points (0, 0), (1, 1), (2, 0), weights (1, 2, 1).
TEST_F(BezierSubdivision, TessellationAndSplitDrawTheirOwnCurves) {
  Record source(rational_record({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}}, {1, 2, 1})), before(zv_create_curve());
  Record after(zv_create_curve());
  ASSERT_EQ(zv_mk_rat_bezier_3d(source.get(), 0), 0);
  ASSERT_EQ(zv_sub_ratbezier_curve3d(source.get(), 0.5, before.get(), after.get()), 0);
  EXPECT_LE(zvtest::distance(zvtest::positions(source->vertex_list)[0], {1, 1, 0}), 1e-15);
  EXPECT_LE(zvtest::distance(zvtest::positions(after->ctrl_list)[0], {1, 2.0 / 3, 0}), 1e-15);
}

TEST_F(BezierSubdivision, ResultCodesComeBeforeAnythingIsMade) {
  const Points P = {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}};
  const auto source = [&](bool rational, void (*edit)(zv_curve *)) {
    Record r(rational ? rational_record(P, {1, 2, 2, 1}) : bezier_record(P));
    edit(r.get());
    return r;
  };
  const auto keep = [](zv_curve *) {};
  const auto no_knots = [](zv_curve *c) { ll_purge_list(c->knot_list), c->knot_list = nullptr; };
  const auto degree_4 = [](zv_curve *c) { c->degree = 4; };
  Record plain = source(false, keep), rational = source(true, keep), plain_no_knots = source(false, no_knots);
  Record bspline = source(false, [](zv_curve *c) { c->type = ZV_CURVE_UBSPLINE; });
  Record no_ctrl = source(false, [](zv_curve *c) { ll_purge_list(c->ctrl_list), c->ctrl_list = nullptr; });
  Record plain_high = source(false, degree_4), negative = source(false, [](zv_curve *c) { c->degree = -1; });
  Record rat_no_knots = source(true, no_knots), rat_high = source(true, degree_4);
  Record no_weights = source(true, [](zv_curve *c) { ll_purge_list(c->weight_list), c->weight_list = nullptr; });
  Record few_weights = source(true, [](zv_curve *c) { ll_purge_list(c->weight_list), c->weight_list = zvtest::make_reals({1, 1, 1}); });
  Record b(zv_create_curve()), a(zv_create_curve());
  using Split = int16_t (*)(zv_curve *, double, zv_curve *, zv_curve *);
  const Split plain_split = zv_sub_bezier_curve3d, rat_split = zv_sub_ratbezier_curve3d;
  const struct {
    const char *what;
    Split split;
    zv_curve *source, *before, *after;
    int16_t expected;
  } cases[] = {
      {"null source", plain_split, nullptr, b.get(), a.get(), 1},
      {"type 84", plain_split, bspline.get(), b.get(), a.get(), 1},
      {"null before", plain_split, plain.get(), nullptr, a.get(), 5},
      {"null after", plain_split, plain.get(), b.get(), nullptr, 5},
      {"before is after", plain_split, plain.get(), a.get(), a.get(), 5},
      {"null ctrl_list", plain_split, no_ctrl.get(), b.get(), a.get(), 2},
      {"null knot_list", plain_split, plain_no_knots.get(), b.get(), a.get(), 3},
      {"fewer than p + 1 points", plain_split, plain_high.get(), b.get(), a.get(), 2},
      {"negative degree", plain_split, negative.get(), b.get(), a.get(), 2},
      {"rational: null source", rat_split, nullptr, b.get(), a.get(), 1},
      {"rational: type 86", rat_split, plain.get(), b.get(), a.get(), 1},
      {"rational: null after", rat_split, rational.get(), b.get(), nullptr, 5},
      {"rational: before is after", rat_split, rational.get(), b.get(), b.get(), 5},
      {"rational: null knot_list", rat_split, rat_no_knots.get(), b.get(), a.get(), 3},
      {"rational: null weight_list", rat_split, no_weights.get(), b.get(), a.get(), 4},
      {"rational: fewer than p + 1 points", rat_split, rat_high.get(), b.get(), a.get(), 2},
      {"rational: fewer than p + 1 weights", rat_split, few_weights.get(), b.get(), a.get(), 4},
  };
  const long blocks = zv_live_blocks();
  for (const auto &c : cases) {
    EXPECT_EQ(c.split(c.source, 0.5, c.before, c.after), c.expected) << c.what;
    EXPECT_EQ(zv_live_blocks(), blocks) << c.what << ": nothing may be made";
  }
  EXPECT_EQ(a->degree, 0) << "no output record is written on failure";
}

// The uniform split releases what the output records held (a leak fails the
// fixture); the rational split keeps it, the piece after t behind it and
// the piece before t in front of it, and gives a null slot a new list.
TEST_F(BezierSubdivision, OutputRecordsKeepOrReleaseWhatTheyHeld) {
  const Points P = {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}};
  Record plain(bezier_record(P)), before(bezier_record(P)), after(bezier_record(P));
  ASSERT_EQ(zv_sub_bezier_curve3d(plain.get(), 0.5, before.get(), after.get()), 0);
  ASSERT_EQ(zv_sub_bezier_curve3d(plain.get(), 0.25, before.get(), after.get()), 0);
  EXPECT_EQ(ll_list_length(after->ctrl_list), 4);
  Record rational(rational_record(P, {1, 2, 2, 1})), rb(zv_create_curve()), ra(zv_create_curve());
  for (zv_curve *out : {rb.get(), ra.get()}) {
    ll_purge_list(out->ctrl_list);
    out->ctrl_list = zvtest::make_polygon({{9, 9, 9}});  // weight_list stays null
  }
  ASSERT_EQ(zv_sub_ratbezier_curve3d(rational.get(), 0.5, rb.get(), ra.get()), 0);
  const auto x = zvtest::positions(ra->ctrl_list), y = zvtest::positions(rb->ctrl_list);
  ASSERT_TRUE(x.size() == 5u && y.size() == 5u);
  EXPECT_TRUE(x[0].x == 9.0 && y[4].x == 9.0);
  EXPECT_EQ(zvtest::indices(ra->ctrl_list), (std::vector<int>{0, 0, 1, 2, 3}));
  EXPECT_EQ(zvtest::distance(y[3], P[0]), 0.0);
  EXPECT_TRUE(ll_list_length(ra->weight_list) == 4 && ll_list_length(rb->weight_list) == 4);
}

// Refused at every step with the degree in a kernel block: -1, one report
// under the split's name, nothing leaked, and the uniform split's output
// records left as they were. Regression: a refused piece record was
// reported twice, first under zv_def_ubezier_curve3d's name.
TEST_F(BezierSubdivision, RefusedMemoryAtAHighDegreeIsReportedOnce) {
  Points P(41);
  std::vector<double> w(41);
  for (int k = 0; k <= 40; ++k) P[k] = {double(k), double(k % 3), 0}, w[k] = 1.0 + k % 2;
  for (bool rational : {false, true}) {
    int16_t result = -1;
    for (long budget = 0; result != 0; ++budget) {
      Record source(rational ? rational_record(P, w) : bezier_record(P)), before(zv_create_curve()), after(zv_create_curve());
      ll_list *old_list = after->ctrl_list;
      reports.memerrs.clear();
      zv_fail_alloc_after(budget);
      result = rational ? zv_sub_ratbezier_curve3d(source.get(), 0.3, before.get(), after.get())
                        : zv_sub_bezier_curve3d(source.get(), 0.3, before.get(), after.get());
      zv_fail_alloc_after(-1);
      ASSERT_TRUE(result == 0 || result == -1) << result;
      EXPECT_EQ(reports.memerrs, result ? std::vector<std::string>{rational ? "zv_sub_ratbezier_curve3d" : "zv_sub_bezier_curve3d"}
                                        : std::vector<std::string>{});
      if (result && !rational) {
        EXPECT_EQ(zvtest::value(after->ctrl_list), old_list) << "budget " << budget;
      } else if (!result) {
        EXPECT_LE(piece_error(P, rational ? w : std::vector<double>{}, after.get(), 0.3, 1.0), 1e-12);
      }
    }
  }
}

// Into empty lists the rational pieces are appended in runs; into lists
// that already hold items the piece before t goes in front of them and the
// piece after t behind them. Both give the same pieces, vertex numbers
// included.
TEST_F(BezierSubdivision, RationalPiecesAreTheSameIntoEmptyAndFilledLists) {
  const std::vector<zv_pnt_3d> P = {{0, 0, 0}, {1, 2, 0}, {2, 0, 1}, {3, 1, 2}, {5, 2, 1}};
  Record source(rational_record(P, {1, 2, 0.5, 1, 3}));
  Record before(zv_create_curve()), after(zv_create_curve()), held_before(zv_create_curve()),
      held_after(zv_create_curve());
  ASSERT_EQ(zv_sub_ratbezier_curve3d(source.get(), 0.3, before.get(), after.get()), 0);
  ASSERT_EQ(zv_sub_ratbezier_curve3d(source.get(), 0.3, held_before.get(), held_after.get()), 0);
  ASSERT_EQ(zv_sub_ratbezier_curve3d(source.get(), 0.3, held_before.get(), held_after.get()), 0);
  const auto vb = zvtest::vertices(before->ctrl_list), va = zvtest::vertices(after->ctrl_list);
  const auto hb = zvtest::vertices(held_before->ctrl_list), ha = zvtest::vertices(held_after->ctrl_list);
  const auto wb = zvtest::reals(before->weight_list), wa = zvtest::reals(after->weight_list);
  const auto hwb = zvtest::reals(held_before->weight_list), hwa = zvtest::reals(held_after->weight_list);
  ASSERT_EQ(hb.size(), 2 * vb.size());
  ASSERT_EQ(ha.size(), 2 * va.size());
  for (size_t k = 0; k < vb.size(); ++k) {
    for (size_t copy = 0; copy < 2; ++copy) {
      const size_t at = copy * vb.size() + k;
      EXPECT_EQ(hb[at].index, vb[k].index);
      EXPECT_EQ(zvtest::distance({hb[at].x, hb[at].y, hb[at].z}, {vb[k].x, vb[k].y, vb[k].z}), 0.0);
      EXPECT_EQ(hwb[at], wb[k]);
      EXPECT_EQ(ha[at].index, va[k].index);
      EXPECT_EQ(zvtest::distance({ha[at].x, ha[at].y, ha[at].z}, {va[k].x, va[k].y, va[k].z}), 0.0);
      EXPECT_EQ(hwa[at], wa[k]);
    }
  }
}

}  // namespace
