"""Conics from Python: every vertex satisfies its conic's equation and
frames are unit and perpendicular; bad input raises with the message."""
import numpy as np
import pytest

import rivezi3z as z


def test_circle_and_ellipse_vertices_lie_on_their_curves():
    poly = z.circle_polygon((1, 2, 3), 2.0, 12)
    assert poly.shape == (13, 3)
    assert np.allclose(np.hypot(poly[:, 0] - 1, poly[:, 1] - 2), 2.0) and np.all(poly[:, 2] == 3)
    assert np.allclose(z.circle_point((0, 0), 2, 0.25), (0, 2, 0))
    arc = z.circle_arc((0, 0), 1, 8, 0.0, 0.5)
    assert np.allclose(np.hypot(arc[:, 0], arc[:, 1]), 1) and np.allclose(arc[[0, -1], 0], (1, -1))

    ring = z.ellipse_polyline((0, 0, 1), (4, 2, 1), 10)  # rises to 12 segments
    assert ring.shape == (13, 3) and np.allclose(ring[0], ring[-1])
    assert np.allclose(((ring[:, 0] - 2) / 2) ** 2 + (ring[:, 1] - 1) ** 2, 1)
    part = z.elliptic_arc((0, 0), (4, 2), 6, 0.0, np.pi / 2)
    assert np.allclose(part[-1], (2, 2, 0))
    assert np.allclose(z.ellipse_point((0, 0), 3, 1, np.pi), (-3, 0, 0))


def test_arcs_cycloid_hyperbola_and_parabola():
    arc = z.arc((0, 0, 5), 3, 0, np.pi, 6)
    assert np.allclose(np.hypot(arc[:, 0], arc[:, 1]), 3) and np.allclose(arc[-1], (-3, 0, 5))
    rec = z.arc_record(1, 1, 2, 0, np.pi / 2, 4, z=7)
    assert np.allclose(rec[-1], (1, 3, 7))
    cyc = z.cycloid((0, 0), 1.0, 16)
    assert np.allclose(cyc[-1], (2 * np.pi, 0, 0)) and np.isclose(cyc[:, 1].max(), 2)

    one, two = z.hyperbola_branches(0, (-2, -1), (2, 1), 3.0, 8)
    for branch in (one, two):
        assert np.allclose((branch[:, 0] / 2) ** 2 - branch[:, 1] ** 2, 1)
    assert np.all(one[:, 0] > 0) and np.all(two[:, 0] < 0)
    h = z.hyperbolic_arc((0, 0), 1, 1, 4, -0.5, 0.5)
    assert np.allclose(h[:, 0] ** 2 - h[:, 1] ** 2, 1)
    assert np.allclose(z.hyperbola_point((0, 0), 2, 1, 0), (2, 0, 0))

    par = z.parabola_polyline(0, (1, 0), 0.5, 4.0, 8)
    assert np.allclose(par[:, 1] ** 2, 4 * 0.5 * (par[:, 0] - 1))
    pa = z.parabolic_arc((0, 0), 1, 1, 4, -1, 1)
    assert np.allclose(pa[:, 0] ** 2, 4 * pa[:, 1])
    assert np.allclose(z.parabola_point((0, 0), 1, 2, 0), (4, 4, 0))


def test_frames_are_unit_and_perpendicular():
    frames = [z.circle_frame((0, 0), (0, 2)), z.ellipse_frame((0, 0), 2, 1, (0, 1)),
              z.hyperbola_frame((0, 0), 1, 1, 0, (1, 0)), z.parabola_frame((0, 0), 1, 0, (1, 2))]
    for tangent, normal in frames:
        assert np.isclose(np.linalg.norm(tangent), 1) and np.isclose(np.linalg.norm(normal), 1)
        assert np.isclose(tangent @ normal, 0)
    assert np.allclose(frames[1][1], (0, 1, 0))  # outward normal at the top of the ellipse


def test_bad_input_raises_with_the_library_message():
    with pytest.raises(z.ZvError) as err:
        z.ellipse_polyline((0, 0), (0, 2), 8)
    assert err.value.code == 75 and err.value.messages == [("BADRECT", 75, "zv_ellipsepnts")]
    with pytest.raises(z.ZvError) as err:
        z.hyperbola_point((0, 0), 1, 1, 1.0)
    assert err.value.code == 80
    with pytest.raises(ValueError):
        z.cycloid((0, 0), 1, 40000)
