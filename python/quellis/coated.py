# SPDX-License-Identifier: MIT
"""Mie scattering by a coated sphere (a core inside a concentric shell)."""

from ctypes import byref, c_double

import numpy as np

from . import lib
from ._elementwise import angles, broadcast, complex_value, evaluate, indices, sizes


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


def _sizes_and_indices(x, y, m1, m2):
    return (
        lib.TComplex(x, 0.0),
        lib.TComplex(y, 0.0),
        complex_value(m1),
        complex_value(m2),
    )


def _cross_section(x, y, m1, m2):
    qsca, qext, qback = c_double(), c_double(), c_double()
    inputs = (byref(v) for v in _sizes_and_indices(x, y, m1, m2))
    lib.CoatCrossSection(*inputs, byref(qsca), byref(qext), byref(qback))
    return qext.value, qsca.value, qback.value


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
    return evaluate(name, _cross_section, arrays, (float, float, float))


def _amplitude_matrix(x, y, m1, m2, theta):
    s1, s2 = lib.TComplex(), lib.TComplex()
    inputs = (byref(v) for v in _sizes_and_indices(x, y, m1, m2))
    lib.CoatAmplMatrix(*inputs, theta, byref(s1), byref(s2))
    return complex(s1.Re, s1.Im), complex(s2.Re, s2.Im)


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
    return evaluate(name, _amplitude_matrix, arrays, (complex, complex))


def _scattering_matrix(x, y, m1, m2, theta):
    s11, s12, s33, s34 = (lib.TComplex() for _ in range(4))
    inputs = (byref(v) for v in _sizes_and_indices(x, y, m1, m2))
    lib.CoatScatMatrix(*inputs, theta, byref(s11), byref(s12), byref(s33), byref(s34))
    return s11.Re, s12.Re, s33.Re, s34.Re


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
    return evaluate(name, _scattering_matrix, arrays, (float,) * 4)
