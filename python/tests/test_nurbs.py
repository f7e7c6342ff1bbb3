"""Non-uniform B-splines, NURB and rational Bezier curves from Python:
against numpy's own de Boor, exact circles, ownership of attached lists."""
import numpy as np
import pytest

import rivezi3z as z
from splines import bspline_point as reference

CTRL = np.array([(0, 0, 0), (1, 2, 0), (3, 3, 1), (5, 1, 1), (6, 2, 0), (8, 0, 0)], dtype=float)
KNOTS = np.array([0, 0, 0, 0, 1, 3, 4, 4, 4, 4], dtype=float)  # clamped cubic, n + p + 1


def test_bspline_vertices_match_cox_de_boor():
    curve = z.Curve.bspline(CTRL, KNOTS, 3, span_steps=4)
    vertices = curve.tessellate()
    params = np.concatenate([np.linspace(a, b, 5) for a, b in [(0, 1), (1, 3), (3, 4)]])
    assert len(vertices) == len(params)
    assert np.allclose(vertices, [reference(t, CTRL, KNOTS, 3) for t in params])
    assert np.allclose(curve.knots, KNOTS[1:-1])


def test_nurbs_quarter_circle_is_exact_and_weights_one_give_the_bspline():
    w = np.sqrt(0.5)
    quarter = z.Curve.nurbs([(1, 0), (1, 1), (0, 1)], [0, 0, 0, 1, 1, 1], [1, w, 1], 2, 16)
    v = quarter.tessellate()
    assert len(v) == 17 and np.allclose(np.hypot(v[:, 0], v[:, 1]), 1, atol=1e-14)
    assert np.allclose(quarter.weights, [1, w, 1])

    plain = z.Curve.nurbs(CTRL, KNOTS, np.ones(len(CTRL)), 3, 4).tessellate()
    assert np.allclose(plain, z.Curve.bspline(CTRL, KNOTS, 3, 4).tessellate())
    sub = z.Curve.nurbs(CTRL, KNOTS, np.ones(len(CTRL)), 3, 4)
    assert len(sub.tessellate(first=2, last=5)) == 5  # four points: one span


def test_rational_bezier_interpolates_its_control_points():
    pts = [(0, 0), (1, 2), (3, 2), (4, 0)]
    curve = z.Curve.rational_bezier(pts, [1, 1, 1, 1], [0, 1 / 3, 2 / 3, 1])
    assert np.allclose(curve.tessellate()[:, :2], pts)


def test_deboor_functions_agree_with_the_reference():
    span_ctrl, span_knots = CTRL[1:5], KNOTS[2:8]  # span [1, 3] of the clamped cubic
    for t in (1.0, 2.2, 3.0):
        assert np.allclose(z.deboor(t, 3, span_ctrl, span_knots), reference(t, CTRL, KNOTS, 3))
        assert np.allclose(z.rational_deboor(t, 3, span_ctrl, np.ones(4), span_knots),
                           reference(t, CTRL, KNOTS, 3))
    with pytest.raises(z.ZvError) as err:
        z.deboor(-1.0, 3, span_ctrl, span_knots)
    assert err.value.code == 2


def test_failed_definitions_raise_and_release_everything():
    with pytest.raises(z.ZvError):
        z.Curve.bspline(CTRL, KNOTS[:4], 3)  # too few knots: BADKNOTSEQ
    with pytest.raises(z.ZvError) as err:
        z.Curve.nurbs(CTRL, KNOTS, [1, 1], 3)
    assert err.value.code == 2
    z.fail_alloc_after(3)
    with pytest.raises(MemoryError):
        z.Curve.uniform_bspline(CTRL)
