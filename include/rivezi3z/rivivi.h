/*
 * rivivi.h - the kernel under RIVEZI3Z: memory, records, linked lists,
 * messages and a few numeric routines (band LU, knot span, basis functions).
 *
 * Plain C99; compiles unchanged as C++. Every record is byte-packed: never
 * take a double pointer into a record field, copy the value in and out.
 *
 * Ownership in one paragraph: every record and list comes from this kernel
 * and goes back to it. A single record is released with zv_free, a list with
 * its nodes and items with ll_purge_list, a curve record with everything it
 * holds with zv_purge_curve. An item handed to ll_add_list_item belongs to
 * the list from then on; if the append fails, the kernel releases the item.
 */
#ifndef RIVEZI3Z_RIVIVI_H
#define RIVEZI3Z_RIVIVI_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define ZV_API __attribute__((visibility("default")))
#else
#define ZV_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 1)

/** A point: three doubles, passed by value across the interfaces. */
typedef struct zv_pnt_3d {
  double x, y, z;
} zv_pnt_3d;

/**
 * A direction record of five doubles.
 *
 *   | aux0 | aux1 | dx | dy | dz |
 *
 * aux0 and aux1 belong to the kernel and the geometry services:
 * zv_set_vector_3d stores its a and b arguments there, the geometry services
 * write 0.0 to both in every vector they produce. Curve code writes only
 * dx, dy, dz.
 */
typedef struct zv_vector_3d {
  double aux0, aux1;
  double dx, dy, dz;
} zv_vector_3d;

/**
 * A polyline vertex (26 bytes, packed: x follows the int16 directly).
 *
 *   | index:int16 | x:double | y:double | z:double |
 */
typedef struct zv_poly_3d {
  int16_t index;
  double x, y, z;
} zv_poly_3d;

/** A real number: one knot or one weight. */
typedef struct zv_rnumber {
  double value;
} zv_rnumber;

/**
 * The statistics of one tessellated vertex.
 *
 *   | t | tangent (5 doubles) | second_deriv (5 doubles) | normal (5 doubles) |
 */
typedef struct zv_curve_stats_3d {
  double t;
  zv_vector_3d tangent;
  zv_vector_3d second_deriv;
  zv_vector_3d normal;
} zv_curve_stats_3d;

/**
 * A list node: the item first, the following node last.
 *
 *   | data | prev | type | next |
 *
 * prev and type are the kernel's (type holds the tag given to
 * ll_add_list_item).
 */
typedef struct ll_node {
  void *data;
  struct ll_node *prev;
  intptr_t type;
  struct ll_node *next;
} ll_node;

/**
 * A list header: four pointer-sized words.
 *
 *   | head | tail | current | count |
 *
 * head (word 0) is the first node, null for an empty list; current (word 2)
 * is the node at the cursor. tail and count (words 1 and 3) are the kernel's:
 * count holds the item count and, in bit 62, the borrowed mark
 * (ll_set_list_borrowed). A list whose head is null is empty, whatever the
 * other words hold: a curve definition takes a caller's list over by copying
 * the four words and clearing the caller's head only.
 */
typedef struct ll_list {
  ll_node *head;
  ll_node *tail;
  ll_node *current;
  intptr_t count;
} ll_list;

/**
 * A curve record (packed).
 *
 *   | type | degree | span_steps | t_step | basis[16] |
 *   | weight_list | knot_list | ctrl_list | vertex_list | stats_list |
 *
 * basis is the 4x4 matrix of a uniform kind, row r column k at 4r + k.
 * zv_purge_curve releases every list in a non-null slot with its items.
 *
 * Which lists a record owns: a list in a slot belongs to the record unless
 * it carries the borrowed mark (ll_list_borrowed). The rational definitions
 * attach the caller's control, knot and weight lists by pointer and mark
 * them borrowed: they stay the caller's, and no function releases them when
 * it replaces a record's lists (a later definition, the uniform split); only
 * zv_purge_curve does, unless the caller cleared the slots first. Lists the
 * record owns (those zv_create_curve made, those a definition took over or
 * created, the pieces of a split) are released when a later definition or
 * split replaces them.
 */
