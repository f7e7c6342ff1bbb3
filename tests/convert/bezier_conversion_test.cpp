// Cubic B-spline and NURB records converted into Bezier segments: each
// segment against the source evaluated by the kernel's basis functions,
// both knot-list conventions, the result codes, and refused memory.
#include "bezier_testing.hpp"
#include "spline_records.hpp"

namespace {

using zvtest::Spline;

class BezierConversion : public zvtest::KernelTest {};

// The breakpoints u(0) .. u(L) of a clamped cubic: its distinct knots.
std::vector<double> breakpoints(const Spline &s) { return {s.knots.begin() + 3, s.knots.end() - 3}; }

// Gives a record the bare breakpoints as its knot list, or none at all for
// a single segment, which reads no knot.
void use_breakpoints(zv_curve *curve, const Spline &s) {
  ll_purge_list(curve->knot_list);
  curve->knot_list = s.n() == 4 ? nullptr : zvtest::make_reals(breakpoints(s));
}

// Largest distance, relative to the polygon's scale, between every Bezier
// segment of out at s and the source at u(j) + s (u(j+1) - u(j)).
double segment_error(const Spline &s, const zv_curve *out, bool rational) {
  const auto points = zvtest::positions(out->ctrl_list);
  const auto weights = zvtest::reals(out->weight_list);
  const std::vector<double> u = breakpoints(s);
  double worst = 0.0;
  for (size_t j = 0; j + 1 < u.size(); ++j) {
    const std::vector<zv_pnt_3d> polygon(points.begin() + 3 * j, points.begin() + 3 * j + 4);
    const std::vector<double> w =
        rational ? std::vector<double>(weights.begin() + 3 * j, weights.begin() + 3 * j + 4) : std::vector<double>(4, 1.0);
    for (double local : {0.0, 0.1, 0.37, 0.5, 0.81, 1.0}) {
      const double t = u[j] + local * (u[j + 1] - u[j]);
      worst = std::max(worst, zvtest::distance(zvtest::bernstein_point(polygon, w, local), zvtest::basis_point(s, t)));
    }
  }
  return worst / zvtest::scale_of(s.points);
}

// ------------------------------------------------------------ properties

class ConversionSeeds : public BezierConversion, public ::testing::WithParamInterface<int> {};
INSTANTIATE_TEST_SUITE_P(Seeds, ConversionSeeds, ::testing::Range(0, 24));

// Random clamped cubics of 1 to 20 segments with uneven breakpoints, their
// knot lists in either convention (a single segment without one): 3L + 1
// points numbered from 0 whose
// segments trace the source, plain and exactly rational; the plain form's
// affine weights are the exact form's weights.
TEST_P(ConversionSeeds, SegmentsTraceTheSource) {
  const int segments = 1 + GetParam() % 20;
  const bool bare_breakpoints = GetParam() % 2 == 1;
  const Spline s = zvtest::random_spline(segments + 3, 3, 700 + GetParam());
  const size_t count = 3 * segments + 1;

  zvtest::Record nub(zvtest::make_nub(s, 1)), nurb(zvtest::make_nurb(s, 1));
  if (bare_breakpoints) {
    use_breakpoints(nub.get(), s);
    use_breakpoints(nurb.get(), s);
  }
  zvtest::Record plain(zv_create_curve()), exact(zv_create_curve()), affine(zv_create_curve());
  ASSERT_EQ(zv_bspl_to_bezier_curve3d(nub.get(), plain.get()), 0);
  ASSERT_EQ(zv_rat_bspl_to_bezier_curve3d(nurb.get(), exact.get()), 0);
  ASSERT_EQ(zv_bspl_to_bezier_curve3d(nurb.get(), affine.get()), 0);

  Spline polynomial = s;  // what the non-uniform record holds
  polynomial.weights.assign(s.weights.size(), 1.0);
  EXPECT_LE(segment_error(polynomial, plain.get(), false), 1e-12);
  EXPECT_LE(segment_error(s, exact.get(), true), 1e-12);

  const auto points = zvtest::vertices(exact->ctrl_list);
  ASSERT_EQ(points.size(), count);
  for (size_t k = 0; k < count; ++k) EXPECT_EQ(points[k].index, static_cast<int>(k));
  EXPECT_EQ(zvtest::value(plain->weight_list), nullptr) << "a non-rational source converts no weights";
  const std::vector<double> exact_weights = zvtest::reals(exact->weight_list);
  EXPECT_EQ(exact_weights.size(), count);
  EXPECT_EQ(zvtest::reals(affine->weight_list), exact_weights);
}

// ------------------------------------------------- result codes and faults

TEST_F(BezierConversion, ArgumentChecks) {
  const Spline s = zvtest::random_spline(7, 3, 11);
  Spline quadratic = zvtest::random_spline(7, 2, 12);
  zvtest::Record nub(zvtest::make_nub(s, 1)), nurb(zvtest::make_nurb(s, 1));
  zvtest::Record nurb2(zvtest::make_nurb(quadratic, 1)), nub2(zvtest::make_nub(quadratic, 1));
  zvtest::Record three(zvtest::make_nub(zvtest::random_spline(3, 3, 13), 1));  // no segment
  zvtest::Record short_knots(zvtest::make_nub(s, 1));
  ll_purge_list(short_knots->knot_list);
  short_knots->knot_list = zvtest::make_reals({0, 0.2, 0.5, 0.9});  // L = 4 needs 5
  zvtest::Record no_weights(zvtest::make_nurb(s, 1));
  ll_purge_list(no_weights->weight_list);
  no_weights->weight_list = ll_create_list();

  zvtest::Record out(zv_create_curve());
  struct Case {
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
  for (const Case &c : cases) {
    EXPECT_EQ(c.convert(c.source, c.out), c.expected) << c.what;
    EXPECT_EQ(zv_live_blocks(), blocks) << c.what << ": nothing may be made";
  }
  EXPECT_EQ(ll_list_length(out->ctrl_list), 0);
}

// A repeated breakpoint that makes a denominator 0 gives 5 after the whole
// junctions before it; the rational form reports 4 and divides what it
// appended.
TEST_F(BezierConversion, ZeroKnotIntervalStopsAfterWholeJunctions) {
  Spline s = zvtest::random_spline(8, 3, 31);
  s.knots = {0, 0, 0, 0, 1, 2, 2, 2, 3, 3, 3, 3};  // u = 0 1 2 2 2 3: junction 3 fails
  zvtest::Record nurb(zvtest::make_nurb(s, 1)), plain(zv_create_curve()), exact(zv_create_curve());
  EXPECT_EQ(zv_bspl_to_bezier_curve3d(nurb.get(), plain.get()), 5);
  EXPECT_EQ(zv_rat_bspl_to_bezier_curve3d(nurb.get(), exact.get()), 4);
  const auto b = zvtest::positions(exact->ctrl_list);
  ASSERT_EQ(b.size(), 8u) << "b(0), b(1) and junctions 1 and 2";
  ASSERT_EQ(ll_list_length(plain->ctrl_list), 8);
  // b(3) is on the curve at u(1) = 1: divided, not left homogeneous.
  EXPECT_LE(zvtest::distance(b[3], zvtest::basis_point(s, 1.0)), 1e-12 * zvtest::scale_of(s.points));
}

// The exact form leaves what the output lists already held as it was.
TEST_F(BezierConversion, RationalDividesOnlyWhatItAppends) {
  const Spline s = zvtest::random_spline(6, 3, 41);
  zvtest::Record nurb(zvtest::make_nurb(s, 1)), out(zv_create_curve());
  out->weight_list = zvtest::make_reals({4.0});
  ll_purge_list(out->ctrl_list);
  out->ctrl_list = zvtest::make_polygon({{1, 2, 3}});
  ASSERT_EQ(zv_rat_bspl_to_bezier_curve3d(nurb.get(), out.get()), 0);
  ASSERT_EQ(zv_rat_bspl_to_bezier_curve3d(nurb.get(), out.get()), 0);
  const auto b = zvtest::positions(out->ctrl_list);
  ASSERT_EQ(b.size(), 1u + 2 * 10);
  EXPECT_EQ(zvtest::distance(b[0], {1, 2, 3}), 0.0);
  EXPECT_EQ(zvtest::reals(out->weight_list)[0], 4.0);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(zvtest::distance(b[1 + k], b[11 + k]), 0.0) << "the second run equals the first";
}

TEST_F(BezierConversion, RefusedMemoryLeaksNothing) {
  const Spline s = zvtest::random_spline(9, 3, 51);
  for (auto convert : {zv_bspl_to_bezier_curve3d, zv_rat_bspl_to_bezier_curve3d}) {
    int16_t result = -1;
    for (long budget = 0; result != 0; ++budget) {
      zvtest::Record nurb(zvtest::make_nurb(s, 1)), out(zv_create_curve());
      ll_purge_list(out->ctrl_list);
      out->ctrl_list = nullptr;
      zv_fail_alloc_after(budget);
      result = convert(nurb.get(), out.get());
      zv_fail_alloc_after(-1);
      ASSERT_TRUE(result == 0 || result == -1) << result;
      if (result == 0) {
        EXPECT_EQ(ll_list_length(out->ctrl_list), 19);
      }
    }
  }
  EXPECT_FALSE(reports.memerrs.empty());
}

}  // namespace
