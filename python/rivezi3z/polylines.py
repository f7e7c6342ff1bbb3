"""Polylines straight from control points: Bezier, cubic and quadratic
B-splines, cardinal (Catmull-Rom) splines."""

import ctypes

import numpy as np

from . import _native as n
from ._native import call

_i16 = ctypes.c_int16


def bez_factorial(k):
    """k! as a double (zv_bez_factorial3)."""
    return n.c.zv_bez_factorial3(n.int16(k, "k"))


def bezier(points, samples):
    """samples points of the Bezier curve of the control points, evaluated
    from an array (zv_beziercurve3d); degree up to 29."""
    p = n.points3(points)
    src = (n.Pnt3d * len(p))(*(n.Pnt3d(*row) for row in p))
    m = n.int16(len(p), "point count")
    out = (n.Pnt3d * max(samples, m, 1))()
    call("zv_beziercurve3d", src, m, n.int16(samples, "samples"), out)
    return np.array([(q.x, q.y, q.z) for q in out[:samples if m >= 3 else m]]).reshape(-1, 3)


def bezier_list(points, samples):
    """The same samples through kernel lists (zv_bezier_curve_3d)."""
    ctrl, out = n.polygon(points), n.OwnedList()
    call("zv_bezier_curve_3d", ctrl.ptr, n.int16(len(n.points3(points)), "point count"),
         n.int16(samples, "samples"), out.ptr)
    return n.vertex_array(out.ptr)


def bspline(points, wanted):
    """A polyline of about wanted vertices along the uniform cubic B-spline
    (zv_bspline_3d)."""
    ctrl, out, count = n.polygon(points), n.OwnedList(), _i16(n.int16(wanted, "wanted"))
    call("zv_bspline_3d", n.int16(len(n.points3(points)), "point count"), ctrl.ptr, ctypes.byref(count), out.ptr)
    return n.vertex_array(out.ptr)


def quad_bspline(points, mode=3):
    """The uniform quadratic B-spline, step by mode (zv_quad_bspline_3d)."""
    ctrl, out, count = n.polygon(points), n.OwnedList(), _i16()
    call("zv_quad_bspline_3d", n.int16(len(n.points3(points)), "point count"), ctrl.ptr, mode,
         ctypes.byref(count), out.ptr)
    return n.vertex_array(out.ptr)


def catmull_rom(points, mode=3, tension=0.5):
    """The cardinal spline through points[1:-1] (zv_catrom_curve_3d)."""
    ctrl, out, count = n.polygon(points), n.OwnedList(), _i16()
    call("zv_catrom_curve_3d", n.int16(len(n.points3(points)), "point count"), ctrl.ptr, mode, tension,
         ctypes.byref(count), out.ptr)
    return n.vertex_array(out.ptr)
