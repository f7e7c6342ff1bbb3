"""Curve records: uniform cubic, non-uniform B-spline, NURB and rational
Bezier curves; their tessellation and evaluation, de Boor's algorithm,
intersection, conversion and subdivision."""

import ctypes

import numpy as np

from . import _native as n
from ._native import Pnt3d, Vector3d, call

UBSPLINE, UBEZIER, UCATROM, UBETASPL, NURB, RATBEZIER, NUBSPLINE = 84, 86, 88, 92, 95, 97, 98
UNIFORM_KINDS = (UBSPLINE, UBEZIER, UCATROM, UBETASPL)


class Curve(n.Owner):
    """Owns a curve record (released with zv_purge_curve, with every list it
    holds, when the object is closed or collected). Use the class methods to
    define one; tessellate() samples it; vertices, stats and the input lists
    read as numpy arrays."""

    def __init__(self, ptr):
        if not ptr:
            raise MemoryError("curve record")
        self._ptr = ptr

    # -------------------------------------------------------- definitions

    @classmethod
    def _uniform(cls, name, points, *extra):
        owned = n.polygon(points)
        n._log().messages.clear()
        ptr = getattr(n.c, name)(owned.ptr, *extra)
        if not ptr:
            raise n.ZvError(name, None, n._log().messages)
        return cls(ptr)  # the record took the items over; owned keeps the empty header

    @classmethod
    def uniform_bspline(cls, points):
        """Uniform cubic B-spline (zv_def_ubspl_curve3d)."""
        return cls._uniform("zv_def_ubspl_curve3d", points)

    @classmethod
    def uniform_bezier(cls, points):
        """Uniform cubic Bezier, groups of four (zv_def_ubezier_curve3d)."""
        return cls._uniform("zv_def_ubezier_curve3d", points)

    @classmethod
    def catmull_rom(cls, points):
        """Uniform Catmull-Rom (zv_def_ucatrom_curve3d)."""
        return cls._uniform("zv_def_ucatrom_curve3d", points)

    @classmethod
    def beta_spline(cls, points, bias=1.0, tension=0.0):
        """Uniform cubic beta-spline (zv_def_ubetaspl_curve3d)."""
        return cls._uniform("zv_def_ubetaspl_curve3d", points, bias, tension)

    @classmethod
    def bspline(cls, points, knots, degree, span_steps=10):
        """Non-uniform B-spline (zv_def_nubspl_curve3d). knots: the clamped
        vector (n + p + 1 values, or the library's n + p - 1 without the
        outermost knot at either end)."""
        ctrl, kn = n.polygon(points), n.reals(_library_knots(points, knots, degree))
        n._log().messages.clear()
        ptr = n.c.zv_def_nubspl_curve3d(ctrl.ptr, kn.ptr, degree, span_steps)
        if not ptr:
            raise n.ZvError("zv_def_nubspl_curve3d", None, n._log().messages)
        return cls(ptr)

    @classmethod
    def _rational(cls, name, lists, *args):
        curve = cls(n.c.zv_create_curve())
        call(name, *(lst.ptr for lst in lists), *args, curve._ptr)
        for lst in lists:
            # The definition borrowed the lists; the record takes them over
            # (it releases them, also when a split replaces them).
            n.c.ll_set_list_borrowed(lst.give(), 0)
        return curve

    @classmethod
    def nurbs(cls, points, knots, weights, degree, span_steps=10):
        """NURB curve (zv_mk_def_nurb_curve3d); knots as bspline()."""
        lists = (n.polygon(points), n.reals(_library_knots(points, knots, degree)), n.reals(weights))
        return cls._rational("zv_mk_def_nurb_curve3d", lists, degree, span_steps)

    @classmethod
    def rational_bezier(cls, points, weights, params, degree=None):
        """Rational Bezier curve (zv_def_ratbezier_curve3d); params are the
        parameters tessellate() samples at."""
        degree = len(n.points3(points)) - 1 if degree is None else degree
        lists = (n.polygon(points), n.reals(params), n.reals(weights))
        return cls._rational("zv_def_ratbezier_curve3d", lists, degree)

    # ----------------------------------------------------------- lifetime

    def close(self):
        """Releases the record and its lists now."""
        if getattr(self, "_ptr", None):
            n.c.zv_purge_curve(self._ptr)
            self._ptr = None

    @property
    def ptr(self):
        """The record (a ctypes pointer); it stays owned by this object."""
        if not self._ptr:
            raise ValueError("the curve record was released")
        return self._ptr

    # ------------------------------------------------------------- reading

    @property
    def kind(self):
        return self.ptr.contents.type

    @property
    def degree(self):
        return self.ptr.contents.degree

    @property
    def basis(self):
        """The 4x4 basis matrix of a uniform kind."""
        return np.array(self.ptr.contents.basis[:]).reshape(4, 4)

    @property
    def control_points(self):
        return n.vertex_array(self.ptr.contents.ctrl_list)

    @property
    def knots(self):
        return n.real_array(self.ptr.contents.knot_list)

    @property
    def weights(self):
        return n.real_array(self.ptr.contents.weight_list)

    @property
    def vertices(self):
        """The tessellated vertices as an (n, 3) array."""
        return n.vertex_array(self.ptr.contents.vertex_list)

    @property
    def vertex_indices(self):
        return n.index_array(self.ptr.contents.vertex_list)

    @property
    def stats(self):
        """Per vertex: t, and the unit tangent, second derivative and normal
        as (n, 3) arrays (the last three only for uniform kinds)."""
        records = n.items(self.ptr.contents.stats_list, n.CurveStats3d)
        vec = lambda name: np.array([n.direction(getattr(s, name)) for s in records]).reshape(len(records), 3)
        return {"t": np.array([s.t for s in records]), "tangent": vec("tangent"),
                "second": vec("second_deriv"), "normal": vec("normal")}

    # ------------------------------------------------------------ sampling

    def tessellate(self, step=0.1, first=0, last=0, spans=None, steps=0, degree=0):
        """Samples the curve into its vertex (and statistics) list by kind:
        uniform kinds at t steps of step (zv_mk_ucurve3d); B-splines span by
        span (zv_mk_nubspline_3d, optional 1-based sub-range first..last);
        NURB curves over spans spans, all by default (zv_mk_nurb_curve3d);
        rational Bezier curves at their parameters (zv_mk_rat_bezier_3d).
        Returns the vertices."""
        kind = self.kind
        if kind in UNIFORM_KINDS:
            call("zv_mk_ucurve3d", self.ptr, step)
        elif kind == NUBSPLINE:
            call("zv_mk_nubspline_3d", self.ptr, first, last)
        elif kind == NURB:
            if spans is None:
                count = len(self.control_points)
                if first > 0 and last > 0:
                    count = min(last, count) - first + 1
                spans = count - self.degree
            call("zv_mk_nurb_curve3d", self.ptr, first, last, spans, steps)
        else:
            call("zv_mk_rat_bezier_3d", self.ptr, degree)
        return self.vertices

    def evaluate_segment(self, t, first=0):
        """Point, unit tangent, unit second derivative and normal of the
        uniform segment over control points first .. first + 3 at local t
        (zv_eval_t_on_ucurve3d)."""
        nodes = n.items(self.ptr.contents.ctrl_list, n.Poly3d)[first:first + 4]
        if len(nodes) < 4:
            raise ValueError("a segment needs four control points from first on")
        seg = (n.PP * 4)(*(ctypes.pointer(v) for v in nodes))
        p, d1, d2, nv = Pnt3d(), Vector3d(), Vector3d(), Vector3d()
        call("zv_eval_t_on_ucurve3d", self.ptr, t, seg, ctypes.byref(p), ctypes.byref(d1), ctypes.byref(d2),
             ctypes.byref(nv))
        return n.xyz(p), n.direction(d1), n.direction(d2), n.direction(nv)


