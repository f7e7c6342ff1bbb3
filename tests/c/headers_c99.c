/* The public headers compile as plain C99 under -Wall -Wextra -Wpedantic -Werror,
 * and the packed records keep the layout the headers draw. */
#include <rivezi3z/rivezi3z.h>
#include <rivezi3z/da3v.h>
#include <rivezi3z/rivivi.h>

#include <stddef.h>

/* A file-scope array type of negative size fails the build when a layout drifts. */
#define ZV_LAYOUT(name, holds) typedef char zv_layout_##name[(holds) ? 1 : -1]
ZV_LAYOUT(poly, sizeof(zv_poly_3d) == 26 && offsetof(zv_poly_3d, x) == 2);
ZV_LAYOUT(vector_and_stats, sizeof(zv_vector_3d) == 40 && sizeof(zv_curve_stats_3d) == 128);
ZV_LAYOUT(list_and_node, sizeof(ll_list) == 4 * sizeof(void *) && offsetof(ll_node, data) == 0 &&
                             offsetof(ll_node, next) == sizeof(ll_node) - sizeof(void *));
ZV_LAYOUT(curve, offsetof(zv_curve, t_step) == 6 && offsetof(zv_curve, weight_list) == 6 + 17 * 8);
ZV_LAYOUT(arc, offsetof(zv_arc_2d, start_angle) == 26);