typedef struct zv_curve {
  int16_t type;
  int16_t degree;
  int16_t span_steps;
  double t_step;
  double basis[16];
  ll_list *weight_list;
  ll_list *knot_list;
  ll_list *ctrl_list;
  ll_list *vertex_list;
  ll_list *stats_list;
} zv_curve;

/**
 * A circular arc in the XY plane (packed: start_angle follows the int16).
 *
 *   | centre_x | centre_y | radius | flag:int16 | start_angle | end_angle |
 */
typedef struct zv_arc_2d {
  double centre_x, centre_y, radius;
  int16_t flag;
  double start_angle, end_angle;
} zv_arc_2d;

#pragma pack(pop)

/** Cursor modes of ll_set_list_currpntr. */
#define LL_FIRST 0
#define LL_LAST 1
#define LL_NEXT 2
#define LL_PREV 3

/** Item type tags of ll_add_list_item. */
#define ZV_ITEM_PLAIN 0
#define ZV_ITEM_POLY 63
#define ZV_ITEM_RNUMBER 81

/** Highest degree zv_basisfunctions accepts. */
#define ZV_MAX_BASIS_DEGREE 31

/* ---------------------------------------------------------------- memory */

/**
 * Allocates a kernel block of size bytes (a block of at least one byte for
 * size 0); its contents are unspecified. Returns null when the memory is
 * refused: by the system, for a request above 2^40 bytes, or once
 * zv_fail_alloc_after has run out. Release it with zv_free.
 */
ZV_API void *zv_malloc(size_t size);

/** Releases a kernel block or single record; zv_free(NULL) does nothing. */
ZV_API void zv_free(void *p);

/**
 * After n more successful kernel allocations every kernel allocation fails,
 * until this is called with n < 0 (the default: nothing fails); n = 0 refuses
 * the very next one. Counts zv_malloc, every record constructor,
 * ll_create_list and list nodes. Releasing a block does not renew the budget.
 * Meant for tests; the budget is shared by all threads.
 */
ZV_API void zv_fail_alloc_after(long n);

/** Kernel blocks allocated and not yet released (all threads). */
ZV_API long zv_live_blocks(void);

/**
 * Records and list nodes (blocks up to 256 bytes) come from size-class
 * pools: a vertex with its list node takes 64 bytes, and making or
 * releasing one costs a few instructions, lock-free, on any thread. The
 * pools keep released blocks for reuse and hand them out most recently
 * released first, so after many long lists have been made and released the
 * blocks of a new list lie scattered. This sorts the free blocks of the
 * calling thread and of the shared pools by address, so that the next
 * records are made in address order and long lists walk memory forwards
 * again (the pools' counterpart of malloc_trim). It takes time in
 * proportion to the free blocks; call it after releasing large outputs, if
 * at all. Nothing else changes; a build without pools does nothing here.
 */
ZV_API void zv_compact_pools(void);

/* -------------------------------------------------------------- messages */

/** Receives one error report: code text, message number, function text. */
typedef void (*zv_msg_fn)(const char *code, int16_t number,
                          const char *function, void *user);

/** Receives one refused-memory report naming where it happened. */
typedef void (*zv_memerr_fn)(const char *where, void *user);

/**
 * Installs the error-report handler; NULL restores the default, which writes
 * one line to standard error, e.g. "BADRECT (75) in zv_ellipse_pnt_3d".
 */
ZV_API void zv_set_msg_handler(zv_msg_fn fn, void *user);

/**
 * Installs the refused-memory handler; NULL restores the default, which
 * writes one line to standard error, e.g. "out of memory in zv_mk_ucurve3d".
 */
ZV_API void zv_set_memerr_handler(zv_memerr_fn fn, void *user);

/**
 * Reports one error through the message handler. Null texts are passed on
 * as "". Returns number.
 */
ZV_API int16_t zv_display_msg(const char *code, int16_t number,
                              const char *function);

/** Reports refused memory through the memory handler (null where as ""). */
ZV_API void zv_memerr(const char *where);

/* --------------------------------------------------------------- records */

