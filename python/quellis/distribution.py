# SPDX-License-Identifier: MIT
"""Efficiencies and scattering matrix averaged over a number distribution of radii.

Quadrature: Gauss-Legendre with ``points`` nodes, for a log-normal
distribution in t = ln(r / median) / sigma over ``|t| <= 6`` (the tails left
out hold 2e-9 of the particles; the weights are normalised to the rest),
for a user-given density over its range [rmin, rmax] in r. The rule is
exact for polynomials of degree 2 points - 1 in t (or r); the averages of
Mie quantities converge fast once the nodes are closer in size parameter
than the structure of the curves (ripple resonances of large dielectric
spheres need many points). Every call also averages with points // 2 nodes
and reports the difference as ``error``: an estimate of the error of the
half rule, and so an upper estimate of the error of the result.
"""

from collections import namedtuple
from dataclasses import dataclass

import numpy as np

from ._elementwise import sizes
from .quantities import Quantities, size_and_index, sphere_quantities
from .sphere import scattering_matrix

#: Averages over the distribution: cross sections over the mean geometric
#: cross section (qext ... qpr), g weighted by the scattering cross
#: section, the scattering matrix per particle (None without theta), and
#: the error estimates of the six efficiency fields (a Quantities).
SizeAverage = namedtuple("SizeAverage", "qext qsca qabs qback qpr g s11 s12 s33 s34 error")

#: The log-normal distribution is integrated over |ln(r/median)| <= 6 sigma.
LOG_NORMAL_HALF_WIDTH = 6.0


@dataclass(frozen=True)
class LogNormal:
    """Log-normal number distribution: ln r is normal with mean ln(median)
    and standard deviation sigma."""

    median: float
    sigma: float

    def nodes(self, points):
        """Radii and normalised number weights of the quadrature."""
        t, w = np.polynomial.legendre.leggauss(points)
        t = t * LOG_NORMAL_HALF_WIDTH
        weights = w * np.exp(-0.5 * t * t)
        return self.median * np.exp(self.sigma * t), weights / weights.sum()


@dataclass(frozen=True)
class NumberDensity:
    """A user-given number density n(r) over [rmin, rmax]; n need not be
    normalised."""

    density: object
    rmin: float
    rmax: float

    def nodes(self, points):
        """Radii and normalised number weights of the quadrature."""
        t, w = np.polynomial.legendre.leggauss(points)
        half = 0.5 * (self.rmax - self.rmin)
        radii = self.rmin + half * (t + 1.0)
        weights = w * np.asarray(self.density(radii), dtype=float)
        if not np.all(np.isfinite(weights)) or np.any(weights < 0) or weights.sum() <= 0:
            raise ValueError("size_average: the number density must be finite, >= 0, not all 0")
        return radii, weights / weights.sum()


def _average(wavelength, radii, weights, theta, particle):
    """The averages of one quadrature rule over the last axis."""
    area = np.pi * radii**2
    q = sphere_quantities(
        wavelength=wavelength[..., np.newaxis], radius=radii, **particle
    )
    mean_area = np.sum(weights * area)
    efficiency = [np.sum(weights * area * value, axis=-1) / mean_area for value in q[:5]]
    scattering = np.sum(weights * area * q.qsca, axis=-1)
    g = np.sum(weights * area * q.qsca * q.g, axis=-1) / np.where(scattering == 0, 1, scattering)
    matrix = [None] * 4
    if theta is not None:
        x, m = size_and_index("size_average", wavelength[..., np.newaxis], radii, **particle)
        elements = scattering_matrix(x[..., np.newaxis], m[..., np.newaxis], theta)
        matrix = [np.sum(weights[:, np.newaxis] * s, axis=-2) for s in elements]
    return Quantities(*efficiency, g), matrix


def size_average(
    wavelength,
    distribution,
    *,
    index=None,
    permittivity=None,
    medium_index=1.0,
    theta=None,
    points=128,
):
    """Efficiencies and scattering matrix of spheres whose radii follow a distribution.

    Parameters
    ----------
    wavelength : array_like of float
        Vacuum wavelengths (nm for the functions of :mod:`quellis.dielectric`).
    distribution : LogNormal or NumberDensity
        Number distribution of the radius, in the unit of `wavelength`.
    index, permittivity, medium_index :
        The particle and the medium, as :func:`quellis.sphere_quantities`.
    theta : array_like of float, optional
        Scattering angles in radians (one-dimensional) for the averaged
        scattering matrix.
    points : int
        Number of quadrature nodes (see the module's description).

    Returns
    -------
    SizeAverage
        qext, qsca, qabs, qback, qpr: <C> / <pi r^2>, the cross sections
        averaged over the particles divided by their mean geometric cross
        section; g: <g C_sca> / <C_sca>; s11, s12, s33, s34: the scattering
        matrix averaged per particle (shape ``wavelength.shape +
        theta.shape``), as :func:`quellis.scattering_matrix` gives it for
        one; error: a Quantities of the estimated absolute errors of the
        six quantities.

    Raises
    ------
    ValueError
        For inputs out of range, fewer than 2 points, or a distribution
        that gives no valid weights.
    """
    if points < 2:
        raise ValueError(f"size_average: points must be at least 2, not {points}")
    wavelength = sizes("size_average", "wavelength", wavelength)
    theta_array = None if theta is None else np.atleast_1d(np.asarray(theta, dtype=float))
    particle = {"index": index, "permittivity": permittivity, "medium_index": medium_index}
    results = [
        _average(wavelength, *distribution.nodes(n), theta_array, particle)
        for n in (points, points // 2)
    ]
    (fine, matrix), (coarse, _) = results
    error = Quantities(*(np.abs(a - b) for a, b in zip(fine, coarse)))
    return SizeAverage(*fine, *matrix, error)
