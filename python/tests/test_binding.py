"""The binding: arrays or lists in, (n, 3) float arrays out, codes and C messages as ZvError, refused memory as
MemoryError, counts past int16 as ValueError, records released with their objects and packed as in the headers."""
import ctypes

import numpy as np
import pytest

import rivezi3z as z
from rivezi3z import _native as n

CTRL = np.array([(0, 0, 0), (1, 2, 0), (3, 3, 1), (5, 1, 1), (6, 2, 0), (8, 0, 0)], dtype=float)
KNOTS = [0, 0, 0, 0, 1, 3, 4, 4, 4, 4]  # clamped cubic, n + p + 1


def test_records_arrays_lifetime_and_errors():
    assert [ctypes.sizeof(r) for r in (n.Poly3d, n.Vector3d, n.CurveStats3d, n.List, n.CurveRecord, n.Nurbs3d)] == \
        [26, 40, 128, 32, 182, 38]
    assert [n.Poly3d.x.offset, n.Node.next.offset, n.CurveRecord.t_step.offset, n.CurveRecord.weight_list.offset,
            n.Arc2d.start_angle.offset, n.Nurbs3d.ctrl_pts.offset] == [2, 24, 6, 142, 26, 22]
    curve = z.Curve.beta_spline(CTRL, 1.5, 4.0)
    vertices = curve.tessellate(0.25)
    assert vertices.shape == (13, 3) and vertices.dtype == float and len(curve.stats["t"]) == 13
    p, _, _, _ = curve.evaluate_segment(0.5, first=1)  # segment 1 at t = 0.5
    assert np.allclose(vertices[6], p) and np.allclose(p, [0.125, 0.25, 0.5, 1] @ curve.basis @ CTRL[1:5])
    with z.Curve.uniform_bezier(CTRL[:4, :2].tolist()) as bezier:  # 2D lists get z = 0
        v = bezier.tessellate(0.1)
        assert np.allclose(v[[0, -1], :2], CTRL[[0, 3], :2]) and not v[:, 2].any() and bezier.kind == 86
    # A released record, points of four coordinates, a count past int16.
    for call in (lambda: bezier.ptr, lambda: z.Curve.catmull_rom(np.ones((5, 4))), lambda: z.cycloid((0, 0), 1, 4e4)):
        with pytest.raises(ValueError):
            call()
    with pytest.raises(z.ZvError) as err:
        z.ellipse_polyline((0, 0), (0, 2), 8)
    assert err.value.code == 75 and err.value.messages == [("BADRECT", 75, "zv_ellipsepnts")]
    for bad in (lambda: z.Curve.uniform_bspline(CTRL[:3]).tessellate(), lambda: z.Curve.nurbs(CTRL, KNOTS, [1, 1], 3)):
        with pytest.raises(z.ZvError) as err:
            bad()
        assert err.value.code == 2
    z.fail_alloc_after(3)
    with pytest.raises(MemoryError):
        z.Curve.uniform_bspline(CTRL)


def test_each_family_reaches_its_c_call():
    v = z.Curve.nurbs([(1, 0), (1, 1), (0, 1)], [0, 0, 0, 1, 1, 1], [1, np.sqrt(0.5), 1], 2, 16).tessellate()
    assert len(v) == 17 and np.allclose(np.hypot(v[:, 0], v[:, 1]), 1, atol=1e-14)
    spline = z.Curve.bspline(CTRL, KNOTS, 3, span_steps=4)
    v = spline.tessellate()  # five vertices on each of the spans [0, 1], [1, 3], [3, 4]
    assert np.allclose(z.Curve.bspline(CTRL, KNOTS[1:-1], 3, 4).tessellate(), v) and len(v) == 15
    assert np.allclose(z.deboor(2.0, 3, CTRL[1:5], KNOTS[2:8]), v[7])
    assert np.allclose(z.bspline_to_bezier(spline)[0][::3], v[[0, 4, 9, 14]])
    before, after = z.split_bezier(z.Curve.uniform_bezier(CTRL[:4]), 0.3)
    assert np.allclose([before.control_points[0], after.control_points[-1]], [z.bezier(CTRL[:4], 11)[3], CTRL[3]])
    _, rafter = z.split_rational_bezier(z.Curve.rational_bezier(CTRL[:5], [1, 2, 0.5, 1, 3], [0, 1]), 0.6)
    assert rafter.kind == 97 and rafter.weights[-1] == 3 and np.allclose(rafter.control_points[-1], CTRL[4])
    a, b = (z.Curve.bspline(p, [0, 0, 1, 1], 1, 1) for p in ([(0, 0), (2, 2)], [(0, 2), (2, 0)]))
    assert np.allclose(z.intersect(a, b), [(1, 1, 0)])  # their control polygons, neither being tessellated
    fitted = z.fit(CTRL, 3, mode=1)
    assert np.allclose([fitted.point(0), fitted.point(1)], CTRL[[0, -1]]) and fitted.derivatives(0.5)[3] == 0
    assert np.allclose(z.bezier_list(CTRL, 11), z.bezier(CTRL, 11)) and z.bez_factorial(10) == 3628800
    assert np.allclose(z.catmull_rom(CTRL, mode=4)[::10], CTRL[1:5]) and len(z.quad_bspline(CTRL, mode=4)) == 44
    poly, ring = z.circle_polygon((1, 2, 3), 2.0, 12), z.ellipse_polyline((0, 0, 1), (4, 2, 1), 10)  # rises to 12
    assert np.allclose(np.hypot(poly[:, 0] - 1, poly[:, 1] - 2), 2) and np.allclose(ring[:, 2], 1) and len(ring) == 13
    assert np.allclose([z.cycloid((0, 0), 1, 16)[-1], z.arc((0, 0, 5), 3, 0, 3, 6)[-1]],
                       [(2 * np.pi, 0, 0), (3 * np.cos(3), 3 * np.sin(3), 5)])
