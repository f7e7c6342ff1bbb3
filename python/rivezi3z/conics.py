"""Conic sections, arcs and cycloids: points, polylines and unit frames.
Points go in as (x, y) or (x, y, z); polylines come back as (n, 3) arrays."""

import ctypes

from . import _native as n
from ._native import Arc2d, Pnt3d, Vector3d, call, pnt, xyz

_i16 = ctypes.c_int16


def _frame(name, *args):
    first, second = Vector3d(), Vector3d()
    call(name, *args, ctypes.byref(first), ctypes.byref(second))
    return n.direction(first), n.direction(second)


def _polyline(fill):
    """Runs fill(list) on a new list and returns its vertices."""
    owned = n.OwnedList()
    fill(owned.ptr)
    return n.vertex_array(owned.ptr)


# ---------------------------------------------------------------- circle

def circle_point(centre, radius, t):
    """The point at fraction t of a full turn (zv_circle_pnt_3d)."""
    out = Pnt3d()
    call("zv_circle_pnt_3d", pnt(centre), radius, t, ctypes.byref(out), ok=None)
    return xyz(out)


def circle_polygon(centre, radius, n_sides):
    """The closed regular n-gon inscribed in the circle (zv_circlepnts_3d)."""
    count = _i16()
    return _polyline(lambda lst: call("zv_circlepnts_3d", pnt(centre), radius, n.int16(n_sides, "n"),
                                      ctypes.byref(count), lst))


def circle_arc(centre, radius, segments, start, end):
    """The arc from fraction start to end of a turn (zv_circle_arc_3d)."""
    return _polyline(lambda lst: call("zv_circle_arc_3d", pnt(centre), radius, n.int16(segments, "n"),
                                      start, end, lst, ok=None))


def circle_frame(centre, point):
    """(tangent, normal) unit vectors at a point of the circle (zv_circle_stats_3d)."""
    first, second = Vector3d(), Vector3d()
    call("zv_circle_stats_3d", pnt(centre), pnt(point), ctypes.byref(first), ctypes.byref(second), ok=None)
    return n.direction(first), n.direction(second)


# --------------------------------------------------------------- ellipse

def ellipse_point(centre, a, b, angle):
    """(cx + a cos angle, cy + b sin angle, cz) (zv_ellipse_pnt_3d)."""
    out = Pnt3d()
    call("zv_ellipse_pnt_3d", pnt(centre), a, b, angle, ctypes.byref(out))
    return xyz(out)


def ellipse_polyline(corner1, corner2, segments):
    """The closed polyline around the ellipse inscribed in the rectangle
    (zv_ellipsepnts_3d); segments rise to a multiple of 4."""
    p1, p2, nn, count = pnt(corner1), pnt(corner2), _i16(n.int16(segments, "n")), _i16()
    return _polyline(lambda lst: call("zv_ellipsepnts_3d", ctypes.byref(p1), ctypes.byref(p2), ctypes.byref(nn),
                                      ctypes.byref(count), lst))


def elliptic_arc(corner1, corner2, segments, start, end):
    """The arc of the inscribed ellipse from angle start to end (zv_elliptic_arc_3d)."""
    p1, p2, nn = pnt(corner1), pnt(corner2), _i16(n.int16(segments, "n"))
    return _polyline(lambda lst: call("zv_elliptic_arc_3d", ctypes.byref(p1), ctypes.byref(p2), ctypes.byref(nn),
                                      start, end, lst))


def ellipse_frame(centre, a, b, point):
    """(tangent, normal) unit vectors at a point of the ellipse (zv_ellipse_stats_3d)."""
    return _frame("zv_ellipse_stats_3d", pnt(centre), a, b, pnt(point))


# ------------------------------------------------------------------ arcs

def arc(centre, radius, start, end, segments):
    """The circular arc from angle start to end, radians (zv_arcpnts_3d)."""
    return _polyline(lambda lst: call("zv_arcpnts_3d", pnt(centre), radius, start, end,
                                      n.int16(segments, "n"), lst, ok=None))


