# SPDX-License-Identifier: MIT
"""The field of a sphere near it, at the distance rho = k r from its centre.

All functions take the sphere's size parameter ``x`` and relative index ``m``
(as :func:`quellis.efficiencies`), the distance ``rho`` = 2 pi r / lambda of
the point from the centre in the medium (finite and positive), and the polar
angle ``theta`` in radians from the forward direction; :func:`near_fields`
and :func:`near_poynting` also the azimuth ``phi`` from the incident
polarisation.

Fields are those of Bohren & Huffman (1983), section 4.4: the incident wave
E = exp(i k z) along x, with time dependence exp(-i omega t), and the
magnetic field in units of k/(omega mu), so the incident H has amplitude 1
along y and the incident intensity 1/2 Re(E x conj H) is 1/2.

The scattered field exists outside the sphere only: a point with
rho < x raises ValueError, except for ``field="total"``, which gives the
internal field there.
"""

from . import _core
from ._elementwise import angles, broadcast, finish, indices, sizes

_FIELDS = {"scattered": 0, "total": 1}
_EXPORT = 2


def _point(name, x, m, rho, theta, **more):
    return broadcast(
        name,
        x=sizes(name, "x", x),
        m=indices(name, "m", m),
        rho=sizes(name, "rho", rho),
        theta=angles(name, "theta", theta),
        **{key: angles(name, key, value) for key, value in more.items()},
    )


def _outside(name, arrays):
    """ValueError for a point inside the sphere, where no scattered field exists."""
    x, rho = arrays[0], arrays[2]
    inside = rho < x
    if inside.any():
        raise ValueError(
            f"{name}: rho={rho[inside].flat[0]!r} lies inside the sphere of x={x[inside].flat[0]!r}; "
            f"the scattered field is defined outside it only (field='total' gives the "
            f"internal field there)"
        )


def _kind(name, field, convention):
    """The extension's code for the field asked for."""
    if field not in _FIELDS:
        raise ValueError(f"{name}: field must be 'scattered' or 'total', not {field!r}")
    if convention == "physical":
        return _FIELDS[field]
    if convention == "export":
        if field != "scattered":
            raise ValueError(f"{name}: convention='export' gives the scattered field only")
        return _EXPORT
    raise ValueError(f"{name}: convention must be 'physical' or 'export', not {convention!r}")


def near_amplitudes(x, m, rho, theta):
    """Near-field amplitude sums S1 and S2 (the library's NearAmplMatrix).

    The sums of :func:`quellis.amplitudes` with a_n weighted by the
    derivative xi_n'(rho) and b_n by xi_n(rho) of the outgoing
    Riccati-Bessel function xi_n = psi_n - i chi_n.

    Parameters
    ----------
    x : array_like of float
        Size parameter of the sphere, 2 pi a / lambda in the medium.
    m : array_like of complex
        Relative refractive index n + ik, k >= 0 absorbing.
    rho : array_like of float
        Distance of the point from the centre, 2 pi r / lambda; at least `x`.
    theta : array_like of float
        Polar angle in radians from the forward direction.

    Returns
    -------
    s1, s2 : ndarray of complex

    Raises
    ------
    ValueError
        For sizes or distances that are not finite and positive, a point
        inside the sphere, indices that are not finite, zero or of negative
        imaginary part, angles that are not finite, shapes that do not
        broadcast, or results that are not finite.
    """
    name = "near_amplitudes"
    arrays = _point(name, x, m, rho, theta)
    _outside(name, arrays)
    return finish(name, _core.near_amplitudes(*arrays), arrays)


def near_scattering_matrix(x, m, rho, theta):
    """Near-field scattering-matrix elements S11, S12, S33, S34 (NearScatMatrix).

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
    _outside(name, arrays)
    return finish(name, _core.near_scattering_matrix(*arrays), arrays)


def near_longitudinal(x, m, rho, theta):
    """Squared modulus of the longitudinal amplitude sum (NearLongAmpl).

    ``L = |sum (2n+1) xi_n(rho) sin(theta) a_n pi_n|^2``; zero in the forward
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
    _outside(name, arrays)
    return finish(name, _core.near_longitudinal(*arrays), arrays)[0]


