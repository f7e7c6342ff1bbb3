"""Conversion and subdivision from Python: Bezier segments and split
pieces evaluate to the same curve as their source (Cox-de Boor and
Bernstein references)."""
import numpy as np
import pytest

import rivezi3z as z
from splines import bernstein, bspline_point

CTRL = np.array([(0, 0, 0), (1, 2, 0), (3, 3, 1), (5, 1, 1), (6, 2, 0), (8, 0, 0)], dtype=float)
KNOTS = np.array([0, 0, 0, 0, 1, 3, 4, 4, 4, 4], dtype=float)
WEIGHTS = np.array([1, 2, 0.5, 1, 3, 1], dtype=float)
BREAKS = [0, 1, 3, 4]


def test_bspline_segments_reproduce_the_spline():
    points, weights = z.bspline_to_bezier(z.Curve.bspline(CTRL, KNOTS, 3))
    assert points.shape == (10, 3) and len(weights) == 0
    for j, (a, b) in enumerate(zip(BREAKS, BREAKS[1:])):
        for s in (0.0, 0.3, 1.0):
            assert np.allclose(bernstein(points[3 * j:3 * j + 4], s), bspline_point(a + s * (b - a), CTRL, KNOTS, 3))


def test_nurb_converts_exactly_into_rational_segments():
    homogeneous = np.column_stack([CTRL * WEIGHTS[:, None], WEIGHTS])
    points, weights = z.rational_bspline_to_bezier(z.Curve.nurbs(CTRL, KNOTS, WEIGHTS, 3))
    for j, (a, b) in enumerate(zip(BREAKS, BREAKS[1:])):
        for s in (0.25, 0.75):
            h = bspline_point(a + s * (b - a), homogeneous, KNOTS, 3)
            seg = slice(3 * j, 3 * j + 4)
            assert np.allclose(bernstein(points[seg], s, weights[seg]), h[:3] / h[3])
    with pytest.raises(z.ZvError) as err:
        z.rational_bspline_to_bezier(z.Curve.bspline(CTRL, KNOTS, 3))
    assert err.value.code == 2


def test_split_pieces_reproduce_their_parent():
    t = 0.3
    before, after = z.split_bezier(z.Curve.uniform_bezier(CTRL[:4]), t)
    for s in (0.0, 0.5, 1.0):
        assert np.allclose(bernstein(after.control_points, s), bernstein(CTRL[:4], t + (1 - t) * s))
        assert np.allclose(bernstein(before.control_points, s), bernstein(CTRL[:4], t * (1 - s)))
    again, _ = z.split_bezier(after, 0.5)  # a piece splits again
    assert np.allclose(again.control_points[0], bernstein(CTRL[:4], t + (1 - t) * 0.5))


def test_rational_split_keeps_the_weights():
    t, pts, w = 0.6, CTRL[:5], WEIGHTS[:5]
    source = z.Curve.rational_bezier(pts, w, [0, 1])
    before, after = z.split_rational_bezier(source, t)
    for s in (0.2, 0.9):
        assert np.allclose(bernstein(after.control_points, s, after.weights), bernstein(pts, t + (1 - t) * s, w))
        assert np.allclose(bernstein(before.control_points, s, before.weights), bernstein(pts, t * (1 - s), w))