def arc_record(centre_x, centre_y, radius, start, end, segments, z=0.0):
    """The arc of an arc record in the plane z (zv_arc_pnts_3d)."""
    record = Arc2d(centre_x, centre_y, radius, 0, start, end)
    return _polyline(lambda lst: call("zv_arc_pnts_3d", ctypes.byref(record), n.int16(segments, "n"), z, lst,
                                      ok=None))


# --------------------------------------------------------------- cycloid

def cycloid(start, r, segments):
    """One arch of the cycloid of a circle of radius |r| rolling along +x
    (zv_cycloidpnts_3d)."""
    p, nn, count = pnt(start), _i16(n.int16(segments, "n")), _i16()
    return _polyline(lambda lst: call("zv_cycloidpnts_3d", ctypes.byref(p), r, ctypes.byref(nn), lst,
                                      ctypes.byref(count)))


# ------------------------------------------------------------- hyperbola

def hyperbola_point(centre, a, b, t):
    """The point of the branch at rational parameter t, |t| < 1 (zv_hyperbola_pnt_3d)."""
    out = Pnt3d()
    call("zv_hyperbola_pnt_3d", pnt(centre), a, b, t, ctypes.byref(out))
    return xyz(out)


def hyperbolic_arc(centre, a, b, segments, t1, t2):
    """Points of the branch from t1 to t2 (zv_hyperbolic_arc_3d)."""
    nn = _i16(n.int16(segments, "n"))
    return _polyline(lambda lst: call("zv_hyperbolic_arc_3d", pnt(centre), a, b, ctypes.byref(nn), t1, t2, lst))


def hyperbola_branches(mode, corner1, corner2, length, segments):
    """Both branches of the hyperbola of the central rectangle
    (zv_hyperbolapnts_3d): mode 0 opens along x, 1 along y."""
    c1, c2, nn, count = pnt(corner1), pnt(corner2), _i16(n.int16(segments, "n")), _i16()
    one, two = n.OwnedList(), n.OwnedList()
    call("zv_hyperbolapnts_3d", mode, ctypes.byref(c1), ctypes.byref(c2), length, ctypes.byref(nn),
         ctypes.byref(count), one.ptr, two.ptr)
    return n.vertex_array(one.ptr), n.vertex_array(two.ptr)


def hyperbola_frame(centre, a, b, mode, point):
    """(tangent, normal) unit vectors at a point of the hyperbola (zv_hyperbola_stats_3d)."""
    return _frame("zv_hyperbola_stats_3d", pnt(centre), a, b, mode, pnt(point))


# -------------------------------------------------------------- parabola

def parabola_point(vertex, a, t, axis=0):
    """The parabola's point at parameter t (zv_parabola_pnt_3d)."""
    out = Pnt3d()
    call("zv_parabola_pnt_3d", pnt(vertex), a, t, axis, ctypes.byref(out), ok=None)
    return xyz(out)


def parabolic_arc(vertex, a, axis, segments, t1, t2):
    """Points of the parabola from t1 to t2 (zv_parabolic_arc_3d)."""
    return _polyline(lambda lst: call("zv_parabolic_arc_3d", pnt(vertex), a, axis, n.int16(segments, "n"),
                                      t1, t2, lst, ok=None))


def parabola_polyline(mode, vertex, a, length, segments):
    """The parabola symmetric about its axis, reaching length along it
    (zv_parabolapnts_3d): mode 0 axis along x, 1 along y."""
    v, nn, count = pnt(vertex), _i16(n.int16(segments, "n")), _i16()
    return _polyline(lambda lst: call("zv_parabolapnts_3d", mode, ctypes.byref(v), a, length, ctypes.byref(nn),
                                      ctypes.byref(count), lst))


def parabola_frame(vertex, a, axis, point):
    """(tangent, normal) unit vectors at a point of the parabola (zv_parabola_stats_3d)."""
    return _frame("zv_parabola_stats_3d", pnt(vertex), a, axis, pnt(point))
