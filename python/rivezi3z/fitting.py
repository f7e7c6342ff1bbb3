"""The fit through n points and the array-form curve record it makes."""

import ctypes

import numpy as np

from . import _native as n
from ._native import Nurbs3d, Pnt3d, call


class Nurbs(n.Owner):
    """An array-form B-spline or NURBS record (zv_nurbs_3d). A fitted one is
    owned by the kernel and released with its arrays; one made from arrays
    keeps them alive here."""

    def __init__(self, ptr, owned_by_kernel, keep=()):
        self._ptr, self._kernel, self._keep = ptr, owned_by_kernel, keep

    @classmethod
    def from_arrays(cls, control, knots, degree, weights=None, planar=False):
        """A record over control points (n, 2|3) and the full knot vector
        (n + degree + 1); with weights, homogeneous."""
        ctrl = np.asarray(control, dtype=float)
        if weights is not None:
            w = np.asarray(weights, dtype=float).reshape(-1, 1)
            ctrl = np.hstack([ctrl * w, w])
        ctrl = np.ascontiguousarray(ctrl)
        kn = np.ascontiguousarray(knots, dtype=float)
        rec = Nurbs3d(len(ctrl) - 1, len(kn) - 1, degree, int(weights is None), 1, 0, int(planar), ctrl.shape[1],
                      ctrl.ctypes.data_as(ctypes.POINTER(ctypes.c_double)),
                      kn.ctypes.data_as(ctypes.POINTER(ctypes.c_double)))
        return cls(ctypes.pointer(rec), False, (ctrl, kn, rec))

    def close(self):
        if getattr(self, "_ptr", None) and self._kernel:
            rec = self._ptr.contents
            n.c.zv_free(ctypes.cast(rec.ctrl_pts, ctypes.c_void_p))
            n.c.zv_free(ctypes.cast(rec.knots, ctypes.c_void_p))
            n.c.zv_free(ctypes.cast(self._ptr, ctypes.c_void_p))
        self._ptr, self._keep = None, ()

    @property
    def record(self):
        return self._ptr.contents

    @property
    def degree(self):
        return self.record.degree

    @property
    def knots(self):
        r = self.record
        return np.ctypeslib.as_array(r.knots, shape=(r.last_knot + 1,)).copy()

    @property
    def control_points(self):
        """(n, dim) array as stored (homogeneous records keep their weights last)."""
        r = self.record
        return np.ctypeslib.as_array(r.ctrl_pts, shape=(r.last_ctrl + 1, r.dim)).copy()

    def point(self, t):
        """The point at t (zv_eval_pointoncurve_3d)."""
        out = Pnt3d()
        call("zv_eval_pointoncurve_3d", self._ptr, t, ctypes.byref(out))
        return n.xyz(out)

    def derivatives(self, t, side=1):
        """(point, first, second derivative, continuity status) at t from one
        side (zv_eval_derivsoncurve_3d)."""
        p, d1, d2, status = Pnt3d(), Pnt3d(), Pnt3d(), ctypes.c_int16()
        call("zv_eval_derivsoncurve_3d", self._ptr, t, side, 1, ctypes.byref(p), ctypes.byref(d1),
             ctypes.byref(d2), ctypes.byref(status))
        return n.xyz(p), n.xyz(d1), n.xyz(d2), status.value


def fit(points, degree=3, mode=2, params=None, knots=None):
    """A B-spline of the degree through the points by global interpolation
    (zv_curve_thru_npoints_3d). mode: 0 planar, 1 spatial, 2 planar when every
    |z| <= 1e-7. params and knots (both or neither) replace the computed
    chord-length parameters and averaged knots."""
    p = n.points3(points)
    src = (Pnt3d * len(p))(*(Pnt3d(*row) for row in p))
    given = params is not None
    if given != (knots is not None):
        raise ValueError("give both params and knots, or neither")
    pa, pp = n.double_array(params if given else [])
    ka, kp = n.double_array(knots if given else [])
    out = ctypes.POINTER(Nurbs3d)()
    call("zv_curve_thru_npoints_3d", src, n.int16(len(p), "point count"), degree, int(given),
         pp if given else None, kp if given else None, mode, ctypes.byref(out))
    return Nurbs(out, True)