def _library_knots(points, knots, degree):
    """The record's knot form: the clamped vector without its outermost knots."""
    k = np.asarray(knots, dtype=float).ravel()
    count = len(n.points3(points))
    return k[1:-1] if len(k) == count + degree + 1 else k


def _span(points, extra=()):
    """Kernel vertices for a span and the pointer array to them."""
    owned = n.polygon(points)
    nodes = n.items(owned.ptr, n.Poly3d)
    return owned, (n.PP * len(nodes))(*(ctypes.pointer(v) for v in nodes))


def deboor(t, degree, points, knots):
    """One point of a B-spline span by de Boor's algorithm (zv_deboor_3d):
    degree + 1 points, the span's 2 degree knots."""
    owned, refs = _span(points)
    kn, kp = n.double_array(knots)
    out = Pnt3d()
    call("zv_deboor_3d", t, degree, refs, kp, ctypes.byref(out))
    return n.xyz(out)


def rational_deboor(t, degree, points, weights, knots):
    """One point of a rational B-spline span (zv_rat_deboor_3d)."""
    owned, refs = _span(points)
    w, wp = n.double_array(weights)
    kn, kp = n.double_array(knots)
    out = Pnt3d()
    call("zv_rat_deboor_3d", t, degree, refs, wp, kp, ctypes.byref(out))
    return n.xyz(out)


