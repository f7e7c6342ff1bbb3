/* The public headers compile as plain C99 under -Wall -Wextra -Wpedantic -Werror,
 * and the packed records keep the layout the headers draw. */
#include <rivezi3z/rivezi3z.h>
#include <rivezi3z/da3v.h>
#include <rivezi3z/rivivi.h>

#include <stddef.h>

typedef char check_poly_size[(sizeof(zv_poly_3d) == 26) ? 1 : -1];
typedef char check_poly_x[(offsetof(zv_poly_3d, x) == 2) ? 1 : -1];
typedef char check_vector_size[(sizeof(zv_vector_3d) == 40) ? 1 : -1];
typedef char check_stats_size[(sizeof(zv_curve_stats_3d) == 128) ? 1 : -1];
typedef char check_list_words[(sizeof(ll_list) == 4 * sizeof(void *)) ? 1 : -1];
typedef char check_node_data[(offsetof(ll_node, data) == 0) ? 1 : -1];
typedef char check_node_next[(offsetof(ll_node, next) == sizeof(ll_node) - sizeof(void *)) ? 1 : -1];
typedef char check_curve_t_step[(offsetof(zv_curve, t_step) == 6) ? 1 : -1];
typedef char check_curve_lists[(offsetof(zv_curve, weight_list) == 6 + 17 * 8) ? 1 : -1];
typedef char check_arc_start[(offsetof(zv_arc_2d, start_angle) == 26) ? 1 : -1];

/* Referenced so the typedefs count as used under -Wunused-local-typedefs. */
size_t zv_c99_layout_checked(void);
size_t zv_c99_layout_checked(void) {
  return sizeof(check_poly_size) + sizeof(check_poly_x) + sizeof(check_vector_size) +
         sizeof(check_stats_size) + sizeof(check_list_words) + sizeof(check_node_data) +
         sizeof(check_node_next) + sizeof(check_curve_t_step) + sizeof(check_curve_lists) +
         sizeof(check_arc_start);
}
