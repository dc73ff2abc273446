# SPDX-License-Identifier: MIT
"""Mie scattering by a homogeneous sphere, over numpy arrays."""

import numpy as np

from . import _core
from ._elementwise import angles, broadcast, finish, indices, sizes


def efficiencies(x, m):
    """Efficiencies of extinction, scattering and backscattering of a sphere.

    Parameters
    ----------
    x : array_like of float
        Size parameter x = 2 pi r / lambda, with r the radius and lambda the
        wavelength in the surrounding medium. Finite and positive.
    m : array_like of complex
        Refractive index of the sphere relative to the medium, m = n + ik
        with k > 0 for an absorbing sphere.

    Returns
    -------
    qext, qsca, qback : ndarray of float
        Cross sections divided by the geometric cross section pi r^2
        (dimensionless), of the broadcast shape of `x` and `m`. Qback is
        ``|sum (-1)^n (2n+1)(a_n - b_n)|^2 / x^2``.

    Raises
    ------
    ValueError
        If `x` is not finite and positive, `m` is not finite or zero, the
        shapes do not broadcast, or the library gives no finite result.

    Examples
    --------
    >>> qext, qsca, qback = efficiencies(1.0, 1.5)
    >>> round(float(qext), 6)
    0.215098
    """
    name = "efficiencies"
    arrays = broadcast(name, x=sizes(name, "x", x), m=indices(name, "m", m))
    return finish(name, _core.efficiencies(*arrays), arrays)


def amplitudes(x, m, theta):
    """Amplitude functions S1 and S2 of a sphere.

    Parameters
    ----------
    x : array_like of float
        Size parameter x = 2 pi r / lambda in the medium; finite and positive.
    m : array_like of complex
        Relative refractive index n + ik, k > 0 absorbing.
    theta : array_like of float
        Scattering angle in radians from the forward direction.

    Returns
    -------
    s1, s2 : ndarray of complex
        S1 (perpendicular to the scattering plane) and S2 (parallel), without
        the factor 1/k^2: S1 = sum (2n+1)/(n(n+1)) (a_n pi_n + b_n tau_n).
        In the forward direction S1 = S2 and Qext = 4 Re S1(0) / x^2.

    Raises
    ------
    ValueError
        For inputs out of range, shapes that do not broadcast, or results
        that are not finite.
    """
    name = "amplitudes"
    arrays = broadcast(
        name, x=sizes(name, "x", x), m=indices(name, "m", m), theta=angles(name, "theta", theta)
    )
    return finish(name, _core.amplitudes(*arrays), arrays)


def scattering_matrix(x, m, theta):
    """Elements S11, S12, S33, S34 of the scattering matrix of a sphere.

    Parameters
    ----------
    x : array_like of float
        Size parameter x = 2 pi r / lambda in the medium; finite and positive.
    m : array_like of complex
        Relative refractive index n + ik, k > 0 absorbing.
    theta : array_like of float
        Scattering angle in radians from the forward direction.

    Returns
    -------
    s11, s12, s33, s34 : ndarray of float
        ``S11 = (|S1|^2 + |S2|^2)/2``, ``S12 = (|S2|^2 - |S1|^2)/2``,
        S33 = Re(S1 conj S2), S34 = Im(S2 conj S1), from the amplitudes of
        :func:`amplitudes` (no factor 1/k^2). S11 - S12 is the intensity
        scattered with polarisation perpendicular to the scattering plane.

    Raises
    ------
    ValueError
        For inputs out of range, shapes that do not broadcast, or results
        that are not finite.
    """
    name = "scattering_matrix"
    arrays = broadcast(
        name, x=sizes(name, "x", x), m=indices(name, "m", m), theta=angles(name, "theta", theta)
    )
    return finish(name, _core.scattering_matrix(*arrays), arrays)


def coefficients(x, m):
    """Mie coefficients a_n and b_n of a sphere for n = 1..N.

    N = round(x + 4 x^(1/3) + 2), the number of terms the library sums.

    Parameters
    ----------
    x : array_like of float
        Size parameter x = 2 pi r / lambda in the medium; finite and positive.
    m : array_like of complex
        Relative refractive index n + ik, k > 0 absorbing.

    Returns
    -------
    a, b : ndarray of complex
        Of shape ``broadcast_shape + (N_max,)``: element ``[..., n - 1]`` is
        the coefficient of order n (electric a_n, magnetic b_n). N_max is the
        largest N of the inputs; orders beyond an element's own N are 0.

    Raises
    ------
    ValueError
        For inputs out of range, shapes that do not broadcast, or
        coefficients that are not finite.
    """
    name = "coefficients"
    x_array, m_array = broadcast(name, x=sizes(name, "x", x), m=indices(name, "m", m))
    a_out, b_out = _core.coefficients(np.ravel(x_array), np.ravel(m_array))
    shape = x_array.shape + (a_out.shape[1],)
    if not (np.all(np.isfinite(a_out)) and np.all(np.isfinite(b_out))):
        raise ValueError(f"{name}: the library gives no finite coefficients for these inputs")
    return a_out.reshape(shape), b_out.reshape(shape)
