"""Direct polylines from Python."""
import numpy as np

import rivezi3z as z
from splines import bernstein

PTS = np.array([(0, 0, 0), (1, 2, 1), (3, 3, 0), (4, 1, 2), (6, 2, 0), (7, 0, 1)], dtype=float)


def test_polylines_follow_their_curves():
    samples = z.bezier(PTS, 11)
    assert np.allclose(samples, [bernstein(PTS, t) for t in np.linspace(0, 1, 11)])
    assert np.allclose(z.bezier_list(PTS, 11), samples) and z.bez_factorial(10) == 3628800
    cubic = z.bspline(PTS, 30)
    assert np.allclose(cubic[[0, -1]], [(PTS[0] + 4 * PTS[1] + PTS[2]) / 6, (PTS[3] + 4 * PTS[4] + PTS[5]) / 6])
    assert len(z.quad_bspline(PTS, mode=4)) == 4 * 11
    assert np.allclose(z.catmull_rom(PTS, mode=4)[::10], PTS[1:5])
