"""Conics from Python."""
import numpy as np
import pytest

import rivezi3z as z


def test_conics_lie_on_their_curves_and_bad_input_raises():
    poly = z.circle_polygon((1, 2, 3), 2.0, 12)
    assert poly.shape == (13, 3) and np.allclose(np.hypot(poly[:, 0] - 1, poly[:, 1] - 2), 2.0)
    ring = z.ellipse_polyline((0, 0, 1), (4, 2, 1), 10)  # rises to 12 segments
    assert ring.shape == (13, 3) and np.allclose(((ring[:, 0] - 2) / 2) ** 2 + (ring[:, 1] - 1) ** 2, 1)
    one, two = z.hyperbola_branches(0, (-2, -1), (2, 1), 3.0, 8)
    assert np.allclose((one[:, 0] / 2) ** 2 - one[:, 1] ** 2, 1) and np.all(two[:, 0] < 0)
    par = z.parabola_polyline(0, (1, 0), 0.5, 4.0, 8)
    assert np.allclose(par[:, 1] ** 2, 4 * 0.5 * (par[:, 0] - 1))
    assert np.allclose(z.cycloid((0, 0), 1.0, 16)[-1], (2 * np.pi, 0, 0))
    assert np.allclose(z.arc((0, 0, 5), 3, 0, np.pi, 6)[-1], (-3, 0, 5))
    tangent, normal = z.ellipse_frame((0, 0), 2, 1, (0, 1))
    assert np.allclose(normal, (0, 1, 0)) and np.isclose(tangent @ normal, 0)
    with pytest.raises(z.ZvError) as err:
        z.ellipse_polyline((0, 0), (0, 2), 8)
    assert err.value.code == 75 and err.value.messages == [("BADRECT", 75, "zv_ellipsepnts")]
    with pytest.raises(ValueError):
        z.cycloid((0, 0), 1, 40000)
