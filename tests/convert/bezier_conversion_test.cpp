// Cubic B-spline and NURB records converted into Bezier segments: every
// knot-list layout, numbering, the weights of either conversion, the
// result codes, a zero knot interval, and output lists that held items.
// The Bezier points and weights against SISL and Open CASCADE are in
// tests/peer; refused memory is driven by tests/reliability.
#include "spline_records.hpp"

namespace {

using zvtest::Record;
using zvtest::Spline;

using BezierConversion = zvtest::KernelTest;

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
        Record source(rational ? zvtest::make_nurb(s, 1) : zvtest::make_nub(s, 1)), out(zv_create_curve()),
            affine(zv_create_curve());
        ll_purge_list(source->knot_list), source->knot_list = zvtest::make_reals(knots);
        ASSERT_EQ((rational ? zv_rat_bspl_to_bezier_curve3d : zv_bspl_to_bezier_curve3d)(source.get(), out.get()), 0);
        ASSERT_EQ(zv_bspl_to_bezier_curve3d(source.get(), affine.get()), 0);
        const auto b = zvtest::positions(out->ctrl_list);
        const auto w = zvtest::reals(out->weight_list);
        const auto idx = zvtest::indices(out->ctrl_list);
        ASSERT_TRUE(b.size() == 3u * segments + 1 && w.size() == (rational ? b.size() : 0u));
        EXPECT_EQ(zvtest::reals(affine->weight_list), w);
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

// Rows: the conversion, the source it gets, whether the output is null, the
// result; nothing may be made.
TEST_F(BezierConversion, ResultCodesComeBeforeAnythingIsMade) {
  using Convert = int16_t (*)(zv_curve *, zv_curve *);
  const Convert plain = zv_bspl_to_bezier_curve3d, rational = zv_rat_bspl_to_bezier_curve3d;
  static const auto nub = [](int n, int p) { return zvtest::make_nub(zvtest::random_spline(n, p, 11), 1); };
  static const auto nurb = [](int p) { return zvtest::make_nurb(zvtest::random_spline(7, p, 11), 1); };
  const struct { const char *what; Convert convert; zv_curve *(*make)(); bool null_out; int16_t expected; } cases[] = {
      {"null source", plain, [] { return static_cast<zv_curve *>(nullptr); }, false, 1},
      {"null out", plain, [] { return nub(7, 3); }, true, 1},
      {"degree 2", plain, [] { return nub(7, 2); }, false, 3},
      {"3 control points", plain, [] { return nub(3, 3); }, false, 3},
      {"L knots for L segments", plain, [] {
         zv_curve *c = nub(7, 3);
         ll_purge_list(c->knot_list), c->knot_list = zvtest::make_reals({0, 0.2, 0.5, 0.9});  // L = 4 needs 5
         return c;
       }, false, 4},
      {"rational: null source", rational, [] { return static_cast<zv_curve *>(nullptr); }, false, 1},
      {"rational: null out", rational, [] { return nurb(3); }, true, 1},
      {"rational: type 98", rational, [] { return nub(7, 3); }, false, 2},
      {"rational: empty weights", rational, [] {
         zv_curve *c = nurb(3);
         ll_purge_list(c->weight_list), c->weight_list = ll_create_list();
         return c;
       }, false, 3},
      {"rational: degree 2", rational, [] { return nurb(2); }, false, 4},
  };
  for (const auto &c : cases) {
    Record source(c.make()), out(zv_create_curve());
    const long blocks = zv_live_blocks();
    EXPECT_EQ(c.convert(source.get(), c.null_out ? nullptr : out.get()), c.expected) << c.what;
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
  const auto b = zvtest::positions(exact->ctrl_list);  // b(0), b(1) and junctions 1 and 2
  ASSERT_TRUE(b.size() == 8u && ll_list_length(plain->ctrl_list) == 8);
  EXPECT_LE(zvtest::distance(b[3], zvtest::basis_point(s, 1.0)), 1e-12 * zvtest::scale_of(s.points));

  const Spline t = zvtest::random_spline(6, 3, 41);
  Record source(zvtest::make_nurb(t, 1)), out(zv_create_curve());
  out->weight_list = zvtest::make_reals({4.0});
  ll_purge_list(out->ctrl_list), out->ctrl_list = zvtest::make_polygon({{1, 2, 3}});
  ASSERT_EQ(
      zv_rat_bspl_to_bezier_curve3d(source.get(), out.get()) + zv_rat_bspl_to_bezier_curve3d(source.get(), out.get()),
      0);
  const auto p = zvtest::positions(out->ctrl_list);
  ASSERT_EQ(p.size(), 1u + 2 * 10);
  EXPECT_TRUE(zvtest::distance(p[0], {1, 2, 3}) == 0.0 && zvtest::reals(out->weight_list)[0] == 4.0);
  for (int k = 0; k < 10; ++k)
    EXPECT_EQ(zvtest::distance(p[1 + k], p[11 + k]), 0.0) << "the second run equals the first";
}

}  // namespace
