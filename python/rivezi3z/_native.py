"""The C interface through ctypes: loading, packed record layouts, function
prototypes, message capture and the list helpers the families share."""

import ctypes
import os
import threading
from ctypes import (CFUNCTYPE, POINTER, Structure, c_char_p, c_double, c_int16,
                    c_int32, c_long, c_size_t, c_uint8, c_void_p)

import numpy as np

# ------------------------------------------------------------------ loading


def _load():
    """Loads the three shared objects, kernel first, so each one's needs are
    met by the copies already loaded. RIVEZI3Z_LIBRARY_DIR names their folder;
    otherwise the system's loader search finds them."""
    folder = os.environ.get("RIVEZI3Z_LIBRARY_DIR", "")
    libs = []
    for name in ("rivivi", "da3v", "rivezi3z"):
        path = os.path.join(folder, f"lib{name}.so.0") if folder else f"lib{name}.so.0"
        libs.append(ctypes.CDLL(path, mode=ctypes.RTLD_GLOBAL))
    return libs


rivivi, da3v, lib = _load()

# ------------------------------------------------------------------ records
# Every record is byte-packed, as in the C headers.


class Pnt3d(Structure):
    _pack_ = 1
    _fields_ = [("x", c_double), ("y", c_double), ("z", c_double)]


class Vector3d(Structure):
    _pack_ = 1
    _fields_ = [("aux0", c_double), ("aux1", c_double), ("dx", c_double), ("dy", c_double), ("dz", c_double)]


class Poly3d(Structure):
    _pack_ = 1
    _fields_ = [("index", c_int16), ("x", c_double), ("y", c_double), ("z", c_double)]


class RNumber(Structure):
    _pack_ = 1
    _fields_ = [("value", c_double)]


class CurveStats3d(Structure):
    _pack_ = 1
    _fields_ = [("t", c_double), ("tangent", Vector3d), ("second_deriv", Vector3d), ("normal", Vector3d)]


class Node(Structure):
    pass


Node._pack_ = 1
Node._fields_ = [("data", c_void_p), ("prev", POINTER(Node)), ("type", ctypes.c_ssize_t), ("next", POINTER(Node))]


class List(Structure):
    _pack_ = 1
    _fields_ = [("head", POINTER(Node)), ("tail", POINTER(Node)), ("current", POINTER(Node)),
                ("count", ctypes.c_ssize_t)]


class CurveRecord(Structure):
    _pack_ = 1
    _fields_ = [("type", c_int16), ("degree", c_int16), ("span_steps", c_int16), ("t_step", c_double),
                ("basis", c_double * 16), ("weight_list", POINTER(List)), ("knot_list", POINTER(List)),
                ("ctrl_list", POINTER(List)), ("vertex_list", POINTER(List)), ("stats_list", POINTER(List))]


class Arc2d(Structure):
    _pack_ = 1
    _fields_ = [("centre_x", c_double), ("centre_y", c_double), ("radius", c_double), ("flag", c_int16),
                ("start_angle", c_double), ("end_angle", c_double)]


class Nurbs3d(Structure):
    _pack_ = 1
    _fields_ = [("last_ctrl", c_int16), ("last_knot", c_int16), ("degree", c_int16), ("plain", c_int32),
                ("open_ends", c_int32), ("is_line", c_int32), ("planar", c_int16), ("dim", c_int16),
                ("ctrl_pts", POINTER(c_double)), ("knots", POINTER(c_double))]


ITEM_POLY, ITEM_RNUMBER, ITEM_PLAIN = 63, 81, 0

# --------------------------------------------------------------- prototypes

P, PL, PC, PV, PP = POINTER(Pnt3d), POINTER(List), POINTER(CurveRecord), POINTER(Vector3d), POINTER(Poly3d)
I16, PI16, D = c_int16, POINTER(c_int16), c_double
MSG_FN = CFUNCTYPE(None, c_char_p, c_int16, c_char_p, c_void_p)
MEMERR_FN = CFUNCTYPE(None, c_char_p, c_void_p)

