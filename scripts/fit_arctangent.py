"""Prints the coefficients of the arctangent polynomial in scene/edge_angles.cpp.

A Chebyshev fit of atan(sqrt(u)) / sqrt(u) for u = x * x on [0, tan(pi/8)^2], degree 9,
highest power first, rounded to doubles. Needs the mpmath package (not used by the build).
"""
import mpmath as mp

mp.mp.dps = 50
reduced = mp.tan(mp.pi / 8)


def atan_over_x(u):
    if u == 0:
        return mp.mpf(1)
    root = mp.sqrt(u)
    return mp.atan(root) / root


coefficients, error = mp.chebyfit(atan_over_x, [0, reduced**2], 10, error=True)
for coefficient in coefficients:
    print(repr(float(coefficient)))
print("fit error in atan(x), |x| <= tan(pi/8):", mp.nstr(error * reduced, 3))
