"""Non-uniform B-splines, NURB and rational Bezier curves from Python."""
import numpy as np
import pytest

import rivezi3z as z
from splines import bspline_point

CTRL = np.array([(0, 0, 0), (1, 2, 0), (3, 3, 1), (5, 1, 1), (6, 2, 0), (8, 0, 0)], dtype=float)
KNOTS = np.array([0, 0, 0, 0, 1, 3, 4, 4, 4, 4], dtype=float)  # clamped cubic, n + p + 1


def test_curves_match_their_references_and_failures_raise():
    vertices = z.Curve.bspline(CTRL, KNOTS, 3, span_steps=4).tessellate()
    params = np.concatenate([np.linspace(a, b, 5) for a, b in [(0, 1), (1, 3), (3, 4)]])
    assert np.allclose(vertices, [bspline_point(t, CTRL, KNOTS, 3) for t in params])
    w = np.sqrt(0.5)
    v = z.Curve.nurbs([(1, 0), (1, 1), (0, 1)], [0, 0, 0, 1, 1, 1], [1, w, 1], 2, 16).tessellate()
    assert len(v) == 17 and np.allclose(np.hypot(v[:, 0], v[:, 1]), 1, atol=1e-14)
    pts = [(0, 0), (1, 2), (3, 2), (4, 0)]
    assert np.allclose(z.Curve.rational_bezier(pts, [1, 1, 1, 1], [0, 1 / 3, 2 / 3, 1]).tessellate()[:, :2], pts)
    assert np.allclose(z.deboor(2.2, 3, CTRL[1:5], KNOTS[2:8]), bspline_point(2.2, CTRL, KNOTS, 3))
    with pytest.raises(z.ZvError) as err:
        z.Curve.nurbs(CTRL, KNOTS, [1, 1], 3)
    assert err.value.code == 2
    z.fail_alloc_after(3)
    with pytest.raises(MemoryError):
        z.Curve.uniform_bspline(CTRL)
