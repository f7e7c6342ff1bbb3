// Bezier forms: B-spline and NURB records converted into Bezier segments, Bezier and rational Bezier
// records split at a parameter. Against SISL: tests/peer; refused memory at low degree: tests/reliability.
#include <rivezi3z/rivezi3z.hpp>

#include "spline_records.hpp"

namespace {

using zvtest::Record, zvtest::Spline;
using Points = std::vector<zv_pnt_3d>;
using Weights = std::vector<double>;
using BezierSubdivision = zvtest::KernelTest;
using BezierConversion = zvtest::KernelTest;

// A uniform Bezier record, or with weights a rational one (defined at degree 15 at most), of the polygon's degree.
zv_curve *bezier(const Points &P, const Weights &w = {}) {
  const auto p = int16_t(P.size() - 1);
  zv_curve *curve = w.empty() ? zv_def_ubezier_curve3d(rivezi3z::polygon(P).get()) : zv_create_curve();
  EXPECT_EQ(w.empty() ? 0 : zv_def_ratbezier_curve3d(zvtest::make_polygon(P), zvtest::make_reals({0.5}),
                                                     zvtest::make_reals(w), std::min<int16_t>(p, 15), curve), 0);
  curve->degree = p;
  return curve;
}

using Split = int16_t (*)(zv_curve *, double, zv_curve *, zv_curve *);
const Split kSplit[] = {zv_sub_bezier_curve3d, zv_sub_ratbezier_curve3d};

// The largest distance of the piece at s from the source at from + s (to - from), relative to their size.
double piece_error(const Points &P, const Weights &w, const zv_curve *piece, double from, double to) {
  const Points Q = zvtest::positions(piece->ctrl_list);
  const Weights v = w.empty() ? Weights{} : zvtest::reals(piece->weight_list);
  double worst = 0.0;
  for (double s : {0.0, 0.2, 0.5, 0.7, 1.0})
    worst = std::max(worst, zvtest::distance(zvtest::bernstein_point(Q, v, s),
                                             zvtest::bernstein_point(P, w, from + s * (to - from))));
  return worst / std::max(zvtest::scale_of(Q), zvtest::scale_of(P));
}

// The number, x, y, z of each vertex of a list, then the weights.
std::vector<double> flat(const ll_list *list, const ll_list *weights = nullptr) {
  std::vector<double> out;
  for (const auto &v : zvtest::vertices(list)) out.insert(out.end(), {double(v.index), v.x, v.y, v.z});
  for (double w : zvtest::reals(weights)) out.push_back(w);
  return out;
}

// At the ends and outside [0, 1] (extrapolating) the pieces reproduce the source, numbered 0 .. p from
// the split point, which both share to the bit. A cubic straight from zv_def_ubezier_curve3d (degree 0)
// with a foreign matrix gives cubic pieces with the Bezier matrix (once single points, then at the origin).
TEST_F(BezierSubdivision, PiecesAtAndBeyondTheEndsReproduceTheSource) {
  const Record fresh(zv_def_ubezier_curve3d(nullptr));
  for (int p : {1, 3, 9}) {
    const Points P = zvtest::random_points(p + 1, 900 + p);
    Weights w(p + 1);
    for (int k = 0; k <= p; ++k) w[k] = 0.5 + k % 3;
    for (double t : {0.0, 1.0, -0.3, 1.4})
      for (bool rational : {false, true}) {
        const Weights ws = rational ? w : Weights{};
        Record source(bezier(P, ws)), before(zv_create_curve()), after(zv_create_curve());
        if (p == 3 && !rational) source->degree = 0, std::memset(source->basis, 0, sizeof source->basis);
        ASSERT_EQ(kSplit[rational](source.get(), t, before.get(), after.get()), 0);
        EXPECT_LE(std::max(piece_error(P, ws, after.get(), t, 1.0), piece_error(P, ws, before.get(), t, 0.0)),
                  t >= 0.0 && t <= 1.0 ? 1e-12 : 1e-10) << p << " " << t;
        EXPECT_TRUE(before->degree == p && after->degree == p &&
                    (rational || (before->type == ZV_CURVE_UBEZIER && !std::memcmp(after->basis, fresh->basis, 128))));
        const std::vector<double> b = flat(before->ctrl_list), a = flat(after->ctrl_list);
        ASSERT_TRUE(b.size() == 4u * (p + 1) && a.size() == b.size());
        for (int k = 0; k <= p; ++k) EXPECT_TRUE(b[4 * k] == k && a[4 * k] == k);
        EXPECT_TRUE(std::equal(a.begin(), a.begin() + 4, b.begin()));
      }
  }
}

// A split of a cubic (rational: weights 1 2 2 1) after edit into outputs 0 both fresh, 1 before
// null, 2 after null, 3 one record twice: its result, or 99 when it made or changed anything.
using Edit = void (*)(zv_curve *&);
long split_of(bool rational, bool rational_source, Edit edit, int outputs = 0) {
  Record owner(bezier({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}}, rational_source ? Weights{1, 2, 2, 1} : Weights{}));
  Record b(zv_create_curve()), a(zv_create_curve());
  zv_curve *source = owner.get();
  edit(source);
  const long blocks = zv_live_blocks(),
             r = kSplit[rational](source, 0.5, outputs == 1 ? nullptr : outputs == 3 ? a.get() : b.get(),
                                  outputs == 2 ? nullptr : a.get());
  return zv_live_blocks() != blocks || a->degree != 0 || b->degree != 0 ? 99 : r;
}

