/*
 * rivezi3z.h - 3D curve geometry: conics, arcs and cycloids; uniform cubic,
 * non-uniform B-spline, NURBS and rational Bezier curves; tessellation,
 * evaluation, direct polylines, fitting, intersection, conversion.
 *
 * Include this header alone (it includes the kernel, rivivi.h, and the
 * geometry services, da3v.h) and link rivezi3z::rivezi3z.
 *
 * Conventions shared by every function:
 *  - Points go by value (three doubles); vectors, lists and records by
 *    pointer. Counts, indices, degrees, modes and results are int16.
 *  - Result 0 is success. Small codes name the failing input, as each
 *    function says. A function that reports a message through
 *    zv_display_msg returns that message's number.
 *  - When the kernel refuses memory, the function reports zv_memerr with its
 *    own name, releases whatever it made that no list owns yet and returns
 *    -1 (a result code), null (a record) or the count so far (a count).
 *    Vertices already appended stay appended. Polylines and tessellations
 *    append their records in runs of up to 64 (ll_append_copies): after a
 *    refusal within a run the records made before it stay, and a record's
 *    vertex list may then hold up to one run of samples more than its
 *    statistics list.
 *  - Tessellators append to a record's output lists and never clear them;
 *    vertex numbers start from 0 in every call. Vertex indices are int16
 *    and wrap as two's complement past 32767.
 */
#ifndef RIVEZI3Z_RIVEZI3Z_H
#define RIVEZI3Z_RIVEZI3Z_H

#include "da3v.h"
#include "rivivi.h"