/**
 * A new curve record, zero-filled, with new empty lists in knot_list,
 * ctrl_list, vertex_list and stats_list and a null weight_list.
 * Returns null (having released whatever it made) when memory is refused.
 */
ZV_API zv_curve *zv_create_curve(void);

/**
 * Releases a curve record and every list in its five slots with their
 * nodes and items; null slots are skipped; zv_purge_curve(NULL) does nothing.
 */
ZV_API void zv_purge_curve(zv_curve *curve);

/** A new zero-filled vertex, or null when memory is refused. */
ZV_API zv_poly_3d *zv_create_poly_3d(void);

/** A new zero-filled real number, or null when memory is refused. */
ZV_API zv_rnumber *zv_create_rnumber(void);

/** A new zero-filled statistics record, or null when memory is refused. */
ZV_API zv_curve_stats_3d *zv_create_curve_stats_3d(void);

/** Writes (x, y, z) into *pnt; a null pnt is ignored. */
ZV_API void zv_set_pnt_3d(double x, double y, double z, zv_pnt_3d *pnt);

/**
 * Sets the direction of *vec to (x, y, z) and its aux0, aux1 to a, b;
 * a null vec is ignored.
 */
ZV_API void zv_set_vector_3d(double x, double y, double z, double a, double b,
                             zv_vector_3d *vec);

/** Fills *arc; a null arc is ignored. */
ZV_API void zv_set_arc_2d(double centre_x, double centre_y, double radius,
                          int16_t flag, double start_angle, double end_angle,
                          zv_arc_2d *arc);

/* ----------------------------------------------------------------- lists */

/** A new empty list, or null when memory is refused. */
ZV_API ll_list *ll_create_list(void);

/**
 * Appends item to list: where 1 after the last node, where 0 before the
 * first (any other where counts as 1). The node carries the tag type.
 * Returns 1 when added. Returns 0 when list or item is null or the node is
 * refused; a non-null item then belongs to nobody, so the kernel releases it
 * with zv_free. The cursor stays where it was (on the new node if the list
 * was empty). A list whose head is null starts afresh: its other words are
 * reset first, so a header whose nodes were taken over can be reused.
 */
ZV_API int16_t ll_add_list_item(ll_list *list, int16_t where, void *item,
                                int16_t type);

/**
 * Appends count new records after the last node of list in one call: record
 * i is a new kernel block holding a copy of the size bytes at
 * (const char *)records + i * size, on its own node tagged type. The result
 * is what count calls of zv_malloc(size), a copy and
 * ll_add_list_item(list, 1, record, type) would give, for a fraction of the
 * cost: each record is still its own block, released with zv_free or by
 * ll_purge_list. The cursor stays where it was (on the first new node if the
 * list was empty).
 *
 * Returns the number of records appended: count, or fewer when memory was
 * refused (the records made before the refusal stay appended, nothing else
 * is kept, and no report is made: the caller reports). Returns 0 and does
 * nothing for a null list or records, size 0 or count <= 0. records must
 * hold count * size readable bytes.
 */
ZV_API long ll_append_copies(ll_list *list, const void *records, size_t size,
                             long count, int16_t type);

/**
 * Number of items; 0 for a null or empty list. Saturates at 32767 for longer
 * lists (ll_list_length gives the full count).
 */
ZV_API int16_t ll_get_list_count(const ll_list *list);

/** Number of items at full width; 0 for a null or empty list. */
ZV_API long ll_list_length(const ll_list *list);

/**
 * Sets (borrowed non-zero) or clears the borrowed mark of a list header: a
 * borrowed list is a caller's list that a curve record holds by pointer
 * (the rational definitions set the mark), so no curve function releases it
 * when it replaces the record's lists; zv_purge_curve and ll_purge_list
 * still release it. Clearing the mark hands the list to the record that
 * holds it (the C++ and Python layers do so when their record takes the
 * lists over). The mark belongs to the header: appending, emptying and the
 * item count leave it alone, and a new list has none. A null list is
 * ignored.
 */
ZV_API void ll_set_list_borrowed(ll_list *list, int16_t borrowed);

