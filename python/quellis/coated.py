# SPDX-License-Identifier: MIT
"""Mie scattering by a coated sphere (a core inside a concentric shell)."""

import numpy as np

from . import _core
from ._elementwise import angles, broadcast, finish, indices, sizes


def _layers(name, x, y, m1, m2, **more):
    """The checked and broadcast core size, outer size, indices and ``more``."""
    arrays = broadcast(
        name,
        x=sizes(name, "x", x),
        y=sizes(name, "y", y),
        m1=indices(name, "m1", m1),
        m2=indices(name, "m2", m2),
        **{key: angles(name, key, value) for key, value in more.items()},
    )
    core, outer = arrays[0], arrays[1]
    thicker = core > outer
    if np.any(thicker):
        raise ValueError(
            f"{name}: the core size x must not exceed the outer size y; "
            f"got x={core[thicker].flat[0]!r} > y={outer[thicker].flat[0]!r}"
        )
    return arrays


def coated_efficiencies(x, y, m1, m2):
    """Efficiencies of extinction, scattering and backscattering of a coated sphere.

    Parameters
    ----------
    x : array_like of float
        Size parameter of the core, x = 2 pi a / lambda, with a the core
        radius and lambda the wavelength in the medium; finite and positive.
    y : array_like of float
        Size parameter of the whole particle, y = 2 pi b / lambda, b the
        outer radius; at least `x`.
    m1, m2 : array_like of complex
        Refractive indices of the core and of the shell relative to the
        medium, n + ik with k > 0 absorbing.

    Returns
    -------
    qext, qsca, qback : ndarray of float
        Cross sections divided by the geometric cross section pi b^2 of the
        whole particle.

    Raises
    ------
    ValueError
        For sizes that are not finite and positive, a core larger than the
        particle, indices that are not finite or zero, shapes that do not
        broadcast, or results that are not finite.
    """
    name = "coated_efficiencies"
    arrays = _layers(name, x, y, m1, m2)
    return finish(name, _core.coated_efficiencies(*arrays), arrays)


def coated_amplitudes(x, y, m1, m2, theta):
    """Amplitude functions S1 and S2 of a coated sphere.

    Parameters
    ----------
    x, y : array_like of float
        Size parameters 2 pi r / lambda of the core and of the whole
        particle in the medium; 0 < x <= y.
    m1, m2 : array_like of complex
        Relative refractive indices of core and shell, n + ik, k > 0 absorbing.
    theta : array_like of float
        Scattering angle in radians from the forward direction.

    Returns
    -------
    s1, s2 : ndarray of complex
        S1 (perpendicular) and S2 (parallel to the scattering plane), without
        the factor 1/k^2, as :func:`quellis.amplitudes` for a sphere.

    Raises
    ------
    ValueError
        As :func:`coated_efficiencies`, and for angles that are not finite.
    """
    name = "coated_amplitudes"
    arrays = _layers(name, x, y, m1, m2, theta=theta)
    return finish(name, _core.coated_amplitudes(*arrays), arrays)


def coated_scattering_matrix(x, y, m1, m2, theta):
    """Elements S11, S12, S33, S34 of the scattering matrix of a coated sphere.

    Parameters
    ----------
    x, y : array_like of float
        Size parameters of the core and of the whole particle; 0 < x <= y.
    m1, m2 : array_like of complex
        Relative refractive indices of core and shell.
    theta : array_like of float
        Scattering angle in radians from the forward direction.

    Returns
    -------
    s11, s12, s33, s34 : ndarray of float
        Formed from :func:`coated_amplitudes` as
        :func:`quellis.scattering_matrix` forms them for a sphere.

    Raises
    ------
    ValueError
        As :func:`coated_amplitudes`.
    """
    name = "coated_scattering_matrix"
    arrays = _layers(name, x, y, m1, m2, theta=theta)
    return finish(name, _core.coated_scattering_matrix(*arrays), arrays)