_PROTOTYPES = {
    # kernel (rivivi)
    "zv_malloc": (c_void_p, [c_size_t]),
    "zv_free": (None, [c_void_p]),
    "zv_fail_alloc_after": (None, [c_long]),
    "zv_live_blocks": (c_long, []),
    "zv_set_msg_handler": (None, [MSG_FN, c_void_p]),
    "zv_set_memerr_handler": (None, [MEMERR_FN, c_void_p]),
    "zv_create_curve": (PC, []),
    "zv_purge_curve": (None, [PC]),
    "zv_create_poly_3d": (PP, []),
    "zv_create_rnumber": (POINTER(RNumber), []),
    "ll_create_list": (PL, []),
    "ll_add_list_item": (I16, [PL, I16, c_void_p, I16]),
    "ll_list_length": (c_long, [PL]),
    "ll_set_list_borrowed": (None, [PL, I16]),
    "ll_purge_list": (None, [PL]),
    "zv_findknotspan": (I16, [POINTER(D), I16, I16, D, I16]),
    "zv_basisfunctions": (I16, [POINTER(D), I16, I16, D, I16, POINTER(D)]),
    # geometry services (da3v)
    "zv_unitvector": (I16, [PV, PV]),
    "zv_normalvector3d": (I16, [PV, PV]),
    "zv_intlinespace_ls": (I16, [P, P, P]),
    # conics
    "zv_circle_pnt_3d": (None, [Pnt3d, D, D, P]),
    "zv_circlepnts_3d": (I16, [Pnt3d, D, I16, PI16, PL]),
    "zv_circle_arc_3d": (I16, [Pnt3d, D, I16, D, D, PL]),
    "zv_circle_stats_3d": (None, [Pnt3d, Pnt3d, PV, PV]),
    "zv_ellipse_pnt_3d": (I16, [Pnt3d, D, D, D, P]),
    "zv_ellipsepnts_3d": (I16, [P, P, PI16, PI16, PL]),
    "zv_elliptic_arc_3d": (I16, [P, P, PI16, D, D, PL]),
    "zv_ellipse_stats_3d": (I16, [Pnt3d, D, D, Pnt3d, PV, PV]),
    "zv_arcpnts_3d": (I16, [Pnt3d, D, D, D, I16, PL]),
    "zv_arc_pnts_3d": (I16, [POINTER(Arc2d), I16, D, PL]),
    "zv_cycloidpnts_3d": (I16, [P, D, PI16, PL, PI16]),
    "zv_hyperbola_pnt_3d": (I16, [Pnt3d, D, D, D, P]),
    "zv_hyperbolic_arc_3d": (I16, [Pnt3d, D, D, PI16, D, D, PL]),
    "zv_hyperbolapnts_3d": (I16, [c_uint8, P, P, D, PI16, PI16, PL, PL]),
    "zv_hyperbola_stats_3d": (I16, [Pnt3d, D, D, I16, Pnt3d, PV, PV]),
    "zv_parabola_pnt_3d": (None, [Pnt3d, D, D, I16, P]),
    "zv_parabolic_arc_3d": (None, [Pnt3d, D, I16, I16, D, D, PL]),
    "zv_parabolapnts_3d": (I16, [c_uint8, P, D, D, PI16, PI16, PL]),
    "zv_parabola_stats_3d": (I16, [Pnt3d, D, I16, Pnt3d, PV, PV]),
    # definitions
    "zv_def_ubezier_curve3d": (PC, [PL]),
    "zv_def_ubspl_curve3d": (PC, [PL]),
    "zv_def_ucatrom_curve3d": (PC, [PL]),
    "zv_def_ubetaspl_curve3d": (PC, [PL, D, D]),
    "zv_def_nubspl_curve3d": (PC, [PL, PL, I16, I16]),
    "zv_mk_def_nurb_curve3d": (I16, [PL, PL, PL, I16, I16, PC]),
    "zv_def_ratbezier_curve3d": (I16, [PL, PL, PL, I16, PC]),
    # tessellation and evaluation
    "zv_mk_ucurve3d": (I16, [PC, D]),
    "zv_eval_t_on_ucurve3d": (I16, [PC, D, POINTER(PP), P, PV, PV, PV]),
    "zv_deboor_3d": (I16, [D, I16, POINTER(PP), POINTER(D), P]),
    "zv_rat_deboor_3d": (I16, [D, I16, POINTER(PP), POINTER(D), POINTER(D), P]),
    "zv_mk_nubspline_3d": (I16, [PC, I16, I16]),
    "zv_mk_nurb_curve3d": (I16, [PC, I16, I16, I16, I16]),
    "zv_mk_rat_bezier_3d": (I16, [PC, I16]),
    "zv_eval_pointoncurve_3d": (I16, [POINTER(Nurbs3d), D, P]),
    "zv_eval_derivsoncurve_3d": (I16, [POINTER(Nurbs3d), D, I16, I16, P, P, P, PI16]),
    # direct polylines
    "zv_bez_factorial3": (D, [I16]),
    "zv_beziercurve3d": (I16, [P, I16, I16, P]),
    "zv_bezier_curve_3d": (I16, [PL, I16, I16, PL]),
    "zv_bspline_3d": (I16, [I16, PL, PI16, PL]),
    "zv_quad_bspline_3d": (I16, [I16, PL, I16, PI16, PL]),
    "zv_catrom_curve_3d": (I16, [I16, PL, I16, D, PI16, PL]),
    # fit, intersection, conversion
    "zv_curve_thru_npoints_3d": (I16, [P, I16, I16, I16, POINTER(D), POINTER(D), I16, POINTER(POINTER(Nurbs3d))]),
    "zv_intcurve_3d": (I16, [PC, PC, PL]),
    "zv_bspl_to_bezier_curve3d": (I16, [PC, PC]),
    "zv_rat_bspl_to_bezier_curve3d": (I16, [PC, PC]),
    "zv_sub_bezier_curve3d": (I16, [PC, D, PC, PC]),
    "zv_sub_ratbezier_curve3d": (I16, [PC, D, PC, PC]),
}


