# SPDX-License-Identifier: MIT
"""All efficiencies of a sphere from one series, from (x, m) or from
wavelength, radius and the indices of particle and medium."""

from collections import namedtuple

import numpy as np

from . import _core
from ._elementwise import broadcast, finish, indices, sizes
from .dielectric import permittivity_to_index

#: The efficiencies of a sphere and its asymmetry parameter.
Quantities = namedtuple("Quantities", "qext qsca qabs qback qpr g")


def size_and_index(function, wavelength, radius, index=None, permittivity=None, medium_index=1.0):
    """Size parameter x and relative index m from physical quantities.

    x = 2 pi n_medium r / lambda and m = n_particle / n_medium, where
    n_particle is `index` or sqrt(`permittivity`), each either a value
    (array_like) or a callable of the vacuum wavelength.
    """
    wavelength = sizes(function, "wavelength", wavelength)
    radius = sizes(function, "radius", radius)
    medium = sizes(function, "medium_index", medium_index)
    if (index is None) == (permittivity is None):
        raise ValueError(f"{function}: give either index or permittivity of the particle")
    if index is not None:
        particle = index(wavelength) if callable(index) else index
    else:
        eps = permittivity(wavelength) if callable(permittivity) else permittivity
        particle = permittivity_to_index(eps)
    particle = indices(function, "the particle's index", particle)
    return 2 * np.pi * medium * radius / wavelength, particle / medium


def sphere_quantities(
    x=None, m=None, *, wavelength=None, radius=None, index=None, permittivity=None, medium_index=1.0
):
    """Efficiencies, asymmetry parameter and radiation pressure of a sphere.

    Either ``sphere_quantities(x, m)`` or the keyword form
    ``sphere_quantities(wavelength=..., radius=..., index=... or
    permittivity=..., medium_index=...)``.

    Parameters
    ----------
    x : array_like of float
        Size parameter 2 pi r / lambda in the medium; finite and positive.
    m : array_like of complex
        Refractive index relative to the medium, n + ik with k >= 0.
    wavelength : array_like of float
        Vacuum wavelength (nm when `index` or `permittivity` is a
        dielectric function of :mod:`quellis.dielectric`).
    radius : array_like of float
        Sphere radius, in the unit of `wavelength`.
    index : array_like of complex or callable, optional
        The particle's refractive index, or a function of the vacuum
        wavelength that gives it.
    permittivity : array_like of complex or callable, optional
        The particle's relative permittivity instead, or a function of the
        vacuum wavelength such as ``quellis.drude(5.6, 1.0)``.
    medium_index : array_like of float
        Real refractive index of the surrounding medium.

    Returns
    -------
    Quantities
        Named tuple (qext, qsca, qabs, qback, qpr, g) of arrays of the
        broadcast shape: efficiencies of extinction, scattering,
        absorption (Qext - Qsca), backscattering (as :func:`efficiencies`)
        and radiation pressure (Qext - g Qsca), and the asymmetry parameter
        g = <cos theta> of the scattered light (0 where nothing scatters).
        All from one series of a_n, b_n (Bohren & Huffman 1983, eqs. 4.61,
        4.62, 4.74).

    Raises
    ------
    ValueError
        For inputs out of range (as :func:`efficiencies`), a negative
        imaginary index, both or neither of `index` and `permittivity` in
        the keyword form, or results that are not finite.

    Examples
    --------
    >>> q = sphere_quantities(1.0, 1.5)
    >>> round(float(q.qsca), 6), round(float(q.g), 6)
    (0.215098, 0.198942)
    """
    name = "sphere_quantities"
    if wavelength is not None or radius is not None:
        if x is not None or m is not None:
            raise ValueError(f"{name}: give x and m, or wavelength and radius, not both")
        x, m = size_and_index(name, wavelength, radius, index, permittivity, medium_index)
    elif x is None or m is None:
        raise ValueError(f"{name}: give x and m, or wavelength, radius and index or permittivity")
    arrays = broadcast(name, x=sizes(name, "x", x), m=indices(name, "m", m))
    return Quantities(*finish(name, _core.quantities(*arrays), arrays))
