"""The mirrored record layouts match the C headers' packed layouts."""
import ctypes

from rivezi3z import _native as n


def test_packed_layouts_match_the_headers():
    assert ctypes.sizeof(n.Poly3d) == 26 and n.Poly3d.x.offset == 2
    assert ctypes.sizeof(n.Vector3d) == 40
    assert ctypes.sizeof(n.CurveStats3d) == 8 + 3 * 40
    assert ctypes.sizeof(n.List) == 32 and n.List.current.offset == 16
    assert n.Node.data.offset == 0 and n.Node.next.offset == 24
    assert n.CurveRecord.t_step.offset == 6 and n.CurveRecord.basis.offset == 14
    assert n.CurveRecord.weight_list.offset == 14 + 128 and ctypes.sizeof(n.CurveRecord) == 142 + 5 * 8
    assert ctypes.sizeof(n.Arc2d) == 3 * 8 + 2 + 2 * 8 and n.Arc2d.start_angle.offset == 26
    assert ctypes.sizeof(n.Nurbs3d) == 38 and n.Nurbs3d.ctrl_pts.offset == 22


def test_a_record_made_by_the_kernel_reads_back_through_the_layout():
    curve = n.c.zv_create_curve()
    rec = curve.contents
    assert rec.type == 0 and bool(rec.ctrl_list) and bool(rec.vertex_list) and not rec.weight_list
    assert n.c.ll_list_length(rec.ctrl_list) == 0
    n.c.zv_purge_curve(curve)
