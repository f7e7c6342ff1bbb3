// Bezier and rational Bezier records split at a parameter: both pieces
// against the source's Bernstein sum, the plain and rational splits
// against each other, the output records' lists, the result codes, and
// refused memory.
#include <random>

#include "bezier_testing.hpp"
#include "spline_records.hpp"

namespace {

using zvtest::Record;

class BezierSubdivision : public zvtest::KernelTest {};

// A uniform Bezier record (type 86) over the polygon, its degree set to
// the polygon's as the caller keeps it.
zv_curve *bezier_record(const std::vector<zv_pnt_3d> &points) {
  ll_list *ctrl = zvtest::make_polygon(points);
  zv_curve *curve = zv_def_ubezier_curve3d(ctrl);
  ll_purge_list(ctrl);  // the emptied header stays ours
  curve->degree = static_cast<int16_t>(points.size() - 1);
  return curve;
}

// A rational Bezier record (type 97) that owns the attached lists; defined
// at a degree of at most 15, then given the polygon's degree.
zv_curve *rational_record(const std::vector<zv_pnt_3d> &points, const std::vector<double> &weights) {
  zv_curve *curve = zv_create_curve();
  const int p = static_cast<int>(points.size()) - 1;
  EXPECT_EQ(zv_def_ratbezier_curve3d(zvtest::make_polygon(points), zvtest::make_reals({0.5}),
                                     zvtest::make_reals(weights), static_cast<int16_t>(std::min(p, 15)), curve),
            0);
  curve->degree = static_cast<int16_t>(p);
  return curve;
}

// Largest distance, relative to the scale of a piece's polygon, between the
// piece at s and the source at from + s (to - from).
double piece_error(const std::vector<zv_pnt_3d> &source, const std::vector<double> &source_w, const zv_curve *piece,
                   bool rational, double from, double to) {
  const auto P = zvtest::positions(piece->ctrl_list);
  const std::vector<double> w = rational ? zvtest::reals(piece->weight_list) : std::vector<double>(P.size(), 1.0);
  double worst = 0.0;
  for (double s : {0.0, 0.2, 0.5, 0.7, 1.0})
    worst = std::max(worst, zvtest::distance(zvtest::bernstein_point(P, w, s),
                                             zvtest::bernstein_point(source, source_w, from + s * (to - from))));
  return worst / std::max(zvtest::scale_of(P), zvtest::scale_of(source));
}

// ------------------------------------------------------------ properties

class SplitSeeds : public BezierSubdivision, public ::testing::WithParamInterface<int> {};
INSTANTIATE_TEST_SUITE_P(Seeds, SplitSeeds, ::testing::Range(0, 24));

// Random degrees 1..15 and t in [0, 1], at its ends and outside it: each
// piece reproduces the source over its interval, numbered 0 .. p from the
// split point; with unit weights the rational split gives the plain points
// and unit weights.
TEST_P(SplitSeeds, PiecesReproduceTheSource) {
  std::mt19937 rng(900 + GetParam());
  std::uniform_real_distribution<double> coordinate(-10, 10), weight(0.2, 5), unit(0, 1);
  const int p = 1 + GetParam() % 15;
  const double ts[] = {0.0, 1.0, -0.3, 1.4};
  const double t = GetParam() < 4 ? ts[GetParam()] : unit(rng);
  std::vector<zv_pnt_3d> P(p + 1);
  std::vector<double> w(p + 1), ones(p + 1, 1.0);
  for (int k = 0; k <= p; ++k) {
    P[k] = {coordinate(rng), coordinate(rng), coordinate(rng)};
    w[k] = weight(rng);
  }
  // Outside [0, 1] the pieces grow like |t|^p; rounding grows with them.
  const double tolerance = t >= 0.0 && t <= 1.0 ? 1e-12 : 1e-10;

  Record plain(bezier_record(P)), before(zv_create_curve()), after(zv_create_curve());
  Record rational(rational_record(P, w)), rbefore(zv_create_curve()), rafter(zv_create_curve());
  Record unit_weights(rational_record(P, ones)), ubefore(zv_create_curve()), uafter(zv_create_curve());
  ASSERT_EQ(zv_sub_bezier_curve3d(plain.get(), t, before.get(), after.get()), 0);
  ASSERT_EQ(zv_sub_ratbezier_curve3d(rational.get(), t, rbefore.get(), rafter.get()), 0);
  ASSERT_EQ(zv_sub_ratbezier_curve3d(unit_weights.get(), t, ubefore.get(), uafter.get()), 0);
  EXPECT_LE(piece_error(P, ones, after.get(), false, t, 1.0), tolerance);
  EXPECT_LE(piece_error(P, ones, before.get(), false, t, 0.0), tolerance);
  EXPECT_LE(piece_error(P, w, rafter.get(), true, t, 1.0), tolerance);
  EXPECT_LE(piece_error(P, w, rbefore.get(), true, t, 0.0), tolerance);
  EXPECT_EQ(before->degree, p);
  EXPECT_EQ(before->type, ZV_CURVE_UBEZIER);
  for (auto [rat, pln] : {std::pair{ubefore.get(), before.get()}, std::pair{uafter.get(), after.get()}}) {
    const auto a = zvtest::vertices(rat->ctrl_list), b = zvtest::vertices(pln->ctrl_list);
    ASSERT_EQ(b.size(), static_cast<size_t>(p + 1));
    ASSERT_EQ(a.size(), b.size());
    for (int k = 0; k <= p; ++k) {
      EXPECT_EQ(b[k].index, k);
      EXPECT_LE(zvtest::distance({a[k].x, a[k].y, a[k].z}, {b[k].x, b[k].y, b[k].z}), tolerance * 10);
    }
    for (double unit_weight : zvtest::reals(rat->weight_list)) EXPECT_NEAR(unit_weight, 1.0, 1e-15);
  }
}

// The quadratic with weights (1, 2, 1) at t = 0.5: the blended weights are
// stored, (1.5, 1.5, 1) in both pieces, and the pieces share the split point.
TEST_F(BezierSubdivision, QuadraticWithWeightsOneTwoOne) {
  const std::vector<zv_pnt_3d> P = {{0, 0, 0}, {1, 2, 0}, {2, 0, 1}};
  Record source(rational_record(P, {1, 2, 1})), before(zv_create_curve()), after(zv_create_curve());
  ASSERT_EQ(zv_sub_ratbezier_curve3d(source.get(), 0.5, before.get(), after.get()), 0);
  EXPECT_EQ(zvtest::reals(after->weight_list), (std::vector<double>{1.5, 1.5, 1}));
  EXPECT_EQ(zvtest::reals(before->weight_list), (std::vector<double>{1.5, 1.5, 1}));
  EXPECT_EQ(after->degree, 2);
  const auto a = zvtest::positions(after->ctrl_list), b = zvtest::positions(before->ctrl_list);
  EXPECT_EQ(zvtest::distance(a[0], b[0]), 0.0);
  EXPECT_LE(zvtest::distance(a[0], {1, 4.0 / 3, 1.0 / 6}), 1e-15);  // (P0 + 4 P1 + P2) / 6
  EXPECT_EQ(zvtest::distance(b[2], P[0]), 0.0);
  EXPECT_EQ(zvtest::distance(a[2], P[2]), 0.0);
}

// ------------------------------------------------- result codes and faults

TEST_F(BezierSubdivision, ArgumentChecks) {
  const std::vector<zv_pnt_3d> P = {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}};
  // A cubic source of either kind, changed by edit.
  auto source = [&](bool rational, void (*edit)(zv_curve *)) {
    Record r(rational ? rational_record(P, {1, 2, 2, 1}) : bezier_record(P));
    edit(r.get());
    return r;
  };
  auto keep = [](zv_curve *) {};
  auto no_ctrl = [](zv_curve *c) {
    ll_purge_list(c->ctrl_list);
    c->ctrl_list = nullptr;
  };
  auto no_knots = [](zv_curve *c) {
    ll_purge_list(c->knot_list);
    c->knot_list = nullptr;
  };
  auto no_weights = [](zv_curve *c) {
    ll_purge_list(c->weight_list);
    c->weight_list = nullptr;
  };
  auto degree_4 = [](zv_curve *c) { c->degree = 4; };
  Record plain = source(false, keep), rational = source(true, keep);
  Record uniform_bspline = source(false, [](zv_curve *c) { c->type = ZV_CURVE_UBSPLINE; });
  Record plain_no_ctrl = source(false, no_ctrl), plain_no_knots = source(false, no_knots);
  Record plain_high = source(false, degree_4), plain_negative = source(false, [](zv_curve *c) { c->degree = -1; });
  Record rat_no_knots = source(true, no_knots), rat_no_weights = source(true, no_weights);
  Record rat_high = source(true, degree_4), rat_few_weights = source(true, [](zv_curve *c) {
    ll_purge_list(c->weight_list);
    c->weight_list = zvtest::make_reals({1, 1, 1});
  });

