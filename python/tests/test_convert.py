"""Conversion and subdivision from Python."""
import numpy as np
import pytest

import rivezi3z as z
from splines import bernstein, bspline_point

CTRL = np.array([(0, 0, 0), (1, 2, 0), (3, 3, 1), (5, 1, 1), (6, 2, 0), (8, 0, 0)], dtype=float)
KNOTS = np.array([0, 0, 0, 0, 1, 3, 4, 4, 4, 4], dtype=float)


def test_segments_and_pieces_reproduce_their_source():
    points, weights = z.bspline_to_bezier(z.Curve.bspline(CTRL, KNOTS, 3))
    assert points.shape == (10, 3) and len(weights) == 0
    for j, (a, b) in enumerate([(0, 1), (1, 3), (3, 4)]):
        assert np.allclose(bernstein(points[3 * j:3 * j + 4], 0.3), bspline_point(a + 0.3 * (b - a), CTRL, KNOTS, 3))
    before, after = z.split_bezier(z.Curve.uniform_bezier(CTRL[:4]), 0.3)
    assert np.allclose(bernstein(after.control_points, 0.5), bernstein(CTRL[:4], 0.65))
    assert np.allclose(bernstein(before.control_points, 0.5), bernstein(CTRL[:4], 0.15))
    w = [1, 2, 0.5, 1, 3]
    _, rafter = z.split_rational_bezier(z.Curve.rational_bezier(CTRL[:5], w, [0, 1]), 0.6)
    assert np.allclose(bernstein(rafter.control_points, 0.5, rafter.weights), bernstein(CTRL[:5], 0.8, w))
    with pytest.raises(z.ZvError) as err:
        z.rational_bspline_to_bezier(z.Curve.bspline(CTRL, KNOTS, 3))
    assert err.value.code == 2
