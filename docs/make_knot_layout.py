#!/usr/bin/python3
"""Write a 10,400-node layout to standard output: a (2,5) torus knot drawn as a square
tube, each ring of four nodes joined to its neighbours along the knot. Used for the README
picture of a big graph (docs/render_glb_picture.sh)."""

import math
along, around, p, q = 2600, 4, 2, 5
R, a, tube = 10.0, 4.0, 0.9
def centre(t):
    r = R + a * math.cos(q * t)
    return (r * math.cos(p * t), r * math.sin(p * t), a * math.sin(q * t))
def norm(v):
    l = math.sqrt(sum(c * c for c in v)); return tuple(c / l for c in v)
def cross(u, v):
    return (u[1]*v[2]-u[2]*v[1], u[2]*v[0]-u[0]*v[2], u[0]*v[1]-u[1]*v[0])
def turn(v):  # tilt the knot's plane towards the viewer
    x, y, z = v; c, s = math.cos(math.radians(50)), math.sin(math.radians(50))
    return (x, y * c - z * s, y * s + z * c)
lines = []
edges = 0
for i in range(along):
    t = 2 * math.pi * i / along
    c0, c1 = centre(t), centre(t + 1e-4)
    d = norm(tuple(b - a_ for a_, b in zip(c0, c1)))
    n1 = norm(cross(d, (0, 0, 1))); n2 = cross(d, n1)
    for k in range(around):
        ang = 2 * math.pi * k / around
        pt = tuple(c0[m] + tube * (math.cos(ang) * n1[m] + math.sin(ang) * n2[m]) for m in range(3))
        me = i * around + k
        nb = [((i + 1) % along) * around + k + 1, ((i - 1) % along) * around + k + 1,
              i * around + (k + 1) % around + 1, i * around + (k - 1) % around + 1]
        edges += len(nb)
        x, y, z = turn(pt)
        lines.append("%.6f %.6f %.6f %s" % (x, y, z, " ".join(map(str, nb))))
print("%% a (%d,%d) torus knot as a square tube" % (p, q))
print(len(lines), edges // 2)
print("\n".join(lines))