  Record before(zv_create_curve()), after(zv_create_curve());
  using Split = int16_t (*)(zv_curve *, double, zv_curve *, zv_curve *);
  struct Case {
    const char *what;
    Split split;
    zv_curve *source, *before, *after;
    int16_t expected;
  } cases[] = {
      {"null source", zv_sub_bezier_curve3d, nullptr, before.get(), after.get(), 1},
      {"type 84", zv_sub_bezier_curve3d, uniform_bspline.get(), before.get(), after.get(), 1},
      {"null before", zv_sub_bezier_curve3d, plain.get(), nullptr, after.get(), 5},
      {"null after", zv_sub_bezier_curve3d, plain.get(), before.get(), nullptr, 5},
      {"before is after", zv_sub_bezier_curve3d, plain.get(), after.get(), after.get(), 5},
      {"null ctrl_list", zv_sub_bezier_curve3d, plain_no_ctrl.get(), before.get(), after.get(), 2},
      {"null knot_list", zv_sub_bezier_curve3d, plain_no_knots.get(), before.get(), after.get(), 3},
      {"fewer than p + 1 points", zv_sub_bezier_curve3d, plain_high.get(), before.get(), after.get(), 2},
      {"negative degree", zv_sub_bezier_curve3d, plain_negative.get(), before.get(), after.get(), 2},
      {"rational: null source", zv_sub_ratbezier_curve3d, nullptr, before.get(), after.get(), 1},
      {"rational: type 86", zv_sub_ratbezier_curve3d, plain.get(), before.get(), after.get(), 1},
      {"rational: null before", zv_sub_ratbezier_curve3d, rational.get(), nullptr, after.get(), 5},
      {"rational: null after", zv_sub_ratbezier_curve3d, rational.get(), before.get(), nullptr, 5},
      {"rational: null knot_list", zv_sub_ratbezier_curve3d, rat_no_knots.get(), before.get(), after.get(), 3},
      {"rational: null weight_list", zv_sub_ratbezier_curve3d, rat_no_weights.get(), before.get(), after.get(), 4},
      {"rational: fewer than p + 1 points", zv_sub_ratbezier_curve3d, rat_high.get(), before.get(), after.get(), 2},
      {"rational: fewer than p + 1 weights", zv_sub_ratbezier_curve3d, rat_few_weights.get(), before.get(),
       after.get(), 4},
  };
  const long blocks = zv_live_blocks();
  for (const Case &c : cases) {
    EXPECT_EQ(c.split(c.source, 0.5, c.before, c.after), c.expected) << c.what;
    EXPECT_EQ(zv_live_blocks(), blocks) << c.what << ": nothing may be made";
  }
  EXPECT_EQ(after->degree, 0) << "no output record is written on failure";
}