class _Functions:
    """Every C function by name, with its prototype set."""

    def __init__(self):
        for name, (restype, argtypes) in _PROTOTYPES.items():
            for library in (lib, da3v, rivivi):
                fn = getattr(library, name, None)
                if fn is not None:
                    fn.restype, fn.argtypes = restype, argtypes
                    setattr(self, name, fn)
                    break


c = _Functions()

# ------------------------------------------------------------------ errors


class ZvError(Exception):
    """A call failed: code is the C function's result code, messages the
    (code text, number, function) reports it made."""

    def __init__(self, function, code, messages=()):
        self.function, self.code, self.messages = function, code, list(messages)
        text = f"{function} returned {code}"
        if self.messages:
            text += " (" + "; ".join(f"{m[0]} ({m[1]}) in {m[2]}" for m in self.messages) + ")"
        super().__init__(text)


_reports = threading.local()


def _log():
    if not hasattr(_reports, "messages"):
        _reports.messages, _reports.memerrs = [], []
    return _reports


@MSG_FN
def _on_message(code, number, function, _user):
    _log().messages.append((code.decode(), number, function.decode()))


@MEMERR_FN
def _on_memerr(where, _user):
    _log().memerrs.append(where.decode())


c.zv_set_msg_handler(_on_message, None)
c.zv_set_memerr_handler(_on_memerr, None)


def call(name, *args, ok=(0,)):
    """Calls the C function; raises ZvError when its result is not in ok or
    it reported a message, MemoryError when it reported refused memory."""
    log = _log()
    log.messages.clear()
    log.memerrs.clear()
    result = getattr(c, name)(*args)
    if log.memerrs:
        raise MemoryError(f"memory refused in {log.memerrs[0]}")
    if log.messages or (ok is not None and result not in ok):
        raise ZvError(name, result, log.messages)
    return result


