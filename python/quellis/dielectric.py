# SPDX-License-Identifier: MIT
"""Dielectric functions of the free-electron (Drude) and bound-electron
(Lorentz) kind, as the fitting program velmora models its particles.

Energies are in electronvolts and wavelengths in nanometres in vacuum; the
photon energy is E = h c / (e lambda), with the constants of the fitting
program (h c = 1.986447461038579e-16 J nm, e = 1.60217733e-19 C).
"""

from dataclasses import dataclass

import numpy as np

#: h c / e in eV nm, as the fitting program forms the photon energy.
PLANCK_TIMES_LIGHT_SPEED_EV_NM = 1.986447461038579e-16 / 1.60217733e-19


def photon_energy(wavelength):
    """Photon energy in eV of a vacuum wavelength in nm."""
    return PLANCK_TIMES_LIGHT_SPEED_EV_NM / np.asarray(wavelength, dtype=float)


@dataclass(frozen=True)
class Lorentz:
    """eps(E) = eps_inf + wp^2 / (w0^2 - E^2 - i gamma E); w0 = 0 is Drude's.

    Call it with a vacuum wavelength in nm (any array) for the relative
    permittivity; :meth:`index` gives the refractive index sqrt(eps).
    """

    plasma_energy: float
    damping: float
    resonance_energy: float = 0.0
    eps_inf: float = 1.0

    def __call__(self, wavelength):
        e = photon_energy(wavelength)
        return self.eps_inf + self.plasma_energy**2 / (
            self.resonance_energy**2 - e**2 - 1j * self.damping * e
        )

    def index(self, wavelength):
        """Refractive index, the principal square root of the permittivity."""
        return permittivity_to_index(self(wavelength))


def permittivity_to_index(eps):
    """sqrt(eps) with Im >= 0 for Im eps >= 0; a zero imaginary part of
    either sign counts as +0, so a lossless metal gets n + ik with k > 0."""
    eps = np.asarray(eps, dtype=complex)
    imag = np.where(eps.imag == 0.0, 0.0, eps.imag)
    return np.sqrt(eps.real + 1j * imag)


def drude(plasma_energy, damping, eps_inf=1.0):
    """Drude's free-electron dielectric function.

    eps(E) = eps_inf - wp^2 / (E^2 + i gamma E): the fitting program's
    model "Drude" for eps_inf = 1.

    Parameters
    ----------
    plasma_energy : float
        Plasma energy wp in eV.
    damping : float
        Damping gamma in eV (>= 0 for absorption).
    eps_inf : float
        Permittivity at high frequency (background of the bound electrons).

    Returns
    -------
    Lorentz
        Callable: permittivity at vacuum wavelengths in nm.

    Examples
    --------
    >>> eps = drude(5.6, 1.0)(457.9)
    >>> round(eps.real, 5), round(eps.imag, 5)
    (-2.76404, 1.39014)
    """
    return Lorentz(plasma_energy, damping, 0.0, eps_inf)


def lorentz(plasma_energy, damping, resonance_energy=2.54, eps_inf=1.0):
    """A Lorentz oscillator's dielectric function.

    eps(E) = eps_inf + wp^2 / (w0^2 - E^2 - i gamma E): the fitting
    program's model "Lorents" for w0 = 2.54 eV and eps_inf = 1.

    Parameters
    ----------
    plasma_energy, damping : float
        wp and gamma in eV, as :func:`drude`.
    resonance_energy : float
        w0 in eV.
    eps_inf : float
        Permittivity at high frequency.

    Returns
    -------
    Lorentz
        Callable: permittivity at vacuum wavelengths in nm.
    """
    return Lorentz(plasma_energy, damping, resonance_energy, eps_inf)
