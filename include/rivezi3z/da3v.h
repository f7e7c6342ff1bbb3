/*
 * da3v.h - the 3D geometry services under RIVEZI3Z: vector between points,
 * unit vector, normal vector, regular polygon, point at angle and distance,
 * segment intersection.
 *
 * Plain C99; compiles unchanged as C++. Points by value are three doubles;
 * every other record goes by pointer. Every vector these services produce
 * has aux0 = aux1 = 0.0. No function here reports a message.
 */
#ifndef RIVEZI3Z_DA3V_H
#define RIVEZI3Z_DA3V_H

#include "rivivi.h"

#ifdef __cplusplus
extern "C" {
#endif

/** Distance under which two segments count as meeting (zv_intlinespace_ls). */
#define ZV_DA3V_TOLERANCE 1e-7

/** *vec receives the direction p2 - p1; a null vec is ignored. */
ZV_API void zv_line_to_vector_3d(zv_pnt_3d p1, zv_pnt_3d p2, zv_vector_3d *vec);

/**
 * *dst receives *src scaled to length 1 (src and dst may be the same
 * record). The length is taken with scaling, so huge or tiny finite
 * components neither overflow nor underflow.
 * Returns 0; 1 when src or dst is null (nothing written); 2 when the length
 * is zero or not finite: dst then receives the zero direction (never NaN).
 */
ZV_API int16_t zv_unitvector(const zv_vector_3d *src, zv_vector_3d *dst);

/**
 * *dst receives a unit vector perpendicular to *src (src and dst may be the
 * same record): the in-plane perpendicular (-dy, dx, 0) made unit when the
 * XY part of src is not negligible (longer than 1e-7 times the whole
 * length), else the fixed perpendicular (1, 0, 0).
 * Returns 0; 1 when src or dst is null (nothing written); 2 when src is
 * zero or not finite: dst then receives the zero direction.
 */
ZV_API int16_t zv_normalvector3d(const zv_vector_3d *src, zv_vector_3d *dst);

/**
 * Appends the closed polygon of a regular n-gon about *centre in the plane
 * z = centre->z: n + 1 vertices, the first corner at angle 0 (centre.x +
 * radius, centre.y), the corners counter-clockwise, the last vertex
 * repeating the first. Corners at exact quarter turns lie exactly on the
 * axes. Vertices are numbered *count, *count + 1, ... and *count grows by
 * one for each vertex appended (the caller sets it to 0 first).
 * reserved1 and reserved2 are not used; pass 0.
 * Returns 0; 1 when centre, count or list is null or n < 3 (nothing
 * appended); -1 when memory is refused (the vertices so far stay).
 */
ZV_API int16_t zv_regpolyxyzpnts(const zv_pnt_3d *centre, double radius,
                                 int16_t n, int16_t *count, int32_t reserved1,
                                 int32_t reserved2, ll_list *list);

/**
 * *out receives the point at distance r from *origin in direction theta
 * (radians from +x towards +y) in the plane z = origin->z.
 * A null origin or out is ignored.
 */
ZV_API void zv_pntangledist_3d(const zv_pnt_3d *origin, double r, double theta,
                               zv_pnt_3d *out);

/**
 * Whether two 3D segments meet: seg_a and seg_b each point to two
 * consecutive points (start, end). They meet when their closest points lie
 * within ZV_DA3V_TOLERANCE of each other; *out then receives the closest
 * point on seg_a. Far from the origin, where doubles are coarser than that
 * (largest coordinate above about 2.8e7), the tolerance widens to
 * 16 * DBL_EPSILON times the largest coordinate, so crossing segments are
 * not missed for rounding alone. Parallel overlapping segments give the
 * first point of the overlap along seg_a. A segment of zero length is
 * treated as its point.
 * Returns 1 when they meet, 0 otherwise (also for null pointers or
 * coordinates that are not finite; *out is then untouched).
 */
ZV_API int16_t zv_intlinespace_ls(const zv_pnt_3d *seg_a, const zv_pnt_3d *seg_b,
                                  zv_pnt_3d *out);

#ifdef __cplusplus
}
#endif

#endif /* RIVEZI3Z_DA3V_H */
