"""Direct polylines from Python: Bezier samples against Bernstein sums,
B-spline and Catmull-Rom polylines through their defining points."""
import math

import numpy as np

import rivezi3z as z
from splines import bernstein

PTS = np.array([(0, 0, 0), (1, 2, 1), (3, 3, 0), (4, 1, 2), (6, 2, 0), (7, 0, 1)], dtype=float)


def test_bezier_samples_match_bernstein_both_ways():
    samples = z.bezier(PTS, 11)
    assert np.allclose(samples, [bernstein(PTS, t) for t in np.linspace(0, 1, 11)])
    assert np.allclose(z.bezier_list(PTS, 11), samples)
    assert z.bez_factorial(10) == math.factorial(10) and z.bez_factorial(-3) == 1.0


def test_spline_polylines():
    cubic = z.bspline(PTS, 30)
    # Uniform cubic B-spline ends at (P0 + 4 P1 + P2) / 6 and (P3 + 4 P4 + P5) / 6.
    assert np.allclose(cubic[0], (PTS[0] + 4 * PTS[1] + PTS[2]) / 6)
    assert np.allclose(cubic[-1], (PTS[3] + 4 * PTS[4] + PTS[5]) / 6)
    quad = z.quad_bspline(PTS, mode=4)  # step 0.1: 11 per segment
    assert len(quad) == 4 * 11 and np.allclose(quad[0], (PTS[0] + PTS[1]) / 2)
    cr = z.catmull_rom(PTS, mode=4)  # passes through P1 .. P4
    assert len(cr) == 3 * 10 + 1
    assert np.allclose(cr[::10], PTS[1:5])
