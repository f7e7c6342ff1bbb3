"""Independent references for the tests: Cox-de Boor and Bernstein sums."""
import math

import numpy as np


def bspline_point(t, ctrl, knots, p):
    """B-spline point by the Cox-de Boor recursion over the full knot vector."""
    def basis(i, k, u):
        if k == 0:
            last = knots[i + 1] == knots[-1] and knots[i] < knots[i + 1]
            return 1.0 if knots[i] <= u < knots[i + 1] or (last and u == knots[-1]) else 0.0
        a = 0.0 if knots[i + k] == knots[i] else (u - knots[i]) / (knots[i + k] - knots[i]) * basis(i, k - 1, u)
        b = 0.0 if knots[i + k + 1] == knots[i + 1] else \
            (knots[i + k + 1] - u) / (knots[i + k + 1] - knots[i + 1]) * basis(i + 1, k - 1, u)
        return a + b
    return sum(basis(i, p, t) * np.asarray(ctrl[i], dtype=float) for i in range(len(ctrl)))


def bernstein(points, t, weights=None):
    """(Rational) Bezier point by the Bernstein sum."""
    points = np.asarray(points, dtype=float)
    n = len(points) - 1
    w = np.ones(n + 1) if weights is None else np.asarray(weights, dtype=float)
    b = np.array([math.comb(n, k) * t ** k * (1 - t) ** (n - k) for k in range(n + 1)]) * w
    return b @ points / b.sum()
