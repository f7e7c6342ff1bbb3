import numpy as np
import rivezi3z as z

points = np.array([[0, 0, 0], [1, 2, 0], [3, 2, 1], [4, 0, 1], [6, 1, 0]])

curve = z.Curve.uniform_bspline(points)       # released when collected
vertices = curve.tessellate(step=0.25)        # (9, 3) numpy array
print(vertices.round(4))

fitted = z.fit(points, degree=3)              # passes through every point
print(fitted.point(0.5), fitted.knots)

quarter = z.Curve.nurbs([[1, 0], [1, 1], [0, 1]], knots=[0, 0, 0, 1, 1, 1],
                        weights=[1, np.sqrt(0.5), 1], degree=2, span_steps=8)
print(np.hypot(*quarter.tessellate()[:, :2].T).max())  # 1.0: an exact circle
