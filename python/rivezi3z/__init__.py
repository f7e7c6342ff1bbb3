"""rivezi3z: 3D curve geometry over the library's C interface (ctypes).

Points go in as sequences or numpy arrays of (x, y) or (x, y, z); polylines
and points come back as numpy arrays. A failing call raises ZvError with the
C function's result code and the messages it reported; refused memory raises
MemoryError. Records are released when their Python objects are closed or
collected. Set RIVEZI3Z_LIBRARY_DIR to the folder of the shared objects when
the system's loader does not find them.
"""

from ._native import ZvError, c as native, fail_alloc_after, live_blocks
from .conics import (arc, arc_record, circle_arc, circle_frame, circle_point, circle_polygon, cycloid,
                     ellipse_frame, ellipse_point, ellipse_polyline, elliptic_arc, hyperbola_branches,
                     hyperbola_frame, hyperbola_point, hyperbolic_arc, parabola_frame, parabola_point,
                     parabola_polyline, parabolic_arc)
from .curves import (Curve, bspline_to_bezier, deboor, intersect, rational_bspline_to_bezier, rational_deboor,
                     split_bezier, split_rational_bezier)
from .fitting import Nurbs, fit
from .polylines import bez_factorial, bezier, bezier_list, bspline, catmull_rom, quad_bspline