// In order, nothing made before: source and kind (1), outputs (5), lists (2, 3, 4), p + 1 points (2), weights (4).
TEST_F(BezierSubdivision, ResultCodesComeBeforeAnythingIsMade) {
  using Codes = std::pair<long, long>;  // of the uniform and the rational split
  const auto codes = [](Edit edit, int outputs = 0) {
    return Codes(split_of(false, false, edit, outputs), split_of(true, true, edit, outputs));
  };
  const Edit keep = [](zv_curve *&) {}, no_source = [](zv_curve *&c) { c = nullptr; },
             no_ctrl = [](zv_curve *&c) { ll_purge_list(c->ctrl_list), c->ctrl_list = nullptr; },
             no_knots = [](zv_curve *&c) { ll_purge_list(c->knot_list), c->knot_list = nullptr; },
             no_weights = [](zv_curve *&c) { ll_purge_list(c->weight_list), c->weight_list = nullptr; },
             three_weights = [](zv_curve *&c) {
               ll_purge_list(c->weight_list), c->weight_list = zvtest::make_reals({1, 1, 1});
             };
  EXPECT_TRUE(codes(no_source) == Codes(1, 1) && split_of(false, true, keep) == 1 &&
              split_of(true, false, keep) == 1);
  for (int outputs : {1, 2, 3}) EXPECT_EQ(codes(keep, outputs), Codes(5, 5)) << outputs;
  EXPECT_TRUE(codes(no_ctrl) == Codes(2, 2) && codes([](zv_curve *&c) { c->degree = 4; }) == Codes(2, 2) &&
              codes([](zv_curve *&c) { c->degree = -1; }) == Codes(2, 2));
  EXPECT_TRUE(codes(no_knots) == Codes(3, 3) && codes(no_weights).second == 4 && codes(three_weights).second == 4);
}