// The uniform split releases what the output records held (the fixture
// catches a leak); the rational split keeps what its output lists held,
// the piece after t behind it and the piece before t in front of it, and
// gives a null list slot a new list.
TEST_F(BezierSubdivision, OutputRecordsKeepOrReleaseWhatTheyHeld) {
  const std::vector<zv_pnt_3d> P = {{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}};
  Record plain(bezier_record(P)), before(bezier_record(P)), after(bezier_record(P));
  ASSERT_EQ(zv_sub_bezier_curve3d(plain.get(), 0.5, before.get(), after.get()), 0);
  ASSERT_EQ(zv_sub_bezier_curve3d(plain.get(), 0.25, before.get(), after.get()), 0);
  EXPECT_EQ(ll_list_length(after->ctrl_list), 4);

  Record rational(rational_record(P, {1, 2, 2, 1})), rbefore(zv_create_curve()), rafter(zv_create_curve());
  for (zv_curve *out : {rbefore.get(), rafter.get()}) {
    ll_purge_list(out->ctrl_list);
    out->ctrl_list = zvtest::make_polygon({{9, 9, 9}});  // weight_list stays null
  }
  ASSERT_EQ(zv_sub_ratbezier_curve3d(rational.get(), 0.5, rbefore.get(), rafter.get()), 0);
  const auto a = zvtest::vertices(rafter->ctrl_list), b = zvtest::vertices(rbefore->ctrl_list);
  ASSERT_EQ(a.size(), 5u);
  ASSERT_EQ(b.size(), 5u);
  EXPECT_EQ(a[0].x, 9.0) << "the piece after t follows the old item";
  EXPECT_EQ(b[4].x, 9.0) << "the piece before t precedes the old item";
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(a[1 + k].index, k);
    EXPECT_EQ(b[k].index, k);
  }
  EXPECT_EQ(a[1].x, b[0].x) << "both pieces start at the split point";
  EXPECT_EQ(b[3].x, 0.0);
  EXPECT_EQ(ll_list_length(rafter->weight_list), 4);
  EXPECT_EQ(ll_list_length(rbefore->weight_list), 4);
}