/** 1 when the list carries the borrowed mark, else 0 (also for null). */
ZV_API int16_t ll_list_borrowed(const ll_list *list);

/**
 * Moves the cursor: LL_FIRST, LL_LAST, LL_NEXT, LL_PREV (all O(1)).
 * Returns mode when the cursor moved (or was placed); -1 when it could not:
 * a null or empty list, no following or preceding node, no cursor to move
 * from, or an unknown mode. A cursor that cannot move stays where it was.
 */
ZV_API int16_t ll_set_list_currpntr(ll_list *list, int16_t mode);

/** The item at the cursor; null for a null or empty list or no cursor. */
ZV_API void *ll_get_list_data(const ll_list *list);

/**
 * Releases the nodes of list, their items and the header itself;
 * ll_purge_list(NULL) does nothing.
 */
ZV_API void ll_purge_list(ll_list *list);

/* --------------------------------------------------------------- numbers */

/** 1/x as a double (±inf for ±0, NaN for NaN). */
ZV_API double zv_inverse(double x);

/**
 * In-place LU decomposition, without pivoting, of the n x n band matrix a
 * of half-bandwidth h: n rows of 2h + 1 doubles, row i holding columns
 * i - h .. i + h, so column j of row i is at a[i*(2h+1) + (j - i + h)].
 * Entries outside the matrix are ignored. Returns 0; 1 for a null a, n < 1
 * or h < 0; 2 when a pivot is zero or not finite (a is then partly changed).
 */
ZV_API int16_t zv_ludecomposition(double *a, int16_t n, int16_t h);

/**
 * Solves the system decomposed by zv_ludecomposition for right-hand side b
 * (n doubles, may be overwritten) into x (n doubles; x may equal b).
 * Returns 0; 1 for a null pointer, n < 1 or h < 0.
 */
ZV_API int16_t zv_forbacksubstitution(const double *a, int16_t n, int16_t h,
                                      double *b, double *x);

/**
 * Solves the system decomposed by zv_ludecomposition for m right-hand sides
 * at once: b holds n rows of m doubles (b[i*m + c] is row i of side c) and
 * may be overwritten; x receives the solutions in the same layout (x may
 * equal b). Each side gets exactly the result zv_forbacksubstitution gives
 * for it alone, bit for bit; solving them together is faster because their
 * chains of divisions overlap. Returns 0; 1 for a null pointer, n < 1,
 * h < 0 or m < 1.
 */
ZV_API int16_t zv_forbacksubstitution_n(const double *a, int16_t n, int16_t h,
                                        int16_t m, double *b, double *x);

/**
 * The knot span s of u in knots[0..m] for order p + 1 (degree p), found by
 * binary search among the valid spans p .. m - p - 1.
 * side +1: knots[s] <= u < knots[s+1] (at a repeated knot, the last copy);
 * side -1: knots[s] < u <= knots[s+1] (just below the first copy);
 * any other side counts as +1.
 * Clamped to the valid spans: u at or below knots[p] gives the first
 * non-empty span, u at or above knots[m-p] the last, on either side; a NaN u
 * gives the first valid span. Returns -1 for a null knots, order < 1 or
 * m < 2*order - 1 (fewer knots than a single span needs).
 */
ZV_API int16_t zv_findknotspan(const double *knots, int16_t m, int16_t order,
                               double u, int16_t side);

/**
 * The non-zero basis functions of span s at u and their derivatives up to
 * order k (The NURBS Book, A2.3): out receives k + 1 rows of p + 1 doubles,
 * row j holding the j-th derivatives of the basis functions of control
 * points s - p .. s. Rows above p are filled with zeros.
 * Returns 0; 1 for a null knots or out, s < p, p < 0, p > ZV_MAX_BASIS_DEGREE
 * or k < 0 (out untouched). A zero-length knot interval contributes zero.
 */
ZV_API int16_t zv_basisfunctions(const double *knots, int16_t s, int16_t p,
                                 double u, int16_t k, double *out);

#ifdef __cplusplus
}
#endif

#endif /* RIVEZI3Z_RIVIVI_H */
