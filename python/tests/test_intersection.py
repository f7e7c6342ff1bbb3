"""Curve intersection from Python: a wave crosses a line once per sign change, on the line."""
import numpy as np

import rivezi3z as z


def test_a_wave_crosses_a_line_once_per_sign_change():
    xs = np.arange(12.0)
    wave = z.Curve.catmull_rom(np.column_stack([xs, 2 + 2 * np.sin(xs)]))
    vertices = wave.tessellate(0.05)
    line = z.Curve.bspline([(-1, 2.1), (13, 2.1)], [0, 0, 1, 1], 1, 1)
    line.tessellate()
    crossings = z.intersect(wave, line)
    changes = np.count_nonzero(np.diff(np.sign(vertices[:, 1] - 2.1)))
    assert len(crossings) == changes > 0 and np.allclose(crossings[:, 1], 2.1)