# ------------------------------------------------------------ conversions


def points3(points):
    """An (n, 3) float array from (n, 2) or (n, 3) input (z = 0 for 2D)."""
    a = np.asarray(points, dtype=float)
    if a.ndim != 2 or a.shape[1] not in (2, 3):
        raise ValueError(f"expected an (n, 2) or (n, 3) array of points, got shape {a.shape}")
    if a.shape[1] == 2:
        a = np.column_stack([a, np.zeros(len(a))])
    return a


def pnt(p):
    x, y, *z = (float(v) for v in p)
    return Pnt3d(x, y, z[0] if z else 0.0)


def xyz(p):
    return np.array([p.x, p.y, p.z])


def direction(v):
    return np.array([v.dx, v.dy, v.dz])


def int16(value, what):
    value = int(value)
    if not -32768 <= value <= 32767:
        raise ValueError(f"{what} {value} is outside the int16 range")
    return value


class Owner:
    """Releases what it owns with close(), on collection or on leaving a
    with block."""

    def close(self):
        raise NotImplementedError

    def __del__(self):
        self.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


class OwnedList:
    """A kernel list the Python side owns until it hands it over."""

    def __init__(self, ptr=None):
        self.ptr = ptr if ptr is not None else c.ll_create_list()
        if not self.ptr:
            raise MemoryError("ll_create_list")

    def give(self):
        ptr, self.ptr = self.ptr, None
        return ptr

    def __del__(self):
        if getattr(self, "ptr", None):
            c.ll_purge_list(self.ptr)
            self.ptr = None


def polygon(points):
    """A new kernel list of vertices at the points, numbered from 0."""
    owned = OwnedList()
    for i, p in enumerate(points3(points)):
        v = c.zv_create_poly_3d()
        if not v:
            raise MemoryError("zv_create_poly_3d")
        v.contents.index, v.contents.x, v.contents.y, v.contents.z = i & 0x7FFF, *map(float, p)
        if not c.ll_add_list_item(owned.ptr, 1, v, ITEM_POLY):
            raise MemoryError("ll_add_list_item")
    return owned


def reals(values):
    """A new kernel list of real numbers."""
    owned = OwnedList()
    for value in np.asarray(values, dtype=float).ravel():
        r = c.zv_create_rnumber()
        if not r:
            raise MemoryError("zv_create_rnumber")
        r.contents.value = float(value)
        if not c.ll_add_list_item(owned.ptr, 1, r, ITEM_RNUMBER):
            raise MemoryError("ll_add_list_item")
    return owned


def items(list_ptr, record):
    """The records of a list, head to tail (ctypes views into the items)."""
    out = []
    node = list_ptr.contents.head if list_ptr else None
    while node:
        out.append(ctypes.cast(node.contents.data, POINTER(record)).contents)
        node = node.contents.next
    return out


def vertex_array(list_ptr):
    """The vertices of a list as an (n, 3) array."""
    vs = items(list_ptr, Poly3d)
    return np.array([(v.x, v.y, v.z) for v in vs], dtype=float).reshape(len(vs), 3)


def index_array(list_ptr):
    return np.array([v.index for v in items(list_ptr, Poly3d)], dtype=np.int16)


def real_array(list_ptr):
    return np.array([r.value for r in items(list_ptr, RNumber)], dtype=float)


def double_array(values):
    a = np.ascontiguousarray(values, dtype=float)
    return a, a.ctypes.data_as(POINTER(c_double))


def live_blocks():
    """Kernel blocks allocated and not yet released (for leak checks)."""
    return c.zv_live_blocks()


def fail_alloc_after(n):
    """After n more kernel allocations every allocation fails (n < 0: never)."""
    c.zv_fail_alloc_after(n)