def near_fields(x, m, rho, theta, phi=None, *, field="scattered", convention="physical"):
    """Spherical components of the electric and magnetic fields near a sphere.

    Without `phi`, the components without their azimuth and distance
    factors: at (rho, theta, phi) the fields are E_phi = ephi sin(phi)/rho,
    E_theta = etheta cos(phi)/rho, E_r = er cos(phi)/rho^2,
    H_phi = hphi cos(phi)/rho, H_theta = htheta sin(phi)/rho and
    H_r = hr sin(phi)/rho^2. With `phi`, those field components themselves.

    The scattered field's radial components are
    er = sum i^(n+1) (2n+1) a_n xi_n(rho) pi_n sin(theta) and hr likewise
    with b_n; the tangential ones are the library's NearFields sums.

    Parameters
    ----------
    x, m, rho, theta : array_like
        As :func:`near_amplitudes`; with ``field="total"`` rho may be less
        than x (a point inside the sphere).
    phi : array_like of float, optional
        Azimuth in radians from the incident polarisation.
    field : {'scattered', 'total'}
        The scattered field, or the total field: incident plus scattered
        outside the sphere, the internal field inside it.
    convention : {'physical', 'export'}
        'export' gives the scattered field as the library's export
        NearFields weights it: er and hr by n(n+1) alone (er = sum n(n+1) i
        a_n xi_n pi_n sin(theta), hr without the i), for comparison with
        callers of the export.

    Notes
    -----
    The sums have the library's N = round(x + 4 x^(1/3) + 2) orders. The
    scattered field converges fast outside the sphere; the internal field
    is accurate to about 1e-6 of the incident field at the surface of a
    sphere of x = 2, better for larger spheres.

    Returns
    -------
    ephi, etheta, er, hphi, htheta, hr : ndarray of complex
        E in units of the incident amplitude, H in units of k/(omega mu)
        times it.

    Raises
    ------
    ValueError
        As :func:`near_amplitudes` (inside the sphere only for the
        scattered field), for an azimuth that is not finite, or an unknown
        `field` or `convention`.

    Examples
    --------
    Just outside a sphere, the tangential E of the total field equals the
    internal field just inside it:

    >>> import numpy as np
    >>> outside = near_fields(2.0, 1.5, 2.0, 0.7, field="total")
    >>> inside = near_fields(2.0, 1.5, 2.0 - 1e-9, 0.7, field="total")
    >>> bool(np.allclose(outside[:2], inside[:2], rtol=1e-5))
    True
    """
    name = "near_fields"
    kind = _kind(name, field, convention)
    if phi is None:
        arrays = _point(name, x, m, rho, theta)
    else:
        arrays = _point(name, x, m, rho, theta, phi=phi)
    if field == "scattered":
        _outside(name, arrays)
    if phi is None:
        return finish(name, _core.near_fields(*arrays, kind), arrays)
    return finish(name, _core.near_fields_at_point(*arrays, kind), arrays)


def near_poynting(x, m, rho, theta, phi, *, field="scattered", convention="physical"):
    """Time-averaged Poynting vector 1/2 Re(E x conj H) near a sphere.

    Normalised to the incident intensity: the incident wave alone gives
    1/2 along the forward direction, so S / (1/2) is the flux relative to
    the incident one.

    Parameters
    ----------
    x, m, rho, theta : array_like
        As :func:`near_fields`.
    phi : array_like of float
        Azimuth in radians from the incident polarisation.
    field, convention :
        As :func:`near_fields`; ``convention="export"`` is the library's
        NearPointing.

    Returns
    -------
    sphi, stheta, sr : ndarray of float
        The azimuthal, polar and radial components.

    Raises
    ------
    ValueError
        As :func:`near_fields`.
    """
    name = "near_poynting"
    kind = _kind(name, field, convention)
    arrays = _point(name, x, m, rho, theta, phi=phi)
    if field == "scattered":
        _outside(name, arrays)
    return finish(name, _core.near_poynting(*arrays, kind), arrays)