// The rational split keeps what its outputs held: the piece before t goes in front of a marker
// point, the one after t behind it, as a split into fresh records gives them.
TEST_F(BezierSubdivision, RationalSplitKeepsWhatTheOutputsHeld) {
  Record source(bezier({{0, 0, 0}, {1, 2, 0}, {2, 0, 1}, {3, 1, 2}, {5, 2, 1}}, {1, 2, 0.5, 1, 3}));
  Record fb(zv_create_curve()), fa(zv_create_curve()), hb(zv_create_curve()), ha(zv_create_curve());
  for (zv_curve *out : {hb.get(), ha.get()})
    ll_purge_list(out->ctrl_list), out->ctrl_list = zvtest::make_polygon({{9, 9, 9}});
  ASSERT_TRUE(zv_sub_ratbezier_curve3d(source.get(), 0.3, fb.get(), fa.get()) == 0 &&
              zv_sub_ratbezier_curve3d(source.get(), 0.3, hb.get(), ha.get()) == 0);
  std::vector<double> b = flat(fb->ctrl_list), a = {0, 9, 9, 9}, after = flat(fa->ctrl_list);
  b.insert(b.end(), a.begin(), a.end()), a.insert(a.end(), after.begin(), after.end());
  EXPECT_TRUE(flat(hb->ctrl_list) == b && flat(ha->ctrl_list) == a);
  EXPECT_TRUE(zvtest::reals(hb->weight_list) == zvtest::reals(fb->weight_list) &&
              zvtest::reals(ha->weight_list) == zvtest::reals(fa->weight_list));
}

// Refused at every step with the degree in a kernel block: -1, one report under the split's name,
// no leak, the uniform split's outputs (holding a curve) as they were; run through, the pieces alone.
TEST_F(BezierSubdivision, RefusedMemoryAtAHighDegreeIsReportedOnce) {
  Points P(41);
  Weights w(41);
  for (int k = 0; k <= 40; ++k) P[k] = {double(k), double(k % 3), 0}, w[k] = 1.0 + k % 2;
  for (bool rational : {false, true}) {
    const Weights ws = rational ? w : Weights{};
    const std::vector<std::string> name = {rational ? "zv_sub_ratbezier_curve3d" : "zv_sub_bezier_curve3d"};
    for (long budget = 0, result = -1; result != 0; ++budget) {
      Record source(bezier(P, ws)), before(zv_create_curve()), after(rational ? zv_create_curve() : bezier(P));
      ll_list *old_list = after->ctrl_list;
      reports.memerrs.clear(), zv_fail_alloc_after(budget);
      result = kSplit[rational](source.get(), 0.3, before.get(), after.get()), zv_fail_alloc_after(-1);
      EXPECT_EQ(reports.memerrs, result ? name : std::vector<std::string>{});
      EXPECT_TRUE(result ? rational || zvtest::value(after->ctrl_list) == old_list
                         : piece_error(P, ws, after.get(), 0.3, 1.0) <= 1e-12) << budget;
    }
  }
}

// Full clamped vectors (n + 4 knots, once read from the third) and bare breakpoints (L + 1) convert bit for
// bit as the tessellators' layout (n + 2): 3L + 1 points numbered from 0; weights (NURB only) alike plain or exact.
TEST_F(BezierConversion, EveryKnotLayoutConvertsTheSameCurve) {
  for (int segments = 1; segments <= 6; ++segments)
    for (const bool rational : {false, true}) {
      const Spline s = zvtest::random_spline(segments + 3, 3, 700 + segments, rational);
      std::vector<std::vector<double>> outputs;
      for (const std::vector<double> &knots : {s.stored_knots(), s.knots, {s.knots.begin() + 3, s.knots.end() - 3}}) {
        Record source(rational ? zvtest::make_nurb(s, 1) : zvtest::make_nub(s, 1)), out(zv_create_curve()),
            affine(zv_create_curve());
        ll_purge_list(source->knot_list), source->knot_list = zvtest::make_reals(knots);
        ASSERT_EQ((rational ? zv_rat_bspl_to_bezier_curve3d : zv_bspl_to_bezier_curve3d)(source.get(), out.get()), 0);
        ASSERT_EQ(zv_bspl_to_bezier_curve3d(source.get(), affine.get()), 0);
        EXPECT_EQ(zvtest::reals(affine->weight_list), zvtest::reals(out->weight_list)) << knots.size();
        outputs.push_back(flat(out->ctrl_list, out->weight_list));
      }
      ASSERT_EQ(outputs[0].size(), (rational ? 5u : 4u) * (3 * segments + 1));
      for (int k = 0; k <= 3 * segments; ++k) EXPECT_EQ(outputs[0][4 * k], k);
      EXPECT_TRUE(outputs[1] == outputs[0] && outputs[2] == outputs[0]) << segments << " " << rational;
    }
}

