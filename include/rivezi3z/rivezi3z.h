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
 *    Vertices already appended stay appended.
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
 * zv_normalvector3d derives from the unit tangent.
 * Returns 0; 1 when curve is null; 2 when the record's control list is null
 * or holds fewer than 4 points; -1 when memory is refused (reported as
 * zv_memerr("zv_mk_ucurve3d"); the samples so far stay appended).
 */
ZV_API int16_t zv_mk_ucurve3d(zv_curve *curve, double step);

/**
 * Evaluates one segment of a uniform curve at local parameter t with the
 * record's basis matrix: seg points to four vertex pointers P0..P3. *pnt
 * receives the point, *tangent and *second the unit first and second
 * derivatives (zero where they vanish), *normal the normal that
 * zv_normalvector3d derives from the unit tangent. The cursor of the
 * record's ctrl_list is moved to its first node.
 * Returns 0; 1 when curve is null; 2 when t < -1e-7 or t > 1.0000001 (or
 * NaN); 3 when seg, an entry of seg or an output pointer is null. Nothing is
 * written unless the result is 0.
 */
ZV_API int16_t zv_eval_t_on_ucurve3d(zv_curve *curve, double t, zv_poly_3d **seg,
                                     zv_pnt_3d *pnt, zv_vector_3d *tangent,
                                     zv_vector_3d *second, zv_vector_3d *normal);

/* ============ conics: circle, ellipse, arcs, cycloid, hyperbola, parabola */

/* ================================ non-uniform and rational definitions */

/*
 * Knot convention of the non-uniform and NURB records: a curve of degree p
 * with n control points P(0) .. P(n-1) stores at least n + p - 1 knots
 * K(0), K(1), ..., the clamped knot vector of n + p + 1 knots without its
 * outermost knot at either end. It has n - p spans; span i runs over
 * [K(i + p - 1), K(i + p)], is shaped by P(i) .. P(i + p) (and their
 * weights) and reads the 2p knots K(i) .. K(i + 2p - 1).
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
 * Ownership. The attached lists are shared: they must outlive the record's
 * use, and zv_purge_curve releases them unless the caller first sets the
 * slots to null. Lists a definition replaces are released when they are the
 * record's own, so redefining leaks nothing: the old vertex_list and
 * stats_list (with whatever they hold) always, and the old ctrl_list,
 * knot_list and weight_list only while the record has not yet been filled by
 * a rational definition (type 95 or 97 with a degree of 1 to 15 on entry), as
 * those slots then hold lists the caller attached and still holds. A list
 * passed as one of the three arguments is never released.
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

/* ======== de Boor evaluation and non-uniform and rational tessellation */

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

/*
 * The two span tessellators share this sampling. Each span longer than 1e-7
 * is sampled at S + 1 parameters t = K(i) + (s * L) / S, s = 0 .. S, L its
 * length, both ends included, S the record's span_steps; a span of 1e-7 or
 * less yields nothing. So an interior boundary between two sampled spans
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
 * polynomial through the control points. No statistics records are made.
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

/* ============= point and derivative evaluation of array-form B-splines */

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
 * segment (at least 1; the arithmetic is full width, so no request wraps).
 * The first segment gives the vertices at u = 0, 1/m, ..., 1, every later
 * one those at u = 1/m, ..., 1 (its u = 0 is the previous segment's end):
 * (n - 3) m + 1 vertices, numbered from 0, appended at the end of out.
 * ctrl's cursor goes to its first node.
 * @param         n       number of control points stated
 * @param[in,out] ctrl    the control vertices (at least n)
 * @param[in,out] points  on entry the number of vertices wanted; on return
 *                        the number appended (int16, wraps past 32767)
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
 * @param[out]    count  vertices appended (int16, wraps past 32767)
 * @param[in,out] out    receives the vertices; when null, a private list is
 *                       used and released before return
 * @return 0 (also when ctrl or count is null: nothing appended, *count 0
 *         when count is given); 33 without a message when n < 3 other than
 *         2, or when ctrl holds fewer than n points (nothing appended);
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
 * @param[out]    count  vertices appended (int16, wraps past 32767)
 * @param[in,out] out    receives the vertices; when null (on every path,
 *                       n = 2 included), a private list is used and
 *                       released before return
 * @return 0; 33 with the message ("BADCNT", 33, "zv_catrom_curve_3d") when
 *         n < 4 other than 2, or when ctrl holds fewer than n points
 *         (nothing appended); 1 without a message when ctrl is null (n = 2
 *         included) or count is null; -1 when memory is refused
 *         (zv_memerr("zv_catrom_curve_3d"); *count counts what was
 *         appended).
 */
ZV_API int16_t zv_catrom_curve_3d(int16_t n, ll_list *ctrl, int16_t mode,
                                  double s, int16_t *count, ll_list *out);

/* ============================================== curve through n points */

/* ================================================== curve intersection */

/* ========================================== conversion and subdivision */

#ifdef __cplusplus
}
#endif

#endif /* RIVEZI3Z_RIVEZI3Z_H */
