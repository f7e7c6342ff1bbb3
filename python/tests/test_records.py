"""The mirrored record layouts match the C headers' packed layouts."""
import ctypes

from rivezi3z import _native as n


def test_packed_layouts_match_the_headers_and_read_a_kernel_record():
    assert ctypes.sizeof(n.Poly3d) == 26 and n.Poly3d.x.offset == 2 and ctypes.sizeof(n.Vector3d) == 40
    assert ctypes.sizeof(n.CurveStats3d) == 8 + 3 * 40 and ctypes.sizeof(n.List) == 32 and n.Node.next.offset == 24
    assert n.CurveRecord.t_step.offset == 6 and n.CurveRecord.weight_list.offset == 142 and ctypes.sizeof(n.CurveRecord) == 182
    assert n.Arc2d.start_angle.offset == 26 and ctypes.sizeof(n.Nurbs3d) == 38 and n.Nurbs3d.ctrl_pts.offset == 22
    curve = n.c.zv_create_curve()
    assert curve.contents.type == 0 and bool(curve.contents.ctrl_list) and not curve.contents.weight_list
    n.c.zv_purge_curve(curve)