def intersect(curve_a, curve_b):
    """The points where the polylines of two curves cross (zv_intcurve_3d):
    their tessellated vertices, or their control polygons when neither is
    tessellated. Returns an (n, 3) array."""
    out = n.OwnedList()
    call("zv_intcurve_3d", curve_a.ptr, curve_b.ptr, out.ptr, ok=None)
    return n.vertex_array(out.ptr)


def _converted(name, curve):
    out = Curve(n.c.zv_create_curve())
    call(name, curve.ptr, out.ptr)
    return out.control_points, out.weights


def bspline_to_bezier(curve):
    """The Bezier control points of a clamped cubic B-spline or NURB record
    (zv_bspl_to_bezier_curve3d): (3L + 1, 3) points, segment j at rows
    3j .. 3j + 3, and the weights converted alike (empty unless NURB)."""
    return _converted("zv_bspl_to_bezier_curve3d", curve)


def rational_bspline_to_bezier(curve):
    """The exact rational Bezier segments of a cubic NURB record
    (zv_rat_bspl_to_bezier_curve3d): (points, weights)."""
    return _converted("zv_rat_bspl_to_bezier_curve3d", curve)


def _split(name, curve, t, kind, degree):
    before, after = Curve(n.c.zv_create_curve()), Curve(n.c.zv_create_curve())
    record = curve.ptr.contents
    kept = record.degree
    # The split reads the degree from the record; a uniform definition
    # leaves it unset, so it is given for the call and restored after.
    record.degree = len(curve.control_points) - 1 if degree is None else degree
    try:
        call(name, curve.ptr, t, before.ptr, after.ptr)
    finally:
        record.degree = kept
    for piece in (before, after):
        piece.ptr.contents.type = kind  # so a piece can be split again
    return before, after


def split_bezier(curve, t, degree=None):
    """Splits a uniform Bezier record at t (zv_sub_bezier_curve3d): the
    pieces over [0, t] (from the split point back to the first control
    point) and [t, 1], as new Curves. degree: the Bezier's degree, by
    default one less than its control points."""
    return _split("zv_sub_bezier_curve3d", curve, t, UBEZIER, degree)


def split_rational_bezier(curve, t, degree=None):
    """Splits a rational Bezier record at t, weights included
    (zv_sub_ratbezier_curve3d); the pieces as zv_sub_bezier_curve3d orders
    them, given kind 97 here so they can be split again."""
    return _split("zv_sub_ratbezier_curve3d", curve, t, RATBEZIER, degree)
