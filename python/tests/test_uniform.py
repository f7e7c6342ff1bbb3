"""Uniform cubic curves from Python."""
import numpy as np
import pytest

import rivezi3z as z

POLYGON = np.array([(0, 0, 0), (1, 3, 0.5), (3, 4, 1), (4, 1, 0.5), (6, 0, 0), (7, 3, 0.5)], dtype=float)


def test_vertices_follow_the_basis_matrix_and_bad_input_raises():
    curve = z.Curve.beta_spline(POLYGON, 1.5, 4.0)
    vertices = curve.tessellate(0.25)
    assert len(vertices) == 3 * 4 + 1 and len(curve.stats["t"]) == len(vertices)
    expected = np.array([0.125, 0.25, 0.5, 1]) @ curve.basis @ POLYGON[1:5]  # segment 1 at t = 0.5
    p, tangent, _, _ = curve.evaluate_segment(0.5, first=1)
    assert np.allclose(vertices[6], expected) and np.allclose(p, expected) and np.isclose(np.linalg.norm(tangent), 1)
    bezier = z.Curve.uniform_bezier(POLYGON[:4])
    assert np.allclose(bezier.tessellate(0.1)[[0, -1]], POLYGON[[0, 3]])
    assert np.allclose(np.linalg.norm(bezier.stats["tangent"], axis=1), 1)
    with pytest.raises(z.ZvError) as err:
        z.Curve.uniform_bspline(POLYGON[:3]).tessellate()
    assert err.value.code == 2
