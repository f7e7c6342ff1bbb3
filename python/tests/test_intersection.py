"""Curve intersection from Python: crossings of a circle and lines lie on
both, and tessellated curves are preferred over control polygons."""
import numpy as np

import rivezi3z as z


def test_crossings_lie_on_both_curves():
    w = np.sqrt(0.5)
    quarter = z.Curve.nurbs([(1, 0), (1, 1), (0, 1)], [0, 0, 0, 1, 1, 1], [1, w, 1], 2, 64)
    quarter.tessellate()
    diagonal = z.Curve.bspline([(0, 0), (2, 2)], [0, 0, 1, 1], 1, 1)
    diagonal.tessellate()
    points = z.intersect(quarter, diagonal)
    assert points.shape == (1, 3)
    assert np.isclose(points[0, 0], points[0, 1]) and np.isclose(np.hypot(*points[0, :2]), 1, atol=1e-3)


def test_a_wave_crosses_a_line_once_per_sign_change():
    xs = np.arange(12.0)
    wave = z.Curve.catmull_rom(np.column_stack([xs, 2 + 2 * np.sin(xs)]))
    vertices = wave.tessellate(0.05)
    line = z.Curve.bspline([(-1, 2.1), (13, 2.1)], [0, 0, 1, 1], 1, 1)
    line.tessellate()
    crossings = z.intersect(wave, line)
    changes = np.count_nonzero(np.diff(np.sign(vertices[:, 1] - 2.1)))
    assert len(crossings) == changes > 0 and np.allclose(crossings[:, 1], 2.1)
    # Untessellated records share no filled list: nothing crosses.
    assert len(z.intersect(z.Curve.uniform_bspline(vertices[:4]), z.Curve.uniform_bspline(vertices[:4]))) == 0
