# SPDX-License-Identifier: MIT
"""An independent Mie computation in 30-digit arithmetic (mpmath), for the tests.

Riccati-Bessel functions from mpmath's Bessel functions of half-integer
order, psi_n(z) = z j_n(z) and xi_n(z) = z h1_n(z) = z (j_n(z) + i y_n(z)),
the coefficients from their defining quotients (Bohren & Huffman 1983,
eq. 4.88), fields from eqs. 4.40, 4.45 and 4.50, and the sums to a fixed
number of orders well past convergence. No part of the package is used.
"""

import mpmath as mp

mp.mp.dps = 30


def psi(n, z):
    return z * mp.sqrt(mp.pi / (2 * z)) * mp.besselj(n + mp.mpf(1) / 2, z)


def xi(n, z):
    y = mp.sqrt(mp.pi / (2 * z)) * mp.bessely(n + mp.mpf(1) / 2, z)
    return psi(n, z) + 1j * z * y


def derivative(function, n, z):
    """f_n'(z) = f_{n-1}(z) - n f_n(z) / z for psi and xi."""
    return function(n - 1, z) - n * function(n, z) / z


def coefficients(x, m, orders):
    """[(a_n, b_n) for n = 1..orders]."""
    x, m = mp.mpf(x), mp.mpc(m)
    result = []
    for n in range(1, orders + 1):
        p, pd = psi(n, x), derivative(psi, n, x)
        h, hd = xi(n, x), derivative(xi, n, x)
        pm, pmd = psi(n, m * x), derivative(psi, n, m * x)
        a = (m * pm * pd - p * pmd) / (m * pm * hd - h * pmd)
        b = (pm * pd - m * p * pmd) / (pm * hd - m * h * pmd)
        result.append((a, b))
    return result


def quantities(x, m, orders):
    """(qext, qsca, g, qpr) from the coefficients."""
    ab = coefficients(x, m, orders + 1)
    ext = sca = asym = 0
    for n in range(1, orders + 1):
        a, b = ab[n - 1]
        a1, b1 = ab[n]
        ext += (2 * n + 1) * mp.re(a + b)
        sca += (2 * n + 1) * (abs(a) ** 2 + abs(b) ** 2)
        asym += mp.mpf(n * (n + 2)) / (n + 1) * mp.re(a * mp.conj(a1) + b * mp.conj(b1))
        asym += mp.mpf(2 * n + 1) / (n * (n + 1)) * mp.re(a * mp.conj(b))
    qext, qsca, gq = 2 * ext / x**2, 2 * sca / x**2, 4 * asym / x**2
    return qext, qsca, gq / qsca, qext - gq


def angular(n_max, theta):
    """[(pi_n, tau_n) for n = 1..n_max] by the upward recurrence."""
    mu = mp.cos(theta)
    pis, result = [mp.mpf(0), mp.mpf(1)], []
    for n in range(1, n_max + 1):
        if n > 1:
            pis.append(((2 * n - 1) * mu * pis[n - 1] - n * pis[n - 2]) / (n - 1))
        result.append((pis[n], n * mu * pis[n] - (n + 1) * pis[n - 1]))
    return result


def scattered_radial(x, m, rho, theta, orders):
    """(er, hr): sum i^(n+1) (2n+1) (a_n, b_n) xi_n(rho) pi_n sin(theta)."""
    er = hr = 0
    for n, ((a, b), (p, _)) in enumerate(zip(coefficients(x, m, orders), angular(orders, theta)), 1):
        weight = mp.mpc(0, 1) ** (n + 1) * (2 * n + 1) * xi(n, rho) * p * mp.sin(theta)
        er += weight * a
        hr += weight * b
    return complex(er), complex(hr)
