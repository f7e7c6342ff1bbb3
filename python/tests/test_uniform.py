"""Uniform cubic curves from Python: tessellation against a closed-form
evaluation of the basis matrix, statistics, segment evaluation."""
import numpy as np
import pytest

import rivezi3z as z

POLYGON = np.array([(0, 0, 0), (1, 3, 0.5), (3, 4, 1), (4, 1, 0.5), (6, 0, 0), (7, 3, 0.5)], dtype=float)


@pytest.mark.parametrize("define", [z.Curve.uniform_bspline, z.Curve.catmull_rom,
                                    lambda p: z.Curve.beta_spline(p, 1.5, 4.0)])
def test_vertices_follow_the_basis_matrix(define):
    curve = define(POLYGON)
    vertices = curve.tessellate(0.25)
    assert len(vertices) == 3 * 4 + 1 and len(curve.stats["t"]) == len(vertices)
    m = curve.basis
    t = 0.5
    expected = np.array([t ** 3, t ** 2, t, 1]) @ m @ POLYGON[1:5]  # segment 1 at its middle
    assert np.allclose(vertices[4 + 2], expected)
    p, tangent, second, normal = curve.evaluate_segment(t, first=1)
    assert np.allclose(p, expected) and np.isclose(np.linalg.norm(tangent), 1)
    assert np.allclose(curve.control_points, POLYGON)


def test_uniform_bezier_groups_of_four_and_statistics():
    curve = z.Curve.uniform_bezier(POLYGON[:4])
    vertices = curve.tessellate(0.1)
    assert np.allclose(vertices[[0, -1]], POLYGON[[0, 3]])
    stats = curve.stats
    assert np.allclose(np.linalg.norm(stats["tangent"], axis=1), 1)
    assert np.allclose(np.einsum("ij,ij->i", stats["tangent"][:, :2], stats["normal"][:, :2]), 0)


def test_too_few_points_raise_with_the_code():
    with pytest.raises(z.ZvError) as err:
        z.Curve.uniform_bspline(POLYGON[:3]).tessellate()
    assert err.value.code == 2
    with pytest.raises(z.ZvError):
        z.Curve.beta_spline(POLYGON, -1.0, 0.0)  # delta = 0