// Refused memory at every step, at a degree held on the stack and one held
// in a kernel block: -1, one report under the split's name and nothing
// leaked; the uniform split leaves its output records as they were.
// Regression: a refused piece record was reported twice, first under
// zv_def_ubezier_curve3d's name.
TEST_F(BezierSubdivision, RefusedMemoryIsReportedOnceAndLeaksNothing) {
  for (int p : {3, 40}) {
    std::vector<zv_pnt_3d> P(p + 1);
    std::vector<double> w(p + 1);
    for (int k = 0; k <= p; ++k) {
      P[k] = {double(k), double(k % 3), 0};
      w[k] = 1.0 + k % 2;
    }
    for (bool rational : {false, true}) {
      int16_t result = -1;
      for (long budget = 0; result != 0; ++budget) {
        Record source(rational ? rational_record(P, w) : bezier_record(P));
        Record before(zv_create_curve()), after(zv_create_curve());
        ll_list *old_list = after->ctrl_list;
        reports.memerrs.clear();
        zv_fail_alloc_after(budget);
        result = rational ? zv_sub_ratbezier_curve3d(source.get(), 0.3, before.get(), after.get())
                          : zv_sub_bezier_curve3d(source.get(), 0.3, before.get(), after.get());
        zv_fail_alloc_after(-1);
        ASSERT_TRUE(result == 0 || result == -1) << result;
        EXPECT_EQ(reports.memerrs.size(), result == 0 ? 0u : 1u) << "budget " << budget;
        if (result != 0) {
          EXPECT_EQ(reports.memerrs[0], rational ? "zv_sub_ratbezier_curve3d" : "zv_sub_bezier_curve3d");
        }
        if (result == 0) {
          EXPECT_LE(piece_error(P, rational ? w : std::vector<double>(p + 1, 1.0), after.get(), rational, 0.3, 1.0), 1e-12);
        } else if (!rational) {
          EXPECT_EQ(zvtest::value(after->ctrl_list), old_list) << "the output record is left as it was";
        }
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