#ifdef __cplusplus
extern "C" {
#endif

/** Curve kind codes, the type field of zv_curve. */
#define ZV_CURVE_UBSPLINE 84   /**< uniform cubic B-spline (sliding window) */
#define ZV_CURVE_UBEZIER 86    /**< uniform cubic Bezier (groups of four) */
#define ZV_CURVE_UCATROM 88    /**< uniform Catmull-Rom (sliding window) */
#define ZV_CURVE_UBETASPL 92   /**< uniform cubic beta-spline (sliding window) */
#define ZV_CURVE_NURB 95       /**< NURB curve */
#define ZV_CURVE_RATBEZIER 97  /**< rational Bezier curve */
#define ZV_CURVE_NUBSPLINE 98  /**< non-uniform B-spline */

/* ===================================================== uniform definitions
 *
 * Each definition makes a new curve record of its kind, stores the 4x4
 * basis matrix (row r weighs t^(3-r), column k weighs control point k) and
 * takes the caller's control list over: the caller's cursor is moved to the
 * first node, the four header words are copied into the record's ctrl_list
 * and the caller's head is set to null. The nodes and items then belong to
 * the record; the caller's header stays the caller's and reads as empty.
 * The number of control points is not checked here (zv_mk_ucurve3d does).
 * A null control list gives a record with an empty control list.
 * Returns the record (release it with zv_purge_curve), or null when memory
 * is refused (reported as zv_memerr with the function's name; the caller's
 * list is then untouched).
 */

/** Uniform cubic Bezier, kind 86; the Bezier matrix stored undivided. */
ZV_API zv_curve *zv_def_ubezier_curve3d(ll_list *ctrl);

/** Uniform cubic B-spline, kind 84; the B-spline matrix divided by 6. */
ZV_API zv_curve *zv_def_ubspl_curve3d(ll_list *ctrl);

/** Uniform Catmull-Rom, kind 88; the Catmull-Rom matrix divided by 2. */
ZV_API zv_curve *zv_def_ucatrom_curve3d(ll_list *ctrl);

/**
 * Uniform cubic beta-spline, kind 92, with bias beta1 and tension beta2; the
 * matrix is divided by delta = 2 b^3 + beta2 + 4 b^2 + 4 b + 2 (b = beta1).
 * beta1 = 1, beta2 = 0 gives the B-spline matrix.
 * Returns null and leaves the caller's list untouched when |delta| <= 1e-7
 * or delta is not finite (no division by zero).
 */
ZV_API zv_curve *zv_def_ubetaspl_curve3d(ll_list *ctrl, double beta1,
                                         double beta2);

/* ================================ non-uniform and rational definitions */

/*
 * Knot convention of the non-uniform and NURB records: a curve of degree p
 * with n control points P(0) .. P(n-1) stores at least n + p - 1 knots
 * K(0), K(1), ..., the clamped knot vector of n + p + 1 knots without its
 * outermost knot at either end. It has n - p spans; span i runs over
 * [K(i + p - 1), K(i + p)], is shaped by P(i) .. P(i + p) (and their
 * weights) and reads the 2p knots K(i) .. K(i + 2p - 1).
 *
 * The full clamped knot vector is accepted too: a list of exactly
 * n + p + 1 knots whose first p + 1 and last p + 1 knots are equal is read
 * without its outermost knot at either end (the tessellators and the
 * conversion skip its first knot), so both layouts give the same curve.
 * Every other list is read as stored, from its first knot.
 */

/**
 * Makes a non-uniform B-spline record (kind 98) and takes the caller's two
 * lists over, like the uniform definitions: each caller's cursor goes to
 * its first node, the four header words are copied into the record's
 * ctrl_list and knot_list and the caller's heads are set to null.
 * @param[in,out] ctrl       control points (zv_poly_3d); null counts as empty
 * @param[in,out] knots      knots (zv_rnumber), at least n + degree - 1 of them
 *                           for n control points; null counts as empty
 * @param[in]     degree     1 to 15
 * @param[in]     span_steps samples per span minus one, stored as given
 * @return the record (release it with zv_purge_curve), or null:
 *  - fewer than n + degree - 1 knots: message ("BADKNOTSEQ", 0,
 *    "zv_def_nubspl_curve3d"); this test comes first;
 *  - degree below 1 or above 15: message ("BADDEG", 0, "zv_def_nubspl_curve3d");
 *  - memory refused: zv_memerr("zv_def_nubspl_curve3d").
 * On every null result the caller's lists keep their heads and everything
 * the function made is released (record and its own lists alike).
 * Counts are taken at full width (lists longer than 32767 items count fully).
 */
ZV_API zv_curve *zv_def_nubspl_curve3d(ll_list *ctrl, ll_list *knots, int16_t degree,
                                       int16_t span_steps);

/*
 * The two rational definitions fill a record the caller made with
 * zv_create_curve. They set type first (it stays set whatever the result),
 * then test the inputs; on success they attach the caller's three lists by
 * pointer (nothing is copied, the caller's headers are not changed), set
 * degree and span_steps and give the record two new empty output lists.
 *
 * Ownership. The attached lists stay the caller's: the definition marks
 * them borrowed (ll_set_list_borrowed), and no function releases a borrowed
 * list when it replaces a record's lists (a later definition, the uniform
 * split). They must outlive the record's use; zv_purge_curve still releases
 * them with the record unless the caller first sets the slots to null, so
 * release them either with the record or yourself (ll_purge_list, after
 * clearing the slots), not both. The lists a definition replaces are
 * released when the record owns them (those zv_create_curve made, those a
 * definition took over or created, the pieces of a split): the old
 * vertex_list and stats_list with whatever they hold, and the old ctrl_list,
 * knot_list and weight_list unless borrowed. So redefining a record, after
 * any other definition, tessellation or split, and after a failed
 * definition, leaks nothing and frees nothing of the caller's. A list
 * passed as one of the three arguments is never released, even when the
 * record owned it before (it is then the caller's too, marked borrowed).
 */

/**
 * Fills a NURB record (kind 95).
 * @param[in] ctrl       control points (zv_poly_3d), attached by pointer
 * @param[in] knots      knots (zv_rnumber), attached by pointer; the count is
 *                       not tested here (zv_mk_nurb_curve3d reads what it needs)
 * @param[in] weights    weights (zv_rnumber), at least one per control point
 * @param[in] degree     1 to 15
 * @param[in] span_steps samples per span minus one; 0 is stored as 1
 * @param[in,out] curve  the record to fill
 * @return 0 filled; 1 fewer control points than degree + 1; 2 fewer weights
 * than control points; 3 degree below 1 or above 15 (tested in this order;
 * no message; nothing but type changed); 4 curve is null; -1 memory refused
 * for the output lists (zv_memerr("zv_mk_def_nurb_curve3d"); nothing but
 * type changed). Null lists count as empty.
 */
ZV_API int16_t zv_mk_def_nurb_curve3d(ll_list *ctrl, ll_list *knots, ll_list *weights,
                                      int16_t degree, int16_t span_steps, zv_curve *curve);

/**
 * Fills a rational Bezier record (kind 97); span_steps is set to 0.
 * @param[in] ctrl      control points (zv_poly_3d), attached by pointer
 * @param[in] knots     the parameters at which zv_mk_rat_bezier_3d samples
 *                      (zv_rnumber), attached by pointer
 * @param[in] weights   weights (zv_rnumber), exactly one per control point
 * @param[in] degree    1 to 15
 * @param[in,out] curve the record to fill
 * @return 0 filled; 1 fewer control points than degree + 1; 2 weight count
 * differs from the control-point count; 3 degree below 1 or above 15 (in
 * this order; no message; nothing but type changed); 4 curve is null; -1
 * memory refused for the output lists (zv_memerr("zv_def_ratbezier_curve3d");
 * nothing but type changed). Null lists count as empty.
 */
ZV_API int16_t zv_def_ratbezier_curve3d(ll_list *ctrl, ll_list *knots, ll_list *weights,
                                        int16_t degree, zv_curve *curve);

/* ==================================================== uniform tessellation */

/**
 * Samples a uniform curve record into its vertex_list and stats_list.
 * t_step := step, or 0.1 when step is not above 1e-7 (zero, negative, NaN).
 * Kind 86 takes whole groups of four control points per segment (a 9-point
 * polygon counts as 8); every other kind slides a four-point window along
 * the polygon (n - 3 segments). Each segment is sampled at t = 0, t_step,
 * 2 t_step, ... (accumulated) while t <= 1.0000001. Every sample is numbered
 * (index 0, 1, 2, ... across the whole call), but the t = 0 sample of the
 * second and later segments is dropped, so numbers skip one value at each
 * joint (0..10, 12..21, 23..32 for step 0.1). Each kept vertex gets a
 * statistics record: the local t, the unit first and second derivatives
 * (zero vectors where the derivative vanishes) and the normal that
 * zv_normalvector3d derives from the unit tangent. The derivatives are
 * formed from the differences P_k - P_0 (the derivative rows of a uniform
 * basis sum to zero), so they and their frames do not depend on where the
 * curve sits: a curve moved far from the origin keeps its directions, and
 * a segment whose four points coincide gets exact zeros. A derivative also
 * counts as vanished when it is no larger than the rounding residue of its
 * differenced terms (about 512 ulps of sum |basis| |P_k - P_0|), as at a
 * cusp, so that no direction is made of rounding noise. (A record whose
 * basis rows do not sum to zero keeps that sum's share, times P_0.)
 * Returns 0; 1 when curve is null; 2 when the record's control list is null
 * or holds fewer than 4 points; -1 when memory is refused (reported as
 * zv_memerr("zv_mk_ucurve3d"); the samples so far stay appended).
 */
ZV_API int16_t zv_mk_ucurve3d(zv_curve *curve, double step);

/**
 * Evaluates one segment of a uniform curve at local parameter t with the
 * record's basis matrix: seg points to four vertex pointers P0..P3. *pnt
 * receives the point, *tangent and *second the unit first and second
 * derivatives (zero where they vanish, as for zv_mk_ucurve3d), *normal the
 * normal that zv_normalvector3d derives from the unit tangent. The cursor
 * of the record's ctrl_list is moved to its first node.
 * Returns 0; 1 when curve is null; 2 when t < -1e-7 or t > 1.0000001 (or
 * NaN); 3 when seg, an entry of seg or an output pointer is null. Nothing is
 * written unless the result is 0.
 */
ZV_API int16_t zv_eval_t_on_ucurve3d(zv_curve *curve, double t, zv_poly_3d **seg,
                                     zv_pnt_3d *pnt, zv_vector_3d *tangent,
                                     zv_vector_3d *second, zv_vector_3d *normal);

/* =============================== non-uniform and rational tessellation */

/*
 * The two span tessellators share this sampling. Each span longer than 1e-7
 * is sampled at S + 1 parameters t = K(i) + (s * L) / S, s = 0 .. S, L its
 * length, both ends included, S the record's span_steps; a span of 1e-7 or
 * less yields nothing. zv_mk_nubspline_3d tests a span [a, b] as
 * a + 1e-7 < b, zv_mk_nurb_curve3d as b - a > 1e-7; the two differ in
 * rounding for spans of about 1e-7 ([1, 1 + 1e-7] is not sampled by the
 * first). A span whose ends are not ordered numbers (NaN) is never sampled. So an interior boundary between two sampled spans
 * appears twice. Each sample appends one vertex (index = running number of
 * this call from 0, wrapping past 32767) to vertex_list and one statistics
 * record with only t set to stats_list. The output lists are never cleared.
 * S = 0 makes the first parameter undefined (result 5); S < 0 samples
 * nothing. A parameter below -1e-7 (from knots below -1e-7) is refused with
 * result 5. The window slides along the lists one node per span, so a call
 * costs time linear in the samples plus the list lengths. The cursors of
 * the input lists are left where they were.
 *
 * Sub-range: when first > 0 and last > 0 the walk takes control points
 * first .. min(last, n) (1-based) with the knots and weights that go with
 * them, shifted by the same first - 1 positions: n' = min(last, n) - first
 * + 1 control points, and knots K(first - 1) onwards. Otherwise n' = n.
 * Every read stays inside the lists.
 */

/**
 * Tessellates a non-uniform B-spline record (kind 98) span by span with
 * zv_deboor_3d's arithmetic, n' - p spans.
 * @param[in,out] curve the record; its vertex_list and stats_list receive
 *                      the samples and belong to it
 * @param[in] first, last the optional sub-range (see above)
 * @return in the order tested: 1 curve, its vertex_list or its stats_list is
 * null; 2 degree below 1 or above 15; 3 type is not 98; 2 n' < p + 1;
 * 4 fewer than n' + p - 1 knots from the range's first knot on; 5 a sample
 * parameter refused (what was appended so far stays); -1 memory refused
 * (zv_memerr("zv_mk_nubspline_3d"); what was appended so far stays); 0 done.
 * No message is displayed for codes 1 to 5.
 */
ZV_API int16_t zv_mk_nubspline_3d(zv_curve *curve, int16_t first, int16_t last);

/**
 * Tessellates the first spans spans of a NURB record (kind 95) with the
 * blend of zv_rat_deboor_3d. The knots the spans need, K(i) .. K(i + spans
 * + 2p - 2) from the range's first knot i, are copied into one kernel block
 * for the call.
 * @param[in,out] curve the record; its vertex_list and stats_list receive
 *                      the samples
 * @param[in] first, last the optional sub-range (see above)
 * @param[in] spans     N, the number of spans, at most n' - p
 * @param[in] steps     when not 0, stored in the record's span_steps before
 *                      sampling (it stays there); 0 uses the record's own
 * @return in the order tested: 1 curve, its vertex_list or its stats_list is
 * null; 2 degree below 1 or above 15; 3 type is not 95; 2 n' < p + 1;
 * 2 spans > n' - p (before anything is allocated or appended); 4 fewer than
 * spans + 2p - 1 knots from the range's first knot on; 0 when spans <= 0
 * (nothing allocated or appended; steps still stored); -1 when the knot copy
 * is refused (zv_memerr("mk_nurb_curve3d - 2"), nothing appended) or a
 * vertex is refused (zv_memerr("zv_mk_nurb_curve3d"), what was appended
 * stays); 5 a sample parameter refused (what was appended stays); 0 done.
 * Missing weights (a weight list shorter than the control points it covers,
 * or none) count as 1. A zero blended weight gives non-finite coordinates,
 * never a crash.
 */
ZV_API int16_t zv_mk_nurb_curve3d(zv_curve *curve, int16_t first, int16_t last, int16_t spans,
                                  int16_t steps);

/**
 * Tessellates a rational Bezier record (any type; kind 97 is what
 * zv_def_ratbezier_curve3d makes): for each parameter t of the knot list, in
 * list order, one vertex is computed from the first n + 1 control points
 * and weights and appended to vertex_list (index from 0 per call). The point
 * is the rational curve of degree n through control point k at parameter
 * k/n, computed by repeated homogeneous linear interpolation between the
 * values at k/n and (k + r)/n (Neville's scheme): with all weights 1 the
 * polynomial through the control points. This is not the rational Bezier
 * curve of the control points, which zv_sub_ratbezier_curve3d splits: for
 * three points (0, 0), (1, 1), (2, 0) with weights (1, 2, 1), this
 * function gives (1, 1) at t = 0.5 (it passes through every control point),
 * the rational Bezier curve (1, 2/3). No statistics records are made.
 * @param[in,out] curve  the record; vertex_list is created when null
 * @param[in]     degree n when 1 or more, else the record's degree is used
 * @return in the order tested: 1 curve or ctrl_list is null; 2 knot_list
 * null; 3 weight_list null; 4 n outside 1 .. 15; 1 the control list holds
 * fewer than n + 1 points; 5 the knot list is empty (nothing is appended
 * for any of these); -1 memory refused (zv_memerr("zv_mk_rat_bezier_3d");
 * what was appended stays); 0 done. A weight list shorter than n + 1 counts
 * the missing weights as 1. A zero blended weight, or a non-finite t, gives
 * non-finite coordinates, never a crash. The cursors of the record's lists
 * are left where they were.
 */
ZV_API int16_t zv_mk_rat_bezier_3d(zv_curve *curve, int16_t degree);

/* ================================================== de Boor evaluation */

/** Highest degree the two de Boor functions evaluate (their working storage). */
#define ZV_MAX_DEBOOR_DEGREE 29

/**
 * Evaluates one point of a B-spline span by de Boor's algorithm.
 * @param[in]  t      the parameter, meant to lie in [knots[p-1], knots[p]]
 * @param[in]  p      the degree, 0 to ZV_MAX_DEBOOR_DEGREE
 * @param[in]  points p + 1 pointers to the span's control points d(0) .. d(p)
 *                    (only x, y, z are read)
 * @param[in]  knots  the span's 2p knots u(0) .. u(2p-1)
 * @param[out] result receives the point
 * @return 0; 2 when t < -1e-7 or t is NaN; 3 when p is outside 0 .. 29 or
 * points, an entry of it, knots or result is null. result is untouched
 * unless the result is 0. Knots that meet (a zero denominator) give
 * non-finite coordinates, never a crash.
 */
ZV_API int16_t zv_deboor_3d(double t, int16_t p, zv_poly_3d *const *points,
                            const double *knots, zv_pnt_3d *result);

/**
 * Evaluates one point of a rational B-spline span by de Boor's algorithm in
 * homogeneous form: every blend of two weighted points is divided by the
 * blended weight, which replaces the old weight. With all weights 1 it
 * gives the point of zv_deboor_3d (to rounding).
 * @param[in]  t       the parameter, meant to lie in [knots[p-1], knots[p]]
 * @param[in]  p       the degree, 0 to ZV_MAX_DEBOOR_DEGREE
 * @param[in]  points  p + 1 pointers to the span's control points
 * @param[in]  weights the p + 1 weights w(0) .. w(p)
 * @param[in]  knots   the span's 2p knots
 * @param[out] result  receives the point
 * @return 0; 2 when t < -1e-7 or t is NaN; 3 when p is outside 0 .. 29 or
 * a pointer (or an entry of points) is null; result untouched unless 0.
 * A blended weight of 0 gives non-finite coordinates, never a crash.
 */
ZV_API int16_t zv_rat_deboor_3d(double t, int16_t p, zv_poly_3d *const *points,
                                const double *weights, const double *knots,
                                zv_pnt_3d *result);

/* ============= point and derivative evaluation of array-form B-splines */

#pragma pack(push, 1)

/**
 * A B-spline or NURBS curve in array form (38 bytes, packed), built by
 * zv_curve_thru_npoints_3d or by a caller, read by the two evaluators.
 *
 *   | last_ctrl:int16 | last_knot:int16 | degree:int16 | plain:int32 |
 *   | open_ends:int32 | is_line:int32 | planar:int16 | dim:int16 |
 *   | ctrl_pts:double* | knots:double* |
 *
 * last_ctrl  n, the index of the last control point (n + 1 points)
 * last_knot  m, the index of the last knot (m + 1 knots); m = n + degree + 1
 * degree     p, 1 to 7
 * plain      non-zero: plain coordinates; 0: homogeneous, the last
 *            coordinate of each control point is its weight and the others
 *            are already multiplied by it
 * open_ends  1 when the fitted points' first and last points differ
 * is_line    1 for a fitted line (degree 1 through two points)
 * planar     non-zero: the curve lies in z = 0 and every z result is 0
 * dim        doubles per control point: 2 or 3 plain, 3 or 4 homogeneous
 * ctrl_pts   (n + 1) * dim doubles; coordinate c of point k at k*dim + c
 * knots      m + 1 doubles, not decreasing
 *
 * A record from zv_curve_thru_npoints_3d is three zv_malloc blocks (the
 * record, ctrl_pts, knots); the caller releases each with zv_free.
 */
typedef struct zv_nurbs_3d {
  int16_t last_ctrl;
  int16_t last_knot;
  int16_t degree;
  int32_t plain;
  int32_t open_ends;
  int32_t is_line;
  int16_t planar;
  int16_t dim;
  double *ctrl_pts;
  double *knots;
} zv_nurbs_3d;

#pragma pack(pop)

/**
 * The point of an array-form curve at parameter t, from the non-zero basis
 * functions of t's knot span (zv_findknotspan from the right,
 * zv_basisfunctions). At a clamped end (its p + 1 knots equal) t equal to
 * the end knot gives the end control point exactly: control point 0 at the
 * first knot, control point n at the last (divided by their weights when
 * homogeneous). An unclamped end knot lies outside the domain
 * [knots[p], knots[n + 1]] and, like any t outside it, is evaluated in the
 * end span on its side (the polynomial extended), so the point agrees with
 * zv_eval_derivsoncurve_3d and with a fit through a point at that knot;
 * nothing outside the arrays is read. The record is only read.
 *
 * The spatial coordinates of a control point are its first dim (plain) or
 * dim - 1 (homogeneous) doubles. The result's z is 0 when the record is
 * planar or has only two spatial coordinates (a plain dim 2 or homogeneous
 * dim 3 record never has its weight or a missing coordinate read as z).
 * A zero weight sum is not guarded: the result is then infinite or NaN.
 *
 * @param[in]  curve  the record (see zv_nurbs_3d)
 * @param[in]  t      the parameter
 * @param[out] result receives the point; written only when the result is 0
 * @return 0; 1 (nothing written) when curve or result is null, or the record
 *         is unusable: degree outside 1..7, dim outside 2..3 (plain) or
 *         3..4 (homogeneous), null ctrl_pts or knots, last_ctrl < degree, or
 *         last_knot != last_ctrl + degree + 1
 */
ZV_API int16_t zv_eval_pointoncurve_3d(const zv_nurbs_3d *curve, double t,
                                       zv_pnt_3d *result);

/**
 * The point, first and (optionally) second derivative of an array-form
 * curve at t, evaluated from one side, with the continuity status at t.
 * Rational records use the quotient rule on Q = A/w:
 * Q' = (A' - w' Q) / w and Q'' = (A'' - w'' Q - 2 w' Q') / w.
 * There is no end-knot shortcut here; t outside the knot range is evaluated
 * in the end span on its side. z components follow zv_eval_pointoncurve_3d:
 * 0 for planar records and records with two spatial coordinates.
 *
 * @param[in]  curve       the record (see zv_nurbs_3d)
 * @param[in]  t           the parameter
 * @param[in]  side        +1 from the right of t, -1 from the left; any
 *                         other value counts as +1
 * @param[in]  with_second non-zero asks for the second derivative as well
 *                         (any non-zero value counts as 1)
 * @param[out] point       receives Q(t)
 * @param[out] d1          receives Q'(t)
 * @param[out] d2          receives Q''(t) when with_second is non-zero;
 *                         untouched (and may be null) when it is 0
 * @param[out] status      0: t is not an interior knot, or the curve's
 *                         continuity there covers the derivatives asked for;
 *                         1: t is an interior knot of multiplicity k >= p,
 *                         the first derivative is one-sided; 2: second
 *                         derivative asked for and k = p - 1, it is one-sided.
 *                         The multiplicity is counted by exact equality and
 *                         never past either end of the knot array.
 * @return 0; 1 (nothing written) when curve, point, d1 or status is null,
 *         d2 is null while with_second is non-zero, or the record is unusable
 *         as for zv_eval_pointoncurve_3d
 */
ZV_API int16_t zv_eval_derivsoncurve_3d(const zv_nurbs_3d *curve, double t,
                                        int16_t side, int16_t with_second,
                                        zv_pnt_3d *point, zv_pnt_3d *d1,
                                        zv_pnt_3d *d2, int16_t *status);


/* ===================== direct polylines: Bezier, B-spline, Catmull-Rom */

/**
 * n! as a double, the factorial behind the Bezier coefficients.
 * 0! .. 13! come from a table, larger n from the running product rounded
 * at each step (exact up to 22!).
 * @param n  any int16
 * @return n!; 1.0 for n < 0; +inf for n >= 171. The product stops once it
 *         is infinite, so n = 32767 ends at once (no counter wrap) with +inf.
 */
ZV_API double zv_bez_factorial3(int16_t n);

/**
 * Samples a Bezier curve of degree up to 29 from an array of control points
 * into an array: sample i at t = i/(n - 1) for i = 0 .. n - 1, evaluated in
 * one of two Horner forms of the Bernstein sum (split at t = 0.5000001, one
 * pow per sample). Only the first min(m, 30) points take part.
 * @param[in]  points  m control points in curve order (read only)
 * @param      m       number of control points; below 3 the first m points
 *                     are copied to out unchanged and n is not used
 *                     (m <= 0: nothing is written)
 * @param      n       number of samples; n <= 0 writes none; n = 1 writes
 *                     the single sample at t = 0, which is points[0] (no
 *                     step of 1/0)
 * @param[out] out     the caller's array of at least n points (at least m
 *                     when m < 3)
 * @return 0 always; with a null points or out nothing is read or written.
 */
ZV_API int16_t zv_beziercurve3d(const zv_pnt_3d *points, int16_t m, int16_t n,
                                zv_pnt_3d *out);

/**
 * Samples a Bezier curve of degree up to 29 from a list of control points
 * into a vertex list, as zv_beziercurve3d does: n new vertices numbered
 * 0 .. n - 1 at t = i/(n - 1) (n = 1: the one vertex at P(0)), appended at
 * the end of list; they belong to the list.
 * The first min(m, 30, points the list holds) vertices of polygon take
 * part, so nothing outside the list or the 30-entry coefficient table is
 * read. With fewer than 3 taking part, whole copies of those records
 * (indexes included) are appended and n is not used.
 * The polygon's cursor moves: after samples it rests on the last control
 * point that took part (on the head for n = 1); after copies it rests one
 * node past the last copy (on the last node when there is none further);
 * with no point taking part it goes to the first node; with no sample
 * (n <= 0, three or more points) it stays where it was.
 * @param[in,out] polygon  the control vertices; null: nothing happens
 * @param         m        number of control points stated
 * @param         n        number of samples (n <= 0: none)
 * @param[in,out] list     receives the vertices; when null, a private list
 *                         is used and released before return (the caller
 *                         receives nothing)
 * @return 0; -1 when memory is refused (zv_memerr("zv_bezier_curve_3d");
 *         vertices already appended stay).
 */
ZV_API int16_t zv_bezier_curve_3d(ll_list *polygon, int16_t m, int16_t n,
                                  ll_list *list);

/**
 * Polyline along the uniform cubic B-spline of n control points, evaluated
 * segment by segment in power form ((a3 u + a2) u + a1) u + a0 over a
 * four-point window sliding one point at a time (n - 3 segments).
 * The request *points rises to a multiple of n - 2 (a negative one rises
 * towards 0) and is divided by n - 3, truncated, giving m steps per
 * segment (the arithmetic is full width, so no request wraps). m is capped
 * at 32766 / (n - 3), so the vertices never pass 32767; a request that
 * leaves m below 1 (any request <= 0) appends nothing.
 * The first segment gives the vertices at u = 0, 1/m, ..., 1, every later
 * one those at u = 1/m, ..., 1 (its u = 0 is the previous segment's end):
 * (n - 3) m + 1 vertices, numbered from 0, appended at the end of out.
 * ctrl's cursor goes to its first node.
 * @param         n       number of control points stated
 * @param[in,out] ctrl    the control vertices (at least n)
 * @param[in,out] points  on entry the number of vertices wanted; on return
 *                        the number appended (at most 32767; 0 for a
 *                        request <= 0)
 * @param[in,out] out     receives the vertices; when null, a private list
 *                        is used and released before return
 * @return 0; 0 with *points = 0 and nothing appended when n < 4 (no
 *         segment; n = 2 no longer divides by zero); 1 when ctrl or points
 *         is null (nothing touched), or when ctrl holds fewer than n points
 *         (*points = 0, nothing appended); -1 when memory is refused
 *         (zv_memerr("zv_bspline_3d"); *points counts what was appended).
 */
ZV_API int16_t zv_bspline_3d(int16_t n, ll_list *ctrl, int16_t *points,
                             ll_list *out);

/**
 * Polyline along the uniform quadratic B-spline of n control points: a
 * three-point window slides one point at a time (n - 2 segments), and each
 * segment is sampled at t = 0, h, 2h, ... (accumulated) while
 * t <= 1.0000001, both ends included, so each join appears twice in a row.
 * The step h by mode: 0: 0.01 (101 vertices per segment), 1: 0.02 (51),
 * 2: 0.04 (26), 3: 0.05 (21), 4: 0.1 (11), 5: 0.2 (6), 6: 0.5 (3); any
 * other mode 0.05. Vertices are numbered from 0 and appended at the end of
 * out. ctrl's cursor goes to its first node (to its second with n = 2).
 * @param         n      number of control points stated; n = 2 appends
 *                       whole copies of the two records (indexes included)
 * @param[in,out] ctrl   the control vertices (at least n)
 * @param         mode   index into the step table
 * @param[out]    count  vertices appended (at most 32767)
 * @param[in,out] out    receives the vertices; when null, a private list is
 *                       used and released before return
 * @return 0 (also when ctrl or count is null: nothing appended, *count 0
 *         when count is given); 33 without a message when n < 3 other than
 *         2, when ctrl holds fewer than n points, or when the polyline would
 *         have more than 32767 vertices (nothing appended, *count 0);
 *         -1 when memory is refused (zv_memerr("zv_quad_bspline_3d");
 *         *count counts what was appended).
 */
ZV_API int16_t zv_quad_bspline_3d(int16_t n, ll_list *ctrl, int16_t mode,
                                  int16_t *count, ll_list *out);

/**
 * Polyline along the cardinal spline of tension s (s = 0.5: Catmull-Rom)
 * through the control points P1 .. P(n-2): a four-point window slides one
 * point at a time (n - 3 segments), each segment is sampled at
 * t = 0, h, 2h, ... (accumulated) while t < 0.9999999, and the end point
 * P(n-2) is appended last: (n - 3) k + 1 vertices for k points per
 * segment, numbered from 0, appended at the end of out. The step h by mode:
 * 0: 0.01 (100 per segment), 1: 0.02 (50), 2: 0.04 (25), 3: 0.05 (20),
 * 4: 0.1 (10), 5: 0.2 (5), 6: 0.5 (2); any other mode 0.05 (20).
 * ctrl's cursor goes to its first node (to its second with n = 2).
 * @param         n      number of control points stated; n = 2 appends
 *                       whole copies of the two records (indexes included)
 * @param[in,out] ctrl   the control vertices (at least n)
 * @param         mode   index into the step table
 * @param         s      tension
 * @param[out]    count  vertices appended (at most 32767)
 * @param[in,out] out    receives the vertices; when null (on every path,
 *                       n = 2 included), a private list is used and
 *                       released before return
 * @return 0; 33 with the message ("BADCNT", 33, "zv_catrom_curve_3d") when
 *         n < 4 other than 2, when ctrl holds fewer than n points, or when
 *         the polyline would have more than 32767 vertices (nothing
 *         appended, *count 0); 1 without a message when ctrl is null (n = 2
 *         included) or count is null; -1 when memory is refused
 *         (zv_memerr("zv_catrom_curve_3d"); *count counts what was
 *         appended).
 */
ZV_API int16_t zv_catrom_curve_3d(int16_t n, ll_list *ctrl, int16_t mode,
                                  double s, int16_t *count, ll_list *out);

/* ============ conics: circle, ellipse, arcs, cycloid, hyperbola, parabola */
/*
 * Every conic lies in a plane parallel to XY at the height of its centre
 * (or vertex). Vertices are new zv_poly_3d records appended at the end of
 * the list given; they belong to the list. Shared rules:
 *  - A required pointer argument that is null (an output point, count,
 *    segment count, corner, vector or a list that the function does not
 *    make itself) makes the function do nothing: it returns 2, or returns
 *    at once when it has no result.
 *  - Functions that accept a null list append to a private list of their
 *    own so that counts keep their meaning; that list is released before the
 *    function returns (it never leaks, and its vertices are not handed back).
 *  - Angle reductions "while above" a limit never loop forever: a huge
 *    finite angle is brought into range with fmod (the same value the
 *    repeated subtraction gives for ordinary angles), and a non-finite angle
 *    where such a reduction is made makes nothing (zv_circle_pnt_3d: NaN
 *    coordinates).
 *  - Segment counts that are rounded up to a multiple never pass the int16
 *    range: a count whose next multiple would overflow takes the largest
 *    multiple below 32767 instead. A vertex count written back through a
 *    pointer fits int16 and equals the vertices appended (zv_circlepnts_3d
 *    writes the polygon's size n instead).
 *  - Symmetric polylines (zv_ellipsepnts_3d, zv_hyperbolapnts_3d,
 *    zv_parabolapnts_3d) compute one half and mirror only the vertices the
 *    call itself appended: items the list held before stay untouched and
 *    are not mirrored.
 *  - When the kernel refuses memory the function reports zv_memerr with its
 *    own name and returns -1 (or the list's count where it returns a count);
 *    vertices already appended stay.
 */

/* ---------------------------------------------------------------- circle */

/**
 * The point of the circle about centre at fraction t of a full turn (0 is
 * +x, 0.25 is +y). t above 1.0000001 is reduced by whole turns; smaller and
 * negative t are used as given. |t| <= 1e-7 gives exactly
 * (cx + radius, cy, cz) without any radius test. Otherwise the point comes
 * from zv_ellipse_pnt_3d with both semi-axes = radius, which reports
 * ("BADRECT", 75, "zv_ellipse_pnt_3d") for a radius <= 1e-7 and then leaves
 * *out = (0, 0, cz).
 * @param[out] out receives the point; a null out does nothing
 * A non-finite t (NaN, +inf, -inf) is not reduced and gives NaN x and y
 * with z = cz, without a message (the radius test above still applies).
 */
ZV_API void zv_circle_pnt_3d(zv_pnt_3d centre, double radius, double t,
                             zv_pnt_3d *out);

/**
 * Appends the regular n-gon inscribed in the circle, made by
 * zv_regpolyxyzpnts (see da3v.h: n + 1 vertices for n >= 3, nothing below).
 * @param[out]    count set to n, whatever was appended (not written if null)
 * @param[in,out] list  receives the vertices; null makes nothing
 * @return 0; -1 when memory is refused (zv_memerr("zv_circlepnts_3d"); the
 *         vertices so far stay; the services alone would fail silently)
 */
ZV_API int16_t zv_circlepnts_3d(zv_pnt_3d centre, double radius, int16_t n,
                                int16_t *count, ll_list *list);

/**
 * Appends the arc of the circle from fraction start to fraction end of a
 * turn, in n segments, through zv_arc_pnts_3d (vertices numbered 0..n).
 * @param[in,out] list receives the vertices; a null list makes nothing
 * @return the list's item count after the call (0 for a null list); with
 *         n < 1 nothing is appended and the count is returned. When memory
 *         is refused the arc generator reports zv_memerr("zv_arc_pnts_3d")
 *         and the count so far is returned.
 */
ZV_API int16_t zv_circle_arc_3d(zv_pnt_3d centre, double radius, int16_t n,
                                double start, double end, ll_list *list);

/**
 * Unit frame from the direction p1 -> p2 (the centre and a point of the
 * circle): *second = the unit direction (the circle's normal at p2),
 * *first = the unit perpendicular zv_normalvector3d makes of it (the
 * tangent). Equal points give zero vectors. Null outputs do nothing.
 */
ZV_API void zv_circle_stats_3d(zv_pnt_3d p1, zv_pnt_3d p2, zv_vector_3d *first,
                               zv_vector_3d *second);

/* --------------------------------------------------------------- ellipse */

/**
 * The point (cx + a cos angle, cy + b sin angle, cz) of the axis-aligned
 * ellipse about centre. An angle >= 2 pi - 1e-7 is reduced by 2 pi once;
 * others are used as given.
 * @param[out] out receives the point
 * @return 0; 75 with ("BADRECT", 75, "zv_ellipse_pnt_3d") when a or b is
 *         not above 1e-7 (also NaN; *out untouched); 2 when out is null
 */
ZV_API int16_t zv_ellipse_pnt_3d(zv_pnt_3d centre, double a, double b,
                                 double angle, zv_pnt_3d *out);

/**
 * Appends a closed polyline around the ellipse inscribed in the rectangle
 * p1-p2: a = |p2.x - p1.x| / 2, b = |p2.y - p1.y| / 2, centre
 * (p1.x + a, p1.y + b, p1.z) (p1 is taken as the lower-left corner; p2.z is
 * not read). The upper half is sampled at equal steps of x from (cx + a, cy)
 * over (cx, cy + b) to (cx - a, cy); the lower half mirrors it in y = cy and
 * ends on a copy of the first vertex. Quarter-turn points are exact. Every
 * vertex carries index 1.
 * @param[in,out] n     segments wanted; written back as used: at least 4, a
 *                      multiple of 4 (at most 32764)
 * @param[out]    count vertices appended (n + 1), 0 on failure
 * @param[in,out] list  receives the vertices, or null (private list, released)
 * @return 0; 75 with ("BADRECT", 75, "zv_ellipsepnts") when a or b is not
 *         above 1e-7 (*n unchanged); 2 when p1, p2, n or count is null;
 *         -1 when memory is refused (*count = vertices appended so far)
 */
ZV_API int16_t zv_ellipsepnts_3d(zv_pnt_3d *p1, zv_pnt_3d *p2, int16_t *n,
                                 int16_t *count, ll_list *list);

/**
 * Appends an open polyline along the ellipse inscribed in the rectangle
 * p1-p2 (semi-axes and centre as zv_ellipsepnts_3d) from angle start
 * towards increasing angle to end, in *n equal angle steps; when
 * end < start the arc passes angle 0 (sweep 2 pi - start + end). Inner
 * angles >= 2 pi - 1e-7 are reduced once; the last vertex lies at end
 * itself. Every vertex carries index 1.
 * @param[in,out] n    segments; a value below 1 is replaced by 1 (written back)
 * @param[in,out] list receives the *n + 1 vertices, or null (private list,
 *                     released)
 * @return 0; 75 with ("BADRECT", 75, "zv_elliptic_arc_3d") on a degenerate
 *         rectangle; 2 when p1, p2 or n is null; -1 when memory is refused
 */
ZV_API int16_t zv_elliptic_arc_3d(zv_pnt_3d *p1, zv_pnt_3d *p2, int16_t *n,
                                  double start, double end, ll_list *list);

/**
 * Unit frame of the ellipse about centre at its point pt, in the ellipse's
 * plane (dz = 0): *second = the unit gradient of
 * (x - cx)^2/a^2 + (y - cy)^2/b^2 - 1 at pt (the outward normal), *first =
 * the unit perpendicular zv_normalvector3d makes of it (the tangent). Any
 * centre works; a point where the gradient vanishes (the centre) gives zero
 * vectors.
 * @return 0; 81 when |a| or |b| is not above 1e-7; 82 when pt.z is not
 *         within 1e-7 of cz (also NaN); both without a message and with the
 *         outputs untouched; 2 when first or second is null
 */
ZV_API int16_t zv_ellipse_stats_3d(zv_pnt_3d centre, double a, double b,
                                   zv_pnt_3d pt, zv_vector_3d *first,
                                   zv_vector_3d *second);

/* ------------------------------------------------------------------ arcs */

/**
 * Appends the circular arc about centre (in the plane z = centre.z) from
 * angle start towards increasing angle to end, radians, in n equal steps:
 * n + 1 vertices. Each angle above 2 pi + 1e-7 is first reduced by whole
 * turns; when end + 1e-7 < start the arc passes angle 0. Vertices within
 * 1e-7 of a quarter turn lie exactly on the axis points; other coordinates
 * with absolute value <= 1e-7 are stored as exactly 0. The vertices are
 * numbered on from the list's last vertex (its index + 1; 0 for an empty
 * list), wrapping past int16; reading that vertex moves the list's cursor
 * to what was its last node.
 * @param[in,out] list receives the vertices; a null list makes nothing
 * @return the list's item count after the call. With n < 1, or a start or
 *         end that is not finite, nothing is appended.
 */
ZV_API int16_t zv_arcpnts_3d(zv_pnt_3d centre, double radius, double start,
                             double end, int16_t n, ll_list *list);

/**
 * Appends the arc of the record *arc (centre, radius, start and end angles
 * as zv_arcpnts_3d) in the plane z, n segments, vertices numbered 0..n
 * whatever the list held; general points come from zv_pntangledist_3d
 * (no snapping of small coordinates).
 * @param[in,out] list receives the vertices, or null (private list,
 *                     released; the count returned is then that list's)
 * @return the list's item count after the call. With n < 1, a null arc, or
 *         a start or end that is not finite, nothing is appended.
 */
ZV_API int16_t zv_arc_pnts_3d(const zv_arc_2d *arc, int16_t n, double z,
                              ll_list *list);

/* --------------------------------------------------------------- cycloid */

/**
 * Appends one arch of the cycloid traced by a circle of radius |r| rolling
 * once along +x from *start in the plane z = start.z: vertex i (index i,
 * 0..*n) at angle 2 pi i / *n, x = (angle - sin angle) |r| + start.x,
 * y = (1 - cos angle) r + start.y (r < 0 arches towards -y); the first and
 * last vertices lie exactly on the base line.
 * @param[in]     n     segments (read only); *n < 0 appends nothing; at most
 *                      32766 are used (*n = 32767 draws the whole arch in
 *                      32766 segments), so the vertices fit int16
 * @param[in,out] list  receives the vertices, or null (private list, released)
 * @param[out]    count vertices appended (segments used + 1, or 0)
 * @return 0; 2 when start, n or count is null; -1 when memory is refused
 *         (*count = vertices appended so far)
 */
ZV_API int16_t zv_cycloidpnts_3d(zv_pnt_3d *start, double r, int16_t *n,
                                 ll_list *list, int16_t *count);

/* ------------------------------------------------------------- hyperbola */

/**
 * The point of the hyperbola branch about centre at rational parameter t:
 * x = cx + a (1 + t^2)/(1 - t^2), y = cy + 2 b t/(1 - t^2), z = cz.
 * t = 0 is the vertex (cx + a, cy); t runs over (-1, 1) along the branch.
 * A negative a gives the branch opening towards -x.
 * @param[out] out receives the point; it is set to (0, 0, 0) first
 * @return 0; 80 with ("BADTVALUE", 80, "zv_hyperbola_pnt_3d") when
 *         t >= 0.9999999 or t <= -0.9999999 or t is NaN (t = -1 would
 *         divide by zero, t < -1 would land on the other branch; *out stays
 *         (0, 0, 0)); 75 with ("BADRECT", 75,
 *         "zv_hyperbola_pnt_3d") when |a| or |b| is not above 1e-7 (also
 *         NaN); 2 when out is null
 */
ZV_API int16_t zv_hyperbola_pnt_3d(zv_pnt_3d centre, double a, double b,
                                   double t, zv_pnt_3d *out);

/**
 * Appends m + 1 points of zv_hyperbola_pnt_3d from parameter t1 to t2 in m
 * equal steps (m = *n, or 2 when *n < 1; *n is not written); the last
 * vertex lies at t2 exactly. With t2 < t1 the steps run from t1 down to
 * t2. Every vertex carries index 1.
 * @param[in,out] list receives the vertices, or null (private list, released)
 * @return 0; 80 with ("BADTVALUE", 80, "zv_hyperbolic_arc_3d") when t1 or t2
 *         is >= 0.9999999 or <= -0.9999999 or NaN; 75 with ("BADRECT", 75,
 *         "zv_hyperbolic_arc_3d") when |a| or |b| is not above 1e-7; in both
 *         cases nothing is appended; 2 when n is null; -1 when memory is
 *         refused
 */
ZV_API int16_t zv_hyperbolic_arc_3d(zv_pnt_3d centre, double a, double b,
                                    int16_t *n, double t1, double t2,
                                    ll_list *list);

/**
 * Appends both branches of the hyperbola whose central rectangle has the
 * corners c1 (least x and y) and c2: half width w, half height h, centre
 * (c1.x + w, c1.y + h, c1.z). Mode 0: transverse axis along x (A = w,
 * B = h), branches through (c2.x, cy) into list1 and (c1.x, cy) into list2.
 * Mode 1: along y (A = h, B = w), through (cx, c2.y) into list1 and
 * (cx, c1.y) into list2. Each branch reaches length beyond its vertex along
 * the transverse axis, at equal steps of that axis, far end to far end; the
 * vertex itself is exact. Numbers: a counter shared by both lists gives
 * 1..q+1 then q+3..2q+2 in list1 and 1..q+1 then 2q+3..3q+2 in list2
 * (q = *n / 2), wrapping past int16.
 * @param[in]     mode  low byte only: 0 or 1
 * @param[in,out] n     segments per branch; written back as used: at least
 *                      2, even (at most 32766); 0 after a failure
 * @param[out]    count vertices per list (*n + 1), written only on success
 * @param[in,out] list1, list2 receive the branches, or null (private lists,
 *                      released)
 * @return 0; with the message (code, number, "zv_hyperpolapnts_3d") and
 *         *n = 0: 1 "BADMODE" when mode > 1, 74 "LENGTHZERO" when length is
 *         not above 1e-7, 75 "BADRECT" when c2.x - 1e-7 <= c1.x or
 *         c2.y - 1e-7 <= c1.y; 2 when c1, c2, n or count is null; -1 when
 *         memory is refused
 */
ZV_API int16_t zv_hyperbolapnts_3d(uint8_t mode, zv_pnt_3d *c1, zv_pnt_3d *c2,
                                   double length, int16_t *n, int16_t *count,
                                   ll_list *list1, ll_list *list2);

/**
 * Unit frame of the hyperbola about centre at its point p, in its plane:
 * *second = the unit gradient at p of (x - cx)^2/a^2 - (y - cy)^2/b^2 - 1
 * for mode 0 and of (y - cy)^2/b^2 - (x - cx)^2/a^2 - 1 for any other mode,
 * *first = the unit perpendicular zv_normalvector3d makes of it (the
 * tangent). Any centre works; at the centre the vectors are zero.
 * @return 0; 81 when |a| or |b| is not above 1e-7; 82 when p.z is not within
 *         1e-7 of cz; both without a message, outputs untouched; 2 when
 *         first or second is null
 */
ZV_API int16_t zv_hyperbola_stats_3d(zv_pnt_3d centre, double a, double b,
                                     int16_t mode, zv_pnt_3d p,
                                     zv_vector_3d *first, zv_vector_3d *second);

/* -------------------------------------------------------------- parabola */

/**
 * The point of the parabola with the given vertex and signed focal
 * distance a at parameter t: axis 0: (vx + a t^2, vy + 2 a t), any other
 * axis: (vx + 2 a t, vy + a t^2), z = vz. t = 0 (or NaN) gives the vertex.
 * Nothing is checked; a null out does nothing.
 */
ZV_API void zv_parabola_pnt_3d(zv_pnt_3d vertex, double a, double t,
                               int16_t axis, zv_pnt_3d *out);

/**
 * Appends the points of zv_parabola_pnt_3d from the smaller of t1, t2 to
 * the larger in m equal steps (m = n, or 1 when n = 0; n < 0 appends
 * nothing): m + 1 vertices, the last at the larger end exactly, every one
 * with index 1. A null list makes nothing. When memory is refused it
 * reports zv_memerr("zv_parabolic_arc_3d") and returns; earlier vertices
 * stay.
 */
ZV_API void zv_parabolic_arc_3d(zv_pnt_3d vertex, double a, int16_t axis,
                                int16_t n, double t1, double t2, ll_list *list);

/**
 * Appends a polyline along the parabola through *vertex, symmetric about its
 * axis and reaching length along it: mode 0 axis along x, mode 1 along y,
 * opening towards +axis for a > 0 and -axis for a < 0. It runs from one far
 * end through the vertex (number q + 1) to the other, at equal steps along
 * the axis, vertices numbered 1 to *n + 1.
 * @param[in]     mode  low byte only: 0 or 1
 * @param[in,out] n     segments wanted; written back as used: at least 2,
 *                      even (at most 32766); 0 after a failure
 * @param[out]    count 0 first, *n + 1 on success
 * @param[in,out] list  an existing list
 * @return 0; without a message, with *n = 0 and *count = 0 and nothing
 *         appended: 1 when mode > 1 (modes 2 and 3 included: they have
 *         nothing to draw), 73 when |a| is not above 1e-7, 74 when length
 *         is not above 1e-7 (also NaN); 2 when vertex, n, count or list is
 *         null; -1 when memory is refused
 */
ZV_API int16_t zv_parabolapnts_3d(uint8_t mode, zv_pnt_3d *vertex, double a,
                                  double length, int16_t *n, int16_t *count,
                                  ll_list *list);

/**
 * Unit frame of the parabola at its point p, in its plane: *second = the
 * unit gradient at p of (y - vy)^2 - 4 a (x - vx) for axis 0 and of
 * (x - vx)^2 - 4 a (y - vy) for any other axis, *first = the unit
 * perpendicular zv_normalvector3d makes of it (the tangent). Any vertex
 * position works; the gradient never vanishes (|a| > 1e-7).
 * @return 0; 82 when |a| is not above 1e-7; 83 when p.z is not within 1e-7
 *         of vz; both without a message, outputs untouched; 2 when first or
 *         second is null
 */
ZV_API int16_t zv_parabola_stats_3d(zv_pnt_3d vertex, double a, int16_t axis,
                                    zv_pnt_3d p, zv_vector_3d *first,
                                    zv_vector_3d *second);

/* ============================================== curve through n points */

/**
 * Fits a B-spline curve of degree p through n points (global interpolation,
 * The NURBS Book, A9.1) and hands it back as a new zv_nurbs_3d record.
 *
 * Parameters: with given = 0, chord length (over x and y when dim is 2,
 * over x, y, z when 3) scaled to 0..1, the last exactly 1.0; knots: p + 1
 * zeros, the averages of p consecutive parameters, p + 1 ones. With given
 * non-zero, the caller's params and knots. The control points solve one
 * band system, decomposed once (zv_ludecomposition) and solved for every
 * coordinate (zv_forbacksubstitution); time and memory are linear in n.
 * The first and last rows are unit rows (the end points become the end
 * control points) whenever the end parameter sits on a clamped end knot,
 * which computed parameters always do. Given parameters off a clamped end
 * get the basis functions in those rows as well, so the curve passes through
 * every point at its parameter whatever knots the caller gives.
 *
 * The record: last_ctrl n - 1, last_knot n + p, degree p, plain 1,
 * open_ends 1 when the squared distance of the first and last points (x, y,
 * z) exceeds 1e-14 (else 0), is_line 1 for p = 1 and n = 2, planar and dim
 * by mode: 0 gives dim 2, planar 1; 1 gives dim 3, planar 0; 2 gives dim 2,
 * planar 1 when every |z| <= 1e-7, else dim 3, planar 0.
 *
 * @param[in]  points array of n points
 * @param[in]  n      number of points, p + 1 .. 32767 - p
 * @param[in]  p      degree, 1 .. 7
 * @param[in]  given  non-zero: use params and knots
 * @param[in]  params n parameters, not decreasing (read only when given;
 *                    the caller's, never changed or released)
 * @param[in]  knots  n + p + 1 finite knots, not decreasing (read only when
 *                    given; copied into the record)
 * @param[in]  mode   0, 1 or 2 (see above)
 * @param[out] result receives the record, owned by the caller (release
 *                    ctrl_pts, knots and the record with zv_free); set to
 *                    null on every failure, when it is not null itself
 * @return 0 record built;
 *         1 n < p + 1, p outside 1..7, n + p above 32767, mode outside 0..2,
 *           null points or result, or (given non-zero) null params or knots,
 *           knots that decrease or are not finite, or params that decrease
 *           (or are NaN);
 *         2 the points have no length (with given = 0: the total chord length
 *           is not a finite number above 1e-7, so NaN and infinite
 *           coordinates count as no length), or the system is singular: a
 *           zero or non-finite pivot, or a row whose own basis function
 *           vanishes at its parameter (Schoenberg-Whitney);
 *         3 a memory request was refused (no message is reported).
 *         Every failure releases whatever the call allocated.
 */
ZV_API int16_t zv_curve_thru_npoints_3d(const zv_pnt_3d *points, int16_t n,
                                        int16_t p, int16_t given,
                                        const double *params,
                                        const double *knots, int16_t mode,
                                        zv_nurbs_3d **result);


/* ================================================== curve intersection */

/**
 * Appends the points where the polylines of two curve records cross.
 * Each record contributes the vertex list that tessellation filled when
 * both records have a vertex_list slot, else its control polygon when both
 * have a ctrl_list slot; a chosen list that is empty (an untessellated
 * record) gives no segment. Segment i joins vertices i and i + 1. Every
 * segment i of curve_a is met with every segment j of curve_b through
 * zv_intlinespace_ls(seg_a, seg_b), i outer, j inner, both ascending; each
 * meeting point it reports becomes a new vertex (index 0, as
 * zv_create_poly_3d makes it) appended to out in that order, unless it
 * agrees in x, y and z with the point kept just before it within the
 * tolerance zv_intlinespace_ls meets segments with: ZV_DA3V_TOLERANCE
 * (1e-7), widened far from the origin to 16 DBL_EPSILON times the two
 * points' largest coordinate. So a crossing at (or within that tolerance
 * of) a vertex that two consecutive segment pairs report is kept once,
 * near the origin or far from it, while a crossing met again after another
 * one is kept again.
 *
 * Segment pairs whose bounding boxes, grown by more than the services'
 * tolerance (ZV_DA3V_TOLERANCE, or its relative widening far from the
 * origin), cannot meet are skipped without a call: the points and their
 * order are exactly those of testing every pair, in time close to linear
 * for long curves with few crossings, and with working memory linear in
 * the two lengths however many pairs meet (polylines piled on one spot
 * still cost time in proportion to their pairs). Segments with a
 * coordinate that is NaN or infinite meet nothing. The same record (or
 * list) may be passed twice: the two walks are independent, so a polyline
 * meets itself along every segment.
 *
 * Afterwards the cursor of curve_a's chosen list is on its last node, that
 * of curve_b's on its last node (on its first when curve_a has fewer than
 * two vertices); the records are otherwise unchanged.
 *
 * @param[in]     curve_a first curve record; null gives 0
 * @param[in]     curve_b second curve record; null gives 0
 * @param[in,out] out     receives the crossing points; they belong to the
 *                        list. Null only counts the crossings: no vertex
 *                        and no list is made (none is leaked).
 * @return the number of crossing points appended (or counted); 0 when a
 *         record is null or the two records share no kind of list. The
 *         count wraps as two's complement past 32767 (ll_list_length(out)
 *         gives the full number). When the kernel refuses a vertex or its
 *         node, reports zv_memerr("zv_intcurve_3d") and returns the count
 *         appended so far. Refused working memory for the pruning is not an
 *         error: every pair is then tested, with the same result.
 */
ZV_API int16_t zv_intcurve_3d(zv_curve *curve_a, zv_curve *curve_b, ll_list *out);

/* ========================================== conversion and subdivision */

/*
 * Conversion of a clamped cubic B-spline into its Bezier segments. The
 * source has n = L + 3 control points P(0) .. P(n-1) and L segments over
 * the breakpoints u(0) < u(1) < ... < u(L); the clamped ends read
 * u(-1) := u(0) and u(L+1) := u(L). The result is the 3L + 1 Bezier
 * control points b(0) .. b(3L): b(3j) .. b(3j+3) is segment j, and
 * neighbouring segments share their end point. For L = 1 the Bezier
 * polygon is the source's own four points. For each interior breakpoint
 * u(j), j = 1 .. L-1:
 *   l(j) = ((u(j) - u(j-2)) P(j+1) + (u(j+1) - u(j)) P(j)) / (u(j+1) - u(j-2))
 *   r(j) = ((u(j) - u(j-1)) P(j+2) + (u(j+2) - u(j)) P(j+1)) / (u(j+2) - u(j-1))
 *   m(j) = ((u(j) - u(j-1)) r(j) + (u(j+1) - u(j)) l(j)) / (u(j+1) - u(j-1))
 * become b(3j-1), b(3j), b(3j+1); b(0), b(1) are P(0), P(1) and b(3L-1),
 * b(3L) are P(L+1), P(L+2).
 *
 * Knot list. Three layouts, told apart by the exact count and the end
 * multiplicities, never by the first values alone: the full clamped vector
 * of exactly n + 4 knots (u(0) four times, u(1) .. u(L-1), u(L) four
 * times), read from its fourth knot; the tessellators' layout of exactly
 * n + 2 = L + 5 knots (that vector without its outermost knot at each end:
 * u(0) three times, u(1) .. u(L-1), u(L) three times), read from its third
 * knot; any other list holds the breakpoints u(0) .. u(L) from its head (at
 * least L + 1 knots). So one record can be both tessellated and converted,
 * and each layout of a curve gives the same Bezier points. For L = 1 no
 * knot is read.
 *
 * Output. The Bezier points are appended to the ctrl_list of out (index =
 * k for b(k), counted from 0 in each call, wrapping past 32767), with
 * their weights appended to its weight_list when weights are converted;
 * each list is created when the slot is null, and the lists own what is
 * appended. Nothing is cleared first and no other field of out is
 * written. The source is only read: its list cursors stay where they were.
 * The conversion slides a window of three control points (and weights) and
 * five breakpoints along the source lists, reading each element once.
 */

/**
 * Converts a clamped cubic B-spline record into Bezier control points by
 * the affine formulas above. For a NURB source (type 95) every weight is
 * converted by the same formulas with the same coefficients, as a fourth
 * coordinate (this is not the exact conversion of the rational curve; see
 * zv_rat_bspl_to_bezier_curve3d); a weight list shorter than the control
 * points counts the missing weights as 1. Other types convert the points
 * alone.
 * @param[in]     source the B-spline record (degree 3, ctrl_list, knot_list)
 * @param[in,out] out    receives the Bezier points (and weights)
 * @return in the order tested: 1 source or out is null (nothing is made);
 * 3 the source's degree is not 3 (the formulas are those of a cubic), or
 * L = n - 3 is below 1; 4 L >= 2 and the knot list holds fewer than L + 1
 * knots; 5 a knot interval used as a denominator is 1e-7 or less in
 * absolute value, or NaN (the junctions before the failing one stay
 * appended; a junction is appended whole or not at all); -1 memory
 * refused (zv_memerr("zv_bspl_to_bezier_curve3d"); what was appended
 * stays); 0 done. Results 1, 3 and 4 come before anything is made.
 */
ZV_API int16_t zv_bspl_to_bezier_curve3d(zv_curve *source, zv_curve *out);

/**
 * Converts a cubic NURB record exactly: each control point is taken in
 * homogeneous form (w x, w y, w z, w), converted by the formulas above,
 * and divided by its converted weight before it is appended. The points
 * appended to out's ctrl_list and the weights appended to its weight_list
 * are the rational Bezier segments of the same curve. Only the points of
 * this call are divided: whatever out's lists held stays as it was. The
 * knot list is read as zv_bspl_to_bezier_curve3d reads it, so NURB records
 * of any number of segments convert. A weight list shorter than the control
 * points counts the missing weights as 1. A converted weight of 0 gives
 * non-finite coordinates, never a crash.
 * @param[in]     source the NURB record (type 95, degree 3)
 * @param[in,out] out    receives the Bezier points and weights
 * @return in the order tested: 1 source or out is null (nothing is made);
 * 2 source type is not 95; 3 the source's weight list is null or empty;
 * 4 the conversion failed (degree not 3, L below 1, too few knots, or a
 * knot interval of 1e-7 or less: on the last, the junctions before the
 * failing one stay appended, divided like the rest); -1 memory refused
 * (zv_memerr("zv_rat_bspl_to_bezier_curve3d"); what was appended stays);
 * 0 done.
 */
ZV_API int16_t zv_rat_bspl_to_bezier_curve3d(zv_curve *source, zv_curve *out);

/*
 * Subdivision of a Bezier curve of degree p (the source's degree field)
 * at a parameter t by de Casteljau's algorithm; only the first p + 1
 * control points (and weights) are read. The piece after t covers [t, 1]:
 * its control points run from the curve point at t to the source's last
 * control point. The piece before t covers [0, t] in reverse: its control
 * points run from the curve point at t back to the source's first control
 * point. In each piece the control points carry index 0 .. p in list
 * order. t is not range-tested: outside [0, 1] the pieces extrapolate the
 * curve. Both pieces come from one de Casteljau triangle, so their common
 * first point is the same to the last bit. The source is only read (its
 * list cursors stay where they were). The tests come before anything is
 * made, in the order given.
 */

/**
 * Splits a uniform Bezier record (type 86) and overwrites before and after
 * whole with two new uniform Bezier records holding the pieces, as
 * zv_def_ubezier_curve3d makes them: the Bezier basis matrix (whatever
 * matrix the source carries, so pieces of a record filled by hand
 * tessellate as Bezier curves too) and degree p (so a piece can be split
 * again). A record from zv_def_ubezier_curve3d has degree 0 (the uniform
 * definitions leave it unset) and is a cubic: a degree of 0 is read as 3;
 * a degree the caller set wins. The lists the two output records owned
 * are released with their items, each once, so nothing leaks; lists they
 * borrowed from the caller (attached by a rational definition, see
 * ll_set_list_borrowed) are left alone and stay the caller's to release.
 * @param[in]  source the record to split; p is its degree (0 read as 3)
 * @param[in]  t      the split parameter
 * @param[out] before overwritten with the piece over [0, t]
 * @param[out] after  overwritten with the piece over [t, 1]
 * @return 1 source is null or its type is not 86; 5 before or after is
 * null, or both are the same record (nothing is made: the pieces need two
 * records the caller receives); 2 the source's ctrl_list is null; 3 its
 * knot_list is null; 2 the degree is negative or ctrl_list holds fewer
 * than p + 1 points; -1 memory refused (one zv_memerr("zv_sub_bezier_curve3d"),
 * whichever record or vertex was refused; before and after are left as
 * they were); 0 done.
 */
ZV_API int16_t zv_sub_bezier_curve3d(zv_curve *source, double t, zv_curve *before, zv_curve *after);

/**
 * Splits a rational Bezier record (type 97), weights included, into the
 * lists of two caller records. Each blend of two weighted points is taken
 * in homogeneous form: the blended weight (1 - a) w(k) + a w(k+1) divides
 * the blend and replaces the old weight. after gains p + 1 control points
 * and p + 1 weights at the end of its ctrl_list and weight_list; before
 * gains its p + 1 at the front of its lists (the split point first). Items
 * the lists held already are left untouched; a null list slot is given a
 * new list. The degree of both records is set to p; nothing else of them
 * is written. A blended weight of 0 gives non-finite coordinates, never a
 * crash. The pieces are the true rational Bezier curve of the source's
 * control points and weights (de Casteljau in homogeneous form), which is
 * not the curve zv_mk_rat_bezier_3d tessellates: for three points (0, 0),
 * (1, 1), (2, 0) with weights (1, 2, 1), the split point at t = 0.5 is
 * (1, 2/3), while that tessellation gives (1, 1) there.
 * @param[in]     source the record to split; p is its degree
 * @param[in]     t      the split parameter
 * @param[in,out] before receives the piece over [0, t]
 * @param[in,out] after  receives the piece over [t, 1]
 * @return 1 source is null or its type is not 97; 5 before or after is
 * null, or both are the same record (nothing is made); 2 the source's
 * ctrl_list is null; 3 its knot_list is null; 4 its weight_list is null;
 * 2 the degree is negative or ctrl_list holds fewer than p + 1 points;
 * 4 weight_list holds fewer than p + 1 weights; -1 memory refused
 * (zv_memerr("zv_sub_ratbezier_curve3d"); what was added stays); 0 done.
 */
ZV_API int16_t zv_sub_ratbezier_curve3d(zv_curve *source, double t, zv_curve *before, zv_curve *after);

#ifdef __cplusplus
}
#endif

#endif /* RIVEZI3Z_RIVEZI3Z_H */
