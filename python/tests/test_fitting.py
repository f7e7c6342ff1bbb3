"""The fit and the array-form evaluators from Python: the fitted curve
passes through the points; derivatives match finite differences."""
import numpy as np
import pytest

import rivezi3z as z

POINTS = np.array([(0, 0, 0), (1, 2, 0.5), (3, 3, 1), (5, 1, 0.5), (6, 2, 0), (8, 0, 1)], dtype=float)


def chord_params(points):
    d = np.concatenate([[0], np.cumsum(np.linalg.norm(np.diff(points, axis=0), axis=1))])
    return d / d[-1]


@pytest.mark.parametrize("degree", [1, 2, 3, 5])
def test_fit_passes_through_every_point(degree):
    curve = z.fit(POINTS, degree, mode=1)
    assert curve.degree == degree and len(curve.knots) == len(POINTS) + degree + 1
    for t, p in zip(chord_params(POINTS), POINTS):
        assert np.allclose(curve.point(t), p, atol=1e-12)


def test_derivatives_match_finite_differences_and_given_knots_are_used():
    curve = z.fit(POINTS, 3, mode=1)
    h, t = 1e-6, 0.37
    p, d1, d2, status = curve.derivatives(t)
    assert status == 0 and np.allclose(p, curve.point(t))
    assert np.allclose(d1, (curve.point(t + h) - curve.point(t - h)) / (2 * h), rtol=1e-5)
    params = np.linspace(0, 1, len(POINTS))
    knots = [0, 0, 0, 0, 0.4, 0.6, 1, 1, 1, 1]
    given = z.fit(POINTS, 3, mode=1, params=params, knots=knots)
    assert np.allclose(given.knots, knots) and np.allclose(given.point(params[2]), POINTS[2])


def test_homogeneous_record_from_arrays_is_an_exact_circle_arc():
    w = np.sqrt(0.5)
    arc = z.Nurbs.from_arrays([(1, 0), (1, 1), (0, 1)], [0, 0, 0, 1, 1, 1], 2, weights=[1, w, 1], planar=True)
    for t in np.linspace(0, 1, 9):
        assert np.isclose(np.hypot(*arc.point(t)[:2]), 1)


def test_fit_failures_raise_with_the_code():
    with pytest.raises(z.ZvError) as err:
        z.fit(np.zeros((4, 3)), 3)
    assert err.value.code == 2  # no length
    with pytest.raises(z.ZvError) as err:
        z.fit(POINTS[:2], 3)
    assert err.value.code == 1
