"""The fit and the array-form evaluators from Python."""
import numpy as np
import pytest

import rivezi3z as z

POINTS = np.array([(0, 0, 0), (1, 2, 0.5), (3, 3, 1), (5, 1, 0.5), (6, 2, 0), (8, 0, 1)], dtype=float)


def test_fit_passes_through_every_point_and_failures_raise():
    curve = z.fit(POINTS, 3, mode=1)
    d = np.concatenate([[0], np.cumsum(np.linalg.norm(np.diff(POINTS, axis=0), axis=1))])
    for t, p in zip(d / d[-1], POINTS):
        assert np.allclose(curve.point(t), p, atol=1e-12)
    p, d1, d2, status = curve.derivatives(0.37)
    assert status == 0 and np.allclose(p, curve.point(0.37))
    assert np.allclose(d1, (curve.point(0.37 + 1e-6) - curve.point(0.37 - 1e-6)) / 2e-6, rtol=1e-5)
    with pytest.raises(z.ZvError) as err:
        z.fit(np.zeros((4, 3)), 3)
    assert err.value.code == 2  # no length
