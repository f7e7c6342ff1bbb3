// Cubic B-spline and NURB records converted into Bezier segments: every
// knot-list layout, numbering, the weights of either conversion, the
// result codes, a zero knot interval, and output lists that held items.
// The Bezier points and weights against SISL and Open CASCADE are in
// tests/peer; refused memory is driven by tests/reliability.
#include "spline_records.hpp"

namespace {

using zvtest::Record;
using zvtest::Spline;

class BezierConversion : public zvtest::KernelTest {};

// Every knot layout of one curve, the full clamped vector (n + 4 knots),
// the tessellators' layout (n + 2) and the bare breakpoints (L + 1),
// converts to the Bezier segments of that curve: each segment at five local
// parameters against the spline summed from its basis functions, plain and
// exact rational, 1 to 6 segments over uneven knots, numbered 0 .. 3L. (A
// full clamped vector was once taken for the tessellators' layout and read
// from its third knot.) A plain source converts no weights; a NURB source
// converted plainly carries the exact conversion's weights.
TEST_F(BezierConversion, EveryKnotLayoutConvertsTheSameCurve) {
  for (int segments = 1; segments <= 6; ++segments) {
    for (const bool rational : {false, true}) {
      const Spline s = zvtest::random_spline(segments + 3, 3, 700 + segments, rational);
      const std::vector<double> layouts[] = {s.knots, s.stored_knots(), {s.knots.begin() + 3, s.knots.end() - 3}};
      for (const std::vector<double> &knots : layouts) {
        SCOPED_TRACE(testing::Message() << segments << " segments, rational " << rational << ", " << knots.size()
                                        << " knots");
        Record source(rational ? zvtest::make_nurb(s, 1) : zvtest::make_nub(s, 1));
        Record out(zv_create_curve()), affine(zv_create_curve());
        ll_purge_list(source->knot_list);
        source->knot_list = zvtest::make_reals(knots);
        ASSERT_EQ((rational ? zv_rat_bspl_to_bezier_curve3d : zv_bspl_to_bezier_curve3d)(source.get(), out.get()), 0);
        ASSERT_EQ(zv_bspl_to_bezier_curve3d(source.get(), affine.get()), 0);
        const auto b = zvtest::positions(out->ctrl_list);
        const auto w = zvtest::reals(out->weight_list);
        ASSERT_EQ(b.size(), 3u * segments + 1);
        ASSERT_EQ(w.size(), rational ? b.size() : 0u);
        EXPECT_EQ(zvtest::reals(affine->weight_list), w);
        const auto idx = zvtest::indices(out->ctrl_list);
        for (size_t k = 0; k < idx.size(); ++k) EXPECT_EQ(idx[k], static_cast<int>(k));
        for (int j = 0; j < segments; ++j) {
          const std::vector<zv_pnt_3d> piece(b.begin() + 3 * j, b.begin() + 3 * j + 4);
          const std::vector<double> weights = rational ? std::vector<double>(w.begin() + 3 * j, w.begin() + 3 * j + 4)
                                                       : std::vector<double>{};
          const double u0 = s.knots[3 + j], u1 = s.knots[4 + j];
          for (const double local : {0.0, 0.25, 0.5, 0.75, 1.0})
            EXPECT_LE(zvtest::distance(zvtest::bernstein_point(piece, weights, local),
                                       zvtest::basis_point(s, std::min(u0 + local * (u1 - u0), u1))),
                      1e-12 * zvtest::scale_of(s.points))
                << "segment " << j << " at " << local;
        }
      }
    }
  }
}

TEST_F(BezierConversion, ResultCodesComeBeforeAnythingIsMade) {
  const Spline s = zvtest::random_spline(7, 3, 11), quadratic = zvtest::random_spline(7, 2, 12);
  Record nub(zvtest::make_nub(s, 1)), nurb(zvtest::make_nurb(s, 1)), nurb2(zvtest::make_nurb(quadratic, 1));
  Record nub2(zvtest::make_nub(quadratic, 1)), three(zvtest::make_nub(zvtest::random_spline(3, 3, 13), 1));
  Record short_knots(zvtest::make_nub(s, 1)), no_weights(zvtest::make_nurb(s, 1)), out(zv_create_curve());
  ll_purge_list(short_knots->knot_list);
  short_knots->knot_list = zvtest::make_reals({0, 0.2, 0.5, 0.9});  // L = 4 needs 5
  ll_purge_list(no_weights->weight_list);
  no_weights->weight_list = ll_create_list();
  const struct {
    const char *what;
    int16_t (*convert)(zv_curve *, zv_curve *);
    zv_curve *source, *out;
    int16_t expected;
  } cases[] = {
      {"null source", zv_bspl_to_bezier_curve3d, nullptr, out.get(), 1},
      {"null out", zv_bspl_to_bezier_curve3d, nub.get(), nullptr, 1},
      {"degree 2", zv_bspl_to_bezier_curve3d, nub2.get(), out.get(), 3},
      {"3 control points", zv_bspl_to_bezier_curve3d, three.get(), out.get(), 3},
      {"L knots for L segments", zv_bspl_to_bezier_curve3d, short_knots.get(), out.get(), 4},
      {"rational: null source", zv_rat_bspl_to_bezier_curve3d, nullptr, out.get(), 1},
      {"rational: null out", zv_rat_bspl_to_bezier_curve3d, nurb.get(), nullptr, 1},
      {"rational: type 98", zv_rat_bspl_to_bezier_curve3d, nub.get(), out.get(), 2},
      {"rational: empty weights", zv_rat_bspl_to_bezier_curve3d, no_weights.get(), out.get(), 3},
      {"rational: degree 2", zv_rat_bspl_to_bezier_curve3d, nurb2.get(), out.get(), 4},
  };
  const long blocks = zv_live_blocks();
  for (const auto &c : cases) {
    EXPECT_EQ(c.convert(c.source, c.out), c.expected) << c.what;
    EXPECT_EQ(zv_live_blocks(), blocks) << c.what << ": nothing may be made";
  }
}

// A repeated breakpoint that makes a denominator 0 gives 5 after the whole
// junctions before it (the rational form 4, with what it appended divided);
// the exact form leaves what the output lists held as it was.
TEST_F(BezierConversion, ZeroKnotIntervalAndOutputListsThatHeldItems) {
  Spline s = zvtest::random_spline(8, 3, 31);
  s.knots = {0, 0, 0, 0, 1, 2, 2, 2, 3, 3, 3, 3};  // u = 0 1 2 2 2 3: junction 3 fails
  Record nurb(zvtest::make_nurb(s, 1)), plain(zv_create_curve()), exact(zv_create_curve());
  EXPECT_EQ(zv_bspl_to_bezier_curve3d(nurb.get(), plain.get()), 5);
  EXPECT_EQ(zv_rat_bspl_to_bezier_curve3d(nurb.get(), exact.get()), 4);
  const auto b = zvtest::positions(exact->ctrl_list);
  ASSERT_EQ(b.size(), 8u) << "b(0), b(1) and junctions 1 and 2";
  ASSERT_EQ(ll_list_length(plain->ctrl_list), 8);
  EXPECT_LE(zvtest::distance(b[3], zvtest::basis_point(s, 1.0)), 1e-12 * zvtest::scale_of(s.points));

  const Spline t = zvtest::random_spline(6, 3, 41);
  Record source(zvtest::make_nurb(t, 1)), out(zv_create_curve());
  out->weight_list = zvtest::make_reals({4.0});
  ll_purge_list(out->ctrl_list);
  out->ctrl_list = zvtest::make_polygon({{1, 2, 3}});
  ASSERT_EQ(zv_rat_bspl_to_bezier_curve3d(source.get(), out.get()), 0);
  ASSERT_EQ(zv_rat_bspl_to_bezier_curve3d(source.get(), out.get()), 0);
  const auto p = zvtest::positions(out->ctrl_list);
  ASSERT_EQ(p.size(), 1u + 2 * 10);
  EXPECT_EQ(zvtest::distance(p[0], {1, 2, 3}), 0.0);
  EXPECT_EQ(zvtest::reals(out->weight_list)[0], 4.0);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(zvtest::distance(p[1 + k], p[11 + k]), 0.0) << "the second run equals the first";
}

}  // namespace