// Nothing made before the codes: plain, null records (1), a degree but 3 or under 4 points (3), too
// few knots (4); exact, null records (1), another kind (2), no weights (3), the plain 3 .. 5 as 4.
TEST_F(BezierConversion, ResultCodesComeBeforeAnythingIsMade) {
  const auto convert = [](bool exact, zv_curve *source, bool null_out = false) {
    Record owner(source), out(zv_create_curve());
    const long blocks = zv_live_blocks(), r = (exact ? zv_rat_bspl_to_bezier_curve3d : zv_bspl_to_bezier_curve3d)(
                                                source, null_out ? nullptr : out.get());
    return zv_live_blocks() != blocks ? 99 : r;
  };
  const auto nub = [](int n, int p) { return zvtest::make_nub(zvtest::random_spline(n, p, 11), 1); };
  const auto nurb = [](int p) { return zvtest::make_nurb(zvtest::random_spline(7, p, 11), 1); };
  zv_curve *four_knots = nub(7, 3), *no_weights = nurb(3);
  ll_purge_list(four_knots->knot_list), four_knots->knot_list = zvtest::make_reals({0, 0.2, 0.5, 0.9});  // 5 needed
  ll_purge_list(no_weights->weight_list), no_weights->weight_list = ll_create_list();
  EXPECT_TRUE(convert(false, nullptr) == 1 && convert(false, nub(7, 3), true) == 1);
  EXPECT_TRUE(convert(false, nub(7, 2)) == 3 && convert(false, nub(3, 3)) == 3 && convert(false, four_knots) == 4);
  EXPECT_TRUE(convert(true, nullptr) == 1 && convert(true, nurb(3), true) == 1 && convert(true, nub(7, 3)) == 2);
  EXPECT_TRUE(convert(true, no_weights) == 3 && convert(true, nurb(2)) == 4);
}

// A zero denominator gives 5 after the junctions before it (exact: 4, what it appended divided).
// The exact form appends to what the output lists held.
TEST_F(BezierConversion, ZeroKnotIntervalAndOutputListsThatHeldItems) {
  Spline s = zvtest::random_spline(8, 3, 31);
  s.knots = {0, 0, 0, 0, 1, 2, 2, 2, 3, 3, 3, 3};  // u = 0 1 2 2 2 3: junction 3 fails
  Record nurb(zvtest::make_nurb(s, 1)), plain(zv_create_curve()), exact(zv_create_curve());
  EXPECT_EQ(zv_bspl_to_bezier_curve3d(nurb.get(), plain.get()), 5);
  EXPECT_EQ(zv_rat_bspl_to_bezier_curve3d(nurb.get(), exact.get()), 4);
  const auto b = zvtest::positions(exact->ctrl_list);  // b(0), b(1) and junctions 1 and 2
  ASSERT_TRUE(b.size() == 8u && ll_list_length(plain->ctrl_list) == 8);
  EXPECT_LE(zvtest::distance(b[3], zvtest::basis_point(s, 1.0)), 1e-12 * zvtest::scale_of(s.points));
  Record source(zvtest::make_nurb(zvtest::random_spline(6, 3, 41), 1)), out(zv_create_curve());
  out->weight_list = zvtest::make_reals({4.0});
  ll_purge_list(out->ctrl_list), out->ctrl_list = zvtest::make_polygon({{1, 2, 3}});
  for (int run = 0; run < 2; ++run) ASSERT_EQ(zv_rat_bspl_to_bezier_curve3d(source.get(), out.get()), 0);
  const std::vector<double> held = flat(out->ctrl_list, out->weight_list);  // marker, two runs of 10; 21 weights
  ASSERT_EQ(held.size(), 5u * 21);
  EXPECT_TRUE(held[1] == 1 && held[3] == 3 && held[4] == 0 && held[84] == 4.0 &&
              std::equal(held.begin() + 4, held.begin() + 44, held.begin() + 44) &&
              std::equal(held.begin() + 85, held.begin() + 95, held.begin() + 95));
}

}  // namespace
