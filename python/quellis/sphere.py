# SPDX-License-Identifier: MIT
"""Mie scattering by a homogeneous sphere, over numpy arrays."""

from ctypes import POINTER, byref, c_double, c_int32

import numpy as np

from . import lib
from ._elementwise import angles, broadcast, complex_value, evaluate, indices, sizes


def _cross_section(x, m):
    qsca, qext, qback = c_double(), c_double(), c_double()
    lib.CrossSection(
        byref(lib.TComplex(x, 0.0)), byref(complex_value(m)), byref(qsca), byref(qext), byref(qback)
    )
    return qext.value, qsca.value, qback.value


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
        |sum (-1)^n (2n+1)(a_n - b_n)|^2 / x^2.

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
    return evaluate(name, _cross_section, arrays, (float, float, float))


def _amplitude_matrix(x, m, theta):
    s1, s2 = lib.TComplex(), lib.TComplex()
    size, index = lib.TComplex(x, 0.0), complex_value(m)
    lib.AmplMatrix(byref(size), byref(index), byref(s1), theta, byref(s2))
    return complex(s1.Re, s1.Im), complex(s2.Re, s2.Im)


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
    return evaluate(name, _amplitude_matrix, arrays, (complex, complex))


def _scattering_matrix(x, m, theta):
    s11, s12, s33, s34 = (lib.TComplex() for _ in range(4))
    lib.ScatMatrix(
        byref(lib.TComplex(x, 0.0)),
        byref(complex_value(m)),
        byref(s11),
        theta,
        byref(s12),
        byref(s33),
        byref(s34),
    )
    return s11.Re, s12.Re, s33.Re, s34.Re


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
        S11 = (|S1|^2 + |S2|^2)/2, S12 = (|S2|^2 - |S1|^2)/2,
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
    return evaluate(name, _scattering_matrix, arrays, (float,) * 4)


def _term_count_estimate(x):
    return int(round(x + 4.0 * x ** (1.0 / 3.0) + 2.0))


def _mie_coefficients(x, m):
    """a_n and b_n for n = 1..N of one sphere, as two complex arrays."""
    size, index, count = lib.TComplex(x, 0.0), complex_value(m), c_int32()
    capacity = _term_count_estimate(x)
    while True:
        # complex128 elements are laid out as TComplex: real part, then imaginary.
        a = np.zeros(capacity + 1, dtype=np.complex128)
        b = np.zeros(capacity + 1, dtype=np.complex128)
        lib.ScattKoef(
            byref(size), byref(index), byref(count), _as_table(a), capacity, _as_table(b), capacity
        )
        if count.value <= capacity:
            return a[1 : count.value + 1], b[1 : count.value + 1]
        capacity = count.value


def _as_table(array):
    return array.ctypes.data_as(POINTER(lib.TComplex))


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
    series = [_mie_coefficients(*element) for element in zip(x_array.ravel(), m_array.ravel())]
    longest = max((len(a) for a, _ in series), default=0)
    shape = x_array.shape + (longest,)
    a_out = np.zeros((len(series), longest), dtype=complex)
    b_out = np.zeros((len(series), longest), dtype=complex)
    for row, (a, b) in enumerate(series):
        a_out[row, : len(a)] = a
        b_out[row, : len(b)] = b
    if not (np.all(np.isfinite(a_out)) and np.all(np.isfinite(b_out))):
        raise ValueError(f"{name}: the library gives no finite coefficients for these inputs")
    return a_out.reshape(shape), b_out.reshape(shape)
