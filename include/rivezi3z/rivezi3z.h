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

/* ======== de Boor evaluation and non-uniform and rational tessellation */

/* ============= point and derivative evaluation of array-form B-splines */

/* ===================== direct polylines: Bezier, B-spline, Catmull-Rom */

/* ============================================== curve through n points */

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
 * agrees within 1e-7 in x, y and z with the point kept just before it. So a
 * crossing at a vertex that two consecutive segment pairs report is kept
 * once, while a crossing met again after another one is kept again.
 *
 * Segment pairs whose bounding boxes, grown by more than the services'
 * tolerance (ZV_DA3V_TOLERANCE, or its relative widening far from the
 * origin), cannot meet are skipped without a call: the points and their
 * order are exactly those of testing every pair, in time close to linear
 * for long curves with few crossings. Segments with a coordinate that is
 * NaN or infinite meet nothing. The same record (or list) may be passed
 * twice: the two walks are independent, so a polyline meets itself along
 * every segment.
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

#ifdef __cplusplus
}
#endif

#endif /* RIVEZI3Z_RIVEZI3Z_H */
