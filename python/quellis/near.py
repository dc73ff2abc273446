# SPDX-License-Identifier: MIT
"""The field scattered by a sphere near it, at the distance rho = k r from its centre.

All functions take the sphere's size parameter ``x`` and relative index ``m``
(as :func:`quellis.efficiencies`), the distance ``rho`` = 2 pi r / lambda of
the point from the centre in the medium (finite and positive; points inside
the sphere are computed with the same outgoing-wave sums), and the polar
angle ``theta`` in radians from the forward direction. The incident field
has amplitude 1.
"""

from ctypes import byref

from . import lib
from ._elementwise import angles, broadcast, complex_value, evaluate, indices, sizes


def _point(name, x, m, rho, theta, **more):
    return broadcast(
        name,
        x=sizes(name, "x", x),
        m=indices(name, "m", m),
        rho=sizes(name, "rho", rho),
        theta=angles(name, "theta", theta),
        **{key: angles(name, key, value) for key, value in more.items()},
    )


def _complex_outputs(export, count):
    """An element call of ``export`` that returns its ``count`` TComplex outputs."""

    def call(x, m, rho, theta):
        outputs = [lib.TComplex() for _ in range(count)]
        size, distance, index = lib.TComplex(x, 0.0), lib.TComplex(rho, 0.0), complex_value(m)
        export(byref(size), byref(distance), byref(index), theta, *(byref(o) for o in outputs))
        return tuple(complex(o.Re, o.Im) for o in outputs)

    return call


def _real_parts(call):
    def real(*element):
        return tuple(value.real for value in call(*element))

    return real


def near_amplitudes(x, m, rho, theta):
    """Near-field amplitude sums S1 and S2.

    The sums of :func:`quellis.amplitudes` with a_n weighted by the
    derivative xi_n'(rho) and b_n by xi_n(rho) of the outgoing
    Riccati-Bessel function xi_n = psi_n - i chi_n.

    Parameters
    ----------
    x : array_like of float
        Size parameter of the sphere, 2 pi a / lambda in the medium.
    m : array_like of complex
        Relative refractive index n + ik, k > 0 absorbing.
    rho : array_like of float
        Distance of the point from the centre, 2 pi r / lambda.
    theta : array_like of float
        Polar angle in radians from the forward direction.

    Returns
    -------
    s1, s2 : ndarray of complex

    Raises
    ------
    ValueError
        For sizes or distances that are not finite and positive, indices
        that are not finite or zero, angles that are not finite, shapes that
        do not broadcast, or results that are not finite.
    """
    name = "near_amplitudes"
    arrays = _point(name, x, m, rho, theta)
    return evaluate(name, _complex_outputs(lib.NearAmplMatrix, 2), arrays, (complex, complex))


def near_scattering_matrix(x, m, rho, theta):
    """Near-field scattering-matrix elements S11, S12, S33, S34.

    Formed from :func:`near_amplitudes` as :func:`quellis.scattering_matrix`
    forms them from the far-field amplitudes.

    Parameters
    ----------
    x, m, rho, theta : array_like
        As :func:`near_amplitudes`.

    Returns
    -------
    s11, s12, s33, s34 : ndarray of float

    Raises
    ------
    ValueError
        As :func:`near_amplitudes`.
    """
    name = "near_scattering_matrix"
    arrays = _point(name, x, m, rho, theta)
    call = _real_parts(_complex_outputs(lib.NearScatMatrix, 4))
    return evaluate(name, call, arrays, (float,) * 4)


def near_longitudinal(x, m, rho, theta):
    """Squared modulus of the longitudinal (radial) amplitude sum.

    L = |sum (2n+1) xi_n(rho) sin(theta) a_n pi_n|^2; zero in the forward
    and backward directions.

    Parameters
    ----------
    x, m, rho, theta : array_like
        As :func:`near_amplitudes`.

    Returns
    -------
    l : ndarray of float

    Raises
    ------
    ValueError
        As :func:`near_amplitudes`.
    """
    name = "near_longitudinal"
    arrays = _point(name, x, m, rho, theta)
    call = _real_parts(_complex_outputs(lib.NearLongAmpl, 1))
    return evaluate(name, call, arrays, (float,))[0]


def near_fields(x, m, rho, theta):
    """Spherical components of the scattered electric and magnetic fields.

    The components without their azimuth and distance factors: at the point
    (rho, theta, phi), with phi the azimuth from the incident polarisation,
    the fields are E_phi = ephi sin(phi)/rho, E_theta = etheta cos(phi)/rho,
    E_r = er cos(phi)/rho^2, H_phi = hphi cos(phi)/rho,
    H_theta = htheta sin(phi)/rho and H_r = hr sin(phi)/rho^2.

    Parameters
    ----------
    x, m, rho, theta : array_like
        As :func:`near_amplitudes`.

    Returns
    -------
    ephi, etheta, er, hphi, htheta, hr : ndarray of complex

    Raises
    ------
    ValueError
        As :func:`near_amplitudes`.
    """
    name = "near_fields"
    arrays = _point(name, x, m, rho, theta)
    return evaluate(name, _complex_outputs(lib.NearFields, 6), arrays, (complex,) * 6)


def _poynting(x, m, rho, theta, phi):
    outputs = [lib.TComplex() for _ in range(3)]
    size, distance, index = lib.TComplex(x, 0.0), lib.TComplex(rho, 0.0), complex_value(m)
    lib.NearPointing(
        byref(size), byref(distance), byref(index), theta, phi, *(byref(o) for o in outputs)
    )
    return tuple(o.Re for o in outputs)


def near_poynting(x, m, rho, theta, phi):
    """Time-averaged Poynting vector of the scattered field, 1/2 Re(E x conj H).

    Parameters
    ----------
    x, m, rho, theta : array_like
        As :func:`near_amplitudes`.
    phi : array_like of float
        Azimuth in radians from the incident polarisation.

    Returns
    -------
    sphi, stheta, sr : ndarray of float
        The azimuthal, polar and radial components.

    Raises
    ------
    ValueError
        As :func:`near_amplitudes`, and for an azimuth that is not finite.
    """
    name = "near_poynting"
    arrays = _point(name, x, m, rho, theta, phi=phi)
    return evaluate(name, _poynting, arrays, (float,) * 3)
