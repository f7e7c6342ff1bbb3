#include <rivezi3z/rivezi3z.h>
#include <stdio.h>

int main(void) {
  const double pts[5][3] = {{0, 0, 0}, {1, 2, 0}, {3, 2, 1}, {4, 0, 1}, {6, 1, 0}};
  ll_list *ctrl = ll_create_list();
  for (int i = 0; i < 5; ++i) {
    zv_poly_3d *v = zv_create_poly_3d();
    if (!v) break;
    v->index = (int16_t)i, v->x = pts[i][0], v->y = pts[i][1], v->z = pts[i][2];
    ll_add_list_item(ctrl, 1, v, ZV_ITEM_POLY);  /* the list owns v now */
  }
  zv_curve *curve = zv_def_ubspl_curve3d(ctrl);  /* takes the points over */
  if (!curve || zv_mk_ucurve3d(curve, 0.25) != 0) return 1;
  for (const ll_node *n = curve->vertex_list->head; n; n = n->next) {
    const zv_poly_3d *v = n->data;
    printf("%2d  %8.4f %8.4f %8.4f\n", v->index, v->x, v->y, v->z);
  }
  zv_purge_curve(curve);  /* the record, its lists and their items */
  ll_purge_list(ctrl);    /* the caller's header, emptied by the definition */
  return 0;
}
